#pragma once

#include <functional>

class MainWindow;
class RadioLink;

// Plugs the commands of the other subsystems (print, tune mode, radio link) into the
// main window. Runs before start-up.
void plugInCommands(MainWindow &mw);

// Whether plugInCommands() starts with the port last chosen in the port dialog (when no
// --port was given) and keeps each new choice in QSettings for the next start. The
// application turns it on; off by default, so a window built elsewhere leaves the
// user's settings alone.
void setPortMemory(bool on);

// The read and write commands over link: a read is one undo step, and a transfer that
// ran to its end says so in the status bar ("读频完成" / "写频完成" with the time).
// keepRadioTuning: whether a safe write keeps the radio's own crystal, sign and power step.
void plugInTransferCommands(
    MainWindow &mw, RadioLink &link, std::function<bool()> keepRadioTuning = [] { return true; });
