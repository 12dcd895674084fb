#include "channels/WorkingCopy.h"
#include "files/ChannelFile.h"
#include "files/ui/CompareDialog.h"
#include "files/ui/FileCommands.h"
#include "app/Launcher.h"
#include "app/MainWindow.h"

#include "../../widgets/FakePrompter.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

class TestFileCommands : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void filters();
    void cancelIsSilent();
    void open_data();
    void open();
    void saveAs_data();
    void saveAs();
    void saveOverExistingReplaces();
    void loadDoesNotDependOnThePreviousFile();
    void compare_data();
    void compare();
    void startFile_data();
    void startFile();
    void dialogsStartWhereTheUserWorks_data();
    void dialogsStartWhereTheUserWorks();

private:
    QByteArray example() const;
    std::unique_ptr<QTemporaryDir> m_tmp;
    QDir m_dir;
    std::unique_ptr<FakePrompter> m_prompter;
    std::unique_ptr<WorkingCopy> m_wc;
    std::unique_ptr<FileCommands> m_files;
};

void TestFileCommands::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
    m_dir.setPath(m_tmp->path());
    m_prompter = std::make_unique<FakePrompter>();
    m_wc = std::make_unique<WorkingCopy>();
    m_wc->startUp(QString());
    m_files = std::make_unique<FileCommands>(*m_wc, nullptr);
}

void TestFileCommands::cleanup()
{
    m_files.reset();
    m_wc.reset();
    m_prompter.reset();
    m_tmp.reset();
}

// Columns: the current file and the last file chosen in another dialog (under the
// temporary folder, empty: none), and the folder 打开 and 另存 then start in.
void TestFileCommands::dialogsStartWhereTheUserWorks_data()
{
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("lastChosen");
    QTest::addColumn<QString>("folder");
    QTest::newRow("the current file's") << u"a/x.chp"_s << u"b/y.csv"_s << u"a"_s;
    QTest::newRow("no file: the last used") << QString() << u"b/y.csv"_s << u"b"_s;
}

void TestFileCommands::dialogsStartWhereTheUserWorks()
{
    QFETCH(QString, current);
    QFETCH(QString, lastChosen);
    QFETCH(QString, folder);
    const auto in = [this](const QString &name) { return name.isEmpty() ? name : m_dir.filePath(name); };
    m_files->remember(in(lastChosen));
    m_files->setCurrentPath(in(current));
    m_files->open();
    QCOMPARE(m_prompter->lastFolder, in(folder));
    m_files->saveAs();
    QCOMPARE(m_prompter->lastFolder, in(folder));
}

QByteArray TestFileCommands::example() const
{
    QFile f(QStringLiteral(TARNIK_TEST_DATA "/example.chp"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestFileCommands::filters()
{
    m_files->open();
    QCOMPARE(m_prompter->lastFilters, QStringList({u"chp(*.chp)"_s, u"所有文件(*.*)"_s, u"所有文件 (*)"_s}));
    m_files->saveAs();
    QCOMPARE(m_prompter->lastFilters, FileCommands::nameFilters());
}

void TestFileCommands::cancelIsSilent()
{
    m_wc->setCell(2, 1, u"450.10000"_s);
    m_files->open();
    m_files->saveAs();
    QVERIFY(m_prompter->shown.isEmpty());
    QCOMPARE(m_wc->cell(2, 1), u"450.10000"_s);
    QVERIFY(m_dir.isEmpty());
}

// Columns: the file's bytes (null: no file; "<fifo>": a FIFO), the box shown (icon,
// title; none when the title is empty), and channel 1's receive frequency afterwards.
// Whatever fails leaves the editor exactly as it was.
void TestFileCommands::open_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("channel1");
    const QByteArray full = example();
    QVERIFY(!full.isEmpty());
    QByteArrayList lines = full.split('\n');
    const int info = int(QMessageBox::Information);
    QTest::newRow("example") << full << 0 << ""
                             << "450.10000";
    QTest::newRow("first 34 lines") << lines.mid(0, 34).join('\n') << 0 << ""
                                    << "450.10000";
    QTest::newRow("lowercase") << full.toLower() << 0 << ""
                               << "450.10000";
    QTest::newRow("missing file: silent") << QByteArray() << 0 << ""
                                          << "";
    QTest::newRow("10 lines: stops with its number") << lines.mid(0, 10).join('\n') << info << "62"
                                                     << "";
    QTest::newRow("model changed, then a bad line")
        << lines.mid(0, 3).join('\n').replace("08 11 FF", "08 24 FF") << info << "62"
        << "";
    QTest::newRow("flags not hex") << QByteArray("52 00 00 08 11 FF FF FF ZZ 06 03 19\r\n") << info << "13"
                                   << "";
    QTest::newRow("a FIFO: refused at once") << QByteArray("<fifo>") << info << "75"
                                             << "";
}

void TestFileCommands::open()
{
    QFETCH(QByteArray, content);
    QFETCH(int, icon);
    QFETCH(QString, title);
    QFETCH(QString, channel1);
    const QString path = m_dir.filePath(u"in.chp"_s);
    if (content == "<fifo>") {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (!content.isNull()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    m_wc->selectModel(2);
    m_wc->selectSquelch(7);
    const WorkingCopyState before = m_wc->state();
    m_prompter->openAnswers << path;
    m_files->open();
    QVERIFY(!QGuiApplication::overrideCursor()); // the busy pointer is gone again
    if (title.isEmpty()) {
        QVERIFY(m_prompter->shown.isEmpty());
    } else {
        QCOMPARE(m_prompter->shown.size(), 1);
        QCOMPARE(int(m_prompter->shown[0].icon), icon);
        QCOMPARE(m_prompter->shown[0].title, title);
        QVERIFY(!m_prompter->shown[0].text.isEmpty());
    }
    QCOMPARE(m_wc->cell(1, 1), channel1);
    if (channel1.isEmpty())
        QVERIFY(m_wc->state() == before);
}

void TestFileCommands::saveAs_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("file");
    QTest::newRow("with extension") << "out.chp" << true << "out.chp";
    QTest::newRow(".chp added to a bare name") << "out" << true << "out.chp";
    QTest::newRow("other extension kept") << "out.txt" << true << "out.txt";
    QTest::newRow("folder missing") << "no/such/folder/out.chp" << false << "";
    QTest::newRow("a folder") << "." << false << "";
}

void TestFileCommands::saveAs()
{
    QFETCH(QString, name);
    QFETCH(bool, saved);
    QFETCH(QString, file);
    QVERIFY(m_files->load(QStringLiteral(TARNIK_TEST_DATA "/example.chp")));
    m_prompter->saveAnswers << m_dir.filePath(name);
    const QString path = m_dir.filePath(file);
    m_files->saveAs();
    QCOMPARE(m_prompter->shown.size(), 1);
    const FakePrompter::Shown box = m_prompter->shown[0];
    if (saved) {
        QCOMPARE(box.text, u"保存成功"_s);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), example());
        QCOMPARE(m_dir.entryList(QDir::Files), QStringList{file});
        QCOMPARE(m_files->currentPath(), path);
    } else {
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.title, u"错误"_s);
        QVERIFY(!box.text.isEmpty());
    }
}

void TestFileCommands::saveOverExistingReplaces()
{
    const QString path = m_dir.filePath(u"old.chp"_s);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(20000, 'x'));
    f.close();
    QVERIFY(m_files->save(path));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray written = f.readAll();
    QCOMPARE(written, *channelFileText(*m_wc));
    QCOMPARE(written.count('\n'), 128);
}

// A file of the model already selected loads the same whatever was loaded before:
// the model selection runs and empties the table even when the row does not change.
void TestFileCommands::loadDoesNotDependOnThePreviousFile()
{
    QByteArray unknownPower = example();
    unknownPower.replace("52 00 18 08 80 01 D0 01 FF FF FF FF", "52 00 18 08 80 01 D0 01 FF FF AA FF");
    const QString path = m_dir.filePath(u"same-model.chp"_s);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(unknownPower);
    f.close();
    QVERIFY(m_files->load(path));
    const WorkingCopyState fresh = m_wc->state();
    QCOMPARE(m_wc->cell(1, 7), QString());
    QVERIFY(m_files->load(QStringLiteral(TARNIK_TEST_DATA "/example.chp")));
    QCOMPARE(m_wc->cell(1, 7), u"高"_s);
    QVERIFY(m_files->load(path));
    QVERIFY(m_wc->state() == fresh);
}

// 文件 → 比较…: the editor against a file, without touching the editor. The editor
// holds the example with squelch 5 and channel 2 on 450.30000.
void TestFileCommands::compare_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("lines"); // in the dialog; a single "!" for a failure box
    QTest::newRow("different") << QStringLiteral(TARNIK_TEST_DATA "/example.chp")
                               << QStringList{u"静噪等级: 5 → 3"_s, u"信道 2 接收频率: 450.30000 → OFF"_s};
    QTest::newRow("missing") << u"/nonexistent/x.chp"_s << QStringList{u"!"_s};
    QTest::newRow("cancelled") << QString() << QStringList();
}

void TestFileCommands::compare()
{
    QFETCH(QString, file);
    QFETCH(QStringList, lines);
    QVERIFY(m_files->load(QStringLiteral(TARNIK_TEST_DATA "/example.chp")));
    m_wc->selectSquelch(5);
    m_wc->setCell(2, 1, u"450.30000"_s);
    const WorkingCopyState before = m_wc->state();
    QStringList shown;
    m_prompter->openAnswers << file;
    compareWithFileCommand(nullptr, *m_wc, m_dir.path(),
                           [&](QWidget *, const ComparedWith &other, const QList<FieldDifference> &diffs) {
                               shown = CompareDialog(other, diffs).lines();
                           });
    QVERIFY(m_wc->state() == before);
    const bool failed = lines == QStringList{u"!"_s};
    QCOMPARE(m_prompter->shown.size(), failed ? 1 : 0);
    if (failed)
        QCOMPARE(m_prompter->shown[0].title, u"53"_s);
    QCOMPARE(shown, failed ? QStringList() : lines);
}

// The file named on the command line: loaded as 打开 loads it, and a missing one is
// said in a box (打开's silence would leave the user guessing).
void TestFileCommands::startFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("title"); // of the box; empty: none
    QTest::addColumn<QString>("channel1");
    QTest::newRow("example") << QStringLiteral(TARNIK_TEST_DATA "/example.chp") << QString() << u"450.10000"_s;
    QTest::newRow("missing") << u"/nonexistent/x.chp"_s << u"53"_s << QString();
    QTest::newRow("device") << u"/dev/null"_s << u"75"_s << QString();
}

void TestFileCommands::startFile()
{
    QFETCH(QString, file);
    QFETCH(QString, title);
    QFETCH(QString, channel1);
    MainWindow w;
    w.startUp(QString());
    const WorkingCopyState before = w.workingCopy().state();
    QCOMPARE(openStartFile(w, file), title.isEmpty());
    QCOMPARE(m_prompter->shown.size(), title.isEmpty() ? 0 : 1);
    if (!title.isEmpty()) {
        QCOMPARE(m_prompter->shown[0].title, title);
        QVERIFY(m_prompter->shown[0].text.contains(file));
        QVERIFY(w.workingCopy().state() == before);
    }
    QCOMPARE(w.workingCopy().cell(1, 1), channel1);
}

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
