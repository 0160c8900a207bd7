#pragma once

#include "data/database.h"
#include "data/schema.h"

#include <QBitArray>

// The one place that writes single records of a stored table, addressed by
// rowid, for every dataset that edits stored rows. Each write tells the
// database which table changed, so that every other dataset over it reads
// itself anew.
namespace RowWrites {

// Runs one statement that writes `table`; a failure names the table:
// "Nie zapisano zmian w tabeli <file name>." and the reason.
void write(Database &db, const TableDef &table, const QString &sql, const QVariantList &params);

// Inserts a record of `table` from `values` (in the order of `fields`, which
// may be a subset of the table's fields, as a query shows them). Fields not
// assigned are left to the store, except texts, which are stored empty: an
// empty text is then found by locating "". Answers the new rowid and puts
// the key assigned by the store into the auto-increment field of `values`.
qint64 insert(Database &db, const TableDef &table, const QList<FieldDef> &fields, SqlRow &values,
              const QBitArray &assigned, const QObject *writer);

// Writes the changed fields of the record `rowid`. Throws DataError naming
// the table when the record is no longer there.
void update(Database &db, const TableDef &table, const QList<FieldDef> &fields, const SqlRow &values,
            const QBitArray &changed, qint64 rowid, const QObject *writer);

// Deletes the record `rowid`. Throws DataError naming the table when the
// record is no longer there.
void remove(Database &db, const TableDef &table, qint64 rowid, const QObject *writer);

} // namespace RowWrites
