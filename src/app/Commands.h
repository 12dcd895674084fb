#pragma once

class MainWindow;

// Plugs the commands of the other subsystems (print, tune mode, radio link) into the
// main window. Runs before start-up.
void plugInCommands(MainWindow &mw);
