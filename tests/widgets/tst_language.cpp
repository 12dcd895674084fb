#include "FakePrompter.h"

#include "app/AboutDialog.h"
#include "app/Commands.h"
#include "app/HelpWindow.h"
#include "app/Launcher.h"
#include "app/MainWindow.h"
#include "channels/WorkingCopy.h"
#include "channels/ui/ChannelGrid.h"
#include "channels/ui/GridActions.h"
#include "files/BackupStore.h"
#include "files/ChannelDiff.h"
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

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

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
            emit m_fleet.radioDone({1, QDateTime::currentDateTime(), false, u"校验失败"_s, u"/tmp/b.chp"_s, {}});
            w->finish(m_fleet.summary());
            return w;
        }
        if (name == u"parallel fleet") {
            auto w = std::make_unique<ParallelFleetDialog>(codec::Image{}, SafeWrite::Options{}, u"/dev/pts/9"_s);
            w->findChild<QLabel *>(u"lblBatchPrompt"_s)->setText(u"请在 %1 个端口上连接下一批对讲机，然后点击“下一批”"_s.arg(4));
            return w;
        }
        if (name == u"backup list")
            return std::make_unique<BackupListDialog>(QList<BackupEntry>{
                {u"/tmp/b.chp"_s, QDateTime::currentDateTime(), WorkingCopy::rows(WorkingCopy::List::Model).value(0),
                 u"OFF"_s}});
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
        for (const char *name : {"main window", "port dialog", "transfer dialog", "password dialog",
                                 "tune window", "preview", "about", "help", "safe write", "fleet write",
                                 "parallel fleet", "backup list", "grid menu"})
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
        const QStringList untranslated = language::untranslatedTexts(w.get());
        QVERIFY2(untranslated.isEmpty(), qPrintable(u"\n"_s + untranslated.join(u'\n')));
        if (window == u"preview")
            w.release()->close(); // deletes itself on close
    }

    // The boxes the program shows on the common faults, as Prompter would show them.
    void messageShowsNoChinese_data()
    {
        QTest::addColumn<QString>("fault");
        for (const char *fault : {"no handler", "no guide", "damaged file", "missing port", "saved"})
            QTest::newRow(fault) << QString::fromLatin1(fault);
    }

    void messageShowsNoChinese()
    {
        QFETCH(QString, fault);
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
        }
        QVERIFY(!m_prompter.shown.isEmpty());
        for (const FakePrompter::Shown &box : std::as_const(m_prompter.shown)) {
            const QString shown = lang::text(box.title) + u'\n' + lang::text(box.text);
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
            open = [this, other] { showDifferences(nullptr, u"文件“b.chp”"_s, channelDifferences(m_wc.state(), other)); };
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
            untranslated = language::untranslatedTexts(d);
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

    // Help -> Language remembers the choice for the next start; --lang decides for one run.
    void languageChoice()
    {
        MainWindow w;
        plugInCommands(w);
        auto *english = w.findChild<QAction *>(u"mnuLanguageEnglish"_s);
        auto *chinese = w.findChild<QAction *>(u"mnuLanguageChinese"_s);
        QVERIFY(english && chinese);
        QCOMPARE(chinese->text(), u"中文"_s); // named in its own language in either mode
        m_prompter.shown.clear();
        english->trigger();
        QCOMPARE(language::saved(), lang::Language::English);
        QCOMPARE(m_prompter.shown.size(), 1);
        chinese->trigger();
        QCOMPARE(language::saved(), lang::Language::Chinese);

        QCOMPARE(parseCommandLine({u"tarnik"_s, u"--lang"_s, u"en"_s}).options.language, lang::Language::English);
        QCOMPARE(parseCommandLine({u"tarnik"_s, u"--lang=zh"_s}).options.language, lang::Language::Chinese);
        QVERIFY(!parseCommandLine({u"tarnik"_s}).options.language);
        QVERIFY(!parseCommandLine({u"tarnik"_s, u"--lang"_s, u"fr"_s}).error.isEmpty());
    }

    void composedText_data()
    {
        QTest::addColumn<QString>("chinese");
        QTest::addColumn<QString>("english");
        QTest::newRow("number after the text") << u"端口转换成COM3"_s << u"Switch port to COM3"_s;
        QTest::newRow("parts looked up again")
            << u"无法打开串口 /dev/ttyUSB0：Permission denied。串口正被 minicom（pid 42） 使用：请关闭它后再试。"_s
            << u"Cannot open the serial port /dev/ttyUSB0: Permission denied. The serial port is in use by minicom (pid 42): close it and try again."_s;
        QTest::newRow("lines") << u"找不到帮助文件 index.html。已查找：\n/a\n/b"_s
                               << u"Help file index.html not found. Looked in:\n/a\n/b"_s;
        QTest::newRow("columns") << u"1    450.10000  OFF  否       宽     高"_s
                                 << u"1    450.10000  OFF  No       Wide   High"_s; // columns keep their start
        QTest::newRow("progress bar") << u"[####----]  64/128 正在从对讲机读取数据。。。"_s
                                      << u"[####----]  64/128 Reading data from the radio..."_s;
        QTest::newRow("space around") << u"       可以打开"_s << u"       can be opened"_s;
        QTest::newRow("percent in a part") << u"第 %2 行：错误"_s << u"Line %2: Error"_s;
        QTest::newRow("stage caption") << u"备份（1/3）：正在从对讲机读取数据。。。"_s
                                       << u"Backup (1/3): Reading data from the radio..."_s;
        QTest::newRow("verify failure and backup")
            << u"校验失败：地址 0x010 写入 FF，读回 00；共 2 块不同。写频前的备份：/b.chp"_s
            << u"Verify failed: at address 0x010 wrote FF, read back 00; 2 blocks differ. Backup made before the write: /b.chp"_s;
        QTest::newRow("tuning kept")
            << u"已保留本机调整值：晶振 13MHz，中频 正，功率档 0（文件中为 晶振 14.4MHz，功率档 2）"_s
            << u"Kept the radio's own tuning: crystal 13MHz, IF +, power level 0 (the file has crystal 14.4MHz, power level 2)"_s;
        QTest::newRow("write status") << u"写频完成 12:00:00  写频完成，校验无误。"_s
                                      << u"Write finished 12:00:00  Write finished and verified."_s;
        QTest::newRow("cli prefix") << u"tarnik-cli: 错误: /x.chp：文件只读"_s
                                    << u"tarnik-cli: Error: /x.chp: the file is read-only"_s;
        QTest::newRow("no entry") << u"没有这个条目"_s << u"没有这个条目"_s;
    }

    void composedText()
    {
        QFETCH(QString, chinese);
        QFETCH(QString, english);
        QCOMPARE(lang::english(chinese), english);
    }

    void cliSpeaksEnglish_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        const QString example = QStringLiteral(TARNIK_TEST_DATA "/example.chp");
        QTest::newRow("help") << QStringList{u"--lang"_s, u"en"_s, u"--help"_s} << 0;
        QTest::newRow("show") << QStringList{u"show"_s, example, u"--lang=en"_s} << 0;
        QTest::newRow("unknown command") << QStringList{u"--lang"_s, u"en"_s, u"frob"_s} << 2;
        QTest::newRow("missing file") << QStringList{u"--lang"_s, u"en"_s, u"show"_s, u"/nonexistent.chp"_s} << 2;
        QTest::newRow("read usage") << QStringList{u"--lang"_s, u"en"_s, u"read"_s} << 2;
        const QString csv = m_config.filePath(u"in.csv"_s);
        QTest::newRow("import csv") << QStringList{u"--lang"_s, u"en"_s, u"import-csv"_s, csv, m_config.filePath(u"out.chp"_s)} << 0;
        QTest::newRow("write, missing port")
            << QStringList{u"--lang"_s, u"en"_s, u"write"_s, u"--port"_s, m_config.filePath(u"ttyUSB9"_s), example} << 1;
    }

    void cliSpeaksEnglish()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QProcess p;
        p.start(QStringLiteral(TARNIK_BIN_DIR "/tarnik-cli"), arguments);
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), exitCode);
        const QString output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        QVERIFY(!output.trimmed().isEmpty());
        QVERIFY2(!lang::hasCjk(output), qPrintable(output));
    }
};

QTEST_MAIN(TestLanguage)
#include "tst_language.moc"
