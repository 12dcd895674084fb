#include "channels/WorkingCopy.h"
#include "files/ChannelCsv.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

using C = ChannelTable::Column;

// A working copy whose first model has a band wide enough for every duplex form.
WorkingCopyState baseState(const QString &band = u"136MHz---520MHz"_s)
{
    WorkingCopy wc;
    wc.startUp(QString());
    wc.setBandStringForModelRow(0, band);
    wc.selectModel(0);
    return wc.state();
}

// The fields of the first data row of an exported text, by header name.
QHash<QString, QString> firstRow(const QByteArray &csv)
{
    const QList<QByteArray> lines = csv.split('\n');
    const QStringList names = channelcsv::header();
    const QStringList values = QString::fromUtf8(lines.value(1).trimmed()).split(u',');
    QHash<QString, QString> row;
    for (qsizetype i = 0; i < names.size(); ++i)
        row[names[i]] = values.value(i);
    return row;
}

QStringList channelCells(const WorkingCopyState &s, int c)
{
    const auto &cells = s.cells[size_t(c)];
    return QStringList(cells.begin() + 1, cells.end());
}

QStringList refusals(const channelcsv::Import &i)
{
    QStringList out;
    for (const channelcsv::Refusal &r : i.refusals)
        out << u"%1:%2"_s.arg(r.line).arg(r.column);
    return out;
}

} // namespace

class TestChannelCsv : public QObject
{
    Q_OBJECT

private slots:
    // Each tone mode and duplex form is written as the format has it and reads back to
    // the same channel.
    void roundTrip_data()
    {
        QTest::addColumn<QStringList>("cells"); // columns 1…7
        QTest::addColumn<QString>("expected"); // Duplex|Offset|Tone|CrossMode|DtcsPolarity|Mode|Power|Comment
        const auto row = [](const char *name, QStringList cells, const char16_t *expected) {
            QTest::newRow(name) << cells << QString::fromUtf16(expected);
        };
        row("simplex, no tone", {u"450.10000"_s, u"450.10000"_s, u"OFF"_s, u"OFF"_s, u"否"_s, u"宽"_s, u"高"_s},
            u"|0.000000||Tone->Tone|NN|FM|5.0W|");
        row("Tone, shift up", {u"145.50000"_s, u"146.10000"_s, u"OFF"_s, u"67"_s, u"否"_s, u"宽"_s, u"中"_s},
            u"+|0.600000|Tone|Tone->Tone|NN|FM|2.0W|");
        row("TSQL, shift down", {u"440.00000"_s, u"435.00000"_s, u"88.5"_s, u"88.5"_s, u"是"_s, u"窄"_s, u"低"_s},
            u"-|5.000000|TSQL|Tone->Tone|NN|NFM|0.5W|BCL");
        row("DTCS", {u"450.00625"_s, u"450.00625"_s, u"D023N"_s, u"D023N"_s, u"否"_s, u"宽"_s, u"高"_s},
            u"|0.000000|DTCS|Tone->Tone|NN|FM|5.0W|");
        row("DTCS, receive reversed",
            {u"450.00500"_s, u"450.00500"_s, u"D754I"_s, u"D754N"_s, u"否"_s, u"宽"_s, u"高"_s},
            u"|0.000000|DTCS|Tone->Tone|NR|FM|5.0W|");
        row("Tone->Tone", {u"450.10000"_s, u"450.10000"_s, u"254.1"_s, u"67"_s, u"否"_s, u"宽"_s, u"高"_s},
            u"|0.000000|Cross|Tone->Tone|NN|FM|5.0W|");
        row("->Tone", {u"450.10000"_s, u"450.10000"_s, u"100"_s, u"OFF"_s, u"否"_s, u"宽"_s, u"高"_s},
            u"|0.000000|Cross|->Tone|NN|FM|5.0W|");
        row("DTCS->", {u"450.10000"_s, u"450.10000"_s, u"OFF"_s, u"D025I"_s, u"否"_s, u"宽"_s, u"高"_s},
            u"|0.000000|Cross|DTCS->|RN|FM|5.0W|");
        row("->DTCS", {u"450.10000"_s, u"450.10000"_s, u"D026N"_s, u"OFF"_s, u"否"_s, u"宽"_s, u"高"_s},
            u"|0.000000|Cross|->DTCS|NN|FM|5.0W|");
        row("Tone->DTCS", {u"450.10000"_s, u"450.10000"_s, u"D031I"_s, u"123"_s, u"否"_s, u"宽"_s, u"高"_s},
            u"|0.000000|Cross|Tone->DTCS|NR|FM|5.0W|");
        row("DTCS->Tone", {u"450.10000"_s, u"450.10000"_s, u"69.3"_s, u"D032N"_s, u"否"_s, u"宽"_s, u"高"_s},
            u"|0.000000|Cross|DTCS->Tone|NN|FM|5.0W|");
        row("DTCS->DTCS", {u"450.10000"_s, u"450.10000"_s, u"D043N"_s, u"D047I"_s, u"否"_s, u"宽"_s, u"高"_s},
            u"|0.000000|Cross|DTCS->DTCS|RN|FM|5.0W|");
        row("split", {u"145.50000"_s, u"435.00000"_s, u"OFF"_s, u"OFF"_s, u"否"_s, u"宽"_s, u"高"_s},
            u"split|435.000000||Tone->Tone|NN|FM|5.0W|");
        row("transmit off", {u"450.10000"_s, u"OFF"_s, u"OFF"_s, u"OFF"_s, u"否"_s, u"宽"_s, u"高"_s},
            u"off|0.000000||Tone->Tone|NN|FM|5.0W|");
    }
    void roundTrip()
    {
        QFETCH(QStringList, cells);
        QFETCH(QString, expected);
        WorkingCopyState state = baseState();
        for (int c = 0; c < 7; ++c)
            state.cells[7][size_t(c + 1)] = cells[c];
        const channelcsv::Export e = channelcsv::exportCsv(state);
        QCOMPARE(e.channels, 1);
        const QHash<QString, QString> row = firstRow(e.text);
        QCOMPARE(row[u"Location"_s], u"7"_s);
        QStringList fields;
        for (const char *name : {"Duplex", "Offset", "Tone", "CrossMode", "DtcsPolarity", "Mode", "Power", "Comment"})
            fields << row[QString::fromLatin1(name)];
        QCOMPARE(fields.join(u'|'), expected);

        const Result<channelcsv::Import> back = channelcsv::importCsv(e.text, baseState());
        QVERIFY(back);
        QCOMPARE(refusals(*back), QStringList());
        QCOMPARE(back->channels, 1);
        QCOMPARE(channelCells(back->state, 7), cells);
        for (int c = 1; c <= 16; ++c)
            QCOMPARE(back->state.cells[size_t(c)][C::RxFreq], c == 7 ? cells[0] : u"OFF"_s);
        QCOMPARE(back->state.cells[0], state.cells[0]); // titles
    }

    // Files as other programs write them: columns in any order, unknown and missing
    // columns, comments, a byte-order mark, quoting; refused values name line and column.
    void import_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::addColumn<QString>("band");
        QTest::addColumn<int>("channel");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QStringList>("refused");
        const QStringList plain{u"450.10000"_s, u"450.10000"_s, u"OFF"_s, u"OFF"_s, u"否"_s, u"宽"_s, u"高"_s};
        const QStringList empty{u"OFF"_s, u"OFF"_s, u"OFF"_s, u"OFF"_s, u"否"_s, u"宽"_s, u"高"_s};
        const QString band = u"400MHz---470MHz"_s;
        QTest::newRow("mark, comment, any order, quotes")
            << QByteArray("\xEF\xBB\xBF# exported list\r\nMode,Extra,Frequency,Location,Tone,cToneFreq,Comment\r\n"
                          "NFM,x,\"450.012500\",3,TSQL,\"67.0\",\"BCL, wide area\"\r\n")
            << band << 3 << QStringList{u"450.01250"_s, u"450.01250"_s, u"67"_s, u"67"_s, u"是"_s, u"窄"_s, u"高"_s}
            << QStringList();
        QTest::newRow("only Location and Frequency")
            << QByteArray("Location,Frequency\n2,450.1\n") << band << 2 << plain << QStringList();
        QTest::newRow("no Location: rows count from 1")
            << QByteArray("Frequency,Power\n450.1,1.0W\n450.1,Mid\n") << band << 2
            << QStringList{u"450.10000"_s, u"450.10000"_s, u"OFF"_s, u"OFF"_s, u"否"_s, u"宽"_s, u"中"_s}
            << QStringList();
        // Bandwidth and power as the editor shows them, in either language; kept Chinese.
        QTest::newRow("editor values, english")
            << QByteArray("Location,Frequency,Mode,Power\n3,450.1,Narrow,low\n") << band << 3
            << QStringList{u"450.10000"_s, u"450.10000"_s, u"OFF"_s, u"OFF"_s, u"否"_s, u"窄"_s, u"低"_s}
            << QStringList();
        QTest::newRow("editor values, chinese")
            << QByteArray("Location,Frequency,Mode,Power\n3,450.1,窄,中\n") << band << 3
            << QStringList{u"450.10000"_s, u"450.10000"_s, u"OFF"_s, u"OFF"_s, u"否"_s, u"窄"_s, u"中"_s}
            << QStringList();
        QTest::newRow("a value of another list") << QByteArray("Location,Frequency,Mode,Power\n3,450.1,High,宽\n")
                                                 << band << 3 << plain << QStringList{u"2:Mode"_s, u"2:Power"_s};
        QTest::newRow("frequency 0 and empty are skipped")
            << QByteArray("Location,Frequency\n1,0.000000\n1,\n1,450.1\n") << band << 1 << plain << QStringList();
        QTest::newRow("one tone serves both")
            << QByteArray("Location,Frequency,Tone,rToneFreq\n1,450.1,TSQL,88.5\n") << band << 1
            << QStringList{u"450.10000"_s, u"450.10000"_s, u"88.5"_s, u"88.5"_s, u"否"_s, u"宽"_s, u"高"_s}
            << QStringList();
        QTest::newRow("out of band") << QByteArray("Location,Frequency\n4,480.000000\n") << band << 4 << empty
                                     << QStringList{u"2:Frequency"_s};
        QTest::newRow("no band for the model")
            << QByteArray("Location,Frequency\n4,450.1\n") << QString() << 4 << empty << QStringList{u"2:Frequency"_s};
        QTest::newRow("off the channel step") << QByteArray("Location,Frequency\n\n4,450.002500\n") << band << 4
                                              << empty << QStringList{u"3:Frequency"_s};
        QTest::newRow("transmit out of band: receive only")
            << QByteArray("Location,Frequency,Duplex,Offset\n5,465.0,+,10.0\n") << band << 5
            << QStringList{u"465.00000"_s, u"OFF"_s, u"OFF"_s, u"OFF"_s, u"否"_s, u"宽"_s, u"高"_s}
            << QStringList{u"2:Offset"_s};
        QTest::newRow("tone and code not in the list")
            << QByteArray("Location,Frequency,Tone,CrossMode,rToneFreq,cToneFreq,RxDtcsCode,DtcsPolarity,Mode,Power\n"
                          "6,450.1,Cross,Tone->DTCS,69.0,67.0,024,NN,AM,lots\n")
            << band << 6 << plain << QStringList{u"2:rToneFreq"_s, u"2:RxDtcsCode"_s, u"2:Mode"_s, u"2:Power"_s};
        QTest::newRow("locations outside 1-16 and twice")
            << QByteArray("Location,Frequency\n0,450.1\n17,450.1\n8,450.1\n8,450.2\n") << band << 8 << plain
            << QStringList{u"2:Location"_s, u"3:Location"_s, u"5:Location"_s};
        QTest::newRow("lines that are no channel")
            << QByteArray("Location,Frequency\n@@@ this is no channel @@@\n\n2,450.1\n5\nx,450.1\n") << band << 2
            << plain << QStringList{u"2:"_s, u"5:"_s, u"6:Location"_s};
        QTest::newRow("empty channels and blank lines are no refusals")
            << QByteArray("Location,Frequency,Name\n,,\n   \n7,,\n17,,x\n2,450.1,\n") << band << 2 << plain
            << QStringList();
        QTest::newRow("quote left open") << QByteArray("Location,Name,Frequency\n2,a,450.1\n3,\"b,450.1\n4,c,450.1\n")
                                         << band << 2 << plain << QStringList{u"3:"_s};
        QTest::newRow("quoted line break counts its line")
            << QByteArray("Location,Name,Frequency\n9,\"two\nlines\",450.1\n10,x,480\n") << band << 9 << plain
            << QStringList{u"4:Frequency"_s};
    }
    void import()
    {
        QFETCH(QByteArray, csv);
        QFETCH(QString, band);
        QFETCH(int, channel);
        QFETCH(QStringList, cells);
        QFETCH(QStringList, refused);
        WorkingCopyState base = baseState(band);
        base.cells[size_t(channel)][C::RxFreq] = u"440.00000"_s; // replaced, not kept
        const Result<channelcsv::Import> r = channelcsv::importCsv(csv, base);
        QVERIFY(r);
        QCOMPARE(refusals(*r), refused);
        QCOMPARE(channelCells(r->state, channel), cells);
        QCOMPARE(r->state.bandText, base.bandText);
        QCOMPARE(r->state.rows, base.rows);
    }

    void textWithoutFrequencyColumnIsRefused_data()
    {
        QTest::addColumn<QByteArray>("csv");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("comments only") << QByteArray("# nothing\n");
        QTest::newRow("other table") << QByteArray("Name,Phone\nA,1\n");
        QTest::newRow("binary") << QByteArray("\x00\xFF\xFE,\x01", 5);
    }
    void textWithoutFrequencyColumnIsRefused()
    {
        QFETCH(QByteArray, csv);
        const Result<channelcsv::Import> r = channelcsv::importCsv(csv, baseState());
        QVERIFY(!r);
        QVERIFY(!r.failure().description.isEmpty());
    }

    // The command line: export, then import onto the same file, saves the same bytes
    // as saving the file itself.
    void cliRoundTrip()
    {
        QTemporaryDir home;
        QVERIFY(QDir(home.path()).mkpath(u"tarnik"_s));
        QFile ini(home.path() + u"/tarnik/Sfc.ini"_s);
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[Frequent]\r\nPL1=400MHz---470MHz\r\n");
        ini.close();
        const QString example = QStringLiteral(TARNIK_TEST_DATA "/example.chp");
        const QString csv = home.path() + u"/list.csv"_s;
        const auto cli = [&](const QStringList &args) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"XDG_CONFIG_HOME"_s, home.path());
            p.setProcessEnvironment(env);
            p.start(QStringLiteral(TARNIK_BIN_DIR "/tarnik-cli"), args);
            return p.waitForFinished(30000) ? p.exitCode() : -1;
        };
        QCOMPARE(cli({u"export-csv"_s, example, csv}), 0);
        QCOMPARE(cli({u"import-csv"_s, csv, home.path() + u"/back.chp"_s, u"--base"_s, example}), 0);
        QCOMPARE(cli({u"save-canonical"_s, example, home.path() + u"/same.chp"_s}), 0);
        QFile back(home.path() + u"/back.chp"_s);
        QFile same(home.path() + u"/same.chp"_s);
        QVERIFY(back.open(QIODevice::ReadOnly) && same.open(QIODevice::ReadOnly));
        QCOMPARE(back.readAll(), same.readAll());
        QCOMPARE(cli({u"import-csv"_s, csv}), 2);
        QCOMPARE(cli({u"import-csv"_s, home.path() + u"/missing.csv"_s, home.path() + u"/x.chp"_s}), 2);

        // A refusal fails the command, and what was taken is still written.
        QFile refusing(home.path() + u"/refusing.csv"_s);
        QVERIFY(refusing.open(QIODevice::WriteOnly));
        refusing.write("Location,Frequency\n1,450.1\n@@@ this is no channel @@@\n");
        refusing.close();
        QCOMPARE(cli({u"import-csv"_s, refusing.fileName(), home.path() + u"/taken.chp"_s}), 1);
        QVERIFY(QFile::exists(home.path() + u"/taken.chp"_s));
        // What is no regular file is refused at once: a FIFO would wait for a writer.
        const QString fifo = home.path() + u"/fifo.csv"_s;
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString &path : {fifo, home.path(), u"/dev/zero"_s})
            QCOMPARE(cli({u"import-csv"_s, path, home.path() + u"/none.chp"_s}), 2);
        QVERIFY(!QFile::exists(home.path() + u"/none.chp"_s));
    }
};

QTEST_GUILESS_MAIN(TestChannelCsv)
#include "tst_channelcsv.moc"
