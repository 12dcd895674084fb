#pragma once

#include "channels/Codec.h"
#include "link/SafeWrite.h"
#include "support/Failure.h"

#include <QDateTime>
#include <QFile>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

// fleet-log.csv: a header "时间,文件,台号,端口,结果,备份,成功,失败", one row per radio as it
// is done, and a summary row (台号 "合计") at the end of a run. The values stay Chinese.
// Used by the fleet written one radio after another and by the one on several ports.
class FleetLog
{
public:
    // Opens the log for appending before the run: refused when the path is there but is no
    // regular file (a FIFO would stall the run, a device or folder takes no rows). The log
    // is created readable by the user alone, with the header when new (or when it was
    // written in an older layout). file: the channel file written, for every row.
    Status open(const QString &logPath, const QString &file);
    bool isOpen() const { return m_log.isOpen(); }
    // One radio's row; nothing when the log is not open.
    void radio(const QDateTime &finished, int number, const QString &port, const QString &result,
               const QString &backupPath);
    // Appends the summary row and closes the log; a problem writing any row of the run is
    // reported here.
    Status close(int succeeded, int failed);

private:
    void line(const QStringList &fields);

    QFile m_log;
    QString m_file; // the channel file, as the rows name it
    QString m_problem;
};

// The same image written to one radio after another, each with the safe write's stages,
// with a table of what happened to each radio and a summary at the end.
class FleetWrite : public QObject
{
    Q_OBJECT
public:
    enum class Result { Succeeded, VerifyFailed, LinkFailed, Cancelled, WrongModel, FileProblem };

    struct Row
    {
        int number = 0; // 1, 2, …
        QDateTime finished; // local time
        bool ok = false;
        Result kind = Result::LinkFailed;
        QString result; // resultWord(kind): the stored value, Chinese
        QString port; // the device written
        QString backupPath;
        QString text; // the safe write's whole result
    };

    explicit FleetWrite(SafeWrite &write, QObject *parent = nullptr);

    // Radios to write; 0 until nextRadio says stop.
    int count = 1;
    // Asked before radio k (k ≥ 2) once the user should have connected it; false stops
    // (the user is done, the input ended). Without it the radios follow at once.
    std::function<bool(int k)> nextRadio;
    // The device each radio is written on, for the table and the log.
    std::function<QString()> portName;

    // Runs until count radios are done, nextRadio says stop, or a radio's write is
    // cancelled (the user stops the whole run). With a log opened, each radio's row goes
    // into it as the radio is done.
    QList<Row> run(const codec::Image &image);

    int succeeded() const { return m_succeeded; }
    int failed() const { return m_failed; }
    // "成功 a 台，失败 b 台"
    QString summary() const;
    // "只写了 k 台，要求 N 台" when a count was asked for and fewer radios succeeded; empty
    // otherwise.
    QString shortfall() const;
    // 0 only when every radio asked for succeeded: count radios, or with count 0 at least
    // one radio and no failure.
    int exitCode() const;
    // The table's result for one radio's safe write ("成功", "校验失败", …).
    static QString resultOf(const SafeWrite::Outcome &outcome);

    // The stored word of a result: 成功, 校验失败, 通信失败, 取消, 机型不符, 文件错误.
    static QString resultWord(Result kind);
    // The same word as the user reads it, in the language shown.
    static QString shownResult(Result kind);
    static Result kindOf(const SafeWrite::Outcome &outcome);

    // The counts of any fleet run, with count radios asked for (0: until the input ended).
    static QString summaryOf(int succeeded, int failed);
    static QString shortfallOf(int count, int succeeded);
    static int exitCodeOf(int count, int succeeded, int failed);

    // The fleet log (see FleetLog): opened before the run, a row per radio as it is done,
    // the summary row when closed.
    Status openLog(const QString &logPath, const QString &file) { return m_log.open(logPath, file); }
    Status closeLog() { return m_log.close(m_succeeded, m_failed); }
    // fleet-log.csv in the per-user data folder.
    static QString defaultLogPath();

signals:
    void radioStarted(int number);
    void radioDone(const FleetWrite::Row &row);

private:
    SafeWrite &m_write;
    int m_succeeded = 0;
    int m_failed = 0;
    FleetLog m_log;
};
