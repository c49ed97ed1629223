// The table dump that both backup screens make: the dump SELECT built from a table's columns, the
// dated dump folder and file, the dump itself (rows read one at a time through a forward-only
// query and each written at once as one line of the file), and the backup log row and last-backup
// stamp that record a finished dump. No widgets: progress reaches the caller through callbacks,
// so a command-line backup can run the same code.
//
// The dump file: one line per row in the order the query returns them; each value enclosed in
// double quotes, a double quote inside a value doubled ("a""b") so the line loads back as
// quote-enclosed CSV; values joined by commas without blanks; NULL as "" ; CR LF after every line,
// the last one included; no header, no byte-order mark. A dump without rows is an empty file.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace kolmara::db {
class Query;
}

namespace kolmara::data {

class HORACLEM2;

// One column of the dumped table, as GetTableColumns describes it.
struct DumpColumn {
    QString name;
    QString dataType;
};

// The first line of the dump SELECT: the backup screen's, and the server backup job's.
inline const QString kDumpSelectHead = QStringLiteral("SELECT ");
inline const QString kJobDumpSelectHead = QStringLiteral("SELECT  /*+ RULE */ ");

// The date format used when the DateTime setting is empty: an empty format would turn every date
// of the dump into NULL.
inline const QString kDefaultDumpDateFormat = QStringLiteral("YYYYMMDD HH24MISS");

// The columns of a GetTableColumns result of `rows` rows (slots 1 and 3).
QList<DumpColumn> dumpColumns(const HORACLEM2& columns, int rows);

// The text a column is read through: DATE in the date format, NUMBER and FLOAT in Oracle's
// default text form, TIMESTAMP types in the date format with their fractional seconds (and the
// zone offset for WITH TIME ZONE), so that a dump loses no part of a value. Every other type is
// read bare, as the session delivers it as text: character types and CLOB/LONG whole, RAW,
// LONG RAW and BLOB as hexadecimal, INTERVAL in Oracle's literal form (+02 03:04:05.000000).
QString dumpExpression(const DumpColumn& column, const QString& dateFormat);

// The dump SELECT: `head`, then one line per column ("       " + expression + " " + name for
// the first, "      ," + ... for the others), then "FROM   " + table, as OWNER.TABLE when a caller
// reads another account's table. Names that are not plain upper-case identifiers are quoted.
QString dumpSelectText(const QString& head, const QList<DumpColumn>& columns, const QString& table,
                       const QString& dateFormat, const QString& owner = QString());

// The folder of a day's dumps of an account: drive + path + account + separator + "YYYYMMDD"
// (the drive and path settings carry their own trailing separator), and the file of a table in it:
// folder + separator + table + ".TXT". The separator is "\" on Windows and "/" elsewhere. The
// account and the table enter as fileNameFor (common/Folders.h) makes them ("A/B" as "A_B"), so
// a name that is no file name still gets its own file in its folder; a name that is one enters
// unchanged. Whoever looks for a dump file builds its path through these two.
QString dumpFolder(const QString& drive, const QString& path, const QString& account,
                   const QDate& day);
QString dumpFile(const QString& folder, const QString& table);
// True when `file` lies below the backup folder drive + path (compared as the file system names
// them, "." and ".." resolved), as every dump file made by dumpFolder and dumpFile must. Settings
// that lack their trailing separator name the folder they end in ("/data/BACKUP" is "/data/").
bool liesInBackupFolder(const QString& file, const QString& drive, const QString& path);
// ForceDirs makes the folders; off Windows they are for this user alone (0700), as the files are.

// "YYYY-MM-DD HH:MM:SS", the form the screens show a dump's start and end in.
QString shownStamp(const QDateTime& time);

// The text encodings a dump file can be written in, chosen by the DumpEncoding setting:
// "UTF-8", "CP949" (Korean Windows' code page) or "ANSI" (this PC's own 8-bit code page). An
// empty setting means ANSI on Windows and UTF-8 elsewhere.
enum class DumpEncoding { Utf8, Cp949, Ansi };
// Throws KolmaraError naming the setting for any other text.
DumpEncoding dumpEncodingFromSetting(const QString& setting);

// The line of one row without its line end.
QString dumpLine(const QStringList& values);
// The bytes of that line as a dump file in `encoding` holds them, CR LF included. Throws
// KolmaraError, as a dump does, when the encoding cannot hold a character of the line.
QByteArray dumpLineBytes(const QStringList& values, DumpEncoding encoding);

// One table dump. Usage:
//   TableDump dump(path, selectText);
//   dump.onLine = [&](int written) { ... dump.lineText() ... };
//   TableDump::Outcome done = dump.run(query);
class TableDump {
public:
    struct Outcome {
        int counted = 0;   // rows the count of the dump query found before the first line
        int written = 0;   // lines written: the count to log
        QDateTime start;   // when the file was opened
        QDateTime end;     // after the last line (invalid when there were no rows)
    };

    // path: the file to write (a "\" separates folders off Windows too); selectText: the whole
    // dump query, the SELECT and the condition lines after it.
    TableDump(QString path, QString selectText, DumpEncoding encoding = DumpEncoding::Utf8);

    // After the file is opened and its start taken.
    std::function<void(const QDateTime& start)> onStart;
    // Once the rows are counted, before the first line; not called when there is no row.
    std::function<void(int counted)> onRowsCounted;
    // After each line has gone to the file; lineText() then gives that line.
    std::function<void(int written)> onLine;
    // The line of the row just written, without its line end (only while onLine runs).
    QString lineText() const;

    // Runs the dump on `query`, whose session it uses; the query is closed again before it
    // returns. The rows go to a temporary file beside the path, which replaces the file at the
    // path only when every line has been written, so a dump that fails leaves any earlier file
    // of the path as it was and no partial file. Off Windows the file is readable and writable by
    // this user alone (0600), also where it replaces a file of other permissions. Throws
    // DatabaseError when the query fails and KolmaraError when the file cannot be created or
    // written (its message names the file).
    Outcome run(db::Query& query);

    // Test seam: the n-th line written by the next dump (1 the first) fails as a write to a full
    // disk does; 0 switches it off. The fault then clears.
    static void failNthLineWriteForTesting(int n);

private:
    QString m_path;
    QString m_selectText;
    DumpEncoding m_encoding;
    const db::Query* m_query = nullptr;
};

// The backup log row of a finished dump and the last-backup stamp of its table, each written
// through its catalogue writer in a transaction of its own. Both return the writer's result:
// 0, or -1 when the database refused it (nothing written; QueryRunner::lastHandledError() then
// gives the server's message).
struct BackupLogRow {
    QString server;
    QString account;
    QString table;
    QString startStamp;  // "YYYYMMDD HHMMSS"
    QString endStamp;
    QString tableName;
    QString cycle;
    QString type;
    QString time;
    QString ipName;
    QString condition;
    QString path;
    int count = 0;
};
// The table comment is cut to what BACKLOG_TABLENAME holds (80 bytes, counted in UTF-8 so that it
// fits whatever the database's character set): a long comment must not keep a dump from its log.
int insertBackupLog(const BackupLogRow& row);
inline constexpr int kLogTableNameBytes = 80;
// The longest start of the text that takes at most `bytes` bytes in UTF-8, whole characters only.
QString fitBytes(const QString& text, int bytes);
int stampLastBackup(const QString& server, const QString& account, const QString& table);

}  // namespace kolmara::data
