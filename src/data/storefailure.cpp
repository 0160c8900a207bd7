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
