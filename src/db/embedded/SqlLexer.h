// Splits Oracle SQL text into tokens. Comments and optimiser hints are dropped; unquoted
// identifiers are upper-cased and may carry '#' and '$' (SERIAL#, V$SESSION); binds are ":NAME";
// strings come as '...', N'...', q'[...]' and Nq'[...]'.
#pragma once

#include "db/DatabaseError.h"

#include <QList>
#include <QString>

namespace kolmara::db::embedded {

struct Token {
    enum class Kind { Ident, QuotedIdent, String, Number, Bind, Op, End };
    Kind kind = Kind::End;
    QString text;  // Ident: upper case; QuotedIdent/String: the content; Bind: upper-case name
    int start = 0;
    int end = 0;
};

// Throws DatabaseError for an unterminated quote (ORA-01756) or a character Oracle would reject
// (ORA-00911).
QList<Token> tokenize(const QString& sql);

// A read position over a statement's tokens, the common ground of the statement parsers. The
// token list ends with an End token, which peek() keeps returning past the end.
class TokenCursor {
protected:
    explicit TokenCursor(const QList<Token>& tokens) : m_t(tokens) {}

    // Every read of a token goes through here: a position outside the list, ahead of its end
    // or before its start, reads the End token, so no look-ahead can leave the list.
    const Token& tokenAt(qsizetype i) const
    {
        const qsizetype last = m_t.size() - 1;
        return m_t[i < 0 || i > last ? last : i];
    }
    const Token& peek(int ahead = 0) const { return tokenAt(qsizetype(m_p) + ahead); }
    bool isKw(const char* kw, int ahead = 0) const
    {
        const Token& t = peek(ahead);
        return t.kind == Token::Kind::Ident && t.text == QLatin1String(kw);
    }
    bool isOp(const char* op, int ahead = 0) const
    {
        const Token& t = peek(ahead);
        return t.kind == Token::Kind::Op && t.text == QLatin1String(op);
    }
    bool acceptKw(const char* kw);
    bool acceptOp(const char* op);
    bool isName(int ahead = 0) const
    {
        const Token& t = peek(ahead);
        return t.kind == Token::Kind::Ident || t.kind == Token::Kind::QuotedIdent;
    }
    // The next name; ORA-00903 when there is none.
    QString name();
    // Takes the operator the statement needs there: true when it was there; a missing
    // parenthesis throws ORA-00906/00907; false leaves the error to the parser.
    bool takeRequiredOp(const char* op);

    const QList<Token>& m_t;
    int m_p = 0;
};

}  // namespace kolmara::db::embedded
