#include "files/BackupStore.h"

#include "channels/WorkingCopy.h"
#include "files/ChannelFile.h"
#include "support/AtomicFile.h"
#include "support/UserFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString stampFormat = QStringLiteral("yyyyMMdd-HHmmss");

// stamp, serial, port, fleet position; a port never holds "_".
const QRegularExpression &backupName()
{
    static const QRegularExpression re(
        QStringLiteral("^(\\d{8}-\\d{6})(?:-(\\d{1,4}))?(?:_([A-Za-z0-9.-]{1,48})(?:_(\\d{1,6}))?)?\\.chp$"));
    return re;
}

constexpr int MaxPortName = 48;

// The port as a part of a file name: the path below /dev ("ttyUSB0", "pts-3",
// "serial-by-id-usb-1a86-…"), other characters than letters, digits, "." and "-" made "-",
// the end kept when it is long.
QString portPart(const QString &device)
{
    QString name = device.startsWith(QStringLiteral("/dev/")) ? device.mid(5) : device.section(QLatin1Char('/'), -1);
    for (QChar &c : name)
        if (!(c.isDigit() || (c.unicode() < 0x80 && c.isLetter()) || c == QLatin1Char('.') || c == QLatin1Char('-')))
            c = QLatin1Char('-');
    return name.right(MaxPortName);
}

QString fileName(const QDateTime &taken, int serial, const BackupOrigin &origin)
{
    QString name = taken.toString(stampFormat);
    if (serial > 1)
        name += QStringLiteral("-%1").arg(serial);
    const QString port = portPart(origin.port);
    if (!port.isEmpty())
        name += QLatin1Char('_') + port;
    if (!port.isEmpty() && origin.fleetPosition > 0)
        name += QStringLiteral("_%1").arg(origin.fleetPosition);
    return name + QStringLiteral(".chp");
}

// Modification times as far as the file system keeps them, in local time.
QDateTime modifiedTime(const QString &path)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return QDateTime::fromMSecsSinceEpoch(qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1'000'000);
}

} // namespace

QByteArray imageChannelText(const codec::Image &image)
{
    QByteArray text;
    for (int n = 0; n < codec::BlockCount; ++n)
        text += codec::frame(0x52, n, image[size_t(n)]).toHex(' ').toUpper() + "\r\n";
    return text;
}

BackupStore::BackupStore(const QString &folder) : m_folder(folder)
{ }

QString BackupStore::defaultFolder()
{
    return userfolders::data() + QStringLiteral("/backups");
}

QString BackupStore::folder() const
{
    return m_folder.isEmpty() ? defaultFolder() : m_folder;
}

Status BackupStore::makeFolder() const
{
    const QString dir = folder();
    if (!QDir().mkpath(dir))
        return Failure{
            Failure::PathFileAccessError,
            QCoreApplication::translate("BackupStore", "无法创建文件夹 %1").arg(QDir::toNativeSeparators(dir))};
    // Also an existing folder: backups hold what the user's radios held.
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return {};
}

Result<QString> BackupStore::store(const codec::Image &image, const BackupOrigin &origin)
{
    if (Status s = makeFolder(); !s)
        return s.failure();
    const QDateTime taken = now();
    // The name is claimed with a private empty file first: the writer keeps an existing
    // file's permissions, and two writes within one second get different names.
    for (int serial = 1; serial < 10000; ++serial) {
        const QString path = QDir(folder()).filePath(fileName(taken, serial, origin));
        const QByteArray native = QFile::encodeName(path);
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return Failure{errno == ENOSPC ? int(Failure::DiskFull) : int(Failure::PathFileAccessError),
                           QCoreApplication::translate("BackupStore", "无法写入备份 %1：%2")
                               .arg(QDir::toNativeSeparators(path), QString::fromLocal8Bit(std::strerror(errno)))};
        }
        ::close(fd);
        if (Status s = writeFileAtomically(path, imageChannelText(image)); !s) {
            QFile::remove(path);
            return Failure{s.failure().number,
                           QCoreApplication::translate("BackupStore", "无法写入备份：%1").arg(s.failure().description)};
        }
        prune(path);
        return path;
    }
    return Failure{Failure::PathFileAccessError, QCoreApplication::translate("BackupStore", "备份文件名已用尽")};
}

QList<BackupStore::Named> BackupStore::backups() const
{
    QList<Named> found;
    const QDir dir(folder());
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch m = backupName().match(name);
        if (!m.hasMatch())
            continue;
        const QDateTime taken = QDateTime::fromString(m.captured(1), stampFormat);
        if (!taken.isValid())
            continue;
        const QString path = dir.filePath(name);
        found.append({path, taken, modifiedTime(path), m.captured(2).isEmpty() ? 1 : m.captured(2).toInt(),
                      m.captured(3), m.captured(4).toInt()});
    }
    std::sort(found.begin(), found.end(), [](const Named &a, const Named &b) {
        if (a.modified != b.modified)
            return a.modified > b.modified;
        if (a.taken != b.taken)
            return a.taken > b.taken;
        return a.serial != b.serial ? a.serial > b.serial : a.path > b.path;
    });
    return found;
}

int BackupStore::prune(const QString &keep) const
{
    const QDateTime ageLimit = now().addDays(-KeepDays);
    const QList<Named> all = backups();
    const bool keepListed = std::any_of(all.begin(), all.end(), [&](const Named &b) { return b.path == keep; });
    // Room for the others beside the one kept.
    const qsizetype room = MaxFiles - (keepListed ? 1 : 0);
    QList<bool> goes(all.size(), false);
    qsizetype staying = 0;
    for (qsizetype i = 0; i < all.size(); ++i) {
        if (all[i].path == keep)
            continue;
        // Old only when both its name and its file say so.
        const bool old = i >= ProtectedNewest && all[i].taken < ageLimit && all[i].modified < ageLimit;
        goes[i] = old || staying >= room;
        if (!goes[i])
            ++staying;
    }
    int removed = 0;
    // Oldest first, so a removal that fails part-way keeps the newer ones.
    for (qsizetype i = all.size() - 1; i >= 0; --i) {
        if (goes[i] && QFile::remove(all[i].path))
            ++removed;
    }
    return removed;
}

QList<BackupEntry> BackupStore::list() const
{
    QList<BackupEntry> entries;
    for (const Named &b : backups()) {
        // Read as a channel file is read, into a working copy of its own.
        WorkingCopy wc;
        wc.startUp(QString());
        const LoadOutcome loaded = loadChannelFile(wc, b.path);
        BackupEntry e{b.path, b.taken, {}, {}, b.port, b.fleetPosition};
        if (loaded.kind == LoadOutcome::Loaded) {
            e.model = wc.listText(WorkingCopy::List::Model);
            e.firstChannel = wc.cell(1, ChannelTable::RxFreq);
        }
        entries.append(e);
    }
    return entries;
}

Status BackupStore::loadInto(WorkingCopy &wc, const QString &path)
{
    WorkingCopy fresh;
    fresh.setState(wc.state());
    const LoadOutcome loaded = loadChannelFile(fresh, path);
    if (loaded.kind == LoadOutcome::Missing)
        return Failure{
            Failure::FileNotFound,
            QCoreApplication::translate("BackupStore", "文件不存在：%1").arg(QDir::toNativeSeparators(path))};
    if (loaded.kind == LoadOutcome::Failed)
        return loaded.failure;
    wc.setState(fresh.state());
    return {};
}
