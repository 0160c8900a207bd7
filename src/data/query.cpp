#include "data/query.h"

#include "data/dataerror.h"

#include <QRegularExpression>

namespace {

const QString RowidColumn = QStringLiteral("tarlen_rowid");

} // namespace

Query::Query(Database &db, const QString &name, const QStringList &sqlLines, const QString &liveTable,
             QObject *parent)
    : Dataset(name, parent), m_db(db), m_sql(sqlLines), m_liveTable(liveTable)
{
}

void Query::setSql(const QStringList &lines)
{
    m_sql = lines;
}

const TableDef *Query::sourceTable() const
{
    static const QRegularExpression from(QStringLiteral("\\bFROM\\s+(\\w+)"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = from.match(m_sql.join(QLatin1Char('\n')));
    if (!match.hasMatch())
        return nullptr;
    for (const TableDef &t : storedTables())
        if (t.name.compare(match.captured(1), Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QList<FieldDef> Query::openStorage()
{
    QString text = m_sql.join(QLatin1Char('\n'));
    if (isLive()) {
        // The row identity travels with each record so that changes reach the right row.
        static const QRegularExpression select(QStringLiteral("^\\s*SELECT\\s"), QRegularExpression::CaseInsensitiveOption);
        text.replace(select, QStringLiteral("SELECT %1.rowid AS %2, ").arg(m_liveTable, RowidColumn));
    }
    QVariantMap used;
    for (auto it = m_params.begin(); it != m_params.end(); ++it)
        if (text.contains(QLatin1Char(':') + it.key()))
            used.insert(it.key(), it.value());
    SqlResult result = m_db.run(text, used);

    const TableDef *table = sourceTable();
    const int first = isLive() ? 1 : 0;
    m_fieldsRead.clear();
    for (int i = first; i < result.columns.size(); ++i) {
        const FieldDef *known = table ? table->field(result.columns[i]) : nullptr;
        m_fieldsRead << (known ? FieldDef{result.columns[i], known->type == FieldType::AutoInc ? FieldType::AutoInc : known->type, known->size}
                               : FieldDef{result.columns[i], FieldType::Integer, 0});
    }
    m_rows.clear();
    m_rowids.clear();
    for (SqlRow &row : result.rows) {
        if (isLive()) {
            m_rowids.append(row[0].toLongLong());
            row.removeFirst();
        }
        m_rows.append(std::move(row));
    }
    return m_fieldsRead;
}

void Query::closeStorage()
{
    m_rows.clear();
    m_rowids.clear();
}

void Query::requireLive() const
{
    if (!isLive())
        throw DataError(QStringLiteral("%1: zapytanie tylko do odczytu").arg(name()));
}

int Query::updateStored(int row, const SqlRow &values, const QBitArray &changed)
{
    requireLive();
    QStringList assignments;
    QVariantList params;
    for (int i = 0; i < m_fieldsRead.size(); ++i) {
        if (!changed.testBit(i) || m_fieldsRead[i].type == FieldType::AutoInc)
            continue;
        assignments << m_fieldsRead[i].name + QStringLiteral(" = ?");
        params << values[i];
    }
    if (!assignments.isEmpty()) {
        params << m_rowids[row];
        m_db.run(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(m_liveTable, assignments.join(QStringLiteral(", "))),
                 {}, params);
        m_db.noteWrite(m_liveTable, this);
    }
    m_rows[row] = values;
    return row;
}

int Query::insertStored(int position, SqlRow &values, const QBitArray &assigned)
{
    requireLive();
    QStringList columns;
    QStringList marks;
    QVariantList params;
    int autoIncrement = -1;
    for (int i = 0; i < m_fieldsRead.size(); ++i) {
        const FieldDef &f = m_fieldsRead[i];
        if (f.type == FieldType::AutoInc) {
            autoIncrement = i;
            continue;
        }
        const bool isText = f.type == FieldType::Text || f.type == FieldType::Memo;
        if (!assigned.testBit(i) && !isText)
            continue;
        if (isText && values[i].isNull())
            values[i] = QStringLiteral("");
        columns << f.name;
        marks << QStringLiteral("?");
        params << values[i];
    }
    // Texts of the table that the query does not show are stored empty, not null.
    if (const TableDef *table = sourceTable())
        for (const FieldDef &f : table->fields)
            if ((f.type == FieldType::Text || f.type == FieldType::Memo) && !columns.contains(f.name, Qt::CaseInsensitive)) {
                columns << f.name;
                marks << QStringLiteral("''");
            }
    const QString sql = columns.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_liveTable)
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(m_liveTable, columns.join(QStringLiteral(", ")), marks.join(QLatin1Char(',')));
    m_db.run(sql, {}, params);
    const qint64 rowid = m_db.lastInsertId();
    m_db.noteWrite(m_liveTable, this);
    if (autoIncrement >= 0)
        values[autoIncrement] = rowid;
    const int at = std::clamp(position, 0, int(m_rows.size()));
    m_rows.insert(at, values);
    m_rowids.insert(at, rowid);
    return at;
}

void Query::removeStored(int row)
{
    requireLive();
    m_db.run(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(m_liveTable), {}, {m_rowids[row]});
    m_db.noteWrite(m_liveTable, this);
    m_rows.removeAt(row);
    m_rowids.removeAt(row);
}
