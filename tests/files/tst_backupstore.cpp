// The backup folder: names, private permissions, the age and count limits applied
// oldest first, foreign files left alone, and the list newest first with what it shows.

#include "files/BackupStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

codec::Image imageWithModel(quint8 model)
{
    codec::Image img;
    for (codec::Block &b : img)
        b.fill(0xFF);
    img[0] = {model, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x04, 0x19};
    img[2] = {0x00, 0x00, 0x01, 0x45, 0x00, 0x00, 0x01, 0x45}; // channel 1: 450.10000
    return img;
}

unsigned mode(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? unsigned(st.st_mode & 0777) : 0u;
}

void touch(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
}

} // namespace

class TestBackupStore : public QObject
{
    Q_OBJECT
private slots:
    void limits_data()
    {
        QTest::addColumn<QList<int>>("ageDays"); // of the backups already there
        QTest::addColumn<int>("expected");       // backups left after one more is stored

        QTest::newRow("young ones stay") << QList<int>{1, 30, 364} << 4;
        QTest::newRow("past a year goes") << QList<int>{1, 366, 400} << 2;
        QList<int> full;
        for (int i = 0; i < BackupStore::MaxFiles; ++i)
            full << 1 + i % 300;
        QTest::newRow("never more than the maximum") << full << int(BackupStore::MaxFiles);
    }
    void limits()
    {
        QFETCH(QList<int>, ageDays);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("backups"));
        QDir().mkpath(folder);
        const QDateTime now(QDate(2026, 12, 8), QTime(12, 0, 0));
        QDateTime oldestKept = now;
        for (int i = 0; i < ageDays.size(); ++i) {
            const QDateTime t = now.addDays(-ageDays[i]).addSecs(-i);
            touch(QDir(folder).filePath(t.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".chp")));
        }
        touch(QDir(folder).filePath(QStringLiteral("notes.chp"))); // not a backup name
        BackupStore store(folder);
        store.now = [now] { return now; };
        const Result<QString> path = store.store(imageWithModel(0x11));
        QVERIFY(path.ok());
        QCOMPARE(QFileInfo(*path).fileName(), QStringLiteral("20261208-120000.chp"));
        const QList<BackupEntry> left = store.list();
        QCOMPARE(left.size(), expected);
        QVERIFY(QFile::exists(QDir(folder).filePath(QStringLiteral("notes.chp"))));
        // Newest first, and what was removed was older than all that stayed.
        for (qsizetype i = 1; i < left.size(); ++i)
            QVERIFY(left[i - 1].taken >= left[i].taken);
        QCOMPARE(left.first().path, *path);
        QVERIFY(left.last().taken >= now.addDays(-BackupStore::KeepDays));
    }

    void sameSecondPrivateAndListed()
    {
        QTemporaryDir dir;
        BackupStore store(dir.filePath(QStringLiteral("a/backups")));
        const QDateTime now(QDate(2026, 1, 2), QTime(3, 4, 5));
        store.now = [now] { return now; };
        const Result<QString> first = store.store(imageWithModel(0x11));
        const Result<QString> second = store.store(imageWithModel(0x24));
        QVERIFY(first.ok() && second.ok());
        QCOMPARE(QFileInfo(*second).fileName(), QStringLiteral("20260102-030405-2.chp"));
        QCOMPARE(mode(store.folder()), 0700u);
        QCOMPARE(mode(*first), 0600u);
        QCOMPARE(mode(*second), 0600u);
        const QList<BackupEntry> list = store.list();
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0].path, *second);
        QCOMPARE(list[0].model, QStringLiteral("MX--905A(1)"));
        QCOMPARE(list[1].model, QStringLiteral("MX--905B(1)"));
        QCOMPARE(list[1].firstChannel, QStringLiteral("450.10000"));
        QFile f(*first);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), imageChannelText(imageWithModel(0x11)));
    }

    void unwritableFolderFailsCleanly()
    {
        QTemporaryDir dir;
        touch(dir.filePath(QStringLiteral("file")));
        BackupStore store(dir.filePath(QStringLiteral("file/backups")));
        const Result<QString> path = store.store(imageWithModel(0x11));
        QVERIFY(!path.ok());
        QVERIFY(!path.failure().description.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestBackupStore)
#include "tst_backupstore.moc"
