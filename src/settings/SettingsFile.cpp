#include "SettingsFile.h"

#include "support/AtomicFile.h"
#include "support/BoundedFile.h"
#include "support/SystemFailure.h"
#include "support/UserFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {

struct IniLine
{
    QByteArray text; // without its line end
    QByteArray eol; // "\r\n", "\n", "\r" or empty for a last line without one
};

QList<IniLine> splitLines(const QByteArray &data)
{
    QList<IniLine> lines;
    qsizetype start = 0;
    const qsizetype n = data.size();
    while (start < n) {
        qsizetype i = start;
        while (i < n && data[i] != '\n' && data[i] != '\r')
            ++i;
        IniLine l{data.mid(start, i - start), {}};
        if (i < n) {
            if (data[i] == '\r' && i + 1 < n && data[i + 1] == '\n') {
                l.eol = "\r\n";
                i += 2;
            } else {
                l.eol = data.mid(i, 1);
                i += 1;
            }
        }
        lines.append(l);
        start = i;
    }
    return lines;
}

QByteArray trimmed(const QByteArray &b)
{
    qsizetype s = 0, e = b.size();
    while (s < e && (b[s] == ' ' || b[s] == '\t'))
        ++s;
    while (e > s && (b[e - 1] == ' ' || b[e - 1] == '\t'))
        --e;
    return b.mid(s, e - s);
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<QByteArray> sectionName(const QByteArray &line)
{
    const QByteArray t = trimmed(line);
    if (!t.startsWith('['))
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return trimmed(t.mid(1, close - 1));
}

bool keyMatches(const QByteArray &line, const QByteArray &key, QByteArray *value)
{
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return false;
    if (trimmed(line.left(eq)).toLower() != key.toLower())
        return false;
    if (value)
        *value = line.mid(eq + 1);
    return true;
}

} // namespace

QByteArray settings::readFile(const QString &path)
{
    if (path.isEmpty())
        return {};
    const Result<QByteArray> data = readRegularFile(path, maxFileSize);
    return data ? *data : QByteArray();
}

std::array<QString, 6> settings::readBands(const QString &path)
{
    const QByteArray data = readFile(path);
    std::array<QString, 6> bands;
    for (int key = 1; key <= 6; ++key)
        bands[size_t(key - 1)] = readValue(data, QStringLiteral("Frequent"), QStringLiteral("PL%1").arg(key));
    return bands;
}

QString ReadSetting(const QString &section, const QString &key, const QString &filePath)
{
    return settings::readValue(settings::readFile(filePath), section, key);
}

QString settings::readValue(const QByteArray &data, const QString &section, const QString &key)
{
    const QByteArray wantSection = section.toUtf8().toLower();
    const QByteArray wantKey = key.toUtf8();
    bool inSection = false;
    for (const IniLine &l : splitLines(data)) {
        if (auto name = sectionName(l.text)) {
            inSection = name->toLower() == wantSection;
            continue;
        }
        QByteArray value;
        if (inSection && keyMatches(l.text, wantKey, &value)) {
            value = trimmed(value);
            const qsizetype nul = value.indexOf('\0');
            if (nul >= 0)
                value.truncate(nul);
            value.truncate(127);
            return printable(QString::fromUtf8(trimmed(value)));
        }
    }
    return {};
}

bool WriteSetting(const QString &section, const QString &key, const QString &value, const QString &filePath)
{
    if (filePath.isEmpty())
        return false;
    // An existing file that cannot be read whole (a device, a FIFO, a file too big) is
    // not replaced by one holding only the new key.
    QByteArray data;
    if (QFileInfo::exists(filePath)) {
        const Result<QByteArray> old = readRegularFile(filePath, settings::maxFileSize);
        if (!old)
            return false;
        data = *old;
    }
    const QFileInfo info(filePath);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    // Nor is it made bigger than the next start would read.
    const QByteArray updated = settings::withValue(data, section, key, value);
    if (updated.size() > settings::maxFileSize)
        return false;
    return writeFileAtomically(filePath, updated).ok();
}

QByteArray settings::withValue(const QByteArray &data, const QString &section, const QString &key, const QString &value)
{
    QList<IniLine> lines = splitLines(data);
    QByteArray eol = "\r\n";
    for (const IniLine &l : lines) {
        if (!l.eol.isEmpty()) {
            eol = l.eol;
            break;
        }
    }
    const QByteArray newLine = key.toUtf8() + '=' + value.left(128).toUtf8();
    const QByteArray wantSection = section.toUtf8().toLower();

    qsizetype sectionAt = -1, lastInSection = -1, keyAt = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (auto name = sectionName(lines[i].text)) {
            if (sectionAt >= 0)
                break;
            if (name->toLower() == wantSection) {
                sectionAt = i;
                lastInSection = i;
            }
            continue;
        }
        if (sectionAt < 0)
            continue;
        if (!trimmed(lines[i].text).isEmpty())
            lastInSection = i;
        if (keyMatches(lines[i].text, key.toUtf8(), nullptr)) {
            keyAt = i;
            break;
        }
    }

    if (!lines.isEmpty() && lines.last().eol.isEmpty() && keyAt != lines.size() - 1)
        lines.last().eol = eol;
    if (keyAt >= 0) {
        lines[keyAt].text = newLine;
    } else if (sectionAt >= 0) {
        lines.insert(lastInSection + 1, IniLine{newLine, eol});
    } else {
        lines.append(IniLine{'[' + section.toUtf8() + ']', eol});
        lines.append(IniLine{newLine, eol});
    }

    QByteArray out;
    for (const IniLine &l : lines)
        out += l.text + l.eol;
    return out;
}

namespace settings {

QString findCaseInsensitive(const QString &dir, const QString &name)
{
    const QDir d(dir);
    if (d.exists()) {
        const QStringList entries = d.entryList(QDir::Files | QDir::Hidden | QDir::System);
        if (entries.contains(name))
            return d.filePath(name);
        for (const QString &e : entries) {
            if (e.compare(name, Qt::CaseInsensitive) == 0)
                return d.filePath(e);
        }
    }
    return QDir(dir).filePath(name);
}

QString userSettingsPath()
{
    const QString dir = userfolders::config();
    return findCaseInsensitive(dir, QString::fromUtf16(fileName));
}

static QString besideExecutable()
{
    const QString dir = QCoreApplication::applicationDirPath();
    if (dir.isEmpty())
        return {};
    return findCaseInsensitive(dir, QString::fromUtf16(fileName));
}

QString readPath()
{
    const QString user = userSettingsPath();
    if (QFileInfo::exists(user))
        return user;
    const QString beside = besideExecutable();
    if (!beside.isEmpty() && QFileInfo::exists(beside))
        return beside;
    return user;
}

QString writePath()
{
    const QString user = userSettingsPath();
    if (!QFileInfo::exists(user)) {
        const QString beside = besideExecutable();
        if (!beside.isEmpty() && QFileInfo::exists(beside)) {
            QDir().mkpath(QFileInfo(user).absolutePath());
            QFile::copy(beside, user);
        }
    }
    return user;
}

} // namespace settings
