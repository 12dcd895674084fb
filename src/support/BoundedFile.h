#pragma once

#include "support/Failure.h"

#include <QByteArray>
#include <QString>

// Reading a file the user named, safely: only a regular file (a symbolic link to one is
// followed) is opened at all, so a FIFO or a terminal cannot block the caller and a
// device cannot feed it without end; and no more than a bound is kept in memory.
//
// Failures: FileNotFound for a missing file (or one below something that is no
// folder); PathFileAccessError for a folder, a device, a FIFO, a socket or a file over
// the bound (when refused); the system's error otherwise.
// Descriptions name the path.

enum class Oversize {
    Refuse, // a file holding more than the bound is a failure
    TakePrefix // the first `maxBytes` bytes are returned
};

Result<QByteArray> readRegularFile(const QString &path, qint64 maxBytes, Oversize oversize = Oversize::Refuse);
