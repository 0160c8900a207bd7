#pragma once

#include "data/dataset.h"
#include "data/sqltext.h"

#include <QVariantMap>

// An SQL query with named parameters (":PodatId"), read whole when opened.
// String literals, in single or double quotes, are bound as parameters, so
// that "Kraj" in `WHERE Nazwisko="Kraj"` is a text and never a column.
// Result columns take the type of the field they show; an aggregate such as
// SUM(Brutto) or MAX(DataWyst) takes the type of the field it aggregates.
//
// A live query over one table sends its edits, inserts and deletes to that
// table's rows; after each the record takes its place in the query's order.
// The others are read-only. An open query reads itself anew whenever its
// table is written through any other dataset or by the data module, keeping
// its current record where it still exists.
//
// A query without an order reads its table's records in their natural order
// (on a server too, where the order of records read is otherwise left open
// and changes as they are updated): an invoice's row number is its place.
class Query : public Dataset
{
    Q_OBJECT
public:
    Query(Database &db, const QString &name, const QStringList &sqlLines = {}, const QString &liveTable = {},
          QObject *parent = nullptr);

    const QStringList &sql() const { return m_sql; }
    void setSql(const QStringList &lines) { m_sql = lines; }
    void addSql(const QString &line) { m_sql << line; }
    void clearSql() { m_sql.clear(); }

    void setParam(const QString &name, const QVariant &value) { m_params.insert(name, value); }
    QVariant param(const QString &name) const { return m_params.value(name); }

    bool isLive() const { return m_live != nullptr; }

protected:
    QList<FieldDef> openStorage() override;
    void closeStorage() override;
    int storedCount() override { return int(m_rows.size()); }
    SqlRow storedRow(int row) override { return m_rows.value(row); }
    int updateStored(int row, const SqlRow &values, const QBitArray &changed) override;
    int insertStored(int position, SqlRow &values, const QBitArray &assigned) override;
    void removeStored(int row) override;
    std::optional<qint64> storedRowid(int row) override;
    std::optional<qint64> storedVersion(int row) override;

private:
    void requireLive() const;
    // Runs the query and keeps its records; answers the columns it read.
    QStringList read();
    // The position of the record whose underlying row is `rowid`, or `fallback`.
    int positionOf(qint64 rowid, int fallback) const;
    void onTableChanged(const QString &table, const QObject *writer);

    Database &m_db;
    QStringList m_sql;
    const TableDef *m_live;     // the table a live query writes to
    const TableDef *m_source = nullptr; // the table named after FROM, when it is one of ours
    // The statement run for the text m_statementOf on that store: literals
    // bound, row identity and order added.
    QString m_statementOf;
    bool m_statementOnServer = false;
    SqlText::Bound m_statement;
    QVariantMap m_params;
    QList<FieldDef> m_fieldsRead;
    QList<SqlRow> m_rows;
    QVector<qint64> m_rowids; // of a live query: the underlying rows
    QVector<qint64> m_versions; // of a live query on a server: their row versions
};
