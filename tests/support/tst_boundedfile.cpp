#include "support/BoundedFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// Only a regular file is read, at once and never past its bound; everything else
// fails without blocking: a FIFO nobody writes to, a terminal, an endless device.
class TestBoundedFile : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void read_data();
    void read();
};

void TestBoundedFile::read_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("oversize");
    QTest::addColumn<int>("failure"); // 0: read
    QTest::addColumn<QByteArray>("expected");

    const int refuse = int(Oversize::Refuse);
    const int prefix = int(Oversize::TakePrefix);
    const QByteArray tenK(10000, 'x');
    QTest::newRow("regular") << "file" << QByteArray("abc") << refuse << 0 << QByteArray("abc");
    QTest::newRow("empty") << "file" << QByteArray("") << refuse << 0 << QByteArray("");
    QTest::newRow("exactly the bound") << "file" << QByteArray(4096, 'y') << refuse << 0 << QByteArray(4096, 'y');
    QTest::newRow("over the bound: refused") << "file" << tenK << refuse << 75 << QByteArray();
    QTest::newRow("over the bound: its prefix") << "file" << tenK << prefix << 0 << QByteArray(4096, 'x');
    QTest::newRow("link to a regular file") << "link" << QByteArray("abc") << refuse << 0 << QByteArray("abc");
    QTest::newRow("missing") << "missing" << QByteArray() << refuse << 53 << QByteArray();
    QTest::newRow("dangling link") << "dangling" << QByteArray() << refuse << 53 << QByteArray();
    QTest::newRow("folder") << "folder" << QByteArray() << refuse << 75 << QByteArray();
    QTest::newRow("FIFO without writer") << "fifo" << QByteArray() << prefix << 75 << QByteArray();
    QTest::newRow("/dev/null") << "/dev/null" << QByteArray() << prefix << 75 << QByteArray();
    QTest::newRow("link to the zero device") << "zero" << QByteArray() << prefix << 75 << QByteArray();
    QTest::newRow("a terminal") << "/dev/ptmx" << QByteArray() << prefix << 75 << QByteArray();
}

void TestBoundedFile::read()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, content);
    QFETCH(int, oversize);
    QFETCH(int, failure);
    QFETCH(QByteArray, expected);

    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()));
    const QString target = path + QStringLiteral(".target");
    QFile f(kind == QStringLiteral("link") ? target : path);
    if (kind == QStringLiteral("file") || kind == QStringLiteral("link")) {
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(content);
        f.close();
    }
    if (kind == QStringLiteral("link"))
        QVERIFY(QFile::link(target, path));
    if (kind == QStringLiteral("dangling"))
        QVERIFY(QFile::link(target, path));
    if (kind == QStringLiteral("zero"))
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
    if (kind == QStringLiteral("folder"))
        QVERIFY(QDir().mkdir(path));
    if (kind == QStringLiteral("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    const QString name = kind.startsWith(QLatin1Char('/')) ? kind : path;

    const Result<QByteArray> r = readRegularFile(name, 4096, Oversize(oversize));
    QCOMPARE(r.ok(), failure == 0);
    if (failure) {
        QCOMPARE(r.failure().number, failure);
        QVERIFY2(r.failure().description.startsWith(name), qPrintable(r.failure().description));
    } else {
        QCOMPARE(*r, expected);
    }
}

QTEST_GUILESS_MAIN(TestBoundedFile)
#include "tst_boundedfile.moc"
