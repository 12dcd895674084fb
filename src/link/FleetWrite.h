#pragma once

#include "channels/Codec.h"
#include "link/SafeWrite.h"
#include "support/Failure.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

// The same image written to one radio after another, each with the safe write's stages,
// with a table of what happened to each radio and a summary at the end.
class FleetWrite : public QObject
{
    Q_OBJECT
public:
    struct Row
    {
        int number = 0;     // 1, 2, …
        QDateTime finished; // local time
        bool ok = false;
        QString result;     // "成功", "校验失败", "写频失败", "已取消", …
        QString backupPath;
        QString text;       // the safe write's whole result
    };

    explicit FleetWrite(SafeWrite &write, QObject *parent = nullptr);

    // Radios to write; 0 until nextRadio says stop.
    int count = 1;
    // Asked before radio k (k ≥ 2) once the user should have connected it; false stops
    // (the user is done, the input ended). Without it the radios follow at once.
    std::function<bool(int k)> nextRadio;

    // Runs until count radios are done, nextRadio says stop, or a radio's write is
    // cancelled (the user stops the whole run).
    QList<Row> run(const codec::Image &image);

    int succeeded() const { return m_succeeded; }
    int failed() const { return m_failed; }
    // "成功 a 台，失败 b 台"
    QString summary() const;
    // The table's result for one radio's safe write ("成功", "校验失败", …).
    static QString resultOf(const SafeWrite::Outcome &outcome);
    // 0 only when at least one radio was written and every one succeeded.
    int exitCode() const { return m_failed == 0 && m_succeeded > 0 ? 0 : 1; }

    // Appends the summary as a line "time,file,succeeded,failed,summary" to the log (a
    // header first when the log is new); created readable by the user alone.
    Status appendLog(const QString &logPath, const QString &file) const;
    // fleet-log.csv in the per-user data folder.
    static QString defaultLogPath();

signals:
    void radioStarted(int number);
    void radioDone(const FleetWrite::Row &row);

private:
    SafeWrite &m_write;
    int m_succeeded = 0;
    int m_failed = 0;
};
