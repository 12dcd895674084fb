#include "Commands.h"

#include "channels/WorkingCopy.h"
#include "link/RadioLink.h"
#include "link/SerialPorts.h"

#include <QFile>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int interruptPipe[2] = {-1, -1};

void onInterrupt(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(interruptPipe[1], &c, 1);
    // A second Ctrl+C ends the program the ordinary way.
    std::signal(SIGINT, SIG_DFL);
}

// The terminal side of a transfer: messages and the progress bar on stderr, Ctrl+C as
// a confirmed Cancel.
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
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, interruptPipe) == 0) {
            m_notifier = new QSocketNotifier(interruptPipe[0], QSocketNotifier::Read, this);
            connect(m_notifier, &QSocketNotifier::activated, this, [this] {
                char c;
                [[maybe_unused]] const ssize_t n = ::read(interruptPipe[0], &c, 1);
                m_link.cancelTransfer();
            });
            std::signal(SIGINT, onInterrupt);
        }
    }
    ~Console() override
    {
        std::signal(SIGINT, SIG_DFL);
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
        err() << "\r[" << QString(filled, QLatin1Char('#')) << QString(width - filled, QLatin1Char('-'))
              << "] " << QString::number(m_progress).rightJustified(3) << "/128 " << m_caption << "\x1b[K"
              << Qt::flush;
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
    QString m_caption;
    QSocketNotifier *m_notifier = nullptr;
};

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
        console.show({LinkMessage::Critical, QStringLiteral("提示"),
                      write ? QStringLiteral("写频错误，请重新写频") : QStringLiteral("读频错误，请重新读频")});
        err() << s.failure().description << "\n";
        return 1;
    }
    return link.lastEnding() == RadioLink::Ending::Completed ? 0 : 1;
}

} // namespace

int runPorts(const QStringList &args)
{
    if (!args.isEmpty()) {
        err() << "用法: tarnik-cli ports\n";
        return 2;
    }
    enumSerialPorts();
    if (serialPortList().isEmpty())
        err() << "没有找到串口\n";
    for (int i = 0; i < serialPortList().size(); ++i)
        out() << portOptionLabel(i) << "\n";
    return 0;
}

int runRead(const QStringList &arguments)
{
    QStringList args = arguments;
    QString device, path;
    if (!takeOption(args, QStringLiteral("--port"), &device) || !takeOption(args, QStringLiteral("--out"), &path)
        || device.isEmpty() || path.isEmpty() || !args.isEmpty()) {
        err() << "用法: tarnik-cli read --port DEV --out FILE\n";
        return 2;
    }
    WorkingCopy wc;
    startUpWorkingCopy(wc);
    RadioLink link;
    link.setCustomDevice(device);
    link.setReceivedPath(path);
    Console console(link);
    if (!openPort(link, console))
        return 1;
    if (QFile::exists(path) && !QFile::remove(path)) {
        err() << "tarnik-cli: " << path << ": 无法删除旧文件\n";
        link.closePort();
        return 2;
    }
    // A file that cannot be written is a file error, told before the radio is spoken to.
    if (Status s = link.checkReceivedPath(); !s) {
        err() << "tarnik-cli: " << s.failure().description << "\n";
        link.closePort();
        return 2;
    }
    return runTransfer(link, console, wc, false);
}

int runWrite(const QStringList &arguments)
{
    QStringList args = arguments;
    QString device;
    SafeWriteRequest safe;
    if (!takeOption(args, QStringLiteral("--port"), &device) || device.isEmpty()
        || !takeSafeWriteOptions(args, safe) || args.size() != 1) {
        err() << "用法: tarnik-cli write --port DEV [--no-backup] [--no-verify] [--file-tuning] [--count N] FILE.chp\n";
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
    RadioLink link;
    link.setCustomDevice(device);
    Console console(link);
    if (safe.plain())
        return openPort(link, console) ? runTransfer(link, console, wc, true) : 1;
    return runSafeWrites(link, *RadioLink::writeImage(wc), args[0], safe);
}
