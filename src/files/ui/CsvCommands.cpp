#include "CsvCommands.h"

#include "channels/WorkingCopy.h"
#include "files/ChannelCsv.h"
#include "files/ui/FileCommands.h"
#include "widgets/AppInfo.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>
#include <QDir>

namespace {

// A message box stays readable: the first refusals, then how many more.
constexpr int ListedRefusals = 20;

} // namespace

CsvCommands::CsvCommands(WorkingCopy &wc, QWidget *parent, QString folder)
    : m_wc(wc), m_parent(parent), m_folder(folder.isEmpty() ? QDir::currentPath() : std::move(folder))
{ }

QStringList CsvCommands::nameFilters()
{
    return {QStringLiteral("CSV(*.csv)"), QCoreApplication::translate("CsvCommands", "所有文件(*.*)")};
}

QString CsvCommands::importCsv()
{
    const QString path = Prompter::instance().openFileName(
        m_parent, QCoreApplication::translate("CsvCommands", "导入CSV"), m_folder, nameFilters());
    return !path.isEmpty() && importFrom(path) ? path : QString();
}

QString CsvCommands::exportCsv()
{
    const QString title = QCoreApplication::translate("CsvCommands", "导出CSV");
    QString path = Prompter::instance().saveFileName(m_parent, title, m_folder, nameFilters());
    if (!path.isEmpty())
        path = FileCommands::withSuffix(m_parent, path, QStringLiteral(".csv"), title);
    return !path.isEmpty() && exportTo(path) ? path : QString();
}

namespace {

// "3–16", "2, 5, 9–16": ascending channel numbers with their runs joined.
QString channelRuns(const QList<int> &channels)
{
    QStringList runs;
    for (qsizetype i = 0; i < channels.size();) {
        qsizetype j = i;
        while (j + 1 < channels.size() && channels[j + 1] == channels[j] + 1)
            ++j;
        runs << (j == i ? QString::number(channels[i]) : QStringLiteral("%1–%2").arg(channels[i]).arg(channels[j]));
        i = j + 1;
    }
    return runs.join(QStringLiteral(", "));
}

} // namespace

QString CsvCommands::importSummary(int channels, const QList<int> &missing)
{
    if (missing.isEmpty())
        return QCoreApplication::translate("CsvCommands", "已导入 %n 个信道", nullptr, channels);
    return QCoreApplication::translate("CsvCommands", "已导入 %n 个信道；信道 %1 不在文件中，已清空", nullptr, channels)
        .arg(channelRuns(missing));
}

bool CsvCommands::importFrom(const QString &path)
{
    const Result<channelcsv::Import> imported = channelcsv::loadCsv(path, m_wc.state());
    if (!imported) {
        Prompter::instance().message(m_parent, QMessageBox::Critical, QString::number(imported.failure().number),
                                     imported.failure().description);
        return false;
    }
    m_wc.setState(imported->state);

    QList<int> missing = imported->emptied;
    for (int channel : imported->frequencyRefused)
        missing.removeOne(channel);
    QStringList lines{importSummary(imported->channels, missing)};
    for (int channel : imported->frequencyRefused)
        lines << QCoreApplication::translate("CsvCommands", "信道 %1 的频率未采用，信道已清空").arg(channel);
    QString text = lines.join(QLatin1Char('\n'));
    const QList<channelcsv::Refusal> &refusals = imported->refusals;
    if (!refusals.isEmpty()) {
        text += QStringLiteral("\n\n")
            + QCoreApplication::translate("CsvCommands", "以下 %n 个数值未采用：", nullptr, int(refusals.size()));
        for (qsizetype i = 0; i < refusals.size() && i < ListedRefusals; ++i)
            text += QLatin1Char('\n') + channelcsv::describe(refusals[i]);
        if (refusals.size() > ListedRefusals)
            text += QLatin1Char('\n')
                + QCoreApplication::translate("CsvCommands", "……另有 %n 个", nullptr,
                                              int(refusals.size() - ListedRefusals));
    }
    Prompter::instance().message(m_parent, refusals.isEmpty() ? QMessageBox::Information : QMessageBox::Warning,
                                 appinfo::title(), text);
    return true;
}

bool CsvCommands::exportTo(const QString &path)
{
    const Result<channelcsv::Export> e = channelcsv::saveCsv(m_wc.state(), path);
    if (!e) {
        Prompter::instance().message(m_parent, QMessageBox::Critical,
                                     QCoreApplication::translate("CsvCommands", "错误"), e.failure().description);
        return false;
    }
    QString text =
        QCoreApplication::translate("CsvCommands", "已导出 %n 个信道到 %1。", nullptr, e->channels).arg(path);
    for (int channel : e->unreadable)
        text += QLatin1Char('\n')
            + QCoreApplication::translate("CsvCommands", "信道 %1 的频率无法读出，未导出。").arg(channel);
    Prompter::instance().message(m_parent, e->unreadable.isEmpty() ? QMessageBox::NoIcon : QMessageBox::Warning,
                                 appinfo::title(), text);
    return true;
}
