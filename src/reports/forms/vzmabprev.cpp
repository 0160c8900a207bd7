#include "reports/forms/vzmabprev.h"

#include "overprint/fontform.h"
#include "vzm/attachmentmodel.h"

#include <algorithm>

namespace {

// The seller's NIP at the pitch of the overprint's NIP of a row.
constexpr double MiejsceNipuWiersza = 5.3;

// The item numbers that do not fit on the row's line, word-wrapped small:
// the form's size, then smaller in half points down to what still reads.
constexpr double RozmiarPozycji = 6, NajmniejszyRozmiarPozycji = 4.5;

TQRFont czcionkaPozycji(double punkty)
{
    TQRFont czcionka(QStringLiteral("MS Serif"));
    czcionka.setPointSizeF(punkty);
    return czcionka;
}

// A little to spare, so that the device's rounding of the widths never
// adds a line the measure in millimetres did not.
constexpr double ZapasSzerokosci = 0.3;

// The overprint's field of the item numbers of a row.
constexpr int polePozycji(int wiersz)
{
    return 176 + wiersz;
}

struct StopkaListy
{
    TFormularz Formularz;
    const char *Wersja;
};

// By the list: A, B, C.
constexpr std::array<StopkaListy, 3> StopkiList{{{fmVZM1A, "4"}, {fmVZM1B, "4"}, {fmVZM1C, "2"}}};

} // namespace

TVZMabPrev::UkladWiersza TVZMabPrev::UkladWiersza::Dla(int wiersz)
{
    const int pierwsze = TVZMab::PierwszaKratka(wiersz); // the overprint's field numbers are the model's boxes
    const auto punkt = [](int pole) { return PunktZTabeli(WspVzmab, pole); };
    const PunktPola numer = punkt(pierwsze);
    const PunktPola data = punkt(pierwsze + 1);
    const PunktPola pozycje = punkt(polePozycji(wiersz));
    const QRectF ramkaNumeru = RamkaTekstu(numer, 0, Wysokosc);

    UkladWiersza u;
    u.Gora = ramkaNumeru.top();
    u.Dol = ramkaNumeru.bottom();
    u.Krawedzie[0] = ramkaNumeru.left();
    u.Krawedzie[1] = RamkaTekstu(pozycje, 0, Wysokosc).left();
    // The date ends at its point whether the box aligns it right (a gap of two
    // spaces) or left (the box's gap); dates are ten characters of equal width.
    u.Krawedzie[2] = data.x - SzerokoscMm(CzcionkaWzorcowa(), QStringLiteral("00-00-0000")) - OdstepWRamce();
    u.Krawedzie[3] = data.x + SzerokoscMm(TQRTextBox().CaptionFont, QStringLiteral("  "));
    for (int kwota = 0; kwota < 3; ++kwota)
        u.Krawedzie[5 + kwota] = RamkaKwoty(punkt(pierwsze + 3 + kwota), 0, Wysokosc).right();
    // The gross amount's column is as wide as a VAT column.
    u.Krawedzie[4] = 2 * u.Krawedzie[5] - u.Krawedzie[6];
    return u;
}

TVZMabPrev::UkladWiersza TVZMabPrev::UkladWiersza::Ponizej() const
{
    UkladWiersza u = *this;
    u.Gora += Wysokosc;
    u.Dol += Wysokosc;
    return u;
}

QRectF TVZMabPrev::UkladWiersza::Kolumny(int od, int doKolumny) const
{
    return QRectF(QPointF(Krawedzie[od], Gora), QPointF(Krawedzie[doKolumny + 1], Dol));
}

TVZMabPrev::TVZMabPrev(TVZMab &zalacznik, int strona)
    : TStronaWydruku(QPageLayout::Landscape, QMarginsF(7, 9, 9, 10)), m_zalacznik(zalacznik), m_strona(strona)
{
}

TQRLabel *TVZMabPrev::Napis(const QRectF &naArkuszu, const QString &tekst, int rozmiar, bool pogrubiony,
                            Qt::Alignment wyrownanie)
{
    auto *napis = Dodaj<TQRLabel>(naArkuszu);
    napis->Caption = tekst;
    napis->Font = TQRFont(QStringLiteral("Arial"), rozmiar);
    napis->Font.setBold(pogrubiony);
    napis->Alignment = wyrownanie;
    return napis;
}

TQRShape *TVZMabPrev::Tlo(const QRectF &naArkuszu)
{
    auto *tlo = Dodaj<TQRShape>(naArkuszu);
    Cieniowany(tlo);
    return tlo;
}

void TVZMabPrev::KomorkaCieniowana(const QRectF &naArkuszu, const QStringList &linie, int rozmiar)
{
    TQRFont czcionka(QStringLiteral("Arial"), rozmiar);
    czcionka.setBold(true);
    Cieniowany(Dodaj<TQRCell>(naArkuszu));
    // The lines are cells without an outline, so that they do not cross the frame.
    const double wysokosc = WysokoscMm(czcionka);
    const double wciecie = 0.3;
    double y = naArkuszu.center().y() - wysokosc * linie.size() / 2;
    for (const QString &tekst : linie) {
        auto *linia = Dodaj<TQRCell>(QRectF(naArkuszu.left() + wciecie, y, naArkuszu.width() - 2 * wciecie, wysokosc));
        linia->Caption = tekst;
        linia->Font = czcionka;
        linia->HorAlignment = haCenter;
        linia->Pen = QPen(Qt::NoPen);
        Cieniowany(linia);
        y += wysokosc;
    }
}

void TVZMabPrev::DodajNaglowek()
{
    const UkladWiersza tabela = UkladWiersza::Dla(m_strona == 1 ? 1 : 8);
    const double lewa = tabela.Krawedzie.front();
    const double prawa = tabela.Krawedzie.back();
    const double gora = Report.Margins.top();
    const double szerokoscPoltax = 8;
    Napis(QRectF(lewa, gora, szerokoscPoltax, 2), QStringLiteral("POLTAX"), 5, true);
    Napis(QRectF(lewa + szerokoscPoltax, gora, 100, 2),
          QStringLiteral("WYPEŁNIA OSOBA FIZYCZNA (ODPOWIEDNIO MAŁŻONEK)"), 5, false);
    auto *linia = Dodaj<TQRShape>(QRectF(lewa, gora + 2, prawa - lewa, 0.4));
    linia->Pen = QPen(Qt::NoPen);
    linia->Brush = QBrush(Qt::black);
}

void TVZMabPrev::DodajGloweTabeli(double gora)
{
    const UkladWiersza tabela = UkladWiersza::Dla(1);
    const auto kolumny = [&](int od, int doKolumny, double y1, double y2) {
        const QRectF r = tabela.Kolumny(od, doKolumny);
        return QRectF(QPointF(r.left(), y1), QPointF(r.right(), y2));
    };
    const double faktura = gora + 4.5;     // under "Dane dotyczące ..."
    const double kolumna1 = faktura + 4;   // under "Faktura"
    const double kolumna5 = faktura + 9;   // under "Kwota podatku VAT ..."
    const double numery = tabela.Gora - 3.5;

    KomorkaCieniowana(kolumny(0, 6, gora, faktura),
                      {QStringLiteral("Dane dotyczące faktury VAT, o której mowa w art. 3 ust.4 ustawy")}, 8);
    KomorkaCieniowana(kolumny(0, 1, faktura, kolumna1), {QStringLiteral("Faktura")}, 7);
    KomorkaCieniowana(kolumny(0, 0, kolumna1, numery), {QStringLiteral("nr faktury")}, 7);
    KomorkaCieniowana(kolumny(1, 1, kolumna1, numery),
                      {QStringLiteral("lp. z faktury dot."), QStringLiteral("wykazywanego"), QStringLiteral("wydatku **)")}, 7);
    KomorkaCieniowana(kolumny(2, 2, faktura, numery),
                      {QStringLiteral("Data"), QStringLiteral("wystawienia"), QStringLiteral("(dzień-miesiąc-rok)")}, 6);
    KomorkaCieniowana(kolumny(3, 3, faktura, numery), {QStringLiteral("NIP sprzedawcy")}, 7);
    KomorkaCieniowana(kolumny(4, 4, faktura, numery),
                      {QStringLiteral("Kwota brutto wydatku"), QStringLiteral("uprawniającego do"), QStringLiteral("zwrotu")}, 7);
    KomorkaCieniowana(kolumny(5, 6, faktura, kolumna5),
                      {QStringLiteral("Kwota podatku VAT"), QStringLiteral("zawartego w kwocie z kolumny 4,"),
                       QStringLiteral("dotycząca inwestycji")}, 7);
    KomorkaCieniowana(kolumny(5, 5, kolumna5, numery),
                      {QStringLiteral("wymagającej"), QStringLiteral("pozwolenia na"), QStringLiteral("budowę")}, 7);
    KomorkaCieniowana(kolumny(6, 6, kolumna5, numery),
                      {QStringLiteral("niewymagającej"), QStringLiteral("pozwolenia na"), QStringLiteral("budowę")}, 7);
    const QStringList numeryKolumn{QStringLiteral("1"), QStringLiteral("1a"), QStringLiteral("2"), QStringLiteral("3"),
                                   QStringLiteral("4"), QStringLiteral("5"), QStringLiteral("6")};
    for (int kolumna = 0; kolumna < numeryKolumn.size(); ++kolumna)
        KomorkaCieniowana(kolumny(kolumna, kolumna, numery, tabela.Gora), {numeryKolumn[kolumna]}, 6);
}

void TVZMabPrev::DodajWiersze(int od, int doWiersza)
{
    for (int wiersz = od; wiersz <= doWiersza; ++wiersz)
        DodajWiersz(wiersz);
}

// Row k holds the form's positions 6k + 4 to 6k + 9: the invoice number, the
// date of issue, the seller's NIP and the three amounts; its item numbers
// stand in column 1a without a position of their own.
void TVZMabPrev::DodajWiersz(int wiersz)
{
    const UkladWiersza u = UkladWiersza::Dla(wiersz);
    const int pozycja = 6 * wiersz + 4;
    const int pierwsze = TVZMab::PierwszaKratka(wiersz);
    const auto ramka = [&](auto *pole, int przesuniecie) {
        pole->Caption = QString::number(pozycja + przesuniecie) + QLatin1Char('.');
        return pole;
    };

    WierszFaktury w{};
    w.Wiersz = wiersz;
    w.Numer = ramka(Dodaj<TQRTextBox>(u.Kolumna(0)), 0);
    w.Pozycje = Dodaj<TQRTextBox>(u.Kolumna(1));
    w.Data = ramka(Dodaj<TQRTextBox>(u.Kolumna(2)), 1);
    w.Data->TextAlignment = m_strona == 1 ? taRightJustify : taLeftJustify;
    ramka(Dodaj<TQRTextBox>(u.Kolumna(3)), 2);
    w.Nip = DodajGrzebien<TQRNIP>(PunktZTabeli(WspVzmab, pierwsze + 2), TQRNIP::Miejsc, MiejsceNipuWiersza, u.Dol);
    for (int kwota = 0; kwota < 3; ++kwota) {
        w.Kwoty[kwota] = ramka(Dodaj<TQRCurrBox>(u.Kolumna(4 + kwota)), 3 + kwota);
        w.Kwoty[kwota]->PrintZero = false;
        Dane(w.Kwoty[kwota]);
    }
    for (TQRTextBox *pole : {w.Numer, w.Pozycje, w.Data})
        Dane(pole);

    // Item numbers too long for the line are wrapped into the box's inside,
    // from where its text starts to one "M" before its right edge, starting a
    // millimetre under its top edge (near where the overprint starts them).
    const QRectF pozycje = u.Kolumna(1);
    const double poczatek = PunktZTabeli(WspVzmab, polePozycji(wiersz)).x;
    const double koniec = pozycje.right() - OdstepWRamce();
    w.PozycjeZawiniete = Dodaj<TQRWrapper>(
        QRectF(QPointF(poczatek, pozycje.top() + 1), QPointF(koniec, pozycje.bottom() - 0.2)));
    w.PozycjeZawiniete->Font = czcionkaPozycji(RozmiarPozycji);
    m_wiersze.push_back(w);
}

double TVZMabPrev::OdstepWRamce()
{
    const TQRTextBox wzor;
    return SzerokoscMm(wzor.CaptionFont, QString(wzor.ZnakOdstepuDol));
}

void TVZMabPrev::DodajStopke(double prawaKrawedz)
{
    const double dol = Report.PaperSize().height() - Report.Margins.bottom();
    m_stopka = Dodaj<TQRPitFooter>(QRectF(prawaKrawedz - 38, dol - 6.5, 38, 6));
}

void TVZMabPrev::Wypelnij()
{
    for (const WierszFaktury &w : m_wiersze)
        WypelnijWiersz(w);
    const StopkaListy &stopka = StopkiList[std::clamp(m_zalacznik.Rodzaj(), 1, 3) - 1];
    m_stopka->setVersion(QString::fromLatin1(stopka.Wersja));
    m_stopka->setFormularz(stopka.Formularz);
    m_stopka->setPageNo(m_strona);
}

void TVZMabPrev::WypelnijWiersz(const WierszFaktury &w)
{
    const int pierwsze = TVZMab::PierwszaKratka(w.Wiersz);
    w.Numer->Text = m_zalacznik.GetTekst(pierwsze);
    w.Data->Text = m_zalacznik.GetTekst(pierwsze + 1);
    ZmiescWRamce(*w.Numer);
    ZmiescWRamce(*w.Data);
    w.Nip->NIP = m_zalacznik.GetTekst(pierwsze + 2);
    for (int kwota = 0; kwota < 3; ++kwota)
        w.Kwoty[kwota]->Value = m_zalacznik.GetKwota(pierwsze + 3 + kwota);

    // Item numbers wider than the box's inside (the wrapper's width) in the
    // print font go word-wrapped into the wrapper, in its small font.
    const QString pozycje = m_zalacznik.GetLpFakt(w.Wiersz);
    const bool zawin = SzerokoscMm(w.Pozycje->Font, pozycje) > w.PozycjeZawiniete->Width;
    w.Pozycje->Text = zawin ? QString() : pozycje;
    const PozycjeWRamce wRamce = zawin ? DopasujPozycje(pozycje, w.PozycjeZawiniete->Width, w.PozycjeZawiniete->Height)
                                       : PozycjeWRamce{czcionkaPozycji(RozmiarPozycji), QString()};
    w.PozycjeZawiniete->Font = wRamce.Czcionka;
    w.PozycjeZawiniete->Caption = wRamce.Tekst;
    w.PozycjeZawiniete->Visible = zawin;
}

void TVZMabPrev::ZmiescWRamce(TQRTextBox &pole)
{
    // Room for the text between the gaps the box keeps on either side.
    const double miejsce = pole.Width - OdstepWRamce() - SzerokoscMm(pole.CaptionFont, QStringLiteral("  "));
    while (pole.Font.pointSize() > TFontForm::NajmniejszyRozmiar && SzerokoscMm(pole.Font, pole.Text) > miejsce)
        pole.Font.setPointSize(pole.Font.pointSize() - 1);
}

TVZMabPrev::PozycjeWRamce TVZMabPrev::DopasujPozycje(const QString &pozycje, double szerokosc, double wysokosc)
{
    const auto miesciSie = [&](const QString &tekst, const TQRFont &czcionka) {
        const QStringList linie = TQRWrapper::Wrap(tekst, szerokosc - ZapasSzerokosci,
                                                   [&](const QString &t) { return SzerokoscMm(czcionka, t); });
        return linie.size() * WysokoscMm(czcionka) <= wysokosc;
    };
    for (double punkty = RozmiarPozycji; punkty >= NajmniejszyRozmiarPozycji; punkty -= 0.5) {
        const TQRFont czcionka = czcionkaPozycji(punkty);
        if (miesciSie(pozycje, czcionka))
            return {czcionka, pozycje};
    }
    const TQRFont najmniejsza = czcionkaPozycji(NajmniejszyRozmiarPozycji);
    const QString wielokropek = QStringLiteral("…");
    for (qsizetype dlugosc = pozycje.size() - 1; dlugosc > 0; --dlugosc) {
        const QString uciete = pozycje.left(dlugosc).trimmed() + wielokropek;
        if (miesciSie(uciete, najmniejsza))
            return {najmniejsza, uciete, true};
    }
    return {najmniejsza, wielokropek, true};
}
