#include "data/rowwrites.h"

#include "data/dataerror.h"

namespace {

bool isText(const FieldDef &f)
{
    return f.type == FieldType::Text || f.type == FieldType::Memo;
}

// A write by rowid that changed nothing met a record deleted elsewhere (by
// another dataset or another program). Every dataset over the table then
// reads it anew, so that no one goes on showing the record.
void requireRowTouched(Database &db, const TableDef &table, const QString &what)
{
    if (db.rowsAffected() > 0)
        return;
    db.noteWrite(table.name, nullptr);
    throw DataError(QStringLiteral("%1: rekordu nie ma już w tabeli %2 (został usunięty).").arg(what, table.fileName));
}

} // namespace

void RowWrites::write(Database &db, const TableDef &table, const QString &sql, const QVariantList &params)
{
    try {
        db.run(sql, {}, params);
    } catch (const DataError &e) {
        throw DataError(QStringLiteral("Nie zapisano zmian w tabeli %1.\r%2").arg(table.fileName, e.message()));
    }
}

qint64 RowWrites::insert(Database &db, const TableDef &table, const QList<FieldDef> &fields, SqlRow &values,
                         const QBitArray &assigned, const QObject *writer)
{
    QStringList columns;
    QVariantList params;
    int autoIncrement = -1;
    for (int i = 0; i < fields.size(); ++i) {
        const FieldDef &f = fields[i];
        if (f.type == FieldType::AutoInc) {
            autoIncrement = i;
            continue;
        }
        if (!assigned.testBit(i) && !isText(f))
            continue;
        if (isText(f) && values[i].isNull())
            values[i] = QStringLiteral("");
        columns << f.name;
        params << values[i];
    }
    for (const FieldDef &f : table.fields)
        if (isText(f) && !columns.contains(f.name, Qt::CaseInsensitive)) {
            columns << f.name;
            params << QStringLiteral("");
        }
    QStringList marks;
    marks.fill(QStringLiteral("?"), columns.size());
    const QString sql = columns.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table.name)
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(table.name, columns.join(QStringLiteral(", ")), marks.join(QLatin1Char(',')));
    write(db, table, sql, params);
    const qint64 rowid = db.lastInsertId();
    db.noteWrite(table.name, writer);
    if (autoIncrement >= 0)
        values[autoIncrement] = rowid;
    return rowid;
}

void RowWrites::update(Database &db, const TableDef &table, const QList<FieldDef> &fields, const SqlRow &values,
                       const QBitArray &changed, qint64 rowid, const QObject *writer)
{
    QStringList assignments;
    QVariantList params;
    for (int i = 0; i < fields.size(); ++i) {
        if (!changed.testBit(i) || fields[i].type == FieldType::AutoInc)
            continue;
        assignments << fields[i].name + QStringLiteral(" = ?");
        params << values[i];
    }
    if (assignments.isEmpty())
        return;
    params << rowid;
    write(db, table, QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(table.name, assignments.join(QStringLiteral(", "))),
          params);
    requireRowTouched(db, table, QStringLiteral("Nie zapisano zmian"));
    db.noteWrite(table.name, writer);
}

void RowWrites::remove(Database &db, const TableDef &table, qint64 rowid, const QObject *writer)
{
    write(db, table, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(table.name), {rowid});
    requireRowTouched(db, table, QStringLiteral("Nie usunięto rekordu"));
    db.noteWrite(table.name, writer);
}
