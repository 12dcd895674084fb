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
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

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
        QTest::addColumn<QMessageBox::StandardButton>("loadBackup");
        QTest::addColumn<QStringList>("told"); // the start of each box after the question
        QTest::addColumn<int>("sessions");
        QTest::newRow("plain") << false << -1 << QMessageBox::No << QStringList{} << 1;
        QTest::newRow("safe") << true << -1 << QMessageBox::No << QStringList{QStringLiteral("写频完成，校验无误。")} << 3;
        QTest::newRow("caught, backup declined")
            << true << 5 << QMessageBox::No << QStringList{QStringLiteral("校验失败：地址 0x028")} << 3;
        QTest::newRow("caught, backup loaded")
            << true << 5 << QMessageBox::Yes << QStringList{QStringLiteral("校验失败：地址 0x028")} << 3;
    }

    void write()
    {
        QFETCH(bool, safe);
        QFETCH(int, corruptAt);
        QFETCH(QMessageBox::StandardButton, loadBackup);
        QFETCH(QStringList, told);
        QFETCH(int, sessions);
        SafeWriteChoices{safe, safe}.save();
        FakePrompter prompter;
        prompter.answers = {QMessageBox::Ok, loadBackup};
        RadioSimOptions o;
        o.corruptAtBlock = corruptAt;
        LinkRig rig(o);
        rig.clock.processQtEvents = true;
        safeWriteCommand(nullptr, rig.wc, rig.link, true);

        QVERIFY(!rig.link.isOpen());
        QCOMPARE(rig.line.sessions.size(), sessions);
        QCOMPARE(prompter.shown.size(), 1 + told.size());
        QCOMPARE(prompter.shown[0].text, QStringLiteral("确定要开始写频吗?"));
        for (int i = 0; i < told.size(); ++i)
            QVERIFY2(prompter.shown[1 + i].text.startsWith(told[i]), qPrintable(prompter.shown[1 + i].text));
        // The backup holds the factory memory, whose channel 1 has the tone 67; the
        // editor written had none.
        QCOMPARE(rig.wc.cell(1, ChannelTable::RxSignal) == QStringLiteral("67"), loadBackup == QMessageBox::Yes);
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
