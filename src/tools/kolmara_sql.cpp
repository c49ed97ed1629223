// kolmara-sql SERVICE USER/PASSWORD "statement": runs one statement through the program's own
// database components and prints the rows as CSV with a header line, or the error text on
// standard error with exit code 1. KOLMARA.INI is the main program's (common/Folders.h). A warning
// that Korean text cannot come through the client and database intact goes to standard error too.
#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/Session.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
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
        const QString head = args[3].trimmed().section(QLatin1Char(' '), 0, 0).toUpper();
        if (head == QLatin1String("SELECT") || head.startsWith(QLatin1Char('('))) {
            query.open();
            QStringList header;
            for (const QString& name : query.fieldNames())
                header.append(csvField(name));
            out << header.join(QLatin1Char(',')) << '\n';
            for (query.first(); !query.eof(); query.next()) {
                QStringList line;
                for (int i = 0; i < query.fieldCount(); ++i)
                    line.append(csvField(query.field(i).value().text));
                out << line.join(QLatin1Char(',')) << '\n';
            }
        } else {
            query.execSql();
            session.commit();
        }
        session.disconnect();
        out.flush();
    } catch (const kolmara::KolmaraError& e) {
        err << e.message() << Qt::endl;
        return 1;
    }
    return 0;
}
