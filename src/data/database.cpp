#include "data/database.h"

#include "data/dataerror.h"
#include "data/integritycheck.h"
#include "data/schema.h"
#include "data/storefailure.h"
#include "core/polishtext.h"
#include "core/privatefiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QUrl>
#include <QUuid>

#include <sqlite3.h>

const QString Database::FileName = QStringLiteral("tarlen5.sqlite");
const QString Database::LockSuffix = QStringLiteral(".lock");

namespace {

quint32 bigEndian(const QByteArray &bytes, int offset, int width)
{
    quint32 v = 0;
    for (int i = 0; i < width; ++i)
        v = (v << 8) | quint8(bytes[offset + i]);
    return v;
}

QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// Before SQLite is let at the path: it must name a file. SQLite would report
// a missing file or a directory only as "unable to open".
void checkPresent(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw DatabaseMissing(QStringLiteral("Brak pliku bazy danych: %1").arg(native(path)));
    if (!info.isFile())
        throw DataError(QStringLiteral("To nie jest plik bazy danych: %1").arg(native(path)));
}

// After SQLite has recovered the file, what quick_check does not look at: a
// sound file is whole pages, and never shorter than its header says. (A file
// that a save was interrupted in may be neither until its journal has been
// played back, which is why this comes only after the first read.)
void checkSize(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(QStringLiteral("Nie można odczytać pliku: %1").arg(native(path)));
    const qint64 size = file.size();
    if (size == 0)
        return; // an empty file is an empty database: its tables are missing
    const QByteArray header = file.read(100);
    const bool isSqlite = header.size() == 100 && header.startsWith(QByteArrayLiteral("SQLite format 3\0"));
    const qint64 pageSize = isSqlite ? (bigEndian(header, 16, 2) == 1 ? 65536 : bigEndian(header, 16, 2)) : 0;
    if (!isSqlite || pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        throw DatabaseDamaged(QStringLiteral("Plik nie jest bazą danych: %1").arg(native(path)), {});
    const quint32 changeCounter = bigEndian(header, 24, 4);
    const quint32 pageCount = bigEndian(header, 28, 4);
    const bool pageCountValid = pageCount > 0 && changeCounter == bigEndian(header, 92, 4);
    if (size % pageSize != 0 || (pageCountValid && qint64(pageCount) * pageSize > size))
        throw DatabaseDamaged(QStringLiteral("Plik bazy danych jest uszkodzony: %1").arg(native(path)), {});
}

// A lock file that tells nothing of its holder was left by a copy stopped
// while it was taking the lock: Qt writes the holder's details at once, so
// after a few seconds nobody is writing it any more.
bool leftHalfMade(const QLockFile &lock, const QString &lockPath)
{
    if (lock.getLockInfo(nullptr, nullptr, nullptr))
        return false;
    const QFileInfo info(lockPath);
    return info.exists() && qAbs(info.lastModified().secsTo(QDateTime::currentDateTime())) > 5;
}

void polishUpperFunction(sqlite3_context *context, int, sqlite3_value **argv)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    if (!text) {
        sqlite3_result_null(context);
        return;
    }
    const QByteArray upper = polishUpper(QString::fromUtf8(text, sqlite3_value_bytes(argv[0]))).toUtf8();
    sqlite3_result_text(context, upper.constData(), int(upper.size()), SQLITE_TRANSIENT);
}

DataError sqlError(const QSqlError &error, const QString &path)
{
    bool known = false;
    const int code = error.nativeErrorCode().toInt(&known);
    return SqliteFailure::error(known ? code : SQLITE_CANTOPEN, path,
                                error.databaseText().isEmpty() ? error.text() : error.databaseText());
}

} // namespace

Database::Database(QObject *parent)
    : QObject(parent), m_connectionName(QUuid::createUuid().toString())
{
    m_statements.setBeforeWrite([this] { awaitCheck(); });
}

Database::~Database()
{
    close();
}

QString Database::filePathIn(const QString &directory)
{
    return QDir(directory.isEmpty() ? QDir::currentPath() : directory).absoluteFilePath(FileName);
}

QString Database::journalPath(const QString &databaseFile)
{
    return databaseFile + QStringLiteral("-journal");
}

QString Database::lockPath(const QString &databaseFile)
{
    return databaseFile + LockSuffix;
}

void Database::makePrivate(const QString &path)
{
    const QString folder = QFileInfo(path).absolutePath();
    PrivateFiles::restrict(folder);
    for (const QString &file : {path, journalPath(path), lockPath(path)})
        PrivateFiles::restrict(file);
    const QString copies = QDir(folder).filePath(QStringLiteral("kopie"));
    PrivateFiles::restrict(copies);
    for (const QFileInfo &copy : QDir(copies).entryInfoList(QDir::Files | QDir::Hidden))
        PrivateFiles::restrict(copy.absoluteFilePath());
}

void Database::open(const QString &directory)
{
    const QString path = filePathIn(directory);
    // Opening the same database again keeps the lock this copy holds on it.
    const bool relocking = !m_lock || m_lock->fileName() != path + LockSuffix;
    closeConnection();
    if (relocking)
        m_lock.reset();
    checkPresent(path);
    if (relocking)
        lock(path);
    makePrivate(path);
    try {
        openConnection(path, false);
        // SQLite opens a file it may not write read-only, without a word;
        // every save would then fail. The user learns it now.
        if (sqlite3_db_readonly(nativeHandle(), "main") == 1)
            throw DatabaseUnavailable(QStringLiteral("Plik bazy danych jest tylko do odczytu: %1").arg(native(path)));
        // The first read plays back the journal of a save that was interrupted;
        // the file is judged only as SQLite then leaves it.
        try {
            readSchema();
        } catch (const DatabaseDamaged &) {
            // A file cut short is damaged as a whole, whichever table its
            // last page happens to hold.
            checkSize(path);
            throw;
        }
        checkSize(path);
        configure();
        beginCheck();
    } catch (...) {
        close();
        throw;
    }
}

void Database::create(const QString &directory)
{
    close();
    const QString path = filePathIn(directory);
    if (QFileInfo::exists(path))
        throw DataError(QStringLiteral("Baza danych już istnieje: %1").arg(native(path)));
    lock(path);
    try {
        openConnection(path, true);
        makePrivate(path);
        configure();
    } catch (...) {
        close();
        throw;
    }
}

void Database::lock(const QString &path)
{
    const QString lockPath = Database::lockPath(path);
    auto lock = std::make_unique<QLockFile>(lockPath);
    // The lock is held as long as the program runs, however long that is: it
    // goes stale only when its holder is no longer running (or the computer
    // has been started anew), which QLockFile finds out by itself.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0) && lock->error() == QLockFile::LockFailedError && leftHalfMade(*lock, lockPath)
        && lock->removeStaleLockFile())
        lock->tryLock(0);
    if (!lock->isLocked()) {
        if (lock->error() == QLockFile::PermissionError)
            throw DatabaseUnavailable(QStringLiteral("Nie można utworzyć pliku blokady bazy danych "
                                                     "(brak prawa zapisu w folderze): %1")
                                          .arg(native(lockPath)));
        if (lock->error() != QLockFile::LockFailedError) {
            // A lock file made but not written (a full disk) would keep the
            // next start out as if another copy held the database.
            if (!lock->getLockInfo(nullptr, nullptr, nullptr))
                QFile::remove(lockPath);
            const QString reason = PrivateFiles::writeFailure(QFileInfo(lockPath).absolutePath());
            throw DatabaseUnavailable(QStringLiteral("Nie można utworzyć pliku blokady bazy danych (%1): %2")
                                          .arg(reason.isEmpty() ? QStringLiteral("błąd zapisu na dysku") : reason,
                                               native(lockPath)));
        }
        QString host;
        lock->getLockInfo(nullptr, &host, nullptr);
        const QString where = !host.isEmpty() && host != QSysInfo::machineHostName()
                                  ? QStringLiteral(" na komputerze %1").arg(host)
                                  : QString();
        throw DatabaseUnavailable(
            QStringLiteral("Baza danych jest już otwarta w innym oknie programu Tarlen%1: %2").arg(where, native(path)));
    }
    m_lock = std::move(lock);
}

void Database::openConnection(const QString &path, bool create)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    // A URI with mode=rw opens an existing file only: a missing one is never created.
    QString uri = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    uri += create ? QStringLiteral("?mode=rwc") : QStringLiteral("?mode=rw");
    db.setDatabaseName(uri);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
    if (!db.open()) {
        const DataError error = sqlError(db.lastError(), path);
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw error;
    }
    m_filePath = path;
    m_statements.attach(nativeHandle(), path);
}

sqlite3 *Database::nativeHandle() const
{
    const QVariant handle = QSqlDatabase::database(m_connectionName, false).driver()->handle();
    sqlite3 *native = handle.isValid() ? *static_cast<sqlite3 *const *>(handle.data()) : nullptr;
    if (!native)
        throw DataError(QStringLiteral("Błąd bazy danych: brak połączenia."));
    return native;
}

namespace {

// Throws the error that the answer of a check of the file at `path` stands
// for; returns when the file is sound.
void throwIfUnsound(const IntegrityCheck::Answer &answer, const QString &path, const QStringList &damagedTables = {})
{
    switch (answer.verdict) {
    case IntegrityCheck::Verdict::Sound:
        return;
    case IntegrityCheck::Verdict::NotADatabase:
        throw DatabaseDamaged(QStringLiteral("Plik nie jest bazą danych: %1").arg(native(path)), {});
    case IntegrityCheck::Verdict::Damaged:
        throw DatabaseDamaged(QStringLiteral("Plik bazy danych jest uszkodzony: %1").arg(native(path)), damagedTables);
    default:
        throw SqliteFailure::error(answer.code, path, answer.error);
    }
}

} // namespace

// The check of the list of tables reads the first page and the schema: a file
// that is no database, or whose tables cannot be told, is found at once.
// Reading the file is what rolls an interrupted save back.
void Database::readSchema()
{
    const IntegrityCheck::Answer answer = IntegrityCheck::check(nativeHandle(), "PRAGMA quick_check(sqlite_master)");
    throwIfUnsound(answer, m_filePath,
                   answer.verdict == IntegrityCheck::Verdict::Damaged ? damagedTables() : QStringList());
}

void Database::beginCheck()
{
    m_check = std::make_unique<IntegrityCheck>(
        m_filePath, [this] { QMetaObject::invokeMethod(this, &Database::checkAnswered, Qt::QueuedConnection); });
}

// Told from the event loop; by then the file may have been closed, or closed
// and opened again: the answer that counts is that of the file open now.
void Database::checkAnswered()
{
    if (!m_check)
        return;
    try {
        awaitCheck();
    } catch (const DatabaseDamaged &e) {
        emit checkFailed(true, e.message());
    } catch (const DataError &e) {
        emit checkFailed(false, e.message());
    }
}

void Database::awaitCheck()
{
    if (m_check)
        throwIfUnsound(m_check->wait(), m_filePath);
}

// The tables that a check of their own (with their indexes) finds damaged.
QStringList Database::damagedTables()
{
    QStringList damaged;
    try {
        const SqlResult tables = run(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                                    "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid"));
        for (const SqlRow &row : tables.rows) {
            const QString name = row[0].toString();
            try {
                const auto answer = firstRow(QStringLiteral("PRAGMA integrity_check(\"%1\")")
                                                 .arg(QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\""))));
                if (!answer || answer->at(0).toString() != QLatin1String("ok"))
                    damaged << name;
            } catch (const DataError &) {
                damaged << name;
            }
        }
    } catch (const DataError &) {
        // the list of tables itself is damaged: no table can be named
    }
    m_statements.clear();
    return damaged;
}

void Database::configure()
{
    sqlite3_create_function_v2(nativeHandle(), "pl_upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               polishUpperFunction, nullptr, nullptr, nullptr);
    // The rollback journal keeps the database one file. EXTRA syncs the
    // directory after the journal is deleted at commit, so a commit that
    // returned is not undone by a power failure (FULL leaves that to chance).
    execute(QStringLiteral("PRAGMA journal_mode = DELETE"));
    execute(QStringLiteral("PRAGMA synchronous = EXTRA"));
}

void Database::close()
{
    closeConnection();
    // Released only once SQLite has let go of the file.
    m_lock.reset();
}

void Database::closeConnection()
{
    if (m_filePath.isEmpty())
        return;
    m_check.reset();
    m_statements.clear();
    QSqlDatabase::database(m_connectionName, false).close();
    QSqlDatabase::removeDatabase(m_connectionName);
    m_filePath.clear();
    m_transactionDepth = 0;
    m_writtenInTransaction.clear();
}

bool Database::isOpen() const
{
    return !m_filePath.isEmpty();
}

bool Database::tableReadable(const QString &table, const QStringList &fields)
{
    // Reading one record of every field finds a missing table, a missing
    // field and a damaged first page at once.
    try {
        run(QStringLiteral("SELECT %1 FROM %2 LIMIT 1").arg(fields.join(QStringLiteral(", ")), table));
        return true;
    } catch (const DataError &) {
        return false;
    }
}

SqlResult Database::run(const QString &sql, const QVariantMap &named, const QVariantList &positional)
{
    if (!isOpen())
        throw DataError(QStringLiteral("Baza danych nie jest otwarta."));
    return m_statements.run(sql, named, positional);
}

std::optional<SqlRow> Database::firstRow(const QString &sql, const QVariantMap &named, const QVariantList &positional)
{
    SqlResult result = run(sql, named, positional);
    if (result.rows.isEmpty())
        return std::nullopt;
    return result.rows.first();
}

void Database::execute(const QString &sql)
{
    run(sql);
}

void Database::noteWrite(const QString &table, const QObject *writer)
{
    if (m_transactionDepth > 0)
        m_writtenInTransaction.insert(table.toUpper());
    emit tableChanged(table.toUpper(), writer);
}

Database::Transaction::Transaction(Database &db)
    : m_db(db), m_name(QStringLiteral("tarlen_%1").arg(db.m_transactionDepth + 1)),
      m_writtenBefore(db.m_writtenInTransaction)
{
    m_db.execute(QStringLiteral("SAVEPOINT ") + m_name);
    ++m_db.m_transactionDepth;
}

Database::Transaction::~Transaction()
{
    if (m_done || !m_db.isOpen())
        return;
    --m_db.m_transactionDepth;
    const QSet<QString> written = m_db.m_writtenInTransaction - m_writtenBefore;
    m_db.m_writtenInTransaction = m_writtenBefore;
    try {
        m_db.execute(QStringLiteral("ROLLBACK TO ") + m_name);
        m_db.execute(QStringLiteral("RELEASE ") + m_name);
    } catch (const DataError &) {
        // nothing more can be done: SQLite has rolled the transaction back itself
    }
    // Datasets that saw the rolled-back writes must read the tables again.
    for (const QString &table : written)
        emit m_db.tableChanged(table, nullptr);
}

void Database::Transaction::commit()
{
    try {
        m_db.execute(QStringLiteral("RELEASE ") + m_name);
    } catch (const DataError &e) {
        // What the user typed went to several tables; none of it is saved.
        QStringList files;
        for (const QString &table : m_db.m_writtenInTransaction - m_writtenBefore)
            files << tableDef(table).fileName;
        files.sort();
        throw DataError(files.isEmpty() ? QStringLiteral("Nie zapisano zmian.\r%1").arg(e.message())
                                        : QStringLiteral("Nie zapisano zmian w tabelach: %1.\r%2")
                                              .arg(files.join(QStringLiteral(", ")), e.message()));
    }
    m_done = true;
    --m_db.m_transactionDepth;
    if (m_db.m_transactionDepth == 0)
        m_db.m_writtenInTransaction.clear();
}
