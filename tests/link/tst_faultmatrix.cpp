// Both transfers against every fault of the in-process radio, in character and in byte
// mode, with Cancel pressed at each stage of the exchange, in virtual time. Each run is
// one read or write command: the port opened, the transfer, the port closed. The
// expected outcome comes from a model of the exchange: whichever comes first, the
// stage where the fault acts or the stage where Cancel is pressed, decides how the run
// ends, what was sent, what the received-image file holds and what the editor shows.
// Every run ends by itself: nothing here ends a transfer that has lost its way.

#include "LinkRig.h"

#include "files/ChannelFile.h"
#include "link/Protocol.h"

#include <QDir>
#include <QFileInfo>
#include <QTest>

namespace {

using namespace protocol;

enum Transfer { Read, Write };

// Stages of an exchange: the opening sequence, the request (05 or 0A), then block n
// (0…127, address 8n) from its frame until the answer to it.
constexpr int Handshake = -2;
constexpr int Request = -1;
constexpr int Never = codec::BlockCount + 1;

enum FaultKind { NoFault, Silent, SilentAfter, NakAt, WrongLength, GarbageAt, HangUpAt, Answer };

struct Fault
{
    FaultKind kind = NoFault;
    int block = -1; // the block of SilentAfter…HangUpAt, the length of WrongLength
    QByteArray answer; // of Answer

    RadioSimOptions options() const
    {
        RadioSimOptions o;
        switch (kind) {
        case NoFault:
            break;
        case Silent:
            o.silent = true;
            break;
        case SilentAfter:
            o.silentAfterBlock = block;
            break;
        case NakAt:
            o.nakAtBlock = block;
            break;
        case WrongLength:
            o.replyLength = block;
            break;
        case GarbageAt:
            o.garbageAtBlock = block;
            break;
        case HangUpAt:
            o.hangupAtBlock = block;
            break;
        case Answer:
            o.handshakeAnswer = answer;
            break;
        }
        return o;
    }
    QString name() const
    {
        static const char *const names[] = {"none",      "silent",           "silent-after-block", "nak-at-block",
                                            "reply-len", "garbage-at-block", "hangup-at-block",    "handshake-answer"};
        QString n = QLatin1String(names[kind]);
        if (kind == Answer)
            n += QLatin1Char(' ') + QString::fromLatin1(answer.toHex(' '));
        else if (kind != NoFault && kind != Silent)
            n += QLatin1Char(' ') + QString::number(block);
        return n;
    }
    // The radio keeps the data of written block n.
    bool stores(int n) const
    {
        switch (kind) {
        case SilentAfter:
            return n <= block;
        case NakAt:
        case GarbageAt:
        case HangUpAt:
            return n != block;
        default:
            return true;
        }
    }
};

// How a run ends when nothing but the fault acts.
enum Effect {
    Completes,
    WatchdogEnds, // the handshake gives up when the watchdog fires
    WatchdogEndsWait, // a block-reply or acknowledgement wait gives up, closing the port
    Refused, // an acknowledgement without a 6: "通信错误"
    ReplyRefused, // a block reply that is not the block asked for: "通信错误", not stored
    HungUp, // the line has gone
};

struct Expected
{
    RadioLink::Ending ending = RadioLink::Ending::Completed;
    int stage = Never; // where the run stopped
    int lines = 0; // read: lines in the received-image file
    int frames = 0; // write: block frames sent
    QStringList messages; // before the channel-file reader's own
    bool closedByTransfer = false;
};

const QString watchdogText = QStringLiteral("通信端口没有响应，请确保连接正确和电源打开");
const QString refusedText = QStringLiteral("通信错误");
const QString hangUpText = QStringLiteral("串口 sim 已断开：对方挂断");

// The answer to the opening sequence passes when its receive text is longer than two
// characters and holds a 6.
bool answerPasses(const QByteArray &answer, bool byteMode)
{
    QString text;
    for (char c : answer)
        text += RadioLink::render(quint8(c), byteMode);
    return text.size() > 2 && text.contains(QLatin1Char('6'));
}

Expected expect(Transfer transfer, bool byteMode, const Fault &fault, int cancelStage)
{
    const int last = codec::BlockCount - 1;
    int faultStage = Never;
    Effect effect = Completes;
    switch (fault.kind) {
    case NoFault:
        break;
    case GarbageAt:
        // A read awaits every reply; a write does not await the answer to its last frame.
        if (transfer == Read || fault.block < last) {
            faultStage = fault.block;
            effect = transfer == Read ? ReplyRefused : Refused;
        }
        break;
    case Silent:
        faultStage = Handshake;
        effect = WatchdogEnds;
        break;
    case Answer:
        if (!answerPasses(fault.answer, byteMode)) {
            faultStage = Handshake;
            effect = WatchdogEnds;
        }
        break;
    case SilentAfter:
        // A write does not wait for the answer to its last frame.
        if (fault.block + 1 < (transfer == Read ? codec::BlockCount : last)) {
            faultStage = fault.block + 1;
            effect = WatchdogEndsWait;
        }
        break;
    case NakAt:
    case HangUpAt:
        // The answer to the last block of a read is its reply; to a write's last frame
        // and to a read's last 06 it is not awaited.
        if (fault.block < last || (fault.kind == HangUpAt && transfer == Read)) {
            faultStage = fault.block;
            effect = fault.kind == NakAt ? Refused : HungUp;
        }
        break;
    case WrongLength:
        // A short reply may still be completed; a longer one is refused at once.
        if (transfer == Read) {
            faultStage = 0;
            effect = fault.block < ReplyLength ? WatchdogEndsWait : ReplyRefused;
        }
        break;
    }
    // The last frame of a write is not followed by a wait: a Cancel then comes too late.
    if (transfer == Write && cancelStage == last)
        cancelStage = Never;

    Expected e;
    if (cancelStage <= faultStage && cancelStage != Never) {
        // Pressed while the stage waits; it wins over a fault of the same stage, whose
        // answer has not been handled yet.
        e.ending = RadioLink::Ending::Cancelled;
        e.stage = cancelStage;
        e.lines = qMax(cancelStage, 0);
        e.frames = cancelStage >= 0 ? cancelStage + 1 : 0;
        return e;
    }
    e.stage = faultStage;
    const int n = faultStage;
    switch (effect) {
    case Completes:
        e.lines = e.frames = codec::BlockCount;
        e.closedByTransfer = true;
        break;
    case WatchdogEnds:
        e.ending = RadioLink::Ending::Failed;
        e.messages << watchdogText;
        break;
    case WatchdogEndsWait:
    case ReplyRefused:
        e.ending = RadioLink::Ending::Failed;
        e.lines = n;
        e.frames = n + 1;
        e.messages << (effect == ReplyRefused ? refusedText : watchdogText);
        e.closedByTransfer = true;
        break;
    case Refused:
        // A read stores the block, then the acknowledgement of its 06 is refused.
        e.ending = RadioLink::Ending::Failed;
        e.lines = n + 1;
        e.frames = n + 1;
        e.messages << refusedText;
        e.closedByTransfer = true;
        break;
    case HungUp:
        e.ending = RadioLink::Ending::Failed;
        e.lines = n;
        e.frames = n + 1;
        e.messages << (transfer == Write && n < codec::FunctionBlocks ? QStringLiteral("错误号：57") + hangUpText
                                                                      : hangUpText);
        e.closedByTransfer = true;
        break;
    }
    return e;
}

// What the radio sends for block n: the block as a read frame, or noise.
QByteArray blockReply(const codec::Image &memory, const Fault &fault, int n)
{
    if (fault.kind == GarbageAt && fault.block == n) {
        QByteArray noise;
        for (int i = 0; i < ReplyLength; ++i)
            noise.append(char(0xA5 ^ (i * 0x1D)));
        return noise;
    }
    return codec::frame(BlockRead, n, memory[size_t(n)]);
}

QByteArray readRequest(int n)
{
    const char request[4] = {char(BlockRead), char(codec::blockHigh(n)), char(codec::blockLow(n)), 0x08};
    return QByteArray(request, 4);
}

// Presses Cancel (as a confirmed "确定要取消吗" would) at the first event processing
// after the PC has sent the frame that opens a stage.
struct CancelButton
{
    int stage = Never;
    bool pressed = false;
    qint64 pressedAt = 0;
    qsizetype seen = 0;

    void attach(LinkRig &rig, Transfer transfer)
    {
        rig.clock.addEventSource([this, &rig, transfer] {
            if (pressed || stage == Never)
                return false;
            const auto &trace = rig.line.trace;
            int sends = 0;
            for (qsizetype i = 0; i < trace.size(); ++i) {
                if (trace[i].kind != SimTransport::Event::Sent)
                    continue;
                ++sends;
                if (i < seen)
                    continue;
                if (opens(trace[i].bytes, sends, transfer)) {
                    pressed = true;
                    pressedAt = rig.clock.now();
                    rig.link.cancelTransfer();
                    break;
                }
            }
            seen = trace.size();
            return pressed;
        });
    }

    bool opens(const QByteArray &bytes, int sends, Transfer transfer) const
    {
        if (stage == Handshake)
            return sends == 3; // 02 50 52: well inside the opening sequence
        if (stage == Request)
            return bytes == QByteArray(1, char(transfer == Read ? ReadRequest : WriteRequest));
        if (transfer == Read)
            return bytes == readRequest(stage);
        return bytes.size() == 12 && bytes.startsWith(readRequest(stage).mid(1).prepend(char(BlockWrite)));
    }
};

QString stageName(int stage)
{
    if (stage == Never)
        return QStringLiteral("no cancel");
    if (stage == Handshake)
        return QStringLiteral("cancel at handshake");
    if (stage == Request)
        return QStringLiteral("cancel at request");
    return QStringLiteral("cancel at block %1").arg(stage + 1);
}

QList<Fault> faults()
{
    QList<Fault> all{{NoFault, -1, {}}, {Silent, -1, {}}};
    for (int n : {0, 39, 126, 127})
        all << Fault{SilentAfter, n, {}};
    for (int n : {0, 1, 39, 127})
        all << Fault{NakAt, n, {}};
    for (int len : {11, 13})
        all << Fault{WrongLength, len, {}};
    for (int n : {0, 39, 127})
        all << Fault{GarbageAt, n, {}};
    for (int n : {0, 1, 39, 127})
        all << Fault{HangUpAt, n, {}};
    for (const char *hex : {"06", "0606", "15", "151506"})
        all << Fault{Answer, -1, QByteArray::fromHex(hex)};
    return all;
}

// A cell the write cannot encode: the write must send nothing at all.
void spoil(WorkingCopy &wc)
{
    wc.setCell(16, ChannelTable::RxFreq, QStringLiteral("450.1000"));
}

} // namespace

class TestFaultMatrix : public QObject
{
    Q_OBJECT
private slots:
    void matrix_data();
    void matrix();
};

void TestFaultMatrix::matrix_data()
{
    QTest::addColumn<int>("transfer");
    QTest::addColumn<bool>("byteMode");
    QTest::addColumn<bool>("spoilt");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("block");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("cancelStage");
    const QList<int> stages{Never, Handshake, Request, 0, 39, 127};
    for (int transfer : {Read, Write}) {
        for (bool byteMode : {false, true}) {
            for (bool spoilt : {false, true}) {
                if (spoilt && transfer == Read)
                    continue;
                for (const Fault &f : faults()) {
                    for (int stage : stages) {
                        // A spoilt write never reaches a stage; two Cancel points show it.
                        if (spoilt && stage != Never && stage != Handshake)
                            continue;
                        const QString name = QStringLiteral("%1, %2%3, %4, %5")
                                                 .arg(transfer == Read ? u"read" : u"write",
                                                      byteMode ? u"byte mode" : u"character mode",
                                                      spoilt ? u", bad cell" : u"", f.name(), stageName(stage));
                        QTest::newRow(qPrintable(name))
                            << transfer << byteMode << spoilt << int(f.kind) << f.block << f.answer << stage;
                    }
                }
            }
        }
    }
}

void TestFaultMatrix::matrix()
{
    QFETCH(int, transfer);
    QFETCH(bool, byteMode);
    QFETCH(bool, spoilt);
    QFETCH(int, kind);
    QFETCH(int, block);
    QFETCH(QByteArray, answer);
    QFETCH(int, cancelStage);
    const Fault fault{FaultKind(kind), block, answer};

    LinkRig rig;
    if (byteMode) {
        // Byte mode comes with the first block read of the run and stays. The editor of
        // the matrix stays as start-up left it.
        WorkingCopy other;
        other.startUp(QString());
        QVERIFY(rig.open());
        QVERIFY(rig.link.readRadio(true, other).ok());
        QVERIFY(rig.link.byteMode());
        QVERIFY(!rig.link.isOpen());
        rig.line.trace.clear();
        rig.messages.clear();
        rig.progress.clear();
    }
    if (spoilt)
        spoil(rig.wc);
    rig.radio.setOptions(fault.options());
    const codec::Image memoryBefore = rig.radio.memory();
    const QStringList editorBefore = editorState(rig.wc);
    WorkingCopy reference;
    reference.startUp(QString());
    if (spoilt)
        spoil(reference);
    const Result<codec::Image> image = RadioLink::writeImage(reference);
    QCOMPARE(image.ok(), !spoilt);

    CancelButton cancel;
    cancel.stage = cancelStage;
    cancel.attach(rig, Transfer(transfer));

    const qint64 start = rig.clock.now();
    const qint64 limit = start + (RadioLink::WatchdogInterval + 1000) * Clock::Millisecond;

    // The command: open, delete the old received image (read), run, close.
    QVERIFY(rig.link.openForTransfer().ok());
    const QString received = rig.link.receivedPath();
    QFile::remove(received);
    rig.link.setTransferActive(true);
    const Status status = transfer == Read ? rig.link.readRadio(true, rig.wc) : rig.link.writeRadio(true, rig.wc);
    const bool openAfterTransfer = rig.link.isOpen();
    rig.link.closePort();
    const qint64 end = rig.clock.now();

    Expected e = expect(Transfer(transfer), byteMode, fault, cancelStage);
    if (spoilt) {
        // Refused before the first byte, naming channel and column; the port is closed.
        e = Expected{};
        e.ending = RadioLink::Ending::Failed;
        e.stage = Handshake;
        e.messages = QStringList{codec::encodeImage(reference).failure().description};
        e.closedByTransfer = true;
    }

    // Ends by itself, or within a pause of the Cancel; never later than the watchdog
    // and a second. A wait with nothing left to happen would have stalled.
    QVERIFY(status.ok());
    QVERIFY(!rig.stalled);
    QVERIFY(end <= limit);
    if (cancel.pressed)
        QVERIFY(end - cancel.pressedAt <= RadioLink::OpeningPause * Clock::Millisecond);
    QCOMPARE(rig.link.lastEnding(), e.ending);
    QVERIFY(!rig.link.watchdogRunning());

    // The port: closed by the transfer where it ends normally or on a refused or lost
    // line, by the command otherwise; nothing is sent on a closed port.
    QCOMPARE(!openAfterTransfer, e.closedByTransfer);
    QVERIFY(!rig.link.isOpen());
    QCOMPARE(rig.line.trace.last().kind, SimTransport::Event::Close);
    QCOMPARE(rig.line.trace.first().kind, SimTransport::Event::Open);
    for (qsizetype i = 1; i + 1 < rig.line.trace.size(); ++i)
        QCOMPARE_NE(rig.line.trace[i].kind, SimTransport::Event::Close);

    // The opening sequence, cyclic from 02, then the exchange that the stages reached.
    const QByteArray sent = rig.line.sentBytes();
    qsizetype opening = 0;
    while (opening < sent.size() && quint8(sent[opening]) == openingSequence[opening % 7])
        ++opening;
    QByteArray exchange;
    if (e.stage >= Request)
        exchange += char(ClosingLetter) + QByteArray(1, char(transfer == Read ? ReadRequest : WriteRequest));
    if (transfer == Read) {
        const int requests = e.stage >= codec::BlockCount ? codec::BlockCount : e.stage >= 0 ? e.stage + 1 : 0;
        for (int n = 0; n < requests; ++n)
            exchange += readRequest(n) + (n < e.lines ? QByteArray(1, char(Ack)) : QByteArray());
    } else {
        for (int n = 0; n < e.frames; ++n)
            exchange += codec::frame(BlockWrite, n, (*image)[size_t(n)]);
    }
    QCOMPARE(sent.mid(opening), exchange);
    if (spoilt)
        QVERIFY(sent.isEmpty());
    else if (cancelStage != Handshake)
        QVERIFY(opening >= 7);

    QStringList messages = e.messages;
    if (transfer == Read) {
        QByteArray file;
        for (int n = 0; n < e.lines; ++n) {
            const QByteArray line = blockReply(memoryBefore, fault, n).toHex(' ').toUpper() + ' ';
            QCOMPARE(line.size(), 36);
            file += line + "\r\n";
        }
        // The received image holds exactly the blocks that arrived. Only a complete read
        // reaches the editor, as the channel-file reader loads it; after a Cancel or a
        // failure part-way the editor is as it was and the user is told where the lines are.
        QCOMPARE(QFileInfo::exists(received), e.lines > 0);
        QCOMPARE(rig.receivedFile(), file);
        if (e.ending == RadioLink::Ending::Completed) {
            WorkingCopy loaded;
            loaded.startUp(QString());
            const LoadOutcome outcome = loadChannelText(loaded, file);
            if (outcome.kind == LoadOutcome::Failed)
                messages << outcome.failure.description;
            QCOMPARE(editorState(rig.wc), editorState(loaded));
        } else {
            if (e.lines > 0)
                messages << QStringLiteral("读频没有完成，已收到的 %1 块数据保存在 %2")
                                .arg(e.lines)
                                .arg(QDir::toNativeSeparators(received));
            QCOMPARE(editorState(rig.wc), editorBefore);
        }
        QList<int> progress;
        for (int c = 1; c <= e.lines; ++c)
            progress << c;
        QCOMPARE(rig.progress, progress);
    } else {
        // A write only reads the editor; the radio keeps what it acknowledged, and a write
        // cut short after its first frame is known to have left it half-written.
        QCOMPARE(editorState(rig.wc), editorBefore);
        QCOMPARE(rig.link.radioPartlyWritten(), e.ending != RadioLink::Ending::Completed && e.frames > 0);
        for (int n = 0; n < codec::BlockCount; ++n) {
            const bool kept = n < e.frames && fault.stores(n);
            QCOMPARE(rig.radio.memory()[size_t(n)], kept ? (*image)[size_t(n)] : memoryBefore[size_t(n)]);
        }
        // 1 and 2 for the function blocks (2 once its acknowledgement came), then one
        // per frame sent.
        QList<int> progress;
        for (int n = 0; n < e.frames; ++n) {
            if (n == 1 && e.frames == 2)
                break;
            progress << (n < codec::DataBlocks ? n + 1 : n);
        }
        QCOMPARE(rig.progress, progress);
    }
    QCOMPARE(rig.messageTexts(), messages);
}

QTEST_GUILESS_MAIN(TestFaultMatrix)
#include "tst_faultmatrix.moc"
