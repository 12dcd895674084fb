#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class ChannelTable;

// Edits of many channel cells at once, as the grid's clipboard, clear and fill commands
// make them. Every value goes through the checks of a typed one (GridRules); a refused
// value leaves its cell as it was and is reported as one line, the others are applied.
namespace gridedits {

// The cells of rows top…bottom × columns left…right as shown, tab-separated, one line a
// row: what a spreadsheet takes. Cells inside that are not selected are empty.
QString copyText(const ChannelTable &table, int top, int left, int bottom, int right,
                 const std::function<bool(int row, int column)> &selected);

// Writes one value into a channel cell as if it had been typed and the cell left:
// a frequency is formatted, checked against the band and the channel step and fills its
// row; a list cell takes only an entry of its list, in either language ("高" or "High"). An empty value or "OFF" on a frequency
// or signalling cell gives "OFF"; an empty value on another cell empties it. Returns the
// reason for a refusal, or an empty text.
QString applyValue(ChannelTable &table, const QString &bandText, int row, int column, const QString &value);

// Pastes tab-separated text with its first value at (row, column). Values beyond the
// last channel or column are dropped. Returns one line for each refused value.
QStringList paste(ChannelTable &table, const QString &bandText, int row, int column, const QString &text);
// Text whose every line holds one value per channel column: whole channels, as copying
// selected channel numbers gives them. Such text is pasted from a channel's first column.
bool isWholeChannels(const QString &text);
// Pastes tab-separated text into the given channel rows (ascending) from their first
// column: the k-th line into the k-th row, one line into every row. Lines beyond the rows
// are dropped, rows beyond the lines are left as they are.
QStringList pasteIntoRows(ChannelTable &table, const QString &bandText, const QList<int> &rows, const QString &text);
// The entries a list cell of the column takes (signalling, busy lock, bandwidth, power);
// empty for a frequency column.
QStringList listFor(int column);
// Whether a step in hertz could ever give a channel frequency: a whole multiple of
// 6.25 kHz or of 5 kHz.
bool isChannelStep(qint64 stepHz);

// Frequency and signalling cells among the given (row, column) cells become "OFF"; the
// others are left as they are.
void clearToOff(ChannelTable &table, const QList<std::pair<int, int>> &cells);
// Clears a channel: frequencies and signallings "OFF", the other cells empty.
void clearChannel(ChannelTable &table, int row);
// Copies channel row to channel row + 1 (nothing after the last channel).
void copyToNextChannel(ChannelTable &table, int row);

// Fills the receive and transmit frequencies of rows (ascending) from those of the
// first row, each next row one step (in hertz) higher. Returns the refusals.
QStringList fillByStep(ChannelTable &table, const QString &bandText, const QList<int> &rows, qint64 stepHz);

// The line of a refusal: which channel and column, the value and why.
QString refusalLine(int row, int column, const QString &value, const QString &reason);

} // namespace gridedits
