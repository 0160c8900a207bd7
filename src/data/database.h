#pragma once

#include "data/dataerror.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QVariant>

#include "data/sqlitestatements.h"

#include <memory>
#include <optional>

class IntegrityCheck;
class QLockFile;
struct sqlite3;

// Opening failed for a reason the user must be told as it is: the database is
// open in another copy of the program, or it cannot be locked at all.
class DatabaseUnavailable : public DataError
{
public:
    using DataError::DataError;
};

// There is no database file where one is recorded: deleted or moved away.
class DatabaseMissing : public DataError
{
public:
    using DataError::DataError;
};

// The database file is damaged, or is no database at all. `tables()` names
// the tables whose pages are damaged, as far as they can be told; empty when
// the damage lies elsewhere.
class DatabaseDamaged : public DataError
{
public:
    DatabaseDamaged(const QString &message, const QStringList &tables) : DataError(message), m_tables(tables) {}
    const QStringList &tables() const { return m_tables; }

private:
    QStringList m_tables;
};

// One SQLite file that holds every table of a database directory.
//
// Opening never creates or repairs the file. A save that a crash interrupted
// is rolled back by SQLite itself when the file is first read (its journal is
// "hot"); only then is the file checked, so an interrupted save never makes
// a sound database look damaged. Opening reads the file's header and schema
// at once; the check of every page runs beside the program's work, since it
// takes as long as the file is big, and nothing is written to the file before
// it has found the file sound: the first write waits for its answer.
//
// Each statement outside a transaction commits on its own. Every commit is on
// disk before it returns, the deletion of the rollback journal included
// (synchronous EXTRA), so a save that returned survives a power failure.
//
// While it is open the database is locked against other copies of the
// program by a lock file beside it ("tarlen5.sqlite.lock"); a lock left by a
// copy that is no longer running is taken over.
class Database : public QObject
{
    Q_OBJECT
public:
    static const QString FileName;
    static const QString LockSuffix;

    explicit Database(QObject *parent = nullptr);
    ~Database() override;

    // Opens the database file of `directory` (empty: the current directory).
    // Throws DatabaseUnavailable when another copy of the program has it open,
    // DatabaseDamaged when it is damaged or is not a database,
    // DatabaseMissing when there is no file, DataError when it cannot be read.
    // The files of the database are made readable by their owner alone. Damage deeper in the file is found by
    // the check begun here: awaitCheck() waits for it, checkFailed() tells it.
    void open(const QString &directory);
    // Waits for the check of the file begun by open(); throws DatabaseDamaged
    // when it found the file damaged, DataError when it could not read it
    // through. Every write waits here first.
    void awaitCheck();
    // Creates a new, empty database file in `directory`, locked like an opened
    // one; throws when one exists.
    void create(const QString &directory);
    void close();
    bool isOpen() const;
    QString filePath() const { return m_filePath; }
    static QString filePathIn(const QString &directory);
    // The files beside the database that belong to it while it is open.
    static QString journalPath(const QString &databaseFile);
    static QString lockPath(const QString &databaseFile);

    // Whether `table` exists, holds every field of `fields` and can be read.
    bool tableReadable(const QString &table, const QStringList &fields);

    // Runs one statement with named (":Name") or positional parameters and
    // reads its whole result. Statements are prepared once and reused.
    // Throws DataError on failure.
    SqlResult run(const QString &sql, const QVariantMap &named = {}, const QVariantList &positional = {});
    std::optional<SqlRow> firstRow(const QString &sql, const QVariantMap &named = {},
                                   const QVariantList &positional = {});
    qint64 lastInsertId() const { return m_statements.lastInsertId(); }
    // Rows changed by the last INSERT, UPDATE or DELETE that run() executed.
    int rowsAffected() const { return m_statements.rowsAffected(); }

    // Announces that `writer` changed `table`, so that every other dataset
    // over it reloads; a rollback announces its tables with no writer.
    void noteWrite(const QString &table, const QObject *writer);

    // A transaction; nested ones are savepoints inside the outer one. Rolls
    // back when it goes out of scope without commit().
    class Transaction
    {
    public:
        explicit Transaction(Database &db);
        ~Transaction();
        Transaction(const Transaction &) = delete;
        Transaction &operator=(const Transaction &) = delete;
        void commit();

    private:
        Database &m_db;
        QString m_name;
        QSet<QString> m_writtenBefore;
        bool m_done = false;
    };

signals:
    void tableChanged(const QString &table, const QObject *writer);
    // The check begun by open() found the file unsound after open() returned;
    // `damaged` when damaged or no database, else it could not be read through.
    void checkFailed(bool damaged, const QString &message);

private:
    // Backups are written and restored through SQLite's online backup on the
    // connection itself, and a damaged file is replaced under the lock.
    friend class KopieZapasowe;

    void lock(const QString &path);
    // The database folder, the file, its journal and lock file (and the
    // folder of copies with its files) for their owner alone: a database made
    // by an earlier version was readable by everyone.
    static void makePrivate(const QString &path);
    void openConnection(const QString &path, bool create);
    void closeConnection();
    void readSchema();
    void beginCheck();
    void checkAnswered();
    QStringList damagedTables();
    void configure();
    sqlite3 *nativeHandle() const;
    void execute(const QString &sql);

    QString m_connectionName;
    QString m_filePath;
    std::unique_ptr<QLockFile> m_lock;
    SqliteStatements m_statements;
    std::unique_ptr<IntegrityCheck> m_check;
    QSet<QString> m_writtenInTransaction;
    int m_transactionDepth = 0;
};
