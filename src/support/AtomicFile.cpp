#include "AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

Failure osFailure(const QString &path, int err)
{
    int number = Failure::PathFileAccessError;
    if (err == ENOSPC || err == EFBIG || err == EDQUOT)
        number = Failure::DiskFull;
    else if (err == EACCES || err == EPERM || err == EROFS)
        number = Failure::PermissionDenied;
    else if (err == EIO)
        number = Failure::DeviceIoError;
    return Failure{number, QStringLiteral("%1：%2").arg(path, QString::fromLocal8Bit(std::strerror(err)))};
}

} // namespace

Status writeFileAtomically(const QString &path, const QByteArray &data)
{
    const QFileInfo info(path);
    if (info.isDir())
        return Failure{Failure::PathFileAccessError, QStringLiteral("%1：这是一个文件夹").arg(path)};

    mode_t mode = 0666;
    struct stat st;
    const QByteArray native = QFile::encodeName(info.absoluteFilePath());
    const bool exists = ::stat(native.constData(), &st) == 0;
    if (exists)
        mode = st.st_mode & 07777;

    const QString tmpPath = info.absoluteDir().filePath(
        QStringLiteral(".%1.%2.tmp").arg(info.fileName()).arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    const QByteArray tmpNative = QFile::encodeName(tmpPath);
    const int fd = ::open(tmpNative.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0)
        return osFailure(path, errno);

    auto fail = [&](int err) -> Status {
        ::close(fd);
        ::unlink(tmpNative.constData());
        return osFailure(path, err);
    };

    const char *p = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(errno);
        }
        if (n == 0)
            return fail(ENOSPC);
        p += n;
        left -= n;
    }
    if (exists)
        ::fchmod(fd, mode); // O_CREAT applied the umask
    if (::fsync(fd) != 0 && errno != EINVAL)
        return fail(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(tmpNative.constData());
        return osFailure(path, err);
    }
    if (::rename(tmpNative.constData(), native.constData()) != 0) {
        const int err = errno;
        ::unlink(tmpNative.constData());
        return osFailure(path, err);
    }
    return {};
}
