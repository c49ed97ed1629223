// What the fuzz targets share: a broken promise stops the run with a message (libFuzzer then
// keeps the input as a crash), and the ways the targets turn bytes into text.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <string>

#define FUZZ_CHECK(condition, what)                                                      \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "broken promise: %s (%s, line %d)\n", what, #condition, \
                         __LINE__);                                                      \
            std::abort();                                                                \
        }                                                                                \
    } while (0)

namespace kolmara::fuzz {

// Bytes as UTF-16 code units, lone surrogates and all: text no decoder would produce.
inline QString rawUtf16(const std::string& bytes)
{
    QString text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(char16_t(static_cast<unsigned char>(bytes[i]) |
                               static_cast<unsigned char>(bytes[i + 1]) << 8));
    return text;
}

inline QByteArray bytesOf(const std::string& bytes)
{
    return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

inline QString utf8Text(const std::string& bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

inline bool hasLoneSurrogate(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return true;
    }
    return false;
}

}  // namespace kolmara::fuzz
