#pragma once

#include "data/dataset.h"

// A table kept in memory for the run of the program, with declared fields
// and an optional filter that hides the records it rejects.
class MemTable : public Dataset
{
    Q_OBJECT
public:
    using Filter = std::function<bool(const SqlRow &record)>;

    MemTable(const QString &name, const QList<FieldDef> &fields, QObject *parent = nullptr);

    void emptyTable();
    // Appends whole records (values in the order of the fields) in one go.
    void appendRecords(const QList<SqlRow> &records);
    // Shows only the records the filter accepts (an empty filter shows all)
    // and moves to the first one.
    void setFilter(Filter filter);

protected:
    QList<FieldDef> openStorage() override { return m_declared; }
    void closeStorage() override {}
    int storedCount() override { return int(m_visible.size()); }
    SqlRow storedRow(int row) override { return m_records.value(m_visible.value(row, -1)); }
    int updateStored(int row, const SqlRow &values, const QBitArray &changed) override;
    int insertStored(int position, SqlRow &values, const QBitArray &assigned) override;
    void removeStored(int row) override;

private:
    void applyFilter();

    QList<FieldDef> m_declared;
    QList<SqlRow> m_records;
    QVector<int> m_visible; // positions in m_records of the records shown, in order
    Filter m_filter;
};
