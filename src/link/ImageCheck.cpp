#include "link/ImageCheck.h"

#include <QDir>

ImageDifference compareImages(const codec::Image &written, const codec::Image &read)
{
    ImageDifference d;
    for (size_t n = 0; n < written.size(); ++n) {
        if (written[n] == read[n])
            continue;
        if (d.blocks++ > 0)
            continue;
        for (size_t i = 0; i < written[n].size(); ++i) {
            if (written[n][i] != read[n][i]) {
                d.firstAddress = int(8 * n + i);
                d.written = written[n][i];
                d.read = read[n][i];
                break;
            }
        }
    }
    return d;
}

QString verifyFailureText(const ImageDifference &d, const QString &backupPath)
{
    const QString address = QString::number(d.firstAddress, 16).toUpper().rightJustified(3, QLatin1Char('0'));
    QString text = QStringLiteral("校验失败：地址 0x%1 写入 %2，读回 %3；共 %4 块不同。")
                       .arg(address, codec::hex2(d.written), codec::hex2(d.read))
                       .arg(d.blocks);
    if (!backupPath.isEmpty())
        text += QStringLiteral("写频前的备份：%1").arg(QDir::toNativeSeparators(backupPath));
    return text;
}
