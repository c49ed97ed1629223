// The one reader of SQL text below the database layer: a scanner that tells words, numbers,
// strings ('...' with '' inside, N'...', q'[...]' q'{...}' q'(...)' q'<...>' q'x...x' and Nq'...'),
// quoted names, comments (-- and /* */), binds (:NAME, :1) and symbols apart line by line, the
// binds of a statement, the split of a text into statements at ";" and at a line holding only
// "/", the split of the embedded engine's seed scripts, and line and column positions.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kolmara::sql {

struct SqlToken {
    enum class Kind { Word, Number, String, QuotedName, Comment, Bind, Symbol };
    Kind kind = Kind::Symbol;
    int start = 0;
    int length = 0;
};

// The scanner's state at a line end: inside a block comment, a string, a quoted name, or a
// q'...' string (kQuoteBase + its closing character); 0 in plain code.
namespace ScanState {
constexpr int Code = 0;
constexpr int BlockComment = 1;
constexpr int String = 2;
constexpr int QuotedName = 3;
constexpr int QuoteBase = 0x10000;
}  // namespace ScanState

// The tokens of one line (white space is skipped) given the state at its start; `state` becomes
// the state at its end. A token cut by the line end (a comment, a string) ends there.
QList<SqlToken> scanLine(const QString& line, int& state);

// The tokens of a whole text ("\n" separates its lines), with offsets into the text.
QList<SqlToken> scanText(const QString& text);

// The character that closes a q'x...x' string opened with `open`: "]" for "[", "}" for "{", ")"
// for "(", ">" for "<", else `open` itself.
QChar qQuoteCloser(QChar open);
// The offset just after the "x'" that closes a q-quoted text whose content starts at `from`, or -1
// when the text ends first.
int qQuoteEnd(const QString& text, int from, QChar closer);

// The bind names of a statement text (":NAME", ":FILE#", ":1"), upper case, each once, in order of
// first appearance; binds inside strings, quoted names and comments are not binds.
QStringList bindNames(const QString& sql);

// The statements of a script, trimmed, without their terminators: a ";" outside strings, quoted
// names and comments ends one, and so does a line holding only "/". Empty ones are left out.
QStringList splitStatements(const QString& text);

// The statements of a seed script of the embedded engine, line by line: a line ending in ";" ends
// a statement (the ";" dropped); a PL/SQL unit (CREATE [OR REPLACE] TRIGGER, PACKAGE, FUNCTION or
// PROCEDURE at its start) keeps its ";" and ends at a line holding only "/", which also ends any
// other statement; "--" lines outside a unit are dropped, and so are blank and "--" lines between
// statements. Lines inside a string or comment that runs over several lines are text, not
// terminators. Statements come back trimmed; CR LF reads as LF.
QStringList splitSeedScript(const QString& text);

// The offset in `text` of (line, position) counted, both from 1, from offset `base` as line 1's
// start; clamped to the end of that line and of the text.
int offsetOfLine(const QString& text, int base, int line, int position);

// Line and column (both from 1) of an offset in `text`.
void lineAndColumn(const QString& text, int offset, int* line, int* column);

}  // namespace kolmara::sql
