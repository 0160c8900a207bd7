// The register moved between the stores: a folder database onto a server,
// and a server's database to one SQLite file and back.

#include "support/testsupport.h"

#include "data/installer.h"
#include "data/kopiaserwera.h"
#include "data/kopiezapasowe.h"
#include "data/schema.h"
#include "support/faultrun.h"

#include <QtTest>

#include <sqlite3.h>

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

// What a file of the user's folder holds beyond its owner's rights.
QFile::Permissions othersRights(const QString &path)
{
    return QFile::permissions(path) & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther);
}

void runOnFile(const QString &plik, const QString &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open(plik.toUtf8().constData(), &db);
    char *error = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    const QString message = QString::fromUtf8(error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        qFatal("%s: %s", qPrintable(sql), qPrintable(message));
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
        // Personal data: the file is its owner's alone, and nothing temporary stays.
        QCOMPARE(othersRights(plik), QFile::Permissions());
        QCOMPARE(temporaryLeftovers(db.env.root()), QStringList());
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

    // A sound SQLite file whose schema is not exactly the program's is
    // refused as in a folder, and the server keeps its register.
    void restoreRefusesAnotherSchema_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a trigger") << u"CREATE TRIGGER t AFTER INSERT ON Podatnik BEGIN DELETE FROM VZMy; END"_s
                                   << u"wyzwalacz t"_s;
        QTest::newRow("a view") << u"CREATE VIEW w AS SELECT * FROM Podatnik"_s << u"widok w"_s;
        QTest::newRow("another table") << u"CREATE TABLE Obca (x)"_s << u"obca tabela Obca"_s;
        QTest::newRow("a field more") << u"ALTER TABLE Faktury ADD COLUMN Obce TEXT"_s
                                      << u"tabela Faktury ma inne pola niż w programie"_s;
        QTest::newRow("a table missing") << u"DROP TABLE Kwoty"_s << u"brak tabeli Kwoty"_s;
    }
    void restoreRefusesAnotherSchema()
    {
        QFETCH(QString, change);
        QFETCH(QString, reason);
        TestDatabase db;
        fill(db);
        const QString plik = db.env.root() + u"/kopia.sqlite"_s;
        KopieZapasowe::ZapiszKopie(db.dm.database(), plik);
        runOnFile(plik, change);
        addTaxpayer(db.dm, {{u"Nazwisko"_s, u"Po kopii"_s}});
        const QList<QList<SqlRow>> before = contents(db.dm.database());
        db.boxes.clear();
        db.boxes.answer(true);
        QVERIFY(!KopieZapasowe(db.dm).Odtworz(plik));
        QCOMPARE(db.boxes.texts().last(), u"Plik nie jest kopią bazy danych programu Tarlen (%1): %2\rBaza danych nie została zmieniona."_s
                                              .arg(reason, QDir::toNativeSeparators(plik)));
        QCOMPARE(contents(db.dm.database()), before);
    }

    // A backup or a restore of a server's register stopped before and after
    // every call that changes a file: the server's register is the one before
    // or (restored) the copy's, never a mixture; a copy that exists is sound
    // and whole; nothing temporary is left once the program started again.
    void stoppedAtEveryPoint_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("backup") << u"kopia"_s;
        QTest::newRow("restore") << u"odtworzenie"_s;
    }
    void stoppedAtEveryPoint()
    {
        QFETCH(QString, operation);
        TestDatabase db;
        const QString root = db.env.root();
        const QString plik = root + u"/kopie użytkownika/kopia.sqlite"_s;
        QVERIFY(QDir().mkpath(QFileInfo(plik).absolutePath()));
        addTaxpayer(db.dm, {{u"Nazwisko"_s, u"Kowalski"_s}});
        const QStringList fromCopy = surnames(db.dm.database());
        const QString before = root + u"/przed.sqlite"_s;
        if (operation == u"odtworzenie") {
            KopieZapasowe::ZapiszKopie(db.dm.database(), plik);
            addTaxpayer(db.dm, {{u"Nazwisko"_s, u"Po kopii"_s}});
            KopieZapasowe::ZapiszKopie(db.dm.database(), before);
        }
        const QStringList present = surnames(db.dm.database());
        // The child's own data folder (the server's temporary files and copies) lies in the test's folder.
        const QMap<QString, QString> childEnv{{u"XDG_DATA_HOME"_s, root + u"/dane"_s}};
        const auto run = [&](const QStringList &args, QMap<QString, QString> env) {
            env.insert(childEnv);
            return runUnderShim(QStringLiteral(CRASH_WRITER), QStringLiteral(FAULT_SHIM), QStringList{root} + args, env);
        };
        const QStringList args{operation, plik};
        const ChildRun whole = run(args, {});
        QVERIFY2(whole.exitCode == 0, qPrintable(whole.err));
        const int calls = countedCalls(whole);
        QVERIFY(calls > 0);

        int points = 0;
        QStringList failures;
        for (int n = 1; n <= calls; ++n) {
            for (const QString &when : {u"before"_s, u"after"_s}) {
                if (operation == u"kopia")
                    QFile::remove(plik);
                else if (surnames(db.dm.database()) != present)
                    KopiaSerwera::OdtworzZPliku(db.dm.database(), before);
                const ChildRun stopped = run(args, {{u"TARLEN_KILL_AT"_s, QString::number(n)}, {u"TARLEN_KILL_WHEN"_s, when}});
                const QString point = u"%1 %2"_s.arg(when).arg(n);
                ++points;
                if (stopped.exitCode != 77 && stopped.exitCode != 0) {
                    failures << point + u": "_s + stopped.err;
                    continue;
                }
                // The program started again.
                const ChildRun started = run({u"start"_s}, {});
                if (started.exitCode != 0)
                    failures << point + u": start: "_s + started.err;
                const QStringList now = surnames(db.dm.database());
                if (now != present && !(operation == u"odtworzenie" && now == fromCopy))
                    failures << point + u": rejestr na serwerze: "_s + now.join(u',');
                if (operation == u"kopia" && QFileInfo::exists(plik)) {
                    try {
                        KopieZapasowe::SprawdzKopie(plik);
                        if (surnamesInCopy(plik) != present)
                            failures << point + u": kopia niepełna"_s;
                    } catch (const DataError &e) {
                        failures << point + u": "_s + e.message();
                    }
                }
                if (!temporaryLeftovers(root).isEmpty())
                    failures << point + u": pozostały "_s + temporaryLeftovers(root).join(u", "_s);
            }
        }
        qInfo().noquote() << u"%1: %2 wywołań zmieniających pliki, %3 punktów przerwania, %4 błędów"_s.arg(operation).arg(calls).arg(points).arg(failures.size());
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u'\n')));
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
