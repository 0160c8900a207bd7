#include "data/table.h"

#include "data/dataerror.h"
#include "data/rowwrites.h"

#include "core/polishtext.h"

namespace {

constexpr int PageSize = 64;

// Whether record a sorts before record b: the order's fields, then the
// rowid, as ORDER BY sorts them (NULL before any value, equal values by the
// next field).
QString sortsBeforeSql(const TableDef &def)
{
    QString before = QStringLiteral("a.rowid < b.rowid");
    for (qsizetype i = def.order.size() - 1; i >= 0; --i)
        before = QStringLiteral("((a.%1 IS NULL AND b.%1 IS NOT NULL) OR a.%1 < b.%1 "
                                "OR (a.%1 IS NOT DISTINCT FROM b.%1 AND %2))")
                     .arg(def.order[i], before);
    return QStringLiteral("SELECT CASE WHEN %1 THEN 1 ELSE 0 END FROM %2 a, %2 b WHERE a.rowid = ? AND b.rowid = ?")
        .arg(before, def.name);
}

QString placeholders(int n)
{
    QStringList marks;
    marks.fill(QStringLiteral("?"), n);
    return marks.join(QLatin1Char(','));
}

} // namespace

Table::Table(Database &db, const TableDef &def, QObject *parent)
    : Dataset(def.name, parent), m_db(db), m_def(def), m_sortsBeforeSql(sortsBeforeSql(def))
{
    connect(&m_db, &Database::tableChanged, this, &Table::onTableChanged);
}

bool Table::orderedByRowid() const
{
    return m_def.order.isEmpty();
}

// Records that agree on the order's fields keep the order of insertion.
QString Table::orderBy() const
{
    return orderedByRowid() ? QStringLiteral("rowid") : m_def.order.join(QStringLiteral(", ")) + QStringLiteral(", rowid");
}

QString Table::columnList() const
{
    QStringList names;
    for (const FieldDef &f : m_def.fields)
        names << f.name;
    return names.join(QStringLiteral(", "));
}

QList<FieldDef> Table::openStorage()
{
    QStringList names;
    for (const FieldDef &f : m_def.fields)
        names << f.name;
    QString reason;
    if (!m_db.tableReadable(m_def.name, names, &reason))
        throw TableUnreadable(QStringLiteral("Nie udało się otworzyć pliku: ") + m_def.fileName, reason);
    forgetRecords();
    return m_def.fields;
}

void Table::closeStorage()
{
    forgetRecords();
}

void Table::forgetRecords()
{
    m_keys.reset();
    m_positions.clear();
    m_positionsValid = 0;
    m_pages.clear();
    m_versions.clear();
}

const QVector<qint64> &Table::keys()
{
    if (!m_keys) {
        QVector<qint64> keys;
        const SqlResult result = m_db.run(QStringLiteral("SELECT rowid FROM %1 ORDER BY %2").arg(m_def.name, orderBy()));
        keys.reserve(result.rows.size());
        for (const SqlRow &row : result.rows)
            keys.append(row[0].toLongLong());
        m_keys = std::move(keys); // the positions were forgotten with the keys
    }
    return *m_keys;
}

int Table::positionOf(qint64 rowid)
{
    const QVector<qint64> &all = keys();
    const auto known = m_positions.constFind(rowid);
    if (known != m_positions.constEnd() && *known < m_positionsValid)
        return *known;
    m_positions.reserve(all.size());
    for (int i = m_positionsValid; i < all.size(); ++i)
        m_positions.insert(all[i], i);
    m_positionsValid = int(all.size());
    return m_positions.value(rowid, -1);
}

int Table::storedCount()
{
    return int(keys().size());
}

SqlRow Table::storedRow(int row)
{
    const QVector<qint64> &all = keys();
    if (row < 0 || row >= all.size())
        return SqlRow(m_def.fields.size());
    const int page = row / PageSize;
    auto cached = m_pages.constFind(page);
    if (cached == m_pages.constEnd()) {
        // One statement for a whole page; unused places are bound to NULL.
        QVariantList ids;
        for (int i = page * PageSize; i < (page + 1) * PageSize; ++i)
            ids << (i < all.size() ? QVariant(all[i]) : QVariant());
        const bool versions = m_db.isServer();
        const SqlResult result = m_db.run(QStringLiteral("SELECT rowid, %1%2 FROM %3 WHERE rowid IN (%4)")
                                              .arg(versions ? QStringLiteral("row_version, ") : QString(), columnList(),
                                                   m_def.name, placeholders(PageSize)),
                                          {}, ids);
        QHash<qint64, SqlRow> byRowid;
        for (const SqlRow &r : result.rows) {
            const qint64 rowid = r[0].toLongLong();
            if (versions)
                m_versions.insert(rowid, r[1].toLongLong());
            byRowid.insert(rowid, r.mid(versions ? 2 : 1));
        }
        QList<SqlRow> rows;
        for (int i = page * PageSize; i < std::min<int>((page + 1) * PageSize, all.size()); ++i)
            rows.append(byRowid.value(all[i], SqlRow(m_def.fields.size())));
        cached = m_pages.insert(page, rows);
    }
    return cached->value(row % PageSize, SqlRow(m_def.fields.size()));
}

std::optional<qint64> Table::storedRowid(int row)
{
    return keys().value(row);
}

std::optional<qint64> Table::storedVersion(int row)
{
    if (!m_db.isServer())
        return std::nullopt;
    storedRow(row); // reads its page, and the versions with it
    const auto version = m_versions.constFind(keys().value(row));
    return version == m_versions.constEnd() ? std::nullopt : std::optional<qint64>(*version);
}

int Table::updateStored(int row, const SqlRow &values, const QBitArray &changed)
{
    const qint64 rowid = keys().value(row);
    RowWrites::update(m_db, m_def, m_def.fields, values, changed, rowid, this, seen(row));
    forgetSeen(rowid);
    m_pages.remove(row / PageSize);
    bool orderChanged = false;
    for (int i = 0; i < m_def.fields.size(); ++i)
        orderChanged = orderChanged || (changed.testBit(i) && m_def.order.contains(m_def.fields[i].name));
    if (!orderChanged)
        return row;
    forgetRecords();
    return positionOf(rowid);
}

int Table::insertStored(int, SqlRow &values, const QBitArray &assigned)
{
    const qint64 rowid = RowWrites::insert(m_db, m_def, m_def.fields, values, assigned, this);
    if (!m_keys)
        return positionOf(rowid);
    // New rowids are always the greatest: without an order the record goes
    // last; otherwise it is placed among the keys, so that adding many
    // records never reads the whole order again.
    const int position = orderedByRowid() ? int(m_keys->size()) : placeOf(rowid);
    m_keys->insert(position, rowid);
    m_positionsValid = std::min(m_positionsValid, position);
    for (auto page = m_pages.begin(); page != m_pages.end();)
        page = page.key() >= position / PageSize ? m_pages.erase(page) : std::next(page);
    return position;
}

int Table::placeOf(qint64 rowid)
{
    // A binary search asks SQLite itself which of two records sorts first,
    // so it compares exactly as ORDER BY does; counting the records before
    // the new one would pass over half the table at every insert.
    const QVector<qint64> &all = *m_keys;
    int low = 0;
    int high = int(all.size());
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (sortsBefore(rowid, all[middle]))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

bool Table::sortsBefore(qint64 a, qint64 b)
{
    const auto answer = m_db.firstRow(m_sortsBeforeSql, {}, {a, b});
    return answer && answer->at(0).toBool();
}

void Table::removeStored(int row)
{
    RowWrites::remove(m_db, m_def, keys().value(row), this, seen(row));
    forgetRecords();
}

std::optional<int> Table::findStored(const QList<int> &fieldIndexes, const QVariantList &values, LocateOptions options)
{
    QStringList conditions;
    QVariantList params;
    for (int i = 0; i < fieldIndexes.size(); ++i) {
        const FieldDef &f = m_def.fields[fieldIndexes[i]];
        const QVariant &v = values[i];
        const bool isText = f.type == FieldType::Text || f.type == FieldType::Memo;
        if (v.isNull() && !isText) {
            conditions << f.name + QStringLiteral(" IS NULL");
            continue;
        }
        if (!isText) {
            conditions << f.name + QStringLiteral(" = ?");
            params << v;
            continue;
        }
        QString column = QStringLiteral("COALESCE(%1, '')").arg(f.name);
        QString wanted = v.toString();
        if (options.testFlag(LocateOption::PartialKey))
            column = QStringLiteral("substr(%1, 1, %2)").arg(column).arg(wanted.size());
        if (options.testFlag(LocateOption::CaseInsensitive)) {
            column = QStringLiteral("pl_upper(%1)").arg(column);
            wanted = polishUpper(wanted);
        }
        conditions << column + QStringLiteral(" = ?");
        params << wanted;
    }
    const auto found = m_db.firstRow(QStringLiteral("SELECT rowid FROM %1 WHERE %2 ORDER BY %3 LIMIT 1")
                                         .arg(m_def.name, conditions.join(QStringLiteral(" AND ")), orderBy()),
                                     {}, params);
    if (!found)
        return std::nullopt;
    const int position = positionOf(found->at(0).toLongLong());
    return position < 0 ? std::nullopt : std::optional<int>(position);
}

void Table::onTableChanged(const QString &table, const QObject *writer)
{
    if (writer == this || table != m_def.name.toUpper() || !isOpen())
        return;
    // Nobody has read the records since the table was opened: there is no
    // cursor to keep, and the records are read when they are first needed.
    // Reading the whole order of a large table after every write would make
    // each post elsewhere cost a full scan.
    if (!m_keys) {
        if (!controlsDisabled())
            emit rowsChanged();
        return;
    }
    const int row = currentRow();
    std::optional<qint64> current;
    if (m_keys && row >= 0 && row < m_keys->size())
        current = m_keys->at(row);
    forgetRecords();
    std::optional<int> position;
    if (current) {
        const int p = positionOf(*current);
        if (p >= 0)
            position = p;
    }
    storageReloaded(position);
}
