#include "PdfTextLayer.h"

#include "print/ScriptRenderer.h"

#include <QFont>
#include <QHash>
#include <QMap>
#include <QRawFont>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace {

// ---- fonts ------------------------------------------------------------------

int read16(const QByteArray &table, qsizetype at)
{
    if (at < 0 || at + 2 > table.size())
        return -1;
    return (uchar(table[at]) << 8) | uchar(table[at + 1]);
}

// The PostScript name (name record 6), as the PDF writer puts it after /BaseFont.
QByteArray postscriptName(const QRawFont &font)
{
    const QByteArray table = font.fontTable("name");
    const int count = read16(table, 2);
    const int strings = read16(table, 4);
    for (int i = 0; i < count; ++i) {
        const qsizetype record = 6 + 12 * qsizetype(i);
        const int platform = read16(table, record);
        const int length = read16(table, record + 8);
        const qsizetype at = strings + qsizetype(read16(table, record + 10));
        if (read16(table, record + 6) != 6 || length < 0 || at + length > table.size())
            continue;
        QByteArray name;
        if (platform == 1) { // Macintosh: one byte a character
            name = table.mid(at, length);
        } else { // Unicode and Windows: UTF-16BE
            for (qsizetype k = at + 1; k < at + length; k += 2)
                name += table[k];
        }
        if (!name.isEmpty())
            return name.replace(' ', '_');
    }
    return {};
}

// The faces the drawn texts may have come from, by PostScript name: every family a
// script font name stands for, in the weight it was drawn in.
QHash<QByteArray, QRawFont> candidateFaces(const QList<DrawnText> &drawn)
{
    QHash<QByteArray, QRawFont> faces;
    QSet<QString> seen;
    for (const DrawnText &t : drawn) {
        const QString key = t.fontName + QLatin1Char(t.bold ? 'b' : 'r');
        if (seen.contains(key))
            continue;
        seen.insert(key);
        for (const QString &family : scriptFontFamilies(t.fontName)) {
            QFont font(family);
            font.setBold(t.bold);
            const QRawFont raw = QRawFont::fromFont(font);
            if (raw.isValid())
                faces.insert(postscriptName(raw), raw);
        }
    }
    return faces;
}

quint32 glyphOf(const QRawFont &font, char32_t c)
{
    const QList<quint32> glyphs = font.glyphIndexesForString(QString::fromUcs4(&c, 1));
    return glyphs.size() == 1 ? glyphs[0] : 0;
}

// ---- the ToUnicode map --------------------------------------------------------

using CMap = std::map<uint, QString>; // character id → text

QString utf16FromHex(const QByteArray &hex)
{
    QString text;
    for (qsizetype i = 0; i + 4 <= hex.size(); i += 4)
        text += QChar(char16_t(hex.mid(i, 4).toUInt(nullptr, 16)));
    return text;
}

// The bfchar and bfrange entries of a CMap stream; nothing when it holds anything else.
std::optional<CMap> parseCMap(const QByteArray &stream)
{
    static const QRegularExpression token(QStringLiteral("<([0-9A-Fa-f]*)>|\\[|\\]|[A-Za-z]+"));
    QList<QByteArray> tokens;
    for (auto it = token.globalMatch(QString::fromLatin1(stream)); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        tokens << (m.capturedLength(1) > 0 || m.captured(0).startsWith(QLatin1Char('<'))
                       ? QByteArray("<") + m.captured(1).toLatin1()
                       : m.captured(0).toLatin1());
    }
    auto hex = [&](qsizetype i) { return i < tokens.size() && tokens[i].startsWith('<'); };
    CMap map;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (tokens[i] == "beginbfchar") {
            for (++i; i < tokens.size() && tokens[i] != "endbfchar"; i += 2) {
                if (!hex(i) || !hex(i + 1))
                    return std::nullopt;
                map[tokens[i].mid(1).toUInt(nullptr, 16)] = utf16FromHex(tokens[i + 1].mid(1));
            }
        } else if (tokens[i] == "beginbfrange") {
            for (++i; i < tokens.size() && tokens[i] != "endbfrange";) {
                if (!hex(i) || !hex(i + 1))
                    return std::nullopt;
                const uint lo = tokens[i].mid(1).toUInt(nullptr, 16);
                const uint hi = tokens[i + 1].mid(1).toUInt(nullptr, 16);
                if (hi < lo || hi - lo > 0xFFFF)
                    return std::nullopt;
                i += 2;
                if (hex(i)) {
                    const QString first = utf16FromHex(tokens[i++].mid(1));
                    if (first.isEmpty())
                        return std::nullopt;
                    for (uint cid = lo; cid <= hi; ++cid) {
                        QString text = first;
                        text.back() = QChar(char16_t(text.back().unicode() + (cid - lo)));
                        map[cid] = text;
                    }
                } else if (i < tokens.size() && tokens[i] == "[") {
                    uint cid = lo;
                    for (++i; i < tokens.size() && tokens[i] != "]"; ++i) {
                        if (!hex(i))
                            return std::nullopt;
                        map[cid++] = utf16FromHex(tokens[i].mid(1));
                    }
                    ++i;
                } else {
                    return std::nullopt;
                }
            }
        }
    }
    return map;
}

QByteArray cmapStream(const CMap &map)
{
    QByteArray out = "/CIDInit /ProcSet findresource begin\n"
                     "12 dict begin\n"
                     "begincmap\n"
                     "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                     "/CMapName /Adobe-Identity-UCS def\n"
                     "/CMapType 2 def\n"
                     "1 begincodespacerange\n"
                     "<0000> <FFFF>\n"
                     "endcodespacerange\n";
    // At most 100 entries a block.
    auto it = map.begin();
    while (it != map.end()) {
        const qsizetype n = std::min<qsizetype>(100, std::distance(it, map.end()));
        out += QByteArray::number(n) + " beginbfchar\n";
        for (qsizetype k = 0; k < n; ++k, ++it) {
            out += '<' + QByteArray::number(it->first, 16).rightJustified(4, '0').toUpper() + "> <";
            for (QChar unit : it->second)
                out += QByteArray::number(unit.unicode(), 16).rightJustified(4, '0').toUpper();
            out += ">\n";
        }
        out += "endbfchar\n";
    }
    out += "endcmap\n"
           "CMapName currentdict /CMap defineresource pop\n"
           "end\n"
           "end\n";
    return out;
}

// Renames the glyphs whose name was not drawn to the drawn character with that glyph.
bool mendCMap(CMap &map, const QRawFont &face, const QSet<char32_t> &drawnChars)
{
    QHash<quint32, char32_t> drawnByGlyph;
    for (char32_t c : drawnChars)
        if (const quint32 g = glyphOf(face, c); g != 0 && (!drawnByGlyph.contains(g) || c < drawnByGlyph[g]))
            drawnByGlyph.insert(g, c);
    bool changed = false;
    for (auto &[cid, text] : map) {
        const QList<uint> named = text.toUcs4();
        if (named.size() != 1 || drawnChars.contains(named[0]))
            continue;
        const auto drawnChar = drawnByGlyph.constFind(glyphOf(face, named[0]));
        if (drawnChar != drawnByGlyph.constEnd()) {
            text = QString::fromUcs4(&*drawnChar, 1);
            changed = true;
        }
    }
    return changed;
}

// ---- the file -------------------------------------------------------------------

struct Edit
{
    qsizetype start;
    qsizetype end; // one past the last byte replaced
    QByteArray bytes;
};

// A single-section cross-reference table as Qt writes it: "xref", "0 N", N entries of
// 20 bytes, each starting with a ten-digit offset.
struct Xref
{
    qsizetype at = -1; // offset of "xref"
    qsizetype entries = -1; // offset of the first entry
    std::vector<qsizetype> offsets;
};

std::optional<Xref> readXref(const QByteArray &pdf)
{
    static const QRegularExpression tail(QStringLiteral("startxref\\s+(\\d+)\\s+%%EOF\\s*$"));
    const QRegularExpressionMatch m = tail.match(QString::fromLatin1(pdf.right(64)));
    if (!m.hasMatch())
        return std::nullopt;
    Xref x;
    x.at = m.captured(1).toLongLong();
    static const QRegularExpression head(QStringLiteral("^xref\\s+0\\s+(\\d+)\\s*\\n"));
    const QRegularExpressionMatch h = head.match(QString::fromLatin1(pdf.mid(x.at, 32)));
    if (x.at <= 0 || !h.hasMatch())
        return std::nullopt;
    x.entries = x.at + h.capturedLength(0);
    const qsizetype count = h.captured(1).toLongLong();
    if (count <= 0 || x.entries + 20 * count > pdf.size())
        return std::nullopt;
    for (qsizetype i = 0; i < count; ++i)
        x.offsets.push_back(pdf.mid(x.entries + 20 * i, 10).toLongLong());
    return x;
}

QByteArray objectText(const QByteArray &pdf, const Xref &x, uint number)
{
    if (number >= x.offsets.size() || x.offsets[number] <= 0)
        return {};
    const qsizetype start = x.offsets[number];
    const qsizetype end = pdf.indexOf("endobj", start);
    return end < 0 ? QByteArray() : pdf.mid(start, end - start);
}

// The replacement of a stream object's dictionary and data by a new uncompressed stream.
std::optional<Edit> replaceStream(const QByteArray &pdf, const Xref &x, uint number, const QByteArray &data)
{
    const QByteArray object = objectText(pdf, x, number);
    static const QRegularExpression dict(QStringLiteral("<<\\s*/Length\\s+(\\d+)\\s*>>\\s*stream\\r?\\n"));
    const QRegularExpressionMatch m = dict.match(QString::fromLatin1(object));
    if (!m.hasMatch())
        return std::nullopt;
    const qsizetype start = x.offsets[number] + m.capturedStart(0);
    const qsizetype end = x.offsets[number] + m.capturedEnd(0) + m.captured(1).toLongLong();
    if (end > x.offsets[number] + object.size())
        return std::nullopt;
    return Edit{start, end, "<< /Length " + QByteArray::number(data.size()) + " >>\nstream\n" + data};
}

QByteArray applyEdits(const QByteArray &pdf, const Xref &x, std::vector<Edit> edits)
{
    std::sort(edits.begin(), edits.end(), [](const Edit &a, const Edit &b) { return a.start < b.start; });
    auto moved = [&](qsizetype position) {
        qsizetype shift = 0;
        for (const Edit &e : edits)
            if (e.end <= position)
                shift += e.bytes.size() - (e.end - e.start);
        return position + shift;
    };
    QByteArray out;
    qsizetype from = 0;
    for (const Edit &e : edits) {
        out += pdf.mid(from, e.start - from);
        out += e.bytes;
        from = e.end;
    }
    out += pdf.mid(from, x.at - from);
    QByteArray xref = pdf.mid(x.at, x.entries - x.at);
    for (size_t i = 0; i < x.offsets.size(); ++i) {
        QByteArray entry = pdf.mid(x.entries + 20 * qsizetype(i), 20);
        if (x.offsets[i] > 0)
            entry.replace(0, 10, QByteArray::number(moved(x.offsets[i])).rightJustified(10, '0'));
        xref += entry;
    }
    const qsizetype trailerStart = x.entries + 20 * qsizetype(x.offsets.size());
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    out += xref + pdf.mid(trailerStart, startxref - trailerStart);
    out += "startxref\n" + QByteArray::number(moved(x.at)) + "\n%%EOF\n";
    return out;
}

} // namespace

QByteArray mendPdfTextLayer(const QByteArray &pdf, const QList<DrawnText> &drawn)
{
    const std::optional<Xref> x = readXref(pdf);
    if (!x)
        return pdf;
    QSet<char32_t> drawnChars;
    for (const DrawnText &t : drawn)
        for (char32_t c : t.text.toUcs4())
            drawnChars.insert(c);
    const QHash<QByteArray, QRawFont> faces = candidateFaces(drawn);

    static const QRegularExpression baseFont(QStringLiteral("/BaseFont\\s*/([^\\s/<>\\[\\]()]+)"));
    static const QRegularExpression toUnicode(QStringLiteral("/ToUnicode\\s+(\\d+)\\s+0\\s+R"));
    std::vector<Edit> edits;
    for (size_t number = 1; number < x->offsets.size(); ++number) {
        const QString object = QString::fromLatin1(objectText(pdf, *x, uint(number)));
        if (!object.contains(QLatin1String("/Subtype /Type0")))
            continue;
        const QRegularExpressionMatch name = baseFont.match(object);
        const QRegularExpressionMatch map = toUnicode.match(object);
        const auto face = faces.constFind(name.captured(1).toLatin1());
        if (!name.hasMatch() || !map.hasMatch() || face == faces.constEnd())
            continue;
        const uint mapObject = map.captured(1).toUInt();
        const QByteArray mapText = objectText(pdf, *x, mapObject);
        const qsizetype data = mapText.indexOf("stream");
        const qsizetype dataEnd = mapText.lastIndexOf("endstream");
        std::optional<CMap> cmap = data < 0 || dataEnd < data ? std::nullopt
                                                              : parseCMap(mapText.mid(data + 6, dataEnd - data - 6));
        if (!cmap || !mendCMap(*cmap, *face, drawnChars))
            continue;
        if (std::optional<Edit> e = replaceStream(pdf, *x, mapObject, cmapStream(*cmap)))
            edits.push_back(std::move(*e));
    }
    return edits.empty() ? pdf : applyEdits(pdf, *x, std::move(edits));
}
