#include "reports/forms/vzm1_1prev.h"

#include "vzm/formmodel.h"

#include <array>

namespace {

// Boxes 9 to 21 of the taxpayer; the spouse's 22 to 34 repeat them 13
// numbers on.
struct PoleOsoby
{
    const char *nazwa;
    QString TVzm_3::*podatnika;
    QString TVzm_3::*malzonka;
    TAlignment wyrownanie;
};

constexpr int PierwszePoleOsoby = 9;
constexpr int PolaMalzonkaDalej = 13;

const std::array<PoleOsoby, 13> PolaOsoby{{
    {"Nazwisko", &TVzm_3::Nazwisko, &TVzm_3::MNazwisko, taLeftJustify},
    {"Pierwsze imię", &TVzm_3::Imie, &TVzm_3::MImie, taLeftJustify},
    {"Rodzaj i numer dokumentu tożsamości oraz kraj jego wydania", &TVzm_3::Dokument, &TVzm_3::MDokument, taLeftJustify},
    {"Kraj ", &TVzm_3::Kraj, &TVzm_3::MKraj, taLeftJustify},
    {"Województwo", &TVzm_3::Wojew, &TVzm_3::MWojew, taLeftJustify},
    {"Powiat", &TVzm_3::Powiat, &TVzm_3::MPowiat, taLeftJustify},
    {"Gmina", &TVzm_3::Gmina, &TVzm_3::MGmina, taLeftJustify},
    {"Ulica", &TVzm_3::Ulica, &TVzm_3::MUlica, taLeftJustify},
    {"Nr domu", &TVzm_3::Posesja, &TVzm_3::MPosesja, taCenter},
    {"Nr lokalu", &TVzm_3::Lokal, &TVzm_3::MLokal, taCenter},
    {"Miejscowość", &TVzm_3::Miasto, &TVzm_3::MMiasto, taLeftJustify},
    {"Kod pocztowy", &TVzm_3::KodPoczt, &TVzm_3::MKodPoczt, taCenter},
    {"Poczta", &TVzm_3::Poczta, &TVzm_3::MPoczta, taLeftJustify},
}};

// Rows of the personal data are as high as the overprint's lines are apart.
constexpr double WysokoscWiersza = 8.5;

// The identifiers' digits stand in the form's eleven boxes, as the overprint
// spaces them; the PESEL on the line under the NIP. The numbers' two digits
// are as far apart as the overprint puts them.
constexpr double MiejsceIdentyfikatora = 58.0 / 11;
constexpr double OdstepPesel = 8;
constexpr double MiejsceNumeru = 5.0;

// The overprint's points of the tick boxes.
constexpr int ZnakNowy = 66, ZnakKorekta = 67;
constexpr int ZnakSklada1 = 68, ZnakSklada2 = 69, ZnakSklada3 = 70;

} // namespace

TVzm1_1Prev::TVzm1_1Prev(TVzm_3 &vzm)
    : TVzm1Strona(vzm, 1)
{
    DodajIdentyfikatory();
    DodajTytul();
    DodajSekcjeA();
    DodajSekcjeB();
}

TVzm1_1Prev::Identyfikator TVzm1_1Prev::DodajIdentyfikator(int pole, double lewy, double prawy, const QString &opis)
{
    const PunktPola nip = Punkt(pole);
    const PunktPola pesel{nip.x, nip.y + float(OdstepPesel)};
    // The identifiers stand close under the heading: a smaller caption
    // keeps clear of their digits.
    auto *ramka = Ramka(QRectF(lewy, 14.7, prawy - lewy, 16.8), opis);
    ramka->CaptionFont.setPointSize(6);
    Napis(QPointF(lewy + 2, nip.y + 1), QStringLiteral("NIP"), Podpis);
    Napis(QPointF(lewy + 2, pesel.y + 1), QStringLiteral("PESEL"), Podpis);
    auto *plotek = DodajGrzebien<TQRPlotek>(pesel, 11, MiejsceIdentyfikatora);
    return {DodajGrzebien<TQRNIP>(nip, TQRNIP::Miejsc, MiejsceIdentyfikatora), plotek};
}

void TVzm1_1Prev::DodajIdentyfikatory()
{
    const double srodek = 95;
    m_podatnik = DodajIdentyfikator(1, Lewa, srodek,
                                    QStringLiteral("1. Identyfikator podatkowy (NIP albo numer PESEL) osoby fizycznej"));
    m_malzonek = DodajIdentyfikator(2, srodek, Prawa,
                                    QStringLiteral("2. Identyfikator podatkowy (NIP albo numer PESEL) małżonka"));
    PoleUrzedu(QRectF(Lewa, 31.5, srodek - Lewa, WysokoscWiersza), QStringLiteral("3. Nr dokumentu"));
    PoleUrzedu(QRectF(srodek, 31.5, Prawa - srodek, WysokoscWiersza), QStringLiteral("4. Status"));
}

TQRMonth *TVzm1_1Prev::DodajNumer(int pole)
{
    auto *numer = DodajGrzebien<TQRMonth>(Punkt(pole), 2, MiejsceNumeru);
    numer->PrintZero = false;
    return numer;
}

void TVzm1_1Prev::DodajTytul()
{
    Napis(QPointF(Lewa + 2, 42), QStringLiteral("VZM-1"), Kroj{14, true});
    const Kroj tytul{12, true};
    NapisWysrodkowany(42, Lewa, Prawa, QStringLiteral("WNIOSEK O ZWROT NIEKTÓRYCH WYDATKÓW"), tytul);
    NapisWysrodkowany(47, Lewa, Prawa, QStringLiteral("ZWIĄZANYCH Z BUDOWNICTWEM MIESZKANIOWYM"), tytul);
    NapisWysrodkowany(52, Lewa, Prawa, QStringLiteral("PONIESIONYCH OD DNIA 1.05.2004 r."), tytul);
    NapisWysrodkowany(
        57.5, Lewa, Prawa,
        QStringLiteral("(przedmiotowy wniosek nie stanowi wzoru urzędowego określanego w drodze rozporządzenia)"), Opis);

    Ramka(QRectF(130, 62, Prawa - 130, 12.5), QStringLiteral("5. Kolejny numer składanego wniosku 1)"));
    m_nrKolej = DodajNumer(5);

    Cien(QRectF(Lewa, 76, Szerokosc, 18.5));
    const double tekst = Lewa + 26;
    Napis(QPointF(Lewa + 2, 77), QStringLiteral("Podstawa prawna:"), Podpis);
    Linie(QPointF(tekst, 77),
          {QStringLiteral("Ustawa z dnia 29 sierpnia 2005 r. o zwrocie osobom fizycznym niektórych wydatków "
                          "związanych z budownictwem"),
           QStringLiteral("mieszkaniowym (Dz.U. Nr 177, poz.1468 z późn. zm.), zwana dalej \"ustawą\".")},
          Opis);
    Napis(QPointF(Lewa + 2, 84), QStringLiteral("Miejsce składania:"), Podpis);
    Linie(QPointF(tekst, 84),
          {QStringLiteral("Urząd skarbowy 2) właściwy ze względu na miejsce zamieszkania osoby składającej "
                          "wniosek w dniu złożenia przez nią"),
           QStringLiteral("wniosku; w przypadku wspólnego wniosku małżonków mających różne miejsca zamieszkania "
                          "- urząd skarbowy wskazany"),
           QStringLiteral("we wniosku, jeżeli jest on właściwy ze względu na miejsce zamieszkania przynajmniej "
                          "jednego z małżonków.")},
          Opis);
}

void TVzm1_1Prev::DodajSekcjeA()
{
    const double lewy = LewaRamki(Punkt(6).x);
    Sekcja(QRectF(Lewa, 95.5, Szerokosc, 44.5),
           QStringLiteral("A. MIEJSCE, CEL I TRYB SKŁADANIA WNIOSKU ORAZ INFORMACJA O WNIOSKODAWCY"),
           QStringLiteral("3)"));
    m_urzad = PoleTekstu(RamkaTekstu(Punkt(6), Prawa - lewy, WysokoscWiersza),
                         QStringLiteral("6. Urząd skarbowy, do którego adresowany jest wniosek"));
    const double dol6 = NaArkuszu(*m_urzad).bottom();

    // 7: the purpose, a new application or the correction of one.
    const double wysokosc7 = 10.5;
    Bialy(QRectF(lewy, dol6, Prawa - lewy, wysokosc7));
    const QString cel = QStringLiteral("<+b>7. Cel złożenia formularza <-b>(zaznaczyć właściwy kwadrat):");
    Etykieta(QPointF(lewy + 1.5, dol6 + 0.5), cel, Opis, false);
    m_cel = {KwadratZOpisem(Punkt(ZnakNowy), {QStringLiteral("1. złożenie wniosku")}),
             KwadratZOpisem(Punkt(ZnakKorekta), {QStringLiteral("2. korekta wniosku o nr")})};
    m_nrKoryg = DodajNumer(7);
    Odnosnik(QPointF(NaArkuszu(*m_nrKoryg).right() + 1.5, Punkt(7).y), QStringLiteral("4)"));

    // 8: who files it.
    const double gora8 = dol6 + wysokosc7;
    Bialy(QRectF(lewy, gora8, Prawa - lewy, 140 - gora8));
    const QString sklada = QStringLiteral("<+b>8. Wniosek składa/ją<-b> (zaznaczyć właściwy kwadrat):");
    Etykieta(QPointF(lewy + 1.5, gora8 + 0.5), sklada, Opis, false);
    Odnosnik(QPointF(ZaTekstem(lewy + 1.5, sklada, Podpis) + 0.5, gora8 + 0.5), QStringLiteral("5)"));
    m_skladaja = {
        KwadratZOpisem(Punkt(ZnakSklada1), {QStringLiteral("1. osoba fizyczna niepozostająca"),
                                            QStringLiteral("    w związku małżeńskim")}),
        KwadratZOpisem(Punkt(ZnakSklada2), {QStringLiteral("2. osoba fizyczna pozostająca w związku"),
                                            QStringLiteral("    małżeńskim - wniosek indywidualny")}),
        KwadratZOpisem(Punkt(ZnakSklada3), {QStringLiteral("3. małżonkowie - wniosek wspólny")}),
    };
    Napis(QPointF(lewy + 1.5, 136.3),
          QStringLiteral("W przypadku osób, które zaznaczyły kwadrat nr 2 albo 3, należy wypełnić zarówno część "
                         "B.1., jak i B.2."),
          Opis);
}

void TVzm1_1Prev::DodajSekcjeB()
{
    std::vector<PoleWiersza> podatnik, malzonek;
    for (std::size_t i = 0; i < PolaOsoby.size(); ++i) {
        const int pole = PierwszePoleOsoby + int(i);
        const QString nazwa = QString::fromUtf8(PolaOsoby[i].nazwa);
        podatnik.push_back({pole, QStringLiteral("%1. %2").arg(pole).arg(nazwa), PolaOsoby[i].wyrownanie});
        malzonek.push_back({pole + PolaMalzonkaDalej, QStringLiteral("%1. %2").arg(pole + PolaMalzonkaDalej).arg(nazwa),
                            PolaOsoby[i].wyrownanie});
    }

    const double dolB = RamkaTekstu(Punkt(34), 1, WysokoscWiersza).bottom();
    Sekcja(QRectF(Lewa, 140, Szerokosc, dolB - 140), QStringLiteral("B. DANE IDENTYFIKACYJNE I ADRES"),
           QStringLiteral("6)"));
    const double gora9 = RamkaTekstu(Punkt(9), 1, WysokoscWiersza).top();
    Cien(QRectF(Lewa, 146.5, Szerokosc, gora9 - 146.5));
    Napis(QPointF(Lewa + 1.5, 148.5), QStringLiteral("B.1. DANE OSOBY FIZYCZNEJ"), Blok);
    m_osoby = UlozPola(podatnik, WysokoscWiersza);

    const double dol21 = RamkaTekstu(Punkt(21), 1, WysokoscWiersza).bottom();
    const double gora22 = RamkaTekstu(Punkt(22), 1, WysokoscWiersza).top();
    Cien(QRectF(Lewa, dol21, Szerokosc, gora22 - dol21));
    Napis(QPointF(Lewa + 1.5, dol21 + 0.4), QStringLiteral("B.2. DANE MAŁŻONKA"), Blok);
    Napis(QPointF(Lewa + 1.5, dol21 + 4.2),
          QStringLiteral("(poz. od 25 do 34 należy wypełnić, jeżeli adres zamieszkania małżonka jest inny niż "
                         "wymieniony w części B.1.)"),
          Uwagi);
    const auto boxes = UlozPola(malzonek, WysokoscWiersza);
    m_osoby.insert(m_osoby.end(), boxes.begin(), boxes.end());

    NapisWysrodkowany(dolB + 2.5, Lewa, Prawa, QStringLiteral("Pouczenie"), Kroj{9, true});
    Linie(QPointF(Lewa + 2, dolB + 6.5),
          {QStringLiteral("Wniosek oraz załączniki do wniosku nie stanowią przedmiotu opłaty skarbowej, zgodnie z "
                          "ustawą z dnia 16 listopada 2006 r. o opłacie skarbowej"),
           QStringLiteral("(Dz.U. Nr 225, poz.1635, z późn. zm), a tym samym nie podlegają tej opłacie.")},
          Opis);
}

void TVzm1_1Prev::Wypelnij()
{
    m_podatnik.nip->NIP = Vzm.NIP();
    m_podatnik.pesel->Text = Vzm.Pesel();
    m_malzonek.nip->NIP = Vzm.MNIP();
    m_malzonek.pesel->Text = Vzm.MPesel();
    m_nrKolej->setMonth(NumerNaFormularzu(Vzm.NrKolej()));
    m_nrKoryg->setMonth(NumerNaFormularzu(Vzm.NrKoryg()));
    m_urzad->Text = Wielkie(Vzm.Urzad);
    m_cel[0]->Checked = Vzm.P7_1();
    m_cel[1]->Checked = Vzm.P7_2();
    m_skladaja[0]->Checked = Vzm.P8_1();
    m_skladaja[1]->Checked = Vzm.P8_2();
    m_skladaja[2]->Checked = Vzm.P8_3();
    for (std::size_t i = 0; i < PolaOsoby.size(); ++i) {
        m_osoby[i]->Text = Wielkie(Vzm.*PolaOsoby[i].podatnika);
        m_osoby[i + PolaOsoby.size()]->Text = Wielkie(Vzm.*PolaOsoby[i].malzonka);
    }
}
