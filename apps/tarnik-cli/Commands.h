#pragma once

#include <QStringList>
#include <QTextStream>

#include "channels/Codec.h"
#include "link/SafeWrite.h"

class RadioLink;
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

// The safe write's options of `write`: --no-backup, --no-verify, --file-tuning, --any-model,
// --count N.
struct SafeWriteRequest
{
    bool backup = true;
    bool verify = true;
    bool fileTuning = false;
    bool anyModel = false;
    int count = -1; // radios in a row, 0: until the input ends; -1: one radio, no fleet table
    // Exactly the plain write of one radio.
    bool plain() const { return !backup && !verify && count < 0; }
};
// Takes the options out of args; false on a bad --count.
bool takeSafeWriteOptions(QStringList &args, SafeWriteRequest &request);
// Writes the image to one radio after another with backup, kept tuning and verification
// as asked; the exit status (0 only when every radio written succeeded).
int runSafeWrites(RadioLink &link, const codec::Image &image, const QString &file, const SafeWriteRequest &request);

// What every radio's safe write runs with, from the write options.
SafeWrite::Options safeWriteOptions(const SafeWriteRequest &request);
// Takes every "--port DEV" and "--ports DEV1,DEV2,…" out of args, in order, into devices;
// false on a missing or empty device.
bool takePorts(QStringList &args, QStringList &devices);
// One radio on each device written at the same time, batch after batch as --count says;
// devices naming the same port are refused (2) before anything starts. The exit status:
// 0 only when every radio asked for succeeded.
int runParallelWrites(const QStringList &devices, const codec::Image &image, const QString &file,
                      const SafeWriteRequest &request);
