// bench_soak [CYCLES] [--cli]: CYCLES (default 500) read-then-write cycles against
// `tarnik-sim --baud 0` over a real pseudo-terminal. Prints the resident memory and the
// open file descriptors of the simulator and of this process before the first cycle,
// at the start (after the first cycle, when everything that is made once has been
// made), every 100 cycles and at the end, so a leak shows as a rising column.
//
// By default the cycles run in this process: one RadioLink for the whole run, as the
// main window keeps it, over the serial port and the wall clock. With --cli each
// transfer is a tarnik-cli process instead, and only the simulator's figures are
// meaningful for leaks.

#include "channels/WorkingCopy.h"
#include "link/RadioLink.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <malloc.h>

namespace {

struct Figures
{
    qint64 rssKiB = -1;
    int fds = -1;
};

Figures figuresOf(qint64 pid)
{
    Figures f;
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                f.rssKiB = line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
    }
    f.fds = int(QDir(QStringLiteral("/proc/%1/fd").arg(pid)).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
    return f;
}

void print(const char *when, int cycle, qint64 simPid, bool inProcess)
{
    const Figures sim = figuresOf(simPid);
    std::printf("%-6s cycle %4d  tarnik-sim: RSS %6lld KiB, %3d fds", when, cycle, sim.rssKiB, sim.fds);
    if (inProcess) {
        const Figures self = figuresOf(QCoreApplication::applicationPid());
        // Heap in use tells a leak from pages the allocator keeps.
        std::printf("   engine process: RSS %6lld KiB, %3d fds, heap in use %6zu KiB", self.rssKiB, self.fds,
                    mallinfo2().uordblks / 1024);
    }
    std::printf("\n");
    std::fflush(stdout);
}

// The simulator prints one line per session; waits for it, so the next transfer opens
// a fresh session, and tells whether it was complete.
bool sessionComplete(QProcess &sim)
{
    QElapsedTimer t;
    t.start();
    while (!sim.canReadLine()) {
        if (t.elapsed() > 5000 || !sim.waitForReadyRead(int(5000 - t.elapsed())))
            return false;
    }
    return sim.readLine().contains(" complete=1");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarnik-soak"));
    QStringList args = app.arguments().mid(1);
    const bool cli = args.removeAll(QStringLiteral("--cli")) > 0;
    const int cycles = args.isEmpty() ? 500 : args[0].toInt();
    if (cycles < 1) {
        std::fprintf(stderr, "usage: bench_soak [CYCLES] [--cli]\n");
        return 2;
    }
    const QString bin = QCoreApplication::applicationDirPath();

    QProcess sim;
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(bin + QStringLiteral("/tarnik-sim"), {QStringLiteral("--baud"), QStringLiteral("0")});
    if (!sim.waitForReadyRead(5000) || !sim.canReadLine()) {
        std::fprintf(stderr, "bench_soak: tarnik-sim did not start (%s)\n", qPrintable(sim.errorString()));
        return 1;
    }
    const QString device = QString::fromUtf8(sim.readLine()).trimmed();
    QTemporaryDir dir;
    const QString received = dir.filePath(QStringLiteral("Received.chp"));
    std::printf("%d read/write cycles %s against tarnik-sim --baud 0 on %s\n", cycles,
                cli ? "of tarnik-cli processes" : "in this process", qPrintable(device));

    WorkingCopy wc;
    wc.startUp(QString());
    RadioLink link;
    link.setCustomDevice(device);
    link.setReceivedPath(received);
    QObject::connect(&link, &RadioLink::message,
                     [](const LinkMessage &m) { std::fprintf(stderr, "bench_soak: %s\n", qPrintable(m.text)); });
    int failures = 0;
    int cycle = 0;
    auto transfer = [&](bool write) {
        bool ok;
        if (cli) {
            QProcess p;
            p.start(bin + QStringLiteral("/tarnik-cli"),
                    write ? QStringList{QStringLiteral("write"), QStringLiteral("--no-backup"),
                                        QStringLiteral("--no-verify"), QStringLiteral("--port"), device, received}
                          : QStringList{QStringLiteral("read"), QStringLiteral("--port"), device,
                                        QStringLiteral("--out"), received});
            ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
            if (!ok) {
                p.kill();
                p.waitForFinished();
                std::fprintf(stderr, "bench_soak: tarnik-cli: %s\n", p.readAllStandardError().constData());
            }
        } else {
            // As the commands run it: open, drop the old received image, transfer, close.
            ok = link.openForTransfer().ok();
            if (ok) {
                if (!write)
                    QFile::remove(received);
                link.setTransferActive(true);
                const Status s = write ? link.writeRadio(true, wc) : link.readRadio(true, wc);
                ok = s.ok() && link.lastEnding() == RadioLink::Ending::Completed;
            }
            link.closePort();
        }
        ok = sessionComplete(sim) && ok;
        if (!ok && failures++ == 0) {
            std::fprintf(stderr, "bench_soak: the %s of cycle %d failed", write ? "write" : "read", cycle);
            if (sim.state() != QProcess::Running)
                std::fprintf(stderr, "; tarnik-sim has ended (%s, %d)",
                             sim.exitStatus() == QProcess::NormalExit ? "exit" : "signal or crash", sim.exitCode());
            std::fprintf(stderr, "\n");
        }
    };

    QElapsedTimer wall;
    wall.start();
    print("before", 0, sim.processId(), !cli);
    for (int c = 1; c <= cycles; ++c) {
        cycle = c;
        transfer(false);
        transfer(true);
        if (c == 1)
            print("start", c, sim.processId(), !cli);
        else if (c == cycles)
            print("end", c, sim.processId(), !cli);
        else if (c % 100 == 0)
            print("", c, sim.processId(), !cli);
    }
    std::printf("%d transfers in %.1f s, %d failed\n", 2 * cycles, wall.elapsed() / 1000.0, failures);
    sim.kill();
    sim.waitForFinished();
    return failures == 0 ? 0 : 1;
}
