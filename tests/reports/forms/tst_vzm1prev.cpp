// The four printed pages of a VZM-1 application, read back from the PDF the
// report engine exports: what each box prints, and that every item of data
// lands where the overprint puts it on the official form.

#include "core/common.h"
#include "core/settingsfile.h"
#include "overprint/drukdopdf.h"
#include "overprint/fontform.h"
#include "overprint/nadrukwniosku.h"
#include "overprint/prn.h"
#include "overprint/wspolrzedne.h"
#include "reports/forms/vzm1_1prev.h"
#include "reports/forms/vzm1_2prev.h"
#include "reports/forms/vzm1_3prev.h"
#include "reports/forms/vzm1_4prev.h"
#include "reports/engine/qrcomposite.h"
#include "support/formdata.h"
#include "support/pdfwords.h"

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <map>

using namespace Qt::StringLiterals;

namespace {

// How a printed item is tied to its point: texts and digits start at it,
// amounts end at it, centred texts lie in their box to the right of it.
enum class Kotwica { Lewa, Prawa, Srodek };

constexpr double Tolerancja = 1.0; // mm

struct Wydruk
{
    QList<PdfWord> strony[4];
};

QString normalny(QString tekst)
{
    return tekst.replace(QChar(0x00A0), u' ').simplified();
}

// The words of a line (top within the tolerance of y), left to right.
QList<PdfWord> linia(const QList<PdfWord> &slowa, double y, double od, double doX, double wPionie = Tolerancja)
{
    QList<PdfWord> wynik;
    for (const PdfWord &s : slowa)
        if (qAbs(s.mm.top() - y) <= wPionie && s.mm.left() >= od - Tolerancja && s.mm.right() <= doX + Tolerancja)
            wynik << s;
    std::sort(wynik.begin(), wynik.end(), [](const PdfWord &a, const PdfWord &b) { return a.mm.left() < b.mm.left(); });
    return wynik;
}


QString tekstLinii(const QList<PdfWord> &slowa)
{
    QStringList teksty;
    for (const PdfWord &s : slowa)
        teksty << s.text;
    return normalny(teksty.join(u' '));
}

QString opisSlow(const QList<PdfWord> &slowa, double x, double y)
{
    QStringList blisko;
    for (const PdfWord &s : slowa)
        if (qAbs(s.mm.top() - y) < 6 && qAbs(s.mm.left() - x) < 40)
            blisko << u"%1@(%2,%3)-%4"_s.arg(s.text).arg(s.mm.left(), 0, 'f', 1).arg(s.mm.top(), 0, 'f', 1)
                          .arg(s.mm.right(), 0, 'f', 1);
    return blisko.join(u"; ");
}

// A field's point, moved where the overprint adds a distance of its own
// (the PESEL line, the second block of limits, the groups of the account).
PunktPola punkt(int pole, double nizej = 0, double dalej = 0)
{
    const PunktPola p = PunktZTabeli(WspVzm1, pole);
    return {float(p.x + dalej), float(p.y + nizej)};
}

int polePozycji(int pozycja)
{
    return pozycja + 6;
}

// A data box of the full application: the page, the field whose point it
// belongs to (moved where the overprint adds a distance of its own), how
// the datum is tied to the point and the word it prints (a comb: its first
// character; an amount: empty, the amount is the model's).
struct PoleDanych
{
    QString nazwa;
    int strona = 1;
    int pole = 0;
    double nizej = 0;
    double dalej = 0;
    Kotwica kotwica = Kotwica::Lewa;
    QString tekst;
};

QList<PoleDanych> polaDanych()
{
    QList<PoleDanych> pola;
    const auto wiersz = [&](const QString &nazwa, int strona, int pole, const QString &tekst,
                            Kotwica kotwica = Kotwica::Lewa, double nizej = 0) {
        pola << PoleDanych{nazwa, strona, pole, nizej, 0, kotwica, tekst};
    };
    wiersz(u"1 NIP"_s, 1, 1, u"1"_s);
    wiersz(u"1 PESEL"_s, 1, 1, u"4"_s, Kotwica::Lewa, 8);
    wiersz(u"2 NIP"_s, 1, 2, u"5"_s);
    wiersz(u"2 PESEL"_s, 1, 2, u"0"_s, Kotwica::Lewa, 8);
    wiersz(u"5 NrKolej"_s, 1, 5, u"0"_s);
    wiersz(u"6 Urzad"_s, 1, 6, u"URZĄD"_s);
    wiersz(u"7 NrKoryg"_s, 1, 7, u"1"_s);
    wiersz(u"9 Nazwisko"_s, 1, 9, u"ŻÓŁKIEWSKI"_s);
    wiersz(u"10 Imie"_s, 1, 10, u"ŁUKASZ"_s);
    wiersz(u"11 Dokument"_s, 1, 11, u"DOWÓD"_s);
    wiersz(u"12 Kraj"_s, 1, 12, u"POLSKA"_s);
    wiersz(u"13 Wojew"_s, 1, 13, u"MAŁOPOLSKIE"_s);
    wiersz(u"14 Powiat"_s, 1, 14, u"KRAKOWSKI"_s);
    wiersz(u"15 Gmina"_s, 1, 15, u"KRAKÓW"_s);
    wiersz(u"16 Ulica"_s, 1, 16, u"DŁUGA"_s);
    wiersz(u"17 Posesja"_s, 1, 17, u"5"_s, Kotwica::Srodek);
    wiersz(u"18 Lokal"_s, 1, 18, u"2"_s, Kotwica::Srodek);
    wiersz(u"19 Miasto"_s, 1, 19, u"KRAKÓW"_s);
    wiersz(u"20 KodPoczt"_s, 1, 20, u"31-147"_s, Kotwica::Srodek);
    wiersz(u"21 Poczta"_s, 1, 21, u"KRAKÓW"_s);
    wiersz(u"22 MNazwisko"_s, 1, 22, u"ŻÓŁKIEWSKA"_s);
    wiersz(u"23 MImie"_s, 1, 23, u"ŁUCJA"_s);
    wiersz(u"24 MDokument"_s, 1, 24, u"PASZPORT"_s);
    wiersz(u"25 MKraj"_s, 1, 25, u"NIEMCY"_s);
    wiersz(u"26 MWojew"_s, 1, 26, u"ŚLĄSKIE"_s);
    wiersz(u"27 MPowiat"_s, 1, 27, u"GLIWICKI"_s);
    wiersz(u"28 MGmina"_s, 1, 28, u"GLIWICE"_s);
    wiersz(u"29 MUlica"_s, 1, 29, u"ŹRÓDLANA"_s);
    wiersz(u"30 MPosesja"_s, 1, 30, u"12A"_s, Kotwica::Srodek);
    wiersz(u"31 MLokal"_s, 1, 31, u"7"_s, Kotwica::Srodek);
    wiersz(u"32 MMiasto"_s, 1, 32, u"GLIWICE"_s);
    wiersz(u"33 MKodPoczt"_s, 1, 33, u"44-100"_s, Kotwica::Srodek);
    wiersz(u"34 MPoczta"_s, 1, 34, u"GLIWICE"_s);
    wiersz(u"35 P41"_s, 2, 41, u"2"_s);
    wiersz(u"36 P42"_s, 2, 42, u"2"_s);
    wiersz(u"37 P43"_s, 2, 43, u"2"_s);
    wiersz(u"38 P44"_s, 2, 44, u"0"_s);
    for (int pozycja : {39, 41, 42, 43, 44, 45, 46, 47, 48})
        wiersz(u"%1 amount"_s.arg(pozycja), 2, polePozycji(pozycja), QString(), Kotwica::Prawa);
    wiersz(u"49 Zwrot"_s, 3, 55, QString(), Kotwica::Prawa);
    wiersz(u"50 P56"_s, 3, 56, u"wymiana"_s);
    for (int g = 0; g < 7; ++g)
        pola << PoleDanych{u"52 account group %1"_s.arg(g + 1), 3, 77, 0, double(TPrn::AccountGroups[std::size_t(g)]),
                           Kotwica::Lewa, KontoPoprawne.mid(g == 0 ? 0 : 4 * g - 2, 1)};
    for (int pozycja = 53; pozycja <= 58; ++pozycja)
        wiersz(u"%1 count"_s.arg(pozycja), 3, polePozycji(pozycja), QString(), Kotwica::Prawa);
    wiersz(u"59 P65"_s, 4, 65, u"adres"_s);
    return pola;
}

} // namespace

Q_DECLARE_METATYPE(PoleDanych)

class TestVzm1Prev : public QObject
{
    Q_OBJECT

    TaxpayerModelFixture f;
    QTemporaryDir katalog;

    TVzm_3 &vzm() { return *f.vzm; }

    Wydruk drukuj()
    {
        TVzm1_1Prev s1(vzm());
        TVzm1_2Prev s2(vzm());
        TVzm1_3Prev s3(vzm());
        TVzm1_4Prev s4(vzm());
        TQRComposite raport;
        for (TQRReport *r : {&s1.Report, &s2.Report, &s3.Report, &s4.Report})
            raport.Add(*r);
        const QString plik = katalog.filePath(u"vzm1.pdf"_s);
        if (!raport.ExportPdf(plik))
            qFatal("the PDF was not written");
        keepPdf(plik, u"vzm1-%1pt"_s.arg(printSettings().FontSize));
        Wydruk w;
        for (int i = 0; i < 4; ++i)
            w.strony[i] = pdfWords(plik, i + 1);
        return w;
    }

    // One page of the overprint of the same application, as the program's
    // printer prints it into a PDF file.
    QList<PdfWord> nadrukuj(int strona)
    {
        DrukDoPdf pdf;
        NadrukWniosku nadruk(pdf.drukarka, f.db->dm, vzm());
        return pdf.drukuj(nadruk, strona);
    }

    // What is wrong with a data box on its page, or nothing: its word
    // where it belongs, within the tolerance across and `wPionie` down.
    QString sprawdzPole(const QList<PdfWord> &slowa, const PoleDanych &pole, double tolerancja,
                        double wPionie = Tolerancja)
    {
        const PunktPola p = punkt(pole.pole, pole.nizej, pole.dalej);
        const QString gdzie = opisSlow(slowa, p.x, p.y);
        if (pole.kotwica == Kotwica::Prawa) {
            // Amounts and counts: the words of the line that ends at the point,
            // the refund and the counts in whole numbers.
            const Money wartosc = vzm().GetPole(pole.pole);
            if (!(wartosc > Money()))
                return u"the full application has every amount and count"_s;
            const QString oczekiwany = normalny(pole.pole >= 55 ? Kwota0(wartosc) : Kwota2(wartosc));
            // Any line near the point whose words end at it and read the amount.
            for (const PdfWord &s : slowa) {
                if (qAbs(s.mm.top() - p.y) > wPionie)
                    continue;
                const QList<PdfWord> kwota = linia(slowa, s.mm.top(), p.x - 45, p.x, 0.3);
                if (!kwota.isEmpty() && tekstLinii(kwota) == oczekiwany
                    && qAbs(kwota.back().mm.right() - p.x) <= tolerancja)
                    return {};
            }
            return u"%1 expected; %2"_s.arg(oczekiwany, gdzie);
        }
        // A comb's digits may read back as one word in a large font.
        const auto trafia = [&](const PdfWord &s) {
            if (qAbs(s.mm.top() - p.y) > wPionie || !s.text.startsWith(pole.tekst))
                return false;
            if (pole.kotwica == Kotwica::Lewa)
                return qAbs(s.mm.left() - p.x) <= tolerancja;
            return s.mm.left() >= p.x - tolerancja && s.mm.left() <= p.x + 20;
        };
        return std::any_of(slowa.begin(), slowa.end(), trafia) ? QString() : u"%1 expected; %2"_s.arg(pole.tekst, gdzie);
    }

    // One page drawn straight into a picture, `dpi` dots per inch.
    template <class Strona>
    QImage obraz(int dpi)
    {
        Strona strona(vzm());
        const double pikseli = dpi / 25.4;
        QImage obraz(qRound(210 * pikseli), qRound(297 * pikseli), QImage::Format_RGB32);
        obraz.setDotsPerMeterX(qRound(dpi / 0.0254));
        obraz.setDotsPerMeterY(qRound(dpi / 0.0254));
        obraz.fill(Qt::white);
        QPainter painter(&obraz);
        strona.Report.Render(painter, TQRPageScale(dpi, dpi));
        return obraz;
    }

    // An application with every box of the four pages filled: personal
    // data of both spouses, invoices in the three lists, dates, price,
    // counts, the statement, the additional information, the account.
    void pelnyWniosek()
    {
        TestDatabase &db = *f.db;
        const int vzmId = db.addApplication(f.podatId, {{u"NrKolej"_s, 3}});
        db.addFurtherEntries(vzmId);
        db.addInvoice(vzmId, u"A"_s, {{u"NrFakt"_s, u"FA/1"_s}, {u"VatA"_s, kwotaV("1 500,00")}, {u"VatB"_s, kwotaV("700,00")}});
        db.addInvoice(vzmId, u"B"_s, {{u"NrFakt"_s, u"FB/1"_s}, {u"VatA"_s, kwotaV("900,00")}, {u"VatB"_s, kwotaV("300,00")}});
        db.addInvoice(vzmId, u"C"_s, {{u"NrFakt"_s, u"FC/1"_s}, {u"VatA"_s, kwotaV("400,00")}, {u"VatB"_s, kwotaV("200,00")}});
        QVERIFY(vzm().Wczytaj(f.podatId, vzmId));
        vzm().SetNrKolej(3);
        vzm().SetCel(2, true);
        vzm().SetNrKoryg(12);
        vzm().SetNip(TOsoba::Malzonek, NipMalzonka);
        vzm().SetPesel(TOsoba::Malzonek, PeselMalzonka);
        vzm().Dokument = u"dowód osobisty ABC123456 Polska"_s;
        vzm().MNazwisko = u"Żółkiewska"_s;
        vzm().MImie = u"Łucja"_s;
        vzm().MDokument = u"paszport ZX9876 Niemcy"_s;
        vzm().MKraj = u"Niemcy"_s;
        vzm().MWojew = u"śląskie"_s;
        vzm().MPowiat = u"gliwicki"_s;
        vzm().MGmina = u"Gliwice"_s;
        vzm().MUlica = u"Źródlana"_s;
        vzm().MPosesja = u"12a"_s;
        vzm().MLokal = u"7"_s;
        vzm().MMiasto = u"Gliwice"_s;
        vzm().MKodPoczt = u"44-100"_s;
        vzm().MPoczta = u"Gliwice"_s;
        vzm().SetRok(41, 2005);
        vzm().SetRok(42, 2006);
        vzm().SetRok(43, 2007);
        vzm().SetP44(QDate(2010, 3, 5));
        vzm().SetP45(kwota("3 211,00"));
        vzm().SetSztuk(59, 1);
        vzm().SetSztuk(60, 12);
        vzm().SetSztuk(61, 2);
        vzm().SetKonto(KontoPoprawne);
        vzm().P56 = QStringList{u"wymiana okien i drzwi"_s, u"malowanie ścian"_s};
        vzm().P65 = QStringList{u"adres do korespondencji: Długa 5"_s};
    }

private slots:
    void initTestCase() { QVERIFY(katalog.isValid()); }

    void init()
    {
        f.setUp();
        printSettings() = PrintSettings{false, 0, 10, u"Arial"_s};
        QVERIFY(vzm().Wczytaj(f.podatId, 0));
    }

    void cleanup() { f.tearDown(); }

    // Every item of data of a full application stands where the overprint
    // puts it on the official form: within a millimetre of its point.
    void daneNaPunktachNadruku_data()
    {
        QTest::addColumn<PoleDanych>("pole");
        for (const PoleDanych &p : polaDanych())
            QTest::newRow(qPrintable(p.nazwa)) << p;
    }

    void daneNaPunktachNadruku()
    {
        QFETCH(PoleDanych, pole);
        pelnyWniosek();
        const Wydruk w = drukuj();
        const QString blad = sprawdzPole(w.strony[pole.strona - 1], pole, Tolerancja);
        QVERIFY2(blad.isEmpty(), qPrintable(blad));
    }

    // At every size of the print font the options offer, every data box of
    // the four pages prints its datum near its point: a taller font raises
    // the top of a comb and of a box's text, never drops them.
    void kazdyRozmiarCzcionki_data()
    {
        QTest::addColumn<int>("rozmiar");
        for (int rozmiar = TFontForm::NajmniejszyRozmiar; rozmiar <= TFontForm::NajwiekszyRozmiar; ++rozmiar)
            QTest::addRow("%d pt", rozmiar) << rozmiar;
    }

    void kazdyRozmiarCzcionki()
    {
        QFETCH(int, rozmiar);
        pelnyWniosek();
        printSettings().FontSize = rozmiar;
        const Wydruk w = drukuj();
        QStringList bledy;
        for (const PoleDanych &pole : polaDanych()) {
            // Across, as at the default size; down, the taller line may rise.
            const QString blad = sprawdzPole(w.strony[pole.strona - 1], pole, Tolerancja, 3.0);
            if (!blad.isEmpty())
                bledy << pole.nazwa + u": "_s + blad;
        }
        QVERIFY2(bledy.isEmpty(), qPrintable(bledy.join(u'\n')));
    }

    // Every character of a comb stands within a millimetre of where the
    // overprint puts the same character, read back from both printouts.
    void grzebienieZnakPoZnaku_data()
    {
        QTest::addColumn<int>("strona");
        QTest::addColumn<int>("pole");
        QTest::addColumn<double>("nizej");
        QTest::addColumn<double>("szerokosc"); // of the comb's line, mm
        QTest::newRow("1 NIP") << 1 << 1 << 0.0 << 60.0;
        QTest::newRow("1 PESEL") << 1 << 1 << 8.0 << 60.0;
        QTest::newRow("2 NIP") << 1 << 2 << 0.0 << 60.0;
        QTest::newRow("2 PESEL") << 1 << 2 << 8.0 << 60.0;
        QTest::newRow("5 NrKolej") << 1 << 5 << 0.0 << 10.0;
        QTest::newRow("7 NrKoryg") << 1 << 7 << 0.0 << 10.0;
        QTest::newRow("35 year") << 2 << 41 << 0.0 << 20.0;
        QTest::newRow("36 year") << 2 << 42 << 0.0 << 20.0;
        QTest::newRow("37 year") << 2 << 43 << 0.0 << 20.0;
        QTest::newRow("38 date") << 2 << 44 << 0.0 << 45.0;
        QTest::newRow("52 account") << 3 << 77 << 0.0 << 160.0;
    }

    void grzebienieZnakPoZnaku()
    {
        QFETCH(int, strona);
        QFETCH(int, pole);
        QFETCH(double, nizej);
        QFETCH(double, szerokosc);
        pelnyWniosek();
        vzm().SetNip(TOsoba::Podatnik, u"123-45-63-218"_s); // grouped as a company's: the dashes elsewhere
        const QList<PdfWord> wydruk = drukuj().strony[strona - 1];
        const QList<PdfWord> nadruk = nadrukuj(strona);
        const PunktPola p = punkt(pole, nizej);
        const QList<PdfWord> znakiNadruku = linia(nadruk, p.y, p.x, p.x + szerokosc);
        QVERIFY2(znakiNadruku.size() >= 2, qPrintable(opisSlow(nadruk, p.x, p.y)));
        const QList<PdfWord> znakiWydruku = combCharacters(linia(wydruk, p.y, p.x, p.x + szerokosc));
        QCOMPARE(tekstLinii(znakiWydruku), tekstLinii(znakiNadruku));
        QStringList odchylenia;
        double najwieksze = 0;
        for (qsizetype i = 0; i < znakiNadruku.size(); ++i) {
            const double o = znakiWydruku[i].mm.left() - znakiNadruku[i].mm.left();
            najwieksze = std::max(najwieksze, qAbs(o));
            odchylenia << u"%1 %2"_s.arg(znakiNadruku[i].text).arg(o, 0, 'f', 2);
        }
        QVERIFY2(najwieksze <= Tolerancja, qPrintable(odchylenia.join(u", ")));
    }

    // A year outside what the form's year boxes hold, and a number of more
    // than two digits, print nowhere: not a default, not a part of it, on
    // neither printout; one that fits prints on both.
    void wartosciPozaPolem_data()
    {
        QTest::addColumn<int>("rok");
        QTest::addColumn<int>("numer");
        QTest::addColumn<QString>("wydrukRoku");
        QTest::addColumn<QString>("wydrukNumeru");
        QTest::newRow("2005, 7") << 2005 << 7 << u"2 0 0 5"_s << u"0 7"_s;
        QTest::newRow("2099, 99") << 2099 << 99 << u"2 0 9 9"_s << u"9 9"_s;
        QTest::newRow("2100, 100") << 2100 << 100 << QString() << QString();
        QTest::newRow("1850, 250") << 1850 << 250 << QString() << QString();
        QTest::newRow("1900, 1000") << 1900 << 1000 << QString() << QString();
    }

    void wartosciPozaPolem()
    {
        QFETCH(int, rok);
        QFETCH(int, numer);
        QFETCH(QString, wydrukRoku);
        QFETCH(QString, wydrukNumeru);
        vzm().SetRok(41, rok);
        vzm().SetNrKolej(numer);
        const Wydruk w = drukuj();
        const PunktPola p35 = punkt(41);
        const PunktPola p5 = punkt(5);
        QCOMPARE(tekstLinii(linia(w.strony[1], p35.y, p35.x, p35.x + 20)), wydrukRoku);
        QCOMPARE(tekstLinii(linia(nadrukuj(2), p35.y, p35.x, p35.x + 20)), wydrukRoku);
        QCOMPARE(tekstLinii(linia(w.strony[0], p5.y, p5.x, p5.x + 10)), wydrukNumeru);
        QCOMPARE(tekstLinii(linia(nadrukuj(1), p5.y, p5.x, p5.x + 10)), wydrukNumeru);
    }

    // The limits stand in the block of the first application's date; the
    // other block's four boxes stay empty.
    void limityWBlokachD3_data()
    {
        QTest::addColumn<QDate>("pierwszy");
        QTest::addColumn<bool>("wD31");
        QTest::newRow("31-12-2010: D.3.1") << QDate(2010, 12, 31) << true;
        QTest::newRow("01-01-2011: D.3.2") << QDate(2011, 1, 1) << false;
        QTest::newRow("no date: D.3.2") << QDate() << false;
    }

    void limityWBlokachD3()
    {
        QFETCH(QDate, pierwszy);
        QFETCH(bool, wD31);
        vzm().SetP44(pierwszy);
        vzm().SetP45(kwota("3 000,00"));
        QCOMPARE(vzm().IsD31(), wD31);
        const QList<PdfWord> strona = drukuj().strony[1];
        for (int pole = 47; pole <= 50; ++pole) {
            const PunktPola d31 = punkt(pole);
            const PunktPola d32 = punkt(pole, 46.5);
            const QString limit = normalny(Kwota2(vzm().GetPole(pole)));
            QCOMPARE(tekstLinii(linia(strona, d31.y, d31.x - 45, d31.x)), wD31 ? limit : QString());
            QCOMPARE(tekstLinii(linia(strona, d32.y, d32.x - 45, d32.x)), wD31 ? QString() : limit);
        }
    }

    // Box 5 and the number after "2. korekta wniosku o nr" keep their comb
    // alone for a number 0.
    void numeryWniosku_data()
    {
        QTest::addColumn<int>("nrKolej");
        QTest::addColumn<int>("nrKoryg");
        QTest::addColumn<QString>("pole5");
        QTest::addColumn<QString>("pole7");
        QTest::newRow("first application, no correction") << 0 << 0 << QString() << QString();
        QTest::newRow("third application") << 3 << 0 << u"0 3"_s << QString();
        QTest::newRow("correction of the 12th") << 0 << 12 << QString() << u"1 2"_s;
    }

    void numeryWniosku()
    {
        QFETCH(int, nrKolej);
        QFETCH(int, nrKoryg);
        QFETCH(QString, pole5);
        QFETCH(QString, pole7);
        vzm().SetNrKolej(nrKolej);
        vzm().SetCel(2, true);
        vzm().SetNrKoryg(nrKoryg);
        const QList<PdfWord> strona = drukuj().strony[0];
        const PunktPola p5 = punkt(5);
        const PunktPola p7 = punkt(7);
        QCOMPARE(tekstLinii(linia(strona, p5.y, p5.x, p5.x + 11)), pole5);
        QCOMPARE(tekstLinii(linia(strona, p7.y, p7.x, p7.x + 9)), pole7);
    }

    // Counts of 53 to 55 only when there are documents; the attachments of
    // 56 to 58 always, 0 included.
    void liczbyZalacznikow()
    {
        const QList<PdfWord> strona = drukuj().strony[2];
        for (int pole = 59; pole <= 64; ++pole) {
            const PunktPola p = punkt(pole);
            QCOMPARE(tekstLinii(linia(strona, p.y, p.x - 14, p.x)), pole <= 61 ? QString() : u"0"_s);
        }
    }

    // The account in seven combs, 2 + 6 × 4, as far as it goes.
    void konto_data()
    {
        QTest::addColumn<QString>("konto");
        QTest::addColumn<QString>("wydruk");
        QTest::newRow("26 digits") << KontoPoprawne << u"6 1 1 0 9 0 1 0 1 4 0 0 0 0 0 7 1 2 1 9 8 1 2 8 7 4"_s;
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("10 characters") << u"1234567890"_s << u"1 2 3 4 5 6 7 8 9 0"_s;
    }

    void konto()
    {
        QFETCH(QString, konto);
        QFETCH(QString, wydruk);
        vzm().SetKonto(konto);
        const PunktPola p = punkt(77);
        const QList<PdfWord> cyfry = linia(drukuj().strony[2], p.y, p.x, 200);
        QCOMPARE(tekstLinii(cyfry), wydruk);
        // Each group starts at its own comb: the third group of a short
        // account holds characters 7 to 10, and nothing stands after it.
        for (qsizetype i = 0; i < cyfry.size(); ++i) {
            const int grupa = i < 2 ? 0 : int(i + 2) / 4;
            const int wGrupie = i < 2 ? int(i) : int(i + 2) % 4;
            const double x = p.x + TPrn::AccountGroups[std::size_t(grupa)] + wGrupie * 5.25;
            QVERIFY2(qAbs(cyfry[i].mm.left() - x) <= Tolerancja, qPrintable(opisSlow(cyfry, x, p.y)));
        }
    }

    // The refund in whole złoty with the thousands separator; 0 prints.
    void zwrot_data()
    {
        QTest::addColumn<QByteArray>("vatA");
        QTest::addColumn<QString>("wydruk");
        QTest::newRow("no invoices") << QByteArray() << u"0"_s;
        QTest::newRow("55,23% of 2 234,29") << QByteArray("2 234,29") << u"1 234"_s;
    }

    void zwrot()
    {
        QFETCH(QByteArray, vatA);
        QFETCH(QString, wydruk);
        if (!vatA.isEmpty()) {
            const int vzmId = f.db->addApplication(f.podatId);
            f.db->addFurtherEntries(vzmId);
            f.db->addInvoice(vzmId, u"A"_s, {{u"NrFakt"_s, u"FA/1"_s}, {u"VatA"_s, kwotaV(vatA.constData())}});
            QVERIFY(vzm().Wczytaj(f.podatId, vzmId));
            vzm().SetP45(kwota("3 000,00"));
        }
        const PunktPola p = punkt(55);
        const QList<PdfWord> kwota = linia(drukuj().strony[2], p.y, p.x - 45, p.x);
        QCOMPARE(tekstLinii(kwota), wydruk);
        QVERIFY(qAbs(kwota.back().mm.right() - p.x) <= Tolerancja);
    }

    // "Drukuj cieniowania": section frames, row captions and the tax
    // office's boxes light grey, every box the taxpayer fills white.
    void cieniowanie_data()
    {
        QTest::addColumn<int>("strona");
        QTest::addColumn<QPointF>("mm");
        QTest::addColumn<bool>("cieniowany");
        QTest::newRow("1: box 3, tax office") << 1 << QPointF(80, 37.5) << true;
        QTest::newRow("1: box 4, tax office") << 1 << QPointF(180, 37.5) << true;
        QTest::newRow("1: margin of section A") << 1 << QPointF(10, 120) << true;
        QTest::newRow("1: block B.1") << 1 << QPointF(150, 152) << true;
        QTest::newRow("1: box 9") << 1 << QPointF(80, 157.5) << false;
        QTest::newRow("1: box 6") << 1 << QPointF(150, 106.5) << false;
        QTest::newRow("2: row caption 37") << 2 << QPointF(140, 52) << true;
        QTest::newRow("2: box 40 of D.3.1") << 2 << QPointF(190, 133) << true;
        QTest::newRow("2: box 40 of D.3.2") << 2 << QPointF(190, 179.5) << true;
        QTest::newRow("2: box 41") << 2 << QPointF(170, 141) << false;
        QTest::newRow("3: statement 50") << 3 << QPointF(100, 150) << false;
        QTest::newRow("3: row caption 49") << 3 << QPointF(130, 33) << true;
        QTest::newRow("4: box 62") << 4 << QPointF(100, 201) << true;
        QTest::newRow("4: box 64") << 4 << QPointF(190, 212) << true;
        QTest::newRow("4: box 60") << 4 << QPointF(60, 180) << false;
        QTest::newRow("4: box 61") << 4 << QPointF(150, 180) << false;
    }

    void cieniowanie()
    {
        QFETCH(int, strona);
        QFETCH(QPointF, mm);
        QFETCH(bool, cieniowany);
        const int dpi = 50;
        for (bool cien : {false, true}) {
            printSettings().Cien = cien;
            const QImage obrazy[] = {obraz<TVzm1_1Prev>(dpi), obraz<TVzm1_2Prev>(dpi), obraz<TVzm1_3Prev>(dpi),
                                     obraz<TVzm1_4Prev>(dpi)};
            const QColor kolor = obrazy[strona - 1].pixelColor((mm * dpi / 25.4).toPoint());
            QCOMPARE(kolor, cien && cieniowany ? QColor(235, 235, 235) : QColor(Qt::white));
        }
    }

    // A tick box crosses itself when its value is set, where the overprint
    // puts its "X".
    void kwadraty_data()
    {
        QTest::addColumn<int>("pozycja");
        QTest::addColumn<int>("ktory");
        QTest::addColumn<int>("pole"); // the overprint's field of its "X"
        int pole = 66;
        for (const auto &[pozycja, kwadratow] : {std::pair{7, 2}, {8, 3}, {51, 3}, {52, 3}})
            for (int ktory = 1; ktory <= kwadratow; ++ktory)
                QTest::addRow("%d.%d", pozycja, ktory) << pozycja << ktory << pole++;
    }

    void kwadraty()
    {
        QFETCH(int, pozycja);
        QFETCH(int, ktory);
        QFETCH(int, pole);
        const std::map<int, void (TVzm_3::*)(int, bool)> ustaw{
            {7, &TVzm_3::SetCel}, {8, &TVzm_3::SetP8}, {51, &TVzm_3::SetP57}, {52, &TVzm_3::SetP58}};
        const int dpi = 300;
        const auto ciemnych = [&](bool zaznaczony) {
            vzm().SetCel(1, false); // a new application comes with box 7.1 ticked
            (vzm().*ustaw.at(pozycja))(ktory, zaznaczony);
            const QImage o = pozycja <= 8 ? obraz<TVzm1_1Prev>(dpi) : obraz<TVzm1_3Prev>(dpi);
            // A square millimetre around the middle of the overprint's "X".
            const PunktPola p = punkt(pole);
            const QPoint srodek = (QPointF(p.x + 1.2, p.y + 2.0) * dpi / 25.4).toPoint();
            const int pol = dpi / 50;
            int n = 0;
            for (int x = srodek.x() - pol; x <= srodek.x() + pol; ++x)
                for (int y = srodek.y() - pol; y <= srodek.y() + pol; ++y)
                    n += qGray(o.pixel(x, y)) < 128;
            return n;
        };
        QCOMPARE(ciemnych(false), 0);
        QVERIFY(ciemnych(true) > 0);
    }

    // The print font reaches every data box of the four pages, and nothing
    // else: captions, fixed texts and counts keep the form's fonts.
    void czcionkaDruku_data()
    {
        QTest::addColumn<int>("strona");
        QTest::addColumn<QString>("dane");
        QTest::addColumn<QString>("staly");
        QTest::newRow("1: surname, caption") << 1 << u"ŻÓŁKIEWSKI"_s << u"Nazwisko"_s;
        QTest::newRow("1: NIP comb, heading") << 1 << u"4"_s << u"POLTAX"_s;
        QTest::newRow("2: price, row text") << 2 << u"211,00"_s << u"Remont"_s;
        QTest::newRow("3: statement, count") << 3 << u"wymiana"_s << u"12"_s;
        QTest::newRow("3: refund, unit") << 3 << u"wymiana"_s << u"szt."_s;
        QTest::newRow("4: additional information, footnote") << 4 << u"korespondencji:"_s << u"separację."_s;
    }

    void czcionkaDruku()
    {
        QFETCH(int, strona);
        QFETCH(QString, dane);
        QFETCH(QString, staly);
        pelnyWniosek();
        const QList<PdfWord> zwykle = drukuj().strony[strona - 1];
        printSettings().FontSize = 12;
        const QList<PdfWord> wieksze = drukuj().strony[strona - 1];
        const PdfWord d10 = findWord(zwykle, dane), d12 = findWord(wieksze, dane);
        const PdfWord s10 = findWord(zwykle, staly), s12 = findWord(wieksze, staly);
        QVERIFY(!d10.text.isEmpty() && !s10.text.isEmpty());
        QVERIFY2(d12.mm.height() > d10.mm.height() * 1.15,
                 qPrintable(u"%1 → %2 mm"_s.arg(d10.mm.height()).arg(d12.mm.height())));
        QCOMPARE(qRound(s12.mm.height() * 100), qRound(s10.mm.height() * 100));
    }

    // The form's own texts, exactly as the official form words them, on
    // their pages.
    void tekstyStale()
    {
        QList<std::pair<int, QString>> teksty;
        for (int s = 1; s <= 4; ++s) {
            teksty << std::pair{s, u"POLTAX"_s};
            teksty << std::pair{s, u"KOMPUTEROWO LUB RĘCZNIE, DUŻYMI, DRUKOWANYMI LITERAMI, CZARNYM LUB NIEBIESKIM KOLOREM."_s};
        }
        teksty << std::pair{1, u"POLA JASNE WYPEŁNIA OSOBA FIZYCZNA (ODPOWIEDNIO MAŁŻONEK), POLA CIEMNE WYPEŁNIA URZĄD SKARBOWY. WYPEŁNIAĆ NA MASZYNIE,"_s};
        teksty << std::pair{1, u"WNIOSEK O ZWROT NIEKTÓRYCH WYDATKÓW"_s};
        teksty << std::pair{1, u"ZWIĄZANYCH Z BUDOWNICTWEM MIESZKANIOWYM"_s};
        teksty << std::pair{1, u"PONIESIONYCH OD DNIA 1.05.2004 r."_s};
        teksty << std::pair{1, u"(przedmiotowy wniosek nie stanowi wzoru urzędowego określanego w drodze rozporządzenia)"_s};
        teksty << std::pair{1, u"mieszkaniowym (Dz.U. Nr 177, poz.1468 z późn. zm.), zwana dalej \"ustawą\"."_s};
        teksty << std::pair{1, u"A. MIEJSCE, CEL I TRYB SKŁADANIA WNIOSKU ORAZ INFORMACJA O WNIOSKODAWCY"_s};
        teksty << std::pair{1, u"1. Identyfikator podatkowy (NIP albo numer PESEL) osoby fizycznej"_s};
        teksty << std::pair{1, u"5. Kolejny numer składanego wniosku 1)"_s};
        teksty << std::pair{1, u"7. Cel złożenia formularza (zaznaczyć właściwy kwadrat):"_s};
        teksty << std::pair{1, u"2. korekta wniosku o nr"_s};
        teksty << std::pair{1, u"2. osoba fizyczna pozostająca w związku"_s};
        teksty << std::pair{1, u"W przypadku osób, które zaznaczyły kwadrat nr 2 albo 3, należy wypełnić zarówno część B.1., jak i B.2."_s};
        teksty << std::pair{1, u"B.2. DANE MAŁŻONKA"_s};
        teksty << std::pair{1, u"11. Rodzaj i numer dokumentu tożsamości oraz kraj jego wydania"_s};
        teksty << std::pair{1, u"33. Kod pocztowy"_s};
        teksty << std::pair{1, u"(Dz.U. Nr 225, poz.1635, z późn. zm), a tym samym nie podlegają tej opłacie."_s};
        teksty << std::pair{2, u"C. INFORMACJA O RODZAJU INWESTYCJI, NA KTÓRĄ ZOSTAŁY PONIESIONE WYDATKI"_s};
        teksty << std::pair{2, u"Rok rozpoczęcia inwestycji"_s};
        teksty << std::pair{2, u"powstał lokal mieszkalny (art.3 ust.1 pkt 2 ustawy)"_s};
        teksty << std::pair{2, u"D.1. DATA ZŁOŻENIA PIERWSZEGO WNIOSKU W PIĘCIOLETNIM OKRESIE"_s};
        teksty << std::pair{2, u"Data złożenia pierwszego wniosku (dzień - miesiąc - rok)"_s};
        teksty << std::pair{2, u"D.3.2. NALEŻY WYPEŁNIĆ , JEŻELI DATA ZŁOŻENIA PIERWSZEGO WNIOSKU PRZYPADA W OKRESIE"_s};
        teksty << std::pair{2, u"70 x cena z poz.39 x 12,195%"_s};
        teksty << std::pair{2, u"70 x cena z poz.39 x 12,295%"_s};
        teksty << std::pair{2, u"65,22% sumy kwot z kolumny 6 załącznika/ów VZM -1/C"_s};
        teksty << std::pair{3, u"D.5. KWOTA ZWROTU PO OGRANICZENIU LIMITAMI"_s};
        teksty << std::pair{3, u"50. Oświadczam/y, że zakres przeprowadzonego remontu był następujący:"_s};
        teksty << std::pair{3, u"3. za pośrednictwem banku lub spółdzielczej kasy oszczędnościowo-kredytowej"_s};
        teksty << std::pair{3, u"w części B.2 - w przypadku wspólnego"_s};
        teksty << std::pair{3, u"G. INFORMACJA O ZAŁĄCZNIKACH"_s};
        teksty << std::pair{3, u"budowę (art.5 ust.5 pkt 1 ustawy)"_s};
        teksty << std::pair{4, u"H. DODATKOWE INFORMACJE"_s};
        teksty << std::pair{4, u"w tych załącznikach); dodatkowo w części tej można podać swój numer telefonu, faksu lub adres e-mail)."_s};
        teksty << std::pair{4, u"60. Podpis osoby fizycznej"_s};
        teksty << std::pair{4, u"64. Podpis przyjmującego formularz"_s};
        teksty << std::pair{4, u"publikowanego w Dzienniku Urzędowym GUS."_s};
        teksty << std::pair{4, u"8) W celu określenia zakresu remontu należy posłużyć się wykazem robót zaliczonych do remontu budynku lub lokalu mieszkalnego stanowiącym"_s};

        const Wydruk wydruk = drukuj();
        QStringList brak;
        for (const auto &[strona, tekst] : teksty)
            if (!tekstLinii(wydruk.strony[strona - 1]).contains(normalny(tekst)))
                brak << u"%1: %2"_s.arg(strona).arg(tekst);
        QVERIFY2(brak.isEmpty(), qPrintable(brak.join(u'\n')));
    }
};

QTEST_MAIN(TestVzm1Prev)
#include "tst_vzm1prev.moc"
