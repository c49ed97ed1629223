// The embedded engine's database file: opening it with the checks that refuse a file of another
// format, program or state before anything is written, and creating a missing one from the
// catalogue and the seed scripts in a private file that is published in one step.
#include "db/embedded/EngineSupport.h"

#include "db/embedded/Catalogue.h"
#include "db/embedded/Engine.h"
#include "db/embedded/OraValues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sqlite3.h>

#ifndef _WIN32
#include <cerrno>
#include <signal.h>
#endif

// The demo instance's seed scripts are a resource of this module; naming its initialiser here
// also keeps it in programs that link the module from the static library.
static void initDemoScripts()
{
    Q_INIT_RESOURCE(demo);
}

namespace kolmara::db::embedded {

namespace {

QString& seedFolder()
{
    static QString folder = QStringLiteral(":/demo");
    return folder;
}

// The shape of the catalogue (kol_* tables, dictionary views, seeded fixed views) a database file
// was made with, kept in its header. Raise it whenever a change of the engine makes the files of
// the version before unreadable or wrong: such a file is refused with a clear message instead of
// being half-understood.
constexpr int kFileFormat = 2;

// Kolmara's mark in the header of every database file the engine makes ("KOLM"), so that another
// program's SQLite file is never taken for one of ours. Files made before the mark carry 0 and are
// recognised by their catalogue.
constexpr int kApplicationId = 0x4B4F4C4D;

// The database file a message names: a file being created is shown under the name it will have.
QString shownPath(const QString& file)
{
    static const QRegularExpression creation(QStringLiteral("\\.new-\\d+$"));
    QString path = QFileInfo(file).absoluteFilePath();
    path.remove(creation);
    return QDir::toNativeSeparators(path);
}

DatabaseError fileMessage(int code, const char* oracleText, const QString& text)
{
    return DatabaseError::withMessage(code, QStringLiteral("ORA-%1: %2\n")
                                                    .arg(code, 5, 10, QLatin1Char('0'))
                                                    .arg(QLatin1String(oracleText))
                                                + text);
}

}  // namespace

std::optional<DatabaseError> fileProblem(int rc, const QString& file, const QString& detail)
{
    const QString path = shownPath(file);
    switch (rc & 0xff) {
    case SQLITE_FULL:
        return fileMessage(1653, "unable to extend table",
                           QStringLiteral("디스크가 가득 차서 내장 데이터베이스 파일 %1 에 쓸 수 없습니다. "
                                          "디스크 공간을 비운 뒤 다시 하십시오.")
                               .arg(path));
    case SQLITE_READONLY:
        return fileMessage(372, "file cannot be modified at this time",
                           QStringLiteral("내장 데이터베이스 파일 %1 은(는) 읽기 전용입니다 (%2). Kolmara는 접속할 때마다 "
                                          "세션을 기록하므로, 그 파일과 폴더에 쓸 수 있어야 접속할 수 있습니다.")
                               .arg(path, detail));
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return fileMessage(1578, "ORACLE data block corrupted",
                           QStringLiteral("내장 데이터베이스 파일 %1 이(가) 손상되었습니다 (%2). 파일은 그대로 두었습니다. "
                                          "백업해 둔 파일로 바꾸어 복원하십시오.")
                               .arg(path, detail));
    case SQLITE_IOERR: {
        const bool reading = rc == SQLITE_IOERR_READ || rc == SQLITE_IOERR_SHORT_READ;
        return fileMessage(
            reading ? 1115 : 1114,
            reading ? "IO error reading block from file" : "IO error writing block to file",
            QStringLiteral("내장 데이터베이스 파일 %1 을(를) %2 입출력 오류가 났습니다 (%3).")
                .arg(path, reading ? QStringLiteral("읽다가") : QStringLiteral("쓰다가"), detail));
    }
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return fileMessage(27041, "unable to open file",
                           QStringLiteral("내장 데이터베이스 파일 %1 을(를) 열 수 없습니다 (%2).").arg(path, detail));
    default:
        return std::nullopt;
    }
}

namespace {

// Whether the file starts with SQLite's header, which tells a damaged database from some other
// file.
bool hasSqliteHeader(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) && f.read(16) == QByteArray("SQLite format 3", 16);
}

// Why a database file cannot be written, when the system says it cannot; empty when it can.
QString whyReadOnly(const QString& file)
{
    const QFileInfo info(file);
    if (info.exists() && !info.isWritable())
        return QStringLiteral("파일에 쓸 수 없습니다");
    const QFileInfo folder(info.absolutePath());
    if (!folder.isWritable())
        return QStringLiteral("폴더 %1 에 쓸 수 없습니다")
            .arg(QDir::toNativeSeparators(folder.absoluteFilePath()));
    return {};
}

// Refuses a file that is not a database of this engine's format, or that cannot be used, with a
// message naming the file; nothing is written to it first. Closes `db` before throwing.
void checkFileFormat(sqlite3* db, const QString& file)
{
    int failure = SQLITE_OK;
    QString failureText;
    auto number = [&](const char* sql) {
        int value = -1;
        if (failure != SQLITE_OK)
            return value;
        sqlite3_stmt* st = nullptr;
        int rc = sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
        if (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
            value = sqlite3_column_int(st, 0);
            rc = SQLITE_OK;
        }
        if (rc != SQLITE_OK) {
            failure = sqlite3_extended_errcode(db);
            failureText = QString::fromUtf8(sqlite3_errmsg(db));
        }
        sqlite3_finalize(st);
        return value;
    };
    const int application = number("PRAGMA application_id");
    const int version = number("PRAGMA user_version");
    const int catalogue = number("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name"
                                 " IN ('kol_users', 'kol_meta')");
    const bool readOnly = sqlite3_db_readonly(db, "main") == 1;
    if (failure == SQLITE_OK
        && (application == kApplicationId || (application == 0 && catalogue == 2))
        && version == kFileFormat && !readOnly)
        return;
    sqlite3_close(db);

    const QString path = shownPath(file);
    const int primary = failure & 0xff;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_PROTOCOL)
        throw fileMessage(54, "resource busy and acquire with NOWAIT specified",
                          QStringLiteral("내장 데이터베이스 파일 %1 을(를) 다른 프로그램이 %2초 넘게 잠그고 있어 열 수 없습니다. "
                                         "잠시 뒤 다시 접속하십시오.")
                              .arg(path)
                              .arg(kBusyTimeoutMs / 1000));
    // Reading a file in a folder that cannot be written may already fail: its shared-memory index
    // cannot be made there.
    const QString readOnlyBecause = whyReadOnly(file);
    if ((primary == SQLITE_CANTOPEN || primary == SQLITE_READONLY) && !readOnlyBecause.isEmpty())
        throw *fileProblem(SQLITE_READONLY, file, readOnlyBecause);
    QString foreign;
    if (primary == SQLITE_NOTADB && !hasSqliteHeader(file))
        foreign = QStringLiteral("SQLite 데이터베이스 파일이 아닙니다");
    else if (failure != SQLITE_OK)
        throw fileProblem(failure, file, failureText)
            .value_or(
                fileMessage(1034, "ORACLE not available",
                            QStringLiteral("내장 데이터베이스 파일 %1 을(를) 열 수 없습니다 (%2).")
                                .arg(path, failureText)));
    else if (QFileInfo(file).size() == 0)
        foreign = QStringLiteral("빈 파일입니다");
    else if (application != kApplicationId && application != 0)
        foreign = QStringLiteral("다른 프로그램의 SQLite 데이터베이스입니다");
    else if (application == 0 && catalogue != 2)
        foreign = QStringLiteral("Kolmara의 카탈로그가 없는 SQLite 데이터베이스입니다");
    if (!foreign.isEmpty())
        throw fileMessage(1034, "ORACLE not available",
                          QStringLiteral("파일 %1 은(는) Kolmara의 데이터베이스 파일이 아닙니다 (%2). 파일은 그대로 두었습니다. "
                                         "KOLMARA.INI의 [Embedded Databases]에 적힌 파일 이름을 확인하십시오.")
                              .arg(path, foreign));
    if (version != kFileFormat)
        throw fileMessage(
            1034, "ORACLE not available",
            QStringLiteral(
                "내장 데이터베이스 파일 %1 은(는) 이 버전의 Kolmara가 읽을 수 없습니다 (%2). "
                "파일은 그대로 두었습니다. 그 파일을 만든 버전의 Kolmara로 여십시오.")
                .arg(path, version < kFileFormat
                               ? QStringLiteral("이전 버전의 Kolmara가 만든 파일입니다")
                               : QStringLiteral("새 버전의 Kolmara가 만든 파일입니다")));
    throw *fileProblem(
        SQLITE_READONLY, file,
        readOnlyBecause.isEmpty() ? QStringLiteral("파일에 쓸 수 없습니다") : readOnlyBecause);
}

}  // namespace

sqlite3* openFile(const QString& file, bool create)
{
    // Nothing reads SQLite's memory statistics, and keeping them takes a process-wide lock at every
    // allocation. Only possible before SQLite's first use; later calls are refused, harmlessly.
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
        return true;
    }();
    Q_UNUSED(configured);
    sqlite3* db = nullptr;
    // A connection serves one thread at a time (db::Session refuses a call from a second thread
    // with ORA-03127, and a cancel only sets a flag the progress handler reads), so SQLite need not
    // lock it around every call: a row of many columns makes several calls a column.
    const int flags =
        SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    const int opened = sqlite3_open_v2(QFile::encodeName(file).constData(), &db, flags, nullptr);
    if (opened != SQLITE_OK) {
        const int rc = db ? sqlite3_extended_errcode(db) : opened;
        const QString detail = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(opened));
        sqlite3_close(db);
        throw fileProblem(rc, file, detail)
            .value_or(
                fileMessage(1034, "ORACLE not available",
                            QStringLiteral("내장 데이터베이스 파일 %1 을(를) 열 수 없습니다 (%2).")
                                .arg(shownPath(file), detail)));
    }
    sqlite3_extended_result_codes(db, 1);
    // Another program's transaction, or the checkpoint of its last closing session, holds the file
    // for a moment: every read waits for it, the check of the file's format included.
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // Nothing is written to a file until it is known to be one of ours.
    if (!create)
        checkFileFormat(db, file);
    // A double-quoted name is always an identifier, never a string, as on Oracle.
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA"
                     " case_sensitive_like=ON; PRAGMA trusted_schema=ON; PRAGMA foreign_keys=OFF;"
                     " PRAGMA recursive_triggers=ON",
                 nullptr, nullptr, nullptr);
    return db;
}

namespace {

// A finished database per seed folder and creation time, kept for the life of the process: a test
// suite that creates many demo instances at one fixed time seeds once and copies after that.
struct SeededCopies {
    QTemporaryDir dir;
    QHash<QString, QString> files;
};

SeededCopies& seededCopies()
{
    static SeededCopies copies;
    return copies;
}

void publish(const QString& temp, const QString& file)
{
    // A write-ahead log still beside a database that is gone (deleted or renamed by hand, perhaps
    // after its program was killed) belongs to that file: SQLite would replay it into the new one.
    if (!QFileInfo::exists(file)) {
        QFile::remove(file + QStringLiteral("-wal"));
        QFile::remove(file + QStringLiteral("-shm"));
    }
    // Publish the finished file in one step; a program that created it meanwhile wins.
    if (!QFile::rename(temp, file))
        QFile::remove(temp);
    QFile::remove(temp + QStringLiteral("-wal"));
    QFile::remove(temp + QStringLiteral("-shm"));
}

// A program killed while it created the database leaves its private file ("<file>.new-<pid>",
// perhaps with its -wal and -shm) behind. The next creation removes those of programs that no
// longer run, and any under this program's own id: a stale log must never be replayed into the
// new file.
void removeUnfinishedCreations(const QString& file)
{
    const QFileInfo target(file);
    const QString prefix = target.fileName() + QStringLiteral(".new-");
    static const QRegularExpression name(QStringLiteral("^(\\d+)(-wal|-shm|-journal)?$"));
    for (const QString& entry :
         target.absoluteDir().entryList({prefix + QLatin1Char('*')}, QDir::Files)) {
        const auto match = name.match(entry.mid(prefix.size()));
        if (!match.hasMatch())
            continue;
        const qint64 pid = match.captured(1).toLongLong();
        bool ended = pid == QCoreApplication::applicationPid();
#ifndef _WIN32
        ended = ended || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
#endif
        if (ended)
            QFile::remove(target.absoluteDir().filePath(entry));
    }
}

}  // namespace

void createDatabase(const QString& file)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    const QString temp = file + QStringLiteral(".new-%1").arg(QCoreApplication::applicationPid());
    removeUnfinishedCreations(file);
    initDemoScripts();
    const QDir dir(seedFolder());
    const QStringList scripts =
        dir.entryList({QStringLiteral("*.sql"), QStringLiteral("*.SQL")}, QDir::Files, QDir::Name);
    const QString key = (scripts.isEmpty() ? QString() : dir.absolutePath()) + QLatin1Char('|')
                        + dateText(engineNow());
    SeededCopies& copies = seededCopies();
    const QString seededCopy = copies.files.value(key);
    if (!seededCopy.isEmpty() && QFile::copy(seededCopy, temp)) {
        publish(temp, file);
        return;
    }
    sqlite3* db = openFile(temp, true);
    // The file is private until it is renamed into place and a failed seed throws it away: no
    // write-ahead log and no syncs while seeding; it becomes a WAL database before it is published.
    sqlite3_exec(db, "PRAGMA journal_mode=MEMORY; PRAGMA synchronous=OFF", nullptr, nullptr,
                 nullptr);
    {
        EngineSession sys(db, temp);
        sys.setBulkMode(true);
        try {
            sys.run(QStringLiteral("BEGIN IMMEDIATE"));
            bootstrapCatalogue(sys);
            sys.setUser(QStringLiteral("SYS"));
            for (const QString& name : scripts) {
                QFile f(dir.filePath(name));
                if (!f.open(QIODevice::ReadOnly))
                    continue;
                sys.runScript(QString::fromUtf8(f.readAll()));
            }
            completeCatalogue(sys);
            sys.run(QStringLiteral("PRAGMA user_version = %1").arg(kFileFormat));
            sys.run(QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId));
            sys.run(QStringLiteral("COMMIT"));
            sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        } catch (...) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            sys.close();
            QFile::remove(temp);
            QFile::remove(temp + QStringLiteral("-wal"));
            QFile::remove(temp + QStringLiteral("-shm"));
            throw;
        }
        sys.close();
    }
    if (copies.dir.isValid()) {
        const QString copy =
            copies.dir.filePath(QString::number(copies.files.size()) + QStringLiteral(".db"));
        if (QFile::copy(temp, copy))
            copies.files.insert(key, copy);
    }
    publish(temp, file);
}

void setSeedScriptFolderForTesting(const QString& folder)
{
    seedFolder() = folder.isEmpty() ? QStringLiteral(":/demo") : folder;
}

}  // namespace kolmara::db::embedded
