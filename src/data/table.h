#pragma once

#include "data/dataset.h"

#include <QHash>

// A stored table in its natural order (its key, or the order of insertion).
// Opening only checks the table; records are read when they are needed, a
// page at a time, so a table of half a million records opens at once.
// A write to the table through any other dataset makes it read itself anew.
class Table : public Dataset
{
    Q_OBJECT
public:
    Table(Database &db, const TableDef &def, QObject *parent = nullptr);

    const TableDef &def() const { return m_def; }
    const QString &fileName() const { return m_def.fileName; }

protected:
    QList<FieldDef> openStorage() override;
    void closeStorage() override;
    int storedCount() override;
    SqlRow storedRow(int row) override;
    int updateStored(int row, const SqlRow &values, const QBitArray &changed) override;
    int insertStored(int position, SqlRow &values, const QBitArray &assigned) override;
    void removeStored(int row) override;
    std::optional<int> findStored(const QList<int> &fieldIndexes, const QVariantList &values,
                                  LocateOptions options) override;
    std::optional<qint64> storedRowid(int row) override;
    std::optional<qint64> storedVersion(int row) override;

private:
    void onTableChanged(const QString &table, const QObject *writer);
    const QVector<qint64> &keys();
    int positionOf(qint64 rowid);
    // Where the stored record `rowid`, not yet among the keys, belongs in
    // the table's order.
    int placeOf(qint64 rowid);
    // Whether stored record `a` sorts before stored record `b`.
    bool sortsBefore(qint64 a, qint64 b);
    void forgetRecords();
    QString orderBy() const;
    bool orderedByRowid() const;
    QString columnList() const;

    Database &m_db;
    const TableDef &m_def;
    const QString m_sortsBeforeSql;
    std::optional<QVector<qint64>> m_keys; // rowids in the table's order
    // The positions of the keys; only those before m_positionsValid are sure
    // (an insert moves every record after it, which is put right only when a
    // position is asked for).
    QHash<qint64, int> m_positions;
    int m_positionsValid = 0;
    QHash<int, QList<SqlRow>> m_pages;
    QHash<qint64, qint64> m_versions; // on a server: rowid -> row_version, of the pages read
};
