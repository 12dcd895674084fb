#pragma once

#include "channels/Codec.h"
#include "link/SafeWrite.h"

#include <QDialog>

#include <functional>
#include <memory>

class ParallelFleet;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableWidget;
class RadioLink;
class WorkingCopy;

// "批量写频…" over several ports at once: the serial ports the system lists (with their
// chips) to tick, a field for other devices, then one row per port with the stage, a
// progress bar and the result. One Cancel stops every port; after a batch 下一批 writes the
// next set of radios on the same ports. The fleet log is opened at 开始, gets a row per radio
// as it is done and the summary when the dialog closes.
class ParallelFleetDialog : public QDialog
{
    Q_OBJECT
public:
    // preselected: the device ticked at first (the main window's port).
    ParallelFleetDialog(const codec::Image &image, const SafeWrite::Options &options, const QString &preselected,
                        QWidget *parent = nullptr);
    ~ParallelFleetDialog() override;

    // Tests: lines for the ports (by default the serial ports and wall-clock time), the
    // backup folder and the fleet log.
    std::function<void(ParallelFleet &)> prepareFleet;
    QString logPath;

    // The devices ticked and typed, in order.
    QStringList chosenDevices() const;
    // Only the one port the main window already uses was chosen: the caller writes its
    // radios one after another instead (set when 开始 closes the dialog for that).
    bool singleMainPort() const { return m_singleMainPort; }

    QListWidget *portList() const { return m_ports; }
    QLineEdit *deviceField() const { return m_devices; }
    QTableWidget *table() const { return m_table; }
    QPushButton *startButton() const { return m_start; }
    QPushButton *cancelButton() const { return m_cancel; }
    QLabel *summaryLabel() const { return m_summary; }
    const ParallelFleet *fleet() const { return m_fleet.get(); }

    void reject() override;

private:
    enum class State { Choosing, Running, BetweenBatches, Finished };
    void onStart();
    void onCancel();
    void startBatch();
    void onBatchDone();
    void setState(State state);
    void closeLog();

    const codec::Image m_image;
    const SafeWrite::Options m_options;
    const QString m_mainPort;
    std::unique_ptr<ParallelFleet> m_fleet;
    State m_state = State::Choosing;
    bool m_singleMainPort = false;
    bool m_logClosed = false;
    QListWidget *m_ports = nullptr;
    QLineEdit *m_devices = nullptr;
    QTableWidget *m_table = nullptr;
    QList<QProgressBar *> m_bars;
    QLabel *m_prompt = nullptr;
    QLabel *m_summary = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_close = nullptr;
};

// "批量写频…": the port choice, then the radios on several ports at once; with only the
// main window's port chosen, its radios one after another as fleetWriteCommand writes them.
void parallelFleetCommand(QWidget *parent, WorkingCopy &wc, RadioLink &link, bool keepRadioTuning);
