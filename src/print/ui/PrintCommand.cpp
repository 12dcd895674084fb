#include "PrintCommand.h"

#include "print/PageScript.h"
#include "print/Report.h"
#include "print/ui/PrnPrv.h"
#include "shell/ui/Prompter.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

QPointer<PrnPrv> &preview()
{
    static QPointer<PrnPrv> window;
    return window;
}

} // namespace

PrnPrv *openPreview()
{
    return preview().data();
}

void closePreview()
{
    if (PrnPrv *w = preview().data()) {
        w->close();
        delete w;
    }
}

PrnPrv *printReportCommand(QWidget *parent, const WorkingCopy &wc, const std::function<void()> &stopEditorTimer)
{
    QCoreApplication::processEvents();
    if (stopEditorTimer)
        stopEditorTimer();
    closePreview();

    PageScript script;
    script.setNotice([parent](const QString &title, const QString &text) {
        Prompter::instance().critical(parent, title, text);
    });
    if (const Status s = writeReport(script, wc); !s) {
        Prompter::instance().critical(parent, QString::number(s.failure().number), s.failure().description);
        return nullptr;
    }
    auto *window = new PrnPrv(script.path(), parent);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setPages({QStringLiteral("1")}, 0);
    preview() = window;
    window->show();
    return window;
}

void deletePrintScript()
{
    (void)PageScript().DeleteScript();
}
