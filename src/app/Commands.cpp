#include "Commands.h"

#include "channels/WorkingCopy.h"
#include "channels/ui/ChannelGrid.h"
#include "link/RadioLink.h"
#include "link/ui/LinkCommands.h"
#include "print/ui/PrintCommand.h"
#include "app/MainWindow.h"
#include "tune/ui/TuneMode.h"

#include <QTime>

namespace {

// Runs a transfer command and says whether a transfer ran to its end: the command may
// stop at its question or the port without starting one, and a cancelled or failed one
// ends otherwise.
bool transferCompleted(RadioLink &link, const std::function<void()> &command)
{
    bool started = false;
    const auto watch = QObject::connect(&link, &RadioLink::captionChanged, &link,
                                        [&started] { started = true; });
    command();
    QObject::disconnect(watch);
    return started && link.lastEnding() == RadioLink::Ending::Completed;
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

    plugInTransferCommands(mw, *link);
    mw.setCommandHandler(Command::ChoosePort, [&mw, link] { choosePortCommand(&mw, *link); });
    mw.setPortCloser([link] { link->closePort(); });

    mw.setCommandHandler(Command::Print, [&mw] {
        printReportCommand(&mw, mw.workingCopy(), [&mw] { mw.stopEditorTimer(); });
    });
    mw.setCommandHandler(Command::Tune, [&mw] {
        tuneModeCommand(&mw, mw.workingCopy());
        // The window manager may not hand activation back; the refresh is harmless twice.
        mw.workingCopy().activate();
        mw.history().absorb();
    });
    mw.setShutdownHook([] {
        closePreview();
        deletePrintScript();
    });
}

void plugInTransferCommands(MainWindow &mw, RadioLink &link)
{
    using Command = MainWindow::Command;
    mw.setCommandHandler(Command::Read, [&mw, &link] {
        // An open frequency editor must not write its old text over the loaded cells.
        mw.grid()->hideEditors();
        if (!mw.maySetAsideChanges())
            return;
        // However the read takes the received image over, it is one undo step.
        bool completed = false;
        mw.history().step(QString::fromUtf16(u"读频"), [&] {
            completed = transferCompleted(link, [&] { readRadioCommand(&mw, mw.workingCopy(), link); });
        });
        if (completed)
            mw.readFromRadio();
    });
    mw.setCommandHandler(Command::Write, [&mw, &link] {
        mw.grid()->hideEditors();
        mw.history().record(QString::fromUtf16(u"编辑"));
        if (transferCompleted(link, [&] { writeRadioCommand(&mw, mw.workingCopy(), link); }))
            mw.showStatus(QString::fromUtf16(u"写频完成 ")
                          + QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    });
}
