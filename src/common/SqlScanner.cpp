// The SQL scanner, bind discovery and the statement splits.
#include "common/SqlScanner.h"

#include <QRegularExpression>

#include <algorithm>

namespace kolmara::sql {

namespace {

using Kind = SqlToken::Kind;

bool isWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$') ||
           c == QLatin1Char('#');
}

// The index of the quote that closes a quoted text whose content starts at `from`; a doubled quote
// is part of the content where `doubled`. -1 when the line ends first.
int closingQuote(const QString& line, int from, QChar quote, bool doubled)
{
    for (int i = from; i < line.size(); ++i) {
        if (line[i] != quote)
            continue;
        if (doubled && i + 1 < line.size() && line[i + 1] == quote) {
            ++i;
            continue;
        }
        return i;
    }
    return -1;
}

}  // namespace

QChar qQuoteCloser(QChar open)
{
    switch (open.unicode()) {
    case '[':
        return QLatin1Char(']');
    case '{':
        return QLatin1Char('}');
    case '(':
        return QLatin1Char(')');
    case '<':
        return QLatin1Char('>');
    default:
        return open;
    }
}

int qQuoteEnd(const QString& text, int from, QChar closer)
{
    for (int i = from; i + 1 < text.size(); ++i)
        if (text[i] == closer && text[i + 1] == QLatin1Char('\''))
            return i + 2;
    return -1;
}

QList<SqlToken> scanLine(const QString& line, int& state)
{
    QList<SqlToken> out;
    const int n = int(line.size());
    auto add = [&](Kind kind, int from, int to) { out.append(SqlToken{kind, from, to - from}); };
    int i = 0;

    // What the previous line left open.
    if (state == ScanState::BlockComment) {
        const int close = int(line.indexOf(QStringLiteral("*/")));
        if (close < 0) {
            if (n > 0)
                add(Kind::Comment, 0, n);
            return out;
        }
        add(Kind::Comment, 0, close + 2);
        i = close + 2;
    } else if (state == ScanState::String || state == ScanState::QuotedName) {
        const bool string = state == ScanState::String;
        const int close =
            closingQuote(line, 0, string ? QLatin1Char('\'') : QLatin1Char('"'), string);
        if (close < 0) {
            if (n > 0)
                add(string ? Kind::String : Kind::QuotedName, 0, n);
            return out;
        }
        add(string ? Kind::String : Kind::QuotedName, 0, close + 1);
        i = close + 1;
    } else if (state >= ScanState::QuoteBase) {
        const int end = qQuoteEnd(line, 0, QChar(char16_t(state - ScanState::QuoteBase)));
        if (end < 0) {
            if (n > 0)
                add(Kind::String, 0, n);
            return out;
        }
        add(Kind::String, 0, end);
        i = end;
    }
    state = ScanState::Code;

    while (i < n) {
        const QChar c = line[i];
        const QChar next = i + 1 < n ? line[i + 1] : QChar();
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            add(Kind::Comment, i, n);
            break;
        }
        if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const int close = int(line.indexOf(QStringLiteral("*/"), i + 2));
            if (close < 0) {
                add(Kind::Comment, i, n);
                state = ScanState::BlockComment;
                break;
            }
            add(Kind::Comment, i, close + 2);
            i = close + 2;
            continue;
        }
        // N'...', q'x...x' and Nq'x...x'.
        int quote = -1;
        bool qQuote = false;
        if ((c == QLatin1Char('n') || c == QLatin1Char('N')) && next == QLatin1Char('\'')) {
            quote = i + 1;
        } else if ((c == QLatin1Char('n') || c == QLatin1Char('N')) &&
                   (next == QLatin1Char('q') || next == QLatin1Char('Q')) && i + 2 < n &&
                   line[i + 2] == QLatin1Char('\'')) {
            quote = i + 2;
            qQuote = true;
        } else if ((c == QLatin1Char('q') || c == QLatin1Char('Q')) && next == QLatin1Char('\'')) {
            quote = i + 1;
            qQuote = true;
        } else if (c == QLatin1Char('\'')) {
            quote = i;
        }
        if (qQuote && quote + 1 < n) {
            const QChar close = qQuoteCloser(line[quote + 1]);
            const int end = qQuoteEnd(line, quote + 2, close);
            if (end < 0) {
                add(Kind::String, i, n);
                state = ScanState::QuoteBase + close.unicode();
                break;
            }
            add(Kind::String, i, end);
            i = end;
            continue;
        }
        if (quote >= 0) {
            const int close = closingQuote(line, quote + 1, QLatin1Char('\''), true);
            if (close < 0) {
                add(Kind::String, i, n);
                state = ScanState::String;
                break;
            }
            add(Kind::String, i, close + 1);
            i = close + 1;
            continue;
        }
        if (c == QLatin1Char('"')) {
            const int close = closingQuote(line, i + 1, QLatin1Char('"'), false);
            if (close < 0) {
                add(Kind::QuotedName, i, n);
                state = ScanState::QuotedName;
                break;
            }
            add(Kind::QuotedName, i, close + 1);
            i = close + 1;
            continue;
        }
        if (c.isDigit() || (c == QLatin1Char('.') && next.isDigit())) {
            int j = i;
            while (j < n && line[j].isDigit())
                ++j;
            if (j < n && line[j] == QLatin1Char('.'))
                for (++j; j < n && line[j].isDigit(); ++j) {
                }
            if (j + 1 < n && (line[j] == QLatin1Char('e') || line[j] == QLatin1Char('E')) &&
                (line[j + 1].isDigit() ||
                 ((line[j + 1] == QLatin1Char('+') || line[j + 1] == QLatin1Char('-')) &&
                  j + 2 < n && line[j + 2].isDigit()))) {
                j += 2;
                while (j < n && line[j].isDigit())
                    ++j;
            }
            add(Kind::Number, i, j);
            i = j;
            continue;
        }
        if (isWordChar(c)) {
            int j = i + 1;
            while (j < n && isWordChar(line[j]))
                ++j;
            add(Kind::Word, i, j);
            i = j;
            continue;
        }
        if (c == QLatin1Char(':') && (next.isLetterOrNumber() || next == QLatin1Char('_'))) {
            int j = i + 1;
            while (j < n && isWordChar(line[j]))
                ++j;
            add(Kind::Bind, i, j);
            i = j;
            continue;
        }
        add(Kind::Symbol, i, i + 1);
        ++i;
    }
    return out;
}

// Tokens of a whole text with offsets into it.
QList<SqlToken> scanText(const QString& text)
{
    QList<SqlToken> out;
    int state = ScanState::Code;
    int offset = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        for (SqlToken t : scanLine(line, state)) {
            t.start += offset;
            out.append(t);
        }
        offset += int(line.size()) + 1;
    }
    return out;
}

QStringList bindNames(const QString& sql)
{
    QStringList names;
    for (const SqlToken& t : scanText(sql)) {
        if (t.kind != Kind::Bind)
            continue;
        const QString name = sql.mid(t.start + 1, t.length - 1).toUpper();
        if (!names.contains(name))
            names.append(name);
    }
    return names;
}

QStringList splitStatements(const QString& text)
{
    QStringList statements;
    int start = 0;
    auto finish = [&](int end, int next) {
        const QString statement = text.mid(start, end - start).trimmed();
        if (!statement.isEmpty())
            statements.append(statement);
        start = next;
    };
    int state = ScanState::Code;
    int offset = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const bool inCode = state == ScanState::Code;
        const QList<SqlToken> tokens = scanLine(line, state);
        if (inCode && line.trimmed() == QLatin1String("/")) {
            finish(offset, offset + int(line.size()));
        } else {
            for (const SqlToken& t : tokens)
                if (t.kind == Kind::Symbol && line[t.start] == QLatin1Char(';'))
                    finish(offset + t.start, offset + t.start + 1);
        }
        offset += int(line.size()) + 1;
    }
    finish(int(text.size()), int(text.size()));
    return statements;
}

QStringList splitSeedScript(const QString& text)
{
    QStringList statements;
    QString current;
    bool plsql = false;
    static const QRegularExpression plsqlStart(
        QStringLiteral("^\\s*CREATE\\s+(OR\\s+REPLACE\\s+)?"
                       "(TRIGGER|PACKAGE|FUNCTION|PROCEDURE)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    const QStringList lines = QString(text)
                                  .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                                  .split(QLatin1Char('\n'));
    int state = ScanState::Code;
    for (const QString& line : lines) {
        // A line that goes on with a string or comment of the line before is text whatever it
        // holds; the ";" ending a line counts only outside them.
        const bool startsInCode = state == ScanState::Code;
        scanLine(line, state);
        const bool endsInCode = state == ScanState::Code;
        const QString trimmed = line.trimmed();
        if (!startsInCode) {
            if (!plsql && endsInCode && trimmed.endsWith(QLatin1Char(';'))) {
                current += line.left(line.lastIndexOf(QLatin1Char(';')));
                statements.append(current.trimmed());
                current.clear();
            } else {
                current += line + QLatin1Char('\n');
            }
            continue;
        }
        if (current.trimmed().isEmpty()) {
            if (trimmed.isEmpty() || trimmed.startsWith(QStringLiteral("--")))
                continue;
            current.clear();
            plsql = plsqlStart.match(trimmed).hasMatch();
        }
        if (plsql) {
            if (trimmed == QLatin1String("/")) {
                statements.append(current.trimmed());
                current.clear();
                plsql = false;
            } else {
                current += line + QLatin1Char('\n');
            }
            continue;
        }
        if (trimmed.startsWith(QStringLiteral("--")))
            continue;
        if (endsInCode && trimmed.endsWith(QLatin1Char(';'))) {
            current += line.left(line.lastIndexOf(QLatin1Char(';')));
            statements.append(current.trimmed());
            current.clear();
        } else if (trimmed == QLatin1String("/")) {
            if (!current.trimmed().isEmpty())
                statements.append(current.trimmed());
            current.clear();
        } else {
            current += line + QLatin1Char('\n');
        }
    }
    if (!current.trimmed().isEmpty())
        statements.append(current.trimmed());
    return statements;
}

int offsetOfLine(const QString& text, int base, int line, int position)
{
    int at = std::clamp(base, 0, int(text.size()));
    for (int k = 1; k < line; ++k) {
        const int newline = int(text.indexOf(QLatin1Char('\n'), at));
        if (newline < 0)
            return int(text.size());
        at = newline + 1;
    }
    int lineEnd = int(text.indexOf(QLatin1Char('\n'), at));
    if (lineEnd < 0)
        lineEnd = int(text.size());
    return std::min(at + std::max(position, 1) - 1, lineEnd);
}

void lineAndColumn(const QString& text, int offset, int* line, int* column)
{
    offset = std::clamp(offset, 0, int(text.size()));
    const int lineStart =
        offset == 0 ? 0 : int(text.lastIndexOf(QLatin1Char('\n'), offset - 1)) + 1;
    *line = int(text.left(offset).count(QLatin1Char('\n'))) + 1;
    *column = offset - lineStart + 1;
}

}  // namespace kolmara::sql
