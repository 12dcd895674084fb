#include "Translation.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTranslator>

#include <algorithm>

namespace lang {
namespace {

const QString EnglishQm = QStringLiteral(":/i18n/tarnik_en.qm");

Language g_language = Language::Chinese;
// The English of the tr() texts, installed in the application while English is chosen.
QPointer<QTranslator> g_installed;

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

} // namespace lang
