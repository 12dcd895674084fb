#pragma once

#include "link/ui/SafeWriteDialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

// Watches for the safe write's progress dialog while it lives: records the stage lines it
// shows and, once the result is there, its text; then presses 关闭 as a user would.
class SafeWriteResult : public QObject
{
public:
    QStringList stages;
    QStringList results;

    SafeWriteResult()
    {
        connect(&m_poll, &QTimer::timeout, this, &SafeWriteResult::look);
        m_poll.start(5);
    }

private:
    void look()
    {
        auto *dialog = qobject_cast<SafeWriteDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        const QString stage = dialog->findChild<QLabel *>(QStringLiteral("lblStage"))->text();
        if (stages.isEmpty() || stages.last() != stage)
            stages << stage;
        const QLabel *result = dialog->findChild<QLabel *>(QStringLiteral("lblSummary"));
        if (result->isVisible() && dialog->finished()) {
            results << result->text();
            dialog->cancelButton()->click();
        }
    }

    QTimer m_poll;
};
