#include "data/pgconnection.h"

#include "data/dataerror.h"
#include "data/sqltext.h"
#include "data/storefailure.h"

#include <QRegularExpression>
#include <QSysInfo>

#include <charconv>
#include <optional>

#include <libpq-fe.h>

namespace {

constexpr int CacheLimit = 256;

// Type oids of the server's built-in types, as pg_type fixes them.
enum Oid : unsigned {
    Bool = 16, Bytea = 17, Int8 = 20, Int2 = 21, Int4 = 23, Oid = 26, Float4 = 700, Float8 = 701, Numeric = 1700,
};

struct Translated
{
    QString text;
    QStringList parameterNames;
};

// ":Name" and "?" become "$n" (one number for each name), outside quotes.
Translated translate(const QString &sql)
{
    Translated t;
    t.text.reserve(sql.size() + 8);
    QChar quote;
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (!quote.isNull()) {
            t.text += c;
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"') {
            quote = c;
            t.text += c;
        } else if (c == u'?') {
            t.parameterNames << QString();
            t.text += QLatin1Char('$') + QString::number(t.parameterNames.size());
        } else if (c == u':' && i + 1 < sql.size() && (sql[i + 1].isLetter() || sql[i + 1] == u'_')
                   && (i == 0 || sql[i - 1] != u':')) {
            qsizetype end = i + 1;
            while (end < sql.size() && (sql[end].isLetterOrNumber() || sql[end] == u'_'))
                ++end;
            const QString name = sql.mid(i + 1, end - i - 1);
            qsizetype index = t.parameterNames.indexOf(name);
            if (index < 0) {
                t.parameterNames << name;
                index = t.parameterNames.size() - 1;
            }
            t.text += QLatin1Char('$') + QString::number(index + 1);
            i = end - 1;
        } else {
            t.text += c;
        }
    }
    return t;
}

// The SQL's own spelling of every word, by its lower case.
QHash<QString, QString> spellings(const QString &sql)
{
    static const QRegularExpression word(QStringLiteral("[A-Za-z_][A-Za-z0-9_]*"));
    QHash<QString, QString> byLower;
    for (auto it = word.globalMatch(sql); it.hasNext();) {
        const QString w = it.next().captured();
        byLower.insert(w.toLower(), w);
    }
    return byLower;
}

QByteArray parameterText(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::Bool:
        return value.toBool() ? "1" : "0";
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(value.toDouble(), 'g', 17);
    case QMetaType::QByteArray:
        return "\\x" + value.toByteArray().toHex();
    default: {
        // The server keeps no NUL inside a text.
        QByteArray text = value.toString().toUtf8();
        text.replace('\0', QByteArray());
        return text;
    }
    }
}

// A whole number as the server writes it; nothing when the text is another number.
std::optional<qint64> wholeNumber(const char *text, int length)
{
    qint64 n = 0;
    const auto [end, error] = std::from_chars(text, text + length, n);
    if (error != std::errc() || end != text + length)
        return std::nullopt;
    return n;
}

QVariant value(const PGresult *result, int row, int column)
{
    if (PQgetisnull(result, row, column))
        return {};
    const char *text = PQgetvalue(result, row, column);
    const int length = PQgetlength(result, row, column);
    switch (PQftype(result, column)) {
    case Int2:
    case Int4:
    case Int8:
    case Oid:
        return wholeNumber(text, length).value_or(0);
    case Bool:
        return qint64(text[0] == 't');
    case Float4:
    case Float8:
        return QByteArray::fromRawData(text, length).toDouble();
    case Numeric:
        // SUM of whole numbers is a numeric with no fraction.
        if (const std::optional<qint64> n = wholeNumber(text, length))
            return *n;
        return QByteArray::fromRawData(text, length).toDouble();
    case Bytea: {
        size_t size = 0;
        unsigned char *bytes = PQunescapeBytea(reinterpret_cast<const unsigned char *>(text), &size);
        QByteArray copy(reinterpret_cast<const char *>(bytes), qsizetype(size));
        PQfreemem(bytes);
        return copy;
    }
    default:
        return QString::fromUtf8(text, length);
    }
}

// The passwords the user typed in this run, by the server, database and user
// they open; never written anywhere.
QHash<QString, QString> &typedPasswords()
{
    static QHash<QString, QString> passwords;
    return passwords;
}

QString passwordKey(const QString &conninfo)
{
    QHash<QString, QString> values;
    if (PQconninfoOption *options = PQconninfoParse(conninfo.toUtf8().constData(), nullptr)) {
        for (PQconninfoOption *o = options; o->keyword; ++o)
            if (o->val)
                values.insert(QString::fromUtf8(o->keyword), QString::fromUtf8(o->val));
        PQconninfoFree(options);
    }
    return QStringList{values.value(QStringLiteral("host")), values.value(QStringLiteral("port")),
                       values.value(QStringLiteral("dbname")), values.value(QStringLiteral("user"))}
        .join(QLatin1Char('\n'));
}

} // namespace

QString PgConnection::quoted(QString value)
{
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\''), QStringLiteral("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

void PgConnection::rememberPassword(const QString &conninfo, const QString &password)
{
    typedPasswords().insert(passwordKey(conninfo), password);
}

QString PgConnection::withDefaults(const QString &conninfo)
{
    QString desk = qEnvironmentVariable("USER", QStringLiteral("?")) + QLatin1Char('@') + QSysInfo::machineHostName();
    desk.replace(QLatin1Char('\''), QLatin1Char('_'));
    desk.replace(QLatin1Char('\\'), QLatin1Char('_'));
    return QStringLiteral("connect_timeout=10 application_name='%1' client_encoding=UTF8 %2").arg(desk.left(60), conninfo);
}

ServerFailure::Place PgConnection::placeOf(PGconn *connection)
{
    return {QString::fromUtf8(PQhost(connection)), QString::fromUtf8(PQport(connection)),
            QString::fromUtf8(PQdb(connection)), QString::fromUtf8(PQuser(connection))};
}

DataError PgConnection::connectionFailure(PGconn *connection)
{
    const QString text = QString::fromUtf8(PQerrorMessage(connection));
    return ServerFailure::error(ServerFailure::connectionReason(text, placeOf(connection)));
}

PgConnection::PgConnection(const QString &conninfo) : m_conninfo(conninfo)
{
    const auto typed = typedPasswords().constFind(passwordKey(conninfo));
    const bool withTyped = typed != typedPasswords().constEnd();
    m_connection = PQconnectdb((withDefaults(conninfo) + (withTyped ? QStringLiteral(" password=") + quoted(*typed) : QString()))
                                   .toUtf8()
                                   .constData());
    if (PQstatus(m_connection) != CONNECTION_OK) {
        const DataError failure = connectionFailure(m_connection);
        // A typed password that the server refused is asked for again.
        const bool typedRefused = withTyped && PQconnectionUsedPassword(m_connection)
            && QString::fromUtf8(PQerrorMessage(m_connection)).contains(QLatin1String("password authentication failed"));
        if (typedRefused)
            typedPasswords().remove(passwordKey(conninfo));
        const bool passwordNeeded = PQconnectionNeedsPassword(m_connection) || typedRefused;
        PQfinish(m_connection);
        m_connection = nullptr;
        if (passwordNeeded)
            throw PasswordNeeded(failure.message());
        throw failure;
    }
    // The server's notices (of tables that already exist and the like) are no news to the user.
    PQsetNoticeProcessor(m_connection, [](void *, const char *) {}, nullptr);
}

PgConnection::~PgConnection()
{
    if (m_connection)
        PQfinish(m_connection);
}

void PgConnection::clear()
{
    if (!m_cache.isEmpty() && PQstatus(m_connection) == CONNECTION_OK && !inTransaction())
        PQclear(PQexec(m_connection, "DEALLOCATE ALL"));
    m_cache.clear();
}

int PgConnection::socket() const
{
    return PQsocket(m_connection);
}

int PgConnection::backendPid() const
{
    return PQbackendPID(m_connection);
}

bool PgConnection::inTransaction() const
{
    const PGTransactionStatusType status = PQtransactionStatus(m_connection);
    return status == PQTRANS_INTRANS || status == PQTRANS_INERROR || status == PQTRANS_ACTIVE;
}

bool PgConnection::keepArrivedNotifications()
{
    while (PGnotify *n = PQnotifies(m_connection)) {
        m_pending.append({QString::fromUtf8(n->extra), n->be_pid});
        PQfreemem(n);
    }
    return !m_pending.isEmpty();
}

QList<PgConnection::Notification> PgConnection::takeNotifications()
{
    PQconsumeInput(m_connection);
    keepArrivedNotifications();
    return std::exchange(m_pending, {});
}

void PgConnection::fail(const char *message, const char *sqlState, const char *table)
{
    throw ServerFailure::error(ServerFailure::reason(QByteArray(sqlState ? sqlState : ""), QString::fromUtf8(message),
                                                     placeOf(m_connection), QString::fromUtf8(table ? table : "")));
}

void PgConnection::failUnlessDone(PGresult *result)
{
    const ExecStatusType status = PQresultStatus(result);
    if (status == PGRES_TUPLES_OK || status == PGRES_COMMAND_OK)
        return;
    QByteArray message = PQresultErrorMessage(result);
    QByteArray state = PQresultErrorField(result, PG_DIAG_SQLSTATE);
    const QByteArray table = PQresultErrorField(result, PG_DIAG_TABLE_NAME);
    PQclear(result);
    // A connection that broke answers no state of its own; what the server
    // said before it went is among the connection's messages.
    if (PQstatus(m_connection) != CONNECTION_OK && !state.startsWith("57P")) {
        state = "08006";
        message = PQerrorMessage(m_connection);
    } else if (state.isEmpty()) {
        state = "XX000";
    }
    fail(message.constData(), state.constData(), table.constData());
}

bool PgConnection::reconnectIfLost()
{
    if (PQstatus(m_connection) == CONNECTION_OK)
        return false;
    // The prepared statements and the listening went with the old session.
    m_cache.clear();
    PQreset(m_connection);
    if (PQstatus(m_connection) != CONNECTION_OK)
        throw connectionFailure(m_connection);
    PQclear(PQexec(m_connection, "LISTEN tarlen"));
    return true;
}

const PgConnection::Prepared &PgConnection::prepared(const QString &sql)
{
    const auto cached = m_cache.constFind(sql);
    if (cached != m_cache.constEnd())
        return *cached;
    if (m_cache.size() >= CacheLimit)
        clear();
    Translated t = translate(sql);
    static const QRegularExpression insert(QStringLiteral("^\\s*INSERT\\s"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression returning(QStringLiteral("\\bRETURNING\\b"), QRegularExpression::CaseInsensitiveOption);
    Prepared p;
    p.insert = insert.match(t.text).hasMatch() && !returning.match(t.text).hasMatch();
    if (p.insert)
        t.text += QStringLiteral(" RETURNING rowid");
    p.name = "t" + QByteArray::number(m_nextName++);
    p.parameterNames = t.parameterNames;
    PGresult *result = PQprepare(m_connection, p.name.constData(), t.text.toUtf8().constData(),
                                 int(t.parameterNames.size()), nullptr);
    failUnlessDone(result);
    PQclear(result);
    const QHash<QString, QString> words = spellings(sql);
    // An expression without an alias is named by its text, as SQLite names it.
    const QStringList items = SqlText::selectItems(sql);
    PGresult *described = PQdescribePrepared(m_connection, p.name.constData());
    for (int i = 0; i < PQnfields(described); ++i) {
        const QString name = QString::fromUtf8(PQfname(described, i));
        const bool byText = items.size() == PQnfields(described) && !SqlText::namesItsColumn(items[i]);
        p.columns << (byText ? items[i] : words.value(name, name));
    }
    PQclear(described);
    return *m_cache.insert(sql, p);
}

SqlResult PgConnection::run(const QString &sql, const QVariantMap &named, const QVariantList &positional)
{
    const Prepared &p = prepared(sql);
    QList<QByteArray> texts;
    QVector<const char *> values;
    int nextPositional = 0;
    for (const QString &name : p.parameterNames) {
        const QVariant v = name.isEmpty() ? positional.value(nextPositional++) : named.value(name);
        texts << (v.isNull() ? QByteArray() : parameterText(v));
        values << (v.isNull() ? nullptr : texts.back().constData());
    }
    PGresult *result = PQexecPrepared(m_connection, p.name.constData(), int(values.size()), values.constData(),
                                      nullptr, nullptr, 0);
    failUnlessDone(result);
    SqlResult answer;
    const int rows = PQntuples(result);
    const int columns = PQnfields(result);
    m_rowsAffected = QByteArray(PQcmdTuples(result)).toInt();
    if (p.insert) {
        m_lastInsertId = rows > 0 ? value(result, 0, 0).toLongLong() : 0;
    } else {
        answer.columns = p.columns;
        answer.rows.reserve(rows);
        for (int r = 0; r < rows; ++r) {
            SqlRow row(columns);
            for (int c = 0; c < columns; ++c)
                row[c] = value(result, r, c);
            answer.rows.append(std::move(row));
        }
    }
    PQclear(result);
    return answer;
}

void PgConnection::execute(const QString &sql)
{
    PGresult *result = PQexec(m_connection, sql.toUtf8().constData());
    failUnlessDone(result);
    const bool rolledBack = sql == QLatin1String("COMMIT") && qstrcmp(PQcmdStatus(result), "ROLLBACK") == 0;
    PQclear(result);
    if (rolledBack)
        fail("", "25P02");
}
