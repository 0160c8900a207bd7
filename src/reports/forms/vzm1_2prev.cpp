#include "reports/forms/vzm1_2prev.h"

#include "vzm/formmodel.h"

namespace {

// The amount boxes end where their amounts end, a little inside the form's
// right edge; their left edges make the column of the values.
constexpr double SzerokoscKwoty = 51;
constexpr double WysokoscWiersza = 8.5;
constexpr double MiejsceRoku = 5.25;
// A date comb is 18 units wide: 9 places of two units, gaps included. The
// overprint puts the digits at 0, 5, 12, 18, 25, 30, 35 and 41 mm; the comb's
// places start at 0, 2, 5, 7, 10, 12, 14 and 16 units. A unit of a tenth of
// an inch (a whole number of dots on printers and in PDF files, so the comb
// divides it without a remainder) keeps every digit within 0.7 mm of the
// overprint's.
constexpr double MiejsceDaty = 2 * 2.54;

// Field numbers of the amounts: the position plus 6.
constexpr int PoleCeny = 45;
constexpr int PierwszyLimit = 47;
constexpr int PierwszaPrzedLimitami = 51;

// The rows of part C: the kinds of investment, each with the year it began.
struct Inwestycja
{
    int pole;
    const char *pozycja;
    std::initializer_list<const char *> opis;
};

const Inwestycja Inwestycje[] = {
    {41, "35.", {"Budowa budynku mieszkalnego (art.3 ust.1 pkt 1 ustawy)"}},
    {42, "36.",
     {"Nadbudowa lub rozbudowa budynku na cele mieszkalne lub przebudowa (przystosowanie) budynku",
      "niemieszkalnego, jego części lub pomieszczenia niemieszkalnego na cele mieszkalne, w wyniku których",
      "powstał lokal mieszkalny (art.3 ust.1 pkt 2 ustawy)"}},
    {43, "37.", {"Remont budynku mieszkalnego lub lokalu mieszkalnego (art.3 ust.1 pkt 3 ustawy)"}},
};

// The two blocks of five-year limits, one for each VAT rate; the second
// stands lower on the form by the overprint's distance between them.
struct BlokLimitow
{
    const char *symbol;
    const char *stawka;
    const char *wskaznikBC;
    double nizej;
    bool (TVzm_3::*wybrany)() const;
};

const BlokLimitow BlokiLimitow[] = {
    {"D.3.1.", "22%", "12,295%", 0, &TVzm_3::IsD31},
    {"D.3.2.", "23%", "12,195%", 46.5, &TVzm_3::IsD32},
};

QStringList Tekst(std::initializer_list<const char *> linie)
{
    QStringList tekst;
    for (const char *linia : linie)
        tekst << QString::fromUtf8(linia);
    return tekst;
}

} // namespace

TVzm1_2Prev::TVzm1_2Prev(TVzm_3 &vzm)
    : TVzm1Strona(vzm, 2)
{
    DodajSekcjeC();
    DodajD1D2();
    DodajD3();
    DodajD4();
}

// The column of the values (years, the date, amounts): where the amount boxes stand.
QRectF TVzm1_2Prev::KolumnaWartosci()
{
    return RamkaKwoty(Punkt(PoleCeny), SzerokoscKwoty, WysokoscWiersza);
}

// Three lines fill a row only in the notes' smaller type.
void TVzm1_2Prev::KomorkaOpisu(const QRectF &komorka, const QStringList &linie)
{
    Cien(komorka);
    Linie(QPointF(komorka.left() + 1.5, komorka.top() + 0.4), linie, linie.size() < 3 ? Opis : Uwagi);
}

void TVzm1_2Prev::DodajSekcjeC()
{
    const QRectF wartosci = KolumnaWartosci();
    const double kolumna = wartosci.left();
    Sekcja(QRectF(Lewa, 15.5, Szerokosc, 40),
           QStringLiteral("C. INFORMACJA O RODZAJU INWESTYCJI, NA KTÓRĄ ZOSTAŁY PONIESIONE WYDATKI"));
    NapisWysrodkowany(23.5, Lewa, kolumna, QStringLiteral("Rodzaj inwestycji"), Podpis);
    NapisWysrodkowany(23.5, kolumna, wartosci.right(), QStringLiteral("Rok rozpoczęcia inwestycji"), Podpis);
    for (std::size_t i = 0; i < std::size(Inwestycje); ++i) {
        const PunktPola rok = Punkt(Inwestycje[i].pole);
        const double gora = rok.y - 3.2;
        KomorkaOpisu(QRectF(Wciecie, gora, kolumna - Wciecie, WysokoscWiersza), Tekst(Inwestycje[i].opis));
        Ramka(QRectF(kolumna, gora, wartosci.width(), WysokoscWiersza), QString::fromUtf8(Inwestycje[i].pozycja));
        m_lata[i] = DodajGrzebien<TQRYear>(rok, 4, MiejsceRoku);
    }
}

void TVzm1_2Prev::DodajD1D2()
{
    const QRectF wartosci = KolumnaWartosci();
    const double kolumna = wartosci.left();
    Sekcja(QRectF(Lewa, 57, Szerokosc, 214.5),
           QStringLiteral("D. OBLICZENIE KWOTY ZWROTU ORAZ PRZYSŁUGUJĄCYCH LIMITÓW "));

    Cien(QRectF(Lewa, 63, Szerokosc, 5.5));
    Napis(QPointF(Lewa + 1.5, 63.8), QStringLiteral("D.1. DATA ZŁOŻENIA PIERWSZEGO WNIOSKU W PIĘCIOLETNIM OKRESIE"),
          Blok);
    Cien(QRectF(Wciecie, 68.5, kolumna - Wciecie, 21.5));
    Etykieta(QPointF(Wciecie + 1.5, 69.5),
             QStringLiteral("<+b>Data złożenia pierwszego wniosku<-b> (dzień - miesiąc - rok)"), Opis, true);
    Linie(QPointF(Wciecie + 1.5, 74),
          {QStringLiteral("Należy podać datę złożenia pierwszego wniosku w pięcioletnim okresie. Zgodnie z "
                          "art.3 ust.6a ustawy"),
           QStringLiteral("data złożenia pierwszego wniosku rozpoczyna liczenie pięcioletnich okresów, dla "
                          "których ustala się"),
           QStringLiteral("odrębne limity zwrotów w części D.3.")},
          Uwagi);
    Ramka(QRectF(kolumna, 68.5, wartosci.width(), 21.5), QStringLiteral("38."));
    m_pierwszyWniosek = DodajGrzebien<TQRDate>(Punkt(44), 9, MiejsceDaty);

    Cien(QRectF(Lewa, 90, Szerokosc, 5.5));
    Etykieta(QPointF(Lewa + 1.5, 90.8), QStringLiteral("<+b>D.2. CENA 1 M<+s>2<-s> DLA POTRZEB OBLICZENIA LIMITÓW<-b>"),
             Blok, true);
    const double gora39 = 95.5;
    const double dol39 = wartosci.bottom();
    Cien(QRectF(Wciecie, gora39, kolumna - Wciecie, dol39 - gora39));
    Etykieta(QPointF(Wciecie + 1.5, 97),
             QStringLiteral("Należy podać cenę 1 m<+s>2<-s> powierzchni użytkowej budynku mieszkalnego ostatnio "
                            "ogłoszoną przed"),
             Opis, true);
    Etykieta(QPointF(Wciecie + 1.5, 100.2),
             QStringLiteral("kwartałem złożenia niniejszego wniosku o dokonanie zwrotu <+s>7)"), Opis, true);
    m_cena = PoleKwoty(PoleCeny, QStringLiteral("39."), SzerokoscKwoty, dol39 - gora39);
}

void TVzm1_2Prev::DodajD3()
{
    const double gora = KolumnaWartosci().bottom();
    Cien(QRectF(Lewa, gora, Szerokosc, 5.5));
    Napis(QPointF(Lewa + 1.5, gora + 0.8), QStringLiteral("D.3. PIĘCIOLETNIE LIMITY ZWROTU"), Blok);
    Linie(QPointF(Lewa + 1.5, gora + 6.5),
          {QStringLiteral("Należy wypełnić tylko jeden blok (D.3.1. albo D.3.2.). Wybór odpowiedniego bloku zależy "
                          "od wysokości stawki podatku VAT obowiązującej"),
           QStringLiteral("w momencie złożenia pierwszego wniosku, o którym mowa w poz.48."),
           QStringLiteral("Maksymalny limit zwrotu nie może przekroczyć sumy kwot z poz.43 i 44 (kwota z poz.41 "
                          "zawiera się w kwocie z poz.43, odpowiednio kwota"),
           QStringLiteral("z poz.42 w poz.44).")},
          Uwagi);

    for (std::size_t b = 0; b < std::size(BlokiLimitow); ++b) {
        const BlokLimitow &blok = BlokiLimitow[b];
        const PunktPola pierwszy = Punkt(PierwszyLimit);
        const PunktPola punkt40{pierwszy.x, float(pierwszy.y - WysokoscWiersza + blok.nizej)};
        const QRectF ramka40 = RamkaKwoty(punkt40, SzerokoscKwoty, WysokoscWiersza);
        const double gora = ramka40.top() - 4;
        const double dol = ramka40.bottom() + 4 * WysokoscWiersza;

        Cien(QRectF(Lewa, gora, Szerokosc, ramka40.bottom() - gora));
        const QString symbol = QString::fromUtf8(blok.symbol);
        const Kroj naglowek{7, true};
        Napis(QPointF(Lewa + 1.5, gora + 0.8),
              symbol + QStringLiteral(" NALEŻY WYPEŁNIĆ , JEŻELI DATA ZŁOŻENIA PIERWSZEGO WNIOSKU PRZYPADA W OKRESIE"),
              naglowek);
        const QString druga = QStringLiteral("OBOWIĄZYWANIA PODATKU VAT O STAWCE");
        Napis(QPointF(Lewa + 1.5, gora + 4.3), druga, naglowek);
        Napis(QPointF(ZaTekstem(Lewa + 1.5, druga, naglowek) + 3, gora + 5.5), QString::fromUtf8(blok.stawka),
              Kroj{16, true});
        auto *pole40 = Dodaj<TQRCurrBox>(ramka40);
        pole40->Caption = QStringLiteral("40.");
        pole40->CaptionFont.setBold(true);
        pole40->PrintZero = false;
        Cieniowany(pole40);

        const double kolumna = ramka40.left();
        Cien(QRectF(Lewa, ramka40.bottom(), 27, dol - ramka40.bottom()));
        Linie(QPointF(Lewa + 1.5, ramka40.bottom() + 7),
              {QStringLiteral("Pięcioletni limit"), QStringLiteral("zwrotu dla"), QStringLiteral("inwestycji,"),
               QStringLiteral("o których"), QStringLiteral("mowa w:")},
              Opis);
        const QString wskaznik = QString::fromUtf8(blok.wskaznikBC);
        const QStringList wiersze[] = {
            {QStringLiteral("kolumnie 5 załącznika VZM-1/A wynosi:"), QStringLiteral("70 x cena z poz.39 x 9,959%")},
            {QStringLiteral("kolumnie 6 załącznika VZM-1/A wynosi:"), QStringLiteral("30 x cena z poz.39 x 9,959%")},
            {QStringLiteral("kolumnie 5 załącznika VZM-1/B lub VZM-1/C wynosi:"),
             QStringLiteral("70 x cena z poz.39 x ") + wskaznik},
            {QStringLiteral("kolumnie 6 załącznika VZM-1/B lub VZM-1/C wynosi:"),
             QStringLiteral("30 x cena z poz.39 x ") + wskaznik},
        };
        for (int i = 0; i < 4; ++i) {
            const PunktPola punkt = Punkt(PierwszyLimit + i);
            const PunktPola nizej{punkt.x, float(punkt.y + blok.nizej)};
            const QRectF ramka = RamkaKwoty(nizej, SzerokoscKwoty, WysokoscWiersza);
            KomorkaOpisu(QRectF(Lewa + 27, ramka.top(), kolumna - Lewa - 27, ramka.height()), wiersze[i]);
            auto *limit = Dodaj<TQRCurrBox>(ramka);
            limit->Caption = QStringLiteral("%1.").arg(PierwszyLimit + i - 6);
            limit->CaptionFont.setBold(true);
            Dane(limit);
            m_limity[b][i] = limit;
        }
    }
}

void TVzm1_2Prev::DodajD4()
{
    const double gora45 = RamkaKwoty(Punkt(PierwszaPrzedLimitami), 1, WysokoscWiersza).top();
    Cien(QRectF(Lewa, gora45 - 7.5, Szerokosc, 7.5));
    Napis(QPointF(Lewa + 1.5, gora45 - 6.2), QStringLiteral("D.4. KWOTA ZWROTU PRZED OGRANICZENIEM LIMITAMI"), Blok);
    const QStringList opisy[] = {
        {QStringLiteral("55,23% sumy kwot z kolumny 5 załącznika/ów VZM -1/A ")},
        {QStringLiteral("55,23% sumy kwot z kolumny 6 załącznika/ów VZM -1/A")},
        {QStringLiteral("68,18% sumy kwot z kolumny 5 załącznika/ów VZM -1/B"), QStringLiteral("+"),
         QStringLiteral("65,22% sumy kwot z kolumny 5 załącznika/ów VZM -1/C")},
        {QStringLiteral("68,18% sumy kwot z kolumny 6 załącznika/ów VZM -1/B"), QStringLiteral("+"),
         QStringLiteral("65,22% sumy kwot z kolumny 6 załącznika/ów VZM -1/C")},
    };
    double gora = gora45;
    for (int i = 0; i < 4; ++i) {
        const int pole = PierwszaPrzedLimitami + i;
        const double dol = RamkaKwoty(Punkt(pole), 1, WysokoscWiersza).bottom();
        auto *kwota = PoleKwoty(pole, QStringLiteral("%1.").arg(pole - 6), SzerokoscKwoty, dol - gora);
        const double kolumna = NaArkuszu(*kwota).left();
        Cien(QRectF(Wciecie, gora, kolumna - Wciecie, dol - gora));
        // One line stands in the middle of its row; the sums of two
        // attachments fill the row with the "+" centred between them.
        const QStringList &opis = opisy[i];
        if (opis.size() == 1) {
            Napis(QPointF(Wciecie + 1.5, gora + (dol - gora) / 2 - 1.5), opis.front(), Opis);
        } else {
            Napis(QPointF(Wciecie + 1.5, gora + 0.8), opis[0], Opis);
            NapisWysrodkowany(gora + 4.2, Wciecie, kolumna, opis[1], Podpis);
            Napis(QPointF(Wciecie + 1.5, gora + 7.6), opis[2], Opis);
        }
        m_przedLimitami[i] = kwota;
        gora = dol;
    }
}

void TVzm1_2Prev::UstawKwote(TQRCurrBox *pole, int nr, bool wolno)
{
    const bool drukuj = wolno && Vzm.GetDruk(nr);
    pole->PrintZero = drukuj;
    pole->Value = drukuj ? Vzm.GetPole(nr) : Money();
}

void TVzm1_2Prev::Wypelnij()
{
    m_lata[0]->setYear(RokNaFormularzu(Vzm.P41()));
    m_lata[1]->setYear(RokNaFormularzu(Vzm.P42()));
    m_lata[2]->setYear(RokNaFormularzu(Vzm.P43()));
    m_pierwszyWniosek->Date = Vzm.P44();
    UstawKwote(m_cena, PoleCeny);
    for (std::size_t b = 0; b < std::size(BlokiLimitow); ++b) {
        const bool wybrany = (Vzm.*BlokiLimitow[b].wybrany)();
        for (int i = 0; i < 4; ++i)
            UstawKwote(m_limity[b][i], PierwszyLimit + i, wybrany);
    }
    for (int i = 0; i < 4; ++i)
        UstawKwote(m_przedLimitami[i], PierwszaPrzedLimitami + i);
}
