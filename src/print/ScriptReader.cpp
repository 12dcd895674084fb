#include "ScriptReader.h"
#include <QCoreApplication>

#include "print/PageScript.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Commands with exactly one argument line.
const QHash<QByteArray, ScriptCommand::Kind> &singleArgument()
{
    static const QHash<QByteArray, ScriptCommand::Kind> table{
        {"#x", ScriptCommand::X},
        {"#y", ScriptCommand::Y},
        {"#fontname", ScriptCommand::FontName},
        {"#fontsize", ScriptCommand::FontSize},
        {"#fontbold", ScriptCommand::FontBold},
        {"#fill", ScriptCommand::Fill},
        {"#color", ScriptCommand::Color},
        {"#txt_l", ScriptCommand::TxtL},
        {"#txt_c", ScriptCommand::TxtC},
        {"#txt_r", ScriptCommand::TxtR},
    };
    return table;
}

class LineSource
{
public:
    explicit LineSource(const QByteArray &bytes) : m_bytes(bytes) { }
    bool atEnd() const { return m_pos >= m_bytes.size(); }
    QByteArray next()
    {
        if (atEnd())
            return {};
        qsizetype end = m_bytes.indexOf('\n', m_pos);
        if (end < 0)
            end = m_bytes.size();
        QByteArray line = m_bytes.mid(m_pos, end - m_pos);
        m_pos = end + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        return line;
    }

private:
    const QByteArray &m_bytes;
    qsizetype m_pos = 0;
};

} // namespace

void parseScript(const QByteArray &bytes, const ScriptVisitor &visit)
{
    LineSource lines(bytes);
    while (!lines.atEnd()) {
        const QByteArray line = lines.next();
        ScriptCommand c;
        if (line == "#startpage") {
            c.kind = ScriptCommand::StartPage;
        } else if (line == "#endpage") {
            c.kind = ScriptCommand::EndPage;
        } else if (line == "#line") {
            c.kind = ScriptCommand::Line;
            c.x1 = ParseNumber(decodeScriptText(lines.next()));
            c.y1 = ParseNumber(decodeScriptText(lines.next()));
            c.x2 = ParseNumber(decodeScriptText(lines.next()));
            c.y2 = ParseNumber(decodeScriptText(lines.next()));
            c.colour = decodeScriptText(lines.next());
            c.colourNumber = ParseNumber(c.colour);
            c.style = decodeScriptText(lines.next());
        } else if (const auto it = singleArgument().constFind(line); it != singleArgument().cend()) {
            c.kind = it.value();
            c.arg = decodeScriptText(lines.next());
            c.number = ParseNumber(c.arg);
        } else {
            continue;
        }
        if (!visit(c))
            return;
    }
}

Status readScript(const QString &path, const ScriptVisitor &visit)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    const QString shown = QDir::toNativeSeparators(path);
    if (fd < 0) {
        const int err = errno;
        return Failure{err == ENOENT ? int(Failure::FileNotFound) : int(Failure::PathFileAccessError),
                       err == ELOOP
                           ? QCoreApplication::translate("ScriptReader", "%1：是符号链接，为安全起见不打开").arg(shown)
                           : QCoreApplication::translate("ScriptReader", "%1：%2").arg(shown, qt_error_string(err))};
    }
    QFile file;
    struct stat st
    { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !file.open(fd, QIODevice::ReadOnly, QFile::AutoCloseHandle)) {
        ::close(fd);
        return Failure{Failure::PathFileAccessError,
                       QCoreApplication::translate("ScriptReader", "%1：不是普通文件").arg(shown)};
    }
    const QByteArray bytes = file.readAll();
    file.close();
    parseScript(bytes, visit);
    return {};
}
