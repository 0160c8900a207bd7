#include "support/formdata.h"
#include "vzm/formmodel.h"

#include <QHash>

// The filling rules: each case compares the whole error list, positions,
// messages and order, as the data module holds it.
class TestVerification : public QObject, private TaxpayerModelFixture
{
    Q_OBJECT


    static const QHash<QString, QString TVzm_3::*> &textFields()
    {
        static const QHash<QString, QString TVzm_3::*> fields{
            {"Urzad", &TVzm_3::Urzad},         {"Nazwisko", &TVzm_3::Nazwisko},   {"Imie", &TVzm_3::Imie},
            {"Dokument", &TVzm_3::Dokument},   {"Kraj", &TVzm_3::Kraj},           {"Wojew", &TVzm_3::Wojew},
            {"Powiat", &TVzm_3::Powiat},       {"Gmina", &TVzm_3::Gmina},         {"Ulica", &TVzm_3::Ulica},
            {"Posesja", &TVzm_3::Posesja},     {"Lokal", &TVzm_3::Lokal},         {"Miasto", &TVzm_3::Miasto},
            {"KodPoczt", &TVzm_3::KodPoczt},   {"Poczta", &TVzm_3::Poczta},       {"MNazwisko", &TVzm_3::MNazwisko},
            {"MImie", &TVzm_3::MImie},         {"MDokument", &TVzm_3::MDokument}, {"MKraj", &TVzm_3::MKraj},
            {"MWojew", &TVzm_3::MWojew},       {"MPowiat", &TVzm_3::MPowiat},     {"MGmina", &TVzm_3::MGmina},
            {"MUlica", &TVzm_3::MUlica},       {"MPosesja", &TVzm_3::MPosesja},   {"MLokal", &TVzm_3::MLokal},
            {"MMiasto", &TVzm_3::MMiasto},     {"MKodPoczt", &TVzm_3::MKodPoczt}, {"MPoczta", &TVzm_3::MPoczta},
        };
        return fields;
    }

    // Applies a change "Name=value" the way the editor would: plain texts
    // directly, everything else through its setter. Boxes: "P57=3" ticks
    // box 3, "P57=-3" unticks it; "Cel" is position 7.
    void applyChange(const QString &change)
    {
        const QString name = change.section(QLatin1Char('='), 0, 0);
        const QString w = change.section(QLatin1Char('='), 1);
        const int n = w.toInt();
        if (textFields().contains(name))
            vzm.get()->*textFields().value(name) = w;
        else if (name == u"NIP" || name == u"MNIP")
            vzm->SetNip(name == u"NIP" ? TOsoba::Podatnik : TOsoba::Malzonek, w);
        else if (name == u"Pesel" || name == u"MPesel")
            vzm->SetPesel(name == u"Pesel" ? TOsoba::Podatnik : TOsoba::Malzonek, w);
        else if (name == u"Konto")
            vzm->SetKonto(w);
        else if (name == u"Cel")
            vzm->SetCel(std::abs(n), n > 0);
        else if (name == u"P8")
            vzm->SetP8(std::abs(n), n > 0);
        else if (name == u"P57")
            vzm->SetP57(std::abs(n), n > 0);
        else if (name == u"P58")
            vzm->SetP58(std::abs(n), n > 0);
        else if (name == u"NrKolej")
            vzm->SetNrKolej(n);
        else if (name == u"NrKoryg")
            vzm->SetNrKoryg(n);
        else if (name == u"P44")
            vzm->SetP44(TekstNaDate(w));
        else if (name == u"P45")
            vzm->SetP45(Money::parse(w).value());
        else if (name == u"P41" || name == u"P42" || name == u"P43")
            vzm->SetRok(name.mid(1).toInt(), n);
        else if (name == u"P59" || name == u"P60" || name == u"P61")
            vzm->SetSztuk(name.mid(1).toInt(), n);
        else
            QFAIL(qPrintable(QStringLiteral("unknown change ") + change));
    }

    // A taxpayer's first application that breaks no rule: a person not
    // married, a price, payment at the cash desk and one invoice copy.
    void fillValidApplication()
    {
        QVERIFY(vzm->Wczytaj(podatId, 0));
        for (const char *step : {"P8=1", "P45=3000", "P57=1", "P60=1"})
            applyChange(QString::fromLatin1(step));
    }

    // The error of every spouse item filled in although box 1 of position 8
    // is ticked, but for the item at position `skipped`.
    static QStringList spouseItemErrorsExcept(int skipped)
    {
        QStringList list;
        for (int position : {22, 23, 2, 24, 25, 26, 27, 28, 29, 30, 31, 32, 33, 34})
            if (position != skipped)
                list << QStringLiteral("%1|Pozycji tej nie wypełnia się gdy zaznaczono kwadrat 1 w poz.8").arg(position);
        return list;
    }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void newEmptyApplication()
    {
        QVERIFY(vzm->Wczytaj(podatId, 0));
        const QStringList oczekiwane{
            "8|Nie zaznaczono żadnego kwadratu",
            "39|Cena metra kwadratowego powierzchni użytkowej musi być podana",
            "51|Sposób wypłaty kwoty zwrotu musi być podany",
            "54|Liczba kopii faktur dokumentujących wydatki musi być podana",
        };
        vzm->Weryfikuj();
        QCOMPARE(db->errorList(), oczekiwane);
        QCOMPARE(db->dm.OpisBledow(), QStringLiteral(" Liczba błędów i ostrzeżeń: 4"));
        vzm->Weryfikuj(); // a second run replaces the list
        QCOMPARE(db->errorList(), oczekiwane);

        fillValidApplication();
        vzm->Weryfikuj();
        QCOMPARE(db->errorList(), QStringList());
        QCOMPARE(db->dm.OpisBledow(), QStringLiteral(" W formularzu nie znaleziono błędów"));
    }

    void rules_data()
    {
        QTest::addColumn<QStringList>("zmiany");
        QTest::addColumn<QStringList>("bledy");
        const QString p8_1 = QStringLiteral("Pozycji tej nie wypełnia się gdy zaznaczono kwadrat 1 w poz.8");

        QTest::newRow("valid") << QStringList{} << QStringList{};
        QTest::newRow("a document alone identifies")
            << QStringList{"NIP=   -   -  -  ", "Pesel=", "Dokument=dowód osobisty ABC123456"} << QStringList{};
        QTest::newRow("NIP and a document")
            << QStringList{"Dokument=dowód osobisty ABC123456"}
            << QStringList{"11|Rodzaj i numer dokumentu tożsamości należy podać gdy brak NIP i PESEL"};
        QTest::newRow("PESEL and a document")
            << QStringList{"NIP=", "Dokument=paszport"}
            << QStringList{"11|Rodzaj i numer dokumentu tożsamości należy podać gdy brak NIP i PESEL"};
        QTest::newRow("a PESEL alone identifies") << QStringList{"NIP=   -   -  -  "} << QStringList{};
        QTest::newRow("a PESEL alone identifies, no document either")
            << QStringList{"NIP=", "Dokument="} << QStringList{};
        QTest::newRow("a blank document is none") << QStringList{"NIP=", "Pesel=", "Dokument=   "}
                                                  << QStringList{"1|NIP podatnika nie podany"};
        QTest::newRow("invalid NIP") << QStringList{"NIP=123-456-32-19"} << QStringList{"1|Nieprawidłowy NIP podatnika"};
        QTest::newRow("invalid PESEL") << QStringList{"Pesel=44051401358"} << QStringList{"1|Nieprawidłowy PESEL"};
        QTest::newRow("correction with a sequence number, nothing corrected")
            << QStringList{"Cel=2", "NrKolej=2", "P44=10-05-2010"}
            << QStringList{"5|Pozycji tej nie wypełnia w przypadku składania korekty wniosku",
                           "7|Numer korygowanego wniosku nie podany"};
        QTest::newRow("correction filled in") << QStringList{"Cel=2", "NrKolej=0", "NrKoryg=1"} << QStringList{};
        // The form's boxes hold two digits and the years 1901 to 2099: a value
        // beyond prints as nothing, and the list says so before printing.
        QTest::newRow("sequence number 99") << QStringList{"NrKolej=99", "P44=10-05-2009"} << QStringList{};
        QTest::newRow("sequence number 100")
            << QStringList{"NrKolej=100", "P44=10-05-2009"}
            << QStringList{"5|Numer kolejny wniosku 100 jest większy niż 99: nie zmieści się w polu formularza"};
        QTest::newRow("corrected number 120")
            << QStringList{"Cel=2", "NrKolej=0", "NrKoryg=120"}
            << QStringList{"7|Numer korygowanego wniosku 120 jest większy niż 99: nie zmieści się w polu formularza"};
        QTest::newRow("years 1901 and 2099") << QStringList{"P41=1901", "P43=2099"} << QStringList{};
        QTest::newRow("year 2100")
            << QStringList{"P41=2100"}
            << QStringList{"35|Rok rozpoczęcia inwestycji 2100 jest niepoprawny: formularz przyjmuje lata 1901–2099"};
        QTest::newRow("year 1850 of a renovation")
            << QStringList{"P43=1850"}
            << QStringList{"37|Rok rozpoczęcia inwestycji 1850 jest niepoprawny: formularz przyjmuje lata 1901–2099"};
        QTest::newRow("first filing with a corrected number")
            << QStringList{"NrKoryg=3"}
            << QStringList{"7|Pozycję <korekta wniosku o nr ..> należy wypełniać tylko w przypadku korekty wniosku"};
        QTest::newRow("no purpose") << QStringList{"Cel=-1"} << QStringList{"7|Cel złożenia formularza nie podany"};
        QTest::newRow("no sequence number")
            << QStringList{"NrKolej=0"} << QStringList{"5|Kolejny numer składanego wniosku nie podany"};
        QTest::newRow("same NIP")
            << QStringList{"P8=3", "MNIP=" + NipPodatnika, "MNazwisko=Żółkiewska", "MImie=Anna"}
            << QStringList{"1|NIP podatnika i małżonka jest taki sam", "2|NIP podatnika i małżonka jest taki sam"};
        QTest::newRow("single, spouse's surname and PESEL after the address")
            << QStringList{"Ulica=", "MNazwisko=Żółkiewska", "MPesel=" + PeselMalzonka}
            << QStringList{"16|Nazwa ulicy nie podana", "22|" + p8_1, "2|" + p8_1};
        QTest::newRow("single, every spouse item")
            << QStringList{"MNIP=" + NipMalzonka, "MNazwisko=Żółkiewska", "MImie=Anna", "MPesel=" + PeselMalzonka,
                           "MDokument=paszport", "MKraj=Polska", "MWojew=Małopolskie", "MPowiat=krakowski",
                           "MGmina=Kraków", "MUlica=Długa", "MPosesja=5", "MLokal=2", "MMiasto=Kraków",
                           "MKodPoczt=31-147", "MPoczta=Kraków"}
            << QStringList{"2|" + p8_1} + spouseItemErrorsExcept(0);
        QTest::newRow("single, blank spouse items") << QStringList{"MNazwisko=  ", "MPesel=   -"} << QStringList{};
        QTest::newRow("married, no spouse data")
            << QStringList{"P8=2"}
            << QStringList{"2|NIP małżonka nie podany", "22|Nazwisko małżonka nie podane", "23|Imię małżonka nie podane"};
        QTest::newRow("married, spouse identified by a PESEL alone")
            << QStringList{"P8=2", "MPesel=" + PeselMalzonka, "MNazwisko=Żółkiewska", "MImie=Anna"} << QStringList{};
        QTest::newRow("joint, spouse identified by a PESEL alone")
            << QStringList{"P8=3", "MNIP=   -   -  -  ", "MPesel=" + PeselMalzonka, "MNazwisko=Żółkiewska", "MImie=Anna"}
            << QStringList{};
        QTest::newRow("joint, spouse identified by a document")
            << QStringList{"P8=3", "MDokument=paszport", "MNazwisko=Żółkiewska", "MImie=Anna"} << QStringList{};
        QTest::newRow("voivodeship in lower case") << QStringList{"Wojew=małopolskie", "Kraj= POLSKA "} << QStringList{};
        QTest::newRow("voivodeship not on the list")
            << QStringList{"Wojew=Krakowskie", "Kraj=polska"} << QStringList{"13|Nieprawidłowa nazwa województwa"};
        QTest::newRow("abroad, any voivodeship and code")
            << QStringList{"Kraj=Niemcy", "Wojew=Bayern", "KodPoczt=80331"} << QStringList{};
        QTest::newRow("invalid postal code") << QStringList{"KodPoczt=31147"}
                                             << QStringList{"20|Nieprawidłowy numer kod pocztowego"};
        QTest::newRow("no personal data")
            << QStringList{"Urzad=", "Nazwisko= ", "Imie=", "Kraj=", "Wojew=", "Powiat=", "Gmina=", "Ulica=",
                           "Posesja=", "Lokal=", "Miasto=", "KodPoczt=", "Poczta="}
            << QStringList{"6|Nazwa urzędu skarbowego nie podana", "9|Nazwisko podatnika nie podane",
                           "10|Imię podatnika nie podane", "12|Nazwa kraju nie podana",
                           "13|Nazwa województwa nie podana", "14|Nazwa powiatu nie podana",
                           "15|Nazwa gminy nie podana", "16|Nazwa ulicy nie podana", "17|Numer domu nie podany",
                           "19|Nazwa miejscowości nie podana", "20|Kod pocztowy nie podany"};
        QTest::newRow("later application, no first date")
            << QStringList{"NrKolej=2"} << QStringList{"38|Data złożenia pierwszego wniosku musi być podana"};
        QTest::newRow("later application with the first date") << QStringList{"NrKolej=2", "P44=10-05-2009"}
                                                               << QStringList{};
        QTest::newRow("no price") << QStringList{"P45=0"}
                                  << QStringList{"39|Cena metra kwadratowego powierzchni użytkowej musi być podana"};
        QTest::newRow("no way of payment") << QStringList{"P57=-1"}
                                           << QStringList{"51|Sposób wypłaty kwoty zwrotu musi być podany"};
        QTest::newRow("bank, no account box, no account")
            << QStringList{"P57=3"}
            << QStringList{"52|Nie zaznaczono żadnego kwadratu", "52|Numer rachunku bankowego musi być podany"};
        QTest::newRow("bank, invalid account") << QStringList{"P58=1", "Konto=12345"}
                                               << QStringList{"52|Nieprawidłowy numer rachunku bankowego"};
        QTest::newRow("bank, complete") << QStringList{"P58=2", "P58=3", "Konto=" + KontoPoprawne} << QStringList{};
        QTest::newRow("cash desk, invalid account") << QStringList{"Konto=123"}
                                                    << QStringList{"52|Nieprawidłowy numer rachunku bankowego"};
        QTest::newRow("no invoice copies")
            << QStringList{"P60=0"} << QStringList{"54|Liczba kopii faktur dokumentujących wydatki musi być podana"};
    }
    void rules()
    {
        QFETCH(QStringList, zmiany);
        QFETCH(QStringList, bledy);
        fillValidApplication();
        for (const QString &z : zmiany)
            applyChange(z);
        vzm->Weryfikuj();
        QCOMPARE(db->errorList(), bledy);
        QCOMPARE(db->dm.OpisBledow(), bledy.isEmpty() ? QStringLiteral(" W formularzu nie znaleziono błędów")
                                                    : QStringLiteral(" Liczba błędów i ostrzeżeń: %1").arg(bledy.size()));
    }

    // Rules 36 and 38 look at the invoice sums of lists A and B only.
    void attachedCopies_data()
    {
        QTest::addColumn<QString>("lista");
        QTest::addColumn<QString>("vatA");
        QTest::addColumn<QString>("vatB");
        QTest::addColumn<QStringList>("zmiany");
        QTest::addColumn<QStringList>("bledy");
        const QString pozwolenie = QStringLiteral("53|Kopia pozwolenia na budowę musi być dołączona do wniosku");
        const QString tytul = QStringLiteral("55|Kopia dokumentu potwierdzająca tytuł prawny do budynku (lokalu) "
                                             "mieszkalnego musi być dołączona do wniosku");
        QTest::newRow("list C only") << "C" << "100,00" << "100,00" << QStringList{} << QStringList{};
        QTest::newRow("list A, column 5") << "A" << "100,00" << "0" << QStringList{} << QStringList{pozwolenie};
        QTest::newRow("list B, column 5, permit attached") << "B" << "100,00" << "0" << QStringList{"P59=1"} << QStringList{};
        QTest::newRow("list B, column 6") << "B" << "0" << "100,00" << QStringList{} << QStringList{tytul};
        QTest::newRow("list A, both columns") << "A" << "1,00" << "1,00" << QStringList{} << QStringList{pozwolenie, tytul};
        QTest::newRow("list A, both, copies attached") << "A" << "1,00" << "1,00" << QStringList{"P59=2", "P61=1"}
                                                       << QStringList{};
        QTest::newRow("correcting invoice only") << "A" << "-10,00" << "-10,00" << QStringList{} << QStringList{};
    }
    void attachedCopies()
    {
        QFETCH(QString, lista);
        QFETCH(QString, vatA);
        QFETCH(QString, vatB);
        QFETCH(QStringList, zmiany);
        QFETCH(QStringList, bledy);
        const int vzmId = db->addApplication(podatId, {{QStringLiteral("NrKolej"), 1}});
        db->addInvoice(vzmId, lista,
                       {{QStringLiteral("VatA"), QVariant::fromValue(Money::parse(vatA).value())},
                        {QStringLiteral("VatB"), QVariant::fromValue(Money::parse(vatB).value())}});
        QVERIFY(vzm->Wczytaj(podatId, vzmId));
        for (const char *krok : {"P8=1", "P45=3000", "P57=1", "P60=1"})
            applyChange(QString::fromLatin1(krok));
        for (const QString &z : zmiany)
            applyChange(z);
        vzm->Weryfikuj();

        const QStringList wynik = db->errorList();
        QCOMPARE(wynik, bledy);
    }

    // Item numbers longer than a printed attachment's row holds in its
    // smallest type are named, with the invoice and its list, under the
    // attachment's count: 56 for A, 57 for B, 58 for C.
    void longItemNumbers_data()
    {
        QTest::addColumn<QString>("lista");
        QTest::addColumn<int>("znakow");
        QTest::addColumn<QStringList>("bledy");
        QTest::newRow("140 characters fit") << "A" << 140 << QStringList{};
        QTest::newRow("141 on list A") << "A" << 141
                                       << QStringList{"56|Lp. z faktury nr FV/9 (VZM-1/A) mają ponad 140 znaków: na "
                                                      "wydruku załącznika mogą zostać ucięte"};
        QTest::newRow("150 on list C") << "C" << 150
                                       << QStringList{"58|Lp. z faktury nr FV/9 (VZM-1/C) mają ponad 140 znaków: na "
                                                      "wydruku załącznika mogą zostać ucięte"};
    }
    void longItemNumbers()
    {
        QFETCH(QString, lista);
        QFETCH(int, znakow);
        QFETCH(QStringList, bledy);
        const int vzmId = db->addApplication(podatId, {{QStringLiteral("NrKolej"), 1}});
        db->addInvoice(vzmId, lista, {{QStringLiteral("NrFakt"), QStringLiteral("FV/9")},
                                      {QStringLiteral("LpFakt"), QString(znakow, QLatin1Char('7'))}});
        QVERIFY(vzm->Wczytaj(podatId, vzmId));
        for (const char *krok : {"P8=1", "P45=3000", "P57=1", "P60=1"})
            applyChange(QString::fromLatin1(krok));
        vzm->Weryfikuj();
        QCOMPARE(db->errorList(), bledy);
    }
};

QTEST_GUILESS_MAIN(TestVerification)
#include "tst_verification.moc"
