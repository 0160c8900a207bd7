#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class Database;

enum class FieldType {
    Text,     // at most `size` characters; longer values are cut when stored
    Integer,  // 32-bit
    SmallInt, // 16-bit
    AutoInc,  // key assigned by the store at the first post
    Logical,  // 0/1; empty reads false
    Date,     // ISO text; empty reads "no date"
    Money,    // whole ten-thousandths; empty reads 0
    Memo,     // text of any length
};

struct FieldDef
{
    QString name;
    FieldType type = FieldType::Integer;
    int size = 0; // characters, for Text
};

struct TableDef
{
    QString name;     // the table's name in SQL
    QString fileName; // the name the user knows it by, used in messages
    QList<FieldDef> fields;
    QStringList order;              // the table's natural order; empty: order of insertion
    QList<QStringList> indexes;     // lookup indexes
    bool orderIsKey = true;         // whether no two records may agree on the order's fields
    // The field within whose value records are numbered by their order (the
    // invoices of one application, the applications of one taxpayer): two
    // desks add to one group one after the other.
    QString numberedWithin;
    const FieldDef *field(const QString &fieldName) const;
    const FieldDef *autoIncrement() const;
};

// The twelve stored tables, in the order in which the program opens them.
const QList<TableDef> &storedTables();
const TableDef &tableDef(const QString &name);

// CREATE TABLE and CREATE INDEX statements of one table.
QStringList createStatements(const TableDef &table);

// The same for a PostgreSQL server, where several desks share the tables:
// each table has a "rowid" (its auto-increment key where it has one), a
// row_version that every update raises and changed_by, the desk that wrote
// the record last; every write is announced on the channel "tarlen" with
// the table's name. Texts compare by their bytes, as in SQLite.
QStringList createServerStatements(const TableDef &table);
// What the server's tables use: the version trigger, the announcement and
// the Polish upper case; run once, before the tables.
QStringList serverFunctionStatements();

// Brings a database made by an earlier installation to the present schema:
// the sellers' NIP is no longer unique, so that a seller can be corrected to
// the NIP of another. Changes nothing in a database that is up to date.
void upgradeSchema(Database &db);
