// The worksheets' statement history and its file.
#include "screens/worksheet/StatementHistory.h"

#include "common/KOLMCOMM.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace kolmara::screens {

namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

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
        e.sql = o.value(QStringLiteral("sql")).toString();
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
    if (!merged.isEmpty() && merged.last().sql == entry.sql && merged.last().login == entry.login)
        merged.last().at = entry.at;
    else
        merged.append(entry);
    while (merged.size() > kMaxEntries)
        merged.removeFirst();
    m_entries = merged;

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
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
