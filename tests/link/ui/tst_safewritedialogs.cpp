// The GUI's safe write: the 编程 menu's choices, 写频 through one progress dialog, the
// result box, and the offer to load the backup into the editor after a failed write.

#include "../../widgets/FakePrompter.h"
#include "../LinkRig.h"

#include "app/Commands.h"
#include "app/MainWindow.h"
#include "files/BackupStore.h"
#include "link/ui/SafeWriteCommands.h"
#include "link/ui/SafeWriteDialog.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

class TestSafeWriteDialogs : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        QDir(BackupStore::defaultFolder()).removeRecursively();
    }

    void menuChoicesAreRemembered()
    {
        QSettings().clear();
        MainWindow mw;
        plugInCommands(mw);
        for (const char *name : {"mnuBackupBeforeWrite", "mnuVerifyAfterWrite"}) {
            QAction *a = mw.findChild<QAction *>(QLatin1String(name));
            QVERIFY(a && a->isCheckable() && a->isChecked());
            a->setChecked(false);
        }
        QVERIFY(mw.findChild<QAction *>(QStringLiteral("mnuFleetWrite")));
        QVERIFY(mw.findChild<QAction *>(QStringLiteral("mnuRestoreBackup")));
        const SafeWriteChoices c = SafeWriteChoices::load();
        QVERIFY(!c.backup && !c.verify);
    }

    void write_data()
    {
        QTest::addColumn<bool>("safe");
        QTest::addColumn<int>("corruptAt");
        QTest::addColumn<int>("radioModel"); // the code in the radio's block 0
        QTest::addColumn<QList<QMessageBox::StandardButton>>("answers"); // after the first question
        QTest::addColumn<QStringList>("told"); // the start of each box after the first question
        QTest::addColumn<int>("sessions");
        QTest::addColumn<bool>("backupLoaded");
        using Answers = QList<QMessageBox::StandardButton>;
        const QString caught = QStringLiteral("校验失败：对讲机中读回的数据有 1 处与写入的不同（写入 → 读回）：\n"
                                              "地址 0x028（不属于任何信道或功能设置的字节）: FF → FE\n请重新写频；写频前的备份：");
        const QString otherModel = QStringLiteral("对讲机机型是 MX--905A(1)，文件机型是 MX--905B(1)");
        QTest::newRow("plain") << false << -1 << 0x11 << Answers{} << QStringList{} << 1 << false;
        QTest::newRow("safe") << true << -1 << 0x11 << Answers{} << QStringList{QStringLiteral("写频完成，校验无误。")} << 3
                              << false;
        QTest::newRow("caught, backup declined")
            << true << 5 << 0x11 << Answers{QMessageBox::No} << QStringList{caught} << 3 << false;
        QTest::newRow("caught, backup loaded")
            << true << 5 << 0x11 << Answers{QMessageBox::Yes} << QStringList{caught} << 3 << true;
        // Another model: asked over the progress dialog; 否 leaves the radio as it was.
        QTest::newRow("other model, not written")
            << true << -1 << 0x24 << Answers{QMessageBox::No}
            << QStringList{otherModel + QStringLiteral("。仍然写频吗？"), otherModel + QStringLiteral("，没有写频")} << 1
            << false;
        QTest::newRow("other model, written anyway")
            << true << -1 << 0x24 << Answers{QMessageBox::Yes}
            << QStringList{otherModel + QStringLiteral("。仍然写频吗？"), QStringLiteral("写频完成，校验无误。")} << 3
            << false;
    }

    void write()
    {
        QFETCH(bool, safe);
        QFETCH(int, corruptAt);
        QFETCH(int, radioModel);
        QFETCH(QList<QMessageBox::StandardButton>, answers);
        QFETCH(QStringList, told);
        QFETCH(int, sessions);
        QFETCH(bool, backupLoaded);
        SafeWriteChoices{safe, safe}.save();
        FakePrompter prompter;
        prompter.answers = QList<QMessageBox::StandardButton>{QMessageBox::Ok} + answers;
        RadioSimOptions o;
        o.corruptAtBlock = corruptAt;
        codec::Image memory = RadioSim::factoryImage();
        memory[0][0] = quint8(radioModel);
        LinkRig rig(o, memory);
        rig.clock.processQtEvents = true;
        safeWriteCommand(nullptr, rig.wc, rig.link, true);

        QVERIFY(!rig.link.isOpen());
        QCOMPARE(rig.line.sessions.size(), sessions);
        // One opening of the port for all stages.
        QCOMPARE(std::count_if(rig.line.trace.begin(), rig.line.trace.end(),
                               [](const SimTransport::Event &e) { return e.kind == SimTransport::Event::Open; }),
                 1);
        QCOMPARE(prompter.shown.size(), 1 + told.size());
        QCOMPARE(prompter.shown[0].text, QStringLiteral("确定要开始写频吗?"));
        for (int i = 0; i < told.size(); ++i)
            QVERIFY2(prompter.shown[1 + i].text.startsWith(told[i]), qPrintable(prompter.shown[1 + i].text));
        // The backup holds the factory memory, whose channel 1 has the tone 67; the
        // editor written had none.
        QCOMPARE(rig.wc.cell(1, ChannelTable::RxSignal) == QStringLiteral("67"), backupLoaded);
    }

    // A reply that is late by seconds: the dialog counts them instead of showing a bar
    // that has stopped, and hides the count again once the reply has come.
    void waitingIsCounted()
    {
        SafeWriteChoices{true, true}.save();
        FakePrompter prompter;
        RadioSimOptions o;
        o.silentAfterBlock = 40;
        LinkRig rig(o);
        rig.clock.processQtEvents = true;
        QStringList seen;
        // The backup read's reply to block 41 never comes; look 3.5 s into that wait.
        // Looked at after the dialog has been told: connected once the write runs.
        QMetaObject::Connection watch;
        watch = QObject::connect(&rig.link, &RadioLink::captionChanged, [&] {
            QObject::disconnect(watch);
            QObject::connect(&rig.link, &RadioLine::waitingForRadio, [&](int) {
                auto *dialog = qobject_cast<SafeWriteDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                QLabel *label = dialog->waitingLabel();
                seen << (label->isVisible() ? label->text() : QString());
                QCOMPARE(dialog->progressBar()->value(), 41);
            });
        });
        safeWriteCommand(nullptr, rig.wc, rig.link, true);
        QCOMPARE(seen, (QStringList{QStringLiteral("等待对讲机应答… 1 秒"), QStringLiteral("等待对讲机应答… 2 秒"),
                                    QStringLiteral("等待对讲机应答… 3 秒"), QStringLiteral("等待对讲机应答… 4 秒"),
                                    QString()}));
        QVERIFY(prompter.shown.last().text.contains(QStringLiteral("备份读频失败，没有写频，对讲机未被改动")));
    }

    // 批量写频: a radio, "请连接第 2 台对讲机" answered 确定, a second radio, the third
    // refused; the table holds both and the dialog stays with the summary until closed.
    void fleet()
    {
        SafeWriteChoices{true, true}.save();
        FakePrompter prompter;
        prompter.answers = {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Cancel};
        LinkRig rig;
        rig.clock.processQtEvents = true;
        QString summary;
        int rows = 0;
        std::function<void()> closeWhenDone = [&] {
            auto *dialog = qobject_cast<SafeWriteDialog *>(QApplication::activeModalWidget());
            if (dialog && dialog->cancelButton()->text() == QStringLiteral("确定")) {
                summary = dialog->findChild<QLabel *>(QStringLiteral("lblSummary"))->text();
                rows = dialog->table()->rowCount();
                dialog->cancelButton()->click();
                return;
            }
            QTimer::singleShot(50, closeWhenDone);
        };
        QTimer::singleShot(50, closeWhenDone);
        fleetWriteCommand(nullptr, rig.wc, rig.link, true);
        QCOMPARE(rows, 2);
        QVERIFY2(summary.startsWith(QStringLiteral("成功 2 台，失败 0 台")), qPrintable(summary));
        QCOMPARE(prompter.shown[1].text, QStringLiteral("请连接第 2 台对讲机"));
        QCOMPARE(rig.line.sessions.size(), 6);
        QVERIFY(!rig.link.isOpen());
    }

private:
    QTemporaryDir m_settings;
};

QTEST_MAIN(TestSafeWriteDialogs)
#include "tst_safewritedialogs.moc"
