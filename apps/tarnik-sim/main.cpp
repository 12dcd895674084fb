// tarnik-sim: a radio on a pseudo-terminal. Prints the terminal's device path as its
// first line, then one line for every session (one transfer: from its opening sequence
// until the radio has answered its last frame, or the PC closes the port), and plays the
// radio's side of the programming protocol.

#include "link/RadioSim.h"
#include "support/Translation.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// The usage text, a line each, so each is translated as a whole.
const char *const usageLines[] = {
    QT_TRANSLATE_NOOP("tarnik-sim", "用法: tarnik-sim [选项]"),
    QT_TRANSLATE_NOOP("tarnik-sim",
                      "在伪终端上模拟对讲机；第一行输出设备路径，之后每个会话（一次读频或写频）输出一行。"),
    QT_TRANSLATE_NOOP("tarnik-sim", "  --image FILE.chp        开始时的存储内容（缺省为出厂内容）"),
    QT_TRANSLATE_NOOP("tarnik-sim", "  --dump FILE             每次写频会话后把存储内容写成信道文件"),
    QT_TRANSLATE_NOOP("tarnik-sim",
                      "  --baud N                按 N 波特（每字节 10 位）计时；0 为立即应答（缺省 9600）"),
    QT_TRANSLATE_NOOP("tarnik-sim", "  --once                  电脑第一次关闭串口后退出"),
    QT_TRANSLATE_NOOP("tarnik-sim", "  --silent                完全不应答"),
    QT_TRANSLATE_NOOP("tarnik-sim", "  --silent-after-block N  应答到第 N 块（从 0 起）为止，之后不再应答"),
    QT_TRANSLATE_NOOP("tarnik-sim", "  --nak-at-block N        第 N 块以 15 应答"),
    QT_TRANSLATE_NOOP("tarnik-sim", "  --reply-len N           读块应答的长度（缺省 12）"),
    QT_TRANSLATE_NOOP("tarnik-sim", "  --garbage-at-block N    第 N 块的应答为乱码"),
    QT_TRANSLATE_NOOP("tarnik-sim", "  --hangup-at-block N     到第 N 块时挂断线路并退出"),
    QT_TRANSLATE_NOOP("tarnik-sim", "  --handshake-answer HEX  对联机序列的应答（缺省 060606）"),
    QT_TRANSLATE_NOOP("tarnik-sim", "  --corrupt-at-block N    第 N 块照常应答，但存入的第一个字节不同"),
    QT_TRANSLATE_NOOP("tarnik-sim", "  --tuning HEX            开始前把功能标志字节和功率档设为这两个字节（如 3019）"),
    QT_TRANSLATE_NOOP("tarnik-sim", "  --model-code HEX        开始前把机型代码设为这个字节（如 24）"),
    QT_TRANSLATE_NOOP("tarnik-sim", "  --late-ack MS           写频最后一块的应答和读频最后一个 06 的应答推迟 MS 毫秒"),
    QT_TRANSLATE_NOOP("tarnik-sim", "  --flood                 电脑一开始发送就全速送出随机字节，不再应答"),
    QT_TRANSLATE_NOOP("tarnik-sim", "  --lang en|zh            输出的语言：英文或中文（默认中文）"),
};

QString usage()
{
    QString text;
    for (const char *line : usageLines)
        text += QCoreApplication::translate("tarnik-sim", line) + QLatin1Char('\n');
    return text;
}

qint64 nowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void say(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

int fail(const QString &text, int code = 2)
{
    const QByteArray bytes = (QStringLiteral("tarnik-sim: ") + text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    return code;
}

struct Setup
{
    RadioSimOptions options;
    QString imagePath;
    QString dumpPath;
    bool once = false;
    QByteArray tuning; // flags byte and power step byte, or empty
    QByteArray modelCode; // one byte, or empty
    bool flood = false;
};

// Returns an error text, or an empty text when the arguments are good.
QString parse(const QStringList &args, Setup &setup)
{
    RadioSimOptions &o = setup.options;
    o.baud = 9600;
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args[i];
        auto value = [&]() -> QString { return i + 1 < args.size() ? args[++i] : QString(); };
        auto number = [&](int *target) -> bool {
            bool ok = false;
            const int v = value().toInt(&ok);
            if (ok && v >= 0)
                *target = v;
            return ok && v >= 0;
        };
        bool ok = true;
        if (a == QStringLiteral("--image"))
            ok = !(setup.imagePath = value()).isEmpty();
        else if (a == QStringLiteral("--dump"))
            ok = !(setup.dumpPath = value()).isEmpty();
        else if (a == QStringLiteral("--baud"))
            ok = number(&o.baud);
        else if (a == QStringLiteral("--once"))
            setup.once = true;
        else if (a == QStringLiteral("--flood"))
            setup.flood = true;
        else if (a == QStringLiteral("--silent"))
            o.silent = true;
        else if (a == QStringLiteral("--silent-after-block"))
            ok = number(&o.silentAfterBlock);
        else if (a == QStringLiteral("--nak-at-block"))
            ok = number(&o.nakAtBlock);
        else if (a == QStringLiteral("--reply-len"))
            ok = number(&o.replyLength);
        else if (a == QStringLiteral("--garbage-at-block"))
            ok = number(&o.garbageAtBlock);
        else if (a == QStringLiteral("--hangup-at-block"))
            ok = number(&o.hangupAtBlock);
        else if (a == QStringLiteral("--corrupt-at-block"))
            ok = number(&o.corruptAtBlock);
        else if (a == QStringLiteral("--late-ack"))
            ok = number(&o.lateAnswerMs);
        else if (a == QStringLiteral("--model-code")) {
            const QString hex = value();
            setup.modelCode = QByteArray::fromHex(hex.toLatin1());
            ok = hex.size() == 2 && setup.modelCode.size() == 1
                && setup.modelCode.toHex().toUpper() == hex.toUpper().toLatin1();
        } else if (a == QStringLiteral("--tuning")) {
            const QString hex = value();
            setup.tuning = QByteArray::fromHex(hex.toLatin1());
            ok = hex.size() == 4 && setup.tuning.size() == 2
                && setup.tuning.toHex().toUpper() == hex.toUpper().toLatin1();
        } else if (a == QStringLiteral("--handshake-answer")) {
            const QString hex = value().remove(QLatin1Char(' '));
            o.handshakeAnswer = QByteArray::fromHex(hex.toLatin1());
            ok = !hex.isEmpty() && hex.size() % 2 == 0
                && o.handshakeAnswer.toHex().toUpper() == hex.toUpper().toLatin1();
        } else
            return QCoreApplication::translate("tarnik-sim", "未知选项 \"%1\"").arg(a);
        if (!ok)
            return QCoreApplication::translate("tarnik-sim", "选项 %1 的值不对").arg(a);
    }
    return {};
}

QString sessionLine(const RadioSim::Session &s)
{
    const char *kind = s.kind == RadioSim::Session::Read ? "read"
        : s.kind == RadioSim::Session::Write             ? "write"
                                                         : "none";
    return QStringLiteral("session kind=%1 blocks=%2 complete=%3 in=%4 out=%5 opening=%6")
        .arg(QLatin1String(kind))
        .arg(s.blocks)
        .arg(s.complete ? 1 : 0)
        .arg(s.bytesIn)
        .arg(s.bytesOut)
        .arg(s.openingBytes);
}

// Says each session and keeps the memory after a write.
void report(const QList<RadioSim::Session> &sessions, const RadioSim &radio, const Setup &setup)
{
    for (const RadioSim::Session &s : sessions) {
        say(sessionLine(s));
        if (s.kind == RadioSim::Session::Write && !setup.dumpPath.isEmpty()) {
            QSaveFile out(setup.dumpPath);
            if (!out.open(QIODevice::WriteOnly) || out.write(RadioSim::channelText(radio.memory())) < 0
                || !out.commit())
                fail(QStringLiteral("%1: %2").arg(setup.dumpPath, out.errorString()), 1);
            else
                say(QStringLiteral("dump %1").arg(setup.dumpPath));
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString languageError;
    lang::select(lang::takeOption(args, &languageError).value_or(lang::Language::Chinese));
    if (!languageError.isEmpty())
        return fail(languageError);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(usage().toUtf8().constData(), stdout);
        return 0;
    }
    Setup setup;
    if (const QString problem = parse(args, setup); !problem.isEmpty())
        return fail(problem + QLatin1Char('\n') + usage());

    codec::Image memory = RadioSim::factoryImage();
    if (!setup.imagePath.isEmpty()) {
        QFile f(setup.imagePath);
        if (!f.open(QIODevice::ReadOnly))
            return fail(QStringLiteral("%1: %2").arg(setup.imagePath, f.errorString()));
        const auto image = RadioSim::imageFromChannelText(f.readAll());
        if (!image)
            return fail(QStringLiteral("%1: %2").arg(setup.imagePath, image.failure().description));
        memory = *image;
    }
    if (!setup.tuning.isEmpty()) {
        memory[0][4] = quint8(setup.tuning[0]);
        memory[0][7] = quint8(setup.tuning[1]);
    }
    if (!setup.modelCode.isEmpty())
        memory[0][0] = quint8(setup.modelCode[0]);
    RadioSim radio(setup.options, memory);

    std::signal(SIGPIPE, SIG_IGN);
    // Replies are due to the microsecond; the default 50 µs timer slack would add up
    // over the 256 exchanges of a transfer.
    prctl(PR_SET_TIMERSLACK, 1UL);
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0)
        return fail(QCoreApplication::translate("tarnik-sim", "无法创建伪终端：%1")
                        .arg(QString::fromLocal8Bit(std::strerror(errno))),
                    1);
    const QByteArray slavePath(ptsname(master));
    // Raw line until the PC sets its own settings (and again after it restores them).
    const int slave = ::open(slavePath.constData(), O_RDWR | O_NOCTTY);
    if (slave >= 0) {
        termios t{};
        if (tcgetattr(slave, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(slave, TCSANOW, &t);
        }
        ::close(slave);
    }
    say(QString::fromLocal8Bit(slavePath));
    // A flood never waits for the PC to take its bytes.
    if (setup.flood)
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    QByteArray noise(4096, '\0');
    quint32 seed = 0x2545F491;

    QList<RadioSim::Output> due; // in time order
    bool active = false; // the PC has the port open and has sent something
    for (;;) {
        timespec timeout{};
        timespec *wait = nullptr;
        if (setup.flood && active) {
            wait = &timeout;
            timeout.tv_nsec = 1'000'000;
        } else if (!due.isEmpty()) {
            const qint64 left = qMax<qint64>(0, due.first().at - nowNs());
            timeout.tv_sec = time_t(left / 1'000'000'000);
            timeout.tv_nsec = long(left % 1'000'000'000);
            wait = &timeout;
        }
        pollfd p{master, POLLIN, 0};
        if (ppoll(&p, 1, wait, nullptr) < 0 && errno != EINTR)
            return fail(QStringLiteral("poll: %1").arg(QString::fromLocal8Bit(std::strerror(errno))), 1);
        if (p.revents & POLLIN) {
            char buf[4096];
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n > 0) {
                active = true;
                if (!setup.flood)
                    due += radio.receive(QByteArray(buf, int(n)), nowNs());
                // A transfer that has ended is reported at once; the PC may keep the port
                // open for the next one.
                report(radio.takeFinished(), radio, setup);
                continue;
            }
        }
        if (p.revents & (POLLHUP | POLLERR)) {
            // No one has the terminal open: a session, if any, is over.
            due.clear();
            if (active) {
                active = false;
                report(radio.endSession(), radio, setup);
                if (setup.once)
                    return 0;
            }
            usleep(20'000);
            continue;
        }
        if (setup.flood && active) {
            for (char &c : noise) {
                seed ^= seed << 13;
                seed ^= seed >> 17;
                seed ^= seed << 5;
                c = char(seed);
            }
            [[maybe_unused]] const ssize_t w = ::write(master, noise.constData(), size_t(noise.size()));
            continue;
        }
        const qint64 now = nowNs();
        while (!due.isEmpty() && due.first().at <= now) {
            const RadioSim::Output out = due.takeFirst();
            if (out.hangup) {
                for (const RadioSim::Session &s : radio.endSession())
                    say(sessionLine(s) + QStringLiteral(" hangup"));
                ::close(master);
                return 0;
            }
            const char *data = out.bytes.constData();
            qint64 left = out.bytes.size();
            while (left > 0) {
                const ssize_t w = ::write(master, data, size_t(left));
                if (w < 0 && errno == EINTR)
                    continue;
                if (w <= 0)
                    break;
                data += w;
                left -= w;
            }
        }
    }
}
