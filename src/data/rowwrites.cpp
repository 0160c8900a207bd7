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

// What the user knows a table's record as, for the message that another
// desk changed it.
QString changedElsewhere(const TableDef &table, const QString &desk)
{
    const QString name = table.name.toUpper();
    QString what;
    if (name == QLatin1String("PODATNIK"))
        what = QStringLiteral("Dane podatnika zostały w międzyczasie zmienione");
    else if (name == QLatin1String("VZMY") || name == QLatin1String("VZMW3"))
        what = QStringLiteral("Wniosek został w międzyczasie zmieniony");
    else if (name == QLatin1String("FAKTURY") || name == QLatin1String("KWOTY"))
        what = QStringLiteral("Faktura została w międzyczasie zmieniona");
    else if (name == QLatin1String("FIRMY"))
        what = QStringLiteral("Dane sprzedawcy zostały w międzyczasie zmienione");
    else
        what = QStringLiteral("Rekord tabeli %1 został w międzyczasie zmieniony").arg(table.fileName);
    return QStringLiteral("%1 na innym stanowisku (%2).\rNie zapisano zmian: to, co wpisano, zostaje w oknie. "
                          "Aby wczytać zmiany z tamtego stanowiska, zamknij okno bez zapisywania i otwórz je ponownie.")
        .arg(what, desk.isEmpty() ? QStringLiteral("nieznane") : desk);
}

// Values in the store's form: two reads of one field, or a read and a write.
bool same(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a.toString() == b.toString();
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
    const qsizetype group = table.numberedWithin.isEmpty() ? -1 : columns.indexOf(table.numberedWithin, 0);
    std::optional<Database::Transaction> numbering;
    if (group >= 0 && db.isServer()) {
        numbering.emplace(db);
        db.lockNumbering(table.name, params[group].toLongLong());
    }
    write(db, table, sql, params);
    const qint64 rowid = db.lastInsertId();
    if (numbering)
        numbering->commit();
    db.noteWrite(table.name, writer);
    if (autoIncrement >= 0)
        values[autoIncrement] = rowid;
    return rowid;
}

namespace {

// The record as it is now, locked until the transaction ends, with the
// desk that wrote it last; none when it was deleted.
std::optional<SqlRow> lockedNow(Database &db, const TableDef &table, const QList<FieldDef> &fields, qint64 rowid)
{
    QStringList names;
    for (const FieldDef &f : fields)
        names << f.name;
    names << QStringLiteral("changed_by");
    return db.firstRow(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ? FOR UPDATE").arg(names.join(QStringLiteral(", ")), table.name),
                       {}, {rowid});
}

// What this desk shows of the table is older than the store: every dataset
// over it reads it anew (an edit of a record still there stays), and the
// write is refused.
[[noreturn]] void refuse(Database &db, const TableDef &table, const QString &message)
{
    db.noteWrite(table.name, nullptr);
    throw RecordChanged(message);
}

} // namespace

void RowWrites::update(Database &db, const TableDef &table, const QList<FieldDef> &fields, const SqlRow &values,
                       const QBitArray &changed, qint64 rowid, const QObject *writer, const std::optional<Dataset::Seen> &seen)
{
    QList<int> written;
    QStringList assignments;
    QVariantList params;
    for (int i = 0; i < fields.size(); ++i) {
        if (!changed.testBit(i) || fields[i].type == FieldType::AutoInc)
            continue;
        // What this desk did not change is left as another desk may have written it.
        if (seen && same(values[i], seen->values.value(i)))
            continue;
        written << i;
        assignments << fields[i].name + QStringLiteral(" = ?");
        params << values[i];
    }
    if (assignments.isEmpty())
        return;
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(table.name, assignments.join(QStringLiteral(", ")));
    if (!seen) {
        write(db, table, sql, params << rowid);
        requireRowTouched(db, table, QStringLiteral("Nie zapisano zmian"));
        db.noteWrite(table.name, writer);
        return;
    }
    Database::Transaction transaction(db);
    write(db, table, sql + QStringLiteral(" AND row_version = ?"), QVariantList(params) << rowid << seen->version);
    if (db.rowsAffected() == 0) {
        const std::optional<SqlRow> now = lockedNow(db, table, fields, rowid);
        if (!now)
            requireRowTouched(db, table, QStringLiteral("Nie zapisano zmian"));
        for (int i : written)
            if (!same(now->value(i), seen->values.value(i)) && !same(now->value(i), values[i]))
                refuse(db, table, changedElsewhere(table, now->last().toString()));
        write(db, table, sql, params << rowid);
    }
    transaction.commit();
    db.noteWrite(table.name, writer);
}

void RowWrites::remove(Database &db, const TableDef &table, qint64 rowid, const QObject *writer,
                       const std::optional<Dataset::Seen> &seen)
{
    if (!seen) {
        write(db, table, QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(table.name), {rowid});
        requireRowTouched(db, table, QStringLiteral("Nie usunięto rekordu"));
        db.noteWrite(table.name, writer);
        return;
    }
    write(db, table, QStringLiteral("DELETE FROM %1 WHERE rowid = ? AND row_version = ?").arg(table.name), {rowid, seen->version});
    if (db.rowsAffected() == 0) {
        const auto now = db.firstRow(QStringLiteral("SELECT changed_by FROM %1 WHERE rowid = ?").arg(table.name), {}, {rowid});
        if (now)
            refuse(db, table, changedElsewhere(table, now->at(0).toString()).replace(
                QStringLiteral("Nie zapisano zmian: to, co wpisano, zostaje w oknie. "), QStringLiteral("Nie usunięto rekordu. ")));
        requireRowTouched(db, table, QStringLiteral("Nie usunięto rekordu"));
    }
    db.noteWrite(table.name, writer);
}
