// TO_CHAR of a NUMBER through a format model: 9 0 . , FM $ S MI PR EEEE, X (hexadecimal) and RN
// (Roman numerals), with the errors of a bad model.
#include "db/embedded/OraDecimal.h"
#include "db/embedded/OraValues.h"

#include <algorithm>
#include <cstdlib>

namespace kolmara::db::embedded {

using namespace detail;

namespace {

QString hashes(qsizetype width)
{
    return QString(width, QLatin1Char('#'));
}

QString romanNumeral(int v)
{
    static const struct {
        int value;
        const char* text;
    } parts[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"},
                 {90, "XC"},  {50, "L"},   {40, "XL"}, {10, "X"},   {9, "IX"},
                 {5, "V"},    {4, "IV"},   {1, "I"}};
    QString out;
    for (const auto& p : parts)
        for (; v >= p.value; v -= p.value)
            out += QLatin1String(p.text);
    return out;
}

// The digits of a number against a mask of 9 0 , . with the sign standing just before the first
// digit (or nowhere: signPosition false). Returns nullopt when the integer part does not fit.
std::optional<QString> maskedDigits(const OraNumber& value, const QString& format, bool fm,
                                    bool dollar, bool floatingSign)
{
    const int pointAt = int(format.indexOf(QLatin1Char('.')));
    const QString intPart = pointAt < 0 ? format : format.left(pointAt);
    const QString fracPart = pointAt < 0 ? QString() : format.mid(pointAt + 1);
    const int fracDigits = int(fracPart.count(QLatin1Char('9')) + fracPart.count(QLatin1Char('0')));

    Decimal d = decimalOf(oraRoundNumber(value, fracDigits, false));
    const QString intDigits =
        d.point > 0 ? (d.digits.left(d.point) +
                       QString(qMax(0, d.point - int(d.digits.size())), QLatin1Char('0')))
                    : QString();
    QString fracText =
        d.point >= 0 ? d.digits.mid(d.point) : QString(-d.point, QLatin1Char('0')) + d.digits;
    fracText = fracText.left(fracDigits).leftJustified(fracDigits, QLatin1Char('0'));
    if (fm) {
        // FM drops the trailing zeros that stand in 9 positions; 0 positions keep theirs.
        QString positions;
        for (QChar m : fracPart)
            if (m == QLatin1Char('9') || m == QLatin1Char('0'))
                positions += m;
        while (!fracText.isEmpty() && fracText.back() == QLatin1Char('0')
               && positions.at(fracText.size() - 1) == QLatin1Char('9'))
            fracText.chop(1);
    }

    // Integer part, right to left over the mask.
    const int slotCount = int(intPart.count(QLatin1Char('9')) + intPart.count(QLatin1Char('0')));
    if (intDigits.size() > slotCount)
        return std::nullopt;
    QString out;
    int di = int(intDigits.size()) - 1;
    const int firstZero = int(intPart.indexOf(QLatin1Char('0')));
    for (int mi = int(intPart.size()) - 1; mi >= 0; --mi) {
        const QChar m = intPart[mi];
        if (m == QLatin1Char(',')) {
            if (di >= 0 || (firstZero >= 0 && mi > firstZero))
                out.prepend(QLatin1Char(','));
            else
                out.prepend(QLatin1Char(' '));
            continue;
        }
        if (di >= 0) {
            out.prepend(intDigits[di--]);
        } else if (m == QLatin1Char('0') || (firstZero >= 0 && mi >= firstZero)) {
            out.prepend(QLatin1Char('0'));
        } else if (pointAt < 0 && mi == int(intPart.size()) - 1) {
            out.prepend(QLatin1Char('0'));  // a zero value still shows one digit
        } else {
            out.prepend(QLatin1Char(' '));
        }
    }
    QString body = out;
    if (pointAt >= 0)
        body += QLatin1Char('.') + fracText;
    // The sign (a blank for positives) and the currency sign stand just before the first digit.
    int lead = 0;
    while (lead < body.size() && body[lead] == QLatin1Char(' '))
        ++lead;
    const QString sign = !floatingSign ? QString()
                         : d.neg       ? QStringLiteral("-")
                                       : (fm ? QString() : QStringLiteral(" "));
    QString result = QString(lead, QLatin1Char(' ')) + sign +
                     (dollar ? QStringLiteral("$") : QString()) + body.mid(lead);
    if (fm) {
        result = result.trimmed();
        // A value that leaves no digit at all still shows its zero ("0.", not ".").
        if (result.contains(QLatin1Char('.'))
            && std::none_of(result.cbegin(), result.cend(), [](QChar c) { return c.isDigit(); }))
            result.insert(int(result.indexOf(QLatin1Char('.'))), QLatin1Char('0'));
    }
    return result;
}

}  // namespace

QString oraNumberToChar(const OraNumber& value, const QString& formatIn)
{
    QString format = formatIn.trimmed();
    bool fm = false;
    if (format.startsWith(QLatin1String("FM"), Qt::CaseInsensitive)) {
        fm = true;
        format.remove(0, 2);
    }
    const QString upper = format.toUpper();
    const bool negative = oraCompare(value, OraNumber::fromInteger(0)) < 0;

    if (upper == QLatin1String("RN")) {
        // Roman numerals of 1 to 3999, right-aligned in 15 characters.
        const OraNumber whole = oraRoundNumber(value, 0, false);
        if (whole.kind != OraNumber::Kind::Integer || whole.integer < 1 || whole.integer > 3999)
            return hashes(15);
        QString roman = romanNumeral(int(whole.integer));
        if (format == QLatin1String("rn"))
            roman = roman.toLower();
        return fm ? roman : roman.rightJustified(15);
    }

    if (!upper.isEmpty() && upper.contains(QLatin1Char('X'))) {
        // Hexadecimal of the rounded value: X digits, a leading 0 for zeros in front.
        for (QChar c : upper)
            if (c != QLatin1Char('X') && c != QLatin1Char('0'))
                throw OraFailure{1481, QStringLiteral("invalid number format model")};
        const int width = int(upper.size());
        const OraNumber whole = oraRoundNumber(value, 0, false);
        if (negative || whole.kind != OraNumber::Kind::Integer)
            return hashes(width + 1);
        QString hex = QString::number(whole.integer, 16);
        if (hex.size() > width)
            return hashes(width + 1);
        hex = format.contains(QLatin1Char('X')) ? hex.toUpper() : hex.toLower();
        if (upper.startsWith(QLatin1Char('0')))
            hex = hex.rightJustified(width, QLatin1Char('0'));
        return fm ? hex : hex.rightJustified(width + 1);
    }

    QString mask = upper;
    bool dollar = false;
    if (mask.contains(QLatin1Char('$'))) {
        dollar = true;
        mask.remove(QLatin1Char('$'));
    }
    // Where the sign goes: MI after the number, PR angle brackets, S before or after it.
    enum class Sign { Floating, Minus, Brackets, LeadingS, TrailingS } sign = Sign::Floating;
    if (mask.endsWith(QLatin1String("MI"))) {
        sign = Sign::Minus;
        mask.chop(2);
    } else if (mask.endsWith(QLatin1String("PR"))) {
        sign = Sign::Brackets;
        mask.chop(2);
    } else if (mask.startsWith(QLatin1Char('S'))) {
        sign = Sign::LeadingS;
        mask.remove(0, 1);
    } else if (mask.endsWith(QLatin1Char('S'))) {
        sign = Sign::TrailingS;
        mask.chop(1);
    }
    const bool scientific = mask.endsWith(QLatin1String("EEEE"));
    if (scientific)
        mask.chop(4);
    for (QChar c : mask)
        if (!QStringLiteral("90.,").contains(c))
            throw OraFailure{1481, QStringLiteral("invalid number format model")};
    const int width = int(mask.size()) + (dollar ? 1 : 0) + (scientific ? 4 : 0) +
                      (sign == Sign::Brackets ? 2 : 1);

    QString body;
    if (scientific) {
        // d.ddEsnn: the mantissa rounded to the mask's fraction digits, one digit before the point.
        const int pointAt = int(mask.indexOf(QLatin1Char('.')));
        const int fracDigits = pointAt < 0 ? 0 : int(mask.size()) - pointAt - 1;
        Decimal d = decimalOf(value);
        int exponent = d.digits.isEmpty() ? 0 : d.point - 1;
        Decimal mantissa = d;
        mantissa.neg = false;
        mantissa.point = d.digits.isEmpty() ? 0 : 1;
        Decimal rounded = decimalOf(oraRoundNumber(numberFromDecimal(mantissa), fracDigits, false));
        if (rounded.point > 1) {  // 9.99 rounded up to 10.0
            ++exponent;
            rounded.point -= 1;
        }
        QString digits = rounded.digits.leftJustified(1 + fracDigits, QLatin1Char('0'));
        body =
            digits.left(1) +
            (fracDigits > 0 ? QLatin1Char('.') + digits.mid(1, fracDigits) : QString()) +
            QStringLiteral("E%1%2")
                .arg(exponent < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                .arg(std::abs(exponent), std::abs(exponent) >= 100 ? 3 : 2, 10, QLatin1Char('0'));
        if (dollar)
            body.prepend(QLatin1Char('$'));
        if (sign == Sign::Floating)
            body.prepend(negative ? QLatin1Char('-') : QLatin1Char(' '));
        if (fm)
            body = body.trimmed();
    } else {
        const auto digits = maskedDigits(value, mask, fm, dollar, sign == Sign::Floating);
        if (!digits)
            return hashes(width);
        body = *digits;
    }
    switch (sign) {
    case Sign::Floating:
        return body;
    case Sign::Minus:
        return body + (negative ? QStringLiteral("-") : fm ? QString() : QStringLiteral(" "));
    case Sign::Brackets: {
        if (negative) {
            const int lead = int(body.size() - QString(body).trimmed().size());
            return QString(lead, QLatin1Char(' ')) + QLatin1Char('<') + body.trimmed() +
                   QLatin1Char('>');
        }
        return fm ? body : QLatin1Char(' ') + body + QLatin1Char(' ');
    }
    case Sign::LeadingS: {
        const int lead = int(body.size() - QString(body).trimmed().size());
        return QString(lead, QLatin1Char(' ')) + (negative ? QLatin1Char('-') : QLatin1Char('+')) +
               body.trimmed();
    }
    case Sign::TrailingS:
        return body + (negative ? QLatin1Char('-') : QLatin1Char('+'));
    }
    return body;
}

}  // namespace kolmara::db::embedded
