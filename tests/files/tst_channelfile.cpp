#include "channels/Codec.h"
#include "channels/Tables.h"
#include "channels/WorkingCopy.h"
#include "files/ChannelFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "../FileSizeLimit.h"

#include <unistd.h>

using L = WorkingCopy::List;
using C = ChannelTable::Column;

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray exampleFile()
{
    return readFile(QStringLiteral(TARNIK_TEST_DATA "/example.chp"));
}

QList<QByteArray> lines(const QByteArray &text)
{
    QList<QByteArray> l = text.split('\n');
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    for (QByteArray &x : l)
        x.chop(1); // CR
    return l;
}

QByteArray joinLines(const QList<QByteArray> &l)
{
    QByteArray out;
    for (const QByteArray &x : l)
        out += x + "\r\n";
    return out;
}

// The example working copy: channel 1 on 450.10000 with "67"/"D023N", the rest empty.
void fillExample(WorkingCopy &wc)
{
    wc.startUp(QString());
    wc.selectTimeOut(2);
    wc.selectSquelch(3);
    wc.selectVoice(1);
    wc.setCell(1, C::RxFreq, QStringLiteral("450.10000"));
    wc.setCell(1, C::TxFreq, QStringLiteral("450.10000"));
    wc.setCell(1, C::RxSignal, QStringLiteral("67"));
    wc.setCell(1, C::TxSignal, QStringLiteral("D023N"));
    wc.setCell(1, C::BusyLock, QString::fromUtf16(u"否"));
    wc.setCell(1, C::Bandwidth, QString::fromUtf16(u"宽"));
    wc.setCell(1, C::Power, QString::fromUtf16(u"高"));
}

QStringList snapshot(const WorkingCopy &wc)
{
    QStringList s;
    for (int r = 0; r < 17; ++r)
        for (int c = 0; c < 8; ++c)
            s << wc.cell(r, c);
    for (int i = 0; i < WorkingCopy::ListCount; ++i)
        s << QString::number(wc.row(L(i)));
    s << wc.modelCode() << wc.functionByte() << wc.voiceByte() << wc.crystalCode() << wc.ifSignCode()
      << QString::number(wc.powerStep()) << QString::number(wc.crystalChoice()) << QString::number(wc.signChoice());
    return s;
}

} // namespace

class TstChannelFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString path(const char *name) { return m_dir.filePath(QString::fromLatin1(name)); }

private slots:
    void exampleSavesExactly()
    {
        WorkingCopy wc;
        fillExample(wc);
        const QString p = path("example.chp");
        QVERIFY(saveChannelFile(wc, p).ok());
        QCOMPARE(readFile(p), exampleFile());
        const QList<QByteArray> l = lines(readFile(p));
        QCOMPARE(l.size(), 128);
        QCOMPARE(l[0], QByteArray("52 00 00 08 11 FF FF FF 00 06 03 19"));
        QCOMPARE(l[127], QByteArray("52 03 F8 08 FF FF FF FF FF FF FF FF"));
    }

    void exampleLoadsBack()
    {
        WorkingCopy expected;
        fillExample(expected);
        WorkingCopy wc;
        wc.startUp(QString());
        QCOMPARE(loadChannelFile(wc, QStringLiteral(TARNIK_TEST_DATA "/example.chp")).kind, LoadOutcome::Loaded);
        // The empty rows come back as the decoding of eight FF bytes.
        for (int c = 2; c <= 16; ++c) {
            const QStringList want{QStringLiteral("OFF"),    QStringLiteral("OFF"),     QStringLiteral("OFF"),
                                   QStringLiteral("OFF"),    QString::fromUtf16(u"否"), QString::fromUtf16(u"宽"),
                                   QString::fromUtf16(u"高")};
            for (int col = 1; col <= 7; ++col)
                QCOMPARE(wc.cell(c, col), want[col - 1]);
            for (int col = 1; col <= 7; ++col)
                expected.setCell(c, col, want[col - 1]);
        }
        QCOMPARE(snapshot(wc), snapshot(expected));
    }

    void shortAndReadResultFilesLoadAlike()
    {
        const QList<QByteArray> full = lines(exampleFile());
        QList<QByteArray> readResult;
        for (const QByteArray &l : full)
            readResult << l + ' ';
        WorkingCopy a, b, c;
        a.startUp(QString());
        b.startUp(QString());
        c.startUp(QString());
        QCOMPARE(loadChannelText(a, exampleFile()).kind, LoadOutcome::Loaded);
        QCOMPARE(loadChannelText(b, joinLines(full.mid(0, 34))).kind, LoadOutcome::Loaded);
        QCOMPARE(loadChannelText(c, joinLines(readResult)).kind, LoadOutcome::Loaded);
        QCOMPARE(snapshot(b), snapshot(a));
        QCOMPARE(snapshot(c), snapshot(a));
        // LF-only line ends load the same.
        WorkingCopy d;
        d.startUp(QString());
        QByteArray lf = exampleFile();
        lf.replace("\r\n", "\n");
        QCOMPARE(loadChannelText(d, lf).kind, LoadOutcome::Loaded);
        QCOMPARE(snapshot(d), snapshot(a));
    }

    void spareAreaSavedAsFF()
    {
        QList<QByteArray> l = lines(exampleFile());
        for (int i = 34; i < 128; ++i)
            l[i] = "52 01 10 08 12 34 56 78 9A BC DE F0 ";
        WorkingCopy wc;
        wc.startUp(QString());
        QCOMPARE(loadChannelText(wc, joinLines(l)).kind, LoadOutcome::Loaded);
        QCOMPARE(*channelFileText(wc), exampleFile());
    }

    void tenLinesLoadFourChannelsThenFail()
    {
        QList<QByteArray> l = lines(exampleFile());
        for (int c = 1; c <= 4; ++c)
            l[2 * c] = QByteArray("52 00 10 08 00 00 01 45 00 00 0") + QByteArray::number(c) + " 45";
        WorkingCopy wc;
        wc.startUp(QString());
        wc.setCell(5, C::RxFreq, QStringLiteral("440.00000"));
        const LoadOutcome r = loadChannelText(wc, joinLines(l.mid(0, 10)));
        QCOMPARE(r.kind, LoadOutcome::Failed);
        QCOMPARE(r.failure.number, int(Failure::InputPastEndOfFile));
        QCOMPARE(wc.listText(L::TimeOut), QStringLiteral("60s"));
        QCOMPARE(wc.cell(4, C::TxFreq), QStringLiteral("450.40000"));
        QCOMPARE(wc.cell(4, C::Power), QString::fromUtf16(u"高"));
        // The model line cleared the grid (a model set by a file), and nothing after
        // the failure was touched.
        QCOMPARE(wc.cell(5, C::RxFreq), QString());
    }

    void truncatedAtEveryLine()
    {
        const QByteArray full = exampleFile();
        const QList<QByteArray> l = lines(full);
        for (int n = 0; n < 34; ++n) {
            WorkingCopy wc;
            wc.startUp(QString());
            const LoadOutcome r = loadChannelText(wc, joinLines(l.mid(0, n)));
            QCOMPARE(r.kind, LoadOutcome::Failed);
            QVERIFY(!r.failure.description.isEmpty());
        }
        // Truncated in the middle of a line: a missing token.
        for (int cut = 1; cut < 36 * 4; ++cut) {
            WorkingCopy wc;
            wc.startUp(QString());
            QCOMPARE(loadChannelText(wc, full.left(cut)).kind, LoadOutcome::Failed);
        }
    }

    void allEmptyRowRoundTrip()
    {
        WorkingCopy wc;
        wc.startUp(QString());
        const QList<QByteArray> l = lines(*channelFileText(wc));
        QCOMPARE(l[2], QByteArray("52 00 10 08 FF FF FF FF FF FF FF FF"));
        QCOMPARE(l[3], QByteArray("52 00 18 08 FF FF FF FF FF FF FF FF"));
    }

    void timeOutTokens_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QByteArray>("token");
        const char *tokens[] = {"00", "03", "06", "09", "0C", "0F", "12", "15", "18", "1B", "1E"};
        for (int r = 0; r < 11; ++r)
            QTest::addRow("row %d", r) << r << QByteArray(tokens[r]);
    }
    void timeOutTokens()
    {
        QFETCH(int, row);
        QFETCH(QByteArray, token);
        WorkingCopy wc;
        wc.startUp(QString());
        wc.selectTimeOut(row);
        const QByteArray text = *channelFileText(wc);
        QCOMPARE(lines(text)[0].split(' ')[9], token);
        WorkingCopy back;
        back.startUp(QString());
        QCOMPARE(loadChannelText(back, text).kind, LoadOutcome::Loaded);
        QCOMPARE(back.row(L::TimeOut), row);
    }

    void powerStepsAndModels()
    {
        for (int step = 0; step < 11; ++step) {
            for (int model = 0; model < 6; ++model) {
                WorkingCopy wc;
                wc.startUp(QString());
                wc.selectModel(model);
                wc.setPowerStep(step);
                const QByteArray text = *channelFileText(wc);
                QCOMPARE(lines(text)[0].split(' ')[11], codec::hex2(5 * step).toLatin1());
                WorkingCopy back;
                back.startUp(QString());
                QCOMPARE(loadChannelText(back, text).kind, LoadOutcome::Loaded);
                QCOMPARE(back.powerStep(), step);
                QCOMPARE(back.row(L::Model), model);
                QCOMPARE(back.modelCode(), QString::fromLatin1(tables::models[size_t(model)].code));
            }
        }
    }

    void textualTokenMatching_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("token");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("shown");
        QTest::newRow("lowercase d0 is the DCS type") << 3 << 6 << QByteArray("d0") << 1 << 4 << "D023N";
        QTest::newRow("lowercase code is a number") << 3 << 7 << QByteArray("0a") << 1 << 4 << "D053N";
        QTest::newRow("code beyond list") << 3 << 7 << QByteArray("FF") << 1 << 4 << "";
        QTest::newRow("lowercase ff bandwidth is wide") << 3 << 9 << QByteArray("ff") << 1 << 6 << "宽";
        QTest::newRow("type 80 code 0 is OFF") << 3 << 5 << QByteArray("00") << 1 << 3 << "OFF";
        QTest::newRow("frequency digits copied") << 2 << 7 << QByteArray("4A") << 1 << 1 << "4A0.10000";
        QTest::newRow("frequency with FF is OFF") << 2 << 5 << QByteArray("FF") << 1 << 1 << "OFF";
        QTest::newRow("frequency with ff is OFF") << 2 << 5 << QByteArray("ff") << 1 << 1 << "OFF";
        QTest::newRow("double space shifts tokens") << 3 << 4 << QByteArray(" 80") << 1 << 3 << "OFF";
    }
    void textualTokenMatching()
    {
        QFETCH(int, line);
        QFETCH(int, token);
        QFETCH(QByteArray, value);
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, shown);
        QList<QByteArray> l = lines(exampleFile());
        QList<QByteArray> t = l[line].split(' ');
        t[token] = value;
        l[line] = t.join(' ');
        WorkingCopy wc;
        wc.startUp(QString());
        QCOMPARE(loadChannelText(wc, joinLines(l)).kind, LoadOutcome::Loaded);
        QCOMPARE(wc.cell(row, col), shown);
    }

    void unknownValuesKeepState()
    {
        QList<QByteArray> l = lines(exampleFile());
        l[0] = "52 00 00 08 FF FF FF FF 00 06 03 18"; // unknown model and power step
        l[1] = "52 00 08 08 02 11 FF FF FF FF FF FF"; // unknown voice and scan
        l[3] = "52 00 18 08 80 01 D0 01 FF FF AA FF"; // unknown power
        WorkingCopy wc;
        wc.startUp(QString());
        wc.clearGridOnModelChange = false;
        wc.selectModel(4);
        wc.clearGridOnModelChange = true;
        wc.selectVoice(2);
        wc.selectScan(1);
        wc.setPowerStep(2);
        wc.setCell(1, C::Power, QString::fromUtf16(u"中"));
        QCOMPARE(loadChannelText(wc, joinLines(l)).kind, LoadOutcome::Loaded);
        QCOMPARE(wc.row(L::Model), 4);
        QCOMPARE(wc.modelCode(), QStringLiteral("24"));
        QCOMPARE(wc.powerStep(), 2);
        QCOMPARE(wc.row(L::Voice), 2);
        QCOMPARE(wc.row(L::Scan), 1);
        QCOMPARE(wc.cell(1, C::Power), QString::fromUtf16(u"中"));
        QCOMPARE(wc.listText(L::TimeOut), QStringLiteral("60s"));
        QCOMPARE(wc.cell(1, C::TxSignal), QStringLiteral("D023N"));
    }

    void failures_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("number");
        QTest::newRow("time-out row 11") << 0 << QByteArray("52 00 00 08 11 FF FF FF 00 21 03 19") << 380;
        QTest::newRow("time-out not hex") << 0 << QByteArray("52 00 00 08 11 FF FF FF 00 XY 03 19") << 13;
        QTest::newRow("squelch 10") << 0 << QByteArray("52 00 00 08 11 FF FF FF 00 06 10 19") << 380;
        QTest::newRow("squelch hex") << 0 << QByteArray("52 00 00 08 11 FF FF FF 00 06 0A 19") << 13;
        QTest::newRow("flags not hex") << 0 << QByteArray("52 00 00 08 11 FF FF FF G0 06 03 19") << 13;
        QTest::newRow("short line") << 0 << QByteArray("52 00 00 08 11 FF FF FF 00 06 03") << 9;
        QTest::newRow("signalling code not hex") << 3 << QByteArray("52 00 18 08 80 ZZ D0 01 FF FF FF FF") << 13;
    }
    void failures()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, text);
        QFETCH(int, number);
        QList<QByteArray> l = lines(exampleFile());
        l[line] = text;
        WorkingCopy wc;
        wc.startUp(QString());
        const LoadOutcome r = loadChannelText(wc, joinLines(l));
        QCOMPARE(r.kind, LoadOutcome::Failed);
        QCOMPARE(r.failure.number, number);
    }

    void garbageNeverCrashes()
    {
        QRandomGenerator rng(1234);
        QList<QByteArray> inputs{QByteArray(), QByteArray(4096, '\0'), QByteArray(100, '\n'),
                                 QByteArray("\xe4\xbd\xa0\xe5\xa5\xbd \xff\xfe\r\n", 12)};
        QByteArray many = "52 00 00 08";
        for (int i = 0; i < 100000; ++i)
            many += " FF";
        inputs << many + "\r\n" << (many + "\r\n").repeated(40);
        for (int i = 0; i < 200; ++i) {
            QByteArray b(int(rng.bounded(6000)), Qt::Uninitialized);
            for (char &c : b)
                c = char(rng.bounded(256));
            inputs << b;
            QByteArray mutated = exampleFile();
            for (int k = 0; k < 5; ++k)
                mutated[int(rng.bounded(mutated.size()))] = char(rng.bounded(256));
            inputs << mutated;
        }
        for (const QByteArray &in : inputs) {
            WorkingCopy wc;
            wc.startUp(QString());
            const LoadOutcome r = loadChannelText(wc, in);
            if (r.kind == LoadOutcome::Failed)
                QVERIFY(!r.failure.description.isEmpty());
        }
    }

    void missingFileIsSilent()
    {
        WorkingCopy wc;
        wc.startUp(QString());
        QCOMPARE(loadChannelFile(wc, path("nope.chp")).kind, LoadOutcome::Missing);
        QCOMPARE(loadChannelFile(wc, m_dir.path()).kind, LoadOutcome::Failed);
    }

    void randomWorkingCopiesRoundTrip()
    {
        QRandomGenerator rng(42);
        const QStringList signals_ = tables::signallingList();
        for (int iter = 0; iter < 300; ++iter) {
            WorkingCopy wc;
            wc.startUp(QString());
            wc.selectModel(int(rng.bounded(6)));
            wc.setCrystalChoice(int(rng.bounded(2)));
            wc.setSignChoice(int(rng.bounded(2)));
            wc.setCrystalCode(QString::number(rng.bounded(2)));
            wc.setIfSignCode(QString::number(rng.bounded(2)));
            wc.setPowerStep(int(rng.bounded(11)));
            for (int i = 1; i < WorkingCopy::ListCount; ++i)
                wc.select(L(i), int(rng.bounded(WorkingCopy::rows(L(i)).size())));
            for (int c = 1; c <= 16; ++c) {
                for (int col : {1, 2}) {
                    const int khz = int(rng.bounded(100000, 999999));
                    const QString f = QStringLiteral("%1.%2")
                                          .arg(khz / 1000, 3, 10, QLatin1Char('0'))
                                          .arg((khz % 1000) * 100 + int(rng.bounded(100)), 5, 10, QLatin1Char('0'));
                    wc.setCell(c, col, rng.bounded(5) == 0 ? QStringLiteral("OFF") : f);
                }
                wc.setCell(c, 3, signals_[int(rng.bounded(signals_.size()))]);
                wc.setCell(c, 4, signals_[int(rng.bounded(signals_.size()))]);
                wc.setCell(c, 5, tables::busyLockRows()[int(rng.bounded(2))]);
                wc.setCell(c, 6, tables::bandwidthRows()[int(rng.bounded(2))]);
                wc.setCell(c, 7, tables::powerRows()[int(rng.bounded(3))]);
            }
            const auto first = channelFileText(wc);
            QVERIFY2(first.ok(), first.ok() ? "" : qPrintable(first.failure().description));
            WorkingCopy back;
            back.startUp(QString());
            QCOMPARE(loadChannelText(back, *first).kind, LoadOutcome::Loaded);
            QCOMPARE(*channelFileText(back), *first);
            // Hand-edited in lowercase, the same radio.
            WorkingCopy lower;
            lower.startUp(QString());
            QCOMPARE(loadChannelText(lower, first->toLower()).kind, LoadOutcome::Loaded);
            QVERIFY(lower.state() == back.state());
        }
    }

    // Loading must carry the crystal and sign bits into the tune values, so a file
    // saved at once is the same file.
    void crystalAndSignSurviveLoadAndSave()
    {
        for (const char *flags : {"00", "10", "20", "30", "F0", "A0"}) {
            QList<QByteArray> l = lines(exampleFile());
            l[0] = QByteArray("52 00 00 08 11 FF FF FF ") + flags + " 06 03 19";
            const QByteArray in = joinLines(l);
            WorkingCopy wc;
            wc.startUp(QString());
            QCOMPARE(loadChannelText(wc, in).kind, LoadOutcome::Loaded);
            QCOMPARE(*channelFileText(wc), in);
            // The radio write recomposes through the power-save selection: same byte.
            wc.rerunSelection(L::PowerSave);
            QCOMPARE(*channelFileText(wc), in);
        }
    }

    void saveReplacesAndKeepsNameAsTyped()
    {
        WorkingCopy wc;
        fillExample(wc);
        const QString p = path("noext");
        writeFile(p, QByteArray(10000, 'x'));
        QVERIFY(saveChannelFile(wc, p).ok());
        QCOMPARE(readFile(p), exampleFile());
        QVERIFY(!QFile::exists(p + QStringLiteral(".chp")));
    }

    void failedSaveKeepsOldFile()
    {
        WorkingCopy wc;
        fillExample(wc);
        // A cell that cannot be encoded: nothing is written.
        const QString p = path("keep.chp");
        writeFile(p, "old contents");
        wc.setCell(9, C::RxSignal, QStringLiteral("bogus"));
        const Status s = saveChannelFile(wc, p);
        QVERIFY(!s.ok());
        QVERIFY(s.failure().description.contains(QStringLiteral("9")));
        QCOMPARE(readFile(p), QByteArray("old contents"));
        wc.setCell(9, C::RxSignal, QString());

        // A folder, and a folder we may not write into.
        QVERIFY(!saveChannelFile(wc, m_dir.path()).ok());
        const QString ro = path("ro");
        QDir().mkdir(ro);
        const QString inRo = ro + QStringLiteral("/f.chp");
        writeFile(inRo, "old contents");
        QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        if (::geteuid() != 0) {
            QVERIFY(!saveChannelFile(wc, inRo).ok());
            QCOMPARE(readFile(inRo), QByteArray("old contents"));
        }
        QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void fullDiskKeepsOldFile()
    {
        WorkingCopy wc;
        fillExample(wc);
        const QString p = path("full.chp");
        writeFile(p, "old contents");
        const Status s = [&] {
            const FileSizeLimit limit(100);
            return saveChannelFile(wc, p);
        }();
        QVERIFY(!s.ok());
        QVERIFY(!s.failure().description.isEmpty());
        QCOMPARE(readFile(p), QByteArray("old contents"));
    }
};

QTEST_GUILESS_MAIN(TstChannelFile)
#include "tst_channelfile.moc"
