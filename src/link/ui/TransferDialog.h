#pragma once

#include "link/RadioLink.h"

#include <QDialog>
#include <QTimer>

#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class WorkingCopy;

// The progress dialog of a read or write. The transfer runs inside its start-up timer
// event, 500 ms after it opens; Cancel asks first, then closes the dialog at once while
// the transfer stops at its next wait.
class TransferDialog : public QDialog
{
    Q_OBJECT
public:
    // isWrite: true for a write, false for a read.
    TransferDialog(RadioLink &link, WorkingCopy &wc, bool isWrite, QWidget *parent = nullptr);

    const bool isWrite;
    QProgressBar *progressBar() const { return m_progress; }
    QPushButton *cancelButton() const { return m_cancel; }
    // "等待对讲机应答… N 秒" while an answer has been awaited for a second or more.
    QLabel *waitingLabel() const { return m_waiting; }
    QTimer startupTimer;

    // The label of a progress dialog for RadioLine::waitingForRadio: hidden until a wait
    // lasts a second, then counting the seconds.
    static QLabel *makeWaitingLabel(QWidget *dialog);
    static void showWaiting(QLabel *label, int seconds);

    void onCancel();
    // "确定要取消吗": true when the user confirms the Cancel of a running transfer.
    static bool cancelConfirmed(QWidget *parent);
    // Esc and the title bar's close box are the Cancel button.
    void reject() override { onCancel(); }

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();
    void prepare();
    void onWatchdogTimeout();

    RadioLink &m_link;
    WorkingCopy &m_wc;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_cancel = nullptr;
    bool m_finished = false; // the transfer ended well: the button closes
    QLabel *m_waiting = nullptr;
    std::optional<RadioLink::Phase> m_phase; // none until the transfer starts
    int m_waitedSeconds = 0;
};
