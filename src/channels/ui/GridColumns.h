#pragma once

#include "channels/WorkingCopy.h"

#include <QModelIndex>

// Where things lie in the channel grid: row 0 and column 0 are fixed (titles and channel
// numbers), rows 1…16 × columns 1…7 are the channel cells.
namespace gridcolumns {

inline constexpr int FirstRow = 1;
inline constexpr int LastRow = ChannelTable::Rows - 1;
inline constexpr int FirstColumn = ChannelTable::RxFreq;
inline constexpr int LastColumn = ChannelTable::Columns - 1;

inline bool isFixed(const QModelIndex &i)
{
    return i.row() < FirstRow || i.column() < FirstColumn;
}

inline bool isFrequencyColumn(int c)
{
    return c == ChannelTable::RxFreq || c == ChannelTable::TxFreq;
}

inline bool isSignallingColumn(int c)
{
    return c == ChannelTable::RxSignal || c == ChannelTable::TxSignal;
}

} // namespace gridcolumns
