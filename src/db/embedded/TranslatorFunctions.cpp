// The translator's function calls: the Oracle functions the engine knows as ora_* SQL functions,
// with their result datatypes and the conversions Oracle makes of their arguments (NVL, DECODE,
// GREATEST...), and the calls with a syntax of their own (CAST, TRIM, EXTRACT).
#include "db/embedded/TranslatorInternal.h"

#include <QHash>

namespace kolmara::db::embedded::translation {

// The type of CASE and COALESCE: their values' one datatype (ORA-00932 for two).
void Translator::commonType(Expr& e, const QList<Expr>& values)
{
    bool lengthsKnown = true;
    for (const Expr& v : values) {
        if (v.isNull)
            continue;
        if (e.type == ExprType::Unknown)
            e.type = v.type;
        else if (differentFamilies(e.type, v.type))
            throw inconsistentTypes(e.type, v.type);
        else if (e.type != v.type)
            e.type = ExprType::Text;
        lengthsKnown = lengthsKnown && v.length >= 0;
        e.length = qMax(e.length, v.length);
    }
    if (!lengthsKnown)
        e.length = -1;
}

ExprType Translator::resultType(const QString& fn, const QList<ExprType>& args)
{
    static const QSet<QString> numbers = {
        QStringLiteral("TO_NUMBER"),     QStringLiteral("LENGTH"), QStringLiteral("LENGTHB"),
        QStringLiteral("MOD"),           QStringLiteral("ABS"),    QStringLiteral("CEIL"),
        QStringLiteral("FLOOR"),         QStringLiteral("SIGN"),   QStringLiteral("POWER"),
        QStringLiteral("SQRT"),          QStringLiteral("INSTR"),  QStringLiteral("ASCII"),
        QStringLiteral("MONTHS_BETWEEN")};
    static const QSet<QString> texts = {
        QStringLiteral("TO_CHAR"),       QStringLiteral("LPAD"),
        QStringLiteral("RPAD"),          QStringLiteral("SUBSTR"),
        QStringLiteral("SUBSTRB"),       QStringLiteral("LTRIM"),
        QStringLiteral("RTRIM"),         QStringLiteral("TRIM"),
        QStringLiteral("REPLACE"),       QStringLiteral("CONCAT"),
        QStringLiteral("CHR"),           QStringLiteral("INITCAP"),
        QStringLiteral("TRANSLATE"),     QStringLiteral("UPPER"),
        QStringLiteral("LOWER"),         QStringLiteral("USERENV"),
        QStringLiteral("TO_MULTI_BYTE"), QStringLiteral("TO_SINGLE_BYTE"),
        QStringLiteral("SYS_CONTEXT")};
    static const QSet<QString> dates = {QStringLiteral("TO_DATE"), QStringLiteral("ADD_MONTHS"),
                                        QStringLiteral("LAST_DAY"), QStringLiteral("NEXT_DAY")};
    // The first argument decides: ROUND and TRUNC of a date are dates, NVL takes its first
    // argument's type.
    static const QSet<QString> likeFirst = {QStringLiteral("ROUND"), QStringLiteral("TRUNC"),
                                            QStringLiteral("NVL")};
    if (numbers.contains(fn))
        return ExprType::Number;
    if (texts.contains(fn))
        return ExprType::Text;
    if (dates.contains(fn))
        return ExprType::Date;
    if (likeFirst.contains(fn) && !args.isEmpty()
        && (!isCharacter(args[0]) || fn == QLatin1String("NVL")))
        return args[0] == ExprType::Char ? ExprType::Text : args[0];
    return ExprType::Unknown;
}

Expr Translator::functionCall()
{
    const int start = m_p;
    const QString fn = name();
    expectOp("(");
    static const QSet<QString> aggregates = {QStringLiteral("COUNT"), QStringLiteral("SUM"),
                                             QStringLiteral("MIN"), QStringLiteral("MAX"),
                                             QStringLiteral("AVG")};
    if (aggregates.contains(fn))
        return aggregateCall(fn);
    if (fn == QLatin1String("CAST"))
        return castCall();
    if (fn == QLatin1String("TRIM"))
        return trimCall();
    if (fn == QLatin1String("EXTRACT"))
        return extractCall();
    if (fn == QLatin1String("SYS_CONNECT_BY_PATH"))
        return connectByPath();
    static const QSet<QString> analytic = {QStringLiteral("ROW_NUMBER"),
                                           QStringLiteral("RANK"),
                                           QStringLiteral("DENSE_RANK"),
                                           QStringLiteral("PERCENT_RANK"),
                                           QStringLiteral("CUME_DIST"),
                                           QStringLiteral("NTILE"),
                                           QStringLiteral("LAG"),
                                           QStringLiteral("LEAD"),
                                           QStringLiteral("FIRST_VALUE"),
                                           QStringLiteral("LAST_VALUE"),
                                           QStringLiteral("RATIO_TO_REPORT")};
    QList<Expr> argList;
    QStringList args;
    QList<ExprType> argTypes;
    if (!isOp(")")) {
        do {
            argList.append(expr());
            args.append(argList.last().sql);
            argTypes.append(argList.last().type);
        } while (acceptOp(","));
    }
    expectOp(")");
    Expr e;
    e.type = resultType(fn, argTypes);
    const int n = int(args.size());
    auto need = [&](int lo, int hi) {
        if (n < lo || n > hi)
            throw DatabaseError(909, QStringLiteral("invalid number of arguments"));
    };
    auto call = [&](const QString& sqlName) {
        return sqlName + QLatin1Char('(') + args.join(QStringLiteral(", ")) + QLatin1Char(')');
    };
    if (analytic.contains(fn))
        return analyticCall(fn, argList);
    if (fn == QLatin1String("DECODE"))
        return decodeCall(argList);
    if (fn == QLatin1String("NVL")) {
        need(2, 2);
        if (argList[0].type != ExprType::Unknown)
            args[1] = convertedTo(argList[0].type, argList[1]);
        e.sql = call(QStringLiteral("coalesce"));
        e.length = argList[0].length >= 0 && argList[1].length >= 0
                       ? qMax(argList[0].length, argList[1].length)
                       : -1;
    } else if (fn == QLatin1String("NVL2")) {
        need(3, 3);
        e.sql = QStringLiteral("CASE WHEN ") + args[0] + QStringLiteral(" IS NOT NULL THEN ")
                + args[1] + QStringLiteral(" ELSE ") + args[2] + QStringLiteral(" END");
        commonType(e, argList.mid(1));
    } else if (fn == QLatin1String("COALESCE")) {
        if (n < 2)
            throw DatabaseError(938, QStringLiteral("not enough arguments for function"));
        commonType(e, argList);
        e.sql = call(QStringLiteral("coalesce"));
    } else if (fn == QLatin1String("NULLIF")) {
        need(2, 2);
        if (differentFamilies(argList[0].type, argList[1].type))
            throw inconsistentTypes(argList[0].type, argList[1].type);
        QList<Expr> other{argList[1]};
        const QString first = compared(argList[0], other);
        e.sql = QStringLiteral("CASE WHEN ") + first + QStringLiteral(" = ") + other[0].sql
                + QStringLiteral(" THEN NULL ELSE ") + args[0] + QStringLiteral(" END");
        e.type = argList[0].type;
        e.length = argList[0].length;
    } else if (fn == QLatin1String("GREATEST") || fn == QLatin1String("LEAST")) {
        // The first argument's datatype decides how the others compare: GREATEST(10, '9') is 10.
        need(1, 1000);
        const ExprType first = argList[0].type;
        const QString kind = first == ExprType::Number ? QStringLiteral("'N'")
                             : isCharacter(first)      ? QStringLiteral("'T'")
                             : first == ExprType::Date ? QStringLiteral("'D'")
                                                       : QStringLiteral("'?'");
        args.prepend(kind);
        e.sql = call(fn == QLatin1String("GREATEST") ? QStringLiteral("ora_greatest")
                                                     : QStringLiteral("ora_least"));
        e.type = first == ExprType::Char ? ExprType::Text : first;
    } else if (fn == QLatin1String("UPPER") || fn == QLatin1String("LOWER")) {
        need(1, 1);
        e.sql = QStringLiteral("ora_") + fn.toLower() + QLatin1Char('(') + args[0]
                + QLatin1Char(')');
        e.length = argList[0].length;
    } else {
        struct Known {
            const char* name;
            int lo, hi;
        };
        static const Known known[] = {
            {"TO_CHAR", 1, 3},   {"TO_DATE", 1, 3},        {"TO_NUMBER", 1, 3},
            {"LPAD", 2, 3},      {"RPAD", 2, 3},           {"SUBSTR", 2, 3},
            {"ROUND", 1, 2},     {"TRUNC", 1, 2},          {"LTRIM", 1, 2},
            {"RTRIM", 1, 2},     {"LENGTH", 1, 1},         {"MOD", 2, 2},
            {"ABS", 1, 1},       {"CEIL", 1, 1},           {"FLOOR", 1, 1},
            {"SIGN", 1, 1},      {"POWER", 2, 2},          {"SQRT", 1, 1},
            {"INSTR", 2, 4},     {"REPLACE", 2, 3},        {"CONCAT", 2, 2},
            {"CHR", 1, 1},       {"ASCII", 1, 1},          {"ADD_MONTHS", 2, 2},
            {"LAST_DAY", 1, 1},  {"MONTHS_BETWEEN", 2, 2}, {"INITCAP", 1, 1},
            {"TRANSLATE", 3, 3}, {"LENGTHB", 1, 1},        {"SUBSTRB", 2, 3},
            {"USERENV", 1, 1},   {"TO_MULTI_BYTE", 1, 1},  {"TO_SINGLE_BYTE", 1, 1},
            {"NEXT_DAY", 2, 2},  {"SYS_CONTEXT", 2, 3}};
        for (const Known& k : known) {
            if (fn == QLatin1String(k.name)) {
                need(k.lo, k.hi);
                e.sql = call(QStringLiteral("ora_") + fn.toLower());
                return e;
            }
        }
        throw invalidIdentifier(tokenAt(start).text);
    }
    return e;
}

// value as compared with a bind whose datatype is that of the value bound, known only when the
// statement runs: a number or date meets text as its text form, character data meets a number
// as TO_NUMBER reads it.
QString Translator::likeBound(const Expr& value, const QString& bind)
{
    if (value.type == ExprType::Number || value.type == ExprType::Date)
        return QStringLiteral("(CASE WHEN typeof(%1) = 'text' THEN %2 ELSE %3 END)")
            .arg(bind, asText(value), value.sql);
    if (convertible(value))
        return QStringLiteral("(CASE WHEN typeof(%1) IN ('integer', 'real') THEN %2 ELSE %3 END)")
            .arg(bind, asNumber(value), value.sql);
    return value.sql;
}

// DECODE(expr, search, result, ..., default): expr and the searches compare as the first
// search's type, the results take the first result's type.
Expr Translator::decodeCall(QList<Expr> args)
{
    const int n = int(args.size());
    if (n < 3)
        throw DatabaseError(938, QStringLiteral("not enough arguments for function"));
    if (n > 255)
        throw DatabaseError(939, QStringLiteral("too many arguments for function"));
    Expr e;
    const ExprType searchType = args[1].type;
    const ExprType resultType = args[2].isNull ? ExprType::Text : args[2].type;
    // A first search that is a bind has the type of the value bound.
    const bool boundType = searchType == ExprType::Unknown && args[1].isBind;
    auto searched = [&](const Expr& value) {
        if (boundType)
            return likeBound(value, args[1].sql);
        return searchType != ExprType::Unknown && !value.isNull ? convertedTo(searchType, value)
                                                                : value.sql;
    };
    const QString subject = searched(args[0]);
    QString sql = QStringLiteral("CASE");
    QList<Expr> results;
    int i = 1;
    for (; i + 1 < n; i += 2) {
        const QString search = i == 1 && boundType ? args[1].sql : searched(args[i]);
        results.append(args[i + 1]);
        sql += QStringLiteral(" WHEN ") + subject + QStringLiteral(" IS ") + search
               + QStringLiteral(" THEN ") + convertedTo(resultType, args[i + 1]);
    }
    if (i < n) {
        results.append(args[i]);
        sql += QStringLiteral(" ELSE ") + convertedTo(resultType, args[i]);
    }
    e.sql = sql + QStringLiteral(" END");
    e.type = resultType == ExprType::Char ? ExprType::Text : resultType;
    bool lengthsKnown = true;
    for (const Expr& r : std::as_const(results)) {
        lengthsKnown = lengthsKnown && (r.length >= 0 || r.isNull);
        e.length = qMax(e.length, r.length);
    }
    if (!lengthsKnown || !isCharacter(e.type))
        e.length = -1;
    return e;
}

// CAST(expr AS type).
Expr Translator::castCall()
{
    const Expr value = expr();
    expectKw("AS");
    const QString type = name();
    int length = 0, precision = -1, scale = -1;
    auto sizes = [&](bool twoNumbers) {
        if (!acceptOp("("))
            return false;
        auto number = [&] {
            if (peek().kind != Token::Kind::Number)
                throw DatabaseError(
                    1727, QStringLiteral("numeric precision specifier is out of range (1 to 38)"));
            return tokenAt(m_p++).text.toInt();
        };
        length = isOp("*") ? (++m_p, 38) : number();
        if (twoNumbers) {
            precision = length;
            scale = acceptOp(",") ? number() : 0;
        }
        acceptKw("BYTE") || acceptKw("CHAR");
        expectOp(")");
        return true;
    };
    Expr e;
    QString target;
    if (type == QLatin1String("NUMBER") || type == QLatin1String("NUMERIC")
        || type == QLatin1String("DECIMAL") || type == QLatin1String("FLOAT")) {
        sizes(type != QLatin1String("FLOAT"));
        target = QStringLiteral("NUMBER");
        e.type = ExprType::Number;
    } else if (type == QLatin1String("INTEGER") || type == QLatin1String("INT")
               || type == QLatin1String("SMALLINT")) {
        target = QStringLiteral("NUMBER");
        scale = 0;
        e.type = ExprType::Number;
    } else if (type == QLatin1String("VARCHAR2") || type == QLatin1String("VARCHAR")
               || type == QLatin1String("NVARCHAR2")) {
        if (!sizes(false))
            throw DatabaseError(906, QStringLiteral("missing left parenthesis"));
        target = QStringLiteral("VARCHAR2");
        e.type = ExprType::Text;
        e.length = length;
    } else if (type == QLatin1String("CHAR") || type == QLatin1String("NCHAR")) {
        if (!sizes(false))
            length = 1;
        target = QStringLiteral("CHAR");
        e.type = ExprType::Char;
        e.length = length;
    } else if (type == QLatin1String("DATE")) {
        target = QStringLiteral("DATE");
        e.type = ExprType::Date;
    } else {
        throw DatabaseError(902, QStringLiteral("invalid datatype"));
    }
    expectOp(")");
    if ((e.type == ExprType::Date && value.type == ExprType::Number)
        || (e.type == ExprType::Number && value.type == ExprType::Date))
        throw inconsistentTypes(e.type, value.type);
    e.sql = QStringLiteral("ora_cast(%1, '%2', %3, %4, %5)")
                .arg(value.sql, target)
                .arg(length)
                .arg(precision)
                .arg(scale);
    return e;
}

// TRIM([[LEADING | TRAILING | BOTH] [character] FROM] text).
Expr Translator::trimCall()
{
    QString mode;
    if (acceptKw("LEADING"))
        mode = QStringLiteral("L");
    else if (acceptKw("TRAILING"))
        mode = QStringLiteral("T");
    else if (acceptKw("BOTH"))
        mode = QStringLiteral("B");
    QString character = QStringLiteral("' '");
    Expr text;
    if (!mode.isEmpty() && acceptKw("FROM")) {
        text = expr();
    } else {
        const Expr first = expr();
        if (acceptKw("FROM")) {
            character = first.sql;
            text = expr();
        } else if (!mode.isEmpty()) {
            throw DatabaseError(905, QStringLiteral("missing keyword"));
        } else {
            text = first;
        }
    }
    expectOp(")");
    Expr e;
    e.type = ExprType::Text;
    e.length = text.length;
    e.sql = QStringLiteral("ora_trim_set(%1, %2, '%3')")
                .arg(text.sql, character, mode.isEmpty() ? QStringLiteral("B") : mode);
    return e;
}

// EXTRACT(YEAR | MONTH | DAY FROM date); a DATE has no time zone fields, and Oracle gives no
// time fields of a DATE either.
Expr Translator::extractCall()
{
    static const QHash<QString, QString> fields = {{QStringLiteral("YEAR"), QStringLiteral("YYYY")},
                                                   {QStringLiteral("MONTH"), QStringLiteral("MM")},
                                                   {QStringLiteral("DAY"), QStringLiteral("DD")}};
    const QString field = name();
    expectKw("FROM");
    const Expr value = expr();
    expectOp(")");
    if (!fields.contains(field))
        throw DatabaseError(30076, QStringLiteral("invalid extract field for extract source"));
    if (value.type == ExprType::Number)
        throw inconsistentTypes(ExprType::Date, value.type);
    Expr e;
    e.type = ExprType::Number;
    e.sql = QStringLiteral("ora_to_number(ora_to_char(%1, '%2'))")
                .arg(convertedTo(ExprType::Date, value), fields.value(field));
    return e;
}

}  // namespace kolmara::db::embedded::translation
