#include "link/RadioSim.h"

#include "link/Protocol.h"

#include <QCoreApplication>
#include <QList>

namespace {

using namespace protocol;

int blockOf(const QByteArray &frame)
{
    const int address = quint8(frame[1]) * 256 + quint8(frame[2]);
    return address % 8 == 0 && address / 8 < codec::BlockCount ? address / 8 : -1;
}

} // namespace

RadioSim::RadioSim(const RadioSimOptions &options, const codec::Image &memory) : m_options(options), m_memory(memory)
{ }

qint64 RadioSim::byteTime() const
{
    return m_options.baud > 0 ? 10'000'000'000LL / m_options.baud : 0;
}

QList<RadioSim::Output> RadioSim::receive(const QByteArray &bytes, qint64 now)
{
    QList<Output> out;
    qint64 t = qMax(now, m_inBusyUntil);
    for (char c : bytes) {
        // The radio acts on a byte once its last bit is in.
        t += byteTime();
        m_inBusyUntil = t;
        ++m_session.bytesIn;
        bool hangup = false;
        const QByteArray reply = feed(quint8(c), &hangup);
        if (!reply.isEmpty() || hangup) {
            qint64 start = qMax(t, m_outBusyUntil);
            if (m_transferDone)
                start += qint64(m_options.lateAnswerMs) * 1'000'000;
            m_outBusyUntil = start + reply.size() * byteTime();
            m_session.bytesOut += reply.size();
            out.append({m_outBusyUntil, reply, hangup});
        }
        if (m_transferDone) {
            // The answer to the last frame ends the session; what follows is the next one.
            m_transferDone = false;
            m_finished.append(m_session);
            m_finishedSinceOpen = true;
            m_session = {};
        }
        if (hangup)
            break;
    }
    return out;
}

QList<RadioSim::Session> RadioSim::takeFinished()
{
    QList<Session> done;
    done.swap(m_finished);
    return done;
}

QList<RadioSim::Session> RadioSim::endSession()
{
    QList<Session> all = takeFinished();
    if (!m_finishedSinceOpen || m_session.bytesIn > 0)
        all.append(m_session);
    m_finishedSinceOpen = false;
    m_session = {};
    m_state = State::Idle;
    m_tail.clear();
    m_frame.clear();
    return all;
}

bool RadioSim::silentFor(int n) const
{
    return m_options.silentAfterBlock >= 0 && n > m_options.silentAfterBlock;
}

QByteArray RadioSim::watchOpening(quint8 byte)
{
    m_tail.append(char(byte));
    if (m_tail.size() > m_options.trigger.size())
        m_tail.remove(0, m_tail.size() - m_options.trigger.size());
    if (m_options.trigger.isEmpty() || m_tail != m_options.trigger)
        return {};
    m_tail.clear();
    m_state = State::AwaitM;
    return m_options.handshakeAnswer;
}

QByteArray RadioSim::blockReply(int n) const
{
    QByteArray reply;
    if (n == m_options.garbageAtBlock) {
        for (int i = 0; i < 12; ++i)
            reply.append(char(0xA5 ^ (i * 0x1D)));
    } else {
        reply = codec::frame(BlockRead, n, m_memory[size_t(n)]);
    }
    if (m_options.replyLength >= 0)
        reply = reply.leftJustified(m_options.replyLength, '\0', true);
    return reply;
}

QByteArray RadioSim::feed(quint8 byte, bool *hangup)
{
    if (m_options.silent)
        return {};
    switch (m_state) {
    case State::Idle:
        ++m_session.openingBytes;
        return watchOpening(byte);
    case State::AwaitM:
        if (byte == ClosingLetter) {
            m_state = State::AwaitCommand;
            return m_options.confirm;
        }
        ++m_session.openingBytes;
        return watchOpening(byte);
    case State::AwaitCommand:
        if (byte == ReadRequest) {
            m_session.kind = Session::Read;
            m_state = State::Reading;
            return m_options.ack;
        }
        if (byte == WriteRequest) {
            m_session.kind = Session::Write;
            m_state = State::Writing;
            return m_options.writeAccept;
        }
        return watchOpening(byte);
    case State::Reading: {
        m_frame.append(char(byte));
        if (quint8(m_frame[0]) != BlockRead) {
            m_frame.clear();
            return {};
        }
        if (m_frame.size() < 4)
            return {};
        const int n = blockOf(m_frame);
        m_frame.clear();
        if (n < 0 || silentFor(n))
            return {};
        if (n == m_options.hangupAtBlock) {
            *hangup = true;
            return {};
        }
        m_block = n;
        m_state = State::AwaitPcAck;
        return blockReply(n);
    }
    case State::AwaitPcAck:
        if (byte != Ack)
            return {};
        ++m_session.blocks;
        m_state = State::Reading;
        if (m_block == codec::BlockCount - 1) {
            m_session.complete = true;
            m_transferDone = true;
            m_state = State::Idle;
        }
        return m_block == m_options.nakAtBlock ? QByteArray(1, char(Nak)) : m_options.ack;
    case State::Writing: {
        m_frame.append(char(byte));
        if (quint8(m_frame[0]) != BlockWrite) {
            m_frame.clear();
            return {};
        }
        if (m_frame.size() < 12)
            return {};
        const int n = blockOf(m_frame);
        const QByteArray data = m_frame.mid(4);
        m_frame.clear();
        if (n < 0 || silentFor(n))
            return {};
        if (n == m_options.hangupAtBlock) {
            *hangup = true;
            return {};
        }
        if (n == m_options.nakAtBlock)
            return QByteArray(1, char(Nak));
        if (n == m_options.garbageAtBlock)
            return QByteArray("\x55\xAA", 2); // no 6 in any rendering of these
        std::copy(data.begin(), data.end(), m_memory[size_t(n)].begin());
        if (n == m_options.corruptAtBlock)
            m_memory[size_t(n)][0] ^= 0x01;
        ++m_session.blocks;
        if (n == codec::BlockCount - 1) {
            m_session.complete = true;
            m_transferDone = true;
            m_state = State::Idle;
        }
        return m_options.ack;
    }
    }
    return {};
}

codec::Image RadioSim::factoryImage()
{
    codec::Image img;
    for (codec::Block &b : img)
        b.fill(0xFF);
    // Model 0x11, all functions on, time-out off, squelch 4, power step "0" (0x19).
    img[0] = {0x11, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x04, 0x19};
    for (int c = 1; c <= 16; ++c) {
        // 450.02500 MHz upwards in 25 kHz steps, as frequency codes (BCD of 10 Hz units).
        const QString mhz = QStringLiteral("%1").arg(450.0 + 0.025 * c, 9, 'f', 5, QLatin1Char('0'));
        const auto code = codec::encodeFrequency(mhz);
        codec::Block &freq = img[size_t(2 * c)];
        std::copy(code->begin(), code->end(), freq.begin());
        std::copy(code->begin(), code->end(), freq.begin() + 4);
    }
    img[3] = {0x80, 0x01, 0x80, 0x01, 0xFF, 0xFF, 0xFF, 0xFF}; // channel 1: tone 67 both ways
    img[5] = {0xD0, 0x01, 0xD0, 0x01, 0xFF, 0xFC, 0x55, 0xFF}; // channel 2: D023N, narrow, medium
    return img;
}

Result<codec::Image> RadioSim::imageFromChannelText(const QByteArray &text)
{
    codec::Image img;
    for (codec::Block &b : img)
        b.fill(0xFF);
    const QList<QByteArray> lines = text.split('\n');
    int n = 0;
    for (const QByteArray &raw : lines) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty())
            continue;
        if (n == codec::BlockCount)
            break;
        const QList<QByteArray> tokens = line.simplified().split(' ');
        if (tokens.size() < 12)
            return Failure{Failure::InputPastEndOfFile,
                           QCoreApplication::translate("RadioSim", "第 %1 行不足 12 个数").arg(n + 1)};
        for (int i = 0; i < 8; ++i) {
            bool ok = false;
            const uint v = tokens[4 + i].toUInt(&ok, 16);
            if (!ok || v > 0xFF)
                return Failure{Failure::TypeMismatch,
                               QCoreApplication::translate("RadioSim", "第 %1 行的数据不是十六进制字节").arg(n + 1)};
            img[size_t(n)][size_t(i)] = quint8(v);
        }
        ++n;
    }
    return img;
}

QByteArray RadioSim::channelText(const codec::Image &image)
{
    QByteArray out;
    for (int n = 0; n < codec::BlockCount; ++n) {
        const QByteArray frame = codec::frame(BlockRead, n, image[size_t(n)]);
        out += frame.toHex(' ').toUpper() + "\r\n";
    }
    return out;
}
