#include "channels/WorkingCopy.h"
#include "files/ChannelFile.h"
#include "files/ui/FileCommands.h"

#include "../../widgets/FakePrompter.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

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

QByteArray TestFileCommands::example() const
{
    QFile f(QStringLiteral(TARNIK_TEST_DATA "/example.chp"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestFileCommands::filters()
{
    m_files->open();
    QCOMPARE(m_prompter->lastFilters,
             QStringList({u"chp(*.chp)"_s, u"所有文件(*.*)"_s, u"所有文件 (*)"_s}));
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

// Columns: the file's bytes (null: no file), the box shown (icon, title; none when the
// title is empty), and channel 1's receive frequency afterwards.
void TestFileCommands::open_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("channel1");
    const QByteArray full = example();
    QVERIFY(!full.isEmpty());
    QByteArrayList lines = full.split('\n');
    QTest::newRow("example") << full << 0 << "" << "450.10000";
    QTest::newRow("first 34 lines") << lines.mid(0, 34).join('\n') << 0 << "" << "450.10000";
    QTest::newRow("missing file: silent") << QByteArray() << 0 << "" << "";
    QTest::newRow("10 lines: stops with its number")
        << lines.mid(0, 10).join('\n') << int(QMessageBox::Information) << "62" << "450.10000";
    QTest::newRow("flags not hex")
        << QByteArray("52 00 00 08 11 FF FF FF ZZ 06 03 19\r\n") << int(QMessageBox::Information)
        << "13" << "";
}

void TestFileCommands::open()
{
    QFETCH(QByteArray, content);
    QFETCH(int, icon);
    QFETCH(QString, title);
    QFETCH(QString, channel1);
    const QString path = m_dir.filePath(u"in.chp"_s);
    if (!content.isNull()) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
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

QTEST_MAIN(TestFileCommands)
#include "tst_filecommands.moc"
