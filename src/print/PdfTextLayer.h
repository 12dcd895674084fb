#pragma once

#include <QByteArray>
#include <QList>

struct DrawnText;

// The text layer of a PDF that Qt's writer made: what search, copy and pdftotext read.
//
// Qt names every embedded glyph (the font's ToUnicode map) by the lowest code point that
// the font maps to that glyph. CJK fonts give an ideograph and its radical one glyph
// (一 U+4E00 and ⼀ U+2F00, 页 and ⻚ U+2EDA, 高 and ⾼), so the radical is what a reader
// found. This rewrites each such name to the character that was really drawn: a name
// that is not among the drawn characters gives way to the drawn character that has the
// same glyph in that font. The drawing itself is untouched.
//
// `drawn` are the texts drawn into the PDF, with their script font names. Returns the
// mended PDF; a PDF that needs nothing, or whose structure is not the one Qt writes, is
// returned as it came.
QByteArray mendPdfTextLayer(const QByteArray &pdf, const QList<DrawnText> &drawn);
