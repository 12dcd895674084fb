#pragma once

#include <functional>

class QDialog;
class QWidget;
class WorkingCopy;

// The tune-mode command (menu item "mnuTune"): the password dialog, then, after the right
// password, the tune window, both modal over `parent`. The tune window starts from the
// working copy as it stands and leaves its values there; the main window picks up the
// band through its activation afterwards. Returns true when the tune window was shown.
bool tuneModeCommand(QWidget *parent, WorkingCopy &wc);

// How the command runs a modal dialog and gets its result; tests drive the dialogs
// through it. nullptr restores QDialog::exec.
using ModalRunner = std::function<int(QDialog &)>;
void setModalRunner(ModalRunner runner);
