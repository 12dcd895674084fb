#include "BoundedFile.h"
#include <QCoreApplication>

#include "support/SystemFailure.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Result<QByteArray> readRegularFile(const QString &path, qint64 maxBytes, Oversize oversize)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat st;
    // Looked at before opening: opening a serial device may raise its modem lines, and
    // opening a FIFO waits for a writer.
    if (::stat(native.constData(), &st) != 0)
        return systemFailure(path, errno);
    if (auto f = specialFileFailure(path, st.st_mode))
        return *f;

    // O_NONBLOCK, and the check again on what was opened: the name may have been
    // swapped for a FIFO or a device in between.
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return systemFailure(path, errno);
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::fstat(fd, &st) != 0)
        return systemFailure(path, errno);
    if (auto f = specialFileFailure(path, st.st_mode))
        return *f;

    QByteArray data;
    const qint64 want = oversize == Oversize::Refuse ? maxBytes + 1 : maxBytes;
    data.resize(qsizetype(qMin<qint64>(want, qMax<qint64>(st.st_size, 0) + 1)));
    qint64 got = 0;
    for (;;) {
        if (got == data.size()) {
            if (got >= want)
                break;
            data.resize(qsizetype(qMin<qint64>(want, qMax<qint64>(got * 2, 4096))));
        }
        const ssize_t n = ::read(fd, data.data() + got, size_t(data.size() - got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return systemFailure(path, errno);
        }
        if (n == 0)
            break;
        got += n;
    }
    data.truncate(qsizetype(got));
    if (oversize == Oversize::Refuse && got > maxBytes)
        return Failure{Failure::PathFileAccessError,
                       QCoreApplication::translate("BoundedFile", "%1：文件太大（超过 %2 字节）")
                           .arg(printable(path), QString::number(maxBytes))};
    return data;
}
