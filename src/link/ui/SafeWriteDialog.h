#pragma once

#include "link/SafeWrite.h"

#include <QDialog>
#include <QTimer>

#include <functional>

class FleetWrite;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

// The one progress dialog of a safe write: a line names the stage ("写频 2/3"), its bar
// runs over all stages, Cancel (after "确定要取消吗") stops whichever stage runs. With a
// fleet it also shows the table of radios written. The job ends by finish(): the result
// (or the fleet's summary) then stays in the dialog with a 关闭 button until the user
// closes it; a job that does not call it closes the dialog as it ends.
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
    // Shows the result and turns Cancel into 关闭.
    void finish(const QString &summary);

    void onCancel();
    void reject() override { onCancel(); }

private:
    void start();
    void showStage(SafeWrite::Stage stage);

    SafeWrite &m_write;
    QTimer m_startup;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_cancel = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_stage = nullptr;
    QLabel *m_summary = nullptr;
    bool m_running = false;
    bool m_finished = false;
};
