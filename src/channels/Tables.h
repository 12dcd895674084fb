#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

// Fixed tables of the radio memory image and of the lists the user chooses from.
namespace tables {

// 261 signalling texts in code order: "OFF", 50 tones (1…50), 105 normal DCS codes
// (51…155, "D023N"…), 105 inverted DCS codes (156…260) in the radio's own order.
const QStringList &lookupList();
// The same 261 texts in the order the grid editor offers them: inverted codes ascending.
const QStringList &signallingList();

inline constexpr int LookupSize = 261;

struct Model
{
    const char16_t *name;
    const char *code; // two hex digits, the byte stored in the image
    int settingsKey; // 1…6: "PL1"…"PL6"
};
inline constexpr std::array<Model, 6> models{{
    {u"MX--905B(1)", "11", 1},
    {u"MX--905B(2)", "12", 2},
    {u"MX--905B(3)", "13", 3},
    {u"MX--905B(4)", "14", 6},
    {u"MX--905A(1)", "24", 4},
    {u"MX--905A(2)", "25", 5},
}};

// Rows of the lists, in order.
QStringList modelRows();
QStringList monitorRows(); // "打开", "关闭"
QStringList powerSaveRows(); // "有效", "无效"
QStringList timeOutRows(); // "关闭", "30s" … "300s"
QStringList squelchRows(); // "0" … "9"
QStringList scanRows(); // "有效", "无效"
QStringList voiceRows(); // "关", "中文", "英文"
QStringList powerStepRows(); // "-5" … "5"
QStringList busyLockRows(); // "是", "否"
QStringList bandwidthRows(); // "宽", "窄"
QStringList powerRows(); // "高", "中", "低"

// Crystal and intermediate-frequency sign options, as the tune window labels them.
inline constexpr char16_t crystal13[] = u"13MHz ";
inline constexpr char16_t crystal144[] = u"14.4MHz";
inline constexpr char16_t signPositive[] = u"正";
inline constexpr char16_t signNegative[] = u"负";

// Power step index 0…10 is stored as 5 × index.
inline constexpr int PowerSteps = 11;

// The values of the lists and of the channel cells stay Chinese wherever they are kept
// (working copy, files, CSV); shown() is how a view shows one: its English in the
// translation context "Value" while English is chosen, the value itself otherwise.
// Texts no list holds (frequencies, "OFF", "30s", model names) are shown as they stand.
QString shown(const QString &value);
// The row of rows that text names, in either language whatever is chosen (English case
// ignored): "高", "High" and "high" all name the row "高". −1 when none does.
qsizetype indexOfValue(const QStringList &rows, const QString &text);

// The settings key of a model row: "PL1", "PL2", "PL3", "PL6", "PL4", "PL5".
QString settingsKeyForModelRow(int row);

} // namespace tables
