#include "TuneMode.h"

#include "tune/ui/frmLogin.h"
#include "tune/ui/frmMODE.h"

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
        frmLogin login(parent);
        runModal(login);
        if (!login.LoginSucceeded())
            return false;
    }
    frmMODE tune(wc, parent);
    runModal(tune);
    return true;
}
