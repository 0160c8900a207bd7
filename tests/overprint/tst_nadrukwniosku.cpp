// The overprint of an application, read back from real PDF output: every
// field where the form's table, the user's corrections and margins put it.

#include "data/tdm.h"
#include "overprint/drukdopdf.h"
#include "overprint/nadrukwniosku.h"
#include "overprint/wspolrzedne.h"
#include "support/formdata.h"

#include <QTest>

#include <algorithm>

namespace {

constexpr double PikselMm = 25.4 / DrukDoPdf::Dpi;

void ustawKorekte(TDM &dm, const QString &pit, int pole, int korX, int korY)
{
    QVERIFY(dm.Korekta.locate(QStringLiteral("Pit;Pole"), {pit, pole}));
    dm.Korekta.edit();
    dm.Korekta.field(QStringLiteral("KorX")).setInteger(korX);
    dm.Korekta.field(QStringLiteral("KorY")).setInteger(korY);
    dm.Korekta.post();
}

void ustawMargines(TDM &dm, const QString &symbol, int strona, int lewy, int gorny)
{
    dm.Marginesy.append();
    dm.Marginesy.field(QStringLiteral("SymbolPit")).setString(symbol);
    dm.Marginesy.field(QStringLiteral("Strona")).setInteger(strona);
    dm.Marginesy.field(QStringLiteral("Lewy")).setInteger(lewy);
    dm.Marginesy.field(QStringLiteral("Gorny")).setInteger(gorny);
    dm.Marginesy.post();
}

} // namespace

class TestNadrukWniosku : public QObject
{
    Q_OBJECT

    TaxpayerModelFixture f;
    std::unique_ptr<DrukDoPdf> druk;
    std::unique_ptr<NadrukWniosku> nadruk;

    void wypelnij()
    {
        TVzm_3 &v = *f.vzm;
        v.SetNip(TOsoba::Podatnik, NipPodatnika);
        v.SetPesel(TOsoba::Podatnik, PeselPodatnika);
        v.SetNip(TOsoba::Malzonek, NipMalzonka);
        v.SetPesel(TOsoba::Malzonek, PeselMalzonka);
        v.Urzad = QStringLiteral("Urząd Skarbowy Kraków-Podgórze");
        v.Nazwisko = QStringLiteral("Żółkiewski");
        v.Imie = QStringLiteral("Łukasz");
        v.Wojew = QStringLiteral("małopolskie");
        v.Powiat = QStringLiteral("krakowski");
        v.MNazwisko = QStringLiteral("Żółkiewska");
        v.SetNrKolej(3);
        v.SetCel(1, true);
        v.SetP8(2, true);
    }
    QList<PdfWord> drukuj(int strona) { return druk->drukuj(*nadruk, strona); }

private slots:
    void init()
    {
        f.setUp();
        druk = std::make_unique<DrukDoPdf>();
        nadruk = std::make_unique<NadrukWniosku>(druk->drukarka, f.db->dm, *f.vzm);
        wypelnij();
    }
    void cleanup()
    {
        nadruk.reset();
        druk.reset();
        f.tearDown();
    }

    void pageOneFieldsAtTheirPoints_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<QString>("words");
        QTest::newRow("first digit of the NIP") << 23.0 << 17.0 << "1";
        QTest::newRow("last digit of the NIP") << 23 + 9 * 58.0 / 11 << 17.0 << "8";
        QTest::newRow("PESEL 8 mm below") << 23.0 << 25.0 << "4";
        QTest::newRow("tenth PESEL digit spaced") << 23 + 9 * 58.0 / 11 << 25.0 << "5";
        QTest::newRow("spouse's NIP") << 108.0 << 17.0 << "5";
        QTest::newRow("spouse's PESEL spaced") << 108 + 10 * 58.0 / 11 << 25.0 << "8";
        QTest::newRow("sequential number, first digit") << 188.0 << 68.0 << "0";
        QTest::newRow("sequential number, second digit") << 193.0 << 68.0 << "3";
        QTest::newRow("tax office in capitals") << 20.0 << 109.0 << "URZĄD";
        QTest::newRow("a new application") << 65.0 << 119.0 << "X";
        QTest::newRow("position 8, second box") << 85.0 << 128.0 << "X";
        QTest::newRow("surname in capitals") << 20.0 << 160.0 << "ŻÓŁKIEWSKI";
        QTest::newRow("first name") << 111.0 << 160.0 << "ŁUKASZ";
        QTest::newRow("voivodeship") << 59.0 << 177.0 << "MAŁOPOLSKIE";
        QTest::newRow("spouse's surname") << 20.0 << 211.0 << "ŻÓŁKIEWSKA";
        QTest::newRow("no correction box") << 108.0 << 119.0 << "";
        QTest::newRow("position 8, first box empty") << 24.0 << 128.0 << "";
    }
    void pageOneFieldsAtTheirPoints()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(QString, words);
        QCOMPARE(wordsAt(drukuj(1), x, y), words);
    }

    void printingOffsetTakenOffOnce()
    {
        // A printer that cannot print the outer 100 pixels: the canvas
        // starts there, and the overprint still lands on the sheet's point.
        nadruk.reset();
        druk = std::make_unique<DrukDoPdf>(100);
        nadruk = std::make_unique<NadrukWniosku>(druk->drukarka, f.db->dm, *f.vzm);
        const auto words = drukuj(1);
        const PdfWord nip = words.value(0);
        QCOMPARE(nip.text, QStringLiteral("1"));
        // On the canvas: pixel (443, 302) = the sheet's (543, 402) less the offset.
        QCOMPARE(qRound(nip.mm.left() / PikselMm) - 100, 443);
        QVERIFY2(qAbs(nip.mm.top() / PikselMm - 100 - 302) <= 1, qPrintable(QString::number(nip.mm.top())));
        const double pesel = (100 + 491) * PikselMm;
        QCOMPARE(wordsAt(words, 23, pesel, 1.5 * PikselMm), QStringLiteral("4"));
    }

    void correctionAboveTheSheetStopsAtItsEdge()
    {
        // On a printer whose canvas starts 100 pixels into the sheet, the
        // NIP raised 3 mm above the sheet stops at the canvas's top edge.
        nadruk.reset();
        druk = std::make_unique<DrukDoPdf>(100);
        nadruk = std::make_unique<NadrukWniosku>(druk->drukarka, f.db->dm, *f.vzm);
        ustawKorekte(f.db->dm, QStringLiteral("VZM-1"), 1, 0, -20);
        const auto words = drukuj(1);
        const double brzeg = 100 * PikselMm;
        QCOMPARE(wordsAt(words, 23, brzeg), QStringLiteral("1"));
        QCOMPARE(wordsAt(words, 23, brzeg + 8), QStringLiteral("4"));
        QCOMPARE(wordsAt(words, 108, 17), QStringLiteral("5")); // the spouse's NIP stays
    }

    void correctionMovesOneField()
    {
        ustawKorekte(f.db->dm, QStringLiteral("VZM-1"), 13, 2, 0);
        const auto words = drukuj(1);
        QCOMPARE(wordsAt(words, 61, 177), QStringLiteral("MAŁOPOLSKIE"));
        QCOMPARE(wordsAt(words, 140, 177), QStringLiteral("KRAKOWSKI"));
        QCOMPARE(wordsAt(words, 20, 160), QStringLiteral("ŻÓŁKIEWSKI"));
    }

    void marginsMoveOnePage()
    {
        ustawMargines(f.db->dm, QStringLiteral("VZM-1"), 1, 2, 3);
        f.vzm->SetRok(41, 2009);
        QCOMPARE(wordsAt(drukuj(1), 22, 163), QStringLiteral("ŻÓŁKIEWSKI"));
        QCOMPARE(wordsAt(drukuj(1), 25, 20), QStringLiteral("1"));
        QCOMPARE(wordsAt(drukuj(2), 158, 33), QStringLiteral("2"));
    }

    void numbersOfTheApplication_data()
    {
        QTest::addColumn<int>("nrKolej");
        QTest::addColumn<bool>("korekta");
        QTest::addColumn<int>("nrKoryg");
        QTest::addColumn<QString>("pole5");
        QTest::addColumn<QString>("pole67");
        QTest::addColumn<QString>("pole7");
        QTest::newRow("number 0 prints nothing") << 0 << false << 0 << "" << "" << "";
        QTest::newRow("number 3") << 3 << false << 5 << "0 3" << "" << "";
        QTest::newRow("correction without its number") << 1 << true << 0 << "0 1" << "X" << "";
        QTest::newRow("correction of number 12") << 1 << true << 12 << "0 1" << "X" << "1 2";
    }
    void numbersOfTheApplication()
    {
        QFETCH(int, nrKolej);
        QFETCH(bool, korekta);
        QFETCH(int, nrKoryg);
        f.vzm->SetNrKolej(nrKolej);
        f.vzm->SetCel(2, korekta);
        f.vzm->SetNrKoryg(nrKoryg);
        const auto words = drukuj(1);
        const QString pole5 = (wordsAt(words, 188, 68) + u' ' + wordsAt(words, 193, 68)).trimmed();
        const QString pole7 = (wordsAt(words, 140.5, 118) + u' ' + wordsAt(words, 145.5, 118)).trimmed();
        QTEST(pole5, "pole5");
        QTEST(wordsAt(words, 108, 119), "pole67");
        QTEST(pole7, "pole7");
    }

    void limitsInTheRowOfTheirBlock_data()
    {
        QTest::addColumn<QDate>("p44");
        QTest::addColumn<double>("y47");
        QTest::newRow("31 December 2010: D.3.1") << QDate(2010, 12, 31) << 143.0;
        QTest::newRow("1 January 2011: D.3.2") << QDate(2011, 1, 1) << 143 + 46.5;
        QTest::newRow("no date: D.3.2") << QDate() << 143 + 46.5;
    }
    void limitsInTheRowOfTheirBlock()
    {
        QFETCH(QDate, p44);
        QFETCH(double, y47);
        f.vzm->SetP44(p44);
        f.vzm->SetP45(kwota("4 000,00"));
        f.vzm->Przelicz();
        QVERIFY(f.vzm->GetDruk(47));
        const auto words = drukuj(2);
        const QString limit = Kwota2(f.vzm->GetPole(47));
        const PdfWord last = findWord(words, limit.section(QChar(0xa0), -1).section(u' ', -1));
        // The amount ends at 197 mm on the row of its block.
        QVERIFY2(qAbs(last.mm.right() - 197) < 0.3, qPrintable(QString::number(last.mm.right())));
        QVERIFY2(qAbs(last.mm.top() - y47) < 0.3, qPrintable(QString::number(last.mm.top())));
        QCOMPARE(wordsAt(words, 153, 83), p44.isValid() ? p44.toString(QStringLiteral("dd")).left(1) : QString());
    }

    void priceAlwaysPrinted()
    {
        const auto words = drukuj(2);
        const PdfWord zero = findWord(words, QStringLiteral("0,00"));
        QVERIFY(qAbs(zero.mm.right() - 197) < 0.3 && qAbs(zero.mm.top() - 101) < 0.3);
    }

    void accounts_data()
    {
        QTest::addColumn<QString>("konto");
        QTest::addColumn<double>("trzeciaCyfra");
        QTest::newRow("26 digits in groups") << KontoPoprawne << 37 + 12.0;
        QTest::newRow("stored with spaces") << "61 1090 1014 0000 0712 1981 2874" << 37 + 3 * 5.25;
    }
    void accounts()
    {
        QFETCH(QString, konto);
        QFETCH(double, trzeciaCyfra);
        f.vzm->SetKonto(konto);
        QCOMPARE(wordsAt(drukuj(3), trzeciaCyfra, 235.5), konto.remove(u' ').mid(2, 1));
    }

    void notesAsTyped()
    {
        f.vzm->P56 = QStringList{QStringLiteral("wymiana okien w łazience"), QStringLiteral("i kuchni")};
        f.vzm->P65 = QStringList{QStringLiteral("Dodatkowe informacje")};
        const auto words3 = drukuj(3);
        QCOMPARE(wordsAt(words3, 20, 54.5), QStringLiteral("wymiana"));
        const PdfWord i = findWord(words3, QStringLiteral("i"));
        QVERIFY(qAbs(i.mm.left() - 20) < 0.3 && i.mm.top() > 55);
        QCOMPARE(wordsAt(drukuj(4), 20, 43.5), QStringLiteral("Dodatkowe"));
    }

    void calibrationNumbersEveryField()
    {
        const auto words = druk->kalibruj(*nadruk, 1);
        QStringList numbers;
        for (const PdfWord &w : words)
            numbers << w.text;
        for (int pole : NadrukWniosku::PolaStrony(1))
            QVERIFY2(numbers.contains(QString::number(pole)), qPrintable(QString::number(pole)));
        // The number stands just right of and below its field's point.
        const PdfWord surname = findWord(words, QStringLiteral("9"));
        QVERIFY(qAbs(surname.mm.left() - 21) < 0.3 && qAbs(surname.mm.top() - 160.5) < 0.3);
    }

    // The crosses of the limits 47 to 50 stand where the limits print: in
    // the second block (46.5 mm lower) for a first application of 2011 on.
    void calibrationOfTheLimitsFollowsTheirBlock_data() { limitsInTheRowOfTheirBlock_data(); }
    void calibrationOfTheLimitsFollowsTheirBlock()
    {
        QFETCH(QDate, p44);
        QFETCH(double, y47);
        f.vzm->SetP44(p44);
        f.vzm->SetP45(kwota("4 000,00"));
        f.vzm->Przelicz();
        const PdfWord limit = findWord(drukuj(2), Kwota2(f.vzm->GetPole(47)).section(QChar(0xa0), -1).section(u' ', -1));
        const PdfWord krzyzyk = findWord(druk->kalibruj(*nadruk, 2), QStringLiteral("47"));
        QVERIFY2(!krzyzyk.text.isEmpty(), "field 47 is numbered");
        // The number stands half a millimetre under the cross, the cross at the amount's line.
        QVERIFY2(qAbs(krzyzyk.mm.top() - 0.5 - y47) < 0.3, qPrintable(QString::number(krzyzyk.mm.top())));
        QVERIFY2(qAbs(krzyzyk.mm.top() - 0.5 - limit.mm.top()) < 0.3, qPrintable(QString::number(limit.mm.top())));
    }

    // The program's printer prints at the device's own resolution: on a PDF
    // printer of 600 dpi, or of its own (1200 dpi), every item lands within
    // a twentieth of a millimetre of its point, not on the screen's 0.26 mm
    // grid (where the surname, at 19.5 mm, would land 0.08 mm off).
    void printsAtTheDevicesResolution_data()
    {
        QTest::addColumn<int>("dpi"); // 0: the printer's own
        QTest::newRow("600 dpi") << 600;
        QTest::newRow("the PDF printer's own") << 0;
    }
    void printsAtTheDevicesResolution()
    {
        QFETCH(int, dpi);
        Drukarka drukarka;
        QVERIFY2(drukarka.printer().resolution() >= 600, qPrintable(QString::number(drukarka.printer().resolution())));
        if (dpi > 0)
            drukarka.printer().setResolution(dpi);
        drukarka.printer().setFullPage(true);
        const QString plik = druk->katalog.filePath(QStringLiteral("rozdzielczosc.pdf"));
        drukarka.DrukujDoPliku(plik);
        NadrukWniosku strony(drukarka, f.db->dm, *f.vzm);
        strony.Drukuj(1);
        const QList<PdfWord> words = pdfWords(plik);
        for (int pole : {6, 9, 13, 14}) {
            const PunktPola p = PunktZTabeli(WspVzm1, pole);
            const auto blisko = std::find_if(words.begin(), words.end(), [&](const PdfWord &w) {
                return qAbs(w.mm.left() - p.x) < 0.05 && qAbs(w.mm.top() - p.y) < 0.05;
            });
            QVERIFY2(blisko != words.end(), qPrintable(QStringLiteral("field %1 at %2, %3: %4")
                                                           .arg(pole).arg(p.x).arg(p.y).arg(wordsAt(words, p.x, p.y, 0.5))));
        }
    }
};

QTEST_MAIN(TestNadrukWniosku)
#include "tst_nadrukwniosku.moc"
