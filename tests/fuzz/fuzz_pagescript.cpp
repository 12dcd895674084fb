// Page-script reader and surface on arbitrary bytes: never crashes, never hangs.
// Also feeds arbitrary text through the GBK encoder and the number reader.
#include "print/PageScript.h"
#include "print/ScriptReader.h"
#include "print/ScriptRenderer.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QGuiApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz_pagescript";
        static char *argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv);
    }();
    Q_UNUSED(app);

    const QByteArray in(reinterpret_cast<const char *>(data), qsizetype(size));
    QImage image(200, 280, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.scale(200.0 / 11907, 280.0 / 16840);
    SurfacePainter surface(painter, 1.0);
    int commands = 0;
    parseScript(in, [&](const ScriptCommand &c) {
        surface.execute(c);
        return ++commands < 2000;
    });

    const QString text = QString::fromUtf8(in.left(256));
    const QByteArray gbk = encodeScriptText(text);
    (void)decodeScriptText(gbk);
    (void)ParseNumber(text);
    return 0;
}
