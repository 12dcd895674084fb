#pragma once

#include "support/Failure.h"

#include <QByteArray>
#include <QString>

// Replaces the file at `path` with `data` all at once: the data goes to a new file in
// the same folder, every write is checked (a full disk or a file-size limit shows up as
// a short write), it is flushed to disk and only then renamed over the old file. On any
// failure the old file is exactly as it was and the new one is removed. An existing
// file keeps its permissions.
Status writeFileAtomically(const QString &path, const QByteArray &data);
