// Every command of the menus and the toolbar reaches its subsystem once the program's
// commands are plugged in: none of them answers "此功能尚不可用".

#include "channels/WorkingCopy.h"
#include "channels/ui/ChannelGrid.h"
#include "files/BackupStore.h"
#include "link/SafeWrite.h"
#include "files/ui/CompareDialog.h"
#include "print/PageScript.h"
#include "print/ui/PrintCommand.h"
#include "print/ui/PreviewWindow.h"
#include "app/Commands.h"
#include "app/MainWindow.h"
#include "tune/ui/TuneMode.h"

#include "../link/LinkRig.h"
#include "../link/ui/SafeWriteResult.h"
#include "../widgets/FakePrompter.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

const QString Unavailable = QString::fromUtf16(u"此功能尚不可用");

// Closes the first modal dialog that opens, as a user pressing its close box would,
// and remembers its object name.
class ModalCloser : public QObject
{
public:
    explicit ModalCloser(QObject *parent = nullptr) : QObject(parent)
    {
        connect(&m_poll, &QTimer::timeout, this, [this] {
            if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                closed << d->objectName();
                d->reject();
            }
        });
        m_poll.start(0);
    }
    QStringList closed;

private:
    QTimer m_poll;
};

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void commandsArePlugged_data();
    void commandsArePlugged();
    void tuneModeShowsNewBandAndKeepsGrid();
    void exitClosesPreviewAndDeletesScript();
    void transferSaysSoAndReadIsOneStep_data();
    void transferSaysSoAndReadIsOneStep();
    void compareWithRadioLeavesEditor();
    void portChoiceIsRemembered_data();
    void portChoiceIsRemembered();
    void noBandOffersTuneMode_data();
    void noBandOffersTuneMode();
    void compareWithRadioAgreesWithVerify();

private:
    QAction *action(const QString &menuName, const QString &toolKey) const;

    QTemporaryDir m_dir;
    std::unique_ptr<FakePrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
};

void TestCommands::initTestCase()
{
    // The port choice is kept with QSettings: in the test folders, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QSettings().clear();
    setPortMemory(true);
}

void TestCommands::init()
{
    QVERIFY(m_dir.isValid());
    const QString ini = m_dir.filePath(QStringLiteral("Sfc.ini"));
    QFile f(ini);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Frequent]\r\nPL1=400MHz---470MHz\r\n");
    f.close();
    m_prompter = std::make_unique<FakePrompter>();
    m_window = std::make_unique<MainWindow>();
    plugInCommands(*m_window);
    m_window->startUp(ini);
}

void TestCommands::cleanup()
{
    setModalRunner(nullptr);
    closePreview();
    deletePrintScript();
    m_window.reset();
    m_prompter.reset();
}

QAction *TestCommands::action(const QString &menuName, const QString &toolKey) const
{
    if (!menuName.isEmpty())
        return m_window->findChild<QAction *>(menuName);
    return m_window->findChild<QToolBar *>()->findChild<QAction *>(toolKey);
}

// Columns: the menu item or toolbar key, the box the command shows first (answered
// with Cancel), the modal dialog it opens (closed at once), and whether the preview opens.
void TestCommands::commandsArePlugged_data()
{
    QTest::addColumn<QString>("menuName");
    QTest::addColumn<QString>("toolKey");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<bool>("preview");
    const QString readQuestion = QString::fromUtf16(u"确定要开始读频吗?");
    const QString writeQuestion = QString::fromUtf16(u"确定要开始写频吗?");
    QTest::newRow("打印(&P)") << "mnuPreview"
                              << ""
                              << ""
                              << "" << true;
    QTest::newRow("toolbar 打印") << ""
                                  << "Print"
                                  << ""
                                  << "" << true;
    QTest::newRow("读频(&R)") << "mnuRead"
                              << "" << readQuestion << "" << false;
    QTest::newRow("toolbar 读频") << ""
                                  << "Read" << readQuestion << "" << false;
    QTest::newRow("写频(&W)") << "mnuWrite"
                              << "" << writeQuestion << "" << false;
    QTest::newRow("toolbar 写频") << ""
                                  << "Write" << writeQuestion << "" << false;
    QTest::newRow("选择端口(&P)") << "mnuPort"
                                  << ""
                                  << ""
                                  << "frmDK" << false;
    QTest::newRow("调整模式(&T)") << "mnuTune"
                                  << ""
                                  << ""
                                  << "frmLogin" << false;
}

void TestCommands::commandsArePlugged()
{
    QFETCH(QString, menuName);
    QFETCH(QString, toolKey);
    QFETCH(QString, question);
    QFETCH(QString, dialog);
    QFETCH(bool, preview);
    QAction *a = action(menuName, toolKey);
    QVERIFY(a);
    m_prompter->answers << QMessageBox::Cancel;
    m_window->editorTimer()->start();
    ModalCloser closer;
    a->trigger();

    for (const FakePrompter::Shown &s : m_prompter->shown)
        QVERIFY2(s.text != Unavailable, qPrintable(s.text));
    if (question.isEmpty()) {
        QVERIFY(m_prompter->shown.isEmpty());
    } else {
        QCOMPARE(m_prompter->shown.size(), 1);
        QCOMPARE(m_prompter->shown[0].text, question);
    }
    QCOMPARE(closer.closed, dialog.isEmpty() ? QStringList() : QStringList{dialog});
    PreviewWindow *p = openPreview();
    QCOMPARE(p != nullptr, preview);
    if (preview) {
        QCOMPARE(p->objectName(), QStringLiteral("PrnPrv"));
        QVERIFY(p->isVisible());
        // Printing stops the editor timer; the next activation starts it again.
        QVERIFY(!m_window->editorTimer()->isActive());
    }
}

// The tune command ends with the main window's refresh: the band label shows the band
// the tune window changed, and the channels stay.
void TestCommands::tuneModeShowsNewBandAndKeepsGrid()
{
    WorkingCopy &wc = m_window->workingCopy();
    wc.setCell(2, 1, QStringLiteral("450.10000"));
    QStringList opened;
    setModalRunner([&opened](QDialog &d) {
        opened << d.objectName();
        d.show();
        if (d.objectName() == QLatin1String("frmLogin")) {
            d.findChild<QLineEdit *>(QStringLiteral("txtPassword"))->setText(QStringLiteral("5820419"));
            d.findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        } else {
            d.findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("136"));
            d.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("174"));
            d.close(); // the close box: this run only, no settings file written
        }
        return d.result();
    });
    m_window->findChild<QAction *>(QStringLiteral("mnuTune"))->trigger();
    QCOMPARE(opened, QStringList({QStringLiteral("frmLogin"), QStringLiteral("frmMODE")}));
    QCOMPARE(m_window->findChild<QLabel *>(QStringLiteral("Label2"))->text(), QStringLiteral("136MHz---174MHz"));
    QCOMPARE(wc.cell(2, 1), QStringLiteral("450.10000"));
    QVERIFY(m_prompter->shown.isEmpty());
}

void TestCommands::exitClosesPreviewAndDeletesScript()
{
    m_window->findChild<QAction *>(QStringLiteral("mnuPreview"))->trigger();
    QVERIFY(openPreview());
    const QString script = PageScript().path();
    QVERIFY(QFile::exists(script));
    m_window->findChild<QAction *>(QStringLiteral("mnuExit"))->trigger();
    QVERIFY(!openPreview() || !openPreview()->isVisible());
    QVERIFY(!QFile::exists(script));
    QVERIFY(m_prompter->shown.isEmpty());
}

// Columns: the command, the block after which the radio falls silent (−1: never), and
// whether the status bar says the transfer completed.
void TestCommands::transferSaysSoAndReadIsOneStep_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("silentAfter");
    QTest::addColumn<QString>("status");
    QTest::newRow("complete read") << "mnuRead" << -1 << QString::fromUtf16(u"读频完成 ");
    QTest::newRow("read cut short") << "mnuRead" << 40 << QString();
    QTest::newRow("complete write") << "mnuWrite" << -1 << QString::fromUtf16(u"写频完成 ");
}

void TestCommands::transferSaysSoAndReadIsOneStep()
{
    QFETCH(QString, command);
    QFETCH(int, silentAfter);
    QFETCH(QString, status);
    RadioSimOptions o;
    if (silentAfter >= 0)
        o.silentAfterBlock = silentAfter;
    LinkRig rig(o);
    rig.clock.processQtEvents = true;
    MainWindow mw;
    mw.startUp(QString());
    plugInTransferCommands(mw, rig.link);
    mw.workingCopy().setCell(4, 6, QString::fromUtf16(u"窄"));
    mw.history().markSaved();
    const WorkingCopyState before = mw.workingCopy().state();
    SafeWriteResult result;
    mw.findChild<QAction *>(command)->trigger();
    const QString shown = mw.statusBar()->currentMessage();
    QCOMPARE(shown.left(5), status);
    // The write's whole result was in its dialog; the status bar keeps one short line.
    QCOMPARE(result.results.size(), command == u"mnuWrite"_qs ? 1 : 0);
    QVERIFY2(!shown.contains(u'\n') && shown.size() <= 16, qPrintable(shown));
    if (command != u"mnuRead"_qs)
        return;
    if (!status.isEmpty()) {
        QVERIFY(mw.workingCopy().state() != before);
        QVERIFY(!mw.history().isModified()); // the editor holds what the radio holds
    }
    // Whatever the read changed is one step.
    if (mw.workingCopy().state() != before) {
        mw.findChild<QAction *>(QStringLiteral("mnuUndo"))->trigger();
        QCOMPARE(mw.workingCopy().state(), before);
    }
}

// The radio is read into a copy: its differences are listed and the editor keeps its own.
void TestCommands::compareWithRadioLeavesEditor()
{
    LinkRig rig;
    rig.clock.processQtEvents = true;
    MainWindow mw;
    mw.startUp(QString());
    plugInTransferCommands(mw, rig.link);
    mw.workingCopy().setCell(4, 6, QString::fromUtf16(u"窄"));
    const WorkingCopyState before = mw.workingCopy().state();
    QStringList lines;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &poll, [&] {
        if (auto *d = qobject_cast<CompareDialog *>(QApplication::activeModalWidget())) {
            lines = d->lines();
            d->reject();
        }
    });
    poll.start(10);
    mw.findChild<QAction *>(QStringLiteral("mnuCompareRadio"))->trigger();
    QVERIFY2(lines.contains(QString::fromUtf16(u"信道 4 宽/窄: 窄 → 宽")), qPrintable(lines.join(u'\n')));
    QCOMPARE(mw.workingCopy().state(), before);
}

// A radio that stores a byte no field shows otherwise than written: the verify after the
// write and 与对讲机比较 on the same radio report it in the same words.
void TestCommands::compareWithRadioAgreesWithVerify()
{
    RadioSimOptions o;
    o.corruptAtBlock = 40; // address 0x140, in the spare area
    LinkRig rig(o);
    rig.clock.processQtEvents = true;
    MainWindow mw;
    mw.startUp(QString());
    plugInTransferCommands(mw, rig.link);
    BackupStore store(rig.dir.filePath(QStringLiteral("backups")));
    SafeWrite write(rig.link, rig.clock, store);
    write.options.keepTuning = false;
    const SafeWrite::Outcome outcome = write.run(*RadioLink::writeImage(mw.workingCopy()));
    QVERIFY(!outcome.ok);
    QStringList verified = outcome.text.split(u'\n');
    QCOMPARE(verified.size(), 3); // the heading, one difference, what to do
    QStringList lines;
    QString heading;
    QTimer poll;
    connect(&poll, &QTimer::timeout, &poll, [&] {
        if (auto *d = qobject_cast<CompareDialog *>(QApplication::activeModalWidget())) {
            lines = d->lines();
            heading = d->heading();
            d->reject();
        }
    });
    poll.start(10);
    mw.findChild<QAction *>(QStringLiteral("mnuCompareRadio"))->trigger();
    QVERIFY2(lines == QStringList{verified[1]}, qPrintable(lines.join(u"\n")));
    QCOMPARE(verified[1], QString::fromUtf16(u"地址 0x140（不属于任何信道或功能设置的字节）: FF → FE"));
    QVERIFY(!heading.contains(QString::fromUtf16(u"相同")));
}

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"

// Columns: the device typed into the port dialog, the --port of the next start, and the
// port that start shows.
void TestCommands::portChoiceIsRemembered_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("portOption");
    QTest::addColumn<QString>("shown");
    QTest::newRow("device kept") << "/dev/pts/77"
                                 << "" << QString::fromUtf16(u"端口：/dev/pts/77");
    QTest::newRow("--port outranks it") << "/dev/pts/77"
                                        << "/dev/ttyUSB5" << QString::fromUtf16(u"端口：/dev/ttyUSB5");
    QTest::newRow("field emptied: COM option") << ""
                                               << "" << QString::fromUtf16(u"端口：COM");
}

void TestCommands::portChoiceIsRemembered()
{
    QFETCH(QString, typed);
    QFETCH(QString, portOption);
    QFETCH(QString, shown);
    // The device does not exist: the dialog asks whether to use it all the same.
    if (!typed.isEmpty())
        m_prompter->answers << QMessageBox::Yes;
    QTimer poll;
    poll.setSingleShot(true);
    connect(&poll, &QTimer::timeout, &poll, [&typed] {
        if (auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            d->findChild<QLineEdit *>(QStringLiteral("txtDevice"))->setText(typed);
            d->findChild<QPushButton *>(QStringLiteral("cmdQD"))->click();
            if (d->isVisible())
                d->reject();
        }
    });
    poll.start(50);
    m_window->findChild<QAction *>(QStringLiteral("mnuPort"))->trigger();

    MainWindow next;
    next.setInitialPort(portOption);
    plugInCommands(next);
    next.startUp(QString());
    QVERIFY2(next.findChild<QLabel *>(QStringLiteral("sbPort"))->text().startsWith(shown),
             qPrintable(next.findChild<QLabel *>(QStringLiteral("sbPort"))->text()));
}

// A frequency refused for want of a band offers "设定频段…"; taking it opens tune mode's
// password dialog once the cell has its previous value back.
void TestCommands::noBandOffersTuneMode_data()
{
    QTest::addColumn<bool>("offerTaken");
    QTest::newRow("offer taken") << true;
    QTest::newRow("OK") << false;
}

void TestCommands::noBandOffersTuneMode()
{
    QFETCH(bool, offerTaken);
    MainWindow w;
    plugInCommands(w);
    w.startUp(m_dir.filePath(QStringLiteral("missing/Sfc.ini")));
    QStringList opened;
    setModalRunner([&opened](QDialog &d) {
        opened << d.objectName();
        return int(QDialog::Rejected);
    });
    m_prompter->answers << (offerTaken ? QMessageBox::Open : QMessageBox::Ok);
    w.grid()->clickCell(2, 1);
    QTest::keyClicks(w.grid()->rxFreqEditor(), QStringLiteral("450.1"));
    w.grid()->clickCell(3, 1);
    QCOMPARE(m_prompter->shown.size(), 1);
    QCOMPARE(w.workingCopy().cell(2, 1), QStringLiteral("OFF"));
    QTest::qWait(20);
    QCOMPARE(opened, offerTaken ? QStringList{QStringLiteral("frmLogin")} : QStringList());
}
