// Reads and writes one private-profile (INI) file with the rules of the Windows profile
// functions, so a settings file carried over from Windows reads and changes exactly as it did
// there. Names compare without regard to case; only whole-line ";" comments exist; the first of
// duplicate sections or keys wins; a write edits the file in place and leaves every line it does
// not change byte for byte as it was.
//
// Encoding: a file starting with FF FE is UTF-16LE; otherwise UTF-8 when the bytes are valid
// UTF-8 (an EF BB BF mark is allowed), CP949 when they are not. A write keeps the encoding the
// file was read in (characters CP949 cannot hold become '?'); a new file is UTF-8 without a mark.
// A stray last byte of a UTF-16 file (half a character) is ignored on read and dropped on write.
#pragma once

#include <QString>
#include <QStringList>

namespace kolmara {

// Every call reads the file afresh (no cache), as the platform does. Reads never fail: a missing
// or unreadable file reads like an empty one. Every change reaches the disk atomically (a
// temporary file "<name>.~write-<process id>" in the same folder, then a rename; stale ones of
// ended programs are removed by the next change), and a refused one throws SettingsError naming
// the file. Changes of several programs to one file at once are taken in turn (a lock around each
// read-modify-write), so none is lost; one that waits more than 10 s for its turn is refused.
class ProfileFile {
public:
    explicit ProfileFile(QString path);

    const QString& path() const { return m_path; }

    // section and key lose leading and trailing spaces (only spaces); the default loses trailing
    // spaces. A value held in one matching pair of quotes is returned without them.
    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue = QString()) const;

    // The value's leading decimal integer ("42abc" is 42, "abc" is 0), wrapped to 32 bits as
    // the platform does: "-1" and a default of -1 both give 4294967295. A missing or empty value
    // gives the default.
    quint32 readInt(const QString& section, const QString& key, qint32 defaultValue) const;

    // File order, duplicates included.
    QStringList sectionNames() const;
    // The key names of the first section of that name, in file order, duplicates included;
    // comment lines and lines without "=" are not keys.
    QStringList keyNames(const QString& section) const;

    // Replaces the first matching key's line in place, or adds "key=value" after the section's
    // last key, or adds the section at the end of the file. The value is written verbatim.
    void writeString(const QString& section, const QString& key, const QString& value);
    // Removes the key's line; the section's header stays even when it is left empty.
    void deleteKey(const QString& section, const QString& key);
    // Removes the section's header and its entries; comment and blank lines inside it stay.
    // Both deletes create an empty file when there is none.
    void deleteSection(const QString& section);

private:
    QString m_path;
};

}  // namespace kolmara
