#include "print/PageScript.h"
#include "print/ScriptReader.h"
#include "print/ScriptRenderer.h"

#include "PdfProbe.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QRawFont>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// A part of a page on a device of `dpi`, shown at `zoom` (1 on a printer): a page twip
// is zoom × dpi / 1440 device pixels, as on the preview surface. `origin` (twips) is
// the top-left corner.
struct Canvas
{
    Canvas(QSize pixels, double dpi, QPointF origin = {}, double zoom = 1, double pixelRatio = 1)
        : image(pixels * pixelRatio, QImage::Format_RGB32)
    {
        image.setDevicePixelRatio(pixelRatio);
        image.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
        image.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
        image.fill(Qt::white);
        painter.begin(&image);
        painter.scale(zoom * dpi / 1440, zoom * dpi / 1440);
        painter.translate(-origin);
    }
    QImage finish()
    {
        painter.end();
        return image;
    }
    QImage image;
    QPainter painter;
};

// Bounding box of the non-white pixels.
QRect ink(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 160)
                box |= QRect(x, y, 1, 1);
    return box;
}

void run(SurfacePainter &surface, const QByteArray &script)
{
    parseScript(script, [&](const ScriptCommand &c) {
        surface.execute(c);
        return true;
    });
}

// #startpage A, #startpage B, #endpage, #startpage C; page 1 also holds a text that
// reads like a command.
const QByteArray threePages = "#startpage\r\n#y\r\n500\r\n#x\r\n500\r\n#txt_l\r\nA\r\n#txt_l\r\n#startpage\r\n"
                              "#startpage\r\n#txt_l\r\nB\r\n#endpage\r\n"
                              "#startpage\r\n#txt_l\r\nC\r\n";

} // namespace

class TestRenderer : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        m_script = m_dir->path() + QLatin1Char('/') + PageScript::fileName();
    }

    void fontBold_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("bold");
        QTest::newRow("-1") << u"-1"_s << true;
        QTest::newRow("1") << u"1"_s << true;
        QTest::newRow("0") << u"0"_s << false;
        QTest::newRow("other text") << u"yes"_s << true;
    }
    void fontBold()
    {
        QFETCH(QString, flag);
        QFETCH(bool, bold);
        Canvas canvas(QSize(10, 10), 96);
        SurfacePainter surface(canvas.painter, 1);
        run(surface, "#fontbold\r\n" + flag.toLatin1() + "\r\n#txt_l\r\nx\r\n");
        QCOMPARE(surface.fontBold(), bold);
        QCOMPARE(surface.drawnTexts().value(0).bold, bold);
    }

    // The preview surface at zoom z: a "#fontsize" of 12 draws at 12 × z / 100 points,
    // so the letters on the screen shrink and grow with the page.
    void fontSizeFollowsZoom_data()
    {
        QTest::addColumn<int>("zoom");
        QTest::newRow("100") << 100;
        QTest::newRow("50") << 50;
        QTest::newRow("200") << 200;
        QTest::newRow("25") << 25;
    }
    void fontSizeFollowsZoom()
    {
        QFETCH(int, zoom);
        const double scale = zoom / 100.0;
        const QByteArray script =
            "#fontname\r\nArial\r\n#fontsize\r\n12\r\n#x\r\n100\r\n#y\r\n100\r\n#txt_l\r\nHHHH\r\n";
        auto capHeight = [&](double s) {
            Canvas canvas(QSize(int(200 * s), int(60 * s)), 96, {}, s);
            SurfacePainter surface(canvas.painter, s);
            run(surface, script);
            return std::pair{ink(canvas.finish()).height(), surface.drawnTexts().value(0).points};
        };
        const auto [height, points] = capHeight(scale);
        QCOMPARE(points, 12 * scale);
        const int full = capHeight(1.0).first;
        QVERIFY(full > 8); // 12 pt at 96 dpi: a cap height of about 11 px
        QVERIFY2(std::abs(height - full * scale) <= 1.5,
                 qPrintable(u"cap height %1 px at zoom %2, %3 px at 100"_s.arg(height).arg(zoom).arg(full)));
    }

    // A screen of twice the pixel density shows the same page with twice the pixels.
    void fontSizeOnDenseScreen()
    {
        const QByteArray script =
            "#fontname\r\nArial\r\n#fontsize\r\n12\r\n#x\r\n100\r\n#y\r\n100\r\n#txt_l\r\nHHHH\r\n";
        QList<QRect> boxes;
        for (const double ratio : {1.0, 2.0}) {
            Canvas canvas(QSize(200, 60), 96, {}, 1, ratio);
            SurfacePainter surface(canvas.painter, 1);
            run(surface, script);
            QCOMPARE(surface.drawnTexts().value(0).points, 12.0);
            boxes << ink(canvas.finish());
        }
        QVERIFY2(std::abs(boxes[1].height() - 2 * boxes[0].height()) <= 2,
                 qPrintable(u"%1 px against %2 px"_s.arg(boxes[1].height()).arg(boxes[0].height())));
        QVERIFY(std::abs(boxes[1].width() - 2 * boxes[0].width()) <= 3);
    }

    // Centring in the writer uses scriptTextWidth; the surfaces must agree with it.
    void surfaceWidthMatchesWriterWidth_data()
    {
        QTest::addColumn<QString>("font");
        QTest::addColumn<double>("dpi");
        QTest::addColumn<double>("fontScale");
        QTest::addColumn<QString>("text");
        QTest::newRow("Arial on a PDF") << u"Arial"_s << 1440.0 << 1.0 << u"机型：MX--905B(1)"_s;
        QTest::newRow("Arial on the preview at 100") << u"Arial"_s << 96.0 << 1.0 << u"频率：400MHz---470MHz"_s;
        QTest::newRow("宋体 on the preview at 50") << u"宋体"_s << 96.0 << 0.5 << u"450.10000"_s;
        QTest::newRow("宋体 on a printer") << u"宋体"_s << 600.0 << 1.0 << u"接收频率"_s;
    }
    void surfaceWidthMatchesWriterWidth()
    {
        QFETCH(QString, font);
        QFETCH(double, dpi);
        QFETCH(double, fontScale);
        QFETCH(QString, text);
        Canvas canvas(QSize(4, 4), dpi, {}, fontScale);
        SurfacePainter surface(canvas.painter, fontScale);
        run(surface, "#fontname\r\n" + encodeScriptText(font) + "\r\n#fontsize\r\n12\r\n#fontbold\r\n-1\r\n");
        const double expected = scriptTextWidth(text, font, 12, true);
        QVERIFY(expected > 500);
        QVERIFY2(std::abs(surface.TextWidth(text) - expected) < expected * 0.02,
                 qPrintable(u"%1 against %2"_s.arg(surface.TextWidth(text)).arg(expected)));
    }

    void textRightEndsAtX()
    {
        // Twips 9000 … 11000 across, one pixel a twip.
        Canvas canvas(QSize(2000, 600), 1440, QPointF(9000, 800));
        SurfacePainter surface(canvas.painter, 1);
        run(surface, "#fontname\r\nArial\r\n#fontsize\r\n12\r\n#y\r\n1000\r\n#x\r\n10206\r\n#txt_r\r\nHHHH\r\n");
        const DrawnText t = surface.drawnTexts().value(0);
        QVERIFY(t.width > 500);
        QCOMPARE(t.topLeft.x() + t.width, 10206.0);
        QCOMPARE(surface.currentX(), 10206.0 - t.width);
        const QRect box = ink(canvas.finish());
        // The ink ends within the letter's side bearing (a few percent of an em) of 18 cm.
        QVERIFY2(box.right() + 9000 <= 10206 && box.right() + 9000 > 10206 - 40,
                 qPrintable(QString::number(box.right() + 9000)));
        QVERIFY(std::abs(box.top() + 800 - 1000) < 80); // the text hangs from its top
    }

    void fontsCoverEveryText_data()
    {
        QTest::addColumn<QString>("font");
        QTest::addColumn<QString>("text");
        QTest::newRow("Arial, Latin") << u"Arial"_s << u"MX--905B(1) 400MHz---470MHz"_s;
        QTest::newRow("Arial, Chinese") << u"Arial"_s << u"本机设置数据第一页打描功能语音报频："_s;
        QTest::newRow("宋体, Chinese") << u"宋体"_s << u"信道接收频率发射信令繁忙锁定宽/窄高中低是否"_s;
        QTest::newRow("宋体, Latin") << u"宋体"_s << u"450.10000 D023N OFF 67"_s;
    }
    void fontsCoverEveryText()
    {
        QFETCH(QString, font);
        QFETCH(QString, text);
        const QFont f = scriptFont(font, 12, true);
        const QStringList families = scriptFontFamilies(font);
        for (const QChar ch : text) {
            if (ch.isSpace())
                continue;
            const QRawFont raw = QRawFont::fromFont(f,
                                                    ch.script() == QChar::Script_Han || ch.unicode() >= 0x3000
                                                        ? QFontDatabase::SimplifiedChinese
                                                        : QFontDatabase::Latin);
            QVERIFY2(raw.isValid() && raw.supportsCharacter(ch), qPrintable(QString(ch)));
            QVERIFY2(families.contains(raw.familyName()), qPrintable(raw.familyName()));
        }
    }

    void previewPageSelection_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("drawn");
        QTest::addColumn<int>("pagesCounted");
        QTest::newRow("page 1") << 1 << QStringList{u"A"_s, u"#startpage"_s} << 3;
        QTest::newRow("page 2 stops at its #endpage") << 2 << QStringList{u"B"_s} << 2;
        QTest::newRow("page 3") << 3 << QStringList{u"C"_s} << 3;
        QTest::newRow("no such page") << 4 << QStringList{} << 3;
        QTest::newRow("page 0") << 0 << QStringList{} << 3;
    }
    void previewPageSelection()
    {
        QFETCH(int, page);
        QFETCH(QStringList, drawn);
        QFETCH(int, pagesCounted);
        writeFile(threePages);
        Canvas canvas(QSize(100, 100), 9.6);
        SurfacePainter surface(canvas.painter, 1);
        const Result<int> r = renderScriptPage(m_script, page, surface);
        QVERIFY(r.ok());
        QCOMPARE(*r, pagesCounted);
        QStringList texts;
        for (const DrawnText &t : surface.drawnTexts())
            texts << t.text;
        QCOMPARE(texts, drawn);
        if (drawn.isEmpty())
            QVERIFY(ink(canvas.finish()).isEmpty());
    }

    void missingScriptIsAFailure()
    {
        Canvas canvas(QSize(10, 10), 9.6);
        SurfacePainter surface(canvas.painter, 1);
        QVERIFY(!renderScriptPage(m_script, 1, surface).ok());
    }

    void printerPages_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QStringList>("texts");
        QTest::addColumn<int>("sheets");
        QTest::newRow("page 1 only") << 1 << 1 << QStringList{u"A"_s, u"#startpage"_s} << 1;
        QTest::newRow("page 2 only") << 2 << 2 << QStringList{u"B"_s} << 1;
        QTest::newRow("pages 2 to 3") << 2 << 3 << QStringList{u"B"_s, u"C"_s} << 2;
        // Pages ended only by the next "#startpage" still get a sheet each.
        QTest::newRow("all pages") << 1 << 3 << QStringList{u"A"_s, u"#startpage"_s, u"B"_s, u"C"_s} << 3;
    }
    void printerPages()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QStringList, texts);
        QFETCH(int, sheets);
        writeFile(threePages);
        QBuffer pdf;
        pdf.open(QIODevice::WriteOnly);
        Result<PrintOutcome> r = Failure{};
        int started = 0;
        {
            QPdfWriter writer(&pdf);
            writer.setResolution(1440);
            r = printScriptPages(m_script, writer, first, last, [&] { ++started; });
        }
        QVERIFY(r.ok());
        QCOMPARE(r->texts, texts);
        QCOMPARE(r->sheets, sheets);
        QCOMPARE(started, 1);
        QCOMPARE(pdfprobe::pages(pdf.data()), sheets);
    }

    void boxesAndLines_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QColor>("centre");
        QTest::addColumn<QColor>("edge");
        const QByteArray box = "#line\r\n100\r\n100\r\n1300\r\n1300\r\n\r\nB\r\n";
        QTest::newRow("transparent box") << "#fill\r\n1\r\n#color\r\n0\r\n" + box << QColor(Qt::white)
                                         << QColor(Qt::black);
        QTest::newRow("solid box, colour number is BGR")
            << "#fill\r\n0\r\n#color\r\n255\r\n" + box << QColor(Qt::red) << QColor(Qt::black);
        QTest::newRow("solid blue box") << "#fill\r\n0\r\n#color\r\n16711680\r\n" + box << QColor(Qt::blue)
                                        << QColor(Qt::black);
        QTest::newRow("straight line") << QByteArray("#line\r\n100\r\n700\r\n1300\r\n700\r\n\r\n\r\n")
                                       << QColor(Qt::black) << QColor(Qt::white);
        QTest::newRow("line in a colour of its own")
            << QByteArray("#line\r\n100\r\n700\r\n1300\r\n700\r\n65280\r\n\r\n") << QColor(Qt::green)
            << QColor(Qt::white);
    }
    void boxesAndLines()
    {
        QFETCH(QByteArray, script);
        QFETCH(QColor, centre);
        QFETCH(QColor, edge);
        Canvas canvas(QSize(140, 140), 144); // 10 twips a pixel
        SurfacePainter surface(canvas.painter, 1);
        surface.setLineWidth(3);
        run(surface, script);
        const QImage image = canvas.finish();
        QCOMPARE(image.pixelColor(70, 70), centre);
        QCOMPARE(image.pixelColor(10, 40), edge);
    }

    void pdfIsWrittenAtomically()
    {
        const QString pdf = m_dir->path() + u"/report.pdf"_s;
        QFile old(pdf);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old report");
        old.close();
        QVERIFY(!writeScriptPdf(m_script, pdf).ok()); // no script yet
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old report"));
        old.close();

        writeFile(threePages);
        QVERIFY(writeScriptPdf(m_script, pdf).ok());
        QVERIFY(old.open(QIODevice::ReadOnly));
        const QByteArray bytes = old.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        QCOMPARE(pdfprobe::pages(bytes), 1);
        // A4: 595 × 842 points.
        QVERIFY(bytes.contains("/MediaBox [0 0 595"));
    }

private:
    void writeFile(const QByteArray &bytes)
    {
        QFile f(m_script);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_script;
};

QTEST_MAIN(TestRenderer)
#include "tst_renderer.moc"
