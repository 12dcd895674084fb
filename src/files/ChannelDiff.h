#pragma once

#include "channels/Codec.h"
#include "channels/WorkingCopy.h"
#include "support/Failure.h"

#include <QList>
#include <QString>

// What differs between two radios' settings, field by field, in the words the editor
// shows them: the list labels of the function and model panels and of the tune window,
// and "信道 n" with the channel table's column titles.
struct FieldDifference
{
    QString field; // "静噪等级", "信道 3 接收频率"
    QString before; // the value in the first, as shown ("（空）" for an empty cell)
    QString after;

    // "信道 3 接收频率: 450.10000 → 450.20000"
    QString text() const;
    bool operator==(const FieldDifference &) const = default;
};

// The function settings and the tune values first, then channels 1 … 16, each in column
// order. Band strings are not compared: they belong to the computer, not the radio.
QList<FieldDifference> channelDifferences(const WorkingCopyState &before, const WorkingCopyState &after);

// What a channel file holds, as "打开" would load it into a working copy that starts as
// `base`. Fails as the load does (a missing file included).
Result<WorkingCopyState> channelFileState(const WorkingCopyState &base, const QString &path);

// What a radio memory image holds, as a read would load it into a working copy that
// starts as `base`.
WorkingCopyState imageState(const WorkingCopyState &base, const codec::Image &image);

// The bytes in which two memory images differ where no field of channelDifferences shows
// the difference, each as a line "地址 0x140（不属于任何信道或功能设置的字节）: FF → FE",
// in address order.
QList<FieldDifference> unshownByteDifferences(const WorkingCopyState &base, const codec::Image &before,
                                              const codec::Image &after);

// Everything in which two memory images differ: the fields a read of each would show, as
// channelDifferences lists them, then the bytes no field shows.
QList<FieldDifference> imageDifferences(const WorkingCopyState &base, const codec::Image &before,
                                        const codec::Image &after);
