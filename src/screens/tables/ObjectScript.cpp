// The creation scripts of the table manager.
#include "screens/tables/ObjectScript.h"

#include "common/KOLMCOMM.h"
#include "data/SharedSlots.h"

namespace kolmara::screens {

namespace {

const QString kColumnIndent = QStringLiteral("       ");  // 7 blanks
const QString kClauseIndent = QStringLiteral("        ");  // 8 blanks
const QString kGap = QStringLiteral("     ");             // 5 blanks

// The types whose declaration carries the data length: every other type is declared bare. Its
// data length is then a storage size, not a declared one (DATE 7, CLOB 4000, an XMLTYPE or an
// object type column its own size), and TIMESTAMP and INTERVAL types carry their precision in the
// type name itself.
bool takesLength(const QString& type)
{
    static const QStringList sized = {
        QStringLiteral("CHAR"),      QStringLiteral("NCHAR"), QStringLiteral("VARCHAR2"),
        QStringLiteral("NVARCHAR2"), QStringLiteral("VARCHAR"), QStringLiteral("RAW"),
        QStringLiteral("UROWID"),
    };
    return sized.contains(type);
}

QString columnEnding(const ScriptColumn& column)
{
    if (column.nullable == QLatin1String("N"))
        return kGap + QStringLiteral("NOT NULL,");
    if (column.dataType == QLatin1String("NUMBER"))
        return kGap + QStringLiteral("DEFAULT 0,");
    return QStringLiteral(",");
}

}  // namespace

std::optional<ScriptKey> primaryKeyOf(const QList<ScriptIndex>& indexes,
                                      const std::function<QStringList(int)>& loadColumns)
{
    int last = -1;
    for (int i = 0; i < indexes.size(); ++i)
        if (indexes[i].keyType == QLatin1String("Primary Key"))
            last = i;
    if (last < 0)
        return std::nullopt;
    const ScriptIndex& index = indexes[last];
    ScriptKey key;
    key.name = index.name;
    key.tablespace = index.tablespace;
    key.pctFree = plainNumber(index.pctFree);
    key.pctIncrease = plainNumber(index.pctIncrease);
    key.initialExtent = plainNumber(index.initialExtent);
    key.nextExtent = plainNumber(index.nextExtent);
    key.columns = loadColumns(last);
    return key;
}

QString columnTypeText(const QString& dataType, const QString& length)
{
    if (dataType == QLatin1String("NUMBER")) {
        const int comma = int(length.indexOf(QLatin1Char(',')));
        const QString precision = comma < 0 ? length : length.left(comma);
        const QString scale = comma < 0 ? QString() : length.mid(comma + 1);
        if (precision.isEmpty() && scale.isEmpty())
            return dataType;
        if (precision.isEmpty())
            return dataType + QStringLiteral("(*,") + scale + QLatin1Char(')');
        if (scale.isEmpty())
            return dataType + QLatin1Char('(') + precision + QLatin1Char(')');
        return dataType + QLatin1Char('(') + precision + QLatin1Char(',') + scale +
               QLatin1Char(')');
    }
    if (!takesLength(dataType) || length.isEmpty())
        return dataType;
    return dataType + QLatin1Char('(') + length + QLatin1Char(')');
}

QString plainNumber(const QString& shown)
{
    // StripSeparators knows the separators of Korean Windows; other desktops group digits with
    // blanks or apostrophes, and none of those belong in DDL.
    QString digits;
    for (QChar c : StripSeparators(shown))
        if (c.isDigit())
            digits += c;
    return digits;
}

QString sqlStringLiteral(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

QStringList BuildTableScript(const TableScriptSource& source)
{
    QList<const ScriptColumn*> columns;
    for (const ScriptColumn& c : source.columns)
        if (!c.name.isEmpty())
            columns.append(&c);
    if (columns.isEmpty())
        return {};

    const QString& table = source.table;
    QStringList lines;
    lines << QStringLiteral("/* TABLE 생성 */")
          << QStringLiteral("CREATE TABLE ") + table + QLatin1Char('(');
    for (const ScriptColumn* c : columns)
        lines << kColumnIndent + c->name + kGap + columnTypeText(c->dataType, c->length) +
                     columnEnding(*c);
    if (source.key) {
        const ScriptKey& key = *source.key;
        lines << kColumnIndent + QStringLiteral("CONSTRAINT ") + key.name +
                     QStringLiteral(" PRIMARY KEY(") + key.columns.join(QLatin1Char(',')) +
                     QLatin1Char(')')
              << kClauseIndent + QStringLiteral("USING INDEX PCTFREE ") + key.pctFree +
                     QStringLiteral(" TABLESPACE ") + key.tablespace
              << kClauseIndent + QStringLiteral("STORAGE(INITIAL ") + key.initialExtent +
                     QStringLiteral(" NEXT ") + key.nextExtent + QStringLiteral(" PCTINCREASE ") +
                     key.pctIncrease + QStringLiteral("))");
    } else {
        // Without a key nothing closes the column list: the last column line does.
        QString& last = lines.last();
        last.chop(1);
        last += QLatin1Char(')');
    }
    const ScriptStorage& st = source.storage;
    lines << kClauseIndent + QStringLiteral("TABLESPACE ") + st.tablespace
          << kClauseIndent + QStringLiteral("STORAGE(INITIAL ") + st.initialExtent +
                 QStringLiteral(" NEXT ") + st.nextExtent + QStringLiteral(" FREELISTS ") +
                 st.freelists + QStringLiteral(" PCTINCREASE ") + st.pctIncrease + QLatin1Char(')')
          << kClauseIndent + QStringLiteral("PCTFREE ") + st.pctFree
          << kClauseIndent + QStringLiteral("PCTUSED ") + st.pctUsed + QLatin1Char(';')
          << QString()
          << QStringLiteral("COMMENT ON TABLE  ") + table + QStringLiteral(" IS ") +
                 sqlStringLiteral(source.comment) + QLatin1Char(';');
    for (const ScriptColumn* c : columns)
        lines << QStringLiteral("COMMENT ON COLUMN ") + table + QLatin1Char('.') + c->name +
                     QStringLiteral(" IS ") + sqlStringLiteral(c->comment) + QLatin1Char(';');
    return lines;
}

QStringList BuildViewScript(const QString& viewName)
{
    return {QStringLiteral("/* VIEW 생성 */"), QStringLiteral("CREATE VIEW ") + viewName};
}

QStringList BuildSynonymScript(const QString& owner, const QString& synonymName)
{
    Oraclem1 = std::make_unique<data::HORACLEM1>();
    const int n = Oraclem1->GetSynonym(owner, synonymName);
    QStringList lines;
    if (n > 0) {
        // A synonym for an object behind a database link names the link too, or the script
        // would point at a local object of the same name.
        const QString link = Oraclem1->slotText(2);
        lines << QStringLiteral("/* SYNONYM 생성  */")
              << QStringLiteral("CREATE SYNONYM ") + synonymName + QStringLiteral(" FOR ") +
                     Oraclem1->slotText(0) + QLatin1Char('.') + Oraclem1->slotText(1) +
                     (link.isEmpty() ? QString() : QLatin1Char('@') + link) + QLatin1Char(';');
    }
    Oraclem1.reset();
    return lines;
}

QStringList BuildSequenceScript(const QString& owner, const QString& sequenceName)
{
    Oraclem1 = std::make_unique<data::HORACLEM1>();
    const int n = Oraclem1->GetSequence(owner, sequenceName);
    QStringList lines;
    if (n > 0)
        lines << QStringLiteral("/* SEQUENCE 생성  */")
              << QStringLiteral("CREATE SEQUENCE ") + sequenceName +
                     QStringLiteral(" INCREMENT BY ") + Oraclem1->slotText(0) +
                     QStringLiteral(" START WITH ") + Oraclem1->slotText(1) + QLatin1Char(';');
    Oraclem1.reset();
    return lines;
}

}  // namespace kolmara::screens
