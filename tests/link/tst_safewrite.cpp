// The safe write (backup read, write with the radio's tuning kept, read-back and
// compare) against the in-process radio in virtual time: one table over backup on/off ×
// verify on/off × the radio's fault (from a stage on) × the stage in which Cancel is
// pressed. Each row checks what the radio holds afterwards, the backup folder, the
// result text, and the exit status the command-line tool would give.

#include "channels/WorkingCopy.h"
#include "files/BackupStore.h"
#include "link/Clock.h"
#include "link/FleetWrite.h"
#include "link/RadioLink.h"
#include "link/RadioSim.h"
#include "link/SafeWrite.h"
#include "link/SimTransport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Stage = SafeWrite::Stage;
Q_DECLARE_METATYPE(SafeWrite::Stage)

namespace {

enum FaultKind { NoFault, Corrupt, Silent, Nak };
constexpr int CorruptBlock = 5; // address 0x028
constexpr int NakBlock = 2;
constexpr qint64 CancelAfter = 1000; // ms into the stage: a few blocks into its transfer

// A radio whose tuning differs from the file's: 14.4 MHz, negative IF, power step 5.
codec::Image radioMemory()
{
    codec::Image img = RadioSim::factoryImage();
    img[0][4] = 0x30;
    img[0][7] = 0x32;
    return img;
}

struct Rig
{
    VirtualClock clock;
    RadioSim radio;
    SimTransport line{&radio, &clock};
    RadioLink link{&line, &clock};
    QTemporaryDir dir;
    BackupStore store{dir.filePath(QStringLiteral("backups"))};
    SafeWrite write{link, clock, store};
    bool stalled = false;

    explicit Rig(const RadioSimOptions &o) : radio(o, radioMemory())
    {
        link.setCustomDevice(QStringLiteral("sim"));
        link.setReceivedPath(dir.filePath(QStringLiteral("Received.chp")));
        clock.onStall = [this] { stalled = true; };
    }
};

} // namespace

class TestSafeWrite : public QObject
{
    Q_OBJECT
private slots:
    void matrix_data()
    {
        QTest::addColumn<bool>("backup");
        QTest::addColumn<bool>("verify");
        QTest::addColumn<bool>("keepTuning");
        QTest::addColumn<int>("fault");
        QTest::addColumn<Stage>("faultFrom");
        QTest::addColumn<int>("cancelIn"); // a Stage, or −1 for no Cancel

        const char *faultNames[] = {"none", "corrupt", "silent", "nak"};
        const Stage stages[] = {Stage::Backup, Stage::Write, Stage::Verify};
        for (bool backup : {true, false})
            for (bool verify : {true, false})
                for (int fault : {NoFault, Corrupt, Silent, Nak})
                    for (Stage from : stages)
                        for (int cancel : {-1, 0, 1, 2}) {
                            auto runs = [&](Stage s) { return (s != Stage::Backup || backup) && (s != Stage::Verify || verify); };
                            if ((fault == NoFault || fault == Corrupt) && from != Stage::Backup)
                                continue;
                            if (fault != NoFault && fault != Corrupt && !runs(from))
                                continue;
                            if (cancel >= 0 && !runs(Stage(cancel)))
                                continue;
                            for (bool keep : {true, false}) {
                                if (!keep && (!backup || fault != NoFault || cancel >= 0))
                                    continue;
                                QTest::addRow("%s %s %s from %s, cancel in %s%s", backup ? "backup" : "no-backup",
                                              verify ? "verify" : "no-verify", faultNames[fault],
                                              qPrintable(SafeWrite::stageName(from)),
                                              cancel < 0 ? "none" : qPrintable(SafeWrite::stageName(Stage(cancel))),
                                              keep ? "" : ", file tuning")
                                    << backup << verify << keep << fault << from << cancel;
                            }
                        }
    }

    void matrix()
    {
        QFETCH(bool, backup);
        QFETCH(bool, verify);
        QFETCH(bool, keepTuning);
        QFETCH(int, fault);
        QFETCH(Stage, faultFrom);
        QFETCH(int, cancelIn);

        RadioSimOptions plain;
        plain.baud = 9600;
        RadioSimOptions faulty = plain;
        if (fault == Corrupt)
            faulty.corruptAtBlock = CorruptBlock;
        faulty.silent = fault == Silent;
        faulty.nakAtBlock = fault == Nak ? NakBlock : -1;
        Rig rig(fault == Corrupt ? faulty : plain);
        rig.write.options = {backup, verify, keepTuning};
        QObject::connect(&rig.write, &SafeWrite::stageStarted, [&](Stage s) {
            if (s >= faultFrom)
                rig.radio.setOptions(faulty);
            if (int(s) == cancelIn)
                rig.clock.post(rig.clock.now() + CancelAfter * Clock::Millisecond, [&] { rig.write.cancel(); });
        });
        WorkingCopy wc;
        wc.startUp(QString());
        const codec::Image file = *RadioLink::writeImage(wc);

        // The model: the first stage that a fault or Cancel stops. A NAK at block 2 comes
        // before the Cancel; a silent radio's watchdog after it.
        std::optional<Stage> stopped;
        bool cancelled = false;
        for (Stage s : {Stage::Backup, Stage::Write, Stage::Verify}) {
            if ((s == Stage::Backup && !backup) || (s == Stage::Verify && !verify))
                continue;
            const bool faultHere = s >= faultFrom && (fault == Silent || fault == Nak);
            if (faultHere && fault == Nak) {
                stopped = s;
            } else if (int(s) == cancelIn) {
                stopped = s;
                cancelled = true;
            } else if (faultHere) {
                stopped = s;
            }
            if (stopped)
                break;
        }
        const bool backedUp = backup && stopped != Stage::Backup;
        const bool wrote = !stopped || *stopped == Stage::Verify;
        const bool partWritten = stopped == Stage::Write && !(fault == Silent && faultFrom <= Stage::Write);
        const bool mismatch = wrote && verify && !stopped && fault == Corrupt;
        codec::Image sent = file;
        if (backup && keepTuning)
            keepRadioTuning(sent, radioMemory());

        FleetWrite fleet(rig.write);
        const QList<FleetWrite::Row> rows = fleet.run(file);
        QCOMPARE(rows.size(), 1);
        const FleetWrite::Row &row = rows.first();

        QVERIFY(!rig.stalled);
        QVERIFY(!rig.link.isOpen());
        QVERIFY(!rig.link.watchdogRunning());
        QCOMPARE(row.ok, !stopped && !mismatch);
        QCOMPARE(fleet.exitCode(), row.ok ? 0 : 1);

        // What the radio holds.
        const codec::Image &memory = rig.radio.memory();
        if (wrote) {
            codec::Image stored = sent;
            if (fault == Corrupt)
                stored[CorruptBlock][0] ^= 0x01;
            QVERIFY(memory == stored);
        } else if (partWritten) {
            QVERIFY(memory[0] == sent[0]);
            QVERIFY(!(memory == sent));
        } else {
            QVERIFY(memory == radioMemory());
        }
        const RadioTuning kept = RadioTuning::of(memory);
        if (wrote)
            QCOMPARE(kept == RadioTuning::of(radioMemory()), backup && keepTuning);

        // The backup folder: the radio's memory before the write, private.
        const QList<BackupEntry> backups = rig.store.list();
        QCOMPARE(backups.size(), backedUp ? 1 : 0);
        if (backedUp) {
            QFile f(backups.first().path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), imageChannelText(radioMemory()));
            QCOMPARE(row.backupPath, backups.first().path);
            QVERIFY(row.text.contains(backups.first().path));
        }

        // The result the user reads.
        const QString &text = row.text;
        if (row.ok) {
            QVERIFY(text.startsWith(verify ? QStringLiteral("写频完成，校验无误。") : QStringLiteral("写频完成。")));
            QCOMPARE(text.contains(QStringLiteral("已保留本机调整值：晶振 14.4MHz，中频 负，功率档 5")),
                     backup && keepTuning);
        } else if (mismatch) {
            QVERIFY2(text.startsWith(QStringLiteral("校验失败：地址 0x028 写入 %1，读回 %2；共 1 块不同。")
                                         .arg(codec::hex2(sent[CorruptBlock][0]),
                                              codec::hex2(sent[CorruptBlock][0] ^ 0x01))),
                     qPrintable(text));
        } else if (stopped == Stage::Backup) {
            QVERIFY2(text.contains(QStringLiteral("对讲机未被改动")), qPrintable(text));
        } else if (stopped == Stage::Write) {
            QVERIFY2(text.contains(partWritten ? QStringLiteral("对讲机中只有部分新数据")
                                               : QStringLiteral("没有数据写入对讲机")),
                     qPrintable(text));
        } else {
            QVERIFY2(text.contains(QStringLiteral("对讲机中的数据未经校验")), qPrintable(text));
        }
        QCOMPARE(row.kind == FleetWrite::Result::Cancelled, cancelled);
    }

    // The stages run as one sequence: the bar climbs over all of them once, and every
    // caption names its stage.
    void oneProgressOverTheStages()
    {
        Rig rig({});
        QList<int> progress;
        QStringList captions;
        QObject::connect(&rig.write, &SafeWrite::progressChanged, [&](int v) { progress << v; });
        QObject::connect(&rig.write, &SafeWrite::captionChanged, [&](const QString &c) { captions << c; });
        QVERIFY(rig.write.run(radioMemory()).ok);
        QCOMPARE(rig.write.progressMaximum(), 3 * codec::BlockCount);
        QVERIFY(std::is_sorted(progress.begin(), progress.end()));
        QCOMPARE(progress.last(), 3 * codec::BlockCount);
        QVERIFY(captions.first().startsWith(QStringLiteral("备份（1/3）")));
        QVERIFY(captions.last().startsWith(QStringLiteral("校验（3/3）")));
        QCOMPARE(captions.filter(QStringLiteral("写频（2/3）")).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSafeWrite)
#include "tst_safewrite.moc"
