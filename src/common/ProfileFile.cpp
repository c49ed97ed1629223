// The file is split into lines on its raw bytes (CR LF, a bare CR and a bare LF all end a
// line), each line keeps its own bytes and line end, and only the decoded text is interpreted.
// Writing puts the untouched lines' bytes back as they were and encodes only the lines it
// produces. Splitting on raw bytes is safe for every encoding read here: CR and LF never occur
// inside a UTF-8 or CP949 character, and UTF-16 is split on whole code units.
#include "common/ProfileFile.h"

#include "common/Errors.h"
#include "common/Folders.h"
#include "common/TextCodec.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>

#include <optional>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <QElapsedTimer>
#include <QThread>

namespace kolmara {

namespace {

enum class Encoding { Utf8, Utf16Le, Cp949 };

enum class LineKind { Blank, Comment, Header, Key, Other };

struct Line {
    QByteArray content;  // raw bytes without the line end
    QByteArray end;      // raw line end; empty only on a last line that has none
    LineKind kind = LineKind::Blank;
    QString name;   // section name of a header, key name of a key line
    QString value;  // a key line's value, blanks trimmed, quotes still on
};

struct Document {
    bool exists = false;
    Encoding encoding = Encoding::Utf8;
    QByteArray mark;  // byte-order mark, written back unchanged
    QList<Line> lines;

    bool hasBytes() const { return !mark.isEmpty() || !lines.isEmpty(); }
};

// Space, TAB and VT: what the platform strips from names and values in the file.
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v';
}

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin).toString();
}

// Section and key arguments lose spaces only: a TAB at either end is kept and makes the name
// miss, as it does on the platform.
QString trimSpaces(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

QString trimTrailingSpaces(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == u' ')
        --end;
    return text.left(end);
}

QString unquote(const QString& value)
{
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString decodeText(const QByteArray& bytes, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf16Le: {
        QStringDecoder decoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
        return decoder.decode(bytes);
    }
    case Encoding::Cp949:
        return decodeCp949(bytes);
    case Encoding::Utf8:
        break;
    }
    return QString::fromUtf8(bytes);
}

QByteArray encodeText(const QString& text, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf16Le: {
        QStringEncoder encoder(QStringConverter::Utf16LE, QStringConverter::Flag::Stateless);
        return encoder.encode(text);
    }
    case Encoding::Cp949:
        return encodeCp949(text);
    case Encoding::Utf8:
        break;
    }
    return text.toUtf8();
}

void classify(Line& line, Encoding encoding)
{
    const QString text = decodeText(line.content, encoding);
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i == text.size()) {
        line.kind = LineKind::Blank;
    } else if (text[i] == u'[') {
        // The name ends at the first ']' (or the line's end); the rest of the line is ignored.
        const qsizetype close = text.indexOf(u']', i + 1);
        const qsizetype end = close < 0 ? text.size() : close;
        line.kind = LineKind::Header;
        line.name = trimBlanks(QStringView(text).sliced(i + 1, end - i - 1));
    } else if (text[i] == u';') {
        line.kind = LineKind::Comment;
    } else if (const qsizetype eq = text.indexOf(u'=', i); eq >= 0) {
        line.kind = LineKind::Key;
        line.name = trimBlanks(QStringView(text).sliced(i, eq - i));
        line.value = trimBlanks(QStringView(text).sliced(eq + 1));
    } else {
        line.kind = LineKind::Other;
    }
}

QList<Line> splitLines(const QByteArray& body, Encoding encoding)
{
    const qsizetype unit = encoding == Encoding::Utf16Le ? 2 : 1;
    const auto unitAt = [&](qsizetype pos) -> int {
        if (pos + unit > body.size())
            return -1;
        const auto low = static_cast<unsigned char>(body[pos]);
        return unit == 1 ? low : low | static_cast<unsigned char>(body[pos + 1]) << 8;
    };
    QList<Line> lines;
    qsizetype start = 0;
    qsizetype pos = 0;
    while (pos < body.size()) {
        const int c = unitAt(pos);
        if (c != '\r' && c != '\n') {
            pos += c < 0 ? body.size() - pos : unit;
            continue;
        }
        qsizetype endLength = unit;
        if (c == '\r' && unitAt(pos + unit) == '\n')
            endLength = 2 * unit;
        Line line;
        line.content = body.sliced(start, pos - start);
        line.end = body.sliced(pos, endLength);
        lines.append(line);
        pos += endLength;
        start = pos;
    }
    if (start < body.size()) {
        Line line;
        line.content = body.sliced(start);
        lines.append(line);
    }
    for (Line& line : lines)
        classify(line, encoding);
    return lines;
}

Document parse(const QByteArray& bytes)
{
    static const QByteArray kUtf16LeMark("\xFF\xFE", 2);
    static const QByteArray kUtf8Mark("\xEF\xBB\xBF", 3);
    Document doc;
    doc.exists = true;
    if (bytes.startsWith(kUtf16LeMark)) {
        doc.encoding = Encoding::Utf16Le;
        doc.mark = kUtf16LeMark;
    } else if (bytes.startsWith(kUtf8Mark) && isValidUtf8(bytes)) {
        doc.encoding = Encoding::Utf8;
        doc.mark = kUtf8Mark;
    } else {
        // Korean text in CP949 is practically never valid UTF-8, so valid means UTF-8.
        doc.encoding = isValidUtf8(bytes) ? Encoding::Utf8 : Encoding::Cp949;
    }
    QByteArray body = bytes.sliced(doc.mark.size());
    // A stray last byte of a UTF-16 file is half a character that no reader can decode; it is
    // left out here, so a write neither keeps it nor shifts the lines it adds off the 2-byte grid.
    if (doc.encoding == Encoding::Utf16Le && body.size() % 2 != 0)
        body.chop(1);
    doc.lines = splitLines(body, doc.encoding);
    return doc;
}

[[noreturn]] void throwRefused(const QString& path, const QString& reason)
{
    throw SettingsError(QStringLiteral("Cannot write the settings file %1: %2")
                            .arg(QDir::toNativeSeparators(path), reason));
}

// A file that cannot be opened reads like a missing one, as on the platform. Before a change it
// must not: rewriting it from nothing would lose its contents.
Document load(const QString& path, bool forChange)
{
    QFile file(path);
    if (!QFileInfo::exists(path))
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        if (forChange)
            throwRefused(path, file.errorString());
        return {};
    }
    return parse(file.readAll());
}

// A change is written to "<file>.~write-<process id>" in the same folder and then renamed over
// the file, so the file is always whole: the old contents or the new. A write that was cut short
// (the program killed, the machine off) leaves that temporary file behind; the next write removes
// those of its own file whose program no longer runs or that are older than any write can take.
const QString kTemporaryTag = QStringLiteral(".~write-");

bool processRuns(qint64 pid)
{
#ifdef _WIN32
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process)
        return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
#else
    return ::kill(pid_t(pid), 0) == 0 || errno != ESRCH;
#endif
}

void removeStaleTemporaryFiles(const QFileInfo& target)
{
    constexpr qint64 kStaleAfterSeconds = 60;
    const QString prefix = target.fileName() + kTemporaryTag;
    const QDateTime staleBefore = QDateTime::currentDateTimeUtc().addSecs(-kStaleAfterSeconds);
    const QStringList names =
        target.absoluteDir().entryList({prefix + u'*'}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        bool isPid = false;
        const qint64 pid = name.sliced(prefix.size()).toLongLong(&isPid);
        if (!isPid || pid <= 0)
            continue;
        const QFileInfo file(target.absoluteDir().filePath(name));
        if (pid == QCoreApplication::applicationPid() || !processRuns(pid) ||
            file.lastModified().toUTC() < staleBefore)
            QFile::remove(file.absoluteFilePath());
    }
}

// Replaces the file at `to` by the file at `from` in one step.
bool replaceFile(const QString& from, const QString& to)
{
#ifdef _WIN32
    return MoveFileExW(reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t*>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

// A settings file that is a link to another file changes that file, not the link.
QFileInfo changedFile(const QString& path)
{
    QFileInfo target(path);
    if (target.isSymLink() && target.exists())
        target = QFileInfo(target.canonicalFilePath());
    return target;
}

// Held around each read-modify-write of a file, so that two programs changing the same file at
// once (two DBAs' windows on a shared folder, a window and the backup job) both get their change
// in: without it the later rename would put back the earlier reader's copy and lose the other
// change. Readers take no lock; the rename keeps every read whole. The lock belongs to the
// open handle, so a program that dies holding it frees it at once: off Windows a lock on the
// file's folder (no file of its own to leave behind), on Windows a hidden "<file>.~lock" opened
// for nobody else and deleted when its handle closes. A folder that cannot be opened for the lock
// is changed without it: the write itself still replaces the file whole.
class WriteLock {
public:
    explicit WriteLock(const QString& path)
    {
        // Far longer than any change of a settings file takes; a program stopped while holding
        // the lock must not hang this one for ever.
        constexpr int kWaitMs = 10000;
        const QFileInfo target = changedFile(path);
        QElapsedTimer waited;
        waited.start();
#ifdef _WIN32
        const QString lockPath =
            QDir::toNativeSeparators(target.absoluteFilePath() + QStringLiteral(".~lock"));
        for (;;) {
            m_handle = CreateFileW(reinterpret_cast<const wchar_t*>(lockPath.utf16()),
                                   GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                   FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
            if (m_handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION)
                break;
            if (waited.elapsed() > kWaitMs)
                throwBusy(path);
            QThread::msleep(5);
        }
#else
        m_folder = ::open(QFile::encodeName(target.absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_folder < 0)
            return;
        while (::flock(m_folder, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) {
                // A file system without locks: changed without one.
                ::close(m_folder);
                m_folder = -1;
                return;
            }
            if (waited.elapsed() > kWaitMs) {
                ::close(m_folder);
                m_folder = -1;
                throwBusy(path);
            }
            QThread::msleep(2);
        }
#endif
    }
    ~WriteLock()
    {
#ifdef _WIN32
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
#else
        if (m_folder >= 0)
            ::close(m_folder);
#endif
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

private:
    [[noreturn]] static void throwBusy(const QString& path)
    {
        throwRefused(path, QStringLiteral("another program has been changing it for too long"));
    }

#ifdef _WIN32
    HANDLE m_handle = INVALID_HANDLE_VALUE;
#else
    int m_folder = -1;
#endif
};

void save(const QString& path, const Document& doc)
{
    // The file read in place of a user's own settings is never changed (common/Folders.h).
    if (const QString refusal = settingsSaveRefusal(path); !refusal.isEmpty())
        throw SettingsError(refusal);
    QByteArray bytes = doc.mark;
    for (const Line& line : doc.lines)
        bytes += line.content + line.end;

    const QFileInfo target = changedFile(path);
    removeStaleTemporaryFiles(target);
    const QString temporaryPath = target.absoluteFilePath() + kTemporaryTag +
                                  QString::number(QCoreApplication::applicationPid());
    QFile temporary(temporaryPath);
    if (!temporary.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throwRefused(path, temporary.errorString());
#ifndef _WIN32
    // The file keeps saved passwords: the replacement has the mode of the file it replaces, and a
    // new file is for its owner alone, before the first byte is in it.
    struct stat existing {};
    const bool exists =
        ::stat(QFile::encodeName(target.absoluteFilePath()).constData(), &existing) == 0;
    ::fchmod(temporary.handle(), exists ? (existing.st_mode & 07777) : (S_IRUSR | S_IWUSR));
#endif
    const bool written = temporary.write(bytes) == bytes.size() && temporary.flush()
#ifndef _WIN32
                         && ::fsync(temporary.handle()) == 0
#endif
        ;
    const QString writeError = temporary.errorString();
    temporary.close();
#ifdef _WIN32
    if (target.exists())
        QFile::setPermissions(temporaryPath, target.permissions());
#endif
    if (!written || !replaceFile(temporaryPath, target.absoluteFilePath())) {
        const QString reason = written ? qt_error_string() : writeError;
        QFile::remove(temporaryPath);
        throwRefused(path, reason);
    }
}

Line makeLine(const QString& text, Encoding encoding)
{
    Line line;
    line.content = encodeText(text, encoding);
    line.end = encodeText(QStringLiteral("\r\n"), encoding);
    classify(line, encoding);
    return line;
}

void ensureLineEnd(Document& doc, qsizetype index)
{
    if (doc.lines[index].end.isEmpty())
        doc.lines[index].end = encodeText(QStringLiteral("\r\n"), doc.encoding);
}

std::optional<qsizetype> findSection(const Document& doc, const QString& section)
{
    for (qsizetype i = 0; i < doc.lines.size(); ++i) {
        if (doc.lines[i].kind == LineKind::Header && sameName(doc.lines[i].name, section))
            return i;
    }
    return std::nullopt;
}

// One past the section's last line: the next header or the end of the file.
qsizetype sectionEnd(const Document& doc, qsizetype header)
{
    qsizetype i = header + 1;
    while (i < doc.lines.size() && doc.lines[i].kind != LineKind::Header)
        ++i;
    return i;
}

std::optional<qsizetype> findKey(const Document& doc, qsizetype header, const QString& key)
{
    const qsizetype end = sectionEnd(doc, header);
    for (qsizetype i = header + 1; i < end; ++i) {
        if (doc.lines[i].kind == LineKind::Key && sameName(doc.lines[i].name, key))
            return i;
    }
    return std::nullopt;
}

const Line* findEntry(const Document& doc, const QString& section, const QString& key)
{
    const auto header = findSection(doc, trimSpaces(section));
    if (!header)
        return nullptr;
    const auto index = findKey(doc, *header, trimSpaces(key));
    return index ? &doc.lines[*index] : nullptr;
}

}  // namespace

ProfileFile::ProfileFile(QString path) : m_path(std::move(path)) {}

QString ProfileFile::readString(const QString& section, const QString& key,
                                const QString& defaultValue) const
{
    const Document doc = load(m_path, false);
    if (const Line* entry = findEntry(doc, section, key))
        return unquote(entry->value);
    return trimTrailingSpaces(defaultValue);
}

quint32 ProfileFile::readInt(const QString& section, const QString& key, qint32 defaultValue) const
{
    const Document doc = load(m_path, false);
    const Line* entry = findEntry(doc, section, key);
    const QString value = entry ? unquote(entry->value) : QString();
    if (value.isEmpty())
        return static_cast<quint32>(defaultValue);
    qsizetype i = 0;
    const bool negative = value[0] == u'-';
    if (negative || value[0] == u'+')
        ++i;
    // Unsigned arithmetic wraps modulo 2^32, which is what the platform returns on overflow.
    quint32 result = 0;
    for (; i < value.size() && value[i] >= u'0' && value[i] <= u'9'; ++i)
        result = result * 10u + static_cast<quint32>(value[i].unicode() - u'0');
    return negative ? 0u - result : result;
}

QStringList ProfileFile::sectionNames() const
{
    QStringList names;
    for (const Line& line : load(m_path, false).lines) {
        if (line.kind == LineKind::Header)
            names.append(line.name);
    }
    return names;
}

QStringList ProfileFile::keyNames(const QString& section) const
{
    const Document doc = load(m_path, false);
    QStringList names;
    const auto header = findSection(doc, trimSpaces(section));
    if (!header)
        return names;
    const qsizetype end = sectionEnd(doc, *header);
    for (qsizetype i = *header + 1; i < end; ++i) {
        if (doc.lines[i].kind == LineKind::Key)
            names.append(doc.lines[i].name);
    }
    return names;
}

void ProfileFile::writeString(const QString& section, const QString& key, const QString& value)
{
    const WriteLock lock(m_path);
    Document doc = load(m_path, true);
    const QString sectionName = trimSpaces(section);
    const QString keyName = trimSpaces(key);
    const auto header = findSection(doc, sectionName);
    if (!header) {
        // A file that does not end with a line break (a bare byte-order mark included) gets one
        // first, so the new header starts a line of its own.
        if (doc.hasBytes()) {
            if (doc.lines.isEmpty())
                doc.lines.append(makeLine(QString(), doc.encoding));
            else
                ensureLineEnd(doc, doc.lines.size() - 1);
        }
        doc.lines.append(makeLine(u'[' + sectionName + u']', doc.encoding));
        doc.lines.append(makeLine(keyName + u'=' + value, doc.encoding));
    } else if (const auto index = findKey(doc, *header, keyName)) {
        doc.lines[*index] = makeLine(doc.lines[*index].name + u'=' + value, doc.encoding);
    } else {
        // After the last key line, so comments and blank lines that close the section stay
        // below the keys; directly under the header when the section has no keys.
        qsizetype after = *header;
        const qsizetype end = sectionEnd(doc, *header);
        for (qsizetype i = *header + 1; i < end; ++i) {
            if (doc.lines[i].kind == LineKind::Key)
                after = i;
        }
        ensureLineEnd(doc, after);
        doc.lines.insert(after + 1, makeLine(keyName + u'=' + value, doc.encoding));
    }
    save(m_path, doc);
}

void ProfileFile::deleteKey(const QString& section, const QString& key)
{
    const WriteLock lock(m_path);
    Document doc = load(m_path, true);
    if (!doc.exists) {
        save(m_path, doc);
        return;
    }
    const auto header = findSection(doc, trimSpaces(section));
    if (!header)
        return;
    const auto index = findKey(doc, *header, trimSpaces(key));
    if (!index)
        return;
    doc.lines.removeAt(*index);
    save(m_path, doc);
}

void ProfileFile::deleteSection(const QString& section)
{
    const WriteLock lock(m_path);
    Document doc = load(m_path, true);
    if (!doc.exists) {
        save(m_path, doc);
        return;
    }
    const auto header = findSection(doc, trimSpaces(section));
    if (!header)
        return;
    // One pass over the lines: removing them one by one would move the rest of a big file for
    // every key of the section.
    const qsizetype end = sectionEnd(doc, *header);
    QList<Line> kept;
    kept.reserve(doc.lines.size());
    for (qsizetype i = 0; i < doc.lines.size(); ++i) {
        const LineKind kind = doc.lines[i].kind;
        if (i < *header || i >= end || kind == LineKind::Comment || kind == LineKind::Blank)
            kept.append(std::move(doc.lines[i]));
    }
    doc.lines = std::move(kept);
    save(m_path, doc);
}

}  // namespace kolmara
