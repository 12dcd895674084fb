#include "channels/WorkingCopy.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using L = WorkingCopy::List;

class TstWorkingCopy : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString settingsWith(const QByteArray &content)
    {
        const QString path = m_dir.filePath(QStringLiteral("Sfc.ini"));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(content);
        return path;
    }
    QString bands()
    {
        return settingsWith("[Frequent]\r\nPL1=400MHz---470MHz\r\nPL2=136MHz---174MHz\r\nPL3=350MHz---390MHz\r\n"
                            "PL4=410MHz---450MHz\r\nPL5=440MHz---480MHz\r\nPL6=300MHz---330MHz\r\n");
    }

private slots:
    void startUpValues()
    {
        WorkingCopy wc;
        wc.startUp(bands());
        const int rows[] = {0, 0, 0, 0, 4, 0, 0};
        for (int i = 0; i < WorkingCopy::ListCount; ++i)
            QCOMPARE(wc.row(L(i)), rows[i]);
        QCOMPARE(wc.listText(L::Squelch), QStringLiteral("4"));
        QCOMPARE(wc.listText(L::Voice), QString::fromUtf16(u"关"));
        QCOMPARE(wc.bandText(), QStringLiteral("400MHz---470MHz"));
        QCOMPARE(wc.modelCode(), QStringLiteral("11"));
        QCOMPARE(wc.modelByte(), QStringLiteral("17"));
        QCOMPARE(wc.functionByte(), QStringLiteral("0"));
        QCOMPARE(wc.voiceByte(), QStringLiteral("255"));
        QCOMPARE(wc.crystalCode(), QStringLiteral("0"));
        QCOMPARE(wc.powerStep(), 5);
        QVERIFY(wc.clearGridOnModelChange);
        QCOMPARE(wc.cell(0, 1), QString::fromUtf16(u"接收频率"));
        QCOMPARE(wc.cell(16, 0), QStringLiteral("16"));
        QCOMPARE(wc.cell(1, 1), QString());
    }

    void noSettingsFileGivesEmptyBands()
    {
        WorkingCopy wc;
        wc.startUp(m_dir.filePath(QStringLiteral("missing.ini")));
        QCOMPARE(wc.bandText(), QString());
        for (int key = 1; key <= 6; ++key)
            QCOMPARE(wc.bandStringByKey(key), QString());
    }

    void onlyFirstBand()
    {
        WorkingCopy wc;
        wc.startUp(settingsWith("[Frequent]\r\nPL1=400MHz---470MHz\r\n"));
        QCOMPARE(wc.bandStringByKey(1), QStringLiteral("400MHz---470MHz"));
        for (int r = 1; r < 6; ++r)
            QCOMPARE(wc.bandStringForModelRow(r), QString());
    }

    void modelSelection_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("byte");
        QTest::newRow("0") << 0 << "400MHz---470MHz"
                           << "11"
                           << "17";
        QTest::newRow("1") << 1 << "136MHz---174MHz"
                           << "12"
                           << "18";
        QTest::newRow("2") << 2 << "350MHz---390MHz"
                           << "13"
                           << "19";
        QTest::newRow("3 uses PL6") << 3 << "300MHz---330MHz"
                                    << "14"
                                    << "20";
        QTest::newRow("4 uses PL4") << 4 << "410MHz---450MHz"
                                    << "24"
                                    << "36";
        QTest::newRow("5 uses PL5") << 5 << "440MHz---480MHz"
                                    << "25"
                                    << "37";
    }
    void modelSelection()
    {
        QFETCH(int, row);
        QFETCH(QString, band);
        QFETCH(QString, code);
        QFETCH(QString, byte);
        WorkingCopy wc;
        wc.startUp(bands());
        wc.setCell(3, 1, QStringLiteral("450.10000"));
        QSignalSpy spy(&wc, &WorkingCopy::bandTextChanged);
        wc.selectModel(row);
        QCOMPARE(wc.bandText(), band);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(wc.modelCode(), code);
        QCOMPARE(wc.modelByte(), byte);
        // A user's model choice empties the channels but keeps titles and numbers.
        QCOMPARE(wc.cell(3, 1), QString());
        QCOMPARE(wc.cell(0, 7), QString::fromUtf16(u"发射功率"));
        QCOMPARE(wc.cell(3, 0), QStringLiteral("3"));
    }

    void modelSelectionWithoutClearingKeepsCells()
    {
        WorkingCopy wc;
        wc.startUp(bands());
        wc.setCell(3, 1, QStringLiteral("450.10000"));
        wc.clearGridOnModelChange = false;
        wc.selectModel(4);
        QCOMPARE(wc.cell(3, 1), QStringLiteral("450.10000"));
        // Activation re-runs the model selection and never clears.
        wc.setBandStringByKey(4, QStringLiteral("420MHz---430MHz"));
        wc.activate();
        QCOMPARE(wc.bandText(), QStringLiteral("420MHz---430MHz"));
        QCOMPARE(wc.cell(3, 1), QStringLiteral("450.10000"));
        QVERIFY(wc.clearGridOnModelChange);
    }

    void voiceByte_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("byte");
        QTest::newRow("关") << 0 << "255";
        QTest::newRow("中文") << 1 << "0";
        QTest::newRow("英文") << 2 << "1";
    }
    void voiceByte()
    {
        QFETCH(int, row);
        QFETCH(QString, byte);
        WorkingCopy wc;
        wc.startUp(QString());
        wc.selectVoice(row);
        QCOMPARE(wc.voiceByte(), byte);
    }

    void functionByteSources()
    {
        WorkingCopy wc;
        wc.startUp(QString());
        // Crystal 14.4 MHz, sign positive, monitor off, power save on: 1010 0000.
        wc.setCrystalChoice(1);
        wc.selectMonitor(1);
        QCOMPARE(wc.functionByte(), QStringLiteral("160"));

        // crystalCode/ifSignCode set but the choices on their first option: the monitor selection
        // reads the choices, the power-save selection reads crystalCode/ifSignCode.
        wc.setCrystalChoice(0);
        wc.setCrystalCode(QStringLiteral("1"));
        wc.setIfSignCode(QStringLiteral("1"));
        wc.selectMonitor(0);
        QCOMPARE(wc.functionByte(), QStringLiteral("0"));
        wc.selectPowerSave(0);
        QCOMPARE(wc.functionByte(), QStringLiteral("48"));
        wc.selectMonitor(1);
        wc.selectPowerSave(1);
        QCOMPARE(wc.functionByte(), QStringLiteral("240"));
    }

    // A state taken over by another working copy arrives whole, runs no selection
    // operation (the cells survive a model row that would clear them) and is signalled.
    void stateTakeOver()
    {
        WorkingCopy from;
        from.startUp(bands());
        from.select(L::Model, 2);
        from.select(L::Squelch, 7);
        from.setCell(3, 1, QStringLiteral("450.10000"));
        from.setPowerStep(9);
        from.setCrystalChoice(1);
        WorkingCopy to;
        to.startUp(QString());
        to.clearGridOnModelChange = true;
        QSignalSpy rows(&to, &WorkingCopy::selectionChanged);
        QSignalSpy tune(&to, &WorkingCopy::tuneChanged);
        to.setState(from.state());
        QVERIFY(to.state() == from.state());
        QCOMPARE(to.cell(3, 1), QStringLiteral("450.10000"));
        QCOMPARE(to.bandText(), from.bandText());
        QCOMPARE(rows.count(), WorkingCopy::ListCount);
        QCOMPARE(tune.count(), 1);
    }

    void refusesRowsOutsideLists()
    {
        WorkingCopy wc;
        wc.startUp(QString());
        QVERIFY(!wc.select(L::TimeOut, 11));
        QVERIFY(!wc.select(L::Squelch, -1));
        QCOMPARE(wc.row(L::TimeOut), 0);
        QVERIFY(!wc.setPowerStep(11));
        QCOMPARE(wc.powerStep(), 5);
    }

    void tableModel()
    {
        WorkingCopy wc;
        wc.startUp(QString());
        ChannelTable *t = wc.channels();
        QCOMPARE(t->rowCount(), 17);
        QCOMPARE(t->columnCount(), 8);
        QSignalSpy spy(t, &QAbstractItemModel::dataChanged);
        QVERIFY(t->setData(t->index(2, 3), QStringLiteral("67"), Qt::EditRole));
        QCOMPARE(wc.cell(2, 3), QStringLiteral("67"));
        QCOMPARE(spy.count(), 1);
        QVERIFY(!(t->flags(t->index(0, 3)) & Qt::ItemIsEditable));
        QVERIFY(!(t->flags(t->index(2, 0)) & Qt::ItemIsEditable));
        wc.clearChannelTable();
        QCOMPARE(wc.cell(0, 0), QString());
    }
};

QTEST_GUILESS_MAIN(TstWorkingCopy)
#include "tst_workingcopy.moc"
