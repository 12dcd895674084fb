#include "channels/WorkingCopy.h"
#include "files/ui/CsvCommands.h"

#include "../../widgets/FakePrompter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

// "导入CSV…" and "导出CSV…" through their dialogs and messages.
class TestCsvCommands : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir.reset(new QTemporaryDir);
        m_wc.reset(new WorkingCopy);
        m_wc->startUp(QString());
        m_wc->setBandStringForModelRow(0, u"400MHz---470MHz"_s);
        m_wc->selectModel(0);
        m_wc->setCell(2, 1, u"440.00000"_s);
    }

    // One take-over and one message that names every refused value.
    void importTakesOverAndListsRefusals()
    {
        const QString csv = write("list.csv", "Location,Frequency,Tone,rToneFreq\n1,450.1,Tone,67\n3,480,,\n");
        FakePrompter prompter;
        prompter.openAnswers << csv;
        int takeOvers = 0;
        connect(m_wc.get(), &WorkingCopy::bandTextChanged, this, [&] { ++takeOvers; });
        CsvCommands(*m_wc, nullptr).importCsv();
        QCOMPARE(prompter.lastFilters, CsvCommands::nameFilters());
        QCOMPARE(takeOvers, 1);
        QCOMPARE(m_wc->cell(1, 4), u"67"_s);
        QCOMPARE(m_wc->cell(2, 1), u"OFF"_s);
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].icon, QMessageBox::Warning);
        QVERIFY2(prompter.shown[0].text.contains(u"第 3 行 Frequency “480”"_s), qPrintable(prompter.shown[0].text));
    }

    void importOfSomethingElseChangesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("no channel list") << u"other.csv"_s;
        QTest::newRow("missing file") << u"missing.csv"_s;
        QTest::newRow("a folder") << u""_s;
    }
    void importOfSomethingElseChangesNothing()
    {
        QFETCH(QString, name);
        write("other.csv", "Name,Phone\nA,1\n");
        const WorkingCopyState before = m_wc->state();
        FakePrompter prompter;
        QVERIFY(!CsvCommands(*m_wc, nullptr).importFrom(m_dir->path() + u'/' + name));
        QVERIFY(m_wc->state() == before);
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].icon, QMessageBox::Critical);
    }

    void exportWritesTheChannels()
    {
        FakePrompter prompter;
        prompter.saveAnswers << m_dir->path() + u"/out.csv"_s;
        CsvCommands(*m_wc, nullptr).exportCsv();
        QFile f(m_dir->path() + u"/out.csv"_s);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("\r\n2,,440.000000,off,0.000000,,"));
        QCOMPARE(prompter.shown.size(), 1);
        QVERIFY(prompter.shown[0].text.contains(u"已导出 1 个信道"_s));
    }

private:
    QString write(const char *name, const QByteArray &bytes)
    {
        QFile f(m_dir->path() + u'/' + QString::fromLatin1(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return f.fileName();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<WorkingCopy> m_wc;
};

QTEST_MAIN(TestCsvCommands)
#include "tst_csvcommands.moc"
