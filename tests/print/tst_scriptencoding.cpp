// Texts on their way into the GBK page script that GBK cannot hold: characters outside
// GBK, lone surrogates, the replacement character that undecodable file bytes leave in
// band strings and cells. Each such character becomes one "?"; the script keeps its
// structure and the rest of every text.

#include "channels/WorkingCopy.h"
#include "print/PageScript.h"
#include "print/Report.h"
#include "print/ScriptReader.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The texts of the script's text commands, in order.
QStringList scriptTexts(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList texts;
    parseScript(f.readAll(), [&](const ScriptCommand &c) {
        if (c.kind == ScriptCommand::TxtL || c.kind == ScriptCommand::TxtC || c.kind == ScriptCommand::TxtR)
            texts << c.arg;
        return true;
    });
    return texts;
}

} // namespace

class TestScriptEncoding : public QObject
{
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale::c()); }
    void textsGbkLacks_data();
    void textsGbkLacks();
    void reportWithTextsGbkLacks();
};

void TestScriptEncoding::textsGbkLacks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    const QString high(QChar(0xD83D));
    const QString low(QChar(0xDE00));
    QTest::newRow("a character beyond the BMP") << QStringLiteral("😀") << QByteArray("?");
    QTest::newRow("lone high surrogate") << QStringLiteral("a") + high + QStringLiteral("b") << QByteArray("a?b");
    QTest::newRow("lone low surrogate") << QStringLiteral("a") + low << QByteArray("a?");
    QTest::newRow("high surrogate at the very end") << QStringLiteral("频") + high << QByteArray("\xC6\xB5?");
    QTest::newRow("pair the wrong way round") << low + high << QByteArray("??");
    QTest::newRow("replacement character")
        << QStringLiteral("450.100") + QChar(QChar::ReplacementCharacter) << QByteArray("450.100?");
    QTest::newRow("Korean and Arabic") << QStringLiteral("한글 مرحبا") << QByteArray("?? ?????");
    QTest::newRow("between Chinese") << QStringLiteral("频😀率") << QByteArray("\xC6\xB5?\xC2\xCA");
    QTest::newRow("5000 at once") << QString(5000, QChar(0x0E01)) << QByteArray(5000, '?');
}

void TestScriptEncoding::textsGbkLacks()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    // The converter keeps a high surrogate at the end of its input for a low one that
    // never comes, and the encoder is dropped with it still pending: the character is
    // lost instead of shown as "?".
    QCOMPARE(encodeScriptText(text), bytes);
}

void TestScriptEncoding::reportWithTextsGbkLacks()
{
    // A band string from a settings file with undecodable bytes and characters GBK lacks,
    // cells as the channel-file reader leaves undecodable tokens.
    const QChar r = QChar::ReplacementCharacter;
    WorkingCopy wc;
    wc.startUp(QString());
    wc.setBandStringForModelRow(0, QStringLiteral("400MHz") + r + QChar(0xD800) + QStringLiteral("😀470MHz"));
    wc.selectModel(0);
    wc.setCell(1, ChannelTable::RxFreq, QStringLiteral("450.100") + r + r);
    wc.setCell(2, ChannelTable::TxFreq, QStringLiteral("450.1") + QChar(0) + QChar(0) + QStringLiteral("00"));
    wc.setCell(3, ChannelTable::RxSignal, QStringLiteral("한"));

    WorkingCopy clean;
    clean.startUp(QString());
    clean.setBandStringForModelRow(0, QStringLiteral("400MHz---470MHz"));
    clean.selectModel(0);

    QTemporaryDir dir;
    PageScript script(dir.path());
    QStringList notices;
    script.setNotice([&](const QString &title, const QString &text) { notices << title + text; });
    QVERIFY(writeReport(script, clean));
    const QStringList cleanTexts = scriptTexts(script.path());
    QVERIFY(writeReport(script, wc));
    const QStringList texts = scriptTexts(script.path());
    QVERIFY(notices.isEmpty());

    // The same commands in the same order; only the odd texts differ.
    QCOMPARE(texts.size(), cleanTexts.size());
    QVERIFY(texts.contains(QStringLiteral("频率：400MHz???470MHz")));
    QVERIFY(texts.contains(QStringLiteral("450.100??")));
    QVERIFY(texts.contains(QStringLiteral("450.1") + QChar(0) + QChar(0) + QStringLiteral("00")));
    QVERIFY(texts.contains(QStringLiteral("?")));
    int differ = 0;
    for (qsizetype i = 0; i < texts.size(); ++i)
        differ += texts[i] != cleanTexts[i];
    QCOMPARE(differ, 4);
}

QTEST_MAIN(TestScriptEncoding)
#include "tst_scriptencoding.moc"
