// Reads quote-enclosed CSV as a loader of dump files and CSV exports does: a value in double
// quotes may hold commas, line breaks and doubled quotes; a row ends with CR LF outside quotes.
// Text outside quotes other than the separators is marked "<outside quotes>" in the value, so a
// test sees a writer that forgot to quote; text after the last CR LF is not a row.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kolmara::test {

inline QList<QStringList> readQuotedCsv(const QString& text)
{
    QList<QStringList> rows;
    QStringList row;
    QString value;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                value += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                value += c;
            }
        } else if (c == u'"') {
            quoted = true;
        } else if (c == u',') {
            row << value;
            value.clear();
        } else if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
            row << value;
            value.clear();
            rows << row;
            row.clear();
            ++i;
        } else {
            value += QStringLiteral("<outside quotes>");
        }
    }
    return rows;
}

}  // namespace kolmara::test
