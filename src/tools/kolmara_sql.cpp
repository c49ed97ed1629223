// kolmara-sql SERVICE USER[/PASSWORD] "statement": runs one statement through the program's own
// database components. A query's rows go to standard output as CSV with a header line, each row
// written as it is read, so a table of any size streams through; an INSERT, UPDATE, DELETE or
// MERGE reports its row count on standard error ("3 rows updated."), keeping the CSV clean. An
// error prints its text on standard error with exit code 1, and so does output that cannot be
// written (a full disk): the run stops at the first write that fails. KOLMARA.INI is the main
// program's (common/Folders.h). A warning that Korean text cannot come through the client and
// database intact goes to standard error too.
//
// With USER alone the password is KOLMARA_PASSWORD, else the saved login's (as for
// kolmara-backup), else, on a terminal, asked for without echo; otherwise exit code 2.
#include "common/Folders.h"
#include "common/SavedLogins.h"
#include "db/DatabaseError.h"
#include "db/Query.h"
#include "db/Session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <utility>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#define isatty _isatty
#else
#include <termios.h>
#include <unistd.h>
#endif

namespace {

QString csvField(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
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
    static const QHash<QString, QString> done = {
        {QStringLiteral("INSERT"), QStringLiteral("created")},
        {QStringLiteral("UPDATE"), QStringLiteral("updated")},
        {QStringLiteral("DELETE"), QStringLiteral("deleted")},
        {QStringLiteral("MERGE"), QStringLiteral("merged")}};
    if (rows < 0 || !done.contains(verb))
        return {};
    return QStringLiteral("%1 %2 %3.")
        .arg(rows)
        .arg(rows == 1 ? QStringLiteral("row") : QStringLiteral("rows"), done.value(verb));
}

struct OutputError {
    QString reason;
};

// Standard output for the rows: lines gathered into large writes, each write checked, so that a
// full disk stops the run at once instead of piling the rest up in memory.
class Output {
public:
    Output() { m_file.open(fileno(stdout), QIODevice::WriteOnly | QIODevice::Unbuffered); }
    ~Output() = default;
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    void line(const QString& text)
    {
        m_bytes += text.toUtf8();
        m_bytes += '\n';
        if (m_bytes.size() >= kChunk)
            flush();
    }
    // Throws OutputError when the bytes cannot all be written; they are dropped either way.
    void flush()
    {
        const QByteArray bytes = std::exchange(m_bytes, QByteArray());
        // A disk that fills up takes part of a write without complaint; the write of the rest then
        // fails with the reason.
        for (qsizetype done = 0; done < bytes.size();) {
            const qint64 written = m_file.write(bytes.constData() + done, bytes.size() - done);
            if (written <= 0)
                throw OutputError{m_file.errorString()};
            done += written;
        }
    }

private:
    static constexpr qsizetype kChunk = 64 * 1024;
    QFile m_file;
    QByteArray m_bytes;
};

#ifndef _WIN32
termios g_savedTerminal;

// Ctrl-C at the password prompt must not leave the terminal without echo.
void restoreTerminalAndExit(int signal)
{
    tcsetattr(STDIN_FILENO, TCSANOW, &g_savedTerminal);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
#endif

// Asks for the password on the terminal without showing what is typed; empty when standard input
// is no terminal.
QString askPassword(const QString& user, const QString& service)
{
    if (!isatty(fileno(stdin)))
        return QString();
    QTextStream err(stderr);
    err << QStringLiteral("%1@%2 암호: ").arg(user, service) << Qt::flush;
    QByteArray typed;
#ifdef _WIN32
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    GetConsoleMode(input, &mode);
    SetConsoleMode(input, mode & ~DWORD(ENABLE_ECHO_INPUT));
    for (int c; (c = std::getchar()) != EOF && c != '\n';)
        typed += char(c);
    SetConsoleMode(input, mode);
#else
    const bool saved = tcgetattr(STDIN_FILENO, &g_savedTerminal) == 0;
    if (saved) {
        termios quiet = g_savedTerminal;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        quiet.c_lflag |= ECHONL;
        std::signal(SIGINT, restoreTerminalAndExit);
        std::signal(SIGTERM, restoreTerminalAndExit);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    for (int c; (c = std::getchar()) != EOF && c != '\n';)
        typed += char(c);
    if (saved) {
        tcsetattr(STDIN_FILENO, TCSANOW, &g_savedTerminal);
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
    }
#endif
    if (typed.endsWith('\r'))
        typed.chop(1);
    return QString::fromLocal8Bit(typed);
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        err << "usage: kolmara-sql SERVICE USER/PASSWORD \"statement\"" << Qt::endl
            << "       kolmara-sql SERVICE USER \"statement\"" << Qt::endl;
        return 2;
    }
    const QString login = args[2];
    const int slash = int(login.indexOf(QLatin1Char('/')));
    const QString user = slash < 0 ? login : login.left(slash);
    QString password = slash < 0 ? QString() : login.mid(slash + 1);
    if (slash < 0) {
        password = kolmara::passwordOffTheCommandLine(args[1], user);
        if (password.isEmpty())
            password = askPassword(user, args[1]);
        if (password.isEmpty()) {
            err << QStringLiteral(
                       "%1@%2 의 암호가 없습니다: USER/PASSWORD나 환경변수 KOLMARA_PASSWORD로 "
                       "주거나, 접속하기 화면에서 Save This Password를 선택하여 저장하십시오 (%3)")
                       .arg(user, args[1], QDir::toNativeSeparators(kolmara::settingsFilePath()))
                << Qt::endl;
            return 2;
        }
    }
    Output out;
    try {
        kolmara::db::Session session;
        session.setServer(args[1]);
        session.setUsername(user);
        session.setPassword(password);
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
            out.line(header.join(QLatin1Char(',')));
            QStringList line;
            for (; !query.eof(); query.next()) {
                line.clear();
                for (int i = 0; i < query.fieldCount(); ++i)
                    line.append(csvField(query.field(i).value().text));
                out.line(line.join(QLatin1Char(',')));
            }
            out.flush();
        } else {
            const QString count = rowCountLine(firstWord(args[3]), query.rowsAffected());
            session.commit();
            if (!count.isEmpty())
                err << count << Qt::endl;
        }
        query.close();
        session.disconnect();
    } catch (const OutputError& e) {
        // The session closes without a commit: a query has nothing to keep.
        err << QStringLiteral("kolmara-sql: cannot write the output (%1); it stops before its end")
                   .arg(e.reason)
            << Qt::endl;
        return 1;
    } catch (const kolmara::KolmaraError& e) {
        try {
            out.flush();
        } catch (const OutputError&) {
            // The error below is the one to report.
        }
        err << e.message() << Qt::endl;
        return 1;
    }
    return 0;
}
