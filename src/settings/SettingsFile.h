#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// The settings file keeps the six model bands in section "Frequent", keys "PL1" … "PL6".
// Reading and writing keep every line that is not changed, byte for byte.

// Reads one key. Missing file, section or key give the empty text. At most 127 bytes
// of the value are taken, the value ends at its first NUL and blanks around it go;
// control characters show as U+FFFD.
QString ReadSetting(const QString &section, const QString &key, const QString &filePath);

// Writes key=value into the section, creating file, section or key when missing.
// The value is cut to 128 characters. True when the file was written.
bool WriteSetting(const QString &section, const QString &key, const QString &value, const QString &filePath);

namespace settings {

// The file is read only when it is a regular file of at most this size; anything else
// reads as empty, like a missing file.
inline constexpr qint64 maxFileSize = 1 << 20;

// The file's bytes: empty for a missing file, a folder, a device, a FIFO, a file over
// maxFileSize and an empty path.
QByteArray readFile(const QString &path);

// The six band strings by key number − 1 ("PL1" … "PL6" of section "Frequent"), from
// one reading of the file.
std::array<QString, 6> readBands(const QString &path);

// The same two operations on the file's bytes in memory.
QString readValue(const QByteArray &fileData, const QString &section, const QString &key);
QByteArray withValue(const QByteArray &fileData, const QString &section, const QString &key, const QString &value);

inline constexpr char16_t fileName[] = u"Sfc.ini";

// An existing file named like `name` in `dir`, whatever its letter case; otherwise
// dir/name itself.
QString findCaseInsensitive(const QString &dir, const QString &name);

// The per-user settings file (in userfolders::config()), found whatever its letter case.
QString userSettingsPath();

// The file start-up reads: the per-user file when it exists, else a settings file
// beside the executable, else the per-user path (which reads as empty).
QString readPath();

// The file tune mode writes: always the per-user file. When it does not exist yet
// and a file beside the executable does, that one is copied first so its other
// bands are not lost.
QString writePath();

} // namespace settings
