#include "ChannelCsv.h"

#include "channels/Codec.h"
#include "channels/GridRules.h"
#include "channels/Tables.h"
#include "files/CsvRecords.h"
#include "support/AtomicFile.h"
#include "support/BoundedFile.h"

#include <QCoreApplication>

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <optional>

namespace channelcsv {

namespace {

using C = ChannelTable::Column;

constexpr qint64 MaxShiftHz = 70'000'000; // wider transmit offsets are written as "split"
constexpr qint64 MaxFileSize = 4 << 20;

QString off()
{
    return QStringLiteral("OFF");
}

// ---- signalling ----------------------------------------------------------------

// One side of a channel's signalling as the format splits it.
struct Signal
{
    enum Kind { None, Tone, Dcs } kind = None;
    QString tone; // "88.5"
    QString code; // "023"
    QChar polarity = QLatin1Char('N');
};

Signal signalOf(const QString &cell)
{
    Signal s;
    const QString t = cell.trimmed();
    if (t.size() == 5 && t.startsWith(QLatin1Char('D'))) {
        s.kind = Signal::Dcs;
        s.code = t.mid(1, 3);
        s.polarity = t.endsWith(QLatin1Char('I')) ? QLatin1Char('R') : QLatin1Char('N');
    } else if (!codec::isEmptyCell(t)) {
        s.kind = Signal::Tone;
        s.tone = QString::number(t.toDouble(), 'f', 1);
    }
    return s;
}

// The signalling-list entry of a tone in Hz ("67.0" → "67"); nothing outside the list.
std::optional<QString> toneCell(const QString &value)
{
    bool ok = false;
    const double hz = value.trimmed().toDouble(&ok);
    if (!ok)
        return std::nullopt;
    const QStringList &list = tables::signallingList();
    for (qsizetype i = 1; i < list.size() && !list[i].startsWith(QLatin1Char('D')); ++i)
        if (std::abs(list[i].toDouble() - hz) < 0.05)
            return list[i];
    return std::nullopt;
}

// The entry of a DCS code ("23" or "023") with polarity 'N' or 'R' (our "I").
std::optional<QString> dcsCell(const QString &value, QChar polarity)
{
    bool ok = false;
    const int code = value.trimmed().toInt(&ok, 10);
    if (!ok || code < 0 || (polarity != QLatin1Char('N') && polarity != QLatin1Char('R')))
        return std::nullopt;
    const QString cell = QStringLiteral("D%1%2")
                             .arg(code, 3, 10, QLatin1Char('0'))
                             .arg(polarity == QLatin1Char('R') ? QLatin1Char('I') : QLatin1Char('N'));
    if (!tables::signallingList().contains(cell))
        return std::nullopt;
    return cell;
}

// ---- frequencies ----------------------------------------------------------------

QString cellForHz(qint64 hz)
{
    return gridrules::formatFrequency(
        QStringLiteral("%1.%2").arg(hz / 1'000'000).arg(hz % 1'000'000, 6, 10, QLatin1Char('0')));
}

QString mhz(qint64 hz)
{
    return QStringLiteral("%1.%2").arg(hz / 1'000'000).arg(hz % 1'000'000, 6, 10, QLatin1Char('0'));
}

// Megahertz as a CSV writes them ("146.520000") in hertz; nothing for anything else.
std::optional<qint64> hzOf(const QString &value)
{
    const QString t = value.trimmed();
    if (!gridrules::readsAsNumber(t))
        return std::nullopt;
    const double v = t.toDouble();
    if (!(v >= 0 && v < 1e6))
        return std::nullopt;
    return std::llround(v * 1e6);
}

QString watts(const QString &power)
{
    if (power == QString::fromUtf16(u"中"))
        return QStringLiteral("2.0W");
    if (power == QString::fromUtf16(u"低"))
        return QStringLiteral("0.5W");
    return QStringLiteral("5.0W");
}

// "高", "中" or "低" for a power value: watts map to the nearest of 5, 2 and 0.5 W.
std::optional<QString> powerCell(const QString &value)
{
    const QString t = value.trimmed().toLower();
    if (t == QLatin1String("high"))
        return QString::fromUtf16(u"高");
    if (t == QLatin1String("mid") || t == QLatin1String("medium"))
        return QString::fromUtf16(u"中");
    if (t == QLatin1String("low"))
        return QString::fromUtf16(u"低");
    // The values as the editor shows them, in either language ("高", "High").
    if (const qsizetype i = tables::indexOfValue(tables::powerRows(), value); i >= 0)
        return tables::powerRows()[i];
    QString number = t;
    if (number.endsWith(QLatin1Char('w')))
        number.chop(1);
    bool ok = false;
    const double w = number.toDouble(&ok);
    if (!ok || !(w >= 0) || !gridrules::readsAsNumber(number))
        return std::nullopt;
    return QString::fromUtf16(w >= 3.5 ? u"高" : w >= 1.25 ? u"中" : u"低");
}

// The values of one row by column name; a column the file lacks reads as empty.
class Row
{
public:
    Row(const QHash<QString, qsizetype> &columns, const CsvRecord &r) : m_columns(columns), m_record(r) { }
    QString operator[](const char *name) const
    {
        const qsizetype at = m_columns.value(QString::fromLatin1(name).toLower(), -1);
        return at >= 0 && at < m_record.fields.size() ? m_record.fields[at].trimmed() : QString();
    }
    int line() const { return m_record.line; }

private:
    const QHash<QString, qsizetype> &m_columns;
    const CsvRecord &m_record;
};

// One row made into channel cells, collecting the refusals.
class RowImport
{
public:
    RowImport(const Row &row, const QString &band, QList<Refusal> &refusals)
        : m_row(row), m_band(band), m_refusals(refusals)
    { }

    // False when the row holds no channel (frequency empty or 0, or refused).
    bool run(ChannelTable &table, int channel)
    {
        const QString value = m_row["Frequency"];
        const std::optional<qint64> rx = hzOf(value);
        if (value.isEmpty() || (rx && *rx == 0))
            return false;
        const QString rxCell = rx ? cellForHz(*rx) : QString();
        const QString why = frequencyProblem(C::RxFreq, rxCell);
        if (!why.isEmpty()) {
            refuse("Frequency", value, why);
            return false;
        }
        table.setCell(channel, C::RxFreq, rxCell);
        gridrules::fillRow(table, channel);
        table.setCell(channel, C::TxFreq, transmitCell(*rx));
        applySignalling(table, channel);
        // FM and NFM, or the editor's bandwidth values in either language ("窄", "Narrow").
        const QString mode = m_row["Mode"];
        const qsizetype bandwidth = tables::indexOfValue(tables::bandwidthRows(), mode);
        if (mode == QLatin1String("NFM"))
            table.setCell(channel, C::Bandwidth, QString::fromUtf16(u"窄"));
        else if (bandwidth >= 0)
            table.setCell(channel, C::Bandwidth, tables::bandwidthRows()[bandwidth]);
        else if (!mode.isEmpty() && mode != QLatin1String("FM"))
            refuse("Mode", mode, QCoreApplication::translate("ChannelCsv", "只能是 FM（宽）或 NFM（窄）"));
        if (const QString power = m_row["Power"]; !power.isEmpty()) {
            if (const auto cell = powerCell(power))
                table.setCell(channel, C::Power, *cell);
            else
                refuse("Power", power, QCoreApplication::translate("ChannelCsv", "不是功率（瓦数或 High/Mid/Low）"));
        }
        static const QRegularExpression notLetters(QStringLiteral("[^A-Za-z]+"));
        if (m_row["Comment"].split(notLetters, Qt::SkipEmptyParts).contains(QLatin1String("BCL")))
            table.setCell(channel, C::BusyLock, QString::fromUtf16(u"是"));
        return true;
    }

private:
    void refuse(const char *column, const QString &value, const QString &reason)
    {
        m_refusals << Refusal{m_row.line(), QString::fromLatin1(column), value, reason};
    }

    // The grid's check of a frequency cell; empty when it passes.
    QString frequencyProblem(int column, const QString &cell) const
    {
        if (cell.isEmpty())
            return QCoreApplication::translate("ChannelCsv", "不是频率（MHz）");
        const gridrules::LeaveOutcome o = gridrules::checkLeaveCell(column, cell, m_band);
        if (o == gridrules::LeaveOutcome::SetOff)
            return QCoreApplication::translate("ChannelCsv", "所选机型没有可用的频段");
        return gridrules::messageFor(o);
    }

    QString transmitCell(qint64 rx)
    {
        const QString duplex = m_row["Duplex"].toLower();
        const QString offset = m_row["Offset"];
        if (duplex == QLatin1String("off"))
            return off();
        if (duplex.isEmpty())
            return cellForHz(rx);
        const std::optional<qint64> shift = hzOf(offset);
        std::optional<qint64> tx;
        if (duplex == QLatin1String("split"))
            tx = shift;
        else if (duplex == QLatin1String("+") && shift)
            tx = rx + *shift;
        else if (duplex == QLatin1String("-") && shift)
            tx = rx - *shift;
        else if (duplex != QLatin1String("+") && duplex != QLatin1String("-")) {
            refuse("Duplex", m_row["Duplex"],
                   QCoreApplication::translate("ChannelCsv", "只能是空、+、-、split 或 off；不发射"));
            return off();
        }
        const QString cell = tx && *tx > 0 ? cellForHz(*tx) : QString();
        if (const QString why = frequencyProblem(C::TxFreq, cell); !why.isEmpty()) {
            refuse("Offset", offset, QCoreApplication::translate("ChannelCsv", "%1；不发射").arg(why));
            return off();
        }
        return cell;
    }

    // One side's cell from a tone or code column; "OFF" (and a refusal) when refused.
    QString toneSide(const char *column, const QString &value)
    {
        if (const auto cell = toneCell(value))
            return *cell;
        refuse(column, value, QCoreApplication::translate("ChannelCsv", "不在信令表中"));
        return off();
    }
    QString dcsSide(const char *column, const QString &value, int polarityIndex)
    {
        const QString polarity = m_row["DtcsPolarity"];
        const QChar p = polarity.size() == 2 ? polarity[polarityIndex] : QLatin1Char('N');
        if (!polarity.isEmpty() && (polarity.size() != 2 || !QStringLiteral("NR").contains(p))) {
            refuse("DtcsPolarity", polarity, QCoreApplication::translate("ChannelCsv", "应为两个字母 N 或 R"));
            return off();
        }
        if (const auto cell = dcsCell(value, p))
            return *cell;
        refuse(column, value, QCoreApplication::translate("ChannelCsv", "不在信令表中"));
        return off();
    }

    void applySignalling(ChannelTable &table, int channel)
    {
        const QString mode = m_row["Tone"];
        // Either tone column serves both when the other is not given.
        const QString rTone = m_row["rToneFreq"].isEmpty() ? m_row["cToneFreq"] : m_row["rToneFreq"];
        const QString cTone = m_row["cToneFreq"].isEmpty() ? rTone : m_row["cToneFreq"];
        const QString code = m_row["DtcsCode"];
        QString tx = off();
        QString rx = off();
        if (mode == QLatin1String("Tone")) {
            tx = toneSide("rToneFreq", rTone);
        } else if (mode == QLatin1String("TSQL")) {
            tx = rx = toneSide("cToneFreq", cTone);
        } else if (mode == QLatin1String("DTCS")) {
            tx = dcsSide("DtcsCode", code, 0);
            rx = tx == off() ? off() : dcsSide("DtcsCode", code, 1);
        } else if (mode == QLatin1String("Cross")) {
            const QString cross = m_row["CrossMode"];
            const qsizetype arrow = cross.indexOf(QLatin1String("->"));
            const QString from = cross.left(arrow);
            const QString to = arrow < 0 ? QString() : cross.mid(arrow + 2);
            const QStringList sides{QString(), QStringLiteral("Tone"), QStringLiteral("DTCS")};
            if (arrow < 0 || !sides.contains(from) || !sides.contains(to) || (from.isEmpty() && to.isEmpty())) {
                refuse("CrossMode", cross, QCoreApplication::translate("ChannelCsv", "不是可用的交叉方式"));
            } else {
                if (from == QLatin1String("Tone"))
                    tx = toneSide("rToneFreq", rTone);
                else if (from == QLatin1String("DTCS"))
                    tx = dcsSide("DtcsCode", code, 0);
                if (to == QLatin1String("Tone"))
                    rx = toneSide("cToneFreq", cTone);
                else if (to == QLatin1String("DTCS"))
                    rx = dcsSide("RxDtcsCode", m_row["RxDtcsCode"], 1);
            }
        } else if (!mode.isEmpty()) {
            refuse("Tone", mode, QCoreApplication::translate("ChannelCsv", "只能是空、Tone、TSQL、DTCS 或 Cross"));
        }
        table.setCell(channel, C::TxSignal, tx);
        table.setCell(channel, C::RxSignal, rx);
    }

    const Row &m_row;
    QString m_band;
    QList<Refusal> &m_refusals;
};

// An empty channel, as a channel file stores it (all bytes FF) and loads it back.
void emptyChannel(ChannelTable &table, int channel)
{
    const std::array<quint8, 4> none{0xFF, 0xFF, 0xFF, 0xFF};
    table.setCell(channel, C::RxFreq, codec::decodeFrequency(none));
    table.setCell(channel, C::TxFreq, codec::decodeFrequency(none));
    table.setCell(channel, C::RxSignal, codec::decodeSignalling(0xFF, 0xFF));
    table.setCell(channel, C::TxSignal, codec::decodeSignalling(0xFF, 0xFF));
    table.setCell(channel, C::BusyLock, codec::decodeBusyLock(0xFF));
    table.setCell(channel, C::Bandwidth, codec::decodeBandwidth(0xFF));
    table.setCell(channel, C::Power, codec::decodePower(0xFF).value_or(QString()));
}

// A line refused as a whole, its text cut short for the message.
Refusal wholeLine(const CsvRecord &r, const QString &reason)
{
    constexpr qsizetype Shown = 40;
    QString text = r.fields.join(QLatin1Char(',')).section(QLatin1Char('\n'), 0, 0);
    if (text.size() > Shown)
        text = text.left(Shown) + QStringLiteral("…");
    return Refusal{r.line, QString(), text, reason};
}

QString unterminatedReason()
{
    return QCoreApplication::translate("ChannelCsv", "引号没有结束，从这一行到文件末尾都未导入");
}

} // namespace

QStringList header()
{
    return QStringLiteral("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
                          "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE")
        .split(QLatin1Char(','));
}

Export exportCsv(const WorkingCopyState &state)
{
    Export e;
    e.text = header().join(QLatin1Char(',')).toUtf8() + "\r\n";
    for (int channel = 1; channel <= 16; ++channel) {
        const auto &cells = state.cells[size_t(channel)];
        if (codec::isEmptyCell(cells[C::RxFreq]))
            continue;
        const std::optional<qint64> rx = gridrules::frequencyHz(cells[C::RxFreq]);
        const bool txOff = codec::isEmptyCell(cells[C::TxFreq]);
        const std::optional<qint64> tx = txOff ? rx : gridrules::frequencyHz(cells[C::TxFreq]);
        if (!rx || !tx) {
            e.unreadable << channel;
            continue;
        }
        QString duplex;
        qint64 offset = 0;
        if (txOff) {
            duplex = QStringLiteral("off");
        } else if (std::llabs(*tx - *rx) > MaxShiftHz) {
            duplex = QStringLiteral("split");
            offset = *tx;
        } else if (*tx != *rx) {
            duplex = *tx > *rx ? QStringLiteral("+") : QStringLiteral("-");
            offset = std::llabs(*tx - *rx);
        }

        const Signal t = signalOf(cells[C::TxSignal]);
        const Signal r = signalOf(cells[C::RxSignal]);
        QString tone;
        QString cross = QStringLiteral("Tone->Tone");
        if (t.kind == Signal::None && r.kind == Signal::None)
            tone = QString();
        else if (t.kind == Signal::Tone && r.kind == Signal::None)
            tone = QStringLiteral("Tone");
        else if (t.kind == Signal::Tone && r.kind == Signal::Tone && t.tone == r.tone)
            tone = QStringLiteral("TSQL");
        else if (t.kind == Signal::Dcs && r.kind == Signal::Dcs && t.code == r.code)
            tone = QStringLiteral("DTCS");
        else {
            static const char *const names[] = {"", "Tone", "DTCS"};
            tone = QStringLiteral("Cross");
            cross = QString::fromLatin1(names[t.kind]) + QStringLiteral("->") + QString::fromLatin1(names[r.kind]);
        }
        const QString rTone = t.kind == Signal::Tone ? t.tone
                                                     : (r.kind == Signal::Tone ? r.tone : QStringLiteral("88.5"));
        const QString cTone = r.kind == Signal::Tone ? r.tone : rTone;
        const QString code = t.kind == Signal::Dcs ? t.code : (r.kind == Signal::Dcs ? r.code : QStringLiteral("023"));
        const QString rxCode = r.kind == Signal::Dcs ? r.code : code;
        const QString step = *rx % 12500 == 0 && *tx % 12500 == 0 ? QStringLiteral("12.50")
            : *rx % 6250 == 0 && *tx % 6250 == 0                  ? QStringLiteral("6.25")
                                                                  : QStringLiteral("5.00");
        const bool busyLock = cells[C::BusyLock] == QString::fromUtf16(u"是");
        const QStringList row{QString::number(channel),
                              QString(),
                              mhz(*rx),
                              duplex,
                              mhz(offset),
                              tone,
                              rTone,
                              cTone,
                              code,
                              QString(t.polarity) + r.polarity,
                              rxCode,
                              cross,
                              cells[C::Bandwidth] == QString::fromUtf16(u"窄") ? QStringLiteral("NFM")
                                                                               : QStringLiteral("FM"),
                              step,
                              QString(),
                              watts(cells[C::Power]),
                              busyLock ? QStringLiteral("BCL") : QString(),
                              QString(),
                              QString(),
                              QString(),
                              QString()};
        e.text += row.join(QLatin1Char(',')).toUtf8() + "\r\n";
        ++e.channels;
    }
    return e;
}

Result<Export> saveCsv(const WorkingCopyState &state, const QString &path)
{
    Export e = exportCsv(state);
    if (const Status s = writeFileAtomically(path, e.text); !s)
        return s.failure();
    return e;
}

QString describe(const Refusal &r)
{
    if (r.column.isEmpty())
        return QCoreApplication::translate("ChannelCsv", "第 %1 行 “%2”：%3").arg(r.line).arg(r.value, r.reason);
    return QCoreApplication::translate("ChannelCsv", "第 %1 行 %2 “%3”：%4")
        .arg(r.line)
        .arg(r.column, r.value, r.reason);
}

Result<Import> importCsv(const QByteArray &text, const WorkingCopyState &base)
{
    QString decoded = QString::fromUtf8(text);
    if (decoded.startsWith(QChar(0xFEFF)))
        decoded.remove(0, 1);
    const QList<CsvRecord> all = readCsvRecords(decoded);
    QHash<QString, qsizetype> columns;
    if (!all.isEmpty())
        for (qsizetype i = 0; i < all[0].fields.size(); ++i)
            columns.insert(all[0].fields[i].trimmed().toLower(), i);
    if (!columns.contains(QStringLiteral("frequency")))
        return Failure{Failure::TypeMismatch,
                       QCoreApplication::translate("ChannelCsv", "不是信道表：找不到含 Frequency 列的标题行")};

    Import result{base, 0, {}, {}, {}};
    ChannelTable table;
    table.setCells(base.cells);
    table.writeTitles();
    for (int channel = 1; channel <= 16; ++channel)
        emptyChannel(table, channel);
    std::array<int, 17> takenFrom{}; // line that filled each channel
    const bool located = columns.contains(QStringLiteral("location"));
    const qsizetype frequencyColumn = columns.value(QStringLiteral("frequency"));
    if (all[0].unterminated)
        result.refusals << wholeLine(all[0], unterminatedReason());
    for (qsizetype i = 1; i < all.size(); ++i) {
        const Row row(columns, all[i]);
        if (all[i].unterminated) {
            result.refusals << wholeLine(all[i], unterminatedReason());
            continue;
        }
        const bool blank = std::all_of(all[i].fields.cbegin(), all[i].fields.cend(),
                                       [](const QString &f) { return f.trimmed().isEmpty(); });
        if (blank)
            continue;
        if (all[i].fields.size() <= frequencyColumn) {
            result.refusals << wholeLine(
                all[i], QCoreApplication::translate("ChannelCsv", "不是信道：这一行没有 Frequency 列"));
            continue;
        }
        bool ok = !located;
        const int channel = located ? row["Location"].toInt(&ok) : int(i);
        if (located && !ok && !row["Location"].isEmpty()) {
            result.refusals << Refusal{row.line(), QStringLiteral("Location"), row["Location"],
                                       QCoreApplication::translate("ChannelCsv", "不是信道号，这一行未导入")};
            continue;
        }
        const std::optional<qint64> frequency = hzOf(row["Frequency"]);
        const bool holdsChannel = !row["Frequency"].isEmpty() && (!frequency || *frequency != 0);
        if (!ok || channel < 1 || channel > 16 || takenFrom[size_t(channel)] != 0) {
            if (holdsChannel)
                result.refusals << Refusal{row.line(), QStringLiteral("Location"), row["Location"],
                                           ok && channel >= 1 && channel <= 16
                                               ? QCoreApplication::translate("ChannelCsv", "信道 %1 已由第 %2 行导入")
                                                     .arg(channel)
                                                     .arg(takenFrom[size_t(channel)])
                                               : QCoreApplication::translate("ChannelCsv", "只导入信道 1–16")};
            continue;
        }
        if (RowImport(row, base.bandText, result.refusals).run(table, channel)) {
            takenFrom[size_t(channel)] = row.line();
            ++result.channels;
        } else {
            emptyChannel(table, channel);
            if (holdsChannel && !result.frequencyRefused.contains(channel))
                result.frequencyRefused << channel;
        }
    }
    for (int channel = 1; channel <= 16; ++channel)
        if (takenFrom[size_t(channel)] == 0)
            result.emptied << channel;
        else
            result.frequencyRefused.removeOne(channel);
    std::sort(result.frequencyRefused.begin(), result.frequencyRefused.end());
    result.state.cells = table.cells();
    return result;
}

Result<Import> loadCsv(const QString &path, const WorkingCopyState &base)
{
    // Only a regular file is opened at all: a FIFO would wait for a writer for ever.
    const Result<QByteArray> data = readRegularFile(path, MaxFileSize);
    if (!data)
        return data.failure();
    return importCsv(*data, base);
}

} // namespace channelcsv
