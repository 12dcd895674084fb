// tarnik-cli write with several ports against tarnik-sim radios on pseudo-terminals: one
// result line per port, the radio that corrupts a block or is of another model fails
// alone, --any-model goes to every port, batches count radios, a signal cancels every
// port truthfully, a device named twice is refused before any radio is spoken to, and
// fleet-log.csv gets a row per radio with its number and port.

#include "link/RadioSim.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <memory>
#include <vector>

namespace {

const QString example = QStringLiteral(TARNIK_TEST_DATA "/example.chp");

// "a|b|c" as a list; "" as none.
QStringList list(const char *items)
{
    return QString::fromUtf8(items).split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

struct Sim
{
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    QString device;
};

} // namespace

class TestParallelCli : public QObject
{
    Q_OBJECT
private slots:
    void write_data()
    {
        QTest::addColumn<QStringList>("simFaults"); // one a radio, "" for none
        QTest::addColumn<QStringList>("ports"); // radio numbers, "by-id:N" for a link to radio N
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("signalAfterMs"); // SIGTERM to tarnik-cli; 0 none
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("told"); // lines on stdout
        QTest::addColumn<int>("logRadioLines"); // -1: no log

        const QString none;
        const QString corrupt = QStringLiteral("--corrupt-at-block 5");
        QTest::newRow("three radios, one corrupting")
            << QStringList{none, corrupt, none} << list("0|1|2") << QStringList{} << QByteArray() << 0 << 1
            << list("端口 @0：成功|端口 @1：校验失败|对讲机已被改动|端口 @2：成功|成功 2 台，失败 1 台") << 3;
        QTest::newRow("--ports list") << QStringList{none, none} << list("0,1") << QStringList{} << QByteArray() << 0
                                      << 0 << list("端口 @0：成功|端口 @1：成功|成功 2 台，失败 0 台") << 2;
        QTest::newRow("three radios in two batches")
            << QStringList{none, none} << list("0|1") << list("--count|3") << QByteArray("\n") << 0 << 0
            << list("请在 1 个端口上连接下一批对讲机，按回车键继续|成功 3 台，失败 0 台") << 3;
        QTest::newRow("input ends before the second batch")
            << QStringList{none, none} << list("0|1") << list("--count|4") << QByteArray() << 0 << 1
            << list("请在 2 个端口上连接下一批对讲机，按回车键继续|只写了 2 台，要求 4 台") << 2;
        QTest::newRow("cancelled during the backups")
            << list("--baud 9600|--baud 9600") << list("0|1") << QStringList{} << QByteArray() << 1000 << 1
            << list("端口 @0：取消|端口 @1：取消|对讲机未被改动") << 2;
        const QString otherModel = QStringLiteral("--model-code 22");
        QTest::newRow("one radio of another model")
            << QStringList{none, otherModel} << list("0|1") << QStringList{} << QByteArray() << 0 << 1
            << list("端口 @0：成功|端口 @1：机型不符|对讲机未被改动|成功 1 台，失败 1 台") << 2;
        QTest::newRow("--any-model on every port")
            << QStringList{otherModel, otherModel} << list("0|1") << list("--any-model") << QByteArray() << 0 << 0
            << list("端口 @0：成功|端口 @1：成功|成功 2 台，失败 0 台") << 2;
        QTest::newRow("same device twice") << QStringList{none, none} << list("0|1|0") << QStringList{} << QByteArray()
                                           << 0 << 2 << QStringList{} << -1;
        QTest::newRow("same device through a link") << QStringList{none, none} << list("0|by-id:1|1") << QStringList{}
                                                    << QByteArray() << 0 << 2 << QStringList{} << -1;
    }

    void write()
    {
        QFETCH(QStringList, simFaults);
        QFETCH(QStringList, ports);
        QFETCH(QStringList, extra);
        QFETCH(QByteArray, input);
        QFETCH(int, signalAfterMs);
        QFETCH(int, exitCode);
        QFETCH(QStringList, told);
        QFETCH(int, logRadioLines);

        QTemporaryDir dir;
        std::vector<Sim> sims;
        for (const QString &fault : simFaults) {
            Sim sim;
            QStringList args{QStringLiteral("--baud"), QStringLiteral("0")};
            args += fault.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            sim.process->start(QStringLiteral(TARNIK_BIN_DIR "/tarnik-sim"), args);
            QVERIFY(sim.process->waitForReadyRead(5000));
            sim.device = QString::fromUtf8(sim.process->readLine()).trimmed();
            sims.push_back(std::move(sim));
        }
        auto deviceOf = [&](const QString &entry) {
            if (!entry.startsWith(QStringLiteral("by-id:")))
                return sims[size_t(entry.toInt())].device;
            const QString link = dir.filePath(QStringLiteral("by-id-") + entry.mid(6));
            QFile::link(sims[size_t(entry.mid(6).toInt())].device, link);
            return link;
        };
        QStringList args{QStringLiteral("write")};
        for (const QString &entry : ports) {
            QStringList devices;
            for (const QString &one : entry.split(QLatin1Char(',')))
                devices << deviceOf(one);
            args << (entry.contains(QLatin1Char(',')) ? QStringLiteral("--ports") : QStringLiteral("--port"))
                 << devices.join(QLatin1Char(','));
        }
        args << extra << example;

        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral(TARNIK_BIN_DIR "/tarnik-cli"), args);
        cli.write(input);
        cli.closeWriteChannel();
        if (signalAfterMs > 0) {
            QTest::qWait(signalAfterMs);
            ::kill(pid_t(cli.processId()), SIGTERM);
        }
        QVERIFY(cli.waitForFinished(60000));
        const QString said = QString::fromUtf8(cli.readAllStandardOutput());
        const QString why = said + QString::fromUtf8(cli.readAllStandardError());
        QCOMPARE(cli.exitCode(), exitCode);
        for (QString line : told) {
            for (size_t i = 0; i < sims.size(); ++i)
                line.replace(QStringLiteral("@%1").arg(i), sims[i].device);
            QVERIFY2(said.contains(line), qPrintable(line + QStringLiteral("\n---\n") + why));
        }
        // One result line per radio, each naming its port.
        if (exitCode != 2)
            QCOMPARE(said.count(QStringLiteral("端口 /")), logRadioLines);

        // Nothing was started when a device was named twice: no radio saw a session.
        for (Sim &sim : sims) {
            if (exitCode == 2)
                QVERIFY(!sim.process->waitForReadyRead(200));
            sim.process->kill();
            sim.process->waitForFinished();
        }
        QFile log(dir.filePath(QStringLiteral("data/tarnik/fleet-log.csv")));
        if (logRadioLines < 0) {
            QVERIFY(!log.exists());
            return;
        }
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        // The header, a row per radio with its number, port, result and backup, the summary.
        QCOMPARE(lines.size(), 1 + logRadioLines + 1);
        QCOMPARE(lines.first(), QStringLiteral("时间,文件,台号,端口,结果,备份,成功,失败"));
        QStringList numbers;
        for (int i = 1; i <= logRadioLines; ++i) {
            const QStringList fields = lines[i].split(QLatin1Char(','));
            QVERIFY2(std::any_of(sims.cbegin(), sims.cend(), [&](const Sim &s) { return fields.value(3) == s.device; }),
                     qPrintable(lines[i]));
            numbers << fields.value(2);
            const QString port = fields.value(3).mid(5).replace(QLatin1Char('/'), QLatin1Char('-'));
            if (fields.value(4) == QStringLiteral("成功"))
                QVERIFY2(fields.value(5).endsWith(QStringLiteral("_%1_%2.chp").arg(port, fields.value(2))),
                         qPrintable(lines[i]));
            QVERIFY2(said.contains(QStringLiteral("端口 %1：%2").arg(fields.value(3), fields.value(4))),
                     qPrintable(lines[i]));
        }
        numbers.sort();
        QStringList expected;
        for (int k = 1; k <= logRadioLines; ++k)
            expected << QString::number(k);
        expected.sort();
        QCOMPARE(numbers, expected);
        QVERIFY2(lines.last().contains(QStringLiteral(",合计,")), qPrintable(lines.last()));
    }
};

QTEST_GUILESS_MAIN(TestParallelCli)
#include "tst_parallelcli.moc"
