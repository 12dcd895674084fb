#include "ScriptRenderer.h"
#include <QCoreApplication>

#include "print/PageScript.h"
#include "print/PdfTextLayer.h"
#include "print/ScriptReader.h"
#include "support/AtomicFile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace {

constexpr double TwipsPerInch = 1440.0;

// 1440 dpi: one device pixel is one twip, so metrics come out in twips.
const QImage &twipsDevice()
{
    static const QImage image = [] {
        QImage i(1, 1, QImage::Format_RGB32);
        const int dotsPerMetre = int(std::lround(TwipsPerInch / 0.0254));
        i.setDotsPerMeterX(dotsPerMetre);
        i.setDotsPerMeterY(dotsPerMetre);
        return i;
    }();
    return image;
}

bool isSongTi(const QString &name)
{
    return name == QStringLiteral("宋体") || name.compare(QLatin1String("SimSun"), Qt::CaseInsensitive) == 0;
}

} // namespace

QStringList scriptFontFamilies(const QString &fontName)
{
    const QString trimmed = fontName.trimmed();
    if (isSongTi(trimmed))
        return {QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC")};
    QStringList families;
    if (trimmed.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        families << QStringLiteral("Arial") << QStringLiteral("Liberation Sans") << QStringLiteral("DejaVu Sans")
                 << QStringLiteral("Noto Sans");
    else if (!trimmed.isEmpty())
        families << trimmed;
    // Chinese texts in a Latin face come from a CJK face, as the platform's font
    // linking does for the original fonts.
    families << QStringLiteral("Noto Sans CJK SC") << QStringLiteral("Noto Serif CJK SC");
    return families;
}

QFont scriptFont(const QString &fontName, double points, bool bold)
{
    QFont font;
    font.setFamilies(scriptFontFamilies(fontName));
    font.setStyleHint(isSongTi(fontName.trimmed()) ? QFont::Serif : QFont::SansSerif);
    if (points > 0)
        font.setPointSizeF(points);
    font.setBold(bold);
    // Texts here are Chinese, Latin letters and digits, which need no shaping. Shaping
    // would let a CJK face swap digits after a letter for contextual forms ("D023N"),
    // glyphs that no character maps to, which a PDF's text layer then cannot name.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

double scriptTextWidth(const QString &text, const QString &fontName, int fontSize, bool bold)
{
    return QFontMetricsF(scriptFont(fontName, fontSize, bold), &twipsDevice()).horizontalAdvance(text);
}

// A script number as a whole number; NaN and values beyond the range read as 0.
static std::int64_t wholeNumber(double v)
{
    if (!std::isfinite(v) || std::abs(v) >= 9.0e18)
        return 0;
    return std::int64_t(v);
}

QColor colourFromNumber(double number)
{
    const auto n = std::uint32_t(wholeNumber(number));
    return QColor(int(n & 0xFF), int((n >> 8) & 0xFF), int((n >> 16) & 0xFF));
}

// ---------------------------------------------------------------------------

SurfacePainter::SurfacePainter(QPainter &painter, double fontScale) : m_painter(painter), m_fontScale(fontScale)
{
    m_points = 8 * m_fontScale;
    updateFont();
}

double SurfacePainter::deviceScale() const
{
    // The combined transform includes the device's pixel ratio, which Qt applies to
    // fonts by itself; only the page-to-logical-pixel part counts here.
    const QPaintDevice *device = m_painter.device();
    const double ratio = device ? device->devicePixelRatio() : 1.0;
    const double m = std::abs(m_painter.combinedTransform().m22()) / (ratio > 0 ? ratio : 1.0);
    return m > 0 ? m : 1.0;
}

void SurfacePainter::updateFont()
{
    // Qt turns points into logical pixels with the device's resolution; the world
    // transform then scales them once more. Dividing by that scale keeps the size on
    // the device at m_points.
    m_font = scriptFont(m_fontName, m_points / deviceScale(), m_bold);
}

double SurfacePainter::TextWidth(const QString &text) const
{
    return QFontMetricsF(m_font, m_painter.device()).horizontalAdvance(text);
}

void SurfacePainter::execute(const ScriptCommand &c)
{
    switch (c.kind) {
    case ScriptCommand::StartPage:
    case ScriptCommand::EndPage:
        break;
    case ScriptCommand::X:
        m_pos.setX(c.number);
        break;
    case ScriptCommand::Y:
        m_pos.setY(c.number);
        break;
    case ScriptCommand::FontName:
        m_fontName = c.arg;
        updateFont();
        break;
    case ScriptCommand::FontSize:
        // A size of 0 or less, or an absurd one, keeps the previous size.
        if (c.number > 0 && c.number <= 2000) {
            m_points = c.number * m_fontScale;
            updateFont();
        }
        break;
    case ScriptCommand::FontBold:
        m_bold = c.arg.trimmed() != QLatin1String("0");
        updateFont();
        break;
    case ScriptCommand::Fill:
        m_fill = int(std::clamp<std::int64_t>(wholeNumber(c.number), INT_MIN, INT_MAX));
        break;
    case ScriptCommand::Color:
        m_fillColour = colourFromNumber(c.number);
        break;
    case ScriptCommand::TxtL:
    case ScriptCommand::TxtC:
        drawText(c.arg);
        break;
    case ScriptCommand::TxtR:
        m_pos.rx() -= TextWidth(c.arg);
        drawText(c.arg);
        break;
    case ScriptCommand::Line:
        drawLine(c);
        break;
    }
}

void SurfacePainter::drawText(const QString &text)
{
    const QFontMetricsF metrics(m_font, m_painter.device());
    m_painter.setFont(m_font);
    m_painter.setPen(Qt::black);
    m_painter.drawText(QPointF(m_pos.x(), m_pos.y() + metrics.ascent()), text);
    m_drawn.append({text, m_pos, metrics.horizontalAdvance(text), m_points, m_bold, m_fontName});
}

void SurfacePainter::drawLine(const ScriptCommand &c)
{
    const QColor colour = c.colour.isEmpty() ? QColor(Qt::black) : colourFromNumber(c.colourNumber);
    m_painter.setPen(QPen(colour, m_lineWidth / deviceScale(), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    const QPointF a(c.x1, c.y1);
    const QPointF b(c.x2, c.y2);
    if (c.style.isEmpty()) {
        m_painter.setBrush(Qt::NoBrush);
        m_painter.drawLine(a, b);
        return;
    }
    if (c.style.contains(QLatin1Char('F'), Qt::CaseInsensitive)) {
        m_painter.setBrush(colour);
    } else {
        static constexpr Qt::BrushStyle patterns[] = {Qt::SolidPattern, Qt::NoBrush,         Qt::HorPattern,
                                                      Qt::VerPattern,   Qt::BDiagPattern,    Qt::FDiagPattern,
                                                      Qt::CrossPattern, Qt::DiagCrossPattern};
        const Qt::BrushStyle style = m_fill >= 0 && m_fill < 8 ? patterns[m_fill] : Qt::NoBrush;
        m_painter.setBrush(style == Qt::NoBrush ? QBrush() : QBrush(m_fillColour, style));
    }
    m_painter.drawRect(QRectF(a, b).normalized());
}

// ---------------------------------------------------------------------------

Result<int> renderScriptPage(const QString &scriptPath, int page, SurfacePainter &surface)
{
    int count = 0;
    const Status s = readScript(scriptPath, [&](const ScriptCommand &c) {
        switch (c.kind) {
        case ScriptCommand::StartPage:
            ++count;
            return true;
        case ScriptCommand::EndPage:
            return count != page;
        default:
            if (count == page)
                surface.execute(c);
            return true;
        }
    });
    if (!s)
        return s.failure();
    return count;
}

Result<PrintOutcome> printScriptPages(const QString &scriptPath, QPagedPaintDevice &device, int first, int last,
                                      const std::function<void()> &onPrintingStarts)
{
    QPainter painter;
    if (!painter.begin(&device))
        return Failure{Failure::DeviceIoError, QCoreApplication::translate("ScriptRenderer", "无法开始打印")};
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.scale(device.logicalDpiX() / TwipsPerInch, device.logicalDpiY() / TwipsPerInch);
    SurfacePainter surface(painter, 1.0);
    // One printer pixel at 600 dpi, as thin as a printer draws a line.
    surface.setLineWidth(std::max(1.0, device.logicalDpiY() / 600.0));

    PrintOutcome outcome;
    outcome.sheets = 1;
    int count = 0;
    bool printing = false;
    bool sheetBlank = true;
    auto newSheet = [&] {
        device.newPage();
        ++outcome.sheets;
        sheetBlank = true;
    };
    const Status s = readScript(scriptPath, [&](const ScriptCommand &c) {
        switch (c.kind) {
        case ScriptCommand::StartPage: {
            ++count;
            if (count > last)
                return false;
            const bool wasPrinting = printing;
            printing = count >= first;
            if (printing && !wasPrinting && onPrintingStarts)
                onPrintingStarts();
            // The writer never ends a page with "#endpage": the next page still goes
            // onto a sheet of its own.
            if (printing && wasPrinting && !sheetBlank)
                newSheet();
            return true;
        }
        case ScriptCommand::EndPage:
            if (count >= last)
                return false;
            if (printing)
                newSheet();
            return true;
        default:
            if (printing) {
                surface.execute(c);
                if (c.kind == ScriptCommand::TxtL || c.kind == ScriptCommand::TxtC || c.kind == ScriptCommand::TxtR
                    || c.kind == ScriptCommand::Line)
                    sheetBlank = false;
            }
            return true;
        }
    });
    painter.end();
    if (!s)
        return s.failure();
    outcome.drawn = surface.drawnTexts();
    for (const DrawnText &t : outcome.drawn)
        outcome.texts << t.text;
    return outcome;
}

Status mendPdfFile(const QString &pdfPath, const QList<DrawnText> &drawn)
{
    QFile file(pdfPath);
    if (!file.open(QIODevice::ReadOnly))
        return Failure{Failure::PathFileAccessError, pdfPath + QStringLiteral(": ") + file.errorString()};
    const QByteArray pdf = file.readAll();
    file.close();
    const QByteArray mended = mendPdfTextLayer(pdf, drawn);
    return mended == pdf ? Status() : writeFileAtomically(pdfPath, mended);
}

Status writeScriptPdf(const QString &scriptPath, const QString &pdfPath)
{
    // Built in memory and written in one checked step, so a full disk cannot leave a
    // truncated PDF that looks complete.
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    Result<PrintOutcome> printed = Failure{};
    {
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(int(TwipsPerInch));
        writer.setCreator(QStringLiteral("TARNIK"));
        printed = printScriptPages(scriptPath, writer, 1, 1);
    }
    if (!printed)
        return printed.failure();
    return writeFileAtomically(pdfPath, mendPdfTextLayer(buffer.data(), printed->drawn));
}
