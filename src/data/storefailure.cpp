#include "data/storefailure.h"

#include "core/privatefiles.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>

#include <sqlite3.h>

namespace SqliteFailure {

QString reason(int code, const QString &file, const QString &sqliteText, int systemError)
{
    const QString f = QDir::toNativeSeparators(file);
    switch (systemError) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("brak miejsca na dysku, na którym leży plik %1").arg(f);
    case EACCES:
    case EPERM:
    case EROFS:
        if ((code & 0xff) == SQLITE_CANTOPEN || (code & 0xff) == SQLITE_IOERR || (code & 0xff) == SQLITE_READONLY)
            return QStringLiteral("brak prawa zapisu w pliku %1 lub w jego folderze").arg(f);
        break;
    default:
        break;
    }
    switch (code) {
    case SQLITE_READONLY_DBMOVED:
    case SQLITE_IOERR_FSTAT:
        return QStringLiteral("plik %1 został przeniesiony lub usunięty w czasie pracy programu").arg(f);
    case SQLITE_IOERR_NOMEM:
        return QStringLiteral("brak pamięci");
    default:
        break;
    }
    switch (code & 0xff) {
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return QStringLiteral("brak prawa zapisu w pliku %1 lub w jego folderze").arg(f);
    case SQLITE_CANTOPEN:
        return QStringLiteral("nie można otworzyć pliku %1 (brak pliku lub folderu albo brak prawa dostępu)").arg(f);
    case SQLITE_FULL:
        return QStringLiteral("brak miejsca na dysku, na którym leży plik %1").arg(f);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("plik %1 jest zablokowany przez inny program").arg(f);
    case SQLITE_CORRUPT:
        return QStringLiteral("plik %1 jest uszkodzony").arg(f);
    case SQLITE_NOTADB:
        return QStringLiteral("plik %1 nie jest bazą danych").arg(f);
    case SQLITE_IOERR:
        return QStringLiteral("błąd odczytu lub zapisu na dysku w pliku %1").arg(f);
    case SQLITE_NOMEM:
        return QStringLiteral("brak pamięci");
    case SQLITE_TOOBIG:
        return QStringLiteral("wartość jest za duża do zapisania w pliku %1").arg(f);
    case SQLITE_CONSTRAINT:
        return QStringLiteral("zapis narusza regułę tabeli w pliku %1 (%2)").arg(f, sqliteText);
    case SQLITE_INTERRUPT:
        return QStringLiteral("przerwano pracę na pliku %1").arg(f);
    default:
        return QStringLiteral("błąd w pliku %1 (%2, kod %3)").arg(f, sqliteText).arg(code);
    }
}

DataError error(int code, const QString &file, const QString &sqliteText, int systemError)
{
    return DataError(QStringLiteral("Błąd bazy danych: %1").arg(reason(code, file, sqliteText, systemError)));
}

DataError lastError(void *connection, const QString &file)
{
    auto *db = static_cast<sqlite3 *>(connection);
    if (!db)
        return error(SQLITE_NOMEM, file);
    const int code = sqlite3_extended_errcode(db);
    if ((code & 0xff) == SQLITE_CANTOPEN && QFileInfo::exists(file)) {
        // The file is there, so what failed is a file SQLite makes beside it
        // (its journal); trying to write there tells why.
        const QString why = PrivateFiles::writeFailure(QFileInfo(file).absolutePath());
        if (!why.isEmpty())
            return DataError(QStringLiteral("Błąd bazy danych: nie można zapisać w folderze pliku %1 (%2)")
                                 .arg(QDir::toNativeSeparators(file), why));
    }
    return error(code, file, QString::fromUtf8(sqlite3_errmsg(db)), sqlite3_system_errno(db));
}

bool damaged(int code)
{
    return (code & 0xff) == SQLITE_CORRUPT || (code & 0xff) == SQLITE_NOTADB;
}

} // namespace SqliteFailure

namespace ServerFailure {

QString Place::describe() const
{
    const QString server = port.isEmpty() ? host : QStringLiteral("%1:%2").arg(host, port);
    return QStringLiteral("serwer %1, baza danych %2").arg(server.isEmpty() ? QStringLiteral("?") : server,
                                                          database.isEmpty() ? QStringLiteral("?") : database);
}

QString reason(const QByteArray &sqlState, const QString &serverText, const Place &place, const QString &table)
{
    const QString where = place.describe();
    const QString text = serverText.trimmed().section(QLatin1Char('\n'), 0, 0);
    const QString ofTable = table.isEmpty() ? QString() : QStringLiteral(" (tabela %1)").arg(table);
    // The server that ends a connection says so before it goes, but libpq
    // tells it only in words.
    const bool endedByServer = serverText.contains(QLatin1String("terminating connection due to administrator command"));
    if ((sqlState.isEmpty() || sqlState.startsWith("08")) && !endedByServer)
        return QStringLiteral("brak połączenia z serwerem bazy danych (%1): połączenie zostało przerwane").arg(where);
    if (sqlState == "57P01" || sqlState == "57P02" || endedByServer)
        return QStringLiteral("serwer bazy danych zakończył połączenie (został zatrzymany lub połączenie przerwał "
                              "jego administrator) (%1)").arg(where);
    if (sqlState == "57P03")
        return QStringLiteral("serwer bazy danych jest właśnie uruchamiany lub zatrzymywany (%1)").arg(where);
    if (sqlState == "42501")
        return QStringLiteral("użytkownik %1 nie ma uprawnień do tych danych%2 (%3)").arg(place.user, ofTable, where);
    if (sqlState == "53100")
        return QStringLiteral("brak miejsca na dysku serwera bazy danych (%1)").arg(where);
    if (sqlState == "53200")
        return QStringLiteral("brak pamięci na serwerze bazy danych (%1)").arg(where);
    if (sqlState == "53300")
        return QStringLiteral("serwer bazy danych ma już tyle połączeń, ile przyjmuje (%1)").arg(where);
    if (sqlState == "40001" || sqlState == "40P01")
        return QStringLiteral("zapis kolidował z zapisem na innym stanowisku; spróbuj ponownie (%1)").arg(where);
    if (sqlState == "25P02")
        return QStringLiteral("transakcja została przerwana wcześniejszym błędem (%1)").arg(where);
    if (sqlState == "57014")
        return QStringLiteral("serwer bazy danych przerwał polecenie (%1)").arg(where);
    if (sqlState == "42P01")
        return QStringLiteral("na serwerze nie ma tabel programu (%1): %2").arg(where, text);
    if (sqlState.startsWith("23"))
        return QStringLiteral("zapis narusza regułę tabeli%1 (%2): %3").arg(ofTable, where, text);
    return QStringLiteral("błąd serwera bazy danych (%1): %2 [%3]").arg(where, text, QString::fromLatin1(sqlState));
}

QString connectionReason(const QString &libpqText, const Place &place)
{
    const QString where = place.describe();
    const auto says = [&libpqText](const char *words) { return libpqText.contains(QLatin1String(words), Qt::CaseInsensitive); };
    if (says("no password supplied"))
        return QStringLiteral("serwer bazy danych wymaga hasła użytkownika %1 (%2)").arg(place.user, where);
    if (says("password authentication failed") || says("authentication failed"))
        return QStringLiteral("serwer bazy danych nie przyjął hasła użytkownika %1 (%2)").arg(place.user, where);
    if (says("does not exist") && says("role"))
        return QStringLiteral("na serwerze nie ma użytkownika %1 (%2)").arg(place.user, where);
    if (says("does not exist") && says("database"))
        return QStringLiteral("na serwerze nie ma bazy danych %1 (%2)").arg(place.database, where);
    if (says("permission denied"))
        return QStringLiteral("użytkownik %1 nie ma prawa łączenia się z bazą danych (%2)").arg(place.user, where);
    if (says("no pg_hba.conf entry"))
        return QStringLiteral("serwer bazy danych nie przyjmuje połączeń użytkownika %1 z tego komputera (%2)").arg(place.user, where);
    if (says("shutting down") || says("starting up") || says("recovery mode") || says("not yet accepting"))
        return QStringLiteral("serwer bazy danych jest właśnie uruchamiany lub zatrzymywany (%1)").arg(where);
    if (says("too many") || says("connection slots"))
        return QStringLiteral("serwer bazy danych ma już tyle połączeń, ile przyjmuje (%1)").arg(where);
    if (says("could not translate host name"))
        return QStringLiteral("nie znaleziono w sieci komputera o nazwie %1 (%2)").arg(place.host, where);
    if (says("timeout expired"))
        return QStringLiteral("serwer bazy danych nie odpowiada (%1)").arg(where);
    if (says("connection refused") || says("no such file or directory") || says("could not connect"))
        return QStringLiteral("serwer bazy danych nie przyjmuje połączeń: nie działa albo adres lub port są inne (%1)").arg(where);
    const QString first = libpqText.trimmed().section(QLatin1Char('\n'), 0, 0);
    return QStringLiteral("nie można połączyć się z serwerem bazy danych (%1): %2").arg(where, first);
}

DataError error(const QString &reason)
{
    return DataError(QStringLiteral("Błąd bazy danych: %1").arg(reason));
}

} // namespace ServerFailure
