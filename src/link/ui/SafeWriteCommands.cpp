#include "link/ui/SafeWriteCommands.h"

#include "channels/WorkingCopy.h"
#include "files/BackupStore.h"
#include "link/Clock.h"
#include "link/FleetWrite.h"
#include "link/RadioLink.h"
#include "link/SafeWrite.h"
#include "link/ui/LinkCommands.h"
#include "link/ui/SafeWriteDialog.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>
#include <QSettings>

namespace {

const QString BackupKey = QStringLiteral("safeWrite/backupBeforeWrite");
const QString VerifyKey = QStringLiteral("safeWrite/verifyAfterWrite");

// The image to write, or nothing after the failure has been shown.
std::optional<codec::Image> imageToWrite(QWidget *parent, WorkingCopy &wc)
{
    const Result<codec::Image> image = RadioLink::writeImage(wc);
    if (image)
        return *image;
    Prompter::instance().message(parent, QMessageBox::Information, QString::number(image.failure().number),
                                 image.failure().description);
    return std::nullopt;
}

bool confirmed(QWidget *parent, const QString &question)
{
    return Prompter::instance().message(parent, QMessageBox::NoIcon,
                                        QCoreApplication::translate("SafeWriteCommands", "写频进度显示"), question,
                                        QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok)
        == QMessageBox::Ok;
}

// What one command's safe writes run with: the stages chosen in the 编程 menu, wall-clock
// pauses between them and the backups in the per-user folder.
struct SafeWriteSetup
{
    SystemClock clock;
    BackupStore store;
    SafeWrite write;
    SafeWriteSetup(RadioLink &link, bool keepRadioTuning) : write(link, clock, store)
    {
        const SafeWriteChoices choices = SafeWriteChoices::load();
        write.options = {choices.backup, choices.verify, keepRadioTuning};
    }
    // A radio of another model than the editor's: a 是/否 question over the progress dialog.
    void askAboutModel(QWidget *dialog)
    {
        write.confirmOtherModel = [dialog](const QString &radio, const QString &file) {
            return Prompter::instance().message(
                       dialog, QMessageBox::Question, QCoreApplication::translate("SafeWriteCommands", "机型不符"),
                       QCoreApplication::translate("SafeWriteCommands", "对讲机机型是 %1，文件机型是 %2。仍然写频吗？")
                           .arg(radio, file),
                       QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
                == QMessageBox::Yes;
        };
    }
};

// True when the backup was loaded into the editor.
bool offerBackup(QWidget *parent, WorkingCopy &wc, const SafeWrite::Outcome &o)
{
    const auto answer = Prompter::instance().message(
        parent, QMessageBox::Warning, QCoreApplication::translate("SafeWriteCommands", "提示"),
        QCoreApplication::translate("SafeWriteCommands", "%1\n\n要把写频前的备份载入编辑器吗？").arg(o.text),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return false;
    if (Status s = BackupStore::loadInto(wc, o.backupPath); !s) {
        Prompter::instance().message(parent, QMessageBox::Information, QString::number(s.failure().number),
                                     s.failure().description);
        return false;
    }
    return true;
}

} // namespace

SafeWriteChoices SafeWriteChoices::load()
{
    QSettings settings;
    return {settings.value(BackupKey, true).toBool(), settings.value(VerifyKey, true).toBool()};
}

void SafeWriteChoices::save() const
{
    QSettings settings;
    settings.setValue(BackupKey, backup);
    settings.setValue(VerifyKey, verify);
}

bool safeWriteCommand(QWidget *parent, WorkingCopy &wc, RadioLink &link, bool keepRadioTuning, QString *summary,
                      QString *loadedBackup)
{
    const SafeWriteChoices choices = SafeWriteChoices::load();
    if (!choices.backup && !choices.verify) {
        // The plain write may stop at its question or its port before any transfer starts.
        bool started = false;
        const auto watch = QObject::connect(&link, &RadioLink::captionChanged, &link, [&started] { started = true; });
        writeRadioCommand(parent, wc, link);
        QObject::disconnect(watch);
        return started && link.lastEnding() == RadioLink::Ending::Completed;
    }
    if (!confirmed(parent, QCoreApplication::translate("SafeWriteCommands", "确定要开始写频吗?")))
        return false;
    const std::optional<codec::Image> image = imageToWrite(parent, wc);
    if (!image)
        return false;
    SafeWriteSetup setup(link, keepRadioTuning);
    SafeWrite::Outcome outcome;
    {
        SafeWriteDialog dialog(setup.write, nullptr, parent);
        setup.askAboutModel(&dialog);
        LinkMessageBoxes boxes(link, &dialog);
        // The result stays in the dialog until the user closes it.
        dialog.job = [&] {
            outcome = setup.write.run(*image);
            link.closePort();
            dialog.finish(outcome.text);
        };
        dialog.exec();
    }
    link.closePort();
    if (outcome.ok && summary)
        *summary = outcome.text;
    else if (!outcome.ok && outcome.radioChanged && !outcome.backupPath.isEmpty() && offerBackup(parent, wc, outcome)
             && loadedBackup)
        *loadedBackup = outcome.backupPath;
    return outcome.ok;
}

void fleetWriteCommand(QWidget *parent, WorkingCopy &wc, RadioLink &link, bool keepRadioTuning)
{
    if (!confirmed(parent, QCoreApplication::translate("SafeWriteCommands", "确定要开始批量写频吗?")))
        return;
    const std::optional<codec::Image> image = imageToWrite(parent, wc);
    if (!image)
        return;
    SafeWriteSetup setup(link, keepRadioTuning);
    FleetWrite fleet(setup.write);
    fleet.count = 0;
    // A log that cannot take the rows stops the run before the first radio.
    if (Status s = fleet.openLog(FleetWrite::defaultLogPath(), QStringLiteral("编辑器") /* stored, as the log is */);
        !s) {
        Prompter::instance().message(parent, QMessageBox::Warning,
                                     QCoreApplication::translate("SafeWriteCommands", "批量写频"),
                                     s.failure().description);
        return;
    }
    fleet.portName = [&link] { return link.chosenDevice(); };
    SafeWriteDialog dialog(setup.write, &fleet, parent);
    setup.askAboutModel(&dialog);
    LinkMessageBoxes boxes(link, &dialog);
    fleet.nextRadio = [&dialog](int k) { return dialog.askNextRadio(k); };
    dialog.job = [&] {
        fleet.run(*image);
        link.closePort();
        QString summary = fleet.summary();
        if (Status s = fleet.closeLog(); !s)
            summary += QLatin1Char('\n') + s.failure().description;
        dialog.finish(summary);
    };
    dialog.exec();
    link.closePort();
}
