// Channel-file reader and writer on arbitrary bytes: never crashes; whatever loads
// saves, and what it saves loads back to the same file.
#include "channels/WorkingCopy.h"
#include "files/ChannelFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    WorkingCopy wc;
    wc.startUp(QString());
    const QByteArray in(reinterpret_cast<const char *>(data), qsizetype(size));
    const LoadOutcome r = loadChannelText(wc, in);
    if (r.kind == LoadOutcome::Failed && r.failure.description.isEmpty())
        std::abort();
    const auto saved = channelFileText(wc);
    if (!saved.ok())
        return 0; // an unusual cell text: the save names it and writes nothing
    WorkingCopy again;
    again.startUp(QString());
    if (loadChannelText(again, *saved).kind != LoadOutcome::Loaded)
        std::abort();
    const auto resaved = channelFileText(again);
    if (!resaved.ok() || *resaved != *saved)
        std::abort();
    return 0;
}
