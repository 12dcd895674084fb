#include "GridRules.h"
#include <QCoreApplication>

#include "channels/WorkingCopy.h"

namespace gridrules {

namespace {

bool isDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

// A number as read: integer digits without leading zeros and all decimals typed.
struct Decimal
{
    QString whole;
    QString fraction;
};

std::optional<Decimal> split(const QString &text)
{
    if (!readsAsNumber(text))
        return std::nullopt;
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    Decimal d{point < 0 ? text : text.left(point), point < 0 ? QString() : text.mid(point + 1)};
    qsizetype zeros = 0;
    while (zeros < d.whole.size() && d.whole[zeros] == QLatin1Char('0'))
        ++zeros;
    d.whole.remove(0, zeros);
    return d;
}

// Adds one to the last digit of a string of digits, carrying to the left.
QString increment(QString digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != QLatin1Char('9')) {
            digits[i] = QChar(digits[i].unicode() + 1);
            return digits;
        }
        digits[i] = QLatin1Char('0');
    }
    return QLatin1Char('1') + digits;
}

// The number rounded half up to five decimals: whole part (no leading zeros) and
// exactly five decimals.
Decimal roundToFive(const Decimal &d)
{
    QString digits = d.whole + d.fraction.left(5).leftJustified(5, QLatin1Char('0'));
    if (d.fraction.size() > 5 && d.fraction[5].unicode() >= '5')
        digits = increment(digits);
    Decimal r{digits.left(digits.size() - 5), digits.right(5)};
    qsizetype zeros = 0;
    while (zeros < r.whole.size() && r.whole[zeros] == QLatin1Char('0'))
        ++zeros;
    r.whole.remove(0, zeros);
    return r;
}

std::optional<int> readWhole(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 9)
        return std::nullopt;
    for (QChar c : t)
        if (!isDigit(c))
            return std::nullopt;
    return t.toInt();
}

} // namespace

bool readsAsNumber(const QString &text)
{
    int digits = 0;
    int points = 0;
    for (QChar c : text) {
        if (isDigit(c))
            ++digits;
        else if (c == QLatin1Char('.'))
            ++points;
        else
            return false;
    }
    return digits > 0 && points <= 1;
}

QString formatFrequency(const QString &typed)
{
    const auto d = split(typed);
    if (!d)
        return {};
    const Decimal r = roundToFive(*d);
    return r.whole.rightJustified(3, QLatin1Char('0')) + QLatin1Char('.') + r.fraction;
}

QString editorText(const QString &cellText)
{
    const auto d = split(cellText);
    if (!d)
        return cellText;
    const Decimal r = roundToFive(*d);
    return r.whole + QLatin1Char('.') + r.fraction;
}

std::optional<Band> readBand(const QString &bandText)
{
    const auto lo = readWhole(bandText.mid(0, 3));
    const auto hi = readWhole(bandText.mid(9, 3));
    if (!lo || !hi)
        return std::nullopt;
    return Band{*lo, *hi};
}

// The integer part rather than the first three characters: the same for every text in
// the grid's format, and a typed "4500" is not taken for 450 MHz.
std::optional<int> wholeMegahertz(const QString &text)
{
    const auto d = split(text);
    if (!d || d->whole.size() > 9)
        return std::nullopt;
    return d->whole.isEmpty() ? 0 : d->whole.toInt();
}

std::optional<qint64> frequencyHz(const QString &text)
{
    const auto d = split(text);
    if (!d || d->whole.size() > 9)
        return std::nullopt;
    const QString micro = d->fraction.left(6).leftJustified(6, QLatin1Char('0'));
    qint64 hz = (d->whole.isEmpty() ? 0 : d->whole.toLongLong()) * 1000000 + micro.toLongLong();
    if (d->fraction.size() > 6 && d->fraction[6].unicode() >= '5')
        ++hz;
    return hz;
}

bool onChannelStep(qint64 hz)
{
    return hz % 6250 == 0 || hz % 5000 == 0;
}

LeaveOutcome checkLeaveCell(int column, const QString &text, const QString &bandText)
{
    const bool frequency = column == ChannelTable::RxFreq || column == ChannelTable::TxFreq;
    const bool signalling = column == ChannelTable::RxSignal || column == ChannelTable::TxSignal;
    if (text.isEmpty())
        return frequency || signalling ? LeaveOutcome::SetOff : LeaveOutcome::Keep;
    if (!frequency)
        return LeaveOutcome::Keep;
    const auto m = wholeMegahertz(text);
    const auto hz = frequencyHz(text);
    if (!m || !hz)
        return LeaveOutcome::SetOff;
    const auto band = readBand(bandText);
    if (!band)
        return LeaveOutcome::NoBand;
    if (*m < band->lo || *m > band->hi)
        return LeaveOutcome::OutOfRange;
    if (!onChannelStep(*hz))
        return LeaveOutcome::OffStep;
    return column == ChannelTable::RxFreq ? LeaveOutcome::FillRow : LeaveOutcome::Accepted;
}

bool isRefused(LeaveOutcome outcome)
{
    return outcome == LeaveOutcome::OutOfRange || outcome == LeaveOutcome::OffStep || outcome == LeaveOutcome::NoBand;
}

QString messageFor(LeaveOutcome outcome)
{
    switch (outcome) {
    case LeaveOutcome::NoBand:
        return QCoreApplication::translate("gridrules", "当前机型没有设定频段，请在调整模式中设定频段");
    case LeaveOutcome::OutOfRange:
        return QCoreApplication::translate("gridrules", "请在正确的频率范围输入");
    case LeaveOutcome::OffStep:
        return QCoreApplication::translate("gridrules", "输入的频率需为6.25K或5K的整数");
    default:
        return {};
    }
}

QString messageTitle()
{
    return QCoreApplication::translate("gridrules", "提示");
}

void applyLeaveCell(ChannelTable &table, int row, int column, LeaveOutcome outcome, const QString &previous)
{
    switch (outcome) {
    case LeaveOutcome::SetOff:
        table.setCell(row, column, QStringLiteral("OFF"));
        break;
    case LeaveOutcome::OutOfRange:
    case LeaveOutcome::OffStep:
    case LeaveOutcome::NoBand:
        table.setCell(row, column, previous.isEmpty() ? QStringLiteral("OFF") : previous);
        break;
    case LeaveOutcome::FillRow:
        fillRow(table, row, previous);
        break;
    case LeaveOutcome::Keep:
    case LeaveOutcome::Accepted:
        break;
    }
}

void fillRow(ChannelTable &table, int row, const QString &previousRx)
{
    const QString rx = table.cell(row, ChannelTable::RxFreq);
    if (readsAsNumber(previousRx)) {
        if (table.cell(row, ChannelTable::TxFreq) == previousRx)
            table.setCell(row, ChannelTable::TxFreq, rx);
        return;
    }
    table.setCell(row, ChannelTable::TxFreq, rx);
    table.setCell(row, ChannelTable::RxSignal, QStringLiteral("OFF"));
    table.setCell(row, ChannelTable::TxSignal, QStringLiteral("OFF"));
    table.setCell(row, ChannelTable::BusyLock, QString::fromUtf16(u"否"));
    table.setCell(row, ChannelTable::Bandwidth, QString::fromUtf16(u"宽"));
    table.setCell(row, ChannelTable::Power, QString::fromUtf16(u"高"));
}

} // namespace gridrules
