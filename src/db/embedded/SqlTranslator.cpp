// The translator's entry points (a statement, a column DEFAULT, the heading of an expression),
// the reading of a whole statement, the token helpers and the small routines the translator's
// files share. How the reading works: TranslatorInternal.h.
#include "db/embedded/SqlTranslator.h"

#include "db/DatabaseError.h"
#include "db/embedded/TranslatorInternal.h"

#include <QSet>

namespace kolmara::db::embedded {

namespace translation {

QString quoteIdent(const QString& name)
{
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QString quoteString(const QString& text)
{
    QString q = text;
    q.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + q + QLatin1Char('\'');
}

DatabaseError invalidIdentifier(const QString& name)
{
    return DatabaseError(904, QStringLiteral("\"%1\": invalid identifier").arg(name));
}

DatabaseError pseudoColumnNotAllowed()
{
    return DatabaseError(976, QStringLiteral("LEVEL, PRIOR, or ROWNUM not allowed here"));
}

DatabaseError tooManyValues() { return DatabaseError(913, QStringLiteral("too many values")); }

DatabaseError notEnoughValues() { return DatabaseError(947, QStringLiteral("not enough values")); }

const QSet<QString>& reservedWords()
{
    static const QSet<QString> words = {
        QStringLiteral("FROM"),      QStringLiteral("WHERE"),     QStringLiteral("GROUP"),
        QStringLiteral("ORDER"),     QStringLiteral("HAVING"),    QStringLiteral("UNION"),
        QStringLiteral("MINUS"),     QStringLiteral("INTERSECT"), QStringLiteral("CONNECT"),
        QStringLiteral("START"),     QStringLiteral("AND"),       QStringLiteral("OR"),
        QStringLiteral("ON"),        QStringLiteral("JOIN"),      QStringLiteral("LEFT"),
        QStringLiteral("RIGHT"),     QStringLiteral("INNER"),     QStringLiteral("OUTER"),
        QStringLiteral("CROSS"),     QStringLiteral("FULL"),      QStringLiteral("NATURAL"),
        QStringLiteral("USING"),     QStringLiteral("INTO"),      QStringLiteral("VALUES"),
        QStringLiteral("SET"),       QStringLiteral("BY"),        QStringLiteral("WITH"),
        QStringLiteral("FOR"),       QStringLiteral("SELECT"),    QStringLiteral("NOT"),
        QStringLiteral("IS"),        QStringLiteral("IN"),        QStringLiteral("LIKE"),
        QStringLiteral("BETWEEN"),   QStringLiteral("ESCAPE"),    QStringLiteral("AS"),
        QStringLiteral("ASC"),       QStringLiteral("DESC"),      QStringLiteral("NULLS"),
        QStringLiteral("WHEN"),      QStringLiteral("THEN"),      QStringLiteral("ELSE"),
        QStringLiteral("END"),       QStringLiteral("DISTINCT"),  QStringLiteral("ALL"),
        QStringLiteral("RETURNING"), QStringLiteral("PRIOR")};
    return words;
}

bool isCharacter(ExprType t) { return t == ExprType::Text || t == ExprType::Char; }

bool differentFamilies(ExprType a, ExprType b)
{
    if (a == ExprType::Unknown || b == ExprType::Unknown)
        return false;
    return (isCharacter(a) ? ExprType::Text : a) != (isCharacter(b) ? ExprType::Text : b);
}

QString typeName(ExprType t)
{
    switch (t) {
    case ExprType::Number:
        return QStringLiteral("NUMBER");
    case ExprType::Date:
        return QStringLiteral("DATE");
    default:
        break;
    }
    return QStringLiteral("CHAR");
}

DatabaseError inconsistentTypes(ExprType expected, ExprType got)
{
    return DatabaseError(932, QStringLiteral("inconsistent datatypes: expected %1 got %2")
                                  .arg(typeName(expected), typeName(got)));
}

ExprType typeOfColumn(const QString& dataType)
{
    if (dataType == QLatin1String("NUMBER") || dataType == QLatin1String("FLOAT")
        || dataType == QLatin1String("INTEGER"))
        return ExprType::Number;
    if (dataType == QLatin1String("CHAR") || dataType == QLatin1String("NCHAR"))
        return ExprType::Char;
    if (dataType == QLatin1String("VARCHAR2") || dataType == QLatin1String("VARCHAR")
        || dataType == QLatin1String("NVARCHAR2") || dataType == QLatin1String("LONG"))
        return ExprType::Text;
    if (dataType == QLatin1String("DATE"))
        return ExprType::Date;
    return ExprType::Unknown;
}

bool fitsSqliteNumber(const ColumnInfo& c)
{
    if (c.dataType != QLatin1String("NUMBER") || c.precision < 1)
        return false;
    return c.precision <= 15 || (c.scale == 0 && c.precision <= 18);
}

bool mayBeLongNumber(const Expr& e)
{
    return e.type == ExprType::Number && !e.shortNumber
           && !(e.column && fitsSqliteNumber(*e.column)) && !e.literal;
}

bool convertible(const Expr& e)
{
    return isCharacter(e.type) || (e.isBind && e.type == ExprType::Unknown);
}

QString asNumber(const Expr& e)
{
    return QStringLiteral("ora_to_number(") + e.sql + QLatin1Char(')');
}

QString asDate(const Expr& e)
{
    return (e.fixed ? QStringLiteral("ora_fixed_date(") : QStringLiteral("ora_to_date(")) + e.sql
           + QLatin1Char(')');
}

QString asText(const Expr& e) { return QStringLiteral("ora_to_char(") + e.sql + QLatin1Char(')'); }

QString convertedTo(ExprType target, const Expr& e)
{
    if (target == ExprType::Number && convertible(e))
        return asNumber(e);
    if (target == ExprType::Date && convertible(e))
        return asDate(e);
    if (isCharacter(target) && (e.type == ExprType::Number || e.type == ExprType::Date))
        return asText(e);
    return e.sql;
}

ResultColumn resultColumnOf(const Expr& e, const QString& name, bool unnamed)
{
    ResultColumn r;
    if (e.column)
        r.column = *e.column;
    else {
        switch (e.type) {
        case ExprType::Number:
            r.column.dataType = QStringLiteral("NUMBER");
            r.column.length = 22;
            break;
        case ExprType::Text:
            r.column.dataType = QStringLiteral("VARCHAR2");
            r.column.length = e.length;
            break;
        case ExprType::Char:
            r.column.dataType = QStringLiteral("CHAR");
            r.column.length = e.length;
            break;
        case ExprType::Date:
            r.column.dataType = QStringLiteral("DATE");
            r.column.length = 7;
            break;
        case ExprType::Unknown:
            break;
        }
    }
    r.column.name = name;
    r.unnamedExpression = unnamed;
    r.bind = e.isBind;
    return r;
}

const char* const kComparisons[] = {"=", "<>", "!=", "^=", "<", ">", "<=", ">="};

Translation Translator::statement()
{
    Translation out;
    QString body;
    if (isKw("INSERT")) {
        out.kind = Translation::Kind::Dml;
        body = insertStatement();
    } else if (isKw("UPDATE")) {
        out.kind = Translation::Kind::Dml;
        body = updateStatement();
    } else if (isKw("DELETE")) {
        out.kind = Translation::Kind::Dml;
        body = deleteStatement();
    } else if (isKw("MERGE")) {
        out.kind = Translation::Kind::Dml;
        body = mergeStatement(out.before);
    } else {
        const QueryResult q = query();
        body = q.sql;
        out.columns = q.columns;
        out.columnsKnown = q.columnsKnown;
        if (acceptKw("FOR")) {
            expectKw("UPDATE");
            while (!atEnd() && !isOp(";"))
                ++m_p;
        }
    }
    acceptOp(";");
    if (!atEnd())
        throw DatabaseError(933, QStringLiteral("SQL command not properly ended"));
    const QString with = withClause();
    out.sql = with + body;
    for (Translation::Step& step : out.before)
        step.sql = with + step.sql;
    out.params = m_params;
    if (out.kind == Translation::Kind::Query && !m_probes.isEmpty()) {
        // Keys and exact MIN/MAX of indexed columns give way to SQLite's own where the
        // column holds no long number, so that its index can serve.
        out.plainSql = out.sql;
        out.plainSql.replace(QStringLiteral("ora_numkey_i("), QStringLiteral("("))
            .replace(QStringLiteral("ora_min_i("), QStringLiteral("min("))
            .replace(QStringLiteral("ora_max_i("), QStringLiteral("max("));
        out.probes = m_probes;
    }
    return out;
}

QString Translator::standaloneExpression()
{
    const QString e = expr().sql;
    if (!atEnd())
        throw DatabaseError(933, QStringLiteral("SQL command not properly ended"));
    return e;
}

void Translator::expectKw(const char* kw)
{
    if (!acceptKw(kw))
        throw syntaxError();
}

void Translator::expectOp(const char* op)
{
    if (!takeRequiredOp(op))
        throw syntaxError();
}

DatabaseError Translator::syntaxError() const
{
    if (atEnd())
        return DatabaseError(936, QStringLiteral("missing expression"));
    return DatabaseError(933, QStringLiteral("SQL command not properly ended"));
}

bool Translator::aliasFollows() const
{
    const Token& t = peek();
    if (t.kind == Token::Kind::QuotedIdent)
        return true;
    return t.kind == Token::Kind::Ident && !reservedWords().contains(t.text);
}

QString Translator::comparisonAt(int ahead) const
{
    for (const char* op : kComparisons)
        if (isOp(op, ahead))
            return QString::fromLatin1(op);
    return {};
}

// Where the current clause of a query block ends, for the scans that look ahead.
bool Translator::clauseEnds(int i) const
{
    const Token& t = tokenAt(i);
    if (t.kind == Token::Kind::End || (t.kind == Token::Kind::Op && t.text == QLatin1String(";")))
        return true;
    static const QSet<QString> words = {
        QStringLiteral("UNION"),   QStringLiteral("MINUS"), QStringLiteral("INTERSECT"),
        QStringLiteral("ORDER"),   QStringLiteral("GROUP"), QStringLiteral("HAVING"),
        QStringLiteral("CONNECT"), QStringLiteral("START"), QStringLiteral("WHERE")};
    return t.kind == Token::Kind::Ident && words.contains(t.text);
}

QString Translator::bindParam(const QString& key)
{
    int index = int(m_params.indexOf(key));
    if (index < 0) {
        m_params.append(key);
        index = int(m_params.size()) - 1;
    }
    return QStringLiteral("?%1").arg(index + 1);
}

QString Translator::withClause() const
{
    return m_ctes.isEmpty()
               ? QString()
               : QStringLiteral("WITH ") + m_ctes.join(QStringLiteral(", ")) + QLatin1Char(' ');
}

int Translator::errorPosition(const DatabaseError& error) const
{
    const int here = qMin(m_p, int(m_t.size()) - 1);
    auto nameAt = [&](int i) {
        return i >= 0
               && (tokenAt(i).kind == Token::Kind::Ident
                   || tokenAt(i).kind == Token::Kind::QuotedIdent);
    };
    if (error.code() == 942 && here > 0) {
        // The start of the name just read, its owner included.
        int at = here - 1;
        if (nameAt(at - 2) && tokenAt(at - 1).kind == Token::Kind::Op
            && tokenAt(at - 1).text == QLatin1String("."))
            at -= 2;
        return tokenAt(at).start;
    }
    if (error.code() == 904) {
        const QString text = error.message();
        const int open = int(text.indexOf(QLatin1Char('"')));
        const int close = open < 0 ? -1 : int(text.indexOf(QLatin1Char('"'), open + 1));
        const QString name = close < 0 ? QString() : text.mid(open + 1, close - open - 1);
        for (int i = here; i >= 0; --i)
            if (nameAt(i) && tokenAt(i).text == name)
                return tokenAt(i).start;
    }
    return tokenAt(here).start;
}

}  // namespace translation

DatabaseError nestedTooDeeply()
{
    return DatabaseError(
        0, QStringLiteral("The statement nests parentheses and subqueries too deeply for the "
                          "embedded database."));
}

Translation translateStatement(const QList<Token>& tokens, const QString& sql,
                               NameResolver& resolver)
{
    translation::Translator t(tokens, sql, resolver);
    try {
        return t.statement();
    } catch (DatabaseError& e) {
        if (e.position() < 0)
            e.setPosition(t.errorPosition(e));
        throw;
    }
}

QString translateExpression(const QString& text, NameResolver& resolver)
{
    const QList<Token> tokens = tokenize(text);
    translation::Translator t(tokens, text, resolver);
    return t.standaloneExpression();
}

QString headingOf(const QString& source)
{
    QString out;
    bool quoted = false;
    for (QChar c : source) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c.isSpace())
            continue;
        out += quoted ? c : c.toUpper();
    }
    return out;
}

}  // namespace kolmara::db::embedded
