#pragma once

#include <QDialog>
#include <QStringList>

class QLabel;
class QPushButton;

// The About box (object name "frmAbout"): picture, title, description and warning; "确定" closes it,
// "系统信息" starts the first system-information program found on the PATH.
class AboutDialog : public QDialog
{
    Q_OBJECT
public:
    AboutDialog(const QStringList &systemInfoPrograms, QWidget *parent = nullptr);

    // hardinfo, kinfocenter, gnome-system-monitor and the like, in the order tried.
    static QStringList defaultSystemInfoPrograms();

    // "系统信息": starts the program, or says "此时系统信息不可用"; the box stays open.
    void showSystemInfo();

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();

    QStringList m_programs;
    QLabel *m_version;
    QLabel *m_description;
    QLabel *m_warning;
    QPushButton *m_ok;
    QPushButton *m_sysInfo;
};
