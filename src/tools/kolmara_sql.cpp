// kolmara-sql SERVICE USER/PASSWORD "statement": runs one statement through the program's own
// database components. A query's rows go to standard output as CSV with a header line, each row
// written as it is read, so a table of any size streams through; an INSERT, UPDATE, DELETE or
// MERGE reports its row count on standard error ("3 rows updated."), keeping the CSV clean. An
// error prints its text on standard error with exit code 1. KOLMARA.INI is the main program's
// (common/Folders.h). A warning that Korean text cannot come through the client and database
// intact goes to standard error too.
#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/Session.h"

#include <QCoreApplication>
#include <QHash>
#include <QTextStream>

namespace {

QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

// The statement's first word, upper case, past blanks, comments and opening parentheses.
QString firstWord(const QString& sql)
{
    int i = 0;
    const int n = int(sql.size());
    while (i < n) {
        if (sql[i].isSpace() || sql[i] == QLatin1Char('(')) {
            ++i;
        } else if (sql.mid(i, 2) == QLatin1String("--")) {
            while (i < n && sql[i] != QLatin1Char('\n'))
                ++i;
        } else if (sql.mid(i, 2) == QLatin1String("/*")) {
            const int end = int(sql.indexOf(QStringLiteral("*/"), i + 2));
            i = end < 0 ? n : end + 2;
        } else {
            break;
        }
    }
    int j = i;
    while (j < n && (sql[j].isLetterOrNumber() || sql[j] == QLatin1Char('_')))
        ++j;
    return sql.mid(i, j - i).toUpper();
}

// SQL*Plus's words for what a DML statement did to its rows.
QString rowCountLine(const QString& verb, qint64 rows)
{
    static const QHash<QString, QString> done = {{QStringLiteral("INSERT"), QStringLiteral("created")},
                                                 {QStringLiteral("UPDATE"), QStringLiteral("updated")},
                                                 {QStringLiteral("DELETE"), QStringLiteral("deleted")},
                                                 {QStringLiteral("MERGE"), QStringLiteral("merged")}};
    if (rows < 0 || !done.contains(verb))
        return {};
    return QStringLiteral("%1 %2 %3.").arg(rows).arg(rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"), done.value(verb));
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        err << "usage: kolmara-sql SERVICE USER/PASSWORD \"statement\"" << Qt::endl;
        return 2;
    }
    const QString login = args[2];
    const int slash = int(login.indexOf(QLatin1Char('/')));
    try {
        kolmara::db::Session session;
        session.setServer(args[1]);
        session.setUsername(slash < 0 ? login : login.left(slash));
        session.setPassword(slash < 0 ? QString() : login.mid(slash + 1));
        session.setLoginPrompt(false);
        session.connect();
        if (const QString warning = session.connectionInfo().warning; !warning.isEmpty())
            err << warning << Qt::endl;
        kolmara::db::Query query(&session);
        query.addSql(args[3]);
        // Whatever the text looks like, a statement that returns columns is a query.
        query.setForwardOnly(true);
        query.open();
        if (query.fieldCount() > 0) {
            QStringList header;
            for (const QString& name : query.fieldNames())
                header.append(csvField(name));
            out << header.join(QLatin1Char(',')) << '\n';
            QStringList line;
            for (; !query.eof(); query.next()) {
                line.clear();
                for (int i = 0; i < query.fieldCount(); ++i)
                    line.append(csvField(query.field(i).value().text));
                out << line.join(QLatin1Char(',')) << '\n';
            }
        } else {
            const QString count = rowCountLine(firstWord(args[3]), query.rowsAffected());
            session.commit();
            if (!count.isEmpty())
                err << count << Qt::endl;
        }
        query.close();
        session.disconnect();
        out.flush();
    } catch (const kolmara::KolmaraError& e) {
        out.flush();
        err << e.message() << Qt::endl;
        return 1;
    }
    return 0;
}
