#include "support/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// What a save does to what is at its path: a regular file is replaced, a link is
// written through and stays a link, anything else is refused and left as it was; no
// temporary file survives either way. (A file-size limit: see the CLI test, which runs
// a real process with SIGXFSZ at its default.)
class TestAtomicFile : public QObject
{
    Q_OBJECT

private slots:
    void targets_data();
    void targets();
};

void TestAtomicFile::targets_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message"); // empty: saved
    QTest::newRow("regular file") << "file"
                                  << "";
    QTest::newRow("relative link to a file") << "link"
                                             << "";
    QTest::newRow("dangling link") << "dangling"
                                   << "";
    QTest::newRow("read-only file") << "readonly"
                                    << "文件只读";
    QTest::newRow("folder") << "folder"
                            << "文件夹";
    QTest::newRow("FIFO") << "fifo"
                          << "FIFO";
    QTest::newRow("link to /dev/null") << "null"
                                       << "设备";
}

void TestAtomicFile::targets()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QString path = dir.filePath(QStringLiteral("f.chp"));
    const bool link = kind == QStringLiteral("link") || kind == QStringLiteral("dangling");
    const QString written = link ? dir.filePath(QStringLiteral("target.chp")) : path;
    if (kind == QStringLiteral("file") || kind == QStringLiteral("readonly") || kind == QStringLiteral("link")) {
        QFile f(written);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    if (link)
        QVERIFY(QFile::link(QStringLiteral("target.chp"), path));
    if (kind == QStringLiteral("readonly"))
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0); // refused even for root
    if (kind == QStringLiteral("folder"))
        QVERIFY(dir.mkdir(QStringLiteral("f.chp")));
    if (kind == QStringLiteral("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    if (kind == QStringLiteral("null"))
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), path));
    const auto entries = [&dir] {
        QStringList e = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        e.sort();
        return e;
    };
    QStringList expected = entries();
    if (!expected.contains(QFileInfo(written).fileName()))
        expected << QFileInfo(written).fileName();
    expected.sort();

    const Status s = writeFileAtomically(path, "new");

    QFile f(written);
    if (message.isEmpty()) {
        QVERIFY2(s.ok(), s.ok() ? "" : qPrintable(s.failure().description));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("new"));
    } else {
        QVERIFY(!s.ok());
        QVERIFY2(s.failure().description.contains(message), qPrintable(s.failure().description));
        QVERIFY(s.failure().description.startsWith(path));
        if (kind == QStringLiteral("readonly")) {
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("old"));
        }
    }
    QCOMPARE(QFileInfo(path).isSymLink(), link || kind == QStringLiteral("null"));
    QCOMPARE(entries(), expected); // no temporary file left beside it
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
