#include "data/query.h"

#include "data/dataerror.h"
#include "data/rowwrites.h"
#include "data/sqltext.h"

#include <QRegularExpression>

namespace {

const QString RowidColumn = QStringLiteral("tarlen_rowid");
const QString VersionColumn = QStringLiteral("tarlen_row_version");

// Whether the records of `sql` are those of its table, in no order of its own.
bool unordered(const QString &sql)
{
    static const QRegularExpression ordered(
        QStringLiteral("\\bORDER\\s+BY\\b|\\bGROUP\\s+BY\\b|\\bDISTINCT\\b|\\b(COUNT|SUM|MIN|MAX|AVG|TOTAL)\\s*\\("),
        QRegularExpression::CaseInsensitiveOption);
    return !ordered.match(sql).hasMatch();
}

const TableDef *storedTable(const QString &name)
{
    for (const TableDef &t : storedTables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

} // namespace

Query::Query(Database &db, const QString &name, const QStringList &sqlLines, const QString &liveTable,
             QObject *parent)
    : Dataset(name, parent), m_db(db), m_sql(sqlLines), m_live(liveTable.isEmpty() ? nullptr : &tableDef(liveTable))
{
    connect(&m_db, &Database::tableChanged, this, &Query::onTableChanged);
}

QStringList Query::read()
{
    const QString sql = m_sql.join(QLatin1Char('\n'));
    const bool versions = m_live && m_db.isServer();
    // A query opened again with the same text runs the statement made the last time.
    if (sql != m_statementOf || m_db.isServer() != m_statementOnServer) {
        m_statement = SqlText::bindLiterals(sql);
        if (m_live) {
            // The row identity travels with each record so that changes reach the right row.
            static const QRegularExpression select(QStringLiteral("^\\s*SELECT\\s"), QRegularExpression::CaseInsensitiveOption);
            m_statement.text.replace(select, QStringLiteral("SELECT %1.rowid AS %2, %3").arg(m_live->name, RowidColumn,
                                                                                   versions ? QStringLiteral("%1.row_version AS %2, ").arg(m_live->name, VersionColumn) : QString()));
        }
        if (m_db.isServer() && m_source && unordered(m_statement.text))
            m_statement.text += QStringLiteral("\nORDER BY %1.rowid").arg(m_source->name);
        m_statementOf = sql;
        m_statementOnServer = m_db.isServer();
    }
    SqlText::Bound bound = m_statement;
    for (auto it = m_params.begin(); it != m_params.end(); ++it)
        if (bound.text.contains(QLatin1Char(':') + it.key()))
            bound.values.insert(it.key(), it.value());
    SqlResult result = m_db.run(bound.text, bound.values);

    m_rows.clear();
    m_rowids.clear();
    m_versions.clear();
    for (SqlRow &row : result.rows) {
        if (m_live)
            m_rowids.append(row.takeFirst().toLongLong());
        if (versions)
            m_versions.append(row.takeFirst().toLongLong());
        m_rows.append(std::move(row));
    }
    if (m_live)
        result.columns.removeFirst();
    if (versions)
        result.columns.removeFirst();
    return result.columns;
}

QList<FieldDef> Query::openStorage()
{
    const QString sql = m_sql.join(QLatin1Char('\n'));
    m_source = storedTable(SqlText::fromTable(sql));
    const QStringList columns = read();
    m_fieldsRead = SqlText::resultFields(sql, columns, m_rows, m_source);
    return m_fieldsRead;
}

void Query::closeStorage()
{
    m_rows.clear();
    m_rowids.clear();
    m_versions.clear();
}

int Query::positionOf(qint64 rowid, int fallback) const
{
    const qsizetype position = m_rowids.indexOf(rowid);
    if (position >= 0)
        return int(position);
    return m_rows.isEmpty() ? 0 : std::clamp(fallback, 0, int(m_rows.size()) - 1);
}

void Query::requireLive() const
{
    if (!m_live)
        throw DataError(QStringLiteral("%1: zapytanie tylko do odczytu").arg(name()));
}

std::optional<qint64> Query::storedRowid(int row)
{
    return m_rowids.value(row);
}

std::optional<qint64> Query::storedVersion(int row)
{
    if (row < 0 || row >= m_versions.size())
        return std::nullopt;
    return m_versions[row];
}

int Query::updateStored(int row, const SqlRow &values, const QBitArray &changed)
{
    requireLive();
    const qint64 rowid = m_rowids[row];
    RowWrites::update(m_db, *m_live, m_fieldsRead, values, changed, rowid, this, seen(row));
    forgetSeen(rowid);
    read();
    return positionOf(rowid, row);
}

int Query::insertStored(int position, SqlRow &values, const QBitArray &assigned)
{
    requireLive();
    const qint64 rowid = RowWrites::insert(m_db, *m_live, m_fieldsRead, values, assigned, this);
    read();
    return positionOf(rowid, position);
}

void Query::removeStored(int row)
{
    requireLive();
    RowWrites::remove(m_db, *m_live, m_rowids[row], this, seen(row));
    m_rows.removeAt(row);
    m_rowids.removeAt(row);
    if (row < m_versions.size())
        m_versions.removeAt(row);
}

void Query::onTableChanged(const QString &table, const QObject *writer)
{
    if (writer == this || !isOpen() || !m_source || table != m_source->name.toUpper())
        return;
    const int row = currentRow();
    const std::optional<qint64> rowid = m_live && row >= 0 && row < m_rowids.size()
        ? std::optional<qint64>(m_rowids[row]) : std::nullopt;
    try {
        read();
    } catch (const DataError &) {
        // the query shows nothing until it can be read again
        m_rows.clear();
        m_rowids.clear();
        m_versions.clear();
    }
    if (!rowid) {
        storageReloaded(row);
        return;
    }
    const qsizetype position = m_rowids.indexOf(*rowid);
    storageReloaded(position >= 0 ? std::optional<int>(int(position)) : std::nullopt);
}
