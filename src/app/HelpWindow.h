#pragma once

#include <QDialog>
#include <QStringList>

class QPushButton;
class QTextBrowser;

// The user guide: an HTML file shown in a browser window. Installed to
// share/tarnik/help; the build tree copies it to bin/help beside the executables.
class HelpWindow : public QDialog
{
    Q_OBJECT
public:
    HelpWindow(const QString &guidePath, QWidget *parent = nullptr);

    void setSource(const QString &guidePath);
    QTextBrowser *browser() const { return m_browser; }

    static QString guideName();
    // bin/help beside the executable, then ../share/tarnik/help, then the data folders.
    static QStringList defaultFolders();
    // The guide in the first folder that has it; empty when none does.
    static QString find(const QStringList &folders);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    QTextBrowser *m_browser;
    QPushButton *m_close;
};
