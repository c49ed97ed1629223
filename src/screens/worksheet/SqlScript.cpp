// The worksheet's statement split, statement kinds, keywords and PL/SQL unit reading.
#include "screens/worksheet/SqlScript.h"

#include <QSet>

#include <algorithm>

namespace kolmara::screens {

namespace {

using Kind = SqlToken::Kind;
using sql::scanText;

QString upperWord(const QString& text, const SqlToken& t)
{
    return text.mid(t.start, t.length).toUpper();
}

const QSet<QString>& plsqlTypeWords()
{
    static const QSet<QString> words = {QStringLiteral("PROCEDURE"), QStringLiteral("FUNCTION"),
                                        QStringLiteral("PACKAGE"),   QStringLiteral("TRIGGER"),
                                        QStringLiteral("TYPE"),      QStringLiteral("LIBRARY"),
                                        QStringLiteral("JAVA")};
    return words;
}

bool isEditionWord(const QString& w)
{
    return w == QLatin1String("EDITIONABLE") || w == QLatin1String("NONEDITIONABLE") ||
           w == QLatin1String("EDITIONING");
}

// Whether the first words of a statement open a PL/SQL block or unit: 1 yes, 0 no, -1 not known
// from these words yet.
int plsqlByWords(const QStringList& words)
{
    if (words.isEmpty())
        return -1;
    if (words[0] == QLatin1String("DECLARE") || words[0] == QLatin1String("BEGIN"))
        return 1;
    if (words[0] != QLatin1String("CREATE"))
        return 0;
    int i = 1;
    if (i < words.size() && words[i] == QLatin1String("OR")) {
        ++i;
        if (i < words.size() && words[i] == QLatin1String("REPLACE"))
            ++i;
    }
    while (i < words.size() && isEditionWord(words[i]))
        ++i;
    if (i >= words.size())
        return -1;
    return plsqlTypeWords().contains(words[i]) ? 1 : 0;
}

// SQL*Plus's own commands, which it reads to the line end; SET is one unless SQL's own SET
// TRANSACTION, ROLE or CONSTRAINT[S] follows.
bool isSqlPlusCommand(const QString& first, const QString& second)
{
    static const QSet<QString> words = {
        QStringLiteral("REM"),        QStringLiteral("REMARK"),   QStringLiteral("PROMPT"),
        QStringLiteral("SPOOL"),      QStringLiteral("WHENEVER"), QStringLiteral("EXIT"),
        QStringLiteral("QUIT"),       QStringLiteral("SHOW"),     QStringLiteral("SHO"),
        QStringLiteral("DEFINE"),     QStringLiteral("DEF"),      QStringLiteral("UNDEFINE"),
        QStringLiteral("UNDEF"),      QStringLiteral("COLUMN"),   QStringLiteral("COL"),
        QStringLiteral("TTITLE"),     QStringLiteral("BTITLE"),   QStringLiteral("BREAK"),
        QStringLiteral("COMPUTE"),    QStringLiteral("CLEAR"),    QStringLiteral("PAUSE"),
        QStringLiteral("ACCEPT"),     QStringLiteral("VARIABLE"), QStringLiteral("VAR"),
        QStringLiteral("PRINT"),      QStringLiteral("CONNECT"),  QStringLiteral("CONN"),
        QStringLiteral("DISCONNECT"), QStringLiteral("HOST"),     QStringLiteral("DESCRIBE"),
        QStringLiteral("DESC"),       QStringLiteral("TIMING"),   QStringLiteral("STORE"),
        QStringLiteral("START")};
    if (first == QLatin1String("SET"))
        return second != QLatin1String("TRANSACTION") && second != QLatin1String("ROLE") &&
               second != QLatin1String("CONSTRAINT") && second != QLatin1String("CONSTRAINTS");
    return words.contains(first);
}

}  // namespace

// ---- Keywords -------------------------------------------------------------------------------

bool isSqlKeyword(const QString& upperWord)
{
    static const QSet<QString> words = [] {
        QSet<QString> set;
        const char* list[] = {"ACCESS",      "ADD",
                              "AFTER",       "ALL",
                              "ALTER",       "AND",
                              "ANY",         "AS",
                              "ASC",         "AUTHID",
                              "BEFORE",      "BEGIN",
                              "BETWEEN",     "BINARY_INTEGER",
                              "BLOB",        "BODY",
                              "BOOLEAN",     "BULK",
                              "BY",          "CASCADE",
                              "CASE",        "CHAR",
                              "CHECK",       "CLOB",
                              "CLOSE",       "COLLECT",
                              "COLUMN",      "COMMENT",
                              "COMMIT",      "CONNECT",
                              "CONSTANT",    "CONSTRAINT",
                              "CREATE",      "CROSS",
                              "CURRENT",     "CURSOR",
                              "DATE",        "DECLARE",
                              "DEFAULT",     "DELETE",
                              "DESC",        "DISTINCT",
                              "DROP",        "EACH",
                              "ELSE",        "ELSIF",
                              "END",         "EXCEPTION",
                              "EXECUTE",     "EXISTS",
                              "EXIT",        "EXPLAIN",
                              "FALSE",       "FETCH",
                              "FOR",         "FORALL",
                              "FOREIGN",     "FROM",
                              "FULL",        "FUNCTION",
                              "GOTO",        "GRANT",
                              "GROUP",       "HAVING",
                              "IF",          "IMMEDIATE",
                              "IN",          "INDEX",
                              "INNER",       "INSERT",
                              "INSTEAD",     "INTEGER",
                              "INTERSECT",   "INTO",
                              "IS",          "JOIN",
                              "KEY",         "LEFT",
                              "LEVEL",       "LIKE",
                              "LONG",        "LOOP",
                              "MATCHED",     "MERGE",
                              "MINUS",       "MODIFY",
                              "NATURAL",     "NEW",
                              "NOCOPY",      "NOT",
                              "NULL",        "NULLS",
                              "NUMBER",      "OF",
                              "OLD",         "ON",
                              "OPEN",        "OR",
                              "ORDER",       "OTHERS",
                              "OUT",         "OUTER",
                              "PACKAGE",     "PLAN",
                              "PLS_INTEGER", "PRAGMA",
                              "PRIMARY",     "PRIOR",
                              "PROCEDURE",   "PUBLIC",
                              "RAISE",       "RAW",
                              "RECORD",      "REFERENCES",
                              "REFERENCING", "RENAME",
                              "REPLACE",     "RETURN",
                              "RETURNING",   "REVOKE",
                              "RIGHT",       "ROLLBACK",
                              "ROW",         "ROWID",
                              "ROWNUM",      "ROWTYPE",
                              "SAVEPOINT",   "SELECT",
                              "SEQUENCE",    "SET",
                              "SOME",        "START",
                              "SYNONYM",     "SYSDATE",
                              "TABLE",       "TABLESPACE",
                              "THEN",        "TIMESTAMP",
                              "TO",          "TRIGGER",
                              "TRUE",        "TRUNCATE",
                              "TYPE",        "UNION",
                              "UNIQUE",      "UPDATE",
                              "USER",        "USING",
                              "VALUES",      "VARCHAR",
                              "VARCHAR2",    "VIEW",
                              "WHEN",        "WHERE",
                              "WHILE",       "WITH",
                              "WORK"};
        for (const char* w : list)
            set.insert(QString::fromLatin1(w));
        return set;
    }();
    return words.contains(upperWord);
}

// ---- Statements -----------------------------------------------------------------------------

int ScriptStatement::editorOffset(int position) const
{
    return std::clamp(start + std::max(0, position - prefix), start, std::max(start, end));
}

QList<ScriptStatement> splitScript(const QString& text)
{
    QList<ScriptStatement> out;
    struct Pending {
        bool active = false;
        int start = 0;
        int end = 0;
        int line = 0;
        QStringList words;
        int plsql = -1;  // as plsqlByWords answers
    } p;

    auto finish = [&](int ownerEnd) {
        if (!p.active)
            return;
        ScriptStatement s;
        s.start = p.start;
        s.end = p.end;
        s.ownerEnd = std::max(ownerEnd, p.end);
        s.line = p.line;
        s.text = text.mid(p.start, p.end - p.start);
        s.kind = kindOf(s.text);
        out.append(s);
        p = Pending();
    };
    // The offset after `from` and the blanks that follow it on its line.
    auto afterBlanks = [&](int from) {
        while (from < text.size() &&
               (text[from] == QLatin1Char(' ') || text[from] == QLatin1Char('\t') ||
                text[from] == QLatin1Char('\r')))
            ++from;
        return from;
    };

    auto lineEndAfter = [&](int from) {
        const int newline = int(text.indexOf(QLatin1Char('\n'), from));
        return newline < 0 ? int(text.size()) : newline;
    };

    int state = ScanState::Code;
    int offset = 0;
    int lineNo = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const int lineEnd = offset + int(line.size());
        const bool inCode = state == ScanState::Code;
        const QString trimmed = line.trimmed();
        if (inCode && trimmed == QLatin1String("/")) {
            finish(lineEnd);
            offset = lineEnd + 1;
            ++lineNo;
            continue;
        }
        if (inCode && trimmed.isEmpty() && p.active && p.plsql != 1) {
            finish(lineEndAfter(p.end));
            offset = lineEnd + 1;
            ++lineNo;
            continue;
        }
        const int stateBefore = state;
        const QList<SqlToken> tokens = scanLine(line, state);

        // A SQL*Plus command line between statements.
        if (!p.active && stateBefore == ScanState::Code) {
            int first = 0;
            while (first < tokens.size() && tokens[first].kind == Kind::Comment)
                ++first;
            if (first < tokens.size()) {
                const SqlToken& t = tokens[first];
                const QString w1 = t.kind == Kind::Word ? upperWord(line, t) : QString();
                const QString w2 = first + 1 < tokens.size() && tokens[first + 1].kind == Kind::Word
                                       ? upperWord(line, tokens[first + 1])
                                       : QString();
                const bool at = t.kind == Kind::Symbol && line[t.start] == QLatin1Char('@');
                if (w1 == QLatin1String("EXEC") || w1 == QLatin1String("EXECUTE")) {
                    if (w2 != QLatin1String("IMMEDIATE")) {
                        ScriptStatement s;
                        s.start = offset + t.start + t.length;
                        while (s.start < lineEnd && text[s.start].isSpace())
                            ++s.start;
                        QString rest = text.mid(s.start, lineEnd - s.start).trimmed();
                        while (rest.endsWith(QLatin1Char(';')))
                            rest.chop(1);
                        s.end = s.start + int(rest.size());
                        s.ownerEnd = lineEnd;
                        s.line = lineNo;
                        s.prefix = 6;
                        s.text = QStringLiteral("BEGIN ") + rest + QStringLiteral("; END;");
                        s.kind = StatementKind::PlsqlBlock;
                        out.append(s);
                        state = ScanState::Code;
                        offset = lineEnd + 1;
                        ++lineNo;
                        continue;
                    }
                } else if (at || isSqlPlusCommand(w1, w2)) {
                    ScriptStatement s;
                    int last = int(line.size());
                    while (last > 0 && line[last - 1].isSpace())
                        --last;
                    s.start = offset + t.start;
                    s.end = offset + last;
                    s.ownerEnd = lineEnd;
                    s.line = lineNo;
                    s.text = text.mid(s.start, s.end - s.start);
                    s.kind = StatementKind::SqlPlus;
                    out.append(s);
                    state = ScanState::Code;
                    offset = lineEnd + 1;
                    ++lineNo;
                    continue;
                }
            }
        }

        for (const SqlToken& t : tokens) {
            const int from = offset + t.start;
            const int to = from + t.length;
            if (t.kind == Kind::Comment)
                continue;
            if (!p.active) {
                p.active = true;
                p.start = from;
                p.line = lineNo;
            }
            if (p.plsql == -1) {
                if (t.kind == Kind::Word) {
                    p.words.append(upperWord(line, t));
                    p.plsql = plsqlByWords(p.words);
                } else {
                    p.plsql = 0;
                }
            }
            if (t.kind == Kind::Symbol && line[t.start] == QLatin1Char(';') && p.plsql != 1) {
                finish(afterBlanks(to));
                continue;
            }
            p.end = to;
        }
        offset = lineEnd + 1;
        ++lineNo;
    }
    finish(int(text.size()));
    return out;
}

int statementAt(const QList<ScriptStatement>& statements, int cursor)
{
    for (int i = 0; i < statements.size(); ++i)
        if (cursor <= statements[i].ownerEnd)
            return i;
    return int(statements.size()) - 1;
}

QStringList leadingWords(const QString& statement, int count)
{
    QStringList words;
    for (const SqlToken& t : scanText(statement)) {
        if (t.kind == Kind::Comment)
            continue;
        if (t.kind != Kind::Word || words.size() >= count)
            break;
        words.append(upperWord(statement, t));
    }
    return words;
}

int invalidIdentifierPosition(const QString& statement, const QString& message)
{
    if (!message.startsWith(QLatin1String("ORA-00904")))
        return -1;
    // The last quoted part of a qualified name ("E"."ENAMX") is the one that is wrong.
    const int close = int(message.lastIndexOf(QLatin1Char('"')));
    const int open = close <= 0 ? -1 : int(message.lastIndexOf(QLatin1Char('"'), close - 1));
    if (open < 0)
        return -1;
    const QString name = message.mid(open + 1, close - open - 1);
    for (const SqlToken& t : scanText(statement)) {
        if ((t.kind == Kind::Word && upperWord(statement, t) == name) ||
            (t.kind == Kind::QuotedName && statement.mid(t.start + 1, t.length - 2) == name))
            return t.start;
    }
    return -1;
}

StatementKind kindOf(const QString& statement)
{
    const QList<SqlToken> tokens = scanText(statement);
    auto firstCode = std::find_if(tokens.begin(), tokens.end(),
                                  [](const SqlToken& t) { return t.kind != Kind::Comment; });
    if (firstCode == tokens.end())
        return StatementKind::Other;
    if (firstCode->kind == Kind::Symbol && statement[firstCode->start] == QLatin1Char('('))
        return StatementKind::Query;
    const QStringList words = leadingWords(statement, 6);
    const QString first = words.value(0);
    if (first == QLatin1String("SELECT") || first == QLatin1String("WITH"))
        return StatementKind::Query;
    if (first == QLatin1String("INSERT") || first == QLatin1String("UPDATE") ||
        first == QLatin1String("DELETE") || first == QLatin1String("MERGE"))
        return StatementKind::Dml;
    if (first == QLatin1String("COMMIT"))
        return StatementKind::Commit;
    if (first == QLatin1String("ROLLBACK"))
        return words.contains(QStringLiteral("TO")) ? StatementKind::Other
                                                    : StatementKind::Rollback;
    const int plsql = plsqlByWords(words);
    if (plsql == 1)
        return first == QLatin1String("CREATE") ? StatementKind::PlsqlUnit
                                                : StatementKind::PlsqlBlock;
    return StatementKind::Other;
}

// ---- PL/SQL units ---------------------------------------------------------------------------

PlsqlUnit parsePlsqlUnit(const QString& statement)
{
    PlsqlUnit unit;
    QList<SqlToken> tokens = scanText(statement);
    tokens.erase(std::remove_if(tokens.begin(), tokens.end(),
                                [](const SqlToken& t) { return t.kind == Kind::Comment; }),
                 tokens.end());
    int i = 0;
    auto word = [&](int at) {
        return at < tokens.size() && tokens[at].kind == Kind::Word
                   ? upperWord(statement, tokens[at])
                   : QString();
    };
    auto nameAt = [&](int at) {
        const SqlToken& t = tokens[at];
        return t.kind == Kind::QuotedName ? statement.mid(t.start + 1, t.length - 2)
                                          : upperWord(statement, t);
    };
    auto isName = [&](int at) {
        return at < tokens.size() &&
               (tokens[at].kind == Kind::Word || tokens[at].kind == Kind::QuotedName);
    };
    if (word(i) != QLatin1String("CREATE"))
        return unit;
    ++i;
    if (word(i) == QLatin1String("OR") && word(i + 1) == QLatin1String("REPLACE"))
        i += 2;
    while (isEditionWord(word(i)))
        ++i;
    const QString type = word(i);
    if (type != QLatin1String("PROCEDURE") && type != QLatin1String("FUNCTION") &&
        type != QLatin1String("PACKAGE") && type != QLatin1String("TRIGGER") &&
        type != QLatin1String("TYPE"))
        return unit;
    unit.type = type;
    unit.linesFrom = tokens[i].start;
    ++i;
    if ((type == QLatin1String("PACKAGE") || type == QLatin1String("TYPE")) &&
        word(i) == QLatin1String("BODY")) {
        unit.type += QStringLiteral(" BODY");
        ++i;
    }
    if (!isName(i))
        return unit;
    unit.name = nameAt(i);
    ++i;
    if (i + 1 < tokens.size() && tokens[i].kind == Kind::Symbol &&
        statement[tokens[i].start] == QLatin1Char('.') && isName(i + 1)) {
        unit.owner = unit.name;
        unit.name = nameAt(i + 1);
        i += 2;
    }
    if (type == QLatin1String("TRIGGER")) {
        for (int k = i; k < tokens.size(); ++k) {
            const QString w = word(k);
            if (w == QLatin1String("DECLARE") || w == QLatin1String("BEGIN")) {
                unit.linesFrom = tokens[k].start;
                break;
            }
        }
    }
    unit.valid = true;
    return unit;
}

}  // namespace kolmara::screens
