#include "link/RadioTuning.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

constexpr size_t FlagsByte = 4;
constexpr size_t PowerByte = 7;

QString powerText(quint8 b)
{
    const int index = codec::powerStepIndexForByte(b);
    // Index 0…10 stands for the steps -5…5.
    return index >= 0 ? QString::number(index - 5) : QStringLiteral("%1H").arg(codec::hex2(b));
}

QString crystalText(int c)
{
    return c ? QStringLiteral("14.4MHz") : QStringLiteral("13MHz");
}

QString signText(int s)
{
    return s ? QCoreApplication::translate("RadioTuning", "负") : QCoreApplication::translate("RadioTuning", "正");
}

} // namespace

RadioTuning RadioTuning::of(const codec::Image &image)
{
    const quint8 flags = image[0][FlagsByte];
    return {(flags & CrystalBit) ? 1 : 0, (flags & SignBit) ? 1 : 0, image[0][PowerByte]};
}

QString RadioTuning::text() const
{
    return QCoreApplication::translate("RadioTuning", "晶振 %1，中频 %2，功率档 %3")
        .arg(crystalText(crystal), signText(sign), powerText(powerByte));
}

QString TuningKept::text() const
{
    QStringList differs;
    if (radio.crystal != file.crystal)
        differs << QCoreApplication::translate("RadioTuning", "晶振 %1").arg(crystalText(file.crystal));
    if (radio.sign != file.sign)
        differs << QCoreApplication::translate("RadioTuning", "中频 %1").arg(signText(file.sign));
    if (radio.powerByte != file.powerByte)
        differs << QCoreApplication::translate("RadioTuning", "功率档 %1").arg(powerText(file.powerByte));
    const QString line = QCoreApplication::translate("RadioTuning", "已保留本机调整值：%1").arg(radio.text());
    if (differs.isEmpty())
        return line;
    return QCoreApplication::translate("RadioTuning", "%1（文件中为 %2）")
        .arg(line, differs.join(QCoreApplication::translate("RadioTuning", "，", "list separator")));
}

TuningKept keepRadioTuning(codec::Image &image, const codec::Image &backup)
{
    TuningKept kept{RadioTuning::of(backup), RadioTuning::of(image)};
    constexpr quint8 mask = RadioTuning::CrystalBit | RadioTuning::SignBit;
    quint8 &flags = image[0][FlagsByte];
    flags = quint8((flags & ~mask) | (backup[0][FlagsByte] & mask));
    image[0][PowerByte] = backup[0][PowerByte];
    return kept;
}
