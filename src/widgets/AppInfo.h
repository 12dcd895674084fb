#pragma once

#include <QCoreApplication>
#include <QFont>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

// Texts, fonts and pictures every window of the program shares.
namespace appinfo {

// The application title: status bar, About box and the title of plain notices.
inline QString title()
{
    return QCoreApplication::translate("appinfo", "TARNIK编程软件");
}

// The main window's caption keeps its trailing blank.
inline QString mainCaption()
{
    return title() + QLatin1Char(' ');
}

// Font families that carry the Chinese texts. Asked for by name so the result does
// not depend on the locale; the first one installed wins.
QStringList uiFamilies();
QFont uiFont(qreal pointSize);

// Registers the icons and pictures compiled into the widget library. A static library
// drops an unreferenced resource object, so every window that shows one calls this.
void initResources();

// An SVG picture of the resources drawn at the given size (logical pixels).
QPixmap picture(const QString &resource, const QSize &size, qreal devicePixelRatio = 1.0);

} // namespace appinfo
