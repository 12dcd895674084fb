// tarnik-cli against tarnik-sim over a real pseudo-terminal: the serial port, the
// wall-clock waits, the exit statuses and what the user is told.

#include "channels/WorkingCopy.h"
#include "files/ChannelFile.h"
#include "link/RadioLink.h"
#include "link/RadioSim.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

const QString simPath = QStringLiteral(TARNIK_BIN_DIR "/tarnik-sim");
const QString cliPath = QStringLiteral(TARNIK_BIN_DIR "/tarnik-cli");
const QString example = QStringLiteral(TARNIK_TEST_DATA "/example.chp");

// A running tarnik-sim and the device it serves.
struct Sim
{
    QProcess process;
    QString device;

    bool start(QStringList args)
    {
        args.prepend(QStringLiteral("0"));
        args.prepend(QStringLiteral("--baud"));
        process.start(simPath, args);
        if (!process.waitForReadyRead(5000))
            return false;
        device = QString::fromUtf8(process.readLine()).trimmed();
        return device.startsWith(QLatin1Char('/'));
    }
    // The next line the simulator prints (one per session, "dump …" after a write).
    QString nextLine()
    {
        while (!process.canReadLine())
            if (!process.waitForReadyRead(5000))
                return {};
        return QString::fromUtf8(process.readLine()).trimmed();
    }
    ~Sim()
    {
        process.kill();
        process.waitForFinished();
    }
};

struct Run
{
    int exitCode = -1;
    QString errors;
};

Run cli(const QStringList &args)
{
    QProcess p;
    p.start(cliPath, args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardError())};
}

codec::Image exampleImage()
{
    WorkingCopy wc;
    wc.startUp(QString());
    loadChannelFile(wc, example);
    return *RadioLink::writeImage(wc);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void writeThenRead();
    void failures_data();
    void failures();
    void interruptCancels();
};

void TestEndToEnd::writeThenRead()
{
    QTemporaryDir dir;
    const QString dump = dir.filePath(QStringLiteral("radio.chp"));
    Sim sim;
    QVERIFY(sim.start({QStringLiteral("--dump"), dump}));

    const Run write = cli({QStringLiteral("write"), QStringLiteral("--no-backup"), QStringLiteral("--no-verify"),
                           QStringLiteral("--port"), sim.device, example});
    QCOMPARE(write.errors, QString());
    QCOMPARE(write.exitCode, 0);
    QVERIFY(sim.nextLine().startsWith(QStringLiteral("session kind=write blocks=128 complete=1")));
    QCOMPARE(sim.nextLine(), QStringLiteral("dump ") + dump);
    const auto written = RadioSim::imageFromChannelText(readAll(dump));
    QVERIFY(written.ok());
    QCOMPARE(*written, exampleImage());

    const QString out = dir.filePath(QStringLiteral("read.chp"));
    const Run read = cli({QStringLiteral("read"), QStringLiteral("--port"), sim.device, QStringLiteral("--out"), out});
    QCOMPARE(read.errors, QString());
    QCOMPARE(read.exitCode, 0);
    const QByteArray text = readAll(out);
    QCOMPARE(text.size(), 128 * 38);
    QCOMPARE(*RadioSim::imageFromChannelText(text), *written);
    QVERIFY(text.startsWith("52 00 00 08 "));
}

void TestEndToEnd::failures_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<QStringList>("cliArgs"); // DEV stands for the simulator's device
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("told");
    const QString dev = QStringLiteral("DEV");
    QTest::newRow("NAK during write") << QStringList{QStringLiteral("--nak-at-block"), QStringLiteral("3")}
                                      << QStringList{QStringLiteral("write"), QStringLiteral("--port"), dev, example}
                                      << 1 << "通信错误";
    QTest::newRow("hang-up during read")
        << QStringList{QStringLiteral("--hangup-at-block"), QStringLiteral("5")}
        << QStringList{QStringLiteral("read"), QStringLiteral("--port"), dev, QStringLiteral("--out"), QStringLiteral("OUT")}
        << 1 << "已断开";
    QTest::newRow("no such device")
        << QStringList{}
        << QStringList{QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("/dev/tarnik-none"),
                       QStringLiteral("--out"), QStringLiteral("OUT")}
        << 1 << "/dev/tarnik-none";
    QTest::newRow("missing file") << QStringList{}
                                  << QStringList{QStringLiteral("write"), QStringLiteral("--port"), dev,
                                                 QStringLiteral("/nonexistent.chp")}
                                  << 2 << "文件不存在";
    QTest::newRow("no port given") << QStringList{} << QStringList{QStringLiteral("read")} << 2 << "用法";
    // BLOCKED lies below a plain file: no folder can be made there.
    QTest::newRow("output cannot be written")
        << QStringList{}
        << QStringList{QStringLiteral("read"), QStringLiteral("--port"), dev, QStringLiteral("--out"), QStringLiteral("BLOCKED")}
        << 2 << "plain";
}

void TestEndToEnd::failures()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QStringList, cliArgs);
    QFETCH(int, exitCode);
    QFETCH(QString, told);
    QTemporaryDir dir;
    Sim sim;
    QVERIFY(sim.start(simArgs));
    cliArgs.replaceInStrings(QStringLiteral("DEV"), sim.device);
    cliArgs.replaceInStrings(QStringLiteral("OUT"), dir.filePath(QStringLiteral("out.chp")));
    QFile plain(dir.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    cliArgs.replaceInStrings(QStringLiteral("BLOCKED"), dir.filePath(QStringLiteral("plain/out.chp")));
    const Run run = cli(cliArgs);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.errors.contains(told), qPrintable(run.errors));
}

void TestEndToEnd::interruptCancels()
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.chp"));
    Sim sim;
    QVERIFY(sim.start({QStringLiteral("--silent-after-block"), QStringLiteral("2")}));
    QProcess p;
    p.start(cliPath, {QStringLiteral("read"), QStringLiteral("--port"), sim.device, QStringLiteral("--out"), out});
    QTRY_COMPARE_WITH_TIMEOUT(readAll(out).count('\n'), 3, 10000);
    ::kill(pid_t(p.processId()), SIGINT);
    QVERIFY(p.waitForFinished(5000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 1);
    QCOMPARE(readAll(out).count('\n'), 3);
    QVERIFY(sim.nextLine().startsWith(QStringLiteral("session kind=read blocks=3 complete=0")));
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
