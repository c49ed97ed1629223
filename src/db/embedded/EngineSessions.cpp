// The session registry: a session's rows in V$SESSION, V$PROCESS and V$SESSION_WAIT from logon
// to logoff, the clean-up of sessions whose program ended, ALTER SYSTEM KILL SESSION, and the
// check that this session has not been killed meanwhile.
#include "db/embedded/Engine.h"

#include "db/embedded/EngineSupport.h"
#include "db/embedded/OraValues.h"

#include <QCoreApplication>
#include <QSysInfo>

#include <sqlite3.h>

#ifndef _WIN32
#include <cerrno>
#include <signal.h>
#endif

namespace kolmara::db::embedded {

namespace {

// The columns of a fixed view's table, upper case: the engine fills only those a script declared.
QStringList fixedViewColumns(EngineSession& s, const QString& storage)
{
    QStringList columns;
    for (const QVariantList& r :
         s.rows(QStringLiteral("PRAGMA main.table_info(") + quoteIdent(storage) + QLatin1Char(')')))
        columns.append(r[1].toString().toUpper());
    return columns;
}

void insertKnownColumns(EngineSession& s, const QString& storage, const QStringList& columns,
                        const QHash<QString, QVariant>& values)
{
    QStringList names, marks;
    QVariantList args;
    for (const QString& c : columns) {
        if (!values.contains(c))
            continue;
        names.append(quoteIdent(c));
        marks.append(QStringLiteral("?"));
        args.append(values.value(c));
    }
    s.run(QStringLiteral("INSERT INTO main.") + quoteIdent(storage) + QStringLiteral(" (")
              + names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (")
              + marks.join(QStringLiteral(", ")) + QLatin1Char(')'),
          args);
}

// Drops the process row of a session that is gone, unless another session still runs on it.
void dropOrphanProcess(EngineSession& s, const QVariant& paddr)
{
    if (paddr.isNull() || !s.objectExists(QStringLiteral("SYS"), QStringLiteral("V_$PROCESS")))
        return;
    s.run(QStringLiteral("DELETE FROM main.\"SYS.V_$PROCESS\" WHERE \"ADDR\" = ? AND NOT EXISTS"
                         " (SELECT 1 FROM main.\"SYS.V_$SESSION\" WHERE \"PADDR\" = ?)"),
          {paddr, paddr});
}

}  // namespace

void EngineSession::registerSession()
{
    if (!objectExists(QStringLiteral("SYS"), QStringLiteral("V_$SESSION")))
        return;
    const QStringList columns = fixedViewColumns(*this, QStringLiteral("SYS.V_$SESSION"));
    // Another session's open transaction holds the file's write lock; rather than fail the logon,
    // this session then goes unlisted.
    sqlite3_busy_timeout(m_db, 500);
    if (sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
        return;
    }
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    try {
        removeSessionsOfEndedPrograms(columns);
        qint64 sid = 1;
        const QList<QVariantList> used =
            rows(QStringLiteral("SELECT \"SID\" FROM main.\"SYS.V_$SESSION\" ORDER BY 1"));
        for (const QVariantList& r : used) {
            if (r[0].toLongLong() == sid)
                ++sid;
            else if (r[0].toLongLong() > sid)
                break;
        }
        const qint64 serial =
            scalar(QStringLiteral("SELECT value FROM kol_meta WHERE key = 'next_serial'"))
                .toLongLong();
        run(QStringLiteral("UPDATE kol_meta SET value = value + 1 WHERE key = 'next_serial'"));
        m_sid = sid;
        m_serial = serial;
        m_audsid = 1000 + serial;
        const QString now = dateText(engineNow());
        const QString address =
            QStringLiteral("%1").arg(0x6C1A0000 + sid * 0x100, 8, 16, QLatin1Char('0')).toUpper();
        const QString paddr =
            QStringLiteral("%1").arg(0x6C2A0000 + sid * 0x100, 8, 16, QLatin1Char('0')).toUpper();
        const QString osUser = clientOsUser();
        const QString terminal = clientTerminal();
        const QString osProcess = QString::number(QCoreApplication::applicationPid());
        QHash<QString, QVariant> values = {
            {QStringLiteral("SADDR"), address},
            {QStringLiteral("SID"), sid},
            {QStringLiteral("SERIAL#"), serial},
            {QStringLiteral("AUDSID"), m_audsid},
            {QStringLiteral("PADDR"), paddr},
            {QStringLiteral("USER#"), m_userId},
            {QStringLiteral("USERNAME"), m_user},
            {QStringLiteral("COMMAND"), 0},
            {QStringLiteral("OWNERID"), 2147483644LL},
            {QStringLiteral("STATUS"), QStringLiteral("INACTIVE")},
            {QStringLiteral("SERVER"), QStringLiteral("DEDICATED")},
            {QStringLiteral("SCHEMA#"), m_userId},
            {QStringLiteral("SCHEMANAME"), m_user},
            {QStringLiteral("OSUSER"), osUser},
            {QStringLiteral("PROCESS"), osProcess},
            {QStringLiteral("MACHINE"), clientMachine()},
            {QStringLiteral("TERMINAL"), terminal},
            {QStringLiteral("PROGRAM"), QStringLiteral("kolmara")},
            {QStringLiteral("TYPE"), QStringLiteral("USER")},
            {QStringLiteral("MODULE"), QStringLiteral("kolmara")},
            {QStringLiteral("LOGON_TIME"), now},
            {QStringLiteral("LAST_CALL_ET"), 0},
            {QStringLiteral("PDML_ENABLED"), QStringLiteral("NO")},
            {QStringLiteral("FAILOVER_TYPE"), QStringLiteral("NONE")},
            {QStringLiteral("FAILOVER_METHOD"), QStringLiteral("NONE")},
            {QStringLiteral("FAILED_OVER"), QStringLiteral("NO")},
            {QStringLiteral("ROW_WAIT_OBJ#"), -1},
        };
        insertKnownColumns(*this, QStringLiteral("SYS.V_$SESSION"), columns, values);
        // A dedicated server process serves the session: the next free PID, the program's own
        // process id as its SPID. A row left at this address by a session that never logged off
        // belongs to nobody and gives way.
        if (columns.contains(QStringLiteral("PADDR"))
            && objectExists(QStringLiteral("SYS"), QStringLiteral("V_$PROCESS"))) {
            run(QStringLiteral("DELETE FROM main.\"SYS.V_$PROCESS\" WHERE \"ADDR\" = ?"), {paddr});
            qint64 pid = 1;
            for (const QVariantList& r :
                 rows(QStringLiteral("SELECT \"PID\" FROM main.\"SYS.V_$PROCESS\" ORDER BY 1"))) {
                if (r[0].toLongLong() == pid)
                    ++pid;
                else if (r[0].toLongLong() > pid)
                    break;
            }
            insertKnownColumns(*this, QStringLiteral("SYS.V_$PROCESS"),
                               fixedViewColumns(*this, QStringLiteral("SYS.V_$PROCESS")),
                               {{QStringLiteral("ADDR"), paddr},
                                {QStringLiteral("PID"), pid},
                                {QStringLiteral("SPID"), osProcess},
                                {QStringLiteral("USERNAME"), osUser},
                                {QStringLiteral("SERIAL#"), 1},
                                {QStringLiteral("TERMINAL"), terminal},
                                {QStringLiteral("PROGRAM"), QStringLiteral("kolmara")},
                                {QStringLiteral("PGA_USED_MEM"), 286900},
                                {QStringLiteral("PGA_ALLOC_MEM"), 467700},
                                {QStringLiteral("PGA_MAX_MEM"), 467700}});
            m_paddr = paddr;
        }
        // Between its calls the session waits for its client, as every idle session does.
        if (objectExists(QStringLiteral("SYS"), QStringLiteral("V_$SESSION_WAIT"))) {
            run(QStringLiteral("DELETE FROM main.\"SYS.V_$SESSION_WAIT\" WHERE \"SID\" = ?"),
                {sid});
            insertKnownColumns(
                *this, QStringLiteral("SYS.V_$SESSION_WAIT"),
                fixedViewColumns(*this, QStringLiteral("SYS.V_$SESSION_WAIT")),
                {{QStringLiteral("SID"), sid},
                 {QStringLiteral("SEQ#"), 1},
                 {QStringLiteral("EVENT"), QStringLiteral("SQL*Net message from client")},
                 {QStringLiteral("P1TEXT"), QStringLiteral("driver id")},
                 {QStringLiteral("P1"), 1413697536},
                 {QStringLiteral("P2TEXT"), QStringLiteral("#bytes")},
                 {QStringLiteral("P2"), 1},
                 {QStringLiteral("WAIT_TIME"), 0},
                 {QStringLiteral("SECONDS_IN_WAIT"), 0},
                 {QStringLiteral("STATE"), QStringLiteral("WAITING")}});
        }
        run(QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    // This session sees itself as ACTIVE: it is running the statement that reads V$SESSION.
    QStringList select;
    for (const QString& c : std::as_const(columns))
        select.append(c == QLatin1String("STATUS")
                          ? QStringLiteral("CASE WHEN \"SID\" = %1 THEN 'ACTIVE' ELSE \"STATUS\""
                                           " END AS \"STATUS\"").arg(m_sid)
                          : quoteIdent(c));
    run(QStringLiteral("CREATE TEMP VIEW \"SYS.V_$SESSION\" AS SELECT ")
        + select.join(QStringLiteral(", ")) + QStringLiteral(" FROM main.\"SYS.V_$SESSION\""));
}

QString EngineSession::clientMachine() const { return QSysInfo::machineHostName(); }

QString EngineSession::clientTerminal() const
{
    return QSysInfo::machineHostName().left(16).toUpper();
}

QString EngineSession::clientOsUser() const
{
    return qEnvironmentVariable("USER",
                                qEnvironmentVariable("USERNAME", QStringLiteral("kolmara")));
}

void EngineSession::removeSessionsOfEndedPrograms(const QStringList& columns)
{
#ifndef _WIN32
    // A program on this machine that ended without logging off (killed, crashed) leaves its rows
    // behind; like the instance's own clean-up of dead processes, the next logon removes them.
    for (const char* needed : {"PROGRAM", "MACHINE", "PROCESS", "SID", "SERIAL#"})
        if (!columns.contains(QString::fromLatin1(needed)))
            return;
    const bool hasPaddr = columns.contains(QStringLiteral("PADDR"));
    const QList<QVariantList> candidates = rows(
        QStringLiteral("SELECT \"SID\", \"SERIAL#\", \"PROCESS\", %1 FROM main.\"SYS.V_$SESSION\""
                       " WHERE \"PROGRAM\" = 'kolmara' AND \"MACHINE\" = ?")
            .arg(hasPaddr ? QStringLiteral("\"PADDR\"") : QStringLiteral("NULL")),
        {QSysInfo::machineHostName()});
    for (const QVariantList& r : candidates) {
        bool ok = false;
        const qint64 pid = r[2].toString().toLongLong(&ok);
        if (!ok || pid <= 0 || pid == QCoreApplication::applicationPid())
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue;
        run(QStringLiteral("DELETE FROM main.\"SYS.V_$SESSION\" WHERE \"SID\" = ? AND \"SERIAL#\" ="
                           " ?"), {r[0], r[1]});
        dropOrphanProcess(*this, r[3]);
    }
#else
    Q_UNUSED(columns);
#endif
}

void EngineSession::unregisterSession()
{
    if (m_sid <= 0 || m_killed)
        return;
    // One transaction for the session's rows: one commit, and the log receives each page once.
    run(QStringLiteral("BEGIN IMMEDIATE"));
    try {
        run(QStringLiteral("DELETE FROM main.\"SYS.V_$SESSION\" WHERE \"SID\" = ? AND \"SERIAL#\" ="
                           " ?"), {m_sid, m_serial});
        if (objectExists(QStringLiteral("SYS"), QStringLiteral("V_$SESSION_WAIT")))
            run(QStringLiteral("DELETE FROM main.\"SYS.V_$SESSION_WAIT\" WHERE \"SID\" = ?"),
                {m_sid});
        if (!m_paddr.isEmpty())
            dropOrphanProcess(*this, m_paddr);
        run(QStringLiteral("COMMIT"));
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    m_sid = 0;
    m_paddr.clear();
}

void EngineSession::checkAlive()
{
    if (m_killed)
        throw DatabaseError(28, QStringLiteral("your session has been killed"));
    if (m_sid <= 0)
        return;
    // Only another connection can end this session (a kill of its own is refused), and only by a
    // commit: the session's row is looked at again only once another connection has committed.
    const qint64 version = dataVersion();
    if (version >= 0 && version == m_aliveVersion)
        return;
    if (scalar(QStringLiteral("SELECT count(*) FROM main.\"SYS.V_$SESSION\" WHERE \"SID\" = ? AND"
                              " \"SERIAL#\" = ?"), {m_sid, m_serial})
            .toLongLong()
        > 0) {
        m_aliveVersion = version;
        return;
    }
    {
        m_killed = true;
        if (m_inTransaction)
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_inTransaction = false;
        throw DatabaseError(28, QStringLiteral("your session has been killed"));
    }
}

void EngineSession::killSession(qint64 sid, qint64 serial)
{
    if (!isDba())
        throw DatabaseError(1031, QStringLiteral("insufficient privileges"));
    if (sid == m_sid && serial == m_serial)
        throw DatabaseError(27, QStringLiteral("cannot kill current session"));
    if (!objectExists(QStringLiteral("SYS"), QStringLiteral("V_$SESSION")))
        throw DatabaseError(30, QStringLiteral("User session ID does not exist."));
    commit();
    beginWrite();
    try {
        // The killed session's server process ends with it.
        QVariant paddr, saddr;
        if (fixedViewColumns(*this, QStringLiteral("SYS.V_$SESSION"))
                .contains(QStringLiteral("SADDR")))
            saddr = scalar(QStringLiteral("SELECT \"SADDR\" FROM main.\"SYS.V_$SESSION\" WHERE"
                                          " \"SID\" = ? AND \"SERIAL#\" = ?"),
                           {sid, serial});
        if (fixedViewColumns(*this, QStringLiteral("SYS.V_$SESSION"))
                .contains(QStringLiteral("PADDR")))
            paddr = scalar(QStringLiteral("SELECT \"PADDR\" FROM main.\"SYS.V_$SESSION\" WHERE"
                                          " \"SID\" = ? AND \"SERIAL#\" = ?"),
                           {sid, serial});
        run(QStringLiteral("DELETE FROM main.\"SYS.V_$SESSION\" WHERE \"SID\" = ? AND \"SERIAL#\" ="
                           " ?"), {sid, serial});
        if (sqlite3_changes(m_db) == 0)
            throw DatabaseError(30, QStringLiteral("User session ID does not exist."));
        dropOrphanProcess(*this, paddr);
        // Its locks, its transaction and what the instance keeps per session go with it.
        if (objectExists(QStringLiteral("SYS"), QStringLiteral("V_$ROLLSTAT"))
            && objectExists(QStringLiteral("SYS"), QStringLiteral("V_$LOCK")))
            run(QStringLiteral("UPDATE main.\"SYS.V_$ROLLSTAT\" SET \"XACTS\" = \"XACTS\" - 1 WHERE"
                               " \"USN\" IN (SELECT CAST(\"ID1\" / 65536 AS INTEGER) FROM"
                               " main.\"SYS.V_$LOCK\" WHERE \"SID\" = ? AND \"TYPE\" = 'TX' AND"
                               " \"LMODE\" = 6)"),
                {sid});
        for (const char* view : {"V_$LOCK", "V_$SESSION_WAIT", "V_$SESSTAT"})
            if (objectExists(QStringLiteral("SYS"), QString::fromLatin1(view)))
                run(QStringLiteral("DELETE FROM main.\"SYS.%1\" WHERE \"SID\" = ?")
                        .arg(QLatin1String(view)),
                    {sid});
        if (objectExists(QStringLiteral("SYS"), QStringLiteral("V_$LOCKED_OBJECT")))
            run(QStringLiteral(
                    "DELETE FROM main.\"SYS.V_$LOCKED_OBJECT\" WHERE \"SESSION_ID\" = ?"),
                {sid});
        if (!saddr.isNull()
            && objectExists(QStringLiteral("SYS"), QStringLiteral("V_$TRANSACTION")))
            run(QStringLiteral("DELETE FROM main.\"SYS.V_$TRANSACTION\" WHERE \"SES_ADDR\" = ?"),
                {saddr});
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}

}  // namespace kolmara::db::embedded
