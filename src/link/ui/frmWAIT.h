#pragma once

#include <QDialog>
#include <QTimer>

class QProgressBar;
class QPushButton;
class RadioLink;
class WorkingCopy;

// The progress dialog of a read or write. The transfer runs inside its start-up timer
// event, 500 ms after it opens; Cancel asks first, then closes the dialog at once while
// the transfer stops at its next wait.
class frmWAIT : public QDialog
{
    Q_OBJECT
public:
    // blnn: true for a write, false for a read.
    frmWAIT(RadioLink &link, WorkingCopy &wc, bool blnn, QWidget *parent = nullptr);

    const bool blnn;
    QProgressBar *pgbCount() const { return m_progress; }
    QPushButton *cmdCancel() const { return m_cancel; }
    QTimer Timer1;

    void cmdCancel_Click();
    // Esc and the title bar's close box are the Cancel button.
    void reject() override { cmdCancel_Click(); }

private:
    void Form_Load();
    void Timer1_Timer();

    RadioLink &m_link;
    WorkingCopy &m_wc;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_cancel = nullptr;
};
