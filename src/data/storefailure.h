#pragma once

#include "data/dataerror.h"

#include <QString>

// The one place where a failure of SQLite becomes a reason the user can
// read: in Polish, naming the file it concerns. `code` is SQLite's result
// code, extended or primary (Qt's driver turns the extended ones on);
// `sqliteText` is SQLite's own message, shown only for a failure that has no
// reason of its own here; `systemError`, the errno behind a failure to open
// or write, tells a full disk or missing rights from other reasons. Another store supplies its own mapping beside this.
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
