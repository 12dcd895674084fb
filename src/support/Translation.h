#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The program speaks Chinese unless English is chosen (the menu's remembered choice or
// --lang en); the system locale never decides. Texts are written in Chinese with tr() or
// QCoreApplication::translate(); their English is translations/tarnik_en.ts, whose
// translator select() installs in the application while English is chosen (installing
// or removing it sends every widget QEvent::LanguageChange).
namespace lang {

enum class Language { Chinese, English };

Language current();
bool isEnglish();
// Chooses the language; with an application object, also installs or removes the
// English translator.
void select(Language language);
// Brings the installed translator in line with the chosen language: for a choice made
// before the application object existed.
void installTranslator();

// The English of a tr() text whatever language is chosen (the source when it has none):
// for reading input that may be in either language.
QString englishFor(const char *context, const char *source, const char *disambiguation = nullptr);

// "en"/"english" and "zh"/"chinese"/"cn", any case.
std::optional<Language> parse(const QString &name);
QString code(Language language);

// Takes "--lang X" or "--lang=X" out of the arguments. Returns the language named, or
// nothing when the option is absent; `error` gets a message for a bad or missing value.
std::optional<Language> takeOption(QStringList &arguments, QString *error);
// The same for main()'s arguments, before any application object exists.
std::optional<Language> scanOption(int argc, char **argv);

// A character of the CJK ideograph, punctuation or full-width ranges
// (U+3000–U+9FFF, U+FF00–U+FFEF).
bool hasCjk(const QString &text);

} // namespace lang
