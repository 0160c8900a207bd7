#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>
#include <QVector>

#include <optional>

using SqlRow = QVector<QVariant>;
struct SqlResult
{
    QStringList columns;
    QList<SqlRow> rows;
};

// One SQLite file that holds every table of a database directory. Opening
// never creates, repairs or writes the file. Each statement outside a
// transaction commits on its own, and SQLite's full synchronous mode puts the
// change on disk before the statement returns.
class Database : public QObject
{
    Q_OBJECT
public:
    static const QString FileName;

    explicit Database(QObject *parent = nullptr);
    ~Database() override;

    // Opens the database file of `directory` (empty: the current directory).
    // Throws DataError when the file is missing, is not a database or is damaged.
    void open(const QString &directory);
    // Creates a new, empty database file in `directory`; throws when one exists.
    void create(const QString &directory);
    void close();
    bool isOpen() const;
    QString filePath() const { return m_filePath; }
    static QString filePathIn(const QString &directory);

    // Whether `table` exists, holds every field of `fields` and can be read.
    bool tableReadable(const QString &table, const QStringList &fields);

    // Runs one statement with named (":Name") or positional parameters and
    // reads its whole result. Statements are prepared once and reused.
    // Throws DataError on failure.
    SqlResult run(const QString &sql, const QVariantMap &named = {}, const QVariantList &positional = {});
    std::optional<SqlRow> firstRow(const QString &sql, const QVariantMap &named = {},
                                   const QVariantList &positional = {});
    qint64 lastInsertId() const { return m_lastInsertId; }
    // Rows changed by the last INSERT, UPDATE or DELETE that run() executed.
    int rowsAffected() const { return m_rowsAffected; }

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

private:
    void openConnection(const QString &path, bool create);
    void registerFunctions();
    QSqlQuery &prepared(const QString &sql);
    void execute(const QString &sql);

    QString m_connectionName;
    QString m_filePath;
    QHash<QString, QSqlQuery> m_statements;
    QSet<QString> m_writtenInTransaction;
    int m_transactionDepth = 0;
    qint64 m_lastInsertId = 0;
    int m_rowsAffected = 0;
};
