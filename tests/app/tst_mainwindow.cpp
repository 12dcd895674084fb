#include "channels/WorkingCopy.h"
#include "channels/ui/ChannelGrid.h"
#include "files/ChannelFile.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"

#include "../widgets/FakePrompter.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>

Q_DECLARE_METATYPE(MainWindow::Command)

using namespace Qt::StringLiterals;

namespace {

const QString Unavailable = QString::fromUtf16(u"此功能尚不可用");

// As a program step sets a row: the list acts on the change of row alone.
void choose(QComboBox *list, int row)
{
    list->setCurrentIndex(row);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void captionAndControls();
    void smallWindowsReachEveryChannel_data();
    void smallWindowsReachEveryChannel();
    void menus_data();
    void menus();
    void menuBarOrder();
    void toolBar();
    void statusBar();
    void labels_data();
    void labels();
    void startUpValues();
    void noSettingsFile();
    void modelChoice_data();
    void modelChoice();
    void functionChoice_data();
    void functionChoice();
    void activationRefreshesBandAndKeepsGrid();
    void loadedFileShowsInPanels();
    void exitAsksAboutUnsavedEdits_data();
    void exitAsksAboutUnsavedEdits();
    void commandWithoutHandler_data();
    void commandWithoutHandler();
    void toolBarClosesPort_data();
    void toolBarClosesPort();
    void menuCommandLeavesPortToCommand();
    void editorTimerHidesEditorsOutsidePanel();
    void typedFrequencySavedAsTyped();
    void helpMissingNamesFile();
    void helpShownByMenuAndF1();
    void installedGuideCoversTopics();

private:
    template<typename T>
    T *child(const char *name) const
    {
        return m_window->findChild<T *>(QLatin1String(name));
    }

    QTemporaryDir m_dir;
    QString m_settings;
    std::unique_ptr<FakePrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
    QStringList m_calls; // port closer and shut-down hook, in order
};

void TestMainWindow::init()
{
    QVERIFY(m_dir.isValid());
    m_settings = m_dir.filePath(QStringLiteral("Sfc.ini"));
    QFile f(m_settings);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Frequent]\r\nPL1=400MHz---470MHz\r\nPL4=136MHz---174MHz\r\nPL6=450MHz---520MHz\r\n");
    f.close();
    m_prompter = std::make_unique<FakePrompter>();
    m_window = std::make_unique<MainWindow>();
    m_calls.clear();
    m_window->setPortCloser([this] { m_calls << QStringLiteral("port"); });
    m_window->setShutdownHook([this] { m_calls << QStringLiteral("hook"); });
    m_window->startUp(m_settings);
    m_calls.clear();
}

void TestMainWindow::cleanup()
{
    m_window.reset();
    m_prompter.reset();
}

void TestMainWindow::captionAndControls()
{
    QCOMPARE(m_window->objectName(), QStringLiteral("mainFrm"));
    QCOMPARE(m_window->windowTitle(), QString::fromUtf16(u"TARNIK编程软件 "));
    const char *widgets[] = {"gridXDSZ",    "txtTxFreq",  "txtRecFreq", "cmbCKTX(2)", "cmbCKTX(1)",
                             "cboFuncMoni", "cbosd",      "cboFuncTOT", "cboFuncSQL", "cboFuncSave",
                             "cboYYBP",     "cboPCmodel", "Label2"};
    for (const char *name : widgets)
        QVERIFY2(child<QWidget>(name), name);
    QTimer *timer = child<QTimer>("Timer");
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 1000);
    QCOMPARE(child<QLineEdit>("txtTxFreq")->parentWidget()->parentWidget(), child<QWidget>("gridXDSZ"));
}

void TestMainWindow::menus_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("menu");
    const auto ctrl = [](Qt::Key k) { return QKeySequence(Qt::CTRL | k); };
    QTest::newRow("open") << "mnuOpen" << QString::fromUtf16(u"打开(&O)") << ctrl(Qt::Key_O) << "mnuFile";
    QTest::newRow("save") << "mnuSave" << QString::fromUtf16(u"另存(&S)") << ctrl(Qt::Key_S) << "mnuFile";
    QTest::newRow("print") << "mnuPreview" << QString::fromUtf16(u"打印(&P)") << ctrl(Qt::Key_P) << "mnuFile";
    QTest::newRow("exit") << "mnuExit" << QString::fromUtf16(u"退出(&X)") << ctrl(Qt::Key_X) << "mnuFile";
    QTest::newRow("read") << "mnuRead" << QString::fromUtf16(u"读频(&R)") << ctrl(Qt::Key_R) << "mnuProgram";
    QTest::newRow("write") << "mnuWrite" << QString::fromUtf16(u"写频(&W)") << ctrl(Qt::Key_W) << "mnuProgram";
    QTest::newRow("tune") << "mnuTune" << QString::fromUtf16(u"调整模式(&T)") << QKeySequence() << "mnuEdit";
    QTest::newRow("port") << "mnuPort" << QString::fromUtf16(u"选择端口(&P)") << QKeySequence() << "mnuCom";
    QTest::newRow("help") << "mnuHelpContents" << QString::fromUtf16(u"帮助(&I)...") << QKeySequence() << "mnuHelp";
    QTest::newRow("about") << "mnuAbout" << QString::fromUtf16(u"关于(&A)") << QKeySequence() << "mnuHelp";
}

void TestMainWindow::menus()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QKeySequence, key);
    QFETCH(QString, menu);
    auto *a = m_window->findChild<QAction *>(name);
    QVERIFY(a);
    QCOMPARE(a->text(), text);
    QCOMPARE(a->shortcut(), key);
    auto *m = m_window->findChild<QMenu *>(menu);
    QVERIFY(m);
    QVERIFY(m->actions().contains(a));
}

void TestMainWindow::menuBarOrder()
{
    QStringList titles;
    for (QAction *a : m_window->menuBar()->actions())
        titles << a->text();
    QCOMPARE(
        titles,
        QStringList({QString::fromUtf16(u"文件(&F)"), QString::fromUtf16(u"编程(&P)"), QString::fromUtf16(u"编辑(&E)"),
                     QString::fromUtf16(u"端口选择(&C)"), QString::fromUtf16(u"帮助(&H)")}));
    QStringList file;
    for (QAction *a : child<QMenu>("mnuFile")->actions())
        file << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    QCOMPARE(file,
             QStringList({u"mnuOpen"_s, u"mnuSaveFile"_s, u"mnuSave"_s, u"mnuImportCsv"_s, u"mnuExportCsv"_s,
                          u"mnuCompare"_s, u"-"_s, u"mnuPreview"_s, u"-"_s, u"mnuExit"_s}));
}

void TestMainWindow::toolBar()
{
    auto *bar = child<QToolBar>("tbToolBar");
    QVERIFY(bar);
    QStringList keys;
    QStringList captions;
    for (QAction *a : bar->actions()) {
        if (a->isSeparator())
            continue;
        keys << a->data().toString();
        captions << a->text();
        QCOMPARE(a->objectName(), a->data().toString());
        QVERIFY(a->toolTip().startsWith(a->text()));
        QVERIFY(!a->statusTip().isEmpty());
        QVERIFY(!a->icon().isNull());
    }
    QCOMPARE(keys, QStringList({u"Open"_s, u"Save"_s, u"Print"_s, u"Read"_s, u"Write"_s}));
    QCOMPARE(captions,
             QStringList({QString::fromUtf16(u"打开"), QString::fromUtf16(u"另存"), QString::fromUtf16(u"打印"),
                          QString::fromUtf16(u"读频"), QString::fromUtf16(u"写频")}));
}

void TestMainWindow::statusBar()
{
    QCOMPARE(child<QLabel>("sbText")->text(), QString::fromUtf16(u"TARNIK编程软件"));
    const QString date = child<QLabel>("sbDate")->text();
    QVERIFY(QDate::fromString(date, QStringLiteral("yyyy-MM-dd")).isValid());
    QVERIFY(!child<QLabel>("sbTime")->text().isEmpty());
}

void TestMainWindow::labels_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::newRow("channel panel") << "fraXDSZ" << QString::fromUtf16(u"信道数据设置");
    QTest::newRow("function panel") << "fraGNSZ" << QString::fromUtf16(u"功能设置");
    QTest::newRow("model panel") << "fraJXXZ" << QString::fromUtf16(u"机型选择");
    QTest::newRow("monitor") << "lblFuncMoni" << QString::fromUtf16(u"监听：");
    QTest::newRow("power save") << "Label6" << QString::fromUtf16(u"省电功能：");
    QTest::newRow("time-out") << "lblFuncTOT" << QString::fromUtf16(u"发射限时：");
    QTest::newRow("squelch") << "lblFuncSQL" << QString::fromUtf16(u"静噪等级：");
    QTest::newRow("scan") << "lblFuncSave" << QString::fromUtf16(u"扫描功能：");
    QTest::newRow("voice") << "Label1" << QString::fromUtf16(u"语音报频：");
    QTest::newRow("model") << "lblModel" << QString::fromUtf16(u"机型：");
    QTest::newRow("band") << "lblBand" << QString::fromUtf16(u"频率：");
}

void TestMainWindow::labels()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QWidget *w = m_window->findChild<QWidget *>(name);
    QVERIFY(w);
    if (auto *box = qobject_cast<QGroupBox *>(w))
        QCOMPARE(box->title(), text);
    else
        QCOMPARE(qobject_cast<QLabel *>(w)->text(), text);
}

void TestMainWindow::startUpValues()
{
    const std::pair<const char *, int> rows[] = {{"cboPCmodel", 0}, {"cboFuncMoni", 0}, {"cbosd", 0},
                                                 {"cboFuncTOT", 0}, {"cboFuncSQL", 4},  {"cboFuncSave", 0},
                                                 {"cboYYBP", 0}};
    for (const auto &[name, row] : rows)
        QCOMPARE(child<QComboBox>(name)->currentIndex(), row);
    QCOMPARE(child<QLabel>("Label2")->text(), QStringLiteral("400MHz---470MHz"));
    const WorkingCopy &wc = m_window->workingCopy();
    QCOMPARE(wc.functionByte(), QStringLiteral("0"));
    QCOMPARE(wc.voiceByte(), QStringLiteral("255"));
    QCOMPARE(wc.modelByte(), QStringLiteral("17"));
    QCOMPARE(wc.cell(0, 1), QString::fromUtf16(u"接收频率"));
    QCOMPARE(wc.cell(16, 0), QStringLiteral("16"));
}

void TestMainWindow::noSettingsFile()
{
    MainWindow w;
    w.startUp(m_dir.filePath(QStringLiteral("missing/Sfc.ini")));
    QVERIFY(w.findChild<QLabel *>(QStringLiteral("Label2"))->text().isEmpty());
    w.grid()->clickCell(2, 1);
    QTest::keyClicks(w.grid()->rxFreqEditor(), QStringLiteral("450.1"));
    QCOMPARE(w.workingCopy().cell(2, 1), QStringLiteral("450.10000"));
    w.grid()->clickCell(3, 1);
    // Refused with the reason; the cell gets its previous value back (it had none: "OFF").
    QCOMPARE(w.workingCopy().cell(2, 1), QStringLiteral("OFF"));
    QCOMPARE(m_prompter->shown.size(), 1);
    QCOMPARE(m_prompter->shown[0].text, QString::fromUtf16(u"当前机型没有设定频段，请在调整模式中设定频段"));
}

void TestMainWindow::modelChoice_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("band");
    QTest::addColumn<bool>("cleared");
    QTest::newRow("row 4 takes PL4") << 4 << "136MHz---174MHz" << true;
    QTest::newRow("row 3 takes PL6") << 3 << "450MHz---520MHz" << true;
    QTest::newRow("row 1 has no band") << 1 << "" << true;
    QTest::newRow("the same model again") << 0 << "400MHz---470MHz" << false;
}

void TestMainWindow::modelChoice()
{
    QFETCH(int, row);
    QFETCH(QString, band);
    QFETCH(bool, cleared);
    WorkingCopy &wc = m_window->workingCopy();
    wc.setCell(5, 1, QStringLiteral("450.10000"));
    m_window->history().markSaved(); // as if it came from a file
    m_prompter->answers << QMessageBox::Yes;
    choose(child<QComboBox>("cboPCmodel"), row);
    QCOMPARE(child<QLabel>("Label2")->text(), band);
    QCOMPARE(wc.cell(5, 1).isEmpty(), cleared);
    QCOMPARE(wc.cell(0, 7), QString::fromUtf16(u"发射功率"));
    QCOMPARE(wc.cell(5, 0), QStringLiteral("5"));
    // A change that clears channels holding data asks first.
    QCOMPARE(m_prompter->shown.size(), cleared ? 1 : 0);
}

void TestMainWindow::functionChoice_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QList<int>>("rows"); // chosen in turn
    QTest::addColumn<QString>("voiceByte");
    QTest::addColumn<QString>("functionByte");
    QTest::newRow("voice English") << "cboYYBP" << QList<int>{2} << "1"
                                   << "0";
    QTest::newRow("voice Chinese") << "cboYYBP" << QList<int>{1} << "0"
                                   << "0";
    QTest::newRow("voice back off") << "cboYYBP" << QList<int>{2, 0} << "255"
                                    << "0";
    QTest::newRow("monitor off") << "cboFuncMoni" << QList<int>{1} << "255"
                                 << "128";
    QTest::newRow("power save off") << "cbosd" << QList<int>{1} << "255"
                                    << "64";
    QTest::newRow("squelch only stored") << "cboFuncSQL" << QList<int>{9} << "255"
                                         << "0";
}

void TestMainWindow::functionChoice()
{
    QFETCH(QString, list);
    QFETCH(QList<int>, rows);
    QFETCH(QString, voiceByte);
    QFETCH(QString, functionByte);
    auto *combo = m_window->findChild<QComboBox *>(list);
    QVERIFY(combo);
    QVERIFY(!combo->isEditable());
    for (int r : rows)
        choose(combo, r);
    const WorkingCopy &wc = m_window->workingCopy();
    QCOMPARE(wc.voiceByte(), voiceByte);
    QCOMPARE(wc.functionByte(), functionByte);
    QCOMPARE(combo->currentText(), combo->itemText(rows.last()));
}

// Tune mode changes the band of the selected model; the next activation shows it.
void TestMainWindow::activationRefreshesBandAndKeepsGrid()
{
    WorkingCopy &wc = m_window->workingCopy();
    wc.setCell(2, 1, QStringLiteral("450.10000"));
    wc.setCell(2, 3, QStringLiteral("D023N"));
    wc.setBandStringByKey(1, QStringLiteral("136MHz---174MHz"));
    m_window->stopEditorTimer();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(m_window.get(), &activate);
    QCOMPARE(child<QLabel>("Label2")->text(), QStringLiteral("136MHz---174MHz"));
    QCOMPARE(wc.cell(2, 1), QStringLiteral("450.10000"));
    QCOMPARE(wc.cell(2, 3), QStringLiteral("D023N"));
    QVERIFY(m_window->editorTimer()->isActive());
}

void TestMainWindow::loadedFileShowsInPanels()
{
    QVERIFY(m_window->loadFile(QStringLiteral(TARNIK_TEST_DATA "/example.chp")));
    QCOMPARE(child<QComboBox>("cboFuncTOT")->currentText(), QStringLiteral("60s"));
    QCOMPARE(child<QComboBox>("cboFuncSQL")->currentText(), QStringLiteral("3"));
    QCOMPARE(child<QComboBox>("cboYYBP")->currentText(), QString::fromUtf16(u"中文"));
    QCOMPARE(m_window->workingCopy().cell(1, 4), QStringLiteral("D023N"));
    QVERIFY(m_prompter->shown.isEmpty());
}

void TestMainWindow::exitAsksAboutUnsavedEdits_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("退出(&X)") << true;
    QTest::newRow("closing the window") << false;
}

void TestMainWindow::exitAsksAboutUnsavedEdits()
{
    QFETCH(bool, byMenu);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->grid()->clickCell(4, 1);
    QTest::keyClicks(m_window->grid()->rxFreqEditor(), QStringLiteral("450.1"));
    // The typed edit is unsaved: asked about, and left unsaved.
    m_prompter->answers << QMessageBox::Discard;
    if (byMenu)
        child<QAction>("mnuExit")->trigger();
    else
        m_window->close();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_prompter->shown.size(), 1);
    QCOMPARE(m_prompter->shown[0].text, QString::fromUtf16(u"保存修改吗？"));
    QVERIFY(m_calls.size() >= 2);
    QCOMPARE(m_calls.mid(0, 2), QStringList({u"port"_s, u"hook"_s}));
    QVERIFY(!m_window->editorTimer()->isActive());
}

void TestMainWindow::commandWithoutHandler_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<MainWindow::Command>("command");
    QTest::newRow("print") << "mnuPreview" << MainWindow::Command::Print;
    QTest::newRow("read") << "mnuRead" << MainWindow::Command::Read;
    QTest::newRow("write") << "mnuWrite" << MainWindow::Command::Write;
    QTest::newRow("tune") << "mnuTune" << MainWindow::Command::Tune;
    QTest::newRow("port") << "mnuPort" << MainWindow::Command::ChoosePort;
}

void TestMainWindow::commandWithoutHandler()
{
    QFETCH(QString, action);
    QFETCH(MainWindow::Command, command);
    auto *a = m_window->findChild<QAction *>(action);
    QVERIFY(a);
    a->trigger();
    QCOMPARE(m_prompter->shown.size(), 1);
    QCOMPARE(m_prompter->shown[0].text, Unavailable);

    int runs = 0;
    m_window->setCommandHandler(command, [&runs] { ++runs; });
    a->trigger();
    QCOMPARE(runs, 1);
    QCOMPARE(m_prompter->shown.size(), 1);
}

void TestMainWindow::toolBarClosesPort_data()
{
    QTest::addColumn<QString>("key");
    for (const char *key : {"Open", "Save", "Print", "Read", "Write"})
        QTest::newRow(key) << key;
}

void TestMainWindow::toolBarClosesPort()
{
    QFETCH(QString, key);
    // A command that leaves the port open: the toolbar closes it afterwards.
    bool portOpen = false;
    m_window->setPortCloser([&portOpen] { portOpen = false; });
    for (auto c : {MainWindow::Command::Print, MainWindow::Command::Read, MainWindow::Command::Write})
        m_window->setCommandHandler(c, [&portOpen] { portOpen = true; });
    auto *a = m_window->findChild<QToolBar *>()->findChild<QAction *>(key);
    QVERIFY(a);
    portOpen = true;
    a->trigger();
    QVERIFY(!portOpen);
    QVERIFY(m_prompter->shown.isEmpty()); // cancelled file dialogs are silent
}

void TestMainWindow::menuCommandLeavesPortToCommand()
{
    int runs = 0;
    m_window->setCommandHandler(MainWindow::Command::Read, [&runs] { ++runs; });
    child<QAction>("mnuRead")->trigger();
    QCOMPARE(runs, 1);
    QVERIFY(m_calls.isEmpty());
}

void TestMainWindow::editorTimerHidesEditorsOutsidePanel()
{
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    ChannelGrid *grid = m_window->grid();
    grid->clickCell(2, 1);
    QVERIFY(grid->rxFreqEditor()->isVisible());
    m_window->editorTimerTick();
    QVERIFY(grid->rxFreqEditor()->isVisible()); // the focus is still in the panel

    grid->clickCell(2, 3);
    child<QComboBox>("cboFuncMoni")->setFocus();
    QVERIFY(!grid->signallingEditor()->isHidden());
    m_window->editorTimerTick();
    QVERIFY(!grid->anyEditorVisible());
    QVERIFY(m_prompter->shown.isEmpty());
}

// The cell follows every keystroke, so a save before the cell is left has the entry
// as typed: formatted, not checked, no row fill.
void TestMainWindow::typedFrequencySavedAsTyped()
{
    ChannelGrid *grid = m_window->grid();
    grid->clickCell(3, 1);
    QTest::keyClicks(grid->rxFreqEditor(), QStringLiteral("450.1"));
    const QString path = m_dir.filePath(QStringLiteral("typed.chp"));
    m_prompter->saveAnswers << path;
    child<QAction>("mnuSave")->trigger();
    QCOMPARE(m_prompter->shown.size(), 1);
    QCOMPARE(m_prompter->shown[0].text, QString::fromUtf16(u"保存成功"));

    WorkingCopy back;
    back.startUp(QString());
    QCOMPARE(loadChannelFile(back, path).kind, LoadOutcome::Loaded);
    QCOMPARE(back.cell(3, 1), QStringLiteral("450.10000"));
    QCOMPARE(back.cell(3, 2), QStringLiteral("OFF"));
}

void TestMainWindow::helpMissingNamesFile()
{
    m_window->setHelpFolders({m_dir.filePath(QStringLiteral("nohelp"))});
    child<QAction>("mnuHelpContents")->trigger();
    QCOMPARE(m_prompter->shown.size(), 1);
    QVERIFY(m_prompter->shown[0].text.contains(QStringLiteral("index.html")));
    QVERIFY(m_prompter->shown[0].text.contains(m_dir.filePath(QStringLiteral("nohelp"))));
}

void TestMainWindow::helpShownByMenuAndF1()
{
    const QString folder = m_dir.filePath(QStringLiteral("help"));
    QVERIFY(QDir().mkpath(folder));
    QFile guide(QDir(folder).filePath(QStringLiteral("index.html")));
    QVERIFY(guide.open(QIODevice::WriteOnly));
    guide.write("<html><body><h1>guide</h1></body></html>");
    guide.close();
    m_window->setHelpFolders({folder});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    QTest::keyClick(m_window->grid(), Qt::Key_F1);
    auto *help = m_window->findChild<HelpWindow *>();
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QCOMPARE(help->browser()->source().toLocalFile(), QFileInfo(guide).absoluteFilePath());
    help->close();
    child<QAction>("mnuHelpContents")->trigger();
    QVERIFY(help->isVisible());
    QVERIFY(m_prompter->shown.isEmpty());
}

// The guide the build copies beside the executables is the one found by default.
void TestMainWindow::installedGuideCoversTopics()
{
    const QString path = HelpWindow::find(HelpWindow::defaultFolders());
    QVERIFY2(!path.isEmpty(), "the guide is not in bin/help");
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    for (const char16_t *topic : {u"连接", u"读频", u"编辑", u"保存", u"写频", u"打印", u"dialout", u"重新登录"})
        QVERIFY2(text.contains(QString::fromUtf16(topic)), qPrintable(QString::fromUtf16(topic)));
}

// At small screen sizes the window takes the size asked for (its minimum is what the
// panels need), frequencies keep their width and the grid scrolls to channel 16.
void TestMainWindow::smallWindowsReachEveryChannel_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("1024x560") << QSize(1024, 560);
    QTest::newRow("800x500") << QSize(800, 500);
}

void TestMainWindow::smallWindowsReachEveryChannel()
{
    QFETCH(QSize, size);
    MainWindow w;
    w.startUp(QString());
    w.resize(size);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.size(), size);
    ChannelGrid *grid = w.grid();
    // Scroll bars instead of squeezed cells: no frequency is cut to "450.0…".
    const int frequency = grid->fontMetrics().horizontalAdvance(QStringLiteral("450.10000"));
    QVERIFY(grid->columnWidth(ChannelTable::RxFreq) > frequency && grid->columnWidth(ChannelTable::TxFreq) > frequency);
    for (int column : {1, ChannelTable::Columns - 1}) {
        const QModelIndex last = grid->model()->index(16, column);
        grid->scrollTo(last);
        QVERIFY(grid->viewport()->rect().contains(grid->visualRect(last)));
    }
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
