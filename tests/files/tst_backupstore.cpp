// The backup folder: names, private permissions, the age and count limits applied
// oldest first whatever the clocks say, foreign files left alone, and the list newest
// first with what it shows.

#include "files/BackupStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
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

struct Group
{
    int count = 0;
    int nameDays = 0; // before the true time; negative: in the future
    int fileDays = 0;
};

} // namespace

Q_DECLARE_METATYPE(Group)

class TestBackupStore : public QObject
{
    Q_OBJECT
private slots:
    // The age and count limits under clocks set wrong now or when earlier backups were
    // named. A row lists the backups already there as groups of `count` files whose name
    // lies nameDays and whose modification time lies fileDays before the true time (each
    // file one hour older than the one before); the store's clock is clockDays off.
    void pruning_data()
    {
        QTest::addColumn<QList<Group>>("groups");
        QTest::addColumn<int>("clockDays");
        QTest::addColumn<int>("left"); // backups after one more is stored

        const int full = BackupStore::MaxFiles;
        QTest::newRow("young ones stay") << QList<Group>{{30, 1, 1}} << 0 << 31;
        QTest::newRow("past a year goes, beyond the newest 20") << QList<Group>{{20, 1, 1}, {10, 400, 400}} << 0 << 21;
        QTest::newRow("the newest 20 stay however old") << QList<Group>{{25, 400, 400}} << 0 << 20;
        QTest::newRow("name past a year, file young: stays") << QList<Group>{{20, 1, 1}, {10, 400, 30}} << 0 << 31;
        QTest::newRow("name in the future counts as new") << QList<Group>{{20, 1, 1}, {10, -50, 400}} << 0 << 31;
        QTest::newRow("store full: the one oldest goes") << QList<Group>{{full, 1, 1}} << 0 << full;
        QTest::newRow("clock 30 days behind, store full") << QList<Group>{{full, 1, 1}} << -30 << full;
        QTest::newRow("names in the future, store full") << QList<Group>{{full, -100, 1}} << 0 << full;
        QTest::newRow("files in the future, store full") << QList<Group>{{full, -100, -100}} << 0 << full;
        QTest::newRow("clock 400 days ahead, store full") << QList<Group>{{full, 1, 1}} << 400 << 20;
        QTest::newRow("clock 400 days ahead, few") << QList<Group>{{5, 1, 1}} << 400 << 6;
    }
    void pruning()
    {
        QFETCH(QList<Group>, groups);
        QFETCH(int, clockDays);
        QFETCH(int, left);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("backups"));
        QDir().mkpath(folder);
        const QDateTime truth = QDateTime::currentDateTime();
        QMap<QString, QDateTime> before; // path → modification time
        int hour = 0;
        for (const Group &g : groups) {
            for (int i = 0; i < g.count; ++i, ++hour) {
                const QString path = QDir(folder).filePath(
                    truth.addDays(-g.nameDays).addSecs(-3600 * hour).toString(QStringLiteral("yyyyMMdd-HHmmss"))
                    + QStringLiteral(".chp"));
                const QDateTime modified = truth.addDays(-g.fileDays).addSecs(-3600 * hour);
                QFile f(path);
                QVERIFY(f.open(QIODevice::WriteOnly));
                QVERIFY(f.setFileTime(modified, QFileDevice::FileModificationTime));
                before.insert(path, modified);
            }
        }
        touch(QDir(folder).filePath(QStringLiteral("notes.chp"))); // not a backup name
        BackupStore store(folder);
        store.now = [=] { return truth.addDays(clockDays); };

        const Result<QString> stored = store.store(imageWithModel(0x11));
        QVERIFY(stored.ok());
        QVERIFY(QFile::exists(*stored));
        const QList<BackupEntry> after = store.list();
        QCOMPARE(after.size(), left);
        QStringList paths;
        for (const BackupEntry &e : after)
            paths << e.path;
        QVERIFY(paths.contains(*stored));
        QVERIFY(QFile::exists(QDir(folder).filePath(QStringLiteral("notes.chp"))));
        // What went is older, by modification time, than all that stayed.
        QDateTime oldestKept = truth.addYears(10);
        for (const BackupEntry &e : after)
            if (e.path != *stored)
                oldestKept = qMin(oldestKept, before.value(e.path));
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            if (!QFile::exists(it.key()))
                QVERIFY2(it.value() <= oldestKept, qPrintable(it.key()));
    }

    // The port and the fleet position go into the name and come back in the list.
    void origin_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("listedPort");
        QTest::newRow("single write") << QStringLiteral("/dev/ttyUSB0") << 0
                                      << QStringLiteral("20260102-030405_ttyUSB0.chp") << QStringLiteral("ttyUSB0");
        QTest::newRow("fleet radio 7") << QStringLiteral("/dev/pts/3") << 7
                                       << QStringLiteral("20260102-030405_pts-3_7.chp") << QStringLiteral("pts-3");
        QTest::newRow("stable name") << QStringLiteral("/dev/serial/by-id/usb-1a86_USB Serial-if00") << 2
                                     << QStringLiteral("20260102-030405_serial-by-id-usb-1a86-USB-Serial-if00_2.chp")
                                     << QStringLiteral("serial-by-id-usb-1a86-USB-Serial-if00");
        QTest::newRow("unknown port") << QString() << 3 << QStringLiteral("20260102-030405.chp") << QString();
    }
    void origin()
    {
        QFETCH(QString, port);
        QFETCH(int, position);
        QFETCH(QString, name);
        QFETCH(QString, listedPort);
        QTemporaryDir dir;
        BackupStore store(dir.path());
        store.now = [] { return QDateTime(QDate(2026, 1, 2), QTime(3, 4, 5)); };
        const Result<QString> path = store.store(imageWithModel(0x11), {port, position});
        QVERIFY(path.ok());
        QCOMPARE(QFileInfo(*path).fileName(), name);
        const QList<BackupEntry> list = store.list();
        QCOMPARE(list.size(), 1);
        QCOMPARE(list[0].port, listedPort);
        QCOMPARE(list[0].fleetPosition, listedPort.isEmpty() ? 0 : position);
        QCOMPARE(list[0].taken, store.now());
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
