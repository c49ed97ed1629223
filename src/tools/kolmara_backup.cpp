// kolmara-backup SERVICE USER[/PASSWORD] [--hour HH] [--dry-run]: the server backup job without a
// window, for cron or the Windows Task Scheduler. It logs in as the main window does (the same
// KOLMARA.INI, common/Folders.h), takes the tables due today (with --hour only those whose stored
// hour code is HH) and runs the job of the server backup screen on them (data::ServerBackupJob):
// the same dump files, log rows and stamps. One line per table and a summary go to standard
// output; on a terminal a progress line shows the table being dumped, in cron nothing but the
// lines and the errors. Errors and what the program would show in a message box go to standard
// error.
//
// The password need not stand on the command line, where ps and the crontab show it: with USER
// alone it is the environment variable KOLMARA_PASSWORD when that is set and not empty, else the
// password of the first saved login of the connect dialog with this service and user (without
// regard to case) that keeps its password. A password given after the "/" is used as it stands.
//
// "Today" is the server's date when the job starts: the tables due on it are read once, and a run
// that goes on past midnight dumps them all into that day's folders.
//
// One run per service at a time: a run holds a lock on "kolmara-backup-SERVICE.lock" in the data
// folder (common/Folders.h; the service in upper case, as the catalogue names it) from before its
// login to its end, and a second run for the same service exits at once with code 5, before it
// logs in or writes anything, instead of dumping every table again and logging a second row for
// it. The lock goes with the process, however it ends. A dry run writes nothing and takes no lock.
//
// Exit codes: 0 every table taken was dumped (a table without rows counts: its empty file is
// written) or none was due; 1 a table failed or was not reached; 2 the command line is wrong, or
// USER came alone and no password was found for it; 3 the login failed (refused, or no server or
// Oracle client to reach); 4 the backup catalogue could not be read; 5 another run for the same
// service has not ended.
#include "common/Errors.h"
#include "common/Folders.h"
#include "common/KOLMCOMM.h"
#include "common/SavedLogins.h"
#include "data/QueryRunner.h"
#include "data/ServerBackupJob.h"
#include "data/SharedSlots.h"
#include "db/DatabaseError.h"
#include "db/Session.h"
#include "widgets/UiServices.h"

#ifdef KOLMARA_BACKUP_TEST_CLOCK
#include "db/embedded/Engine.h"
#endif

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <cerrno>
#include <cstdio>
#include <optional>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#define isatty _isatty
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

using namespace kolmara;
using data::JobTable;

namespace {

enum ExitCode {
    kAllDumped = 0,
    kTableFailed = 1,
    kUsage = 2,
    kLoginRefused = 3,
    kCatalogueUnreadable = 4,
    kAlreadyRunning = 5,
};

const char kUsageText[] =
    "사용법: kolmara-backup SERVICE USER/PASSWORD [--hour HH] [--dry-run]\n"
    "       kolmara-backup SERVICE USER [--hour HH] [--dry-run]\n"
    "  오늘 백업할 테이블을 서버백업작업 화면과 같이 백업합니다.\n"
    "  USER만 주면 암호는 환경변수 KOLMARA_PASSWORD에서, 없으면 접속하기 화면에\n"
    "  저장된 암호(Save This Password)에서 가져옵니다\n"
    "  --hour HH   백업시간 코드가 HH(01~24, 00은 24)인 테이블만 백업합니다\n"
    "  --dry-run   백업할 테이블과 파일만 보이고 아무것도 기록하지 않습니다\n"
    "  같은 SERVICE의 백업작업은 한 번에 하나만 실행됩니다 (--dry-run은 제외)\n"
    "종료 코드: 0 모두 완료, 1 실패하거나 백업하지 못한 테이블이 있음, 2 잘못된 명령이거나 암호 없음,\n"
    "           3 로그인 실패, 4 백업 카탈로그(BACKUP_TABLE)를 읽지 못함,\n"
    "           5 같은 SERVICE의 백업작업이 이미 실행중\n";

struct Options {
    QString service;
    QString user;
    QString password;
    bool passwordGiven = false;  // USER/PASSWORD, even with nothing after the "/"
    int hour = -1;  // 1 to 24; -1: every hour
    bool dryRun = false;
};

// An hour as cron writes it ("00" to "23") or as the schedule stores it ("01" to "24"); midnight is
// the stored code 24. -1 for anything else.
int hourCode(const QString& text)
{
    bool ok = false;
    const int hour = text.trimmed().toInt(&ok);
    if (!ok || hour < 0 || hour > 24 || text.trimmed().size() > 2)
        return -1;
    return hour == 0 ? 24 : hour;
}

bool parse(const QStringList& args, Options& options)
{
    QStringList positional;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--dry-run")) {
            options.dryRun = true;
        } else if (a == QLatin1String("--hour") || a.startsWith(QLatin1String("--hour="))) {
            const QString value = a.contains(QLatin1Char('='))
                                      ? a.section(QLatin1Char('='), 1)
                                      : (i + 1 < args.size() ? args[++i] : QString());
            options.hour = hourCode(value);
            if (options.hour < 0)
                return false;
        } else if (a.startsWith(QLatin1String("--"))) {
            return false;
        } else {
            positional.append(a);
        }
    }
    if (positional.size() != 2 || positional[0].isEmpty())
        return false;
    options.service = positional[0];
    const QString login = positional[1];
    const qsizetype slash = login.indexOf(QLatin1Char('/'));
    options.user = slash < 0 ? login : login.left(slash);
    options.password = slash < 0 ? QString() : login.mid(slash + 1);
    options.passwordGiven = slash >= 0;
    return !options.user.isEmpty();
}

// The progress line on a terminal, rewritten in place; anything else written clears it first.
class ProgressLine {
public:
    explicit ProgressLine(QTextStream& out) : m_out(out), m_terminal(isatty(fileno(stdout))) {}
    bool terminal() const { return m_terminal; }
    void show(const QString& text)
    {
        m_out << '\r' << text << "\033[K";
        m_out.flush();
        m_shown = true;
    }
    void clear()
    {
        if (m_shown) {
            m_out << "\r\033[K";
            m_out.flush();
        }
        m_shown = false;
    }

private:
    QTextStream& m_out;
    bool m_terminal;
    bool m_shown = false;
};

// What the program would show in a message box goes to standard error; the job asks no question
// and opens no dialog.
class ConsoleServices : public ui::UiServices {
public:
    ConsoleServices(QTextStream& err, ProgressLine& progress) : m_err(err), m_progress(progress) {}

    QMessageBox::StandardButton messageBox(QWidget*, const QString& caption, const QString& text,
                                           QMessageBox::Icon,
                                           QMessageBox::StandardButtons buttons) override
    {
        m_progress.clear();
        m_err << (caption == ui::kApplicationTitle ? text : caption + QStringLiteral(": ") + text)
              << Qt::endl;
        if (buttons & QMessageBox::Ok)
            return QMessageBox::Ok;
        return buttons & QMessageBox::No ? QMessageBox::No : QMessageBox::Cancel;
    }
    int execDialog(QDialog*) override { return 0; }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    void printerSetup(QWidget*) override {}
    QPrinter& printer() override
    {
        throw KolmaraError(QStringLiteral("kolmara-backup has no printer"));
    }
    // A job started by cron leaves the PC's clock alone.
    void setSystemClock(const QDateTime&) override {}
    QDateTime now() const override
    {
        return m_now.isValid() ? m_now : QDateTime::currentDateTime();
    }

    void fixNow(const QDateTime& now) { m_now = now; }

private:
    QTextStream& m_err;
    ProgressLine& m_progress;
    QDateTime m_now;
};

QString labelOf(const JobTable& t)
{
    QString label = t.account + QLatin1Char('.') + t.table;
    if (!t.tableName.isEmpty())
        label += QLatin1Char('(') + t.tableName + QLatin1Char(')');
    return label;
}

// The start of the last line: the server, the run's day and the hour taken.
QString heading(const data::ServerBackupJob& job, const Options& options)
{
    QString text = QStringLiteral("▶ ") + options.service.toUpper() + QLatin1Char(' ') +
                   job.day().toString(QStringLiteral("yyyy-MM-dd"));
    if (options.hour > 0)
        text += QStringLiteral(" %1시").arg(options.hour, 2, 10, QLatin1Char('0'));
    return text;
}

QString resultOf(const JobTable& t)
{
    const QString dumped = QStringLiteral(" (") + QString::number(t.count) +
                           QStringLiteral(" 건, ") + t.path + QLatin1Char(')');
    switch (t.outcome) {
    case JobTable::Outcome::Pending:
        return QStringLiteral("미실행: 작업이 중단되어 백업하지 않았습니다...");
    case JobTable::Outcome::NotTakingPart:
        if (!t.registered)
            return QStringLiteral("제외: 백업계정으로 등록되어 있지 않습니다...");
        return QStringLiteral("제외: 백업권한이 없습니다...") +
               (t.takesPart.isEmpty() ? QString()
                                      : QLatin1Char('(') + t.takesPart + QLatin1Char(')'));
    case JobTable::Outcome::NoColumns:
        return QStringLiteral("실패: ALL_TAB_COLUMNS ERROR ...(0)");
    case JobTable::Outcome::WouldDump:
        return QStringLiteral("예정: ") + t.path;
    case JobTable::Outcome::LoginRefused:
    case JobTable::Outcome::PathRefused:
    case JobTable::Outcome::Failed:
        return data::withServerMessage(QStringLiteral("실패:"), t.error);
    case JobTable::Outcome::NoRows:
        return QStringLiteral("자료없음: 백업할 자료가 없습니다..(0), ") + t.path;
    case JobTable::Outcome::Done:
        return QStringLiteral("완료: ") + QString::number(t.count) + QStringLiteral(" 건, ") +
               (t.minutes.isEmpty()
                    ? QString()
                    : data::elapsedMinutesText(t.minutes) + QStringLiteral(" 분, ")) +
               t.path;
    case JobTable::Outcome::LogFailed:
        return data::withServerMessage(QStringLiteral("실패: 백업로그 자료 생성이 에러 입니다..."),
                                       t.error) +
               dumped;
    case JobTable::Outcome::StampFailed:
        return data::withServerMessage(
                   QStringLiteral("실패: 백업테이블 백업일자 생성이 에러 입니다..."), t.error) +
               dumped;
    }
    return {};
}

// The job over the tables taken, with a line per table as each ends and a progress line on a
// terminal. Returns the exit code.
int runJob(data::ServerBackupJob& job, const Options& options, QTextStream& out,
           ProgressLine& progress)
{
    const int n = int(job.tables().size());
    auto prefix = [&](int i) {
        return QString::number(i + 1) + QLatin1Char('/') + QString::number(n) + QLatin1Char(' ') +
               labelOf(job.tables()[i]);
    };
    int lastLine = -1;
    auto line = [&](int i) {
        progress.clear();
        out << prefix(i) << QLatin1Char(' ') << resultOf(job.tables()[i]) << Qt::endl;
        lastLine = i;
    };
    if (progress.terminal()) {
        job.onDumpBegins = [&](int i) { progress.show(prefix(i) + QStringLiteral(" 백업중입니다...")); };
        job.onProgress = [&](int i, int written, int counted, const QString&) {
            progress.show(prefix(i) + QLatin1Char(' ') + QString::number(written) +
                          QStringLiteral(" / ") + QString::number(counted));
        };
    }
    job.onTableEnds = line;

    const auto mode =
        options.dryRun ? data::ServerBackupJob::Mode::DryRun : data::ServerBackupJob::Mode::Dump;
    try {
        job.run(mode);
    } catch (const KolmaraError&) {
        // The table that ended the job has its line with the error; the rest were not reached.
        for (int i = lastLine + 1; i < n; ++i)
            line(i);
    }

    int done = 0, empty = 0, failed = 0, pending = 0, skipped = 0, planned = 0;
    for (const JobTable& t : job.tables()) {
        switch (t.outcome) {
        case JobTable::Outcome::Done: ++done; break;
        case JobTable::Outcome::NoRows: ++empty; break;
        case JobTable::Outcome::WouldDump: ++planned; break;
        case JobTable::Outcome::NotTakingPart: ++skipped; break;
        case JobTable::Outcome::Pending: ++pending; break;
        default: ++failed; break;
        }
    }
    QString summary = heading(job, options);
    if (options.dryRun)
        summary += QStringLiteral(" 백업예정 %1, 실패 %2, 제외 %3 (전체 %4 건) - 기록한 것이 없습니다...")
                       .arg(planned).arg(failed).arg(skipped).arg(n);
    else
        summary += QStringLiteral(" 백업작업 종료: 완료 %1, 자료없음 %2, 실패 %3, 미실행 %4, 제외 %5 (전체 %6 건)")
                       .arg(done).arg(empty).arg(failed).arg(pending).arg(skipped).arg(n);
    out << summary << Qt::endl;
    return failed + pending > 0 ? kTableFailed : kAllDumped;
}

// The password of a login given without one: KOLMARA_PASSWORD, else the saved login's. False, with
// the reason on standard error, when there is neither.
bool findPassword(Options& options, QTextStream& err)
{
    if (options.passwordGiven)
        return true;
    options.password = passwordOffTheCommandLine(options.service, options.user);
    if (!options.password.isEmpty())
        return true;
    err << QStringLiteral("%1@%2 의 저장된 암호가 없습니다...").arg(options.user, options.service) << Qt::endl
        << QStringLiteral("암호는 USER/PASSWORD나 환경변수 KOLMARA_PASSWORD로 주거나, 접속하기 화면에서 "
                          "Save This Password를 선택하여 저장하십시오 (%1)")
               .arg(QDir::toNativeSeparators(settingsFilePath()))
        << Qt::endl;
    return false;
}

// The lock of one service's runs, held while the object lives and freed by the system when the
// process ends in any way, so no lock outlives its run.
class ServiceLock {
public:
    explicit ServiceLock(const QString& service)
        : m_path(dataFolder() + QStringLiteral("kolmara-backup-") + fileNameFor(service.toUpper()) +
                 QStringLiteral(".lock"))
    {
#ifdef _WIN32
        m_handle = CreateFileW(
            reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(m_path).utf16()),
            GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_handle != INVALID_HANDLE_VALUE)
            m_state = State::Held;
        else
            m_state = GetLastError() == ERROR_SHARING_VIOLATION ? State::Taken : State::Unavailable;
#else
        m_fd = ::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0) {
            m_reason = qt_error_string(errno);
            m_state = State::Unavailable;
        } else if (::flock(m_fd, LOCK_EX | LOCK_NB) == 0) {
            m_state = State::Held;
        } else {
            m_state = errno == EWOULDBLOCK ? State::Taken : State::Unavailable;
            m_reason = qt_error_string(errno);
        }
#endif
    }
    ~ServiceLock()
    {
#ifdef _WIN32
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
#else
        if (m_fd >= 0)
            ::close(m_fd);
#endif
    }
    ServiceLock(const ServiceLock&) = delete;
    ServiceLock& operator=(const ServiceLock&) = delete;

    // Held: this run is the service's only one. Taken: another run holds it. Unavailable: the lock
    // file cannot be opened or locked (a read-only data folder, a file system without locks).
    enum class State { Held, Taken, Unavailable };
    State state() const { return m_state; }
    const QString& path() const { return m_path; }
    const QString& reason() const { return m_reason; }

private:
    QString m_path;
    State m_state = State::Unavailable;
    QString m_reason;
#ifdef _WIN32
    HANDLE m_handle = INVALID_HANDLE_VALUE;
#else
    int m_fd = -1;
#endif
};

int backup(const Options& options, QTextStream& out, QTextStream& err, ProgressLine& progress)
{
    std::optional<ServiceLock> lock;
    if (!options.dryRun) {
        lock.emplace(options.service);
        if (lock->state() == ServiceLock::State::Taken) {
            err << QStringLiteral("%1 의 백업작업이 이미 실행중입니다... 끝난 뒤에 다시 실행하십시오 (%2)")
                       .arg(options.service.toUpper(), QDir::toNativeSeparators(lock->path()))
                << Qt::endl;
            return kAlreadyRunning;
        }
        // A lock that cannot be had must not cost the night's backup: the run goes on and says so.
        if (lock->state() == ServiceLock::State::Unavailable)
            err << QStringLiteral("다른 백업작업과의 동시 실행을 막지 못합니다: %1: %2")
                       .arg(QDir::toNativeSeparators(lock->path()), lock->reason())
                << Qt::endl;
    }

    LoadSettings();
    db::Session session;
    session.setLoginPrompt(false);
    try {
        session.connectReplacing(options.service, options.user, options.password);
    } catch (const db::DatabaseError& e) {
        err << e.message() << Qt::endl;
        return kLoginRefused;
    }
    ConnServer = options.service;
    ConnUser = options.user;
    ConnPassword = options.password;
    if (const QString warning = session.connectionInfo().warning; !warning.isEmpty())
        err << warning << Qt::endl;
    data::setMainSession(&session);

    db::Session jobSession;
    data::ServerBackupJob job(jobSession);
    int code = kAllDumped;
    try {
        const int due = job.listDueTables();
        if (due < 0) {
            err << data::withServerMessage(QStringLiteral("BACKUP_TABLE ERROR ...(%1)").arg(due),
                                           data::QueryRunner::lastHandledError())
                << Qt::endl;
            code = kCatalogueUnreadable;
        } else {
            if (options.hour > 0)
                job.tables().removeIf(
                    [&](const JobTable& t) { return hourCode(t.hour) != options.hour; });
            if (job.tables().isEmpty()) {
                out << heading(job, options) << QStringLiteral(" 백업대상 테이블이 없습니다...") << Qt::endl;
            } else {
                code = runJob(job, options, out, progress);
            }
        }
    } catch (const KolmaraError& e) {
        // A registration or the server's date that could not be read: the catalogue is not usable.
        err << e.message() << Qt::endl;
        code = kCatalogueUnreadable;
    }
    data::releaseSharedObjects();
    data::setMainSession(nullptr);
    try {
        session.disconnect();
    } catch (const KolmaraError& e) {
        err << e.message() << Qt::endl;
    }
    return code;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    ProgressLine progress(out);
    ConsoleServices console(err, progress);
    ui::ScopedUiServices services(console);
#ifdef KOLMARA_BACKUP_TEST_CLOCK
    // Test builds only: KOLMARA_TEST_NOW (yyyy-MM-ddTHH:mm:ss) stands this PC's clock and the
    // embedded engine's still.
    if (const QDateTime now =
            QDateTime::fromString(qEnvironmentVariable("KOLMARA_TEST_NOW"), Qt::ISODate);
        now.isValid()) {
        console.fixNow(now);
        db::embedded::setEngineClockForTesting([now] { return now; });
    }
#endif
    Options options;
    const QStringList args = app.arguments();
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        out << QString::fromUtf8(kUsageText);
        return kAllDumped;
    }
    if (!parse(args, options)) {
        err << QString::fromUtf8(kUsageText);
        return kUsage;
    }
    try {
        if (!findPassword(options, err))
            return kUsage;
        return backup(options, out, err, progress);
    } catch (const std::exception& e) {
        err << QString::fromUtf8(e.what()) << Qt::endl;
        return kTableFailed;
    }
}
