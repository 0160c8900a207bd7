#include "reports/forms/rozliczenieprev.h"

#include "vzm/rozliczenie.h"

namespace {

// A4 portrait; the columns of the table, in millimetres of the sheet.
const QMarginsF Marginesy(15, 10, 15, 10);
constexpr double Odstep = 1.5; // between a cell's text and the next column
constexpr double KolumnaPozycji = 15;
constexpr double KolumnaOpisu = 15 + 12;
constexpr double KolumnaDzialania = 15 + 12 + 64;
constexpr double KolumnaKwoty = 15 + 12 + 64 + 68;
constexpr double Prawa = 210 - 15;
constexpr double Stopka = 6; // the footer's strip above the bottom margin

TQRFont Pogrubiona(TQRFont czcionka, int punktow = 0)
{
    czcionka.setBold(true);
    if (punktow > 0)
        czcionka.setPointSize(punktow);
    return czcionka;
}

} // namespace

TRozliczeniePrev::TRozliczeniePrev(const TRozliczenieZwrotu &rozliczenie, int odWiersza, int nrStrony)
    : TStronaWydruku(QPageLayout::Portrait, Marginesy), m_nrStrony(nrStrony)
{
    const TQRFont czcionka = CzcionkaDruku();
    const double dol = 297 - Marginesy.bottom() - Stopka;
    double y = Marginesy.top();
    if (nrStrony == 1) {
        const TQRFont tytul = Pogrubiona(czcionka, czcionka.pointSize() + 4);
        y += Tekst(KolumnaPozycji, y, Prawa - KolumnaPozycji, Zawin(rozliczenie.Tytul(), tytul, Prawa - KolumnaPozycji),
                   tytul);
        y += 2;
        QStringList naglowek;
        for (const QString &linia : rozliczenie.Naglowek())
            naglowek << Zawin(linia, czcionka, Prawa - KolumnaPozycji);
        y += Tekst(KolumnaPozycji, y, Prawa - KolumnaPozycji, naglowek, czcionka);
        y += 3;
    }
    const TQRFont glowki = Pogrubiona(czcionka);
    const double wysokoscGlowek = std::max(
        {Tekst(KolumnaPozycji, y, KolumnaOpisu - KolumnaPozycji - Odstep, {QStringLiteral("Poz.")}, glowki),
         Tekst(KolumnaOpisu, y, KolumnaDzialania - KolumnaOpisu - Odstep, {QStringLiteral("Opis")}, glowki),
         Tekst(KolumnaDzialania, y, KolumnaKwoty - KolumnaDzialania - Odstep, {QStringLiteral("Obliczenie")}, glowki),
         Tekst(KolumnaKwoty, y, Prawa - KolumnaKwoty, {QStringLiteral("Kwota")}, glowki, Qt::AlignRight)});
    y += wysokoscGlowek + 0.5;
    auto *kreska = Dodaj<TQRShape>(QRectF(KolumnaPozycji, y, Prawa - KolumnaPozycji, 0.4));
    kreska->Shape = TQRShape::Kind::HorizontalLine;
    y += 1;

    const QList<TWierszRozliczenia> &wiersze = rozliczenie.Wiersze();
    m_doWiersza = odWiersza;
    for (; m_doWiersza < wiersze.size(); ++m_doWiersza) {
        const TWierszRozliczenia &w = wiersze[m_doWiersza];
        const bool sekcja = w.rodzaj == TWierszRozliczenia::Rodzaj::Sekcja;
        const TQRFont f = w.rodzaj == TWierszRozliczenia::Rodzaj::Wiersz ? czcionka : glowki;
        // Measured before anything of the line is placed: a line that does
        // not fit goes whole to the next page.
        const double lewa = sekcja ? KolumnaPozycji : KolumnaOpisu;
        // A heading or a note without figures takes the whole width.
        const double prawa = sekcja || (w.Dzialanie.isEmpty() && w.Kwota.isEmpty()) ? Prawa : KolumnaDzialania - Odstep;
        const QStringList opis = Zawin(w.Opis, f, prawa - lewa);
        const QStringList dzialanie = Zawin(w.Dzialanie, f, KolumnaKwoty - KolumnaDzialania - Odstep);
        const double odstep = sekcja ? 1.5 : 0.4;
        const double wysokosc = odstep + std::max(opis.size(), dzialanie.size()) * WysokoscMm(f);
        // A heading or a note goes with at least one line after it.
        const double zNastepnym = wysokosc + (prawa == Prawa ? WysokoscMm(czcionka) : 0);
        if (y + zNastepnym > dol && m_doWiersza > odWiersza)
            break;
        y += odstep;
        if (w.Pozycja > 0)
            Tekst(KolumnaPozycji, y, KolumnaOpisu - KolumnaPozycji - Odstep, {QString::number(w.Pozycja) + QLatin1Char('.')},
                  f, Qt::AlignRight);
        Tekst(lewa, y, prawa - lewa, opis, f);
        Tekst(KolumnaDzialania, y, KolumnaKwoty - KolumnaDzialania - Odstep, dzialanie, f);
        Tekst(KolumnaKwoty, y, Prawa - KolumnaKwoty, {w.Kwota}, f, Qt::AlignRight);
        y += wysokosc - odstep;
    }

    m_stopka = Dodaj<TQRLabel>(QRectF(KolumnaPozycji, 297 - Marginesy.bottom() - Stopka + 1.5, Prawa - KolumnaPozycji,
                                      WysokoscMm(TQRFont(czcionka.family(), 8))));
    m_stopka->Font = TQRFont(czcionka.family(), 8);
    m_stopka->Alignment = Qt::AlignRight;
    UstawLiczbeStron(nrStrony);
}

void TRozliczeniePrev::UstawLiczbeStron(int liczba)
{
    m_stopka->Caption = QStringLiteral("Rozliczenie zwrotu - strona %1/%2").arg(m_nrStrony).arg(liczba);
}

double TRozliczeniePrev::Tekst(double x, double y, double szerokosc, const QStringList &linie, const TQRFont &czcionka,
                               Qt::Alignment wyrownanie)
{
    const double wysokosc = linie.size() * WysokoscMm(czcionka);
    auto *memo = Dodaj<TQRMemo>(QRectF(x, y, szerokosc, wysokosc + 0.5));
    memo->Lines = linie;
    memo->WordWrap = false;
    memo->Font = czcionka;
    memo->Alignment = wyrownanie;
    return wysokosc;
}

QStringList TRozliczeniePrev::Zawin(const QString &tekst, const TQRFont &czcionka, double szerokosc)
{
    QStringList linie;
    QString biezaca;
    for (const QString &slowo : tekst.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString dluzsza = biezaca.isEmpty() ? slowo : biezaca + QLatin1Char(' ') + slowo;
        if (!biezaca.isEmpty() && SzerokoscMm(czcionka, dluzsza) > szerokosc) {
            linie << biezaca;
            biezaca = slowo;
        } else {
            biezaca = dluzsza;
        }
    }
    if (!biezaca.isEmpty() || linie.isEmpty())
        linie << biezaca;
    return linie;
}
