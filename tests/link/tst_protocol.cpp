// The programming protocol and both transfers against the in-process radio, in virtual
// time: every byte the PC sends, every pause, every message and progress value.

#include "LinkRig.h"

#include "files/ChannelFile.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

namespace {

QByteArray openingUntilAnswer()
{
    // The radio answers after "PROGRA"; the answer is seen one pass later, after the next 02.
    return hexBytes("0250524F4752410"
                    "2");
}

QByteArray readStream(int blocks)
{
    QByteArray s = openingUntilAnswer() + hexBytes("4D05");
    for (int n = 0; n < blocks; ++n)
        s += QByteArray("R") + char(codec::blockHigh(n)) + char(codec::blockLow(n)) + '\x08' + '\x06';
    return s;
}

} // namespace

class TestProtocol : public QObject
{
    Q_OBJECT
private slots:
    void render_data();
    void render();
    void handshakeAnswer_data();
    void handshakeAnswer();
    void clearingAfterConfirm_data();
    void clearingAfterConfirm();
    void answerWithoutSixIsTestedAgain_data();
    void answerWithoutSixIsTestedAgain();
    void stepsThatReturnAtOnce_data();
    void stepsThatReturnAtOnce();
    void acknowledgement_data();
    void acknowledgement();
    void fullRead();
    void transferTakesWireTimeOnly_data();
    void transferTakesWireTimeOnly();
    void cancelDuringBlockReply();
    void replyNotAskedForIsRefused_data();
    void replyNotAskedForIsRefused();
    void floodingLineIsRefused_data();
    void floodingLineIsRefused();
    void readFaults_data();
    void readFaults();
    void untrappedFailureReachesCaller();
    void unwritableReceivedFile();
    void fullWrite();
    void writeChecksEveryCellBeforeSending();
    void writeFaults_data();
    void writeFaults();
    void watchdogEndsEveryWait_data();
    void watchdogEndsEveryWait();
    void writeAcceptWaitEndsOnWatchdog();
    void cancelStopsWatchdog();
};

void TestProtocol::render_data()
{
    QTest::addColumn<int>("byte");
    QTest::addColumn<QString>("byteMode");
    QTest::addColumn<QString>("charMode");
    QTest::newRow("ack") << 0x06 << "6"
                         << "60";
    QTest::newRow("zero") << 0x00 << "0"
                          << "00";
    QTest::newRow("W") << 0x57 << "87"
                       << "870";
    QTest::newRow("0x10") << 0x10 << "16"
                          << "160";
    QTest::newRow("nak") << 0x15 << "21"
                         << "210";
    QTest::newRow("0x7F") << 0x7F << "127"
                          << "1270";
    QTest::newRow("0xFF") << 0xFF << "255"
                          << "2550";
}

void TestProtocol::render()
{
    QFETCH(int, byte);
    QFETCH(QString, byteMode);
    QFETCH(QString, charMode);
    QCOMPARE(RadioLink::render(quint8(byte), true), byteMode);
    QCOMPARE(RadioLink::render(quint8(byte), false), charMode);
}

void TestProtocol::handshakeAnswer_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<bool>("afterRead");
    QTest::addColumn<bool>("passes");
    QTest::newRow("06, character mode") << hexBytes("06") << false << false;
    QTest::newRow("06, byte mode") << hexBytes("06") << true << false;
    QTest::newRow("06 06, character mode") << hexBytes("0606") << false << true;
    QTest::newRow("06 06, byte mode") << hexBytes("0606") << true << false;
    QTest::newRow("06 06 06, character mode") << hexBytes("060606") << false << true;
    QTest::newRow("06 06 06, byte mode") << hexBytes("060606") << true << true;
    QTest::newRow("no 6 anywhere") << hexBytes("151515") << true << false;
}

void TestProtocol::handshakeAnswer()
{
    QFETCH(QByteArray, answer);
    QFETCH(bool, afterRead);
    QFETCH(bool, passes);
    LinkRig rig;
    if (afterRead) {
        // Byte mode comes with the first block read and stays, across closing and reopening.
        QVERIFY(rig.read().ok());
        rig.link.closePort();
        QVERIFY(rig.link.byteMode());
    }
    RadioSimOptions o;
    o.handshakeAnswer = answer;
    rig.radio.setOptions(o);
    rig.messages.clear();
    QVERIFY(rig.open());
    const qint64 start = rig.clock.now();
    const qsizetype sentBefore = rig.line.sentBytes().size();
    int editorTimerStops = 0;
    rig.link.stopEditorTimer = [&] { ++editorTimerStops; };

    const Result<bool> r = rig.link.connectRadio(true);
    QVERIFY(r.ok());
    QCOMPARE(*r, passes);
    QCOMPARE(editorTimerStops, 1);
    QVERIFY(!rig.stalled);
    const QByteArray lastSent = rig.sent().last().bytes;
    if (passes) {
        QCOMPARE(lastSent, hexBytes("4D"));
        QVERIFY(rig.messages.isEmpty());
        QVERIFY(!rig.link.watchdogRunning());
    } else {
        // Only the watchdog ends it: one message, 60 s after the start, and no 4D.
        QCOMPARE(rig.messages.size(), 1);
        QCOMPARE(rig.messages[0].message.title, QStringLiteral("信息提示"));
        QCOMPARE(rig.messages[0].message.text, QStringLiteral("通信端口没有响应，请确保连接正确和电源打开"));
        QCOMPARE(rig.messages[0].message.icon, LinkMessage::Information);
        QCOMPARE(rig.messages[0].at - start, 60'000 * LinkRig::ms);
        QVERIFY(!rig.line.sentBytes().mid(sentBefore).contains('\x4D'));
    }
}

void TestProtocol::clearingAfterConfirm_data()
{
    QTest::addColumn<QByteArray>("trigger");
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<QString>("textAfter");
    // Answer during the pause after 41: seen after the next 02, position 1: kept.
    QTest::newRow("answer after A") << QByteArray("PROGRA") << hexBytes("0250524F475241024D") << "60";
    // Answer during the pause after the second 52: seen right after 41, position 0: cleared.
    QTest::newRow("answer after R") << QByteArray("PROGR") << hexBytes("0250524F4752414D") << "";
    // Answer during the pause after 50: seen after 52, position 3: kept.
    QTest::newRow("answer after P") << QByteArray("P") << hexBytes("0250524D") << "60";
}

void TestProtocol::clearingAfterConfirm()
{
    QFETCH(QByteArray, trigger);
    QFETCH(QByteArray, sent);
    QFETCH(QString, textAfter);
    RadioSimOptions o;
    o.trigger = trigger;
    LinkRig rig(o);
    QVERIFY(rig.open());
    QVERIFY(*rig.link.connectRadio(true));
    QCOMPARE(rig.line.sentBytes(), sent);
    QCOMPARE(rig.link.receiveText(), textAfter);
    // One byte at a time, 100 ms apart; 4D follows the last pause at once.
    const auto frames = rig.sent();
    QCOMPARE(frames.size(), sent.size());
    for (int i = 1; i < frames.size(); ++i) {
        QCOMPARE(frames[i].bytes.size(), 1);
        QCOMPARE(frames[i].at - frames[i - 1].at, 100 * LinkRig::ms);
    }
}

void TestProtocol::answerWithoutSixIsTestedAgain_data()
{
    QTest::addColumn<bool>("afterRead");
    QTest::newRow("character mode") << false;
    QTest::newRow("byte mode") << true;
}

void TestProtocol::answerWithoutSixIsTestedAgain()
{
    // The radio first answers 15 15 15, then, after the next PROGRA, a single 06. That
    // 06 alone is too short ("6", "60"); it passes only because the first answer is
    // still in the receive text.
    QFETCH(bool, afterRead);
    LinkRig rig;
    if (afterRead) {
        QVERIFY(rig.read().ok());
        rig.link.closePort();
    }
    RadioSimOptions o;
    o.handshakeAnswer = hexBytes("151515");
    rig.radio.setOptions(o);
    QVERIFY(rig.open());
    const qsizetype sentBefore = rig.line.sentBytes().size();
    const qint64 start = rig.clock.now();
    // Once the first answer is in (it comes during the pause after the first 41).
    rig.clock.schedule(start + 650 * LinkRig::ms, [&rig] {
        RadioSimOptions second;
        second.handshakeAnswer = hexBytes("06");
        rig.radio.setOptions(second);
    });
    const Result<bool> r = rig.link.connectRadio(true);
    QVERIFY(r.ok());
    QVERIFY(*r);
    QVERIFY(rig.messages.isEmpty());
    // The first answer is seen after the 02 that follows it; from then on the text is
    // not empty, so the second is tested in the same pass it arrives in: 4D follows the
    // second 41 directly, and the text is cleared after the confirm.
    QCOMPARE(rig.line.sentBytes().mid(sentBefore),
             hexBytes("0250524F47524102"
                      "50524F475241"
                      "4D"));
    QCOMPARE(rig.link.receiveText(), QString());
}

void TestProtocol::stepsThatReturnAtOnce_data()
{
    QTest::addColumn<QString>("step");
    QTest::newRow("handshake, start flag false") << "connectRadio";
    QTest::newRow("block reads, skip flag -1") << "readBlocks";
    QTest::newRow("block reads, continue flag false") << "readBlocksCancelled";
    QTest::newRow("function blocks, skip flag -1") << "writeFunctionBlocks";
    QTest::newRow("channel blocks, skip flag -1") << "writeChannelBlocks";
}

void TestProtocol::stepsThatReturnAtOnce()
{
    QFETCH(QString, step);
    LinkRig rig;
    QVERIFY(rig.open());
    bool editorTimerStopped = false;
    rig.link.stopEditorTimer = [&] { editorTimerStopped = true; };
    const codec::Image image = *RadioLink::writeImage(rig.wc);
    if (step == QStringLiteral("connectRadio")) {
        const Result<bool> r = rig.link.connectRadio(false);
        QVERIFY(r.ok());
        QVERIFY(!*r);
    } else if (step == QStringLiteral("readBlocks")) {
        rig.link.readBlocks(-1);
    } else if (step == QStringLiteral("readBlocksCancelled")) {
        rig.link.setTransferActive(false);
        rig.link.readBlocks(0);
    } else if (step == QStringLiteral("writeFunctionBlocks")) {
        QVERIFY(!rig.link.writeFunctionBlocks(-1, image));
    } else {
        rig.link.writeChannelBlocks(-1, image);
    }
    QVERIFY(rig.line.sentBytes().isEmpty());
    QVERIFY(rig.link.isOpen());
    QVERIFY(!rig.link.byteMode());
    QVERIFY(!rig.link.watchdogRunning());
    QVERIFY(!editorTimerStopped);
    QVERIFY(rig.progress.isEmpty());
    QVERIFY(rig.messages.isEmpty());
}

void TestProtocol::acknowledgement_data()
{
    QTest::addColumn<QByteArray>("ack");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("06") << hexBytes("06") << true;
    QTest::newRow("10 renders 16") << hexBytes("10") << true;
    QTest::newRow("24 renders 36") << hexBytes("24") << true;
    QTest::newRow("15 renders 21") << hexBytes("15") << false;
    QTest::newRow("00") << hexBytes("00") << false;
}

void TestProtocol::acknowledgement()
{
    QFETCH(QByteArray, ack);
    QFETCH(bool, accepted);
    RadioSimOptions o;
    o.ack = ack;
    LinkRig rig(o);
    QVERIFY(rig.read().ok());
    if (accepted) {
        QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Completed);
        QVERIFY(rig.messages.isEmpty());
        return;
    }
    // Refused right at the read request: nothing more is sent, the port is closed.
    QCOMPARE(rig.messages.size(), 1);
    QCOMPARE(rig.messages[0].message.text, QStringLiteral("通信错误"));
    QCOMPARE(rig.messages[0].message.title, RadioLink::appTitle());
    QCOMPARE(rig.messages[0].message.icon, LinkMessage::NoIcon);
    QVERIFY(!rig.link.isOpen());
    QVERIFY(rig.line.sentBytes().endsWith(hexBytes("4D05")));
    QVERIFY(!QFileInfo::exists(rig.link.receivedPath()));
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Failed);
    QVERIFY(rig.link.receiveText().isEmpty());
}

void TestProtocol::fullRead()
{
    LinkRig rig;
    QVERIFY(rig.read().ok());
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Completed);
    QVERIFY(rig.messages.isEmpty());
    QVERIFY(!rig.link.isOpen());
    QVERIFY(!rig.link.watchdogRunning());
    QCOMPARE(rig.line.sentBytes(), readStream(128));
    QCOMPARE(rig.captions,
             (QStringList{QStringLiteral("正在连接对讲机。。。"), QStringLiteral("正在从对讲机读取数据。。。")}));

    QList<int> expected;
    for (int c = 1; c <= 128; ++c)
        expected << c;
    QCOMPARE(rig.progress, expected);

    const QByteArray file = rig.receivedFile();
    QCOMPARE(file.size(), 128 * 38);
    const QList<QByteArray> lines = file.split('\n');
    for (int n = 0; n < 128; ++n) {
        const QByteArray line = lines[n];
        QCOMPARE(line.size(), 37);
        QVERIFY(line.endsWith(" \r"));
        QCOMPARE(line.chopped(2), codec::frame(0x52, n, rig.radio.memory()[size_t(n)]).toHex(' ').toUpper());
    }
    QCOMPARE(QFileInfo(rig.link.receivedPath()).permissions()
                 & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
             QFile::Permissions());
    // Loaded through the channel-file reader.
    QCOMPARE(rig.wc.cell(1, ChannelTable::RxFreq), QStringLiteral("450.02500"));
    QCOMPARE(rig.wc.cell(1, ChannelTable::RxSignal), QStringLiteral("67"));
    QCOMPARE(rig.wc.cell(2, ChannelTable::TxSignal), QStringLiteral("D023N"));
    QCOMPARE(rig.wc.cell(16, ChannelTable::TxFreq), QStringLiteral("450.40000"));
}

void TestProtocol::transferTakesWireTimeOnly_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<int>("bytes");
    // Read: 4D and its confirm, 05 and its ACK, per block 4 + 12 bytes and 06 + ACK, the
    // last ACK not awaited. Write: 4D and confirm, 0A and accept, 127 frames with their
    // ACKs; the last frame is handed to the line and the port closed at once.
    QTest::newRow("read") << false << 2 + 2 + 128 * 16 + 127 * 2;
    QTest::newRow("write") << true << 2 + 2 + 127 * 13;
}

void TestProtocol::transferTakesWireTimeOnly()
{
    QFETCH(bool, write);
    QFETCH(int, bytes);
    RadioSimOptions o;
    o.baud = 9600;
    LinkRig rig(o);
    const qint64 start = rig.clock.now();
    QVERIFY((write ? rig.write() : rig.read()).ok());
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Completed);
    // Besides the eight pauses of the opening sequence, only the line's own time.
    QCOMPARE(rig.line.trace.last().kind, SimTransport::Event::Close);
    QCOMPARE(rig.line.trace.last().at - start, 800 * LinkRig::ms + bytes * rig.radio.byteTime());
}

void TestProtocol::cancelDuringBlockReply()
{
    // Blocks 0…38 answered; the reply to the 40th block (0x138) never comes, and the user
    // cancels before the reply timeout would end the wait.
    RadioSimOptions o;
    o.silentAfterBlock = 38;
    LinkRig rig(o);
    rig.cancelAt(3'000 * LinkRig::ms);
    const QStringList before = editorState(rig.wc);
    QVERIFY(rig.read().ok());
    QVERIFY(!rig.stalled);
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Cancelled);
    QCOMPARE(rig.progress.last(), 39);
    QVERIFY(rig.line.sentBytes().endsWith(hexBytes("52013808")));
    // The lines stay for diagnosis and the user is told where; the editor is as it was.
    QCOMPARE(rig.receivedFile().count('\n'), 39);
    QCOMPARE(rig.link.receivedLines().size(), 39);
    QCOMPARE(rig.messages.size(), 1);
    QVERIFY(rig.messages[0].message.text.contains(QDir::toNativeSeparators(rig.link.receivedPath())));
    QCOMPARE(editorState(rig.wc), before);
}

void TestProtocol::replyNotAskedForIsRefused_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("garbageAt");
    QTest::addColumn<QString>("told");
    const QString refused = QStringLiteral("通信错误");
    QTest::newRow("13 bytes") << 13 << -1 << refused;
    QTest::newRow("doubled") << 24 << -1 << refused;
    QTest::newRow("noise at block 0") << 12 << 0 << refused;
    QTest::newRow("noise at block 127") << 12 << 127 << refused;
    // Too short: the rest may still come, until the watchdog says it will not.
    QTest::newRow("11 bytes") << 11 << -1 << QStringLiteral("通信端口没有响应，请确保连接正确和电源打开");
    QTest::newRow("nothing") << 0 << -1 << QStringLiteral("通信端口没有响应，请确保连接正确和电源打开");
}

void TestProtocol::replyNotAskedForIsRefused()
{
    QFETCH(int, length);
    QFETCH(int, garbageAt);
    QFETCH(QString, told);
    RadioSimOptions o;
    o.replyLength = length;
    o.garbageAtBlock = garbageAt;
    LinkRig rig(o);
    const QStringList before = editorState(rig.wc);
    QVERIFY(rig.read().ok());
    QVERIFY(!rig.stalled);
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Failed);
    QVERIFY(!rig.link.isOpen());
    QVERIFY(!rig.link.watchdogRunning());
    QCOMPARE(rig.messages.first().message.text, told);
    // Never stored and never acknowledged.
    const int stored = qMax(garbageAt, 0);
    QCOMPARE(rig.link.receivedLines().size(), stored);
    QCOMPARE(rig.receivedFile().count('\n'), stored);
    QVERIFY(rig.line.sentBytes().endsWith(QByteArray("R") + char(codec::blockHigh(stored))
                                          + char(codec::blockLow(stored)) + '\x08'));
    QCOMPARE(editorState(rig.wc), before);
}

void TestProtocol::floodingLineIsRefused_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("answer"); // which of the radio's answers floods
    QTest::addColumn<int>("size");
    for (int size : {13, 1 << 20}) {
        QTest::addRow("handshake answer of %d bytes", size) << false << "handshake" << size;
        QTest::addRow("confirm of %d bytes", size) << false << "confirm" << size;
        QTest::addRow("ack of %d bytes", size) << false << "ack" << size;
        QTest::addRow("write accept of %d bytes", size) << true << "accept" << size;
    }
}

void TestProtocol::floodingLineIsRefused()
{
    QFETCH(bool, write);
    QFETCH(QString, answer);
    QFETCH(int, size);
    RadioSimOptions o;
    QByteArray flood(size, '\x06');
    flood[0] = '\x15';
    if (answer == QStringLiteral("handshake"))
        o.handshakeAnswer = flood;
    else if (answer == QStringLiteral("confirm"))
        o.confirm = flood;
    else if (answer == QStringLiteral("ack"))
        o.ack = flood;
    else
        o.writeAccept = flood;
    LinkRig rig(o);
    QVERIFY((write ? rig.write() : rig.read()).ok());
    QCOMPARE(rig.messageTexts(), QStringList{QStringLiteral("通信错误")});
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Failed);
    QVERIFY(!rig.link.isOpen());
    QVERIFY(!rig.link.watchdogRunning());
    QVERIFY(rig.link.receiveText().size() <= 4 * 12);
    QVERIFY(rig.progress.isEmpty());
}

void TestProtocol::readFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("firstMessage");
    QTest::newRow("NAK after block 2") << "nak" << 3 << "通信错误";
    QTest::newRow("hang-up at block 10") << "hangup" << 10 << "串口 sim 已断开：对方挂断";
}

void TestProtocol::readFaults()
{
    QFETCH(QString, fault);
    QFETCH(int, lines);
    QFETCH(QString, firstMessage);
    RadioSimOptions o;
    (fault == QStringLiteral("nak") ? o.nakAtBlock : o.hangupAtBlock) = fault == QStringLiteral("nak") ? 2 : 10;
    LinkRig rig(o);
    QVERIFY(rig.read().ok());
    QVERIFY(!rig.stalled);
    QVERIFY(!rig.link.isOpen());
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Failed);
    QCOMPARE(rig.receivedFile().count('\n'), lines);
    QVERIFY(!rig.messages.isEmpty());
    QCOMPARE(rig.messages[0].message.text, firstMessage);
    // Then where the lines that came are kept.
    QCOMPARE(rig.messages.size(), 2);
    QCOMPARE(rig.messages[1].message.icon, LinkMessage::Information);
    QVERIFY(rig.messages[1].message.text.contains(QDir::toNativeSeparators(rig.link.receivedPath())));
}

void TestProtocol::untrappedFailureReachesCaller()
{
    LinkRig rig;
    rig.line.failWrite = 3; // the fourth byte of the opening sequence
    const Status s = rig.read();
    QVERIFY(!s.ok());
    QCOMPARE(s.failure().number, int(Failure::DeviceIoError));
    QVERIFY(rig.messages.isEmpty());
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Failed);
    QVERIFY(!rig.link.watchdogRunning());
}

void TestProtocol::unwritableReceivedFile()
{
    LinkRig rig;
    // A folder that cannot be made: its parent is a plain file.
    QFile blocker(rig.dir.filePath(QStringLiteral("plain")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    rig.link.setReceivedPath(rig.dir.filePath(QStringLiteral("plain/Received.chp")));
    QVERIFY(rig.read().ok());
    QCOMPARE(rig.messages.size(), 1);
    QCOMPARE(rig.messages[0].message.title, QString::number(Failure::PathFileAccessError));
    QVERIFY(rig.messages[0].message.text.contains(QStringLiteral("plain")));
    QVERIFY(!rig.link.isOpen());
    // The first block was read, then nothing more was sent.
    QVERIFY(rig.line.sentBytes().endsWith(hexBytes("52000008")));
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Failed);
}

void TestProtocol::fullWrite()
{
    LinkRig rig;
    QVERIFY(loadChannelFile(rig.wc, QStringLiteral(TARNIK_TEST_DATA "/example.chp")).kind == LoadOutcome::Loaded);
    const auto image = RadioLink::writeImage(rig.wc);
    QVERIFY(image.ok());
    QVERIFY(rig.write().ok());
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Completed);
    QVERIFY(rig.messages.isEmpty());
    QVERIFY(!rig.link.isOpen());
    QCOMPARE(rig.captions,
             (QStringList{QStringLiteral("正在连接对讲机。。。"), QStringLiteral("正在向对讲机写入数据。。。")}));

    // Before any read the acknowledgements render "60": accepted as well.
    QVERIFY(!rig.link.byteMode());
    QByteArray expected = openingUntilAnswer() + hexBytes("4D0A");
    for (int n = 0; n < 128; ++n)
        expected += codec::frame(0x57, n, (*image)[size_t(n)]);
    QCOMPARE(rig.line.sentBytes(), expected);
    const auto frames = rig.sent();
    QCOMPARE(frames.size(), 8 + 2 + 128);
    for (int i = 10; i < frames.size(); ++i)
        QCOMPARE(frames[i].bytes.size(), 12);
    QCOMPARE(rig.radio.memory(), *image);

    QList<int> progress{1, 2};
    for (int v = 3; v <= 34; ++v)
        progress << v;
    for (int v = 34; v <= 127; ++v)
        progress << v;
    QCOMPARE(rig.progress, progress);

    // No wait after the last frame: the port closes at the same instant.
    QCOMPARE(rig.line.trace.last().kind, SimTransport::Event::Close);
    QCOMPARE(rig.line.trace.last().at, frames.last().at);
}

void TestProtocol::writeChecksEveryCellBeforeSending()
{
    LinkRig rig;
    rig.wc.setCell(3, ChannelTable::RxFreq, QStringLiteral("450.10000"));
    rig.wc.setCell(12, ChannelTable::TxSignal, QStringLiteral("D999N"));
    QVERIFY(rig.write().ok());
    QVERIFY(rig.line.sentBytes().isEmpty());
    QVERIFY(!rig.link.isOpen());
    QCOMPARE(rig.messages.size(), 1);
    const LinkMessage m = rig.messages[0].message;
    QCOMPARE(m.icon, LinkMessage::Information);
    QVERIFY(m.text.contains(QStringLiteral("第 12 信道")));
    QVERIFY(m.text.contains(ChannelTable::columnTitles()[ChannelTable::TxSignal]));
    QCOMPARE(m.title, QString::number(m.title.toInt()));
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Failed);
}

void TestProtocol::writeFaults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("block");
    QTest::addColumn<int>("lastProgress");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    const QString app = RadioLink::appTitle();
    QTest::newRow("NAK at block 5") << "nak" << 5 << 6 << int(LinkMessage::NoIcon) << app << "通信错误";
    QTest::newRow("noise at block 40") << "garbage" << 40 << 40 << int(LinkMessage::NoIcon) << app << "通信错误";
    QTest::newRow("NAK at block 1") << "nak" << 1 << 1 << int(LinkMessage::NoIcon) << app << "通信错误";
    QTest::newRow("hang-up at block 0") << "hangup" << 0 << 1 << int(LinkMessage::Exclamation) << "错误"
                                        << "错误号：57串口 sim 已断开：对方挂断";
    QTest::newRow("hang-up at block 20") << "hangup" << 20 << 21 << int(LinkMessage::Information) << "57"
                                         << "串口 sim 已断开：对方挂断";
}

void TestProtocol::writeFaults()
{
    QFETCH(QString, fault);
    QFETCH(int, block);
    QFETCH(int, lastProgress);
    QFETCH(int, icon);
    QFETCH(QString, title);
    QFETCH(QString, text);
    RadioSimOptions o;
    if (fault == QStringLiteral("nak"))
        o.nakAtBlock = block;
    else if (fault == QStringLiteral("garbage"))
        o.garbageAtBlock = block;
    else
        o.hangupAtBlock = block;
    LinkRig rig(o);
    QVERIFY(rig.write().ok());
    QVERIFY(!rig.stalled);
    QCOMPARE(rig.messages.size(), 1);
    QCOMPARE(int(rig.messages[0].message.icon), icon);
    QCOMPARE(rig.messages[0].message.title, title);
    QCOMPARE(rig.messages[0].message.text, text);
    QVERIFY(!rig.link.isOpen());
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Failed);
    // Nothing is sent after the refused block.
    QCOMPARE(rig.sent().size(), 10 + block + 1);
    QCOMPARE(rig.progress.last(), lastProgress);
}

void TestProtocol::watchdogEndsEveryWait_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<int>("silentAfter");
    QTest::addColumn<int>("lines");
    // A read's wait for the reply to block 6, a write's wait for the ACK of block 11.
    QTest::newRow("block reply") << false << 5 << 6;
    QTest::newRow("acknowledgement") << true << 10 << 0;
}

void TestProtocol::watchdogEndsEveryWait()
{
    QFETCH(bool, write);
    QFETCH(int, silentAfter);
    QFETCH(int, lines);
    RadioSimOptions o;
    o.silentAfterBlock = silentAfter;
    LinkRig rig(o);
    QList<int> waited;
    QObject::connect(&rig.link, &RadioLine::waitingForRadio, [&](int seconds) { waited << seconds; });
    const QStringList before = editorState(rig.wc);
    QVERIFY((write ? rig.write() : rig.read()).ok());
    QVERIFY(!rig.stalled);
    // Once the radio has answered the handshake, a missing reply is said 5 s after the
    // last frame went out, not after the handshake's 60 s; the wait ends there, by itself,
    // having counted the seconds.
    const qint64 fired = rig.sent().last().at + RadioLine::ReplyTimeout * LinkRig::ms;
    QCOMPARE(rig.messages.first().at, fired);
    QCOMPARE(waited, (QList<int>{1, 2, 3, 4, 0}));
    QCOMPARE(rig.messages.first().message.text, QStringLiteral("通信端口没有响应，请确保连接正确和电源打开"));
    QCOMPARE(rig.messages.first().message.title, QStringLiteral("信息提示"));
    QCOMPARE(rig.clock.now(), fired);
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Failed);
    QVERIFY(!rig.link.isOpen());
    QVERIFY(!rig.link.watchdogRunning());
    QCOMPARE(rig.link.radioPartlyWritten(), write);
    QCOMPARE(rig.receivedFile().count('\n'), lines);
    QCOMPARE(rig.sent().size(), write ? 10 + silentAfter + 2 : 10 + 2 * lines + 1);
    QCOMPARE(editorState(rig.wc), before);
}

void TestProtocol::writeAcceptWaitEndsOnWatchdog()
{
    RadioSimOptions o;
    o.writeAccept.clear();
    LinkRig rig(o);
    QVERIFY(rig.write().ok());
    QVERIFY(!rig.stalled);
    QCOMPARE(rig.messageTexts(), QStringList{QStringLiteral("通信端口没有响应，请确保连接正确和电源打开")});
    QVERIFY(rig.line.sentBytes().endsWith(hexBytes("4D0A")));
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Failed);
}

void TestProtocol::cancelStopsWatchdog()
{
    RadioSimOptions o;
    o.silent = true;
    LinkRig rig(o);
    // Cancelled 10 s into the handshake; the next read starts 5 s later.
    rig.cancelAt(10'000 * LinkRig::ms);
    QVERIFY(rig.read().ok());
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Cancelled);
    QVERIFY(!rig.link.watchdogRunning());
    rig.link.closePort();
    rig.clock.sleep(5'000 * LinkRig::ms);
    const qint64 second = rig.clock.now();
    QVERIFY(rig.read().ok());
    // Only the second read's watchdog speaks, 60 s after its own start.
    QCOMPARE(rig.messages.size(), 1);
    QCOMPARE(rig.messages[0].at, second + 60'000 * LinkRig::ms);
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Failed);
}

QTEST_GUILESS_MAIN(TestProtocol)
#include "tst_protocol.moc"
