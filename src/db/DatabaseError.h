// The one exception the database layer throws: the server's (or the client library's) error,
// with its ORA- code and the full message the user sees, "ORA-00942: table or view does not exist",
// and, where the server tells it, where in the statement text it found the error.
#pragma once

#include "common/Errors.h"

namespace kolmara::db {

class DatabaseError : public KolmaraError {
public:
    // code 0 is a component error without an ORA- number; its text is the whole message.
    DatabaseError(int code, const QString& text)
        : KolmaraError(
              code > 0 ? QStringLiteral("ORA-%1: %2").arg(code, 5, 10, QLatin1Char('0')).arg(text)
                       : text),
          m_code(code)
    {
    }
    // An error whose full text is already written, as a client library reports it ("ORA-06550:
    // line 1, column 7:\nPLS-00201: ..."), keeping its code.
    static DatabaseError withMessage(int code, const QString& message)
    {
        return DatabaseError(code, message, 0);
    }
    int code() const noexcept { return m_code; }
    // The character of the statement text (from 0) at which the server found the error; -1 when
    // it did not say. Runtime errors usually come without one.
    int position() const noexcept { return m_position; }
    void setPosition(int position) noexcept { m_position = position; }

private:
    DatabaseError(int code, const QString& message, int) : KolmaraError(message), m_code(code) {}
    int m_code;
    int m_position = -1;
};

}  // namespace kolmara::db
