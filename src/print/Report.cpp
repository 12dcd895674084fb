#include "Report.h"

#include "channels/WorkingCopy.h"
#include "print/PageScript.h"

namespace {

struct CentredText
{
    double x; // centre, cm
    double y; // top, cm
    int size; // points
    QString text;
};

// Left edge of each channel-table column, cm. The table starts at 5 cm as it always
// did; the steps follow the widest text of each column in 宋体 12 bold (a frequency
// "450.10000" 2.1 cm, a four-character title 1.7 cm) with about 0.2 to 0.35 cm between
// columns, so the last title "发射功率" ends near 19.9 cm, inside the 1 cm margin of the
// 21 cm sheet. One step for all columns cannot fit the eight columns beside each other.
constexpr double columnLeft[ChannelTable::Columns] = {5.0, 6.2, 8.6, 11.0, 13.0, 15.0, 16.9, 18.2};

} // namespace

// The printed report is Chinese whatever language the windows speak, like the files:
// its texts are not written with tr() and its values are printed as kept.
Status writeReport(const PageScript &script, const WorkingCopy &wc)
{
    using L = WorkingCopy::List;
    if (const Status s = script.ClearScript(); !s)
        return s;
    if (const Status s = script.StartPage(QStringLiteral("打印预览"), QStringLiteral("第一页")); !s)
        return s;

    // "打描功能：" is the report's own spelling and is kept as printed.
    const CentredText titles[] = {
        {9, 1.5, 16, QStringLiteral("本机设置数据第一页")},
        {7, 2.5, 12, QStringLiteral("一整机功能设置部份")},
        {5, 3, 12, QStringLiteral("机型：") + wc.listText(L::Model)},
        {13, 3, 12, QStringLiteral("频率：") + wc.bandText()},
        {5, 3.5, 12, QStringLiteral("监听功能：") + wc.listText(L::Monitor)},
        {13, 3.5, 12, QStringLiteral("省电功能：") + wc.listText(L::PowerSave)},
        {5, 4, 12, QStringLiteral("发射限时：") + wc.listText(L::TimeOut)},
        {13, 4, 12, QStringLiteral("静噪等级：") + wc.listText(L::Squelch)},
        {5, 4.5, 12, QStringLiteral("打描功能：") + wc.listText(L::Scan)},
        {13, 4.5, 12, QStringLiteral("语音报频：") + wc.listText(L::Voice)},
        {7, 6.5, 12, QStringLiteral("二信道数据设置部份")},
    };
    const QString arial = QStringLiteral("Arial");
    for (const CentredText &t : titles)
        if (const Status s = script.PrintInCen(t.x, t.y, t.text, arial, t.size, true); !s)
            return s;

    const QString songTi = QStringLiteral("宋体");
    for (int r = 0; r < ChannelTable::Rows; ++r)
        for (int c = 0; c < ChannelTable::Columns; ++c)
            if (const Status s = script.PrintInLeft(columnLeft[c], 7 + 0.5 * r, wc.cell(r, c), songTi, 12, true); !s)
                return s;
    return {};
}
