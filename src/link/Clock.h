#pragma once

#include <QtGlobal>

#include <functional>
#include <limits>
#include <map>
#include <vector>

// Time and event processing for the radio link. Times are nanoseconds on a monotonic
// scale whose origin is of no meaning. A wait never spins: it blocks until an event
// arrives (input on the line, a click on Cancel, Ctrl+C) or its deadline passes.
class Clock
{
public:
    static constexpr qint64 Forever = std::numeric_limits<qint64>::max();
    static constexpr qint64 Millisecond = 1'000'000;

    virtual ~Clock() = default;

    virtual qint64 now() const = 0;
    // A plain pause: nothing is handled meanwhile, what arrives on the line waits.
    virtual void sleep(qint64 ns) = 0;
    // Handles whatever events are pending and returns at once.
    virtual void processEvents() = 0;
    // Blocks until at least one event has been handled or the deadline has passed.
    virtual void waitForEvents(qint64 deadline) = 0;
};

// Wall-clock time and the Qt event loop of the running application.
class SystemClock : public Clock
{
public:
    qint64 now() const override;
    void sleep(qint64 ns) override;
    void processEvents() override;
    void waitForEvents(qint64 deadline) override;
};

// Virtual time for tests: time moves only when the link pauses or waits, jumping
// straight to the next thing that happens, so a 60-second watchdog costs nothing.
class VirtualClock : public Clock
{
public:
    qint64 now() const override { return m_now; }
    void sleep(qint64 ns) override;
    void processEvents() override;
    void waitForEvents(qint64 deadline) override;

    // Something that happens in the world at a time (bytes reach the port's buffer),
    // also while the link pauses.
    void schedule(qint64 at, std::function<void()> action);
    // An event for the program (a click on Cancel) handled by the first event processing
    // at or after its time.
    void post(qint64 at, std::function<void()> event);
    // A source polled at every event processing; returns true when it handled something.
    void addEventSource(std::function<bool()> dispatch);

    // Called when a wait without deadline finds nothing left that could ever happen;
    // tests use it to end the transfer instead of hanging.
    std::function<void()> onStall;
    int stalls = 0;

    // Also runs the Qt event loop's pending events at every event processing (widget tests).
    bool processQtEvents = false;

private:
    void advanceTo(qint64 t);
    bool dispatchDue();
    qint64 nextTime() const;

    qint64 m_now = 0;
    std::multimap<qint64, std::function<void()>> m_world;
    std::multimap<qint64, std::function<void()>> m_events;
    std::vector<std::function<bool()>> m_sources;
};
