#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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
    Run cli(const QStringList &args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.path()); // no settings file
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(TARNIK_BIN_DIR "/tarnik-cli"), args);
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
};

QTEST_GUILESS_MAIN(TstCli)
#include "tst_cli.moc"
