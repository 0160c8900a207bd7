#pragma once

#include <QHash>
#include <QList>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <functional>

struct sqlite3;
struct sqlite3_stmt;

using SqlRow = QVector<QVariant>;
struct SqlResult
{
    QStringList columns;
    QList<SqlRow> rows;
};

// The prepared statements of one SQLite connection, run through SQLite's own
// interface: reading a result through the generic SQL layer costs two to
// three times as much, and every list of invoices is read whole.
// Values come back as SQLite keeps them: whole numbers as qint64, reals as
// double, texts as QString, blobs as QByteArray, NULL as a null variant.
class SqliteStatements
{
public:
    SqliteStatements() = default;
    ~SqliteStatements() { clear(); }
    SqliteStatements(const SqliteStatements &) = delete;
    SqliteStatements &operator=(const SqliteStatements &) = delete;

    // The connection the statements run on, and the file it has open, which
    // failures name; null detaches (after clear()).
    void attach(sqlite3 *connection, const QString &file = {})
    {
        m_connection = connection;
        m_file = file;
    }
    // Finalizes every statement: a connection closes only without them.
    void clear();
    // Called before every statement that may write, and may throw to stop it.
    void setBeforeWrite(std::function<void()> beforeWrite) { m_beforeWrite = std::move(beforeWrite); }

    // Runs one statement with named (":Name") or positional parameters and
    // reads its whole result. Throws DataError on failure.
    SqlResult run(const QString &sql, const QVariantMap &named, const QVariantList &positional);

    qint64 lastInsertId() const { return m_lastInsertId; }
    int rowsAffected() const { return m_rowsAffected; }

private:
    sqlite3_stmt *prepared(const QString &sql);
    [[noreturn]] void fail(sqlite3_stmt *statement) const;

    sqlite3 *m_connection = nullptr;
    QString m_file;
    std::function<void()> m_beforeWrite;
    QHash<QString, sqlite3_stmt *> m_cache;
    qint64 m_lastInsertId = 0;
    int m_rowsAffected = 0;
};
