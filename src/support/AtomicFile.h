#pragma once

#include "support/Failure.h"

#include <QByteArray>
#include <QString>

// Replaces the file at `path` with `data` all at once: the data goes to a new file in
// the same folder, every write is checked (a full disk or a file-size limit shows up as
// a short write), it is flushed to disk and only then renamed over the old file. On any
// failure the old file is exactly as it was and the new one is removed. An existing
// file keeps its permissions.
//
// A symbolic link is written through: its target is replaced and the link stays. A
// folder, a device, a FIFO or a socket is refused, and so is a file without write
// permission ("文件只读"), even for the superuser. A file-size limit is a failure
// like a full disk, not the end of the process.
Status writeFileAtomically(const QString &path, const QByteArray &data);

// A write past a file-size limit (ulimit -f) ends the process with SIGXFSZ unless the
// signal is ignored; ignored, the write fails with EFBIG and is reported like a full
// disk. Ignores it unless someone installed a handler. The programs call it at start,
// so every file they write is covered; writeFileAtomically calls it too.
void ignoreFileSizeSignal();
