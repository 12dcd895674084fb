// The radio link's engine, read and write, against a line whose answers the input
// chooses, in virtual time: never crashes, never hangs, every transfer ends, the port
// ends closed, the received-image file holds whole block lines only.
//
// Input: one header byte, then one instruction for each write of the PC:
//   00nnnnnn  answer the next n bytes of the input at once
//   01nnnnnn  answer the next n bytes of the input, the byte after them × 10 ms later
//   10nnnnnn  answer this write and the next n as a well-behaved radio would
//   11000sss  s = 0 say nothing; 1 press Cancel now; 2 press Cancel after the next
//             byte × 100 ms; 3 hang up after the next byte × 10 ms; 4 this write fails;
//             5 answer the next byte's low 4 bits + 1 bytes one at a time, 1 ms apart;
//             Cancel (1, 2) takes the next instruction for the same write as well
// Once the input has run out the line stays silent: the watchdog ends the transfer.
// Every wait is watched, so a wait with nothing left that could happen is a fault.
// Header: bit 0 write first, bit 1 a second transfer of the other kind follows on the
// same link (input mode and receive text carry over), bit 2 every answer of the first
// transfer comes 1 ms late.

#include "channels/WorkingCopy.h"
#include "link/Clock.h"
#include "link/Protocol.h"
#include "link/RadioLink.h"
#include "link/RadioSim.h"
#include "link/Transport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

using namespace protocol;

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_protocol: %s\n", what);
        std::abort();
    }
}

class ScriptedLine : public Transport
{
public:
    ScriptedLine(const QByteArray &script, VirtualClock *clock, RadioLink **link)
        : m_script(script), m_clock(clock), m_link(link)
    {
        m_clock->addEventSource([this] {
            if (!m_arrived)
                return false;
            m_arrived = false;
            emit readyRead();
            return true;
        });
    }

    Status open(const QString &) override
    {
        ++m_line;
        m_open = true;
        m_pending.clear();
        m_fault.reset();
        return {};
    }
    bool isOpen() const override { return m_open; }
    void close() override
    {
        ++m_line;
        m_open = false;
    }
    Status write(const QByteArray &bytes) override
    {
        check(m_open, "a write on a closed port");
        if (m_fault)
            return *m_fault;
        ++writes;
        sent += bytes;
        for (;;) {
            if (m_good > 0) {
                --m_good;
                deliver(goodAnswer(bytes), 0);
                return {};
            }
            if (m_pos >= m_script.size())
                return {};
            const quint8 op = take();
            const int n = op & 0x3F;
            switch (op >> 6) {
            case 0:
                deliver(takeBytes(n), 0);
                return {};
            case 1: {
                const QByteArray answer = takeBytes(n);
                deliver(answer, take() * 10 * Clock::Millisecond);
                return {};
            }
            case 2:
                m_good = n;
                deliver(goodAnswer(bytes), 0);
                return {};
            default:
                break;
            }
            switch (op & 0x07) {
            case 1:
                pressCancel(0);
                continue;
            case 2:
                pressCancel(take() * 100 * Clock::Millisecond);
                continue;
            case 3:
                hangUp(take() * 10 * Clock::Millisecond);
                return {};
            case 4:
                return Failure{Failure::DeviceIoError, QStringLiteral("线路中断")};
            case 5: {
                const QByteArray answer = takeBytes((take() & 0x0F) + 1);
                for (int i = 0; i < answer.size(); ++i)
                    deliver(answer.mid(i, 1), (i + 1) * Clock::Millisecond);
                return {};
            }
            default:
                return {};
            }
        }
    }
    QByteArray readAll() override
    {
        QByteArray all;
        all.swap(m_pending);
        return all;
    }
    qint64 bytesAvailable() const override { return m_pending.size(); }
    void discardInput() override { m_pending.clear(); }
    void discardOutput() override { }
    std::optional<Failure> lineFault() const override { return m_fault; }

    // Every later answer of the line is delayed by this much.
    qint64 latency = 0;
    QByteArray sent;
    int writes = 0;

private:
    quint8 take() { return m_pos < m_script.size() ? quint8(m_script[m_pos++]) : 0; }
    QByteArray takeBytes(int n)
    {
        const QByteArray b = m_script.mid(m_pos, n);
        m_pos += b.size();
        return b;
    }
    void deliver(const QByteArray &bytes, qint64 delay)
    {
        if (bytes.isEmpty())
            return;
        const int line = m_line;
        m_clock->schedule(m_clock->now() + latency + delay, [this, line, bytes] {
            if (line != m_line)
                return;
            m_pending += bytes;
            m_arrived = true;
        });
    }
    void hangUp(qint64 delay)
    {
        const int line = m_line;
        m_clock->schedule(m_clock->now() + delay, [this, line] {
            if (line != m_line)
                return;
            m_fault = Failure{Failure::DeviceIoError, QStringLiteral("对方挂断")};
            m_arrived = true;
        });
    }
    void pressCancel(qint64 delay)
    {
        m_clock->post(m_clock->now() + delay, [this] { (*m_link)->cancelTransfer(); });
    }
    // What a radio that follows the protocol answers to the PC's bytes.
    static QByteArray goodAnswer(const QByteArray &bytes)
    {
        if (bytes.size() == 4 && quint8(bytes[0]) == BlockRead) {
            const int address = quint8(bytes[1]) * 256 + quint8(bytes[2]);
            codec::Block data;
            data.fill(quint8(address));
            return codec::frame(BlockRead, (address / 8) % codec::BlockCount, data);
        }
        if (bytes.size() == 12)
            return QByteArray(1, char(Ack));
        if (bytes.size() != 1)
            return {};
        switch (quint8(bytes[0])) {
        case 0x41: // the last letter of the opening sequence
            return QByteArray("\x06\x06\x06", 3);
        case ClosingLetter:
        case ReadRequest:
        case WriteRequest:
        case Ack:
            return QByteArray(1, char(Ack));
        default:
            break;
        }
        return {};
    }

    QByteArray m_script;
    qsizetype m_pos = 0;
    VirtualClock *m_clock;
    RadioLink **m_link;
    bool m_open = false;
    bool m_arrived = false;
    int m_line = 0;
    int m_good = 0;
    QByteArray m_pending;
    std::optional<Failure> m_fault;
};

const QString &receivedPath()
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("Received.chp"));
    return path;
}

// Every line of the received image: twelve two-digit values, each with a blank, CR LF.
int checkReceivedFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray all = f.readAll();
    check(all.size() % 38 == 0, "received image: not whole lines");
    for (qsizetype at = 0; at < all.size(); at += 38) {
        for (int i = 0; i < 12; ++i) {
            const char *v = all.constData() + at + 3 * i;
            check(std::isxdigit(uchar(v[0])) && std::isxdigit(uchar(v[1])) && v[2] == ' ',
                  "received image: a line of another form");
        }
        check(all[at + 36] == '\r' && all[at + 37] == '\n', "received image: line end");
    }
    return int(all.size() / 38);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const quint8 header = data[0];
    const QByteArray script(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));

    VirtualClock clock;
    RadioLink *linkPtr = nullptr;
    ScriptedLine line(script, &clock, &linkPtr);
    RadioLink link(&line, &clock);
    linkPtr = &link;
    link.setCustomDevice(QStringLiteral("fuzz"));
    link.setReceivedPath(receivedPath());
    WorkingCopy wc;
    wc.startUp(QString());

    QList<int> progress;
    int watchdogMessages = 0;
    QObject::connect(&link, &RadioLink::progressChanged, [&](int v) { progress.append(v); });
    QObject::connect(&link, &RadioLink::message, [&](const LinkMessage &m) {
        check(!m.text.isEmpty(), "a message without text");
        if (m.title == QStringLiteral("信息提示"))
            ++watchdogMessages;
    });
    clock.onStall = [&] { check(false, "a wait without an end"); };

    const int transfers = (header & 2) ? 2 : 1;
    for (int t = 0; t < transfers; ++t) {
        const bool write = ((header & 1) != 0) != (t == 1);
        line.latency = t == 0 && (header & 4) ? Clock::Millisecond : 0;
        progress.clear();
        watchdogMessages = 0;
        clock.stalls = 0;
        const qint64 start = clock.now();
        const int writesBefore = line.writes;
        check(link.openForTransfer().ok(), "the line does not open");
        QFile::remove(receivedPath());
        link.setTransferActive(true);
        (void)(write ? link.writeRadio(true, wc) : link.readRadio(true, wc));
        link.closePort();

        check(!link.isOpen(), "the port stays open");
        check(!link.watchdogRunning(), "the watchdog runs on after the transfer");
        check(link.receiveText().size() < 65536, "an unbounded receive text");
        // One watchdog start for the handshake, one for the request, one per block.
        check(watchdogMessages <= 2 + line.writes - writesBefore, "more watchdog messages than starts");
        for (int i = 0; i < progress.size(); ++i)
            check(progress[i] >= 1 && progress[i] <= codec::BlockCount, "progress out of range");
        if (!write) {
            const int lines = checkReceivedFile(receivedPath());
            check(lines <= codec::BlockCount, "more than 128 lines");
            check(progress.size() == lines, "progress and lines differ");
            for (int i = 0; i < progress.size(); ++i)
                check(progress[i] == i + 1, "read progress out of order");
            if (link.lastEnding() == RadioLink::Ending::Completed)
                check(lines == codec::BlockCount, "a complete read without 128 lines");
        } else if (link.lastEnding() == RadioLink::Ending::Completed) {
            check(progress.size() == codec::BlockCount && progress.last() == codec::BlockCount - 1,
                  "a complete write without its progress");
        }
        // Bounded in virtual time: the watchdog, the answers' delays, and Cancel.
        check(clock.now() - start < 24LL * 3600 * 1000 * Clock::Millisecond, "a day of virtual time");
    }
    return 0;
}
