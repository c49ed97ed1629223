// The one piece of code that executes catalogue entries on the main session. Every query method
// of every query object is a call of run() with its entry and arguments; ExecSql is the one method
// that runs caller-supplied text.
//
// Readers: the query is created into its shared slot (SharedQuery2 or SharedQuery3), the entry's
// lines are added, the parameters bound, the query opened with every row fetched, and the rows
// copied into the object's slots in the entry's shape. Result: the row count; 0 writes no slot.
// Writers: the same query slot, in a transaction of their own: commit and 0, or roll back and -1.
//
// Failure groups: a handler catches db::DatabaseError only (and shows its message when the entry
// says so), closes and frees the query and gives -1. Without a handler the error passes and the
// query object stays in its slot until the next call replaces it. Anything else - ConversionError
// from a number argument, KolmaraError from a missing column - passes in every group.
#pragma once

#include <QString>
#include <QStringList>

namespace kolmara::data {

struct Entry;
class QueryObject;

class QueryRunner {
public:
    static int run(const Entry& entry, const QStringList& arguments, QueryObject& target);
    static int execSql(const QString& line1, const QString& line2);
    // The server's message of the error that the last run or execSql caught and answered with
    // -1 ("ORA-00054: resource busy ..."), so that a caller can name it beside its own status
    // text; empty after a call that caught none.
    static QString lastHandledError();

    // The text of a number argument as a double; ConversionError ("'abc' is not a valid floating
    // point value") for anything else.
    static double parseNumberArgument(const QString& text);
    // The local "now" of the UI services as "YYYYMMDD HHMMSS".
    static QString stampNow();

private:
    static int runRead(const Entry& entry, const QStringList& arguments, QueryObject& target);
    static int runWrite(const Entry& entry, const QStringList& arguments);
};

}  // namespace kolmara::data
