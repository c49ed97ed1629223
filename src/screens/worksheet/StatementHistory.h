// The statements the worksheets ran, newest last: kept for the program's run and saved in
// KOLMHIST.JSONL beside KOLMARA.INI, one JSON object a line ({"at", "login", "sql"}), so a
// statement of any shape (several lines, quotes, a "/" line) comes back exactly as it was run.
// The file keeps the last kMaxEntries; an unreadable line is skipped, a file that cannot be
// written leaves the history of this run intact. No password is kept (see maskPasswords), and
// off Windows the file is readable by its owner alone (0600).
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace kolmara::screens {

struct HistoryEntry {
    QDateTime at;   // local time of the run
    QString login;  // "USER@SERVER"
    QString sql;
};

class StatementHistory {
public:
    static constexpr int kMaxEntries = 500;

    // The one history of the program.
    static StatementHistory& instance();

    // KOLMHIST.JSONL in the settings file's folder.
    static QString filePath();

    // The statement text with every password it holds replaced by kMask: the password (or the
    // VALUES literal) after IDENTIFIED BY, and the one after REPLACE that follows it, quoted or
    // not (ALTER USER, CREATE USER, CREATE DATABASE LINK ...), and that of a SQL*Plus CONNECT or
    // CONN line of a script ("CONNECT scott/tiger@orcl"). The mask is not a valid password, so a
    // statement taken back from the history fails instead of setting one.
    static QString maskPasswords(const QString& sql);
    static inline const QString kMask = QStringLiteral("********");

    // The entries, oldest first: the file's, read afresh on each call, or where it cannot be
    // read, what this run has added.
    const QList<HistoryEntry>& entries();

    // Adds an entry, its passwords masked (a repeat of the newest one only takes its time), and
    // saves the file, merged with what another Kolmara may have added meanwhile. Entries are masked
    // as they are read too, so a file written before masking loses its passwords here. Returns an
    // empty text, or why the file could not be written.
    QString add(const HistoryEntry& entry);

private:
    static QList<HistoryEntry> readFile(const QString& path, bool* read);

    QList<HistoryEntry> m_entries;
    QString m_loadedFrom;
};

}  // namespace kolmara::screens
