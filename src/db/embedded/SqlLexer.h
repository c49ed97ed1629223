// Splits Oracle SQL text into tokens. Comments and optimiser hints are dropped; unquoted
// identifiers are upper-cased and may carry '#' and '$' (SERIAL#, V$SESSION); binds are ":NAME".
#pragma once

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

}  // namespace kolmara::db::embedded
