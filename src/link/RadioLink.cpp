#include "link/RadioLink.h"

#include "channels/WorkingCopy.h"
#include "files/ChannelFile.h"
#include "link/Protocol.h"
#include "link/Transport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

using namespace protocol;

} // namespace

QString RadioLink::defaultReceivedPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
           + QStringLiteral("/Received.chp");
}

// ---------------------------------------------------------------- read

Status RadioLink::readRadio(bool fromDialog, WorkingCopy &wc)
{
    Q_UNUSED(fromDialog);
    const Result<bool> blocksRead = readTransfer();
    if (blocksRead && *blocksRead) {
        // Also after a Cancel or a failure part-way: what arrived is loaded.
        const LoadOutcome loaded = loadChannelFile(wc, receivedPath());
        if (loaded.kind == LoadOutcome::Failed)
            report(loaded.failure);
    }
    finishTransfer();
    return blocksRead ? Status() : Status(blocksRead.failure());
}

Status RadioLink::receiveImage(bool fromDialog)
{
    Q_UNUSED(fromDialog);
    const Result<bool> blocksRead = readTransfer();
    finishTransfer();
    return blocksRead ? Status() : Status(blocksRead.failure());
}

// True once the block reads have run.
Result<bool> RadioLink::readTransfer()
{
    m_completed = false;
    m_receivedLines.clear();
    m_receivedImage.fill(codec::Block{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    emit captionChanged(QStringLiteral("正在连接对讲机。。。"));
    if (Status s = doEvents(false); !s)
        return s.failure();
    m_text.clear();
    const Result<bool> connected = connectRadio(true);
    if (!connected || !*connected)
        return connected;
    m_text.clear();
    if (Status s = sendByte(ReadRequest); !s)
        return s.failure();
    const Result<bool> acked = waitForAck();
    if (!acked || !*acked)
        return acked;
    emit captionChanged(QStringLiteral("正在从对讲机读取数据。。。"));
    readBlocks(0);
    if (Status s = doEvents(false); !s)
        return s.failure();
    return true;
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
        const QByteArray reply = m_port->readAll();
        QString line;
        for (char b : reply)
            line += codec::hex2(quint8(b)) + QLatin1Char(' ');
        if (Status s = appendReceivedLine(line); !s)
            return s;
        m_receivedLines.append(line);
        for (size_t i = 0; i < codec::Block().size(); ++i)
            m_receivedImage[size_t(n)][i] = quint8(reply[int(4 + i)]);
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
    // Building block by block while sending would leave the radio half-programmed at
    // the first cell that cannot be encoded; nothing goes out unless all blocks are good.
    const Result<codec::Image> image = writeImage(wc);
    if (!image) {
        m_completed = false;
        report(image.failure());
        closePort();
        finishTransfer();
        return {};
    }
    return sendImage(fromDialog, *image);
}

Status RadioLink::sendImage(bool fromDialog, const codec::Image &image)
{
    Q_UNUSED(fromDialog);
    m_completed = false;
    const Status s = writeTransfer(image);
    finishTransfer();
    return s;
}

Status RadioLink::writeTransfer(const codec::Image &image)
{
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
    if (!writeFunctionBlocks(0, image))
        return {};
    if (Status s = doEvents(false); !s)
        return s;
    if (m_continue) {
        writeChannelBlocks(0, image);
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
