// `write` with several ports: one radio on each port written at the same time, batch
// after batch, with a live line per port and a result line per radio.

#include "Commands.h"
#include "FleetConsole.h"

#include "link/FleetWrite.h"
#include "link/ParallelFleet.h"
#include "link/SafeWrite.h"
#include "support/Translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int cancelPipe[2] = {-1, -1};

void onCancelSignal(int signal)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(cancelPipe[1], &c, 1);
    // A second one ends the program the ordinary way.
    std::signal(signal, SIG_DFL);
}

// Ctrl+C, SIGTERM and SIGHUP cancel every port (and the wait for the next batch); the
// ports then close and release their locks before the program ends.
class CancelOnSignals
{
public:
    explicit CancelOnSignals(ParallelFleet &fleet)
    {
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, cancelPipe) != 0)
            return;
        m_notifier = std::make_unique<QSocketNotifier>(cancelPipe[0], QSocketNotifier::Read);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, &fleet, [&fleet] {
            char c;
            [[maybe_unused]] const ssize_t n = ::read(cancelPipe[0], &c, 1);
            fleet.cancel();
        });
        for (int signal : {SIGINT, SIGTERM, SIGHUP})
            std::signal(signal, onCancelSignal);
        std::signal(SIGPIPE, SIG_IGN);
    }
    ~CancelOnSignals()
    {
        for (int signal : {SIGINT, SIGTERM, SIGHUP})
            std::signal(signal, SIG_DFL);
        m_notifier.reset();
        for (int &fd : cancelPipe) {
            if (fd >= 0)
                ::close(fd);
            fd = -1;
        }
    }

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
};

// One line per port on stderr: the port, a bar, the percentage and the safe write's
// caption. On a terminal the lines are redrawn in place (at most ten times a second);
// otherwise a line goes out when a port starts a stage.
class PortBoard : public QObject
{
public:
    PortBoard(ParallelFleet &fleet) : m_fleet(fleet), m_terminal(isatty(fileno(stderr)) != 0)
    {
        m_lines.resize(fleet.devices().size());
        m_width = 0;
        for (const QString &device : fleet.devices())
            m_width = qMax(m_width, int(device.size()));
        connect(&fleet, &ParallelFleet::batchStarted, this, [this](int ports) {
            m_ports = ports;
            for (Line &line : m_lines)
                line = {};
            m_drawn = 0;
            draw();
        });
        connect(&fleet, &ParallelFleet::portCaption, this, [this](int port, const QString &caption) {
            m_lines[port].caption = caption;
            changed();
        });
        connect(&fleet, &ParallelFleet::portProgress, this, [this](int port, int value, int maximum) {
            m_lines[port].percent = maximum > 0 ? value * 100 / maximum : 0;
            changed();
        });
        connect(&fleet, &ParallelFleet::portStage, this, [this](int port, SafeWrite::Stage stage) {
            if (!m_terminal)
                err() << m_fleet.devices()[port] << "  " << SafeWrite::stageName(stage) << "\n" << Qt::flush;
        });
        connect(&fleet, &ParallelFleet::radioDone, this, [this](const ParallelFleet::Radio &radio) {
            m_lines[radio.port].result = FleetWrite::shownResult(radio.kind);
            m_lines[radio.port].percent = radio.outcome.ok ? 100 : m_lines[radio.port].percent;
            changed();
        });
        connect(&fleet, &ParallelFleet::batchDone, this, [this] {
            m_redraw.stop();
            draw();
        });
        m_redraw.setSingleShot(true);
        m_redraw.setInterval(100);
        connect(&m_redraw, &QTimer::timeout, this, &PortBoard::draw);
    }

private:
    struct Line
    {
        int percent = 0;
        QString caption;
        QString result;
    };

    void changed()
    {
        if (m_terminal && !m_redraw.isActive())
            m_redraw.start();
    }
    void draw()
    {
        if (!m_terminal)
            return;
        constexpr int width = 20;
        QString text;
        if (m_drawn > 0)
            text += QStringLiteral("\x1b[%1A").arg(m_drawn);
        for (int port = 0; port < m_ports; ++port) {
            const Line &line = m_lines[port];
            const int filled = line.percent * width / 100;
            text += QStringLiteral("\r%1 [%2%3] %4 % %5\x1b[K\n")
                        .arg(m_fleet.devices()[port].leftJustified(m_width), QString(filled, QLatin1Char('#')),
                             QString(width - filled, QLatin1Char('-')), QString::number(line.percent).rightJustified(3),
                             line.result.isEmpty() ? line.caption : line.result);
        }
        m_drawn = m_ports;
        err() << text << Qt::flush;
    }

    ParallelFleet &m_fleet;
    bool m_terminal;
    QList<Line> m_lines;
    int m_ports = 0;
    int m_width = 0;
    int m_drawn = 0; // lines drawn since the batch started
    QTimer m_redraw;
};

QString resultLine(const ParallelFleet::Radio &radio)
{
    const QString seconds = QString::number(double(radio.elapsedMs) / 1000.0, 'f', 1);
    const char *text = radio.outcome.ok ? QT_TRANSLATE_NOOP("ParallelWriteCommand", "端口 %1：%2（%3 秒）")
        : radio.outcome.radioChanged
        ? QT_TRANSLATE_NOOP("ParallelWriteCommand", "端口 %1：%2（%3 秒），对讲机已被改动")
        : QT_TRANSLATE_NOOP("ParallelWriteCommand", "端口 %1：%2（%3 秒），对讲机未被改动");
    return QCoreApplication::translate("ParallelWriteCommand", text)
        .arg(radio.device, FleetWrite::shownResult(radio.kind), seconds);
}

} // namespace

SafeWrite::Options safeWriteOptions(const SafeWriteRequest &request)
{
    SafeWrite::Options options;
    options.backup = request.backup;
    options.verify = request.verify;
    options.keepTuning = !request.fileTuning;
    options.anyModel = request.anyModel;
    return options;
}

bool takePorts(QStringList &args, QStringList &devices)
{
    for (int i = 0; i < args.size();) {
        const bool one = args[i] == QStringLiteral("--port");
        if (!one && args[i] != QStringLiteral("--ports")) {
            ++i;
            continue;
        }
        if (i + 1 >= args.size())
            return false;
        const QStringList named = one ? QStringList{args[i + 1]} : args[i + 1].split(QLatin1Char(','));
        for (const QString &device : named) {
            if (device.trimmed().isEmpty())
                return false;
            devices << device.trimmed();
        }
        args.remove(i, 2);
    }
    return true;
}

int runParallelWrites(const QStringList &devices, const codec::Image &image, const QString &file,
                      const SafeWriteRequest &request)
{
    if (Status s = ParallelFleet::checkDistinct(devices); !s) {
        err() << "tarnik-cli: " << s.failure().description << "\n";
        return 2;
    }
    ParallelFleet fleet(devices);
    // A log that cannot take the rows stops the run before the first radio.
    if (Status s = fleet.openLog(FleetWrite::defaultLogPath(), QFileInfo(file).absoluteFilePath()); !s) {
        err() << "tarnik-cli: " << s.failure().description << "\n";
        return 2;
    }
    fleet.options = safeWriteOptions(request);
    fleet.count = request.count;
    CancelOnSignals onSignals(fleet);
    PortBoard board(fleet);
    EnterAnswers answers([&fleet] { return !fleet.cancelled(); });
    fleet.nextBatch = [&fleet, &answers](int ports) {
        answers.discardTypedAhead();
        out() << QCoreApplication::translate("ParallelWriteCommand", "请在 %1 个端口上连接下一批对讲机，按回车键继续")
                     .arg(ports)
              << "\n";
        if (ports < fleet.devices().size())
            out() << QCoreApplication::translate("ParallelWriteCommand", "端口：%1")
                         .arg(fleet.devices().mid(0, ports).join(QStringLiteral("、")))
                  << "\n";
        out() << Qt::flush;
        return answers.next();
    };
    // The batch's results in port order once all its ports are done, below its live lines.
    qsizetype printed = 0;
    QObject::connect(&fleet, &ParallelFleet::batchDone, &fleet, [&fleet, &printed] {
        QList<ParallelFleet::Radio> batch = fleet.radios().mid(printed);
        printed = fleet.radios().size();
        std::sort(batch.begin(), batch.end(), [](const auto &a, const auto &b) { return a.port < b.port; });
        for (const ParallelFleet::Radio &radio : std::as_const(batch)) {
            out() << resultLine(radio) << "\n" << Qt::flush;
            for (const QString &line : radio.messages + radio.outcome.text.split(QLatin1Char('\n')))
                if (!line.isEmpty()) // indented under its port, so looked up before the indent goes on
                    err() << "  " << line << "\n";
            err() << Qt::flush;
        }
    });
    fleet.run(image);
    printFleetEnd(fleet.summary(), fleet.shortfall(), fleet.closeLog());
    return fleet.exitCode();
}
