#include "data/database.h"

#include "data/dataerror.h"
#include "core/polishtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QUrl>
#include <QUuid>

#include <sqlite3.h>

const QString Database::FileName = QStringLiteral("tarlen5.sqlite");

namespace {

constexpr int StatementCacheLimit = 256;

quint32 bigEndian(const QByteArray &bytes, int offset, int width)
{
    quint32 v = 0;
    for (int i = 0; i < width; ++i)
        v = (v << 8) | quint8(bytes[offset + i]);
    return v;
}

// SQLite reads a damaged file without complaint until it touches the damaged
// page. The header tells the page size and, when it is trustworthy, the page
// count, so a cut or truncated file is found at once, without reading it all.
void checkHeader(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw DataError(QStringLiteral("Brak pliku bazy danych: %1").arg(QDir::toNativeSeparators(path)));
    if (!info.isFile())
        throw DataError(QStringLiteral("To nie jest plik bazy danych: %1").arg(QDir::toNativeSeparators(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(QStringLiteral("Nie można odczytać pliku: %1").arg(QDir::toNativeSeparators(path)));
    const qint64 size = file.size();
    if (size == 0)
        return; // an empty file is an empty database: its tables are missing
    const QByteArray header = file.read(100);
    const bool isSqlite = header.size() == 100 && header.startsWith(QByteArrayLiteral("SQLite format 3\0"));
    const qint64 pageSize = isSqlite ? (bigEndian(header, 16, 2) == 1 ? 65536 : bigEndian(header, 16, 2)) : 0;
    if (!isSqlite || pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        throw DataError(QStringLiteral("Plik nie jest bazą danych: %1").arg(QDir::toNativeSeparators(path)));
    const quint32 changeCounter = bigEndian(header, 24, 4);
    const quint32 pageCount = bigEndian(header, 28, 4);
    const bool pageCountValid = pageCount > 0 && changeCounter == bigEndian(header, 92, 4);
    if (size % pageSize != 0 || (pageCountValid && qint64(pageCount) * pageSize > size))
        throw DataError(QStringLiteral("Plik bazy danych jest uszkodzony: %1").arg(QDir::toNativeSeparators(path)));
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

DataError sqlError(const QSqlError &error)
{
    QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return DataError(QStringLiteral("Błąd bazy danych: %1").arg(text));
}

} // namespace

Database::Database(QObject *parent)
    : QObject(parent), m_connectionName(QUuid::createUuid().toString())
{
}

Database::~Database()
{
    close();
}

QString Database::filePathIn(const QString &directory)
{
    return QDir(directory.isEmpty() ? QDir::currentPath() : directory).absoluteFilePath(FileName);
}

void Database::open(const QString &directory)
{
    close();
    const QString path = filePathIn(directory);
    checkHeader(path);
    openConnection(path, false);
}

void Database::create(const QString &directory)
{
    close();
    const QString path = filePathIn(directory);
    if (QFileInfo::exists(path))
        throw DataError(QStringLiteral("Baza danych już istnieje: %1").arg(QDir::toNativeSeparators(path)));
    openConnection(path, true);
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
        const DataError error = sqlError(db.lastError());
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw error;
    }
    m_filePath = path;
    registerFunctions();
    execute(QStringLiteral("PRAGMA synchronous = FULL"));
}

void Database::registerFunctions()
{
    const QVariant handle = QSqlDatabase::database(m_connectionName, false).driver()->handle();
    sqlite3 *native = handle.isValid() ? *static_cast<sqlite3 *const *>(handle.data()) : nullptr;
    if (!native)
        throw DataError(QStringLiteral("Błąd bazy danych: brak połączenia."));
    sqlite3_create_function_v2(native, "pl_upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                               polishUpperFunction, nullptr, nullptr, nullptr);
}

void Database::close()
{
    if (m_filePath.isEmpty())
        return;
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

QSqlQuery &Database::prepared(const QString &sql)
{
    if (!isOpen())
        throw DataError(QStringLiteral("Baza danych nie jest otwarta."));
    auto it = m_statements.find(sql);
    if (it != m_statements.end())
        return *it;
    if (m_statements.size() >= StatementCacheLimit)
        m_statements.clear();
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw sqlError(query.lastError());
    return *m_statements.insert(sql, query);
}

SqlResult Database::run(const QString &sql, const QVariantMap &named, const QVariantList &positional)
{
    QSqlQuery &query = prepared(sql);
    for (auto it = named.begin(); it != named.end(); ++it)
        query.bindValue(QLatin1Char(':') + it.key(), it.value());
    for (int i = 0; i < positional.size(); ++i)
        query.bindValue(i, positional[i]);
    if (!query.exec()) {
        const DataError error = sqlError(query.lastError());
        query.finish();
        throw error;
    }
    SqlResult result;
    const QSqlRecord record = query.record();
    const int n = record.count();
    for (int i = 0; i < n; ++i)
        result.columns << record.fieldName(i);
    while (query.next()) {
        SqlRow row(n);
        for (int i = 0; i < n; ++i)
            row[i] = query.value(i);
        result.rows.append(std::move(row));
    }
    if (query.lastError().isValid()) {
        const DataError error = sqlError(query.lastError());
        query.finish();
        throw error;
    }
    if (n == 0) {
        m_lastInsertId = query.lastInsertId().toLongLong();
        m_rowsAffected = query.numRowsAffected();
    }
    query.finish();
    return result;
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
    m_db.execute(QStringLiteral("RELEASE ") + m_name);
    m_done = true;
    --m_db.m_transactionDepth;
    if (m_db.m_transactionDepth == 0)
        m_db.m_writtenInTransaction.clear();
}
