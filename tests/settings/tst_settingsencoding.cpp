// The settings file with bytes that are not UTF-8: GBK lines written by other
// programs, broken sequences, a value cut inside a character. Values read as UTF-8
// with every undecodable byte shown as U+FFFD; writing a key keeps every other line
// byte for byte; a text UTF-8 cannot hold (a lone surrogate) is written as "?".

#include "channels/GridRules.h"
#include "channels/WorkingCopy.h"
#include "settings/SettingsFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString F = QStringLiteral("Frequent");
const QChar R = QChar::ReplacementCharacter;

} // namespace

class TestSettingsEncoding : public QObject
{
    Q_OBJECT
private slots:
    void undecodableValues_data();
    void undecodableValues();
    void otherLinesKeptByteForByte();
    void textsUtf8CannotHold_data();
    void textsUtf8CannotHold();
};

void TestSettingsEncoding::undecodableValues_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QString>("read");
    QTest::newRow("GBK 至 between the limits") << QByteArray("400MHz\xD6\xC1"
                                                             "470MHz")
                                               << QStringLiteral("400MHz") + R + R + QStringLiteral("470MHz");
    QTest::newRow("Latin-1 é") << QByteArray("caf\xE9") << QStringLiteral("caf") + R;
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF"
                                                  "400MHz")
                                    << QString(R) + R + QStringLiteral("400MHz");
    QTest::newRow("UTF-8 of a surrogate") << QByteArray("4\xED\xA0\x80"
                                                        "00")
                                          << QStringLiteral("4") + R + R + R + QStringLiteral("00");
    QTest::newRow("cut inside 频 at byte 127")
        << QByteArray(126, '4') + "\xE9\xA2\x91" << QString(126, QLatin1Char('4')) + R;
    QTest::newRow("only FF bytes") << QByteArray(8, '\xFF') << QString(8, R);
    QTest::newRow("GBK band in full") << QByteArray(
        "\xB5\xCD"
        "400MHz---\xB8\xDF"
        "470MHz") << QString(R) + R + QStringLiteral("400MHz---") + R + R + QStringLiteral("470MHz");
}

void TestSettingsEncoding::undecodableValues()
{
    QFETCH(QByteArray, value);
    QFETCH(QString, read);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Sfc.ini"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("[Frequent]\r\nPL1=" + value + "\r\nPL2=136MHz---174MHz\r\n");
    f.close();

    QCOMPARE(ReadSetting(F, QStringLiteral("PL1"), path), read);
    QCOMPARE(ReadSetting(F, QStringLiteral("PL2"), path), QStringLiteral("136MHz---174MHz"));

    // Start-up takes the text as it reads; the band label shows it, and a band that does
    // not read as two limits refuses every typed frequency, saying there is no band.
    WorkingCopy wc;
    wc.startUp(path);
    QCOMPARE(wc.bandStringByKey(1), read);
    const auto band = gridrules::readBand(read);
    if (!band)
        QCOMPARE(gridrules::checkLeaveCell(ChannelTable::RxFreq, QStringLiteral("450.00000"), read),
                 gridrules::LeaveOutcome::NoBand);

    // Written back unchanged in every other line.
    QVERIFY(WriteSetting(F, QStringLiteral("PL2"), QStringLiteral("400MHz---470MHz"), path));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), "[Frequent]\r\nPL1=" + value + "\r\nPL2=400MHz---470MHz\r\n");
}

void TestSettingsEncoding::otherLinesKeptByteForByte()
{
    // A file another program wrote in GBK: comments, a section name and values.
    const QByteArray before = "; \xC6\xB5\xC2\xCA\xC9\xE8\xD6\xC3\r\n"
                              "[\xB3\xA3\xD3\xC3]\r\n"
                              "PL1=\xB2\xBB\xCA\xC7\r\n"
                              "[Frequent]\r\n"
                              "PL1=\xFF\xFE\xFD\r\n"
                              "\xB1\xB8\xD7\xA2=\x80\x81\r\n"
                              "PL3=350MHz---390MHz\r\n";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Sfc.ini"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(before);
    f.close();
    QCOMPARE(ReadSetting(F, QStringLiteral("PL3"), path), QStringLiteral("350MHz---390MHz"));
    QCOMPARE(ReadSetting(F, QStringLiteral("PL1"), path), QString(3, R));

    QVERIFY(WriteSetting(F, QStringLiteral("PL3"), QStringLiteral("400MHz---480MHz"), path));
    QVERIFY(WriteSetting(F, QStringLiteral("PL4"), QStringLiteral("136MHz---174MHz"), path));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QByteArray after = before;
    after.replace("PL3=350MHz---390MHz\r\n", "PL3=400MHz---480MHz\r\nPL4=136MHz---174MHz\r\n");
    QCOMPARE(f.readAll(), after);
}

void TestSettingsEncoding::textsUtf8CannotHold_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("written");
    QTest::addColumn<QString>("readBack");
    const QString high(QChar(0xD800));
    const QString low(QChar(0xDC00));
    QTest::newRow("lone high surrogate") << high + QStringLiteral("400MHz") << QByteArray("?400MHz")
                                         << QStringLiteral("?400MHz");
    QTest::newRow("lone low surrogate at the end")
        << QStringLiteral("470MHz") + low << QByteArray("470MHz?") << QStringLiteral("470MHz?");
    QTest::newRow("surrogates the wrong way round") << low + high << QByteArray("??") << QStringLiteral("??");
    QTest::newRow("a pair is one character")
        << QStringLiteral("频😀") << QByteArray("\xE9\xA2\x91\xF0\x9F\x98\x80") << QStringLiteral("频😀");
}

void TestSettingsEncoding::textsUtf8CannotHold()
{
    QFETCH(QString, value);
    QFETCH(QByteArray, written);
    QFETCH(QString, readBack);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Sfc.ini"));
    QVERIFY(WriteSetting(F, QStringLiteral("PL5"), value, path));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), "[Frequent]\r\nPL5=" + written + "\r\n");
    QCOMPARE(ReadSetting(F, QStringLiteral("PL5"), path), readBack);
}

QTEST_GUILESS_MAIN(TestSettingsEncoding)
#include "tst_settingsencoding.moc"
