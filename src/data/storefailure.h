#pragma once

#include "data/dataerror.h"

#include <QString>

// The one place where a failure of SQLite becomes a reason the user can
// read: in Polish, naming the file it concerns. `code` is SQLite's result
// code, extended or primary (Qt's driver turns the extended ones on);
// `sqliteText` is SQLite's own message, shown only for a failure that has no
// reason of its own here. Another store supplies its own mapping beside this.
namespace SqliteFailure {

// "brak miejsca na dysku, na którym leży plik …", "plik … jest uszkodzony", …
QString reason(int code, const QString &file, const QString &sqliteText = {});

// "Błąd bazy danych: " followed by the reason.
DataError error(int code, const QString &file, const QString &sqliteText = {});

// Whether `code` says the file is damaged or no database at all.
bool damaged(int code);

} // namespace SqliteFailure
