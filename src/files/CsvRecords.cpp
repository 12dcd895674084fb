#include "CsvRecords.h"

QList<CsvRecord> readCsvRecords(const QString &text)
{
    QList<CsvRecord> out;
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        if (text[i] == QLatin1Char('#') || text[i] == QLatin1Char('\n') || text[i] == QLatin1Char('\r')) {
            const bool comment = text[i] == QLatin1Char('#');
            while (comment && i < n && text[i] != QLatin1Char('\n'))
                ++i;
            if (i < n && text[i] == QLatin1Char('\r'))
                ++i;
            if (i < n && text[i] == QLatin1Char('\n'))
                ++i;
            ++line;
            continue;
        }
        CsvRecord r{line, {}};
        QString field;
        bool quoted = false;
        for (; i < n; ++i) {
            const QChar c = text[i];
            if (quoted) {
                if (c == QLatin1Char('"') && i + 1 < n && text[i + 1] == QLatin1Char('"'))
                    field += text[++i];
                else if (c == QLatin1Char('"'))
                    quoted = false;
                else
                    field += c;
                if (c == QLatin1Char('\n'))
                    ++line;
            } else if (c == QLatin1Char('"')) {
                quoted = true;
            } else if (c == QLatin1Char(',')) {
                r.fields << field;
                field.clear();
            } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
                break;
            } else {
                field += c;
            }
        }
        r.fields << field;
        r.unterminated = quoted;
        out << r;
    }
    return out;
}
