#include "Commands.h"
#include "FleetConsole.h"

#include "files/BackupStore.h"
#include "link/Clock.h"
#include "link/FleetWrite.h"
#include "link/RadioLink.h"
#include "link/SafeWrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
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

QString tableRow(const FleetWrite::Row &row)
{
    return QStringLiteral("%1\t%2\t%3\t%4")
        .arg(row.number, 3)
        .arg(row.finished.toString(QStringLiteral("HH:mm:ss")), FleetWrite::shownResult(row.kind),
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
    EnterAnswers answers([&link] { return link.transferActive(); });
    fleet.nextRadio = [&answers, &link](int k) {
        answers.discardTypedAhead();
        out() << QCoreApplication::translate("SafeWriteCommand", "请连接第 %1 台对讲机，然后按回车键").arg(k) << "\n"
              << Qt::flush;
        // A signal while waiting for the answer cancels the transfer flag.
        link.setTransferActive(true);
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
    printFleetEnd(fleet.summary(), fleet.shortfall(), fleet.closeLog());
    // Ctrl+C, SIGTERM or SIGHUP while waiting for the next radio is a Cancel too.
    return link.transferActive() ? fleet.exitCode() : 1;
}
