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
        const Run r = cli({QStringLiteral("show"), QStringLiteral(TARNIK_TEST_DATA "/example.chp"),
                           QStringLiteral("--json")});
        QCOMPARE(r.code, 0);
        QJsonParseError e;
        const QJsonObject o = QJsonDocument::fromJson(r.out, &e).object();
        QCOMPARE(e.error, QJsonParseError::NoError);
        const QStringList keys{QStringLiteral("model"), QStringLiteral("monitor"), QStringLiteral("powerSave"),
                               QStringLiteral("timeout"), QStringLiteral("squelch"), QStringLiteral("scan"),
                               QStringLiteral("voice"), QStringLiteral("crystal"), QStringLiteral("ifSign"),
                               QStringLiteral("powerStep"), QStringLiteral("modelCode"),
                               QStringLiteral("functionByte"), QStringLiteral("voiceByte"),
                               QStringLiteral("channels")};
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
        QTest::newRow("damaged file") << QStringList{QStringLiteral("show"), QStringLiteral(TARNIK_TEST_DATA "/../../README.md")};
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
    // example in lowercase, "T" a file to write (set up as `target` says), "F" a FIFO.
    // A setting file with an ESC in a band is in place for every run.
    void hostileFiles_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("target"); // what T is: none, file, link, readonly, fifo
        QTest::addColumn<int>("fileSizeLimit"); // ulimit -f, in 512-byte blocks; 0 none
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");       // stdout exactly, or "*" for any
        QTest::addColumn<QString>("err");       // a part of stderr
        QTest::addColumn<QByteArray>("written"); // T's content afterwards: "A", "old" or empty (no check)
        const QString any = QStringLiteral("*");
        auto args = [](const char *line) { return QString::fromLatin1(line).split(QLatin1Char(' ')); };
        QTest::newRow("diff equal, lowercase") << args("diff A a") << "none" << 0 << 0 << "" << "" << QByteArray();
        QTest::newRow("diff different") << args("diff A B") << "none" << 0 << 1
                                        << QString::fromUtf16(u"静噪等级: 3 → 5\n信道 1 接收频率: 450.10000 → 450.20000\n")
                                        << "" << QByteArray();
        QTest::newRow("diff missing") << args("diff A T") << "none" << 0 << 2 << "" << "文件不存在" << QByteArray();
        QTest::newRow("diff FIFO") << args("diff F A") << "none" << 0 << 2 << "" << "FIFO" << QByteArray();
        QTest::newRow("diff usage") << args("diff A") << "none" << 0 << 2 << "" << "diff" << QByteArray();
        QTest::newRow("show FIFO") << args("show F") << "none" << 0 << 2 << "" << "FIFO" << QByteArray();
        QTest::newRow("show /dev/null") << args("show /dev/null") << "none" << 0 << 2 << "" << "不是普通文件" << QByteArray();
        QTest::newRow("show: no ESC from the settings") << args("show A") << "none" << 0 << 0 << any << "" << QByteArray();
        QTest::newRow("save through a link") << args("save-canonical a T") << "link" << 0 << 0 << "" << "" << QByteArray("A");
        QTest::newRow("save over a read-only file") << args("save-canonical A T") << "readonly" << 0 << 2 << ""
                                                    << "文件只读" << QByteArray("old");
        QTest::newRow("save to a FIFO") << args("save-canonical A T") << "fifo" << 0 << 2 << "" << "FIFO" << QByteArray();
        QTest::newRow("save past ulimit -f") << args("save-canonical A T") << "file" << 4 << 2 << ""
                                             << "ulimit" << QByteArray("old");
    }
    void hostileFiles()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, target);
        QFETCH(int, fileSizeLimit);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QByteArray, written);

        QTemporaryDir d;
        QFile in(QStringLiteral(TARNIK_TEST_DATA "/example.chp"));
        QVERIFY(in.open(QIODevice::ReadOnly));
        const QByteArray example = in.readAll();
        auto put = [&d](const char *name, const QByteArray &data) {
            QFile f(d.filePath(QString::fromLatin1(name)));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(data);
        };
        put("A", example);
        put("a", example.toLower());
        put("B", QByteArray(example).replace("00 06 03 19", "00 06 05 19").replace("00 10 08 00 00 01 45", "00 10 08 00 00 02 45"));
        QCOMPARE(::mkfifo(QFile::encodeName(d.filePath(QStringLiteral("F"))).constData(), 0600), 0);
        const QString t = d.filePath(QStringLiteral("T"));
        if (target == QStringLiteral("file") || target == QStringLiteral("readonly"))
            put("T", "old");
        if (target == QStringLiteral("readonly"))
            QVERIFY(QFile::setPermissions(t, QFileDevice::ReadOwner));
        if (target == QStringLiteral("link")) {
            put("real", "old");
            QVERIFY(QFile::link(QStringLiteral("real"), t));
        }
        if (target == QStringLiteral("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(t).constData(), 0600), 0);
        QDir(m_home.path()).mkpath(QStringLiteral("tarnik"));
        QFile ini(m_home.filePath(QStringLiteral("tarnik/Sfc.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Frequent]\r\nPL1=400MHz\x1b]0;owned\x07---470MHz\r\n");
        ini.close();

        QStringList full;
        for (const QString &a : args)
            full << (a.size() == 1 ? d.filePath(a) : a);
        if (fileSizeLimit)
            full = QStringList{QStringLiteral("-c"), QStringLiteral("ulimit -f %1; exec \"$0\" \"$@\"").arg(fileSizeLimit),
                               QStringLiteral(TARNIK_BIN_DIR "/tarnik-cli")} + full;
        const Run r = fileSizeLimit ? run(QStringLiteral("/bin/sh"), full) : cli(full);
        ini.remove();
        QCOMPARE(r.code, code);
        if (out != QStringLiteral("*"))
            QCOMPARE(QString::fromUtf8(r.out), out);
        QVERIFY2(QString::fromUtf8(r.err).contains(err), r.err.constData());
        for (char c : r.out + r.err)
            QVERIFY2(uchar(c) >= 0x20 || c == '\n', "a control character reached the terminal");
        if (!written.isEmpty()) {
            QFile w(t);
            QVERIFY(w.open(QIODevice::ReadOnly));
            QCOMPARE(w.readAll(), written == "A" ? example : written);
        }
        if (target == QStringLiteral("link"))
            QVERIFY(QFileInfo(t).isSymLink());
        QCOMPARE(QDir(d.path()).entryList(QDir::Hidden | QDir::System | QDir::Files).filter(QStringLiteral(".tmp")),
                 QStringList());
    }
};

QTEST_GUILESS_MAIN(TstCli)
#include "tst_cli.moc"
