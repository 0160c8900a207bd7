#include "data/kopiaserwera.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/installer.h"
#include "data/schema.h"

namespace {

constexpr int Batch = 2000;

void copyTable(Database &from, Database &to, const TableDef &table)
{
    QStringList fields;
    for (const FieldDef &f : table.fields)
        fields << f.name;
    const FieldDef *key = table.autoIncrement();
    // Without a key of its own a record keeps its rowid: it is the table's order.
    const QStringList targets = key ? fields : QStringList{QStringLiteral("rowid")} + fields;
    QStringList marks;
    marks.fill(QStringLiteral("?"), targets.size());
    const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(table.name, targets.join(QStringLiteral(", ")), marks.join(QLatin1Char(',')));
    const QString select = QStringLiteral("SELECT rowid, %1 FROM %2 WHERE rowid > ? ORDER BY rowid LIMIT %3")
                               .arg(fields.join(QStringLiteral(", ")), table.name)
                               .arg(Batch);
    qint64 last = std::numeric_limits<qint64>::min();
    for (;;) {
        const SqlResult rows = from.run(select, {}, {last});
        for (const SqlRow &row : rows.rows) {
            to.run(insert, {}, key ? QVariantList(row.begin() + 1, row.end()) : QVariantList(row.begin(), row.end()));
            last = row[0].toLongLong();
        }
        if (rows.rows.size() < Batch)
            break;
    }
    if (!to.isServer())
        return; // SQLite's next keys follow the greatest ones by themselves
    const QString column = key ? key->name : QStringLiteral("rowid");
    to.run(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), COALESCE(MAX(%2), 0) + 1, false) FROM %1")
               .arg(table.name.toLower(), column.toLower()));
}

} // namespace

void KopiaSerwera::KopiujTabele(Database &zrodlo, Database &cel)
{
    Database::Transaction transaction(cel);
    for (const TableDef &table : storedTables())
        copyTable(zrodlo, cel, table);
    transaction.commit();
}

void KopiaSerwera::PrzeniesNaSerwer(Database &folder, const QString &conninfo)
{
    Database serwer;
    serwer.openServer(conninfo);
    if (serwer.firstRow(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_schema = current_schema() "
                                       "AND table_name = 'podatnik'")))
        throw DataError(QStringLiteral("Na serwerze jest już baza danych programu; przenieść można tylko do pustej bazy danych."));
    Database::Transaction transaction(serwer);
    Installer::createTables(serwer);
    KopiujTabele(folder, serwer);
    transaction.commit();
}

void KopiaSerwera::ZapiszDoPliku(Database &serwer, const QString &plik)
{
    if (serwer.inTransaction())
        throw DataError(QStringLiteral("Kopii nie można wykonać w trakcie zapisu danych."));
    Database copy;
    copy.openCopy(plik, Database::Access::ReadWrite);
    // What other desks write meanwhile is not in this copy, and the copy holds
    // no save of theirs in part.
    Database::Transaction snapshot(serwer, Database::Transaction::Kind::Snapshot);
    Database::Transaction transaction(copy);
    Installer::createTables(copy);
    KopiujTabele(serwer, copy);
    transaction.commit();
    snapshot.commit();
}

void KopiaSerwera::OdtworzZPliku(Database &serwer, const QString &plik)
{
    Database copy;
    copy.openCopy(plik, Database::Access::ReadOnly);
    Database::Transaction transaction(serwer);
    QStringList tables;
    for (const TableDef &table : storedTables())
        tables << table.name;
    serwer.execute(QStringLiteral("TRUNCATE %1").arg(tables.join(QStringLiteral(", "))));
    KopiujTabele(copy, serwer);
    transaction.commit();
    for (const QString &table : std::as_const(tables))
        serwer.noteWrite(table, nullptr);
}
