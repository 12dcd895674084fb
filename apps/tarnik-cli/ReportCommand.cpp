#include "Commands.h"

#include "channels/WorkingCopy.h"
#include "print/PageScript.h"
#include "print/Report.h"
#include "print/ScriptRenderer.h"

#include <QCoreApplication>
#include <QTemporaryDir>

int runReport(const QStringList &args)
{
    QStringList rest = args;
    QString pdf;
    if (const qsizetype at = rest.indexOf(QStringLiteral("--pdf")); at >= 0 && at + 1 < rest.size()) {
        pdf = rest[at + 1];
        rest.remove(at, 2);
    }
    if (rest.size() != 1 || rest[0].startsWith(QStringLiteral("--")) || pdf.isEmpty()) {
        err() << QCoreApplication::translate("ReportCommand", "用法: %1")
                     .arg(QStringLiteral("tarnik-cli report FILE.chp --pdf OUT.pdf"))
              << "\n";
        return 2;
    }
    const QString input = rest[0];
    WorkingCopy wc;
    startUpWorkingCopy(wc);
    if (!loadForCli(wc, input))
        return 2;

    // A script folder of its own, so a running application's preview keeps its script.
    QTemporaryDir folder;
    if (!folder.isValid()) {
        err() << "tarnik-cli: " << folder.errorString() << "\n";
        return 2;
    }
    PageScript script(folder.path());
    script.setNotice(
        [](const QString &title, const QString &text) { err() << "tarnik-cli: " << title << ": " << text << "\n"; });
    Status s = writeReport(script, wc);
    if (s)
        s = writeScriptPdf(script.path(), pdf);
    if (!s) {
        err() << "tarnik-cli: " << QCoreApplication::translate("ReportCommand", "错误") << ": "
              << s.failure().description << "\n";
        return 2;
    }
    return 0;
}
