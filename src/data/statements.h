#pragma once

#include <QList>
#include <QStringList>
#include <QVariant>
#include <QVector>

using SqlRow = QVector<QVariant>;
struct SqlResult
{
    QStringList columns;
    QList<SqlRow> rows;
};

// The statements of one connection to a store: SQLite's file or a
// PostgreSQL server. Values come back as the store keeps them: whole numbers
// as qint64, reals as double, texts as QString, blobs as QByteArray, NULL as
// a null variant.
class Statements
{
public:
    virtual ~Statements() = default;

    // Runs one statement with named (":Name") or positional ("?") parameters
    // and reads its whole result. Throws DataError on failure.
    virtual SqlResult run(const QString &sql, const QVariantMap &named, const QVariantList &positional) = 0;
    // The rowid given to the row that the last INSERT added.
    virtual qint64 lastInsertId() const = 0;
    // Rows changed by the last INSERT, UPDATE or DELETE.
    virtual int rowsAffected() const = 0;
    // Forgets every prepared statement.
    virtual void clear() = 0;
};
