// The session's NLS parameters: the instance's settings for sessions read at logon, and ALTER
// SESSION SET, which changes them (or the schema unqualified names resolve in) for this session.
#include "db/embedded/Engine.h"

#include "db/embedded/EngineSupport.h"
#include "db/embedded/OraValues.h"

namespace kolmara::db::embedded {

QList<QPair<QString, QString>> defaultNlsParameters()
{
    static const char* const rows[][2] = {
        {"NLS_LANGUAGE", "AMERICAN"},
        {"NLS_TERRITORY", "AMERICA"},
        {"NLS_CURRENCY", "$"},
        {"NLS_ISO_CURRENCY", "AMERICA"},
        {"NLS_NUMERIC_CHARACTERS", ".,"},
        {"NLS_CALENDAR", "GREGORIAN"},
        {"NLS_DATE_FORMAT", "YYYY-MM-DD HH24:MI:SS"},
        {"NLS_DATE_LANGUAGE", "AMERICAN"},
        {"NLS_CHARACTERSET", "KO16MSWIN949"},
        {"NLS_SORT", "BINARY"},
        {"NLS_TIME_FORMAT", "HH.MI.SSXFF AM"},
        {"NLS_TIMESTAMP_FORMAT", "YYYY-MM-DD HH24:MI:SSXFF"},
        {"NLS_TIME_TZ_FORMAT", "HH.MI.SSXFF AM TZR"},
        {"NLS_TIMESTAMP_TZ_FORMAT", "YYYY-MM-DD HH24:MI:SSXFF TZR"},
        {"NLS_DUAL_CURRENCY", "$"},
        {"NLS_NCHAR_CHARACTERSET", "AL16UTF16"},
        {"NLS_COMP", "BINARY"},
        {"NLS_LENGTH_SEMANTICS", "BYTE"},
        {"NLS_NCHAR_CONV_EXCP", "FALSE"},
    };
    QList<QPair<QString, QString>> out;
    for (const auto& r : rows)
        out.append({QString::fromLatin1(r[0]), QString::fromUtf8(r[1])});
    return out;
}

void EngineSession::loadNlsParameters()
{
    m_nls = defaultNlsParameters();
    // The instance's settings for sessions; in a database made before sessions kept their own,
    // V$NLS_PARAMETERS itself.
    QString settings;
    for (const char* table : {"SYS.V_$NLS_PARAMETERS$", "SYS.V_$NLS_PARAMETERS"}) {
        if (scalar(QStringLiteral("SELECT count(*) FROM main.sqlite_master WHERE type = 'table' AND"
                                  " name = ?"), {QString::fromLatin1(table)})
                .toLongLong()) {
            settings = QString::fromLatin1(table);
            break;
        }
    }
    if (settings.isEmpty())
        return;
    for (const QVariantList& r :
         rows(QStringLiteral("SELECT \"PARAMETER\", \"VALUE\" FROM main.") + quoteIdent(settings)))
        setNlsParameter(r[0].toString(), r[1].toString());
}

QString EngineSession::nlsParameter(const QString& name) const
{
    for (const auto& p : m_nls)
        if (p.first == name)
            return p.second;
    return {};
}

void EngineSession::setNlsParameter(const QString& name, const QString& value)
{
    for (auto& p : m_nls) {
        if (p.first == name) {
            p.second = value;
            return;
        }
    }
    m_nls.append({name, value});
}

// ALTER SESSION SET name = value ...: the NLS parameters the engine's functions follow change
// for this session; a value they cannot follow is refused rather than shown and ignored.
// CURRENT_SCHEMA moves where unqualified names resolve (the user must exist). Other
// parameters (SQL_TRACE, OPTIMIZER_MODE...) change nothing the engine computes.
void EngineSession::alterSession(const QList<Token>& tokens)
{
    auto word = [&](int i) { return i < tokens.size() ? tokens[i].text : QString(); };
    if (word(2) != QLatin1String("SET") || tokens[2].kind != Token::Kind::Ident)
        return;
    const DatabaseError badValue(
        12705, QStringLiteral("invalid or unknown NLS parameter value specified"));
    QList<QPair<QString, QString>> changes;
    QString schema;
    int i = 3;
    while (i < tokens.size() && tokens[i].kind != Token::Kind::End) {
        if (tokens[i].kind != Token::Kind::Ident || word(i + 1) != QLatin1String("=")
            || i + 2 >= tokens.size() || tokens[i + 2].kind == Token::Kind::End)
            throw DatabaseError(922, QStringLiteral("missing or invalid option"));
        const QString name = tokens[i].text;
        const Token& v = tokens[i + 2];
        const QString value = v.kind == Token::Kind::String || v.kind == Token::Kind::QuotedIdent
                                  ? v.text
                                  : v.text.toUpper();
        i += 3;
        if (name == QLatin1String("CURRENT_SCHEMA")) {
            if (v.kind != Token::Kind::Ident && v.kind != Token::Kind::QuotedIdent)
                throw DatabaseError(922, QStringLiteral("missing or invalid option"));
            if (scalar(QStringLiteral("SELECT count(*) FROM kol_users WHERE username = ?"), {value})
                    .toLongLong()
                == 0)
                throw DatabaseError(1435, QStringLiteral("user does not exist"));
            schema = value;
            continue;
        }
        if (!name.startsWith(QLatin1String("NLS_")))
            continue;
        auto only = [&](std::initializer_list<const char*> allowed) {
            for (const char* a : allowed)
                if (value.toUpper() == QLatin1String(a))
                    return;
            throw badValue;
        };
        if (name == QLatin1String("NLS_DATE_FORMAT")) {
            try {
                oraDateToChar(QDateTime(QDate(2003, 5, 15), QTime(14, 0, 0)), value);
            } catch (const OraFailure& f) {
                throw DatabaseError(f.code, f.text);
            }
            changes.append({name, value});
        } else if (name == QLatin1String("NLS_DATE_LANGUAGE")
                   || name == QLatin1String("NLS_LANGUAGE")) {
            if (!dateLanguageNamed(value))
                throw badValue;
            const QString language = value.toUpper();
            changes.append({name, language});
            // The language brings its day and month names.
            if (name == QLatin1String("NLS_LANGUAGE"))
                changes.append({QStringLiteral("NLS_DATE_LANGUAGE"), language});
        } else if (name == QLatin1String("NLS_TERRITORY")) {
            // The territory brings its currency and date formats.
            const bool korea = value.toUpper() == QLatin1String("KOREA");
            if (!korea && value.toUpper() != QLatin1String("AMERICA"))
                throw badValue;
            const QString currency = korea ? QStringLiteral("₩") : QStringLiteral("$");
            const QString date = korea ? QStringLiteral("RR/MM/DD") : QStringLiteral("DD-MON-RR");
            const QString stamp = korea ? QStringLiteral("RR/MM/DD HH24:MI:SSXFF")
                                        : QStringLiteral("DD-MON-RR HH.MI.SSXFF AM");
            changes +=
                {{name, value.toUpper()},
                 {QStringLiteral("NLS_CURRENCY"), currency},
                 {QStringLiteral("NLS_ISO_CURRENCY"), value.toUpper()},
                 {QStringLiteral("NLS_DUAL_CURRENCY"), currency},
                 {QStringLiteral("NLS_NUMERIC_CHARACTERS"), QStringLiteral(".,")},
                 {QStringLiteral("NLS_DATE_FORMAT"), date},
                 {QStringLiteral("NLS_TIMESTAMP_FORMAT"), stamp},
                 {QStringLiteral("NLS_TIMESTAMP_TZ_FORMAT"), stamp + QStringLiteral(" TZR")}};
        } else if (name == QLatin1String("NLS_ISO_CURRENCY")) {
            only({"KOREA", "AMERICA"});
            changes.append({name, value.toUpper()});
        } else if (name == QLatin1String("NLS_SORT") || name == QLatin1String("NLS_COMP")) {
            only({"BINARY"});
            changes.append({name, QStringLiteral("BINARY")});
        } else if (name == QLatin1String("NLS_NUMERIC_CHARACTERS")) {
            only({".,"});
            changes.append({name, value});
        } else if (name == QLatin1String("NLS_CALENDAR")) {
            only({"GREGORIAN"});
            changes.append({name, QStringLiteral("GREGORIAN")});
        } else if (name == QLatin1String("NLS_LENGTH_SEMANTICS")) {
            only({"BYTE"});
            changes.append({name, QStringLiteral("BYTE")});
        } else if (name == QLatin1String("NLS_CURRENCY")
                   || name == QLatin1String("NLS_DUAL_CURRENCY")
                   || name == QLatin1String("NLS_TIME_FORMAT")
                   || name == QLatin1String("NLS_TIMESTAMP_FORMAT")
                   || name == QLatin1String("NLS_TIME_TZ_FORMAT")
                   || name == QLatin1String("NLS_TIMESTAMP_TZ_FORMAT")
                   || name == QLatin1String("NLS_NCHAR_CONV_EXCP")) {
            // Shown as set; nothing the engine computes reads them.
            changes.append({name, value});
        } else {
            throw DatabaseError(2248, QStringLiteral("invalid option for ALTER SESSION"));
        }
    }
    // All or nothing, as one statement.
    for (const auto& c : std::as_const(changes))
        setNlsParameter(c.first, c.second);
    if (!schema.isEmpty())
        setUser(m_user, schema);
}

}  // namespace kolmara::db::embedded
