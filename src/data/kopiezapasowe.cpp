#include "data/kopiezapasowe.h"

#include "data/kopiaserwera.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/integritycheck.h"
#include "data/schema.h"
#include "data/storefailure.h"
#include "data/temporaryfiles.h"
#include "data/tdm.h"

#include "core/privatefiles.h"

#include <QDir>
#include <QStandardPaths>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QUrl>

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

const QString KopieZapasowe::NazwaKatalogu = QStringLiteral("kopie");

namespace {

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

QString baseName()
{
    return QFileInfo(Database::FileName).completeBaseName(); // "tarlen5"
}

// The time in an automatic copy's name, and its number among copies of
// the same second.
const QRegularExpression &automaticName()
{
    static const QRegularExpression re(
        QStringLiteral("^%1-(\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2})(?:_(\\d+))?\\.sqlite$")
            .arg(QRegularExpression::escape(baseName())));
    return re;
}

const QString StampFormat = QStringLiteral("yyyy-MM-dd_HH-mm-ss");

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo ia(a), ib(b);
    if (ia.absoluteFilePath() == ib.absoluteFilePath())
        return true;
    return ia.exists() && ib.exists() && ia.canonicalFilePath() == ib.canonicalFilePath();
}

// A name in `katalog` not taken yet: `stem.sqlite`, else `stem_2.sqlite`, ...
QString freeName(const QString &katalog, const QString &stem)
{
    const QDir dir(katalog);
    QString path = dir.filePath(stem + QStringLiteral(".sqlite"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1_%2.sqlite").arg(stem).arg(n));
    return path;
}

// A rename is on disk only once its directory is.
void syncDirectory(const QString &katalog)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(katalog).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(katalog);
#endif
}

// Renames over an existing target in one step (a copy written anew over
// an older one of the same name).
bool replaceFile(const QString &from, const QString &to, QString *error)
{
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()), std::filesystem::path(to.toStdU16String()), ec);
    if (ec && error)
        *error = PrivateFiles::systemReason(ec.value());
    return !ec;
}

// A connection of its own to a file other than the open database; closed
// when it goes.
class Connection
{
public:
    enum Mode { ReadOnly, ReadWrite };
    Connection(const QString &path, Mode mode)
    {
        QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded).toUtf8();
        uri += mode == ReadOnly ? "?mode=ro" : "?mode=rw";
        const int flags = (mode == ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_URI;
        m_rc = sqlite3_open_v2(uri.constData(), &m_db, flags, nullptr);
    }
    ~Connection() { sqlite3_close_v2(m_db); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool ok() const { return m_rc == SQLITE_OK; }
    sqlite3 *handle() const { return m_db; }
    // Why the file could not be opened, in Polish, naming it.
    DataError error(const QString &path) const { return SqliteFailure::lastError(m_db, path); }

private:
    sqlite3 *m_db = nullptr;
    int m_rc = SQLITE_ERROR;
};

// The first column of every row of `sql`; `rc` gets SQLite's primary code.
QStringList firstColumn(sqlite3 *db, const char *sql, const QString &parameter, int &rc)
{
    QStringList values;
    sqlite3_stmt *statement = nullptr;
    rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        if (!parameter.isNull()) {
            const QByteArray p = parameter.toUtf8();
            sqlite3_bind_text(statement, 1, p.constData(), int(p.size()), SQLITE_TRANSIENT);
        }
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW)
            values << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
        if (rc == SQLITE_DONE)
            rc = SQLITE_OK;
    }
    sqlite3_finalize(statement);
    rc &= 0xff;
    return values;
}

quint32 bigEndian(const QByteArray &bytes, int offset, int width)
{
    quint32 v = 0;
    for (int i = 0; i < width; ++i)
        v = (v << 8) | quint8(bytes[offset + i]);
    return v;
}

DataError notADatabase(const QString &path)
{
    return DataError(QStringLiteral("Plik nie jest bazą danych: %1").arg(native(path)));
}

DataError damaged(const QString &path)
{
    return DataError(QStringLiteral("Plik jest uszkodzony: %1").arg(native(path)));
}

// What SQLite does not look at before it reads a file: its header, and a
// size of whole pages no shorter than the header says. (SQLite takes an
// empty file, or one of a few bytes, for an empty database.)
void checkHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(QStringLiteral("Nie można odczytać pliku: %1").arg(native(path)));
    const qint64 size = file.size();
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        throw notADatabase(path);
    const quint32 field = bigEndian(header, 16, 2);
    const qint64 pageSize = field == 1 ? 65536 : field;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        throw notADatabase(path);
    const quint32 pageCount = bigEndian(header, 28, 4);
    const bool pageCountValid = pageCount > 0 && bigEndian(header, 24, 4) == bigEndian(header, 92, 4);
    if (size % pageSize != 0 || (pageCountValid && qint64(pageCount) * pageSize > size))
        throw damaged(path);
}

// The program's schema as SQLite keeps it: "type name" -> its SQL text.
const QMap<QString, QString> &programSchema()
{
    static const QMap<QString, QString> schema = [] {
        QMap<QString, QString> objects;
        sqlite3 *db = nullptr;
        sqlite3_open(":memory:", &db);
        for (const TableDef &table : storedTables())
            for (const QString &statement : createStatements(table))
                sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, nullptr);
        int rc = SQLITE_OK;
        for (const QString &row : firstColumn(db, "SELECT type || ' ' || name || char(10) || COALESCE(sql, '') FROM sqlite_master",
                                              QString(), rc)) {
            const qsizetype cut = row.indexOf(QLatin1Char('\n'));
            objects.insert(row.left(cut), row.mid(cut + 1));
        }
        sqlite3_close(db);
        return objects;
    }();
    return schema;
}

// An index of the order once was unique in every table that has one.
QString withoutUnique(QString sql)
{
    return sql.replace(QStringLiteral("CREATE UNIQUE INDEX"), QStringLiteral("CREATE INDEX"));
}

// What makes the schema of `db` other than the program's, in Polish; empty
// when it is the program's. Every table with exactly its fields, no object
// of another kind (a trigger or a view would run in the program's
// connection once the copy is restored); an index an earlier version lacked
// may be missing, as the program adds it at start.
QString schemaDifference(sqlite3 *db, int &rc)
{
    const QMap<QString, QString> &program = programSchema();
    QSet<QString> tablesSeen;
    const QStringList rows = firstColumn(
        db, "SELECT type || ' ' || name || char(10) || COALESCE(sql, '') FROM sqlite_master ORDER BY rowid", QString(), rc);
    if (rc != SQLITE_OK)
        return {};
    for (const QString &row : rows) {
        const qsizetype cut = row.indexOf(QLatin1Char('\n'));
        const QString object = row.left(cut);
        const QString sql = row.mid(cut + 1);
        const QString type = object.section(QLatin1Char(' '), 0, 0);
        const QString name = object.section(QLatin1Char(' '), 1);
        if (object == QLatin1String("table sqlite_sequence"))
            continue;
        if (type == QLatin1String("table")) {
            if (!program.contains(object))
                return QStringLiteral("obca tabela %1").arg(name);
            if (program.value(object) != sql)
                return QStringLiteral("tabela %1 ma inne pola niż w programie").arg(name);
            tablesSeen.insert(name);
        } else if (type == QLatin1String("index")) {
            if (!program.contains(object))
                return QStringLiteral("obcy indeks %1").arg(name);
            if (withoutUnique(program.value(object)) != withoutUnique(sql))
                return QStringLiteral("indeks %1 jest inny niż w programie").arg(name);
        } else if (type == QLatin1String("trigger")) {
            return QStringLiteral("wyzwalacz %1").arg(name);
        } else if (type == QLatin1String("view")) {
            return QStringLiteral("widok %1").arg(name);
        } else {
            return QStringLiteral("obcy obiekt %1").arg(name);
        }
    }
    for (const TableDef &table : storedTables())
        if (!tablesSeen.contains(table.name))
            return QStringLiteral("brak tabeli %1").arg(table.name);
    return {};
}

// The one definition of a sound copy: a database file whose every page
// and index entry passes the check of a whole file, holding exactly the
// program's schema. What is called good when written is what restore
// accepts. Throws DataError saying why `plik` is not one.
void checkCopy(const QString &plik)
{
    const QFileInfo info(plik);
    if (!info.exists())
        throw DataError(QStringLiteral("Brak pliku: %1").arg(native(plik)));
    if (!info.isFile())
        throw DataError(QStringLiteral("To nie jest plik: %1").arg(native(plik)));
    checkHeader(plik);

    Connection copy(plik, Connection::ReadOnly);
    if (!copy.ok())
        throw copy.error(plik);
    const IntegrityCheck::Answer answer = IntegrityCheck::checkWhole(copy.handle());
    switch (answer.verdict) {
    case IntegrityCheck::Verdict::Sound:
        break;
    case IntegrityCheck::Verdict::NotADatabase:
        throw notADatabase(plik);
    case IntegrityCheck::Verdict::Damaged:
        throw damaged(plik);
    default:
        throw SqliteFailure::error(answer.code, plik, answer.error);
    }

    int rc = SQLITE_OK;
    const QString difference = schemaDifference(copy.handle(), rc);
    if (rc != SQLITE_OK)
        throw SqliteFailure::lastError(copy.handle(), plik);
    if (!difference.isEmpty())
        throw DataError(QStringLiteral("Plik nie jest kopią bazy danych programu Tarlen (%1): %2").arg(difference, native(plik)));
}

// Copies every page of `from` (the file `fromPath`) into `to` (the file
// `toPath`) in one write transaction of `to`; on failure `to` is as it was.
void copyPages(sqlite3 *from, const QString &fromPath, sqlite3 *to, const QString &toPath)
{
    sqlite3_backup *backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        throw SqliteFailure::lastError(to, toPath);
    const int step = sqlite3_backup_step(backup, -1);
    const int finish = sqlite3_backup_finish(backup);
    if (step == SQLITE_DONE && finish == SQLITE_OK)
        return;
    // A page that cannot be read is the source's fault; the rest, the target's.
    const int code = step != SQLITE_DONE ? step : sqlite3_extended_errcode(to);
    throw SqliteFailure::error(code, SqliteFailure::damaged(code) ? fromPath : toPath, QString::fromUtf8(sqlite3_errstr(code)),
                               sqlite3_system_errno(to));
}

// The pages of `from` (the file `fromPath`) written into the temporary file
// of a copy that will be `target`.
std::function<void(const QString &)> pagesOf(sqlite3 *from, const QString &fromPath, const QString &target)
{
    return [=](const QString &path) {
        Connection to(path, Connection::ReadWrite);
        if (!to.ok())
            throw to.error(path);
        copyPages(from, fromPath, to.handle(), target);
    };
}

// Makes a new temporary file beside `target`, entered in the register of
// `databaseFile`, has `write` fill it, checks it, and answers its name; on
// failure nothing is left behind.
QString writeCheckedCopy(const QString &databaseFile, const QString &target, const std::function<void(const QString &)> &write)
{
    const QString katalog = QFileInfo(target).absolutePath();
    const QString path = TemporaryFiles::create(databaseFile, target);
    auto removeIt = qScopeGuard([&] {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-journal"));
        TemporaryFiles::release(databaseFile, path);
    });
    try {
        write(path);
    } catch (const DataError &e) {
        throw DataError(QStringLiteral("Nie można zapisać kopii w folderze %1.\r%2").arg(native(katalog), e.message()));
    }
    try {
        checkCopy(path);
    } catch (const DataError &e) {
        throw DataError(QStringLiteral("Zapisana kopia nie przeszła sprawdzenia i została usunięta.\r%1").arg(e.message()));
    }
    removeIt.dismiss();
    return path;
}

// Renames the checked temporary copy to `target`; on failure removes it.
void putInPlace(const QString &temporary, const QString &databaseFile, const QString &target)
{
    QString error;
    const bool renamed = replaceFile(temporary, target, &error);
    if (!renamed)
        QFile::remove(temporary);
    TemporaryFiles::release(databaseFile, temporary);
    if (!renamed)
        throw DataError(QStringLiteral("Nie można zapisać pliku %1: %2").arg(native(target), error));
    syncDirectory(QFileInfo(target).absolutePath());
}

// The folder of copies, made private; throws saying why it cannot be made.
void makeCopiesFolder(const QString &katalog)
{
    if (PrivateFiles::makeFolder(katalog))
        return;
    const QString reason = PrivateFiles::writeFailure(QFileInfo(katalog).absolutePath());
    throw DataError(QStringLiteral("Nie można utworzyć folderu kopii zapasowych: %1%2")
                        .arg(native(katalog), reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason)));
}

// A checked temporary copy of the copy `kopia`, beside `plikBazy`.
QString temporaryFromCopy(const QString &kopia, const QString &plikBazy)
{
    Connection from(kopia, Connection::ReadOnly);
    if (!from.ok())
        throw from.error(kopia);
    return writeCheckedCopy(plikBazy, plikBazy, pagesOf(from.handle(), kopia, plikBazy));
}

} // namespace

QString KopieZapasowe::KatalogKopii(const QString &katalogBazy)
{
    return QDir(katalogBazy.isEmpty() ? QDir::currentPath() : katalogBazy).absoluteFilePath(NazwaKatalogu);
}

QStringList KopieZapasowe::KopieAutomatyczne(const QString &katalogKopii)
{
    QList<QFileInfo> copies;
    for (const QFileInfo &info : QDir(katalogKopii).entryInfoList(QDir::Files | QDir::Hidden))
        if (automaticName().match(info.fileName()).hasMatch())
            copies.append(info);
    // A name says what the clock said when the copy was named, and may be
    // wrong or changed; the file's own time is when its contents were written.
    std::sort(copies.begin(), copies.end(), [](const QFileInfo &a, const QFileInfo &b) {
        const QDateTime ta = a.lastModified(), tb = b.lastModified();
        return ta != tb ? ta > tb : a.fileName() > b.fileName();
    });
    QStringList paths;
    for (const QFileInfo &c : copies)
        paths << c.absoluteFilePath();
    return paths;
}

QString KopieZapasowe::NazwaKopiiAutomatycznej(const QDateTime &kiedy)
{
    return QStringLiteral("%1-%2.sqlite").arg(baseName(), kiedy.toString(StampFormat));
}

QDateTime KopieZapasowe::DataKopii(const QString &plik)
{
    return QFileInfo(plik).lastModified();
}

KopieZapasowe::Zawartosc KopieZapasowe::ZawartoscKopii(const QString &plik)
{
    Zawartosc zawartosc;
    Connection copy(plik, Connection::ReadOnly);
    if (!copy.ok())
        return zawartosc;
    int rc = SQLITE_OK;
    zawartosc.podatnikow = firstColumn(copy.handle(), "SELECT COUNT(*) FROM Podatnik", QString(), rc).value(0).toInt();
    zawartosc.wnioskow = firstColumn(copy.handle(), "SELECT COUNT(*) FROM VZMy", QString(), rc).value(0).toInt();
    return zawartosc;
}

void KopieZapasowe::SprawdzKopie(const QString &plik)
{
    checkCopy(plik);
}

QString KopieZapasowe::MiejsceTymczasowych(const Database &db)
{
    if (!db.isServer())
        return db.filePath();
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).filePath(QStringLiteral("tarlen5-serwer"));
}

void KopieZapasowe::ZapiszKopie(Database &db, const QString &plik)
{
    if (!db.isOpen())
        throw DataError(QStringLiteral("Baza danych nie jest otwarta."));
    const QString live = db.filePath();
    for (const QString &own : {live, Database::journalPath(live), Database::lockPath(live), TemporaryFiles::registerOf(live)})
        if (sameFile(plik, own))
            throw DataError(QStringLiteral("Kopii nie można zapisać w miejscu pliku otwartej bazy danych: %1").arg(native(plik)));
    const QFileInfo target(plik);
    if (target.isDir())
        throw DataError(QStringLiteral("To jest folder, a nie plik: %1").arg(native(plik)));
    const QString katalog = target.absolutePath();
    if (!QFileInfo(katalog).isDir())
        throw DataError(QStringLiteral("Brak folderu: %1").arg(native(katalog)));
    const QString rejestr = MiejsceTymczasowych(db);
    if (db.isServer()) {
        makeCopiesFolder(QFileInfo(rejestr).absolutePath());
        putInPlace(writeCheckedCopy(rejestr, target.absoluteFilePath(),
                                    [&db](const QString &path) { KopiaSerwera::ZapiszDoPliku(db, path); }),
                   rejestr, target.absoluteFilePath());
        return;
    }
    sqlite3 *connection = db.nativeHandle();
    // A copy taken inside a transaction would hold its unfinished writes.
    if (!sqlite3_get_autocommit(connection))
        throw DataError(QStringLiteral("Kopii nie można wykonać w trakcie zapisu danych."));

    putInPlace(writeCheckedCopy(rejestr, target.absoluteFilePath(), pagesOf(connection, live, target.absoluteFilePath())),
               rejestr, target.absoluteFilePath());
}

QString KopieZapasowe::OdlozKopie(const QString &katalogKopii)
{
    const QStringList kopie = KopieAutomatyczne(katalogKopii);
    if (kopie.isEmpty())
        return {};
    QString folder = QDir(katalogKopii).filePath(
        QStringLiteral("przed-nowa-baza-%1").arg(QDateTime::currentDateTime().toString(StampFormat)));
    for (int n = 2; QFileInfo::exists(folder); ++n)
        folder = QDir(katalogKopii).filePath(
            QStringLiteral("przed-nowa-baza-%1_%2").arg(QDateTime::currentDateTime().toString(StampFormat)).arg(n));
    if (!PrivateFiles::makeFolder(folder))
        throw DataError(QStringLiteral("Nie można utworzyć folderu %1").arg(native(folder)));
    for (const QString &kopia : kopie)
        if (!QFile::rename(kopia, QDir(folder).filePath(QFileInfo(kopia).fileName())))
            throw DataError(QStringLiteral("Nie można przenieść pliku %1 do folderu %2").arg(native(kopia), native(folder)));
    syncDirectory(katalogKopii);
    return folder;
}

qint64 KopieZapasowe::Zmiany(Database &db)
{
    // The server's database is the office's to back up: a desk leaving makes no copy.
    return db.isOpen() && !db.isServer() ? sqlite3_total_changes64(db.nativeHandle()) : 0;
}

QStringList KopieZapasowe::UsunPozostalosci(const QString &plikBazy)
{
    return TemporaryFiles::removeLeftovers(plikBazy);
}

bool KopieZapasowe::Kopia(const QString &plik)
{
    try {
        ZapiszKopie(dm.database(), plik);
    } catch (const DataError &e) {
        dm.Uwaga(QStringLiteral("Nie udało się wykonać kopii zapasowej bazy danych.\r%1").arg(e.message()));
        return false;
    }
    dm.Informacja(QStringLiteral("Kopia zapasowa bazy danych została zapisana i sprawdzona:\r%1").arg(native(plik)));
    return true;
}

bool KopieZapasowe::Odtworz(const QString &plik)
{
    Database &db = dm.database();
    if (!db.isOpen()) {
        dm.Uwaga(QStringLiteral("Baza danych nie jest otwarta."));
        return false;
    }
    const QString unchanged = QStringLiteral("\rBaza danych nie została zmieniona.");
    const bool serwer = db.isServer();
    if (!serwer && sameFile(plik, db.filePath())) {
        dm.Uwaga(QStringLiteral("Ten plik jest otwartą bazą danych, a nie jej kopią: %1").arg(native(plik)) + unchanged);
        return false;
    }
    try {
        SprawdzKopie(plik);
    } catch (const DataError &e) {
        dm.Uwaga(e.message() + unchanged);
        return false;
    }

    // A server's present register is kept in the user's own folder of copies.
    const QString katalog = KatalogKopii(serwer ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                                : QFileInfo(db.filePath()).absolutePath());
    const QDateTime teraz = QDateTime::currentDateTime();
    const QString zachowana = freeName(katalog, QStringLiteral("%1-przed-odtworzeniem-%2").arg(baseName(), teraz.toString(StampFormat)));
    if (!dm.PotwierdzUwaga(QStringLiteral("Odtworzyć bazę danych%4 z kopii zapasowej\r%1\rz dnia %2?\r\r"
                                          "Wszystkie obecne dane zostaną zastąpione danymi z kopii%5. "
                                          "Obecna baza danych zostanie zachowana w pliku\r%3")
                               .arg(native(plik), DataKopii(plik).toString(QStringLiteral("dd-MM-yyyy HH:mm")),
                                    native(zachowana), serwer ? QStringLiteral(" na serwerze") : QString(),
                                    serwer ? QStringLiteral(", na wszystkich stanowiskach") : QString())))
        return false;

    try {
        makeCopiesFolder(katalog);
        ZapiszKopie(db, zachowana);
    } catch (const DataError &e) {
        dm.Uwaga(QStringLiteral("Nie udało się zachować obecnej bazy danych.\r%1").arg(e.message()) + unchanged);
        return false;
    }

    try {
        if (serwer) {
            // One transaction of the server: the other desks see the old register or the new one.
            KopiaSerwera::OdtworzZPliku(db, plik);
        } else {
            Connection copy(plik, Connection::ReadOnly);
            if (!copy.ok())
                throw copy.error(plik);
            dm.ZamknijTabele();
            copyPages(copy.handle(), plik, db.nativeHandle(), db.filePath());
        }
    } catch (const DataError &e) {
        dm.Uwaga(QStringLiteral("Nie udało się odtworzyć bazy danych z kopii.\r%1").arg(e.message()) + unchanged);
        dm.OtworzTabele();
        return false;
    }
    // The tables read the new contents; opening checks the file again.
    if (!dm.OtworzTabele())
        return false;
    dm.Informacja(QStringLiteral("Baza danych została odtworzona z kopii zapasowej\r%1\r"
                            "Poprzednia zawartość bazy danych jest zachowana w pliku\r%2")
                 .arg(native(plik), native(zachowana)));
    return true;
}

bool KopieZapasowe::KopiaNaZakonczenie(const QDateTime &teraz)
{
    Database &db = dm.database();
    if (!db.isOpen() || Zmiany(db) == 0)
        return false;
    const QString katalog = KatalogKopii(QFileInfo(db.filePath()).absolutePath());
    QString plik;
    try {
        makeCopiesFolder(katalog);
        plik = freeName(katalog, QFileInfo(NazwaKopiiAutomatycznej(teraz)).completeBaseName());
        ZapiszKopie(db, plik);
    } catch (const DataError &e) {
        dm.Uwaga(QStringLiteral("Nie udało się wykonać automatycznej kopii zapasowej bazy danych.\r%1").arg(e.message()));
        return false;
    }

    // The copy just made stays, whatever the clock said of the others.
    QStringList starsze = KopieAutomatyczne(katalog);
    starsze.removeAll(QFileInfo(plik).absoluteFilePath());
    QStringList nieusuniete;
    for (int i = LiczbaKopiiAutomatycznych - 1; i < starsze.size(); ++i)
        if (!QFile::remove(starsze[i]))
            nieusuniete << native(starsze[i]);
    if (!nieusuniete.isEmpty())
        dm.Uwaga(QStringLiteral("Kopia zapasowa bazy danych została wykonana, ale nie udało się usunąć starszych kopii:\r%1")
                     .arg(nieusuniete.join(QLatin1Char('\r'))));
    return true;
}

QList<KopieZapasowe::ZnalezionaKopia> KopieZapasowe::DobreKopie(const QString &katalogKopii)
{
    QList<ZnalezionaKopia> dobre;
    for (const QString &k : KopieAutomatyczne(katalogKopii)) {
        try {
            SprawdzKopie(k);
            dobre.append({k, DataKopii(k), ZawartoscKopii(k)});
        } catch (const DataError &) {
            // a damaged copy is not offered
        }
    }
    return dobre;
}

QString KopieZapasowe::OpisKopii(const ZnalezionaKopia &kopia)
{
    return QStringLiteral("%1 – podatników: %2, wniosków: %3 (%4)")
        .arg(kopia.data.toString(QStringLiteral("dd-MM-yyyy HH:mm:ss")))
        .arg(kopia.zawartosc.podatnikow)
        .arg(kopia.zawartosc.wnioskow)
        .arg(QFileInfo(kopia.plik).fileName());
}

void KopieZapasowe::OdtworzBrakujaca(const QString &kopia, const QString &plikBazy)
{
    Database lock;
    lock.lock(plikBazy);
    if (QFileInfo::exists(plikBazy))
        throw DataError(QStringLiteral("Baza danych już istnieje: %1").arg(native(plikBazy)));
    UsunPozostalosci(plikBazy);
    // A journal without its database would be played back into the copy.
    const QString journal = Database::journalPath(plikBazy);
    if (QFileInfo::exists(journal)) {
        const QString katalog = KatalogKopii(QFileInfo(plikBazy).absolutePath());
        const QString aside = freeName(katalog, QStringLiteral("%1-osierocony-dziennik-%2")
                                                    .arg(baseName(), QDateTime::currentDateTime().toString(StampFormat)));
        if (!PrivateFiles::makeFolder(katalog) || !QFile::rename(journal, aside))
            throw DataError(QStringLiteral("Nie można przenieść pliku %1").arg(native(journal)));
    }
    putInPlace(temporaryFromCopy(kopia, plikBazy), plikBazy, plikBazy);
}

bool KopieZapasowe::ZaproponujKopie()
{
    Database &db = dm.database();
    const QString plikBazy = Database::filePathIn(TDM::SciezkaBazy());
    const QString katalogBazy = QFileInfo(plikBazy).absolutePath();
    const QString katalog = KatalogKopii(katalogBazy);
    const bool brak = !QFileInfo::exists(plikBazy);
    const QString stan = brak ? QStringLiteral("Brak pliku bazy danych:\r%1").arg(native(plikBazy))
                              : QStringLiteral("Plik bazy danych jest uszkodzony i nie będzie używany:\r%1").arg(native(plikBazy));

    const QList<ZnalezionaKopia> kopie = DobreKopie(katalog);
    // A missing file has been named already; without a copy there is no more to say.
    if (kopie.isEmpty() && brak && KopieAutomatyczne(katalog).isEmpty())
        return false;
    if (kopie.isEmpty()) {
        dm.Uwaga(stan + QStringLiteral("\rW folderze %1 nie ma dobrej kopii zapasowej, z której można by go odtworzyć.")
                            .arg(native(katalog)));
        return false;
    }
    const QString uszkodzona = freeName(katalog, QStringLiteral("%1-uszkodzona-%2")
                                                     .arg(baseName(), QDateTime::currentDateTime().toString(StampFormat)));
    QStringList opisy;
    for (const ZnalezionaKopia &k : kopie)
        opisy << OpisKopii(k);
    const int wybrana = dm.Wybierz(
        stan + QStringLiteral("\r\rOdtworzyć bazę danych z kopii zapasowej? Najnowsza jest pierwsza na liście. "
                              "Dane zapisane po wykonaniu wybranej kopii trzeba będzie wprowadzić ponownie.")
            + (brak ? QString() : QStringLiteral("\rUszkodzony plik zostanie przeniesiony bez zmian do pliku\r%1").arg(native(uszkodzona))),
        opisy);
    if (wybrana < 0 || wybrana >= kopie.size())
        return false;
    const QString kopia = kopie[wybrana].plik;

    try {
        db.close();
        if (brak) {
            OdtworzBrakujaca(kopia, plikBazy);
        } else {
            db.lock(plikBazy);
            auto unlock = qScopeGuard([&db] { db.close(); });
            if (!QFileInfo(plikBazy).isFile())
                throw DataError(QStringLiteral("Brak pliku bazy danych: %1").arg(native(plikBazy)));
            UsunPozostalosci(plikBazy);
            const QString temporary = temporaryFromCopy(kopia, plikBazy);
            auto removeTemporary = qScopeGuard([&] {
                QFile::remove(temporary);
                TemporaryFiles::release(plikBazy, temporary);
            });
            // The damaged file and a journal beside it move together and
            // unchanged: a journal left behind would be played back into the
            // restored file.
            const QString journal = Database::journalPath(plikBazy);
            const bool withJournal = QFileInfo::exists(journal);
            if (!QFile::rename(plikBazy, uszkodzona))
                throw DataError(QStringLiteral("Nie można przenieść uszkodzonego pliku %1 do %2")
                                    .arg(native(plikBazy), native(uszkodzona)));
            if (withJournal && !QFile::rename(journal, Database::journalPath(uszkodzona))) {
                QFile::rename(uszkodzona, plikBazy);
                throw DataError(QStringLiteral("Nie można przenieść pliku %1").arg(native(journal)));
            }
            if (!QFile::rename(temporary, plikBazy)) {
                QFile::rename(uszkodzona, plikBazy);
                if (withJournal)
                    QFile::rename(Database::journalPath(uszkodzona), journal);
                throw DataError(QStringLiteral("Nie można zapisać pliku %1").arg(native(plikBazy)));
            }
            removeTemporary.dismiss();
            TemporaryFiles::release(plikBazy, temporary);
            syncDirectory(katalogBazy);
            syncDirectory(katalog);
            // Opening keeps the lock taken here.
            unlock.dismiss();
        }
    } catch (const DataError &e) {
        dm.Uwaga(QStringLiteral("Nie udało się odtworzyć bazy danych z kopii zapasowej.\r%1").arg(e.message()));
        return false;
    }
    if (!dm.OtworzTabele())
        return false;
    dm.Informacja(QStringLiteral("Baza danych została odtworzona z kopii zapasowej\r%1").arg(native(kopia))
                  + (brak ? QString() : QStringLiteral("\rUszkodzony plik jest zachowany jako\r%1").arg(native(uszkodzona))));
    return true;
}
