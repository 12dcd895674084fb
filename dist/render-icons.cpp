// Build tool: renders the application's SVG icon as PNGs for the hicolor icon theme.
// Usage: render-icons ICON.svg OUTDIR NAME SIZE... writes OUTDIR/SIZExSIZE/apps/NAME.png.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: render-icons ICON.svg OUTDIR NAME SIZE...\n");
        return 2;
    }
    QSvgRenderer svg(args[1]);
    if (!svg.isValid()) {
        std::fprintf(stderr, "render-icons: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    for (const QString &sizeText : args.mid(4)) {
        const int size = sizeText.toInt();
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        svg.render(&painter);
        painter.end();
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(args[2]).arg(size);
        if (!QDir().mkpath(dir) || !image.save(dir + QLatin1Char('/') + args[3] + QStringLiteral(".png"))) {
            std::fprintf(stderr, "render-icons: cannot write into %s\n", qPrintable(dir));
            return 1;
        }
    }
    return 0;
}
