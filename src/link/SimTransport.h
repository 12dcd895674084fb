#pragma once

#include "link/RadioSim.h"
#include "link/Transport.h"

#include <QList>

class VirtualClock;

// A line to an in-process simulated radio, in virtual time. Bytes from the radio reach
// the pending input when their last bit has crossed the line; readyRead follows at the
// next event processing, as a serial port's receive event would.
class SimTransport : public Transport
{
    Q_OBJECT
public:
    SimTransport(RadioSim *radio, VirtualClock *clock, QObject *parent = nullptr);

    Status open(const QString &device) override;
    bool isOpen() const override { return m_open; }
    void close() override;
    Status write(const QByteArray &bytes) override;
    QByteArray readAll() override;
    qint64 bytesAvailable() const override { return m_pending.size(); }
    void discardInput() override { m_pending.clear(); }
    void discardOutput() override { }
    std::optional<Failure> lineFault() const override { return m_fault; }

    // What happened on the line, for tests.
    struct Event
    {
        enum Kind { Open, Sent, Close } kind;
        qint64 at;
        QByteArray bytes; // for Sent
    };
    QList<Event> trace;
    QByteArray sentBytes() const;
    QList<RadioSim::Session> sessions; // one per transfer, taken when the port closes
    // Bytes from the radio that no frame asked for, reaching the port at a time (ns), while
    // the line opened now is still open (tests of stray bytes).
    void arriveAt(qint64 at, const QByteArray &bytes);
    // Device names that refuse to open (tests of the open failure).
    QString refuseDevice;
    // The write call with this number (from 0, counted over the transport's life) fails
    // as a pulled cable would; -1 never.
    int failWrite = -1;

private:
    RadioSim *m_radio;
    VirtualClock *m_clock;
    bool m_open = false;
    bool m_arrived = false;
    int m_writes = 0;
    int m_line = 0; // bumped on every open and close, so late bytes of an old line are dropped
    QByteArray m_pending;
    std::optional<Failure> m_fault;
};
