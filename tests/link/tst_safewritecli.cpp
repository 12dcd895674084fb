// tarnik-cli write as a safe write against tarnik-sim on a pseudo-terminal, with the
// per-user data folder in a temporary directory: the backup holds the radio's memory from
// before, the radio keeps its own tuning unless asked otherwise, a radio that stores what
// it did not acknowledge is caught, and several radios follow one another on Enter.

#include "link/RadioSim.h"
#include "link/RadioTuning.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

const QString example = QStringLiteral(TARNIK_TEST_DATA "/example.chp");

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestSafeWriteCli : public QObject
{
    Q_OBJECT
private slots:
    void write_data()
    {
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<QStringList>("writeArgs");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("backups");
        QTest::addColumn<bool>("radioTuningKept");
        QTest::addColumn<QString>("told"); // on stdout or stderr
        // "fifo log": fleet-log.csv is a FIFO; "no tmp": TMPDIR names no folder; "no folder":
        // neither TMPDIR nor the data folder can take the stage files.
        QTest::addColumn<QString>("setup");

        const QStringList tuned{QStringLiteral("--tuning"), QStringLiteral("3032")};
        QTest::newRow("safe") << tuned << QStringList{} << QByteArray() << 0 << 1 << true
                              << "已保留本机调整值：晶振 14.4MHz，中频 负，功率档 5" << QString();
        QTest::newRow("file tuning") << tuned << QStringList{QStringLiteral("--file-tuning")} << QByteArray() << 0 << 1
                                     << false << "写频完成，校验无误。" << QString();
        QTest::newRow("no backup") << tuned << QStringList{QStringLiteral("--no-backup")} << QByteArray() << 0 << 0
                                   << false << "写频完成，校验无误。" << QString();
        const QStringList corrupting = tuned + QStringList{QStringLiteral("--corrupt-at-block"), QStringLiteral("3")};
        QTest::newRow("corrupting radio")
            << corrupting << QStringList{} << QByteArray() << 1 << 1 << true
            << "校验失败：对讲机中读回的数据有 1 处与写入的不同（写入 → 读回）：\n信道 1 接收信令: 67 → OFF\n"
               "请重新写频；写频前的备份："
            << QString();
        QTest::newRow("corrupting radio, no verify") << corrupting << QStringList{QStringLiteral("--no-verify")}
                                                     << QByteArray() << 0 << 1 << true << "写频完成。" << QString();
        QTest::newRow("three radios") << tuned << QStringList{QStringLiteral("--count"), QStringLiteral("3")}
                                      << QByteArray("\n\n") << 0 << 3 << true << "成功 3 台，失败 0 台" << QString();
        QTest::newRow("input ends after two")
            << tuned << QStringList{QStringLiteral("--count"), QStringLiteral("0")} << QByteArray("\n") << 0 << 2
            << true << "请连接第 2 台对讲机" << QString();
        QTest::newRow("bad count") << tuned << QStringList{QStringLiteral("--count"), QStringLiteral("-1")}
                                   << QByteArray() << 2 << 0 << false << "用法" << QString();
        QTest::newRow("input ends before the count")
            << tuned << QStringList{QStringLiteral("--count"), QStringLiteral("3")} << QByteArray("\n") << 1 << 2
            << true << "只写了 2 台，要求 3 台" << QString();
        QTest::newRow("a failed radio fails the run")
            << corrupting << QStringList{QStringLiteral("--count"), QStringLiteral("2")} << QByteArray("\n") << 1 << 2
            << true << "成功 0 台，失败 2 台" << QString();
        QTest::newRow("fleet log is a FIFO")
            << tuned << QStringList{QStringLiteral("--count"), QStringLiteral("2")} << QByteArray("\n") << 2 << 0
            << false << "不能写入批量写频记录" << QStringLiteral("fifo log");
        QTest::newRow("no temporary folder") << tuned << QStringList{} << QByteArray() << 0 << 1 << true
                                             << "写频完成，校验无误。" << QStringLiteral("no tmp");
        QTest::newRow("no folder for the stage files") << tuned << QStringList{} << QByteArray() << 2 << 0 << false
                                                       << "中创建临时文件夹" << QStringLiteral("no folder");
    }

    void write()
    {
        QFETCH(QStringList, simArgs);
        QFETCH(QStringList, writeArgs);
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QFETCH(int, backups);
        QFETCH(bool, radioTuningKept);
        QFETCH(QString, told);
        QFETCH(QString, setup);

        QTemporaryDir dir;
        const QString data = dir.filePath(QStringLiteral("data"));
        const QString received = data + QStringLiteral("/tarnik/Received.chp");
        const QByteArray lastRead = "the user's last read\r\n";
        if (setup == QStringLiteral("no folder")) {
            QFile blocker(data); // a file where the data folder should be
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkpath(data + QStringLiteral("/tarnik")));
            QFile f(received);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(lastRead);
        }
        if (setup == QStringLiteral("fifo log"))
            QCOMPARE(::mkfifo(QFile::encodeName(data + QStringLiteral("/tarnik/fleet-log.csv")).constData(), 0600), 0);
        const QString dump = dir.filePath(QStringLiteral("radio.chp"));
        QProcess sim;
        sim.start(QStringLiteral(TARNIK_BIN_DIR "/tarnik-sim"),
                  QStringList{QStringLiteral("--baud"), QStringLiteral("0"), QStringLiteral("--dump"), dump} + simArgs);
        QVERIFY(sim.waitForReadyRead(5000));
        const QString device = QString::fromUtf8(sim.readLine()).trimmed();
        const codec::Image before = [&] {
            codec::Image img = RadioSim::factoryImage();
            if (simArgs.contains(QStringLiteral("3032"))) {
                img[0][4] = 0x30;
                img[0][7] = 0x32;
            }
            return img;
        }();

        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), data);
        if (!setup.isEmpty() && setup != QStringLiteral("fifo log"))
            env.insert(QStringLiteral("TMPDIR"), dir.filePath(QStringLiteral("nonexistent")));
        cli.setProcessEnvironment(env);
        cli.start(QStringLiteral(TARNIK_BIN_DIR "/tarnik-cli"),
                  QStringList{QStringLiteral("write"), QStringLiteral("--port"), device} + writeArgs
                      + QStringList{example});
        cli.write(input);
        cli.closeWriteChannel();
        QVERIFY(cli.waitForFinished(60000));
        const QString said = QString::fromUtf8(cli.readAllStandardOutput() + cli.readAllStandardError());
        // The radio stores a write when its session ends, which may be after the CLI has
        // gone: wait until it has said so for every radio written.
        if (exitCode != 2 && !setup.isEmpty())
            QCOMPARE(readAll(received), lastRead);
        if (exitCode != 2) {
            QByteArray simSaid;
            const int writes = qMax(backups, 1);
            while (simSaid.count("dump ") < writes && sim.waitForReadyRead(5000))
                simSaid += sim.readAllStandardOutput();
        }
        sim.kill();
        sim.waitForFinished();
        QCOMPARE(cli.exitCode(), exitCode);
        QVERIFY2(said.contains(told), qPrintable(said));

        const QDir backupDir(dir.filePath(QStringLiteral("data/tarnik/backups")));
        const QStringList files = backupDir.entryList({QStringLiteral("*.chp")}, QDir::Files, QDir::Name);
        QCOMPARE(files.size(), backups);
        if (backups > 0)
            QCOMPARE(readAll(backupDir.filePath(files.first())), RadioSim::channelText(before));
        if (exitCode == 2) {
            QVERIFY(!QFile::exists(dump) || RadioSim::imageFromChannelText(readAll(dump)).value() == before);
            if (setup != QStringLiteral("no folder"))
                QCOMPARE(readAll(received), lastRead);
            return;
        }
        const auto radio = RadioSim::imageFromChannelText(readAll(dump));
        QVERIFY(radio.ok());
        QCOMPARE(RadioTuning::of(*radio) == RadioTuning::of(before), radioTuningKept);
        if (writeArgs.contains(QStringLiteral("--count"))) {
            // Header, one row per radio with its port, result and backup, the summary.
            const QStringList log = QString::fromUtf8(readAll(data + QStringLiteral("/tarnik/fleet-log.csv")))
                                        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            QCOMPARE(log.size(), backups + 2);
            for (int k = 1; k <= backups; ++k) {
                const QStringList fields = log[k].split(QLatin1Char(','));
                QCOMPARE(fields.value(2), QString::number(k));
                QCOMPARE(fields.value(3), device);
                QCOMPARE(fields.value(4),
                         exitCode == 0 || told.contains(QStringLiteral("只写了")) ? QStringLiteral("成功")
                                                                                  : QStringLiteral("校验失败"));
                QVERIFY(fields.value(5).endsWith(QStringLiteral("_%1.chp").arg(k)));
                QVERIFY(QFile::exists(fields.value(5)));
            }
            QVERIFY(log.last().contains(QStringLiteral(",合计,")));
        }
    }
};

QTEST_GUILESS_MAIN(TestSafeWriteCli)
#include "tst_safewritecli.moc"
