// Makes a large demo instance: the demo database of every first start, grown to the size of a big
// production dictionary, so that the screens can be timed where a DBA feels them. On top of the
// demo scripts it adds the account BIGAPP with tens of thousands of objects (tables with their
// primary keys, comments, segments and backup schedules, sequences, stored units, synonyms, views),
// one table of 2 000 columns, many more accounts with backup registrations and a long backup log,
// thousands of sessions with their processes, SQL texts and locks, and hundreds of tablespaces with
// thousands of datafiles and their free extents. Everything goes in as seed scripts, so the file is
// built the way the demo database is, in one transaction.
//
//   big_demo FILE [--objects=50000] [--sessions=5000] [--columns=2000] [--tablespaces=500]
//                 [--datafiles=2000] [--users=500] [--remake-unreadable]
//
// An existing FILE is left alone; with --remake-unreadable, one the engine refuses (made by an
// engine of another file format) is deleted and made anew. The engine clock is the demo's day
// (2003-05-15 14:00), which the schedules and the log are written for. Prints what it made and how
// long it took.
#include "db/embedded/Engine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using kolmara::db::embedded::EngineSession;

namespace {

struct Size {
    int objects = 50000;
    int sessions = 5000;
    int columns = 2000;
    int tablespaces = 500;
    int datafiles = 2000;
    int users = 500;
};

QString number(int n, int width)
{
    return QString::number(n).rightJustified(width, QLatin1Char('0'));
}

QString tablespaceName(int t) { return QStringLiteral("BIG") + number(t, 3); }

// A fifth of the objects are tables and as many are their primary key indexes.
int tableCount(const Size& size) { return qMax(1, size.objects / 5); }

constexpr int kFirstTablespaceNumber = 100;
constexpr int kFirstFileNumber = 100;
constexpr qint64 kFileBytes = 104857600;  // 100 MB, 12 800 blocks of 8 KB

// Tablespaces, their datafiles and free extents: every fixed view the storage screens read.
QString storageScript(const Size& size)
{
    QString s;
    for (int t = 0; t < size.tablespaces; ++t) {
        const QString name = tablespaceName(t);
        s += QStringLiteral("INSERT INTO SYS.V_$TABLESPACE VALUES (%1, '%2', 'YES');\n")
                 .arg(kFirstTablespaceNumber + t)
                 .arg(name);
        const QString row = QStringLiteral("('%1', 8192, 1048576, 1048576, 1, 2147483645, 0, 0,"
                                           " 'ONLINE', 'PERMANENT', 'LOGGING',"
                                           " 'NO', 'DICTIONARY', 'USER', 'NO', 'MANUAL');\n")
                                .arg(name);
        s += QStringLiteral("INSERT INTO SYS.DBA_TABLESPACES VALUES ") + row;
        s += QStringLiteral("INSERT INTO SYS.USER_TABLESPACES (TABLESPACE_NAME, BLOCK_SIZE,"
                            " INITIAL_EXTENT, NEXT_EXTENT, MIN_EXTENTS,"
                            " MAX_EXTENTS, PCT_INCREASE, STATUS, CONTENTS, LOGGING) VALUES ('%1',"
                            " 8192, 1048576, 1048576, 1, 2147483645, 0, 'ONLINE', 'PERMANENT',"
                            " 'LOGGING');\n")
                 .arg(name);
    }
    for (int f = 0; f < size.datafiles; ++f) {
        const int t = f % size.tablespaces;
        const int file = kFirstFileNumber + f;
        const QString path = QStringLiteral("D:\\ORADATA\\KOLM\\%1_%2.DBF")
                                 .arg(tablespaceName(t), number(f / size.tablespaces + 1, 2));
        s += QStringLiteral("INSERT INTO SYS.V_$DATAFILE (FILE#, CREATION_CHANGE#, CREATION_TIME,"
                            " TS#, RFILE#, STATUS, ENABLED, BYTES, BLOCKS,"
                            " CREATE_BYTES, BLOCK_SIZE, NAME) VALUES (%1, %2,"
                            " TO_DATE('2002-01-02 03:04:05','YYYY-MM-DD HH24:MI:SS'),"
                            " %3, %1, 'ONLINE', 'READ WRITE', %4, 12800, %4, 8192, '%5');\n")
                 .arg(file)
                 .arg(1000 + f)
                 .arg(kFirstTablespaceNumber + t)
                 .arg(kFileBytes)
                 .arg(path);
        s += QStringLiteral("INSERT INTO SYS.DBA_DATA_FILES VALUES ('%1', %2, '%3', %4, 12800,"
                            " 'AVAILABLE', %2, 'NO', 0, 0, 0, %5, 12799);\n")
                 .arg(path)
                 .arg(file)
                 .arg(tablespaceName(t))
                 .arg(kFileBytes)
                 .arg(kFileBytes - 8192);
        // Two free extents a file, a different share in each, so the bands of the list vary.
        const int freeBlocks = (f * 37) % 6400;
        for (const auto& [block, blocks] : {std::pair{12800 - freeBlocks, freeBlocks / 2},
                                            std::pair{12800 - freeBlocks / 2, freeBlocks / 2}}) {
            if (blocks == 0)
                continue;
            const QString extent = QStringLiteral("('%1', %2, %3, %4, %5, %2);\n")
                                       .arg(tablespaceName(t))
                                       .arg(file)
                                       .arg(block)
                                       .arg(qint64(blocks) * 8192)
                                       .arg(blocks);
            s += QStringLiteral("INSERT INTO SYS.DBA_FREE_SPACE VALUES ") + extent;
            s += QStringLiteral("INSERT INTO SYS.USER_FREE_SPACE VALUES ") + extent;
        }
    }
    return s;
}

// The account BIGAPP and its objects: a fifth tables and a fifth their primary key indexes, a fifth
// sequences, a fifth stored units, a tenth synonyms and a tenth views; and one wide table.
QString objectScript(const Size& size)
{
    QString s;
    s += QStringLiteral("CREATE USER BIGAPP IDENTIFIED BY BIGAPP DEFAULT TABLESPACE %1 TEMPORARY"
                        " TABLESPACE TEMP;\n")
             .arg(tablespaceName(0));
    s += QStringLiteral("GRANT CONNECT, RESOURCE TO BIGAPP;\n"
                        "GRANT CREATE VIEW, CREATE SYNONYM TO BIGAPP;\n");
    const int tables = tableCount(size);
    for (int i = 0; i < tables; ++i) {
        const QString n = number(i, 5);
        const QString ts = tablespaceName(i % size.tablespaces);
        s += QStringLiteral("CREATE TABLE BIGAPP.T%1 (ID NUMBER(10) NOT NULL, NAME VARCHAR2(40),"
                            " AMOUNT NUMBER(12,2), REG_DATE DATE, CONSTRAINT PK_T%1 PRIMARY KEY"
                            " (ID) USING INDEX TABLESPACE %2) TABLESPACE %2;\n")
                 .arg(n, ts);
        s += QStringLiteral("COMMENT ON TABLE BIGAPP.T%1 IS '업무 테이블 %1';\n").arg(n);
        const int file = kFirstFileNumber + (i % size.tablespaces);
        s += QStringLiteral("INSERT INTO SYS.DBA_SEGMENTS VALUES ('BIGAPP', 'T%1', NULL, 'TABLE',"
                            " '%2', %3, %4, 1048576, 128, 1, 1048576,"
                            " 1048576, 1, 2147483645, 0, 1, 1, %3, 'DEFAULT');\n")
                 .arg(n, ts)
                 .arg(file)
                 .arg(2 + 128 * (i / size.tablespaces));
        s += QStringLiteral("INSERT INTO SYS.DBA_EXTENTS VALUES ('BIGAPP', 'T%1', NULL, 'TABLE',"
                            " '%2', 0, %3, %4, 1048576, 128, %3);\n")
                 .arg(n, ts)
                 .arg(file)
                 .arg(2 + 128 * (i / size.tablespaces));
    }
    const int sequences = size.objects / 5;
    for (int i = 0; i < sequences; ++i)
        s += QStringLiteral("CREATE SEQUENCE BIGAPP.S%1 START WITH %2;\n")
                 .arg(number(i, 5))
                 .arg(i + 1);
    const int units = size.objects / 5;
    for (int i = 0; i < units; ++i) {
        const QString n = number(i, 5);
        if (i % 2 == 0)
            s += QStringLiteral("CREATE OR REPLACE PROCEDURE BIGAPP.P%1 (P_ID IN NUMBER) IS\n"
                                "BEGIN\n  NULL;\nEND;\n/\n").arg(n);
        else
            s += QStringLiteral("CREATE OR REPLACE FUNCTION BIGAPP.F%1 (P_ID IN NUMBER) RETURN"
                                " NUMBER IS\nBEGIN\n  RETURN P_ID;\nEND;\n/\n")
                     .arg(n);
    }
    const int synonyms = size.objects / 10;
    for (int i = 0; i < synonyms; ++i)
        s += QStringLiteral("CREATE SYNONYM BIGAPP.Y%1 FOR BIGAPP.T%2;\n")
                 .arg(number(i, 5), number(i % tables, 5));
    const int views = size.objects - 2 * tables - sequences - units - synonyms;
    for (int i = 0; i < views; ++i)
        s += QStringLiteral("CREATE VIEW BIGAPP.V%1 AS SELECT ID, NAME FROM BIGAPP.T%2"
                            " WHERE AMOUNT > 0;\n")
                 .arg(number(i, 5), number(i % tables, 5));

    if (size.columns > 0) {
        s += QStringLiteral("CREATE TABLE BIGAPP.WIDE_TABLE (\n");
        for (int c = 1; c <= size.columns; ++c) {
            const QString type = c % 3 == 0   ? QStringLiteral("NUMBER(12,2)")
                                 : c % 3 == 1 ? QStringLiteral("VARCHAR2(30)")
                                              : QStringLiteral("DATE");
            s += QStringLiteral("  C%1 %2%3,\n")
                     .arg(number(c, 4), type, c == 1 ? QStringLiteral(" NOT NULL") : QString());
        }
        s += QStringLiteral(
                 "  CONSTRAINT PK_WIDE_TABLE PRIMARY KEY (C0001, C0002)) TABLESPACE %1;\n")
                 .arg(tablespaceName(0));
        s += QStringLiteral("COMMENT ON TABLE BIGAPP.WIDE_TABLE IS '컬럼이 많은 테이블';\n");
        for (int c = 1; c <= size.columns; c += 2)
            s += QStringLiteral("COMMENT ON COLUMN BIGAPP.WIDE_TABLE.C%1 IS '항목 %1';\n")
                     .arg(number(c, 4));
        for (int c = 3; c <= qMin(size.columns, 40); c += 4)
            s += QStringLiteral("CREATE INDEX BIGAPP.IX_WIDE_C%1 ON BIGAPP.WIDE_TABLE (C%1)"
                                " TABLESPACE %2;\n")
                     .arg(number(c, 4), tablespaceName(1 % size.tablespaces));
    }
    return s;
}

// More accounts, half of them registered for the server backup job, every tenth table of BIGAPP
// scheduled daily, and the log of a month of backups.
QString accountScript(const Size& size)
{
    QString s;
    for (int u = 0; u < size.users; ++u) {
        const QString name = QStringLiteral("U") + number(u, 4);
        s += QStringLiteral("CREATE USER %1 IDENTIFIED BY %1 DEFAULT TABLESPACE %2 TEMPORARY"
                            " TABLESPACE TEMP;\n")
                 .arg(name, tablespaceName(u % size.tablespaces));
        s += QStringLiteral("GRANT CONNECT TO %1;\n").arg(name);
        if (u % 2 == 0)
            s += QStringLiteral("INSERT INTO TGHADM.BACKUSER_TABLE VALUES ('DEMO', '%1', '%1',"
                                " '업무 계정 %2', '0300', 'Y', '20030401 090000');\n")
                     .arg(name)
                     .arg(u);
    }
    s += QStringLiteral("INSERT INTO TGHADM.BACKUSER_TABLE VALUES ('DEMO', 'BIGAPP', 'BIGAPP',"
                        " '대형 업무', '0300', 'Y', '20030401 090000');\n");
    const int tables = tableCount(size);
    for (int i = 0; i < tables; i += 10) {
        const QString n = number(i, 5);
        s += QStringLiteral("INSERT INTO TGHADM.BACKUP_TABLE VALUES ('DEMO', 'BIGAPP', 'T%1',"
                            " '업무 테이블 %1', 'D', '01', '03', NULL, '20030514 030102');\n")
                 .arg(n);
        for (int day = 1; day <= 14; ++day)
            s += QStringLiteral("INSERT INTO TGHADM.BACKLOG_TABLE VALUES ('DEMO', 'BIGAPP', 'T%1',"
                                " '200305%2 030100', '200305%2 030102',"
                                " '업무 테이블 %1', 'D', '01', '03', '10.0.0.5', NULL,"
                                " 'D:\\BACKUP\\BIGAPP\\200305%2', %3);\n")
                     .arg(n, number(day, 2))
                     .arg(1000 + i + day);
    }
    return s;
}

// User sessions of the sales application, each with its dedicated server process, the two
// pieces of its current statement and, for every fifth, a row lock on one of BIGAPP's tables.
QString sessionScript(const Size& size)
{
    QString s;
    const char* status[] = {"ACTIVE", "INACTIVE", "INACTIVE", "INACTIVE"};
    for (int i = 0; i < size.sessions; ++i) {
        const int sid = 1000 + i;
        const QString paddr = QStringLiteral("7%1").arg(i, 7, 16, QLatin1Char('0')).toUpper();
        const QString saddr = QStringLiteral("8%1").arg(i, 7, 16, QLatin1Char('0')).toUpper();
        const QString sqlAddress = QStringLiteral("9%1").arg(i, 7, 16, QLatin1Char('0')).toUpper();
        const QString user = i % 3 == 0 ? QStringLiteral("BIGAPP")
                                        : QStringLiteral("U") + number(i % qMax(1, size.users), 4);
        s += QStringLiteral("INSERT INTO SYS.V_$PROCESS VALUES ('%1', %2, '%3', 'SYSTEM', 1,"
                            " 'KOLMDB01', 'ORACLE.EXE', NULL, NULL, NULL, NULL,"
                            " 300000, 500000, 600000);\n")
                 .arg(paddr)
                 .arg(sid)
                 .arg(20000 + i);
        s += QStringLiteral("INSERT INTO SYS.V_$SESSION (SADDR, SID, SERIAL#, AUDSID, PADDR,"
                            " USER#, USERNAME, COMMAND, STATUS, SERVER,"
                            " SCHEMANAME, OSUSER, PROCESS, MACHINE, TERMINAL, PROGRAM, TYPE,"
                            " SQL_ADDRESS, SQL_HASH_VALUE, MODULE, LOGON_TIME, LAST_CALL_ET)"
                            " VALUES ('%1', %2, %3, %4, '%5', 0, '%6',"
                            " 3, '%7', 'DEDICATED', '%6', 'user%8', '%9:1', 'WORKGROUP\\PC%8',"
                            " 'PC%8', 'sales.exe', 'USER', '%10', %11,"
                            " 'sales.exe',"
                            " TO_DATE('2003-05-15 08:%12:00','YYYY-MM-DD HH24:MI:SS'), %13);\n")
                 .arg(saddr)
                 .arg(sid)
                 .arg(1 + i % 97)
                 .arg(500000 + i)
                 .arg(paddr, user, QLatin1String(status[i % 4]))
                 .arg(i % 700)
                 .arg(3000 + i)
                 .arg(sqlAddress)
                 .arg(100000 + i)
                 .arg(number(i % 60, 2))
                 .arg(i % 3600);
        s += QStringLiteral("INSERT INTO SYS.V_$SQLTEXT VALUES ('%1', %2, 3, 0,"
                            " 'SELECT ID, NAME, AMOUNT, REG_DATE FROM BIGAPP.T%3 WHERE ID ');\n")
                 .arg(sqlAddress)
                 .arg(100000 + i)
                 .arg(number(i % tableCount(size), 5));
        s += QStringLiteral("INSERT INTO SYS.V_$SQLTEXT VALUES ('%1', %2, 3, 1, '= :B1');\n")
                 .arg(sqlAddress)
                 .arg(100000 + i);
        if (i % 5 == 0)
            s += QStringLiteral("INSERT INTO SYS.V_$LOCK VALUES ('%1', '%1', %2, 'TX', %3, 0, 6,"
                                " 0, %4, 0);\n")
                     .arg(saddr)
                     .arg(sid)
                     .arg(600000 + i)
                     .arg(i % 900);
    }
    return s;
}

bool writeScript(const QDir& dir, const QString& name, const QString& text)
{
    QFile f(dir.filePath(name));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    return f.write(text.toUtf8()) >= 0 && f.flush();
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2 || args[1].startsWith(QLatin1String("--"))) {
        std::fprintf(stderr, "usage: big_demo FILE [--objects=N] [--sessions=N] [--columns=N]"
                             " [--tablespaces=N] [--datafiles=N] [--users=N]\n");
        return 2;
    }
    Size size;
    bool remakeUnreadable = false;
    for (const QString& a : args.mid(2)) {
        if (a == QLatin1String("--remake-unreadable")) {
            remakeUnreadable = true;
            continue;
        }
        const QString key = a.section(QLatin1Char('='), 0, 0);
        bool ok = false;
        const int value = a.section(QLatin1Char('='), 1).toInt(&ok);
        int* target = key == QLatin1String("--objects")       ? &size.objects
                      : key == QLatin1String("--sessions")    ? &size.sessions
                      : key == QLatin1String("--columns")     ? &size.columns
                      : key == QLatin1String("--tablespaces") ? &size.tablespaces
                      : key == QLatin1String("--datafiles")   ? &size.datafiles
                      : key == QLatin1String("--users")       ? &size.users
                                                              : nullptr;
        if (!target || !ok || value < 0) {
            std::fprintf(stderr, "big_demo: '%s' is not an option\n", qPrintable(a));
            return 2;
        }
        *target = value;
    }
    size.objects = qMax(size.objects, 10);
    size.tablespaces = qMax(size.tablespaces, 1);
    const QString file = QFileInfo(args[1]).absoluteFilePath();
    if (QFileInfo::exists(file)) {
        try {
            if (remakeUnreadable)
                EngineSession::open(file, QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"))
                    ->close();
            std::printf("%s exists; left as it is\n", qPrintable(file));
            return 0;
        } catch (const kolmara::db::DatabaseError& e) {
            std::printf("%s cannot be opened (%s); made anew\n", qPrintable(file),
                        qPrintable(e.message().section(QLatin1Char('\n'), -1)));
            for (const QString& f :
                 {file, file + QStringLiteral("-wal"), file + QStringLiteral("-shm")})
                QFile::remove(f);
        }
    }

    // The demo scripts first, then the big instance's, in file-name order.
    Q_INIT_RESOURCE(demo);
    QTemporaryDir scripts;
    const QDir from(QStringLiteral(":/demo"));
    const QDir to(scripts.path());
    for (const QString& name : from.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name))
        QFile::copy(from.filePath(name), to.filePath(name));
    QElapsedTimer timer;
    timer.start();
    if (!writeScript(to, QStringLiteral("90_big_storage.sql"), storageScript(size))
        || !writeScript(to, QStringLiteral("91_big_objects.sql"), objectScript(size))
        || !writeScript(to, QStringLiteral("92_big_accounts.sql"), accountScript(size))
        || !writeScript(to, QStringLiteral("93_big_sessions.sql"), sessionScript(size))) {
        std::fprintf(stderr, "big_demo: cannot write the scripts in %s\n", qPrintable(to.path()));
        return 1;
    }
    const double written = timer.restart() / 1000.0;
    kolmara::db::embedded::setSeedScriptFolderForTesting(to.path());
    kolmara::db::embedded::setEngineClockForTesting(
        [] { return QDateTime(QDate(2003, 5, 15), QTime(14, 0, 0)); });
    QDir().mkpath(QFileInfo(file).path());
    try {
        EngineSession::open(file, QStringLiteral("SYSTEM"), QStringLiteral("MANAGER"))->close();
    } catch (const kolmara::db::DatabaseError& e) {
        std::fprintf(stderr, "big_demo: %s\n", qPrintable(e.message()));
        return 1;
    }
    std::printf(
        "%s: %d objects of BIGAPP, a table of %d columns, %d accounts, %d sessions,"
        " %d tablespaces with %d datafiles (scripts %.1f s, database %.1f s, %.0f MB)\n",
        qPrintable(file), size.objects, size.columns, size.users, size.sessions, size.tablespaces,
        size.datafiles, written, timer.elapsed() / 1000.0, QFileInfo(file).size() / 1048576.0);
    return 0;
}
