// Query: fetch-all and forward-only result sets over a driver cursor.
#include "db/Query.h"

#include "db/FloatFormat.h"
#include "db/Session.h"

#include <algorithm>

namespace kolmara::db {

QString Field::asText() const
{
    switch (m_value.kind) {
    case Value::Kind::Null:
        return {};
    case Value::Kind::Number:
        return m_value.exactInteger ? m_value.text : formatGeneralFloat(m_value.number);
    case Value::Kind::Text:
    case Value::Kind::Date:
        break;
    }
    return m_value.text;
}

double Field::asDouble() const
{
    switch (m_value.kind) {
    case Value::Kind::Null:
        return 0;
    case Value::Kind::Number:
    case Value::Kind::Date:
        return m_value.number;
    case Value::Kind::Text:
        break;
    }
    bool ok = false;
    const double v = m_value.text.trimmed().toDouble(&ok);
    if (!ok)
        throw ConversionError(
            QStringLiteral("'%1' is not a valid floating point value").arg(m_value.text));
    return v;
}

void Param::setAsString(const QString& text)
{
    m_bound = true;
    m_value = BindValue();
    if (!text.isEmpty()) {
        m_value.kind = BindValue::Kind::Text;
        m_value.text = text;
    }
}

void Param::setAsFloat(double value)
{
    m_bound = true;
    m_value.kind = BindValue::Kind::Number;
    m_value.text.clear();
    m_value.number = value;
}

Param& Query::paramByName(const QString& name)
{
    const QString key = name.toUpper();
    auto it = m_params.find(key);
    if (it != m_params.end())
        return *it;
    if (!bindNamesOf(sqlText()).contains(key))
        throw DatabaseError(0, QStringLiteral("Parameter '%1' not found").arg(name));
    return m_params[key];
}

std::unique_ptr<Cursor> Query::run()
{
    close();
    if (!m_session)
        throw DatabaseError(0, QStringLiteral("Session is not assigned"));
    const QString text = sqlText();
    QHash<QString, BindValue> binds;
    for (const QString& name : bindNamesOf(text)) {
        const auto it = m_params.constFind(name);
        if (it == m_params.constEnd() || !it->isBound())
            throw DatabaseError(1008, QStringLiteral("not all variables bound"));
        binds.insert(name, it->value());
    }
    Session::CallScope call(*m_session);
    std::unique_ptr<Cursor> cursor = m_session->prepareStatement(text);
    m_rowsAffected = 0;
    cursor->execute(binds);
    m_rowsAffected = cursor->rowsAffected();
    return cursor;
}

void Query::open()
{
    std::unique_ptr<Cursor> cursor = run();
    m_columns = cursor->columnNames();
    if (m_forwardOnly) {
        m_cursor = std::move(cursor);
        m_active = true;
        next();
        return;
    }
    Session::CallScope call(*m_session);
    const qsizetype columns = m_columns.size();
    // Blocks of about a thousand values: a few rows of a wide table, a hundred of a narrow one.
    constexpr qsizetype kBlockValues = 1024;
    m_blockRows = int(std::clamp<qsizetype>(kBlockValues / qMax<qsizetype>(1, columns), 1, 128));
    // The cursor fills the same row each time; its values move on into the result.
    QVector<Value> row;
    while (cursor->fetch(row)) {
        if (m_rowCount % m_blockRows == 0) {
            // The first block grows with a result of a few rows; later ones are made whole.
            m_blocks.emplace_back();
            m_blocks.back().reserve(
                std::size_t((m_blocks.size() == 1 ? qMin(m_blockRows, 8) : m_blockRows) * columns));
        }
        std::vector<Value>& block = m_blocks.back();
        const qsizetype given = qMin(row.size(), columns);
        Value* values = row.data();
        for (qsizetype c = 0; c < given; ++c)
            block.push_back(std::move(values[c]));
        for (qsizetype c = given; c < columns; ++c)
            block.emplace_back();
        ++m_rowCount;
    }
    m_active = true;
    m_pos = 0;
}

void Query::close()
{
    m_active = false;
    m_blocks.clear();
    m_rowCount = 0;
    m_columns.clear();
    m_pos = 0;
    m_cursor.reset();
    m_current.clear();
    m_hasCurrent = false;
    m_fetched = 0;
}

void Query::execSql() { run(); }

void Query::first()
{
    if (!m_forwardOnly) {
        m_pos = 0;
        return;
    }
    if (m_active && m_fetched > 1)
        throw DatabaseError(0,
                            QStringLiteral("Forward-only query cannot go back to its first row"));
}

bool Query::eof() const
{
    if (!m_active)
        return true;
    return m_forwardOnly ? !m_hasCurrent : m_pos >= m_rowCount;
}

void Query::next()
{
    if (!m_forwardOnly) {
        if (m_pos < m_rowCount)
            ++m_pos;
        return;
    }
    if (!m_cursor)
        return;
    Session::CallScope call(*m_session);
    m_hasCurrent = m_cursor->fetch(m_current);
    if (m_hasCurrent) {
        ++m_fetched;
    } else {
        // The last row has been read: the driver's cursor is released at once.
        m_cursor.reset();
        m_current.clear();
    }
}

Field Query::field(int index) const
{
    if (!m_active || index < 0 || index >= m_columns.size())
        throw DatabaseError(0, QStringLiteral("Field index out of range"));
    if (m_forwardOnly)
        return Field(m_columns[index], m_hasCurrent ? m_current[index] : Value());
    if (m_pos >= m_rowCount)
        return Field(m_columns[index], Value());
    const std::vector<Value>& block = m_blocks[std::size_t(m_pos / m_blockRows)];
    return Field(m_columns[index],
                 block[std::size_t(qsizetype(m_pos % m_blockRows) * m_columns.size() + index)]);
}

Field Query::fieldByName(const QString& name) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return field(i);
    throw DatabaseError(0, QStringLiteral("Field '%1' not found").arg(name));
}

}  // namespace kolmara::db
