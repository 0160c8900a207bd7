#include "support/formdata.h"
#include "vzm/formmodel.h"

#include "data/dataerror.h"

// The form model: loading and saving through the real tables, the boxes
// that exclude each other, the field marks and the readers.
class TestFormModel : public QObject, private TaxpayerModelFixture
{
    Q_OBJECT


    QVariant applicationValue(int vzmId, const char *field)
    {
        return db->storedValue(QStringLiteral("VZMy"), QStringLiteral("VzmId"), vzmId, QString::fromLatin1(field));
    }
    QVariant entryValue(int vzmId, const char *field)
    {
        return db->storedValue(QStringLiteral("VZMw3"), QStringLiteral("VzmId"), vzmId, QString::fromLatin1(field));
    }
    QVariant taxpayerValue(int id, const char *field)
    {
        return db->storedValue(QStringLiteral("Podatnik"), QStringLiteral("PodatId"), id, QString::fromLatin1(field));
    }
    int rowCount(const char *table)
    {
        return int(db->storedRows(QString::fromLatin1(table)).size());
    }

    // A stored application with every entry of VZMw3 filled.
    int fullApplication()
    {
        const int vzmId = db->addApplication(podatId, {{QStringLiteral("NrKolej"), 2},
                                                       {QStringLiteral("Faktur"), 4},
                                                       {QStringLiteral("ZwrotPopA"), kwotaV("100,00")},
                                                       {QStringLiteral("ZwrotPopB"), kwotaV("200,00")},
                                                       {QStringLiteral("ZwrotPopC"), kwotaV("300,00")},
                                                       {QStringLiteral("ZwrotPopD"), kwotaV("400,00")}});
        db->addFurtherEntries(vzmId, {{QStringLiteral("P8_3"), true},
                                      {QStringLiteral("P41"), 2008},
                                      {QStringLiteral("P42"), 2009},
                                      {QStringLiteral("P43"), 2010},
                                      {QStringLiteral("P44"), QDate(2010, 5, 10)},
                                      {QStringLiteral("P45"), kwotaV("3 000,00")},
                                      {QStringLiteral("P56"), QStringLiteral("wymiana okien\r\nocieplenie\r\n")},
                                      {QStringLiteral("P57_3"), true},
                                      {QStringLiteral("P58_2"), true},
                                      {QStringLiteral("P58_3"), true},
                                      {QStringLiteral("Konto"), KontoPoprawne},
                                      {QStringLiteral("P59"), 1},
                                      {QStringLiteral("P60"), 7},
                                      {QStringLiteral("P61"), 2},
                                      {QStringLiteral("P65"), QStringLiteral("uwagi")}});
        return vzmId;
    }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    // --- Loading ------------------------------------------------------------

    void firstNewApplication()
    {
        QVERIFY(vzm->Wczytaj(podatId, 0));
        QCOMPARE(vzm->PodatId(), podatId);
        QCOMPARE(vzm->VzmId(), 0);
        QCOMPARE(vzm->NrKolej(), 1);
        QVERIFY(vzm->P7_1());
        QVERIFY(!vzm->P7_2());
        QCOMPARE(vzm->Nazwisko, QStringLiteral("Żółkiewski"));
        QCOMPARE(vzm->Urzad, QStringLiteral("Urząd Skarbowy Kraków-Podgórze"));
        QCOMPARE(vzm->NIP(), NipPodatnika);
        QCOMPARE(vzm->Pesel(), PeselPodatnika);
        QCOMPARE(vzm->ImieOjca, QStringLiteral("Stanisław"));
        QCOMPARE(vzm->KontoPodatnika(), QStringLiteral("11112222333344445555666677"));
        QCOMPARE(vzm->KontoMalzonka(), QStringLiteral("99998888777766665555444433"));
        QCOMPARE(vzm->Konto(), QString()); // the application's own account starts empty
        for (int pole : {45, 47, 48, 49, 50, 51, 52, 53, 54, 55, 59, 60, 61, 62, 63, 64})
            QCOMPARE(vzm->GetPole(pole), Money());
        QCOMPARE(vzm->StanNip().Kolor, KolorPoprawny);
        QVERIFY(db->boxes.shown().isEmpty());
    }

    void nextSequenceNumber()
    {
        for (int nr : {1, 2, 5})
            db->addApplication(podatId, {{QStringLiteral("NrKolej"), nr}});
        const int inny = db->addTaxpayer({{QStringLiteral("Nazwisko"), QStringLiteral("Nowak")}});
        db->addApplication(inny, {{QStringLiteral("NrKolej"), 9}});
        QVERIFY(vzm->Wczytaj(podatId, 0));
        QCOMPARE(vzm->NrKolej(), 6);
        QVERIFY(vzm->Wczytaj(inny, 0));
        QCOMPARE(vzm->NrKolej(), 10);
        QCOMPARE(db->dm.Podatnik.field(QStringLiteral("PodatId")).asInteger(), inny); // the register follows
    }

    void storedApplication()
    {
        const int vzmId = fullApplication();
        QVERIFY(vzm->Wczytaj(podatId, vzmId));
        QCOMPARE(vzm->VzmId(), vzmId);
        QCOMPARE(vzm->NrKolej(), 2);
        QVERIFY(vzm->P7_1());
        QVERIFY(!vzm->P8_1() && !vzm->P8_2() && vzm->P8_3());
        QCOMPARE((QList<int>{vzm->P41(), vzm->P42(), vzm->P43()}), (QList<int>{2008, 2009, 2010}));
        QCOMPARE(vzm->P44(), QDate(2010, 5, 10));
        QCOMPARE(vzm->P45(), kwota("3 000"));
        QCOMPARE(vzm->P56, (QStringList{"wymiana okien", "ocieplenie"}));
        QVERIFY(!vzm->P57_1() && !vzm->P57_2() && vzm->P57_3());
        QVERIFY(!vzm->P58_1() && vzm->P58_2() && vzm->P58_3());
        QCOMPARE(vzm->Konto(), KontoPoprawne);
        QCOMPARE(vzm->P59(), 1);
        QCOMPARE(vzm->P60(), 7); // VZMw3's P60 replaces Faktur
        QCOMPARE(vzm->P61(), 2);
        QCOMPARE(vzm->P65, QStringList{"uwagi"});
        QCOMPARE(vzm->GetZwrotPop(), kwota("1 000"));
        QCOMPARE(vzm->GetPole(47), kwota("20 913,90")); // computed after loading
    }

    void nothingSurvivesALoad()
    {
        QVERIFY(vzm->Wczytaj(podatId, fullApplication()));
        const int inny = db->addTaxpayer({{QStringLiteral("Nazwisko"), QStringLiteral("Nowak")}});
        QVERIFY(vzm->Wczytaj(inny, 0));
        QCOMPARE(vzm->Nazwisko, QStringLiteral("Nowak"));
        QCOMPARE(vzm->Imie, QString());
        QCOMPARE(vzm->NIP(), QString());
        QVERIFY(vzm->P56.isEmpty());
        QVERIFY(vzm->P65.isEmpty());
        QCOMPARE(vzm->Konto(), QString());
        QVERIFY(!vzm->P8_3() && !vzm->P57_3() && !vzm->P58_2());
        QCOMPARE(vzm->P44(), QDate());
        QCOMPARE(vzm->P45(), Money());
        QCOMPARE(vzm->GetZwrotPop(), Money());
        QCOMPARE(vzm->P60(), 0);
    }

    void missingTaxpayer()
    {
        QVERIFY(vzm->Wczytaj(podatId, fullApplication()));
        QVERIFY(!vzm->Wczytaj(12345, 0));
        QCOMPARE(db->boxes.texts(), QStringList{"Brak podatnika [PodatId = [12345]."});
        QCOMPARE(db->boxes.shown().first().title, QStringLiteral("Uwaga"));
        // the model stays cleared
        QCOMPARE(vzm->Nazwisko, QString());
        QCOMPARE(vzm->NrKolej(), 0);
        QCOMPARE(vzm->P45(), Money());
        QVERIFY(vzm->P7_1());

        // saving for a missing taxpayer writes nothing
        db->boxes.clear();
        const auto vzmy = db->storedRows(QStringLiteral("VZMy"));
        QVERIFY(!vzm->Zapisz());
        QCOMPARE(db->boxes.texts(), QStringList{"Brak podatnika [PodatId = [12345]."});
        QCOMPARE(db->storedRows(QStringLiteral("VZMy")), vzmy);
    }

    void correction()
    {
        const int vzmId = db->addApplication(podatId, {{QStringLiteral("Korekta"), true}, {QStringLiteral("NrKoryg"), 3}});
        QVERIFY(vzm->Wczytaj(podatId, vzmId));
        QVERIFY(vzm->P7_2());
        QVERIFY(!vzm->P7_1());
        QVERIFY(vzm->IsKorekta());
        QCOMPARE(vzm->NrKoryg(), 3);
        QCOMPARE(vzm->NrKolej(), 0);
        QVERIFY(vzm->Zapisz());
        QCOMPARE(applicationValue(vzmId, "Korekta").toInt(), 1);
        QCOMPARE(applicationValue(vzmId, "NrKoryg").toInt(), 3);

        vzm->SetCel(1, true); // back to a first filing
        QVERIFY(vzm->Zapisz());
        QCOMPARE(applicationValue(vzmId, "Korekta").toInt(), 0);
    }

    // --- Saving -------------------------------------------------------------

    void missingEntriesAreInsertedOnSave()
    {
        const int vzmId = db->addApplication(podatId, {{QStringLiteral("NrKolej"), 3},
                                                       {QStringLiteral("Faktur"), 4},
                                                       {QStringLiteral("ZwrotPopB"), kwotaV("250,00")}});
        QVERIFY(vzm->Wczytaj(podatId, vzmId));
        QCOMPARE(vzm->NrKolej(), 3);
        QCOMPARE(vzm->P60(), 4); // Faktur, nothing replaces it
        QCOMPARE(vzm->ZwrotPopB(), kwota("250"));
        QVERIFY(!vzm->P8_1() && !vzm->P8_2() && !vzm->P8_3());
        QCOMPARE(vzm->P45(), Money());
        QCOMPARE(vzm->Zwrot(), Money());
        QCOMPARE(rowCount("VZMw3"), 0);

        vzm->SetP45(kwota("2 000"));
        QVERIFY(vzm->Zapisz());
        QCOMPARE(rowCount("VZMw3"), 1);
        QCOMPARE(entryValue(vzmId, "P60").toInt(), 4);
        QCOMPARE(entryValue(vzmId, "P45").toLongLong(), kwota("2 000").raw());
        QCOMPARE(rowCount("VZMy"), 1);
    }

    void newApplicationRoundTrip()
    {
        QVERIFY(vzm->Wczytaj(podatId, 0));
        vzm->Nazwisko = QStringLiteral("Żółkiewska-Nowak");
        vzm->MImie = QStringLiteral("Anna");
        vzm->SetNip(TOsoba::Malzonek, NipMalzonka);
        vzm->SetPesel(TOsoba::Malzonek, PeselMalzonka);
        vzm->SetP8(3, true);
        vzm->SetRok(41, 2007);
        vzm->SetP44(QDate(2010, 5, 10));
        vzm->SetP45(kwota("3 000"));
        vzm->SetP58(1, true);
        vzm->SetKonto(KontoPoprawne);
        vzm->SetSztuk(59, 1);
        vzm->SetSztuk(60, 12);
        vzm->SetSztuk(61, 1);
        vzm->SetZwrotPop(1, kwota("5 000"));
        vzm->P56 = QStringList{"linia 1", "", "linia 3"};
        QVERIFY(vzm->Zapisz());

        QCOMPARE(rowCount("VZMy"), 1);
        const int vzmId = vzm->VzmId();
        QVERIFY(vzmId > 0);
        QCOMPARE(applicationValue(vzmId, "PodatId").toInt(), podatId);
        QCOMPARE(applicationValue(vzmId, "NrKolej").toInt(), 1);
        QCOMPARE(applicationValue(vzmId, "Wersja").toInt(), 5);
        QCOMPARE(applicationValue(vzmId, "Faktur").toInt(), 12);
        QCOMPARE(applicationValue(vzmId, "DataPier").toString(), QStringLiteral("2010-05-10"));
        QCOMPARE(entryValue(vzmId, "P56").toString(), QStringLiteral("linia 1\r\n\r\nlinia 3\r\n"));
        QCOMPARE(entryValue(vzmId, "P44").toString(), QStringLiteral("2010-05-10"));

        // personal data written back; the taxpayer's accounts and notes untouched
        QCOMPARE(taxpayerValue(podatId, "Nazwisko").toString(), QStringLiteral("Żółkiewska-Nowak"));
        QCOMPARE(taxpayerValue(podatId, "MImie").toString(), QStringLiteral("Anna"));
        QCOMPARE(taxpayerValue(podatId, "MNIP").toString(), NipMalzonka);
        QCOMPARE(taxpayerValue(podatId, "MPesel").toString(), PeselMalzonka);
        QCOMPARE(taxpayerValue(podatId, "Konto").toString(), QStringLiteral("11112222333344445555666677"));
        QCOMPARE(taxpayerValue(podatId, "MKonto").toString(), QStringLiteral("99998888777766665555444433"));
        QCOMPARE(taxpayerValue(podatId, "Notatki").toString(), QStringLiteral("{\\rtf1 Notatki podatnika}"));

        // a second save updates the same application
        QVERIFY(vzm->Zapisz());
        QCOMPARE(rowCount("VZMy"), 1);
        QCOMPARE(rowCount("VZMw3"), 1);

        TVzm_3 ponownie(db->dm);
        QVERIFY(ponownie.Wczytaj(podatId, vzmId));
        QCOMPARE(ponownie.Nazwisko, QStringLiteral("Żółkiewska-Nowak"));
        QCOMPARE(ponownie.MNIP(), NipMalzonka);
        QVERIFY(ponownie.P8_3());
        QCOMPARE(ponownie.P41(), 2007);
        QCOMPARE(ponownie.P44(), QDate(2010, 5, 10));
        QCOMPARE(ponownie.P45(), kwota("3 000"));
        QVERIFY(ponownie.P58_1() && ponownie.P57_3());
        QCOMPARE(ponownie.Konto(), KontoPoprawne);
        QCOMPARE((QList<int>{ponownie.P59(), ponownie.P60(), ponownie.P61()}), (QList<int>{1, 12, 1}));
        QCOMPARE(ponownie.ZwrotPopA(), kwota("5 000"));
        QCOMPARE(ponownie.P56, (QStringList{"linia 1", "", "linia 3"}));
    }

    // The parts of the refund are stored as amounts exactly to the ten-thousandth.
    void refundPartsStored()
    {
        const int vzmId = db->addApplication(podatId, {{QStringLiteral("NrKolej"), 1}});
        db->addInvoice(vzmId, QStringLiteral("A"), {{QStringLiteral("VatA"), kwotaV("40 000,00")}});
        db->addInvoice(vzmId, QStringLiteral("B"),
                       {{QStringLiteral("VatA"), kwotaV("10 000,00")}, {QStringLiteral("VatB"), kwotaV("2 000,00")}});
        db->addInvoice(vzmId, QStringLiteral("C"), {{QStringLiteral("VatA"), kwotaV("1 000,00")}});
        QVERIFY(vzm->Wczytaj(podatId, vzmId));
        vzm->SetP44(QDate(2010, 5, 10));
        vzm->SetP45(kwota("3 000"));
        vzm->SetZwrotPop(3, kwota("20 000,1234"));
        QVERIFY(vzm->Zapisz());
        QCOMPARE(applicationValue(vzmId, "ZwrotA").toLongLong(), kwota("20 913,90").raw());
        QCOMPARE(applicationValue(vzmId, "ZwrotB").toLongLong(), 0);
        QCOMPARE(applicationValue(vzmId, "ZwrotC").toLongLong(), kwota("5 819,3766").raw()); // 25 819,50 - 20 000,1234
        QCOMPARE(applicationValue(vzmId, "ZwrotD").toLongLong(), kwota("1 363,60").raw());
        QCOMPARE(applicationValue(vzmId, "ZwrotPopC").toLongLong(), kwota("20 000,1234").raw());
        QCOMPARE(applicationValue(vzmId, "Zwrot").toLongLong(), kwota("16 885").raw());
    }

    void memoLines_data()
    {
        QTest::addColumn<QString>("zapisane");
        QTest::addColumn<QStringList>("linie");
        QTest::addColumn<QString>("poZapisie");
        QTest::newRow("CR LF") << "a\r\nb\r\n" << QStringList{"a", "b"} << "a\r\nb\r\n";
        QTest::newRow("no break after the last line") << "a\r\nb" << QStringList{"a", "b"} << "a\r\nb\r\n";
        QTest::newRow("LF") << "a\nb\n" << QStringList{"a", "b"} << "a\r\nb\r\n";
        QTest::newRow("CR") << "a\rb" << QStringList{"a", "b"} << "a\r\nb\r\n";
        QTest::newRow("mixed, empty line") << "a\n\r\nb\rc" << QStringList{"a", "", "b", "c"} << "a\r\n\r\nb\r\nc\r\n";
        QTest::newRow("LF CR is two breaks") << "a\n\rb" << QStringList{"a", "", "b"} << "a\r\n\r\nb\r\n";
        QTest::newRow("empty") << "" << QStringList{} << "";
        QTest::newRow("one empty line") << "\r\n" << QStringList{""} << "\r\n";
    }
    void memoLines()
    {
        QFETCH(QString, zapisane);
        QFETCH(QStringList, linie);
        QFETCH(QString, poZapisie);
        const int vzmId = db->addApplication(podatId);
        db->addFurtherEntries(vzmId, {{QStringLiteral("P56"), zapisane}, {QStringLiteral("P65"), zapisane}});
        QVERIFY(vzm->Wczytaj(podatId, vzmId));
        QCOMPARE(vzm->P56, linie);
        QCOMPARE(vzm->P65, linie);
        QVERIFY(vzm->Zapisz());
        QCOMPARE(entryValue(vzmId, "P56").toString(), poZapisie);
        QCOMPARE(entryValue(vzmId, "P65").toString(), poZapisie);
    }

    void textsCutToTheTableWidths()
    {
        QVERIFY(vzm->Wczytaj(podatId, 0));
        vzm->Posesja = QStringLiteral("12345678901234");
        vzm->SetKonto(QString(60, QLatin1Char('1')));
        QVERIFY(vzm->Zapisz());
        QCOMPARE(taxpayerValue(podatId, "Posesja").toString(), QStringLiteral("1234567890"));
        QCOMPARE(entryValue(vzm->VzmId(), "Konto").toString(), QString(50, QLatin1Char('1')));
    }

    // The third write fails for real: everything written before it is undone.
    void failureInTheMiddleWritesNothing_data()
    {
        QTest::addColumn<bool>("nowy");
        QTest::newRow("new application, insert refused") << true;
        QTest::newRow("stored application, update refused") << false;
    }
    void failureInTheMiddleWritesNothing()
    {
        QFETCH(bool, nowy);
        const int vzmId = nowy ? 0 : fullApplication();
        QVERIFY(vzm->Wczytaj(podatId, vzmId));
        db->dm.database().run(QStringLiteral("CREATE TRIGGER odmowa BEFORE %1 ON VZMw3 BEGIN SELECT RAISE(ABORT, 'odmowa'); END")
                                  .arg(nowy ? QStringLiteral("INSERT") : QStringLiteral("UPDATE")));
        const auto podatnicy = db->storedRows(QStringLiteral("Podatnik"));
        const auto vzmy = db->storedRows(QStringLiteral("VZMy"));
        const auto wpisyPrzed = db->storedRows(QStringLiteral("VZMw3"));

        vzm->Nazwisko = QStringLiteral("Zmienione");
        vzm->SetNrKolej(7);
        vzm->SetP45(kwota("1 234"));
        QVERIFY_THROWS_EXCEPTION(DataError, vzm->Zapisz());

        QCOMPARE(db->storedRows(QStringLiteral("Podatnik")), podatnicy);
        QCOMPARE(db->storedRows(QStringLiteral("VZMy")), vzmy);
        QCOMPARE(db->storedRows(QStringLiteral("VZMw3")), wpisyPrzed);
        // the tables' own views were read again and no record is left in edit
        for (Table *t : {&db->dm.Podatnik, &db->dm.VzmyTbl, &db->dm.VzmTbl_3})
            QVERIFY(!t->isEditing());
        QCOMPARE(db->dm.Podatnik.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("Żółkiewski"));
        QCOMPARE(db->dm.VzmyTbl.recordCount(), nowy ? 0 : 1);

        // once the store accepts it again the same model saves completely
        db->dm.database().run(QStringLiteral("DROP TRIGGER odmowa"));
        QVERIFY(vzm->Zapisz());
        QCOMPARE(taxpayerValue(podatId, "Nazwisko").toString(), QStringLiteral("Zmienione"));
        QCOMPARE(rowCount("VZMy"), 1);
        QCOMPARE(entryValue(vzm->VzmId(), "P45").toLongLong(), kwota("1 234").raw());
    }

    // An application deleted meanwhile is not recreated, and its values never
    // land in another application's record.
    void vanishedApplicationWritesNothing()
    {
        const int vzmId = fullApplication();
        const int inny = db->addApplication(podatId, {{QStringLiteral("NrKolej"), 1}});
        db->addFurtherEntries(inny);
        QVERIFY(vzm->Wczytaj(podatId, vzmId));
        db->dm.UsunWniosek(vzmId);
        const auto podatnicy = db->storedRows(QStringLiteral("Podatnik"));
        const auto vzmy = db->storedRows(QStringLiteral("VZMy"));
        const auto wpisyPrzed = db->storedRows(QStringLiteral("VZMw3"));

        vzm->Nazwisko = QStringLiteral("Zmienione");
        QVERIFY(!vzm->Zapisz());
        QCOMPARE(db->boxes.texts(),
                 QStringList{QStringLiteral("Wniosek nie istnieje w bazie danych (VzmId = %1). Zmiany nie zostały zapisane.")
                                 .arg(vzmId)});
        QCOMPARE(db->storedRows(QStringLiteral("Podatnik")), podatnicy);
        QCOMPARE(db->storedRows(QStringLiteral("VZMy")), vzmy);
        QCOMPARE(db->storedRows(QStringLiteral("VZMw3")), wpisyPrzed);
    }

    // --- Boxes --------------------------------------------------------------

    // Steps "P<position>=<box><+|->" are applied to a cleared model; the state
    // is then written as "7:10 8:000 51:001 52:011".
    void boxes_data()
    {
        QTest::addColumn<QStringList>("kroki");
        QTest::addColumn<QString>("stan");
        QTest::newRow("cleared") << QStringList{} << "7:10 8:000 51:000 52:000";
        QTest::newRow("correction") << QStringList{"7=2+"} << "7:01 8:000 51:000 52:000";
        QTest::newRow("purpose unticked") << QStringList{"7=1-"} << "7:00 8:000 51:000 52:000";
        QTest::newRow("position 8, one box") << QStringList{"8=1+", "8=3+"} << "7:10 8:001 51:000 52:000";
        QTest::newRow("position 8 unticked") << QStringList{"8=2+", "8=2-"} << "7:10 8:000 51:000 52:000";
        QTest::newRow("account boxes 2 and 3 together")
            << QStringList{"52=2+", "52=3+"} << "7:10 8:000 51:001 52:011";
        QTest::newRow("cash desk clears the accounts")
            << QStringList{"52=2+", "52=3+", "51=1+"} << "7:10 8:000 51:100 52:000";
        QTest::newRow("post clears the accounts")
            << QStringList{"52=1+", "51=2+"} << "7:10 8:000 51:010 52:000";
        QTest::newRow("account 1 excludes 2 and 3")
            << QStringList{"52=2+", "52=3+", "52=1+"} << "7:10 8:000 51:001 52:100";
        QTest::newRow("account 2 clears only 1")
            << QStringList{"52=1+", "52=2+"} << "7:10 8:000 51:001 52:010";
        QTest::newRow("an account selects the bank")
            << QStringList{"51=1+", "52=3+"} << "7:10 8:000 51:001 52:001";
        QTest::newRow("bank keeps the accounts")
            << QStringList{"52=2+", "51=3+"} << "7:10 8:000 51:001 52:010";
        QTest::newRow("no bank, no account")
            << QStringList{"52=2+", "51=3-"} << "7:10 8:000 51:000 52:000";
        QTest::newRow("account unticked keeps the bank")
            << QStringList{"52=2+", "52=2-"} << "7:10 8:000 51:001 52:000";
        QTest::newRow("boxes that do not exist") << QStringList{"7=3+", "8=0+", "51=4+", "52=-1+"}
                                                 << "7:10 8:000 51:000 52:000";
    }
    void boxes()
    {
        QFETCH(QStringList, kroki);
        QFETCH(QString, stan);
        for (const QString &krok : kroki) {
            const QStringList czesci = krok.chopped(1).split(QLatin1Char('='));
            const int pozycja = czesci[0].toInt();
            const int box = czesci[1].toInt();
            const bool on = krok.endsWith(QLatin1Char('+'));
            switch (pozycja) {
            case 7: vzm->SetCel(box, on); break;
            case 8: vzm->SetP8(box, on); break;
            case 51: vzm->SetP57(box, on); break;
            case 52: vzm->SetP58(box, on); break;
            default: QFAIL("unknown position");
            }
        }
        const auto bits = [](std::initializer_list<bool> b) {
            QString s;
            for (bool x : b)
                s += x ? QLatin1Char('1') : QLatin1Char('0');
            return s;
        };
        const QString wynik = QStringLiteral("7:%1 8:%2 51:%3 52:%4")
                                  .arg(bits({vzm->P7_1(), vzm->P7_2()}), bits({vzm->P8_1(), vzm->P8_2(), vzm->P8_3()}),
                                       bits({vzm->P57_1(), vzm->P57_2(), vzm->P57_3()}),
                                       bits({vzm->P58_1(), vzm->P58_2(), vzm->P58_3()}));
        QCOMPARE(wynik, stan);
    }

    void negativeNumbersIgnored()
    {
        vzm->SetNrKolej(4);
        vzm->SetNrKoryg(2);
        vzm->SetSztuk(59, 1);
        vzm->SetSztuk(60, 2);
        vzm->SetSztuk(61, 3);
        vzm->SetNrKolej(-1);
        vzm->SetNrKoryg(-1);
        for (int pole : {59, 60, 61})
            vzm->SetSztuk(pole, -5);
        vzm->SetSztuk(62, 9); // not a count of copies
        QCOMPARE(vzm->NrKolej(), 4);
        QCOMPARE(vzm->NrKoryg(), 2);
        QCOMPARE((QList<int>{vzm->P59(), vzm->P60(), vzm->P61(), vzm->P62()}), (QList<int>{1, 2, 3, 0}));
        vzm->SetNrKolej(0); // zero is a number like any other
        QCOMPARE(vzm->NrKolej(), 0);
        vzm->SetRok(42, -3); // years are taken as typed
        QCOMPARE(vzm->P42(), -3);
    }

    // --- Marks --------------------------------------------------------------

    // Steps "N1=", "N2=", "P1=", "P2=", "K=" set the NIP, PESEL of the
    // taxpayer (1) or spouse (2) or the account; the marks are then written
    // as colour and hint of NIP, MNIP, Pesel, MPesel, Konto.
    void marks_data()
    {
        QTest::addColumn<QStringList>("kroki");
        QTest::addColumn<QStringList>("stany");
        const QString ok = QStringLiteral("0:");
        const QString takiSamNip = QStringLiteral("255:NIP podatnika i małżonka jest taki sam");
        const QString takiSamPesel = QStringLiteral("255:PESEL podatnika i małżonka jest taki sam");
        QTest::newRow("valid") << QStringList{"N1=" + NipPodatnika, "N2=" + NipMalzonka, "P1=" + PeselPodatnika,
                                              "P2=" + PeselMalzonka, "K=" + KontoPoprawne}
                               << QStringList{ok, ok, ok, ok, ok};
        QTest::newRow("invalid") << QStringList{"N1=123-456-32-17", "P2=44051401358", "K=61109010140000071219812875"}
                                 << QStringList{"255:Nieprawidłowy NIP", ok, ok, "255:Nieprawidłowy PESEL",
                                                "255:Nieprawidłowy numer rachunku bankowego"};
        QTest::newRow("empty passes") << QStringList{"N1=   -   -  -  ", "N2=", "P1=", "K="} << QStringList{ok, ok, ok, ok, ok};
        QTest::newRow("same NIP") << QStringList{"N1=" + NipPodatnika, "N2=" + NipPodatnika}
                                  << QStringList{takiSamNip, takiSamNip, ok, ok, ok};
        QTest::newRow("same NIP, taxpayer's corrected")
            << QStringList{"N1=" + NipPodatnika, "N2=" + NipPodatnika, "N1=" + NipMalzonka}
            << QStringList{ok, ok, ok, ok, ok};
        QTest::newRow("same NIP, spouse's corrected")
            << QStringList{"N1=" + NipPodatnika, "N2=" + NipPodatnika, "N2=" + NipMalzonka}
            << QStringList{ok, ok, ok, ok, ok};
        QTest::newRow("same untouched NIP masks") << QStringList{"N1=   -   -  -  ", "N2=   -   -  -  "}
                                                  << QStringList{ok, ok, ok, ok, ok};
        QTest::newRow("same invalid NIP") << QStringList{"N1=111", "N2=111"}
                                          << QStringList{takiSamNip, takiSamNip, ok, ok, ok};
        QTest::newRow("same PESEL") << QStringList{"P1=" + PeselPodatnika, "P2=" + PeselPodatnika}
                                    << QStringList{ok, ok, takiSamPesel, takiSamPesel, ok};
        QTest::newRow("same PESEL, taxpayer's corrected")
            << QStringList{"P1=" + PeselPodatnika, "P2=" + PeselPodatnika, "P1=" + PeselMalzonka}
            << QStringList{ok, ok, ok, takiSamPesel, ok};
        QTest::newRow("same PESEL, spouse's corrected")
            << QStringList{"P1=" + PeselPodatnika, "P2=" + PeselPodatnika, "P2=" + PeselMalzonka}
            << QStringList{ok, ok, takiSamPesel, ok, ok};
        QTest::newRow("same empty PESEL") << QStringList{"P1=", "P2="} << QStringList{ok, ok, ok, ok, ok};
    }
    void marks()
    {
        QFETCH(QStringList, kroki);
        QFETCH(QStringList, stany);
        for (const QString &krok : kroki) {
            const QString nazwa = krok.section(QLatin1Char('='), 0, 0);
            const QString wartosc = krok.section(QLatin1Char('='), 1);
            if (nazwa == u"N1")
                vzm->SetNip(TOsoba::Podatnik, wartosc);
            else if (nazwa == u"N2")
                vzm->SetNip(TOsoba::Malzonek, wartosc);
            else if (nazwa == u"P1")
                vzm->SetPesel(TOsoba::Podatnik, wartosc);
            else if (nazwa == u"P2")
                vzm->SetPesel(TOsoba::Malzonek, wartosc);
            else
                vzm->SetKonto(wartosc);
        }
        QStringList wynik;
        for (const TStanPola *s : {&vzm->StanNip(), &vzm->StanMNip(), &vzm->StanPesel(), &vzm->StanMPesel(), &vzm->StanKonto()}) {
            QCOMPARE(s->Pokaz, s->Kolor == KolorBledny);
            wynik << QStringLiteral("%1:%2").arg(s->Kolor).arg(s->Opis);
        }
        QCOMPARE(wynik, stany);
    }

    void firstApplicationDateMark_data()
    {
        QTest::addColumn<QDate>("data");
        QTest::addColumn<bool>("oznaczona");
        QTest::newRow("31-12-2005") << QDate(2005, 12, 31) << true;
        QTest::newRow("01-01-2006") << QDate(2006, 1, 1) << false;
        QTest::newRow("no date") << QDate() << false;
        QTest::newRow("2004") << QDate(2004, 6, 1) << true;
    }
    void firstApplicationDateMark()
    {
        QFETCH(QDate, data);
        QFETCH(bool, oznaczona);
        vzm->SetP44(QDate(2003, 1, 1)); // flagged before, so a reset shows too
        vzm->SetP44(data);
        QCOMPARE(vzm->P44(), data);
        QCOMPARE(vzm->StanP44().Kolor, oznaczona ? KolorBledny : KolorPoprawny);
        QCOMPARE(vzm->StanP44().Pokaz, oznaczona);
        QCOMPARE(vzm->StanP44().Opis,
                 oznaczona ? QStringLiteral("Data złożenia wniosku jest\rwcześniejsza niż 1-01-2006 r.") : QString());
    }

    // --- Readers ------------------------------------------------------------

    void unknownFields_data()
    {
        QTest::addColumn<QString>("operacja");
        QTest::addColumn<int>("pole");
        QTest::newRow("GetPole 44") << "GetPole" << 44;
        QTest::newRow("GetPole 46") << "GetPole" << 46;
        QTest::newRow("GetPole 56") << "GetPole" << 56;
        QTest::newRow("GetPole 65") << "GetPole" << 65;
        QTest::newRow("GetDruk 44") << "GetDruk" << 44;
        QTest::newRow("GetDruk 58") << "GetDruk" << 58;
    }
    void unknownFields()
    {
        QFETCH(QString, operacja);
        QFETCH(int, pole);
        QVERIFY(vzm->Wczytaj(podatId, fullApplication()));
        db->boxes.clear();
        if (operacja == u"GetPole")
            QCOMPARE(vzm->GetPole(pole), Money());
        else
            QVERIFY(!vzm->GetDruk(pole));
        QCOMPARE(db->boxes.texts(), QStringList{QStringLiteral("Procedura: %1 - pole: %2 nieokreślone.").arg(operacja).arg(pole)});
    }

    void printedFields()
    {
        QVERIFY(vzm->Wczytaj(podatId, 0));
        vzm->SetSztuk(59, 3);
        QCOMPARE(vzm->GetPole(59), kwota("3,00"));
        // always printed, even when 0
        for (int pole : {45, 55, 62, 63, 64})
            QVERIFY(vzm->GetDruk(pole));
        QVERIFY(vzm->GetDruk(59));
        for (int pole : {47, 48, 49, 50, 51, 52, 53, 54, 60, 61})
            QVERIFY2(!vzm->GetDruk(pole), qPrintable(QString::number(pole)));
        vzm->SetP45(kwota("1"));
        QVERIFY(vzm->GetDruk(47));
        QVERIFY(db->boxes.shown().isEmpty());
    }

    void accountGroups_data()
    {
        QTest::addColumn<QString>("konto");
        QTest::addColumn<QStringList>("grupy"); // 0 to 8
        QTest::newRow("26 digits") << KontoPoprawne
                                   << QStringList{"", "61", "1090", "1014", "0000", "0712", "1981", "2874", ""};
        QTest::newRow("22 digits") << KontoPoprawne.left(22)
                                   << QStringList{"", "61", "1090", "1014", "0000", "0712", "1981", "", ""};
        QTest::newRow("23 digits") << KontoPoprawne.left(23)
                                   << QStringList{"", "61", "1090", "1014", "0000", "0712", "1981", "2", ""};
        QTest::newRow("8 digits") << KontoPoprawne.left(8)
                                  << QStringList{"", "61", "1090", "10", "", "", "", "", ""};
        QTest::newRow("1 digit") << QStringLiteral("6") << QStringList{"", "6", "", "", "", "", "", "", ""};
        QTest::newRow("empty") << QString() << QStringList{"", "", "", "", "", "", "", "", ""};
    }
    void accountGroups()
    {
        QFETCH(QString, konto);
        QFETCH(QStringList, grupy);
        vzm->SetKonto(konto);
        QStringList wynik;
        for (int g = 0; g <= 8; ++g)
            wynik << vzm->GetKonto(g);
        QCOMPARE(wynik, grupy);
    }
};

QTEST_GUILESS_MAIN(TestFormModel)
#include "tst_formmodel.moc"
