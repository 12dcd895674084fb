#include "link/ImageCheck.h"

#include "files/ChannelDiff.h"

#include <QCoreApplication>
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

QString verifyFailureText(const codec::Image &written, const codec::Image &read, const QString &backupPath)
{
    // Enough lines to see what went wrong; a radio that stored nothing at all would
    // otherwise fill the screen.
    constexpr int MaxLines = 20;
    const QList<FieldDifference> differences = imageDifferences(WorkingCopy().state(), written, read);
    QStringList lines{QCoreApplication::translate("ImageCheck",
                                                  "校验失败：对讲机中读回的数据有 %n 处与写入的不同（写入 → 读回）：",
                                                  nullptr, int(differences.size()))};
    for (qsizetype i = 0; i < differences.size() && i < MaxLines; ++i)
        lines << differences[i].text();
    if (differences.size() > MaxLines)
        lines << QCoreApplication::translate("ImageCheck", "……另有 %n 处不同", nullptr,
                                             int(differences.size()) - MaxLines);
    lines << (backupPath.isEmpty() ? QCoreApplication::translate("ImageCheck", "请重新写频。")
                                   : QCoreApplication::translate("ImageCheck", "请重新写频；写频前的备份：%1")
                                         .arg(QDir::toNativeSeparators(backupPath)));
    return lines.join(QLatin1Char('\n'));
}
