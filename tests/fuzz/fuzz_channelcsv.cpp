// Channel-list CSV import on arbitrary bytes: never crashes, every refusal names a line
// of the text, and what is imported exports and imports back to the same channels.
#include "channels/WorkingCopy.h"
#include "files/ChannelCsv.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const WorkingCopyState base = [] {
        WorkingCopy wc;
        wc.startUp(QString());
        wc.setBandStringForModelRow(0, QStringLiteral("136MHz---520MHz"));
        wc.selectModel(0);
        return wc.state();
    }();
    const QByteArray in(reinterpret_cast<const char *>(data), qsizetype(size));
    const Result<channelcsv::Import> imported = channelcsv::importCsv(in, base);
    if (!imported) {
        if (imported.failure().description.isEmpty())
            std::abort();
        return 0;
    }
    const qsizetype lines = in.count('\n') + in.count('\r') + 1;
    for (const channelcsv::Refusal &r : imported->refusals)
        if (r.line < 1 || r.line > lines || r.reason.isEmpty())
            std::abort();
    if (imported->channels < 0 || imported->channels > 16)
        std::abort();

    const channelcsv::Export exported = channelcsv::exportCsv(imported->state);
    const Result<channelcsv::Import> again = channelcsv::importCsv(exported.text, base);
    if (!again || !again->refusals.isEmpty() || again->state.cells != imported->state.cells)
        std::abort();
    return 0;
}
