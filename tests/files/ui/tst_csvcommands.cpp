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

    // The message's first lines say what the import replaced: how many channels came,
    // which were emptied for want of a row, and which for a refused frequency.
    void importSaysWhatItReplaced_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("two of sixteen") << QByteArray("Location,Frequency\n1,450.1\n2,450.2\n")
                                        << QStringList{u"已导入 2 个信道；信道 3–16 不在文件中，已清空"_s};
        QTest::newRow("gaps") << QByteArray("Location,Frequency\n2,450.1\n4,450.2\n5,450.3\n")
                              << QStringList{u"已导入 3 个信道；信道 1, 3, 6–16 不在文件中，已清空"_s};
        QByteArray all("Location,Frequency\n");
        for (int c = 1; c <= 16; ++c)
            all += QByteArray::number(c) + ",450.1\n";
        QTest::newRow("all sixteen") << all << QStringList{u"已导入 16 个信道"_s};
        QByteArray refused = all;
        refused.replace("\n7,450.1\n", "\n7,480\n");
        QTest::newRow("frequency refused")
            << refused << QStringList{u"已导入 15 个信道"_s, u"信道 7 的频率未采用，信道已清空"_s};
        QTest::newRow("refused, then taken from a later row")
            << QByteArray("Location,Frequency\n1,480\n1,450.1\n")
            << QStringList{u"已导入 1 个信道；信道 2–16 不在文件中，已清空"_s};
    }
    void importSaysWhatItReplaced()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QStringList, lines);
        FakePrompter prompter;
        QVERIFY(CsvCommands(*m_wc, nullptr).importFrom(write("list.csv", csv)));
        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].text.split(u'\n').mid(0, lines.size()), lines);
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

    void exportWritesTheChannels_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("with extension") << u"out.csv"_s;
        QTest::newRow("bare name gets .csv") << u"out"_s;
    }
    void exportWritesTheChannels()
    {
        QFETCH(QString, typed);
        FakePrompter prompter;
        prompter.saveAnswers << m_dir->path() + u'/' + typed;
        QCOMPARE(CsvCommands(*m_wc, nullptr).exportCsv(), m_dir->path() + u"/out.csv"_s);
        QVERIFY(!QFile::exists(m_dir->path() + u"/out"_s));
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
