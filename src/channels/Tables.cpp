#include "Tables.h"

#include "support/Translation.h"

#include <QCoreApplication>

namespace tables {

namespace {

const char *const toneTexts[50] = {
    "67",    "69.3",  "71.9",  "74.4",  "77",    "79.7",  "82.5",  "85.4",  "88.5",  "91.5",  "94.8",  "97.4",  "100",
    "103.5", "107.2", "110.9", "114.8", "118.8", "123",   "127.3", "131.8", "136.5", "141.3", "146.2", "151.4", "156.7",
    "159.8", "162.2", "165.5", "167.9", "171.3", "173.8", "177.3", "179.9", "183.5", "186.2", "189.9", "192.8", "196.6",
    "199.5", "203.5", "206.5", "210.7", "218.1", "225.7", "229.1", "233.6", "241.8", "250.3", "254.1"};

// DCS codes by code byte 0x01…0x69.
const char normalCodes[] = "023 025 026 031 032 036 043 047 051 053 054 065 071 072 073 074 114 115 116 122 "
                           "125 131 132 134 143 145 152 155 156 162 165 172 174 205 212 223 225 226 243 244 "
                           "245 246 251 252 255 261 263 265 266 271 274 306 311 315 325 331 332 343 346 351 "
                           "356 364 365 371 411 412 413 423 431 432 445 446 452 454 455 462 464 465 466 503 "
                           "506 516 523 526 532 546 565 606 612 624 627 631 632 645 654 662 664 703 712 723 "
                           "731 732 734 743 754";
const char invertedCodes[] = "047 244 464 627 051 172 445 023 032 452 413 271 306 245 506 174 712 152 754 225 "
                             "365 364 546 223 412 274 115 731 265 503 251 036 074 263 356 134 122 411 351 025 "
                             "072 523 165 462 446 732 205 156 454 065 145 071 664 423 526 465 455 532 612 243 "
                             "212 131 125 734 226 143 054 315 723 516 043 255 053 266 332 252 026 331 662 162 "
                             "073 432 246 325 343 132 703 631 346 632 031 606 624 645 743 466 311 565 114 431 "
                             "155 261 371 654 116";

QStringList codes(const char *text, char suffix)
{
    QStringList out;
    for (const QByteArray &digits : QByteArray(text).split(' '))
        out << QLatin1Char('D') + QString::fromLatin1(digits) + QLatin1Char(suffix);
    return out;
}

QStringList fromUtf16(std::initializer_list<const char16_t *> texts)
{
    QStringList out;
    for (const char16_t *t : texts)
        out << QString::fromUtf16(t);
    return out;
}

// Every value a list or a channel cell holds that a view shows translated. 打开 and 关闭
// name states here ("On", "Off"), not the commands "Open" and "Close".
struct ValueText
{
    const char *source;
    const char *comment;
};
const ValueText valueTexts[] = {
    QT_TRANSLATE_NOOP3("Value", "打开", "state"), QT_TRANSLATE_NOOP3("Value", "关闭", "state"),
    QT_TRANSLATE_NOOP3("Value", "有效", ""),      QT_TRANSLATE_NOOP3("Value", "无效", ""),
    QT_TRANSLATE_NOOP3("Value", "关", ""),        QT_TRANSLATE_NOOP3("Value", "中文", ""),
    QT_TRANSLATE_NOOP3("Value", "英文", ""),      QT_TRANSLATE_NOOP3("Value", "是", ""),
    QT_TRANSLATE_NOOP3("Value", "否", ""),        QT_TRANSLATE_NOOP3("Value", "宽", ""),
    QT_TRANSLATE_NOOP3("Value", "窄", ""),        QT_TRANSLATE_NOOP3("Value", "高", ""),
    QT_TRANSLATE_NOOP3("Value", "中", ""),        QT_TRANSLATE_NOOP3("Value", "低", ""),
    QT_TRANSLATE_NOOP3("Value", "正", ""),        QT_TRANSLATE_NOOP3("Value", "负", ""),
};

const ValueText *valueText(const QString &value)
{
    for (const ValueText &v : valueTexts)
        if (value == QString::fromUtf8(v.source))
            return &v;
    return nullptr;
}

} // namespace

const QStringList &lookupList()
{
    static const QStringList list = [] {
        QStringList l{QStringLiteral("OFF")};
        for (const char *t : toneTexts)
            l << QString::fromLatin1(t);
        l << codes(normalCodes, 'N') << codes(invertedCodes, 'I');
        return l;
    }();
    return list;
}

const QStringList &signallingList()
{
    static const QStringList list = [] {
        QStringList l = lookupList().mid(0, 156);
        QStringList inverted = codes(normalCodes, 'I'); // ascending, like the normal codes
        l << inverted;
        return l;
    }();
    return list;
}

QStringList modelRows()
{
    QStringList out;
    for (const Model &m : models)
        out << QString::fromUtf16(m.name);
    return out;
}

QStringList monitorRows()
{
    return fromUtf16({u"打开", u"关闭"});
}
QStringList powerSaveRows()
{
    return fromUtf16({u"有效", u"无效"});
}
QStringList timeOutRows()
{
    QStringList out{QString::fromUtf16(u"关闭")};
    for (int s = 30; s <= 300; s += 30)
        out << QString::number(s) + QLatin1Char('s');
    return out;
}
QStringList squelchRows()
{
    QStringList out;
    for (int i = 0; i <= 9; ++i)
        out << QString::number(i);
    return out;
}
QStringList scanRows()
{
    return fromUtf16({u"有效", u"无效"});
}
QStringList voiceRows()
{
    return fromUtf16({u"关", u"中文", u"英文"});
}
QStringList powerStepRows()
{
    QStringList out;
    for (int i = -5; i <= 5; ++i)
        out << QString::number(i);
    return out;
}
QStringList busyLockRows()
{
    return fromUtf16({u"是", u"否"});
}
QStringList bandwidthRows()
{
    return fromUtf16({u"宽", u"窄"});
}
QStringList powerRows()
{
    return fromUtf16({u"高", u"中", u"低"});
}

QString shown(const QString &value)
{
    const ValueText *v = valueText(value);
    return v ? QCoreApplication::translate("Value", v->source, v->comment) : value;
}

qsizetype indexOfValue(const QStringList &rows, const QString &text)
{
    const QString t = text.trimmed();
    if (const qsizetype i = rows.indexOf(t); i >= 0)
        return i;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const ValueText *v = valueText(rows[i]);
        if (v && lang::englishFor("Value", v->source, v->comment).compare(t, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString settingsKeyForModelRow(int row)
{
    if (row < 0 || row >= int(models.size()))
        return {};
    return QStringLiteral("PL") + QString::number(models[size_t(row)].settingsKey);
}

} // namespace tables
