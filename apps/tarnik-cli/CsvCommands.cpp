#include "Commands.h"

#include "channels/WorkingCopy.h"
#include "files/ChannelCsv.h"
#include "files/ChannelFile.h"

namespace {

void printFailure(const Failure &f)
{
    err() << "tarnik-cli: " << f.description << "\n";
}

} // namespace

int runExportCsv(const QStringList &args)
{
    if (args.size() != 2 || args[0].startsWith(QStringLiteral("--")) || args[1].startsWith(QStringLiteral("--"))) {
        err() << "用法: tarnik-cli export-csv FILE.chp OUT.csv\n";
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
        err() << "tarnik-cli: " << QString::fromUtf16(u"信道 %1 的频率无法读出，未导出").arg(channel) << "\n";
    out() << QString::fromUtf16(u"已导出 %1 个信道到 %2").arg(e->channels).arg(args[1]) << "\n";
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
        err() << "用法: tarnik-cli import-csv IN.csv OUT.chp [--base FILE.chp]\n";
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
        err() << "tarnik-cli: " << QString::fromUtf16(u"错误") << ": " << s.failure().description << "\n";
        return 2;
    }
    out() << QString::fromUtf16(u"已导入 %1 个信道，%2 个数值未采用").arg(imported->channels).arg(imported->refusals.size())
          << "\n";
    // OUT holds what was taken; a refusal still fails the command, so a script notices.
    return imported->refusals.isEmpty() ? 0 : 1;
}
