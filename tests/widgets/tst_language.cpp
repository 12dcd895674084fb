#include "FakePrompter.h"
#include "UntranslatedTexts.h"

#include "app/AboutDialog.h"
#include "app/Commands.h"
#include "app/HelpWindow.h"
#include "app/Launcher.h"
#include "app/MainWindow.h"
#include "channels/GridEdits.h"
#include "channels/WorkingCopy.h"
#include "channels/ui/ChannelGrid.h"
#include "channels/ui/GridActions.h"
#include "files/BackupStore.h"
#include "files/ChannelDiff.h"
#include "files/ChannelFile.h"
#include "files/ui/BackupListDialog.h"
#include "files/ui/CompareDialog.h"
#include "files/ui/CsvCommands.h"
#include "link/Clock.h"
#include "link/FleetWrite.h"
#include "link/RadioLink.h"
#include "link/SafeWrite.h"
#include "link/ui/ParallelFleetDialog.h"
#include "link/ui/PortDialog.h"
#include "link/ui/SafeWriteDialog.h"
#include "link/ui/TransferDialog.h"
#include "print/ui/PrintCommand.h"
#include "print/ui/PreviewWindow.h"
#include "tune/ui/ServicePasswordDialog.h"
#include "tune/ui/TuneWindow.h"
#include "widgets/Language.h"
#include "widgets/ListCombo.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QGroupBox>
#include <QMainWindow>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QStatusBar>
#include <QProcess>
#include <QProcessEnvironment>
#include <QSettings>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QXmlStreamReader>

#include <memory>

using namespace Qt::StringLiterals;

// English mode end to end: every window of the program, shown offscreen, and the
// command-line program's output hold no Chinese character; composed texts find their
// pattern entries.
class TestLanguage : public QObject
{
    Q_OBJECT

    QTemporaryDir m_config;
    FakePrompter m_prompter;
    WorkingCopy m_wc;
    RadioLink m_link;
    SystemClock m_clock;
    BackupStore m_store{m_config.filePath(u"backups"_s)};
    SafeWrite m_write{m_link, m_clock, m_store};
    FleetWrite m_fleet{m_write};
    std::unique_ptr<ChannelGrid> m_grid;

    // Opens the window named by the test row; the main window as the program builds it.
    std::unique_ptr<QWidget> open(const QString &name)
    {
        if (name == u"main window") {
            auto w = std::make_unique<MainWindow>();
            plugInCommands(*w);
            w->startUp(QString());
            w->setPortStatus(PortDialog::statusText(0, QString()));
            return w;
        }
        if (name == u"port dialog")
            return std::make_unique<PortDialog>(0, 1, QString());
        if (name == u"transfer dialog")
            return std::make_unique<TransferDialog>(m_link, m_wc, false);
        if (name == u"password dialog")
            return std::make_unique<ServicePasswordDialog>();
        if (name == u"tune window")
            return std::make_unique<TuneWindow>(m_wc);
        if (name == u"preview")
            return std::unique_ptr<QWidget>(printReportCommand(nullptr, m_wc, {}));
        if (name == u"about")
            return std::make_unique<AboutDialog>(QStringList());
        if (name == u"safe write") {
            m_write.options.backup = true;
            return std::make_unique<SafeWriteDialog>(m_write, nullptr);
        }
        if (name == u"fleet write") {
            auto w = std::make_unique<SafeWriteDialog>(m_write, &m_fleet);
            emit m_fleet.radioDone({1, QDateTime::currentDateTime(), false, FleetWrite::Result::VerifyFailed,
                                    FleetWrite::resultWord(FleetWrite::Result::VerifyFailed), u"/dev/ttyUSB0"_s,
                                    u"/tmp/b.chp"_s, FleetWrite::shownResult(FleetWrite::Result::VerifyFailed)});
            w->finish(m_fleet.summary());
            return w;
        }
        if (name == u"parallel fleet") {
            auto w = std::make_unique<ParallelFleetDialog>(codec::Image{}, SafeWrite::Options{}, u"/dev/pts/9"_s);
            w->findChild<QLabel *>(u"lblBatchPrompt"_s)
                ->setText(QCoreApplication::translate("ParallelFleetDialog",
                                                      "请在 %1 个端口上连接下一批对讲机，然后点击“下一批”")
                              .arg(4));
            return w;
        }
        if (name == u"backup list")
            return std::make_unique<BackupListDialog>(
                QList<BackupEntry>{{u"/tmp/b.chp"_s, QDateTime::currentDateTime(),
                                    WorkingCopy::rows(WorkingCopy::List::Model).value(0), u"OFF"_s, u"ttyUSB0"_s, 3}});
        if (name == u"compare") {
            WorkingCopyState other = m_wc.state();
            other.cells[1][1] = u"OFF"_s;
            return std::make_unique<CompareDialog>(ComparedWith{ComparedWith::File, u"b.chp"_s},
                                                   channelDifferences(m_wc.state(), other));
        }
        if (name == u"grid menu") {
            m_grid = std::make_unique<ChannelGrid>(m_wc);
            return std::unique_ptr<QWidget>(m_grid->actions()->makeMenu(nullptr));
        }
        if (name == u"help") {
            const QString guide = HelpWindow::find({QStringLiteral(TARNIK_TEST_DATA "/../../docs/help")});
            return std::make_unique<HelpWindow>(guide);
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_config.isValid());
        qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit()); // the language choice goes here
        QStandardPaths::setTestModeEnabled(true);
        // Test mode sends QSettings to ~/.qttest, which every run on the machine shares.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
        language::apply(lang::Language::English);
        m_wc.startUp(QString());
        // The example with other functions and channel 1 narrow, for diff.
        WorkingCopy other;
        other.startUp(QString());
        QCOMPARE(loadChannelFile(other, QStringLiteral(TARNIK_TEST_DATA "/example.chp")).kind, LoadOutcome::Loaded);
        other.setCell(1, ChannelTable::Bandwidth, u"窄"_s);
        other.selectSquelch(7);
        QVERIFY(saveChannelFile(other, m_config.filePath(u"other.chp"_s)));
        // Refused values of every kind, for the CLI's import and the editor's.
        QFile csv(m_config.filePath(u"in.csv"_s));
        QVERIFY(csv.open(QIODevice::WriteOnly));
        csv.write("Location,Frequency,Duplex,Offset,Mode,Power,Tone,DtcsPolarity,CrossMode\n"
                  "1,450.1,x,0,AM,huge,Foo,XY,a\n1,450.2,,,,,,,\n20,451,,,,,,,\n");
    }

    void cleanupTestCase()
    {
        closePreview();
        deletePrintScript();
    }

    void windowShowsNoChinese_data()
    {
        QTest::addColumn<QString>("window");
        for (const char *name :
             {"main window", "port dialog", "transfer dialog", "password dialog", "tune window", "preview", "about",
              "help", "safe write", "fleet write", "parallel fleet", "backup list", "grid menu", "compare"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void windowShowsNoChinese()
    {
        QFETCH(QString, window);
        std::unique_ptr<QWidget> w = open(window);
        QVERIFY(w);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        if (auto *help = qobject_cast<HelpWindow *>(w.get()))
            QVERIFY(help->browser()->toPlainText().contains(u"user guide"_s));
        const QStringList untranslated = untranslated::untranslatedTexts(w.get());
        QVERIFY2(untranslated.isEmpty(), qPrintable(u"\n"_s + untranslated.join(u'\n')));
        if (window == u"preview")
            w.release()->close(); // deletes itself on close
    }

    // The boxes the program shows on the common faults, as Prompter would show them.
    // ownWords: the box's texts are English as written, without the lookup of texts
    // not yet written with tr().
    void messageShowsNoChinese_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("ownWords");
        for (const char *fault :
             {"no handler", "no guide", "damaged file", "saved", "csv export", "compare, missing file", "model change"})
            QTest::newRow(fault) << QString::fromLatin1(fault) << true;
        QTest::newRow("missing port") << u"missing port"_s << false;
    }

    void messageShowsNoChinese()
    {
        QFETCH(QString, fault);
        QFETCH(bool, ownWords);
        QTemporaryDir dir;
        MainWindow w;
        m_prompter.shown.clear();
        if (fault == u"no handler") {
            w.runCommand(MainWindow::Command::Read);
        } else if (fault == u"no guide") {
            w.setHelpFolders({dir.path()});
            w.showHelp();
        } else if (fault == u"damaged file") {
            const QString path = dir.filePath(u"damaged.chp"_s);
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("12\nnot a channel file\n");
            f.close();
            w.loadFile(path);
        } else if (fault == u"missing port") {
            plugInCommands(w);
            m_prompter.answers = {QMessageBox::Ok};
            auto *link = w.findChild<RadioLink *>();
            QVERIFY(link);
            link->setCustomDevice(dir.filePath(u"ttyUSB9"_s));
            w.runCommand(MainWindow::Command::Read);
        } else if (fault == u"saved") {
            m_prompter.saveAnswers = {dir.filePath(u"saved.chp"_s)};
            w.saveFileAs();
        } else if (fault == u"csv export") {
            w.workingCopy().setCell(2, ChannelTable::RxFreq, u"45x.1"_s); // no frequency: left out
            w.workingCopy().setCell(1, ChannelTable::RxFreq, u"450.10000"_s);
            m_prompter.saveAnswers = {dir.filePath(u"out.csv"_s)};
            w.findChild<QAction *>(u"mnuExportCsv"_s)->trigger();
        } else if (fault == u"compare, missing file") {
            m_prompter.openAnswers = {dir.filePath(u"missing.chp"_s)};
            w.findChild<QAction *>(u"mnuCompare"_s)->trigger();
        } else if (fault == u"model change") {
            w.startUp(QString());
            w.workingCopy().setCell(1, ChannelTable::RxFreq, u"450.10000"_s);
            w.history().markSaved();
            m_prompter.answers = {QMessageBox::No};
            auto *models = w.findChild<ListCombo *>(u"cboPCmodel"_s);
            QVERIFY(models);
            models->setCurrentIndex(1 - models->currentIndex());
        }
        QVERIFY(!m_prompter.shown.isEmpty());
        for (const FakePrompter::Shown &box : std::as_const(m_prompter.shown)) {
            const QString shown = box.title + u'\n' + box.text;
            QVERIFY2(!lang::hasCjk(shown), qPrintable(shown));
        }
    }

    // Boxes and dialogs shown modally, as the program shows them (the real prompter):
    // the texts of the first one that opens.
    void modalShowsNoChinese_data()
    {
        QTest::addColumn<QString>("modal");
        for (const char *modal : {"unsaved changes", "step fill", "paste refusals", "csv import", "compare"})
            QTest::newRow(modal) << QString::fromLatin1(modal);
    }

    void modalShowsNoChinese()
    {
        QFETCH(QString, modal);
        MainWindow w;
        std::function<void()> open;
        if (modal == u"unsaved changes") {
            w.workingCopy().setCrystalChoice(1 - w.workingCopy().crystalChoice());
            open = [&w] { w.maySetAsideChanges(); };
        } else if (modal == u"step fill") {
            ChannelGrid *grid = w.grid();
            grid->selectionModel()->select(QItemSelection(grid->model()->index(1, 1), grid->model()->index(3, 1)),
                                           QItemSelectionModel::Select);
            open = [grid] { grid->actions()->fillByStep(); };
        } else if (modal == u"paste refusals") {
            ChannelGrid *grid = w.grid();
            grid->setCurrentIndex(grid->model()->index(1, 1));
            open = [grid] { grid->actions()->pasteText(u"abc\t123\tX"_s); };
        } else if (modal == u"csv import") {
            const QString path = m_config.filePath(u"in.csv"_s); // written by initTestCase
            open = [&w, path] { CsvCommands(w.workingCopy(), &w).importFrom(path); };
        } else if (modal == u"compare") {
            WorkingCopyState other = m_wc.state();
            other.crystalChoice = 1 - other.crystalChoice;
            other.cells[1][1] = u"OFF"_s;
            open = [this, other] {
                showDifferences(nullptr, ComparedWith{ComparedWith::File, u"b.chp"_s},
                                channelDifferences(m_wc.state(), other));
            };
        }
        QStringList untranslated;
        bool shown = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *d = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!d || !d->isVisible())
                return;
            poll.stop();
            untranslated = untranslated::untranslatedTexts(d);
            shown = true;
            d->done(QDialog::Rejected);
        });
        poll.start();
        Prompter::setInstance(nullptr);
        open();
        Prompter::setInstance(&m_prompter);
        poll.stop();
        QVERIFY(shown);
        QVERIFY2(untranslated.isEmpty(), qPrintable(u"\n"_s + untranslated.join(u'\n')));
    }

    // Help -> Language changes the language at once and remembers it; --lang decides for one run.
    void languageChoice()
    {
        MainWindow w;
        plugInCommands(w);
        auto *english = w.findChild<QAction *>(u"mnuLanguageEnglish"_s);
        auto *chinese = w.findChild<QAction *>(u"mnuLanguageChinese"_s);
        QVERIFY(english && chinese);
        QCOMPARE(chinese->text(), u"中文"_s); // named in its own language in either mode
        QVERIFY(english->isChecked());
        m_prompter.shown.clear();
        chinese->trigger();
        QCOMPARE(language::saved(), lang::Language::Chinese);
        QCOMPARE(lang::current(), lang::Language::Chinese);
        english->trigger();
        QCOMPARE(language::saved(), lang::Language::English);
        QCOMPARE(lang::current(), lang::Language::English);
        QVERIFY(m_prompter.shown.isEmpty()); // no restart to wait for

        QCOMPARE(parseCommandLine({u"tarnik"_s, u"--lang"_s, u"en"_s}).options.language, lang::Language::English);
        QCOMPARE(parseCommandLine({u"tarnik"_s, u"--lang=zh"_s}).options.language, lang::Language::Chinese);
        QVERIFY(!parseCommandLine({u"tarnik"_s}).options.language);
        QVERIFY(!parseCommandLine({u"tarnik"_s, u"--lang"_s, u"fr"_s}).error.isEmpty());
    }

    // An open window follows a change of language both ways, texts written with tr() and
    // texts still looked up alike; 打开 is the command "Open" in the menu and the state
    // "On" in the monitor list.
    void liveSwitch_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("object");
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<QString>("english");
        QTest::newRow("panel label") << u"main window"_s << u"lblFuncMoni"_s << u"监听："_s << u"Monitor:"_s;
        QTest::newRow("monitor value") << u"main window"_s << u"cboFuncMoni"_s << u"打开"_s << u"On"_s;
        QTest::newRow("open command") << u"main window"_s << u"mnuOpen"_s << u"打开(&O)"_s << u"&Open"_s;
        QTest::newRow("grid title") << u"main window"_s << u"grid[0,1]"_s << u"接收频率"_s << u"RX freq"_s;
        QTest::newRow("grid value") << u"main window"_s << u"grid[1,7]"_s << u"高"_s << u"High"_s;
        QTest::newRow("status bar line") << u"main window"_s << u"status"_s << u"读频完成 HH:mm:ss"_s
                                         << u"Read finished HH:mm:ss"_s;
        QTest::newRow("main title") << u"main window"_s << u"mainFrm"_s << u"TARNIK编程软件 "_s
                                    << u"TARNIK programming software "_s;
        QTest::newRow("status bar title")
            << u"main window"_s << u"sbText"_s << u"TARNIK编程软件"_s << u"TARNIK programming software"_s;
        QTest::newRow("channel panel") << u"main window"_s << u"fraXDSZ"_s << u"信道数据设置"_s << u"Channel data"_s;
        QTest::newRow("toolbar button") << u"main window"_s << u"Open"_s << u"打开"_s << u"Open"_s;
        QTest::newRow("file menu") << u"main window"_s << u"mnuFile"_s << u"文件(&F)"_s << u"&File"_s;
        QTest::newRow("plugged-in command")
            << u"main window"_s << u"mnuRestoreBackup"_s << u"恢复备份…"_s << u"Restore backup…"_s;
        QTest::newRow("backup list") << u"backup list"_s << u"frmBackups"_s << u"恢复备份"_s << u"Restore backup"_s;
        QTest::newRow("fleet position") << u"backup list"_s << u"lstBackups[0,2]"_s << u"第 3 台"_s << u"Radio 3"_s;
        QTest::newRow("compare heading")
            << u"compare"_s << u"lblCompare"_s << u"编辑器与文件“b.chp”有 1 处不同（编辑器 → 文件“b.chp”）："_s
            << u"The editor differs from file \"b.chp\" in 1 place (editor → file \"b.chp\"):"_s;
        QTest::newRow("tune title") << u"tune window"_s << u"frmMODE"_s << u"调整模式"_s << u"Tune mode"_s;
        QTest::newRow("tune sign") << u"tune window"_s << u"Option1(1)"_s << u"负"_s << u"−"_s;
        QTest::newRow("password button") << u"password dialog"_s << u"cmdCancel"_s << u"取消"_s << u"Cancel"_s;
        QTest::newRow("preview button") << u"preview"_s << u"tbTools_10"_s << u"退出"_s << u"Exit"_s;
        QTest::newRow("about") << u"about"_s << u"cmdSysInfo"_s << u"系统信息"_s << u"System information"_s;
        QTest::newRow("port title") << u"port dialog"_s << u"frmDK"_s << u"端口选择"_s << u"Communication port"_s;
        QTest::newRow("port field") << u"port dialog"_s << u"txtDevice"_s << u"/dev/pts/3 或 /dev/serial/by-id/…"_s
                                    << u"/dev/pts/3 or /dev/serial/by-id/…"_s;
        QTest::newRow("transfer title") << u"transfer dialog"_s << u"frmWAIT"_s << u"正在向对讲机读取数据。。。"_s
                                        << u"Reading data from the radio..."_s;
        QTest::newRow("transfer cancel") << u"transfer dialog"_s << u"cmdCancel"_s << u"取消"_s << u"Cancel"_s;
        QTest::newRow("safe write title")
            << u"safe write"_s << u"frmSafeWrite"_s << u"写频进度显示"_s << u"Writing progress"_s;
        QTest::newRow("safe write stage") << u"safe write"_s << u"lblStage"_s << u"备份 1/3"_s << u"Backup 1/3"_s;
        QTest::newRow("fleet closes") << u"fleet write"_s << u"cmdCancel"_s << u"关闭"_s << u"Close"_s;
        QTest::newRow("fleet result") << u"fleet write"_s << u"gridFleet[0,3]"_s << u"校验失败"_s << u"Verify failed"_s;
    }

    void liveSwitch()
    {
        QFETCH(QString, window);
        QFETCH(QString, object);
        QFETCH(QString, chinese);
        QFETCH(QString, english);
        language::apply(lang::Language::Chinese);
        std::unique_ptr<QWidget> w = open(window);
        QVERIFY(w);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        if (auto *main = qobject_cast<MainWindow *>(w.get())) {
            main->grid()->model()->setData(main->grid()->model()->index(1, ChannelTable::Power), u"高"_s, Qt::EditRole);
            main->readFromRadio(); // the status bar's line, made again in the other language
        }
        const auto shown = [&]() -> QString {
            QCoreApplication::processEvents(); // LanguageChange is posted to the windows
            if (object == w->objectName())
                return w->windowTitle();
            if (object == u"status") {
                static const QRegularExpression time(u"\\d\\d:\\d\\d:\\d\\d"_s);
                return qobject_cast<QMainWindow *>(w.get())->statusBar()->currentMessage().replace(time, u"HH:mm:ss"_s);
            }
            if (object.startsWith(u"lstBackups[")) {
                const QStringList rc = object.mid(11).chopped(1).split(u',');
                return w->findChild<QTreeWidget *>(u"lstBackups"_s)->topLevelItem(rc[0].toInt())->text(rc[1].toInt());
            }
            if (object.startsWith(u"gridFleet[")) {
                const QStringList rc = object.mid(10).chopped(1).split(u',');
                const QTableWidgetItem *item =
                    w->findChild<QTableWidget *>(u"gridFleet"_s)->item(rc[0].toInt(), rc[1].toInt());
                return item ? item->text() : QString();
            }
            if (object.startsWith(u"grid[")) {
                const QStringList rc = object.mid(5).chopped(1).split(u',');
                auto *main = qobject_cast<MainWindow *>(w.get());
                return main->grid()->model()->index(rc[0].toInt(), rc[1].toInt()).data().toString();
            }
            QObject *o = w->findChild<QObject *>(object);
            if (auto *a = qobject_cast<QAction *>(o))
                return a->text();
            if (auto *b = qobject_cast<QAbstractButton *>(o))
                return b->text();
            if (auto *l = qobject_cast<QLabel *>(o))
                return l->text();
            if (auto *c = qobject_cast<QComboBox *>(o))
                return c->currentText();
            if (auto *g = qobject_cast<QGroupBox *>(o))
                return g->title();
            if (auto *m = qobject_cast<QMenu *>(o))
                return m->title();
            if (auto *e = qobject_cast<QLineEdit *>(o))
                return e->placeholderText();
            return u"(no %1)"_s.arg(object);
        };
        QCOMPARE(shown(), chinese);
        language::apply(lang::Language::English);
        QCOMPARE(shown(), english);
        language::apply(lang::Language::Chinese);
        QCOMPARE(shown(), chinese);
        language::apply(lang::Language::English);
        if (window == u"preview")
            w.release()->close(); // deletes itself on close
    }

    // The same Chinese with another meaning has its own English.
    void sameChineseOtherMeaning_data()
    {
        QTest::addColumn<QByteArray>("context");
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QByteArray>("comment");
        QTest::addColumn<QString>("english");
        QTest::newRow("monitor on") << "Value"_ba
                                    << "打开"_ba
                                    << "state"_ba << u"On"_s;
        QTest::newRow("time limit off") << "Value"_ba
                                        << "关闭"_ba
                                        << "state"_ba << u"Off"_s;
        QTest::newRow("close the window") << "HelpWindow"_ba
                                          << "关闭"_ba
                                          << "close the window"_ba << u"Close"_s;
        QTest::newRow("power save on") << "Value"_ba
                                       << "有效"_ba << QByteArray() << u"On"_s;
    }

    void sameChineseOtherMeaning()
    {
        QFETCH(QByteArray, context);
        QFETCH(QByteArray, source);
        QFETCH(QByteArray, comment);
        QFETCH(QString, english);
        QCOMPARE(lang::englishFor(context, source, comment.isEmpty() ? nullptr : comment.constData()), english);
        QCOMPARE(QCoreApplication::translate(context, source, comment.isEmpty() ? nullptr : comment.constData()),
                 english);
    }

    // Copy gives the value as shown; paste takes it in either language and keeps it Chinese.
    void valueClipboard_data()
    {
        QTest::addColumn<bool>("english");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("kept"); // empty: refused
        QTest::addColumn<QString>("copied");
        const int power = ChannelTable::Power;
        QTest::newRow("english, english value") << true << power << u"High"_s << u"高"_s << u"High"_s;
        QTest::newRow("english, chinese value") << true << power << u"低"_s << u"低"_s << u"Low"_s;
        QTest::newRow("chinese, english value") << false << power << u"low"_s << u"低"_s << u"低"_s;
        QTest::newRow("chinese, chinese value") << false << power << u"中"_s << u"中"_s << u"中"_s;
        QTest::newRow("bandwidth") << true << int(ChannelTable::Bandwidth) << u" narrow "_s << u"窄"_s << u"Narrow"_s;
        QTest::newRow("busy lock") << false << int(ChannelTable::BusyLock) << u"Yes"_s << u"是"_s << u"是"_s;
        QTest::newRow("no such value") << true << power << u"Huge"_s << QString() << u"High"_s;
        QTest::newRow("value of another list") << true << power << u"Wide"_s << QString() << u"High"_s;
    }

    void valueClipboard()
    {
        QFETCH(bool, english);
        QFETCH(int, column);
        QFETCH(QString, pasted);
        QFETCH(QString, kept);
        QFETCH(QString, copied);
        lang::select(english ? lang::Language::English : lang::Language::Chinese);
        ChannelTable table;
        table.setCell(1, ChannelTable::Power, u"高"_s);
        const QString before = table.cell(1, column);
        const QStringList refused = gridedits::paste(table, QString(), 1, column, pasted);
        QCOMPARE(refused.isEmpty(), !kept.isEmpty());
        QCOMPARE(table.cell(1, column), kept.isEmpty() ? before : kept);
        const QString copy = gridedits::copyText(table, 1, column, 1, column, [](int, int) { return true; });
        if (!kept.isEmpty() || column == ChannelTable::Power)
            QCOMPARE(copy, copied + u'\n');
        lang::select(lang::Language::English);
    }

    // tarnik_en.ts as lupdate keeps it: every text written with tr() has its English.
    void everyTextHasEnglish()
    {
        QFile ts(QStringLiteral(TARNIK_TEST_DATA "/../../translations/tarnik_en.ts"));
        QVERIFY(ts.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&ts);
        QString context;
        QString source;
        QStringList missing;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"name")
                context = xml.readElementText();
            else if (xml.name() == u"source")
                source = xml.readElementText();
            else if (xml.name() == u"translation"
                     && (xml.attributes().value(u"type"_s) == u"unfinished"_s
                         || xml.readElementText(QXmlStreamReader::IncludeChildElements).isEmpty()))
                missing << context + u": "_s + source;
        }
        QVERIFY(!xml.hasError());
        QVERIFY2(missing.isEmpty(), qPrintable(missing.join(u'\n')));
    }

    // The command-line programs in English. "radio": a simulated radio (tarnik-sim with
    // these switches) on a pseudo-terminal, whose device takes the place of "PTS".
    void cliSpeaksEnglish_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("radio");
        QTest::addColumn<int>("exitCode");
        const QString cli = u"tarnik-cli"_s;
        const QStringList none;
        const QStringList healthy{u"--baud"_s, u"0"_s};
        const QString example = QStringLiteral(TARNIK_TEST_DATA "/example.chp");
        const QString csv = m_config.filePath(u"in.csv"_s);
        const QString missingPort = m_config.filePath(u"ttyUSB9"_s);
        const QString out = m_config.filePath(u"read.chp"_s);
        QTest::newRow("help") << cli << QStringList{u"--lang"_s, u"en"_s, u"--help"_s} << none << 0;
        QTest::newRow("show") << cli << QStringList{u"show"_s, example, u"--lang=en"_s} << none << 0;
        QTest::newRow("unknown command") << cli << QStringList{u"--lang"_s, u"en"_s, u"frob"_s} << none << 2;
        QTest::newRow("missing file") << cli << QStringList{u"--lang"_s, u"en"_s, u"show"_s, u"/nonexistent.chp"_s}
                                      << none << 2;
        QTest::newRow("read usage") << cli << QStringList{u"--lang"_s, u"en"_s, u"read"_s} << none << 2;
        QTest::newRow("import csv") << cli
                                    << QStringList{u"--lang"_s, u"en"_s, u"import-csv"_s, csv,
                                                   m_config.filePath(u"out.chp"_s)}
                                    << none << 1;
        QTest::newRow("report into a missing folder")
            << cli << QStringList{u"--lang"_s, u"en"_s, u"report"_s, example, u"--pdf"_s, u"/no-such-folder/x.pdf"_s}
            << none << 2;
        QTest::newRow("show usage") << cli << QStringList{u"--lang"_s, u"en"_s, u"show"_s} << none << 2;
        QTest::newRow("diff") << cli
                              << QStringList{u"--lang"_s, u"en"_s, u"diff"_s, example,
                                             m_config.filePath(u"other.chp"_s)}
                              << none << 1;
        QTest::newRow("diff usage") << cli << QStringList{u"--lang"_s, u"en"_s, u"diff"_s, example} << none << 2;
        QTest::newRow("export csv") << cli
                                    << QStringList{u"--lang"_s, u"en"_s, u"export-csv"_s, example,
                                                   m_config.filePath(u"x.csv"_s)}
                                    << none << 0;
        QTest::newRow("export usage") << cli << QStringList{u"--lang"_s, u"en"_s, u"export-csv"_s} << none << 2;
        QTest::newRow("import usage") << cli << QStringList{u"--lang"_s, u"en"_s, u"import-csv"_s, csv} << none << 2;
        QTest::newRow("write, missing port")
            << cli << QStringList{u"--lang"_s, u"en"_s, u"write"_s, u"--port"_s, missingPort, example} << none << 1;
        QTest::newRow("plain write, missing port")
            << cli << QStringList{u"--lang"_s, u"en"_s,          u"write"_s,       u"--port"_s,
                                  missingPort, u"--no-backup"_s, u"--no-verify"_s, example}
            << none << 1;
        QTest::newRow("write usage") << cli << QStringList{u"--lang"_s, u"en"_s, u"write"_s, example} << none << 2;
        QTest::newRow("read, missing port")
            << cli << QStringList{u"--lang"_s, u"en"_s, u"read"_s, u"--port"_s, missingPort, u"--out"_s, out} << none
            << 1;
        QTest::newRow("read into a folder")
            << cli
            << QStringList{u"--lang"_s, u"en"_s, u"read"_s, u"--port"_s, missingPort, u"--out"_s, m_config.path()}
            << none << 2;
        QTest::newRow("ports") << cli << QStringList{u"--lang"_s, u"en"_s, u"ports"_s} << none << 0;
        QTest::newRow("ports usage") << cli << QStringList{u"--lang"_s, u"en"_s, u"ports"_s, u"x"_s} << none << 2;
        QTest::newRow("doctor, missing port")
            << cli << QStringList{u"--lang"_s, u"en"_s, u"doctor"_s, u"--port"_s, missingPort} << none << 1;
        QTest::newRow("doctor, a file") << cli << QStringList{u"--lang"_s, u"en"_s, u"doctor"_s, u"--port"_s, csv}
                                        << none << 1;
        QTest::newRow("doctor usage") << cli << QStringList{u"--lang"_s, u"en"_s, u"doctor"_s, u"x"_s} << none << 2;
        QTest::newRow("read a radio") << cli << QStringList{u"--lang"_s, u"en"_s,    u"read"_s, u"--port"_s,
                                                            u"PTS"_s,    u"--out"_s, out}
                                      << healthy << 0;
        QTest::newRow("read cut short") << cli << QStringList{u"--lang"_s, u"en"_s,    u"read"_s, u"--port"_s,
                                                              u"PTS"_s,    u"--out"_s, out}
                                        << healthy + QStringList{u"--nak-at-block"_s, u"3"_s} << 1;
        QTest::newRow("safe write, kept tuning")
            << cli << QStringList{u"--lang"_s, u"en"_s, u"write"_s, u"--port"_s, u"PTS"_s, example}
            << healthy + QStringList{u"--tuning"_s, u"3019"_s} << 0;
        QTest::newRow("safe write, verify fails")
            << cli << QStringList{u"--lang"_s, u"en"_s, u"write"_s, u"--port"_s, u"PTS"_s, example}
            << healthy + QStringList{u"--corrupt-at-block"_s, u"5"_s} << 1;
        QTest::newRow("safe write, other model")
            << cli << QStringList{u"--lang"_s, u"en"_s, u"write"_s, u"--port"_s, u"PTS"_s, example}
            << healthy + QStringList{u"--model-code"_s, u"24"_s} << 1;
        QTest::newRow("plain write, line hung up")
            << cli << QStringList{u"--lang"_s, u"en"_s,          u"write"_s,       u"--port"_s,
                                  u"PTS"_s,    u"--no-backup"_s, u"--no-verify"_s, example}
            << healthy + QStringList{u"--hangup-at-block"_s, u"10"_s} << 1;
        QTest::newRow("radios in a row") << cli << QStringList{u"--lang"_s, u"en"_s,      u"write"_s, u"--port"_s,
                                                               u"PTS"_s,    u"--count"_s, u"2"_s,     example}
                                         << healthy << 0;
        QTest::newRow("simulator help") << u"tarnik-sim"_s << QStringList{u"--lang"_s, u"en"_s, u"--help"_s} << none
                                        << 0;
        QTest::newRow("simulator, bad option")
            << u"tarnik-sim"_s << QStringList{u"--lang"_s, u"en"_s, u"--baud"_s, u"x"_s} << none << 2;
    }

    void cliSpeaksEnglish()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, radio);
        QFETCH(int, exitCode);
        QProcess sim;
        if (!radio.isEmpty()) {
            sim.start(QStringLiteral(TARNIK_BIN_DIR "/tarnik-sim"), radio);
            QVERIFY(sim.waitForReadyRead(5000));
            arguments.replaceInStrings(u"PTS"_s, QString::fromUtf8(sim.readLine()).trimmed());
        }
        QProcess p;
        // Backups and the received-image file go to a folder of the test's own.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_DATA_HOME"_s, m_config.filePath(u"data"_s));
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(TARNIK_BIN_DIR "/") + program, arguments);
        p.write("\n\n"); // the next radio is connected
        p.closeWriteChannel();
        QVERIFY(p.waitForFinished(30000));
        sim.kill();
        sim.waitForFinished();
        QCOMPARE(p.exitCode(), exitCode);
        const QString output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        QVERIFY(!output.trimmed().isEmpty() || exitCode == 0);
        QVERIFY2(!lang::hasCjk(output), qPrintable(output));
    }

    // show names states as states; --json is machine output, the same in either language.
    void cliShow()
    {
        const QString example = QStringLiteral(TARNIK_TEST_DATA "/example.chp");
        const auto run = [](const QStringList &arguments) {
            QProcess p;
            p.start(QStringLiteral(TARNIK_BIN_DIR "/tarnik-cli"), arguments);
            return p.waitForFinished(30000) && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput())
                                                                 : QString();
        };
        const QString shown = run({u"--lang"_s, u"en"_s, u"show"_s, example});
        QVERIFY2(shown.contains(u"Monitor: On\n"_s), qPrintable(shown));
        QVERIFY2(!shown.contains(u"Open"_s) && !shown.contains(u"Close"_s), qPrintable(shown));
        const QString chinese = run({u"show"_s, example});
        QVERIFY2(chinese.contains(u"监听：打开\n"_s), qPrintable(chinese));
        const QString json = run({u"show"_s, example, u"--json"_s});
        QVERIFY(json.contains(u"\"monitor\": \"打开\""_s));
        QCOMPARE(run({u"--lang"_s, u"en"_s, u"show"_s, example, u"--json"_s}), json);
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
