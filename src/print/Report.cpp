#include "Report.h"

#include "channels/WorkingCopy.h"
#include "print/PageScript.h"

namespace {

struct CentredText
{
    double x;  // centre, cm
    double y;  // top, cm
    int size;  // points
    QString text;
};

} // namespace

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
            if (const Status s = script.PrintInLeft(5 + 2.3 * c, 7 + 0.5 * r, wc.cell(r, c), songTi, 12, true); !s)
                return s;
    return {};
}
