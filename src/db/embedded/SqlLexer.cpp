// Oracle SQL tokenizer.
#include "db/embedded/SqlLexer.h"

#include "common/SqlScanner.h"
#include "db/DatabaseError.h"

namespace kolmara::db::embedded {

namespace {

bool isIdentStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isIdentPart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('#')
        || c == QLatin1Char('$');
}

bool isQ(QChar c) { return c == QLatin1Char('q') || c == QLatin1Char('Q'); }

// The length of a q-quote's prefix at `i` ("q" or "Nq", case-insensitive) when one starts there,
// else 0.
int qQuotePrefix(const QString& sql, int i)
{
    const int n = int(sql.size());
    if (i + 1 < n && isQ(sql[i]) && sql[i + 1] == QLatin1Char('\''))
        return 1;
    if (i + 2 < n && (sql[i] == QLatin1Char('N') || sql[i] == QLatin1Char('n')) && isQ(sql[i + 1])
        && sql[i + 2] == QLatin1Char('\''))
        return 2;
    return 0;
}

[[noreturn]] void unterminated()
{
    throw DatabaseError(1756, QStringLiteral("quoted string not properly terminated"));
}

// A '...' string at `i` with '' for a quote inside; `i` moves past its closing quote.
QString plainString(const QString& sql, int& i)
{
    const int n = int(sql.size());
    QString value;
    int j = i + 1;
    for (;;) {
        if (j >= n)
            unterminated();
        if (sql[j] == QLatin1Char('\'')) {
            if (j + 1 < n && sql[j + 1] == QLatin1Char('\'')) {
                value += QLatin1Char('\'');
                j += 2;
                continue;
            }
            break;
        }
        value += sql[j++];
    }
    i = j + 1;
    return value;
}

// The text of a q'x...x' string whose quote is at `quote` (the closing pair is the shared
// scanner's). `i` moves past the closing quote.
QString quotedText(const QString& sql, int quote, int& i)
{
    if (quote + 1 >= int(sql.size()))
        unterminated();
    const QChar open = sql[quote + 1];
    if (open.isSpace())
        throw DatabaseError(911, QStringLiteral("invalid character"));
    const int end = kolmara::sql::qQuoteEnd(sql, quote + 2, kolmara::sql::qQuoteCloser(open));
    if (end < 0)
        unterminated();
    i = end;
    return sql.mid(quote + 2, end - 2 - (quote + 2));
}

}  // namespace

QList<Token> tokenize(const QString& sql)
{
    QList<Token> tokens;
    const int n = int(sql.size());
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            while (i < n && sql[i] != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            const int end = int(sql.indexOf(QStringLiteral("*/"), i + 2));
            i = end < 0 ? n : end + 2;
            continue;
        }
        Token t;
        t.start = i;
        // N'...' is a national string; q'x...x' (also Nq'...') quotes text that holds quotes.
        const int prefix = qQuotePrefix(sql, i);
        if (prefix > 0) {
            t.kind = Token::Kind::String;
            t.text = quotedText(sql, i + prefix, i);
            t.end = i;
            tokens.append(t);
            continue;
        }
        if (c == QLatin1Char('N') || c == QLatin1Char('n')) {
            if (i + 1 < n && sql[i + 1] == QLatin1Char('\''))
                ++i;  // the national string reads as an ordinary one
        }
        if (sql[i] == QLatin1Char('\'')) {
            t.kind = Token::Kind::String;
            t.text = plainString(sql, i);
            t.end = i;
            tokens.append(t);
            continue;
        }
        if (isIdentStart(c)) {
            int j = i + 1;
            while (j < n && isIdentPart(sql[j]))
                ++j;
            t.kind = Token::Kind::Ident;
            t.text = sql.mid(i, j - i).toUpper();
            i = j;
        } else if (c == QLatin1Char('"')) {
            const int end = int(sql.indexOf(QLatin1Char('"'), i + 1));
            if (end < 0)
                throw DatabaseError(1740, QStringLiteral("missing double quote in identifier"));
            t.kind = Token::Kind::QuotedIdent;
            t.text = sql.mid(i + 1, end - i - 1);
            i = end + 1;
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && sql[i + 1].isDigit())) {
            int j = i;
            while (j < n && sql[j].isDigit())
                ++j;
            if (j < n && sql[j] == QLatin1Char('.')
                && !(j + 1 < n && sql[j + 1] == QLatin1Char('.'))) {
                ++j;
                while (j < n && sql[j].isDigit())
                    ++j;
            }
            if (j < n && (sql[j] == QLatin1Char('e') || sql[j] == QLatin1Char('E'))) {
                int k = j + 1;
                if (k < n && (sql[k] == QLatin1Char('+') || sql[k] == QLatin1Char('-')))
                    ++k;
                if (k < n && sql[k].isDigit()) {
                    while (k < n && sql[k].isDigit())
                        ++k;
                    j = k;
                }
            }
            t.kind = Token::Kind::Number;
            t.text = sql.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n && (isIdentPart(sql[i + 1]))) {
            int j = i + 1;
            while (j < n && isIdentPart(sql[j]))
                ++j;
            t.kind = Token::Kind::Bind;
            t.text = sql.mid(i + 1, j - i - 1).toUpper();
            i = j;
        } else {
            static const char* const twoChar[] = {"||", "<>", "!=", "^=", "<=", ">=", ":="};
            t.kind = Token::Kind::Op;
            bool matched = false;
            for (const char* op : twoChar) {
                if (i + 1 < n && sql[i] == QLatin1Char(op[0]) && sql[i + 1] == QLatin1Char(op[1])) {
                    t.text = QString::fromLatin1(op);
                    i += 2;
                    matched = true;
                    break;
                }
            }
            if (!matched) {
                t.text = QString(c);
                ++i;
            }
        }
        t.end = i;
        tokens.append(t);
    }
    Token end;
    end.kind = Token::Kind::End;
    end.start = end.end = n;
    tokens.append(end);
    return tokens;
}

bool TokenCursor::acceptKw(const char* kw)
{
    if (!isKw(kw))
        return false;
    ++m_p;
    return true;
}

bool TokenCursor::acceptOp(const char* op)
{
    if (!isOp(op))
        return false;
    ++m_p;
    return true;
}

QString TokenCursor::name()
{
    if (!isName())
        throw DatabaseError(903, QStringLiteral("invalid table name"));
    return m_t[m_p++].text;
}

bool TokenCursor::takeRequiredOp(const char* op)
{
    if (acceptOp(op))
        return true;
    if (QLatin1String(op) == QLatin1String(")"))
        throw DatabaseError(907, QStringLiteral("missing right parenthesis"));
    if (QLatin1String(op) == QLatin1String("("))
        throw DatabaseError(906, QStringLiteral("missing left parenthesis"));
    return false;
}

}  // namespace kolmara::db::embedded
