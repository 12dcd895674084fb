// 批量写频 over several ports: the ports chosen, one row per port with its stage, bar and
// result, a failed radio's row standing out while the others succeed, the next batch on
// the same ports, the fleet log when the dialog closes, and a device chosen twice refused.

#include "../../widgets/FakePrompter.h"
#include "../ParallelRig.h"

#include "link/ui/ParallelFleetDialog.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace parallelrig;

class TestParallelFleetDialog : public QObject
{
    Q_OBJECT
private slots:
    void batchesOnSeveralPorts_data()
    {
        QTest::addColumn<int>("faultyPort");
        QTest::addColumn<int>("fault");
        QTest::newRow("all healthy") << -1 << int(NoFault);
        QTest::newRow("corrupting radio on the middle port") << 1 << int(Corrupt);
        QTest::newRow("busy last port") << 2 << int(Busy);
    }

    void batchesOnSeveralPorts()
    {
        QFETCH(int, faultyPort);
        QFETCH(int, fault);
        FakePrompter prompter;
        SimPorts sims(3, faultyPort, Fault(fault));
        SafeWrite::Options options;
        ParallelFleetDialog dialog(fileImage(), options, QStringLiteral("/dev/none"));
        dialog.logPath = sims.dir.filePath(QStringLiteral("fleet-log.csv"));
        dialog.prepareFleet = [&](ParallelFleet &fleet) { sims.attach(fleet); };
        dialog.deviceField()->setText(sims.devices.join(QStringLiteral(", ")));
        QCOMPARE(dialog.chosenDevices(), sims.devices);

        for (int batch = 0; batch < 2; ++batch) {
            dialog.startButton()->click();
            QVERIFY(dialog.fleet());
            QVERIFY(!dialog.portList()->isEnabled());
            QTRY_VERIFY_WITH_TIMEOUT(dialog.startButton()->isEnabled(), 30000);
            QTableWidget *table = dialog.table();
            QCOMPARE(table->rowCount(), 3);
            for (int row = 0; row < 3; ++row) {
                QCOMPARE(table->item(row, 0)->text(), sims.devices[row]);
                auto *bar = qobject_cast<QProgressBar *>(table->cellWidget(row, 2));
                QVERIFY(bar);
                QTableWidgetItem *result = table->item(row, 3);
                const bool ok = row != faultyPort;
                QCOMPARE(result->text(),
                         ok                     ? QStringLiteral("成功")
                             : fault == Corrupt ? QStringLiteral("校验失败")
                                                : QStringLiteral("通信失败"));
                if (ok)
                    QCOMPARE(bar->value(), bar->maximum());
                // The failed row stands out; its reason is at hand.
                QCOMPARE(result->background().style() != Qt::NoBrush, !ok);
                QVERIFY(ok || !result->toolTip().isEmpty());
            }
            const int good = faultyPort < 0 ? 3 : 2;
            QCOMPARE(dialog.summaryLabel()->text(),
                     QStringLiteral("成功 %1 台，失败 %2 台").arg(good * (batch + 1)).arg((3 - good) * (batch + 1)));
        }
        dialog.reject();
        QVERIFY(!dialog.isVisible());
        QFile log(dialog.logPath);
        QVERIFY(log.open(QIODevice::ReadOnly));
        // Header, six radios with their ports, summary.
        const QStringList lines = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 8);
        QCOMPARE(lines.first(), QStringLiteral("时间,文件,台号,端口,结果,备份,成功,失败"));
        for (int i = 1; i <= 6; ++i)
            QVERIFY2(sims.devices.contains(lines[i].section(QLatin1Char(','), 3, 3)), qPrintable(lines[i]));
        QVERIFY(lines.last().contains(QStringLiteral(",合计,")));
        QVERIFY(prompter.shown.isEmpty());
    }

    void refusesBeforeStarting_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("fifoLog");
        QTest::addColumn<QString>("told");
        QTest::newRow("nothing chosen") << QString() << false << QStringLiteral("请至少选择一个端口");
        QTest::newRow("device twice") << QStringLiteral("sim0, sim1, sim0") << false
                                      << QStringLiteral("端口 sim0 给了两次");
        // A FIFO would stall the run once the first radio is done.
        QTest::newRow("fleet log is a FIFO")
            << QStringLiteral("sim0, sim1") << true << QStringLiteral("不能写入批量写频记录");
    }

    void refusesBeforeStarting()
    {
        QFETCH(QString, typed);
        QFETCH(bool, fifoLog);
        QFETCH(QString, told);
        FakePrompter prompter;
        ParallelFleetDialog dialog(fileImage(), {}, QString());
        QTemporaryDir dir;
        dialog.logPath = dir.filePath(QStringLiteral("fleet-log.csv"));
        if (fifoLog)
            QCOMPARE(::mkfifo(QFile::encodeName(dialog.logPath).constData(), 0600), 0);
        dialog.deviceField()->setText(typed);
        dialog.startButton()->click();
        QVERIFY(!dialog.fleet());
        QCOMPARE(prompter.shown.size(), 1);
        QVERIFY2(prompter.shown.first().text.startsWith(told), qPrintable(prompter.shown.first().text));
        QVERIFY(dialog.portList()->isEnabled());
    }
};

QTEST_MAIN(TestParallelFleetDialog)
#include "tst_parallelfleetdialog.moc"
