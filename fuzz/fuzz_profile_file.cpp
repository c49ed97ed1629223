// The settings-file reader and writer on arbitrary files (any bytes: UTF-8, CP949, UTF-16 with
// odd lengths, stray CRs, headers without "]", duplicates) and one change picked by the input.
// Reading never fails or crashes; after a change the value written reads back as written, and
// every other section and key reads as before (checked where the file's encoding is not a guess:
// UTF-8 and UTF-16, since a change may tip a CP949 file that happens to look like UTF-8).
#include "common/Errors.h"
#include "common/ProfileFile.h"
#include "common/TextCodec.h"
#include "FuzzCheck.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include <fuzzer/FuzzedDataProvider.h>

using namespace kolmara;
using namespace kolmara::fuzz;

namespace {

const QString& iniPath()
{
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/kolmara-fuzz-XXXXXX")
                                    : QDir::temp().filePath(QStringLiteral("kolmara-fuzz-XXXXXX")));
    static const QString path = folder.filePath(QStringLiteral("KOLMARA.INI"));
    return path;
}

// Names and values from a small alphabet that still holds every character the format gives a
// meaning to, Hangul and quotes.
QString pick(FuzzedDataProvider& input, size_t longest)
{
    static const QString alphabet = QStringLiteral("aAbB0 =;[]\"'.\\/가나");
    QString text;
    for (const char c : input.ConsumeRandomLengthString(longest))
        text += alphabet[static_cast<unsigned char>(c) % alphabet.size()];
    return text;
}

QString trimmed(const QString& text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}

QString expectedRead(const QString& value)
{
    const QString v = trimmed(value);
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        return v.sliced(1, v.size() - 2);
    return v;
}

QString pairName(const QString& section, const QString& key)
{
    return section.toCaseFolded() + u'\n' + key.toCaseFolded();
}

// Every section and key that a caller can name, with the value it reads (the first of
// duplicates); *complete is false when there were too many to read them all.
QMap<QString, QStringList> everything(const ProfileFile& file, bool* complete)
{
    constexpr int kMost = 24;
    QMap<QString, QStringList> values;
    *complete = true;
    for (const QString& section : file.sectionNames()) {
        for (const QString& key : file.keyNames(section)) {
            const QString name = pairName(section, key);
            if (values.contains(name))
                continue;
            if (values.size() == kMost) {
                *complete = false;
                return values;
            }
            values.insert(name, {section, key, file.readString(section, key)});
            file.readInt(section, key, -1);
        }
    }
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const int change = input.ConsumeIntegralInRange(0, 3);
    const QString section = pick(input, 12);
    const QString key = pick(input, 12);
    const QString value = pick(input, 24);
    const std::string contents = input.ConsumeRemainingBytesAsString();
    const QByteArray bytes = bytesOf(contents);
    {
        QFile file(iniPath());
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate),
                   "the fuzz file can be written");
        file.write(bytes);
    }
    ProfileFile file(iniPath());
    bool complete = false;
    const QMap<QString, QStringList> before = everything(file, &complete);
    const bool sureOfEncoding = bytes.startsWith("\xFF\xFE") || isValidUtf8(bytes);

    // What a caller may pass: a section name without "]", a key that is no header, comment or
    // pair itself. Anything else is still written, only not checked.
    const QString sectionName = trimmed(section);
    const QString keyName = trimmed(key);
    const bool checkable = !sectionName.contains(u']') && !keyName.contains(u'=') &&
                           !keyName.startsWith(u'[') && !keyName.startsWith(u';');
    const QString changed = pairName(sectionName, keyName);
    const QString changedSection = pairName(sectionName, QString());
    try {
        switch (change) {
        case 0:
        case 1:
            file.writeString(section, key, value);
            if (checkable)
                FUZZ_CHECK(file.readString(section, key) == expectedRead(value),
                           "a written value reads back");
            break;
        case 2:
            file.deleteKey(section, key);
            break;
        default:
            file.deleteSection(section);
            break;
        }
    } catch (const SettingsError&) {
        FUZZ_CHECK(false, "a change of a writable file is not refused");
    }
    if (!checkable || !sureOfEncoding || !complete)
        return 0;
    for (auto it = before.begin(); it != before.end(); ++it) {
        const QStringList& pair = it.value();
        const bool touched =
            change == 3 ? it.key().startsWith(changedSection) : it.key() == changed;
        if (!touched)
            FUZZ_CHECK(file.readString(pair[0], pair[1]) == pair[2],
                       "a change leaves the other keys alone");
    }
    return 0;
}
