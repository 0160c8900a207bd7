#pragma once

#include "data/dataset.h"

#include <QVariantMap>

// An SQL query with named parameters (":PodatId"), read whole when opened.
// A live query over one table sends its edits, inserts and deletes to that
// table's rows; the others are read-only.
class Query : public Dataset
{
    Q_OBJECT
public:
    Query(Database &db, const QString &name, const QStringList &sqlLines = {}, const QString &liveTable = {},
          QObject *parent = nullptr);

    const QStringList &sql() const { return m_sql; }
    void setSql(const QStringList &lines);
    void addSql(const QString &line) { m_sql << line; }
    void clearSql() { m_sql.clear(); }

    void setParam(const QString &name, const QVariant &value) { m_params.insert(name, value); }
    QVariant param(const QString &name) const { return m_params.value(name); }

    bool isLive() const { return !m_liveTable.isEmpty(); }

protected:
    QList<FieldDef> openStorage() override;
    void closeStorage() override;
    int storedCount() override { return int(m_rows.size()); }
    SqlRow storedRow(int row) override { return m_rows.value(row); }
    int updateStored(int row, const SqlRow &values, const QBitArray &changed) override;
    int insertStored(int position, SqlRow &values, const QBitArray &assigned) override;
    void removeStored(int row) override;

private:
    void requireLive() const;
    const TableDef *sourceTable() const;

    Database &m_db;
    QStringList m_sql;
    QString m_liveTable;
    QVariantMap m_params;
    QList<FieldDef> m_fieldsRead;
    QList<SqlRow> m_rows;
    QVector<qint64> m_rowids; // of a live query: the underlying rows
};
