#include "data/memtable.h"

MemTable::MemTable(const QString &name, const QList<FieldDef> &fields, QObject *parent)
    : Dataset(name, parent), m_declared(fields)
{
}

void MemTable::emptyTable()
{
    cancel();
    m_records.clear();
    m_visible.clear();
    storageReloaded(0);
}

void MemTable::appendRecords(const QList<SqlRow> &records)
{
    cancel();
    m_records += records;
    applyFilter();
    storageReloaded();
}

void MemTable::setFilter(Filter filter)
{
    cancel();
    m_filter = std::move(filter);
    applyFilter();
    storageReloaded(0);
}

void MemTable::applyFilter()
{
    m_visible.clear();
    for (int i = 0; i < m_records.size(); ++i)
        if (!m_filter || m_filter(m_records[i]))
            m_visible.append(i);
}

int MemTable::updateStored(int row, const SqlRow &values, const QBitArray &)
{
    m_records[m_visible[row]] = values;
    return row;
}

int MemTable::insertStored(int position, SqlRow &values, const QBitArray &)
{
    const int at = std::clamp(position, 0, int(m_visible.size()));
    const int storageAt = at < m_visible.size() ? m_visible[at] : int(m_records.size());
    m_records.insert(storageAt, values);
    if (storageAt < m_records.size() - 1)
        for (int &v : m_visible)
            if (v >= storageAt)
                ++v;
    m_visible.insert(at, storageAt);
    return at;
}

void MemTable::removeStored(int row)
{
    const int storageAt = m_visible[row];
    m_records.removeAt(storageAt);
    m_visible.removeAt(row);
    for (int &v : m_visible)
        if (v > storageAt)
            --v;
}
