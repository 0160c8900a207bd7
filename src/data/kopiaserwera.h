#pragma once

#include <QString>

class Database;

// The register moved between the two stores, record by record with their
// keys (so the natural order and every reference between the tables stay):
// a folder database onto a server, and a server's database to one SQLite
// file and back. A backup is thus always one file, whatever the location.
namespace KopiaSerwera {

// Copies every stored table of `zrodlo` into the empty tables of `cel`
// (either store); the next keys `cel` gives follow the copied ones.
void KopiujTabele(Database &zrodlo, Database &cel);

// "Przenieś bazę na serwer": makes the program's tables on the server
// `conninfo` (which must hold none yet) and copies the folder database
// `folder` into them, all in one transaction: a failure leaves the server
// as it was. Throws DataError with the reason.
void PrzeniesNaSerwer(Database &folder, const QString &conninfo);

// Writes the server's database, as it is at one moment, into `plik`, an
// empty SQLite file (the temporary file of a copy, which the caller checks
// and puts in place as a folder database's copy). Throws DataError.
void ZapiszDoPliku(Database &serwer, const QString &plik);

// Replaces everything on the server by the contents of the SQLite copy
// `plik` (found sound by the caller), in one transaction: other desks see
// the old register or the new one, never a mixture.
void OdtworzZPliku(Database &serwer, const QString &plik);

} // namespace KopiaSerwera
