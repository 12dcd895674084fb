#pragma once

#include "channels/Codec.h"
#include "link/ImageCheck.h"
#include "link/RadioTuning.h"
#include "support/Failure.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class BackupStore;
class Clock;
class RadioLink;

// A write wrapped in what makes it safe: the radio is read first and its memory kept as a
// backup, the image written keeps the radio's own tuning, and the radio is read back
// afterwards and compared with what was sent. Each stage is a whole transfer of its own
// (port opened, transfer, port closed), with the bytes and pauses of the plain read and
// write. The stages run one after another on the caller's thread; the link's messages
// (watchdog, communication error) still come from the link.
class SafeWrite : public QObject
{
    Q_OBJECT
public:
    enum class Stage { Backup, Write, Verify };

    struct Options
    {
        bool backup = true;
        bool verify = true;
        // The radio's crystal, sign and power step from the backup go into the image
        // written (only with a backup).
        bool keepTuning = true;
    };

    struct Outcome
    {
        bool ok = false;
        bool cancelled = false;
        std::optional<Stage> stoppedAt; // the stage that failed or was cancelled
        // Some block of the new data went out: the radio may hold part of it.
        bool radioChanged = false;
        QString backupPath;
        std::optional<TuningKept> tuning;
        ImageDifference difference;
        // Stopped before anything was sent because a file could not be made (no folder
        // for the stage reads' lines, the backup not stored); the radio was not touched.
        bool fileProblem = false;
        // The radio's model differs from the file's: stopped before any frame was sent.
        bool wrongModel = false;
        // The result for the user: the values kept and the verification, or why the
        // sequence stopped and what the radio holds now.
        QString text;
    };

    // None is owned. The clock paces the gap between two stages.
    SafeWrite(RadioLink &link, Clock &clock, BackupStore &store, QObject *parent = nullptr);

    Options options;
    // The radio's number in a fleet run (0: a single write); goes into the backup's name.
    int fleetPosition = 0;

    Outcome run(const codec::Image &image);
    // Cancel from the user: the running stage stops at its next pass, no later stage starts.
    void cancel();

    static QString stageName(Stage stage);
    // The progress bar's range for the whole sequence: 128 steps per stage.
    int progressMaximum() const;

    // After the port closes, the radio's answer to the last frame or acknowledgement of
    // a stage may still be on its way; the next stage opens the port only once it has
    // come and gone, so it cannot be taken as that stage's answer.
    static constexpr qint64 StageGap = 40; // ms

signals:
    // The stage's name and its step among those that run ("备份（1/3）"), then the
    // transfer's own caption.
    void captionChanged(const QString &caption);
    // 0…progressMaximum() over the whole sequence.
    void progressChanged(int value);
    void stageStarted(SafeWrite::Stage stage);

private:
    enum class StageEnd { Completed, Cancelled, Failed };
    StageEnd runStage(Stage stage, const std::function<Status()> &transfer, Outcome &out);
    QString stageCaption(const QString &caption) const;
    QString partialWriteText(const Outcome &out) const;

    RadioLink &m_link;
    Clock &m_clock;
    BackupStore &m_store;
    QList<QMetaObject::Connection> m_connections;
    bool m_cancelled = false;
    int m_stageIndex = 0;  // of the stage running, from 0
    int m_stageCount = 1;
    int m_progress = 0;    // the link's progress within the running stage
    Stage m_stage = Stage::Write;
};
