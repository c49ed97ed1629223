// The server backup job: the tables of every account of the connected server whose schedule is
// due today, each with its account's registration for the job, and the run that dumps them one
// after the other, logging in as each table's account on a session of its own. The server backup
// screen (TKOLM521F) and the kolmara-backup command both run it. No widgets: the caller learns
// what happens through callbacks and reads each table's outcome from tables().
//
// Every catalogue call goes through the main session with ConnServer in upper case; only the dump
// query runs on the job's session, which logs in to ConnServer as stored. The dump folder, file
// and line format are those of TableDump.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>

namespace kolmara::db {
class Session;
}

namespace kolmara::data {

// One due table, its account's registration, and what the last run made of it.
struct JobTable {
    // The schedule row (GetDueBackups).
    QString account;
    QString table;
    QString tableName;  // the table's comment
    QString cycle;
    QString hour;  // the stored hour code, "01" to "24"
    QString condition;
    // The account's registration (GetBackupUser); all empty when it has none.
    bool registered = false;
    QString userName;
    QString password;
    QString takesPart;  // "Y": the job dumps the account's tables; "N" or empty: it does not

    enum class Outcome {
        Pending,        // not reached by the run (yet)
        NotTakingPart,  // the account is not registered, or registered with "N"
        NoColumns,      // no column read: a table that does not exist (any more)
        WouldDump,      // dry run: the table would be dumped into `path`
        LoginRefused,   // `error` holds the server's message; nothing written
        PathRefused,    // `path` would lie outside the backup folder; `error` names the table
        NoRows,         // an empty file at `path`, no log row, no stamp
        Done,           // dumped, logged and stamped
        LogFailed,      // dumped; the log row was refused (so no stamp either); `error` says why
        StampFailed,    // dumped and logged; the stamp was refused; `error` says why
        Failed,         // the dump failed and ended the job; `error` holds why
    };
    Outcome outcome = Outcome::Pending;
    QString selectText;  // the dump SELECT, without the condition
    QString path;        // the dump file
    QString error;
    QDateTime start;  // when the file was opened
    QDateTime end;    // after the last line
    int count = 0;    // lines written
    QString minutes;  // the elapsed minutes as the server reckoned them (its own number text)
};

// The server's minutes ("1.5") with one decimal in this PC's number format, as the job shows them.
QString elapsedMinutesText(const QString& serverNumber);

// A status text followed by the server's message that explains it ("... ORA-00054: resource
// busy ..."), on one line; the status alone when there is no message.
QString withServerMessage(const QString& status, const QString& message);

class ServerBackupJob {
public:
    enum class Mode {
        Dump,
        DryRun,  // reads the schedule and the columns, writes nothing and logs in as nobody
    };

    // `session`: the job's own session, connected only while a run logs in and dumps.
    explicit ServerBackupJob(db::Session& session);
    ServerBackupJob(const ServerBackupJob&) = delete;
    ServerBackupJob& operator=(const ServerBackupJob&) = delete;

    // The listing in two steps, so that a screen can show each row as it is read:
    // readDueTables replaces tables() by the due schedule rows (without registrations) and returns
    // GetDueBackups' result, also left in RowCount: the row count, 0 or -1 when the catalogue
    // could not be read.
    int readDueTables();
    // Reads the registration of table i into it; returns GetBackupUser's result (SubRowCount).
    // An account already read since readDueTables is not read again: its tables share the answer.
    // A database error passes to the caller.
    int readRegistration(int i);
    // The whole listing for a run started now: the day of the server's clock (GetServerDate)
    // becomes the run's day, then the due tables and every registration are read. Returns as
    // readDueTables; a database error passes to the caller.
    int listDueTables();

    QList<JobTable>& tables() { return m_tables; }
    const QList<JobTable>& tables() const { return m_tables; }

    // The day whose folders the dumps go into, set by listDueTables. Unset, each dump goes into
    // the folder of the day on this PC's clock when it begins.
    QDate day() const { return m_day; }

    // Runs over tables() in order: a table whose account takes part has its columns read, its dump
    // SELECT built and its path chosen; a dump run then logs in as its account, writes the file,
    // and records the log row and the stamp. A refused login, a table without columns or rows, a
    // path outside the backup folder, a refused log row or stamp end that table only. Any other
    // error (the dump query, the file, a server error reading the columns or the elapsed minutes)
    // ends the job: that table's outcome is Failed and the error is thrown on to the caller; later
    // tables stay Pending. The job's session is disconnected whenever run returns or throws. Tables
    // whose account does not take part are NotTakingPart from the start.
    void run(Mode mode = Mode::Dump);

    // Callbacks, each with the index of the table in tables().
    // Before the table's columns are read (accounts that take part only).
    std::function<void(int i)> onTableBegins;
    // The dump SELECT and the path are known; before the folder is made and the login.
    std::function<void(int i)> onDumpBegins;
    // The file is open and the start taken.
    std::function<void(int i)> onStart;
    // The rows are counted; not called for a table without rows.
    std::function<void(int i, int counted)> onRowsCounted;
    // A line has gone to the file; at most every 100 ms, and after the last line.
    std::function<void(int i, int written, int counted, const QString& line)> onProgress;
    // The dump is complete and the elapsed minutes read: count, end and minutes are known; the
    // log row and stamp follow.
    std::function<void(int i)> onDumped;
    // The table's outcome is final (every outcome but Pending, NotTakingPart included).
    std::function<void(int i)> onTableEnds;

private:
    void runTable(int i, Mode mode);
    void dumpTable(int i, const QString& folder);
    void disconnectSession();
    void tableEnds(int i);

    db::Session& m_session;
    QList<JobTable> m_tables;
    // account -> (a table of it, its result)
    QHash<QString, std::pair<int, int>> m_registrationRead;
    QDate m_day;
};

}  // namespace kolmara::data
