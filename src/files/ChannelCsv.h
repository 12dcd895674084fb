#pragma once

#include "channels/WorkingCopy.h"
#include "support/Failure.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Channel lists in the CSV format that radio programmers exchange: one row a channel
// under the header
//   Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,
//   RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE
// Frequencies and offsets in MHz, tones in Hz, DCS codes as three octal digits, power in
// watts. Columns are found by their header name in any order; "#" starts a comment line.
namespace channelcsv {

QStringList header();

struct Export
{
    QByteArray text; // UTF-8, CR LF line ends
    int channels = 0; // rows written
    QList<int> unreadable; // channels left out because a frequency cell is no frequency
};

// The channels of the state as CSV. Empty channels (receive "OFF" or empty) are left out.
// Transmit differing by at most 70 MHz is written as a shift ("+"/"-" with Offset),
// beyond that as "split" with Offset the transmit frequency, "OFF" as "off".
// Power is written as nominal watts: "高" 5.0W, "中" 2.0W, "低" 0.5W; busy lock as
// "BCL" in Comment.
Export exportCsv(const WorkingCopyState &state);

// The same, written atomically to `path`.
Result<Export> saveCsv(const WorkingCopyState &state, const QString &path);

// A value or a whole line the import did not take: the line it stands on (counted from
// 1), its column (empty for a whole line), the value (the line's text) and why.
struct Refusal
{
    int line = 0;
    QString column;
    QString value;
    QString reason;
};
QString describe(const Refusal &r);

struct Import
{
    WorkingCopyState state;
    int channels = 0; // channels taken from the file
    QList<Refusal> refusals;
    // Channels whose row's receive frequency was refused (no later row filled them):
    // they are empty.
    QList<int> frequencyRefused;
    // Channels 1…16 that no row filled, refused ones included: all of them are empty.
    QList<int> emptied;
};

// The base state with its 16 channels replaced by the rows of the CSV whose Location is
// 1…16 (without a Location column, rows count from 1). Each value goes through the
// checks a typed value gets: frequencies against the band of the base's model and the
// channel step, tones and codes against the signalling list. A refused value is reported
// and not applied; a refused receive frequency leaves the channel empty, a refused
// transmit frequency leaves it receive-only ("OFF"). Channels without a row are empty.
// Rows with frequency 0 or empty are empty channels and skipped, as are blank lines and
// comments; every other line that does not become a channel is a refusal: a Location that
// is no number or outside 1…16, a channel given twice, a line too short to hold a
// frequency, a quote left open. Fails when the text has no header with a Frequency column.
Result<Import> importCsv(const QByteArray &text, const WorkingCopyState &base);

// Reads the file (a regular file only, at most 4 MiB) and imports it.
Result<Import> loadCsv(const QString &path, const WorkingCopyState &base);

} // namespace channelcsv
