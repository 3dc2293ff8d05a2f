#pragma once

// A CSV file read as a spreadsheet reads it.

#include <QList>
#include <QString>
#include <QStringList>

using Table = QList<QStringList>;

// RFC 4180 as a spreadsheet reads it: quoted cells may hold commas, quotes
// (doubled) and line ends; records end with CRLF.
inline Table parseCsv(const QString& text) {
    Table rows;
    QStringList row;
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                cell += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            row << cell;
            cell.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() &&
                   text[i + 1] == QLatin1Char('\n')) {
            row << cell;
            rows << row;
            row.clear();
            cell.clear();
            ++i;
        } else {
            cell += c;
        }
    }
    if (!cell.isEmpty() || !row.isEmpty())
        rows << (row << cell);
    return rows;
}
