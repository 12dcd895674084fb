#include "print/PageScript.h"
#include "print/ScriptReader.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// The file's lines, GBK decoded, without their CR LF; a line end other than CR LF shows.
static QStringList scriptLines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {u"<unreadable>"_s};
    const QByteArray bytes = f.readAll();
    if (bytes.isEmpty())
        return {};
    if (!bytes.endsWith("\r\n") || bytes.count("\r\n") != bytes.count('\n'))
        return {u"<line end other than CR LF>"_s};
    QStringList lines;
    for (const QByteArray &l : bytes.chopped(2).split('\n'))
        lines << decodeScriptText(l.endsWith('\r') ? l.chopped(1) : l);
    return lines;
}

// One command read back, as "kind:arg" or "line:x1,y1,x2,y2,colour,style".
static QStringList readBack(const QByteArray &bytes)
{
    static const char *names[] = {"startpage", "endpage", "fontname", "fontsize", "fontbold", "x",   "y",
                                  "txt_l",     "txt_c",   "txt_r",    "fill",     "color",    "line"};
    QStringList out;
    parseScript(bytes, [&](const ScriptCommand &c) {
        QString s = QString::fromLatin1(names[c.kind]);
        if (c.kind == ScriptCommand::Line)
            s += QStringLiteral(":%1,%2,%3,%4,%5,%6").arg(c.x1).arg(c.y1).arg(c.x2).arg(c.y2).arg(c.colour, c.style);
        else if (c.kind != ScriptCommand::StartPage && c.kind != ScriptCommand::EndPage)
            s += QLatin1Char(':') + c.arg;
        out << s;
        return true;
    });
    return out;
}

class TestPageScript : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QLocale::setDefault(QLocale::c());
        m_dir.reset(new QTemporaryDir);
        m_script.reset(new PageScript(m_dir->path() + QStringLiteral("/print")));
        // A fixed measure: 100 twips a character.
        m_script->setTextWidth([](const QString &t, const QString &, int, bool) { return 100.0 * t.size(); });
    }

    void writerOperations_data()
    {
        QTest::addColumn<int>("operation");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("PrintInLeft header title")
            << 0 << QStringList{u"#fontname"_s, u"Arial"_s,  u"#fontsize"_s, u"8"_s,    u"#fontbold"_s, u"0"_s,
                                u"#y"_s,        u"311.85"_s, u"#x"_s,        u"1134"_s, u"#txt_l"_s,    u"打印预览"_s};
        QTest::newRow("PrintInRight ends at x")
            << 1 << QStringList{u"#fontname"_s, u"Arial"_s,  u"#fontsize"_s, u"8"_s,     u"#fontbold"_s, u"0"_s,
                                u"#y"_s,        u"311.85"_s, u"#x"_s,        u"10206"_s, u"#txt_r"_s,    u"第一页"_s};
        QTest::newRow("PrintBox header rule")
            << 2 << QStringList{u"#fill"_s, u"1"_s,     u"#color"_s, u"0"_s, u"#line"_s, u"1134"_s,
                                u"510.3"_s, u"10206"_s, u"515.97"_s, u""_s,  u"B"_s};
        // 12 characters of 100 twips: half 600, left 9 × 567 − 600.
        QTest::newRow("PrintInCen bold") << 3
                                         << QStringList{u"#fontname"_s, u"Arial"_s,     u"#fontsize"_s,
                                                        u"16"_s,        u"#fontbold"_s, u"-1"_s,
                                                        u"#y"_s,        u"850.5"_s,     u"#x"_s,
                                                        u"4503"_s,      u"#txt_c"_s,    u"本机设置数据第一页abc"_s};
        // An odd width: half is rounded down before it is subtracted.
        QTest::newRow("PrintInCen odd width")
            << 4 << QStringList{u"#fontname"_s, u"宋体"_s, u"#fontsize"_s, u"12"_s,   u"#fontbold"_s, u"0"_s,
                                u"#y"_s,        u"0"_s,    u"#x"_s,        u"2785"_s, u"#txt_c"_s,    u"x"_s};
        QTest::newRow("cell text that is a command word")
            << 5 << QStringList{u"#fontname"_s, u"宋体"_s,   u"#fontsize"_s, u"12"_s,     u"#fontbold"_s, u"-1"_s,
                                u"#y"_s,        u"4252.5"_s, u"#x"_s,        u"4139.1"_s, u"#txt_l"_s,    u"#x"_s};
    }
    void writerOperations()
    {
        QFETCH(int, operation);
        QFETCH(QStringList, expected);
        QVERIFY(m_script->ClearScript());
        Status s;
        switch (operation) {
        case 0:
            s = m_script->PrintInLeft(2.0, 0.55, QStringLiteral("打印预览"), QStringLiteral("Arial"), 8, false);
            break;
        case 1:
            s = m_script->PrintInRight(18.0, 0.55, QStringLiteral("第一页"), QStringLiteral("Arial"), 8, false);
            break;
        case 2:
            s = m_script->PrintBox(2.0, 0.9, 18.0, 0.91);
            break;
        case 3:
            s = m_script->PrintInCen(9, 1.5, QStringLiteral("本机设置数据第一页abc"), QStringLiteral("Arial"), 16,
                                     true);
            break;
        case 4:
            m_script->setTextWidth([](const QString &, const QString &, int, bool) { return 101.0; });
            s = m_script->PrintInCen(5, 0, QStringLiteral("x"), QStringLiteral("宋体"), 12, false);
            break;
        case 5:
            s = m_script->PrintInLeft(7.3, 7.5, QStringLiteral("#x"), QStringLiteral("宋体"), 12, true);
            break;
        }
        QVERIFY2(s.ok(), qPrintable(s.ok() ? QString() : s.failure().description));
        QCOMPARE(scriptLines(m_script->path()), expected);
    }

    void startPageWritesHeader()
    {
        QVERIFY(m_script->ClearScript());
        QVERIFY(m_script->StartPage(QStringLiteral("打印预览"), QStringLiteral("第一页")));
        const QStringList lines = scriptLines(m_script->path());
        QCOMPARE(lines.size(), 1 + 11 + 12 + 12);
        QCOMPARE(lines[0], QStringLiteral("#startpage"));
        QCOMPARE(lines.mid(1, 5), (QStringList{u"#fill"_s, u"1"_s, u"#color"_s, u"0"_s, u"#line"_s}));
        QCOMPARE(lines[22], QStringLiteral("#txt_l"));
        QCOMPARE(lines[23], QStringLiteral("打印预览"));
        QCOMPARE(lines[32], QStringLiteral("#x"));
        QCOMPARE(lines[33], QStringLiteral("10206"));
        QCOMPARE(lines.mid(34), (QStringList{u"#txt_r"_s, u"第一页"_s}));
    }

    void centredTextLeftOfPageIsDropped()
    {
        QList<QPair<QString, QString>> notices;
        m_script->setNotice([&](const QString &title, const QString &text) { notices.append({title, text}); });
        QVERIFY(m_script->ClearScript());
        // 30 characters, 3000 twips: centred on 2 cm (1134) its left edge is −366.
        const Status s = m_script->PrintInCen(2, 1, QString(30, QLatin1Char('W')), QStringLiteral("Arial"), 12, true);
        QVERIFY(s.ok());
        QCOMPARE(notices.size(), 1);
        QCOMPARE(notices[0].first, QStringLiteral("PrintInCen"));
        QCOMPARE(notices[0].second, QStringLiteral("Error in coords!!!!"));
        QCOMPARE(scriptLines(m_script->path()), QStringList());
        // A left edge exactly at the page edge is still written.
        QVERIFY(m_script->PrintInCen(2, 1, QString(22, QLatin1Char('W')) + QStringLiteral("W8"),
                                     QStringLiteral("Arial"), 12, true)); // 2400 wide: left −66
        QCOMPARE(notices.size(), 2);
        m_script->setTextWidth([](const QString &, const QString &, int, bool) { return 2268.0; });
        QVERIFY(m_script->PrintInCen(2, 1, QStringLiteral("edge"), QStringLiteral("Arial"), 12, true));
        QCOMPARE(notices.size(), 2);
        QCOMPARE(scriptLines(m_script->path()).value(9), QStringLiteral("0"));
    }

    void textsAreGbk()
    {
        QVERIFY(m_script->ClearScript());
        // 😀 and 한 are not in GBK: each becomes "?"; the line and the ones after survive.
        QVERIFY(m_script->AppendLine(QStringLiteral("打印😀한x")));
        QVERIFY(m_script->AppendLine(QStringLiteral("宽/窄")));
        QFile f(m_script->path());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(),
                 QByteArray("\xb4\xf2\xd3\xa1?"
                            "?x\r\n\xbf\xed/\xd5\xad\r\n"));
        QCOMPARE(readBack("#txt_l\r\n\xb4\xf2\xd3\xa1\r\n"), QStringList{u"txt_l:打印"_s});
    }

    void clearScriptEmptiesAndCreates()
    {
        QVERIFY(!QFile::exists(m_script->path()));
        QVERIFY(m_script->ClearScript());
        QVERIFY(QFile::exists(m_script->path()));
        QVERIFY(m_script->AppendLine(QStringLiteral("#startpage")));
        QVERIFY(m_script->ClearScript());
        QCOMPARE(QFileInfo(m_script->path()).size(), 0);
        QVERIFY(m_script->DeleteScript());
        QVERIFY(!QFile::exists(m_script->path()));
        QVERIFY(m_script->DeleteScript()); // already gone
    }

    void numbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 1134.0 << u"C"_s << u"1134"_s;
        QTest::newRow("two decimals") << 0.55 * 567 << u"C"_s << u"311.85"_s;
        QTest::newRow("decimal comma") << 850.5 << u"de_DE"_s << u"850,5"_s;
        QTest::newRow("no group separator") << 16839.9 << u"en_US"_s << u"16839.9"_s;
        QTest::newRow("no group separator, comma") << 12345.5 << u"de_DE"_s << u"12345,5"_s;
        QTest::newRow("negative") << -1.0 << u"C"_s << u"-1"_s;
        QTest::newRow("zero") << 0.0 << u"C"_s << u"0"_s;
        QTest::newRow("negative zero") << -0.0 << u"C"_s << u"0"_s;
        QTest::newRow("seven significant digits") << 1234.56789 << u"C"_s << u"1234.568"_s;
        QTest::newRow("large") << 12345678.9 << u"C"_s << u"12345679"_s;
        QTest::newRow("small") << 0.000123456789 << u"C"_s << u"0.0001234568"_s;
        QTest::newRow("rounding carries") << 9999.9999 << u"C"_s << u"10000"_s;
    }
    void numbers()
    {
        QFETCH(double, value);
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(scriptNumber(value), text);
        QLocale::setDefault(QLocale::c());
    }

    void numbersReadBackWithinAHundredth()
    {
        for (const char *name : {"C", "de_DE", "fr_FR"}) {
            QLocale::setDefault(QLocale(QString::fromLatin1(name)));
            for (int cm100 = -500; cm100 <= 3000; cm100 += 7) {
                const double twips = cm100 / 100.0 * 567;
                QVERIFY2(qAbs(ParseNumber(scriptNumber(twips)) - twips) < 0.01,
                         qPrintable(QStringLiteral("%1 in %2").arg(twips).arg(QLatin1String(name))));
            }
        }
        QLocale::setDefault(QLocale::c());
    }

    void parseNumber_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<double>("value");
        QTest::newRow("decimal comma") << u"850,5"_s << 850.5;
        QTest::newRow("decimal point") << u"850.5"_s << 850.5;
        QTest::newRow("negative") << u"-1"_s << -1.0;
        QTest::newRow("plus") << u"+3"_s << 3.0;
        QTest::newRow("leading blanks") << u"  7"_s << 7.0;
        QTest::newRow("trailing text") << u"12abc"_s << 12.0;
        QTest::newRow("second point ends it") << u"1.2.3"_s << 1.2;
        QTest::newRow("fraction only") << u".5"_s << 0.5;
        QTest::newRow("empty") << u""_s << 0.0;
        QTest::newRow("sign only") << u"-"_s << 0.0;
        QTest::newRow("text") << u"Arial"_s << 0.0;
        QTest::newRow("exponent not read") << u"1e3"_s << 1.0;
        QTest::newRow("full-width digits not read") << QStringLiteral("１２") << 0.0;
    }
    void parseNumber()
    {
        QFETCH(QString, line);
        QFETCH(double, value);
        QCOMPARE(ParseNumber(line), value);
    }

    void readingLoop_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("unknown # line skipped alone")
            << QByteArray("#startpage\r\n#foo\r\n#x\r\n5\r\n") << QStringList{u"startpage"_s, u"x:5"_s};
        QTest::newRow("argument that looks like a command")
            << QByteArray("#txt_l\r\n#x\r\n#y\r\n7\r\n") << QStringList{u"txt_l:#x"_s, u"y:7"_s};
        QTest::newRow("line with box style")
            << QByteArray("#line\r\n1134\r\n510,3\r\n10206\r\n515.97\r\n\r\nB\r\n#endpage\r\n")
            << QStringList{u"line:1134,510.3,10206,515.97,,B"_s, u"endpage"_s};
        QTest::newRow("stray lines skipped")
            << QByteArray("hello\r\n\r\n#fontbold\r\n-1\r\nworld\r\n") << QStringList{u"fontbold:-1"_s};
        QTest::newRow("bare LF line ends") << QByteArray("#x\n12\n#y\n3\n") << QStringList{u"x:12"_s, u"y:3"_s};
        QTest::newRow("argument missing at the end") << QByteArray("#txt_r") << QStringList{u"txt_r:"_s};
        QTest::newRow("line cut short") << QByteArray("#line\r\n1\r\n2\r\n") << QStringList{u"line:1,2,0,0,,"_s};
        QTest::newRow("case matters") << QByteArray("#X\r\n5\r\n#StartPage\r\n") << QStringList{};
    }
    void readingLoop()
    {
        QFETCH(QByteArray, script);
        QFETCH(QStringList, commands);
        QCOMPARE(readBack(script), commands);
    }

    void readerStopsWhenAsked()
    {
        int seen = 0;
        parseScript("#startpage\r\n#x\r\n1\r\n#startpage\r\n", [&](const ScriptCommand &c) {
            ++seen;
            return c.kind != ScriptCommand::X;
        });
        QCOMPARE(seen, 2);
    }

    // The fixed file name must not let a planted link redirect the writes.
    void plantedLinkIsRefused_data()
    {
        QTest::addColumn<int>("operation");
        QTest::newRow("ClearScript") << 0;
        QTest::newRow("AppendLine") << 1;
        QTest::newRow("readScript") << 2;
    }
    void plantedLinkIsRefused()
    {
        QFETCH(int, operation);
        QVERIFY(ensurePrivateFolder(m_script->folder()));
        const QString victim = m_dir->path() + QStringLiteral("/victim.txt");
        QFile v(victim);
        QVERIFY(v.open(QIODevice::WriteOnly));
        v.write("keep me");
        v.close();
        QVERIFY(QFile::link(victim, m_script->path()));

        Status s;
        if (operation == 0)
            s = m_script->ClearScript();
        else if (operation == 1)
            s = m_script->AppendLine(QStringLiteral("#startpage"));
        else
            s = readScript(m_script->path(), [](const ScriptCommand &) { return true; });
        QVERIFY(!s.ok());
        QVERIFY2(s.failure().description.contains(QStringLiteral("符号链接")), qPrintable(s.failure().description));
        QVERIFY(v.open(QIODevice::ReadOnly));
        QCOMPARE(v.readAll(), QByteArray("keep me"));
        // Deleting removes the link, never its target.
        QVERIFY(m_script->DeleteScript());
        QVERIFY(!QFileInfo(m_script->path()).isSymLink());
        QVERIFY(QFile::exists(victim));
    }

    void folderIsPrivate()
    {
        QVERIFY(m_script->ClearScript());
        struct stat st
        { };
        QCOMPARE(::stat(QFile::encodeName(m_script->folder()).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), 0700);
        // A folder opened up by someone is closed again.
        QVERIFY(::chmod(QFile::encodeName(m_script->folder()).constData(), 0777) == 0);
        QVERIFY(m_script->AppendLine(QStringLiteral("#x")));
        QCOMPARE(::stat(QFile::encodeName(m_script->folder()).constData(), &st), 0);
        QCOMPARE(int(st.st_mode & 0777), 0700);
    }

    void folderThatIsALinkIsRefused()
    {
        const QString real = m_dir->path() + QStringLiteral("/elsewhere");
        QVERIFY(QDir().mkdir(real));
        const QString linked = m_dir->path() + QStringLiteral("/linked");
        QVERIFY(QFile::link(real, linked));
        PageScript script(linked);
        const Status s = script.ClearScript();
        QVERIFY(!s.ok());
        QVERIFY(!QFile::exists(real + QLatin1Char('/') + PageScript::fileName()));
    }

    void scriptThatIsNotAFileIsRefused()
    {
        QVERIFY(ensurePrivateFolder(m_script->folder()));
        QVERIFY(::mkfifo(QFile::encodeName(m_script->path()).constData(), 0600) == 0);
        QVERIFY(!m_script->ClearScript().ok()); // and does not hang
        QVERIFY(!m_script->AppendLine(QStringLiteral("x")).ok());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PageScript> m_script;
};

QTEST_GUILESS_MAIN(TestPageScript)
#include "tst_pagescript.moc"
