#include "channels/WorkingCopy.h"
#include "channels/ui/ChannelGrid.h"
#include "app/Commands.h"
#include "app/MainWindow.h"
#include "files/BackupStore.h"
#include "files/ChannelFile.h"
#include "files/ui/BackupListDialog.h"
#include "../widgets/FakePrompter.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Example = QStringLiteral(TARNIK_TEST_DATA "/example.chp");
const QString SaveQuestion = QString::fromUtf16(u"保存修改吗？");
} // namespace

// The editor never loses work silently: unsaved edits are asked about, a model change
// that clears channels asks and is undone whole, 打开 is one undo step, 保存 writes the
// current file.
class TestUnsavedChanges : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void leavingAsks_data();
    void leavingAsks();
    void visitingAFreshGridLeavesNothingToSave();
    void modelChangeAsksAndUndoes();
    void openIsOneStep();
    void saveWritesCurrentFile();
    void loadedFromElsewhereIsNoCurrentFile_data();
    void loadedFromElsewhereIsNoCurrentFile();

private:
    // Turns channel 3's bandwidth over.
    void edit()
    {
        WorkingCopy &wc = m_window->workingCopy();
        wc.setCell(3, 6, QString::fromUtf16(wc.cell(3, 6) == u"宽" ? u"窄" : u"宽"));
    }
    QAction *action(const char *name) const { return m_window->findChild<QAction *>(QLatin1String(name)); }

    QTemporaryDir m_dir;
    std::unique_ptr<FakePrompter> m_prompter;
    std::unique_ptr<MainWindow> m_window;
};

void TestUnsavedChanges::init()
{
    m_prompter = std::make_unique<FakePrompter>();
    m_window = std::make_unique<MainWindow>();
    m_window->startUp(QString());
    m_window->workingCopy().setBandStringByKey(1, QStringLiteral("400MHz---470MHz"));
    QVERIFY(m_window->loadFile(Example));
    m_prompter->shown.clear();
}

void TestUnsavedChanges::cleanup()
{
    m_window.reset();
    m_prompter.reset();
}

// Columns: the command, whether the editor was changed, the answer, whether the
// command went ahead (the window closed, or the open dialog came).
void TestUnsavedChanges::leavingAsks_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("ahead");
    for (const QString &command : {u"close"_qs, u"mnuExit"_qs, u"mnuOpen"_qs, u"mnuImportCsv"_qs}) {
        QTest::addRow("%s, nothing to lose", qPrintable(command)) << command << false << 0 << true;
        QTest::addRow("%s, cancelled", qPrintable(command)) << command << true << int(QMessageBox::Cancel) << false;
        QTest::addRow("%s, not saved", qPrintable(command)) << command << true << int(QMessageBox::Discard) << true;
    }
}

void TestUnsavedChanges::leavingAsks()
{
    QFETCH(QString, command);
    QFETCH(bool, edited);
    QFETCH(int, answer);
    QFETCH(bool, ahead);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    if (edited)
        edit();
    if (answer)
        m_prompter->answers << QMessageBox::StandardButton(answer);
    m_prompter->openAnswers << Example;
    if (command == u"close")
        m_window->close();
    else
        action(qPrintable(command))->trigger();
    const bool dialogCommand = command == u"mnuOpen" || command == u"mnuImportCsv";
    // A channel file is no CSV: the import then says so, after the question.
    QCOMPARE(m_prompter->shown.size(), (edited ? 1 : 0) + (command == u"mnuImportCsv" && ahead ? 1 : 0));
    if (edited)
        QCOMPARE(m_prompter->shown[0].text, SaveQuestion);
    if (dialogCommand)
        QCOMPARE(m_prompter->openAnswers.isEmpty(), ahead);
    else
        QCOMPARE(m_window->isVisible(), !ahead);
}

// Passing through the empty cells of a fresh grid turns them to "OFF" and leaves
// nothing to save.
void TestUnsavedChanges::visitingAFreshGridLeavesNothingToSave()
{
    MainWindow fresh;
    fresh.startUp(QString());
    for (int c = 1; c < ChannelTable::Columns; ++c)
        fresh.grid()->clickCell(2, c);
    fresh.grid()->clickCell(3, 1);
    QCOMPARE(fresh.workingCopy().cell(2, 1), QStringLiteral("OFF"));
    QVERIFY(fresh.maySetAsideChanges());
    QVERIFY(m_prompter->shown.isEmpty());
    QVERIFY(!fresh.windowTitle().contains(u'*'));
}

void TestUnsavedChanges::modelChangeAsksAndUndoes()
{
    WorkingCopy &wc = m_window->workingCopy();
    const WorkingCopyState loaded = wc.state();
    auto *models = m_window->findChild<QComboBox *>(QStringLiteral("cboPCmodel"));
    const int other = (models->currentIndex() + 1) % models->count();

    m_prompter->answers << QMessageBox::No;
    models->setCurrentIndex(other);
    QCOMPARE(m_prompter->shown.size(), 1);
    QCOMPARE(m_prompter->shown[0].text, QString::fromUtf16(u"更换机型将清除全部信道数据，是否继续？"));
    QCOMPARE(wc.state(), loaded);
    QCOMPARE(models->currentIndex(), wc.row(WorkingCopy::List::Model));

    m_prompter->answers << QMessageBox::Yes;
    models->setCurrentIndex(other);
    QCOMPARE(wc.row(WorkingCopy::List::Model), other);
    QVERIFY(wc.cell(1, 1).isEmpty());
    QVERIFY(m_window->windowTitle().contains(u'*'));

    action("mnuUndo")->trigger();
    QCOMPARE(wc.state(), loaded);
    QCOMPARE(models->currentIndex(), wc.row(WorkingCopy::List::Model));
    QVERIFY(!m_window->windowTitle().contains(u'*'));
    action("mnuRedo")->trigger();
    QVERIFY(wc.cell(1, 1).isEmpty());
}

void TestUnsavedChanges::openIsOneStep()
{
    WorkingCopy &wc = m_window->workingCopy();
    m_window->grid()->clickCell(2, 6);
    m_window->grid()->choiceEditor()->setCurrentIndex(1);
    m_window->grid()->clickCell(2, 7);
    const WorkingCopyState edited = wc.state();
    m_prompter->answers << QMessageBox::Discard;
    m_prompter->openAnswers << Example;
    action("mnuOpen")->trigger();
    QVERIFY(wc.state() != edited);
    action("mnuUndo")->trigger();
    QCOMPARE(wc.state(), edited);
}

void TestUnsavedChanges::saveWritesCurrentFile()
{
    const QString path = m_dir.filePath(QStringLiteral("a.chp"));
    QVERIFY(QFile::copy(Example, path));
    QVERIFY(m_window->loadFile(path));
    QVERIFY(m_window->windowTitle().startsWith(u"a.chp - "));
    edit();
    const QString bandwidth = m_window->workingCopy().cell(3, 6);
    m_window->history().record(QStringLiteral("edit"));
    QVERIFY(m_window->windowTitle().startsWith(u"a.chp* - "));
    action("mnuSaveFile")->trigger();
    // Written where it came from, no name asked.
    QCOMPARE(m_prompter->shown.size(), 1);
    QCOMPARE(m_prompter->shown[0].text, QString::fromUtf16(u"保存成功"));
    QVERIFY(m_window->windowTitle().startsWith(u"a.chp - "));
    MainWindow other;
    other.startUp(QString());
    QVERIFY(other.loadFile(path));
    QCOMPARE(other.workingCopy().cell(3, 6), bandwidth);
}

// A backup or a CSV loaded over a.chp: the title names what was loaded, and 保存 (also
// the exit question's 保存) asks for a name instead of replacing a.chp.
void TestUnsavedChanges::loadedFromElsewhereIsNoCurrentFile_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("viaExit");
    for (bool exit : {false, true}) {
        const char *how = exit ? "exit, 保存" : "保存";
        QTest::addRow("导入CSV…, %s", how) << u"mnuImportCsv"_qs << u"list.csv* - "_qs << exit;
        QTest::addRow("恢复备份…, %s", how) << u"mnuRestoreBackup"_qs << u"备份 2024-05-01 14:03:22* - "_qs << exit;
    }
}

void TestUnsavedChanges::loadedFromElsewhereIsNoCurrentFile()
{
    QFETCH(QString, command);
    QFETCH(QString, title);
    QFETCH(bool, viaExit);
    QStandardPaths::setTestModeEnabled(true);
    const QString backups = BackupStore::defaultFolder();
    QDir(backups).removeRecursively();
    QVERIFY(QDir().mkpath(backups));
    // The radio held something other than mychan.chp.
    WorkingCopy radio;
    radio.startUp(QString());
    QVERIFY(loadChannelFile(radio, Example).kind == LoadOutcome::Loaded);
    radio.setCell(5, 6, QString::fromUtf16(radio.cell(5, 6) == u"宽" ? u"窄" : u"宽"));
    QVERIFY(saveChannelFile(radio, backups + u"/20240501-140322.chp"_qs));
    const QString csv = m_dir.filePath(QStringLiteral("list.csv"));
    QFile f(csv);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("Location,Frequency\n1,450.1\n");
    f.close();
    const QString mine = m_dir.filePath(QStringLiteral("mychan.chp"));
    QFile::remove(mine);
    QVERIFY(QFile::copy(Example, mine));
    QVERIFY(m_window->loadFile(mine));
    plugInCommands(*m_window);
    m_prompter->openAnswers << csv;
    QTimer::singleShot(0, [] {
        if (auto *list = qobject_cast<BackupListDialog *>(QApplication::activeModalWidget()))
            list->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    action(qPrintable(command))->trigger();
    QVERIFY2(m_window->windowTitle().startsWith(title), qPrintable(m_window->windowTitle()));
    QVERIFY(m_window->currentPath().isEmpty());

    const QString other = m_dir.filePath(QStringLiteral("other.chp"));
    QFile::remove(other);
    m_prompter->saveAnswers << other;
    m_prompter->answers << QMessageBox::Save;
    if (viaExit)
        m_window->close();
    else
        action("mnuSaveFile")->trigger();
    QVERIFY(m_prompter->saveAnswers.isEmpty());
    QVERIFY(QFile::exists(other));
    QCOMPARE(m_window->currentPath(), other);
    QFile original(mine), example(Example);
    QVERIFY(original.open(QIODevice::ReadOnly) && example.open(QIODevice::ReadOnly));
    QCOMPARE(original.readAll(), example.readAll());
    QDir(backups).removeRecursively();
}

QTEST_MAIN(TestUnsavedChanges)
#include "tst_unsavedchanges.moc"
