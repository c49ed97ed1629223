// The embedded engine's session: login and logoff, statement dispatch, transactions and the
// running of translated statements. Its other concerns have files of their own: the database
// file (EngineFile), the session registry (EngineSessions), privileges and names
// (EnginePrivileges), NLS parameters (EngineNls), scripts (EngineScripts), prepared statements
// (StatementCache), row streams (RowStream) and error mapping (EngineErrors).
#include "db/embedded/Engine.h"

#include "db/embedded/Catalogue.h"
#include "db/embedded/Ddl.h"
#include "db/embedded/EngineFunctions.h"
#include "db/embedded/EngineSupport.h"
#include "db/embedded/OraValues.h"
#include "db/embedded/QueryFunctions.h"

#include <QFileInfo>

#include <sqlite3.h>

#include <utility>

namespace kolmara::db::embedded {

namespace {

std::function<QDateTime()>& clockOverride()
{
    static std::function<QDateTime()> clock;
    return clock;
}

// Whether an argument would bind as the same SQLite value: same type, same value.
bool sameArgument(const QVariant& a, const QVariant& b)
{
    return a.isNull() == b.isNull() && a.typeId() == b.typeId() && (a.isNull() || a == b);
}

}  // namespace

void setEngineClockForTesting(std::function<QDateTime()> clock)
{
    clockOverride() = std::move(clock);
}

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

std::unique_ptr<EngineSession> EngineSession::open(const QString& file, const QString& user,
                                                   const QString& password)
{
    if (!QFileInfo::exists(file))
        createDatabase(file);
    sqlite3* db = openFile(file, false);
    auto session = std::make_unique<EngineSession>(db, file);
    const QString name = user.trimmed().toUpper();
    const QList<QVariantList> found = session->rows(
        QStringLiteral("SELECT password, account_status, user_id FROM kol_users WHERE username ="
                       " ?"), {name});
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
            const bool onlyBookkeeping =
                m_logonDataVersion >= 0 && sqlite3_total_changes64(m_db) == m_logonChanges;
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
    const QList<QVariantList> r = rows(QStringLiteral("SELECT next_value, increment_by, max_value,"
                                                      " min_value, cycle_flag, cache_size FROM"
                                                      " kol_sequences WHERE sequence_owner = ? AND"
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
            throw DatabaseError(
                8004,
                QStringLiteral("sequence %1.NEXTVAL exceeds %2 and cannot be instantiated")
                    .arg(name, step > 0 ? QStringLiteral("MAXVALUE") : QStringLiteral("MINVALUE")));
        value = qint64(step > 0 ? minValue : maxValue);
    }
    const qint64 cache = qMax<qint64>(1, r[0][5].toLongLong());
    run(QStringLiteral("UPDATE kol_sequences SET next_value = ?, last_number = CASE WHEN ? >="
                       " last_number THEN ? ELSE last_number END WHERE sequence_owner = ? AND"
                       " sequence_name = ?"),
        {value + step, value, value + step * cache, owner, name});
    m_currval[key] = value;
    return value;
}

// ---- statements ---------------------------------------------------------------------------------

std::unique_ptr<RowStream> EngineSession::execute(const QString& sql,
                                                  const QHash<QString, BindValue>& binds)
{
    const auto noRows = [this] {
        return std::unique_ptr<RowStream>(new RowStream(this, nullptr, {}, {}, m_statementNow));
    };
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
    if (kw == QLatin1String("SELECT") || kw == QLatin1String("INSERT")
        || kw == QLatin1String("UPDATE") || kw == QLatin1String("DELETE")
        || kw == QLatin1String("WITH") || kw == QLatin1String("MERGE")
        || (first.kind == Token::Kind::Op && first.text == QLatin1String("(")))
        return runTranslated(sql, tokens, binds);
    auto isKw = [&](int i, const char* word) {
        return i < tokens.size() && tokens[i].kind == Token::Kind::Ident
               && tokens[i].text == QLatin1String(word);
    };
    if (kw == QLatin1String("COMMIT")) {
        commit();
        return noRows();
    }
    // SAVEPOINT name and ROLLBACK TO [SAVEPOINT] name: the work after the savepoint is undone, the
    // transaction goes on.
    auto savepoint = [&](int at) {
        if (at >= tokens.size()
            || (tokens[at].kind != Token::Kind::Ident
                && tokens[at].kind != Token::Kind::QuotedIdent))
            throw DatabaseError(933, QStringLiteral("SQL command not properly ended"));
        return tokens[at].text;
    };
    if (kw == QLatin1String("ROLLBACK") && isKw(1, "TO")) {
        const QString name = savepoint(isKw(2, "SAVEPOINT") ? 3 : 2);
        if (!m_inTransaction
            || sqlite3_exec(
                   m_db,
                   (QStringLiteral("ROLLBACK TO ") + quoteIdent(QStringLiteral("kol_sp_") + name))
                       .toUtf8()
                       .constData(),
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
    if (kw == QLatin1String("ALTER") && isKw(1, "SYSTEM") && isKw(2, "KILL")
        && isKw(3, "SESSION")) {
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
        || kw == QLatin1String("GRANT") || kw == QLatin1String("REVOKE")
        || kw == QLatin1String("COMMENT") || kw == QLatin1String("TRUNCATE")
        || kw == QLatin1String("ANALYZE")) {
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

std::unique_ptr<RowStream> EngineSession::runTranslated(const QString& sql,
                                                        const QList<Token>& tokens,
                                                        const QHash<QString, BindValue>& binds,
                                                        const QVariantList* literals)
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
                throw DatabaseError(
                    8002, QStringLiteral("sequence %1.CURRVAL is not yet defined in this session")
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
                args.append(n.kind == OraNumber::Kind::Integer ? QVariant(n.integer)
                                                               : QVariant(b->number));
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
            sqlite3_exec(m_db, "ROLLBACK TO kol_statement; RELEASE kol_statement", nullptr, nullptr,
                         nullptr);
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
            const DatabaseError error = mapSqliteError(sqlite3_extended_errcode(m_db),
                                                       QString::fromUtf8(sqlite3_errmsg(m_db)));
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

}  // namespace kolmara::db::embedded
