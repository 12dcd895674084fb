#pragma once

#include <QString>

// The program's per-user folders: ~/.config/tarnik (settings) and ~/.local/share/tarnik
// (received image, backups, fleet log, print script), moved by XDG_CONFIG_HOME and
// XDG_DATA_HOME; the last part is the application name.
//
// The organisation and the application are both named "tarnik", so QSettings() keeps its
// values in ~/.config/tarnik/tarnik.conf beside Sfc.ini. Qt's App*Location would put the
// organisation in between (~/.config/tarnik/tarnik/), so these folders are formed here.
namespace userfolders {

QString config();
QString data();

} // namespace userfolders
