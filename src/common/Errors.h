// The program's exception types. Every error that can reach the user carries a finished message
// text; the action guard shows exactly that text in the application's error box.
#pragma once

#include <QString>

#include <exception>

namespace kolmara {

// Base of every error the program raises itself. what() returns the message in UTF-8.
class KolmaraError : public std::exception {
public:
    explicit KolmaraError(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

// A number, hexadecimal text or date that does not parse, e.g. "'abc' is not a valid integer
// value".
class ConversionError : public KolmaraError {
public:
    using KolmaraError::KolmaraError;
};

// A settings file that cannot be written; the message names the file.
class SettingsError : public KolmaraError {
public:
    using KolmaraError::KolmaraError;
};

}  // namespace kolmara
