#include "data/tdm.h"
#include "support/testsupport.h"

#include "data/dataerror.h"

#include <QSettings>
#include <QTest>

using namespace Qt::StringLiterals;

// The data module on a database made by the installer.
class TestTdm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TDM> dm;

    int addApplication(int podatId, int nrKolej)
    {
        return TestDatabase::addRecord(dm->VzmyTbl, {{u"PodatId"_s, podatId}, {u"NrKolej"_s, nrKolej}}, u"VzmId"_s);
    }
    int addInvoice(int vzmId, const QString &list, const QString &number, qint64 vatA = 0, qint64 vatB = 0)
    {
        QVariantMap fields{{u"VzmId"_s, vzmId}, {u"Oznacz"_s, list}, {u"NrFakt"_s, number}};
        if (vatA)
            fields.insert(u"VatA"_s, QVariant::fromValue(Money::fromRaw(vatA)));
        if (vatB)
            fields.insert(u"VatB"_s, QVariant::fromValue(Money::fromRaw(vatB)));
        return TestDatabase::addRecord(dm->Faktury, fields, u"FaktId"_s);
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        boxes.clear();
        dm = std::make_unique<TDM>(boxes);
        QVERIFY(dm->OtworzTabele());
        QVERIFY(boxes.shown().isEmpty());
    }
    void cleanup()
    {
        dm.reset();
        env.reset();
    }

    void attachmentCounts_data()
    {
        QTest::addColumn<int>("invoices");
        QTest::addColumn<int>("attachments");
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("one") << 1 << 1;
        QTest::newRow("27") << 27 << 1;
        QTest::newRow("28") << 28 << 2;
        QTest::newRow("54") << 54 << 2;
        QTest::newRow("55") << 55 << 3;
    }
    void attachmentCounts()
    {
        QFETCH(int, invoices);
        QFETCH(int, attachments);
        const int vzm = addApplication(addTaxpayer(*dm, {{u"Nazwisko"_s, u"K"_s}, {u"Imie"_s, u"Jan"_s}}), 1);
        const int other = addApplication(addTaxpayer(*dm, {{u"Nazwisko"_s, u"L"_s}, {u"Imie"_s, u"Jan"_s}}), 1);
        for (int i = 0; i < invoices; ++i)
            addInvoice(vzm, QStringLiteral("A"), QString::number(i));
        addInvoice(vzm, QStringLiteral("B"), QStringLiteral("b"));
        for (int i = 0; i < 30; ++i)
            addInvoice(other, QStringLiteral("A"), QString::number(i));
        QCOMPARE(dm->LiczbaZalA(vzm), attachments);
        QCOMPARE(dm->LiczbaZalB(vzm), 1);
        QCOMPARE(dm->LiczbaZalC(vzm), 0);
        QCOMPARE(dm->LiczbaFaktur(vzm), invoices + 1);
    }

    void nextSequenceNumber()
    {
        const int a = addTaxpayer(*dm, {{u"Nazwisko"_s, u"A"_s}, {u"Imie"_s, u"Jan"_s}});
        const int b = addTaxpayer(*dm, {{u"Nazwisko"_s, u"B"_s}, {u"Imie"_s, u"Jan"_s}});
        QCOMPARE(dm->NastepnyNrKolej(a), 1);
        for (int nr : {1, 2, 5})
            addApplication(a, nr);
        addApplication(b, 9);
        QCOMPARE(dm->NastepnyNrKolej(a), 6);
        QCOMPARE(dm->NastepnyNrKolej(b), 10);
    }

    void invoiceNumberIsFoundTrimmedAndSafely()
    {
        const int vzm = addApplication(addTaxpayer(*dm, {{u"Nazwisko"_s, u"A"_s}, {u"Imie"_s, u"Jan"_s}}), 1);
        addInvoice(vzm, QStringLiteral("C"), QStringLiteral("FV 12/2010"));
        addInvoice(vzm, QStringLiteral("A"), QStringLiteral("O'Brien \"7\""));
        addInvoice(vzm + 1, QStringLiteral("A"), QStringLiteral("Inny"));
        QVERIFY(dm->JestNrFaktury(vzm, QStringLiteral("  FV 12/2010  ")));
        QVERIFY(dm->JestNrFaktury(vzm, QStringLiteral("O'Brien \"7\"")));
        QVERIFY(!dm->JestNrFaktury(vzm, QStringLiteral("fv 12/2010")));
        QVERIFY(!dm->JestNrFaktury(vzm, QStringLiteral("Inny")));
        QVERIFY(!dm->JestNrFaktury(vzm, QStringLiteral("x' OR '1'='1")));
    }

    void vatSumsPerList()
    {
        const int vzm = addApplication(addTaxpayer(*dm, {{u"Nazwisko"_s, u"A"_s}, {u"Imie"_s, u"Jan"_s}}), 1);
        QCOMPARE(dm->SumaVatA(vzm, 1), Money()); // SUM over no rows
        addInvoice(vzm, QStringLiteral("A"), QStringLiteral("1"), 1234500, 10001);
        addInvoice(vzm, QStringLiteral("A"), QStringLiteral("2"), 5, 0);
        addInvoice(vzm, QStringLiteral("B"), QStringLiteral("3"), 70000, 0);
        addInvoice(vzm + 1, QStringLiteral("A"), QStringLiteral("4"), 99990000, 0);
        QCOMPARE(dm->SumaVatA(vzm, 1), Money::fromRaw(1234505));
        QCOMPARE(dm->SumaVatB(vzm, 1), Money::fromRaw(10001));
        QCOMPARE(dm->SumaVatA(vzm, 2), Money::fromRaw(70000));
        QCOMPARE(dm->SumaVatB(vzm, 2), Money());
        QCOMPARE(dm->SumaVatA(vzm, 3), Money());
    }

    void marginsAndCorrectionsUseTheirSymbols()
    {
        dm->database().run(QStringLiteral("DELETE FROM Korekta"));
        const QList<std::tuple<QString, int, int, int>> margins{
            {QStringLiteral("VZM-1"), 1, 1, 2}, {QStringLiteral("VZM-1/A"), 1, 3, 4}, {QStringLiteral("VZM-1/C"), 1, 5, 6}};
        for (const auto &[symbol, page, left, top] : margins)
            dm->database().run(QStringLiteral("INSERT INTO Margin (SymbolPit, Strona, Lewy, Gorny) VALUES (?, ?, ?, ?)"), {},
                               {symbol, page, left, top});
        dm->database().run(QStringLiteral("INSERT INTO Korekta (Pit, Pole, Opis, Hint, KorX, KorY) VALUES ('VZM-1/C', 5, '5', '', 7, 8)"));
        dm->database().run(QStringLiteral("INSERT INTO Korekta (Pit, Pole, Opis, Hint, KorX, KorY) VALUES ('VZM-1/A', 6, '6', '', -2, 3)"));
        dm->database().noteWrite(QStringLiteral("Margin"), nullptr);
        dm->database().noteWrite(QStringLiteral("Korekta"), nullptr);

        QCOMPARE(dm->MarginesLewy(0, 1), 1);
        QCOMPARE(dm->MarginesGorny(1, 1), 4);
        QCOMPARE(dm->MarginesLewy(2, 1), 3); // VZM-1/B takes the margins of VZM-1/A
        QCOMPARE(dm->MarginesGorny(3, 1), 6); // VZM-1/C has its own
        QCOMPARE(dm->MarginesLewy(0, 2), 0); // no record
        QCOMPARE(dm->KorektaX(3, 5), 0);  // corrections of VZM-1/C are those of VZM-1/A
        QCOMPARE(dm->KorektaX(3, 6), -2);
        QCOMPARE(dm->KorektaY(2, 6), 3);
        QCOMPARE(dm->KorektaY(0, 6), 0);
        // All corrections of a form at once answer as the lookups do.
        for (int formularz = 0; formularz <= 3; ++formularz) {
            const QHash<int, QPoint> korekty = dm->Korekty(formularz);
            for (int pole = 1; pole <= 10; ++pole)
                QCOMPARE(korekty.value(pole), QPoint(dm->KorektaX(formularz, pole), dm->KorektaY(formularz, pole)));
        }
        QCOMPARE(dm->Korekty(3).value(6), QPoint(-2, 3));
    }

    void errorList()
    {
        QCOMPARE(dm->OpisBledow(), QStringLiteral(" W formularzu nie znaleziono błędów"));
        dm->DodajBlad({8, QStringLiteral("Nie zaznaczono żadnego kwadratu")});
        // The longest message of the form check (106 characters) fits whole.
        dm->DodajBlad({55, QString(200, QLatin1Char('x'))});
        QCOMPARE(dm->OpisBledow(), QStringLiteral(" Liczba błędów i ostrzeżeń: 2"));
        QCOMPARE(dm->BledyTbl.recNo(), 1); // each addition moves to the first entry
        QCOMPARE(dm->BledyTbl.field(QStringLiteral("NrPola")).asInteger(), 8);
        dm->BledyTbl.next();
        QCOMPARE(dm->BledyTbl.field(QStringLiteral("Opis")).asString().size(), 150);
        dm->CzyscBledy();
        QCOMPARE(dm->BledyTbl.recordCount(), 0);
    }

    void rowNumbersFollowDeletions()
    {
        const int vzm = addApplication(addTaxpayer(*dm, {{u"Nazwisko"_s, u"A"_s}, {u"Imie"_s, u"Jan"_s}}), 1);
        QList<int> ids;
        for (int i = 1; i <= 5; ++i)
            ids << addInvoice(vzm, QStringLiteral("B"), QString::number(i));
        QCOMPARE(dm->NrWierszaB(ids[0]), 0); // the list is not open yet
        dm->VzmB.setParam(QStringLiteral("VzmId"), vzm);
        dm->VzmB.open();
        QCOMPARE(dm->NrWierszaB(ids[4]), 5);
        QCOMPARE(dm->VzmB.recNo(), 1); // numbering keeps the current record
        QVERIFY(dm->VzmB.locate(QStringLiteral("FaktId"), ids[2]));
        dm->VzmB.remove();
        QList<int> numbers;
        for (int id : ids)
            numbers << dm->NrWierszaB(id);
        QCOMPARE(numbers, (QList<int>{1, 2, 0, 3, 4}));
        QCOMPARE(dm->NrWierszaA(ids[0]), 0);
    }

    void calculatedAndLookupFields()
    {
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"A"_s}, {u"Imie"_s, u"Jan"_s}});
        const int podat = addTaxpayer(*dm, {{u"Nazwisko"_s, u"B"_s}, {u"Imie"_s, u"Jan"_s}});
        QCOMPARE(dm->Podatnik.field(QStringLiteral("Lp")).asString(), QStringLiteral("2"));
        const int vzm = addApplication(podat, 1);
        dm->VzmyTbl.edit();
        dm->VzmyTbl.field(QStringLiteral("Korekta")).setBoolean(true);
        dm->VzmyTbl.field(QStringLiteral("Wersja")).setInteger(5);
        dm->VzmyTbl.post();
        addApplication(podat, 2);
        dm->Vzmy.setParam(QStringLiteral("PodatId"), podat);
        dm->Vzmy.open();
        QCOMPARE(dm->Vzmy.field(QStringLiteral("Typ")).asString(), QStringLiteral("Korekta"));
        QCOMPARE(dm->Vzmy.field(QStringLiteral("WersjaStr")).asString(), QStringLiteral("(5)"));
        dm->Vzmy.next();
        QCOMPARE(dm->Vzmy.field(QStringLiteral("Typ")).asString(), QStringLiteral("Wniosek"));

        dm->Firmy.append();
        dm->Firmy.field(QStringLiteral("NIP")).setString(QStringLiteral("526-025-02-74"));
        dm->Firmy.field(QStringLiteral("Firma")).setString(QStringLiteral("Skład Budowlany Łęczyca"));
        dm->Firmy.post();
        const int known = addInvoice(vzm, QStringLiteral("A"), QStringLiteral("1"));
        dm->Faktury.edit();
        dm->Faktury.field(QStringLiteral("NipSprzed")).setString(QStringLiteral("526-025-02-74"));
        dm->Faktury.post();
        addInvoice(vzm, QStringLiteral("A"), QStringLiteral("2"));
        dm->VzmA.setParam(QStringLiteral("VzmId"), vzm);
        dm->VzmA.open();
        QVERIFY(dm->VzmA.locate(QStringLiteral("FaktId"), known));
        QCOMPARE(dm->VzmA.field(QStringLiteral("Sprzedawca")).asString(), QStringLiteral("Skład Budowlany Łęczyca"));
        dm->VzmA.next();
        QCOMPARE(dm->VzmA.field(QStringLiteral("Sprzedawca")).asString(), QString());
    }

    void messageBoxes()
    {
        boxes.answer(true);
        boxes.answer(false);
        dm->Uwaga(QStringLiteral("tekst"));
        QVERIFY(dm->Potwierdz(QStringLiteral("pytanie?")));
        QVERIFY(!dm->PotwierdzUwaga(QStringLiteral("uwaga?")));
        QCOMPARE(boxes.shown().size(), 3);
        QCOMPARE(boxes.shown()[0].title, QStringLiteral("Uwaga"));
        QCOMPARE(boxes.shown()[0].kind, MessageRequest::Kind::Warning);
        QCOMPARE(boxes.shown()[1].title, QStringLiteral("Potwierdzenie"));
        QCOMPARE(boxes.shown()[1].kind, MessageRequest::Kind::Question);
        QCOMPARE(boxes.shown()[2].title, QStringLiteral("Potwierdzenie"));
        QCOMPARE(boxes.shown()[2].kind, MessageRequest::Kind::WarningQuestion);
        QCOMPARE(boxes.texts(), (QStringList{QStringLiteral("tekst"), QStringLiteral("pytanie?"), QStringLiteral("uwaga?")}));
    }

    void databaseDirectoryIsReadMachineWideFirst()
    {
        QSettings user(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Morvik"), QStringLiteral("Tarlen"));
        QSettings system(QSettings::NativeFormat, QSettings::SystemScope, QStringLiteral("Morvik"), QStringLiteral("Tarlen"));
        system.remove(QStringLiteral("5/Sciezka"));
        system.sync();
        QCOMPARE(TDM::SciezkaBazy(), QString()); // nothing recorded: the current directory
        user.setValue(QStringLiteral("5/Sciezka"), QStringLiteral("/uzytkownik"));
        user.setValue(QStringLiteral("4/Sciezka"), QStringLiteral("/poprzednia"));
        user.sync();
        QCOMPARE(TDM::SciezkaBazy(), QStringLiteral("/uzytkownik"));
        QCOMPARE(TDM::SciezkaPoprzedniej(), QStringLiteral("/poprzednia"));
        system.setValue(QStringLiteral("5/Sciezka"), QStringLiteral("/system"));
        system.sync();
        QCOMPARE(TDM::SciezkaBazy(), QStringLiteral("/system"));
    }

    void deletingAnApplicationTakesAllThatBelongsToIt()
    {
        const int podat = addTaxpayer(*dm, {{u"Nazwisko"_s, u"A"_s}, {u"Imie"_s, u"Jan"_s}});
        const int doomed = addApplication(podat, 1);
        const int kept = addApplication(podat, 2);
        for (int vzm : {doomed, kept}) {
            dm->VzmTbl_3.append();
            dm->VzmTbl_3.field(QStringLiteral("VzmId")).setInteger(vzm);
            dm->VzmTbl_3.post();
            const int fakt = addInvoice(vzm, QStringLiteral("A"), QStringLiteral("1"));
            dm->KwotyTbl.append();
            dm->KwotyTbl.field(QStringLiteral("FaktId")).setInteger(fakt);
            dm->KwotyTbl.post();
        }
        auto counts = [this] {
            return dm->database().firstRow(QStringLiteral(
                "SELECT (SELECT COUNT(*) FROM VZMy), (SELECT COUNT(*) FROM VZMw3), (SELECT COUNT(*) FROM Faktury), "
                "(SELECT COUNT(*) FROM Kwoty)")).value();
        };
        // A failure half-way removes nothing.
        injectFailure(dm->database(), QStringLiteral("VZMy"), QStringLiteral("DELETE"));
        QVERIFY_THROWS_EXCEPTION(DataError, dm->UsunWniosek(doomed));
        QCOMPARE(counts(), (SqlRow{2, 2, 2, 2}));
        removeFailure(dm->database(), QStringLiteral("VZMy"));
        dm->UsunWniosek(doomed);
        QCOMPARE(counts(), (SqlRow{1, 1, 1, 1}));
        QVERIFY(dm->VzmyTbl.locate(QStringLiteral("VzmId"), kept));
        QVERIFY(!dm->VzmyTbl.locate(QStringLiteral("VzmId"), doomed));
        QCOMPARE(dm->KwotyTbl.recordCount(), 1);
    }

    void anOlderDatabaseGainsTheLookupIndexes()
    {
        SKIP_ON_SERVER("the server's tables were made by this version");
        const QString exists = u"SELECT COUNT(*) FROM pragma_index_list('Podatnik') WHERE name = 'Podatnik_Nazwisko_Imie'"_s;
        QCOMPARE(dm->database().firstRow(exists)->at(0).toInt(), 1);
        dm->database().run(u"DROP INDEX Podatnik_Nazwisko_Imie"_s);
        QCOMPARE(dm->database().firstRow(exists)->at(0).toInt(), 0);
        QVERIFY(dm->OtworzTabele());
        QCOMPARE(dm->database().firstRow(exists)->at(0).toInt(), 1);
    }

    void completionSourcesAreReadAnew()
    {
        dm->OdswiezPodpowiedzi();
        QVERIFY(!dm->Kraje.locate(QStringLiteral("Kraj"), QStringLiteral("Czechy")));
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Novák"_s}, {u"Kraj"_s, u"Czechy"_s}, {u"Ulica"_s, u"Karlova"_s}});
        dm->OdswiezPodpowiedzi();
        QVERIFY(dm->Kraje.locate(QStringLiteral("Kraj"), QStringLiteral("Czechy")));
        QVERIFY(dm->Ulice.locate(QStringLiteral("Ulica"), QStringLiteral("Karlova")));
        QVERIFY(dm->Imiona.isOpen());
    }

    void deletingAnInvoiceTakesItsAmountLines()
    {
        const int podat = addTaxpayer(*dm, {{u"Nazwisko"_s, u"A"_s}, {u"Imie"_s, u"Jan"_s}});
        const int vzm = addApplication(podat, 1);
        const int doomed = addInvoice(vzm, QStringLiteral("A"), QStringLiteral("1"));
        const int kept = addInvoice(vzm, QStringLiteral("A"), QStringLiteral("2"));
        for (int fakt : {doomed, doomed, kept}) {
            dm->KwotyTbl.append();
            dm->KwotyTbl.field(QStringLiteral("FaktId")).setInteger(fakt);
            dm->KwotyTbl.post();
        }
        auto lines = [this](int fakt) {
            return dm->database()
                .firstRow(QStringLiteral("SELECT (SELECT COUNT(*) FROM Faktury WHERE FaktId = ?), "
                                         "(SELECT COUNT(*) FROM Kwoty WHERE FaktId = ?)"),
                          {}, {fakt, fakt})
                .value();
        };
        injectFailure(dm->database(), QStringLiteral("Faktury"), QStringLiteral("DELETE"));
        QVERIFY_THROWS_EXCEPTION(DataError, dm->UsunFakture(doomed));
        QCOMPARE(lines(doomed), (SqlRow{1, 2}));
        removeFailure(dm->database(), QStringLiteral("Faktury"));
        dm->UsunFakture(doomed);
        QCOMPARE(lines(doomed), (SqlRow{0, 0}));
        QCOMPARE(lines(kept), (SqlRow{1, 1}));
    }

    void deletingATaxpayerLeavesItsApplications()
    {
        const int podat = addTaxpayer(*dm, {{u"Nazwisko"_s, u"A"_s}, {u"Imie"_s, u"Jan"_s}});
        addApplication(podat, 1);
        QVERIFY(dm->Podatnik.locate(QStringLiteral("PodatId"), podat));
        dm->Podatnik.remove();
        QCOMPARE(dm->Podatnik.recordCount(), 0);
        QCOMPARE(dm->VzmyTbl.recordCount(), 1);
    }
};

QTEST_MAIN(TestTdm)
#include "tst_tdm.moc"
