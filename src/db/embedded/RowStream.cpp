// A query's rows as the session's cursor reads them: stepped from SQLite one at a time and turned
// into the driver's values, sharing a value that repeats in a column.
#include "db/embedded/RowStream.h"

#include "db/embedded/Engine.h"
#include "db/embedded/OraValues.h"

#include <sqlite3.h>

#include <cstring>
#include <utility>

namespace kolmara::db::embedded {

namespace {

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

}  // namespace

RowStream::RowStream(EngineSession* session, sqlite3_stmt* statement, QString text,
                     QStringList columns, QDateTime now)
    : m_session(session),
      m_statement(statement),
      m_text(std::move(text)),
      m_columns(std::move(columns)),
      m_now(std::move(now))
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
        return type == SQLITE_INTEGER ? integerValue(key)
               : type == SQLITE_FLOAT ? realValue(real)
                                      : textValue(bytes, length);
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
        if (r.type == type && r.key == key && r.length == length
            && std::memcmp(r.bytes, bytes ? bytes : "", std::size_t(length)) == 0) {
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

}  // namespace kolmara::db::embedded
