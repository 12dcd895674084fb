#pragma once

#include "channels/Codec.h"
#include "link/FleetWrite.h"
#include "link/SafeWrite.h"
#include "support/Failure.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class Clock;
class Transport;

// The same image written to the radios on several serial ports at the same time, each
// with the whole safe write: its own backup, its own kept tuning, its own verification.
//
// Each port runs its link on a thread of its own with its own line and clock. A transfer
// waits in place (the 100 ms opening pauses, the wait for each acknowledgement), so on
// one thread the ports would only take turns. The ports share nothing but the image and
// the backup folder, whose file names are claimed atomically; a port that fails, hangs
// or is busy never holds up another. Progress and results come back as signals on the
// thread that owns the fleet.
//
// Radios are written in batches: one radio on each of the first k ports at once; between
// batches `nextBatch` asks for the next set of radios.
class ParallelFleet : public QObject
{
    Q_OBJECT
public:
    // What one port's link runs on; made on the port's own thread, used and destroyed there.
    struct PortLine
    {
        std::unique_ptr<Clock> clock; // outlives the transport, which may use it
        std::unique_ptr<Transport> transport;
    };

    // One radio's safe write.
    struct Radio
    {
        int number = 0; // fleet position: 1, 2, … over all batches
        int port = 0; // index into devices()
        QString device;
        QDateTime finished; // local time
        qint64 elapsedMs = 0;
        SafeWrite::Outcome outcome;
        FleetWrite::Result kind = FleetWrite::Result::LinkFailed;
        QString result; // FleetWrite::resultWord(kind): "成功", "校验失败", …, stored Chinese
        QStringList messages; // what the link said meanwhile (no answer, communication error)
    };

    // Devices as the user named them; they should have passed checkDistinct().
    explicit ParallelFleet(const QStringList &devices, QObject *parent = nullptr);
    // Cancels what still runs and waits for every port to close.
    ~ParallelFleet() override;

    const QStringList &devices() const { return m_devices; }

    // Makes the line of the port with this index; unset: the serial port and wall-clock time.
    std::function<PortLine(int port)> makeLine;
    SafeWrite::Options options;
    // Empty: the per-user backup folder.
    QString backupFolder;
    // Radios to write: -1 one radio on every port; N > 0 N radios in batches (the last one
    // on as many ports as radios are left); 0 batches until nextBatch says stop.
    int count = -1;
    // Asked before every batch after the first, with the number of ports it will use;
    // false stops (the input ended, the user is done). Unset: the batches follow at once.
    std::function<bool(int ports)> nextBatch;

    // Refuses two entries that name the same device: the same file once links (such as
    // those under /dev/serial/by-id/) are followed, or the same device node numbers.
    static Status checkDistinct(const QStringList &devices);

    // Starts one radio on each of the first `ports` ports and returns at once; batchDone
    // follows when every one of them has finished.
    void startBatch(const codec::Image &image, int ports);
    bool batchRunning() const { return m_runningPorts > 0; }
    // The whole run, batch after batch as count and nextBatch say, handling events
    // meanwhile; every radio written, in the order they finished.
    QList<Radio> run(const codec::Image &image);
    // Cancel from the user: every running port stops at its next pass and says what its
    // radio holds; no further batch starts.
    void cancel();
    bool cancelled() const { return m_cancelled; }

    const QList<Radio> &radios() const { return m_radios; }
    int succeeded() const { return m_succeeded; }
    int failed() const { return m_failed; }
    // As for radios written one after another (FleetWrite): "成功 a 台，失败 b 台";
    // "只写了 k 台，要求 N 台" when --count N radios did not all succeed; 0 only when every
    // radio asked for (without a count: one on every port) succeeded and nothing was
    // cancelled.
    QString summary() const;
    QString shortfall() const;
    int exitCode() const;

    // The fleet log, the same as FleetWrite's: opened before the first batch (refused
    // when it is no regular file), a row per radio with its port and fleet position as it
    // is done, the summary row when closed.
    Status openLog(const QString &logPath, const QString &file) { return m_log.open(logPath, file); }
    Status closeLog() { return m_log.close(m_succeeded, m_failed); }

signals:
    void batchStarted(int ports);
    void portStage(int port, SafeWrite::Stage stage);
    // value of maximum over the port's whole safe write.
    void portProgress(int port, int value, int maximum);
    void portCaption(int port, const QString &caption);
    void radioDone(const ParallelFleet::Radio &radio);
    void batchDone();

private:
    class PortRun;
    void onPortFinished(PortRun *run);

    QStringList m_devices;
    QList<PortRun *> m_runs;
    int m_runningPorts = 0;
    bool m_cancelled = false;
    QList<Radio> m_radios;
    int m_started = 0; // radios started, for the fleet position
    int m_succeeded = 0;
    int m_failed = 0;
    FleetLog m_log;
};
