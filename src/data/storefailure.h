#pragma once

#include "data/dataerror.h"

#include <QString>

// The one place where a failure of SQLite becomes a reason the user can
// read: in Polish, naming the file it concerns. `code` is SQLite's result
// code, extended or primary (Qt's driver turns the extended ones on);
// `sqliteText` is SQLite's own message, shown only for a failure that has no
// reason of its own here; `systemError`, the errno behind a failure to open
// or write, tells a full disk or missing rights from other reasons.
// ServerFailure below is the same for the PostgreSQL server.
namespace SqliteFailure {

// "brak miejsca na dysku, na którym leży plik …", "plik … jest uszkodzony", …
QString reason(int code, const QString &file, const QString &sqliteText = {}, int systemError = 0);

// "Błąd bazy danych: " followed by the reason.
DataError error(int code, const QString &file, const QString &sqliteText = {}, int systemError = 0);

// The same for the last failure on the connection `db` (a sqlite3*).
DataError lastError(void *db, const QString &file);

// Whether `code` says the file is damaged or no database at all.
bool damaged(int code);

} // namespace SqliteFailure

// The failures of a PostgreSQL server as reasons the user can read, naming
// the server and the database (and the table when the server tells it).
// The server tells a failed statement by its SQLSTATE; a failed connection
// libpq tells in words only, which are read as far as they are known.
namespace ServerFailure {

// Where the failure happened, as libpq reports the connection.
struct Place
{
    QString host;
    QString port;
    QString database;
    QString user;
    // "serwer 127.0.0.1:5432, baza danych tarlen"
    QString describe() const;
};

// The reason of a failed statement; `sqlState` is empty when the connection
// itself broke, `serverText` is the server's own message.
QString reason(const QByteArray &sqlState, const QString &serverText, const Place &place, const QString &table = {});

// The reason a connection could not be made.
QString connectionReason(const QString &libpqText, const Place &place);

// "Błąd bazy danych: " followed by the reason.
DataError error(const QString &reason);

} // namespace ServerFailure
