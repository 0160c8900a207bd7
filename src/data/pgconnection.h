#pragma once

#include "data/statements.h"
#include "data/storefailure.h"

#include <QHash>
#include <QString>

typedef struct pg_conn PGconn;

// One connection to a PostgreSQL server through libpq, with prepared
// statements as SqliteStatements keeps them: the same SQL text runs on both
// stores. ":Name" and "?" parameters become "$n"; every parameter is sent as
// text and typed by the server. An INSERT answers the rowid of its row.
// Result columns keep the spelling the SQL gave them (the server answers
// them in lower case).
//
// A connection lost outside a transaction is made again before the next
// statement; inside one the statement fails, and the transaction with it.
class PgConnection : public Statements
{
public:
    struct Notification
    {
        QString channelPayload; // the payload: the changed table's name
        int backendPid = 0;     // the server process of the desk that wrote
    };

    // Connects; throws DataError with the reason in Polish, PasswordNeeded
    // when the server wants a password that neither PostgreSQL's password
    // file holds nor rememberPassword was given (or the one given was refused).
    explicit PgConnection(const QString &conninfo);
    ~PgConnection() override;
    PgConnection(const PgConnection &) = delete;
    PgConnection &operator=(const PgConnection &) = delete;

    SqlResult run(const QString &sql, const QVariantMap &named, const QVariantList &positional) override;
    qint64 lastInsertId() const override { return m_lastInsertId; }
    int rowsAffected() const override { return m_rowsAffected; }
    void clear() override;

    // The socket on which notifications arrive, and their reading.
    int socket() const;
    QList<Notification> takeNotifications();
    // Keeps the notifications that came in with the answers to statements
    // (the socket tells of them no more); answers whether any wait.
    bool keepArrivedNotifications();
    int backendPid() const;
    bool inTransaction() const;
    QString conninfo() const { return m_conninfo; }

    // A whole statement text (several statements allowed, no parameters).
    // A COMMIT that the server answers with a rollback (the transaction had
    // failed) throws.
    void execute(const QString &sql);
    // Connects anew when the connection was lost; answers whether it did.
    // Only between transactions: inside one, the lost part is lost.
    bool reconnectIfLost();

    // Connections to the server, database and user of `conninfo` use
    // `password` from now on, for this run only (it is kept in memory alone);
    // a password the server refuses is forgotten.
    static void rememberPassword(const QString &conninfo, const QString &password);

    // A value of a connection string, quoted as libpq wants it.
    static QString quoted(QString value);
    // The conninfo of `conninfo` with what the program adds: the desk's name
    // as the application name, and a short connection time-out.
    static QString withDefaults(const QString &conninfo);
    // The reason of a failed connection, in Polish.
    static DataError connectionFailure(PGconn *connection);
    // The server, database and user of a connection, made or failed.
    static ServerFailure::Place placeOf(PGconn *connection);

private:
    struct Prepared
    {
        QByteArray name;
        QStringList parameterNames; // by position; empty names stand for "?"
        QStringList columns;        // as the SQL spells them, by the server's lower-case names
        bool insert = false;
    };
    const Prepared &prepared(const QString &sql);
    [[noreturn]] void fail(const char *message, const char *sqlState, const char *table = nullptr);
    // Throws, having freed `result`, unless the statement was carried out.
    void failUnlessDone(struct pg_result *result);

    QString m_conninfo;
    PGconn *m_connection = nullptr;
    QHash<QString, Prepared> m_cache;
    QList<Notification> m_pending;
    int m_nextName = 1;
    qint64 m_lastInsertId = 0;
    int m_rowsAffected = 0;
};
