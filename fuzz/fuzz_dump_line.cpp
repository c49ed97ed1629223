// The dump line builder: any values (commas, quotes, line breaks, Hangul, characters outside
// CP949, lone surrogates) make a line that reads back into exactly those values; the UTF-8 file
// bytes are the line's UTF-8; a CP949 line either decodes back to the line or is refused, and is
// refused exactly when CP949 cannot hold a character of it.
#include "common/Errors.h"
#include "common/TextCodec.h"
#include "data/TableDump.h"
#include "FuzzCheck.h"
#include "QuotedCsv.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace kolmara;
using namespace kolmara::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const bool raw = input.ConsumeBool();
    QStringList values;
    const int count = input.ConsumeIntegralInRange(1, 12);
    for (int i = 0; i < count; ++i) {
        const std::string bytes = input.ConsumeRandomLengthString(64);
        values << (raw ? rawUtf16(bytes) : utf8Text(bytes));
    }

    const QString line = data::dumpLine(values);
    FUZZ_CHECK(test::readQuotedCsv(line + QStringLiteral("\r\n")) == QList<QStringList>{values},
               "a dump line reads back into its values");

    const QByteArray utf8 = data::dumpLineBytes(values, data::DumpEncoding::Utf8);
    if (!hasLoneSurrogate(line))
        FUZZ_CHECK(utf8 == (line + QStringLiteral("\r\n")).toUtf8(),
                   "a UTF-8 dump line is the line's UTF-8");

    const bool holdable = countOutsideCp949(line) == 0;
    try {
        const QByteArray cp949 = data::dumpLineBytes(values, data::DumpEncoding::Cp949);
        FUZZ_CHECK(holdable, "a line with a character CP949 cannot hold is refused");
        FUZZ_CHECK(decodeCp949(cp949) == line + QStringLiteral("\r\n"),
                   "a CP949 dump line decodes back");
    } catch (const KolmaraError&) {
        FUZZ_CHECK(!holdable, "a line CP949 can hold is written");
    }
    return 0;
}
