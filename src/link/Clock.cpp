#include "link/Clock.h"

#include <QCoreApplication>
#include <QTimer>

#include <chrono>
#include <thread>

qint64 SystemClock::now() const
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void SystemClock::sleep(qint64 ns)
{
    std::this_thread::sleep_for(std::chrono::nanoseconds(ns));
}

void SystemClock::processEvents()
{
    QCoreApplication::processEvents();
}

void SystemClock::waitForEvents(qint64 deadline)
{
    QTimer wake;
    if (deadline != Forever) {
        const qint64 left = deadline - now();
        if (left <= 0) {
            processEvents();
            return;
        }
        // Rounded up, so the wait never ends before the deadline.
        wake.setSingleShot(true);
        wake.setTimerType(Qt::PreciseTimer);
        wake.start(int((left + Millisecond - 1) / Millisecond));
    }
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void VirtualClock::schedule(qint64 at, std::function<void()> action)
{
    m_world.emplace(at, std::move(action));
}

void VirtualClock::post(qint64 at, std::function<void()> event)
{
    m_events.emplace(at, std::move(event));
}

void VirtualClock::addEventSource(std::function<bool()> dispatch)
{
    m_sources.push_back(std::move(dispatch));
}

void VirtualClock::advanceTo(qint64 t)
{
    while (!m_world.empty() && m_world.begin()->first <= t) {
        auto it = m_world.begin();
        m_now = qMax(m_now, it->first);
        auto action = std::move(it->second);
        m_world.erase(it);
        action();
    }
    m_now = qMax(m_now, t);
}

bool VirtualClock::dispatchDue()
{
    bool handled = false;
    for (auto &source : m_sources)
        handled = source() || handled;
    while (!m_events.empty() && m_events.begin()->first <= m_now) {
        auto it = m_events.begin();
        auto event = std::move(it->second);
        m_events.erase(it);
        event();
        handled = true;
    }
    if (processQtEvents)
        QCoreApplication::processEvents();
    return handled;
}

qint64 VirtualClock::nextTime() const
{
    qint64 next = Forever;
    if (!m_world.empty())
        next = m_world.begin()->first;
    if (!m_events.empty())
        next = qMin(next, m_events.begin()->first);
    return next;
}

void VirtualClock::sleep(qint64 ns)
{
    advanceTo(m_now + ns);
}

void VirtualClock::processEvents()
{
    dispatchDue();
}

void VirtualClock::waitForEvents(qint64 deadline)
{
    for (;;) {
        if (dispatchDue())
            return;
        const qint64 next = nextTime();
        if (next != Forever && next <= deadline) {
            advanceTo(next);
            continue;
        }
        if (deadline != Forever) {
            advanceTo(deadline);
            dispatchDue();
            return;
        }
        ++stalls;
        if (onStall)
            onStall();
        dispatchDue();
        return;
    }
}
