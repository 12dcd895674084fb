#include "Commands.h"

#include "channels/WorkingCopy.h"
#include "channels/ui/ChannelGrid.h"
#include "files/ui/BackupListDialog.h"
#include "files/ui/CompareDialog.h"
#include "link/RadioLink.h"
#include "link/ui/LinkCommands.h"
#include "link/ui/ParallelFleetDialog.h"
#include "link/ui/PortDialog.h"
#include "link/ui/SafeWriteCommands.h"
#include "print/ui/PrintCommand.h"
#include "app/MainWindow.h"
#include "tune/ui/TuneMode.h"
#include "widgets/Language.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QTime>

#include <algorithm>
#include <memory>
#include <tuple>

namespace {

// The port chosen in the port dialog, kept for the next start (--port outranks it).
bool g_portMemory = false;
const QString PortOptionKey = QStringLiteral("port/option");
const QString PortDeviceKey = QStringLiteral("port/device");

void restoreChosenPort(RadioLink &link)
{
    const QSettings settings;
    const int option = settings.value(PortOptionKey, 0).toInt();
    link.portOption = option >= 0 && option < 4 ? option : 0;
    link.setPortNumber(link.portOption + 1);
    link.setCustomDevice(settings.value(PortDeviceKey).toString());
}

void rememberChosenPort(const RadioLink &link)
{
    QSettings settings;
    settings.setValue(PortOptionKey, link.portOption);
    settings.setValue(PortDeviceKey, link.customDevice());
}

// The editor's title for a loaded backup, "备份 2024-05-01 14:03:22", from the time in its
// file name (YYYYMMDD-HHMMSS.chp), else the file's own time.
QString backupName(const QString &path)
{
    const QFileInfo file(path);
    QDateTime taken = QDateTime::fromString(file.completeBaseName().left(15), QStringLiteral("yyyyMMdd-HHmmss"));
    if (!taken.isValid())
        taken = file.lastModified();
    return QCoreApplication::translate("Commands", "备份 %1")
        .arg(taken.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

// Runs a transfer command and says whether a transfer ran to its end: the command may
// stop at its question or the port without starting one, and a cancelled or failed one
// ends otherwise.
bool transferCompleted(RadioLink &link, const std::function<void()> &command)
{
    bool started = false;
    const auto watch = QObject::connect(&link, &RadioLink::captionChanged, &link, [&started] { started = true; });
    command();
    QObject::disconnect(watch);
    return started && link.lastEnding() == RadioLink::Ending::Completed;
}

// The safe write's menu items: "写频前备份" and "写频后校验" (remembered), "批量写频…" in
// 编程, "恢复备份…" in 文件 before 打印. A tune-mode change of the crystal, the sign or the
// power step during this run is written as the editor has it, not kept from the radio.
void plugInSafeWrite(MainWindow &mw, RadioLink *link, std::shared_ptr<bool> tunedThisRun)
{
    QMenu *program = mw.findChild<QMenu *>(QStringLiteral("mnuProgram"));
    QMenu *file = mw.findChild<QMenu *>(QStringLiteral("mnuFile"));
    if (!program || !file)
        return;
    program->addSeparator();
    const SafeWriteChoices choices = SafeWriteChoices::load();
    auto checkable = [&](const char *name, const char *text, bool on, void (*store)(bool)) {
        QAction *a = program->addAction(QString());
        language::retranslate(a, [a, text] { a->setText(QCoreApplication::translate("Commands", text)); });
        a->setObjectName(QLatin1String(name));
        a->setCheckable(true);
        a->setChecked(on);
        QObject::connect(a, &QAction::toggled, a, store);
    };
    checkable("mnuBackupBeforeWrite", QT_TRANSLATE_NOOP("Commands", "写频前备份"), choices.backup, [](bool on) {
        SafeWriteChoices c = SafeWriteChoices::load();
        c.backup = on;
        c.save();
    });
    checkable("mnuVerifyAfterWrite", QT_TRANSLATE_NOOP("Commands", "写频后校验"), choices.verify, [](bool on) {
        SafeWriteChoices c = SafeWriteChoices::load();
        c.verify = on;
        c.save();
    });
    QAction *fleet = program->addAction(QString());
    language::retranslate(fleet, [fleet] { fleet->setText(QCoreApplication::translate("Commands", "批量写频…")); });
    fleet->setObjectName(QStringLiteral("mnuFleetWrite"));
    QObject::connect(fleet, &QAction::triggered, &mw, [&mw, link, tunedThisRun] {
        mw.grid()->hideEditors();
        parallelFleetCommand(&mw, mw.workingCopy(), *link, !*tunedThisRun);
    });
    QAction *restore = new QAction(file);
    language::retranslate(restore,
                          [restore] { restore->setText(QCoreApplication::translate("Commands", "恢复备份…")); });
    restore->setObjectName(QStringLiteral("mnuRestoreBackup"));
    file->insertAction(mw.findChild<QAction *>(QStringLiteral("mnuPreview")), restore);
    QObject::connect(restore, &QAction::triggered, &mw, [&mw] {
        mw.grid()->hideEditors();
        if (!mw.maySetAsideChanges())
            return;
        QString loaded;
        mw.history().step(QCoreApplication::translate("Commands", "恢复备份"),
                          [&] { loaded = restoreBackupCommand(&mw, mw.workingCopy()); });
        if (!loaded.isEmpty())
            mw.tookOverUnsaved([loaded] { return backupName(loaded); });
    });
}

} // namespace

void setPortMemory(bool on)
{
    g_portMemory = on;
}

void plugInCommands(MainWindow &mw)
{
    using Command = MainWindow::Command;

    // The main window owns the link for the whole run: the port choice and the
    // receive mode outlive every transfer.
    auto *link = new RadioLink(&mw);
    if (mw.initialPort().isEmpty() && g_portMemory)
        restoreChosenPort(*link);
    else
        link->setCustomDevice(mw.initialPort());
    link->stopEditorTimer = [&mw] { mw.stopEditorTimer(); };
    new LinkMessageBoxes(*link, &mw);

    // A tune-mode change of the crystal, the sign or the power step during this run is
    // written as the editor has it, not kept from the radio.
    auto tunedThisRun = std::make_shared<bool>(false);
    plugInTransferCommands(mw, *link, [tunedThisRun] { return !*tunedThisRun; });
    const auto showPort = [&mw, link] {
        mw.setPortStatus([link] { return PortDialog::statusText(link->portOption, link->customDevice()); });
    };
    mw.setCommandHandler(Command::ChoosePort, [&mw, link, showPort] {
        choosePortCommand(&mw, *link);
        if (g_portMemory)
            rememberChosenPort(*link);
        showPort();
    });
    showPort();
    mw.setPortCloser([link] { link->closePort(); });

    mw.setCommandHandler(Command::Print,
                         [&mw] { printReportCommand(&mw, mw.workingCopy(), [&mw] { mw.stopEditorTimer(); }); });
    mw.setCommandHandler(Command::Tune, [&mw, tunedThisRun] {
        const WorkingCopy &wc = mw.workingCopy();
        const auto tuning = [&wc] { return std::tuple(wc.crystalCode(), wc.ifSignCode(), wc.powerStep()); };
        const auto before = tuning();
        tuneModeCommand(&mw, mw.workingCopy());
        // The window manager may not hand activation back; the refresh is harmless twice.
        mw.workingCopy().activate();
        mw.history().absorb();
        if (tuning() != before)
            *tunedThisRun = true;
    });
    plugInSafeWrite(mw, link, tunedThisRun);
    if (auto *help = mw.findChild<QMenu *>(QStringLiteral("mnuHelp")))
        language::addLanguageMenu(help, mw.findChild<QAction *>(QStringLiteral("mnuAbout")));
    mw.setShutdownHook([] {
        closePreview();
        deletePrintScript();
    });
}

void plugInTransferCommands(MainWindow &mw, RadioLink &link, std::function<bool()> keepRadioTuning)
{
    using Command = MainWindow::Command;
    mw.setCommandHandler(Command::Read, [&mw, &link] {
        // An open frequency editor must not write its old text over the loaded cells.
        mw.grid()->hideEditors();
        if (!mw.maySetAsideChanges())
            return;
        // However the read takes the received image over, it is one undo step.
        bool completed = false;
        mw.history().step(QCoreApplication::translate("Commands", "读频"), [&] {
            completed = transferCompleted(link, [&] { readRadioCommand(&mw, mw.workingCopy(), link); });
        });
        if (completed)
            mw.readFromRadio();
    });
    mw.setCommandHandler(Command::Write, [&mw, &link, keepRadioTuning] {
        mw.grid()->hideEditors();
        mw.history().record(QCoreApplication::translate("Commands", "编辑"));
        bool completed = false;
        QString loadedBackup;
        // After a failed write the backup may be loaded into the editor: one undo step.
        mw.history().step(QCoreApplication::translate("Commands", "恢复备份"), [&] {
            completed = safeWriteCommand(&mw, mw.workingCopy(), link, keepRadioTuning(), nullptr, &loadedBackup);
        });
        if (!loadedBackup.isEmpty())
            mw.tookOverUnsaved([loadedBackup] { return backupName(loadedBackup); });
        // The whole result was in the progress dialog; the status bar keeps a short line.
        if (completed)
            mw.showStatus(MainWindow::StatusEvent::WriteDone);
    });
    // 文件 → "与对讲机比较…" after "比较…": the editor against what the radio holds, read
    // into a copy; the editor stays as it is.
    if (auto *file = mw.findChild<QMenu *>(QStringLiteral("mnuFile"))) {
        const QList<QAction *> items = file->actions();
        const auto compare = std::find_if(items.begin(), items.end(),
                                          [](QAction *a) { return a->objectName() == QLatin1String("mnuCompare"); });
        QAction *compareRadio = new QAction(file);
        language::retranslate(compareRadio, [compareRadio] {
            compareRadio->setText(QCoreApplication::translate("Commands", "与对讲机比较…"));
        });
        compareRadio->setObjectName(QStringLiteral("mnuCompareRadio"));
        file->insertAction(compare != items.end() && compare + 1 != items.end() ? *(compare + 1) : nullptr,
                           compareRadio);
        QObject::connect(compareRadio, &QAction::triggered, &mw, [&mw, &link] {
            mw.grid()->hideEditors();
            WorkingCopy radio;
            radio.setState(mw.workingCopy().state());
            if (!transferCompleted(link, [&] { readRadioCommand(&mw, radio, link); }))
                return;
            // The editor as a write would put it into the radio, against what the radio
            // holds, in the words of the verify after a write: the fields, then the bytes no
            // field shows. An editor that cannot be encoded is compared field by field.
            WorkingCopy editor;
            editor.setState(mw.workingCopy().state());
            const Result<codec::Image> image = RadioLink::writeImage(editor);
            const QList<FieldDifference> differences = image
                ? imageDifferences(editor.state(), *image, link.receivedImage())
                : channelDifferences(mw.workingCopy().state(), radio.state());
            showDifferences(&mw, ComparedWith{ComparedWith::Radio, {}}, differences);
        });
    }
}
