#pragma once

#include "support/Failure.h"

#include <QByteArray>
#include <QString>

#include <functional>

// One command of the page script with the argument lines it consumed.
struct ScriptCommand
{
    enum Kind { StartPage, EndPage, FontName, FontSize, FontBold, X, Y, TxtL, TxtC, TxtR, Fill, Color, Line };

    Kind kind = StartPage;
    QString arg; // the argument line as written (commands with one argument)
    double number = 0; // ParseNumber(arg)

    // "#line": corners in twips, colour (text and number) and style ("B" for a box).
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    QString colour;
    double colourNumber = 0;
    QString style;
};

// Called for every command in file order; returning false stops the reading.
using ScriptVisitor = std::function<bool(const ScriptCommand &)>;

// The reading loop: a known command consumes its argument lines (also when they look
// like commands); any other line is skipped. Lines end in LF or CR LF. Arguments missing
// at the end of the file read as empty lines.
void parseScript(const QByteArray &bytes, const ScriptVisitor &visit);

// Reads the file (never through a link) and runs the loop over it.
Status readScript(const QString &path, const ScriptVisitor &visit);
