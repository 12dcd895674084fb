#include "SystemFailure.h"
#include <QCoreApplication>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

Failure systemFailure(const QString &path, int err)
{
    int number = Failure::PathFileAccessError;
    if (err == ENOSPC || err == EFBIG || err == EDQUOT)
        number = Failure::DiskFull;
    else if (err == EACCES || err == EPERM || err == EROFS)
        number = Failure::PermissionDenied;
    else if (err == EIO)
        number = Failure::DeviceIoError;
    else if (err == ENOENT || err == ENOTDIR)
        number = Failure::FileNotFound;
    QString text = QString::fromLocal8Bit(std::strerror(err));
    if (err == EFBIG)
        text = QCoreApplication::translate("SystemFailure", "文件超出了允许的大小（文件大小限制，见 ulimit -f）：%1")
                   .arg(text);
    return Failure{number, QCoreApplication::translate("SystemFailure", "%1：%2").arg(printable(path), text)};
}

std::optional<Failure> specialFileFailure(const QString &path, mode_t mode)
{
    const char *what = nullptr;
    if (S_ISREG(mode))
        return std::nullopt;
    if (S_ISDIR(mode))
        return Failure{Failure::PathFileAccessError,
                       QCoreApplication::translate("SystemFailure", "%1：这是一个文件夹").arg(printable(path))};
    if (S_ISFIFO(mode))
        what = QT_TRANSLATE_NOOP("SystemFailure", "管道（FIFO）");
    else if (S_ISCHR(mode) || S_ISBLK(mode))
        what = QT_TRANSLATE_NOOP("SystemFailure", "设备");
    else if (S_ISSOCK(mode))
        what = QT_TRANSLATE_NOOP("SystemFailure", "套接字");
    else
        what = QT_TRANSLATE_NOOP("SystemFailure", "特殊文件");
    return Failure{Failure::PathFileAccessError,
                   QCoreApplication::translate("SystemFailure", "%1：这是一个%2，不是普通文件")
                       .arg(printable(path), QCoreApplication::translate("SystemFailure", what))};
}

QString printable(QString text)
{
    for (QChar &c : text)
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    return text;
}
