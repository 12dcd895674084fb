#include "AppInfo.h"

#include <QPainter>
#include <QSvgRenderer>

// Q_INIT_RESOURCE declares a function and must stand outside any namespace.
static void registerResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace appinfo {

QStringList uiFamilies()
{
    return {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
            QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Microsoft YaHei"), QStringLiteral("SimSun")};
}

QFont uiFont(qreal pointSize)
{
    QFont f;
    f.setFamilies(uiFamilies());
    f.setPointSizeF(pointSize);
    return f;
}

void initResources()
{
    static const bool once = (registerResources(), true);
    Q_UNUSED(once);
}

QPixmap picture(const QString &resource, const QSize &size, qreal devicePixelRatio)
{
    initResources();
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    if (renderer.isValid()) {
        QPainter p(&pixmap);
        renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    return pixmap;
}

} // namespace appinfo
