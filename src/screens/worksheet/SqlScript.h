// The worksheet's reading of SQL text: the program's scanner, which tells words, strings, comments
// and binds apart line by line (the highlighter colours with it), the split of a text into
// statements as SQL*Plus splits a script, the statement under the cursor, what kind each statement
// is, and where a PL/SQL unit's compile errors sit in the editor.
//
// Splitting: ";" outside quotes and comments ends a SQL statement, and so does a blank line; a
// PL/SQL block or unit (DECLARE, BEGIN, CREATE [OR REPLACE] PROCEDURE/FUNCTION/PACKAGE/TRIGGER/
// TYPE) keeps its semicolons and blank lines and ends at a line holding only "/"; such a line also
// ends a pending SQL statement. A line of SQL*Plus's own (SET, PROMPT, SPOOL...) met between
// statements is a statement of kind SqlPlus, which the worksheet does not send; EXEC[UTE] becomes
// the PL/SQL block SQL*Plus makes of it.
#pragma once

#include "common/SqlScanner.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kolmara::screens {

// ---- Scanner --------------------------------------------------------------------------------

// The scanner is the program's one (common/SqlScanner); the worksheet reads with it.
using SqlToken = sql::SqlToken;
namespace ScanState = sql::ScanState;
using sql::scanLine;

// The SQL and PL/SQL words the highlighter shows as keywords (upper case).
bool isSqlKeyword(const QString& upperWord);

// ---- Statements -----------------------------------------------------------------------------

enum class StatementKind {
    Query,       // SELECT, WITH, a parenthesised query
    Dml,         // INSERT, UPDATE, DELETE, MERGE
    PlsqlBlock,  // DECLARE, BEGIN (and SQL*Plus's EXEC)
    PlsqlUnit,   // CREATE [OR REPLACE] PROCEDURE, FUNCTION, PACKAGE [BODY], TRIGGER, TYPE [BODY]
    Commit,      // COMMIT [WORK]
    Rollback,    // ROLLBACK [WORK], not ROLLBACK TO a savepoint
    SqlPlus,     // a SQL*Plus command, never sent
    Other        // DDL, GRANT, ALTER SESSION...
};

struct ScriptStatement {
    int start = 0;     // first character of the statement in the text
    int end = 0;       // one past its last character; the terminator is not part of it
    int ownerEnd = 0;  // the cursor up to here belongs to it: its terminator, and blanks after
    StatementKind kind = StatementKind::Other;
    QString text;    // what the server is sent
    int prefix = 0;  // characters put before the editor's text (EXEC's "BEGIN ")
    int line = 0;    // the line (from 0) the statement starts on

    // The editor offset of a position in `text` (the server's error position).
    int editorOffset(int position) const;
};

QList<ScriptStatement> splitScript(const QString& text);

// The index of the statement the cursor is in: the first whose ownerEnd is not before it, else the
// last one; -1 when there is none.
int statementAt(const QList<ScriptStatement>& statements, int cursor);

// The kind of a statement text by its first words.
StatementKind kindOf(const QString& statement);

// The first `count` words of a statement in upper case, comments skipped ("CREATE TABLE").
QStringList leadingWords(const QString& statement, int count);

// Where the name an ORA-00904 message quotes ("ENAMX": invalid identifier) first stands in the
// statement, outside strings and comments; -1 for another message or a name not found.
int invalidIdentifierPosition(const QString& statement, const QString& message);

// ---- PL/SQL units ---------------------------------------------------------------------------

struct PlsqlUnit {
    QString type;   // as the dictionary names it: PROCEDURE, FUNCTION, PACKAGE, PACKAGE BODY,
                    // TRIGGER, TYPE, TYPE BODY
    QString owner;  // empty when the name is not qualified
    QString name;
    // Where line 1 of the dictionary's error lines starts in the statement: the type word (the
    // server keeps the source from there), or for a trigger its PL/SQL block.
    int linesFrom = 0;
    bool valid = false;
};

PlsqlUnit parsePlsqlUnit(const QString& statement);

// Positions in the editor's text, as the scanner counts them.
using sql::lineAndColumn;
using sql::offsetOfLine;

}  // namespace kolmara::screens
