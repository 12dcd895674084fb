#include "Commands.h"

#include "channels/WorkingCopy.h"
#include "files/ChannelCsv.h"
#include "files/ChannelFile.h"

#include <QCoreApplication>

namespace {

// "用法: COMMAND ARGUMENTS" and the end of the line.
QString usage(const char *command)
{
    return QCoreApplication::translate("CsvCommands", "用法: %1").arg(QLatin1String(command)) + QLatin1Char('\n');
}

void printFailure(const Failure &f)
{
    err() << "tarnik-cli: " << f.description << "\n";
}

} // namespace

int runExportCsv(const QStringList &args)
{
    if (args.size() != 2 || args[0].startsWith(QStringLiteral("--")) || args[1].startsWith(QStringLiteral("--"))) {
        err() << usage("tarnik-cli export-csv FILE.chp OUT.csv");
        return 2;
    }
    WorkingCopy wc;
    startUpWorkingCopy(wc);
    if (!loadForCli(wc, args[0]))
        return 2;
    const Result<channelcsv::Export> e = channelcsv::saveCsv(wc.state(), args[1]);
    if (!e) {
        printFailure(e.failure());
        return 2;
    }
    for (int channel : e->unreadable)
        err() << "tarnik-cli: "
              << QCoreApplication::translate("CsvCommands", "信道 %1 的频率无法读出，未导出").arg(channel) << "\n";
    out() << QCoreApplication::translate("CsvCommands", "已导出 %n 个信道到 %1", nullptr, e->channels).arg(args[1])
          << "\n";
    return 0;
}

int runImportCsv(const QStringList &args)
{
    QStringList rest = args;
    QString base;
    if (const qsizetype at = rest.indexOf(QStringLiteral("--base")); at >= 0) {
        if (at + 1 >= rest.size()) {
            rest.clear(); // usage below
        } else {
            base = rest[at + 1];
            rest.remove(at, 2);
        }
    }
    if (rest.size() != 2 || rest[0].startsWith(QStringLiteral("--")) || rest[1].startsWith(QStringLiteral("--"))) {
        err() << usage("tarnik-cli import-csv IN.csv OUT.chp [--base FILE.chp]");
        return 2;
    }
    // Functions and model come from the base file, or are the start-up values.
    WorkingCopy wc;
    startUpWorkingCopy(wc);
    if (!base.isEmpty() && !loadForCli(wc, base))
        return 2;
    const Result<channelcsv::Import> imported = channelcsv::loadCsv(rest[0], wc.state());
    if (!imported) {
        printFailure(imported.failure());
        return 2;
    }
    for (const channelcsv::Refusal &r : imported->refusals)
        err() << rest[0] << ": " << channelcsv::describe(r) << "\n";
    wc.setState(imported->state);
    if (const Status s = saveChannelFile(wc, rest[1]); !s) {
        err() << "tarnik-cli: " << QCoreApplication::translate("CsvCommands", "错误") << ": " << s.failure().description
              << "\n";
        return 2;
    }
    out() << QCoreApplication::translate("CsvCommands", "已导入 %n 个信道，%1 个数值未采用", nullptr,
                                         imported->channels)
                 .arg(imported->refusals.size())
          << "\n";
    // OUT holds what was taken; a refusal still fails the command, so a script notices.
    return imported->refusals.isEmpty() ? 0 : 1;
}
