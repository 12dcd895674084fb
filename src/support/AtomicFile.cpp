#include "AtomicFile.h"

#include "support/SystemFailure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file a chain of symbolic links ends at, so a save replaces the target and keeps
// the links. The target need not exist (a dangling link names the file to create).
std::optional<QString> followLinks(const QString &path, int *err)
{
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hops = 0; hops < 40; ++hops) {
        const QByteArray native = QFile::encodeName(current);
        struct stat st;
        if (::lstat(native.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        QByteArray target(4096, Qt::Uninitialized);
        const ssize_t n = ::readlink(native.constData(), target.data(), size_t(target.size()));
        if (n < 0 || n >= target.size()) {
            *err = n < 0 ? errno : ENAMETOOLONG;
            return std::nullopt;
        }
        target.truncate(n);
        const QString next = QFile::decodeName(target);
        current = QDir::cleanPath(QFileInfo(current).absoluteDir().absoluteFilePath(next));
    }
    *err = ELOOP;
    return std::nullopt;
}

// Beside the target and hidden; says which program left it and for which file, should
// a power cut leave it behind.
QString temporaryNameFor(const QFileInfo &target)
{
    QString base = target.fileName();
    while (QFile::encodeName(base).size() > 180)
        base.chop(1);
    const QString program = QCoreApplication::applicationName().isEmpty() ? QStringLiteral("tarnik")
                                                                          : QCoreApplication::applicationName();
    // One multi-argument arg(): a "%1" in the file's name stays as it is.
    return target.absoluteDir().filePath(
        QStringLiteral(".%1.%2-%3-%4.tmp")
            .arg(base, program, QString::number(::getpid()),
                 QStringLiteral("%1").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))));
}

} // namespace

void ignoreFileSizeSignal()
{
    struct sigaction old
    { };
    if (::sigaction(SIGXFSZ, nullptr, &old) == 0 && old.sa_handler == SIG_DFL)
        std::signal(SIGXFSZ, SIG_IGN);
}

Status writeFileAtomically(const QString &path, const QByteArray &data)
{
    // Looked at on every save, as a library cannot know who changed it since.
    ignoreFileSizeSignal();

    int err = 0;
    const std::optional<QString> resolved = followLinks(path, &err);
    if (!resolved)
        return systemFailure(path, err);
    const QFileInfo info(*resolved);
    const QByteArray native = QFile::encodeName(*resolved);

    mode_t mode = 0666;
    struct stat st;
    const bool exists = ::stat(native.constData(), &st) == 0;
    if (exists) {
        if (auto f = specialFileFailure(path, st.st_mode))
            return *f;
        // Even where the system would let us (the superuser may write anything), a file
        // without write permission is one its owner meant to keep.
        if ((st.st_mode & 0222) == 0 || (::access(native.constData(), W_OK) != 0 && errno == EACCES))
            return Failure{Failure::PermissionDenied,
                           QCoreApplication::translate("AtomicFile", "%1：文件只读").arg(printable(path))};
        mode = st.st_mode & 07777;
    }

    const QByteArray tmpNative = QFile::encodeName(temporaryNameFor(info));
    const int fd = ::open(tmpNative.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
    if (fd < 0)
        return systemFailure(path, errno);

    auto fail = [&](int error) -> Status {
        ::close(fd);
        ::unlink(tmpNative.constData());
        return systemFailure(path, error);
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
    if (exists) {
        // The owner stays who it was where we may say so (else the file becomes ours);
        // O_CREAT applied the umask, so the permissions are set again.
        if (::fchown(fd, st.st_uid, st.st_gid) != 0) { }
        ::fchmod(fd, mode);
    }
    if (::fsync(fd) != 0 && errno != EINVAL)
        return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(tmpNative.constData());
        return systemFailure(path, error);
    }
    if (::rename(tmpNative.constData(), native.constData()) != 0) {
        const int error = errno;
        ::unlink(tmpNative.constData());
        return systemFailure(path, error);
    }
    return {};
}
