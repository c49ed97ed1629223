// The worksheets' runner: paged forward-only reads, changes, explain plan and compile errors.
#include "data/SqlRunner.h"

#include "db/Session.h"
#include "db/Statement.h"

#include <QCoreApplication>

namespace kolmara::data {

namespace {

// The plan of one statement, in the order of the tree (a parent before its children, siblings by
// their ids). The statement id keeps the rows of this explain apart from any other's.
const QString kPlanSteps = QStringLiteral(
    "SELECT ID, PARENT_ID, OPERATION, OPTIONS, OBJECT_OWNER, OBJECT_NAME, COST, CARDINALITY, "
    "BYTES\n"
    "  FROM PLAN_TABLE\n"
    " START WITH ID = 0 AND STATEMENT_ID = :STATEMENT_ID\n"
    "CONNECT BY PRIOR ID = PARENT_ID AND STATEMENT_ID = :STATEMENT_ID\n"
    " ORDER BY ID");

const QString kPlanCleanup =
    QStringLiteral("DELETE FROM PLAN_TABLE WHERE STATEMENT_ID = :STATEMENT_ID");

// ALL_ERRORS rather than USER_ERRORS, so a unit created in another schema shows its errors too.
const QString kCompileErrors = QStringLiteral(
    "SELECT LINE, POSITION, TEXT\n"
    "  FROM ALL_ERRORS\n"
    " WHERE OWNER = NVL(:OWNER, USER)\n"
    "   AND NAME = :NAME\n"
    "   AND TYPE = :TYPE\n"
    " ORDER BY SEQUENCE");

int numberOf(const db::Field& field)
{
    return field.isNull() ? 0 : int(field.asDouble());
}

}  // namespace

SqlRunner::SqlRunner(std::unique_ptr<db::Session> own) : m_own(std::move(own)), m_session(*m_own) {}

SqlRunner::~SqlRunner()
{
    m_query.reset();
    if (!m_own || !m_own->isConnected())
        return;
    // A logoff commits on the server: what nobody chose to commit is rolled back first.
    try {
        m_own->rollback();
    } catch (const db::DatabaseError&) {
        // The disconnect below ends the transaction all the same.
    }
}

std::unique_ptr<SqlRunner> SqlRunner::onOwnSession(const db::Session& like, const QString& schema)
{
    auto session = std::make_unique<db::Session>();
    session->setServer(like.server());
    session->setUsername(like.username());
    session->setPassword(like.password());
    session->setLoginPrompt(false);
    session->connect();
    std::unique_ptr<SqlRunner> runner(new SqlRunner(std::move(session)));
    if (!schema.isEmpty() && schema.compare(like.username(), Qt::CaseInsensitive) != 0) {
        QString quoted = schema;
        quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        runner->execute(QStringLiteral("ALTER SESSION SET CURRENT_SCHEMA = \"%1\"").arg(quoted));
        runner->m_schema = schema;
    }
    return runner;
}

QString SqlRunner::loginLabel() const
{
    QString label = m_session.username().toUpper() + QLatin1Char('@') + m_session.server();
    if (!m_schema.isEmpty())
        label += QStringLiteral(" (%1)").arg(m_schema);
    return label;
}

bool SqlRunner::isEmbedded() const
{
    return m_session.connectionInfo().clientKind == QLatin1String("embedded");
}

void SqlRunner::openQuery(const QString& sql)
{
    closeQuery();
    auto query = std::make_unique<db::Query>(&m_session);
    query->setForwardOnly(true);
    query->addSql(sql);
    query->open();
    m_columns = query->fieldNames();
    m_numeric = QVector<bool>(m_columns.size(), false);
    m_query = std::move(query);
}

int SqlRunner::fetch(int max, int batch, const std::function<bool()>& stop, const RowSink& sink)
{
    if (!m_query)
        return 0;
    // Per column: 0 until a value has been seen, then 1 for a number and 2 for anything else.
    QVector<char> seen(m_columns.size(), 0);
    for (int c = 0; c < m_columns.size(); ++c)
        seen[c] = m_numeric[c] ? 1 : 0;
    QList<QStringList> rows;
    int read = 0;
    auto hand = [&] {
        if (rows.isEmpty())
            return;
        sink(std::move(rows), m_numeric);
        rows = QList<QStringList>();
    };
    try {
        while (read < max && !m_query->eof() && !stop()) {
            QStringList row;
            row.reserve(m_columns.size());
            for (int c = 0; c < m_columns.size(); ++c) {
                const db::Field f = m_query->field(c);
                if (seen[c] == 0 && !f.isNull()) {
                    seen[c] = f.value().kind == db::Value::Kind::Number ? 1 : 2;
                    m_numeric[c] = seen[c] == 1;
                }
                row.append(f.asText());
            }
            rows.append(std::move(row));
            ++read;
            m_query->next();
            if (rows.size() >= batch)
                hand();
        }
    } catch (...) {
        hand();
        closeQuery();
        throw;
    }
    hand();
    if (m_query->eof())
        closeQuery();
    return read;
}

void SqlRunner::closeQuery()
{
    m_query.reset();
}

qint64 SqlRunner::executeChange(const QString& sql)
{
    closeQuery();
    db::Query query(&m_session);
    query.addSql(sql);
    query.execSql();
    return query.rowsAffected();
}

void SqlRunner::execute(const QString& sql)
{
    closeQuery();
    db::Statement statement(&m_session);
    statement.addSql(sql);
    statement.execute();
}

void SqlRunner::commit()
{
    closeQuery();
    m_session.commit();
}

void SqlRunner::rollback()
{
    closeQuery();
    m_session.rollback();
}

QList<CompileError> SqlRunner::compileErrors(const QString& owner, const QString& name,
                                             const QString& type)
{
    db::Query query(&m_session);
    query.addSql(kCompileErrors);
    query.paramByName(QStringLiteral("OWNER")).setAsString(owner);
    query.paramByName(QStringLiteral("NAME")).setAsString(name);
    query.paramByName(QStringLiteral("TYPE")).setAsString(type);
    query.open();
    QList<CompileError> errors;
    for (; !query.eof(); query.next())
        errors.append({numberOf(query.field(0)), numberOf(query.field(1)),
                       query.field(2).asText().trimmed()});
    return errors;
}

QList<PlanStep> SqlRunner::explainPlan(const QString& sql)
{
    closeQuery();
    const QString id =
        QStringLiteral("KOLM%1_%2").arg(QCoreApplication::applicationPid()).arg(++m_planCount);
    const QString head =
        QStringLiteral("EXPLAIN PLAN SET STATEMENT_ID = '%1' INTO PLAN_TABLE FOR\n").arg(id);
    try {
        execute(head + sql);
    } catch (db::DatabaseError& e) {
        if (e.position() >= 0)
            e.setPosition(e.position() >= head.size() ? e.position() - int(head.size()) : -1);
        throw;
    }
    auto removePlan = [&] {
        db::Query cleanup(&m_session);
        cleanup.addSql(kPlanCleanup);
        cleanup.paramByName(QStringLiteral("STATEMENT_ID")).setAsString(id);
        cleanup.execSql();
    };
    QList<PlanStep> steps;
    try {
        db::Query query(&m_session);
        query.addSql(kPlanSteps);
        query.paramByName(QStringLiteral("STATEMENT_ID")).setAsString(id);
        query.open();
        for (; !query.eof(); query.next()) {
            PlanStep step;
            step.id = numberOf(query.field(0));
            step.parentId = query.field(1).isNull() ? -1 : numberOf(query.field(1));
            step.operation = query.field(2).asText();
            if (const QString options = query.field(3).asText(); !options.isEmpty())
                step.operation += QLatin1Char(' ') + options;
            const QString owner = query.field(4).asText();
            const QString object = query.field(5).asText();
            step.object = owner.isEmpty() ? object : owner + QLatin1Char('.') + object;
            step.cost = query.field(6).asText();
            step.cardinality = query.field(7).asText();
            step.bytes = query.field(8).asText();
            steps.append(step);
        }
    } catch (...) {
        // The rows go even when reading them failed; the read's error is the one to report.
        try {
            removePlan();
        } catch (const db::DatabaseError&) {
        }
        throw;
    }
    removePlan();
    return steps;
}

}  // namespace kolmara::data
