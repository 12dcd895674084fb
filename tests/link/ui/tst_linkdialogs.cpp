// The port dialog, the progress dialog and the read and write commands: what the user
// is asked and told, and that the port ends closed after every command.

#include "../../widgets/FakePrompter.h"
#include "../LinkRig.h"
#include "SafeWriteResult.h"

#include "files/ChannelFile.h"
#include "link/SerialPorts.h"
#include "link/ui/LinkCommands.h"
#include "link/ui/PortDialog.h"
#include "link/ui/TransferDialog.h"
#include "app/Commands.h"
#include "app/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QList<SerialPortEntry> fakePorts(int count)
{
    QList<SerialPortEntry> ports;
    // Listed out of order; the dialog shows them sorted, numbers compared as numbers.
    for (int i = count - 1; i >= 0; --i)
        ports.append({QStringLiteral("/dev/ttyUSB%1").arg(i), QStringLiteral("USB-Serial")});
    return ports;
}

template<typename T>
T *visibleTopLevel(const char *objectName)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(objectName) && w->isVisible())
            return qobject_cast<T *>(w);
    return nullptr;
}

// Runs action on the port dialog once it is shown modally.
void whenPortDialogShows(std::function<void(PortDialog *)> action)
{
    QTimer::singleShot(0, [action] {
        PortDialog *dialog = visibleTopLevel<PortDialog>("frmDK");
        QVERIFY(dialog);
        action(dialog);
    });
}

QList<QRadioButton *> options(const PortDialog &dialog)
{
    return dialog.findChildren<QRadioButton *>(QStringLiteral("optDK"));
}

} // namespace

class TestLinkDialogs : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { setSerialPortLister({}); }

    void portOptions_data();
    void portOptions();
    void confirmSwitchesPort();
    void closingWithoutConfirmKeepsLastClick();
    void deviceFieldWins();
    void cancelKeepsThePort_data();
    void cancelKeepsThePort();
    void portDialogClosesOpenPort();
    void chipAndLikelyCableShown();
    void missingDeviceIsQuestioned();

    void answeringCancelChangesNothing_data();
    void answeringCancelChangesNothing();
    void completeRead();
    void cancelConfirmedDuringBlockReads();
    void cancelAnsweredWithCancelGoesOn();
    void failedHandshakeLeavesEditorAlone();
    void portThatDoesNotOpen();
    void uncaughtFailureInTransfer_data();
    void uncaughtFailureInTransfer();
    void completeWrite();

    void writeThenReadOverPseudoTerminal();
    void mainWindowTellsEachMessageOnce();
};

void TestLinkDialogs::portOptions_data()
{
    QTest::addColumn<int>("listed");
    QTest::addColumn<int>("initialOption");
    QTest::addColumn<int>("enabled");
    QTest::addColumn<int>("checked");
    QTest::newRow("two ports") << 2 << 1 << 2 << 1;
    QTest::newRow("six ports") << 6 << 3 << 4 << 3;
    QTest::newRow("none") << 0 << 0 << 0 << 0;
    // COM3 chosen, two ports: no enabled option matches; COM1 stays shown as selected.
    QTest::newRow("COM3 of two") << 2 << 2 << 2 << 0;
}

void TestLinkDialogs::portOptions()
{
    QFETCH(int, listed);
    QFETCH(int, initialOption);
    QFETCH(int, enabled);
    QFETCH(int, checked);
    setSerialPortLister([listed] { return fakePorts(listed); });
    PortDialog dialog(initialOption, initialOption + 1, QString());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("端口选择"));
    const auto opts = options(dialog);
    QCOMPARE(opts.size(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(opts[i]->isEnabled(), i < enabled);
        QCOMPARE(opts[i]->isChecked(), i == checked);
    }
    QCOMPARE(dialog.portOption, initialOption);
    if (listed >= 2)
        QCOMPARE(opts[1]->text(), QStringLiteral("COM2   /dev/ttyUSB1  USB-Serial"));
    if (listed >= 4 || listed == 0)
        QCOMPARE(opts[3]->text().left(4), QStringLiteral("COM4"));
}

void TestLinkDialogs::confirmSwitchesPort()
{
    setSerialPortLister([] { return fakePorts(12); });
    FakePrompter prompter;
    LinkRig rig;
    rig.link.setCustomDevice({});
    whenPortDialogShows([](PortDialog *dialog) {
        QTest::mouseClick(options(*dialog)[1], Qt::LeftButton);
        dialog->confirmButton()->click();
    });
    choosePortCommand(nullptr, rig.link);
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.shown[0].text, QStringLiteral("端口转换成COM2"));
    QCOMPARE(prompter.shown[0].title, QStringLiteral("提示"));
    QCOMPARE(prompter.shown[0].icon, QMessageBox::Information);
    QCOMPARE(rig.link.portOption, 1);
    QCOMPARE(rig.link.portNumber(), 2);
    QCOMPARE(rig.link.chosenDevice(), QStringLiteral("/dev/ttyUSB1"));
}

void TestLinkDialogs::closingWithoutConfirmKeepsLastClick()
{
    setSerialPortLister([] { return fakePorts(4); });
    FakePrompter prompter;
    LinkRig rig;
    rig.link.setCustomDevice({});
    whenPortDialogShows([](PortDialog *dialog) {
        QTest::mouseClick(options(*dialog)[2], Qt::LeftButton);
        dialog->close();
    });
    choosePortCommand(nullptr, rig.link);
    QVERIFY(prompter.shown.isEmpty());
    QCOMPARE(rig.link.portNumber(), 3);
    QCOMPARE(rig.link.chosenDevice(), QStringLiteral("/dev/ttyUSB2"));
}

void TestLinkDialogs::deviceFieldWins()
{
    setSerialPortLister([] { return fakePorts(2); });
    FakePrompter prompter;
    LinkRig rig;
    rig.link.setCustomDevice({});
    whenPortDialogShows([](PortDialog *dialog) {
        QTest::keyClicks(dialog->deviceField(), QStringLiteral(" /dev/null "));
        dialog->confirmButton()->click();
    });
    choosePortCommand(nullptr, rig.link);
    QCOMPARE(rig.link.chosenDevice(), QStringLiteral("/dev/null"));
    QCOMPARE(prompter.shown.value(0).text, QStringLiteral("端口转换成/dev/null"));

    // Shown again in the field, and emptying it gives the option back.
    whenPortDialogShows([](PortDialog *dialog) {
        QCOMPARE(dialog->deviceField()->text(), QStringLiteral("/dev/null"));
        dialog->deviceField()->clear();
        dialog->confirmButton()->click();
    });
    choosePortCommand(nullptr, rig.link);
    QCOMPARE(rig.link.chosenDevice(), QStringLiteral("/dev/ttyUSB0"));
}

// Columns: the device in the field when the dialog opens, what is done before 取消
// (click COM3, or type a device), and the options shown checked when it opened.
void TestLinkDialogs::cancelKeepsThePort_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QList<bool>>("checkedAtOpen");
    const QString pts = QStringLiteral("/dev/pts/7");
    QTest::newRow("COM2, COM3 clicked") << QString() << u"click"_s << QList<bool>{false, true, false, false};
    QTest::newRow("COM2, a device typed") << QString() << pts << QList<bool>{false, true, false, false};
    QTest::newRow("a device, COM3 clicked") << pts << u"click"_s << QList<bool>{false, false, false, false};
    QTest::newRow("a device, another typed") << pts << u"/dev/null"_s << QList<bool>{false, false, false, false};
}

void TestLinkDialogs::cancelKeepsThePort()
{
    QFETCH(QString, device);
    QFETCH(QString, change);
    QFETCH(QList<bool>, checkedAtOpen);
    setSerialPortLister([] { return fakePorts(4); });
    FakePrompter prompter;
    LinkRig rig;
    rig.link.portOption = 1;
    rig.link.setPortNumber(2);
    rig.link.setCustomDevice(device);
    QList<bool> checked;
    bool optionsFollowField = false;
    whenPortDialogShows([&](PortDialog *dialog) {
        for (QRadioButton *option : options(*dialog))
            checked << option->isChecked();
        if (change == u"click") {
            QTest::mouseClick(options(*dialog)[2], Qt::LeftButton);
            optionsFollowField = dialog->deviceField()->text().isEmpty() && options(*dialog)[2]->isChecked();
        } else {
            dialog->deviceField()->setText(change);
            optionsFollowField = true;
            for (QRadioButton *option : options(*dialog))
                optionsFollowField = optionsFollowField && !option->isChecked();
        }
        dialog->cancelButton()->click();
    });
    choosePortCommand(nullptr, rig.link);
    QCOMPARE(checked, checkedAtOpen);
    QVERIFY(optionsFollowField);
    QVERIFY(prompter.shown.isEmpty());
    QCOMPARE(rig.link.portOption, 1);
    QCOMPARE(rig.link.portNumber(), 2);
    QCOMPARE(rig.link.customDevice(), device);
}

void TestLinkDialogs::portDialogClosesOpenPort()
{
    FakePrompter prompter;
    LinkRig rig;
    QVERIFY(rig.open());
    bool openWhileShown = true;
    whenPortDialogShows([&](PortDialog *dialog) {
        openWhileShown = rig.link.isOpen();
        dialog->close();
    });
    choosePortCommand(nullptr, rig.link);
    QVERIFY(!openWhileShown);
}

void TestLinkDialogs::chipAndLikelyCableShown()
{
    setSerialPortLister([] {
        return QList<SerialPortEntry>{{QStringLiteral("/dev/ttyS0"), {}},
                                      {QStringLiteral("/dev/ttyUSB0"), QStringLiteral("USB Serial"), 0x1a86, 0x7523},
                                      {QStringLiteral("/dev/ttyUSB1"), {}, 0x067b, 0x2303}};
    });
    FakePrompter prompter;
    MainWindow mw;
    plugInCommands(mw);
    QLabel *status = mw.findChild<QLabel *>(QStringLiteral("sbPort"));
    QVERIFY(status);
    QCOMPARE(status->text(), QStringLiteral("端口：COM1 /dev/ttyS0"));
    QStringList labels;
    whenPortDialogShows([&labels](PortDialog *dialog) {
        for (QRadioButton *option : options(*dialog))
            labels << option->text();
        QTest::mouseClick(options(*dialog)[1], Qt::LeftButton);
        dialog->confirmButton()->click();
    });
    mw.runCommand(MainWindow::Command::ChoosePort);
    QCOMPARE(labels,
             (QStringList{QStringLiteral("COM1   /dev/ttyS0"),
                          QStringLiteral("COM2   /dev/ttyUSB0  USB Serial  [CH340]  ← 可能是编程线"),
                          QStringLiteral("COM3   /dev/ttyUSB1  [PL2303]"), QStringLiteral("COM4")}));
    QCOMPARE(status->text(), QStringLiteral("端口：COM2 /dev/ttyUSB0 CH340"));
    QCOMPARE(PortDialog::statusText(3, {}), QStringLiteral("端口：COM4（未找到设备）"));
    QCOMPARE(PortDialog::statusText(3, QStringLiteral(" /dev/pts/4")), QStringLiteral("端口：/dev/pts/4"));
}

void TestLinkDialogs::missingDeviceIsQuestioned()
{
    setSerialPortLister([] { return fakePorts(2); });
    FakePrompter prompter;
    LinkRig rig;
    rig.link.setCustomDevice({});
    const QString typo = QStringLiteral("/dev/ttyUSB9-no-such");
    bool stayedOpen = false;
    whenPortDialogShows([&](PortDialog *dialog) {
        QTest::keyClicks(dialog->deviceField(), typo);
        prompter.answers = {QMessageBox::No, QMessageBox::Yes};
        dialog->confirmButton()->click();
        stayedOpen = dialog->isVisible() && prompter.shown.size() == 1;
        dialog->confirmButton()->click();
    });
    choosePortCommand(nullptr, rig.link);
    QVERIFY(stayedOpen);
    QCOMPARE(prompter.shown.size(), 3);
    QCOMPARE(prompter.shown[0].icon, QMessageBox::Question);
    QVERIFY(prompter.shown[0].text.contains(typo));
    QCOMPARE(prompter.shown[2].text, QStringLiteral("端口转换成") + typo);
    QCOMPARE(rig.link.chosenDevice(), typo);
}

void TestLinkDialogs::answeringCancelChangesNothing_data()
{
    QTest::addColumn<bool>("write");
    QTest::newRow("read") << false;
    QTest::newRow("write") << true;
}

void TestLinkDialogs::answeringCancelChangesNothing()
{
    QFETCH(bool, write);
    FakePrompter prompter;
    prompter.answers = {QMessageBox::Cancel};
    LinkRig rig;
    QFile old(rig.link.receivedPath());
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("kept\r\n");
    old.close();
    (write ? writeRadioCommand : readRadioCommand)(nullptr, rig.wc, rig.link);
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.shown[0].text, write ? QStringLiteral("确定要开始写频吗?") : QStringLiteral("确定要开始读频吗?"));
    QCOMPARE(prompter.shown[0].title, write ? QStringLiteral("写频进度显示") : QStringLiteral("读频进度显示"));
    QVERIFY(rig.line.trace.isEmpty());
    QCOMPARE(rig.receivedFile(), QByteArray("kept\r\n"));
}

void TestLinkDialogs::completeRead()
{
    FakePrompter prompter;
    LinkRig rig;
    rig.clock.processQtEvents = true;
    QFile old(rig.link.receivedPath());
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("52 00 00 08 24 FF FF FF 00 00 04 19 \r\n");
    old.close();
    readRadioCommand(nullptr, rig.wc, rig.link);
    QCOMPARE(prompter.shown.size(), 1); // the question only
    QVERIFY(!rig.link.isOpen());
    QCOMPARE(rig.progress.last(), 128);
    QVERIFY(!visibleTopLevel<TransferDialog>("frmWAIT"));
    // The old file was deleted first; the new one holds exactly the 128 blocks.
    QCOMPARE(rig.receivedFile().count('\n'), 128);
    QCOMPARE(rig.wc.cell(2, ChannelTable::RxFreq), QStringLiteral("450.05000"));
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Completed);
}

void TestLinkDialogs::cancelConfirmedDuringBlockReads()
{
    FakePrompter prompter;
    RadioSimOptions o;
    o.silentAfterBlock = 38;
    LinkRig rig(o);
    rig.clock.processQtEvents = true;
    bool dialogClosedAtOnce = false;
    // Three seconds into the wait for the 40th reply, before the reply timeout.
    rig.clock.post(3'000 * LinkRig::ms, [&] {
        TransferDialog *dialog = visibleTopLevel<TransferDialog>("frmWAIT");
        QVERIFY(dialog);
        QCOMPARE(dialog->progressBar()->value(), 39);
        dialog->cancelButton()->click();
        dialogClosedAtOnce = !dialog->isVisible();
    });
    const QStringList before = editorState(rig.wc);
    readRadioCommand(nullptr, rig.wc, rig.link);
    QVERIFY(!rig.stalled);
    QVERIFY(dialogClosedAtOnce);
    QCOMPARE(prompter.shown.size(), 3);
    QCOMPARE(prompter.shown[1].text, QStringLiteral("确定要取消吗"));
    QCOMPARE(prompter.shown[1].title, QStringLiteral("提示"));
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Cancelled);
    QVERIFY(!rig.link.isOpen());
    // The editor is as it was; the lines that came are kept, and the user is told where.
    QCOMPARE(rig.receivedFile().count('\n'), 39);
    QVERIFY(prompter.shown[2].text.contains(QDir::toNativeSeparators(rig.link.receivedPath())));
    QCOMPARE(editorState(rig.wc), before);
}

void TestLinkDialogs::cancelAnsweredWithCancelGoesOn()
{
    FakePrompter prompter;
    prompter.answers = {QMessageBox::Ok, QMessageBox::Cancel};
    RadioSimOptions o;
    o.baud = 9600; // so the block reads take (virtual) time
    LinkRig rig(o);
    rig.clock.processQtEvents = true;
    int progressAtClick = -1;
    rig.clock.post(1500 * LinkRig::ms, [&] {
        TransferDialog *dialog = visibleTopLevel<TransferDialog>("frmWAIT");
        QVERIFY(dialog);
        progressAtClick = dialog->progressBar()->value();
        dialog->cancelButton()->click();
    });
    readRadioCommand(nullptr, rig.wc, rig.link);
    QVERIFY(progressAtClick > 0 && progressAtClick < 128);
    QCOMPARE(prompter.shown.size(), 2);
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Completed);
    QCOMPARE(rig.receivedFile().count('\n'), 128);
    QVERIFY(!rig.link.isOpen());
}

void TestLinkDialogs::failedHandshakeLeavesEditorAlone()
{
    FakePrompter prompter;
    RadioSimOptions o;
    o.silent = true;
    LinkRig rig(o);
    rig.clock.processQtEvents = true;
    rig.wc.setCell(5, ChannelTable::RxFreq, QStringLiteral("440.00000"));
    readRadioCommand(nullptr, rig.wc, rig.link);
    QCOMPARE(prompter.shown.size(), 2);
    QCOMPARE(prompter.shown[1].text, QStringLiteral("通信端口没有响应，请确保连接正确和电源打开"));
    QCOMPARE(prompter.shown[1].title, QStringLiteral("信息提示"));
    QCOMPARE(prompter.shown[1].icon, QMessageBox::Information);
    QVERIFY(!QFileInfo::exists(rig.link.receivedPath()));
    QCOMPARE(rig.wc.cell(5, ChannelTable::RxFreq), QStringLiteral("440.00000"));
    QVERIFY(!rig.link.isOpen());
}

void TestLinkDialogs::portThatDoesNotOpen()
{
    FakePrompter prompter;
    LinkRig rig;
    rig.line.refuseDevice = QStringLiteral("sim");
    writeRadioCommand(nullptr, rig.wc, rig.link);
    QCOMPARE(prompter.shown.size(), 2);
    QCOMPARE(prompter.shown[1].title, QStringLiteral("8002"));
    QCOMPARE(prompter.shown[1].icon, QMessageBox::Information);
    QVERIFY(prompter.shown[1].text.contains(QStringLiteral("sim")));
    QVERIFY(rig.line.trace.isEmpty());
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::None); // no transfer ran
}

void TestLinkDialogs::uncaughtFailureInTransfer_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("text");
    QTest::newRow("read") << false << "读频错误，请重新读频";
    QTest::newRow("write") << true << "写频错误，请重新写频";
}

void TestLinkDialogs::uncaughtFailureInTransfer()
{
    QFETCH(bool, write);
    QFETCH(QString, text);
    FakePrompter prompter;
    LinkRig rig;
    rig.clock.processQtEvents = true;
    rig.line.failWrite = 2;
    (write ? writeRadioCommand : readRadioCommand)(nullptr, rig.wc, rig.link);
    QCOMPARE(prompter.shown.size(), 2);
    QCOMPARE(prompter.shown[1].text, text);
    QCOMPARE(prompter.shown[1].title, QStringLiteral("提示"));
    QCOMPARE(prompter.shown[1].icon, QMessageBox::Critical);
    QVERIFY(!rig.link.isOpen());
}

void TestLinkDialogs::completeWrite()
{
    FakePrompter prompter;
    LinkRig rig;
    rig.clock.processQtEvents = true;
    QVERIFY(loadChannelFile(rig.wc, QStringLiteral(TARNIK_TEST_DATA "/example.chp")).kind == LoadOutcome::Loaded);
    // What the dialog shows as it closes: the write's own last value is 127.
    int barAtClose = -1;
    QString buttonAtClose;
    QString captionAtStart;
    rig.clock.post(0, [&] {
        TransferDialog *dialog = visibleTopLevel<TransferDialog>("frmWAIT");
        QVERIFY(dialog);
        captionAtStart = dialog->windowTitle();
        QObject::connect(dialog, &QDialog::finished, [&, dialog] {
            barAtClose = dialog->progressBar()->value();
            buttonAtClose = dialog->cancelButton()->text();
        });
    });
    writeRadioCommand(nullptr, rig.wc, rig.link);
    QCOMPARE(captionAtStart, QStringLiteral("正在连接对讲机。。。"));
    QCOMPARE(barAtClose, 128);
    QCOMPARE(buttonAtClose, QStringLiteral("确定"));
    QCOMPARE(rig.progress.last(), 127);
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(rig.link.lastEnding(), RadioLink::Ending::Completed);
    QCOMPARE(rig.radio.memory(), *RadioLink::writeImage(rig.wc));
    QVERIFY(!rig.link.isOpen());
}

void TestLinkDialogs::writeThenReadOverPseudoTerminal()
{
    // The real serial port and wall-clock time against tarnik-sim.
    QTemporaryDir dir;
    const QString dump = dir.filePath(QStringLiteral("radio.chp"));
    QProcess sim;
    sim.start(QStringLiteral(TARNIK_BIN_DIR "/tarnik-sim"),
              {QStringLiteral("--baud"), QStringLiteral("0"), QStringLiteral("--dump"), dump});
    QVERIFY(sim.waitForReadyRead(5000));
    const QString device = QString::fromUtf8(sim.readLine()).trimmed();
    QVERIFY(device.startsWith(QLatin1Char('/')));

    FakePrompter prompter;
    WorkingCopy wc;
    wc.startUp(QString());
    QVERIFY(loadChannelFile(wc, QStringLiteral(TARNIK_TEST_DATA "/example.chp")).kind == LoadOutcome::Loaded);
    RadioLink link;
    link.setCustomDevice(device);
    link.setReceivedPath(dir.filePath(QStringLiteral("Received.chp")));
    writeRadioCommand(nullptr, wc, link);
    QCOMPARE(link.lastEnding(), RadioLink::Ending::Completed);
    QVERIFY(!link.isOpen());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(dump), 5000);
    QFile dumped(dump);
    QVERIFY(dumped.open(QIODevice::ReadOnly));
    QCOMPARE(*RadioSim::imageFromChannelText(dumped.readAll()), *RadioLink::writeImage(wc));

    WorkingCopy fresh;
    fresh.startUp(QString());
    readRadioCommand(nullptr, fresh, link);
    QCOMPARE(link.lastEnding(), RadioLink::Ending::Completed);
    QCOMPARE(prompter.shown.size(), 2); // the two questions
    QVERIFY(!link.isOpen());
    for (int r = 1; r <= 16; ++r)
        for (int c = 1; c < ChannelTable::Columns; ++c)
            QCOMPARE(fresh.cell(r, c), wc.cell(r, c));
    sim.kill();
    sim.waitForFinished();
}

void TestLinkDialogs::mainWindowTellsEachMessageOnce()
{
    // The whole application's wiring: the main window with its commands, started with
    // --port, against tarnik-sim refusing block 3 (of a write, and the PC's 06 after it
    // in a read).
    QStandardPaths::setTestModeEnabled(true);
    QProcess sim;
    sim.start(QStringLiteral(TARNIK_BIN_DIR "/tarnik-sim"),
              {QStringLiteral("--baud"), QStringLiteral("0"), QStringLiteral("--nak-at-block"), QStringLiteral("3")});
    QVERIFY(sim.waitForReadyRead(5000));
    const QString device = QString::fromUtf8(sim.readLine()).trimmed();

    FakePrompter prompter;
    MainWindow mw;
    mw.setInitialPort(device);
    plugInCommands(mw);
    mw.startUp(QString());
    const auto texts = [&prompter] {
        QStringList t;
        for (const auto &s : prompter.shown)
            t << s.text;
        prompter.shown.clear();
        return t;
    };
    // The write reads a backup first; the radio refuses the PC's 06 after block 3 there,
    // so nothing is written.
    // The result is told once, in the progress dialog.
    {
        SafeWriteResult result;
        mw.runToolbarCommand(QStringLiteral("Write"));
        QCOMPARE(result.results, QStringList{QStringLiteral("备份读频失败，没有写频，对讲机未被改动。")});
    }
    QCOMPARE(texts(), (QStringList{QStringLiteral("确定要开始写频吗?"), QStringLiteral("通信错误")}));
    // The radio has seen the port close (it says so) before the next command opens it.
    QTRY_VERIFY_WITH_TIMEOUT(sim.canReadLine() || sim.waitForReadyRead(100), 5000);
    QVERIFY(QString::fromUtf8(sim.readLine()).startsWith(QStringLiteral("session kind=read")));

    // The read stores blocks 0 to 3 and is refused; the editor stays as it was.
    const QStringList before = editorState(mw.workingCopy());
    mw.runCommand(MainWindow::Command::Read);
    const QStringList told = texts();
    QCOMPARE(told.size(), 3);
    QCOMPARE(told[1], QStringLiteral("通信错误"));
    QVERIFY(told[2].contains(QDir::toNativeSeparators(RadioLink::defaultReceivedPath())));
    QCOMPARE(editorState(mw.workingCopy()), before);
    QVERIFY(QFile::remove(RadioLink::defaultReceivedPath()));
    sim.kill();
    sim.waitForFinished();
}

QTEST_MAIN(TestLinkDialogs)
#include "tst_linkdialogs.moc"
