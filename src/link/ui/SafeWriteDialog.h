#pragma once

#include <QDialog>
#include <QTimer>

#include <functional>

class FleetWrite;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class SafeWrite;

// The one progress dialog of a safe write: its caption names the stage, its bar runs over
// all stages, Cancel (after "确定要取消吗") stops whichever stage runs. With a fleet it
// also shows the table of radios written and, at the end, the summary; it then stays
// open until the user closes it.
class SafeWriteDialog : public QDialog
{
    Q_OBJECT
public:
    SafeWriteDialog(SafeWrite &write, FleetWrite *fleet, QWidget *parent = nullptr);

    // Runs 500 ms after the dialog opens, as a transfer does.
    std::function<void()> job;

    QProgressBar *progressBar() const { return m_progress; }
    QPushButton *cancelButton() const { return m_cancel; }
    QTableWidget *table() const { return m_table; }
    QLabel *waitingLabel() const { return m_waiting; }
    // Shows the summary and turns Cancel into 确定.
    void finish(const QString &summary);

    void onCancel();
    void reject() override { onCancel(); }

private:
    void start();

    SafeWrite &m_write;
    QTimer m_startup;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_cancel = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_waiting = nullptr;
    bool m_running = false;
};
