// The worksheets' statement history and its file.
#include "screens/worksheet/StatementHistory.h"

#include "common/KOLMCOMM.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSaveFile>

namespace kolmara::screens {

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// A password as the statement writes it: a quoted identifier, a string literal (VALUES), or a word
// up to a blank, a terminator or a quote (for CONNECT also up to the "@" of the service).
const QString kQuotedPassword = QStringLiteral("\"[^\"]*\"?|'(?:[^']|'')*'?");
const QString kPasswordToken =
    QStringLiteral("(?:") + kQuotedPassword + QStringLiteral("|[^\\s;\"']+)");
const QString kConnectPasswordToken =
    QStringLiteral("(?:") + kQuotedPassword + QStringLiteral("|[^\\s;\"'@]+)");

}  // namespace

StatementHistory& StatementHistory::instance()
{
    static StatementHistory history;
    return history;
}

QString StatementHistory::filePath()
{
    return QFileInfo(settingsFilePath()).absolutePath() + QStringLiteral("/KOLMHIST.JSONL");
}

QString StatementHistory::maskPasswords(const QString& sql)
{
    static const QRegularExpression identified(
        QStringLiteral("(\\bIDENTIFIED\\s+BY\\s+(?:VALUES\\s+)?)(") + kPasswordToken +
            QStringLiteral(")(?:(\\s+REPLACE\\s+)(") + kPasswordToken + QStringLiteral("))?"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression connect(
        QStringLiteral("^(\\s*CONN(?:ECT)?\\s+(?:\"[^\"]*\"|[^\\s/\"]+)/)(") +
            kConnectPasswordToken + QLatin1Char(')'),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    QString masked = sql;
    // From the end, so that the offsets of earlier matches hold.
    for (const QRegularExpression* pattern : {&identified, &connect}) {
        QList<QRegularExpressionMatch> matches;
        for (auto it = pattern->globalMatch(masked); it.hasNext();)
            matches.append(it.next());
        for (qsizetype m = matches.size() - 1; m >= 0; --m) {
            for (int group : {4, 2}) {
                if (group <= matches[m].lastCapturedIndex() && matches[m].capturedLength(group) > 0)
                    masked.replace(matches[m].capturedStart(group),
                                   matches[m].capturedLength(group), kMask);
            }
        }
    }
    return masked;
}

QList<HistoryEntry> StatementHistory::readFile(const QString& path, bool* read)
{
    QList<HistoryEntry> out;
    QFile file(path);
    *read = file.open(QIODevice::ReadOnly);
    if (!*read)
        return out;
    while (!file.atEnd()) {
        const QJsonObject o = QJsonDocument::fromJson(file.readLine()).object();
        HistoryEntry e;
        e.at = QDateTime::fromString(o.value(QStringLiteral("at")).toString(), kTimeFormat);
        e.login = o.value(QStringLiteral("login")).toString();
        // A file written before passwords were masked shows none of them either.
        e.sql = maskPasswords(o.value(QStringLiteral("sql")).toString());
        if (e.at.isValid() && !e.sql.isEmpty())
            out.append(e);
    }
    while (out.size() > kMaxEntries)
        out.removeFirst();
    return out;
}

const QList<HistoryEntry>& StatementHistory::entries()
{
    const QString path = filePath();
    bool read = false;
    QList<HistoryEntry> fromFile = readFile(path, &read);
    if (read)
        m_entries = std::move(fromFile);
    else if (path != m_loadedFrom)
        m_entries.clear();
    m_loadedFrom = path;
    return m_entries;
}

QString StatementHistory::add(const HistoryEntry& entry)
{
    // The file as it is now, with what another Kolmara added; where it cannot be read (not
    // written yet, or a write failed before), this run's own history.
    const QString path = filePath();
    QList<HistoryEntry> merged = entries();
    HistoryEntry added = entry;
    added.sql = maskPasswords(entry.sql);
    if (!merged.isEmpty() && merged.last().sql == added.sql && merged.last().login == added.login)
        merged.last().at = added.at;
    else
        merged.append(added);
    while (merged.size() > kMaxEntries)
        merged.removeFirst();
    m_entries = merged;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
#ifndef _WIN32
    // The statements are the user's own work on the database: for nobody else, whatever the
    // umask or the mode of the file replaced.
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#endif
    for (const HistoryEntry& e : std::as_const(m_entries)) {
        const QJsonObject o{{QStringLiteral("at"), e.at.toString(kTimeFormat)},
                            {QStringLiteral("login"), e.login},
                            {QStringLiteral("sql"), e.sql}};
        file.write(QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n');
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

}  // namespace kolmara::screens
