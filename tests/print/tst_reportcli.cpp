#include "PdfProbe.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

// tarnik-cli report: the report of a channel file as a one-page PDF, without a display.
class TestReportCli : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        // A settings file with the band of the first model, in a home of its own.
        QVERIFY(QDir(m_dir->path()).mkpath(u"config/tarnik"_s));
        QFile ini(m_dir->path() + u"/config/tarnik/Sfc.ini"_s);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Frequent]\r\nPL1=400MHz---470MHz\r\n");
    }

    void reportOfExampleFile()
    {
        const QString pdf = m_dir->path() + u"/report.pdf"_s;
        const auto [rc, errors] = run({u"report"_s, QStringLiteral(TARNIK_TEST_DATA "/example.chp"), u"--pdf"_s, pdf});
        QCOMPARE(rc, 0);
        QVERIFY2(!errors.contains(u"Error in coords"_s), qPrintable(errors));
        QFile f(pdf);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().startsWith("%PDF"));

        const std::optional<QString> layer = pdfprobe::text(pdf);
        if (!layer)
            QSKIP("pdftotext (poppler-utils) is not installed");
        // The text layer gives each text exactly as drawn: ideographs rather than the
        // radicals sharing their glyphs, and every digit of a signalling code.
        const QString page = *layer;
        // One page: pdftotext ends each page with a form feed.
        QCOMPARE(page.count(u'\f'), 1);
        for (const QString &expected :
             {u"打印预览"_s, u"第一页"_s, u"本机设置数据第一页"_s, u"一整机功能设置部份"_s, u"机型：MX--905B(1)"_s,
              u"频率：400MHz---470MHz"_s, u"打描功能：有效"_s, u"语音报频：中文"_s, u"二信道数据设置部份"_s,
              u"接收频率"_s, u"450.10000"_s, u"67"_s, u"D023N"_s, u"OFF"_s, u"发射功率"_s, u"高"_s})
            QVERIFY2(page.contains(expected), qPrintable(expected + u"\n"_s + page));
    }

    void usageAndFileErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no file") << QStringList{u"report"_s, u"--pdf"_s, u"@OUT@"_s};
        QTest::newRow("no --pdf") << QStringList{u"report"_s, u"@IN@"_s};
        QTest::newRow("--pdf without a name") << QStringList{u"report"_s, u"@IN@"_s, u"--pdf"_s};
        QTest::newRow("two files") << QStringList{u"report"_s, u"@IN@"_s, u"@IN@"_s, u"--pdf"_s, u"@OUT@"_s};
        QTest::newRow("missing channel file") << QStringList{u"report"_s, u"@MISSING@"_s, u"--pdf"_s, u"@OUT@"_s};
        QTest::newRow("unwritable PDF") << QStringList{u"report"_s, u"@IN@"_s, u"--pdf"_s, u"@NODIR@/out.pdf"_s};
    }
    void usageAndFileErrors()
    {
        QFETCH(QStringList, args);
        for (QString &a : args) {
            a.replace(u"@MISSING@"_s, m_dir->path() + u"/missing.chp"_s);
            a.replace(u"@IN@"_s, QStringLiteral(TARNIK_TEST_DATA "/example.chp"));
            a.replace(u"@NODIR@"_s, m_dir->path() + u"/no/such/folder"_s);
            a.replace(u"@OUT@"_s, m_dir->path() + u"/out.pdf"_s);
        }
        const auto [rc, errors] = run(args);
        QCOMPARE(rc, 2);
        QVERIFY(!errors.isEmpty());
        QVERIFY(!QFile::exists(m_dir->path() + u"/out.pdf"_s));
    }

private:
    std::pair<int, QString> run(const QStringList &args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_CONFIG_HOME"_s, m_dir->path() + u"/config"_s);
        env.insert(u"XDG_DATA_HOME"_s, m_dir->path() + u"/data"_s);
        env.insert(u"XDG_RUNTIME_DIR"_s, m_dir->path());
        env.remove(u"QT_QPA_PLATFORM"_s); // the command must manage without a display itself
        env.remove(u"DISPLAY"_s);
        env.remove(u"WAYLAND_DISPLAY"_s);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(TARNIK_BIN_DIR "/tarnik-cli"), args);
        if (!p.waitForFinished(120000))
            return {-1, u"timed out"_s};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                QString::fromUtf8(p.readAllStandardError())};
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestReportCli)
#include "tst_reportcli.moc"
