#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class Database;
class TDM;

// Backups of the database.
//
// A copy is always written through SQLite's online backup from the open
// connection, never by copying the live file: a copy taken that way cannot
// catch a save half-way. It is written under a temporary name beside its
// target (entered in the register of TemporaryFiles, so that a run killed
// half-way leaves nothing for long), checked there as SprawdzKopie checks a
// copy before restoring it, and only then renamed to its name: a copy that
// exists is one that restore accepts. A failed one leaves nothing behind and
// whatever the target held before stays. Copies are for their owner alone.
//
// Restoring replaces the contents of the open database through the same
// online backup, in one write transaction of the open connection: a crash
// half-way is rolled back by the journal, the lock file is held throughout
// (no other copy of the program can open the database in between), and
// nothing but this connection has the file open. The current contents are
// first kept as a copy of their own in the "kopie" folder.
//
// Automatic copies lie in the "kopie" folder of the database directory,
// named "tarlen5-RRRR-MM-DD_GG-MM-SS.sqlite"; the newest seven, by the
// time their contents were written, are kept. Copies in folders inside
// "kopie" are never deleted.
//
// The static functions throw DataError with a message for the user; the
// others tell the user themselves, through the data module's message boxes.
class KopieZapasowe
{
public:
    static const QString NazwaKatalogu; // "kopie"
    static constexpr int LiczbaKopiiAutomatycznych = 7;

    // What a copy holds, for the user choosing one.
    struct Zawartosc
    {
        int podatnikow = 0;
        int wnioskow = 0;
    };
    struct ZnalezionaKopia
    {
        QString plik;
        QDateTime data;
        Zawartosc zawartosc;
    };

    explicit KopieZapasowe(TDM &dm) : dm(dm) {}

    // The folder of copies of the database in `katalogBazy`.
    static QString KatalogKopii(const QString &katalogBazy);
    // The automatic copies in `katalogKopii`, newest first by their files'
    // modification time; other files there are not among them.
    static QStringList KopieAutomatyczne(const QString &katalogKopii);
    // The sound ones among them, newest first, with what they hold.
    static QList<ZnalezionaKopia> DobreKopie(const QString &katalogKopii);
    // "dd-mm-rrrr gg:mm:ss – podatników: N, wniosków: M (name)"
    static QString OpisKopii(const ZnalezionaKopia &kopia);
    // The name of an automatic copy made at `kiedy`.
    static QString NazwaKopiiAutomatycznej(const QDateTime &kiedy);
    // When a copy was made: its file's modification time.
    static QDateTime DataKopii(const QString &plik);
    // How many taxpayers and applications `plik` holds (zero when it cannot
    // be read).
    static Zawartosc ZawartoscKopii(const QString &plik);

    // Writes a checked copy of the open database to `plik`.
    static void ZapiszKopie(Database &db, const QString &plik);
    // The one test of a sound copy, for every copy written and every copy
    // restored: throws DataError saying why `plik` is not one (missing, not
    // a database, damaged, a schema other than exactly the program's:
    // tables, fields and indexes, no triggers, views or other objects).
    static void SprawdzKopie(const QString &plik);
    // Rows written through the open connection since it was opened.
    static qint64 Zmiany(Database &db);
    // Removes what a killed backup or restore left beside the database file
    // `plikBazy` or its copies; answers the files removed. Called with the
    // database locked.
    static QStringList UsunPozostalosci(const QString &plikBazy);

    // Puts a checked copy of the sound copy `kopia` where the database file
    // `plikBazy` is missing, under its lock; a journal left there is moved to
    // the "kopie" folder first.
    static void OdtworzBrakujaca(const QString &kopia, const QString &plikBazy);
    // Moves the automatic copies in `katalogKopii` into a folder of their
    // own inside it ("przed-nowa-baza-…"), out of the rotation's reach, before
    // an empty database is made beside them; answers that folder, empty when
    // there were none.
    static QString OdlozKopie(const QString &katalogKopii);

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
    // After TDM::OtworzTabele found the database file damaged or missing:
    // names it and offers the sound automatic copies, newest first, with
    // their dates and contents, to pick one. Only when the user picks one is
    // a damaged file moved to the "kopie" folder, untouched, and the copy put
    // in its place; the tables are opened then. Answers whether they are open.
    bool ZaproponujKopie();

private:
    TDM &dm;
};
