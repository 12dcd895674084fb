#include "Commands.h"

#include "channels/WorkingCopy.h"
#include "channels/ui/ChannelGrid.h"
#include "link/RadioLink.h"
#include "link/ui/LinkCommands.h"
#include "link/ui/PortDialog.h"
#include "print/ui/PrintCommand.h"
#include "app/MainWindow.h"
#include "tune/ui/TuneMode.h"
#include "widgets/Language.h"

#include <QMenu>

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
    if (auto *help = mw.findChild<QMenu *>(QStringLiteral("mnuHelp")))
        language::addLanguageMenu(help, mw.findChild<QAction *>(QStringLiteral("mnuAbout")));
    mw.setShutdownHook([] {
        closePreview();
        deletePrintScript();
    });
}
