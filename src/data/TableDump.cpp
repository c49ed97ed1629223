// The table dump.
#include "data/TableDump.h"

#include "common/Errors.h"
#include "common/Folders.h"
#include "common/KOLMCOMM.h"
#include "common/TextCodec.h"
#include "data/SharedSlots.h"
#include "db/FloatFormat.h"
#include "db/Query.h"
#include "widgets/UiServices.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>
#include <QScopeGuard>
#include <QStringEncoder>

#include <cstring>

#include <utility>

namespace kolmara::data {

namespace {

int g_failingLineWrite = 0;

#ifdef _WIN32
constexpr QChar kSeparator = u'\\';
#else
constexpr QChar kSeparator = u'/';
#endif

// A name as SQL text: plain upper-case identifiers as they are, any other name in double quotes.
QString sqlName(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Z][A-Z0-9_$#]*$"));
    if (plain.match(name).hasMatch())
        return name;
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

// A format model as an SQL string literal's content.
QString literalText(const QString& text)
{
    return QString(text).replace(QLatin1Char('\''), QStringLiteral("''"));
}

// Appends one value, enclosed in quotes with its inner quotes doubled.
void appendField(QString& line, QStringView value)
{
    line += QLatin1Char('"');
    for (qsizetype from = 0;;) {
        const qsizetype quote = value.indexOf(QLatin1Char('"'), from);
        if (quote < 0) {
            line += value.mid(from);
            break;
        }
        line += value.mid(from, quote + 1 - from);
        line += QLatin1Char('"');
        from = quote + 1;
    }
    line += QLatin1Char('"');
}

// The text of a field as the session delivers it, without copying it where it can be read in
// place.
QString fieldText(const db::Value& value)
{
    switch (value.kind) {
    case db::Value::Kind::Null:
        return {};
    case db::Value::Kind::Number:
        return value.exactInteger ? value.text : db::formatGeneralFloat(value.number);
    case db::Value::Kind::Text:
    case db::Value::Kind::Date:
        break;
    }
    return value.text;
}

// The bytes of the file, gathered into large writes. UTF-8 is encoded straight into the buffer;
// the code pages go through the line's text.
class DumpBuffer {
public:
    explicit DumpBuffer(DumpEncoding encoding) : m_encoding(encoding)
    {
        m_bytes.resize(kChunk * 2);
    }

    void beginLine() { m_line.clear(); }

    void field(QStringView value, bool first)
    {
        if (m_encoding != DumpEncoding::Utf8) {
            if (!first)
                m_line += QLatin1Char(',');
            appendField(m_line, value);
            return;
        }
        reserve(value.size() * 3 + 8);
        char* out = m_bytes.data() + m_used;
        if (!first)
            *out++ = ',';
        *out++ = '"';
        for (qsizetype from = 0;;) {
            const qsizetype quote = value.indexOf(QLatin1Char('"'), from);
            if (quote < 0) {
                out = m_utf8.appendToBuffer(out, value.mid(from));
                break;
            }
            out = m_utf8.appendToBuffer(out, value.mid(from, quote + 1 - from));
            *out++ = '"';
            from = quote + 1;
        }
        *out++ = '"';
        m_used = out - m_bytes.data();
    }

    // Ends the line. A character the chosen code page cannot hold would be written as '?',
    // silently changing the backup: that stops the dump instead.
    void endLine(int lineNumber)
    {
        if (m_encoding != DumpEncoding::Utf8) {
            const QByteArray bytes =
                m_encoding == DumpEncoding::Cp949 ? encodeCp949(m_line) : m_line.toLocal8Bit();
            // '?' (0x3F) is never the trail byte of a double-byte character, so any '?' beyond
            // those of the text is a replacement.
            if (bytes.count('?') != m_line.count(QLatin1Char('?')))
                throw KolmaraError(QStringLiteral("Line %1 holds a character that the dump file's "
                                                  "encoding (%2) cannot hold; choose "
                                                  "DumpEncoding=UTF-8")
                                       .arg(lineNumber)
                                       .arg(m_encoding == DumpEncoding::Cp949
                                                ? QStringLiteral("CP949")
                                                : QStringLiteral("ANSI")));
            reserve(bytes.size() + 2);
            memcpy(m_bytes.data() + m_used, bytes.constData(), size_t(bytes.size()));
            m_used += bytes.size();
        }
        reserve(2);
        m_bytes[m_used++] = '\r';
        m_bytes[m_used++] = '\n';
    }

    bool full() const { return m_used >= kChunk; }
    const char* data() const { return m_bytes.constData(); }
    qsizetype size() const { return m_used; }
    void clear() { m_used = 0; }

private:
    static constexpr qsizetype kChunk = 256 * 1024;

    void reserve(qsizetype more)
    {
        if (m_used + more > m_bytes.size())
            m_bytes.resize(qMax(m_bytes.size() * 2, m_used + more));
    }

    DumpEncoding m_encoding;
    QStringEncoder m_utf8{QStringConverter::Utf8};
    QByteArray m_bytes;
    qsizetype m_used = 0;
    QString m_line;
};

QString fileError(const QString& what, const QString& path, const QString& reason)
{
    return QStringLiteral("%1 \"%2\". %3").arg(what, path, reason);
}

}  // namespace

QList<DumpColumn> dumpColumns(const HORACLEM2& columns, int rows)
{
    QList<DumpColumn> out;
    out.reserve(rows);
    for (int i = 0; i < rows; ++i)
        out.append({columns.slotText(1, i), columns.slotText(3, i)});
    return out;
}

QString dumpExpression(const DumpColumn& column, const QString& dateFormat)
{
    const QString name = sqlName(column.name);
    const QString format = dateFormat.isEmpty() ? kDefaultDumpDateFormat : dateFormat;
    const QString type = column.dataType.toUpper();
    if (type == QLatin1String("DATE"))
        return QStringLiteral("TO_CHAR(") + name + QStringLiteral(", '") + literalText(format) +
               QStringLiteral("')");
    if (type == QLatin1String("NUMBER") || type == QLatin1String("FLOAT"))
        return QStringLiteral("TO_CHAR(") + name + QLatin1Char(')');
    if (type.startsWith(QLatin1String("TIMESTAMP"))) {
        QString withFraction = format;
        if (!format.contains(QLatin1String("FF"), Qt::CaseInsensitive))
            withFraction += QStringLiteral(".FF");
        if (type.endsWith(QLatin1String(" WITH TIME ZONE")) &&
            !format.contains(QLatin1String("TZ"), Qt::CaseInsensitive))
            withFraction += QStringLiteral(" TZH:TZM");
        return QStringLiteral("TO_CHAR(") + name + QStringLiteral(", '") +
               literalText(withFraction) + QStringLiteral("')");
    }
    return name;
}

QString dumpSelectText(const QString& head, const QList<DumpColumn>& columns, const QString& table,
                       const QString& dateFormat, const QString& owner)
{
    QStringList lines{head};
    for (int i = 0; i < columns.size(); ++i)
        lines.append((i == 0 ? QStringLiteral("       ") : QStringLiteral("      ,")) +
                     dumpExpression(columns[i], dateFormat) + QLatin1Char(' ') +
                     sqlName(columns[i].name));
    lines.append(QStringLiteral("FROM   ") +
                 (owner.isEmpty() ? QString() : sqlName(owner) + QLatin1Char('.')) +
                 sqlName(table));
    return lines.join(QLatin1Char('\n'));
}

QString dumpFolder(const QString& drive, const QString& path, const QString& account,
                   const QDate& day)
{
    return drive + path + fileNameFor(account) + kSeparator +
           day.toString(QStringLiteral("yyyyMMdd"));
}

QString dumpFile(const QString& folder, const QString& table)
{
    return folder + kSeparator + fileNameFor(table) + QStringLiteral(".TXT");
}

bool liesInBackupFolder(const QString& file, const QString& drive, const QString& path)
{
    // Settings without their trailing separator put the account's name right after them
    // ("BACKUP" + "SCOTT"): the folder that holds the dumps is then the one the settings end in.
    QString prefix = fileSystemPath(drive + path);
    if (!prefix.endsWith(QLatin1Char('/')))
        prefix.truncate(prefix.lastIndexOf(QLatin1Char('/')) + 1);
    const QString folder = QDir::cleanPath(QDir(prefix).absolutePath());
    const QString target = QDir::cleanPath(QDir(fileSystemPath(file)).absolutePath());
#ifdef _WIN32
    constexpr Qt::CaseSensitivity kCase = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity kCase = Qt::CaseSensitive;
#endif
    const QString below = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return target.size() > below.size() && target.startsWith(below, kCase);
}

QString shownStamp(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

DumpEncoding dumpEncodingFromSetting(const QString& setting)
{
    const QString name = setting.trimmed().toUpper();
    if (name.isEmpty()) {
#ifdef _WIN32
        return DumpEncoding::Ansi;
#else
        return DumpEncoding::Utf8;
#endif
    }
    if (name == QLatin1String("UTF-8") || name == QLatin1String("UTF8"))
        return DumpEncoding::Utf8;
    if (name == QLatin1String("CP949") || name == QLatin1String("MS949"))
        return DumpEncoding::Cp949;
    if (name == QLatin1String("ANSI"))
        return DumpEncoding::Ansi;
    throw KolmaraError(QStringLiteral("DumpEncoding=%1: the dump file encoding must be UTF-8, "
                                      "CP949 or ANSI")
                           .arg(setting));
}

QString dumpLine(const QStringList& values)
{
    QString line;
    for (int i = 0; i < values.size(); ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        appendField(line, values[i]);
    }
    return line;
}

QByteArray dumpLineBytes(const QStringList& values, DumpEncoding encoding)
{
    DumpBuffer buffer(encoding);
    buffer.beginLine();
    for (int i = 0; i < values.size(); ++i)
        buffer.field(values[i], i == 0);
    buffer.endLine(1);
    return QByteArray(buffer.data(), buffer.size());
}

TableDump::TableDump(QString path, QString selectText, DumpEncoding encoding)
    : m_path(std::move(path)), m_selectText(std::move(selectText)), m_encoding(encoding)
{
}

void TableDump::failNthLineWriteForTesting(int n)
{
    g_failingLineWrite = n;
}

TableDump::Outcome TableDump::run(db::Query& query)
{
    Outcome outcome;
    const auto closeQuery = qScopeGuard([&query] { query.close(); });
    const int failingLine = std::exchange(g_failingLineWrite, 0);

    // Only a plain file is ever replaced: a path naming a folder or a device is refused.
    const QString target = fileSystemPath(m_path);
    const QFileInfo existing(target);
    if (existing.exists() && !existing.isFile())
        throw KolmaraError(fileError(QStringLiteral("Cannot create file"), m_path,
                                     QStringLiteral("The path is not a file.")));
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw KolmaraError(
            fileError(QStringLiteral("Cannot create file"), m_path, file.errorString()));
#ifndef _WIN32
    // Before the first row: a file replaced keeps its permissions otherwise.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#endif
    outcome.start = ui::services().now();
    if (onStart)
        onStart(outcome.start);

    // The count the gauge needs first comes from the same query; the rows are then read one at a
    // time, so memory does not grow with the table.
    {
        db::Query count(query.session());
        count.addSql(QStringLiteral("SELECT COUNT(*) FROM ("));
        count.sql().append(m_selectText.split(QLatin1Char('\n')));
        count.addSql(QStringLiteral(")"));
        count.open();
        outcome.counted = count.eof() ? 0 : int(count.field(0).asDouble());
    }
    query.close();
    query.clearSql();
    query.sql() = m_selectText.split(QLatin1Char('\n'));
    query.setForwardOnly(true);
    query.open();

    if (!query.eof() && onRowsCounted)
        onRowsCounted(outcome.counted);

    // Lines gather in the buffer and go to the file in large pieces; a piece written is a piece
    // the file holds, so a disk that fills up is noticed at once.
    DumpBuffer buffer(m_encoding);
    // A disk that fills up takes part of a piece without complaint; the write of the rest then
    // fails with the reason.
    auto writeOut = [&] {
        for (qsizetype done = 0; done < buffer.size();) {
            const qint64 written = file.write(buffer.data() + done, buffer.size() - done);
            if (written <= 0)
                throw KolmaraError(
                    fileError(QStringLiteral("Cannot write file"), m_path, file.errorString()));
            done += written;
        }
        buffer.clear();
    };
    m_query = &query;
    const auto forgetQuery = qScopeGuard([this] { m_query = nullptr; });
    const int columns = query.fieldCount();
    for (; !query.eof(); query.next()) {
        buffer.beginLine();
        for (int c = 0; c < columns; ++c)
            buffer.field(fieldText(query.field(c).value()), c == 0);
        buffer.endLine(outcome.written + 1);
        if (outcome.written + 1 == failingLine)
            throw KolmaraError(fileError(QStringLiteral("Cannot write file"), m_path,
                                         QStringLiteral("No space left on device")));
        if (buffer.full())
            writeOut();
        ++outcome.written;
        if (onLine)
            onLine(outcome.written);
    }
    writeOut();
    if (outcome.written > 0)
        outcome.end = ui::services().now();
    if (!file.commit())
        throw KolmaraError(
            fileError(QStringLiteral("Cannot write file"), m_path, file.errorString()));
    return outcome;
}

QString TableDump::lineText() const
{
    QString line;
    if (!m_query || m_query->eof())
        return line;
    for (int c = 0; c < m_query->fieldCount(); ++c) {
        if (c > 0)
            line += QLatin1Char(',');
        appendField(line, fieldText(m_query->field(c).value()));
    }
    return line;
}

QString fitBytes(const QString& text, int bytes)
{
    qsizetype end = 0;
    int used = 0;
    while (end < text.size()) {
        const qsizetype units = text[end].isHighSurrogate() && end + 1 < text.size() ? 2 : 1;
        const int size = int(QStringView(text).mid(end, units).toUtf8().size());
        if (used + size > bytes)
            break;
        used += size;
        end += units;
    }
    return text.left(end);
}

int insertBackupLog(const BackupLogRow& row)
{
    Backupt2 = std::make_unique<HBACKUPT2>();
    const int result = Backupt2->InsertBackupLog(
        row.server, row.account, row.table, row.startStamp, row.endStamp,
        fitBytes(row.tableName, kLogTableNameBytes), row.cycle, row.type, row.time, row.ipName,
        row.condition, row.path, QString::number(row.count));
    Backupt2.reset();
    return result;
}

int stampLastBackup(const QString& server, const QString& account, const QString& table)
{
    Backupt1 = std::make_unique<HBACKUPT1>();
    const int result = Backupt1->UpdateBackupDateTime(server, account, table);
    Backupt1.reset();
    return result;
}

}  // namespace kolmara::data
