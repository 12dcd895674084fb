#include "FleetConsole.h"

#include "Commands.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <termios.h>
#include <unistd.h>

EnterAnswers::EnterAnswers(std::function<bool()> going)
    : m_going(std::move(going)), m_terminal(::isatty(STDIN_FILENO) == 1)
{ }

void EnterAnswers::discardTypedAhead()
{
    if (!m_terminal)
        return;
    ::tcflush(STDIN_FILENO, TCIFLUSH);
    m_pending.clear();
}

bool EnterAnswers::next()
{
    while (m_going()) {
        if (const qsizetype end = m_pending.indexOf('\n'); end >= 0) {
            m_pending.remove(0, end + 1);
            return true;
        }
        if (m_ended)
            return false;
        waitForInput();
        if (m_going())
            readInput();
    }
    return false;
}

void EnterAnswers::waitForInput()
{
    bool ready = false;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &input, [&] {
        ready = true;
        input.setEnabled(false);
    });
    while (!ready && m_going())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void EnterAnswers::readInput()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // The last line may lack its line end.
            m_ended = true;
            if (!m_pending.isEmpty())
                m_pending += '\n';
        } else {
            m_pending.append(buffer, n);
        }
        return;
    }
}

void printFleetEnd(const QString &summary, const QString &shortfall, const Status &logClosed)
{
    out() << summary << "\n";
    if (!shortfall.isEmpty())
        out() << shortfall << "\n";
    out() << Qt::flush;
    if (!logClosed)
        err() << "tarnik-cli: " << logClosed.failure().description << "\n";
}
