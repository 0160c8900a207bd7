#include "overprint/nadrukwniosku.h"

#include "core/common.h"
#include "overprint/ramkastrony.h"
#include "vzm/formmodel.h"

namespace {

const FormularzNadruku Wniosek{WspVzm1, 0, 0, QPageLayout::Portrait};

// The PESEL stands on the line below the NIP.
constexpr float PeselPodNip = 8;
// When the first application was filed in 2011 or later, the five-year
// limits go into the second row of boxes.
constexpr float DrugiWierszLimitow = 46.5f;

QString tytul(int strona)
{
    return QStringLiteral("VZM-1 Strona %1").arg(strona);
}

QList<int> zakres(int od, int doPola)
{
    QList<int> pola;
    for (int n = od; n <= doPola; ++n)
        pola << n;
    return pola;
}

} // namespace

NadrukWniosku::NadrukWniosku(Drukarka &drukarka, TDM &dm, TVzm_3 &vzm)
    : m_drukarka(drukarka), m_dm(dm), m_vzm(vzm)
{
}

QList<int> NadrukWniosku::PolaStrony(int strona)
{
    switch (strona) {
    case 1:
        return QList<int>{1, 2, 5, 6, 66, 67, 7, 68, 69, 70} + zakres(9, 34);
    case 2:
        return zakres(41, 45) + zakres(47, 54);
    case 3:
        return QList<int>{55} + zakres(71, 77) + zakres(59, 64) + QList<int>{56};
    case 4:
        return {65};
    default:
        return {};
    }
}

void NadrukWniosku::Drukuj(int strona)
{
    RamkaStrony ramka(m_drukarka, m_dm, Wniosek, tytul(strona), strona);
    Nadruk(ramka, strona);
}

void NadrukWniosku::Kalibruj(int strona)
{
    RamkaStrony ramka(m_drukarka, m_dm, Wniosek, tytul(strona), strona);
    for (int pole : PolaStrony(strona))
        ramka.Krzyzyk(pole, pole >= 47 && pole <= 50 ? WierszLimitow() : 0);
}

void NadrukWniosku::NadrukStrona1() { Drukuj(1); }
void NadrukWniosku::NadrukStrona2() { Drukuj(2); }
void NadrukWniosku::NadrukStrona3() { Drukuj(3); }
void NadrukWniosku::NadrukStrona4() { Drukuj(4); }

void NadrukWniosku::Nadruk(RamkaStrony &ramka, int strona)
{
    switch (strona) {
    case 1: NadrukPierwszej(ramka); break;
    case 2: NadrukDrugiej(ramka); break;
    case 3: NadrukTrzeciej(ramka); break;
    case 4: NadrukCzwartej(ramka); break;
    }
}

void NadrukWniosku::NadrukPierwszej(RamkaStrony &ramka)
{
    TPrn &prn = ramka.Prn();
    const auto tekst = [&](int pole, const QString &wartosc) {
        const QPoint p = ramka.Punkt(pole);
        prn.PrintText(p.x(), p.y(), wartosc);
    };
    const auto znak = [&](int pole, bool zaznaczone) {
        if (!zaznaczone)
            return;
        const QPoint p = ramka.Punkt(pole);
        prn.PrintMark(p.x(), p.y());
    };
    const auto identyfikatory = [&](int pole, const QString &nip, const QString &pesel) {
        const QPoint p = ramka.PunktNaArkuszu(pole);
        prn.PrintSpaced(p.x(), p.y(), TylkoCyfry(nip));
        prn.PrintSpaced(p.x(), p.y() + prn.MmToY(PeselPodNip), pesel);
    };

    identyfikatory(1, m_vzm.NIP(), m_vzm.Pesel());
    identyfikatory(2, m_vzm.MNIP(), m_vzm.MPesel());
    if (m_vzm.NrKolej() > 0) {
        const QPoint p = ramka.Punkt(5);
        prn.PrintTwoDigits(p.x(), p.y(), m_vzm.NrKolej());
    }
    tekst(6, m_vzm.Urzad);
    znak(66, m_vzm.P7_1());
    znak(67, m_vzm.P7_2());
    if (m_vzm.P7_2() && m_vzm.NrKoryg() > 0) {
        const QPoint p = ramka.Punkt(7);
        prn.PrintTwoDigits(p.x(), p.y(), m_vzm.NrKoryg());
    }
    znak(68, m_vzm.P8_1());
    znak(69, m_vzm.P8_2());
    znak(70, m_vzm.P8_3());
    const QString *const osoby[] = {
        &m_vzm.Nazwisko, &m_vzm.Imie, &m_vzm.Dokument, &m_vzm.Kraj, &m_vzm.Wojew,
        &m_vzm.Powiat, &m_vzm.Gmina, &m_vzm.Ulica, &m_vzm.Posesja, &m_vzm.Lokal,
        &m_vzm.Miasto, &m_vzm.KodPoczt, &m_vzm.Poczta,
        &m_vzm.MNazwisko, &m_vzm.MImie, &m_vzm.MDokument, &m_vzm.MKraj, &m_vzm.MWojew,
        &m_vzm.MPowiat, &m_vzm.MGmina, &m_vzm.MUlica, &m_vzm.MPosesja, &m_vzm.MLokal,
        &m_vzm.MMiasto, &m_vzm.MKodPoczt, &m_vzm.MPoczta,
    };
    int pole = 9; // fields 9 to 34, in the order of the form
    for (const QString *wartosc : osoby)
        tekst(pole++, *wartosc);
}

void NadrukWniosku::Kwota(RamkaStrony &ramka, int pole, bool calkowita, float extraYMm)
{
    const Money kwota = m_vzm.GetPole(pole);
    const QPoint p = ramka.Punkt(pole, 0, extraYMm);
    ramka.Prn().PrintRight(p.x(), p.y(), calkowita ? Kwota0(kwota) : Kwota2(kwota));
}

void NadrukWniosku::NadrukDrugiej(RamkaStrony &ramka)
{
    TPrn &prn = ramka.Prn();
    const int lata[] = {m_vzm.P41(), m_vzm.P42(), m_vzm.P43()};
    for (int i = 0; i < 3; ++i) {
        const QPoint p = ramka.Punkt(41 + i);
        prn.PrintYear(p.x(), p.y(), RokNaFormularzu(lata[i]));
    }
    const QPoint data = ramka.Punkt(44);
    prn.PrintDate(data.x(), data.y(), m_vzm.P44());
    Kwota(ramka, 45, false); // the price prints also when it is zero
    for (int pole = 47; pole <= 50; ++pole)
        if (m_vzm.GetDruk(pole))
            Kwota(ramka, pole, false, WierszLimitow());
    for (int pole = 51; pole <= 54; ++pole)
        if (m_vzm.GetDruk(pole))
            Kwota(ramka, pole, false);
}

float NadrukWniosku::WierszLimitow() const
{
    return m_vzm.IsD32() ? DrugiWierszLimitow : 0;
}

void NadrukWniosku::NadrukTrzeciej(RamkaStrony &ramka)
{
    TPrn &prn = ramka.Prn();
    if (m_vzm.GetDruk(55))
        Kwota(ramka, 55, true);
    const bool znaki[] = {m_vzm.P57_1(), m_vzm.P57_2(), m_vzm.P57_3(),
                          m_vzm.P58_1(), m_vzm.P58_2(), m_vzm.P58_3()};
    for (int i = 0; i < 6; ++i) {
        if (znaki[i]) {
            const QPoint p = ramka.Punkt(71 + i);
            prn.PrintMark(p.x(), p.y());
        }
    }
    const QPoint konto = ramka.Punkt(77);
    prn.PrintAccount(konto.x(), konto.y(), m_vzm.Konto());
    for (int pole = 59; pole <= 64; ++pole)
        if (m_vzm.GetDruk(pole))
            Kwota(ramka, pole, true);
    prn.UpperOff(); // the scope of the renovation prints as typed
    const QPoint notatka = ramka.Punkt(56);
    prn.PrintLines(notatka.x(), notatka.y(), m_vzm.P56);
}

void NadrukWniosku::NadrukCzwartej(RamkaStrony &ramka)
{
    TPrn &prn = ramka.Prn();
    prn.UpperOff();
    const QPoint p = ramka.Punkt(65);
    prn.PrintLines(p.x(), p.y(), m_vzm.P65);
}
