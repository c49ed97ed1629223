// The SQL catalogue of the query objects: one Entry per method, holding the statement's lines in
// the order the method adds them, what each named parameter receives, the result's shape, what a
// database error does, and which result column fills which slot. The entries are plain data kept
// one file per class (CatalogueM1.cpp, CatalogueM2.cpp, CatalogueM3.cpp, CatalogueBackupT1.cpp,
// CatalogueBackupT2.cpp, CatalogueBackuST1.cpp) so each can be read beside its statement text;
// QueryRunner is the only code that executes them. Screens never build SQL.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace kolmara::data {

// How a reader copies its rows into the slots.
enum class Shape {
    SingleRow,       // the first row's values, one text per slot; every row is still counted
    RowArrays,       // per slot an array of row-count texts, element i from row i
    FirstRowArrays,  // per slot an array of row-count texts, only element 0 filled
    Write,           // INSERT or UPDATE in a transaction of its own; no slot is written
};

// What a database error does inside the method. A writer always rolls back and returns -1; its
// group only says whether the error's text is shown first.
enum class Failure {
    NoHandler,           // the error passes to the caller; the query object stays in its slot
    SilentHandler,       // -1, no message
    HandlerWithMessage,  // the server's message in a box, then -1
};

// The shared slot that holds the method's query object while it runs.
enum class QuerySlot { SharedQuery2, SharedQuery3 };

// Where a named parameter's value comes from.
struct Bind {
    enum class Source {
        Argument,           // the method's argument, as text
        NumberArgument,     // the method's argument parsed into a double and bound as a number
        Constant,           // a fixed text
        ArgumentAndSuffix,  // the method's argument followed by a fixed text
        Stamp,              // the local "now" as "YYYYMMDD HHMMSS"
    };
    QString name;  // as written after the colon in the statement, e.g. "FILE#"
    Source source;
    int argument = -1;
    QString text;  // the constant, or the suffix
};

inline Bind arg(const char* name, int argument)
{
    return {QString::fromUtf8(name), Bind::Source::Argument, argument, {}};
}
inline Bind numArg(const char* name, int argument)
{
    return {QString::fromUtf8(name), Bind::Source::NumberArgument, argument, {}};
}
inline Bind constant(const char* name, const char* value)
{
    return {QString::fromUtf8(name), Bind::Source::Constant, -1, QString::fromUtf8(value)};
}
inline Bind argPlus(const char* name, int argument, const char* suffix)
{
    return {QString::fromUtf8(name), Bind::Source::ArgumentAndSuffix, argument,
            QString::fromUtf8(suffix)};
}
inline Bind stamp(const char* name)
{
    return {QString::fromUtf8(name), Bind::Source::Stamp, -1, {}};
}

// One slot of the result: its number, the result column that fills it and how that column is
// read (as the access component's text, or as a double turned into the general number form).
struct SlotRead {
    enum class As { Text, Number };
    int slot;
    QString column;
    As as;
};

inline SlotRead text(int slot, const char* column)
{
    return {slot, QString::fromUtf8(column), SlotRead::As::Text};
}
inline SlotRead number(int slot, const char* column)
{
    return {slot, QString::fromUtf8(column), SlotRead::As::Number};
}

struct Entry {
    QString method;
    int argumentCount = 0;
    Shape shape = Shape::SingleRow;
    Failure failure = Failure::NoHandler;
    QuerySlot querySlot = QuerySlot::SharedQuery2;
    QStringList lines;
    std::vector<Bind> binds;  // in the order the method binds them
    std::vector<SlotRead> reads;
};

namespace catalogue {

// HORACLEM1 (GetServerDate and GetUsers serve the connection; the rest are the instance, storage
// and user queries).
extern const Entry GetServerDate;
extern const Entry GetUsers;
extern const Entry GetUniqueIndexColumn;
extern const Entry GetUniqueIndexColumns;
extern const Entry GetConstraintType;
extern const Entry GetColumnInfo;
extern const Entry GetTriggerBody;
extern const Entry GetSegmentFileId;
extern const Entry GetObjectStatus;
extern const Entry GetSynonym;
extern const Entry GetSequence;
extern const Entry GetTablespaceUsage;
extern const Entry GetFileFreeSpace;
extern const Entry GetVersion;
extern const Entry GetDictionary;
extern const Entry GetDictColumns;
extern const Entry GetTableTablespaces;
extern const Entry GetIndexTablespaces;
extern const Entry GetSga;
extern const Entry GetSgaStat;
extern const Entry GetParameters;
extern const Entry GetNlsParameters;
extern const Entry GetResourceLimits;
extern const Entry GetTableList;
extern const Entry GetDatafileName;
extern const Entry GetIndexColumns;
extern const Entry GetTablesInTablespace;
extern const Entry GetRollbackSegments;
extern const Entry GetDbaUsers;

// HORACLEM2
extern const Entry GetTableStorage;
extern const Entry GetTableColumns;
extern const Entry GetTableIndexes;
extern const Entry GetIndexColumnList;
extern const Entry GetTableConstraints;
extern const Entry GetTriggers;
extern const Entry GetObjects;
extern const Entry GetSessions;
extern const Entry GetSessionSql;
extern const Entry GetLocks;
extern const Entry GetTablespaces;
extern const Entry GetDatafiles;

// HORACLEM3
extern const Entry GetElapsedMinutes;

// HBACKUPT1 (BACKUP_TABLE)
extern const Entry GetBackupTable;
extern const Entry GetBackupTables;
extern const Entry GetDueBackups;
extern const Entry InsertBackupTable;
extern const Entry UpdateBackupTable;
extern const Entry UpdateBackupDateTime;

// HBACKUPT2 (BACKLOG_TABLE)
extern const Entry GetBackupLog;
extern const Entry InsertBackupLog;

// HBACKUST1 (BACKUSER_TABLE)
extern const Entry GetBackupUser;
extern const Entry InsertBackupUser;
extern const Entry UpdateBackupUser;

// Every entry above, for checks that walk the whole catalogue.
std::vector<const Entry*> all();

}  // namespace catalogue

}  // namespace kolmara::data
