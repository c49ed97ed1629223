// The server backup job.
#include "data/ServerBackupJob.h"

#include "common/Errors.h"
#include "common/KOLMCOMM.h"
#include "data/QueryRunner.h"
#include "data/SharedSlots.h"
#include "data/TableDump.h"
#include "widgets/UiServices.h"

#include <QElapsedTimer>
#include <QScopeGuard>

namespace kolmara::data {

namespace {

constexpr qint64 kProgressIntervalMs = 100;

QString catalogueServer()
{
    return ConnServer.toUpper();
}

}  // namespace

QString elapsedMinutesText(const QString& serverNumber)
{
    // FormatAmount reads the server's own text ('.' before the fraction, whatever the desktop) and
    // answers in the PC's separators; a text already in the PC's format would not read back where
    // the PC writes ',' before the fraction.
    return FormatAmount(serverNumber, QStringLiteral("1"));
}

QString withServerMessage(const QString& status, const QString& message)
{
    if (message.isEmpty())
        return status;
    // A client's error of several lines stays on the status's one line.
    return status + QLatin1Char(' ') +
           QString(message)
               .replace(QStringLiteral("\r\n"), QStringLiteral(" "))
               .replace(QLatin1Char('\n'), QLatin1Char(' '));
}

ServerBackupJob::ServerBackupJob(db::Session& session) : m_session(session) {}

int ServerBackupJob::readDueTables()
{
    m_tables.clear();
    m_registrationRead.clear();
    Backupt1 = std::make_unique<HBACKUPT1>();
    RowCount = Backupt1->GetDueBackups(catalogueServer());
    for (int i = 0; i < RowCount; ++i) {
        JobTable t;
        t.account = Backupt1->slotText(1, i);
        t.table = Backupt1->slotText(2, i);
        t.tableName = Backupt1->slotText(3, i);
        t.cycle = Backupt1->slotText(4, i);
        t.hour = Backupt1->slotText(6, i);
        t.condition = Backupt1->slotText(7, i);
        m_tables.append(t);
    }
    Backupt1.reset();
    return RowCount;
}

int ServerBackupJob::readRegistration(int i)
{
    JobTable& t = m_tables[i];
    if (const auto read = m_registrationRead.constFind(t.account);
        read != m_registrationRead.constEnd()) {
        const JobTable& same = m_tables[read->first];
        t.registered = same.registered;
        t.password = same.password;
        t.userName = same.userName;
        t.takesPart = same.takesPart;
        SubRowCount = read->second;
        return SubRowCount;
    }
    Backust1 = std::make_unique<HBACKUST1>();
    SubRowCount = Backust1->GetBackupUser(catalogueServer(), t.account);
    // Without a registration the slots stay empty: no password, and no "Y".
    t.registered = SubRowCount > 0;
    t.password = Backust1->slotText(2);
    t.userName = Backust1->slotText(3);
    t.takesPart = Backust1->slotText(5);
    Backust1.reset();
    m_registrationRead.insert(t.account, {i, SubRowCount});
    return SubRowCount;
}

int ServerBackupJob::listDueTables()
{
    // The day is taken before the schedule is read, from the clock that decides which schedules
    // are due, so a run that begins just before midnight keeps the day its tables were due on.
    Oraclem1 = std::make_unique<HORACLEM1>();
    RowCount = Oraclem1->GetServerDate();
    const QDate serverDay = QDate::fromString(Oraclem1->slotText(0), QStringLiteral("yyyy-MM-dd"));
    Oraclem1.reset();
    m_day = serverDay.isValid() ? serverDay : ui::services().now().date();

    const int due = readDueTables();
    for (int i = 0; i < m_tables.size(); ++i)
        readRegistration(i);
    RowCount = due;
    return due;
}

void ServerBackupJob::disconnectSession()
{
    try {
        m_session.setConnected(false);
    } catch (const db::DatabaseError&) {
        // A connection that is already gone has nothing left to close.
    }
}

void ServerBackupJob::tableEnds(int i)
{
    if (onTableEnds)
        onTableEnds(i);
}

void ServerBackupJob::run(Mode mode)
{
    // An error that ends the job takes the dump query and the session it left connected with it.
    const auto disconnect = qScopeGuard([this] {
        SharedQuery3.reset();
        disconnectSession();
    });
    for (JobTable& t : m_tables) {
        t.outcome = t.takesPart == QLatin1String("Y") ? JobTable::Outcome::Pending
                                                      : JobTable::Outcome::NotTakingPart;
        t.selectText.clear();
        t.path.clear();
        t.error.clear();
        t.start = t.end = QDateTime();
        t.count = 0;
        t.minutes.clear();
    }
    for (int i = 0; i < m_tables.size(); ++i) {
        if (m_tables[i].outcome == JobTable::Outcome::NotTakingPart) {
            tableEnds(i);
            continue;
        }
        try {
            runTable(i, mode);
        } catch (const KolmaraError& e) {
            m_tables[i].outcome = JobTable::Outcome::Failed;
            m_tables[i].error = e.message();
            tableEnds(i);
            throw;
        }
    }
}

void ServerBackupJob::runTable(int i, Mode mode)
{
    JobTable& t = m_tables[i];
    if (onTableBegins)
        onTableBegins(i);
    Oraclem2 = std::make_unique<HORACLEM2>();
    RowCount = Oraclem2->GetTableColumns(t.account, t.table);
    if (RowCount <= 0) {
        Oraclem2.reset();
        t.outcome = JobTable::Outcome::NoColumns;
        tableEnds(i);
        return;
    }
    t.selectText =
        dumpSelectText(kJobDumpSelectHead, dumpColumns(*Oraclem2, RowCount), t.table, CfgDateTime);
    Oraclem2.reset();
    // Each account dumps into a folder of its own, so same-named tables of two accounts both keep
    // their file of the day.
    const QDate day = m_day.isValid() ? m_day : ui::services().now().date();
    const QString folder = dumpFolder(CfgBackupDrive, CfgBackupPath, t.account, day);
    t.path = dumpFile(folder, t.table);
    // The names are made file names, so this holds unless the settings themselves lead astray;
    // a dump is never written anywhere else.
    if (!liesInBackupFolder(t.path, CfgBackupDrive, CfgBackupPath)) {
        t.outcome = JobTable::Outcome::PathRefused;
        t.error =
            QStringLiteral("%1.%2: the dump file \"%3\" would lie outside the backup folder \"%4\"")
                .arg(t.account, t.table, t.path, CfgBackupDrive + CfgBackupPath);
        tableEnds(i);
        return;
    }
    if (mode == Mode::DryRun) {
        t.outcome = JobTable::Outcome::WouldDump;
        tableEnds(i);
        return;
    }
    dumpTable(i, folder);
}

void ServerBackupJob::dumpTable(int i, const QString& folder)
{
    JobTable& t = m_tables[i];
    if (onDumpBegins)
        onDumpBegins(i);
    ui::reportUnmadeFolders(ForceDirs(folder));

    // Every table logs in afresh, even after a table of the same account.
    disconnectSession();
    m_session.setServer(ConnServer);
    m_session.setUsername(t.account);
    m_session.setPassword(t.password);
    m_session.setConnectString(t.account + QLatin1Char('/') + t.password + QLatin1Char('@') +
                               ConnServer);
    m_session.setLoginPrompt(false);
    try {
        m_session.connect();
    } catch (const db::DatabaseError& e) {
        t.outcome = JobTable::Outcome::LoginRefused;
        t.error = e.message();
        tableEnds(i);
        return;
    }

    TableDump dump(t.path, t.selectText + QLatin1Char('\n') + t.condition,
                   dumpEncodingFromSetting(CfgDumpEncoding));
    int counted = 0;
    QElapsedTimer sinceProgress;
    dump.onStart = [&](const QDateTime& start) {
        t.start = start;
        if (onStart)
            onStart(i);
    };
    dump.onRowsCounted = [&](int rows) {
        counted = rows;
        if (onRowsCounted)
            onRowsCounted(i, rows);
        sinceProgress.start();
    };
    dump.onLine = [&](int written) {
        if (sinceProgress.elapsed() >= kProgressIntervalMs || written == counted) {
            if (onProgress)
                onProgress(i, written, counted, dump.lineText());
            sinceProgress.restart();
        }
    };
    SharedQuery3 = std::make_unique<db::Query>(&m_session);
    const TableDump::Outcome done = dump.run(*SharedQuery3);
    SharedQuery3.reset();

    t.count = done.written;
    if (done.written == 0) {
        t.outcome = JobTable::Outcome::NoRows;
        tableEnds(i);
        return;
    }
    t.end = done.end;
    const QString start = StripSeparators(shownStamp(t.start));
    const QString end = StripSeparators(shownStamp(t.end));
    Oraclem3 = std::make_unique<HORACLEM3>();
    AuxRowCount = Oraclem3->GetElapsedMinutes(start, end);
    if (AuxRowCount > 0)
        t.minutes = Oraclem3->slotText(0);
    Oraclem3.reset();
    if (onDumped)
        onDumped(i);

    BackupLogRow log;
    log.server = catalogueServer();
    log.account = t.account;
    log.table = t.table;
    log.startStamp = start;
    log.endStamp = end;
    log.tableName = t.tableName;
    log.cycle = t.cycle;
    log.ipName = LocalIp;
    log.condition = t.condition;
    log.path = t.path;
    log.count = done.written;
    RowCount = insertBackupLog(log);
    if (RowCount < 0) {
        t.outcome = JobTable::Outcome::LogFailed;
        t.error = QueryRunner::lastHandledError();
        tableEnds(i);
        return;
    }
    RowCount = stampLastBackup(catalogueServer(), t.account, t.table);
    t.outcome = RowCount < 0 ? JobTable::Outcome::StampFailed : JobTable::Outcome::Done;
    if (RowCount < 0)
        t.error = QueryRunner::lastHandledError();
    tableEnds(i);
}

}  // namespace kolmara::data
