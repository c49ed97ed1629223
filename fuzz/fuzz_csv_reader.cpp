// The tests' reader of quote-enclosed CSV (tests/support/QuotedCsv.h), which checks that dump
// files load back, on arbitrary text: it never crashes, and the rows it reads, written again as
// dump lines, read back as the same rows.
#include "data/TableDump.h"
#include "FuzzCheck.h"
#include "QuotedCsv.h"

using namespace kolmara;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<QStringList> rows = test::readQuotedCsv(text);
    QString again;
    for (const QStringList& row : rows) {
        FUZZ_CHECK(!row.isEmpty(), "a row holds a value");
        again += data::dumpLine(row) + QStringLiteral("\r\n");
    }
    FUZZ_CHECK(test::readQuotedCsv(again) == rows, "rows written as dump lines read back the same");
    return 0;
}
