#include "channels/WorkingCopy.h"
#include "channels/ui/ChannelGrid.h"
#include "app/MainWindow.h"
#include "../widgets/FakePrompter.h"

#include <QAction>
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

private:
    // Turns channel 3's bandwidth over.
    void edit()
    {
        WorkingCopy &wc = m_window->workingCopy();
        wc.setCell(3, 6, QString::fromUtf16(wc.cell(3, 6) == u"宽" ? u"窄" : u"宽"));
    }
    QAction *action(const char *name) const
    {
        return m_window->findChild<QAction *>(QLatin1String(name));
    }

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
    for (const QString &command : {u"close"_qs, u"mnuExit"_qs, u"mnuOpen"_qs}) {
        QTest::addRow("%s, nothing to lose", qPrintable(command)) << command << false << 0 << true;
        QTest::addRow("%s, cancelled", qPrintable(command))
            << command << true << int(QMessageBox::Cancel) << false;
        QTest::addRow("%s, not saved", qPrintable(command))
            << command << true << int(QMessageBox::Discard) << true;
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
    QCOMPARE(m_prompter->shown.size(), edited ? 1 : 0);
    if (edited)
        QCOMPARE(m_prompter->shown[0].text, SaveQuestion);
    if (command == u"mnuOpen")
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

QTEST_MAIN(TestUnsavedChanges)
#include "tst_unsavedchanges.moc"
