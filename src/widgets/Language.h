#pragma once

#include "support/Translation.h"

#include <QString>
#include <QStringList>

#include <functional>

class QAction;
class QMenu;
class QObject;
class QWidget;

// The language of the windows.
//
// A window writes its texts with tr() in a retranslateUi() of its own, called from its
// constructor and from changeEvent() on QEvent::LanguageChange, which every widget gets
// when apply() changes the language. Code that builds widgets without a class of its own
// passes the setting of their texts to retranslate().
// Values (a list's "高", a cell's "是") stay Chinese where they are kept; views show them
// translated (see tables::shown).
namespace language {

// The choice from 帮助 → "语言 / Language", remembered per user; Chinese when none.
lang::Language saved();
void save(lang::Language language);

// Chooses the language, at start or while windows are open: installs the translators
// (every widget gets QEvent::LanguageChange).
void apply(lang::Language language);

// Runs retranslateUi now and again after every change of language, while owner lives.
void retranslate(QObject *owner, std::function<void()> retranslateUi);

// The submenu "语言 / Language" with 中文 and English, added to the help menu before
// `before` (at the end when null). A choice changes every open window at once and is
// remembered for the next start.
QMenu *addLanguageMenu(QMenu *help, QAction *before = nullptr);

} // namespace language
