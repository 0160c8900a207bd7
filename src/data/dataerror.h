#pragma once

#include <QString>

#include <stdexcept>

// A failure of the table store: a table that cannot be opened, a post or a
// delete that the database refused. The message is for the user.
class DataError : public std::runtime_error
{
public:
    explicit DataError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

// A record that another desk changed after this desk read it (a database on
// a server). The message names what was changed and on which desk, and that
// nothing was written.
class RecordChanged : public DataError
{
public:
    using DataError::DataError;
};

// A table that cannot be opened; `reason` is what the store said.
class TableUnreadable : public DataError
{
public:
    TableUnreadable(const QString &message, const QString &reason) : DataError(message), m_reason(reason) {}
    const QString &reason() const { return m_reason; }

private:
    QString m_reason;
};

// The server asks for a password that the program was not given (none in
// PostgreSQL's password file, none typed in this run yet).
class PasswordNeeded : public DataError
{
public:
    using DataError::DataError;
};
