#pragma once

#include "support/Translation.h"

#include <QString>
#include <QStringList>

class QAction;
class QMenu;
class QWidget;

// English for the widgets. The widgets build their Chinese texts themselves; in English
// every text a window shows is looked up (lang::english) as the window is polished,
// shown or painted, and when a title, tooltip or action changes. Texts that code reads
// back as values — the items of a list and the cells of a table — keep their Chinese
// and only their painting is English, so a choice still writes "高", not "High".
namespace language {

// The choice from 帮助 → "语言 / Language", remembered per user; Chinese when none.
lang::Language saved();
void save(lang::Language language);

// Chooses the language for the run. English installs the lookup for every window;
// Chinese leaves the widgets as they are.
void apply(lang::Language language);

// Looks up every text of root and its children now.
void translateTree(QWidget *root);

// Every text that root and its children show (menus included, whether open or not)
// that still holds a Chinese character, as "where: text", one per text. In English
// each is a missing entry of translations/tarnik_en.ts.
QStringList untranslatedTexts(QWidget *root);

// The submenu "语言 / Language" with 中文 and English, added to the help menu before
// `before` (at the end when null). A choice is remembered and applies at the next start.
QMenu *addLanguageMenu(QMenu *help, QAction *before = nullptr);

} // namespace language
