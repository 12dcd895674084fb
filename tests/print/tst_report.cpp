#include "channels/WorkingCopy.h"
#include "print/PageScript.h"
#include "print/Report.h"
#include "print/ScriptRenderer.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QStringList fileLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    for (const QByteArray &l : f.readAll().split('\n'))
        lines << decodeScriptText(l.endsWith('\r') ? l.chopped(1) : l);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // after the last CR LF
    return lines;
}

// Index of the n-th line equal to `command` (counted from 0), or −1.
qsizetype nthCommand(const QStringList &lines, const QString &command, int n)
{
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i] == command && n-- == 0)
            return i;
    return -1;
}

// The text block ending with `command` at index i: font, size, bold, y, x, text.
QStringList block(const QStringList &lines, qsizetype i)
{
    if (i < 10)
        return {};
    return {lines[i - 9], lines[i - 7], lines[i - 5], lines[i - 3], lines[i - 1], lines[i + 1]};
}

void prepare(WorkingCopy &wc, int modelRow, const QString &band)
{
    wc.startUp(QString());
    wc.setBandStringForModelRow(modelRow, band);
    wc.selectModel(modelRow);
}

} // namespace

class TestReport : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        m_dir.reset(new QTemporaryDir);
        m_script.reset(new PageScript(m_dir->path()));
        m_notices.clear();
        m_script->setNotice([this](const QString &title, const QString &text) { m_notices << title + u'|' + text; });
    }

    void modelAndBandFollowTheirLabels()
    {
        WorkingCopy wc;
        prepare(wc, 0, u"400MHz---470MHz"_s);
        QVERIFY(writeReport(*m_script, wc));
        const QString script = fileLines(m_script->path()).join(u'\n');
        QVERIFY(script.contains(u"#txt_c\n机型：MX--905B(1)\n"_s));
        QVERIFY(script.contains(u"#txt_c\n频率：400MHz---470MHz\n"_s));
        QVERIFY(m_notices.isEmpty());
    }

    void centredTexts_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("text");
        // Lists at their start rows.
        QTest::newRow("title") << 9.0 << 1.5 << 16 << u"本机设置数据第一页"_s;
        QTest::newRow("part one") << 7.0 << 2.5 << 12 << u"一整机功能设置部份"_s;
        QTest::newRow("model") << 5.0 << 3.0 << 12 << u"机型：MX--905A(1)"_s;
        QTest::newRow("band") << 13.0 << 3.0 << 12 << u"频率：136MHz---174MHz"_s;
        QTest::newRow("monitor") << 5.0 << 3.5 << 12 << u"监听功能：打开"_s;
        QTest::newRow("power save") << 13.0 << 3.5 << 12 << u"省电功能：有效"_s;
        QTest::newRow("time-out") << 5.0 << 4.0 << 12 << u"发射限时：关闭"_s;
        QTest::newRow("squelch") << 13.0 << 4.0 << 12 << u"静噪等级：4"_s;
        QTest::newRow("scan, as the report spells it") << 5.0 << 4.5 << 12 << u"打描功能：有效"_s;
        QTest::newRow("voice") << 13.0 << 4.5 << 12 << u"语音报频：关"_s;
        QTest::newRow("part two") << 7.0 << 6.5 << 12 << u"二信道数据设置部份"_s;
    }
    void centredTexts()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(int, size);
        QFETCH(QString, text);
        WorkingCopy wc;
        prepare(wc, 4, u"136MHz---174MHz"_s);
        QVERIFY(writeReport(*m_script, wc));
        const QStringList lines = fileLines(m_script->path());
        const qsizetype at = lines.indexOf(text);
        QVERIFY2(at > 0, qPrintable(text));
        QCOMPARE(lines[at - 1], u"#txt_c"_s);
        const double left = x * 567 - std::floor(scriptTextWidth(text, u"Arial"_s, size, true) / 2);
        QCOMPARE(
            block(lines, at - 1),
            (QStringList{u"Arial"_s, QString::number(size), u"-1"_s, scriptNumber(y * 567), scriptNumber(left), text}));
    }

    void cellPositions_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("y");
        QTest::addColumn<QString>("x");
        QTest::newRow("title of the channel column") << 0 << 0 << u"3969"_s << u"2835"_s;
        QTest::newRow("channel 1, receive frequency") << 1 << 1 << u"4252.5"_s << u"3515.4"_s;
        QTest::newRow("channel 16, transmit power") << 16 << 7 << u"8505"_s << u"10319.4"_s;
    }
    void cellPositions()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, y);
        QFETCH(QString, x);
        WorkingCopy wc;
        prepare(wc, 0, u"400MHz---470MHz"_s);
        wc.setCell(1, 1, u"450.10000"_s);
        wc.setCell(16, 7, u"高"_s);
        QVERIFY(writeReport(*m_script, wc));
        const QStringList lines = fileLines(m_script->path());
        // The header's title is the first left-aligned text; the cells follow row by row.
        const qsizetype at = nthCommand(lines, u"#txt_l"_s, 1 + row * 8 + column);
        QCOMPARE(block(lines, at), (QStringList{u"宋体"_s, u"12"_s, u"-1"_s, y, x, wc.cell(row, column)}));
    }

    // The widest text each column can hold ends before the next column begins, and the
    // last one 1 cm inside the right edge of the A4 sheet (21 cm).
    void everyColumnFitsOnThePage()
    {
        WorkingCopy wc;
        prepare(wc, 0, u"400MHz---470MHz"_s);
        const QStringList widest{u"16"_s,    u"450.10000"_s, u"450.10000"_s, u"D754I"_s,
                                 u"D023N"_s, u"否"_s,        u"窄"_s,        u"中"_s};
        for (int c = 1; c < ChannelTable::Columns; ++c)
            wc.setCell(16, c, widest[c]);
        QVERIFY(writeReport(*m_script, wc));
        const QStringList lines = fileLines(m_script->path());
        for (int row : {0, 16}) {
            double previousRight = 0;
            for (int c = 0; c < ChannelTable::Columns; ++c) {
                const QStringList b = block(lines, nthCommand(lines, u"#txt_l"_s, 1 + row * 8 + c));
                QCOMPARE(b.value(5), wc.cell(row, c));
                const double left = ParseNumber(b.value(4));
                QVERIFY2(left > previousRight + 0.15 * 567, qPrintable(b.join(u' ')));
                previousRight = left + scriptTextWidth(b.value(5), u"宋体"_s, 12, true);
            }
            QVERIFY2(previousRight <= 20 * 567, qPrintable(QString::number(previousRight / 567)));
        }
    }

    void wholeReportHasEveryLine()
    {
        WorkingCopy wc;
        prepare(wc, 0, u"400MHz---470MHz"_s);
        QVERIFY(writeReport(*m_script, wc));
        const QStringList lines = fileLines(m_script->path());
        // Header 36 lines, 11 centred texts and 17 × 8 cells of 12 lines each.
        QCOMPARE(lines.size(), 36 + 11 * 12 + 136 * 12);
        QCOMPARE(lines.count(u"#startpage"_s), 1);
        QCOMPARE(lines.count(u"#endpage"_s), 0);
        QCOMPARE(lines.mid(nthCommand(lines, u"#txt_l"_s, 1) + 1, 1), QStringList{u"信道"_s});
    }

    void listsShowingNothingPrintTheirLabelsAlone()
    {
        WorkingCopy wc; // nothing selected, no band, empty table
        QVERIFY(writeReport(*m_script, wc));
        const QStringList lines = fileLines(m_script->path());
        for (const QString &label : {u"机型："_s, u"频率："_s, u"监听功能："_s, u"省电功能："_s, u"发射限时："_s,
                                     u"静噪等级："_s, u"打描功能："_s, u"语音报频："_s})
            QVERIFY2(lines.contains(label), qPrintable(label));
        // Empty cells are written as empty texts.
        QCOMPARE(lines.size(), 36 + 11 * 12 + 136 * 12);
        QCOMPARE(lines[nthCommand(lines, u"#txt_l"_s, 136) + 1], QString());
    }

    void printingTwiceKeepsOnlyTheSecondReport()
    {
        WorkingCopy first;
        prepare(first, 0, u"400MHz---470MHz"_s);
        first.setCell(3, 1, u"401.00000"_s);
        WorkingCopy second;
        prepare(second, 2, u"350MHz---390MHz"_s);
        QVERIFY(writeReport(*m_script, first));
        QVERIFY(writeReport(*m_script, second));
        const QStringList twice = fileLines(m_script->path());

        QTemporaryDir other;
        PageScript alone(other.path());
        QVERIFY(writeReport(alone, second));
        QCOMPARE(twice, fileLines(alone.path()));
        QVERIFY(!twice.contains(u"401.00000"_s));
    }

    void textTooWideIsDroppedAndTheRestWritten()
    {
        WorkingCopy wc;
        prepare(wc, 0, u"400MHz---470MHz"_s + QString(120, u'W'));
        QVERIFY(writeReport(*m_script, wc));
        QCOMPARE(m_notices, QStringList{u"PrintInCen|Error in coords!!!!"_s});
        const QStringList lines = fileLines(m_script->path());
        QCOMPARE(lines.count(u"#txt_c"_s), 10);
        QVERIFY(lines.contains(u"监听功能：打开"_s));
        QCOMPARE(lines.count(u"#txt_l"_s), 1 + 136);
    }

    void unwritableScriptFails()
    {
        QFile blocker(m_dir->path() + u"/file"_s);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        PageScript script(blocker.fileName() + u"/print"_s);
        WorkingCopy wc;
        const Status s = writeReport(script, wc);
        QVERIFY(!s.ok());
        QVERIFY(!s.failure().description.isEmpty());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PageScript> m_script;
    QStringList m_notices;
};

QTEST_MAIN(TestReport)
#include "tst_report.moc"
