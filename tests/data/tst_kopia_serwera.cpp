// The register moved between the stores: a folder database onto a server,
// and a server's database to one SQLite file and back.

#include "support/testsupport.h"

#include "data/installer.h"
#include "data/kopiaserwera.h"
#include "data/kopiezapasowe.h"
#include "data/schema.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// Every record of every table, field by field, in the table's order.
QList<QList<SqlRow>> contents(Database &db)
{
    QList<QList<SqlRow>> all;
    for (const TableDef &table : storedTables()) {
        QStringList fields;
        for (const FieldDef &f : table.fields)
            fields << f.name;
        all << db.run(u"SELECT %1 FROM %2 ORDER BY rowid"_s.arg(fields.join(u','), table.name)).rows;
    }
    return all;
}

// A register with something in every kind of table.
void fill(TestDatabase &db)
{
    const int podatId = db.addTaxpayer({{u"Nazwisko"_s, u"Żółkiewska"_s}, {u"Imie"_s, u"Łucja"_s}, {u"Notatki"_s, u"<b>ważne</b>"_s}});
    db.addTaxpayer({{u"Nazwisko"_s, u"Nowak"_s}});
    const int vzmId = db.addApplication(podatId, {{u"NrKolej"_s, 1}, {u"DataPier"_s, QDate(2010, 5, 4)}});
    db.addFurtherEntries(vzmId, {{u"P65"_s, u"uwagi"_s}});
    const int faktId = db.addInvoice(vzmId, u"B"_s, {{u"NrFakt"_s, u"FV/1"_s}, {u"Brutto"_s, QVariant::fromValue(Money::fromRaw(12345678))}});
    TestDatabase::addRecord(db.dm.KwotyTbl, {{u"FaktId"_s, faktId}, {u"Opis"_s, u"cegła"_s}}, u"KwotaId"_s);
    TestDatabase::addRecord(db.dm.Firmy, {{u"NIP"_s, u"123-456-32-18"_s}, {u"Firma"_s, u"Skład"_s}}, u"NIP"_s);
    db.dm.Marginesy.append();
    db.dm.Marginesy.field(u"SymbolPit"_s).setString(u"VZM-1"_s);
    db.dm.Marginesy.field(u"Strona"_s).setInteger(2);
    db.dm.Marginesy.field(u"Lewy"_s).setInteger(-3);
    db.dm.Marginesy.post();
}

} // namespace

class TestKopiaSerwera : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        if (!testsOnServer())
            QSKIP("the copies of a server's database need the test server");
    }

    // A folder database onto an empty server: the same records, keys and
    // order, and the server's next keys follow them.
    void folderDatabaseMovesOntoAnEmptyServer()
    {
        QTemporaryDir folder;
        Installer::install(folder.path());
        TestEnvironment env(false);
        env.setDatabaseDirectory(folder.path());
        ScriptedMessageBoxes boxes;
        TDM dm(boxes);
        QVERIFY(dm.OtworzTabele());
        QVERIFY(!dm.database().isServer());
        const int podatId = addTaxpayer(dm, {{u"Nazwisko"_s, u"Żółkiewska"_s}});
        dm.Podatnik.locate(u"PodatId"_s, podatId);
        dm.Podatnik.remove(); // a gap among the keys
        addTaxpayer(dm, {{u"Nazwisko"_s, u"Nowak"_s}, {u"Notatki"_s, u"<b>ważne</b>"_s}});

        ServerDatabase server(false);
        KopiaSerwera::PrzeniesNaSerwer(dm.database(), server.conninfo());
        Database moved;
        moved.openServer(server.conninfo());
        QCOMPARE(contents(moved), contents(dm.database()));
        moved.run(u"INSERT INTO Podatnik (Nazwisko) VALUES ('Kowal')"_s);
        QCOMPARE(moved.lastInsertId(), qint64(podatId + 2));

        // Into a server that holds the program's tables already, nothing is moved.
        QVERIFY_THROWS_EXCEPTION(DataError, KopiaSerwera::PrzeniesNaSerwer(dm.database(), server.conninfo()));
        QCOMPARE(moved.firstRow(u"SELECT COUNT(*) FROM Podatnik"_s)->at(0).toInt(), 2);
    }

    // The server's backup is the folder's kind of file, sound; restored, it
    // brings every record back in one transaction.
    void serverBackupIsOneFileAndRestores()
    {
        TestDatabase db;
        fill(db);
        const QList<QList<SqlRow>> before = contents(db.dm.database());
        const QString plik = db.env.root() + u"/kopia.sqlite"_s;
        QVERIFY(KopieZapasowe(db.dm).Kopia(plik));
        KopieZapasowe::SprawdzKopie(plik);
        {
            QTemporaryDir folder;
            QVERIFY(QFile::copy(plik, Database::filePathIn(folder.path())));
            Database file;
            file.open(folder.path());
            QCOMPARE(contents(file), before);
        }

        db.dm.UsunWniosek(db.dm.database().firstRow(u"SELECT VzmId FROM VZMy"_s)->at(0).toInt());
        addTaxpayer(db.dm, {{u"Nazwisko"_s, u"Po kopii"_s}});
        QVERIFY(contents(db.dm.database()) != before);
        db.boxes.clear();
        db.boxes.answer(true);
        QVERIFY2(KopieZapasowe(db.dm).Odtworz(plik), qPrintable(db.boxes.texts().join(u'|')));
        QCOMPARE(contents(db.dm.database()), before);
        QVERIFY(db.dm.Podatnik.isOpen());
        QCOMPARE(db.dm.Podatnik.recordCount(), 2);
    }

    // A file that is no copy of this program's database changes nothing.
    void restoreRefusesAFileThatIsNoCopy()
    {
        TestDatabase db;
        fill(db);
        const QList<QList<SqlRow>> before = contents(db.dm.database());
        const QString plik = db.env.root() + u"/nie-kopia.sqlite"_s;
        QFile file(plik);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("to nie jest baza danych");
        file.close();
        QVERIFY(!KopieZapasowe(db.dm).Odtworz(plik));
        QVERIFY(db.boxes.texts().last().endsWith(u"Baza danych nie została zmieniona."_s));
        QCOMPARE(contents(db.dm.database()), before);
    }
};

QTEST_MAIN(TestKopiaSerwera)
#include "tst_kopia_serwera.moc"
