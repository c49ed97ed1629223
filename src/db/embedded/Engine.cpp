// The embedded engine's session: login, statement dispatch, name resolution with privileges,
// transactions, the V$SESSION row, and creation of a missing database file.
#include "db/embedded/Engine.h"

#include "db/embedded/Catalogue.h"
#include "db/embedded/Ddl.h"
#include "db/embedded/EngineFunctions.h"
#include "db/embedded/EngineSupport.h"
#include "db/embedded/OraValues.h"
#include "db/embedded/QueryFunctions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstring>
#include <optional>
#include <utility>

#ifndef _WIN32
#include <cerrno>
#include <signal.h>
#endif

namespace kolmara::db::embedded {

namespace {

std::function<QDateTime()>& clockOverride()
{
    static std::function<QDateTime()> clock;
    return clock;
}

void bindVariant(sqlite3_stmt* st, int index, const QVariant& v)
{
    if (!v.isValid() || v.isNull()) {
        sqlite3_bind_null(st, index);
        return;
    }
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        sqlite3_bind_int64(st, index, v.toLongLong());
        return;
    case QMetaType::Double:
        sqlite3_bind_double(st, index, v.toDouble());
        return;
    default:
        break;
    }
    const QByteArray utf8 = v.toString().toUtf8();
    sqlite3_bind_text(st, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// Whether an argument would bind as the same SQLite value: same type, same value.
bool sameArgument(const QVariant& a, const QVariant& b)
{
    return a.isNull() == b.isNull() && a.typeId() == b.typeId() && (a.isNull() || a == b);
}

QVariant columnVariant(sqlite3_stmt* st, int i)
{
    switch (sqlite3_column_type(st, i)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(sqlite3_column_int64(st, i)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(st, i));
    case SQLITE_NULL:
        return QVariant();
    default:
        break;
    }
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)), sqlite3_column_bytes(st, i));
}

Value integerValue(qint64 n)
{
    Value v;
    v.kind = Value::Kind::Number;
    // The digits written straight into the text: QString::number goes through the locale code.
    char16_t digits[20];
    int at = 20;
    quint64 rest = n < 0 ? 0 - quint64(n) : quint64(n);
    do {
        digits[--at] = char16_t(u'0' + rest % 10);
        rest /= 10;
    } while (rest);
    if (n < 0)
        digits[--at] = u'-';
    v.text = QString(reinterpret_cast<const QChar*>(digits + at), 20 - at);
    v.number = double(n);
    v.exactInteger = true;
    return v;
}

Value realValue(double d)
{
    Value v;
    v.kind = Value::Kind::Number;
    v.number = d;
    v.text = oraNumberText(d);
    v.exactInteger = !v.text.contains(QLatin1Char('.')) && !v.text.contains(QLatin1Char('E'));
    return v;
}

// A text column: a number beyond 15 digits kept as text, a date, or text.
Value textValue(const char* bytes, int length)
{
    Value v;
    if (length > 0 && bytes[0] == char(kBigNumberMark.unicode())) {
        v.kind = Value::Kind::Number;
        v.text = QString::fromUtf8(bytes + 1, length - 1);
        v.number = v.text.toDouble();
        v.exactInteger = !v.text.contains(QLatin1Char('.')) && !v.text.contains(QLatin1Char('E'));
        return v;
    }
    v.text = QString::fromUtf8(bytes, length);
    if (const auto d = parseDateText(v.text)) {
        v.kind = Value::Kind::Date;
        static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
        v.number = double(epoch.secsTo(*d)) / 86400.0;
        return v;
    }
    v.kind = Value::Kind::Text;
    return v;
}

DatabaseError oraMessage(const QString& message)
{
    static const QRegularExpression re(QStringLiteral("^ORA-(\\d{5}): (.*)$"), QRegularExpression::DotMatchesEverythingOption);
    const auto m = re.match(message);
    if (m.hasMatch())
        return DatabaseError(m.captured(1).toInt(), m.captured(2));
    return DatabaseError(900, QStringLiteral("invalid SQL statement"));
}

// The columns of a fixed view's table, upper case: the engine fills only those a script declared.
QStringList fixedViewColumns(EngineSession& s, const QString& storage)
{
    QStringList columns;
    for (const QVariantList& r : s.rows(QStringLiteral("PRAGMA main.table_info(") + quoteIdent(storage) + QLatin1Char(')')))
        columns.append(r[1].toString().toUpper());
    return columns;
}

void insertKnownColumns(EngineSession& s, const QString& storage, const QStringList& columns, const QHash<QString, QVariant>& values)
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
    s.run(QStringLiteral("INSERT INTO main.") + quoteIdent(storage) + QStringLiteral(" (") + names.join(QStringLiteral(", "))
              + QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + QLatin1Char(')'),
          args);
}

// Drops the process row of a session that is gone, unless another session still runs on it.
void dropOrphanProcess(EngineSession& s, const QVariant& paddr)
{
    if (paddr.isNull() || !s.objectExists(QStringLiteral("SYS"), QStringLiteral("V_$PROCESS")))
        return;
    s.run(QStringLiteral("DELETE FROM main.\"SYS.V_$PROCESS\" WHERE \"ADDR\" = ? AND NOT EXISTS (SELECT 1 FROM"
                         " main.\"SYS.V_$SESSION\" WHERE \"PADDR\" = ?)"),
          {paddr, paddr});
}

}  // namespace

void setEngineClockForTesting(std::function<QDateTime()> clock) { clockOverride() = std::move(clock); }

QDateTime engineNow()
{
    const QDateTime local = clockOverride() ? clockOverride()() : QDateTime::currentDateTime();
    const QTime t = local.time();
    return QDateTime(local.date(), QTime(t.hour(), t.minute(), t.second()), Qt::UTC);
}

// ---- session lifecycle ------------------------------------------------------------------------

EngineSession::EngineSession(sqlite3* db, const QString& file) : m_db(db), m_file(file)
{
    registerEngineFunctions(m_db, this);
    registerQueryFunctions(m_db, this);
}

EngineSession::~EngineSession() { close(); }

std::unique_ptr<EngineSession> EngineSession::open(const QString& file, const QString& user, const QString& password)
{
    if (!QFileInfo::exists(file))
        createDatabase(file);
    sqlite3* db = openFile(file, false);
    auto session = std::make_unique<EngineSession>(db, file);
    const QString name = user.trimmed().toUpper();
    const QList<QVariantList> found = session->rows(
        QStringLiteral("SELECT password, account_status, user_id FROM kol_users WHERE username = ?"), {name});
    if (name.isEmpty() || found.isEmpty() || found[0][0].toString() != passwordHash(name, password))
        throw DatabaseError(1017, QStringLiteral("invalid username/password; logon denied"));
    if (found[0][1].toString().contains(QLatin1String("LOCKED")))
        throw DatabaseError(28000, QStringLiteral("the account is locked"));
    session->m_user = name;
    session->m_schema = name;
    session->m_userId = found[0][2].toLongLong();
    session->loadNlsParameters();
    session->registerSession();
    session->m_logonChanges = sqlite3_total_changes64(db);
    session->m_logonDataVersion = session->dataVersion();
    return session;
}

void EngineSession::close()
{
    if (!m_db)
        return;
    if (!m_bulk) {
        try {
            if (m_inTransaction)
                run(QStringLiteral("COMMIT"));
            m_inTransaction = false;
            const bool onlyBookkeeping = m_logonDataVersion >= 0 && sqlite3_total_changes64(m_db) == m_logonChanges;
            unregisterSession();
            // The last connection to close copies the write-ahead log into the file and deletes
            // it, with two syncs. A session that changed nothing but its own V$SESSION rows, while
            // no other connection committed, leaves the log as it is: what it holds is already in
            // the file or only this bookkeeping, the next connection to open reads it back, and
            // SQLite copies it once it has grown (every commit of user work still ends in a
            // synced copy when its session closes).
            if (onlyBookkeeping && dataVersion() == m_logonDataVersion)
                sqlite3_db_config(m_db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        } catch (const DatabaseError&) {
            // Closing goes on: the file keeps its last committed state.
        }
    }
    for (RowStream* stream : std::as_const(m_streams)) {
        sqlite3_finalize(stream->m_statement);
        stream->m_statement = nullptr;
        stream->m_session = nullptr;
        stream->m_orphaned = true;
    }
    m_streams.clear();
    for (sqlite3_stmt* st : std::as_const(m_prepared))
        sqlite3_finalize(st);
    m_prepared.clear();
    for (sqlite3_stmt* st : std::as_const(m_preparedInserts))
        sqlite3_finalize(st);
    m_preparedInserts.clear();
    dropIdleStatements();
    m_boundArgs.clear();
    sqlite3_finalize(m_dataVersionStatement);
    m_dataVersionStatement = nullptr;
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

// ---- internal SQL helpers ---------------------------------------------------------------------

QList<QVariantList> EngineSession::rows(const QString& sql, const QVariantList& args)
{
    // The catalogue queries repeat with other arguments all the time: keep them prepared. A
    // statement already stepping (a nested call from an SQL function) gets a fresh one.
    sqlite3_stmt* st = m_prepared.value(sql);
    const bool cached = st && !sqlite3_stmt_busy(st);
    if (!cached) {
        st = nullptr;
        const QByteArray utf8 = sql.toUtf8();
        const int rc = sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &st, nullptr);
        if (rc != SQLITE_OK) {
            const QString msg = QString::fromUtf8(sqlite3_errmsg(m_db));
            throw mapSqliteError(rc, msg);
        }
    }
    const bool keep = !cached && !m_prepared.contains(sql) && !sql.startsWith(QStringLiteral("CREATE"))
                      && !sql.startsWith(QStringLiteral("DROP")) && !sql.startsWith(QStringLiteral("ALTER"));
    auto release = [&] {
        if (cached || keep) {
            sqlite3_reset(st);
            sqlite3_clear_bindings(st);
            if (keep)
                m_prepared.insert(sql, st);
        } else {
            sqlite3_finalize(st);
        }
    };
    for (int i = 0; i < args.size(); ++i)
        bindVariant(st, i + 1, args[i]);
    QList<QVariantList> out;
    int rc;
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
        QVariantList row;
        const int n = sqlite3_column_count(st);
        row.reserve(n);
        for (int c = 0; c < n; ++c)
            row.append(columnVariant(st, c));
        out.append(row);
    }
    if (rc != SQLITE_DONE) {
        const int ext = sqlite3_extended_errcode(m_db);
        const QString msg = QString::fromUtf8(sqlite3_errmsg(m_db));
        release();
        throw mapSqliteError(ext, msg);
    }
    release();
    return out;
}

void EngineSession::run(const QString& sql, const QVariantList& args) { rows(sql, args); }

QVariant EngineSession::scalar(const QString& sql, const QVariantList& args)
{
    const QList<QVariantList> r = rows(sql, args);
    return r.isEmpty() || r[0].isEmpty() ? QVariant() : r[0][0];
}

bool EngineSession::objectExists(const QString& owner, const QString& name)
{
    return scalar(QStringLiteral("SELECT count(*) FROM kol_objects WHERE owner = ? AND object_name = ?"
                                 " AND object_type NOT IN ('INDEX', 'TRIGGER', 'DATABASE LINK')"),
                  {owner, name})
               .toLongLong()
           > 0;
}

void EngineSession::bumpGeneration()
{
    run(QStringLiteral("UPDATE kol_meta SET value = value + 1 WHERE key = 'generation'"));
    m_cache.clear();
    m_columns.clear();
    dropIdleStatements();
    m_generation = -1;
    m_privGeneration = -2;
}

qint64 EngineSession::dataVersion()
{
    if (!m_dataVersionStatement
        && sqlite3_prepare_v2(m_db, "PRAGMA main.data_version", -1, &m_dataVersionStatement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(m_dataVersionStatement);
        m_dataVersionStatement = nullptr;
        return -1;
    }
    const qint64 version = sqlite3_step(m_dataVersionStatement) == SQLITE_ROW ? sqlite3_column_int64(m_dataVersionStatement, 0) : -1;
    sqlite3_reset(m_dataVersionStatement);
    return version;
}

void EngineSession::refreshGeneration()
{
    // The generation moves with DDL: this session's own (which resets it) or another connection's
    // commit, which SQLite's data version counts.
    const qint64 version = dataVersion();
    if (m_generation >= 0 && version >= 0 && version == m_generationVersion)
        return;
    const qint64 g = scalar(QStringLiteral("SELECT value FROM kol_meta WHERE key = 'generation'")).toLongLong();
    m_generationVersion = version;
    if (g != m_generation) {
        m_generation = g;
        m_cache.clear();
        m_columns.clear();
        dropIdleStatements();
    }
}

void EngineSession::keepIdle(const QString& text, sqlite3_stmt* statement)
{
    constexpr int kIdleStatements = 64;
    sqlite3_reset(statement);
    if (!m_db || m_idle.size() >= kIdleStatements || m_idle.contains(text)) {
        m_boundArgs.remove(statement);
        sqlite3_finalize(statement);
        return;
    }
    m_idle.insert(text, statement);
}

void EngineSession::dropIdleStatements()
{
    for (sqlite3_stmt* st : std::as_const(m_idle)) {
        m_boundArgs.remove(st);
        sqlite3_finalize(st);
    }
    m_idle.clear();
}

void EngineSession::beginWrite()
{
    if (m_inTransaction || m_bulk)
        return;
    run(QStringLiteral("BEGIN IMMEDIATE"));
    m_inTransaction = true;
}

void EngineSession::commit()
{
    if (m_inTransaction && !m_bulk)
        run(QStringLiteral("COMMIT"));
    m_inTransaction = false;
}

void EngineSession::rollback()
{
    if (m_inTransaction && !m_bulk)
        run(QStringLiteral("ROLLBACK"));
    m_inTransaction = false;
}

qint64 EngineSession::nextSequenceValue(const QString& key)
{
    const int dot = int(key.indexOf(QLatin1Char('.')));
    const QString owner = key.left(dot), name = key.mid(dot + 1);
    const QList<QVariantList> r = rows(QStringLiteral("SELECT next_value, increment_by, max_value, min_value, cycle_flag,"
                                                      " cache_size FROM kol_sequences WHERE sequence_owner = ? AND"
                                                      " sequence_name = ?"),
                                       {owner, name});
    if (r.isEmpty())
        throw DatabaseError(2289, QStringLiteral("sequence does not exist"));
    qint64 value = r[0][0].toLongLong();
    const qint64 step = r[0][1].toLongLong();
    const double maxValue = r[0][2].toString().remove(kBigNumberMark).toDouble();
    const double minValue = r[0][3].toString().remove(kBigNumberMark).toDouble();
    if ((step > 0 && double(value) > maxValue) || (step < 0 && double(value) < minValue)) {
        if (r[0][4].toString() != QLatin1String("Y"))
            throw DatabaseError(8004, QStringLiteral("sequence %1.NEXTVAL exceeds %2 and cannot be instantiated")
                                          .arg(name, step > 0 ? QStringLiteral("MAXVALUE") : QStringLiteral("MINVALUE")));
        value = qint64(step > 0 ? minValue : maxValue);
    }
    const qint64 cache = qMax<qint64>(1, r[0][5].toLongLong());
    run(QStringLiteral("UPDATE kol_sequences SET next_value = ?, last_number = CASE WHEN ? >= last_number THEN ? ELSE"
                       " last_number END WHERE sequence_owner = ? AND sequence_name = ?"),
        {value + step, value, value + step * cache, owner, name});
    m_currval[key] = value;
    return value;
}

// ---- V$SESSION ----------------------------------------------------------------------------------

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
        const QList<QVariantList> used = rows(QStringLiteral("SELECT \"SID\" FROM main.\"SYS.V_$SESSION\" ORDER BY 1"));
        for (const QVariantList& r : used) {
            if (r[0].toLongLong() == sid)
                ++sid;
            else if (r[0].toLongLong() > sid)
                break;
        }
        const qint64 serial = scalar(QStringLiteral("SELECT value FROM kol_meta WHERE key = 'next_serial'")).toLongLong();
        run(QStringLiteral("UPDATE kol_meta SET value = value + 1 WHERE key = 'next_serial'"));
        m_sid = sid;
        m_serial = serial;
        m_audsid = 1000 + serial;
        const QString now = dateText(engineNow());
        const QString address = QStringLiteral("%1").arg(0x6C1A0000 + sid * 0x100, 8, 16, QLatin1Char('0')).toUpper();
        const QString paddr = QStringLiteral("%1").arg(0x6C2A0000 + sid * 0x100, 8, 16, QLatin1Char('0')).toUpper();
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
        if (columns.contains(QStringLiteral("PADDR")) && objectExists(QStringLiteral("SYS"), QStringLiteral("V_$PROCESS"))) {
            run(QStringLiteral("DELETE FROM main.\"SYS.V_$PROCESS\" WHERE \"ADDR\" = ?"), {paddr});
            qint64 pid = 1;
            for (const QVariantList& r : rows(QStringLiteral("SELECT \"PID\" FROM main.\"SYS.V_$PROCESS\" ORDER BY 1"))) {
                if (r[0].toLongLong() == pid)
                    ++pid;
                else if (r[0].toLongLong() > pid)
                    break;
            }
            insertKnownColumns(*this, QStringLiteral("SYS.V_$PROCESS"), fixedViewColumns(*this, QStringLiteral("SYS.V_$PROCESS")),
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
            run(QStringLiteral("DELETE FROM main.\"SYS.V_$SESSION_WAIT\" WHERE \"SID\" = ?"), {sid});
            insertKnownColumns(*this, QStringLiteral("SYS.V_$SESSION_WAIT"), fixedViewColumns(*this, QStringLiteral("SYS.V_$SESSION_WAIT")),
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
                          ? QStringLiteral("CASE WHEN \"SID\" = %1 THEN 'ACTIVE' ELSE \"STATUS\" END AS \"STATUS\"").arg(m_sid)
                          : quoteIdent(c));
    run(QStringLiteral("CREATE TEMP VIEW \"SYS.V_$SESSION\" AS SELECT ") + select.join(QStringLiteral(", "))
        + QStringLiteral(" FROM main.\"SYS.V_$SESSION\""));
}

QString EngineSession::clientMachine() const { return QSysInfo::machineHostName(); }

QString EngineSession::clientTerminal() const { return QSysInfo::machineHostName().left(16).toUpper(); }

QString EngineSession::clientOsUser() const
{
    return qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME", QStringLiteral("kolmara")));
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
        run(QStringLiteral("DELETE FROM main.\"SYS.V_$SESSION\" WHERE \"SID\" = ? AND \"SERIAL#\" = ?"), {r[0], r[1]});
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
        run(QStringLiteral("DELETE FROM main.\"SYS.V_$SESSION\" WHERE \"SID\" = ? AND \"SERIAL#\" = ?"), {m_sid, m_serial});
        if (objectExists(QStringLiteral("SYS"), QStringLiteral("V_$SESSION_WAIT")))
            run(QStringLiteral("DELETE FROM main.\"SYS.V_$SESSION_WAIT\" WHERE \"SID\" = ?"), {m_sid});
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
    if (scalar(QStringLiteral("SELECT count(*) FROM main.\"SYS.V_$SESSION\" WHERE \"SID\" = ? AND \"SERIAL#\" = ?"), {m_sid, m_serial})
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
        if (fixedViewColumns(*this, QStringLiteral("SYS.V_$SESSION")).contains(QStringLiteral("SADDR")))
            saddr = scalar(QStringLiteral("SELECT \"SADDR\" FROM main.\"SYS.V_$SESSION\" WHERE \"SID\" = ? AND \"SERIAL#\" = ?"),
                           {sid, serial});
        if (fixedViewColumns(*this, QStringLiteral("SYS.V_$SESSION")).contains(QStringLiteral("PADDR")))
            paddr = scalar(QStringLiteral("SELECT \"PADDR\" FROM main.\"SYS.V_$SESSION\" WHERE \"SID\" = ? AND \"SERIAL#\" = ?"),
                           {sid, serial});
        run(QStringLiteral("DELETE FROM main.\"SYS.V_$SESSION\" WHERE \"SID\" = ? AND \"SERIAL#\" = ?"), {sid, serial});
        if (sqlite3_changes(m_db) == 0)
            throw DatabaseError(30, QStringLiteral("User session ID does not exist."));
        dropOrphanProcess(*this, paddr);
        // Its locks, its transaction and what the instance keeps per session go with it.
        if (objectExists(QStringLiteral("SYS"), QStringLiteral("V_$ROLLSTAT")) && objectExists(QStringLiteral("SYS"), QStringLiteral("V_$LOCK")))
            run(QStringLiteral("UPDATE main.\"SYS.V_$ROLLSTAT\" SET \"XACTS\" = \"XACTS\" - 1 WHERE \"USN\" IN (SELECT CAST(\"ID1\" / 65536"
                               " AS INTEGER) FROM main.\"SYS.V_$LOCK\" WHERE \"SID\" = ? AND \"TYPE\" = 'TX' AND \"LMODE\" = 6)"),
                {sid});
        for (const char* view : {"V_$LOCK", "V_$SESSION_WAIT", "V_$SESSTAT"})
            if (objectExists(QStringLiteral("SYS"), QString::fromLatin1(view)))
                run(QStringLiteral("DELETE FROM main.\"SYS.%1\" WHERE \"SID\" = ?").arg(QLatin1String(view)), {sid});
        if (objectExists(QStringLiteral("SYS"), QStringLiteral("V_$LOCKED_OBJECT")))
            run(QStringLiteral("DELETE FROM main.\"SYS.V_$LOCKED_OBJECT\" WHERE \"SESSION_ID\" = ?"), {sid});
        if (!saddr.isNull() && objectExists(QStringLiteral("SYS"), QStringLiteral("V_$TRANSACTION")))
            run(QStringLiteral("DELETE FROM main.\"SYS.V_$TRANSACTION\" WHERE \"SES_ADDR\" = ?"), {saddr});
        commit();
    } catch (...) {
        rollback();
        throw;
    }
}

// ---- statements ---------------------------------------------------------------------------------

std::unique_ptr<RowStream> EngineSession::execute(const QString& sql, const QHash<QString, BindValue>& binds)
{
    const auto noRows = [this] { return std::unique_ptr<RowStream>(new RowStream(this, nullptr, {}, {}, m_statementNow)); };
    if (!m_db)
        throw DatabaseError(3114, QStringLiteral("not connected to ORACLE"));
    checkAlive();
    m_statementNow = engineNow();
    refreshGeneration();
    // A query or DML statement run before keeps its translation: it is not read again.
    if (m_cache.contains(translationKey(sql)))
        return runTranslated(sql, {}, binds);
    const QList<Token> tokens = tokenize(sql);
    const Token& first = tokens.first();
    if (first.kind == Token::Kind::End)
        throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
    const QString kw = first.kind == Token::Kind::Ident ? first.text : QString();
    if (kw == QLatin1String("SELECT") || kw == QLatin1String("INSERT") || kw == QLatin1String("UPDATE")
        || kw == QLatin1String("DELETE") || kw == QLatin1String("WITH") || kw == QLatin1String("MERGE")
        || (first.kind == Token::Kind::Op && first.text == QLatin1String("(")))
        return runTranslated(sql, tokens, binds);
    auto isKw = [&](int i, const char* word) {
        return i < tokens.size() && tokens[i].kind == Token::Kind::Ident && tokens[i].text == QLatin1String(word);
    };
    if (kw == QLatin1String("COMMIT")) {
        commit();
        return noRows();
    }
    // SAVEPOINT name and ROLLBACK TO [SAVEPOINT] name: the work after the savepoint is undone, the
    // transaction goes on.
    auto savepoint = [&](int at) {
        if (at >= tokens.size() || (tokens[at].kind != Token::Kind::Ident && tokens[at].kind != Token::Kind::QuotedIdent))
            throw DatabaseError(933, QStringLiteral("SQL command not properly ended"));
        return tokens[at].text;
    };
    if (kw == QLatin1String("ROLLBACK") && isKw(1, "TO")) {
        const QString name = savepoint(isKw(2, "SAVEPOINT") ? 3 : 2);
        if (!m_inTransaction
            || sqlite3_exec(m_db, (QStringLiteral("ROLLBACK TO ") + quoteIdent(QStringLiteral("kol_sp_") + name)).toUtf8().constData(),
                            nullptr, nullptr, nullptr)
                   != SQLITE_OK)
            throw DatabaseError(1086, QStringLiteral("savepoint '%1' never established").arg(name));
        return noRows();
    }
    if (kw == QLatin1String("ROLLBACK")) {
        rollback();
        return noRows();
    }
    if (kw == QLatin1String("SAVEPOINT")) {
        const QString name = savepoint(1);
        beginWrite();
        if (m_inTransaction)
            run(QStringLiteral("SAVEPOINT ") + quoteIdent(QStringLiteral("kol_sp_") + name));
        return noRows();
    }
    if (kw == QLatin1String("SET") && isKw(1, "TRANSACTION"))
        return noRows();
    if (kw == QLatin1String("ALTER") && isKw(1, "SESSION")) {
        alterSession(tokens);
        return noRows();
    }
    if (kw == QLatin1String("ALTER") && isKw(1, "SYSTEM") && isKw(2, "KILL") && isKw(3, "SESSION")) {
        if (tokens.size() < 5 || tokens[4].kind != Token::Kind::String)
            throw DatabaseError(26, QStringLiteral("missing or invalid session ID"));
        const QStringList parts = tokens[4].text.split(QLatin1Char(','));
        bool ok1 = false, ok2 = false;
        const qint64 sid = parts.value(0).trimmed().toLongLong(&ok1);
        const qint64 serial = parts.value(1).trimmed().toLongLong(&ok2);
        if (parts.size() != 2 || !ok1 || !ok2)
            throw DatabaseError(26, QStringLiteral("missing or invalid session ID"));
        killSession(sid, serial);
        return noRows();
    }
    if (kw == QLatin1String("CREATE") || kw == QLatin1String("DROP") || kw == QLatin1String("ALTER")
        || kw == QLatin1String("GRANT") || kw == QLatin1String("REVOKE") || kw == QLatin1String("COMMENT")
        || kw == QLatin1String("TRUNCATE") || kw == QLatin1String("ANALYZE")) {
        commit();
        beginWrite();
        m_inDdl = true;
        m_columns.clear();
        try {
            executeDdl(*this, tokens, sql);
            m_inDdl = false;
            bumpGeneration();
            commit();
        } catch (...) {
            m_inDdl = false;
            m_columns.clear();
            if (!m_bulk)
                rollback();
            throw;
        }
        return noRows();
    }
    throw DatabaseError(900, QStringLiteral("invalid SQL statement"));
}

std::unique_ptr<RowStream> EngineSession::runTranslated(const QString& sql, const QList<Token>& tokens,
                                                   const QHash<QString, BindValue>& binds, const QVariantList* literals)
{
    const QString key = translationKey(sql);
    auto it = m_cache.constFind(key);
    if (it == m_cache.constEnd())
        it = m_cache.insert(key, translateStatement(tokens, sql, *this));
    const Translation tr = *it;
    if (tr.kind == Translation::Kind::Dml)
        beginWrite();

    QHash<QString, qint64> nextvals;
    QVariantList args;
    for (const QString& p : tr.params) {
        if (p.startsWith(QStringLiteral("#NEXTVAL "))) {
            const QString seq = p.mid(9);
            if (!nextvals.contains(seq))
                nextvals.insert(seq, nextSequenceValue(seq));
            args.append(nextvals.value(seq));
        } else if (literals && p.startsWith(QStringLiteral("#L"))) {
            args.append(literals->value(p.mid(2).toInt() - 1));
        } else if (p.startsWith(QStringLiteral("#CURRVAL "))) {
            const QString seq = p.mid(9);
            if (!m_currval.contains(seq))
                throw DatabaseError(8002, QStringLiteral("sequence %1.CURRVAL is not yet defined in this session")
                                              .arg(seq.mid(seq.indexOf(QLatin1Char('.')) + 1)));
            args.append(m_currval.value(seq));
        } else {
            const auto b = binds.constFind(p);
            if (b == binds.constEnd())
                throw DatabaseError(1008, QStringLiteral("not all variables bound"));
            switch (b->kind) {
            case BindValue::Kind::Null:
                args.append(QVariant());
                break;
            case BindValue::Kind::Text:
                args.append(b->text.isEmpty() ? QVariant() : QVariant(b->text));
                break;
            case BindValue::Kind::Number: {
                const OraNumber n = OraNumber::fromDouble(b->number);
                args.append(n.kind == OraNumber::Kind::Integer ? QVariant(n.integer) : QVariant(b->number));
                break;
            }
            }
        }
    }

    // A MERGE's check and UPDATE run before its INSERT, all of it undone if any part fails.
    qint64 changedBefore = 0;
    if (!tr.before.isEmpty())
        run(QStringLiteral("SAVEPOINT kol_statement"));
    auto undoSteps = [&] {
        if (!tr.before.isEmpty())
            sqlite3_exec(m_db, "ROLLBACK TO kol_statement; RELEASE kol_statement", nullptr, nullptr, nullptr);
    };
    try {
        for (const Translation::Step& step : tr.before) {
            rows(step.sql, args);
            if (step.counted)
                changedBefore += sqlite3_changes64(m_db);
        }
    } catch (...) {
        undoSteps();
        throw;
    }

    // An indexed column that holds no number kept as text sorts as SQLite sorts it, by its index.
    const QString* text = &tr.sql;
    if (!tr.probes.isEmpty()) {
        bool longNumbers = false;
        for (const QString& probe : tr.probes)
            longNumbers = longNumbers || !rows(probe).isEmpty();
        if (!longNumbers)
            text = &tr.plainSql;
    }
    sqlite3_stmt* st = literals ? m_preparedInserts.take(tr.sql) : m_idle.take(*text);
    int rc = SQLITE_OK;
    if (!st) {
        const QByteArray utf8 = text->toUtf8();
        rc = sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &st, nullptr);
        if (rc != SQLITE_OK) {
            const DatabaseError error = mapSqliteError(sqlite3_extended_errcode(m_db), QString::fromUtf8(sqlite3_errmsg(m_db)));
            undoSteps();
            throw error;
        }
    }
    // Once done, a statement waits prepared for the next one of its text: a literal insert of its
    // shape in the seed's cache, anything else among the session's idle statements.
    auto release = [&] {
        if (literals) {
            sqlite3_reset(st);
            sqlite3_clear_bindings(st);
            if (sqlite3_stmt* old = m_preparedInserts.value(tr.sql))
                sqlite3_finalize(old);
            m_preparedInserts.insert(tr.sql, st);
        } else {
            keepIdle(*text, st);
        }
    };
    if (literals) {
        for (int i = 0; i < args.size(); ++i)
            bindVariant(st, i + 1, args[i]);
    } else {
        QVariantList& bound = m_boundArgs[st];
        const bool fresh = bound.size() != args.size();
        for (int i = 0; i < args.size(); ++i)
            if (fresh || !sameArgument(bound[i], args[i]))
                bindVariant(st, i + 1, args[i]);
        bound = args;
    }
    if (tr.kind == Translation::Kind::Query) {
        // The rows are stepped as they are fetched; the stream owns the statement from here.
        QStringList columns;
        const int count = sqlite3_column_count(st);
        for (int c = 0; c < count; ++c)
            columns.append(QString::fromUtf8(sqlite3_column_name(st, c)));
        std::unique_ptr<RowStream> stream(new RowStream(this, st, *text, columns, m_statementNow));
        m_streams.insert(stream.get());
        return stream;
    }
    while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        const int ext = sqlite3_extended_errcode(m_db);
        const QString msg = QString::fromUtf8(sqlite3_errmsg(m_db));
        release();
        undoSteps();
        throw mapSqliteError(ext, msg);
    }
    release();
    if (!tr.before.isEmpty())
        run(QStringLiteral("RELEASE kol_statement"));
    std::unique_ptr<RowStream> done(new RowStream(this, nullptr, {}, {}, m_statementNow));
    if (tr.kind == Translation::Kind::Dml)
        done->m_rowsAffected = changedBefore + sqlite3_changes64(m_db);
    return done;
}

// ---- row streams --------------------------------------------------------------------------------

RowStream::RowStream(EngineSession* session, sqlite3_stmt* statement, QString text, QStringList columns, QDateTime now)
    : m_session(session), m_statement(statement), m_text(std::move(text)), m_columns(std::move(columns)), m_now(std::move(now))
{
}

RowStream::~RowStream() { finish(); }

void RowStream::finish()
{
    if (!m_statement)
        return;
    sqlite3_stmt* statement = m_statement;
    m_statement = nullptr;
    if (m_session) {
        m_session->m_streams.remove(this);
        m_session->keepIdle(m_text, statement);
    } else {
        sqlite3_finalize(statement);
    }
}

bool RowStream::next(QVector<Value>& row)
{
    if (m_orphaned)
        throw DatabaseError(3114, QStringLiteral("not connected to ORACLE"));
    if (!m_statement)
        return false;
    // Functions the statement calls see the statement's own time, whatever ran in between.
    m_session->m_statementNow = m_now;
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW) {
        const int count = int(m_columns.size());
        row.resize(count);
        for (int c = 0; c < count; ++c)
            readColumn(c, row[c]);
        return true;
    }
    if (rc == SQLITE_DONE) {
        finish();
        return false;
    }
    const int ext = sqlite3_extended_errcode(m_session->m_db);
    const QString msg = QString::fromUtf8(sqlite3_errmsg(m_session->m_db));
    EngineSession* session = m_session;
    finish();
    // A rollback of this session's transaction ends the statements reading under it.
    if ((ext & 0xff) == SQLITE_ABORT)
        throw DatabaseError(1002, QStringLiteral("fetch out of sequence"));
    throw session->mapSqliteError(ext, msg);
}

void RowStream::readColumn(int c, Value& out)
{
    // The column's value read once, then its type and content: each sqlite3_column_* call would
    // look the column up again. The connection serves one thread, as such a value requires.
    sqlite3_value* column = sqlite3_column_value(m_statement, c);
    const int type = sqlite3_value_type(column);
    if (type == SQLITE_NULL) {
        out = Value();
        return;
    }
    qint64 key = 0;
    double real = 0;
    const char* bytes = nullptr;
    int length = 0;
    if (type == SQLITE_INTEGER) {
        key = sqlite3_value_int64(column);
    } else if (type == SQLITE_FLOAT) {
        real = sqlite3_value_double(column);
        std::memcpy(&key, &real, sizeof key);
    } else {
        bytes = reinterpret_cast<const char*>(sqlite3_value_text(column));
        length = sqlite3_value_bytes(column);
    }
    auto make = [&] {
        return type == SQLITE_INTEGER ? integerValue(key) : type == SQLITE_FLOAT ? realValue(real) : textValue(bytes, length);
    };
    if (m_columns.size() > kRecentColumns) {
        out = make();
        return;
    }
    if (m_recent.empty()) {
        m_recent.resize(std::size_t(m_columns.size()) * kRecentPerColumn);
        m_recentNext.assign(std::size_t(m_columns.size()), 0);
        m_recentMisses.assign(std::size_t(m_columns.size()), 0);
    }
    // A column whose values keep being new (names, numbers) is not looked up any more.
    if (length > RecentValue::kBytes || m_recentMisses[c] >= kRecentMissesToStop) {
        out = make();
        return;
    }
    RecentValue* recent = &m_recent[std::size_t(c) * kRecentPerColumn];
    for (int i = 0; i < kRecentPerColumn; ++i) {
        const RecentValue& r = recent[i];
        if (r.type == type && r.key == key && r.length == length && std::memcmp(r.bytes, bytes ? bytes : "", std::size_t(length)) == 0) {
            out = r.value;
            m_recentMisses[c] = 0;
            return;
        }
    }
    ++m_recentMisses[c];
    out = make();
    // The column's oldest value gives way.
    RecentValue& slot = recent[m_recentNext[c]];
    m_recentNext[c] = quint8((m_recentNext[c] + 1) % kRecentPerColumn);
    slot.type = type;
    slot.key = key;
    slot.length = length;
    if (length > 0)
        std::memcpy(slot.bytes, bytes, std::size_t(length));
    slot.value = out;
}

QVector<QVector<Value>> RowStream::readAll()
{
    QVector<QVector<Value>> rows;
    QVector<Value> row;
    while (next(row))
        rows.append(std::exchange(row, {}));
    return rows;
}

DatabaseError EngineSession::mapSqliteError(int rc, const QString& message)
{
    if (message.startsWith(QStringLiteral("ORA-")))
        return oraMessage(message);
    if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) {
        // "UNIQUE constraint failed: OWNER.TABLE.COL, OWNER.TABLE.COL2"
        const QStringList items = message.mid(message.indexOf(QLatin1Char(':')) + 1).trimmed().split(QStringLiteral(", "));
        QStringList columns;
        QString storage;
        for (const QString& item : items) {
            const int dot = int(item.lastIndexOf(QLatin1Char('.')));
            storage = item.left(dot);
            columns.append(item.mid(dot + 1));
        }
        const int dot = int(storage.indexOf(QLatin1Char('.')));
        const QString owner = storage.left(dot), table = storage.mid(dot + 1);
        try {
            for (const QVariantList& idx : rows(QStringLiteral("SELECT owner, index_name FROM kol_indexes WHERE table_owner = ?"
                                                              " AND table_name = ? AND uniqueness = 'UNIQUE'"),
                                                 {owner, table})) {
                QStringList cols;
                for (const QVariantList& c : rows(QStringLiteral("SELECT column_name FROM kol_ind_columns WHERE index_owner = ? AND"
                                                                " index_name = ? ORDER BY column_position"),
                                                   {idx[0], idx[1]}))
                    cols.append(c[0].toString());
                if (QSet<QString>(cols.begin(), cols.end()) == QSet<QString>(columns.begin(), columns.end()))
                    return DatabaseError(1, QStringLiteral("unique constraint (%1.%2) violated").arg(idx[0].toString(), idx[1].toString()));
            }
        } catch (const DatabaseError&) {
        }
        return DatabaseError(1, QStringLiteral("unique constraint (%1.%2) violated").arg(owner, table));
    }
    const int primary = rc & 0xff;
    if (primary == SQLITE_INTERRUPT)
        return DatabaseError(1013, QStringLiteral("user requested cancel of current operation"));
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
        return DatabaseError(54, QStringLiteral("resource busy and acquire with NOWAIT specified"));
    if (std::optional<DatabaseError> problem = fileProblem(rc, m_file, message))
        return *problem;
    if (message.startsWith(QStringLiteral("no such column: "))) {
        const QStringList parts = message.mid(16).split(QLatin1Char('.'));
        QStringList quoted;
        for (const QString& p : parts)
            quoted.append(QLatin1Char('"') + p + QLatin1Char('"'));
        return DatabaseError(904, QStringLiteral("%1: invalid identifier").arg(quoted.join(QLatin1Char('.'))));
    }
    if (message.startsWith(QStringLiteral("ambiguous column name")))
        return DatabaseError(918, QStringLiteral("column ambiguously defined"));
    if (message.startsWith(QStringLiteral("no such table")) || message.startsWith(QStringLiteral("no such view")))
        return DatabaseError(942, QStringLiteral("table or view does not exist"));
    if (message.contains(QStringLiteral("wrong number of arguments")))
        return DatabaseError(909, QStringLiteral("invalid number of arguments"));
    if (message.contains(QStringLiteral("misuse of aggregate")) || message.contains(QStringLiteral("aggregate functions are not allowed")))
        return DatabaseError(934, QStringLiteral("group function is not allowed here"));
    if (message.contains(QStringLiteral("SELECTs to the left and right")))
        return DatabaseError(1789, QStringLiteral("query block has incorrect number of result columns"));
    if (message.contains(QStringLiteral("parser stack overflow")) || message.startsWith(QStringLiteral("Expression tree is too large")))
        return nestedTooDeeply();
    if (message.contains(QStringLiteral("syntax error")))
        return DatabaseError(933, QStringLiteral("SQL command not properly ended"));
    if (message.contains(QStringLiteral("ORDER BY term")))
        return DatabaseError(1785, QStringLiteral("ORDER BY item must be the number of a SELECT-list expression"));
    return DatabaseError(900, QStringLiteral("invalid SQL statement"));
}

}  // namespace kolmara::db::embedded
