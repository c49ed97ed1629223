// Conversions between Unicode and the byte encodings that files and scrambled passwords from
// Korean Windows use: code page 949 (CP949, the Unified Hangul Code superset of EUC-KR), and a
// UTF-8 validity check for telling the two apart.
#pragma once

#include <QByteArray>
#include <QString>

namespace kolmara {

// Bytes that are not valid CP949 decode to U+FFFD; never throws.
QString decodeCp949(const QByteArray& bytes);

// Characters with no CP949 mapping become one '?' per UTF-16 unit, as Windows writes them
// (so a character outside the BMP becomes "??"); never throws.
QByteArray encodeCp949(const QString& text);

// How many characters of text code page 949 cannot hold, that is, do not come back unchanged
// from encodeCp949 and decodeCp949 (a surrogate pair counts once); *first, when given, receives
// the index of the first of them, or -1. Plain ASCII costs one scan.
qsizetype countOutsideCp949(QStringView text, qsizetype* first = nullptr);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no cut-off sequence.
// Empty input and plain ASCII are valid.
bool isValidUtf8(const QByteArray& bytes);

#ifndef _WIN32
namespace detail {
// The iconv conversions used when the Unicode library offers no Windows 949 converter; declared
// here so tests can check them against the primary path.
QString decodeCp949Iconv(const QByteArray& bytes);
QByteArray encodeCp949Iconv(const QString& text);
}  // namespace detail
#endif

}  // namespace kolmara
