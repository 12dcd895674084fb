#include "ChannelDiff.h"

#include "channels/Tables.h"
#include "files/BackupStore.h"
#include "files/ChannelFile.h"

#include <QCoreApplication>
#include "support/SystemFailure.h"

#include <utility>

namespace {

using L = WorkingCopy::List;

QString shown(const QString &value)
{
    return value.isEmpty() ? QCoreApplication::translate("ChannelDiff", "（空）") : tables::shown(printable(value));
}

QString listText(const WorkingCopyState &s, L list)
{
    return WorkingCopy::rows(list).value(s.rows[size_t(list)]);
}

// The text of every compared field, in the order the differences are listed.
QList<std::pair<QString, QString>> fields(const WorkingCopyState &s)
{
    const std::pair<L, const char *> lists[] = {
        {L::Model, QT_TRANSLATE_NOOP("ChannelDiff", "机型")},
        {L::Monitor, QT_TRANSLATE_NOOP("ChannelDiff", "监听")},
        {L::PowerSave, QT_TRANSLATE_NOOP("ChannelDiff", "省电功能")},
        {L::TimeOut, QT_TRANSLATE_NOOP("ChannelDiff", "发射限时")},
        {L::Squelch, QT_TRANSLATE_NOOP("ChannelDiff", "静噪等级")},
        {L::Scan, QT_TRANSLATE_NOOP("ChannelDiff", "扫描功能")},
        {L::Voice, QT_TRANSLATE_NOOP("ChannelDiff", "语音报频")},
    };
    QList<std::pair<QString, QString>> f;
    for (const auto &[list, label] : lists)
        f.append({QCoreApplication::translate("ChannelDiff", label), listText(s, list)});
    f.append({QCoreApplication::translate("ChannelDiff", "晶体"),
              QString::fromUtf16(s.crystalChoice == 1 ? tables::crystal144 : tables::crystal13).trimmed()});
    f.append({QCoreApplication::translate("ChannelDiff", "中频"),
              QString::fromUtf16(s.signChoice == 1 ? tables::signNegative : tables::signPositive)});
    f.append({QCoreApplication::translate("ChannelDiff", "功率调整"), tables::powerStepRows().value(s.powerStep)});

    for (int c = 1; c < ChannelTable::Rows; ++c)
        for (int col = 1; col < ChannelTable::Columns; ++col)
            f.append(
                {QCoreApplication::translate("ChannelDiff", "信道 %1 %2").arg(c).arg(ChannelTable::shownTitle(col)),
                 s.cells[size_t(c)][size_t(col)]});
    return f;
}

} // namespace

QString FieldDifference::text() const
{
    return QStringLiteral("%1: %2 → %3").arg(field, shown(before), shown(after));
}

QList<FieldDifference> channelDifferences(const WorkingCopyState &before, const WorkingCopyState &after)
{
    const auto a = fields(before);
    const auto b = fields(after);
    QList<FieldDifference> diffs;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].second != b[i].second)
            diffs.append({a[i].first, a[i].second, b[i].second});
    return diffs;
}

Result<WorkingCopyState> channelFileState(const WorkingCopyState &base, const QString &path)
{
    const LoadedState loaded = loadChannelFileOver(base, path);
    switch (loaded.outcome.kind) {
    case LoadOutcome::Loaded:
        return loaded.state;
    case LoadOutcome::Missing:
        return Failure{Failure::FileNotFound,
                       QCoreApplication::translate("ChannelDiff", "%1：文件不存在").arg(printable(path))};
    case LoadOutcome::Failed:
        break;
    }
    return loaded.outcome.failure;
}

WorkingCopyState imageState(const WorkingCopyState &base, const codec::Image &image)
{
    WorkingCopy wc;
    wc.setState(base);
    // A byte the reader refuses leaves its field as it was, as a read would.
    loadChannelText(wc, imageChannelText(image));
    return wc.state();
}

QList<FieldDifference> unshownByteDifferences(const WorkingCopyState &base, const codec::Image &before,
                                              const codec::Image &after)
{
    QList<FieldDifference> bytes;
    std::optional<WorkingCopyState> shownBefore;
    for (int n = 0; n < codec::BlockCount; ++n) {
        for (int i = 0; i < 8; ++i) {
            const quint8 a = before[size_t(n)][size_t(i)];
            const quint8 b = after[size_t(n)][size_t(i)];
            if (a == b)
                continue;
            // The spare blocks are never read into the editor; a byte of the others counts
            // as shown when changing it alone changes some field.
            if (n < codec::DataBlocks) {
                if (!shownBefore)
                    shownBefore = imageState(base, before);
                codec::Image changed = before;
                changed[size_t(n)][size_t(i)] = b;
                if (!channelDifferences(*shownBefore, imageState(base, changed)).isEmpty())
                    continue;
            }
            const QString address = QString::number(8 * n + i, 16).toUpper().rightJustified(3, QLatin1Char('0'));
            bytes.append(
                {QCoreApplication::translate("ChannelDiff", "地址 0x%1（不属于任何信道或功能设置的字节）").arg(address),
                 codec::hex2(a), codec::hex2(b)});
        }
    }
    return bytes;
}

QList<FieldDifference> imageDifferences(const WorkingCopyState &base, const codec::Image &before,
                                        const codec::Image &after)
{
    return channelDifferences(imageState(base, before), imageState(base, after))
        + unshownByteDifferences(base, before, after);
}
