#pragma once

class QAction;

// What each command of the menus and the toolbar does, in a line: its tooltip and its
// hint in the status bar, found by the action's object name.
namespace commandhints {

void apply(QAction *action);

} // namespace commandhints
