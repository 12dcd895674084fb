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

#include <algorithm>
#include <memory>

using Stage = SafeWrite::Stage;
Q_DECLARE_METATYPE(SafeWrite::Stage)

namespace {

enum FaultKind { NoFault, Corrupt, Silent, Nak };
constexpr int CorruptBlock = 5; // address 0x028
constexpr int NakBlock = 2;
constexpr qint64 CancelAfter =
    1100; // ms into the stage: a few blocks into its transfer (the settled line and the handshake take about 0.9 s)

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

    explicit Rig(const RadioSimOptions &o, const codec::Image &memory = radioMemory()) : radio(o, memory)
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
                            auto runs = [&](Stage s) {
                                return (s != Stage::Backup || backup) && (s != Stage::Verify || verify);
                            };
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
            // Channel 2 of the file is empty: its signalling byte shows in no field.
            const QString expected = QStringLiteral("校验失败：对讲机中读回的数据有 1 处与写入的不同（写入 → 读回）：\n"
                                                    "地址 0x028（不属于任何信道或功能设置的字节）: %1 → %2\n")
                                         .arg(codec::hex2(sent[CorruptBlock][0]),
                                              codec::hex2(sent[CorruptBlock][0] ^ 0x01))
                + (backup ? QStringLiteral("请重新写频；写频前的备份：") + row.backupPath
                          : QStringLiteral("请重新写频。"));
            QCOMPARE(text, expected);
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

    // What the stage before still has coming when the next begins: the radio's answer to
    // the write's last frame or to the backup read's last 06, late by up to a second, and
    // bytes no frame asked for. None may be taken for the next handshake's answer or an
    // acknowledgement; a late answer costs no more than its lateness.
    void lateBytesBetweenStages_data()
    {
        QTest::addColumn<Stage>("lateIn"); // the stage whose last answer is late
        QTest::addColumn<int>("lateMs");
        QTest::addColumn<QByteArray>("stray"); // unasked bytes when the next stage starts …
        QTest::addColumn<QList<int>>("strayAtMs"); // … this long after
        QTest::addColumn<Stage>("strayBefore");

        const QByteArray none;
        for (Stage stage : {Stage::Backup, Stage::Write})
            for (int late : {45, 200, 1000})
                QTest::addRow("%s's last answer %d ms late", qPrintable(SafeWrite::stageName(stage)), late)
                    << stage << late << none << QList<int>{} << Stage::Write;
        const QByteArray ack(1, '\x06');
        // Each within the quiet gap after the byte before, which starts over with it.
        QTest::newRow("stray 06 before the write") << Stage::Backup << 0 << ack << QList<int>{25} << Stage::Write;
        QTest::newRow("stray 06 twice before the verify")
            << Stage::Backup << 0 << ack << QList<int>{25, 55} << Stage::Verify;
        QTest::newRow("two stray bytes after a late answer")
            << Stage::Write << 1000 << QByteArray("\x06\x06") << QList<int>{1045} << Stage::Verify;
    }

    void lateBytesBetweenStages()
    {
        QFETCH(Stage, lateIn);
        QFETCH(int, lateMs);
        QFETCH(QByteArray, stray);
        QFETCH(QList<int>, strayAtMs);
        QFETCH(Stage, strayBefore);

        WorkingCopy wc;
        wc.startUp(QString());
        const codec::Image file = *RadioLink::writeImage(wc);
        auto run = [&](bool faults) {
            RadioSimOptions o;
            o.baud = 9600;
            auto rig = std::make_unique<Rig>(o);
            QObject::connect(&rig->write, &SafeWrite::stageStarted, [&, r = rig.get()](Stage s) {
                RadioSimOptions now = o;
                if (faults && s == lateIn)
                    now.lateAnswerMs = lateMs;
                r->radio.setOptions(now);
                if (faults && s == strayBefore)
                    for (int at : strayAtMs)
                        r->line.arriveAt(r->clock.now() + at * Clock::Millisecond, stray);
            });
            const SafeWrite::Outcome out = rig->write.run(file);
            return std::make_pair(std::move(rig), out);
        };
        const auto plainRun = run(false);
        const auto faultyRun = run(true);
        const std::unique_ptr<Rig> &plain = plainRun.first;
        const std::unique_ptr<Rig> &rig = faultyRun.first;
        const SafeWrite::Outcome &outcome = faultyRun.second;
        QVERIFY(plainRun.second.ok);

        QVERIFY2(outcome.ok, qPrintable(outcome.text));
        QVERIFY(outcome.text.startsWith(QStringLiteral("写频完成，校验无误。")));
        QVERIFY(!rig->stalled);
        QVERIFY(!rig->link.isOpen());
        // Every stage's handshake went as on a quiet line: the opening sequence once, then
        // 4D; every transfer complete.
        QCOMPARE(rig->line.sessions.size(), 3);
        for (const RadioSim::Session &session : rig->line.sessions) {
            QVERIFY(session.complete);
            QCOMPARE(session.openingBytes, 8);
        }
        // The line is opened once for all stages.
        const auto opens = std::count_if(
            rig->line.trace.begin(), rig->line.trace.end(),
            [](const SimTransport::Event &e) { return e.kind == SimTransport::Event::Open; });
        QCOMPARE(opens, 1);
        // A late answer costs its lateness, a stray byte at most the quiet gap after it.
        const qint64 extra = rig->clock.now() - plain->clock.now();
        const qint64 allowed = (lateMs + (strayAtMs.isEmpty() ? 0 : strayAtMs.last() + RadioLine::QuietGap))
            * Clock::Millisecond;
        QVERIFY2(extra <= allowed, qPrintable(QStringLiteral("%1 ms late").arg(extra / Clock::Millisecond)));
        QVERIFY(rig->clock.now() <= 15'000 * Clock::Millisecond);
    }

    // The backup tells the radio's model; a radio of another model than the file's is not
    // written unless that is asked for.
    void wrongRadioGuard_data()
    {
        QTest::addColumn<int>("radioModel");
        QTest::addColumn<bool>("anyModel");
        QTest::addColumn<int>("answer"); // −1: nobody is asked; 0 否, 1 是
        QTest::addColumn<bool>("written");
        QTest::addColumn<QString>("told");

        const QString refused = QStringLiteral("对讲机机型是 MX--905A(1)，文件机型是 MX--905B(1)，没有写频");
        QTest::newRow("same model") << 0x11 << false << -1 << true << QStringLiteral("写频完成");
        QTest::newRow("other model") << 0x24 << false << -1 << false << refused;
        QTest::newRow("other model, --any-model") << 0x24 << true << -1 << true << QStringLiteral("写频完成");
        QTest::newRow("other model, answered no") << 0x24 << false << 0 << false << refused;
        QTest::newRow("other model, answered yes") << 0x24 << false << 1 << true << QStringLiteral("写频完成");
        QTest::newRow("unknown model") << 0x3C << false << -1 << false
                                       << QStringLiteral(
                                              "对讲机机型是 未知机型（代码 3C），文件机型是 MX--905B(1)，没有写频");
    }

    void wrongRadioGuard()
    {
        QFETCH(int, radioModel);
        QFETCH(bool, anyModel);
        QFETCH(int, answer);
        QFETCH(bool, written);
        QFETCH(QString, told);

        codec::Image memory = radioMemory();
        memory[0][0] = quint8(radioModel);
        Rig rig({}, memory);
        rig.write.options.anyModel = anyModel;
        QStringList asked;
        if (answer >= 0)
            rig.write.confirmOtherModel = [&](const QString &radio, const QString &file) {
                asked << radio << file;
                return answer == 1;
            };
        WorkingCopy wc;
        wc.startUp(QString());
        const codec::Image file = *RadioLink::writeImage(wc);
        FleetWrite fleet(rig.write);
        const QList<FleetWrite::Row> rows = fleet.run(file);

        QCOMPARE(rows.first().ok, written);
        QCOMPARE(fleet.exitCode(), written ? 0 : 1);
        QVERIFY2(rows.first().text.startsWith(told), qPrintable(rows.first().text));
        const QStringList bothModels{QStringLiteral("MX--905A(1)"), QStringLiteral("MX--905B(1)")};
        QCOMPARE(asked, answer >= 0 && radioModel != 0x11 ? bothModels : QStringList());
        // Refused: no frame went out, the radio is as it was, no backup is kept.
        QCOMPARE(rig.radio.memory() == memory, !written);
        QCOMPARE(rig.line.sentBytes().contains(char(0x57)), written);
        QCOMPARE(rig.store.list().size(), written ? 1 : 0);
        QVERIFY(!rig.link.isOpen());
    }

    // A Cancel says what the radio holds: part of the new data only once a write frame
    // has gone out, not when the backup's progress was all there was.
    void cancelTellsWhatTheRadioHolds_data()
    {
        QTest::addColumn<int>("cancelAtMs"); // after the write stage has started
        QTest::addColumn<bool>("partWritten");
        QTest::newRow("while the line settles") << 0 << false;
        QTest::newRow("during the write's handshake") << 500 << false;
        QTest::newRow("frames sent") << 1100 << true;
    }

    void cancelTellsWhatTheRadioHolds()
    {
        QFETCH(int, cancelAtMs);
        QFETCH(bool, partWritten);
        RadioSimOptions o;
        o.baud = 9600;
        Rig rig(o);
        QObject::connect(&rig.write, &SafeWrite::stageStarted, [&](Stage s) {
            if (s == Stage::Write)
                rig.clock.post(rig.clock.now() + cancelAtMs * Clock::Millisecond, [&] { rig.write.cancel(); });
        });
        const SafeWrite::Outcome out = rig.write.run(radioMemory());
        QVERIFY(out.cancelled);
        QCOMPARE(out.radioChanged, partWritten);
        QCOMPARE(out.text.contains(QStringLiteral("对讲机中只有部分新数据")), partWritten);
        QCOMPARE(out.text.contains(QStringLiteral("没有数据写入对讲机，对讲机未被改动")), !partWritten);
        QCOMPARE(rig.line.sentBytes().contains(char(0x57)), partWritten);
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
