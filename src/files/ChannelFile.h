#pragma once

#include "channels/WorkingCopy.h"
#include "support/Failure.h"

#include <QByteArray>
#include <QString>

// Channel files (*.chp): one line per 8-byte block, 12 two-digit hex tokens,
// CR LF line ends, 128 lines in address order.

// The text of a channel file for the working copy. Fails, naming channel and column,
// when a cell cannot be encoded.
Result<QByteArray> channelFileText(const WorkingCopy &wc);

// Writes the channel file atomically: on failure the old file stays as it was.
// Failures carry the title "错误" (number is informative only).
Status saveChannelFile(const WorkingCopy &wc, const QString &path);

// The message shown after a successful save.
QString savedMessage();

struct LoadOutcome
{
    enum Kind { Loaded, Missing, Failed } kind = Loaded;
    Failure failure; // for Failed; everything decoded before it stays in the working copy
};

// Decodes lines 1 to 34 into the working copy. A missing file is not a failure; a
// folder, a device, a FIFO or a terminal is refused without waiting on it.
LoadOutcome loadChannelFile(WorkingCopy &wc, const QString &path);
// The same from bytes already in memory.
LoadOutcome loadChannelText(WorkingCopy &wc, const QByteArray &data);

// The load into a fresh working copy that starts as `base`, so whatever the file does
// not set (band strings, a model token it does not know, …) carries over. The caller
// takes `state` over only when the outcome is Loaded; a failure leaves it untouched.
struct LoadedState
{
    LoadOutcome outcome;
    WorkingCopyState state;
};
LoadedState loadChannelFileOver(const WorkingCopyState &base, const QString &path);
