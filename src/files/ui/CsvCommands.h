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

    void importCsv();
    void exportCsv();

    // Imports onto the working copy in one take-over (setState), then lists the
    // channels taken and every refused value in one message. A file that cannot be read
    // or is no channel list changes nothing. True when channels were taken over.
    bool importFrom(const QString &path);
    // Writes the channels; says how many, and which could not be written.
    bool exportTo(const QString &path);

private:
    WorkingCopy &m_wc;
    QWidget *m_parent;
    QString m_folder;
};
