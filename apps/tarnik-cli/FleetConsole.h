#pragma once

#include "support/Failure.h"

#include <QByteArray>
#include <QString>

#include <functional>

// The terminal side of a fleet run, one port or several.

// The answers to "请连接第 k 台对讲机" (or the next batch's prompt) on standard input, one
// line each. From a terminal only what is typed after the prompt counts: what was typed
// while the radios before were being written is discarded. From a pipe or a file every
// line is an answer, in order, so a script can answer ahead.
class EnterAnswers
{
public:
    // going: false once the user cancelled (Ctrl+C, SIGTERM, SIGHUP reach the run while
    // events are handled).
    explicit EnterAnswers(std::function<bool()> going);

    // Call just before the prompt: drops what a terminal holds.
    void discardTypedAhead();
    // Waits for the next line; false when the input has ended or the user cancelled.
    bool next();

private:
    void waitForInput();
    void readInput();

    std::function<bool()> m_going;
    const bool m_terminal;
    QByteArray m_pending;
    bool m_ended = false;
};

// The end of a fleet run on standard output: the summary, then the shortfall when there
// is one; a log that could not take its rows on standard error.
void printFleetEnd(const QString &summary, const QString &shortfall, const Status &logClosed);
