#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

// Message boxes and file dialogs go through this interface, so tests can answer them
// without an event loop and a real run shows the real boxes.
class Prompter
{
public:
    virtual ~Prompter() = default;

    // Shows a message box; returns the button pressed.
    virtual QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                                const QString &text,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) = 0;

    // A message with OK and one more button captioned `offer` (a way out of what the message
    // reports, such as "设定频段…"); true when that button was pressed. Prompters that do
    // not draw their own box answer it as message() with Ok | Open, Open being the offer.
    virtual bool messageOffering(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                                 const QString &offer)
    {
        Q_UNUSED(offer)
        return message(parent, icon, title, text, QMessageBox::Ok | QMessageBox::Open, QMessageBox::Ok)
            == QMessageBox::Open;
    }

    // File dialogs; an empty result means the user cancelled.
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QStringList &nameFilters) = 0;
    // Asks before overwriting an existing file; adds no extension to the name typed.
    virtual QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                 const QStringList &nameFilters) = 0;

    // Asks for a number between min and max; nothing when cancelled (or not answered).
    virtual std::optional<double> number(QWidget *parent, const QString &title, const QString &label, double value,
                                         double min, double max, int decimals)
    {
        Q_UNUSED(parent)
        Q_UNUSED(title)
        Q_UNUSED(label)
        Q_UNUSED(value)
        Q_UNUSED(min)
        Q_UNUSED(max)
        Q_UNUSED(decimals)
        return std::nullopt;
    }

    // Convenience wrappers.
    void information(QWidget *p, const QString &title, const QString &text)
    {
        message(p, QMessageBox::Information, title, text);
    }
    void critical(QWidget *p, const QString &title, const QString &text)
    {
        message(p, QMessageBox::Critical, title, text);
    }
    bool askOkCancel(QWidget *p, const QString &title, const QString &text)
    {
        return message(p, QMessageBox::Question, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
            == QMessageBox::Ok;
    }

    // The prompter the program uses: real dialogs unless a test installed another.
    static Prompter &instance();
    static void setInstance(Prompter *p); // nullptr restores the real one
};

// Real dialogs.
class WidgetPrompter : public Prompter
{
public:
    QMessageBox::StandardButton message(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                        const QString &text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    bool messageOffering(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                         const QString &offer) override;
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QStringList &nameFilters) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QStringList &nameFilters) override;
    std::optional<double> number(QWidget *parent, const QString &title, const QString &label, double value, double min,
                                 double max, int decimals) override;
};
