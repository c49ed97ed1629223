// The generic runner of catalogue entries: reads in their three shapes, writers in their own
// transaction, and ExecSql.
#include "data/QueryRunner.h"

#include "common/Errors.h"
#include "data/Catalogue.h"
#include "data/QueryObject.h"
#include "data/SharedSlots.h"
#include "db/FloatFormat.h"
#include "widgets/UiServices.h"

#include <QLocale>

#include <cmath>

namespace kolmara::data {

namespace {

QString g_lastHandledError;

// The handlers take the server's and the client library's errors, which carry an ORA- number. The
// component's own complaints (an unknown field or parameter name: a fault in the catalogue, not in
// the database) pass like any other error.
bool isServerError(const db::DatabaseError& error)
{
    return error.code() != 0;
}

std::unique_ptr<db::Query>& querySlot(QuerySlot slot)
{
    return slot == QuerySlot::SharedQuery3 ? SharedQuery3 : SharedQuery2;
}

void bindParameters(db::Query& query, const Entry& entry, const QStringList& arguments)
{
    for (const Bind& bind : entry.binds) {
        db::Param& param = query.paramByName(bind.name);
        switch (bind.source) {
        case Bind::Source::Argument:
            param.setAsString(arguments.at(bind.argument));
            break;
        case Bind::Source::NumberArgument:
            param.setAsFloat(QueryRunner::parseNumberArgument(arguments.at(bind.argument)));
            break;
        case Bind::Source::Constant:
            param.setAsString(bind.text);
            break;
        case Bind::Source::ArgumentAndSuffix:
            param.setAsString(arguments.at(bind.argument) + bind.text);
            break;
        case Bind::Source::Stamp:
            param.setAsString(QueryRunner::stampNow());
            break;
        }
    }
}

void prepare(db::Query& query, const Entry& entry, const QStringList& arguments)
{
    query.close();
    query.clearSql();
    for (const QString& line : entry.lines)
        query.addSql(line);
    bindParameters(query, entry, arguments);
}

// The query's column number of each read, looked up once for all the rows; a name the result
// does not have throws as fieldByName does.
std::vector<int> columnsOf(const db::Query& query, const std::vector<SlotRead>& reads)
{
    const QStringList names = query.fieldNames();
    std::vector<int> columns;
    columns.reserve(reads.size());
    for (const SlotRead& read : reads) {
        int found = -1;
        for (int i = 0; i < names.size() && found < 0; ++i)
            if (names[i].compare(read.column, Qt::CaseInsensitive) == 0)
                found = i;
        if (found < 0)
            query.fieldByName(read.column);
        columns.push_back(found);
    }
    return columns;
}

QString readColumn(const db::Query& query, const SlotRead& read, int column)
{
    const db::Field field = query.field(column);
    return read.as == SlotRead::As::Number ? db::formatGeneralFloat(field.asDouble())
                                           : field.asText();
}

// `targets` holds the object's slot for each of the entry's reads, in the same order.
void copyRows(db::Query& query, const Entry& entry, int rowCount,
              const std::vector<SlotValue*>& targets)
{
    const std::vector<SlotRead>& reads = entry.reads;
    const std::vector<int> columns = columnsOf(query, reads);
    switch (entry.shape) {
    case Shape::SingleRow:
        for (size_t k = 0; k < reads.size(); ++k)
            *targets[k] = SlotValue::fromText(readColumn(query, reads[k], columns[k]));
        break;
    case Shape::FirstRowArrays:
        for (size_t k = 0; k < reads.size(); ++k) {
            QStringList elements(rowCount);
            elements[0] = readColumn(query, reads[k], columns[k]);
            *targets[k] = SlotValue::fromArray(std::move(elements));
        }
        break;
    case Shape::RowArrays:
        for (SlotValue* target : targets)
            *target = SlotValue::fromArray(QStringList(rowCount));
        for (int row = 0; !query.eof(); ++row) {
            for (size_t k = 0; k < reads.size(); ++k)
                targets[k]->setElement(row, readColumn(query, reads[k], columns[k]));
            query.next();
        }
        break;
    case Shape::Write:
        Q_UNREACHABLE();
    }
}

}  // namespace

int QueryRunner::run(const Entry& entry, const QStringList& arguments, QueryObject& target)
{
    Q_ASSERT(arguments.size() == entry.argumentCount);
    g_lastHandledError.clear();
    return entry.shape == Shape::Write ? runWrite(entry, arguments)
                                       : runRead(entry, arguments, target);
}

int QueryRunner::runRead(const Entry& entry, const QStringList& arguments, QueryObject& target)
{
    const bool handled = entry.failure != Failure::NoHandler;
    int result = handled ? -1 : 0;
    std::unique_ptr<db::Query>& slot = querySlot(entry.querySlot);
    slot = std::make_unique<db::Query>(&mainSession());
    db::Query& query = *slot;
    try {
        prepare(query, entry, arguments);
        query.open();
        if (entry.shape == Shape::RowArrays)
            query.first();
        const int rowCount = query.recordCount();
        if (rowCount <= 0) {
            query.close();
            slot.reset();
            return rowCount;
        }
        result = rowCount;
        std::vector<SlotValue*> targets;
        for (const SlotRead& read : entry.reads)
            targets.push_back(&target.writableSlot(read.slot));
        copyRows(query, entry, rowCount, targets);
        query.close();
        slot.reset();
    } catch (const db::DatabaseError& error) {
        if (!handled || !isServerError(error))
            throw;
        g_lastHandledError = error.message();
        if (entry.failure == Failure::HandlerWithMessage)
            ui::showMessage(nullptr, error.message());
        query.close();
        slot.reset();
    }
    return result;
}

int QueryRunner::runWrite(const Entry& entry, const QStringList& arguments)
{
    std::unique_ptr<db::Query>& slot = querySlot(entry.querySlot);
    slot = std::make_unique<db::Query>(&mainSession());
    db::Query& query = *slot;
    db::Session& session = mainSession();
    session.startTransaction();
    const auto rollBackQuietly = [&session] {
        try {
            session.rollback();
        } catch (const db::DatabaseError&) {
            // The connection that failed the write may be gone; there is nothing left to undo.
        }
    };
    try {
        prepare(query, entry, arguments);
        query.execSql();
        session.commit();
    } catch (const db::DatabaseError& error) {
        if (!isServerError(error)) {
            rollBackQuietly();
            throw;
        }
        g_lastHandledError = error.message();
        if (entry.failure == Failure::HandlerWithMessage)
            ui::showMessage(nullptr, error.message());
        rollBackQuietly();
        query.close();
        slot.reset();
        return -1;
    } catch (...) {
        // A count that does not parse: nothing was sent, but the transaction must not stay open.
        rollBackQuietly();
        throw;
    }
    query.close();
    slot.reset();
    return 0;
}

int QueryRunner::execSql(const QString& line1, const QString& line2)
{
    int result = -1;
    g_lastHandledError.clear();
    SharedStatement = std::make_unique<db::Statement>(&mainSession());
    try {
        SharedStatement->clearSql();
        SharedStatement->addSql(line1);
        SharedStatement->addSql(line2);
        SharedStatement->execute();
        SharedStatement.reset();
        result = 0;
    } catch (const db::DatabaseError& error) {
        if (!isServerError(error))
            throw;
        g_lastHandledError = error.message();
        ui::showMessage(nullptr, error.message());
        SharedStatement.reset();
    }
    return result;
}

QString QueryRunner::lastHandledError()
{
    return g_lastHandledError;
}

double QueryRunner::parseNumberArgument(const QString& text)
{
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        throw ConversionError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

QString QueryRunner::stampNow()
{
    return ui::services().now().toString(QStringLiteral("yyyyMMdd HHmmss"));
}

}  // namespace kolmara::data
