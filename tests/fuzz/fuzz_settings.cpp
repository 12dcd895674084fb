// Settings reader and writer on arbitrary bytes: never crashes; a written band reads
// back, and writing it again changes nothing.
#include "settings/SettingsFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray in(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString section = QStringLiteral("Frequent");
    for (int key = 1; key <= 6; ++key)
        (void)settings::readValue(in, section, QStringLiteral("PL") + QString::number(key));

    const QString band = QStringLiteral("400MHz---470MHz");
    const QByteArray out = settings::withValue(in, section, QStringLiteral("PL4"), band);
    if (settings::readValue(out, section, QStringLiteral("PL4")) != band)
        std::abort();
    // Writing the same value again changes nothing.
    if (settings::withValue(out, section, QStringLiteral("PL4"), band) != out)
        std::abort();
    return 0;
}
