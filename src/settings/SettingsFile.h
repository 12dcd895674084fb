#pragma once

#include <QString>

// The settings file keeps the six model bands in section "Frequent", keys "PL1" … "PL6".
// Reading and writing keep every line that is not changed, byte for byte.

// Reads one key. Missing file, section or key give the empty text. At most 127 bytes
// of the value are taken, the value ends at its first NUL and blanks around it go.
QString ReadSetting(const QString &section, const QString &key, const QString &filePath);

// Writes key=value into the section, creating file, section or key when missing.
// The value is cut to 128 characters. True when the file was written.
bool WriteSetting(const QString &section, const QString &key, const QString &value,
                  const QString &filePath);

namespace settings {

// The same two operations on the file's bytes in memory.
QString readValue(const QByteArray &fileData, const QString &section, const QString &key);
QByteArray withValue(const QByteArray &fileData, const QString &section, const QString &key,
                     const QString &value);

inline constexpr char16_t fileName[] = u"Sfc.ini";

// An existing file named like `name` in `dir`, whatever its letter case; otherwise
// dir/name itself.
QString findCaseInsensitive(const QString &dir, const QString &name);

// The per-user settings file (AppConfigLocation), found whatever its letter case.
QString userSettingsPath();

// The file start-up reads: the per-user file when it exists, else a settings file
// beside the executable, else the per-user path (which reads as empty).
QString readPath();

// The file tune mode writes: always the per-user file. When it does not exist yet
// and a file beside the executable does, that one is copied first so its other
// bands are not lost.
QString writePath();

} // namespace settings
