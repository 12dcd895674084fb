#include "Translation.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QHash>
#include <QRegularExpression>
#include <QTextStream>
#include <QTranslator>
#include <QXmlStreamReader>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

namespace lang {
namespace {

const char Context[] = "Tarnik";
const QString TsPath = QStringLiteral(":/i18n/legacy_en.ts");
const QString QmPath = QStringLiteral(":/i18n/legacy_en.qm");
const QString EnglishQm = QStringLiteral(":/i18n/tarnik_en.qm");

Language g_language = Language::Chinese;
// The English of the tr() texts, installed in the application while English is chosen.
QPointer<QTranslator> g_installed;

struct Pattern
{
    QRegularExpression match;
    QString source;
    QList<int> order; // the placeholder number of each capture, in the order they appear
};

// The compiled table for exact entries, and the pattern sources read from the .ts (a
// compiled table cannot list its sources).
class Table
{
public:
    Table()
    {
        if (!m_translator.load(QmPath))
            return;
        QFile ts(TsPath);
        if (!ts.open(QIODevice::ReadOnly))
            return;
        QXmlStreamReader xml(&ts);
        static const QRegularExpression placeholder(QStringLiteral("%([1-9])"));
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("source")) {
                const QString source = xml.readElementText();
                // A source of placeholders only would match every text.
                if (source.contains(placeholder) && literalLength(source) > 0)
                    addPattern(source);
            }
        }
        // The most literal text first: "读频错误%1" before "%1错误%2".
        std::stable_sort(m_patterns.begin(), m_patterns.end(), [](const Pattern &a, const Pattern &b) {
            return literalLength(a.source) > literalLength(b.source);
        });
    }

    // Empty when the table has no entry.
    QString exact(const QString &source) const
    {
        return m_translator.translate(Context, source.toUtf8().constData());
    }

    QString fromPattern(const QString &text) const
    {
        for (const Pattern &p : m_patterns) {
            const QRegularExpressionMatch m = p.match.match(text);
            if (!m.hasMatch())
                continue;
            const QString target = exact(p.source);
            if (target.isEmpty())
                continue;
            std::map<int, QString> parts;
            for (int i = 0; i < p.order.size(); ++i)
                parts[p.order[i]] = english(m.captured(i + 1));
            return fill(target, parts);
        }
        return {};
    }

private:
    static int literalLength(const QString &source)
    {
        static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
        return int(QString(source).remove(placeholder).size());
    }

    void addPattern(const QString &source)
    {
        static const QRegularExpression placeholder(QStringLiteral("%([1-9])"));
        Pattern p;
        p.source = source;
        QString re = QStringLiteral("^");
        qsizetype at = 0;
        auto it = placeholder.globalMatch(source);
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            re += QRegularExpression::escape(source.mid(at, m.capturedStart() - at));
            re += QStringLiteral("(.*?)");
            p.order << m.captured(1).toInt();
            at = m.capturedEnd();
        }
        re += QRegularExpression::escape(source.mid(at)) + QLatin1Char('$');
        // A part never spans lines unless the source itself has several.
        p.match = QRegularExpression(re, source.contains(QLatin1Char('\n'))
                                             ? QRegularExpression::DotMatchesEverythingOption
                                             : QRegularExpression::NoPatternOption);
        m_patterns.push_back(std::move(p));
    }

    // %1…%9 of the English text replaced once each, so a part that itself holds "%2"
    // stays as it is.
    static QString fill(const QString &target, const std::map<int, QString> &parts)
    {
        QString out;
        for (qsizetype i = 0; i < target.size(); ++i) {
            const QChar c = target.at(i);
            if (c == QLatin1Char('%') && i + 1 < target.size()) {
                const int n = target.at(i + 1).digitValue();
                const auto part = parts.find(n);
                if (part != parts.end()) {
                    out += part->second;
                    ++i;
                    continue;
                }
            }
            out += c;
        }
        return out;
    }

    QTranslator m_translator;
    std::vector<Pattern> m_patterns;
};

const Table &table()
{
    static const Table t;
    return t;
}

// Writes whole lines through text(); holds a line back until its end arrives.
class LineTranslator : public QIODevice
{
public:
    explicit LineTranslator(FILE *stream) : m_stream(stream) { open(QIODevice::WriteOnly); }
    ~LineTranslator() override
    {
        if (!m_pending.isEmpty())
            put(line(QString::fromUtf8(m_pending)));
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        m_pending.append(data, size);
        qsizetype end;
        while ((end = m_pending.indexOf('\n')) >= 0) {
            put(line(QString::fromUtf8(m_pending.left(end))) + QLatin1Char('\n'));
            m_pending.remove(0, end + 1);
        }
        // A progress bar redraws its line in place ("\r…", flushed whole) and goes out now.
        if (m_pending.startsWith('\r')) {
            put(QLatin1Char('\r') + line(QString::fromUtf8(m_pending.mid(1))));
            m_pending.clear();
        }
        return size;
    }

private:
    // The terminal's "erase to the end of the line" stays out of the lookup.
    static QString line(QString s)
    {
        const QString erase = QStringLiteral("\x1b[K");
        const bool erases = s.endsWith(erase);
        if (erases)
            s.chop(erase.size());
        return text(s) + (erases ? erase : QString());
    }

    void put(const QString &s)
    {
        const QByteArray bytes = s.toUtf8();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_stream);
        std::fflush(m_stream);
    }

    FILE *m_stream;
    QByteArray m_pending;
};

// At namespace scope, so the devices outlive the streams (function statics made later)
// and a last line without its end still goes out.
std::map<FILE *, std::unique_ptr<LineTranslator>> g_devices;

// A text no entry covers as a whole: line by line; a line with space around it
// without the space; a line of columns (the CLI's tables) column by column.
QString piecewise(const QString &text)
{
    if (text.contains(QLatin1Char('\n'))) {
        QStringList lines = text.split(QLatin1Char('\n'));
        for (QString &line : lines)
            line = english(line);
        return lines.join(QLatin1Char('\n'));
    }
    const QString core = text.trimmed();
    if (core.size() != text.size()) {
        const qsizetype lead = text.indexOf(core);
        return text.left(lead) + english(core) + text.mid(lead + core.size());
    }
    static const QRegularExpression space(QStringLiteral("\\s+"));
    if (!text.contains(space))
        return {};
    // Each column keeps its start on a terminal, where a Chinese character takes two cells.
    const auto cells = [](const QString &s) {
        return s.size() + std::count_if(s.cbegin(), s.cend(), [](QChar c) { return hasCjk(QString(c)); });
    };
    QString out;
    qsizetype at = 0;
    auto it = space.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QString column = text.mid(at, m.capturedStart() - at);
        const QString translated = english(column);
        const qsizetype pad = cells(column) + m.capturedLength() - cells(translated);
        out += translated + (translated == column || m.captured().contains(QLatin1Char('\t'))
                                 ? m.captured()
                                 : QString(qMax<qsizetype>(pad, 1), QLatin1Char(' ')));
        at = m.capturedEnd();
    }
    return out + english(text.mid(at));
}

} // namespace

Language current()
{
    return g_language;
}

bool isEnglish()
{
    return g_language == Language::English;
}

void select(Language language)
{
    g_language = language;
    installTranslator();
}

void installTranslator()
{
    if (!QCoreApplication::instance())
        return;
    const bool english = g_language == Language::English;
    if (english == !g_installed.isNull())
        return;
    if (!english) {
        QCoreApplication::removeTranslator(g_installed);
        delete g_installed;
        return;
    }
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(EnglishQm)) {
        delete translator;
        return;
    }
    g_installed = translator;
    QCoreApplication::installTranslator(translator);
}

QString englishFor(const char *context, const char *source, const char *disambiguation)
{
    static QTranslator english;
    static const bool loaded = english.load(EnglishQm);
    const QString found = loaded ? english.translate(context, source, disambiguation) : QString();
    return found.isEmpty() ? QString::fromUtf8(source) : found;
}

std::optional<Language> parse(const QString &name)
{
    const QString n = name.trimmed().toLower();
    if (n == QLatin1String("en") || n == QLatin1String("english"))
        return Language::English;
    if (n == QLatin1String("zh") || n == QLatin1String("chinese") || n == QLatin1String("cn"))
        return Language::Chinese;
    return std::nullopt;
}

QString code(Language language)
{
    return language == Language::English ? QStringLiteral("en") : QStringLiteral("zh");
}

std::optional<Language> takeOption(QStringList &arguments, QString *error)
{
    std::optional<Language> chosen;
    const QString option = QStringLiteral("--lang");
    for (qsizetype i = 0; i < arguments.size();) {
        QString value;
        if (arguments[i] == option) {
            if (i + 1 >= arguments.size()) {
                if (error)
                    *error = QCoreApplication::translate("lang", "--lang 需要 en 或 zh");
                arguments.remove(i);
                return chosen;
            }
            value = arguments[i + 1];
            arguments.remove(i, 2);
        } else if (arguments[i].startsWith(option + QLatin1Char('='))) {
            value = arguments[i].mid(option.size() + 1);
            arguments.remove(i);
        } else {
            ++i;
            continue;
        }
        chosen = parse(value);
        if (!chosen && error)
            *error = QCoreApplication::translate("lang", "--lang 需要 en 或 zh，而不是 %1").arg(value);
    }
    return chosen;
}

std::optional<Language> scanOption(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return takeOption(arguments, nullptr);
}

bool hasCjk(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x3000 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF);
    });
}

QString english(const QString &chinese)
{
    if (!hasCjk(chinese))
        return chinese;
    static QHash<QString, QString> cache;
    if (const auto hit = cache.constFind(chinese); hit != cache.cend())
        return *hit;
    QString result = table().exact(chinese);
    if (result.isEmpty())
        result = table().fromPattern(chinese);
    if (result.isEmpty())
        result = piecewise(chinese);
    if (result.isEmpty())
        result = chinese;
    cache.insert(chinese, result);
    return result;
}

QString text(const QString &chinese)
{
    return isEnglish() ? english(chinese) : chinese;
}

QStringList text(const QStringList &chinese)
{
    QStringList out;
    out.reserve(chinese.size());
    for (const QString &s : chinese)
        out << text(s);
    return out;
}

bool route(QTextStream &stream, FILE *file)
{
    if (!isEnglish())
        return false;
    std::unique_ptr<LineTranslator> &d = g_devices[file];
    if (!d)
        d = std::make_unique<LineTranslator>(file);
    stream.flush();
    stream.setDevice(d.get());
    return true;
}

} // namespace lang
