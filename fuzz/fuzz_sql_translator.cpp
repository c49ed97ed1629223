// The embedded engine's SQL lexer and translator on arbitrary statement text, translated without
// being run, over a catalogue stand-in that knows every table. Either a translation comes back or
// a DatabaseError does (with an ORA- code, or the engine's own refusal of a statement nested too
// deep); any other exception, a crash, undefined behaviour or a hang is a finding.
#include "db/DatabaseError.h"
#include "db/embedded/SqlLexer.h"
#include "db/embedded/SqlTranslator.h"
#include "FuzzCheck.h"

using namespace kolmara;
using namespace kolmara::db::embedded;
using kolmara::db::DatabaseError;

namespace {

// Every name is a table of SCOTT with the same columns, except names that begin with "NO",
// which do not exist, so the error paths of name resolution run too.
class AnyTable : public NameResolver {
public:
    TableRef resolveTable(const QString& owner, const QString& name, const QString&) override
    {
        if (name.startsWith(QLatin1String("NO")))
            throw DatabaseError(942, QStringLiteral("table or view does not exist"));
        const QString schema = owner.isEmpty() ? QStringLiteral("SCOTT") : owner;
        return {schema, name, schema + u'.' + name};
    }
    QString resolveSequence(const QString& owner, const QString& name) override
    {
        if (name.startsWith(QLatin1String("NO")))
            throw DatabaseError(2289, QStringLiteral("sequence does not exist"));
        return (owner.isEmpty() ? QStringLiteral("SCOTT") : owner) + u'.' + name;
    }
    QList<ColumnInfo> columnsOf(const TableRef&) override
    {
        return {{QStringLiteral("EMPNO"), QStringLiteral("NUMBER"), 22, 4, 0, true, {}},
                {QStringLiteral("ENAME"), QStringLiteral("VARCHAR2"), 10, -1, -1, false, {}},
                {QStringLiteral("HIREDATE"), QStringLiteral("DATE"), 7, -1, -1, false,
                 QStringLiteral("SYSDATE")},
                {QStringLiteral("SAL"), QStringLiteral("NUMBER"), 22, 7, 2, false, {}},
                {QStringLiteral("CODE"), QStringLiteral("CHAR"), 3, -1, -1, false,
                 QStringLiteral("'A'")},
                {QStringLiteral("NOTE"), QStringLiteral("LONG"), 0, -1, -1, false, {}}};
    }
};

bool translatable(const QList<Token>& tokens)
{
    const Token& first = tokens.first();
    if (first.kind == Token::Kind::Op)
        return first.text == QLatin1String("(");
    return first.kind == Token::Kind::Ident &&
           (first.text == QLatin1String("SELECT") || first.text == QLatin1String("WITH") ||
            first.text == QLatin1String("INSERT") || first.text == QLatin1String("UPDATE") ||
            first.text == QLatin1String("DELETE"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString sql = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    AnyTable catalogue;
    try {
        const QList<Token> tokens = tokenize(sql);
        FUZZ_CHECK(!tokens.isEmpty() && tokens.last().kind == Token::Kind::End,
                   "the tokens end with End");
        for (const Token& token : tokens)
            FUZZ_CHECK(token.start >= 0 && token.start <= token.end && token.end <= sql.size(),
                       "a token lies inside the statement");
        if (translatable(tokens)) {
            const Translation translation = translateStatement(tokens, sql, catalogue);
            FUZZ_CHECK(!translation.sql.isEmpty(), "a translation has text");
        }
    } catch (const DatabaseError& error) {
        FUZZ_CHECK(error.message().startsWith(QLatin1String("ORA-")) ||
                       error.message() == nestedTooDeeply().message(),
                   "a refusal carries an ORA- code");
    }
    try {
        translateExpression(sql, catalogue);
    } catch (const DatabaseError& error) {
        FUZZ_CHECK(error.message().startsWith(QLatin1String("ORA-")) ||
                       error.message() == nestedTooDeeply().message(),
                   "a refused expression carries an ORA- code");
    }
    headingOf(sql);
    return 0;
}
