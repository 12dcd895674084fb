#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One record of a comma-separated text and the line (counted from 1) it begins on.
struct CsvRecord
{
    int line = 0;
    QStringList fields;
    // A quoted field that the text ends inside: the record took every line to the end.
    bool unterminated = false;
};

// The records of the text. Quoted fields may hold commas, doubled quotes and line
// breaks; lines starting with "#" and blank lines are skipped. Fields are as written
// (not trimmed).
QList<CsvRecord> readCsvRecords(const QString &text);
