#include "channels/Tables.h"
#include "channels/WorkingCopy.h"
#include "print/PageScript.h"
#include "print/PdfTextLayer.h"
#include "print/ScriptRenderer.h"

#include "PdfProbe.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

// The PDF's text layer gives every text as the page shows it: ideographs, not the
// radicals that share their glyphs, and every digit of a signalling code.
class TestPdfText : public QObject
{
    Q_OBJECT

private slots:
    void textLayerGivesEveryText_data()
    {
        QTest::addColumn<QString>("font");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<int>("size");
        QTest::addColumn<QStringList>("texts");
        // Every text of the report page that is not a list value, and every list value.
        const QStringList labels{u"打印预览"_s,
                                 u"第一页"_s,
                                 u"本机设置数据第一页"_s,
                                 u"一整机功能设置部份"_s,
                                 u"二信道数据设置部份"_s,
                                 u"机型：MX--905B(1)"_s,
                                 u"频率：400MHz---470MHz"_s,
                                 u"监听功能：打开"_s,
                                 u"省电功能：无效"_s,
                                 u"发射限时：关闭"_s,
                                 u"静噪等级：9"_s,
                                 u"打描功能：有效"_s,
                                 u"语音报频：英文"_s};
        QStringList cells = ChannelTable::columnTitles();
        cells << u"450.10000"_s << u"045.00000"_s << u"OFF"_s;
        for (const QStringList &rows : {tables::busyLockRows(), tables::bandwidthRows(), tables::powerRows(),
                                        tables::modelRows(), tables::voiceRows(), tables::timeOutRows()})
            cells << rows;
        for (const char16_t *font : {u"Arial", u"宋体"}) {
            for (bool bold : {true, false}) {
                const QString name = QString::fromUtf16(font) + (bold ? u" bold"_s : u""_s);
                QTest::newRow(qPrintable(name + u", labels"_s)) << QString::fromUtf16(font) << bold << 12 << labels;
                QTest::newRow(qPrintable(name + u", cells"_s)) << QString::fromUtf16(font) << bold << 12 << cells;
                QTest::newRow(qPrintable(name + u", signalling"_s))
                    << QString::fromUtf16(font) << bold << 10 << tables::signallingList();
            }
        }
    }
    void textLayerGivesEveryText()
    {
        QFETCH(QString, font);
        QFETCH(bool, bold);
        QFETCH(int, size);
        QFETCH(QStringList, texts);
        QTemporaryDir dir;
        PageScript script(dir.path());
        QVERIFY(script.ClearScript());
        QVERIFY(script.StartPage(u"打印预览"_s, u"第一页"_s));
        // Nine columns 2 cm apart, rows 0.5 cm apart: a page holds all 261 signalling texts.
        for (qsizetype i = 0; i < texts.size(); ++i)
            QVERIFY(
                script.PrintInLeft(1.2 + 2.1 * double(i / 30), 2 + 0.5 * double(i % 30), texts[i], font, size, bold));
        const QString pdf = dir.path() + u"/page.pdf"_s;
        QVERIFY(writeScriptPdf(script.path(), pdf));
        const std::optional<QString> layer = pdfprobe::text(pdf);
        if (!layer)
            QSKIP("pdftotext (poppler-utils) is not installed");

        const QStringList words = layer->split(QRegularExpression(u"\\s+"_s), Qt::SkipEmptyParts);
        for (const QString &text : texts)
            QVERIFY2(words.contains(text), qPrintable(text + u" not in: "_s + words.join(u' ')));
        for (QChar c : *layer)
            QVERIFY2(c.unicode() < 0x2E80 || c.unicode() > 0x2FDF, qPrintable(*layer));
    }

    // Bytes that are not a PDF of the expected build, and a PDF with nothing to mend,
    // come back as they were.
    void mendingLeavesOtherFilesAlone()
    {
        const QList<DrawnText> drawn{{u"一页"_s, {}, 0, 12, true, u"宋体"_s}};
        for (const QByteArray &bytes :
             {QByteArray(), QByteArray("not a pdf"), QByteArray("%PDF-1.4\nstartxref\n99\n%%EOF\n")})
            QCOMPARE(mendPdfTextLayer(bytes, drawn), bytes);

        QTemporaryDir dir;
        PageScript script(dir.path());
        QVERIFY(script.ClearScript());
        QVERIFY(script.StartPage(u"OFF"_s, u"450.10000"_s));
        QVERIFY(writeScriptPdf(script.path(), dir.path() + u"/plain.pdf"_s));
        QFile f(dir.path() + u"/plain.pdf"_s);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray plain = f.readAll();
        QCOMPARE(mendPdfTextLayer(plain, {{u"OFF"_s, {}, 0, 8, false, u"Arial"_s}}), plain);
    }
};

QTEST_MAIN(TestPdfText)
#include "tst_pdftext.moc"
