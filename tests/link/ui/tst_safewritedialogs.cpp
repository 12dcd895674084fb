// The GUI's safe write: the 编程 menu's choices, 写频 through one progress dialog, the
// result box, and the offer to load the backup into the editor after a failed write.

#include "../../widgets/FakePrompter.h"
#include "../LinkRig.h"
#include "SafeWriteResult.h"

#include "app/Commands.h"
#include "app/MainWindow.h"
#include "files/BackupStore.h"
#include "link/FleetWrite.h"
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

    // Columns: both stages chosen or neither, the block the radio stores wrong, the answer
    // to loading the backup, the start of the result the dialog keeps, the start of each
    // box after the question, and the transfers made.
    void write_data()
    {
        QTest::addColumn<bool>("safe");
        QTest::addColumn<int>("corruptAt");
        QTest::addColumn<int>("radioModel"); // the code in the radio's block 0
        QTest::addColumn<QList<QMessageBox::StandardButton>>("answers"); // after the first question
        QTest::addColumn<QString>("result");
        QTest::addColumn<QStringList>("told"); // the start of each box after the first question
        QTest::addColumn<int>("sessions");
        QTest::addColumn<bool>("backupLoaded");
        using Answers = QList<QMessageBox::StandardButton>;
        const QString caught = QStringLiteral(
            "校验失败：对讲机中读回的数据有 1 处与写入的不同（写入 → 读回）：\n"
            "地址 0x028（不属于任何信道或功能设置的字节）: FF → FE\n请重新写频；写频前的备份：");
        const QString otherModel = QStringLiteral("对讲机机型是 MX--905A(1)，文件机型是 MX--905B(1)");
        const QString done = QStringLiteral("写频完成，校验无误。");
        QTest::newRow("plain") << false << -1 << 0x11 << Answers{} << QString() << QStringList{} << 1 << false;
        QTest::newRow("safe") << true << -1 << 0x11 << Answers{} << done << QStringList{} << 3 << false;
        QTest::newRow("caught, backup declined")
            << true << 5 << 0x11 << Answers{QMessageBox::No} << caught << QStringList{caught} << 3 << false;
        QTest::newRow("caught, backup loaded")
            << true << 5 << 0x11 << Answers{QMessageBox::Yes} << caught << QStringList{caught} << 3 << true;
        // Another model: asked over the progress dialog; 否 leaves the radio as it was.
        QTest::newRow("other model, not written")
            << true << -1 << 0x24 << Answers{QMessageBox::No} << otherModel + QStringLiteral("，没有写频")
            << QStringList{otherModel + QStringLiteral("。仍然写频吗？")} << 1 << false;
        QTest::newRow("other model, written anyway")
            << true << -1 << 0x24 << Answers{QMessageBox::Yes} << done
            << QStringList{otherModel + QStringLiteral("。仍然写频吗？")} << 3 << false;
    }

    void write()
    {
        QFETCH(bool, safe);
        QFETCH(int, corruptAt);
        QFETCH(int, radioModel);
        QFETCH(QList<QMessageBox::StandardButton>, answers);
        QFETCH(QString, result);
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
        SafeWriteResult shown;
        QString loaded;
        safeWriteCommand(nullptr, rig.wc, rig.link, true, nullptr, &loaded);

        QVERIFY(!rig.link.isOpen());
        QCOMPARE(rig.line.sessions.size(), sessions);
        // One opening of the port for all stages.
        QCOMPARE(std::count_if(rig.line.trace.begin(), rig.line.trace.end(),
                               [](const SimTransport::Event &e) { return e.kind == SimTransport::Event::Open; }),
                 1);
        // The dialog kept the result, with the backup's whole path, until 关闭.
        QCOMPARE(shown.results.size(), result.isEmpty() ? 0 : 1);
        if (!result.isEmpty()) {
            QVERIFY2(shown.results[0].startsWith(result), qPrintable(shown.results[0]));
        }
        if (sessions == 3) {
            const QList<BackupEntry> backups = BackupStore().list();
            QVERIFY(!backups.isEmpty());
            QVERIFY(shown.results[0].contains(QDir::toNativeSeparators(backups.first().path)));
            QCOMPARE(shown.stages.first(), QStringLiteral("备份 1/3"));
            QVERIFY2(shown.stages.contains(QStringLiteral("写频 2/3")), qPrintable(shown.stages.join(u',')));
            QCOMPARE(shown.stages.last(), QStringLiteral("校验 3/3"));
        }
        QCOMPARE(prompter.shown.size(), 1 + told.size());
        QCOMPARE(prompter.shown[0].text, QStringLiteral("确定要开始写频吗?"));
        for (int i = 0; i < told.size(); ++i)
            QVERIFY2(prompter.shown[1 + i].text.startsWith(told[i]), qPrintable(prompter.shown[1 + i].text));
        // The backup holds the factory memory, whose channel 1 has the tone 67; the
        // editor written had none.
        QCOMPARE(rig.wc.cell(1, ChannelTable::RxSignal) == QStringLiteral("67"), backupLoaded);
        QCOMPARE(!loaded.isEmpty(), backupLoaded);
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
        SafeWriteResult shown;
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
        QCOMPARE(
            seen,
            (QStringList{QStringLiteral("等待对讲机应答… 1 秒"), QStringLiteral("等待对讲机应答… 2 秒"),
                         QStringLiteral("等待对讲机应答… 3 秒"), QStringLiteral("等待对讲机应答… 4 秒"), QString()}));
        QCOMPARE(shown.results.size(), 1);
        QVERIFY2(shown.results[0].contains(QStringLiteral("备份读频失败，没有写频，对讲机未被改动")),
                 qPrintable(shown.results[0]));
    }

    // 批量写频: radio 1 is caught by the verify, "请连接第 2 台对讲机" shows below the
    // table (which stays in view with radio 1's row marked), an early 继续 does nothing,
    // radio 2 is written, 结束 at the third prompt. The dialog stays with the summary until
    // closed; the log has a row per radio and the summary.
    void fleet()
    {
        SafeWriteChoices{true, true}.save();
        QFile::remove(FleetWrite::defaultLogPath());
        FakePrompter prompter;
        prompter.answers = {QMessageBox::Ok};
        RadioSimOptions corrupting;
        corrupting.corruptAtBlock = 5;
        LinkRig rig(corrupting);
        rig.clock.processQtEvents = true;
        QString summary;
        int rows = 0;
        QStringList prompts;
        bool tableInView = true;
        bool firstMarked = false;
        bool earlyClickIgnored = false;
        std::function<void()> drive = [&] {
            auto *dialog = qobject_cast<SafeWriteDialog *>(QApplication::activeModalWidget());
            if (dialog && dialog->finished()) {
                summary = dialog->findChild<QLabel *>(QStringLiteral("lblSummary"))->text();
                rows = dialog->table()->rowCount();
                dialog->cancelButton()->click();
                return;
            }
            auto *prompt = dialog ? dialog->findChild<QLabel *>(QStringLiteral("lblNextRadio")) : nullptr;
            if (prompt && prompt->isVisible() && !prompts.contains(prompt->text())) {
                prompts << prompt->text();
                QTableWidget *table = dialog->table();
                const QRect tableArea(table->mapTo(dialog, QPoint()), table->size());
                const QRect promptArea(prompt->parentWidget()->mapTo(dialog, QPoint()), prompt->parentWidget()->size());
                tableInView = tableInView && table->isVisible() && !tableArea.intersects(promptArea);
                if (prompts.size() == 1) {
                    firstMarked = table->item(0, 3)->text() == QStringLiteral("校验失败")
                        && table->item(0, 0)->background().color() != table->item(0, 0)->foreground().color()
                        && table->item(0, 0)->font().bold()
                        && table->item(0, 4)->text().startsWith(QStringLiteral("校验失败"));
                    dialog->nextRadioButton()->click(); // before it takes effect
                    earlyClickIgnored = prompt->isVisible();
                    rig.radio.setOptions({});
                    QTimer::singleShot(SafeWriteDialog::PromptDelay + 100,
                                       [dialog] { dialog->nextRadioButton()->click(); });
                } else {
                    dialog->findChild<QPushButton *>(QStringLiteral("cmdStopFleet"))->click();
                }
            }
            QTimer::singleShot(20, drive);
        };
        QTimer::singleShot(20, drive);
        fleetWriteCommand(nullptr, rig.wc, rig.link, true);
        QCOMPARE(rows, 2);
        QVERIFY2(summary.startsWith(QStringLiteral("成功 1 台，失败 1 台")), qPrintable(summary));
        QCOMPARE(prompts, (QStringList{QStringLiteral("请连接第 2 台对讲机"), QStringLiteral("请连接第 3 台对讲机")}));
        QVERIFY(tableInView);
        QVERIFY(firstMarked);
        QVERIFY(earlyClickIgnored);
        QCOMPARE(prompter.shown.size(), 1); // the question before the run only
        QCOMPARE(rig.line.sessions.size(), 6);
        QVERIFY(!rig.link.isOpen());

        QFile log(FleetWrite::defaultLogPath());
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 4); // header, two radios, summary
        QVERIFY2(lines[1].contains(QStringLiteral(",1,sim,校验失败,")), qPrintable(lines[1]));
        QVERIFY2(lines[2].contains(QStringLiteral(",2,sim,成功,")), qPrintable(lines[2]));
        QVERIFY2(lines[3].contains(QStringLiteral(",合计,,成功 1 台，失败 1 台,,1,1")), qPrintable(lines[3]));
    }

private:
    QTemporaryDir m_settings;
};

QTEST_MAIN(TestSafeWriteDialogs)
#include "tst_safewritedialogs.moc"
