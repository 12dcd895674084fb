#pragma once

#include "support/Failure.h"

#include <QString>

#include <optional>
#include <sys/types.h>

// The failure for a system error `err` (an errno value) on the file at `path`: a
// number users know (disk full, permission denied, …) and the system's text, with a
// plain explanation where the system's text alone would puzzle (a file-size limit).
Failure systemFailure(const QString &path, int err);

// The failure for a file that is there but is no regular file (a folder, a device, a
// FIFO, a socket), from its stat mode; nothing for a regular file.
std::optional<Failure> specialFileFailure(const QString &path, mode_t mode);

// Text safe for a terminal or a message box: every control character (C0, DEL, C1)
// becomes U+FFFD, so a file's bytes can neither cut a message short nor steer a
// terminal.
QString printable(QString text);
