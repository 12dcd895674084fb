// Several radios written at once, each on its own port with an in-process radio in
// virtual time: a port that fails (a corrupting radio, a silent one, a busy port, a
// Cancel, a radio of another model) fails alone while the others end with the file and
// their own tuning and backup, named after their port and place in the run; batches count
// radios; two names for one device are refused; the fleet log has a row per radio and
// refuses what is no regular file.

#include "ParallelRig.h"

#include "files/BackupStore.h"
#include "link/FleetWrite.h"
#include "link/ParallelFleet.h"
#include "link/RadioTuning.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTranslator>
#include <QTest>

#include <algorithm>
#include <sys/stat.h>

using namespace parallelrig;

namespace {

// The fleet on the rig's radios.
struct Bench
{
    SimPorts ports;
    ParallelFleet fleet;
    QTemporaryDir &dir = ports.dir;
    QStringList &devices = ports.devices;

    Bench(int faultyPort, Fault fault, int count = Ports) : ports(count, faultyPort, fault), fleet(ports.devices)
    {
        ports.attach(fleet);
    }
    const RadioSim &radio(int port, int batch = 0) const { return ports.radio(port, batch); }
    bool stalled(int port) const { return ports.stalled[size_t(port)]; }
};

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestParallelFleet : public QObject
{
    Q_OBJECT
private slots:
    void onePortFailsAlone_data()
    {
        QTest::addColumn<int>("faultyPort");
        QTest::addColumn<int>("fault");
        QTest::addColumn<bool>("anyModel");
        QTest::newRow("all healthy") << -1 << int(NoFault) << false;
        const char *names[] = {"", "corrupting", "silent", "busy", "cancel", "other model"};
        for (int fault : {Corrupt, Silent, Busy, Cancel, OtherModel})
            for (int port = 0; port < Ports; ++port)
                QTest::addRow("%s radio on port %d", names[fault], port) << port << fault << false;
        // --any-model goes to every port.
        QTest::newRow("other model written anyway") << 2 << int(OtherModel) << true;
    }

    void onePortFailsAlone()
    {
        QFETCH(int, faultyPort);
        QFETCH(int, fault);
        QFETCH(bool, anyModel);

        Bench bench(faultyPort, Fault(fault));
        bench.fleet.options.anyModel = anyModel;
        const codec::Image file = fileImage();
        QList<int> doneOrder;
        connect(&bench.fleet, &ParallelFleet::radioDone, this,
                [&](const ParallelFleet::Radio &r) { doneOrder << r.port; });
        const QList<ParallelFleet::Radio> radios = bench.fleet.run(file);

        QCOMPARE(radios.size(), Ports);
        QCOMPARE(doneOrder.size(), Ports);
        QStringList backups;
        for (const ParallelFleet::Radio &r : radios) {
            const int port = r.port;
            QCOMPARE(r.device, bench.devices[port]);
            QVERIFY2(!bench.stalled(port), qPrintable(r.device));
            const codec::Image before = radioMemory(port, port == faultyPort && fault == OtherModel);
            const codec::Image &memory = bench.radio(port).memory();
            codec::Image sent = file;
            keepRadioTuning(sent, before);
            QCOMPARE(r.result, FleetWrite::resultWord(FleetWrite::kindOf(r.outcome)));
            if (!r.outcome.backupPath.isEmpty()) {
                QCOMPARE(readAll(r.outcome.backupPath), imageChannelText(before));
                // Named after the port and the radio's place in the run.
                QVERIFY2(r.outcome.backupPath.endsWith(QStringLiteral("_%1_%2.chp").arg(r.device).arg(r.number)),
                         qPrintable(r.outcome.backupPath));
                backups << r.outcome.backupPath;
            }
            if (fault == Cancel) {
                // Wherever a port was when the Cancel came, its result tells the truth.
                QVERIFY(r.outcome.ok || r.outcome.cancelled);
                if (r.outcome.ok)
                    QVERIFY(memory == sent);
                else
                    QCOMPARE(r.outcome.radioChanged, !(memory == before));
                if (port == faultyPort)
                    QVERIFY(!r.outcome.ok);
                continue;
            }
            if (port != faultyPort || anyModel) {
                QVERIFY2(r.outcome.ok, qPrintable(r.device + QLatin1Char(' ') + r.outcome.text));
                QCOMPARE(r.result, QStringLiteral("成功"));
                QVERIFY(memory == sent);
                QCOMPARE(RadioTuning::of(memory), RadioTuning::of(before));
                QVERIFY(!r.outcome.backupPath.isEmpty());
                continue;
            }
            QVERIFY(!r.outcome.ok);
            switch (Fault(fault)) {
            case Corrupt: {
                QCOMPARE(r.result, QStringLiteral("校验失败"));
                QVERIFY(r.outcome.radioChanged);
                codec::Image stored = sent;
                stored[CorruptBlock][0] ^= 0x01;
                QVERIFY(memory == stored);
                break;
            }
            case OtherModel:
                QCOMPARE(r.result, QStringLiteral("机型不符"));
                QVERIFY(r.outcome.wrongModel);
                QVERIFY(!r.outcome.radioChanged);
                QVERIFY(memory == before);
                QVERIFY(r.outcome.backupPath.isEmpty());
                break;
            case Silent:
            case Busy:
                QCOMPARE(r.result, QStringLiteral("通信失败"));
                QCOMPARE(r.outcome.stoppedAt, SafeWrite::Stage::Backup);
                QVERIFY(!r.outcome.radioChanged);
                QVERIFY(memory == before);
                QVERIFY(r.outcome.backupPath.isEmpty());
                if (fault == Silent)
                    QVERIFY(r.messages.contains(QStringLiteral("通信端口没有响应，请确保连接正确和电源打开")));
                else
                    QVERIFY2(r.outcome.text.contains(r.device), qPrintable(r.outcome.text));
                break;
            default:
                QFAIL("no such fault");
            }
        }
        // Every backup is a file of its own.
        backups.removeDuplicates();
        QCOMPARE(backups.size(), int(std::count_if(radios.cbegin(), radios.cend(), [](const auto &r) {
                     return !r.outcome.backupPath.isEmpty();
                 })));
        QCOMPARE(bench.fleet.succeeded() + bench.fleet.failed(), Ports);
        QCOMPARE(bench.fleet.exitCode(), fault == NoFault || anyModel ? 0 : 1);
        QCOMPARE(bench.fleet.cancelled(), fault == Cancel);
    }

    // --count N counts radios over batches of as many ports as radios are left.
    void batchesCountRadios_data()
    {
        QTest::addColumn<int>("ports");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<bool>>("answers"); // to "connect the next batch", in order
        QTest::addColumn<QList<int>>("asked"); // the ports of each batch asked for
        QTest::addColumn<QList<int>>("portOfRadio");
        QTest::addColumn<QString>("shortfall"); // as shown in English
        QTest::addColumn<int>("exitCode");

        QTest::newRow("no count: one radio a port")
            << 3 << -1 << QList<bool>{} << QList<int>{} << QList<int>{0, 1, 2} << QString() << 0;
        QTest::newRow("5 on 2 ports") << 2 << 5 << QList<bool>{true, true} << QList<int>{2, 1}
                                      << QList<int>{0, 1, 0, 1, 0} << QString() << 0;
        QTest::newRow("4 on 2 ports") << 2 << 4 << QList<bool>{true} << QList<int>{2} << QList<int>{0, 1, 0, 1}
                                      << QString() << 0;
        QTest::newRow("2 on 3 ports") << 3 << 2 << QList<bool>{} << QList<int>{} << QList<int>{0, 1} << QString() << 0;
        QTest::newRow("input ends after one batch") << 2 << 5 << QList<bool>{false} << QList<int>{2} << QList<int>{0, 1}
                                                    << QStringLiteral("Only 2 radios written, 5 asked for") << 1;
        QTest::newRow("until the input ends")
            << 2 << 0 << QList<bool>{true, false} << QList<int>{2, 2} << QList<int>{0, 1, 0, 1} << QString() << 0;
    }

    void batchesCountRadios()
    {
        QFETCH(int, ports);
        QFETCH(int, count);
        QFETCH(QList<bool>, answers);
        QFETCH(QList<int>, asked);
        QFETCH(QList<int>, portOfRadio);
        QFETCH(QString, shortfall);
        QFETCH(int, exitCode);

        // Shown in English, stored in Chinese: the log's summary row does not follow the language.
        QTranslator english;
        QVERIFY(english.load(QStringLiteral(":/i18n/tarnik_en.qm")));
        QCoreApplication::installTranslator(&english);
        const auto chinese = qScopeGuard([&] { QCoreApplication::removeTranslator(&english); });
        Bench bench(-1, NoFault, ports);
        bench.fleet.count = count;
        QList<int> askedFor;
        bench.fleet.nextBatch = [&](int n) {
            askedFor << n;
            return askedFor.size() <= answers.size() && answers[askedFor.size() - 1];
        };
        const QString log = bench.dir.filePath(QStringLiteral("fleet-log.csv"));
        QVERIFY(bench.fleet.openLog(log, QStringLiteral("a.chp")).ok());
        QList<ParallelFleet::Radio> radios = bench.fleet.run(fileImage());
        QCOMPARE(askedFor, asked);
        std::sort(radios.begin(), radios.end(), [](const auto &a, const auto &b) { return a.number < b.number; });
        QList<int> ofRadio;
        for (int i = 0; i < radios.size(); ++i) {
            QCOMPARE(radios[i].number, i + 1);
            QVERIFY2(radios[i].outcome.ok, qPrintable(radios[i].outcome.text));
            ofRadio << radios[i].port;
            // Radio k of a port is in batch k of that port.
            const int batch = int(std::count(ofRadio.cbegin(), ofRadio.cend(), radios[i].port)) - 1;
            codec::Image sent = fileImage();
            keepRadioTuning(sent, radioMemory(radios[i].port));
            QVERIFY(bench.radio(radios[i].port, batch).memory() == sent);
        }
        QCOMPARE(ofRadio, portOfRadio);
        QCOMPARE(bench.fleet.shortfall(), shortfall);
        QCOMPARE(bench.fleet.exitCode(), exitCode);

        QCOMPARE(bench.fleet.closeLog().ok(), true);

        // The header, a row per radio with its number and port as it was done, the summary.
        const QStringList lines = QString::fromUtf8(readAll(log)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 1 + radios.size() + 1);
        QCOMPARE(lines.first(), QStringLiteral("时间,文件,台号,端口,结果,备份,成功,失败"));
        for (const ParallelFleet::Radio &r : std::as_const(radios))
            QVERIFY(lines.contains(QStringList{r.finished.toString(Qt::ISODate), QStringLiteral("a.chp"),
                                               QString::number(r.number), r.device, QStringLiteral("成功"),
                                               r.outcome.backupPath, QString(), QString()}
                                       .join(QLatin1Char(','))));
        QVERIFY(lines.last().endsWith(QStringLiteral(",a.chp,合计,,成功 %1 台，失败 0 台,,%1,0").arg(radios.size())));
    }

    void logRefusesWhatIsNoFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fifo") << QStringLiteral("fifo");
        QTest::newRow("folder") << QStringLiteral("folder");
        QTest::newRow("device") << QStringLiteral("device");
    }

    void logRefusesWhatIsNoFile()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("fleet-log.csv"));
        if (kind == QStringLiteral("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == QStringLiteral("folder"))
            QVERIFY(QDir().mkpath(path));
        else
            path = QStringLiteral("/dev/null");
        ParallelFleet fleet({QStringLiteral("a")});
        QVERIFY(!fleet.openLog(path, QStringLiteral("a.chp")).ok());
    }

    // Two names for one device are refused, whichever way the second one leads there.
    void duplicateDevicesRefused_data()
    {
        QTest::addColumn<QStringList>("devices"); // "@" stands for the temporary folder
        QTest::addColumn<bool>("refused");
        QTest::newRow("distinct devices")
            << QStringList{QStringLiteral("/dev/null"), QStringLiteral("/dev/zero")} << false;
        QTest::newRow("same name") << QStringList{QStringLiteral("/dev/null"), QStringLiteral("/dev/zero"),
                                                  QStringLiteral("/dev/null")}
                                   << true;
        QTest::newRow("link to the device")
            << QStringList{QStringLiteral("/dev/null"), QStringLiteral("@/by-id-null")} << true;
        QTest::newRow("dots in the path")
            << QStringList{QStringLiteral("/dev/../dev/null"), QStringLiteral("/dev/null")} << true;
        QTest::newRow("link to a link") << QStringList{QStringLiteral("@/link-to-link"), QStringLiteral("/dev/null")}
                                        << true;
        QTest::newRow("missing, distinct")
            << QStringList{QStringLiteral("@/none1"), QStringLiteral("@/none2")} << false;
        QTest::newRow("missing, same") << QStringList{QStringLiteral("@/none1"), QStringLiteral("@/./none1")} << true;
    }

    void duplicateDevicesRefused()
    {
        QFETCH(QStringList, devices);
        QFETCH(bool, refused);
        QTemporaryDir dir;
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("by-id-null"))));
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("by-id-null")), dir.filePath(QStringLiteral("link-to-link"))));
        devices.replaceInStrings(QStringLiteral("@"), dir.path());
        const Status s = ParallelFleet::checkDistinct(devices);
        QCOMPARE(!s.ok(), refused);
    }
};

QTEST_GUILESS_MAIN(TestParallelFleet)
#include "tst_parallelfleet.moc"
