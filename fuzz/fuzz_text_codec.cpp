// The code page 949 conversions and the UTF-8 check that tells a settings file's encoding, fed
// arbitrary bytes and arbitrary UTF-16: nothing crashes, what countOutsideCp949 calls safe comes
// back unchanged, and the iconv road agrees with the Unicode library's wherever both decode.
#include "common/TextCodec.h"
#include "FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace kolmara;
using namespace kolmara::fuzz;
using kolmara::detail::decodeCp949Iconv;
using kolmara::detail::encodeCp949Iconv;

namespace {

// Windows' code page 949 gives 0x80 and the user-defined area (lead bytes C9 and FE) a place
// that the iconv fallback does not; the two roads are compared on everything else.
bool sameOnBothRoads(const QString& text)
{
    for (const QChar c : text) {
        if ((c.unicode() >= 0x80 && c.unicode() <= 0x9F) ||
            (c.unicode() >= 0xE000 && c.unicode() <= 0xF8FF))
            return false;
    }
    return true;
}

void checkEncoding(const QString& text)
{
    qsizetype first = -2;
    const qsizetype outside = countOutsideCp949(text, &first);
    FUZZ_CHECK((outside == 0) == (first == -1),
               "the first character outside CP949 is named when there is one");
    FUZZ_CHECK(first >= -1 && first < text.size(),
               "the first character outside CP949 lies in the text");
    const QByteArray bytes = encodeCp949(text);
    if (outside == 0) {
        FUZZ_CHECK(decodeCp949(bytes) == text, "text CP949 can hold comes back unchanged");
        if (sameOnBothRoads(text))
            FUZZ_CHECK(encodeCp949Iconv(text) == bytes,
                       "iconv encodes as the Unicode library does");
    } else {
        FUZZ_CHECK(countOutsideCp949(text.left(first)) == 0,
                   "nothing before the first outside character is outside");
        FUZZ_CHECK(decodeCp949(bytes) != text, "text CP949 cannot hold does not come back");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string input(reinterpret_cast<const char*>(data), size);
    const QByteArray bytes = bytesOf(input);

    const QString decoded = decodeCp949(bytes);
    checkEncoding(decoded);
    checkEncoding(rawUtf16(input));
    const QString viaIconv = decodeCp949Iconv(bytes);
    if (!decoded.contains(QChar::ReplacementCharacter) &&
        !viaIconv.contains(QChar::ReplacementCharacter) && sameOnBothRoads(decoded))
        FUZZ_CHECK(viaIconv == decoded, "iconv decodes as the Unicode library does");

    if (isValidUtf8(bytes))
        FUZZ_CHECK(QString::fromUtf8(bytes).toUtf8() == bytes,
                   "valid UTF-8 decodes and encodes back unchanged");
    else
        FUZZ_CHECK(QString::fromUtf8(bytes).toUtf8() != bytes,
                   "bytes called invalid UTF-8 do not survive decoding");
    return 0;
}
