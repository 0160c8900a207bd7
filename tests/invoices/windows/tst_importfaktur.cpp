// Invoices from a spreadsheet: the columns proposed by their headings, each
// row judged by the invoice editor's checks with the column named, the
// import through the real preview window (all chosen rows or none), and the
// list written to CSV and XLSX and read back into another application the
// same to the last field.

#include "data/dataerror.h"
#include "invoices/windows/importfakturfrm.h"
#include "spreadsheet/csv.h"
#include "support/formdata.h"
#include "support/widgettest.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

class TestImportFaktur : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    int podatId = 0;
    int vzmId = 0;

    QString plikCsv(const QString &tekst)
    {
        const QString sciezka = db->env.root() + QStringLiteral("/faktury.csv");
        QFile f(sciezka);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("Nie można zapisać pliku");
        f.write(tekst.toUtf8());
        return sciezka;
    }

    static QString naglowek()
    {
        return QStringLiteral("Nr faktury;Data wystawienia;NIP sprzedawcy;Nazwa sprzedawcy;Lp. z faktury;Kwota brutto;"
                              "VAT kol. 5;VAT kol. 6\n");
    }

    // The invoices of list A of an application, field by field, in list order.
    QList<QStringList> faktury(int vzm)
    {
        QList<QStringList> wynik;
        for (const SqlRow &r : db->dm.database()
                                   .run(QStringLiteral("SELECT NrFakt, LpFakt, DataWyst, KodSprzed, NipSprzed, Brutto, VatA, "
                                                       "VatB, Oznacz FROM Faktury WHERE VzmId = ? ORDER BY FaktId"),
                                        {}, {vzm})
                                   .rows) {
            QStringList pola;
            for (const QVariant &v : r)
                pola << (v.isNull() ? QStringLiteral("(null)") : v.toString());
            wynik << pola;
        }
        return wynik;
    }

    // A button's accelerator clicks it a moment later, as the mouse would.
    static void naciskajAlt(QWidget &okno, Qt::Key klawisz)
    {
        QTest::keyClick(&okno, klawisz, Qt::AltModifier);
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDatabase>();
        podatId = db->addTaxpayer(pelnyPodatnik());
        vzmId = db->addApplication(podatId, {{QStringLiteral("NrKolej"), 1}});
    }
    void cleanup() { db.reset(); }

    void propozycje_data()
    {
        QTest::addColumn<QString>("naglowek");
        QTest::addColumn<int>("pole");
        const std::pair<const char *, PoleArkusza> przypadki[] = {
            {"Nr faktury", PoleArkusza::Numer},         {"Numer dokumentu", PoleArkusza::Numer},
            {"Data wystawienia", PoleArkusza::Data},    {"NIP sprzedawcy", PoleArkusza::NipSprzedawcy},
            {"Nazwa sprzedawcy", PoleArkusza::NazwaSprzedawcy}, {"Kontrahent", PoleArkusza::NazwaSprzedawcy},
            {"Kod sprzedawcy", PoleArkusza::KodSprzedawcy}, {"Lp. z faktury", PoleArkusza::LpFakt},
            {"Kwota brutto", PoleArkusza::Brutto},      {"VAT", PoleArkusza::VatA},
            {"VAT kol. 5", PoleArkusza::VatA},          {"VAT kol. 6", PoleArkusza::VatB},
            {"Podatek niewymagającej pozwolenia", PoleArkusza::VatB}, {"Uwagi", PoleArkusza::Brak},
            {"", PoleArkusza::Brak}};
        for (const auto &[naglowek, pole] : przypadki)
            QTest::newRow(naglowek) << QString::fromUtf8(naglowek) << int(pole);
    }
    void propozycje()
    {
        QFETCH(QString, naglowek);
        QFETCH(int, pole);
        QCOMPARE(int(TImportFaktur::Zaproponuj(naglowek)), pole);
    }

    // One row under the headings, its verdict and the note that names its column.
    void werdykty_data()
    {
        QTest::addColumn<QString>("wiersz");
        QTest::addColumn<int>("werdykt");
        QTest::addColumn<QString>("uwaga");
        const int dobry = int(TWierszImportu::Werdykt::Dobry), watpliwy = int(TWierszImportu::Werdykt::Watpliwy),
                  zly = int(TWierszImportu::Werdykt::Zly);
        QTest::newRow("good") << "FV 1;10-05-2011;123-456-32-18;Skład;1-3;1 220,50;220,50;" << dobry << "";
        QTest::newRow("dotted date, decimal point") << "FV 1;10.05.2011;1234563218;;;1220.50;;220.50" << dobry << "";
        QTest::newRow("ISO date") << "FV 1;2011-05-10;1234563218;;;100;18,03;" << dobry << "";
        QTest::newRow("no number") << " ;10-05-2011;1234563218;;;100;18,03;" << zly << "Kolumna A (Nr faktury): Numer faktury nie podany.";
        QTest::newRow("no date") << "FV 1;;1234563218;;;100;18,03;" << zly << "Kolumna B (Data wystawienia): Data wystawienia faktury nie podana.";
        QTest::newRow("31 February") << "FV 1;31-02-2005;1234563218;;;100;18,03;" << zly << "Data wystawienia faktury jest niepoprawna.";
        QTest::newRow("before May 2004") << "FV 1;2004-04-30;1234563218;;;100;18,03;" << zly << "wcześniejsza niż 1-05-2004";
        QTest::newRow("no NIP") << "FV 1;10-05-2011;;;;100;18,03;" << zly << "Kolumna C (NIP sprzedawcy): NIP sprzedawcy nie podany.";
        QTest::newRow("malformed NIP") << "FV 1;10-05-2011;123;;;100;18,03;" << watpliwy << "Kolumna C (NIP sprzedawcy): Nieprawidłowy NIP sprzedawcy.";
        QTest::newRow("dots between thousands") << "FV 1;10-05-2011;1234563218;;;1.220;18,03;" << zly << "Kolumna F (Kwota brutto): niepoprawna kwota „1.220”";
        QTest::newRow("letters") << "FV 1;10-05-2011;1234563218;;;100;abc;" << zly << "Kolumna G (VAT kol. 5): niepoprawna kwota „abc”";
        QTest::newRow("fractions of a grosz") << "FV 1;10-05-2011;1234563218;;;100,005;18,03;" << zly << "Kolumna F (Kwota brutto): niepoprawna kwota";
        QTest::newRow("no gross") << "FV 1;10-05-2011;1234563218;;;;18,03;" << zly << "Kolumna F (Kwota brutto): Kwota brutto wydatku uprawniającego do zwrotu nie podana.";
        QTest::newRow("no VAT") << "FV 1;10-05-2011;1234563218;;;100;;" << zly << "Kolumna G (VAT kol. 5): Kwota podatku VAT nie podana.";
        QTest::newRow("number too long") << QString(31, u'N') + ";10-05-2011;1234563218;;;100;18,03;" << zly << "Kolumna A (Nr faktury): tekst dłuższy niż 30 znaków.";
        QTest::newRow("in the list already, same seller") << "fv 7/2011;10-05-2011;123-456-32-18;;;100;18,03;" << watpliwy
                                                          << "Kolumna A (Nr faktury): Faktura o numerze fv 7/2011 jest już w wykazie.";
        QTest::newRow("same number, another seller") << "FV 7/2011;10-05-2011;5260250274;;;100;18,03;" << dobry << "";
    }
    void werdykty()
    {
        QFETCH(QString, wiersz);
        QFETCH(int, werdykt);
        QFETCH(QString, uwaga);
        db->addInvoice(vzmId, QStringLiteral("A"),
                       {{QStringLiteral("NrFakt"), QStringLiteral("FV 7/2011")}, {QStringLiteral("NipSprzed"), QStringLiteral("1234563218")}});
        // Another list of the application does not count.
        db->addInvoice(vzmId, QStringLiteral("B"), {{QStringLiteral("NrFakt"), QStringLiteral("FV 1")}});
        TImportFaktur import(db->dm, vzmId, 1);
        import.Ustaw(Csv::read((naglowek() + wiersz + u'\n').toUtf8()));
        QCOMPARE(import.Wiersze().size(), 1);
        const TWierszImportu &w = import.Wiersze().first();
        QCOMPARE(w.NrWiersza, 2);
        QVERIFY2(w.Uwagi.join(u'|').contains(uwaga), qPrintable(w.Uwagi.join(u'|')));
        QCOMPARE(int(w.werdykt), werdykt);
        QCOMPARE(w.Wybrany, werdykt == int(TWierszImportu::Werdykt::Dobry));
        QVERIFY(w.Uwagi.isEmpty() == (werdykt == int(TWierszImportu::Werdykt::Dobry)));
    }

    // A row repeated in the file is flagged at its second place.
    void powtorzonyWPliku()
    {
        TImportFaktur import(db->dm, vzmId, 1);
        import.Ustaw(Csv::read((naglowek() + QStringLiteral("FV 1;10-05-2011;1234563218;;;100;18,03;\n\n"
                                                            "FV 1;11-05-2011;123-456-32-18;;;200;36,07;\n"))
                                   .toUtf8()));
        QCOMPARE(import.Wiersze().size(), 2);
        QCOMPARE(import.Wiersze()[0].werdykt, TWierszImportu::Werdykt::Dobry);
        QCOMPARE(import.Wiersze()[1].NrWiersza, 4);
        QCOMPARE(import.Wiersze()[1].werdykt, TWierszImportu::Werdykt::Watpliwy);
        QVERIFY(import.Wiersze()[1].Uwagi.join(u' ').contains(QStringLiteral("jest już w wierszu 2 pliku")));
    }

    // Through the window: the doubtful row chosen with the space bar, Alt+W,
    // the new sellers offered and added; the bad row stays out.
    void importPrzezOkno()
    {
        const QString plik = plikCsv(naglowek() + QStringLiteral("FV 1/2011;10-05-2011;123-456-32-18;Skład Budowlany Łódź;1-3;1 220,50;220,50;\n"
                                                                 "FV 2/2011;11-05-2011;123;Hurtownia;;100,00;;18,03\n"
                                                                 "FV 3/2011;31-02-2011;526-025-02-74;Inna;;100,00;18,03;\n"));
        TImportFakturFrm okno(db->dm, vzmId, 1);
        QVERIFY(okno.Otworz(plik));
        okno.show();
        QVERIFY(activeNow(okno));
        auto *siatka = childNamed<QTableView>(okno, QStringLiteral("WierszeGrid"));
        QCOMPARE(siatka->model()->rowCount(), 3);
        QCOMPARE(childNamed<QComboBox>(okno, QStringLiteral("Kolumna_%1").arg(int(PoleArkusza::VatB)))->currentIndex(), 8);
        const auto wczytac = [siatka](int r) { return siatka->model()->index(r, 0).data(Qt::CheckStateRole).toInt(); };
        QCOMPARE(wczytac(0), int(Qt::Checked));
        QCOMPARE(wczytac(1), int(Qt::Unchecked));
        QVERIFY(siatka->model()->index(2, 9).data().toString().startsWith(QStringLiteral("błąd: Kolumna B")));

        naciskajAlt(okno, Qt::Key_F);
        QVERIFY(siatka->hasFocus());
        siatka->setCurrentIndex(siatka->model()->index(1, 0));
        QTest::keyClick(siatka, Qt::Key_Space);
        QCOMPARE(wczytac(1), int(Qt::Checked));
        siatka->setCurrentIndex(siatka->model()->index(2, 0));
        QTest::keyClick(siatka, Qt::Key_Space); // a bad row cannot be chosen
        QCOMPARE(wczytac(2), int(Qt::Unchecked));
        QVERIFY(childNamed<QLabel>(okno, QStringLiteral("PodsumowanieLbl"))->text().endsWith(QStringLiteral("do wczytania: 2")));
        if (const QString katalog = qEnvironmentVariable("TARLEN_SHOTS"); !katalog.isEmpty())
            QVERIFY(okno.grab().save(katalog + QStringLiteral("/import-faktur.png")));

        db->boxes.answer(true); // add the sellers
        naciskajAlt(okno, Qt::Key_W);
        QTRY_VERIFY(!okno.isVisible());
        QCOMPARE(okno.Zapisanych(), 2);
        QVERIFY(db->boxes.texts().join(u' ').contains(QStringLiteral("Sprzedawców z pliku nie ma w rejestrze sprzedawców: 2")));
        QCOMPARE(faktury(vzmId),
                 (QList<QStringList>{{"FV 1/2011", "1-3", "2011-05-10", "", "123-456-32-18", "12205000", "2205000", "(null)", "A"},
                                     {"FV 2/2011", "", "2011-05-11", "", "123", "1000000", "(null)", "180300", "A"}}));
        const auto firmy = db->dm.database().run(QStringLiteral("SELECT NIP, Firma FROM Firmy ORDER BY NIP")).rows;
        QCOMPARE(firmy.size(), 2);
        QCOMPARE(firmy[1].at(1).toString(), QStringLiteral("Skład Budowlany Łódź"));
    }

    // A store that refuses the third invoice leaves nothing of the import:
    // neither invoices nor sellers.
    void wszystkoAlboNic()
    {
        db->dm.database().run(QStringLiteral("CREATE TRIGGER odmowa BEFORE INSERT ON Faktury WHEN NEW.NrFakt = 'FV 3' "
                                             "BEGIN SELECT RAISE(ABORT, 'odmowa'); END"));
        QString wiersze = naglowek();
        for (int i = 1; i <= 5; ++i)
            wiersze += QStringLiteral("FV %1;10-05-2011;526-025-02-74;Nowy;;100;18,03;\n").arg(i);
        TImportFakturFrm okno(db->dm, vzmId, 1);
        QVERIFY(okno.Otworz(plikCsv(wiersze)));
        okno.show();
        QVERIFY(activeNow(okno));
        db->boxes.answer(true);
        naciskajAlt(okno, Qt::Key_W);
        QTRY_VERIFY(!db->boxes.texts().isEmpty());
        QVERIFY(okno.isVisible());
        QCOMPARE(okno.Zapisanych(), 0);
        QVERIFY(db->boxes.texts().last().startsWith(QStringLiteral("Nie wczytano żadnej faktury")));
        QVERIFY(faktury(vzmId).isEmpty());
        QVERIFY(db->dm.database().run(QStringLiteral("SELECT * FROM Firmy")).rows.isEmpty());
    }

    // A file that is no spreadsheet is refused with its reason; nothing shows.
    void plikNieArkusz()
    {
        TImportFakturFrm okno(db->dm, vzmId, 1);
        QVERIFY(!okno.Otworz(plikCsv(QStringLiteral("PK\x03\x04 to nie jest zip"))));
        QVERIFY(db->boxes.texts().last().contains(QStringLiteral("nie jest poprawnym skoroszytem XLSX")));
        QVERIFY(okno.Import().Wiersze().isEmpty());
    }

    // The mapping changed by hand judges the rows anew.
    void przypisanieZmienione()
    {
        TImportFakturFrm okno(db->dm, vzmId, 1);
        QVERIFY(okno.Otworz(plikCsv(QStringLiteral("A;B;C;D;E\nFV 1;10-05-2011;1234563218;100;18,03\n"))));
        QCOMPARE(okno.Import().Wiersze().first().werdykt, TWierszImportu::Werdykt::Zly);
        const PoleArkusza pola[] = {PoleArkusza::Numer, PoleArkusza::Data, PoleArkusza::NipSprzedawcy, PoleArkusza::Brutto,
                                    PoleArkusza::VatA};
        for (int k = 0; k < 5; ++k)
            childNamed<QComboBox>(okno, QStringLiteral("Kolumna_%1").arg(int(pola[k])))->setCurrentIndex(k + 1);
        QCOMPARE(okno.Import().Wiersze().first().werdykt, TWierszImportu::Werdykt::Dobry);
        QCOMPARE(okno.Import().Wiersze().first().Dane.Brutto, kwota("100"));
        // A column holds one field: giving column D to the VAT takes it from the gross.
        childNamed<QComboBox>(okno, QStringLiteral("Kolumna_%1").arg(int(PoleArkusza::VatA)))->setCurrentIndex(4);
        QCOMPARE(okno.Import().Kolumna(PoleArkusza::Brutto), 0);
        QCOMPARE(childNamed<QComboBox>(okno, QStringLiteral("Kolumna_%1").arg(int(PoleArkusza::Brutto)))->currentIndex(), 0);
    }

    // The list written and read back into another application: the same
    // invoices, to the last field.
    void tamIZPowrotem_data()
    {
        QTest::addColumn<QString>("nazwa");
        QTest::newRow("CSV") << "faktury.csv";
        QTest::newRow("XLSX") << "faktury.xlsx";
    }
    void tamIZPowrotem()
    {
        QFETCH(QString, nazwa);
        const QList<QVariantMap> zrodlo{
            {{"NrFakt", "FV 1/2011 \"Żółć\"; x"}, {"LpFakt", "1-3, 5"}, {"DataWyst", QDate(2011, 5, 10)}, {"KodSprzed", "SKŁAD"},
             {"NipSprzed", "123-456-32-18"}, {"Brutto", kwotaV("1 220,50")}, {"VatA", kwotaV("220,50")}},
            {{"NrFakt", "korekta 2"}, {"DataWyst", QDate(2004, 5, 1)}, {"NipSprzed", "5260250274"}, {"Brutto", kwotaV("-20,25")},
             {"VatB", kwotaV("-3,79")}},
            {{"NrFakt", "FV 3"}, {"LpFakt", "wiersz\r\ndrugi"}, {"DataWyst", QDate(2026, 12, 10)}, {"NipSprzed", "123"},
             {"Brutto", kwotaV("999 999,99")}, {"VatA", kwotaV("1,00")}, {"VatB", kwotaV("2,00")}}};
        for (const QVariantMap &f : zrodlo)
            db->addInvoice(vzmId, QStringLiteral("A"), f);
        const QString plik = db->env.root() + u'/' + nazwa;
        QVERIFY(ZapiszFakturyDoPliku(db->dm, vzmId, 1, nullptr, [&](QWidget *, const PytanieOPlik &p) {
            return p.zapis ? plik : QString();
        }));

        const int drugi = db->addApplication(podatId, {{QStringLiteral("NrKolej"), 2}});
        TImportFakturFrm okno(db->dm, drugi, 1);
        QVERIFY(okno.Otworz(plik));
        QCOMPARE(okno.Import().Wiersze().size(), 3);
        // Every invoice is taken, the one with a malformed NIP too.
        okno.Import().Wybierz(2, true);
        okno.show();
        QVERIFY(activeNow(okno));
        naciskajAlt(okno, Qt::Key_W);
        QTRY_VERIFY(!okno.isVisible());
        QCOMPARE(okno.Zapisanych(), 3);
        QCOMPARE(faktury(drugi), faktury(vzmId));
    }
};

QTEST_MAIN(TestImportFaktur)
#include "tst_importfaktur.moc"
