#pragma once

#include "link/FleetWrite.h"
#include "link/SafeWrite.h"

#include <QDialog>
#include <QTimer>

#include <functional>
#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QWidget;
class SafeWrite;

// The one progress dialog of a safe write: a line names the stage ("写频 2/3"), its bar
// runs over all stages, Cancel (after "确定要取消吗") stops whichever stage runs. With a
// fleet it also shows the table of radios written. The job ends by finish(): the result
// (or the fleet's summary) then stays in the dialog with a 关闭 button until the user
// closes it. Between the radios of a fleet the prompt for the next one shows below
// the table. A job that does not call it closes the dialog as it ends.
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
    QPushButton *nextRadioButton() const { return m_next; }
    QLabel *waitingLabel() const { return m_waiting; }
    // Shows the result and turns Cancel into 关闭.
    void finish(const QString &summary);
    bool finished() const { return m_finished; }

    // "请连接第 k 台对讲机" below the table; true for 继续, false for 结束 (or Cancel, or
    // the close box). 继续 takes effect only from PromptDelay after the prompt shows, so
    // an Enter typed while the radio before was written does not answer it.
    bool askNextRadio(int k);
    static constexpr int PromptDelay = 300; // ms

    void onCancel();
    void reject() override { onCancel(); }

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslateUi();
    void showRow(int r);
    void start();
    void answerPrompt(bool next);
    void showStage(SafeWrite::Stage stage);

    SafeWrite &m_write;
    QTimer m_startup;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_cancel = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_stage = nullptr;
    QLabel *m_summary = nullptr;
    QWidget *m_prompt = nullptr;
    QLabel *m_promptText = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_stop = nullptr;
    QTimer m_promptDelay;
    std::optional<bool> m_answer; // set while a prompt waits, once answered
    bool m_prompting = false;
    QLabel *m_waiting = nullptr;
    bool m_running = false;
    bool m_finished = false;
    // What the texts are rebuilt from after a change of language.
    SafeWrite::Stage m_shownStage = SafeWrite::Stage::Write;
    int m_promptRadio = 0;
    int m_waitedSeconds = 0;
    QList<FleetWrite::Row> m_rows;
};
