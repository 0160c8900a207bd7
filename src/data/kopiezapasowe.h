#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class Database;
class TDM;

// Backups of the database.
//
// A database on a server is copied to the same single SQLite file, and
// restored from one, through KopiaSerwera; the rest below is the folder's.
//
// A copy is always written through SQLite's online backup from the open
// connection, never by copying the live file: a copy taken that way cannot
// catch a save half-way. It is written under a temporary name beside its
// target, checked there (PRAGMA integrity_check and the twelve tables with
// their fields), and only then renamed to its name, so a copy that exists is
// whole and sound; a failed one leaves nothing behind and whatever the
// target held before stays.
//
// An automatic copy is checked page by page only (PRAGMA quick_check): the
// full check also looks up every index entry in its table, which takes four
// times as long on a big register and tells nothing of the copy itself (its
// pages are those of the database). It gets the full check before it is
// ever restored.
//
// Restoring replaces the contents of the open database through the same
// online backup, in one write transaction of the open connection: a crash
// half-way is rolled back by the journal, the lock file is held throughout
// (no other copy of the program can open the database in between), and
// nothing but this connection has the file open. The current contents are
// first kept as a copy of their own in the "kopie" folder.
//
// Automatic copies lie in the "kopie" folder of the database directory,
// named "tarlen5-RRRR-MM-DD_GG-MM-SS.sqlite"; the newest seven are kept.
//
// The static functions throw DataError with a message for the user; the
// others tell the user themselves, through the data module's message boxes.
class KopieZapasowe
{
public:
    static const QString NazwaKatalogu; // "kopie"
    static constexpr int LiczbaKopiiAutomatycznych = 7;
    enum class Sprawdzenie { Pelne, Szybkie }; // integrity_check, quick_check

    explicit KopieZapasowe(TDM &dm) : dm(dm) {}

    // The folder of copies of the database in `katalogBazy`.
    static QString KatalogKopii(const QString &katalogBazy);
    // The automatic copies in `katalogKopii`, newest first (by the time in
    // their names); other files there are not among them.
    static QStringList KopieAutomatyczne(const QString &katalogKopii);
    // The name of an automatic copy made at `kiedy`.
    static QString NazwaKopiiAutomatycznej(const QDateTime &kiedy);
    // When a copy was made: the time in an automatic copy's name, else the
    // file's modification time.
    static QDateTime DataKopii(const QString &plik);

    // Writes a checked copy of the open database to `plik`.
    static void ZapiszKopie(Database &db, const QString &plik, Sprawdzenie sprawdzenie = Sprawdzenie::Pelne);
    // Whether `plik` is a sound database of this program; throws DataError
    // saying why not: missing, not a database, not this program's tables,
    // damaged.
    static void SprawdzKopie(const QString &plik);
    // Rows written through the open connection since it was opened.
    static qint64 Zmiany(Database &db);

    // "Kopia zapasowa bazy danych": writes a copy to `plik` and says so.
    bool Kopia(const QString &plik);
    // "Odtwórz bazę danych z kopii": checks `plik`, asks the user, keeps the
    // current database in the "kopie" folder, replaces the contents and opens
    // the tables again. A file that is not a sound copy changes nothing.
    bool Odtworz(const QString &plik);
    // At the end of a run that wrote to the database: an automatic copy made
    // at `teraz`, and the older ones beyond the newest seven deleted. Answers
    // whether a copy was made; a failure is told to the user.
    bool KopiaNaZakonczenie(const QDateTime &teraz = QDateTime::currentDateTime());
    // After TDM::OtworzTabele found the database file damaged: offers the
    // newest sound automatic copy. Only when the user agrees is the damaged
    // file moved to the "kopie" folder, untouched, and the copy put in its
    // place; the tables are opened then. Answers whether they are open.
    bool OdtworzUszkodzona();

private:
    TDM &dm;
};
