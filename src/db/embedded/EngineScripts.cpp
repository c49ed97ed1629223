// Scripts the engine runs itself: the seed scripts of a new database, split into statements,
// whose many INSERTs of literals share one translation and one prepared statement per table.
#include "db/embedded/Engine.h"

#include "common/SqlScanner.h"
#include "db/embedded/OraValues.h"

#include <optional>

namespace kolmara::db::embedded {

namespace {

// The value SQLite would make of a literal as the translator writes it; nullopt for anything that
// is not a plain literal.
std::optional<QVariant> literalValue(const QList<Token>& tokens, int& i)
{
    const Token& t = tokens[i];
    if (t.kind == Token::Kind::String) {
        ++i;
        return t.text.isEmpty() ? QVariant() : QVariant(t.text);
    }
    if (t.kind == Token::Kind::Ident && t.text == QLatin1String("NULL")) {
        ++i;
        return QVariant();
    }
    const bool negative = t.kind == Token::Kind::Op && t.text == QLatin1String("-");
    const Token& n = tokens[negative ? i + 1 : i];
    if (n.kind != Token::Kind::Number)
        return std::nullopt;
    const auto number = parseOraNumber(n.text);
    if (!number)
        return std::nullopt;
    i += negative ? 2 : 1;
    switch (number->kind) {
    case OraNumber::Kind::Integer:
        return QVariant(negative ? -number->integer : number->integer);
    case OraNumber::Kind::Real: {
        const double value = number->text().toDouble();
        return QVariant(negative ? -value : value);
    }
    case OraNumber::Kind::Big:
        break;
    }
    if (negative)
        return std::nullopt;
    return QVariant(QString(kBigNumberMark) + number->big);
}

}  // namespace

void EngineSession::runScript(const QString& text)
{
    for (const QString& statement : sql::splitSeedScript(text)) {
        try {
            if (!runLiteralInsert(statement))
                execute(statement, {});
        } catch (const DatabaseError& e) {
            throw DatabaseError(e.code(), e.message().mid(e.code() > 0 ? 11 : 0)
                                              + QStringLiteral(" [") + statement.left(120)
                                              + QLatin1Char(']'));
        }
    }
}

// A seed script inserts thousands of rows, one INSERT ... VALUES of literals each. With the
// literals taken out as parameters, the rows of one table share one translation and one prepared
// statement instead of a parse of their own. Anything else goes the ordinary way (false).
bool EngineSession::runLiteralInsert(const QString& statement)
{
    if (!m_db || !statement.startsWith(QLatin1String("INSERT"), Qt::CaseInsensitive))
        return false;
    const QList<Token> tokens = tokenize(statement);
    auto isIdent = [&](int i, const char* word) {
        return i < tokens.size() && tokens[i].kind == Token::Kind::Ident
               && tokens[i].text == QLatin1String(word);
    };
    auto isOp = [&](int i, const char* op) {
        return i < tokens.size() && tokens[i].kind == Token::Kind::Op
               && tokens[i].text == QLatin1String(op);
    };
    if (!isIdent(0, "INSERT") || !isIdent(1, "INTO"))
        return false;
    int values = 2;
    while (values < tokens.size() && !isIdent(values, "VALUES")) {
        if (tokens[values].kind == Token::Kind::String || tokens[values].kind == Token::Kind::Bind
            || tokens[values].kind == Token::Kind::End || isIdent(values, "SELECT"))
            return false;
        ++values;
    }
    if (!isOp(values + 1, "("))
        return false;
    QList<Token> shaped = tokens.mid(0, values + 2);
    QVariantList literals;
    int i = values + 2;
    for (;;) {
        const auto value = literalValue(tokens, i);
        if (!value)
            return false;
        literals.append(*value);
        Token bind;
        bind.kind = Token::Kind::Bind;
        bind.text = QStringLiteral("#L%1").arg(literals.size());
        shaped.append(bind);
        if (isOp(i, ",")) {
            shaped.append(tokens[i++]);
            continue;
        }
        break;
    }
    if (!isOp(i, ")") || i + 1 >= tokens.size() || tokens[i + 1].kind != Token::Kind::End)
        return false;
    shaped.append(tokens[i]);
    shaped.append(tokens[i + 1]);
    // The text of the shape, rebuilt from its tokens: the cache key of its translation.
    QString sql;
    for (Token& t : shaped) {
        if (t.kind == Token::Kind::End) {
            t.start = t.end = int(sql.size());
            break;
        }
        const QString text = t.kind == Token::Kind::Bind ? QLatin1Char(':') + t.text
                                                         : statement.mid(t.start, t.end - t.start);
        if (!sql.isEmpty())
            sql += QLatin1Char(' ');
        t.start = int(sql.size());
        sql += text;
        t.end = int(sql.size());
    }
    checkAlive();
    m_statementNow = engineNow();
    refreshGeneration();
    runTranslated(sql, shaped, {}, &literals);
    return true;
}

}  // namespace kolmara::db::embedded
