#include "settings/SettingsFile.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include "../FileSizeLimit.h"

class TstSettingsFile : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString &name, const QByteArray &content)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return path;
    }
    QByteArray read(const QString &path)
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    const QString F = QStringLiteral("Frequent");

private slots:
    void readValue_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        const QByteArray one = "[Frequent]\r\nPL1=400MHz---470MHz\r\n";
        QTest::newRow("present") << one << "PL1"
                                 << "400MHz---470MHz";
        QTest::newRow("other key missing") << one << "PL2"
                                           << "";
        QTest::newRow("blanks around") << QByteArray("[Frequent]\r\nPL1=  400MHz---470MHz  \r\n") << "PL1"
                                       << "400MHz---470MHz";
        QTest::newRow("key and section in other case") << QByteArray("[FREQUENT]\nPl1 = 136MHz---174MHz\n") << "PL1"
                                                       << "136MHz---174MHz";
        QTest::newRow("other section") << QByteArray("[Other]\r\nPL1=x\r\n[Frequent]\r\nPL2=y\r\n") << "PL1"
                                       << "";
        QTest::newRow("NUL ends value") << QByteArray("[Frequent]\nPL1=400MHz\0junk\n", 26) << "PL1"
                                        << "400MHz";
        QTest::newRow("127 bytes at most")
            << QByteArray("[Frequent]\nPL1=" + QByteArray(200, 'A') + "\n") << "PL1" << QString(127, QLatin1Char('A'));
        QTest::newRow("no newline at end") << QByteArray("[Frequent]\nPL1=abc") << "PL1"
                                           << "abc";
        QTest::newRow("binary garbage") << QByteArray("\xff\xfe[\x00]\n=\n===\n[", 12) << "PL1"
                                        << "";
        QTest::newRow("empty file") << QByteArray() << "PL1"
                                    << "";
        // Control characters would reach a terminal or a message box raw.
        const QString r(QChar::ReplacementCharacter);
        QTest::newRow("ESC") << QByteArray("[Frequent]\nPL1=400\x1b[31mMHz\n") << "PL1"
                             << QStringLiteral("400") + r + QStringLiteral("[31mMHz");
        QTest::newRow("C1 CSI in UTF-8") << QByteArray("[Frequent]\nPL1=400\xc2\x9b"
                                                       "2J\n")
                                         << "PL1" << QStringLiteral("400") + r + QStringLiteral("2J");
        QTest::newRow("DEL and BEL") << QByteArray("[Frequent]\nPL1=4\x7f"
                                                   "0\x07\n")
                                     << "PL1" << QStringLiteral("4") + r + QStringLiteral("0") + r;
    }

    void readValue()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        const QString path = write(QStringLiteral("r.ini"), content);
        QCOMPARE(ReadSetting(F, key, path), expected);
    }

    // Anything but a regular file of at most 1 MiB reads as no file at all, at once,
    // and is never replaced by a file holding only the new key; nor does a write take
    // the file past what the next start reads.
    void specialFilesReadEmpty_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("band1");
        QTest::newRow("1 MiB") << "1MiB"
                               << "400MHz---470MHz";
        QTest::newRow("1 MiB and a byte") << "big"
                                          << "";
        QTest::newRow("FIFO") << "fifo"
                              << "";
        QTest::newRow("link to the zero device") << "/dev/zero"
                                                 << "";
        QTest::newRow("link to a terminal") << "/dev/ptmx"
                                            << "";
    }
    void specialFilesReadEmpty()
    {
        QFETCH(QString, kind);
        QFETCH(QString, band1);
        const QString name = QString::fromLatin1(QTest::currentDataTag()) + QStringLiteral(".ini");
        const QString path = m_dir.filePath(name);
        QByteArray content = "[Frequent]\r\nPL1=400MHz---470MHz\r\n";
        content += QByteArray(settings::maxFileSize - content.size() + (kind == QStringLiteral("big")), ';');
        if (kind == QStringLiteral("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind.startsWith(QLatin1Char('/')))
            QVERIFY(QFile::link(kind, path));
        else
            write(name, content);

        const std::array<QString, 6> bands = settings::readBands(path);
        QCOMPARE(bands, (std::array<QString, 6>{band1}));
        QVERIFY(!WriteSetting(F, QStringLiteral("PL2"), QStringLiteral("136MHz---174MHz"), path));
        if (!kind.startsWith(QLatin1Char('/')) && kind != QStringLiteral("fifo"))
            QCOMPARE(read(path), content);
    }

    void missingFileReadsEmpty()
    {
        QCOMPARE(ReadSetting(F, QStringLiteral("PL1"), m_dir.filePath(QStringLiteral("none.ini"))), QString());
        QCOMPARE(ReadSetting(F, QStringLiteral("PL1"), QString()), QString());
    }

    void writeKeepsOtherLines_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("replace PL6, keep PL4 and comments")
            << QByteArray("; bands\r\n[Frequent]\r\nPL4=400MHz---470MHz\r\nPL6 = old\r\n\r\n[Other]\r\nx=1\r\n")
            << "PL6"
            << QByteArray(
                   "; bands\r\n[Frequent]\r\nPL4=400MHz---470MHz\r\nPL6=136MHz---174MHz\r\n\r\n[Other]\r\nx=1\r\n");
        QTest::newRow("new key goes to the end of its section")
            << QByteArray("[Frequent]\nPL1=a\n\n[Other]\nx=1\n") << "PL6"
            << QByteArray("[Frequent]\nPL1=a\nPL6=136MHz---174MHz\n\n[Other]\nx=1\n");
        QTest::newRow("missing section appended")
            << QByteArray("[Other]\r\nx=1") << "PL1"
            << QByteArray("[Other]\r\nx=1\r\n[Frequent]\r\nPL1=136MHz---174MHz\r\n");
    }
    void writeKeepsOtherLines()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, key);
        QFETCH(QByteArray, after);
        const QString path = write(QStringLiteral("w.ini"), before);
        QVERIFY(WriteSetting(F, key, QStringLiteral("136MHz---174MHz"), path));
        QCOMPARE(read(path), after);
        QCOMPARE(ReadSetting(F, key, path), QStringLiteral("136MHz---174MHz"));
    }

    void writeCreatesFile()
    {
        const QString path = m_dir.filePath(QStringLiteral("sub/new.ini"));
        QVERIFY(WriteSetting(F, QStringLiteral("PL1"), QStringLiteral("400MHz---470MHz"), path));
        QCOMPARE(read(path), QByteArray("[Frequent]\r\nPL1=400MHz---470MHz\r\n"));
    }

    void writeCutsValueAt128()
    {
        const QString path = m_dir.filePath(QStringLiteral("long.ini"));
        QVERIFY(WriteSetting(F, QStringLiteral("PL1"), QString(300, QLatin1Char('9')), path));
        QCOMPARE(read(path), "[Frequent]\r\nPL1=" + QByteArray(128, '9') + "\r\n");
    }

    void failedWriteLeavesFile()
    {
        // A path below a regular file cannot be created.
        const QString blocker = write(QStringLiteral("blocker"), "x");
        QVERIFY(!WriteSetting(F, QStringLiteral("PL1"), QStringLiteral("v"), blocker + QStringLiteral("/Sfc.ini")));
        QVERIFY(!WriteSetting(F, QStringLiteral("PL1"), QStringLiteral("v"), m_dir.path()));
        QCOMPARE(read(blocker), QByteArray("x"));
    }

    void fullDiskLeavesFile()
    {
        const QString path = write(QStringLiteral("full.ini"), "[Frequent]\r\nPL1=400MHz---470MHz\r\n");
        const bool ok = [&] {
            const FileSizeLimit limit(20);
            return WriteSetting(F, QStringLiteral("PL2"), QStringLiteral("136MHz---174MHz"), path);
        }();
        QVERIFY(!ok);
        QCOMPARE(read(path), QByteArray("[Frequent]\r\nPL1=400MHz---470MHz\r\n"));
    }

    void fileNameMatchesAnyCase()
    {
        QTemporaryDir d;
        QCOMPARE(settings::findCaseInsensitive(d.path(), QStringLiteral("Sfc.ini")),
                 d.filePath(QStringLiteral("Sfc.ini")));
        QFile f(d.filePath(QStringLiteral("SFC.INI")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QCOMPARE(settings::findCaseInsensitive(d.path(), QStringLiteral("Sfc.ini")),
                 d.filePath(QStringLiteral("SFC.INI")));
    }

    void userFileFallsBackBesideExecutable()
    {
        QStandardPaths::setTestModeEnabled(true);
        const QString user = settings::userSettingsPath();
        QFile::remove(user);
        // No per-user file and none beside the test executable: the per-user path reads empty.
        QCOMPARE(settings::readPath(), user);
        QVERIFY(WriteSetting(F, QStringLiteral("PL1"), QStringLiteral("400MHz---470MHz"), settings::writePath()));
        QCOMPARE(settings::readPath(), user);
        QCOMPARE(ReadSetting(F, QStringLiteral("PL1"), settings::readPath()), QStringLiteral("400MHz---470MHz"));
        QFile::remove(user);
    }
};

QTEST_GUILESS_MAIN(TstSettingsFile)
#include "tst_settingsfile.moc"
