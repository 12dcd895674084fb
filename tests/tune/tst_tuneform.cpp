#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "channels/WorkingCopy.h"
#include "files/ChannelFile.h"
#include "settings/SettingsFile.h"
#include "tune/TuneForm.h"

using namespace tune;

namespace {

const QString section = QStringLiteral("Frequent");

// Six distinct bands, one per settings key, so a wrong row-to-key mapping shows.
QByteArray settingsText()
{
    return "; bands per model\r\n"
           "[Other]\r\n"
           "PL1=keep me\r\n"
           "\r\n"
           "[Frequent]\r\n"
           "PL1=400MHz---470MHz\r\n"
           "PL2=136MHz---174MHz\r\n"
           "PL3=350MHz---390MHz\r\n"
           "PL4=420MHz---450MHz\r\n"
           "PL5=450MHz---480MHz\r\n"
           "PL6=300MHz---330MHz\r\n"
           "Extra = untouched  \r\n"
           "[Tail]\r\n"
           "x=1";
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The lines with their CR LF ends; a last line without one may gain it.
QList<QByteArray> linesOf(const QByteArray &data)
{
    QList<QByteArray> lines = data.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (!lines.isEmpty() && !lines.last().endsWith('\r'))
        lines.last() += '\r';
    return lines;
}

} // namespace

class TestTuneForm : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();

    void bandLimits_data();
    void bandLimits();
    void limitTexts_data();
    void limitTexts();

    void loadShowsCurrentState_data();
    void loadShowsCurrentState();
    void loadAfterChannelFile();
    void chooseModelKeepsOtherValues();

    void commit_data();
    void commit();
    void commitKeepsOtherLines();
    void freshStartShowsCommittedBand();
    void activationShowsBandAndKeepsChannels();
    void defaultPathIsWhatStartUpReads();

private:
    QTemporaryDir m_dir;
    QString m_ini;
};

void TestTuneForm::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_ini = m_dir.filePath(QStringLiteral("Sfc.ini"));
}

void TestTuneForm::init()
{
    QFile::remove(m_ini);
    QVERIFY(writeFile(m_ini, settingsText()));
}

void TestTuneForm::bandLimits_data()
{
    QTest::addColumn<QString>("band");
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::newRow("usual") << QStringLiteral("400MHz---470MHz") << QStringLiteral("400") << QStringLiteral("470");
    QTest::newRow("empty") << QString() << QString() << QString();
    QTest::newRow("short") << QStringLiteral("400MHz") << QStringLiteral("400") << QString();
    // Read at fixed places, as every other reader of the band does.
    QTest::newRow("two-digit low") << QStringLiteral("40MHz---470MHz") << QStringLiteral("40M")
                                   << QStringLiteral("70M");
}

void TestTuneForm::bandLimits()
{
    QFETCH(QString, band);
    QFETCH(QString, low);
    QFETCH(QString, high);
    const BandLimits l = tune::bandLimits(band);
    QCOMPARE(l.low, low);
    QCOMPARE(l.high, high);
    if (band.size() == 15 && isCompleteLimit(low) && isCompleteLimit(high))
        QCOMPARE(bandString(low, high), band);
}

void TestTuneForm::limitTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::addColumn<bool>("complete");
    QTest::newRow("empty") << QString() << false << false;
    QTest::newRow("three digits") << QStringLiteral("470") << true << true;
    QTest::newRow("two digits") << QStringLiteral("47") << true << false;
    QTest::newRow("four digits") << QStringLiteral("4700") << true << false;
    QTest::newRow("letter") << QStringLiteral("4a0") << false << false;
    QTest::newRow("blank") << QStringLiteral(" 47") << false << false;
    QTest::newRow("sign") << QStringLiteral("-47") << false << false;
    QTest::newRow("point") << QStringLiteral("4.7") << false << false;
    QTest::newRow("full-width") << QString::fromUtf16(u"４７０") << false << false;
    QTest::newRow("equals sign") << QStringLiteral("4=7") << false << false;
}

void TestTuneForm::limitTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, number);
    QFETCH(bool, complete);
    QCOMPARE(isNumberText(text), number);
    QCOMPARE(isCompleteLimit(text), complete);
}

void TestTuneForm::loadShowsCurrentState_data()
{
    QTest::addColumn<int>("modelRow");
    QTest::addColumn<int>("powerStep");
    QTest::addColumn<int>("crystal");
    QTest::addColumn<int>("sign");
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");

    QTest::newRow("start-up state") << 0 << 5 << 0 << 0 << QStringLiteral("400") << QStringLiteral("470");
    QTest::newRow("row 3 reads pl6") << 3 << 5 << 0 << 0 << QStringLiteral("300") << QStringLiteral("330");
    QTest::newRow("row 4 reads PL4") << 4 << 0 << 1 << 0 << QStringLiteral("420") << QStringLiteral("450");
    QTest::newRow("row 5 reads pl5") << 5 << 10 << 0 << 1 << QStringLiteral("450") << QStringLiteral("480");
    QTest::newRow("row 1") << 1 << 7 << 1 << 1 << QStringLiteral("136") << QStringLiteral("174");
}

void TestTuneForm::loadShowsCurrentState()
{
    QFETCH(int, modelRow);
    QFETCH(int, powerStep);
    QFETCH(int, crystal);
    QFETCH(int, sign);
    QFETCH(QString, low);
    QFETCH(QString, high);

    WorkingCopy wc;
    wc.startUp(m_ini);
    wc.selectModel(modelRow);
    wc.setPowerStep(powerStep);
    wc.setCrystalChoice(crystal);
    wc.setSignChoice(sign);

    const TuneForm f = loadTuneForm(wc);
    QCOMPARE(f.modelRow, modelRow);
    QCOMPARE(f.powerModelRow, modelRow);
    QCOMPARE(f.low, low);
    QCOMPARE(f.high, high);
    QCOMPARE(f.bandText, wc.bandText());
    QCOMPARE(f.bandText, bandString(low, high));
    QCOMPARE(f.powerRow, powerStep);
    QCOMPARE(f.crystal, crystal);
    QCOMPARE(f.sign, sign);
}

void TestTuneForm::loadAfterChannelFile()
{
    WorkingCopy source;
    source.startUp(QString());
    source.setCrystalCode(QStringLiteral("1"));
    source.setIfSignCode(QStringLiteral("1"));
    source.setPowerStep(2);
    source.rerunSelection(WorkingCopy::List::PowerSave);
    const Result<QByteArray> text = channelFileText(source);
    QVERIFY2(text.ok(), qPrintable(text.ok() ? QString() : text.failure().description));

    WorkingCopy wc;
    wc.startUp(m_ini);
    QCOMPARE(loadChannelText(wc, *text).kind, LoadOutcome::Loaded);
    const TuneForm f = loadTuneForm(wc);
    QCOMPARE(f.crystal, 1);
    QCOMPARE(f.sign, 1);
    QCOMPARE(f.powerRow, 2);

    // Leaving without a change keeps the file's power step and options.
    commitTuneForm(wc, f, Leave::CloseBox);
    QCOMPARE(wc.powerStep(), 2);
    QCOMPARE(wc.crystalCode(), QStringLiteral("1"));
    QCOMPARE(wc.ifSignCode(), QStringLiteral("1"));
}

void TestTuneForm::chooseModelKeepsOtherValues()
{
    WorkingCopy wc;
    wc.startUp(m_ini);
    TuneForm f = loadTuneForm(wc);
    f.crystal = 1;
    f.powerRow = 9;
    chooseModel(f, wc, 3);
    QCOMPARE(f.modelRow, 3);
    QCOMPARE(f.low, QStringLiteral("300"));
    QCOMPARE(f.high, QStringLiteral("330"));
    QCOMPARE(f.crystal, 1);
    QCOMPARE(f.powerRow, 9);
    QCOMPARE(f.powerModelRow, 0);
    QCOMPARE(f.bandText, QStringLiteral("400MHz---470MHz"));
}

void TestTuneForm::commit_data()
{
    QTest::addColumn<int>("modelRow");
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::addColumn<int>("crystal");
    QTest::addColumn<int>("sign");
    QTest::addColumn<int>("powerRow");
    QTest::addColumn<bool>("exit"); // "退出调整" rather than the close box
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("band"); // the row's band afterwards
    QTest::addColumn<QString>("fileBand"); // the key in the file afterwards

    const QString s400 = QStringLiteral("400"), s470 = QStringLiteral("470");
    QTest::newRow("row 0 400-470 exit") << 0 << s400 << QStringLiteral("480") << 0 << 0 << 5 << true
                                        << QStringLiteral("PL1") << QStringLiteral("400MHz---480MHz")
                                        << QStringLiteral("400MHz---480MHz");
    QTest::newRow("row 0 given 400-470 over another band")
        << 1 << s400 << s470 << 0 << 0 << 5 << true << QStringLiteral("PL2") << QStringLiteral("400MHz---470MHz")
        << QStringLiteral("400MHz---470MHz");
    QTest::newRow("row 3 writes PL6") << 3 << QStringLiteral("310") << QStringLiteral("340") << 0 << 0 << 5 << true
                                      << QStringLiteral("PL6") << QStringLiteral("310MHz---340MHz")
                                      << QStringLiteral("310MHz---340MHz");
    QTest::newRow("row 4 writes PL4") << 4 << QStringLiteral("421") << QStringLiteral("451") << 0 << 0 << 5 << true
                                      << QStringLiteral("PL4") << QStringLiteral("421MHz---451MHz")
                                      << QStringLiteral("421MHz---451MHz");
    QTest::newRow("row 5 writes PL5") << 5 << QStringLiteral("455") << QStringLiteral("485") << 0 << 0 << 5 << true
                                      << QStringLiteral("PL5") << QStringLiteral("455MHz---485MHz")
                                      << QStringLiteral("455MHz---485MHz");
    QTest::newRow("empty low keeps the band, stores the rest")
        << 0 << QString() << s470 << 1 << 1 << 0 << true << QStringLiteral("PL1") << QStringLiteral("400MHz---470MHz")
        << QStringLiteral("400MHz---470MHz");
    QTest::newRow("empty high keeps the band, stores the rest")
        << 2 << QStringLiteral("360") << QString() << 1 << 0 << 10 << true << QStringLiteral("PL3")
        << QStringLiteral("350MHz---390MHz") << QStringLiteral("350MHz---390MHz");
    QTest::newRow("two-digit limit keeps the band")
        << 0 << QStringLiteral("40") << s470 << 0 << 1 << 3 << true << QStringLiteral("PL1")
        << QStringLiteral("400MHz---470MHz") << QStringLiteral("400MHz---470MHz");
    QTest::newRow("no model row keeps every band")
        << -1 << s400 << s470 << 1 << 1 << 4 << true << QStringLiteral("PL1") << QStringLiteral("400MHz---470MHz")
        << QStringLiteral("400MHz---470MHz");
    QTest::newRow("close box changes the band for this run only")
        << 0 << QStringLiteral("410") << QStringLiteral("460") << 0 << 0 << 5 << false << QStringLiteral("PL1")
        << QStringLiteral("410MHz---460MHz") << QStringLiteral("400MHz---470MHz");
    QTest::newRow("14.4MHz and negative exit")
        << 0 << s400 << s470 << 1 << 1 << 5 << true << QStringLiteral("PL1") << QStringLiteral("400MHz---470MHz")
        << QStringLiteral("400MHz---470MHz");
    QTest::newRow("14.4MHz and negative close box")
        << 0 << s400 << s470 << 1 << 1 << 8 << false << QStringLiteral("PL1") << QStringLiteral("400MHz---470MHz")
        << QStringLiteral("400MHz---470MHz");
}

void TestTuneForm::commit()
{
    QFETCH(int, modelRow);
    QFETCH(QString, low);
    QFETCH(QString, high);
    QFETCH(int, crystal);
    QFETCH(int, sign);
    QFETCH(int, powerRow);
    QFETCH(bool, exit);
    QFETCH(QString, key);
    QFETCH(QString, band);
    QFETCH(QString, fileBand);

    WorkingCopy wc;
    wc.startUp(m_ini);
    QStringList before;
    for (int r = 0; r < 6; ++r)
        before << wc.bandStringForModelRow(r);

    TuneForm f = loadTuneForm(wc);
    f.modelRow = modelRow;
    f.low = low;
    f.high = high;
    f.crystal = crystal;
    f.sign = sign;
    f.powerRow = powerRow;
    const CommitOutcome out = commitTuneForm(wc, f, exit ? Leave::Exit : Leave::CloseBox, m_ini);

    const int row = qMax(0, modelRow);
    QCOMPARE(wc.bandStringForModelRow(row), band);
    QCOMPARE(ReadSetting(section, key, m_ini), fileBand);
    QCOMPARE(out.bandStored, modelRow >= 0 && isCompleteLimit(low) && isCompleteLimit(high));
    QCOMPARE(out.written, exit && out.bandStored);
    for (int r = 0; r < 6; ++r) {
        if (r != row)
            QCOMPARE(wc.bandStringForModelRow(r), before[r]);
    }
    QCOMPARE(wc.crystalCode(), QString::number(crystal));
    QCOMPARE(wc.ifSignCode(), QString::number(sign));
    QCOMPARE(wc.crystalChoice(), crystal);
    QCOMPARE(wc.signChoice(), sign);
    QCOMPARE(wc.powerStep(), powerRow);

    // Opening again shows what was left.
    const TuneForm again = loadTuneForm(wc);
    QCOMPARE(again.crystal, crystal);
    QCOMPARE(again.sign, sign);
    QCOMPARE(again.powerRow, powerRow);
}

void TestTuneForm::commitKeepsOtherLines()
{
    WorkingCopy wc;
    wc.startUp(m_ini);
    wc.selectModel(3);
    TuneForm f = loadTuneForm(wc);
    f.low = QStringLiteral("301");
    f.high = QStringLiteral("331");
    QVERIFY(commitTuneForm(wc, f, Leave::Exit, m_ini).written);

    QByteArray expected = settingsText();
    expected.replace("PL6=300MHz---330MHz", "PL6=301MHz---331MHz");
    QCOMPARE(linesOf(readFile(m_ini)), linesOf(expected));
}

void TestTuneForm::freshStartShowsCommittedBand()
{
    const QString fresh = m_dir.filePath(QStringLiteral("new/SFC.INI"));
    {
        WorkingCopy wc;
        wc.startUp(fresh); // no file yet: every band empty
        QVERIFY(wc.bandText().isEmpty());
        TuneForm f = loadTuneForm(wc);
        QVERIFY(f.low.isEmpty() && f.high.isEmpty());
        f.low = QStringLiteral("400");
        f.high = QStringLiteral("470");
        QVERIFY(commitTuneForm(wc, f, Leave::Exit, fresh).written);
    }
    QCOMPARE(readFile(fresh), QByteArray("[Frequent]\r\nPL1=400MHz---470MHz\r\n"));
    WorkingCopy next;
    next.startUp(fresh);
    QCOMPARE(next.bandStringByKey(1), QStringLiteral("400MHz---470MHz"));
    QCOMPARE(next.bandText(), QStringLiteral("400MHz---470MHz"));
}

void TestTuneForm::activationShowsBandAndKeepsChannels()
{
    WorkingCopy wc;
    wc.startUp(m_ini);
    wc.selectModel(3);
    wc.setCell(1, 1, QStringLiteral("310.12500"));
    TuneForm f = loadTuneForm(wc);
    f.low = QStringLiteral("305");
    f.high = QStringLiteral("335");
    f.crystal = 1;
    f.sign = 1;
    commitTuneForm(wc, f, Leave::Exit, m_ini);
    // The band label waits for the main window's activation.
    QCOMPARE(wc.bandText(), QStringLiteral("300MHz---330MHz"));
    wc.activate();
    QCOMPARE(wc.bandText(), QStringLiteral("305MHz---335MHz"));
    QCOMPARE(wc.cell(1, 1), QStringLiteral("310.12500"));
    // Monitor "打开", power save "有效", 14.4 MHz, negative: bits 5 and 4.
    QCOMPARE(wc.functionByte(), QStringLiteral("48"));
}

void TestTuneForm::defaultPathIsWhatStartUpReads()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setApplicationName(QStringLiteral("tst_tuneform"));

    WorkingCopy wc;
    wc.startUp(settings::readPath());
    TuneForm f = loadTuneForm(wc);
    f.modelRow = 4;
    f.low = QStringLiteral("422");
    f.high = QStringLiteral("452");
    const CommitOutcome out = commitTuneForm(wc, f, Leave::Exit);
    QStandardPaths::setTestModeEnabled(false);
    qputenv("HOME", oldHome);

    QVERIFY(out.written);
    QVERIFY2(out.path.startsWith(home.path()), qPrintable(out.path));
    QCOMPARE(ReadSetting(section, QStringLiteral("PL4"), out.path), QStringLiteral("422MHz---452MHz"));
    QCOMPARE(ReadSetting(section, QStringLiteral("PL4"), m_ini), QStringLiteral("420MHz---450MHz"));
    WorkingCopy next;
    next.startUp(out.path);
    QCOMPARE(next.bandStringByKey(4), QStringLiteral("422MHz---452MHz"));
}

QTEST_GUILESS_MAIN(TestTuneForm)
#include "tst_tuneform.moc"
