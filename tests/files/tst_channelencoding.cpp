// Channel files with bytes that are no ASCII text: GBK, broken UTF-8, UTF-16, NUL.
// The reader never crashes; a token it needs as a number fails with the line named;
// a frequency token is copied into its cell with every undecodable byte shown as
// U+FFFD, and such a cell is refused by the save, naming channel and column, while the
// old file stays as it was.

#include "channels/WorkingCopy.h"
#include "files/ChannelFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray exampleFile()
{
    QFile f(QStringLiteral(TARNIK_TEST_DATA "/example.chp"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The example with token `token` (from 1) of line `line` (from 1) replaced.
QByteArray withToken(int line, int token, const QByteArray &bytes)
{
    QList<QByteArray> lines = exampleFile().split('\n');
    QByteArray &l = lines[line - 1];
    l.replace(3 * (token - 1), 2, bytes);
    return lines.join('\n');
}

// Cells holding anything but printable text.
QStringList oddCells(const WorkingCopy &wc)
{
    QStringList odd;
    for (int r = 1; r < ChannelTable::Rows; ++r) {
        for (int c = 1; c < ChannelTable::Columns; ++c) {
            const QString t = wc.cell(r, c);
            for (QChar ch : t) {
                if (ch == QChar::ReplacementCharacter || ch.unicode() < 0x20) {
                    odd << QStringLiteral("%1,%2").arg(r).arg(c);
                    break;
                }
            }
        }
    }
    return odd;
}

// A message for a box or a terminal: no control characters, which would cut it short
// or reach the terminal raw.
bool printable(const QString &message)
{
    for (QChar ch : message)
        if (ch.unicode() < 0x20)
            return false;
    return true;
}

} // namespace

class TestChannelEncoding : public QObject
{
    Q_OBJECT
private slots:
    void undecodableBytes_data();
    void undecodableBytes();
};

void TestChannelEncoding::undecodableBytes_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("loads");
    QTest::addColumn<int>("failedLine"); // the line a failure names
    QTest::addColumn<QStringList>("oddCells"); // "row,column" of cells with U+FFFD or controls
    QTest::addColumn<bool>("asExample"); // loads and saves exactly as the example

    const QByteArray example = exampleFile();
    const auto odd = [](const char *cell) { return QStringList{QString::fromLatin1(cell)}; };
    // Line 3 holds channel 1: tokens 5–8 its receive frequency, 9–12 its transmit frequency.
    QTest::newRow("GBK 道 in a frequency token") << withToken(3, 5, "\xB5\xC0") << true << 0 << odd("1,1") << false;
    QTest::newRow("FF FE in a frequency token") << withToken(3, 9, "\xFF\xFE") << true << 0 << odd("1,2") << false;
    QTest::newRow("UTF-8 cut after two of three bytes")
        << withToken(3, 6, "\xE4\xBD") << true << 0 << odd("1,1") << false;
    QTest::newRow("UTF-8 of a surrogate") << withToken(3, 5, "\xED\xA0\x80") << true << 0 << odd("1,1") << false;
    QTest::newRow("overlong UTF-8 slash") << withToken(3, 5, "\xC0\xAF") << true << 0 << odd("1,1") << false;
    QTest::newRow("NUL bytes in a frequency token")
        << withToken(3, 5, QByteArray(2, '\0')) << true << 0 << odd("1,1") << false;
    // Tokens read as numbers or list codes: an odd one never matches.
    QTest::newRow("GBK in the flags token") << withToken(1, 9, "\xB5\xC0") << false << 1 << QStringList{} << false;
    QTest::newRow("GBK in the time-out token") << withToken(1, 10, "\xB5\xC0") << false << 1 << QStringList{} << false;
    QTest::newRow("GBK in a signalling token") << withToken(4, 5, "\xB5\xC0") << true << 0 << QStringList{} << false;
    QTest::newRow("GBK in the model token") << withToken(1, 5, "\xB5\xC0") << true << 0 << QStringList{} << false;
    // Bytes the reader never looks at.
    QTest::newRow("UTF-8 byte-order mark")
        << QByteArray("\xEF\xBB\xBF") + example << true << 0 << QStringList{} << true;
    QTest::newRow("GBK text after the twelfth token")
        << withToken(3, 12, "45 \xD0\xC5\xB5\xC0") << true << 0 << QStringList{} << true;
    QTest::newRow("FF FE in the address tokens") << withToken(3, 2, "\xFF\xFE") << true << 0 << QStringList{} << true;
    QTest::newRow("garbage after line 34") << withToken(40, 7, "\xB5\xC0\xFF") << true << 0 << QStringList{} << true;
    QByteArray utf16;
    for (char c : example)
        utf16 += QByteArray(1, c) + '\0';
    QTest::newRow("the example as UTF-16") << QByteArray("\xFF\xFE") + utf16 << false << 1 << QStringList{} << false;
    QTest::newRow("GBK text file") << QByteArray("\xD0\xC5\xB5\xC0\xCE\xC4\xBC\xFE\r\n").repeated(128) << false << 1
                                   << QStringList{} << false;
}

void TestChannelEncoding::undecodableBytes()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, loads);
    QFETCH(int, failedLine);
    QFETCH(QStringList, oddCells);
    QFETCH(bool, asExample);

    WorkingCopy wc;
    wc.startUp(QString());
    const LoadOutcome r = loadChannelText(wc, file);
    QCOMPARE(r.kind, loads ? LoadOutcome::Loaded : LoadOutcome::Failed);
    if (!loads) {
        QVERIFY2(r.failure.description.contains(QStringLiteral("第 %1 行").arg(failedLine)),
                 qPrintable(r.failure.description));
        // The token is quoted as it stands, NUL bytes included.
        QVERIFY(printable(r.failure.description));
    }
    QCOMPARE(::oddCells(wc), oddCells);

    const Result<QByteArray> text = channelFileText(wc);
    if (asExample) {
        QVERIFY(text.ok());
        QCOMPARE(*text, exampleFile());
    }
    if (oddCells.isEmpty()) {
        QVERIFY(text.ok());
        return;
    }
    // The save names the first odd cell and leaves the old file alone.
    QVERIFY(!text.ok());
    const int row = oddCells[0].section(QLatin1Char(','), 0, 0).toInt();
    const int column = oddCells[0].section(QLatin1Char(','), 1, 1).toInt();
    QVERIFY2(text.failure().description.contains(QStringLiteral("第 %1 信道").arg(row)),
             qPrintable(text.failure().description));
    QVERIFY(text.failure().description.contains(ChannelTable::columnTitles()[column]));
    QVERIFY(printable(text.failure().description));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("old.chp"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    QVERIFY(!saveChannelFile(wc, path).ok());
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
}

QTEST_GUILESS_MAIN(TestChannelEncoding)
#include "tst_channelencoding.moc"
