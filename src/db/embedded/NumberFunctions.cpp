// Oracle's number functions as SQLite functions: ROUND, TRUNC, MOD and the like, ordering of
// numbers with all their digits, and the aggregates SUM, AVG, MIN and MAX over them.
#include "db/embedded/EngineFunctions.h"

#include "db/embedded/Engine.h"
#include "db/embedded/FunctionSupport.h"
#include "db/embedded/OraValues.h"

#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace kolmara::db::embedded::functions {

namespace {

void roundOrTrunc(sqlite3_context* ctx, int argc, sqlite3_value** a, bool truncate)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    if (const auto d = dateOf(a[0]))
        return resultDate(ctx, oraRoundDate(*d, argc > 1 ? oraText(a[1]) : QString(), truncate));
    const int places = argc > 1 ? int(std::trunc(numberOf(a[1]).toDouble())) : 0;
    resultNumber(ctx, oraRoundNumber(numberOf(a[0]), places, truncate));
}

void fnRound(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    roundOrTrunc(ctx, argc, a, false);
}
void fnTrunc(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    roundOrTrunc(ctx, argc, a, true);
}

void fnMod(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    resultNumber(ctx, oraModulo(numberOf(a[0]), numberOf(a[1])));
}

void fnSign(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    sqlite3_result_int(ctx, oraCompare(numberOf(a[0]), OraNumber::fromInteger(0)));
}

void fnAbs(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    const OraNumber x = numberOf(a[0]);
    resultNumber(ctx, oraCompare(x, OraNumber::fromInteger(0)) < 0 ? oraNegate(x) : x);
}

// CEIL and FLOOR: the whole number at or above (below) the value.
template <bool Up>
void ceilOrFloor(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    const OraNumber x = numberOf(a[0]);
    OraNumber whole = oraRoundNumber(x, 0, true);
    const int c = oraCompare(x, whole);
    if (Up && c > 0)
        whole = oraAdd(whole, OraNumber::fromInteger(1));
    else if (!Up && c < 0)
        whole = oraSubtract(whole, OraNumber::fromInteger(1));
    resultNumber(ctx, whole);
}

void fnSqrt(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    resultNumber(ctx, oraSquareRoot(numberOf(a[0])));
}

void fnPower(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    resultNumber(ctx, oraPower(numberOf(a[0]), numberOf(a[1])));
}

// ora_cmp(a, b): -1, 0 or 1 as Oracle orders the two values; NULL when either is NULL. Numbers
// compare by value with all their digits; other values as SQLite orders them.
int storageClassRank(sqlite3_value* v)
{
    switch (sqlite3_value_type(v)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
        return 1;
    case SQLITE_TEXT:
        return sqlite3_value_bytes(v) > 0
                       && *reinterpret_cast<const char*>(sqlite3_value_text(v)) == '\x01'
                   ? 1
                   : 2;
    default:
        return 3;
    }
}

void fnCompare(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (anyNull(argc, a))
        return sqlite3_result_null(ctx);
    const int ra = storageClassRank(a[0]), rb = storageClassRank(a[1]);
    if (ra != rb)
        return sqlite3_result_int(ctx, ra < rb ? -1 : 1);
    if (ra == 1)
        return sqlite3_result_int(ctx, oraCompare(numberOf(a[0]), numberOf(a[1])));
    const int n0 = sqlite3_value_bytes(a[0]), n1 = sqlite3_value_bytes(a[1]);
    const void* p0 =
        ra == 2 ? static_cast<const void*>(sqlite3_value_text(a[0])) : sqlite3_value_blob(a[0]);
    const void* p1 =
        ra == 2 ? static_cast<const void*>(sqlite3_value_text(a[1])) : sqlite3_value_blob(a[1]);
    const int c = std::memcmp(p0, p1, size_t(qMin(n0, n1)));
    sqlite3_result_int(ctx, c != 0 ? (c < 0 ? -1 : 1) : (n0 < n1 ? -1 : n0 > n1 ? 1 : 0));
}

// ---- SUM and AVG --------------------------------------------------------------------------------

// The aggregate context of the engine's aggregates holds a pointer to their state (the running
// total...), made on the first row and deleted by the final call.
template <typename State>
State* stateOf(sqlite3_context* ctx, bool create)
{
    auto** slot =
        static_cast<State**>(sqlite3_aggregate_context(ctx, create ? int(sizeof(State*)) : 0));
    if (!slot)
        return nullptr;
    if (!*slot && create)
        *slot = new State;
    return *slot;
}

template <typename State>
void dropState(sqlite3_context* ctx)
{
    if (auto** slot = static_cast<State**>(sqlite3_aggregate_context(ctx, 0))) {
        delete *slot;
        *slot = nullptr;
    }
}

OraSum* sumOf(sqlite3_context* ctx, bool create) { return stateOf<OraSum>(ctx, create); }

void sumStep(sqlite3_context* ctx, int, sqlite3_value** a)
{
    OraSum* sum = sumOf(ctx, true);
    if (!sum)
        return sqlite3_result_error_nomem(ctx);
    if (!isNull(a[0]))
        sum->add(numberOf(a[0]));
}

void sumInverse(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (OraSum* sum = sumOf(ctx, true); sum && !isNull(a[0]))
        sum->add(numberOf(a[0]), -1);
}

template <bool Average>
void sumValue(sqlite3_context* ctx)
{
    const OraSum* sum = sumOf(ctx, false);
    if (!sum || sum->count() == 0)
        return sqlite3_result_null(ctx);
    resultNumber(ctx, Average ? sum->average() : sum->total());
}

template <bool Average>
void sumFinal(sqlite3_context* ctx)
{
    try {
        sumValue<Average>(ctx);
    } catch (const OraFailure& f) {
        fail(ctx, f);
    }
    dropState<OraSum>(ctx);
}

template <bool Average>
void sumCurrent(sqlite3_context* ctx)
{
    try {
        sumValue<Average>(ctx);
    } catch (const OraFailure& f) {
        fail(ctx, f);
    }
}

// ---- the order of numbers
// ------------------------------------------------------------------------

// SQLite orders a number kept as text (beyond 15 digits) after every other number, and two of them
// as text. A NumberKey is a key whose bytes sort as the numbers do (memcmp, as SQLite compares the
// ora_numkey blobs): zero is one byte; a positive number is 0xC0, its decimal exponent and its
// digits; a negative one 0x40, the exponent and the digits complemented and a byte that sorts
// above every digit, so that a longer negative number of the same first digits sorts first.
class NumberKey {
public:
    explicit NumberKey(sqlite3_value* v)
    {
        switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER: {
            const qint64 n = sqlite3_value_int64(v);
            const quint64 magnitude = n < 0 ? 0 - quint64(n) : quint64(n);
            char digits[24];
            const int count =
                int(std::to_chars(digits, digits + sizeof digits, magnitude).ptr - digits);
            build(n < 0, digits, count, count);
            return;
        }
        case SQLITE_FLOAT: {
            // The 15 significant digits a REAL stands for: d.dddddddddddddde+XX.
            char text[40];
            const char* end = std::to_chars(text, text + sizeof text, sqlite3_value_double(v),
                                            std::chars_format::scientific, 14)
                                  .ptr;
            parse(text, end);
            return;
        }
        default:
            break;
        }
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
        const int length = sqlite3_value_bytes(v);
        if (length > 0 && text[0] == '\x01') {
            // A stored long number: its canonical decimal text.
            parse(text + 1, text + length);
            return;
        }
        const QByteArray canonical = numberOf(v).text().toLatin1();
        parse(canonical.constData(), canonical.constData() + canonical.size());
    }

    std::string_view bytes() const { return {m_key, size_t(m_size)}; }

private:
    // Decimal text with an optional sign, point and exponent ("-12.5", ".05", "1.25e+20").
    void parse(const char* p, const char* end)
    {
        const bool negative = p < end && *p == '-';
        if (p < end && (*p == '-' || *p == '+'))
            ++p;
        char digits[kMaxDigits];
        int count = 0, whole = -1;
        for (; p < end && *p != 'e' && *p != 'E'; ++p) {
            if (*p == '.')
                whole = count;
            else if (count < kMaxDigits)
                digits[count++] = *p;
        }
        int exponent = 0;
        if (end - p > 1)
            std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);
        build(negative, digits, count, (whole < 0 ? count : whole) + exponent);
    }

    // The number is 0.d1d2... x 10^exponent.
    void build(bool negative, const char* digits, int count, int exponent)
    {
        int first = 0;
        while (first < count && digits[first] == '0') {
            ++first;
            --exponent;
        }
        while (count > first && digits[count - 1] == '0')
            --count;
        m_size = 0;
        if (first == count) {
            m_key[m_size++] = char(0x80);
            return;
        }
        const quint16 e = negative ? quint16(0x7FFF - exponent) : quint16(exponent + 0x8000);
        m_key[m_size++] = negative ? char(0x40) : char(0xC0);
        m_key[m_size++] = char(e >> 8);
        m_key[m_size++] = char(e & 0xFF);
        for (int i = first; i < count; ++i)
            m_key[m_size++] = negative ? char('0' + '9' - digits[i]) : digits[i];
        if (negative)
            m_key[m_size++] = char('9' + 1);
    }

    static constexpr int kMaxDigits = 100;
    char m_key[kMaxDigits + 8];
    int m_size = 0;
};

void fnNumberKey(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return sqlite3_result_null(ctx);
    const NumberKey key(a[0]);
    sqlite3_result_blob(ctx, key.bytes().data(), int(key.bytes().size()), SQLITE_TRANSIENT);
}

// A number kept for MIN and MAX: its key and its value as it came.
struct KeptNumber {
    std::string key;
    sqlite3_value* value = nullptr;

    explicit KeptNumber(sqlite3_value* v) : key(NumberKey(v).bytes()), value(sqlite3_value_dup(v))
    {
    }
    KeptNumber(KeptNumber&& other) noexcept
        : key(std::move(other.key)), value(std::exchange(other.value, nullptr))
    {
    }
    KeptNumber& operator=(KeptNumber&& other) noexcept
    {
        key = std::move(other.key);
        std::swap(value, other.value);
        return *this;
    }
    ~KeptNumber() { sqlite3_value_free(value); }
    bool operator<(const KeptNumber& other) const { return key < other.key; }
};

// ora_min(n) and ora_max(n): MIN and MAX of numbers by their exact value.
using BestNumber = std::optional<KeptNumber>;

template <bool Greatest>
void extremeStep(sqlite3_context* ctx, int, sqlite3_value** a)
{
    if (isNull(a[0]))
        return;
    BestNumber* best = stateOf<BestNumber>(ctx, true);
    if (!best)
        return sqlite3_result_error_nomem(ctx);
    KeptNumber n(a[0]);
    if (!*best || (Greatest ? **best < n : n < **best))
        *best = std::move(n);
}

void extremeFinal(sqlite3_context* ctx)
{
    const BestNumber* best = stateOf<BestNumber>(ctx, false);
    if (!best || !*best)
        sqlite3_result_null(ctx);
    else
        sqlite3_result_value(ctx, (*best)->value);
    dropState<BestNumber>(ctx);
}

// ora_wmin(n) and ora_wmax(n): the same over a window, whose rows also leave it again: the state
// holds every value of the window, in order.
using NumberBag = std::multiset<KeptNumber>;

void bagStep(sqlite3_context* ctx, int, sqlite3_value** a)
{
    NumberBag* bag = stateOf<NumberBag>(ctx, true);
    if (!bag)
        return sqlite3_result_error_nomem(ctx);
    if (!isNull(a[0]))
        bag->insert(KeptNumber(a[0]));
}

void bagInverse(sqlite3_context* ctx, int, sqlite3_value** a)
{
    NumberBag* bag = stateOf<NumberBag>(ctx, false);
    if (!bag || isNull(a[0]))
        return;
    if (const auto it = bag->find(KeptNumber(a[0])); it != bag->end())
        bag->erase(it);
}

template <bool Greatest>
void bagValue(sqlite3_context* ctx)
{
    const NumberBag* bag = stateOf<NumberBag>(ctx, false);
    if (!bag || bag->empty())
        return sqlite3_result_null(ctx);
    sqlite3_result_value(ctx, (Greatest ? *bag->rbegin() : *bag->begin()).value);
}

template <bool Greatest>
void bagFinal(sqlite3_context* ctx)
{
    bagValue<Greatest>(ctx);
    dropState<NumberBag>(ctx);
}

}  // namespace

void registerNumberFunctions(sqlite3* db, EngineSession* s)
{
    add(db, s, "ora_round", -1, guarded<fnRound>);
    add(db, s, "ora_trunc", -1, guarded<fnTrunc>);
    add(db, s, "ora_mod", 2, guarded<fnMod>);
    add(db, s, "ora_abs", 1, guarded<fnAbs>);
    add(db, s, "ora_ceil", 1, guarded<ceilOrFloor<true>>);
    add(db, s, "ora_floor", 1, guarded<ceilOrFloor<false>>);
    add(db, s, "ora_sign", 1, guarded<fnSign>);
    add(db, s, "ora_sqrt", 1, guarded<fnSqrt>);
    add(db, s, "ora_cmp", 2, guarded<fnCompare>);
    sqlite3_create_window_function(db, "ora_sum", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, s,
                                   guarded<sumStep>, sumFinal<false>, sumCurrent<false>,
                                   guarded<sumInverse>, nullptr);
    sqlite3_create_window_function(db, "ora_avg", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, s,
                                   guarded<sumStep>, sumFinal<true>, sumCurrent<true>,
                                   guarded<sumInverse>, nullptr);
    add(db, s, "ora_numkey", 1, guarded<fnNumberKey>);
    add(db, s, "ora_numkey_i", 1, guarded<fnNumberKey>);
    for (const char* name : {"ora_min", "ora_min_i"})
        sqlite3_create_function_v2(db, name, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, s, nullptr,
                                   guarded<extremeStep<false>>, extremeFinal, nullptr);
    for (const char* name : {"ora_max", "ora_max_i"})
        sqlite3_create_function_v2(db, name, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, s, nullptr,
                                   guarded<extremeStep<true>>, extremeFinal, nullptr);
    sqlite3_create_window_function(db, "ora_wmin", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, s,
                                   guarded<bagStep>, bagFinal<false>, bagValue<false>,
                                   guarded<bagInverse>, nullptr);
    sqlite3_create_window_function(db, "ora_wmax", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, s,
                                   guarded<bagStep>, bagFinal<true>, bagValue<true>,
                                   guarded<bagInverse>, nullptr);
    add(db, s, "ora_power", 2, guarded<fnPower>);
}

}  // namespace kolmara::db::embedded::functions
