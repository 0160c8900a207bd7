#include "data/kopiezapasowe.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/integritycheck.h"
#include "data/schema.h"
#include "data/tdm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QTemporaryFile>
#include <QUrl>

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
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
        *error = QString::fromLocal8Bit(ec.message().c_str());
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
    int rc() const { return m_rc; }
    sqlite3 *handle() const { return m_db; }
    QString error() const { return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("brak pamięci"); }

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

// Whether `plik` is a sound database of this program, its pages checked as
// `sprawdzenie` asks; throws DataError saying why not.
void checkCopy(const QString &plik, KopieZapasowe::Sprawdzenie sprawdzenie)
{
    const QFileInfo info(plik);
    if (!info.exists())
        throw DataError(QStringLiteral("Brak pliku: %1").arg(native(plik)));
    if (!info.isFile())
        throw DataError(QStringLiteral("To nie jest plik: %1").arg(native(plik)));
    checkHeader(plik);

    Connection copy(plik, Connection::ReadOnly);
    if (!copy.ok())
        throw DataError(QStringLiteral("Nie można odczytać pliku %1: %2").arg(native(plik), copy.error()));
    int rc = SQLITE_OK;
    // The check looks up every index entry in its table: with the pages kept
    // in memory (up to 256 MB, only as much as the file needs) it takes a
    // third of the time it takes with the default cache.
    firstColumn(copy.handle(), "PRAGMA cache_size = -262144", QString(), rc);
    const IntegrityCheck::Answer answer = IntegrityCheck::check(
        copy.handle(),
        sprawdzenie == KopieZapasowe::Sprawdzenie::Pelne ? "PRAGMA integrity_check" : "PRAGMA quick_check");
    switch (answer.verdict) {
    case IntegrityCheck::Verdict::Sound:
        break;
    case IntegrityCheck::Verdict::NotADatabase:
        throw notADatabase(plik);
    case IntegrityCheck::Verdict::Damaged:
        throw damaged(plik);
    default:
        throw DataError(QStringLiteral("Nie można odczytać pliku %1: %2").arg(native(plik), answer.error));
    }

    const QString notOurs = QStringLiteral("Plik nie jest kopią bazy danych programu Tarlen (%1): %2");
    for (const TableDef &table : storedTables()) {
        const QStringList fields = firstColumn(copy.handle(), "SELECT name FROM pragma_table_info(?)", table.name, rc);
        if (rc != SQLITE_OK)
            throw DataError(QStringLiteral("Nie można odczytać pliku %1: %2").arg(native(plik), copy.error()));
        if (fields.isEmpty())
            throw DataError(notOurs.arg(QStringLiteral("brak tabeli %1").arg(table.name), native(plik)));
        QSet<QString> present;
        for (const QString &f : fields)
            present.insert(f.toUpper());
        for (const FieldDef &field : table.fields)
            if (!present.contains(field.name.toUpper()))
                throw DataError(notOurs.arg(QStringLiteral("w tabeli %1 brak pola %2").arg(table.name, field.name),
                                            native(plik)));
    }
}

// Copies every page of `from` into `to` in one write transaction of `to`;
// on failure `to` is as it was.
void copyPages(sqlite3 *from, sqlite3 *to)
{
    sqlite3_backup *backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        throw DataError(QStringLiteral("Błąd bazy danych: %1").arg(QString::fromUtf8(sqlite3_errmsg(to))));
    const int step = sqlite3_backup_step(backup, -1);
    const int finish = sqlite3_backup_finish(backup);
    if (step != SQLITE_DONE)
        throw DataError(QStringLiteral("Błąd bazy danych: %1").arg(QString::fromUtf8(sqlite3_errstr(step))));
    if (finish != SQLITE_OK)
        throw DataError(QStringLiteral("Błąd bazy danych: %1").arg(QString::fromUtf8(sqlite3_errmsg(to))));
}

// Writes the pages of `from` to a new file in `katalog`, checks it, and
// answers its (temporary) name; on failure nothing is left behind.
QString writeCheckedCopy(sqlite3 *from, const QString &katalog, const QString &name,
                         KopieZapasowe::Sprawdzenie sprawdzenie)
{
    QTemporaryFile temporary(QDir(katalog).filePath(QStringLiteral(".%1.XXXXXX").arg(name)));
    temporary.setAutoRemove(false);
    if (!temporary.open())
        throw DataError(QStringLiteral("Nie można utworzyć pliku w folderze %1: %2")
                            .arg(native(katalog), temporary.errorString()));
    const QString path = temporary.fileName();
    temporary.close();
    auto removeIt = qScopeGuard([&path] {
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-journal"));
    });
    {
        Connection to(path, Connection::ReadWrite);
        if (!to.ok())
            throw DataError(QStringLiteral("Nie można zapisać pliku %1: %2").arg(native(path), to.error()));
        try {
            copyPages(from, to.handle());
        } catch (const DataError &e) {
            throw DataError(QStringLiteral("Nie można zapisać kopii w folderze %1.\r%2").arg(native(katalog), e.message()));
        }
    }
    try {
        checkCopy(path, sprawdzenie);
    } catch (const DataError &e) {
        throw DataError(QStringLiteral("Zapisana kopia nie przeszła sprawdzenia i została usunięta.\r%1").arg(e.message()));
    }
    removeIt.dismiss();
    return path;
}

} // namespace

QString KopieZapasowe::KatalogKopii(const QString &katalogBazy)
{
    return QDir(katalogBazy.isEmpty() ? QDir::currentPath() : katalogBazy).absoluteFilePath(NazwaKatalogu);
}

QStringList KopieZapasowe::KopieAutomatyczne(const QString &katalogKopii)
{
    struct Copy
    {
        QString stamp;
        int number;
        QString path;
    };
    QList<Copy> copies;
    const QDir dir(katalogKopii);
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch m = automaticName().match(info.fileName());
        if (m.hasMatch())
            copies.append({m.captured(1), m.captured(2).isEmpty() ? 1 : m.captured(2).toInt(), info.absoluteFilePath()});
    }
    std::sort(copies.begin(), copies.end(), [](const Copy &a, const Copy &b) {
        return a.stamp != b.stamp ? a.stamp > b.stamp : a.number > b.number;
    });
    QStringList paths;
    for (const Copy &c : copies)
        paths << c.path;
    return paths;
}

QString KopieZapasowe::NazwaKopiiAutomatycznej(const QDateTime &kiedy)
{
    return QStringLiteral("%1-%2.sqlite").arg(baseName(), kiedy.toString(StampFormat));
}

QDateTime KopieZapasowe::DataKopii(const QString &plik)
{
    const QFileInfo info(plik);
    const QRegularExpressionMatch m = automaticName().match(info.fileName());
    if (m.hasMatch()) {
        const QDateTime stamp = QDateTime::fromString(m.captured(1), StampFormat);
        if (stamp.isValid())
            return stamp;
    }
    return info.lastModified();
}

void KopieZapasowe::SprawdzKopie(const QString &plik)
{
    checkCopy(plik, Sprawdzenie::Pelne);
}

void KopieZapasowe::ZapiszKopie(Database &db, const QString &plik, Sprawdzenie sprawdzenie)
{
    if (!db.isOpen())
        throw DataError(QStringLiteral("Baza danych nie jest otwarta."));
    const QString live = db.filePath();
    for (const QString &own : {live, live + QStringLiteral("-journal"), live + Database::LockSuffix})
        if (sameFile(plik, own))
            throw DataError(QStringLiteral("Kopii nie można zapisać w miejscu pliku otwartej bazy danych: %1").arg(native(plik)));
    const QFileInfo target(plik);
    if (target.isDir())
        throw DataError(QStringLiteral("To jest folder, a nie plik: %1").arg(native(plik)));
    const QString katalog = target.absolutePath();
    if (!QFileInfo(katalog).isDir())
        throw DataError(QStringLiteral("Brak folderu: %1").arg(native(katalog)));
    sqlite3 *connection = db.nativeHandle();
    // A copy taken inside a transaction would hold its unfinished writes.
    if (!sqlite3_get_autocommit(connection))
        throw DataError(QStringLiteral("Kopii nie można wykonać w trakcie zapisu danych."));

    const QString temporary = writeCheckedCopy(connection, katalog, target.fileName(), sprawdzenie);
    QString error;
    if (!replaceFile(temporary, target.absoluteFilePath(), &error)) {
        QFile::remove(temporary);
        throw DataError(QStringLiteral("Nie można zapisać pliku %1: %2").arg(native(plik), error));
    }
    syncDirectory(katalog);
}

qint64 KopieZapasowe::Zmiany(Database &db)
{
    return db.isOpen() ? sqlite3_total_changes64(db.nativeHandle()) : 0;
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
    if (sameFile(plik, db.filePath())) {
        dm.Uwaga(QStringLiteral("Ten plik jest otwartą bazą danych, a nie jej kopią: %1").arg(native(plik)) + unchanged);
        return false;
    }
    try {
        SprawdzKopie(plik);
    } catch (const DataError &e) {
        dm.Uwaga(e.message() + unchanged);
        return false;
    }

    const QString katalog = KatalogKopii(QFileInfo(db.filePath()).absolutePath());
    const QDateTime teraz = QDateTime::currentDateTime();
    const QString zachowana = freeName(katalog, QStringLiteral("%1-przed-odtworzeniem-%2").arg(baseName(), teraz.toString(StampFormat)));
    if (!dm.PotwierdzUwaga(QStringLiteral("Odtworzyć bazę danych z kopii zapasowej\r%1\rz dnia %2?\r\r"
                                          "Wszystkie obecne dane zostaną zastąpione danymi z kopii. "
                                          "Obecna baza danych zostanie zachowana w pliku\r%3")
                               .arg(native(plik), DataKopii(plik).toString(QStringLiteral("dd-MM-yyyy HH:mm")),
                                    native(zachowana))))
        return false;

    try {
        if (!QDir().mkpath(katalog))
            throw DataError(QStringLiteral("Nie można utworzyć folderu kopii zapasowych: %1").arg(native(katalog)));
        ZapiszKopie(db, zachowana);
    } catch (const DataError &e) {
        dm.Uwaga(QStringLiteral("Nie udało się zachować obecnej bazy danych.\r%1").arg(e.message()) + unchanged);
        return false;
    }

    try {
        Connection copy(plik, Connection::ReadOnly);
        if (!copy.ok())
            throw DataError(QStringLiteral("Nie można odczytać pliku %1: %2").arg(native(plik), copy.error()));
        dm.ZamknijTabele();
        copyPages(copy.handle(), db.nativeHandle());
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
        if (!QDir().mkpath(katalog))
            throw DataError(QStringLiteral("Nie można utworzyć folderu kopii zapasowych: %1").arg(native(katalog)));
        plik = freeName(katalog, QFileInfo(NazwaKopiiAutomatycznej(teraz)).completeBaseName());
        ZapiszKopie(db, plik, Sprawdzenie::Szybkie);
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

bool KopieZapasowe::OdtworzUszkodzona()
{
    Database &db = dm.database();
    const QString plikBazy = Database::filePathIn(TDM::SciezkaBazy());
    const QString katalogBazy = QFileInfo(plikBazy).absolutePath();
    const QString katalog = KatalogKopii(katalogBazy);

    QString kopia;
    for (const QString &k : KopieAutomatyczne(katalog)) {
        try {
            SprawdzKopie(k);
            kopia = k;
            break;
        } catch (const DataError &) {
            // a damaged copy is passed over for an older one
        }
    }
    if (kopia.isEmpty()) {
        dm.Uwaga(QStringLiteral("Plik bazy danych jest uszkodzony i nie będzie używany:\r%1\r"
                                "W folderze %2 nie ma dobrej kopii zapasowej, z której można by go odtworzyć.")
                     .arg(native(plikBazy), native(katalog)));
        return false;
    }
    const QString uszkodzona = freeName(katalog, QStringLiteral("%1-uszkodzona-%2")
                                                     .arg(baseName(), QDateTime::currentDateTime().toString(StampFormat)));
    if (!dm.PotwierdzUwaga(QStringLiteral("Plik bazy danych jest uszkodzony i nie będzie używany:\r%1\r\r"
                                          "Odtworzyć bazę danych z najnowszej dobrej kopii zapasowej\r%2\rz dnia %3?\r\r"
                                          "Dane zapisane po wykonaniu tej kopii trzeba będzie wprowadzić ponownie. "
                                          "Uszkodzony plik zostanie przeniesiony bez zmian do pliku\r%4")
                               .arg(native(plikBazy), native(kopia),
                                    DataKopii(kopia).toString(QStringLiteral("dd-MM-yyyy HH:mm")), native(uszkodzona))))
        return false;

    try {
        db.close();
        db.lock(plikBazy);
        auto unlock = qScopeGuard([&db] { db.close(); });
        if (!QFileInfo(plikBazy).isFile())
            throw DataError(QStringLiteral("Brak pliku bazy danych: %1").arg(native(plikBazy)));

        Connection from(kopia, Connection::ReadOnly);
        if (!from.ok())
            throw DataError(QStringLiteral("Nie można odczytać pliku %1: %2").arg(native(kopia), from.error()));
        const QString temporary = writeCheckedCopy(from.handle(), katalogBazy, Database::FileName, Sprawdzenie::Pelne);
        auto removeTemporary = qScopeGuard([&temporary] { QFile::remove(temporary); });
        QFile::setPermissions(temporary, QFile::permissions(plikBazy));

        // The damaged file and a journal beside it move together and unchanged:
        // a journal left behind would be played back into the restored file.
        const QString journal = plikBazy + QStringLiteral("-journal");
        const bool withJournal = QFileInfo::exists(journal);
        if (!QFile::rename(plikBazy, uszkodzona))
            throw DataError(QStringLiteral("Nie można przenieść uszkodzonego pliku %1 do %2")
                                .arg(native(plikBazy), native(uszkodzona)));
        if (withJournal && !QFile::rename(journal, uszkodzona + QStringLiteral("-journal"))) {
            QFile::rename(uszkodzona, plikBazy);
            throw DataError(QStringLiteral("Nie można przenieść pliku %1").arg(native(journal)));
        }
        if (!QFile::rename(temporary, plikBazy)) {
            QFile::rename(uszkodzona, plikBazy);
            if (withJournal)
                QFile::rename(uszkodzona + QStringLiteral("-journal"), journal);
            throw DataError(QStringLiteral("Nie można zapisać pliku %1").arg(native(plikBazy)));
        }
        removeTemporary.dismiss();
        syncDirectory(katalogBazy);
        syncDirectory(katalog);
        // Opening keeps the lock taken here.
        unlock.dismiss();
    } catch (const DataError &e) {
        dm.Uwaga(QStringLiteral("Nie udało się odtworzyć bazy danych z kopii zapasowej.\r%1").arg(e.message()));
        return false;
    }
    if (!dm.OtworzTabele())
        return false;
    dm.Uwaga(QStringLiteral("Baza danych została odtworzona z kopii zapasowej\r%1\r"
                            "Uszkodzony plik jest zachowany jako\r%2")
                 .arg(native(kopia), native(uszkodzona)));
    return true;
}
