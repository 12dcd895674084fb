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
// afterwards and compared with what was sent. Each stage is a whole transfer of its own,
// with the bytes and pauses of the plain read and write, but all of them on one opening
// of the port, which is held (with its lock) from the first stage to the end. Between two
// stages the line settles first (RadioLine::settleLine), so a late answer to the stage
// before is not taken for the next one's. The stages run one after another on the
// caller's thread; the link's messages (watchdog, communication error) still come from
// the link.
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
        // Writes also when the backup shows a radio of another model than the image's.
        bool anyModel = false;
    };

    struct Outcome
    {
        bool ok = false;
        bool cancelled = false;
        std::optional<Stage> stoppedAt; // the stage that failed or was cancelled
        // Some block of the new data went out: the radio may hold part of it.
        bool radioChanged = false;
        // The backup showed another model than the image's, and nothing was written.
        bool wrongModel = false;
        QString backupPath;
        std::optional<TuningKept> tuning;
        ImageDifference difference;
        // Stopped before anything was sent because a file could not be made (no folder
        // for the stage reads' lines, the backup not stored); the radio was not touched.
        bool fileProblem = false;
        // The result for the user: the values kept and the verification, or why the
        // sequence stopped and what the radio holds now.
        QString text;
    };

    // None is owned. The stages' waits run on the link's own clock.
    SafeWrite(RadioLink &link, Clock &clock, BackupStore &store, QObject *parent = nullptr);

    Options options;
    // The radio's number in a fleet run (0: a single write); goes into the backup's name.
    int fleetPosition = 0;
    // Asked when the backup shows another model than the image's (and anyModel is off),
    // with both models' names; true writes anyway. Unset: the write stops.
    std::function<bool(const QString &radioModel, const QString &fileModel)> confirmOtherModel;

    Outcome run(const codec::Image &image);
    // Cancel from the user: the running stage stops at its next pass, no later stage starts.
    void cancel();

    static QString stageName(Stage stage);
    // The name of the model whose code is stored in block 0, byte 0 ("MX--905B(1)").
    static QString modelName(quint8 code);
    // The progress bar's range for the whole sequence: 128 steps per stage.
    int progressMaximum() const;

signals:
    // The stage's name and its step among those that run ("备份（1/3）"), then the
    // transfer's own caption.
    void captionChanged(const QString &caption);
    // 0…progressMaximum() over the whole sequence.
    void progressChanged(int value);
    // The link's RadioLine::waitingForRadio.
    void waitingForRadio(int seconds);
    void stageStarted(SafeWrite::Stage stage);

private:
    enum class StageEnd { Completed, Cancelled, Failed };
    StageEnd runStage(Stage stage, const std::function<Status()> &transfer, Outcome &out);
    QString stageCaption(const QString &caption) const;
    QString partialWriteText(const Outcome &out) const;
    // False when the radio's model differs from the image's and the write must not go on.
    bool modelAllowed(const codec::Image &backup, const codec::Image &image, Outcome &out);

    RadioLink &m_link;
    [[maybe_unused]] Clock &m_clock;
    BackupStore &m_store;
    QList<QMetaObject::Connection> m_connections;
    bool m_cancelled = false;
    bool m_writeStarted = false; // the write stage's transfer has begun
    int m_stageIndex = 0; // of the stage running, from 0
    int m_stageCount = 1;
    int m_progress = 0; // the link's progress within the running stage
    Stage m_stage = Stage::Write;
};
