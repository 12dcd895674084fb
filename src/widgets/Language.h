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
//
// Windows not yet written that way build their Chinese texts themselves; in English
// every text such a window shows is looked up (lang::english) as the window is polished,
// shown or painted, and when a title, tooltip or action changes, and a return to Chinese
// puts the Chinese back. Their list items and table cells keep their Chinese and only
// their painting is English, so a choice still writes "高", not "High".
namespace language {

// The choice from 帮助 → "语言 / Language", remembered per user; Chinese when none.
lang::Language saved();
void save(lang::Language language);

// Chooses the language, at start or while windows are open: installs the translators
// (every widget gets QEvent::LanguageChange) and, for English, the lookup for windows
// without tr().
void apply(lang::Language language);

// Runs retranslateUi now and again after every change of language, while owner lives.
void retranslate(QObject *owner, std::function<void()> retranslateUi);

// Looks up every text of root and its children now.
void translateTree(QWidget *root);

// Every text that root and its children show (menus included, whether open or not)
// that still holds a Chinese character, as "where: text", one per text. In English
// each is a missing entry of translations/tarnik_en.ts.
QStringList untranslatedTexts(QWidget *root);

// The submenu "语言 / Language" with 中文 and English, added to the help menu before
// `before` (at the end when null). A choice changes every open window at once and is
// remembered for the next start.
QMenu *addLanguageMenu(QMenu *help, QAction *before = nullptr);

} // namespace language
