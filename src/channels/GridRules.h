#pragma once

#include <QString>

#include <optional>

class ChannelTable;

// The rules of the channel grid that need no widget: how typed text becomes a cell,
// how a frequency cell is checked against the band and the channel step when it is
// left, and the row fill of a valid receive frequency.
namespace gridrules {

// A frequency as typed reads as a number when it is decimal digits with at most one
// point and at least one digit ("450", "450.", ".5"). Signs, exponents, blanks and
// grouping separators are refused: none of them makes sense in a frequency.
bool readsAsNumber(const QString &text);

// The cell text for a typed frequency: megahertz as "000.00000", rounded half up to
// five decimals ("450.1" → "450.10000", "45" → "045.00000"). Empty, or not a number,
// gives the empty text.
QString formatFrequency(const QString &typed);

// What a frequency editor shows for a cell: five decimals without leading zeros
// ("045.00000" → "45.00000", "000.50000" → ".50000"). "OFF", the empty text and any
// other text that is no number are shown as they stand.
QString editorText(const QString &cellText);

struct Band
{
    int lo = 0; // whole megahertz
    int hi = 0;
};
// The band text holds the low limit in characters 1–3 and the high limit in characters
// 10–12 ("400MHz---470MHz"). Nothing when either is not a whole number.
std::optional<Band> readBand(const QString &bandText);

// The whole megahertz of a frequency text (its integer part).
std::optional<int> wholeMegahertz(const QString &text);
// The frequency in hertz, rounded to a whole number.
std::optional<qint64> frequencyHz(const QString &text);
// True on a whole multiple of 6.25 kHz or of 5 kHz.
bool onChannelStep(qint64 hz);

enum class LeaveOutcome {
    Keep, // nothing to change
    SetOff, // empty frequency or signalling cell, or text that is no frequency: "OFF"
    OutOfRange, // message, then the cell gets its previous value back
    OffStep, // message, then the cell gets its previous value back
    NoBand, // the model has no band: message, then the previous value back
    Accepted, // valid transmit frequency
    FillRow, // valid receive frequency: the rest of the row follows it
};

// What leaving cell (row, column) with this text does, given the band text of the
// selected model. Columns 1 and 2 are the frequency columns. Only frequency and
// signalling cells become "OFF"; an empty busy-lock, bandwidth or power cell stays empty.
LeaveOutcome checkLeaveCell(int column, const QString &text, const QString &bandText);

// True for the outcomes that refuse the entry (a message, and the previous value back).
bool isRefused(LeaveOutcome outcome);

// The message of an outcome ("" when it shows none); the title is messageTitle().
QString messageFor(LeaveOutcome outcome);
QString messageTitle();

// Carries out the outcome on the table: "OFF", the previous value back after a refusal
// ("OFF" when it had none), or the row fill. previous is what the cell held before the
// user changed it.
void applyLeaveCell(ChannelTable &table, int row, int column, LeaveOutcome outcome,
                    const QString &previous = QString());

// A valid receive frequency fills its row. On a channel that had no receive frequency
// (previousRx empty, "OFF" or no number): transmit frequency := receive frequency, both
// signallings "OFF", busy lock "否", bandwidth "宽", power "高". On a channel that had
// one, only the transmit frequency follows, and only when it equalled the old receive
// frequency (simplex stays simplex); everything else is kept.
void fillRow(ChannelTable &table, int row, const QString &previousRx = QString());

} // namespace gridrules
