#include "reports/forms/vzm1_3prev.h"

#include "overprint/prn.h"
#include "vzm/formmodel.h"

namespace {

constexpr double SzerokoscKwoty = 51;
constexpr int PoleZwrotu = 55;

// Tick boxes of 51 and 52, and the bank account: the overprint's fields.
constexpr int ZnakWyplaty = 71;
constexpr int ZnakRachunku = 74;
constexpr int PoleKonta = 77;
// The account's combs: two digits, then six groups of four, at the pitch of
// the official form.
constexpr double MiejsceKonta = 5.25;

// The counts of attached documents: the field, the caption of its row and
// whether a count of 0 is printed.
struct Zalaczniki
{
    int pole;
    std::initializer_list<const char *> opis;
    int (TVzm_3::*liczba)() const;
    bool zero;
};

const Zalaczniki Liczby[] = {
    {59,
     {"Kopia pozwolenia na budowę, jeżeli roboty", "budowlane wymagały pozwolenia na budowę",
      "(art.5 ust.5 pkt 1 ustawy)"},
     &TVzm_3::P59, false},
    {60, {"Kopie faktur dokumentujących poniesione wydatki", "(art.5 ust.5 pkt 2 ustawy)"}, &TVzm_3::P60, false},
    {61,
     {"Kopia dokumentu potwierdzająca tytuł prawny do budynku (lokalu) mieszkalnego, którego remont nie wymagał "
      "pozwolenia na",
      "<+b>budowę<-b> (art.5 ust.5 pkt 1 ustawy)"},
     &TVzm_3::P61, false},
    {62, {"Załącznik VZM-1/A "}, &TVzm_3::P62, true},
    {63, {"Załącznik VZM-1/B "}, &TVzm_3::P63, true},
    {64, {"Załącznik VZM-1/C"}, &TVzm_3::P64, true},
};

// A count box: from 15 mm before the count's end to 6 mm after it, room
// for the unit.
constexpr double PrzedLiczba = 15;
constexpr double ZaLiczba = 6;

} // namespace

TVzm1_3Prev::TVzm1_3Prev(TVzm_3 &vzm)
    : TVzm1Strona(vzm, 3)
{
    DodajD5();
    DodajSekcjeE();
    DodajSekcjeF();
    DodajSekcjeG();
}

void TVzm1_3Prev::DodajD5()
{
    Cien(QRectF(Lewa, 15.5, Szerokosc, 21));
    Napis(QPointF(Lewa + 1.5, 16.3), QStringLiteral("D.5. KWOTA ZWROTU PO OGRANICZENIU LIMITAMI"), Blok);
    const double gora = 21;
    const double dol = RamkaKwoty(Punkt(PoleZwrotu), 1, 1).bottom();
    m_zwrot = PoleKwoty(PoleZwrotu, QStringLiteral("49."), SzerokoscKwoty, dol - gora);
    m_zwrot->IntValue = true;
    const double kolumna = NaArkuszu(*m_zwrot).left();
    Cien(QRectF(Wciecie, gora, kolumna - Wciecie, dol - gora));
    Linie(QPointF(Wciecie + 1.5, gora + 0.5),
          {QStringLiteral("Suma kwot z poz.45-48 do wysokości przysługujących limitów"),
           QStringLiteral("(po zaokrągleniu do pełnego złotego)")},
          Podpis);
    Linie(QPointF(Wciecie + 1.5, gora + 6.6),
          {QStringLiteral("Kwota z poz.49 nie może przekroczyć kwoty przysługujących limitów obliczonych w części D.3."),
           QStringLiteral("i pomniejszonych o kwoty dotychczas przyznanych zwrotów (osobie fizycznej lub jej "
                          "małżonkowi) w okresie"),
           QStringLiteral("pięcioletnim, dla którego ustala się wspólny limit.")},
          Uwagi);
}

void TVzm1_3Prev::DodajSekcjeE()
{
    const double gora = 36.5;
    const double dol = 199;
    Sekcja(QRectF(Lewa, gora, Szerokosc, dol - gora),
           QStringLiteral("E. OŚWIADCZENIE O ZAKRESIE PRZEPROWADZONEGO REMONTU BUDYNKU (LOKALU)"));
    Etykieta(QPointF(Lewa + 1.5, gora + 4.6),
             QStringLiteral("<+b>MIESZKALNEGO, KTÓRY NIE WYMAGAŁ POZWOLENIA NA BUDOWĘ <+s>8)"), Naglowek, true);
    const PunktPola punkt = Punkt(56);
    Bialy(QRectF(Wciecie, gora + 9.5, Prawa - Wciecie, dol - gora - 9.5));
    Napis(QPointF(Wciecie + 1.5, gora + 10.3),
          QStringLiteral("50. Oświadczam/y, że zakres przeprowadzonego remontu był następujący:"), Podpis);
    m_oswiadczenie = Dodaj<TQRMemo>(QRectF(punkt.x, punkt.y, Prawa - 2 - punkt.x, dol - 1 - punkt.y));
    Dane(m_oswiadczenie);
}

void TVzm1_3Prev::DodajSekcjeF()
{
    const double gora = 199;
    Sekcja(QRectF(Lewa, gora, Szerokosc, 44), QStringLiteral("F. WSKAZANIE SPOSOBU WYPŁATY KWOTY ZWROTU"));

    Bialy(QRectF(Wciecie, gora + 6, Prawa - Wciecie, 13.5));
    Etykieta(QPointF(Wciecie + 1.5, gora + 6.5),
             QStringLiteral("<+b>51. Sposób wypłaty kwoty zwrotu<-b> (zaznaczyć właściwy kwadrat):"), Opis, false);
    const QStringList wyplata[] = {
        {QStringLiteral("1. w kasie")},
        {QStringLiteral("2. za pośrednictwem poczty")},
        {QStringLiteral("3. za pośrednictwem banku lub spółdzielczej kasy oszczędnościowo-kredytowej")},
    };
    for (int i = 0; i < 3; ++i)
        m_wyplata[i] = KwadratZOpisem(Punkt(ZnakWyplaty + i), wyplata[i]);

    Bialy(QRectF(Wciecie, gora + 19.5, Prawa - Wciecie, 23.5));
    Etykieta(QPointF(Wciecie + 1.5, gora + 20),
             QStringLiteral("<+b>52. Numer rachunku bankowego<-b> (zaznaczyć właściwy kwadrat a następnie podać "
                            "numer rachunku wskazanej osoby):"),
             Opis, false);
    const QStringList rachunek[] = {
        {QStringLiteral("1. nr rachunku bankowego osoby fizycznej"), QStringLiteral("    składającej indywidualny wniosek ")},
        {QStringLiteral("2. nr rachunku bankowego osoby wskazanej w"),
         QStringLiteral("    części B.1 - w przypadku wspólnego wniosku"), QStringLiteral("    małżonków ")},
        {QStringLiteral("3. nr rachunku bankowego osoby wskazanej"), QStringLiteral("    w części B.2 - w przypadku wspólnego"),
         QStringLiteral("    wniosku małżonków ")},
    };
    for (int i = 0; i < 3; ++i)
        m_rachunek[i] = KwadratZOpisem(Punkt(ZnakRachunku + i), rachunek[i]);

    const PunktPola konto = Punkt(PoleKonta);
    for (std::size_t g = 0; g < m_konto.size(); ++g) {
        const int miejsc = g == 0 ? 2 : 4;
        const PunktPola grupa{konto.x + TPrn::AccountGroups[g], konto.y};
        m_konto[g] = DodajGrzebien<TQRPlotek>(grupa, miejsc, MiejsceKonta);
    }
}

TQRLabel *TVzm1_3Prev::DodajLiczbe(int pole, double gora, double wysokosc)
{
    const PunktPola punkt = Punkt(pole);
    Ramka(QRectF(punkt.x - PrzedLiczba, gora, PrzedLiczba + ZaLiczba, wysokosc), QStringLiteral("%1.").arg(pole - 6));
    auto *liczba = Dodaj<TQRLabel>(QRectF(punkt.x - PrzedLiczba + 1, punkt.y, PrzedLiczba - 1, 4.5));
    liczba->Alignment = Qt::AlignRight;
    liczba->Font.setPointSize(10);
    liczba->Font.setBold(true);
    Napis(QPointF(punkt.x + 1, punkt.y + 1.2), QStringLiteral("szt."), Opis);
    return liczba;
}

void TVzm1_3Prev::DodajSekcjeG()
{
    const double gora = 243;
    Sekcja(QRectF(Lewa, gora, Szerokosc, 33), QStringLiteral("G. INFORMACJA O ZAŁĄCZNIKACH"));

    // Rows of counts, from the overprint's lines: a caption cell from the
    // previous box (or the section's margin) to the count's box.
    double wiersz = gora + 5.5;
    double lewy = Wciecie;
    for (std::size_t i = 0; i < std::size(Liczby); ++i) {
        const PunktPola punkt = Punkt(Liczby[i].pole);
        const double dol = punkt.y + 5;
        const double ramka = punkt.x - PrzedLiczba;
        Cien(QRectF(lewy, wiersz, ramka - lewy, dol - wiersz));
        int linia = 0;
        for (const char *tekst : Liczby[i].opis)
            Etykieta(QPointF(lewy + 1.5, wiersz + 0.6 + 2.9 * linia++), QString::fromUtf8(tekst), Opis, true);
        m_liczby[i] = DodajLiczbe(Liczby[i].pole, wiersz, dol - wiersz);

        const bool koniecWiersza = i + 1 == std::size(Liczby) || Punkt(Liczby[i + 1].pole).y != punkt.y;
        lewy = koniecWiersza ? Wciecie : punkt.x + ZaLiczba;
        if (koniecWiersza)
            wiersz = dol;
    }
}

void TVzm1_3Prev::Wypelnij()
{
    m_zwrot->Value = Vzm.Zwrot();
    m_oswiadczenie->Lines = Vzm.P56;
    const bool wyplata[] = {Vzm.P57_1(), Vzm.P57_2(), Vzm.P57_3()};
    const bool rachunek[] = {Vzm.P58_1(), Vzm.P58_2(), Vzm.P58_3()};
    for (int i = 0; i < 3; ++i) {
        m_wyplata[i]->Checked = wyplata[i];
        m_rachunek[i]->Checked = rachunek[i];
    }
    for (std::size_t g = 0; g < m_konto.size(); ++g)
        m_konto[g]->Text = Vzm.GetKonto(int(g) + 1);
    for (std::size_t i = 0; i < std::size(Liczby); ++i) {
        const int liczba = (Vzm.*Liczby[i].liczba)();
        m_liczby[i]->Caption = liczba != 0 || Liczby[i].zero ? QString::number(liczba) : QString();
    }
}
