#pragma once

#include "data/database.h"
#include "data/dataset.h"
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
// A record of a numbered group (TableDef::numberedWithin) is added while no
// other desk adds to the same group, so the group's order is that of adding.
qint64 insert(Database &db, const TableDef &table, const QList<FieldDef> &fields, SqlRow &values,
              const QBitArray &assigned, const QObject *writer);

// Writes the changed fields of the record `rowid`. Throws DataError naming
// the table when the record is no longer there.
//
// Given `seen` (the record as this desk read it, on a server), only the
// fields whose values differ from it are written. When another desk has
// written the record since, the write still lands if that desk changed none
// of these fields to another value; otherwise RecordChanged, and nothing is
// written.
void update(Database &db, const TableDef &table, const QList<FieldDef> &fields, const SqlRow &values,
            const QBitArray &changed, qint64 rowid, const QObject *writer,
            const std::optional<Dataset::Seen> &seen = std::nullopt);

// Deletes the record `rowid`. Throws DataError naming the table when the
// record is no longer there, RecordChanged when another desk has written it
// since this desk read it (`seen`).
void remove(Database &db, const TableDef &table, qint64 rowid, const QObject *writer,
            const std::optional<Dataset::Seen> &seen = std::nullopt);

} // namespace RowWrites
