#include "Prompter.h"
#include <QCoreApplication>

#include "support/Translation.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QInputDialog>
#include <QPushButton>

namespace {
Prompter *g_installed = nullptr;

// The keyboard goes back to the window a box was shown over, also where no window
// manager hands it back.
void giveBackKeyboard(QWidget *parent)
{
    if (parent && parent->window()->isVisible())
        parent->window()->activateWindow();
}

// Runs the dialog; the file chosen, or empty when it was cancelled.
QString chosenFile(QFileDialog &d, QWidget *parent)
{
    const bool chosen = d.exec() == QDialog::Accepted && !d.selectedFiles().isEmpty();
    giveBackKeyboard(parent);
    return chosen ? d.selectedFiles().first() : QString();
}

} // namespace

Prompter &Prompter::instance()
{
    static WidgetPrompter real;
    return g_installed ? *g_installed : real;
}

void Prompter::setInstance(Prompter *p)
{
    g_installed = p;
}

QMessageBox::StandardButton WidgetPrompter::message(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                                                    const QString &text, QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    // The question about unsaved changes names its buttons by what they do.
    const std::pair<QMessageBox::StandardButton, const char *> names[] = {
        {QMessageBox::Save, QT_TRANSLATE_NOOP("Prompter", "保存")},
        {QMessageBox::Discard, QT_TRANSLATE_NOOP("Prompter", "不保存")},
        {QMessageBox::Cancel, QT_TRANSLATE_NOOP("Prompter", "取消")}};
    if (buttons & QMessageBox::Discard)
        for (const auto &[button, name] : names)
            if (QAbstractButton *b = box.button(button))
                b->setText(QCoreApplication::translate("Prompter", name));
    const auto answer = QMessageBox::StandardButton(box.exec());
    giveBackKeyboard(parent);
    return answer;
}

bool WidgetPrompter::messageOffering(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                                     const QString &offer)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    const QAbstractButton *offered = box.addButton(offer, QMessageBox::ActionRole);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
    giveBackKeyboard(parent);
    return box.clickedButton() == offered;
}

QString WidgetPrompter::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                     const QStringList &nameFilters)
{
    QFileDialog d(parent, caption, dir);
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    d.setNameFilters(nameFilters);
    return chosenFile(d, parent);
}

QString WidgetPrompter::saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                     const QStringList &nameFilters)
{
    QFileDialog d(parent, caption, dir);
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    d.setNameFilters(nameFilters);
    d.setDefaultSuffix(QString()); // the name is used exactly as typed
    return chosenFile(d, parent);
}

std::optional<double> WidgetPrompter::number(QWidget *parent, const QString &title, const QString &label, double value,
                                             double min, double max, int decimals)
{
    bool ok = false;
    const double v = QInputDialog::getDouble(parent, title, label, value, min, max, decimals, &ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}
