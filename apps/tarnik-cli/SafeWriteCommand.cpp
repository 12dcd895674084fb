#include "Commands.h"

#include "files/BackupStore.h"
#include "link/Clock.h"
#include "link/FleetWrite.h"
#include "link/RadioLink.h"
#include "link/SafeWrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QSocketNotifier>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

bool takeSafeWriteOptions(QStringList &args, SafeWriteRequest &request)
{
    request.backup = !args.removeAll(QStringLiteral("--no-backup"));
    request.verify = !args.removeAll(QStringLiteral("--no-verify"));
    request.fileTuning = args.removeAll(QStringLiteral("--file-tuning")) > 0;
    request.anyModel = args.removeAll(QStringLiteral("--any-model")) > 0;
    const int i = args.indexOf(QStringLiteral("--count"));
    if (i < 0)
        return true;
    bool ok = false;
    const int n = i + 1 < args.size() ? args[i + 1].toInt(&ok) : -1;
    if (!ok || n < 0)
        return false;
    request.count = n;
    args.remove(i, 2);
    return true;
}

namespace {

// The answers to "请连接第 k 台对讲机" on standard input, one line each. From a terminal only
// what is typed after the prompt counts: what was typed while the radio before was being
// written is discarded. From a pipe or a file every line is an answer, in order, so a
// script can answer ahead.
class EnterAnswers
{
public:
    explicit EnterAnswers(RadioLink &link) : m_link(link), m_terminal(::isatty(STDIN_FILENO) == 1) {}

    // False when the input has ended or the user cancelled (Ctrl+C, SIGTERM, SIGHUP reach
    // the link as a Cancel while events are handled).
    bool next()
    {
        if (m_terminal) {
            ::tcflush(STDIN_FILENO, TCIFLUSH);
            m_pending.clear();
        }
        m_link.setTransferActive(true);
        while (m_link.transferActive()) {
            if (const qsizetype end = m_pending.indexOf('\n'); end >= 0) {
                m_pending.remove(0, end + 1);
                return true;
            }
            if (m_ended)
                return false;
            waitForInput();
            if (m_link.transferActive())
                readInput();
        }
        return false;
    }

private:
    void waitForInput()
    {
        bool ready = false;
        QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
        QObject::connect(&input, &QSocketNotifier::activated, &input, [&] {
            ready = true;
            input.setEnabled(false);
        });
        while (!ready && m_link.transferActive())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    void readInput()
    {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                // The last line may lack its line end.
                m_ended = true;
                if (!m_pending.isEmpty())
                    m_pending += '\n';
            } else {
                m_pending.append(buffer, n);
            }
            return;
        }
    }

    RadioLink &m_link;
    const bool m_terminal;
    QByteArray m_pending;
    bool m_ended = false;
};

// The result word as shown; the log keeps its stored (Chinese) form.
QString shownResult(FleetWrite::Result kind)
{
    static const struct
    {
        const char *source;
        const char *comment;
    } words[] = {
        QT_TRANSLATE_NOOP3("SafeWriteCommand", "成功", "fleet result"),
        QT_TRANSLATE_NOOP3("SafeWriteCommand", "校验失败", "fleet result"),
        QT_TRANSLATE_NOOP3("SafeWriteCommand", "通信失败", "fleet result"),
        QT_TRANSLATE_NOOP3("SafeWriteCommand", "取消", "fleet result"),
        QT_TRANSLATE_NOOP3("SafeWriteCommand", "机型不符", "fleet result"),
        QT_TRANSLATE_NOOP3("SafeWriteCommand", "文件错误", "fleet result"),
    };
    return QCoreApplication::translate("SafeWriteCommand", words[int(kind)].source, words[int(kind)].comment);
}

QString tableRow(const FleetWrite::Row &row)
{
    return QStringLiteral("%1\t%2\t%3\t%4")
        .arg(row.number, 3)
        .arg(row.finished.toString(QStringLiteral("HH:mm:ss")), shownResult(row.kind),
             row.backupPath.isEmpty() ? QStringLiteral("-") : QDir::toNativeSeparators(row.backupPath));
}

// A stage folder or backup that could not be made is a file error; anything else that
// stopped the write is a link failure or a cancel.
int singleExitCode(const SafeWrite::Outcome &o)
{
    return o.ok ? 0 : o.fileProblem ? 2 : 1;
}

} // namespace

int runSafeWrites(RadioLink &link, const codec::Image &image, const QString &file, const SafeWriteRequest &request)
{
    SystemClock clock;
    BackupStore store;
    SafeWrite write(link, clock, store);
    write.options = safeWriteOptions(request);
    QObject::connect(&write, &SafeWrite::stageStarted, &write, [&write](SafeWrite::Stage stage) {
        if (write.progressMaximum() > codec::BlockCount && isatty(fileno(stderr)))
            err() << SafeWrite::stageName(stage) << "\n" << Qt::flush;
    });

    if (request.count < 0) {
        const SafeWrite::Outcome o = write.run(image);
        (o.ok ? out() : err()) << o.text << "\n";
        return singleExitCode(o);
    }

    FleetWrite fleet(write);
    fleet.count = request.count;
    // A log that cannot take the rows stops the run before the first radio.
    if (Status s = fleet.openLog(FleetWrite::defaultLogPath(), QFileInfo(file).absoluteFilePath()); !s) {
        err() << "tarnik-cli: " << s.failure().description << "\n";
        return 2;
    }
    EnterAnswers answers(link);
    fleet.nextRadio = [&answers](int k) {
        out() << QCoreApplication::translate("SafeWriteCommand", "请连接第 %1 台对讲机，然后按回车键").arg(k) << "\n"
              << Qt::flush;
        return answers.next();
    };
    fleet.portName = [&link] { return link.chosenDevice(); };
    QObject::connect(&fleet, &FleetWrite::radioStarted, &fleet, [](int k) {
        if (k == 1)
            out() << QCoreApplication::translate("SafeWriteCommand", "台号\t时间\t\t结果\t备份") << "\n" << Qt::flush;
    });
    QObject::connect(&fleet, &FleetWrite::radioDone, &fleet, [](const FleetWrite::Row &row) {
        err() << row.text << "\n" << Qt::flush;
        out() << tableRow(row) << "\n" << Qt::flush;
    });
    fleet.run(image);
    out() << fleet.summary() << "\n" << Qt::flush;
    if (const QString shortfall = fleet.shortfall(); !shortfall.isEmpty())
        err() << shortfall << "\n";
    if (Status s = fleet.closeLog(); !s)
        err() << "tarnik-cli: " << s.failure().description << "\n";
    // Ctrl+C, SIGTERM or SIGHUP while waiting for the next radio is a Cancel too.
    return link.transferActive() ? fleet.exitCode() : 1;
}
