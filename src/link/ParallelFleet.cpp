#include "link/ParallelFleet.h"

#include "files/BackupStore.h"
#include "link/Clock.h"
#include "link/FleetWrite.h"
#include "link/RadioLink.h"
#include "link/SerialTransport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>

#include <sys/stat.h>

namespace {

// Where a device name leads: the file behind every link, or the name itself, cleaned,
// when there is nothing there (yet).
QString canonicalDevice(const QString &device)
{
    const QFileInfo info(device);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

// The device numbers of a character device; 0 when the name is no such device.
dev_t deviceNumber(const QString &device)
{
    struct stat st
    { };
    if (::stat(QFile::encodeName(device).constData(), &st) != 0 || !S_ISCHR(st.st_mode))
        return 0;
    return st.st_rdev;
}

} // namespace

// One port's safe write, on a thread of its own. The line, the link and the safe write are
// made, used and destroyed on that thread; the fleet only reads the radio once the thread
// has finished.
class ParallelFleet::PortRun : public QThread
{
public:
    PortRun(ParallelFleet &fleet, int port, int number, const codec::Image &image) : m_fleet(fleet), m_image(image)
    {
        radio.number = number;
        radio.port = port;
        radio.device = fleet.m_devices[port];
    }

    // From the fleet's thread; reaches the safe write on its own thread at its next pass.
    void cancel()
    {
        QMutexLocker lock(&m_mutex);
        m_cancel = true;
        if (m_write)
            QMetaObject::invokeMethod(m_write, &SafeWrite::cancel, Qt::QueuedConnection);
    }

    Radio radio;

protected:
    void run() override
    {
        QElapsedTimer timer;
        timer.start();
        PortLine line = m_fleet.makeLine ? m_fleet.makeLine(radio.port) : PortLine{};
        if (!line.transport)
            line.transport = std::make_unique<SerialTransport>();
        if (!line.clock)
            line.clock = std::make_unique<SystemClock>();
        RadioLink link(line.transport.get(), line.clock.get());
        link.setCustomDevice(radio.device);
        BackupStore store(m_fleet.backupFolder);
        SafeWrite write(link, *line.clock, store);
        write.options = m_fleet.options;
        // The backup's name tells the port and the radio's place in the run.
        write.fleetPosition = radio.number;
        ParallelFleet *fleet = &m_fleet;
        const int port = radio.port;
        // Direct: the link goes on once the message has been taken down.
        connect(
            &link, &RadioLink::message, &write, [this](const LinkMessage &m) { radio.messages << m.text; },
            Qt::DirectConnection);
        connect(&write, &SafeWrite::stageStarted, &write, [fleet, port](SafeWrite::Stage stage) {
            QMetaObject::invokeMethod(
                fleet, [fleet, port, stage] { emit fleet->portStage(port, stage); }, Qt::QueuedConnection);
        });
        const int maximum = write.progressMaximum();
        connect(&write, &SafeWrite::progressChanged, &write, [fleet, port, maximum](int value) {
            QMetaObject::invokeMethod(
                fleet, [fleet, port, value, maximum] { emit fleet->portProgress(port, value, maximum); },
                Qt::QueuedConnection);
        });
        connect(&write, &SafeWrite::captionChanged, &write, [fleet, port](const QString &caption) {
            QMetaObject::invokeMethod(
                fleet, [fleet, port, caption] { emit fleet->portCaption(port, caption); }, Qt::QueuedConnection);
        });
        bool cancelledBefore = false;
        {
            QMutexLocker lock(&m_mutex);
            cancelledBefore = m_cancel;
            m_write = &write;
        }
        if (cancelledBefore) {
            radio.outcome.cancelled = true;
            radio.outcome.text = QCoreApplication::translate("ParallelFleet", "已取消：没有开始写频，对讲机未被改动。");
        } else {
            radio.outcome = write.run(m_image);
        }
        {
            QMutexLocker lock(&m_mutex);
            m_write = nullptr;
        }
        link.closePort();
        radio.kind = FleetWrite::kindOf(radio.outcome);
        radio.result = FleetWrite::resultWord(radio.kind);
        radio.finished = QDateTime::currentDateTime();
        radio.elapsedMs = timer.elapsed();
    }

private:
    ParallelFleet &m_fleet;
    const codec::Image m_image;
    QMutex m_mutex;
    bool m_cancel = false;
    SafeWrite *m_write = nullptr;
};

ParallelFleet::ParallelFleet(const QStringList &devices, QObject *parent) : QObject(parent), m_devices(devices)
{ }

ParallelFleet::~ParallelFleet()
{
    for (PortRun *run : std::as_const(m_runs)) {
        run->cancel();
        run->wait();
        delete run;
    }
}

Status ParallelFleet::checkDistinct(const QStringList &devices)
{
    for (int i = 0; i < devices.size(); ++i) {
        const QString a = canonicalDevice(devices[i]);
        const dev_t an = deviceNumber(devices[i]);
        for (int j = 0; j < i; ++j) {
            if (a != canonicalDevice(devices[j]) && (an == 0 || an != deviceNumber(devices[j])))
                continue;
            const QString text = devices[i] == devices[j]
                ? tr("端口 %1 给了两次：每个端口只能连接一台对讲机").arg(devices[i])
                : tr("%1 和 %2 是同一个设备（%3）：每个端口只能连接一台对讲机").arg(devices[j], devices[i], a);
            return Failure{Failure::InvalidPropertyValue, text};
        }
    }
    return {};
}

void ParallelFleet::startBatch(const codec::Image &image, int ports)
{
    ports = qBound(0, ports, int(m_devices.size()));
    emit batchStarted(ports);
    for (int port = 0; port < ports; ++port) {
        auto *run = new PortRun(*this, port, ++m_started, image);
        m_runs << run;
        ++m_runningPorts;
        connect(
            run, &QThread::finished, this, [this, run] { onPortFinished(run); }, Qt::QueuedConnection);
        if (m_cancelled)
            run->cancel();
        run->start();
    }
    if (ports == 0)
        emit batchDone();
}

void ParallelFleet::onPortFinished(PortRun *run)
{
    run->wait();
    m_runs.removeOne(run);
    const Radio radio = run->radio;
    delete run;
    m_radios << radio;
    ++(radio.outcome.ok ? m_succeeded : m_failed);
    m_log.radio(radio.finished, radio.number, radio.device, radio.result, radio.outcome.backupPath);
    --m_runningPorts;
    emit radioDone(radio);
    if (m_runningPorts == 0)
        emit batchDone();
}

QList<ParallelFleet::Radio> ParallelFleet::run(const codec::Image &image)
{
    for (int batch = 0; !m_cancelled; ++batch) {
        const int left = count > 0 ? count - m_started : int(m_devices.size());
        if (left <= 0 || (count < 0 && batch > 0))
            break;
        const int ports = qMin(left, int(m_devices.size()));
        if (batch > 0 && nextBatch && !nextBatch(ports))
            break;
        if (m_cancelled)
            break;
        QEventLoop loop;
        const auto done = connect(this, &ParallelFleet::batchDone, &loop, &QEventLoop::quit);
        startBatch(image, ports);
        if (batchRunning())
            loop.exec();
        disconnect(done);
    }
    return m_radios;
}

void ParallelFleet::cancel()
{
    m_cancelled = true;
    for (PortRun *run : std::as_const(m_runs))
        run->cancel();
}

QString ParallelFleet::summary() const
{
    return FleetWrite::summaryOf(m_succeeded, m_failed);
}

QString ParallelFleet::shortfall() const
{
    return FleetWrite::shortfallOf(count, m_succeeded);
}

int ParallelFleet::exitCode() const
{
    if (m_cancelled)
        return 1;
    return FleetWrite::exitCodeOf(count < 0 ? int(m_devices.size()) : count, m_succeeded, m_failed);
}
