// Code page 949 through the Unicode library Qt is built with; where it lacks the converter, the
// platform's own (the Windows code-page API, or iconv elsewhere).
//
// The converter is asked for as "windows-949": in ICU the shorter alias "CP949" names IBM's
// code page 949, whose Hangul layout differs from the Windows one for thousands of syllables.
#include "common/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace kolmara {

namespace {

constexpr const char* kUnicodeLibraryName = "windows-949";

bool unicodeLibraryHasCp949()
{
    static const bool available = QStringDecoder(kUnicodeLibraryName).isValid();
    return available;
}

#ifndef _WIN32
class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (isValid())
            iconv_close(m_cd);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool isValid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t handle() const { return m_cd; }

private:
    iconv_t m_cd;
};

int utf8SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    return 2;
}
#endif

// The characters the Unicode library leaves out, rather than writing '?', when the code page
// has no place for them: its "default ignorable" ones (format controls, variation selectors,
// fillers, and the unassigned places among them), and to be safe any other format control. A few
// of them have a place in CP949 and keep it.
bool mayBeDroppedByUnicodeLibrary(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return false;
    const auto in = [u](char16_t first, char16_t last) { return u >= first && u <= last; };
    return u == 0x00AD || u == 0x034F || u == 0x061C || in(0x115F, 0x1160) || in(0x17B4, 0x17B5) ||
           in(0x180B, 0x180F) || in(0x200B, 0x200F) || in(0x202A, 0x202E) || in(0x2060, 0x206F) ||
           u == 0x3164 || in(0xFE00, 0xFE0F) || u == 0xFEFF || u == 0xFFA0 || in(0xFFF0, 0xFFF8) ||
           c.category() == QChar::Other_Format;
}

// text holds no surrogates; each character yields one or two bytes.
QByteArray encodeBmpRun(QStringView text)
{
    if (text.isEmpty())
        return {};
    if (unicodeLibraryHasCp949()) {
        QStringEncoder encoder(kUnicodeLibraryName, QStringConverter::Flag::Stateless);
        QByteArray out;
        qsizetype runStart = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (!mayBeDroppedByUnicodeLibrary(text[i]))
                continue;
            out += encoder.encode(text.sliced(runStart, i - runStart));
            const QByteArray own = encoder.encode(text.sliced(i, 1));
            out += own.isEmpty() ? QByteArray("?") : own;
            runStart = i + 1;
        }
        out += encoder.encode(text.sliced(runStart));
        return out;
    }
#ifdef _WIN32
    const int size = static_cast<int>(text.size());
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const char fallback = '?';
    const int needed = WideCharToMultiByte(949, WC_NO_BEST_FIT_CHARS, wide, size, nullptr, 0,
                                           &fallback, nullptr);
    QByteArray out(needed, Qt::Uninitialized);
    WideCharToMultiByte(949, WC_NO_BEST_FIT_CHARS, wide, size, out.data(), needed, &fallback,
                        nullptr);
    return out;
#else
    return detail::encodeCp949Iconv(text.toString());
#endif
}

}  // namespace

#ifndef _WIN32
namespace detail {

QString decodeCp949Iconv(const QByteArray& bytes)
{
    Iconv cd("UTF-8", "CP949");
    if (!cd.isValid())
        return QString::fromLatin1(bytes);
    QByteArray in = bytes;
    QByteArray out(in.size() * 4 + 4, Qt::Uninitialized);
    char* inPtr = in.data();
    size_t inLeft = static_cast<size_t>(in.size());
    char* outPtr = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    const QByteArray replacement = QStringLiteral(u"\uFFFD").toUtf8();
    while (inLeft > 0) {
        if (iconv(cd.handle(), &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1))
            break;
        // EILSEQ skips the one bad byte; EINVAL is a sequence cut off at the end.
        const size_t skip = errno == EINVAL ? inLeft : 1;
        if (outLeft < static_cast<size_t>(replacement.size()))
            break;
        memcpy(outPtr, replacement.constData(), replacement.size());
        outPtr += replacement.size();
        outLeft -= replacement.size();
        inPtr += skip;
        inLeft -= skip;
    }
    out.truncate(static_cast<qsizetype>(outPtr - out.data()));
    return QString::fromUtf8(out);
}

QByteArray encodeCp949Iconv(const QString& text)
{
    Iconv cd("CP949", "UTF-8");
    QByteArray in = text.toUtf8();
    if (!cd.isValid())
        return QByteArray(text.size(), '?');
    QByteArray out(text.size() * 2 + 4, Qt::Uninitialized);
    char* inPtr = in.data();
    size_t inLeft = static_cast<size_t>(in.size());
    char* outPtr = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    while (inLeft > 0) {
        if (iconv(cd.handle(), &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1))
            break;
        if (errno != EILSEQ || outLeft == 0)
            break;
        const auto length = static_cast<size_t>(utf8SequenceLength(
            static_cast<unsigned char>(*inPtr)));
        // Characters outside the BMP stand for two UTF-16 units, so two question marks.
        const size_t marks = length == 4 ? 2 : 1;
        for (size_t i = 0; i < marks && outLeft > 0; ++i) {
            *outPtr++ = '?';
            --outLeft;
        }
        inPtr += qMin(length, inLeft);
        inLeft -= qMin(length, inLeft);
    }
    out.truncate(static_cast<qsizetype>(outPtr - out.data()));
    return out;
}

}  // namespace detail
#endif

QString decodeCp949(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    if (unicodeLibraryHasCp949()) {
        // The converter keeps a lead byte cut off at the end back for input that never comes, so
        // the text would silently lose it: a line feed, never a trail byte, makes it a bad byte
        // like any other (U+FFFD), and is taken off again.
        QStringDecoder decoder(kUnicodeLibraryName);
        QString text = decoder.decode(bytes + '\n');
        text.chop(1);
        return text;
    }
#ifdef _WIN32
    const int size = static_cast<int>(bytes.size());
    const int needed = MultiByteToWideChar(949, 0, bytes.constData(), size, nullptr, 0);
    QString out(needed, Qt::Uninitialized);
    MultiByteToWideChar(949, 0, bytes.constData(), size, reinterpret_cast<wchar_t*>(out.data()),
                        needed);
    return out;
#else
    return detail::decodeCp949Iconv(bytes);
#endif
}

QByteArray encodeCp949(const QString& text)
{
    // Surrogates are handled here rather than by the converters, which disagree on them.
    QByteArray out;
    out.reserve(text.size() * 2);
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!text.at(i).isSurrogate())
            continue;
        out += encodeBmpRun(QStringView(text).sliced(runStart, i - runStart));
        out += '?';
        runStart = i + 1;
    }
    out += encodeBmpRun(QStringView(text).sliced(runStart));
    return out;
}

qsizetype countOutsideCp949(QStringView text, qsizetype* first)
{
    if (first)
        *first = -1;
    const auto isAscii = [](QChar c) { return c.unicode() < 0x80; };
    if (std::all_of(text.begin(), text.end(), isAscii))
        return 0;
    const auto roundTrips = [](QStringView piece) {
        return decodeCp949(encodeCp949(piece.toString())) == piece;
    };
    if (roundTrips(text))
        return 0;
    qsizetype count = 0;
    for (qsizetype i = 0; i < text.size();) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const qsizetype length = pair ? 2 : 1;
        const QStringView character = text.sliced(i, length);
        if (!isAscii(character.front()) &&
            (character.front().isSurrogate() || !roundTrips(character))) {
            if (count == 0 && first)
                *first = i;
            ++count;
        }
        i += length;
    }
    return count;
}

bool isValidUtf8(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char lead = *p++;
        if (lead < 0x80)
            continue;
        int trail;
        unsigned char min = 0x80;
        unsigned char max = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            trail = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trail = 2;
            if (lead == 0xE0)
                min = 0xA0;  // overlong
            else if (lead == 0xED)
                max = 0x9F;  // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trail = 3;
            if (lead == 0xF0)
                min = 0x90;  // overlong
            else if (lead == 0xF4)
                max = 0x8F;  // above U+10FFFF
        } else {
            return false;
        }
        if (end - p < trail)
            return false;
        if (*p < min || *p > max)
            return false;
        ++p;
        for (int i = 1; i < trail; ++i, ++p) {
            if (*p < 0x80 || *p > 0xBF)
                return false;
        }
    }
    return true;
}

}  // namespace kolmara
