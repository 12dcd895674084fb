#include "PrintCommand.h"

#include "print/PageScript.h"
#include "print/Report.h"
#include "print/ui/PreviewWindow.h"
#include "widgets/Prompter.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

QPointer<PreviewWindow> &preview()
{
    static QPointer<PreviewWindow> window;
    return window;
}

} // namespace

PreviewWindow *openPreview()
{
    return preview().data();
}

void closePreview()
{
    if (PreviewWindow *w = preview().data()) {
        w->close();
        delete w;
    }
}

PreviewWindow *printReportCommand(QWidget *parent, const WorkingCopy &wc, const std::function<void()> &stopEditorTimer)
{
    QCoreApplication::processEvents();
    if (stopEditorTimer)
        stopEditorTimer();
    closePreview();

    PageScript script;
    script.setNotice(
        [parent](const QString &title, const QString &text) { Prompter::instance().critical(parent, title, text); });
    if (const Status s = writeReport(script, wc); !s) {
        Prompter::instance().critical(parent, QString::number(s.failure().number), s.failure().description);
        return nullptr;
    }
    auto *window = new PreviewWindow(script.path(), parent);
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
