#include "TuneMode.h"

#include "tune/ui/ServicePasswordDialog.h"
#include "tune/ui/TuneWindow.h"

namespace {

ModalRunner &runner()
{
    static ModalRunner r;
    return r;
}

int runModal(QDialog &dialog)
{
    return runner() ? runner()(dialog) : dialog.exec();
}

} // namespace

void setModalRunner(ModalRunner r)
{
    runner() = std::move(r);
}

bool tuneModeCommand(QWidget *parent, WorkingCopy &wc)
{
    {
        ServicePasswordDialog login(parent);
        runModal(login);
        if (!login.loginSucceeded())
            return false;
    }
    TuneWindow tune(wc, parent);
    runModal(tune);
    return true;
}
