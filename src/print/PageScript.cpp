#include "PageScript.h"
#include <QCoreApplication>

#include "print/ScriptRenderer.h"
#include "support/UserFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <cmath>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

Failure systemFailure(const QString &path, int err)
{
    const int number = (err == EACCES || err == EPERM) ? Failure::PermissionDenied
        : err == ENOSPC                                ? Failure::DiskFull
        : err == ENOENT                                ? Failure::FileNotFound
                                                       : Failure::PathFileAccessError;
    return Failure{
        number,
        QCoreApplication::translate("PageScript", "%1：%2").arg(QDir::toNativeSeparators(path), qt_error_string(err))};
}

Failure linkFailure(const QString &path)
{
    return Failure{Failure::PathFileAccessError,
                   QCoreApplication::translate("PageScript", "%1：是符号链接，为安全起见不打开")
                       .arg(QDir::toNativeSeparators(path))};
}

// Opens the script without following a link at its last component. O_NONBLOCK keeps a
// planted FIFO from blocking the open; anything but a regular file is refused.
Result<int> openScript(const QString &path, int flags)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), flags | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK, 0600);
    if (fd < 0) {
        const int err = errno;
        struct stat st
        { };
        if (err == ELOOP || (::lstat(name.constData(), &st) == 0 && S_ISLNK(st.st_mode)))
            return linkFailure(path);
        return systemFailure(path, err);
    }
    struct stat st
    { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Failure{
            Failure::PathFileAccessError,
            QCoreApplication::translate("PageScript", "%1：不是普通文件").arg(QDir::toNativeSeparators(path))};
    }
    return fd;
}

Status writeAll(int fd, const QByteArray &bytes, const QString &path)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return systemFailure(path, errno);
        }
        done += n;
    }
    return {};
}

QString centimetres(double cm)
{
    return scriptNumber(cm * PageScript::TwipsPerCm);
}

} // namespace

// ---------------------------------------------------------------------------

QString scriptNumber(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    const double a = std::fabs(value);
    // Decimals that leave seven significant digits; tiny values end up as 0.
    int decimals = 0;
    if (a > 0) {
        const int exponent = int(std::floor(std::log10(a)));
        decimals = std::clamp(6 - exponent, 0, 12);
    }
    QString s = QString::number(value, 'f', decimals);
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0')))
            s.chop(1);
        if (s.endsWith(QLatin1Char('.')))
            s.chop(1);
    }
    if (s == QLatin1String("-0"))
        s = QStringLiteral("0");
    return s.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

double ParseNumber(const QString &line)
{
    const QString s = QString(line).replace(QLatin1Char(','), QLatin1Char('.'));
    qsizetype i = 0;
    while (i < s.size() && (s[i] == QLatin1Char(' ') || s[i] == QLatin1Char('\t')))
        ++i;
    const qsizetype start = i;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        ++i;
    int digits = 0;
    while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        ++i;
        while (i < s.size() && s[i].isDigit() && s[i].unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    bool ok = false;
    const double v = s.mid(start, i - start).toDouble(&ok);
    return ok ? v : 0;
}

QByteArray encodeScriptText(const QString &text)
{
    // The converter puts "?" for a character GBK lacks and goes on. A surrogate without
    // its partner is made "?" first: the converter would hold a trailing one back forever.
    QString clean = text;
    for (qsizetype i = 0; i < clean.size(); ++i) {
        if (clean[i].isHighSurrogate() && i + 1 < clean.size() && clean[i + 1].isLowSurrogate())
            ++i;
        else if (clean[i].isSurrogate())
            clean[i] = QLatin1Char('?');
    }
    QStringEncoder gbk("GBK");
    return gbk.encode(clean);
}

QString decodeScriptText(const QByteArray &bytes)
{
    QStringDecoder gbk("GBK");
    return gbk.decode(bytes);
}

Status ensurePrivateFolder(const QString &folder)
{
    const QByteArray name = QFile::encodeName(folder);
    struct stat st
    { };
    if (::lstat(name.constData(), &st) != 0) {
        if (errno != ENOENT)
            return systemFailure(folder, errno);
        const QString parent = QFileInfo(folder).absolutePath();
        if (!QDir().mkpath(parent))
            return Failure{
                Failure::PathFileAccessError,
                QCoreApplication::translate("PageScript", "%1：无法创建文件夹").arg(QDir::toNativeSeparators(parent))};
        if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
            return systemFailure(folder, errno);
        if (::lstat(name.constData(), &st) != 0)
            return systemFailure(folder, errno);
    }
    if (S_ISLNK(st.st_mode))
        return linkFailure(folder);
    if (!S_ISDIR(st.st_mode))
        return Failure{
            Failure::PathFileAccessError,
            QCoreApplication::translate("PageScript", "%1：不是文件夹").arg(QDir::toNativeSeparators(folder))};
    if (st.st_uid != ::geteuid())
        return Failure{
            Failure::PermissionDenied,
            QCoreApplication::translate("PageScript", "%1：属于其他用户").arg(QDir::toNativeSeparators(folder))};
    if ((st.st_mode & 077) != 0 && ::chmod(name.constData(), 0700) != 0)
        return systemFailure(folder, errno);
    return {};
}

// ---------------------------------------------------------------------------

QString PageScript::fileName()
{
    return QStringLiteral("_$$_TEMP.TMP");
}

QString PageScript::defaultFolder()
{
    return userfolders::data() + QStringLiteral("/print");
}

PageScript::PageScript(QString folder) : m_folder(std::move(folder)), m_textWidth(scriptTextWidth)
{ }

QString PageScript::path() const
{
    return m_folder + QLatin1Char('/') + fileName();
}

Status PageScript::appendLines(const QStringList &lines) const
{
    if (const Status s = ensurePrivateFolder(m_folder); !s)
        return s;
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += encodeScriptText(line) + "\r\n";
    const Result<int> fd = openScript(path(), O_WRONLY | O_APPEND | O_CREAT);
    if (!fd)
        return fd.failure();
    const Status s = writeAll(*fd, bytes, path());
    if (::close(*fd) != 0 && s)
        return systemFailure(path(), errno);
    return s;
}

Status PageScript::AppendLine(const QString &text) const
{
    return appendLines({text});
}

Status PageScript::ClearScript() const
{
    if (const Status s = ensurePrivateFolder(m_folder); !s)
        return s;
    const Result<int> fd = openScript(path(), O_WRONLY | O_CREAT | O_TRUNC);
    if (!fd)
        return fd.failure();
    ::close(*fd);
    return {};
}

Status PageScript::DeleteScript() const
{
    if (::unlink(QFile::encodeName(path()).constData()) != 0 && errno != ENOENT && errno != ENOTDIR)
        return systemFailure(path(), errno);
    return {};
}

Status PageScript::StartPage(const QString &leftTitle, const QString &rightTitle) const
{
    if (const Status s = AppendLine(QStringLiteral("#startpage")); !s)
        return s;
    if (const Status s = PrintBox(2.0, 0.9, 18.0, 0.91); !s)
        return s;
    const QString arial = QStringLiteral("Arial");
    if (const Status s = PrintInLeft(2.0, 0.55, leftTitle, arial, 8, false); !s)
        return s;
    return PrintInRight(18.0, 0.55, rightTitle, arial, 8, false);
}

QStringList PageScript::textLines(const QString &command, double x, double y, const QString &text,
                                  const QString &fontName, int fontSize, bool bold) const
{
    return {QStringLiteral("#fontname"),
            fontName,
            QStringLiteral("#fontsize"),
            QString::number(fontSize),
            QStringLiteral("#fontbold"),
            bold ? QStringLiteral("-1") : QStringLiteral("0"),
            QStringLiteral("#y"),
            centimetres(y),
            QStringLiteral("#x"),
            centimetres(x),
            command,
            text};
}

Status PageScript::PrintInLeft(double x, double y, const QString &text, const QString &fontName, int fontSize,
                               bool bold) const
{
    return appendLines(textLines(QStringLiteral("#txt_l"), x, y, text, fontName, fontSize, bold));
}

Status PageScript::PrintInRight(double x, double y, const QString &text, const QString &fontName, int fontSize,
                                bool bold) const
{
    return appendLines(textLines(QStringLiteral("#txt_r"), x, y, text, fontName, fontSize, bold));
}

Status PageScript::PrintInCen(double x, double y, const QString &text, const QString &fontName, int fontSize,
                              bool bold) const
{
    const double width = m_textWidth ? m_textWidth(text, fontName, fontSize, bold) : 0.0;
    const double half = std::floor(width / 2);
    const double left = x * TwipsPerCm - half;
    if (left < 0) {
        if (m_notice)
            m_notice(QStringLiteral("PrintInCen"), QStringLiteral("Error in coords!!!!"));
        return {};
    }
    QStringList lines = textLines(QStringLiteral("#txt_c"), 0, y, text, fontName, fontSize, bold);
    lines[9] = scriptNumber(left);
    return appendLines(lines);
}

Status PageScript::PrintBox(double x1, double y1, double x2, double y2) const
{
    return appendLines({QStringLiteral("#fill"), QStringLiteral("1"), QStringLiteral("#color"), QStringLiteral("0"),
                        QStringLiteral("#line"), centimetres(x1), centimetres(y1), centimetres(x2), centimetres(y2),
                        QString(), QStringLiteral("B")});
}
