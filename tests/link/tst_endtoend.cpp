// tarnik-cli against tarnik-sim over a real pseudo-terminal: the serial port, the
// wall-clock waits, the exit statuses and what the user is told.

#include "channels/WorkingCopy.h"
#include "files/ChannelFile.h"
#include "link/RadioLink.h"
#include "link/RadioSim.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

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

// The per-user data folder of every tarnik-cli run: the received-image file goes there.
void useDataFolder(QProcess &p, const QTemporaryDir &dir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.path());
    p.setProcessEnvironment(env);
}

QString receivedIn(const QTemporaryDir &dir)
{
    return dir.filePath(QStringLiteral("tarnik/Received.chp"));
}

// fileLimit: the run's file-size limit in bytes, 0 for none.
Run cli(const QStringList &args, rlim_t fileLimit = 0)
{
    static const QTemporaryDir data;
    QProcess p;
    useDataFolder(p, data);
    if (fileLimit > 0) {
        p.setChildProcessModifier([fileLimit] {
            const rlimit limit{fileLimit, fileLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
    p.start(cliPath, args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardError())};
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
    void interruptCancels_data();
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
    QTest::addColumn<int>("fileLimit");
    const QString dev = QStringLiteral("DEV");
    // The write transfer itself, without the safe write's reads around it.
    const QString noBackup = QStringLiteral("--no-backup"), noVerify = QStringLiteral("--no-verify");
    QTest::newRow("NAK during write") << QStringList{QStringLiteral("--nak-at-block"), QStringLiteral("3")}
                                      << QStringList{QStringLiteral("write"),  noBackup, noVerify,
                                                     QStringLiteral("--port"), dev,      example}
                                      << 1 << "通信错误" << 0;
    QTest::newRow("write cut short") << QStringList{QStringLiteral("--nak-at-block"), QStringLiteral("3")}
                                     << QStringList{QStringLiteral("write"),  noBackup, noVerify,
                                                    QStringLiteral("--port"), dev,      example}
                                     << 1 << "写频未完成：对讲机中只有部分新数据，请重新写频。" << 0;
    QTest::newRow("reply not asked for") << QStringList{QStringLiteral("--garbage-at-block"), QStringLiteral("7")}
                                         << QStringList{QStringLiteral("read"), QStringLiteral("--port"), dev,
                                                        QStringLiteral("--out"), QStringLiteral("OUT")}
                                         << 1 << "通信错误" << 0;
    QTest::newRow("flooding line") << QStringList{QStringLiteral("--flood")}
                                   << QStringList{QStringLiteral("read"), QStringLiteral("--port"), dev,
                                                  QStringLiteral("--out"), QStringLiteral("OUT")}
                                   << 1 << "通信错误" << 0;
    QTest::newRow("output is a folder") << QStringList{}
                                        << QStringList{QStringLiteral("read"), QStringLiteral("--port"), dev,
                                                       QStringLiteral("--out"), QStringLiteral("FOLDER")}
                                        << 2 << "不是普通文件" << 0;
    // The received image reaches the limit at block 54, before the output is written.
    QTest::newRow("file-size limit") << QStringList{}
                                     << QStringList{QStringLiteral("read"), QStringLiteral("--port"), dev,
                                                    QStringLiteral("--out"), QStringLiteral("OUT")}
                                     << 2 << "Received.chp" << 2048;
    QTest::newRow("hang-up during read") << QStringList{QStringLiteral("--hangup-at-block"), QStringLiteral("5")}
                                         << QStringList{QStringLiteral("read"), QStringLiteral("--port"), dev,
                                                        QStringLiteral("--out"), QStringLiteral("OUT")}
                                         << 1 << "已断开" << 0;
    QTest::newRow("no such device") << QStringList{}
                                    << QStringList{QStringLiteral("read"), QStringLiteral("--port"),
                                                   QStringLiteral("/dev/tarnik-none"), QStringLiteral("--out"),
                                                   QStringLiteral("OUT")}
                                    << 1 << "/dev/tarnik-none" << 0;
    QTest::newRow("missing file") << QStringList{}
                                  << QStringList{QStringLiteral("write"), QStringLiteral("--port"), dev,
                                                 QStringLiteral("/nonexistent.chp")}
                                  << 2 << "文件不存在" << 0;
    QTest::newRow("no port given") << QStringList{} << QStringList{QStringLiteral("read")} << 2 << "用法" << 0;
    // BLOCKED lies below a plain file: no folder can be made there.
    QTest::newRow("output cannot be written") << QStringList{}
                                              << QStringList{QStringLiteral("read"), QStringLiteral("--port"), dev,
                                                             QStringLiteral("--out"), QStringLiteral("BLOCKED")}
                                              << 2 << "plain" << 0;
}

void TestEndToEnd::failures()
{
    QFETCH(QStringList, simArgs);
    QFETCH(QStringList, cliArgs);
    QFETCH(int, exitCode);
    QFETCH(QString, told);
    QFETCH(int, fileLimit);
    QTemporaryDir dir;
    Sim sim;
    QVERIFY(sim.start(simArgs));
    cliArgs.replaceInStrings(QStringLiteral("DEV"), sim.device);
    cliArgs.replaceInStrings(QStringLiteral("OUT"), dir.filePath(QStringLiteral("out.chp")));
    QFile plain(dir.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    cliArgs.replaceInStrings(QStringLiteral("BLOCKED"), dir.filePath(QStringLiteral("plain/out.chp")));
    cliArgs.replaceInStrings(QStringLiteral("FOLDER"), dir.path());
    // What the output held before is kept by any failure.
    QFile old(dir.filePath(QStringLiteral("out.chp")));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
    old.close();
    const Run run = cli(cliArgs, rlim_t(fileLimit));
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.errors.contains(told), qPrintable(run.errors));
    QCOMPARE(readAll(dir.filePath(QStringLiteral("out.chp"))), QByteArray("old\n"));
}

void TestEndToEnd::interruptCancels_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("Ctrl+C") << int(SIGINT);
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
}

void TestEndToEnd::interruptCancels()
{
    QFETCH(int, signal);
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.chp"));
    QFile old(out);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
    old.close();
    Sim sim;
    QVERIFY(sim.start({QStringLiteral("--silent-after-block"), QStringLiteral("2")}));
    QProcess p;
    useDataFolder(p, dir);
    p.start(cliPath, {QStringLiteral("read"), QStringLiteral("--port"), sim.device, QStringLiteral("--out"), out});
    QTRY_COMPARE_WITH_TIMEOUT(readAll(receivedIn(dir)).count('\n'), 3, 10000);
    ::kill(pid_t(p.processId()), signal);
    QVERIFY(p.waitForFinished(5000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), 1);
    // The port was closed (the radio saw the session end); the output is untouched.
    QVERIFY(sim.nextLine().startsWith(QStringLiteral("session kind=read blocks=3 complete=0")));
    QCOMPARE(readAll(out), QByteArray("old\n"));
    QCOMPARE(readAll(receivedIn(dir)).count('\n'), 3);
    QVERIFY(QString::fromUtf8(p.readAllStandardError()).contains(QDir::toNativeSeparators(receivedIn(dir))));
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
