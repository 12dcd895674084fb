#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <optional>

// Looks into PDFs the printer renderer wrote.
namespace pdfprobe {

// Page objects in the file (Qt writes them uncompressed).
inline int pages(const QByteArray &pdf)
{
    return int(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page/")
               + pdf.count("/Type /Page "));
}

// The text layer as pdftotext reads it (a form feed ends each page); nothing when
// poppler-utils is missing.
inline std::optional<QString> text(const QString &path)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        return std::nullopt;
    QProcess p;
    p.start(pdftotext, {path, QStringLiteral("-")});
    if (!p.waitForFinished(60000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace pdfprobe
