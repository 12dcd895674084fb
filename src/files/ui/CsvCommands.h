#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class WorkingCopy;

// "导入CSV…" and "导出CSV…": channel lists in the common CSV format, with their file
// dialogs and messages through the Prompter. A cancelled dialog does nothing.
class CsvCommands
{
public:
    CsvCommands(WorkingCopy &wc, QWidget *parent, QString folder = {});

    // "CSV(*.csv)" and "所有文件(*.*)".
    static QStringList nameFilters();

    // Each returns the file imported or written, empty when cancelled or failed. A name
    // typed without an extension is exported with ".csv".
    QString importCsv();
    QString exportCsv();

    // Imports onto the working copy in one take-over (setState), all sixteen channels
    // replaced, then says in one message how many channels came from the file, which
    // were emptied (no row, or a refused frequency), and every refused value. A file that
    // cannot be read or is no channel list changes nothing. True when taken over.
    bool importFrom(const QString &path);
    // Writes the channels; says how many, and which could not be written.
    bool exportTo(const QString &path);

    // The line that opens the import's message: "已导入 k 个信道；信道 3–16 不在文件中，已清空".
    static QString importSummary(int channels, const QList<int> &missing);

private:
    WorkingCopy &m_wc;
    QWidget *m_parent;
    QString m_folder;
};
