#include "GridEdits.h"

#include "channels/GridRules.h"
#include "channels/Tables.h"
#include "channels/WorkingCopy.h"

#include <QCoreApplication>

#include <algorithm>

namespace gridedits {

namespace {

constexpr int FirstRow = 1;
constexpr int LastRow = ChannelTable::Rows - 1;
constexpr int FirstColumn = ChannelTable::RxFreq;
constexpr int LastColumn = ChannelTable::Columns - 1;

bool isFrequency(int column)
{
    return column == ChannelTable::RxFreq || column == ChannelTable::TxFreq;
}

bool takesOff(int column)
{
    return isFrequency(column) || column == ChannelTable::RxSignal || column == ChannelTable::TxSignal;
}

QString hzText(qint64 hz)
{
    return gridrules::formatFrequency(
        QStringLiteral("%1.%2").arg(hz / 1000000).arg(hz % 1000000, 6, 10, QLatin1Char('0')));
}

} // namespace

QString copyText(const ChannelTable &table, int top, int left, int bottom, int right,
                 const std::function<bool(int row, int column)> &selected)
{
    QStringList lines;
    for (int r = top; r <= bottom; ++r) {
        QStringList cells;
        for (int c = left; c <= right; ++c)
            cells << (selected(r, c) ? table.shownCell(r, c) : QString()); // as the grid shows it
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString applyValue(ChannelTable &table, const QString &bandText, int row, int column, const QString &value)
{
    const QString v = value.trimmed();
    if (v.isEmpty() || (takesOff(column) && v.compare(QStringLiteral("OFF"), Qt::CaseInsensitive) == 0)) {
        table.setCell(row, column, takesOff(column) ? QStringLiteral("OFF") : QString());
        return {};
    }
    if (!isFrequency(column)) {
        const QStringList list = listFor(column);
        const qsizetype i = tables::indexOfValue(list, v); // "高" or "High" alike
        if (i < 0)
            return QCoreApplication::translate("gridedits", "不在可选项中");
        table.setCell(row, column, list[i]);
        return {};
    }
    if (!gridrules::readsAsNumber(v))
        return QCoreApplication::translate("gridedits", "不是频率");
    const QString text = gridrules::formatFrequency(v);
    const auto outcome = gridrules::checkLeaveCell(column, text, bandText);
    if (gridrules::isRefused(outcome))
        return gridrules::messageFor(outcome);
    const QString previous = table.cell(row, column);
    table.setCell(row, column, text);
    if (outcome == gridrules::LeaveOutcome::FillRow && text != previous)
        gridrules::fillRow(table, row, previous);
    return {};
}

QString refusalLine(int row, int column, const QString &value, const QString &reason)
{
    return QCoreApplication::translate("gridedits", "信道 %1 %2 “%3”：%4")
        .arg(row)
        .arg(ChannelTable::shownTitle(column), value, reason);
}

namespace {

// The clipboard's lines without carriage returns and the line end of the last one.
QStringList pasteLines(const QString &text)
{
    QString t = text;
    t.remove(QLatin1Char('\r'));
    if (t.endsWith(QLatin1Char('\n')))
        t.chop(1);
    return t.split(QLatin1Char('\n'));
}

void pasteLine(ChannelTable &table, const QString &bandText, int row, int column, const QString &line,
               QStringList &refused)
{
    const QStringList values = line.split(QLatin1Char('\t'));
    for (qsizetype j = 0; j < values.size() && column + j <= LastColumn; ++j) {
        const int c = column + int(j);
        const QString reason = applyValue(table, bandText, row, c, values[j]);
        if (!reason.isEmpty())
            refused << refusalLine(row, c, values[j].trimmed(), reason);
    }
}

} // namespace

QStringList paste(ChannelTable &table, const QString &bandText, int row, int column, const QString &text)
{
    QStringList refused;
    const QStringList lines = pasteLines(text);
    for (qsizetype i = 0; i < lines.size() && row + i <= LastRow; ++i)
        pasteLine(table, bandText, row + int(i), column, lines[i], refused);
    return refused;
}

bool isWholeChannels(const QString &text)
{
    const QStringList lines = pasteLines(text);
    return std::all_of(lines.begin(), lines.end(),
                       [](const QString &line) { return line.count(QLatin1Char('\t')) == LastColumn - FirstColumn; });
}

QStringList pasteIntoRows(ChannelTable &table, const QString &bandText, const QList<int> &rows, const QString &text)
{
    QStringList refused;
    const QStringList lines = pasteLines(text);
    for (qsizetype k = 0; k < rows.size() && (lines.size() == 1 || k < lines.size()); ++k)
        if (rows[k] >= FirstRow && rows[k] <= LastRow)
            pasteLine(table, bandText, rows[k], FirstColumn, lines.value(lines.size() == 1 ? 0 : k), refused);
    return refused;
}

bool isChannelStep(qint64 stepHz)
{
    return stepHz % 6250 == 0 || stepHz % 5000 == 0;
}

void clearToOff(ChannelTable &table, const QList<std::pair<int, int>> &cells)
{
    for (const auto &[r, c] : cells)
        if (r >= FirstRow && r <= LastRow && takesOff(c))
            table.setCell(r, c, QStringLiteral("OFF"));
}

void clearChannel(ChannelTable &table, int row)
{
    for (int c = FirstColumn; c <= LastColumn; ++c)
        table.setCell(row, c, takesOff(c) ? QStringLiteral("OFF") : QString());
}

void copyToNextChannel(ChannelTable &table, int row)
{
    if (row < FirstRow || row >= LastRow)
        return;
    for (int c = FirstColumn; c <= LastColumn; ++c)
        table.setCell(row + 1, c, table.cell(row, c));
}

QStringList fillByStep(ChannelTable &table, const QString &bandText, const QList<int> &rows, qint64 stepHz)
{
    if (rows.isEmpty())
        return {};
    const int first = rows.first();
    const auto rx0 = gridrules::frequencyHz(table.cell(first, ChannelTable::RxFreq));
    if (!rx0)
        return {refusalLine(first, ChannelTable::RxFreq, table.cell(first, ChannelTable::RxFreq),
                            QCoreApplication::translate("gridedits", "没有可作起点的接收频率"))};
    const auto tx0 = gridrules::frequencyHz(table.cell(first, ChannelTable::TxFreq)).value_or(*rx0);
    QStringList refused;
    for (qsizetype k = 1; k < rows.size(); ++k) {
        const int r = rows[k];
        const qint64 rxHz = *rx0 + k * stepHz;
        const qint64 txHz = tx0 + k * stepHz;
        if (rxHz < 0 || txHz < 0) {
            refused << refusalLine(r, ChannelTable::RxFreq, QString(),
                                   gridrules::messageFor(gridrules::LeaveOutcome::OutOfRange));
            continue;
        }
        const QString rx = hzText(rxHz);
        const QString tx = hzText(txHz);
        for (const auto &[c, v] : {std::pair{int(ChannelTable::RxFreq), rx}, std::pair{int(ChannelTable::TxFreq), tx}})
            if (const QString reason = applyValue(table, bandText, r, c, v); !reason.isEmpty())
                refused << refusalLine(r, c, v, reason);
    }
    return refused;
}

QStringList listFor(int column)
{
    switch (column) {
    case ChannelTable::RxSignal:
    case ChannelTable::TxSignal:
        return tables::signallingList();
    case ChannelTable::BusyLock:
        return tables::busyLockRows();
    case ChannelTable::Bandwidth:
        return tables::bandwidthRows();
    case ChannelTable::Power:
        return tables::powerRows();
    default:
        return {};
    }
}

} // namespace gridedits
