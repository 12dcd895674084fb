#include "link/RadioLink.h"

#include "channels/WorkingCopy.h"
#include "files/ChannelFile.h"
#include "link/Clock.h"
#include "link/Protocol.h"
#include "link/SerialPorts.h"
#include "link/SerialTransport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

using namespace protocol;

QString watchdogText()
{
    return QStringLiteral("通信端口没有响应，请确保连接正确和电源打开");
}

} // namespace

RadioLink::RadioLink(QObject *parent)
    : RadioLink(nullptr, nullptr, parent)
{
}

RadioLink::RadioLink(Transport *transport, Clock *clock, QObject *parent)
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
    connect(m_port, &Transport::readyRead, this, &RadioLink::onPortReadyRead);
}

RadioLink::~RadioLink()
{
    closePort();
}

QString RadioLink::appTitle()
{
    return QStringLiteral("TARNIK编程软件");
}

QString RadioLink::defaultReceivedPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
           + QStringLiteral("/Received.chp");
}

// ---------------------------------------------------------------- port

QString RadioLink::chosenDevice() const
{
    if (!m_customDevice.isEmpty())
        return m_customDevice;
    if (serialPortList().isEmpty())
        enumSerialPorts();
    const QList<SerialPortEntry> &ports = serialPortList();
    const int index = m_portNumber - 1;
    return index >= 0 && index < ports.size() ? ports[index].device : QString();
}

Status RadioLink::openForTransfer()
{
    if (m_port->isOpen())
        return {};
    m_portNumber = portOption + 1;
    m_threshold = 1;
    const QString device = chosenDevice();
    if (device.isEmpty())
        return noDeviceFailure(m_portNumber);
    return m_port->open(device);
}

bool RadioLink::isOpen() const
{
    return m_port->isOpen();
}

void RadioLink::closePort()
{
    if (m_port->isOpen())
        m_port->close();
}

// ---------------------------------------------------------------- receive text

QString RadioLink::render(quint8 byte, bool byteMode)
{
    return byteMode ? QString::number(byte) : QString::number(byte) + QLatin1Char('0');
}

void RadioLink::onPortReadyRead()
{
    if (m_threshold < 1 || !m_port->isOpen())
        return;
    const QByteArray bytes = m_port->readAll();
    for (char c : bytes)
        m_text += render(quint8(c), m_byteMode);
}

// ---------------------------------------------------------------- events and watchdog

Status RadioLink::send(const QByteArray &bytes)
{
    return m_port->write(bytes);
}

Status RadioLink::doEvents(bool block)
{
    if (block) {
        const qint64 due = m_watchdogRunning ? m_watchdogDue : Clock::Forever;
        m_clock->waitForEvents(due);
    } else {
        m_clock->processEvents();
    }
    if (m_watchdogRunning && m_clock->now() >= m_watchdogDue)
        onWatchdogTimeout();
    if (m_port->isOpen()) {
        if (const auto fault = m_port->lineFault())
            return *fault;
    }
    return {};
}

void RadioLink::startWatchdog()
{
    m_watchdogRunning = true;
    m_watchdogFired = false;
    m_watchdogDue = m_clock->now() + WatchdogInterval * Clock::Millisecond;
}

void RadioLink::stopWatchdog()
{
    m_watchdogRunning = false;
}

void RadioLink::onWatchdogTimeout()
{
    stopWatchdog();
    m_watchdogFired = true;
    emit message({LinkMessage::Information, QStringLiteral("信息提示"), watchdogText()});
}

void RadioLink::cancelTransfer()
{
    m_continue = false;
    // Left running, the watchdog would speak 60 s after the start of a wait the user
    // has already abandoned, possibly in the middle of the next transfer.
    stopWatchdog();
}

void RadioLink::report(const Failure &f, LinkMessage::Icon icon)
{
    emit message({icon, QString::number(f.number), f.description});
}

// ---------------------------------------------------------------- protocol

Result<bool> RadioLink::connectRadio(bool start)
{
    if (!start)
        return false;
    if (stopEditorTimer)
        stopEditorTimer();
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
        if (m_position == 7)
            m_position = 0;
        if (m_watchdogFired)
            return false;
        if (reply.isEmpty())
            continue;
        while (receiveText().size() <= 2) {
            if (Status s = doEvents(true); !s)
                return s.failure();
            if (m_watchdogFired || !m_continue)
                return false;
        }
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
        while (receiveText().isEmpty()) {
            if (Status s = doEvents(true); !s)
                return s.failure();
            if (m_watchdogFired || !m_continue)
                return false;
        }
        if (m_position == 0)
            m_text.clear();
        stopWatchdog();
        return true;
    }
}

Result<bool> RadioLink::waitForAck()
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
        if (!text.isEmpty())
            break;
    }
    const bool ok = text.contains(QLatin1Char('6'));
    if (!ok) {
        emit message({LinkMessage::NoIcon, appTitle(), QStringLiteral("通信错误")});
        m_text.clear();
        closePort();
    }
    m_port->discardInput();
    stopWatchdog();
    m_text.clear();
    return ok;
}

// ---------------------------------------------------------------- read

Status RadioLink::readRadio(bool fromDialog, WorkingCopy &wc)
{
    Q_UNUSED(fromDialog);
    m_completed = false;
    const Status s = readTransfer(wc);
    finishTransfer();
    return s;
}

Status RadioLink::readTransfer(WorkingCopy &wc)
{
    emit captionChanged(QStringLiteral("正在连接对讲机。。。"));
    if (Status s = doEvents(false); !s)
        return s;
    m_text.clear();
    const Result<bool> connected = connectRadio(true);
    if (!connected)
        return connected.failure();
    if (!*connected)
        return {};
    m_text.clear();
    if (Status s = sendByte(ReadRequest); !s)
        return s;
    const Result<bool> acked = waitForAck();
    if (!acked)
        return acked.failure();
    if (!*acked)
        return {};
    emit captionChanged(QStringLiteral("正在从对讲机读取数据。。。"));
    readBlocks(0);
    if (Status s = doEvents(false); !s)
        return s;
    // Also after a Cancel or a failure part-way: what arrived is loaded.
    const LoadOutcome loaded = loadChannelFile(wc, receivedPath());
    if (loaded.kind == LoadOutcome::Failed)
        report(loaded.failure);
    return {};
}

void RadioLink::readBlocks(int skip)
{
    if (!m_continue || skip == -1)
        return;
    if (Status s = readBlockLoop(); !s) {
        report(s.failure());
        closePort();
    }
}

Status RadioLink::readBlockLoop()
{
    m_port->discardInput();
    for (int n = 0; n < codec::BlockCount; ++n) {
        const int c = n + 1;
        if (m_port->isOpen()) {
            m_byteMode = true;
            m_threshold = 0;
        }
        const char request[4] = {char(BlockRead), char(codec::blockHigh(n)), char(codec::blockLow(n)), 0x08};
        if (Status s = send(QByteArray(request, 4)); !s)
            return s;
        // Exactly 12: a longer reply is never taken.
        while (m_port->bytesAvailable() != ReplyLength) {
            if (Status s = doEvents(true); !s)
                return s;
            if (!m_continue)
                return {};
        }
        QString line;
        for (char b : m_port->readAll())
            line += codec::hex2(quint8(b)) + QLatin1Char(' ');
        if (Status s = appendReceivedLine(line); !s)
            return s;
        emit progressChanged(c);
        if (m_port->isOpen())
            m_threshold = 1;
        if (Status s = sendByte(Ack); !s)
            return s;
        if (c == codec::BlockCount) {
            m_completed = true;
            break;
        }
        const Result<bool> acked = waitForAck();
        if (!acked)
            return acked.failure();
        if (!*acked)
            break;
    }
    closePort();
    return {};
}

Status RadioLink::openReceivedFile(QFile &file)
{
    const QString path = file.fileName();
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        return Failure{Failure::PathFileAccessError,
                       QStringLiteral("无法创建文件夹 %1").arg(QDir::toNativeSeparators(info.absolutePath()))};
    // Created readable by the user alone.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return Failure{Failure::PathFileAccessError,
                       QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(path),
                                                                 file.errorString())};
    return {};
}

Status RadioLink::checkReceivedPath() const
{
    QFile file(receivedPath());
    const bool existed = file.exists();
    if (Status s = openReceivedFile(file); !s)
        return s;
    file.close();
    if (!existed)
        file.remove();
    return {};
}

Status RadioLink::appendReceivedLine(const QString &line)
{
    // Appended to and closed again for every block.
    QFile file(receivedPath());
    if (Status s = openReceivedFile(file); !s)
        return s;
    const QByteArray bytes = line.toLatin1() + "\r\n";
    if (file.write(bytes) != bytes.size() || !file.flush())
        return Failure{Failure::DiskFull, QStringLiteral("无法写入文件 %1：%2").arg(
                                              QDir::toNativeSeparators(file.fileName()), file.errorString())};
    file.close();
    return {};
}

// ---------------------------------------------------------------- write

Result<codec::Image> RadioLink::writeImage(WorkingCopy &wc)
{
    wc.rerunSelection(WorkingCopy::List::PowerSave);
    Result<codec::Image> image = codec::encodeImage(wc);
    if (!image)
        return image;
    // The write sends 00 only for the scan list's second entry; FF otherwise, also with
    // nothing selected.
    image->at(1)[1] = wc.row(WorkingCopy::List::Scan) == 1 ? 0x00 : 0xFF;
    for (int n = codec::DataBlocks; n < codec::BlockCount; ++n)
        image->at(size_t(n)).fill(0xFF);
    return image;
}

Status RadioLink::writeRadio(bool fromDialog, WorkingCopy &wc)
{
    Q_UNUSED(fromDialog);
    m_completed = false;
    const Status s = writeTransfer(wc);
    finishTransfer();
    return s;
}

Status RadioLink::writeTransfer(WorkingCopy &wc)
{
    // Building block by block while sending would leave the radio half-programmed at
    // the first cell that cannot be encoded; nothing goes out unless all blocks are good.
    const Result<codec::Image> image = writeImage(wc);
    if (!image) {
        report(image.failure());
        closePort();
        return {};
    }
    emit captionChanged(QStringLiteral("正在连接对讲机。。。"));
    const Result<bool> connected = connectRadio(true);
    if (!connected)
        return connected.failure();
    if (!*connected || !m_continue)
        return {};
    m_text.clear();
    if (Status s = sendByte(WriteRequest); !s)
        return s;
    startWatchdog();
    // The write accept: any byte will do.
    for (;;) {
        const QString text = receiveText();
        if (Status s = doEvents(text.isEmpty()); !s)
            return s;
        if (!m_continue || m_watchdogFired)
            return {};
        if (!text.isEmpty())
            break;
    }
    m_text.clear();
    stopWatchdog();
    if (Status s = doEvents(false); !s)
        return s;
    emit captionChanged(QStringLiteral("正在向对讲机写入数据。。。"));
    if (!writeFunctionBlocks(0, *image))
        return {};
    if (Status s = doEvents(false); !s)
        return s;
    if (m_continue) {
        writeChannelBlocks(0, *image);
        if (Status s = doEvents(false); !s)
            return s;
    }
    return {};
}

bool RadioLink::writeFunctionBlocks(int skip, const codec::Image &image)
{
    if (skip == -1)
        return false;
    const Result<bool> done = writeFunctionFrames(image);
    if (done)
        return *done;
    emit message({LinkMessage::Exclamation, QStringLiteral("错误"),
                  QStringLiteral("错误号：") + QString::number(done.failure().number)
                      + done.failure().description});
    closePort();
    return false;
}

Result<bool> RadioLink::writeFunctionFrames(const codec::Image &image)
{
    if (Status s = send(codec::frame(BlockWrite, 0, image[0])); !s)
        return s.failure();
    emit progressChanged(1);
    Result<bool> acked = waitForAck();
    if (!acked || !*acked)
        return acked;
    if (Status s = send(codec::frame(BlockWrite, 1, image[1])); !s)
        return s.failure();
    acked = waitForAck();
    if (!acked || !*acked)
        return acked;
    emit progressChanged(2);
    return true;
}

void RadioLink::writeChannelBlocks(int skip, const codec::Image &image)
{
    if (skip == -1)
        return;
    if (Status s = writeChannelFrames(image); !s) {
        report(s.failure());
        closePort();
    }
}

Status RadioLink::writeChannelFrames(const codec::Image &image)
{
    int counter = 3;
    for (int n = codec::FunctionBlocks; n < codec::DataBlocks; ++n) {
        if (Status s = send(codec::frame(BlockWrite, n, image[size_t(n)])); !s)
            return s;
        emit progressChanged(counter++);
        const Result<bool> acked = waitForAck();
        if (!acked)
            return acked.failure();
        if (!*acked)
            return {};
    }
    codec::Block filler;
    filler.fill(0xFF);
    for (int i = 0; i < codec::SpareBlocks; ++i) {
        if (Status s = send(codec::frame(BlockWrite, codec::DataBlocks + i, filler)); !s)
            return s;
        emit progressChanged(codec::DataBlocks + i);
        // The last block's acknowledgement is not awaited: the port closes right after it.
        if (i == codec::SpareBlocks - 1)
            break;
        const Result<bool> acked = waitForAck();
        if (!acked)
            return acked.failure();
        if (!*acked)
            return {};
    }
    m_completed = true;
    closePort();
    return {};
}

void RadioLink::finishTransfer()
{
    m_ending = m_completed ? Ending::Completed : !m_continue ? Ending::Cancelled : Ending::Failed;
    // The watchdog guards the waits of a transfer; none is left now.
    stopWatchdog();
}
