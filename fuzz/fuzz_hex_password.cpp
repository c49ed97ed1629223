// HexDecode and the saved-login scrambler: any text either decodes or raises ConversionError, a
// decoded text encodes back to its even part, and scrambling is undone by unscrambling for every
// key, on raw bytes and on passwords CP949 can hold.
#include "common/Errors.h"
#include "common/KOLMCOMM.h"
#include "common/TextCodec.h"
#include "FuzzCheck.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace kolmara;
using namespace kolmara::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const auto key = input.ConsumeIntegral<quint16>();
    const bool raw = input.ConsumeBool();
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QString text = raw ? rawUtf16(rest) : utf8Text(rest);

    try {
        const QByteArray bytes = HexDecode(text);
        FUZZ_CHECK(bytes.size() == text.size() / 2, "one byte per two digits");
        FUZZ_CHECK(HexEncode(bytes) == text.left(bytes.size() * 2).toUpper(),
                   "decoded hex encodes back");
        const QString password = DecodePassword(text, key);
        FUZZ_CHECK(bytes.isEmpty() == password.isEmpty(), "an empty password only from empty hex");
    } catch (const ConversionError&) {
        const auto isHex = [](QChar c) {
            return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
        };
        bool bad = false;
        for (qsizetype i = 0; i < text.size() / 2 * 2; ++i)
            bad = bad || !isHex(text[i]);
        FUZZ_CHECK(bad, "only a character that is not a hex digit is refused");
    }

    const QByteArray bytes = bytesOf(rest);
    FUZZ_CHECK(DecodeBytes(EncodeBytes(bytes, key), key) == bytes,
               "unscrambling undoes scrambling");
    FUZZ_CHECK(EncodeBytes(bytes, key).size() == bytes.size(), "scrambling keeps the length");
    if (countOutsideCp949(text) == 0) {
        const QString scrambled = EncodePassword(text, key);
        FUZZ_CHECK(scrambled.size() == encodeCp949(text).size() * 2, "two hex digits per byte");
        FUZZ_CHECK(DecodePassword(scrambled, key) == text, "a saved password comes back");
    }
    return 0;
}
