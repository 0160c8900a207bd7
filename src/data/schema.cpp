#include "data/schema.h"

#include "data/database.h"

#include <QHash>

namespace {

FieldDef text(const char *name, int size) { return {QString::fromLatin1(name), FieldType::Text, size}; }
FieldDef of(const char *name, FieldType type) { return {QString::fromLatin1(name), type, 0}; }

// The personal and address fields that the taxpayer and the spouse share;
// the spouse's carry the prefix "M".
QList<FieldDef> personFields(const char *prefix)
{
    const QString p = QString::fromLatin1(prefix);
    QList<FieldDef> fields{
        text("NIP", 13), text("Nazwisko", 50), text("Imie", 30), text("Pesel", 11),
        text("ImieOjca", 30), text("ImieMatki", 30), text("Dokument", 100), text("Kraj", 30),
        text("Wojew", 20), text("Powiat", 30), text("Gmina", 30), text("Ulica", 30),
        text("Posesja", 10), text("Lokal", 10), text("Miasto", 30), text("KodPoczt", 10),
        text("Poczta", 30), text("Konto", 50),
    };
    for (FieldDef &f : fields)
        f.name.prepend(p);
    return fields;
}

QList<FieldDef> podatnikFields()
{
    QList<FieldDef> fields{of("PodatId", FieldType::AutoInc), text("Urzad", 100)};
    fields += personFields("");
    fields += personFields("M");
    fields += of("Notatki", FieldType::Memo);
    return fields;
}

QList<TableDef> makeTables()
{
    using T = FieldType;
    return {
        {"Podatnik", "Podatnik.DB", podatnikFields(), {}, {{"Nazwisko", "Imie"}}},
        {"Firmy", "Firmy.db", {text("NIP", 13), text("Kod", 10), text("Firma", 50)}, {"NIP"}, {}, false},
        {"Faktury", "Faktury.db",
         {of("FaktId", T::AutoInc), of("VzmId", T::Integer), text("Oznacz", 1), text("NrFakt", 30),
          text("LpFakt", 150), of("DataWyst", T::Date), text("KodSprzed", 10), text("NipSprzed", 13),
          of("Brutto", T::Money), of("VatA", T::Money), of("VatB", T::Money)},
         {},
         {{"VzmId", "Oznacz"}},
         true,
         "VzmId"},
        {"VZMy", "VZMy.DB",
         {of("VzmId", T::AutoInc), of("PodatId", T::Integer), of("NrKolej", T::Integer),
          of("Korekta", T::Logical), of("NrKoryg", T::Integer), of("Faktur", T::Integer),
          of("SztukA", T::Integer), of("SztukB", T::Integer), of("SztukC", T::Integer),
          of("Zwrot", T::Money), of("DataPier", T::Date), of("Wersja", T::Integer),
          of("ZwrotA", T::Money), of("ZwrotB", T::Money), of("ZwrotC", T::Money), of("ZwrotD", T::Money),
          of("ZwrotPopA", T::Money), of("ZwrotPopB", T::Money), of("ZwrotPopC", T::Money),
          of("ZwrotPopD", T::Money)},
         {},
         {{"PodatId"}},
         true,
         "PodatId"},
        {"VZMw3", "VZMw3.db",
         {of("WpisId", T::AutoInc), of("VzmId", T::Integer), of("P8_1", T::Logical),
          of("P8_2", T::Logical), of("P8_3", T::Logical), of("P41", T::Integer), of("P42", T::Integer),
          of("P43", T::Integer), of("P44", T::Date), of("P45", T::Money), of("P56", T::Memo),
          of("P57_1", T::Logical), of("P57_2", T::Logical), of("P57_3", T::Logical),
          of("P58_1", T::Logical), of("P58_2", T::Logical), of("P58_3", T::Logical), text("Konto", 50),
          of("P59", T::Integer), of("P60", T::Integer), of("P61", T::Integer), of("P65", T::Memo)},
         {},
         {{"VzmId"}}},
        {"Imiona", "Imiona.DB", {text("Imie", 20), text("Plec", 1)}, {}, {}},
        {"Domysl", "Domysl.DB",
         {text("Kraj", 30), text("Wojew", 20), text("Powiat", 30), text("Gmina", 30), text("Miasto", 40),
          text("KodPoczt", 10), text("Poczta", 30), text("Urzad", 80), of("CenaMetra", T::Money)},
         {},
         {}},
        {"Margin", "Margin.DB",
         {text("SymbolPit", 10), of("Strona", T::SmallInt), of("Lewy", T::SmallInt), of("Gorny", T::SmallInt)},
         {"SymbolPit", "Strona"},
         {}},
        {"Korekta", "Korekta.db",
         {text("Pit", 10), of("Pole", T::SmallInt), text("Opis", 5), text("Hint", 65),
          of("KorX", T::SmallInt), of("KorY", T::SmallInt)},
         {"Pit", "Pole"},
         {}},
        {"Kwoty", "Kwoty.db",
         {of("KwotaId", T::AutoInc), of("FaktId", T::Integer), text("Opis", 50), of("Brutto", T::Money),
          of("VatA", T::Money), of("VatB", T::Money)},
         {},
         {{"FaktId"}}},
        {"WykazA", "WykazA.db", {of("Lp", T::Integer), text("PKWiU", 20), text("Material", 255)}, {"Lp"}, {}},
        {"WykazB", "WykazB.DB", {of("Lp", T::Integer), text("PKWiU", 20), of("Material", T::Memo)}, {"Lp"}, {}},
    };
}

QString sqlType(const FieldDef &f)
{
    switch (f.type) {
    case FieldType::AutoInc:
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Date:
        return QStringLiteral("TEXT");
    default:
        return QStringLiteral("INTEGER");
    }
}

// The index of a table's natural order; unique where the order is the key,
// as the key of the old store was.
QString orderIndexStatement(const TableDef &table)
{
    return QStringLiteral("CREATE %1INDEX %2_key ON %2 (%3)")
        .arg(table.orderIsKey ? QStringLiteral("UNIQUE ") : QString(), table.name, table.order.join(QStringLiteral(", ")));
}

QString indexName(const TableDef &table, const QStringList &index)
{
    return table.name + QLatin1Char('_') + index.join(QLatin1Char('_'));
}

// A lookup index; "IF NOT EXISTS" lets a database made by an earlier
// version of the program gain it.
QString indexStatement(const TableDef &table, const QStringList &index)
{
    return QStringLiteral("CREATE INDEX IF NOT EXISTS %1 ON %2 (%3)")
        .arg(indexName(table, index), table.name, index.join(QStringLiteral(", ")));
}

} // namespace

const FieldDef *TableDef::field(const QString &fieldName) const
{
    for (const FieldDef &f : fields)
        if (f.name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

const FieldDef *TableDef::autoIncrement() const
{
    for (const FieldDef &f : fields)
        if (f.type == FieldType::AutoInc)
            return &f;
    return nullptr;
}

const QList<TableDef> &storedTables()
{
    static const QList<TableDef> tables = makeTables();
    return tables;
}

const TableDef &tableDef(const QString &name)
{
    static const QHash<QString, const TableDef *> byName = [] {
        QHash<QString, const TableDef *> h;
        for (const TableDef &t : storedTables())
            h.insert(t.name.toUpper(), &t);
        return h;
    }();
    const TableDef *t = byName.value(name.toUpper());
    Q_ASSERT_X(t, "tableDef", qPrintable(name));
    return *t;
}

namespace {

QString serverType(const FieldDef &f)
{
    switch (f.type) {
    case FieldType::AutoInc:
        return QStringLiteral("bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Date:
        return QStringLiteral("text COLLATE \"C\"");
    default:
        return QStringLiteral("bigint");
    }
}

QStringList createTable(const TableDef &table, const QStringList &columns)
{
    QStringList statements{QStringLiteral("CREATE TABLE %1 (%2)").arg(table.name, columns.join(QStringLiteral(", ")))};
    if (!table.order.isEmpty())
        statements << orderIndexStatement(table);
    for (const QStringList &index : table.indexes)
        statements << indexStatement(table, index);
    return statements;
}

} // namespace

QStringList createStatements(const TableDef &table)
{
    QStringList columns;
    for (const FieldDef &f : table.fields)
        columns << f.name + QLatin1Char(' ') + sqlType(f);
    return createTable(table, columns);
}

QStringList createServerStatements(const TableDef &table)
{
    QStringList columns;
    for (const FieldDef &f : table.fields)
        columns << f.name + QLatin1Char(' ') + serverType(f);
    const FieldDef *key = table.autoIncrement();
    columns << (key ? QStringLiteral("rowid bigint GENERATED ALWAYS AS (%1) STORED UNIQUE").arg(key->name)
                    : QStringLiteral("rowid bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"))
            << QStringLiteral("row_version bigint NOT NULL DEFAULT 1") << QStringLiteral("changed_by text");
    return createTable(table, columns)
        << QStringLiteral("CREATE TRIGGER %1_version BEFORE INSERT OR UPDATE ON %1 "
                          "FOR EACH ROW EXECUTE FUNCTION tarlen_row_version()").arg(table.name)
        << QStringLiteral("CREATE TRIGGER %1_notify AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON %1 "
                          "FOR EACH STATEMENT EXECUTE FUNCTION tarlen_notify()").arg(table.name);
}

QStringList serverFunctionStatements()
{
    return {
        QStringLiteral("CREATE FUNCTION tarlen_row_version() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                       "IF TG_OP = 'UPDATE' THEN NEW.row_version := OLD.row_version + 1; END IF; "
                       "NEW.changed_by := current_setting('application_name'); RETURN NEW; END $$"),
        QStringLiteral("CREATE FUNCTION tarlen_notify() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                       "PERFORM pg_notify('tarlen', TG_TABLE_NAME); RETURN NULL; END $$"),
        // SQLite's pl_upper is the program's own; the server folds Polish
        // letters through ICU's root locale (its "C" texts fold only ASCII).
        QStringLiteral("CREATE FUNCTION pl_upper(text) RETURNS text LANGUAGE sql IMMUTABLE PARALLEL SAFE AS "
                       "$$ SELECT upper($1 COLLATE \"und-x-icu\") $$"),
    };
}

void upgradeSchema(Database &db)
{
    if (db.isServer())
        return; // the first version of the server's tables
    for (const TableDef &table : storedTables()) {
        // A missing table is reported when the tables are opened.
        if (!db.firstRow(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ?"), {}, {table.name}))
            continue;
        // Only a missing index is made: a database that has them all is only
        // read here, and need not wait for the check of its file.
        for (const QStringList &index : table.indexes)
            if (!db.firstRow(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?"), {},
                             {indexName(table, index)}))
                db.run(indexStatement(table, index));
        if (table.orderIsKey || table.order.isEmpty())
            continue;
        const auto index = db.firstRow(QStringLiteral("SELECT [unique] FROM pragma_index_list(?) WHERE name = ?"), {},
                                       {table.name, table.name + QStringLiteral("_key")});
        if (!index || index->at(0).toInt() == 0)
            continue;
        Database::Transaction transaction(db);
        db.run(QStringLiteral("DROP INDEX %1_key").arg(table.name));
        db.run(orderIndexStatement(table));
        transaction.commit();
    }
}
