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

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString csvField(QString text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + text.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

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
    struct stat st{};
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
    PortRun(ParallelFleet &fleet, int port, int number, const codec::Image &image)
        : m_fleet(fleet), m_image(image)
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
        ParallelFleet *fleet = &m_fleet;
        const int port = radio.port;
        // Direct: the link goes on once the message has been taken down.
        connect(&link, &RadioLink::message, &write, [this](const LinkMessage &m) { radio.messages << m.text; },
                Qt::DirectConnection);
        connect(&write, &SafeWrite::stageStarted, &write, [fleet, port](SafeWrite::Stage stage) {
            QMetaObject::invokeMethod(fleet, [fleet, port, stage] { emit fleet->portStage(port, stage); },
                                      Qt::QueuedConnection);
        });
        const int maximum = write.progressMaximum();
        connect(&write, &SafeWrite::progressChanged, &write, [fleet, port, maximum](int value) {
            QMetaObject::invokeMethod(fleet, [fleet, port, value, maximum] { emit fleet->portProgress(port, value, maximum); },
                                      Qt::QueuedConnection);
        });
        connect(&write, &SafeWrite::captionChanged, &write, [fleet, port](const QString &caption) {
            QMetaObject::invokeMethod(fleet, [fleet, port, caption] { emit fleet->portCaption(port, caption); },
                                      Qt::QueuedConnection);
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
        radio.result = FleetWrite::resultOf(radio.outcome);
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

ParallelFleet::ParallelFleet(const QStringList &devices, QObject *parent) : QObject(parent), m_devices(devices) {}

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
                                     : tr("%1 和 %2 是同一个设备（%3）：每个端口只能连接一台对讲机")
                                           .arg(devices[j], devices[i], a);
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
        connect(run, &QThread::finished, this, [this, run] { onPortFinished(run); }, Qt::QueuedConnection);
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
    return tr("成功 %1 台，失败 %2 台").arg(m_succeeded).arg(m_failed);
}

QString ParallelFleet::shortfall() const
{
    const int asked = count > 0 ? count : count < 0 ? int(m_devices.size()) : 0;
    if (m_started >= asked && !(count == 0 && m_started == 0))
        return {};
    return tr("只写了 %1 台，要求 %2 台").arg(m_succeeded).arg(asked);
}

int ParallelFleet::exitCode() const
{
    return !m_cancelled && m_failed == 0 && m_succeeded > 0 && shortfall().isEmpty() ? 0 : 1;
}

Status ParallelFleet::checkLogPath(const QString &logPath)
{
    const QFileInfo info(logPath);
    if (info.exists() && !info.isFile())
        return Failure{Failure::PathFileAccessError,
                       tr("无法写入文件 %1：不是普通文件").arg(QDir::toNativeSeparators(logPath))};
    return {};
}

Status ParallelFleet::appendLog(const QString &logPath, const QString &file) const
{
    const QString shown = QDir::toNativeSeparators(logPath);
    QDir().mkpath(QFileInfo(logPath).absolutePath());
    // Non-blocking, so a FIFO without a reader is refused instead of waited on.
    const int fd = ::open(QFile::encodeName(logPath).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0)
        return Failure{Failure::PathFileAccessError,
                       tr("无法写入文件 %1：%2").arg(shown, QString::fromLocal8Bit(std::strerror(errno)))};
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Failure{Failure::PathFileAccessError, tr("无法写入文件 %1：不是普通文件").arg(shown)};
    }
    QFile log;
    if (!log.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return Failure{Failure::PathFileAccessError, tr("无法写入文件 %1：%2").arg(shown, log.errorString())};
    }
    // Stored values: the log stays Chinese whatever the language shown.
    QString text;
    if (st.st_size == 0)
        text += QStringLiteral("时间,文件,成功,失败,结果\n");
    const QString now = QDateTime::currentDateTime().toString(Qt::ISODate);
    for (const Radio &r : m_radios)
        text += QStringList{r.finished.toString(Qt::ISODate), csvField(file), csvField(r.device),
                            QString::number(r.number), r.result, csvField(QDir::toNativeSeparators(r.outcome.backupPath))}
                    .join(QLatin1Char(','))
                + QLatin1Char('\n');
    text += QStringList{now, csvField(file), QString::number(m_succeeded), QString::number(m_failed),
                        QStringLiteral("成功 %1 台，失败 %2 台").arg(m_succeeded).arg(m_failed)}
                .join(QLatin1Char(','))
            + QLatin1Char('\n');
    const QByteArray bytes = text.toUtf8();
    if (log.write(bytes) != bytes.size() || !log.flush())
        return Failure{Failure::DiskFull, tr("无法写入文件 %1：%2").arg(shown, log.errorString())};
    return {};
}
