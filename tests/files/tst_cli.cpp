#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// The command-line tool as scripts use it: exit codes, JSON keys and values.
class TstCli : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;

    struct Run
    {
        int code;
        QByteArray out, err;
    };
    Run cli(const QStringList &args) { return run(QStringLiteral(TARNIK_BIN_DIR "/tarnik-cli"), args); }
    Run run(const QString &program, const QStringList &args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path()); // no settings file
        p.setProcessEnvironment(env);
        p.start(program, args);
        if (!p.waitForFinished(30000))
            return {-1, {}, {}};
        return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    }

private slots:
    void showJson()
    {
        const Run r = cli(
            {QStringLiteral("show"), QStringLiteral(TARNIK_TEST_DATA "/example.chp"), QStringLiteral("--json")});
        QCOMPARE(r.code, 0);
        QJsonParseError e;
        const QJsonObject o = QJsonDocument::fromJson(r.out, &e).object();
        QCOMPARE(e.error, QJsonParseError::NoError);
        const QStringList keys{QStringLiteral("model"),     QStringLiteral("monitor"),   QStringLiteral("powerSave"),
                               QStringLiteral("timeout"),   QStringLiteral("squelch"),   QStringLiteral("scan"),
                               QStringLiteral("voice"),     QStringLiteral("crystal"),   QStringLiteral("ifSign"),
                               QStringLiteral("powerStep"), QStringLiteral("modelCode"), QStringLiteral("functionByte"),
                               QStringLiteral("voiceByte"), QStringLiteral("channels")};
        const QStringList got = o.keys();
        QCOMPARE(QSet<QString>(got.begin(), got.end()), QSet<QString>(keys.begin(), keys.end()));
        QCOMPARE(o[QStringLiteral("model")].toString(), QStringLiteral("MX--905B(1)"));
        QCOMPARE(o[QStringLiteral("timeout")].toString(), QStringLiteral("60s"));
        QCOMPARE(o[QStringLiteral("crystal")].toString(), QStringLiteral("13MHz"));
        QCOMPARE(o[QStringLiteral("powerStep")].toString(), QStringLiteral("0"));
        QCOMPARE(o[QStringLiteral("voiceByte")].toString(), QStringLiteral("0"));
        const QJsonArray ch = o[QStringLiteral("channels")].toArray();
        QCOMPARE(ch.size(), 16);
        const QJsonObject c1 = ch[0].toObject();
        QCOMPARE(c1[QStringLiteral("channel")].toInt(), 1);
        QCOMPARE(c1[QStringLiteral("rx")].toString(), QStringLiteral("450.10000"));
        QCOMPARE(c1[QStringLiteral("txSignal")].toString(), QStringLiteral("D023N"));
        QCOMPARE(c1[QStringLiteral("busyLock")].toString(), QString::fromUtf16(u"否"));
        QCOMPARE(ch[15].toObject()[QStringLiteral("rx")].toString(), QStringLiteral("OFF"));
    }

    void failuresExitTwo_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("missing file") << QStringList{QStringLiteral("show"), QStringLiteral("/nonexistent.chp")};
        QTest::newRow("no file") << QStringList{QStringLiteral("show")};
        QTest::newRow("damaged file") << QStringList{QStringLiteral("show"),
                                                     QStringLiteral(TARNIK_TEST_DATA "/../../README.md")};
        QTest::newRow("unknown command") << QStringList{QStringLiteral("frobnicate")};
    }
    void failuresExitTwo()
    {
        QFETCH(QStringList, args);
        const Run r = cli(args);
        QCOMPARE(r.code, 2);
        QVERIFY(!r.err.isEmpty());
    }

    void saveCanonicalNormalisesReadResult()
    {
        QFile in(QStringLiteral(TARNIK_TEST_DATA "/example.chp"));
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray canonical = in.readAll();
        QByteArray readResult = canonical;
        readResult.replace("\r\n", " \r\n");
        QTemporaryDir d;
        QFile rr(d.filePath(QStringLiteral("r.chp")));
        QVERIFY(rr.open(QIODevice::WriteOnly));
        rr.write(readResult);
        rr.close();
        const Run r = cli({QStringLiteral("save-canonical"), rr.fileName(), d.filePath(QStringLiteral("o.chp"))});
        QCOMPARE(r.code, 0);
        QFile out(d.filePath(QStringLiteral("o.chp")));
        QVERIFY(out.open(QIODevice::ReadOnly));
        QCOMPARE(out.readAll(), canonical);
    }

    // The tool as a tester with hostile files drives it. In the arguments, "A" is the
    // example, "B" the example with squelch 5 and channel 1 on 450.20000, "a" the
    // example in lowercase, "F" a FIFO, "T" a file holding "old". A settings file with
    // terminal controls in a band is in place for every run. (What a save does to
    // links, devices and read-only files: tst_atomicfile.)
    void hostileFiles_data()
    {
        QTest::addColumn<QString>("args");
        QTest::addColumn<int>("fileSizeLimit"); // ulimit -f, in 512-byte blocks; 0 none
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out"); // stdout exactly, or "*" for any
        QTest::addColumn<QString>("err"); // a part of stderr
        QTest::newRow("diff equal, lowercase") << "diff A a" << 0 << 0 << ""
                                               << "";
        QTest::newRow("diff different") << "diff A B" << 0 << 1
                                        << QString::fromUtf16(
                                               u"静噪等级: 3 → 5\n信道 1 接收频率: 450.10000 → 450.20000\n")
                                        << "";
        QTest::newRow("diff missing") << "diff A none" << 0 << 2 << ""
                                      << "文件不存在";
        QTest::newRow("diff FIFO") << "diff F A" << 0 << 2 << ""
                                   << "FIFO";
        QTest::newRow("diff usage") << "diff A" << 0 << 2 << ""
                                    << "diff";
        QTest::newRow("show /dev/null") << "show /dev/null" << 0 << 2 << ""
                                        << "不是普通文件";
        QTest::newRow("show: no controls from the settings") << "show A" << 0 << 0 << "*"
                                                             << "";
        QTest::newRow("save past ulimit -f: no SIGXFSZ") << "save-canonical A T" << 4 << 2 << ""
                                                         << "ulimit";
    }
    void hostileFiles()
    {
        QFETCH(QString, args);
        QFETCH(int, fileSizeLimit);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);

        QTemporaryDir d;
        QFile in(QStringLiteral(TARNIK_TEST_DATA "/example.chp"));
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray example = in.readAll();
        auto put = [](const QString &path, const QByteArray &data) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(data);
        };
        put(d.filePath(QStringLiteral("A")), example);
        put(d.filePath(QStringLiteral("a")), example.toLower());
        put(d.filePath(QStringLiteral("B")),
            QByteArray(example)
                .replace("00 06 03 19", "00 06 05 19")
                .replace("00 10 08 00 00 01 45", "00 10 08 00 00 02 45"));
        put(d.filePath(QStringLiteral("T")), "old");
        QCOMPARE(::mkfifo(QFile::encodeName(d.filePath(QStringLiteral("F"))).constData(), 0600), 0);
        QDir(m_home.path()).mkpath(QStringLiteral("tarnik"));
        const QString ini = m_home.filePath(QStringLiteral("tarnik/Sfc.ini"));
        put(ini, "[Frequent]\r\nPL1=400MHz\x1b]0;owned\x07---470MHz\x7f\xc2\x9b\r\n");

        QStringList full;
        for (const QString &a : args.split(QLatin1Char(' ')))
            full << (a.size() == 1 || a == QStringLiteral("none") ? d.filePath(a) : a);
        const Run r = fileSizeLimit
            ? run(QStringLiteral("/bin/sh"),
                  QStringList{QStringLiteral("-c"),
                              QStringLiteral("ulimit -f %1; exec \"$0\" \"$@\"").arg(fileSizeLimit),
                              QStringLiteral(TARNIK_BIN_DIR "/tarnik-cli")}
                      + full)
            : cli(full);
        QFile::remove(ini);
        QCOMPARE(r.code, code);
        if (out != QStringLiteral("*"))
            QCOMPARE(QString::fromUtf8(r.out), out);
        QVERIFY2(QString::fromUtf8(r.err).contains(err), r.err.constData());
        for (QChar c : QString::fromUtf8(r.out + r.err))
            QVERIFY2(c == QLatin1Char('\n') || c.category() != QChar::Other_Control,
                     "a control character reached the terminal");
        QFile t(d.filePath(QStringLiteral("T")));
        QVERIFY(t.open(QIODevice::ReadOnly));
        QCOMPARE(t.readAll(), QByteArray("old"));
        QCOMPARE(QDir(d.path()).entryList(QDir::Hidden | QDir::Files).size(), 4); // no temporary file left
    }
};

QTEST_GUILESS_MAIN(TstCli)
#include "tst_cli.moc"
