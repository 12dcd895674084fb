#pragma once

#include "support/Failure.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QString>
#include <QStringList>

#include <functional>

class QPagedPaintDevice;
class QPainter;
struct ScriptCommand;

// The installed families a script font name stands for: "宋体" a serif CJK face,
// "Arial" a metric-compatible sans with a CJK sans behind it for Chinese texts. Any
// other name is tried as it stands, with the same CJK fallbacks.
QStringList scriptFontFamilies(const QString &fontName);

// The font of a script text at `points` (no device scaling).
QFont scriptFont(const QString &fontName, double points, bool bold);

// Width of the text in twips at full scale, as the renderers measure it; the script
// writer centres texts with it.
double scriptTextWidth(const QString &text, const QString &fontName, int fontSize, bool bold);

// A text the surface drew, in page twips.
struct DrawnText
{
    QString text;
    QPointF topLeft;
    double width = 0;
    double points = 0; // the font size set on the surface (after the font scale)
    bool bold = false;
    QString fontName;
};

// Executes script commands on a QPainter whose world coordinates are page twips (the
// transform maps twips to the device; no rotation). Text sizes are physical: a font
// of P points comes out P points high on the device whatever the transform.
class SurfacePainter
{
public:
    // `fontScale` multiplies every "#fontsize" (the preview's zoom; 1 on a printer).
    SurfacePainter(QPainter &painter, double fontScale);

    void execute(const ScriptCommand &c);

    // Width of the text in the current font, in page twips.
    double TextWidth(const QString &text) const;

    // Pen width of lines and box outlines in device pixels.
    void setLineWidth(double devicePixels) { m_lineWidth = devicePixels; }

    double currentX() const { return m_pos.x(); }
    double currentY() const { return m_pos.y(); }
    double fontPointSize() const { return m_points; }
    bool fontBold() const { return m_bold; }
    QString fontName() const { return m_fontName; }
    int fillStyle() const { return m_fill; }
    QColor fillColour() const { return m_fillColour; }
    const QList<DrawnText> &drawnTexts() const { return m_drawn; }

private:
    void updateFont();
    void drawText(const QString &text);
    void drawLine(const ScriptCommand &c);
    double deviceScale() const;

    QPainter &m_painter;
    double m_fontScale;
    QString m_fontName = QStringLiteral("Arial");
    double m_points = 8;
    bool m_bold = false;
    int m_fill = 1; // 0 solid, 1 transparent, 2…7 hatches
    QColor m_fillColour = Qt::black;
    QPointF m_pos;
    double m_lineWidth = 1;
    QFont m_font;
    QList<DrawnText> m_drawn;
};

// Blue × 65536 + green × 256 + red.
QColor colourFromNumber(double number);

// The preview renderer's reading loop: executes the commands of page `page` (counted
// from 1 by "#startpage") on the surface; stops at that page's "#endpage". Returns the
// number of pages counted when reading stopped. A page that does not exist draws nothing.
Result<int> renderScriptPage(const QString &scriptPath, int page, SurfacePainter &surface);

struct PrintOutcome
{
    int sheets = 0; // device pages used
    QStringList texts; // texts drawn, in order
    QList<DrawnText> drawn; // the same with their fonts
};

// The printer renderer: pages first…last onto a paged device whose page origin is the
// paper corner, at the device's own resolution. `onPrintingStarts` runs when the first
// page to print begins (the caller lets pending events through there).
Result<PrintOutcome> printScriptPages(const QString &scriptPath, QPagedPaintDevice &device, int first, int last,
                                      const std::function<void()> &onPrintingStarts = {});

// A PDF the printer renderer wrote to a file, with its text layer mended
// (mendPdfTextLayer); `drawn` are the texts it drew.
Status mendPdfFile(const QString &pdfPath, const QList<DrawnText> &drawn);

// Page 1 of the script as an A4 PDF with a text layer that gives every text as drawn,
// written atomically.
Status writeScriptPdf(const QString &scriptPath, const QString &pdfPath);
