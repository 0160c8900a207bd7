#pragma once

#include <QString>

// Where the program's database is: a folder on this computer (SQLite, the
// default) or a PostgreSQL server shared by the desks of an office. Kept in
// the program's settings as "Sciezka" and "Serwer"; an empty "Serwer" means
// the folder. No password is ever kept in the settings: libpq reads it from
// PostgreSQL's own password file (~/.pgpass), or the user types it once in
// a run (TDM::PolaczZHaslem).
struct PolaczenieSerwera
{
    QString host;
    int port = 5432;
    QString baza;
    QString uzytkownik;

    // The libpq connection string; values are quoted as libpq wants them.
    QString conninfo() const;
    // Reads host, port, dbname and user out of a connection string.
    static PolaczenieSerwera z(const QString &conninfo);
};

namespace UstawieniaBazy {

// Connects to the server; answers an empty text when the program's tables
// are there, otherwise what is wrong, in Polish. Throws PasswordNeeded when
// the server wants a password the program has not got.
QString SprawdzPolaczenie(const QString &conninfo);
// Records the folder as the database ("Serwer" emptied), or the server.
// Throw DataError when the settings cannot be written.
void ZapiszFolder(const QString &katalog);
void ZapiszSerwer(const QString &conninfo);

} // namespace UstawieniaBazy
