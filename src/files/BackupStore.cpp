#include "files/BackupStore.h"

#include "channels/WorkingCopy.h"
#include "files/ChannelFile.h"
#include "support/AtomicFile.h"
#include "support/UserFolders.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QString stampFormat = QStringLiteral("yyyyMMdd-HHmmss");

const QRegularExpression &backupName()
{
    static const QRegularExpression re(QStringLiteral("^(\\d{8}-\\d{6})(?:-(\\d{1,4}))?\\.chp$"));
    return re;
}

QString fileName(const QDateTime &taken, int serial)
{
    const QString stamp = taken.toString(stampFormat);
    return serial <= 1 ? stamp + QStringLiteral(".chp") : QStringLiteral("%1-%2.chp").arg(stamp).arg(serial);
}

} // namespace

QByteArray imageChannelText(const codec::Image &image)
{
    QByteArray text;
    for (int n = 0; n < codec::BlockCount; ++n)
        text += codec::frame(0x52, n, image[size_t(n)]).toHex(' ').toUpper() + "\r\n";
    return text;
}

BackupStore::BackupStore(const QString &folder) : m_folder(folder) {}

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
        return Failure{Failure::PathFileAccessError,
                       QStringLiteral("无法创建文件夹 %1").arg(QDir::toNativeSeparators(dir))};
    // Also an existing folder: backups hold what the user's radios held.
    QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return {};
}

Result<QString> BackupStore::store(const codec::Image &image)
{
    if (Status s = makeFolder(); !s)
        return s.failure();
    const QDateTime taken = now();
    // The name is claimed with a private empty file first: the writer keeps an existing
    // file's permissions, and two writes within one second get different names.
    for (int serial = 1; serial < 10000; ++serial) {
        const QString path = QDir(folder()).filePath(fileName(taken, serial));
        const QByteArray native = QFile::encodeName(path);
        const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return Failure{errno == ENOSPC ? int(Failure::DiskFull) : int(Failure::PathFileAccessError),
                           QStringLiteral("无法写入备份 %1：%2").arg(QDir::toNativeSeparators(path),
                                                                     QString::fromLocal8Bit(std::strerror(errno)))};
        }
        ::close(fd);
        if (Status s = writeFileAtomically(path, imageChannelText(image)); !s) {
            QFile::remove(path);
            return Failure{s.failure().number, QStringLiteral("无法写入备份：") + s.failure().description};
        }
        prune();
        return path;
    }
    return Failure{Failure::PathFileAccessError, QStringLiteral("备份文件名已用尽")};
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
        found.append({dir.filePath(name), taken, m.captured(2).isEmpty() ? 1 : m.captured(2).toInt()});
    }
    std::sort(found.begin(), found.end(), [](const Named &a, const Named &b) {
        return a.taken != b.taken ? a.taken > b.taken : a.serial > b.serial;
    });
    return found;
}

int BackupStore::prune() const
{
    const QDateTime oldest = now().addDays(-KeepDays);
    const QList<Named> all = backups();
    int removed = 0;
    // Oldest first, so a removal that fails part-way keeps the newer ones.
    for (qsizetype i = all.size() - 1; i >= 0; --i) {
        if ((i >= MaxFiles || all[i].taken < oldest) && QFile::remove(all[i].path))
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
        BackupEntry e{b.path, b.taken, {}, {}};
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
        return Failure{Failure::FileNotFound, QStringLiteral("文件不存在：%1").arg(QDir::toNativeSeparators(path))};
    if (loaded.kind == LoadOutcome::Failed)
        return loaded.failure;
    wc.setState(fresh.state());
    return {};
}
