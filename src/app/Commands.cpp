#include "Commands.h"

#include "channels/WorkingCopy.h"
#include "channels/ui/ChannelGrid.h"
#include "link/RadioLink.h"
#include "files/ui/BackupListDialog.h"
#include "link/ui/LinkCommands.h"
#include "link/ui/PortDialog.h"
#include "link/ui/SafeWriteCommands.h"
#include "print/ui/PrintCommand.h"
#include "app/MainWindow.h"
#include "tune/ui/TuneMode.h"

#include <QAction>
#include <QMenu>

#include <memory>

namespace {

// The safe write's menu items: "写频前备份" and "写频后校验" (remembered), "批量写频…" in
// 编程, "恢复备份…" in 文件 before 打印. A tune-mode change of the crystal, the sign or the
// power step during this run is written as the editor has it, not kept from the radio.
void plugInSafeWrite(MainWindow &mw, RadioLink *link)
{
    auto tunedThisRun = std::make_shared<bool>(false);
    auto tuning = [&mw] {
        const WorkingCopy &wc = mw.workingCopy();
        return std::tuple(wc.crystalCode(), wc.ifSignCode(), wc.powerStep());
    };
    QMenu *program = mw.findChild<QMenu *>(QStringLiteral("mnuProgram"));
    QMenu *file = mw.findChild<QMenu *>(QStringLiteral("mnuFile"));
    if (!program || !file)
        return;
    program->addSeparator();
    const SafeWriteChoices choices = SafeWriteChoices::load();
    auto checkable = [&](const char *name, const QString &text, bool on, void (*store)(bool)) {
        QAction *a = program->addAction(text);
        a->setObjectName(QLatin1String(name));
        a->setCheckable(true);
        a->setChecked(on);
        QObject::connect(a, &QAction::toggled, a, store);
    };
    checkable("mnuBackupBeforeWrite", QStringLiteral("写频前备份"), choices.backup, [](bool on) {
        SafeWriteChoices c = SafeWriteChoices::load();
        c.backup = on;
        c.save();
    });
    checkable("mnuVerifyAfterWrite", QStringLiteral("写频后校验"), choices.verify, [](bool on) {
        SafeWriteChoices c = SafeWriteChoices::load();
        c.verify = on;
        c.save();
    });
    QAction *fleet = program->addAction(QStringLiteral("批量写频…"));
    fleet->setObjectName(QStringLiteral("mnuFleetWrite"));
    QObject::connect(fleet, &QAction::triggered, &mw, [&mw, link, tunedThisRun] {
        mw.grid()->hideEditors();
        fleetWriteCommand(&mw, mw.workingCopy(), *link, !*tunedThisRun);
    });
    QAction *restore = new QAction(QStringLiteral("恢复备份…"), file);
    restore->setObjectName(QStringLiteral("mnuRestoreBackup"));
    file->insertAction(mw.findChild<QAction *>(QStringLiteral("mnuPreview")), restore);
    QObject::connect(restore, &QAction::triggered, &mw, [&mw] {
        mw.grid()->hideEditors();
        restoreBackupCommand(&mw, mw.workingCopy());
    });

    mw.setCommandHandler(MainWindow::Command::Write, [&mw, link, tunedThisRun] {
        mw.grid()->hideEditors();
        safeWriteCommand(&mw, mw.workingCopy(), *link, !*tunedThisRun);
    });
    mw.setCommandHandler(MainWindow::Command::Tune, [&mw, tunedThisRun, tuning] {
        const auto before = tuning();
        tuneModeCommand(&mw, mw.workingCopy());
        // The window manager may not hand activation back; the refresh is harmless twice.
        mw.workingCopy().activate();
        if (tuning() != before)
            *tunedThisRun = true;
    });
}

} // namespace

void plugInCommands(MainWindow &mw)
{
    using Command = MainWindow::Command;

    // The main window owns the link for the whole run: the port choice and the
    // receive mode outlive every transfer.
    auto *link = new RadioLink(&mw);
    link->setCustomDevice(mw.initialPort());
    link->stopEditorTimer = [&mw] { mw.stopEditorTimer(); };
    new LinkMessageBoxes(*link, &mw);

    mw.setCommandHandler(Command::Read, [&mw, link] {
        // An open frequency editor must not write its old text over the loaded cells.
        mw.grid()->hideEditors();
        readRadioCommand(&mw, mw.workingCopy(), *link);
    });
    mw.setCommandHandler(Command::Write, [&mw, link] {
        mw.grid()->hideEditors();
        writeRadioCommand(&mw, mw.workingCopy(), *link);
    });
    const auto showPort = [&mw, link] { mw.setPortStatus(PortDialog::statusText(link->portOption, link->customDevice())); };
    mw.setCommandHandler(Command::ChoosePort, [&mw, link, showPort] {
        choosePortCommand(&mw, *link);
        showPort();
    });
    showPort();
    mw.setPortCloser([link] { link->closePort(); });

    mw.setCommandHandler(Command::Print, [&mw] {
        printReportCommand(&mw, mw.workingCopy(), [&mw] { mw.stopEditorTimer(); });
    });
    mw.setCommandHandler(Command::Tune, [&mw] {
        tuneModeCommand(&mw, mw.workingCopy());
        // The window manager may not hand activation back; the refresh is harmless twice.
        mw.workingCopy().activate();
    });
    plugInSafeWrite(mw, link);
    mw.setShutdownHook([] {
        closePreview();
        deletePrintScript();
    });
}
