#pragma once

#include "channels/WorkingCopy.h"
#include "link/Clock.h"
#include "link/ParallelFleet.h"
#include "link/RadioLink.h"
#include "link/RadioSim.h"
#include "link/SimTransport.h"

#include <QCoreApplication>
#include <QMutex>
#include <QTemporaryDir>
#include <QThread>

#include <array>
#include <atomic>
#include <memory>

// In-process radios for a parallel fleet, one a port, each in virtual time of its own on
// the port's thread, with a fault on one port.
namespace parallelrig {

enum Fault { NoFault, Corrupt, Silent, Busy, Cancel, OtherModel };
constexpr int Ports = 4;
constexpr int CorruptBlock = 5;
constexpr qint64 CancelAt = 4500; // ms: in the write stage (the backup takes about 3 s)

inline codec::Image fileImage()
{
    WorkingCopy wc;
    wc.startUp(QString());
    return *RadioLink::writeImage(wc);
}

// Each radio's memory differs from the file in every block but the model code, so any
// block written shows; each has a tuning of its own: power step 5, 10, 15, 20.
inline codec::Image radioMemory(int port, bool otherModel = false)
{
    codec::Image img = fileImage();
    for (codec::Block &block : img)
        for (quint8 &byte : block)
            byte ^= 0x5A;
    img[0][0] = fileImage()[0][0] ^ (otherModel ? 0x01 : 0x00);
    img[0][4] = 0x30;
    img[0][7] = quint8(5 * (port + 1));
    return img;
}

// The radios and what each port's line did. A port gets a fresh radio for every batch, as
// when the user swaps them; the lines are made on the ports' threads.
struct SimPorts
{
    QTemporaryDir dir;
    QStringList devices;
    std::array<RadioSimOptions, Ports> options;
    QMutex mutex;
    std::array<QList<std::shared_ptr<RadioSim>>, Ports> radios; // by port, then batch
    std::array<std::atomic<bool>, Ports> stalled{};
    std::atomic<bool> cancelPassedOn = false;
    ParallelFleet *fleet = nullptr;
    int faultyPort;
    Fault fault;

    SimPorts(int ports, int faultyPort, Fault fault) : faultyPort(faultyPort), fault(fault)
    {
        for (int port = 0; port < ports; ++port) {
            devices << QStringLiteral("sim%1").arg(port);
            RadioSimOptions &o = options[size_t(port)];
            o.baud = 9600;
            if (port == faultyPort) {
                o.corruptAtBlock = fault == Corrupt ? CorruptBlock : -1;
                o.silent = fault == Silent;
            }
        }
    }

    // The fleet's ports become these radios; its backups go to the temporary folder.
    void attach(ParallelFleet &f)
    {
        fleet = &f;
        f.backupFolder = dir.filePath(QStringLiteral("backups"));
        f.makeLine = [this](int port) {
            auto clock = std::make_unique<VirtualClock>();
            // The fleet's Cancel reaches the port as a queued call on its thread.
            clock->processQtEvents = true;
            VirtualClock *c = clock.get();
            RadioSim *radio = nullptr;
            {
                QMutexLocker lock(&mutex);
                radios[size_t(port)] << std::make_shared<RadioSim>(
                    options[size_t(port)], radioMemory(port, port == faultyPort && fault == OtherModel));
                radio = radios[size_t(port)].last().get();
            }
            auto line = std::make_unique<SimTransport>(radio, c);
            if (port == faultyPort && fault == Busy)
                line->refuseDevice = devices[port];
            // The user presses Cancel while this port writes; the port goes on only once
            // the fleet has passed the Cancel on, as a person's click would come first.
            if (port == faultyPort && fault == Cancel)
                c->post(CancelAt * Clock::Millisecond, [this] {
                    cancelFromAnyThread();
                    while (!cancelPassedOn)
                        QThread::yieldCurrentThread();
                    QCoreApplication::processEvents();
                });
            // Nothing left that could ever happen: the user would press Cancel.
            c->onStall = [this, port] {
                if (!stalled[size_t(port)].exchange(true))
                    cancelFromAnyThread();
            };
            return ParallelFleet::PortLine{std::move(clock), std::move(line)};
        };
    }

    void cancelFromAnyThread()
    {
        QMetaObject::invokeMethod(
            fleet,
            [this] {
                fleet->cancel();
                cancelPassedOn = true;
            },
            Qt::QueuedConnection);
    }

    const RadioSim &radio(int port, int batch = 0) const { return *radios[size_t(port)][batch]; }
};

} // namespace parallelrig
