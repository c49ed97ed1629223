// Oracle's value semantics that the engine needs outside SQLite: NUMBER values and their text
// form, DATE values with their format models (TO_CHAR, TO_DATE) and day arithmetic.
//
// Storage conventions of the engine: a NUMBER is an SQLite INTEGER when it is a whole number that
// fits 64 bits, a REAL when 15 significant digits hold it exactly, and otherwise its exact decimal
// text behind kBigNumberMark (so SQLite's numeric affinity never rounds it). A DATE is the text
// "YYYY-MM-DD HH24:MI:SS", which sorts and compares like the date, and is also the engine's
// default date text form.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace kolmara::db::embedded {

inline constexpr QChar kBigNumberMark = QChar(0x01);

// An error raised inside a value routine: an ORA- code and its text.
struct OraFailure {
    int code;
    QString text;
};

struct OraNumber {
    enum class Kind { Integer, Real, Big } kind = Kind::Integer;
    qint64 integer = 0;
    double real = 0;
    QString big;  // canonical decimal text (Oracle form), for Kind::Big

    double toDouble() const;
    // Oracle's TO_CHAR default form: ".5", "-1.25", "100", no trailing zeros.
    QString text() const;
    static OraNumber fromDouble(double value);
    static OraNumber fromInteger(qint64 value);
};

// Parses number text ("12", "-.5", "1e3", " 7 "; a kBigNumberMark prefix is allowed). nullopt when
// the text is not a number.
std::optional<OraNumber> parseOraNumber(const QString& text);

// Oracle's default text of a double: rounded to 15 significant digits, no leading zero, no trailing
// zeros, fixed notation up to 64 characters.
QString oraNumberText(double value);
// The same text in ASCII, written into `out` (room for 80 bytes); returns its length. For the hot
// paths that hand the text straight back to SQLite.
int oraNumberChars(double value, char* out);

// Exact arithmetic, as Oracle computes it: the result is rounded half away from zero to the
// digits a NUMBER keeps (40 significant digits, 39 when the first base-100 digit has one). Throws
// OraFailure: ORA-01476 for a division by zero, ORA-01426 beyond 10^126, ORA-01428 for the square
// root of a negative number. POWER with a fractional exponent is computed in double precision.
OraNumber oraAdd(const OraNumber& a, const OraNumber& b);
OraNumber oraSubtract(const OraNumber& a, const OraNumber& b);
OraNumber oraMultiply(const OraNumber& a, const OraNumber& b);
OraNumber oraDivide(const OraNumber& a, const OraNumber& b);
OraNumber oraNegate(const OraNumber& a);
// MOD: the remainder takes the dividend's sign; MOD(a, 0) is a.
OraNumber oraModulo(const OraNumber& a, const OraNumber& b);
OraNumber oraSquareRoot(const OraNumber& a);
OraNumber oraPower(const OraNumber& base, const OraNumber& exponent);
// -1, 0 or 1.
int oraCompare(const OraNumber& a, const OraNumber& b);

// The running total of SUM and AVG (add with sign -1 takes a value out again, for a moving
// window). Whole numbers and short decimals add up in a 128-bit integer; a longer value moves the
// total to exact arithmetic.
class OraSum {
public:
    OraSum();
    ~OraSum();
    void add(const OraNumber& value, int sign = 1);
    qint64 count() const { return m_count; }
    OraNumber total() const;
    OraNumber average() const;

private:
    struct Slow;
    __int128 m_total = 0;
    int m_exponent = 0;
    qint64 m_count = 0;
    std::unique_ptr<Slow> m_slow;
};

// ROUND / TRUNC of a number to `places` decimal places (negative places round left of the point);
// half away from zero.
OraNumber oraRoundNumber(const OraNumber& value, int places, bool truncate);

// TO_CHAR(number, format) for the format models 9 0 . , FM $ (throws OraFailure on a bad model).
QString oraNumberToChar(const OraNumber& value, const QString& format);

// DATE text <-> QDateTime (UTC spec, whole seconds).
std::optional<QDateTime> parseDateText(const QString& text);
QString dateText(const QDateTime& value);

// The language of day and month names: the session's NLS_DATE_LANGUAGE, or the one TO_CHAR's third
// argument asks for.
enum class DateLanguage { American, Korean };
// 'NLS_DATE_LANGUAGE = KOREAN' -> Korean; nullopt for anything else.
std::optional<DateLanguage> parseDateLanguage(const QString& nlsParameter);
// KOREAN -> Korean, AMERICAN or ENGLISH -> American; nullopt for another language.
std::optional<DateLanguage> dateLanguageNamed(const QString& language);

// TO_CHAR(date, format): YYYY YYY YY Y RRRR RR MM MON MONTH DD DDD D DY DAY HH HH12 HH24 MI SS
// SSSSS AM PM J Q WW FM "text" and punctuation; D counts Sunday as 1. Throws OraFailure
// (ORA-01821). Korean names: 수, 수요일, 5월, 오전/오후.
QString oraDateToChar(const QDateTime& value, const QString& format,
                      DateLanguage language = DateLanguage::American);

// TRUNC (truncate) or ROUND of a date to a format element's unit: CC, YYYY (and YEAR, YY...),
// IYYY, Q, MM (MON, MONTH), WW, IW, W, DD (DDD, J; the default), DAY (DY, D), HH, MI. ROUND turns
// up from 1 July, the 16th of the month (of the quarter's second month), noon, half past the hour,
// the 30th second, the middle of a week or the 51st year of a century. Throws ORA-01821.
QDateTime oraRoundDate(const QDateTime& value, const QString& format, bool truncate);

// NEXT_DAY: the first named weekday after the date (time kept). Throws ORA-01846.
QDateTime oraNextDay(const QDateTime& value, const QString& dayName);

// A date format model made only of YYYY, RRRR, MM, DD, HH24, MI, SS, quoted text and punctuation,
// compiled once so that a stored DATE text turns into it by copying its digits: what a dump reads
// every date column through.
class PlainDateFormat {
public:
    // nullopt for a model with any other element (FM included) or one that does not parse.
    static std::optional<PlainDateFormat> compile(const QString& format);
    // TO_CHAR of a stored DATE text given as UTF-8 bytes, as oraDateToChar gives it; false when
    // the text is not a valid stored date (the caller then takes the general path).
    bool apply(const char* text, int length, QByteArray& out) const;

private:
    struct Piece {
        QByteArray literal;  // copied as it is when `length` is 0
        int from = 0;        // else `length` characters of the date text from here
        int length = 0;
    };
    QList<Piece> m_pieces;
};

// TO_DATE(text, format) with Oracle's lenient matching and its errors. `now` fills the missing
// year and month. Throws OraFailure.
QDateTime oraToDate(const QString& text, const QString& format, const QDateTime& now);

// Adds a (possibly fractional) number of days, rounded to whole seconds.
QDateTime addDays(const QDateTime& value, double days);
// value2 - value1 in days, with fraction.
double daysBetween(const QDateTime& from, const QDateTime& to);

}  // namespace kolmara::db::embedded
