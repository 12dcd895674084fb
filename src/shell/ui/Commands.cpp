#include "Commands.h"

#include "channels/WorkingCopy.h"
#include "print/ui/PrintCommand.h"
#include "shell/ui/MainWindow.h"
#include "tune/ui/TuneMode.h"

void plugInCommands(MainWindow &mw)
{
    mw.setCommandHandler(MainWindow::Command::Print, [&mw] {
        printReportCommand(&mw, mw.workingCopy(), [&mw] { mw.stopEditorTimer(); });
    });
    mw.setCommandHandler(MainWindow::Command::Tune, [&mw] {
        tuneModeCommand(&mw, mw.workingCopy());
        // The window manager may not hand activation back; the refresh is harmless twice.
        mw.workingCopy().activate();
    });
    mw.setShutdownHook([] {
        closePreview();
        deletePrintScript();
    });
}
