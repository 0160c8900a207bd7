#include "data/installer.h"

#include "data/database.h"
#include "data/dataerror.h"
#include "data/dataset.h"
#include "data/kopiezapasowe.h"
#include "data/rowwrites.h"
#include "data/schema.h"

#include "core/privatefiles.h"
#include "core/registry.h"
#include "spreadsheet/csv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>

namespace {

// The records of a list the program ships: its ";"-separated lines below
// the heading, empty lines left out.
QList<QStringList> bundledList(const QString &name)
{
    QFile file(QStringLiteral(":/installdata/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw DataError(QStringLiteral("Brak danych instalacyjnych: ") + name);
    return Csv::records(QString::fromUtf8(file.readAll()));
}

// Inserts one record; every text of the table is stored, empty when not given.
void insertRecord(Database &db, const TableDef &table, const QVariantMap &values)
{
    SqlRow row(table.fields.size());
    QBitArray assigned(int(table.fields.size()));
    for (int i = 0; i < table.fields.size(); ++i) {
        const FieldDef &f = table.fields[i];
        if (!values.contains(f.name))
            continue;
        row[i] = Dataset::toStorage(f, values.value(f.name));
        assigned.setBit(i);
    }
    RowWrites::insert(db, table, table.fields, row, assigned, nullptr);
}

int loadList(Database &db, const QString &table, const QString &file, const QStringList &fields)
{
    const TableDef &def = tableDef(table);
    const QList<QStringList> rows = bundledList(file);
    for (const QStringList &row : rows) {
        QVariantMap values;
        for (int i = 0; i < fields.size(); ++i)
            values.insert(fields[i], row.value(i).trimmed());
        insertRecord(db, def, values);
    }
    return int(rows.size());
}

QStringList createDatabase(Database &db)
{
    QStringList done;
    Installer::createTables(db);
    done << QStringLiteral("Utworzono %1 tabel.").arg(storedTables().size());

    done << QStringLiteral("Imiona.DB: %1 imion.")
                .arg(loadList(db, QStringLiteral("Imiona"), QStringLiteral("imiona.csv"), {QStringLiteral("Imie"), QStringLiteral("Plec")}));
    const QStringList materials{QStringLiteral("Lp"), QStringLiteral("PKWiU"), QStringLiteral("Material")};
    done << QStringLiteral("WykazA.db: %1 pozycji.")
                .arg(loadList(db, QStringLiteral("WykazA"), QStringLiteral("wykaz_a.csv"), materials));
    done << QStringLiteral("WykazB.DB: %1 pozycji.")
                .arg(loadList(db, QStringLiteral("WykazB"), QStringLiteral("wykaz_b.csv"), materials));

    insertRecord(db, tableDef(QStringLiteral("Domysl")), {{QStringLiteral("Kraj"), QStringLiteral("Polska")}});
    done << QStringLiteral("Domysl.DB: parametry domyślne z krajem Polska.");

    const int corrections = loadList(db, QStringLiteral("Korekta"), QStringLiteral("korekta.csv"),
                                     {QStringLiteral("Pit"), QStringLiteral("Pole"), QStringLiteral("Opis"), QStringLiteral("Hint")});
    db.run(QStringLiteral("UPDATE Korekta SET KorX = 0, KorY = 0"));
    done << QStringLiteral("Korekta.db: %1 pól nadruku bez przesunięć.").arg(corrections);
    return done;
}

} // namespace

namespace {

// Answers the lines of a database restored from a copy instead, or nothing
// when an empty one is to be made (its copies put aside first).
std::optional<QStringList> restoreInstead(const QString &path, const Installer::CopiesQuestion &ask)
{
    const QString folder = KopieZapasowe::KatalogKopii(QFileInfo(path).absolutePath());
    const QStringList copies = KopieZapasowe::KopieAutomatyczne(folder);
    if (copies.isEmpty())
        return std::nullopt;
    const auto sound = KopieZapasowe::DobreKopie(folder);
    QString text = QStringLiteral("Brak pliku bazy danych %1, ale w folderze %2 jest kopii zapasowych: %3.\r")
                       .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(folder))
                       .arg(copies.size());
    text += sound.isEmpty()
                ? QStringLiteral("Żadna z nich nie jest dobrą kopią. Utworzyć pustą bazę danych? "
                                 "Kopie zostaną przeniesione do osobnego folderu w %1.")
                      .arg(QDir::toNativeSeparators(folder))
                : QStringLiteral("Odtworzyć bazę danych z najnowszej dobrej kopii\r%1\rzamiast tworzyć pustą? "
                                 "(Bez odtworzenia kopie zostaną przeniesione do osobnego folderu w %2.)")
                      .arg(KopieZapasowe::OpisKopii(sound.first()), QDir::toNativeSeparators(folder));
    if (!ask)
        throw DataError(text.section(QLatin1Char('\r'), 0, 0) + QStringLiteral("\rNie utworzono pustej bazy danych."));
    const bool yes = ask(text);
    if (sound.isEmpty() && !yes)
        throw DataError(QStringLiteral("Nie utworzono bazy danych."));
    if (!sound.isEmpty() && yes) {
        KopieZapasowe::OdtworzBrakujaca(sound.first().plik, path);
        return QStringList{QStringLiteral("Odtworzono bazę danych %1 z kopii zapasowej %2.")
                               .arg(QDir::toNativeSeparators(path), QDir::toNativeSeparators(sound.first().plik))};
    }
    return QStringList{QStringLiteral("Kopie zapasowe przeniesiono do folderu %1.")
                           .arg(QDir::toNativeSeparators(KopieZapasowe::OdlozKopie(folder)))};
}

} // namespace

QStringList Installer::install(const QString &directory, const CopiesQuestion &ask)
{
    const QString path = Database::filePathIn(directory);
    if (QFile::exists(path))
        throw DataError(QStringLiteral("Baza danych już istnieje: %1").arg(QDir::toNativeSeparators(path)));
    if (!PrivateFiles::makeFolder(QFileInfo(path).absolutePath()))
        throw DataError(QStringLiteral("Nie można utworzyć katalogu: %1").arg(QDir::toNativeSeparators(directory)));

    QStringList done;
    if (const auto restored = restoreInstead(path, ask)) {
        if (QFile::exists(path))
            return *restored;
        done = *restored;
    }
    {
        Database db;
        db.create(directory);
        try {
            Database::Transaction transaction(db);
            done += createDatabase(db);
            transaction.commit();
        } catch (const DataError &) {
            db.close();
            QFile::remove(path);
            throw;
        }
    }
    done.prepend(QStringLiteral("Utworzono bazę danych: %1").arg(QDir::toNativeSeparators(path)));
    return done;
}

namespace {

// Records `directory` as the program's database directory.
QString record(const QString &directory)
{
    const auto scope = writeRegistryValue(ProgramVersion, u"Sciezka", QDir::toNativeSeparators(directory));
    if (!scope)
        throw DataError(QStringLiteral("Nie udało się zapisać ścieżki bazy danych w ustawieniach programu."));
    return QStringLiteral("Zapisano ścieżkę bazy danych (Sciezka) w ustawieniach %1.")
        .arg(*scope == QSettings::SystemScope ? QStringLiteral("systemowych") : QStringLiteral("użytkownika"));
}

} // namespace

namespace Installer {

void createTables(Database &db)
{
    if (db.isServer())
        for (const QString &statement : serverFunctionStatements())
            db.execute(statement);
    for (const TableDef &t : storedTables())
        for (const QString &statement : db.isServer() ? createServerStatements(t) : createStatements(t))
            db.execute(statement);
}

QStringList installServer(const QString &conninfo)
{
    Database db;
    db.openServer(conninfo);
    if (db.firstRow(QStringLiteral("SELECT 1 FROM information_schema.tables WHERE table_schema = current_schema() "
                                   "AND table_name = 'podatnik'")))
        throw DataError(QStringLiteral("Baza danych programu już istnieje na serwerze: %1").arg(conninfo));
    Database::Transaction transaction(db);
    QStringList done = createDatabase(db);
    transaction.commit();
    done.prepend(QStringLiteral("Utworzono bazę danych na serwerze: %1").arg(conninfo));
    return done;
}

QStringList installServerInto(const QString &conninfo)
{
    QStringList done = installServer(conninfo);
    if (!writeRegistryValue(ProgramVersion, u"Serwer", conninfo))
        throw DataError(QStringLiteral("Nie udało się zapisać serwera bazy danych w ustawieniach programu."));
    done << QStringLiteral("Zapisano serwer bazy danych (Serwer) w ustawieniach programu.");
    return done;
}

QStringList installInto(const QString &directory, const CopiesQuestion &ask)
{
    QStringList done = install(directory, ask);
    done << record(directory);
    return done;
}

QStringList installDefault(const CopiesQuestion &ask)
{
    const std::optional<QString> recorded = readRegistryValue(ProgramVersion, u"Sciezka");
    const QString directory = QDir(recorded.value_or(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                                                     + QStringLiteral("/baza")))
                                  .absolutePath();
    if (!QFile::exists(Database::filePathIn(directory)))
        return installInto(directory, ask);
    QStringList done{QStringLiteral("Baza danych jest już zainstalowana: ")
                     + QDir::toNativeSeparators(Database::filePathIn(directory))};
    // The settings may have been removed since: without the record the
    // program would not find the database.
    if (!recorded)
        done << record(directory);
    return done;
}

} // namespace Installer
