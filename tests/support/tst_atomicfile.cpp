#include "support/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

} // namespace

// What a save does to what is at its path: a regular file is replaced, a link is
// written through and stays a link, anything else is refused and left as it was; no
// temporary file survives either way.
class TestAtomicFile : public QObject
{
    Q_OBJECT

private slots:
    void targets_data();
    void targets();
    void fileSizeLimitIsAFailure();
};

void TestAtomicFile::targets_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message"); // empty: saved
    QTest::newRow("new file") << "none" << "";
    QTest::newRow("regular file") << "file" << "";
    QTest::newRow("link to a file") << "link" << "";
    QTest::newRow("link to a link to a file") << "link2" << "";
    QTest::newRow("dangling link") << "dangling" << "";
    QTest::newRow("read-only file") << "readonly" << "文件只读";
    QTest::newRow("link to a read-only file") << "link-readonly" << "文件只读";
    QTest::newRow("folder") << "folder" << "文件夹";
    QTest::newRow("FIFO") << "fifo" << "FIFO";
    QTest::newRow("link to /dev/null") << "null" << "设备";
    QTest::newRow("link loop") << "loop" << "";
}

void TestAtomicFile::targets()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QString path = dir.filePath(QStringLiteral("f.chp"));
    const QString target = dir.filePath(QStringLiteral("target.chp"));
    auto write = [](const QString &p) {
        QFile f(p);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old");
    };
    const bool readOnly = kind.endsWith(QStringLiteral("readonly"));
    if (kind == QStringLiteral("file") || kind == QStringLiteral("readonly"))
        write(path);
    if (kind == QStringLiteral("link") || kind == QStringLiteral("link-readonly") || kind == QStringLiteral("link2"))
        write(target);
    if (kind == QStringLiteral("link") || kind == QStringLiteral("dangling") || kind == QStringLiteral("link-readonly"))
        QVERIFY(QFile::link(QStringLiteral("target.chp"), path)); // relative, as users make them
    if (kind == QStringLiteral("link2")) {
        QVERIFY(QFile::link(target, dir.filePath(QStringLiteral("middle"))));
        QVERIFY(QFile::link(QStringLiteral("middle"), path));
    }
    if (readOnly)
        QVERIFY(::chmod(QFile::encodeName(kind == QStringLiteral("readonly") ? path : target).constData(), 0444) == 0);
    if (kind == QStringLiteral("folder"))
        QVERIFY(dir.mkdir(QStringLiteral("f.chp")));
    if (kind == QStringLiteral("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    if (kind == QStringLiteral("null"))
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), path));
    if (kind == QStringLiteral("loop"))
        QVERIFY(QFile::link(QStringLiteral("f.chp"), path));
    const QStringList before = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);

    const Status s = writeFileAtomically(path, "new");

    const bool link = kind.startsWith(QStringLiteral("link")) || kind == QStringLiteral("dangling");
    const QString written = link ? target : path;
    if (kind == QStringLiteral("loop")) {
        QVERIFY(!s.ok());
    } else if (message.isEmpty()) {
        QVERIFY2(s.ok(), s.ok() ? "" : qPrintable(s.failure().description));
        QCOMPARE(contents(written), QByteArray("new"));
        QCOMPARE(QFileInfo(path).isSymLink(), link);
    } else {
        QVERIFY(!s.ok());
        QVERIFY2(s.failure().description.contains(message), qPrintable(s.failure().description));
        QVERIFY(s.failure().description.startsWith(path));
        if (readOnly || kind == QStringLiteral("file"))
            QCOMPARE(contents(written), QByteArray("old"));
        QCOMPARE(QFileInfo(path).isSymLink(), link || kind == QStringLiteral("null"));
    }
    // Nothing new is left beside the target but the file itself.
    QStringList after = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : before)
        after.removeOne(name);
    after.removeOne(QFileInfo(written).fileName());
    QCOMPARE(after, QStringList());
}

// Under `ulimit -f`, a write past the limit would end the process with SIGXFSZ. The
// save must report it instead; the child runs with the signal's default disposition.
void TestAtomicFile::fileSizeLimitIsAFailure()
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("big.chp"));
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const Status s = writeFileAtomically(path, QByteArray(5000, 'x'));
        ::_exit(!s.ok() && s.failure().number == Failure::DiskFull && s.failure().description.contains(QStringLiteral("ulimit"))
                    ? 0
                    : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(!WIFSIGNALED(status), "killed by a signal");
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(QDir(tmp.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

QTEST_GUILESS_MAIN(TestAtomicFile)
#include "tst_atomicfile.moc"
