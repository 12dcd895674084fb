#pragma once

#include <QStringList>
#include <QTextStream>

class WorkingCopy;

// Each command takes its arguments (without the command name) and returns the exit
// status: 0 success, 1 link failure or cancel, 2 usage or file error.
int runShow(const QStringList &args);
int runSaveCanonical(const QStringList &args);
int runDiff(const QStringList &args); // 0 equal, 1 different, 2 file error
int runReport(const QStringList &args);
int runPorts(const QStringList &args);
int runDoctor(const QStringList &args);
int runRead(const QStringList &args);
int runWrite(const QStringList &args);
int runExportCsv(const QStringList &args);
int runImportCsv(const QStringList &args);

QTextStream &out();
QTextStream &err();

// The working copy as the application has it after start-up.
void startUpWorkingCopy(WorkingCopy &wc);
// Loads a channel file as "打开" does; prints the failure and returns false otherwise.
bool loadForCli(WorkingCopy &wc, const QString &path);
