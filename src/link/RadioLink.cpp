#include "link/RadioLink.h"

#include "channels/WorkingCopy.h"
#include "files/ChannelFile.h"
#include "link/Protocol.h"
#include "link/Transport.h"
#include "support/UserFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

namespace {

using namespace protocol;

QByteArray blockRequest(int n)
{
    const char request[4] = {char(BlockRead), char(codec::blockHigh(n)), char(codec::blockLow(n)), 0x08};
    return QByteArray(request, 4);
}

} // namespace

QString RadioLink::defaultReceivedPath()
{
    return userfolders::data() + QStringLiteral("/Received.chp");
}

QString RadioLink::captionText(Phase phase)
{
    switch (phase) {
    case Phase::Connecting:
        return tr("正在连接对讲机。。。");
    case Phase::Reading:
        return tr("正在从对讲机读取数据。。。");
    case Phase::Writing:
        return tr("正在向对讲机写入数据。。。");
    }
    return {};
}

void RadioLink::enterPhase(Phase phase)
{
    emit phaseChanged(phase);
    emit captionChanged(captionText(phase));
}

// ---------------------------------------------------------------- read

Status RadioLink::readRadio(bool fromDialog, WorkingCopy &wc)
{
    const Status s = receiveImage(fromDialog);
    if (m_ending == Ending::Completed) {
        // Decoded apart from the editor, which changes only when the whole image loads.
        WorkingCopy fresh;
        fresh.setState(wc.state());
        const LoadOutcome loaded = loadChannelText(fresh, receivedText());
        if (loaded.kind == LoadOutcome::Failed)
            report(loaded.failure);
        else
            wc.setState(fresh.state());
    } else if (!m_receivedLines.isEmpty() && !m_receivedFileFailed) {
        emit message({LinkMessage::Information, tr("信息提示"),
                      tr("读频没有完成，已收到的 %n 块数据保存在 %1", nullptr, int(m_receivedLines.size()))
                          .arg(QDir::toNativeSeparators(receivedPath()))});
    }
    return s;
}

Status RadioLink::receiveImage(bool fromDialog)
{
    Q_UNUSED(fromDialog);
    m_writing = false;
    const Status s = readTransfer();
    finishTransfer();
    return s;
}

QByteArray RadioLink::receivedText() const
{
    QByteArray text;
    for (const QString &line : m_receivedLines)
        text += line.toLatin1() + "\r\n";
    return text;
}

Status RadioLink::readTransfer()
{
    m_completed = false;
    m_receivedFileFailed = false;
    m_receivedLines.clear();
    m_receivedImage.fill(codec::Block{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    enterPhase(Phase::Connecting);
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
    enterPhase(Phase::Reading);
    readBlocks(0);
    return doEvents(false);
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

Result<QByteArray> RadioLink::awaitBlockReply(int n)
{
    startWatchdog();
    // Exactly 12: a shorter reply waits for the rest, a longer one is refused.
    for (;;) {
        const qint64 pending = m_port->bytesAvailable();
        if (pending == ReplyLength)
            break;
        if (pending > ReplyLength) {
            refuse();
            return QByteArray();
        }
        if (m_watchdogFired) {
            giveUp();
            return QByteArray();
        }
        if (Status s = doEvents(true); !s)
            return s.failure();
        if (!m_continue)
            return QByteArray();
    }
    stopWatchdog();
    const QByteArray reply = m_port->readAll();
    // Anything but the block asked for is not stored.
    if (reply.size() != ReplyLength || !reply.startsWith(blockRequest(n))) {
        refuse();
        return QByteArray();
    }
    return reply;
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
        if (Status s = send(blockRequest(n)); !s)
            return s;
        const Result<QByteArray> reply = awaitBlockReply(n);
        if (!reply)
            return reply.failure();
        if (reply->isEmpty())
            return {};
        QString line;
        for (char b : *reply)
            line += codec::hex2(quint8(b)) + QLatin1Char(' ');
        if (Status s = appendReceivedLine(line); !s) {
            m_receivedFileFailed = true;
            return s;
        }
        m_receivedLines.append(line);
        for (size_t i = 0; i < codec::Block().size(); ++i)
            m_receivedImage[size_t(n)][i] = quint8(reply->at(int(4 + i)));
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
                       tr("无法创建文件夹 %1").arg(QDir::toNativeSeparators(info.absolutePath()))};
    // Created readable by the user alone.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered,
                   QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return Failure{Failure::PathFileAccessError,
                       tr("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(path), file.errorString())};
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
    const qint64 before = file.size();
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        // The system's own reason (a full disk, a file-size limit); the file keeps whole
        // lines only.
        const QString reason = errno != 0 ? QString::fromLocal8Bit(std::strerror(errno)) : file.errorString();
        file.resize(before);
        return Failure{Failure::DiskFull,
                       tr("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(file.fileName()), reason)};
    }
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
        m_writing = true;
        m_blocksSent = 0;
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
    m_writing = true;
    m_blocksSent = 0;
    const Status s = writeTransfer(image);
    finishTransfer();
    return s;
}

Status RadioLink::writeTransfer(const codec::Image &image)
{
    enterPhase(Phase::Connecting);
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
        if (m_flooded) {
            refuse();
            return {};
        }
        if (!m_continue || m_watchdogFired)
            return {};
        if (!text.isEmpty())
            break;
    }
    m_text.clear();
    stopWatchdog();
    if (Status s = doEvents(false); !s)
        return s;
    enterPhase(Phase::Writing);
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
    emit message({LinkMessage::Exclamation, tr("错误"),
                  tr("错误号：%1%2").arg(QString::number(done.failure().number), done.failure().description)});
    closePort();
    return false;
}

Result<bool> RadioLink::writeFunctionFrames(const codec::Image &image)
{
    if (Status s = sendBlock(0, image[0]); !s)
        return s.failure();
    emit progressChanged(1);
    Result<bool> acked = waitForAck();
    if (!acked || !*acked)
        return acked;
    if (Status s = sendBlock(1, image[1]); !s)
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
        if (Status s = sendBlock(n, image[size_t(n)]); !s)
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
        if (Status s = sendBlock(codec::DataBlocks + i, filler); !s)
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

Status RadioLink::sendBlock(int n, const codec::Block &data)
{
    ++m_blocksSent;
    return send(codec::frame(BlockWrite, n, data));
}

void RadioLink::finishTransfer()
{
    m_ending = m_completed ? Ending::Completed : !m_continue ? Ending::Cancelled : Ending::Failed;
    // The watchdog guards the waits of a transfer; none is left now.
    stopWatchdog();
}
