#include "app/AboutDialog.h"
#include "app/Launcher.h"
#include "app/MainWindow.h"
#include "app/SplashWindow.h"

#include "../widgets/FakePrompter.h"

#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

class TestStartUp : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void keyEndsSplashOnce();
    void keyDuringSplashShowsMainWindow();
    void launcherOptions();
    void commandLine_data();
    void commandLine();
    void executableAnswers_data();
    void executableAnswers();
    void aboutBox();
    void systemInfo_data();
    void systemInfo();
};

void TestStartUp::initTestCase()
{
    // The per-user settings of whoever runs the tests stay out of it.
    QStandardPaths::setTestModeEnabled(true);
    setUpApplication();
    QCOMPARE(QCoreApplication::applicationName(), u"tarnik"_s);
}

void TestStartUp::keyEndsSplashOnce()
{
    SplashWindow splash;
    QSignalSpy done(&splash, &SplashWindow::done);
    splash.start();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    QTest::keyClick(&splash, Qt::Key_Space);
    QCOMPARE(done.size(), 1);
    QVERIFY(!splash.isVisible());
    QTest::keyClick(&splash, Qt::Key_A);
    QCOMPARE(done.size(), 1);
    QVERIFY(!splash.testAttribute(Qt::WA_QuitOnClose));
}

void TestStartUp::keyDuringSplashShowsMainWindow()
{
    FakePrompter prompter;
    Launcher launcher(StartOptions{});
    QSignalSpy shown(&launcher, &Launcher::mainWindowShown);
    launcher.start();
    QVERIFY(launcher.splash());
    QVERIFY(launcher.splash()->isVisible());
    QVERIFY(!launcher.mainWindow());
    QTest::keyClick(launcher.splash(), Qt::Key_Escape);
    QCOMPARE(shown.size(), 1);
    QVERIFY(launcher.mainWindow());
    QVERIFY(launcher.mainWindow()->isVisible());
    QVERIFY(!launcher.splash()->isVisible());
    QVERIFY(prompter.shown.isEmpty());
}

// The plug-in runs before start-up, so start-up's closing of the port reaches it.
void TestStartUp::launcherOptions()
{
    FakePrompter prompter;
    StartOptions options;
    options.splash = false;
    options.port = u"/dev/ttyUSB7"_s;
    options.file = QStringLiteral(TARNIK_TEST_DATA "/example.chp");
    int closed = 0;
    Launcher launcher(options, [&closed](MainWindow &w) { w.setPortCloser([&closed] { ++closed; }); });
    launcher.start();
    MainWindow *w = launcher.mainWindow();
    QVERIFY(w);
    QVERIFY(!launcher.splash());
    QCOMPARE(closed, 1);
    QCOMPARE(w->initialPort(), u"/dev/ttyUSB7"_s);
    QCOMPARE(w->workingCopy().cell(1, 1), u"450.10000"_s);
    QVERIFY(prompter.shown.isEmpty());
}

void TestStartUp::commandLine_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("screenshot");
    QTest::addColumn<bool>("splash");
    QTest::addColumn<bool>("error");
    QTest::newRow("nothing") << QStringList{} << ""
                             << ""
                             << "" << true << false;
    QTest::newRow("port") << QStringList{u"--port"_s, u"/dev/ttyS1"_s} << "/dev/ttyS1"
                          << ""
                          << "" << true << false;
    QTest::newRow("file") << QStringList{u"a.chp"_s} << ""
                          << "a.chp"
                          << "" << true << false;
    QTest::newRow("--open") << QStringList{u"--open"_s, u"b.chp"_s} << ""
                            << "b.chp"
                            << "" << true << false;
    QTest::newRow("screenshot skips the splash") << QStringList{u"--screenshot"_s, u"s.png"_s} << ""
                                                 << ""
                                                 << "s.png" << false << false;
    QTest::newRow("--no-splash") << QStringList{u"--no-splash"_s} << ""
                                 << ""
                                 << "" << false << false;
    QTest::newRow("port without device") << QStringList{u"--port"_s} << ""
                                         << ""
                                         << "" << true << true;
    QTest::newRow("unknown option") << QStringList{u"--bogus"_s} << ""
                                    << ""
                                    << "" << true << true;
    QTest::newRow("two files") << QStringList{u"a.chp"_s, u"b.chp"_s} << ""
                               << ""
                               << "" << true << true;
    QTest::newRow("bad window size") << QStringList{u"--window-size"_s, u"big"_s} << ""
                                     << ""
                                     << "" << true << true;
}

void TestStartUp::commandLine()
{
    QFETCH(QStringList, args);
    QFETCH(QString, port);
    QFETCH(QString, file);
    QFETCH(QString, screenshot);
    QFETCH(bool, splash);
    QFETCH(bool, error);
    const CommandLine cl = parseCommandLine(QStringList{u"tarnik"_s} + args);
    QCOMPARE(!cl.error.isEmpty(), error);
    if (error)
        return;
    QCOMPARE(cl.options.port, port);
    QCOMPARE(cl.options.file, file);
    QCOMPARE(cl.options.screenshot, screenshot);
    QCOMPARE(cl.options.splash, splash);
}

// --help and --version answer without any window system; a usage error exits with 2.
void TestStartUp::executableAnswers_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::newRow("--help") << QStringList{u"--help"_s} << 0 << "--port";
    QTest::newRow("-h") << QStringList{u"-h"_s} << 0 << QString::fromUtf16(u"用法");
    QTest::newRow("--version") << QStringList{u"--version"_s} << 0 << "tarnik " TARNIK_VERSION;
    QTest::newRow("unknown option") << QStringList{u"--bogus"_s} << 2 << "";
}

void TestStartUp::executableAnswers()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    const QString program = QStringLiteral(TARNIK_BIN_DIR "/tarnik");
    if (!QFileInfo::exists(program))
        QSKIP("the tarnik executable is not built");
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(u"DISPLAY"_s);
    env.remove(u"WAYLAND_DISPLAY"_s);
    if (exitCode == 0)
        env.remove(u"QT_QPA_PLATFORM"_s); // no window system at all
    else
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    p.setProcessEnvironment(env);
    p.start(program, args);
    QVERIFY(p.waitForFinished(30000));
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QCOMPARE(p.exitCode(), exitCode);
    QVERIFY(QString::fromUtf8(p.readAllStandardOutput()).contains(output));
}

void TestStartUp::aboutBox()
{
    AboutDialog about({});
    QCOMPARE(about.objectName(), u"frmAbout"_s);
    QCOMPARE(about.windowTitle(), QString::fromUtf16(u"About TARNIK编程软件"));
    QCOMPARE(about.findChild<QLabel *>(u"lblTitle"_s)->text(), QString::fromUtf16(u"TARNIK编程软件"));
    QCOMPARE(about.findChild<QPushButton *>(u"cmdOK"_s)->text(), QString::fromUtf16(u"确定"));
    QCOMPARE(about.findChild<QPushButton *>(u"cmdSysInfo"_s)->text(), QString::fromUtf16(u"系统信息"));
    QVERIFY(!about.findChild<QLabel *>(u"picIcon"_s)->pixmap().isNull());
    for (const char *label : {"lblDescription", "lblDisclaimer"})
        QVERIFY(!about.findChild<QLabel *>(QLatin1String(label))->text().isEmpty());
    about.show();
    QTest::mouseClick(about.findChild<QPushButton *>(u"cmdOK"_s), Qt::LeftButton);
    QVERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Accepted));
}

void TestStartUp::systemInfo_data()
{
    QTest::addColumn<QStringList>("programs");
    QTest::addColumn<bool>("unavailable");
    QTest::newRow("none installed") << QStringList{u"no-such-program-tarnik"_s} << true;
    QTest::newRow("none to try") << QStringList{} << true;
    QTest::newRow("second one found") << QStringList{u"no-such-program-tarnik"_s, u"true"_s} << false;
}

void TestStartUp::systemInfo()
{
    QFETCH(QStringList, programs);
    QFETCH(bool, unavailable);
    FakePrompter prompter;
    AboutDialog about(programs);
    about.show();
    QTest::mouseClick(about.findChild<QPushButton *>(u"cmdSysInfo"_s), Qt::LeftButton);
    QCOMPARE(prompter.shown.size(), unavailable ? 1 : 0);
    if (unavailable)
        QCOMPARE(prompter.shown[0].text, QString::fromUtf16(u"此时系统信息不可用"));
    QVERIFY(about.isVisible()); // the box stays open
}

QTEST_MAIN(TestStartUp)
#include "tst_startup.moc"
