#include "overprint/nadrukzalacznika.h"

#include "core/common.h"
#include "overprint/ramkastrony.h"
#include "vzm/attachmentmodel.h"

namespace {

// The PESEL stands on the NIP's line, this far to the right.
constexpr float PeselObokNip = 66;
// The item numbers go into a column this wide; a longer text is wrapped
// into small type, starting this much higher.
constexpr float SzerokoscLpFakt = 26;
constexpr float WyzejLpFakt = 3;
// Amounts stand a little above the line of their row.
constexpr float WyzejKwoty = 1;

constexpr int OstatniWierszPierwszej = 7;
constexpr int PierwszeLpFakt = 177; // the field of row 1's item numbers

FormularzNadruku formularz(const TVZMab &zal)
{
    return {WspVzmab, 1, zal.Rodzaj(), QPageLayout::Landscape};
}

QString tytul(const TVZMab &zal, int strona)
{
    return QStringLiteral("%1 Strona %2").arg(zal.Symbol()).arg(strona);
}

QList<int> polaWierszy(int od, int doWiersza)
{
    QList<int> pola;
    for (int k = od; k <= doWiersza; ++k)
        for (int kolumna = 0; kolumna < 6; ++kolumna)
            pola << TVZMab::PierwszaKratka(k) + kolumna;
    return pola;
}

QList<int> polaLpFakt(int od, int doWiersza)
{
    QList<int> pola;
    for (int k = od; k <= doWiersza; ++k)
        pola << PierwszeLpFakt + k - 1;
    return pola;
}

} // namespace

NadrukZalacznika::NadrukZalacznika(Drukarka &drukarka, TDM &dm, TVZMab &zalacznik)
    : m_drukarka(drukarka), m_dm(dm), m_zal(zalacznik)
{
}

QList<int> NadrukZalacznika::PolaStrony(int strona)
{
    if (strona == 1)
        return QList<int>{1, 2, 3, 4, 5, 7, 8, 9, 11} + polaWierszy(1, OstatniWierszPierwszej)
               + polaLpFakt(1, OstatniWierszPierwszej);
    if (strona == 2)
        return polaWierszy(OstatniWierszPierwszej + 1, TVZMab::Wierszy)
               + QList<int>{TVZMab::SumaBrutto, TVZMab::SumaVatA, TVZMab::SumaVatB}
               + polaLpFakt(OstatniWierszPierwszej + 1, TVZMab::Wierszy);
    return {};
}

void NadrukZalacznika::Drukuj(int strona)
{
    RamkaStrony ramka(m_drukarka, m_dm, formularz(m_zal), tytul(m_zal, strona), strona);
    if (strona == 1) {
        NadrukPierwszej(ramka);
        NadrukWierszy(ramka, 1, OstatniWierszPierwszej);
        NadrukLpFakt(ramka, 1, OstatniWierszPierwszej);
    } else if (strona == 2) {
        NadrukWierszy(ramka, OstatniWierszPierwszej + 1, TVZMab::Wierszy);
        for (int pole : {TVZMab::SumaBrutto, TVZMab::SumaVatA, TVZMab::SumaVatB})
            Kwota(ramka, pole);
        NadrukLpFakt(ramka, OstatniWierszPierwszej + 1, TVZMab::Wierszy);
    }
}

void NadrukZalacznika::Kalibruj(int strona)
{
    RamkaStrony ramka(m_drukarka, m_dm, formularz(m_zal), tytul(m_zal, strona), strona);
    for (int pole : PolaStrony(strona))
        ramka.Krzyzyk(pole);
}

void NadrukZalacznika::NadrukPierwszej(RamkaStrony &ramka)
{
    TPrn &prn = ramka.Prn();
    const int peselObokNip = prn.MmToX(PeselObokNip);

    QPoint p = ramka.PunktNaArkuszu(1);
    prn.PrintSpaced(p.x(), p.y(), TylkoCyfry(m_zal.NIP()));
    prn.PrintSpaced(p.x() + peselObokNip, p.y(), m_zal.Pesel());
    p = ramka.PunktNaArkuszu(2);
    prn.PrintSpaced(p.x(), p.y(), TylkoCyfry(m_zal.MNIP()));
    prn.PrintPesel(p.x() + peselObokNip, p.y(), m_zal.MPesel());

    p = ramka.Punkt(3);
    prn.PrintTwoDigits(p.x(), p.y(), m_zal.NrZal());
    const std::pair<int, QString> teksty[] = {
        {4, m_zal.Nazwisko()}, {5, m_zal.Imie()}, {7, m_zal.Dokument()},
        {8, m_zal.MNazwisko()}, {9, m_zal.MImie()}, {11, m_zal.MDokument()},
    };
    for (const auto &[pole, tekst] : teksty) {
        p = ramka.Punkt(pole);
        prn.PrintText(p.x(), p.y(), tekst);
    }
}

void NadrukZalacznika::NadrukWierszy(RamkaStrony &ramka, int od, int doWiersza)
{
    TPrn &prn = ramka.Prn();
    for (int k = od; k <= doWiersza; ++k) {
        const int numer = TVZMab::PierwszaKratka(k);
        QPoint p = ramka.Punkt(numer);
        prn.PrintText(p.x(), p.y(), m_zal.GetTekst(numer));
        p = ramka.Punkt(numer + 1);
        prn.PrintRight(p.x(), p.y(), m_zal.GetTekst(numer + 1));
        p = ramka.Punkt(numer + 2);
        prn.PrintNip(p.x(), p.y(), TylkoCyfry(m_zal.GetTekst(numer + 2)));
        for (int kwota = numer + 3; kwota <= numer + 5; ++kwota)
            Kwota(ramka, kwota);
    }
}

void NadrukZalacznika::Kwota(RamkaStrony &ramka, int pole)
{
    const QPoint p = ramka.Punkt(pole, 0, -WyzejKwoty);
    ramka.Prn().PrintRight(p.x(), p.y(), m_zal.GetTekst(pole));
}

void NadrukZalacznika::NadrukLpFakt(RamkaStrony &ramka, int od, int doWiersza)
{
    TPrn &prn = ramka.Prn();
    const int szerokosc = prn.MmToX(SzerokoscLpFakt);
    for (int k = od; k <= doWiersza; ++k) {
        const QString tekst = m_zal.GetLpFakt(k);
        const QPoint p = ramka.Punkt(PierwszeLpFakt + k - 1);
        if (prn.TextFits(tekst, szerokosc))
            prn.PrintText(p.x(), p.y(), tekst);
        else
            prn.PrintWrapped(p.x(), p.y() - prn.MmToY(WyzejLpFakt), tekst, szerokosc);
    }
}
