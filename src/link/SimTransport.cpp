#include "link/SimTransport.h"

#include "link/Clock.h"
#include "link/SerialPorts.h"

SimTransport::SimTransport(RadioSim *radio, VirtualClock *clock, QObject *parent)
    : Transport(parent), m_radio(radio), m_clock(clock)
{
    m_clock->addEventSource([this] {
        if (!m_arrived)
            return false;
        m_arrived = false;
        emit readyRead();
        return true;
    });
}

Status SimTransport::open(const QString &device)
{
    if (!refuseDevice.isEmpty() && device == refuseDevice)
        return openFailure(device, {OpenProblem::NotFound, QStringLiteral("No such file or directory")});
    ++m_line;
    m_open = true;
    m_pending.clear();
    m_fault.reset();
    trace.append({Event::Open, m_clock->now(), {}});
    return {};
}

void SimTransport::close()
{
    if (!m_open)
        return;
    ++m_line;
    m_open = false;
    trace.append({Event::Close, m_clock->now(), {}});
    sessions += m_radio->endSession();
}

Status SimTransport::write(const QByteArray &bytes)
{
    if (!m_open)
        return Failure{portfailure::PortNotOpen, tr("串口没有打开，无法发送数据。")};
    if (m_fault)
        return *m_fault;
    if (m_writes++ == failWrite)
        return Failure{Failure::DeviceIoError, tr("向串口 sim 发送数据失败：线路中断")};
    trace.append({Event::Sent, m_clock->now(), bytes});
    const int line = m_line;
    for (const RadioSim::Output &out : m_radio->receive(bytes, m_clock->now())) {
        m_clock->schedule(out.at, [this, line, out] {
            if (line != m_line)
                return;
            if (out.hangup)
                m_fault = Failure{Failure::DeviceIoError, tr("串口 sim 已断开：对方挂断")};
            else
                m_pending += out.bytes;
            m_arrived = true;
        });
    }
    return {};
}

void SimTransport::arriveAt(qint64 at, const QByteArray &bytes)
{
    const int line = m_line;
    m_clock->schedule(at, [this, line, bytes] {
        if (line != m_line)
            return;
        m_pending += bytes;
        m_arrived = true;
    });
}

QByteArray SimTransport::readAll()
{
    QByteArray all;
    all.swap(m_pending);
    return all;
}

QByteArray SimTransport::sentBytes() const
{
    QByteArray all;
    for (const Event &e : trace)
        if (e.kind == Event::Sent)
            all += e.bytes;
    return all;
}
