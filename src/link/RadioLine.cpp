#include "link/RadioLine.h"

#include "link/Clock.h"
#include "link/Protocol.h"
#include "link/SerialPorts.h"
#include "link/SerialTransport.h"
#include "link/Transport.h"

namespace {

using namespace protocol;

QString watchdogText()
{
    return RadioLine::tr("通信端口没有响应，请确保连接正确和电源打开");
}

} // namespace

RadioLine::RadioLine(QObject *parent) : RadioLine(nullptr, nullptr, parent)
{ }

RadioLine::RadioLine(Transport *transport, Clock *clock, QObject *parent)
    : QObject(parent), m_port(transport), m_clock(clock)
{
    if (!m_port) {
        m_ownTransport = std::make_unique<SerialTransport>();
        m_port = m_ownTransport.get();
    }
    if (!m_clock) {
        m_ownClock = std::make_unique<SystemClock>();
        m_clock = m_ownClock.get();
    }
    connect(m_port, &Transport::readyRead, this, &RadioLine::onPortReadyRead);
}

RadioLine::~RadioLine()
{
    releasePort();
}

QString RadioLine::appTitle()
{
    return tr("TARNIK编程软件");
}

// ---------------------------------------------------------------- port

QString RadioLine::chosenDevice() const
{
    if (!m_customDevice.isEmpty())
        return m_customDevice;
    if (serialPortList().isEmpty())
        enumSerialPorts();
    const QList<SerialPortEntry> &ports = serialPortList();
    const int index = m_portNumber - 1;
    return index >= 0 && index < ports.size() ? ports[index].device : QString();
}

Status RadioLine::openForTransfer()
{
    if (m_port->isOpen())
        return {};
    m_portNumber = portOption + 1;
    m_threshold = 1;
    m_receivedSinceSend = 0;
    m_flooded = false;
    const QString device = chosenDevice();
    if (device.isEmpty())
        return noDeviceFailure(m_portNumber);
    return m_port->open(device);
}

bool RadioLine::isOpen() const
{
    return m_port->isOpen();
}

void RadioLine::closePort()
{
    if (m_port->isOpen() && !m_holdPort)
        m_port->close();
}

void RadioLine::releasePort()
{
    m_holdPort = false;
    closePort();
}

Status RadioLine::settleLine()
{
    if (!m_port->isOpen())
        return {};
    // Receive events on, so every byte that comes is seen.
    m_threshold = 1;
    m_receivedSinceSend = 0;
    qint64 seen = 0;
    auto arrived = [&] {
        const qint64 now = m_receivedSinceSend + m_port->bytesAvailable();
        const bool more = now > seen;
        seen = now;
        return more;
    };
    const qint64 start = m_clock->now();
    // The answer owed, unless it is already here.
    const qint64 answerDue = start + LateAnswerWait * Clock::Millisecond;
    while (!arrived() && m_continue && m_clock->now() < answerDue) {
        m_clock->waitForEvents(answerDue);
        if (const auto fault = m_port->lineFault())
            return *fault;
    }
    // Then a quiet line. A line that never goes quiet is left to the handshake, which
    // refuses a flood.
    const qint64 giveUpAt = m_clock->now() + 2 * LateAnswerWait * Clock::Millisecond;
    qint64 quietUntil = m_clock->now() + QuietGap * Clock::Millisecond;
    while (m_continue && m_clock->now() < quietUntil && m_clock->now() < giveUpAt) {
        m_clock->waitForEvents(qMin(quietUntil, giveUpAt));
        if (const auto fault = m_port->lineFault())
            return *fault;
        if (arrived())
            quietUntil = m_clock->now() + QuietGap * Clock::Millisecond;
    }
    discardPendingInput();
    m_flooded = false;
    return {};
}

void RadioLine::discardPendingInput()
{
    if (m_port->isOpen())
        m_port->discardInput();
    m_text.clear();
    m_receivedSinceSend = 0;
}

// ---------------------------------------------------------------- receive text

QString RadioLine::render(quint8 byte, bool byteMode)
{
    return byteMode ? QString::number(byte) : QString::number(byte) + QLatin1Char('0');
}

void RadioLine::onPortReadyRead()
{
    if (m_threshold < 1 || !m_port->isOpen())
        return;
    const QByteArray bytes = m_port->readAll();
    // More than a reply's worth since the PC last sent is a line gone wild; what is kept
    // stays bounded and the wait in progress refuses it.
    m_receivedSinceSend += bytes.size();
    if (m_receivedSinceSend > ReplyLength)
        m_flooded = true;
    if (m_flooded)
        return;
    for (char c : bytes)
        m_text += render(quint8(c), m_byteMode);
}

// ---------------------------------------------------------------- events and watchdog

Status RadioLine::send(const QByteArray &bytes)
{
    m_receivedSinceSend = 0;
    return m_port->write(bytes);
}

Status RadioLine::doEvents(bool block)
{
    // A cancelled transfer only finishes its pass: nothing it could wait for matters now.
    if (block && m_continue) {
        const qint64 due = m_watchdogRunning ? qMin(m_watchdogDue, m_nextTick) : Clock::Forever;
        m_clock->waitForEvents(due);
    } else {
        m_clock->processEvents();
    }
    if (m_watchdogRunning && m_clock->now() >= m_watchdogDue)
        onWatchdogTimeout();
    if (m_watchdogRunning && m_clock->now() >= m_nextTick) {
        const qint64 second = 1000 * Clock::Millisecond;
        m_waitShown = true;
        emit waitingForRadio(int((m_clock->now() - m_waitStarted) / second));
        m_nextTick += second;
    }
    if (m_port->isOpen()) {
        if (const auto fault = m_port->lineFault())
            return *fault;
    }
    return {};
}

void RadioLine::startWatchdog()
{
    if (m_waitShown) {
        m_waitShown = false;
        emit waitingForRadio(0);
    }
    m_watchdogRunning = true;
    m_watchdogFired = false;
    m_waitStarted = m_clock->now();
    m_nextTick = m_waitStarted + 1000 * Clock::Millisecond;
    m_watchdogDue = m_waitStarted + (m_radioAnswered ? ReplyTimeout : WatchdogInterval) * Clock::Millisecond;
}

void RadioLine::stopWatchdog()
{
    m_watchdogRunning = false;
    if (m_waitShown) {
        m_waitShown = false;
        emit waitingForRadio(0);
    }
}

void RadioLine::onWatchdogTimeout()
{
    stopWatchdog();
    m_watchdogFired = true;
    emit message({LinkMessage::Information, tr("信息提示"), watchdogText()});
}

void RadioLine::cancelTransfer()
{
    m_continue = false;
    // Left running, the watchdog would speak 60 s after the start of a wait the user
    // has already abandoned, possibly in the middle of the next transfer.
    stopWatchdog();
}

void RadioLine::report(const Failure &f, LinkMessage::Icon icon)
{
    emit message({icon, QString::number(f.number), f.description});
}

bool RadioLine::refuse()
{
    stopWatchdog();
    emit message({LinkMessage::NoIcon, appTitle(), tr("通信错误")});
    m_text.clear();
    closePort();
    return false;
}

bool RadioLine::giveUp()
{
    stopWatchdog();
    closePort();
    return false;
}

// ---------------------------------------------------------------- protocol

Result<bool> RadioLine::awaitTextLongerThan(qsizetype length)
{
    while (receiveText().size() <= length) {
        if (Status s = doEvents(true); !s)
            return s.failure();
        if (m_flooded)
            return refuse();
        if (m_watchdogFired || !m_continue)
            return false;
    }
    return true;
}

Result<bool> RadioLine::connectRadio(bool start)
{
    if (!start)
        return false;
    if (stopEditorTimer)
        stopEditorTimer();
    m_flooded = false;
    m_radioAnswered = false;
    startWatchdog();
    m_position = 0;
    for (;;) {
        if (Status s = sendByte(openingSequence[m_position]); !s)
            return s.failure();
        ++m_position;
        if (!m_continue)
            return false;
        m_clock->sleep(OpeningPause * Clock::Millisecond);
        // Taken before the pending events are handled: what the radio sent during the
        // pause shows up one pass later.
        QString reply = receiveText();
        if (Status s = doEvents(false); !s)
            return s.failure();
        if (m_flooded)
            return refuse();
        if (m_position == 7)
            m_position = 0;
        if (m_watchdogFired)
            return false;
        if (reply.isEmpty())
            continue;
        if (const Result<bool> more = awaitTextLongerThan(2); !more || !*more)
            return more;
        reply = receiveText();
        // Without a 6 the sequence goes on from where it is, and the text is tested
        // again, with what follows, after the next byte.
        if (!reply.contains(QLatin1Char('6')))
            continue;
        m_port->discardOutput();
        m_port->discardInput();
        m_text.clear();
        if (Status s = sendByte(ClosingLetter); !s)
            return s.failure();
        if (const Result<bool> any = awaitTextLongerThan(0); !any || !*any)
            return any;
        if (m_flooded)
            return refuse();
        if (m_position == 0)
            m_text.clear();
        stopWatchdog();
        m_radioAnswered = true;
        return true;
    }
}

Result<bool> RadioLine::waitForAck()
{
    startWatchdog();
    QString text;
    for (;;) {
        text = receiveText();
        if (Status s = doEvents(text.isEmpty()); !s)
            return s.failure();
        if (!m_continue)
            return false;
        if (Status s = doEvents(false); !s)
            return s.failure();
        if (m_flooded)
            return refuse();
        if (!text.isEmpty())
            break;
        // Once the watchdog has spoken nothing is coming: the wait ends in failure.
        if (m_watchdogFired)
            return giveUp();
    }
    if (!text.contains(QLatin1Char('6')))
        return refuse();
    m_port->discardInput();
    stopWatchdog();
    m_text.clear();
    return true;
}
