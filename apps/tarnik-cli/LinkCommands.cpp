#include "Commands.h"

#include "channels/WorkingCopy.h"
#include "link/RadioLink.h"
#include "link/SerialPorts.h"
#include "support/AtomicFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTemporaryFile>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int interruptPipe[2] = {-1, -1};

// Ctrl+C, a polite kill and a closed terminal.
constexpr int cancelSignals[] = {SIGINT, SIGTERM, SIGHUP};

void onInterrupt(int signal)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(interruptPipe[1], &c, 1);
    // A second one ends the program the ordinary way.
    std::signal(signal, SIG_DFL);
}

// The terminal side of a transfer: messages and the progress bar on stderr; Ctrl+C,
// SIGTERM and SIGHUP as a confirmed Cancel, so the port is closed and its lock released.
class Console : public QObject
{
public:
    explicit Console(RadioLink &link) : m_link(link), m_bar(isatty(fileno(stderr)) != 0)
    {
        connect(&link, &RadioLink::message, this, &Console::show);
        connect(&link, &RadioLink::captionChanged, this, [this](const QString &c) {
            m_caption = c;
            drawBar();
        });
        connect(&link, &RadioLink::progressChanged, this, [this](int v) {
            m_progress = v;
            drawBar();
        });
        connect(&link, &RadioLink::waitingForRadio, this, [this](int seconds) {
            m_waited = seconds;
            drawBar();
        });
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, interruptPipe) == 0) {
            m_notifier = new QSocketNotifier(interruptPipe[0], QSocketNotifier::Read, this);
            connect(m_notifier, &QSocketNotifier::activated, this, [this] {
                char c;
                [[maybe_unused]] const ssize_t n = ::read(interruptPipe[0], &c, 1);
                m_link.cancelTransfer();
            });
            for (int signal : cancelSignals)
                std::signal(signal, onInterrupt);
            // A reader of stderr that has gone must not end the program with the port open.
            std::signal(SIGPIPE, SIG_IGN);
        }
    }
    ~Console() override
    {
        for (int signal : cancelSignals)
            std::signal(signal, SIG_DFL);
        endBar();
        delete m_notifier;
        for (int &fd : interruptPipe) {
            if (fd >= 0)
                ::close(fd);
            fd = -1;
        }
    }

    void show(const LinkMessage &m)
    {
        endBar();
        err() << m.text << "\n" << Qt::flush;
    }

private:
    void drawBar()
    {
        if (!m_bar)
            return;
        constexpr int width = 32;
        const int filled = m_progress * width / 128;
        err() << "\r[" << QString(filled, QLatin1Char('#')) << QString(width - filled, QLatin1Char('-')) << "] "
              << QString::number(m_progress).rightJustified(3) << "/128 "
              << (m_waited > 0 ? QCoreApplication::translate("Console", "等待对讲机应答… %1 秒").arg(m_waited)
                               : m_caption)
              << "\x1b[K" << Qt::flush;
        m_drawn = true;
    }
    void endBar()
    {
        if (m_drawn)
            err() << "\n" << Qt::flush;
        m_drawn = false;
    }

    RadioLink &m_link;
    bool m_bar;
    bool m_drawn = false;
    int m_progress = 0;
    int m_waited = 0; // seconds the radio's answer has been awaited, 0 while none is late
    QString m_caption;
    QSocketNotifier *m_notifier = nullptr;
};

// "用法: COMMAND ARGUMENTS" and the end of the line.
QString usage(const char *command)
{
    return QCoreApplication::translate("LinkCommands", "用法: %1").arg(QString::fromUtf8(command)) + QLatin1Char('\n');
}

// --port DEV and the other options; returns false on anything unexpected.
bool takeOption(QStringList &args, const QString &name, QString *value)
{
    const int i = args.indexOf(name);
    if (i < 0)
        return true;
    if (i + 1 >= args.size() || args[i + 1].isEmpty())
        return false;
    *value = args[i + 1];
    args.remove(i, 2);
    return true;
}

bool openPort(RadioLink &link, Console &console)
{
    if (Status s = link.openForTransfer(); !s) {
        console.show({LinkMessage::Information, QString::number(s.failure().number), s.failure().description});
        return false;
    }
    return true;
}

// The transfer as the progress dialog runs it; the exit status.
int runTransfer(RadioLink &link, Console &console, WorkingCopy &wc, bool write)
{
    link.setTransferActive(true);
    const Status s = write ? link.writeRadio(true, wc) : link.readRadio(true, wc);
    link.closePort();
    if (!s) {
        console.show({LinkMessage::Critical, QCoreApplication::translate("Console", "提示"),
                      write ? QCoreApplication::translate("Console", "写频错误，请重新写频")
                            : QCoreApplication::translate("Console", "读频错误，请重新读频")});
        err() << s.failure().description << "\n";
    }
    if (write && link.lastEnding() != RadioLink::Ending::Completed)
        err() << (link.radioPartlyWritten()
                      ? QCoreApplication::translate("Console", "写频未完成：对讲机中只有部分新数据，请重新写频。")
                      : QCoreApplication::translate("Console", "写频未完成：没有数据写入对讲机，对讲机未被改动。"))
              << "\n";
    if (!write && link.receivedFileFailed())
        return 2;
    return s && link.lastEnding() == RadioLink::Ending::Completed ? 0 : 1;
}

// The output of a read can be replaced: a regular file or none yet, in a folder where
// files can be made. Told before the radio is spoken to.
Status checkOutputFile(const QString &path)
{
    const QFileInfo info(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (info.exists() && !info.isFile())
        return Failure{Failure::PathFileAccessError,
                       QCoreApplication::translate("LinkCommands", "%1：不是普通文件").arg(shown)};
    if (info.exists() && !info.isWritable())
        return Failure{Failure::PermissionDenied,
                       QCoreApplication::translate("LinkCommands", "%1：文件只读").arg(shown)};
    const QString folder = info.absolutePath();
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".tarnik-cli-check-XXXXXX")));
    if (!QDir().mkpath(folder) || !probe.open())
        return Failure{Failure::PathFileAccessError,
                       QCoreApplication::translate("LinkCommands", "无法在文件夹 %1 中创建文件")
                           .arg(QDir::toNativeSeparators(folder))};
    return {};
}

} // namespace

int runRead(const QStringList &arguments)
{
    QStringList args = arguments;
    QString device, path;
    if (!takeOption(args, QStringLiteral("--port"), &device) || !takeOption(args, QStringLiteral("--out"), &path)
        || device.isEmpty() || path.isEmpty() || !args.isEmpty()) {
        err() << usage("tarnik-cli read --port DEV --out FILE");
        return 2;
    }
    WorkingCopy wc;
    startUpWorkingCopy(wc);
    // A file-size limit shows up as a failed write, told like a full disk.
    std::signal(SIGXFSZ, SIG_IGN);
    // A file that cannot be written is a file error, told before the radio is spoken to.
    if (Status s = checkOutputFile(path); !s) {
        err() << "tarnik-cli: " << s.failure().description << "\n";
        return 2;
    }
    RadioLink link;
    link.setCustomDevice(device);
    Console console(link);
    if (!openPort(link, console))
        return 1;
    // The blocks go to the received-image file as they come, as in the GUI; the output
    // is replaced all at once, and only by a complete read.
    const QString received = link.receivedPath();
    // Another run may have removed it first.
    if (!QFile::remove(received) && QFile::exists(received)) {
        err() << "tarnik-cli: " << QDir::toNativeSeparators(received) << ": "
              << QCoreApplication::translate("LinkCommands", "无法删除旧文件") << "\n";
        link.closePort();
        return 2;
    }
    if (Status s = link.checkReceivedPath(); !s) {
        err() << "tarnik-cli: " << s.failure().description << "\n";
        link.closePort();
        return 2;
    }
    const int rc = runTransfer(link, console, wc, false);
    if (rc != 0)
        return rc;
    if (Status s = writeFileAtomically(path, link.receivedText()); !s) {
        err() << "tarnik-cli: " << s.failure().description << "\n";
        return 2;
    }
    return 0;
}

int runWrite(const QStringList &arguments)
{
    QStringList args = arguments;
    QStringList devices;
    SafeWriteRequest safe;
    if (!takePorts(args, devices) || devices.isEmpty() || !takeSafeWriteOptions(args, safe) || args.size() != 1) {
        err() << usage("tarnik-cli write --port DEV [--port DEV2 …] [--no-backup] [--no-verify] [--file-tuning] "
                       "[--any-model] [--count N] FILE.chp");
        return 2;
    }
    WorkingCopy wc;
    startUpWorkingCopy(wc);
    if (!loadForCli(wc, args[0]))
        return 2;
    // Checked here as well, so a file the write cannot send is a file error.
    if (const auto image = RadioLink::writeImage(wc); !image) {
        err() << "tarnik-cli: " << args[0] << ": " << image.failure().description << "\n";
        return 2;
    }
    if (devices.size() > 1)
        return runParallelWrites(devices, *RadioLink::writeImage(wc), args[0], safe);
    RadioLink link;
    link.setCustomDevice(devices[0]);
    Console console(link);
    if (safe.plain())
        return openPort(link, console) ? runTransfer(link, console, wc, true) : 1;
    return runSafeWrites(link, *RadioLink::writeImage(wc), args[0], safe);
}
