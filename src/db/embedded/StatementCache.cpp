// What a session keeps prepared between statements: the engine's internal SQL (catalogue reads
// with positional arguments), finished statements waiting idle for their next run, and the
// catalogue generation whose change makes the translations and idle statements stale.
#include "db/embedded/Engine.h"

#include "db/embedded/EngineSupport.h"

#include <sqlite3.h>

namespace kolmara::db::embedded {

namespace {

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
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, i)),
                             sqlite3_column_bytes(st, i));
}

}  // namespace

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
    const bool keep =
        !cached && !m_prepared.contains(sql) && !sql.startsWith(QStringLiteral("CREATE"))
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
    return scalar(QStringLiteral("SELECT count(*) FROM kol_objects WHERE owner = ? AND object_name"
                                 " = ? AND object_type NOT IN ('INDEX', 'TRIGGER', 'DATABASE"
                                 " LINK')"),
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
        && sqlite3_prepare_v2(m_db, "PRAGMA main.data_version", -1, &m_dataVersionStatement,
                              nullptr)
               != SQLITE_OK) {
        sqlite3_finalize(m_dataVersionStatement);
        m_dataVersionStatement = nullptr;
        return -1;
    }
    const qint64 version = sqlite3_step(m_dataVersionStatement) == SQLITE_ROW
                               ? sqlite3_column_int64(m_dataVersionStatement, 0)
                               : -1;
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
    const qint64 g =
        scalar(QStringLiteral("SELECT value FROM kol_meta WHERE key = 'generation'")).toLongLong();
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

}  // namespace kolmara::db::embedded
