#include "data/sqlitestatements.h"

#include "data/dataerror.h"
#include "data/storefailure.h"

#include <QStringDecoder>

#include <sqlite3.h>

namespace {

constexpr int CacheLimit = 256;

void bind(sqlite3_stmt *statement, int index, const QVariant &value)
{
    if (value.isNull()) {
        sqlite3_bind_null(statement, index);
        return;
    }
    switch (value.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
        sqlite3_bind_int64(statement, index, value.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(statement, index, value.toDouble());
        break;
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        sqlite3_bind_blob64(statement, index, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
        break;
    }
    default: {
        const QByteArray text = value.toString().toUtf8();
        sqlite3_bind_text64(statement, index, text.constData(), sqlite3_uint64(text.size()), SQLITE_TRANSIENT,
                            SQLITE_UTF8);
        break;
    }
    }
}

QVariant column(sqlite3_stmt *statement, int index)
{
    switch (sqlite3_column_type(statement, index)) {
    case SQLITE_INTEGER:
        return qint64(sqlite3_column_int64(statement, index));
    case SQLITE_FLOAT:
        return sqlite3_column_double(statement, index);
    case SQLITE_TEXT: {
        const char *text = reinterpret_cast<const char *>(sqlite3_column_text(statement, index));
        const int bytes = sqlite3_column_bytes(statement, index);
        // fromUtf8 drops a byte order mark at the start; a text stored
        // beginning with U+FEFF must read back with it.
        if (bytes >= 3 && QByteArrayView(text, 3) == "\xEF\xBB\xBF") {
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
            return QString(decoder.decode(QByteArrayView(text, bytes)));
        }
        return QString::fromUtf8(text, bytes);
    }
    case SQLITE_BLOB:
        return QByteArray(static_cast<const char *>(sqlite3_column_blob(statement, index)),
                          sqlite3_column_bytes(statement, index));
    default:
        return {};
    }
}

} // namespace

void SqliteStatements::clear()
{
    for (sqlite3_stmt *statement : std::as_const(m_cache))
        sqlite3_finalize(statement);
    m_cache.clear();
}

void SqliteStatements::fail(sqlite3_stmt *statement) const
{
    const DataError error = SqliteFailure::lastError(m_connection, m_file);
    if (statement) {
        sqlite3_reset(statement);
        sqlite3_clear_bindings(statement);
    }
    throw error;
}

sqlite3_stmt *SqliteStatements::prepared(const QString &sql)
{
    if (!m_connection)
        throw DataError(QStringLiteral("Baza danych nie jest otwarta."));
    if (sqlite3_stmt *cached = m_cache.value(sql))
        return cached;
    if (m_cache.size() >= CacheLimit)
        clear();
    const QByteArray text = sql.toUtf8();
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v3(m_connection, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT, &statement,
                           nullptr)
        != SQLITE_OK)
        fail(nullptr);
    m_cache.insert(sql, statement);
    return statement;
}

SqlResult SqliteStatements::run(const QString &sql, const QVariantMap &named, const QVariantList &positional)
{
    sqlite3_stmt *statement = prepared(sql);
    if (m_beforeWrite && !sqlite3_stmt_readonly(statement))
        m_beforeWrite();
    for (auto it = named.begin(); it != named.end(); ++it) {
        const int index = sqlite3_bind_parameter_index(statement, (QLatin1Char(':') + it.key()).toUtf8().constData());
        if (index > 0)
            bind(statement, index, it.value());
    }
    for (int i = 0; i < positional.size(); ++i)
        bind(statement, i + 1, positional[i]);

    SqlResult result;
    const int n = sqlite3_column_count(statement);
    for (int i = 0; i < n; ++i)
        result.columns << QString::fromUtf8(sqlite3_column_name(statement, i));
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        SqlRow row(n);
        for (int i = 0; i < n; ++i)
            row[i] = column(statement, i);
        result.rows.append(std::move(row));
    }
    if (step != SQLITE_DONE)
        fail(statement);
    if (n == 0) {
        m_lastInsertId = sqlite3_last_insert_rowid(m_connection);
        m_rowsAffected = sqlite3_changes(m_connection);
    }
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    return result;
}
