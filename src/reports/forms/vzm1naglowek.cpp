#include "reports/forms/vzm1naglowek.h"

#include "core/polishtext.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

// Tick boxes of the form: squares of this side (mm).
constexpr double BokKwadratu = 3.5;

// The font the overprint's points are measured in: data start at a point
// with the print font of its default size.
QString BezZnacznikow(QString tekst)
{
    static const QRegularExpression znacznik(QStringLiteral("<[+-][buis]>"));
    return tekst.remove(znacznik);
}

} // namespace

TVzm1Strona::TVzm1Strona(TVzm_3 &vzm, int strona)
    : TStronaWydruku(QPageLayout::Portrait, QMarginsF(7, 10, 10, 10))
    , Vzm(vzm)
{
    DodajNaglowek();
    DodajStopke(strona);
}

TQRFont TVzm1Strona::Czcionka(Kroj kroj)
{
    TQRFont czcionka(QStringLiteral("Arial"), kroj.punkty);
    czcionka.setBold(kroj.gruby);
    return czcionka;
}

double TVzm1Strona::ZaTekstem(double x, const QString &tekst, Kroj kroj)
{
    return x + SzerokoscMm(Czcionka(kroj), BezZnacznikow(tekst));
}

TQRLabel *TVzm1Strona::Napis(QPointF lewyGorny, const QString &tekst, Kroj kroj)
{
    const TQRFont czcionka = Czcionka(kroj);
    auto *napis = Dodaj<TQRLabel>(QRectF(lewyGorny, QSizeF(SzerokoscMm(czcionka, tekst) + 0.5, WysokoscMm(czcionka))));
    napis->Caption = tekst;
    napis->Font = czcionka;
    return napis;
}

TQRLabel *TVzm1Strona::NapisWysrodkowany(double y, double lewy, double prawy, const QString &tekst, Kroj kroj)
{
    const TQRFont czcionka = Czcionka(kroj);
    auto *napis = Dodaj<TQRLabel>(QRectF(lewy, y, prawy - lewy, WysokoscMm(czcionka)));
    napis->Caption = tekst;
    napis->Font = czcionka;
    napis->Alignment = Qt::AlignHCenter;
    return napis;
}

TQRMemo *TVzm1Strona::Linie(QPointF lewyGorny, const QStringList &linie, Kroj kroj)
{
    const TQRFont czcionka = Czcionka(kroj);
    double szerokosc = 0;
    for (const QString &linia : linie)
        szerokosc = std::max(szerokosc, SzerokoscMm(czcionka, linia));
    // Half a millimetre to spare, so that rounding to pixels never drops the last line.
    auto *memo = Dodaj<TQRMemo>(
        QRectF(lewyGorny, QSizeF(szerokosc + 0.5, linie.size() * WysokoscMm(czcionka) + 0.5)));
    memo->Lines = linie;
    memo->Font = czcionka;
    memo->WordWrap = false;
    return memo;
}

TQRSmartLabel *TVzm1Strona::Etykieta(QPointF lewyGorny, const QString &tekst, Kroj kroj, bool naCieniu)
{
    TQRFont czcionka = Czcionka(kroj);
    czcionka.setBold(false);
    Kroj pogrubiony = kroj;
    pogrubiony.gruby = true;
    auto *etykieta = Dodaj<TQRSmartLabel>(
        QRectF(lewyGorny, QSizeF(ZaTekstem(0, tekst, pogrubiony) + 0.5, WysokoscMm(czcionka))));
    etykieta->Caption = tekst;
    etykieta->Font = czcionka;
    etykieta->Color = Qt::white;
    if (naCieniu)
        Cieniowany(etykieta);
    return etykieta;
}

TQRShape *TVzm1Strona::Cien(const QRectF &obszar)
{
    auto *ksztalt = Bialy(obszar);
    Cieniowany(ksztalt);
    return ksztalt;
}

TQRShape *TVzm1Strona::Bialy(const QRectF &obszar)
{
    return Dodaj<TQRShape>(obszar);
}

TQRShape *TVzm1Strona::Sekcja(const QRectF &obszar, const QString &naglowek, const QString &odnosnik)
{
    auto *sekcja = Cien(obszar);
    const QPointF poczatek(obszar.left() + 1.5, obszar.top() + 0.7);
    Napis(poczatek, naglowek, Naglowek);
    if (!odnosnik.isEmpty())
        Odnosnik(QPointF(ZaTekstem(poczatek.x(), naglowek, Naglowek) + 0.5, poczatek.y()), odnosnik);
    return sekcja;
}

TQRLabel *TVzm1Strona::Odnosnik(QPointF lewyGorny, const QString &odnosnik)
{
    return Napis(lewyGorny, odnosnik, Uwagi);
}

TQRTextBox *TVzm1Strona::PoleTekstu(const QRectF &ramka, const QString &opis, TAlignment wyrownanie)
{
    auto *pole = Ramka(ramka, opis);
    pole->TextAlignment = wyrownanie;
    Dane(pole);
    return pole;
}

TQRTextBox *TVzm1Strona::PoleUrzedu(const QRectF &ramka, const QString &opis)
{
    auto *pole = Ramka(ramka, opis);
    Cieniowany(pole);
    return pole;
}

TQRTextBox *TVzm1Strona::Ramka(const QRectF &ramka, const QString &opis)
{
    auto *pole = Dodaj<TQRTextBox>(ramka);
    pole->Caption = opis;
    pole->CaptionFont.setBold(true);
    return pole;
}

TQRCurrBox *TVzm1Strona::PoleKwoty(int pole, const QString &opis, double szerokosc, double wysokosc)
{
    auto *kwota = Dodaj<TQRCurrBox>(RamkaKwoty(Punkt(pole), szerokosc, wysokosc));
    kwota->Caption = opis;
    kwota->CaptionFont.setBold(true);
    Dane(kwota);
    return kwota;
}

TQRCheckBox *TVzm1Strona::Kwadrat(PunktPola znak)
{
    const TQRFont czcionka = CzcionkaWzorcowa();
    const QPointF srodek(znak.x + SzerokoscMm(czcionka, QStringLiteral("X")) / 2, znak.y + WysokoscMm(czcionka) / 2);
    return Dodaj<TQRCheckBox>(QRectF(srodek.x() - BokKwadratu / 2, srodek.y() - BokKwadratu / 2, BokKwadratu, BokKwadratu));
}

TQRCheckBox *TVzm1Strona::KwadratZOpisem(PunktPola znak, const QStringList &opis)
{
    auto *kwadrat = Kwadrat(znak);
    const QRectF ramka = NaArkuszu(*kwadrat);
    Linie(QPointF(ramka.right() + 1.2, ramka.center().y() - WysokoscMm(Czcionka(Opis)) / 2), opis, Opis);
    return kwadrat;
}

std::vector<TQRTextBox *> TVzm1Strona::UlozPola(std::span<const PoleWiersza> pola, double wysokosc)
{
    std::vector<TQRTextBox *> pudelka;
    for (std::size_t i = 0; i < pola.size(); ++i) {
        const PunktPola punkt = Punkt(pola[i].pole);
        const bool nastepneObok = i + 1 < pola.size() && Punkt(pola[i + 1].pole).y == punkt.y;
        const double prawy = nastepneObok ? LewaRamki(Punkt(pola[i + 1].pole).x) : Prawa;
        const QRectF ramka = RamkaTekstu(punkt, prawy - LewaRamki(punkt.x), wysokosc);
        pudelka.push_back(PoleTekstu(ramka, pola[i].opis, pola[i].wyrownanie));
    }
    return pudelka;
}

QRectF TVzm1Strona::NaArkuszu(const TQRPrintable &element) const
{
    return QRectF(element.Left + Report.Margins.left(), element.Top + Report.Margins.top(), element.Width,
                  element.Height);
}

PunktPola TVzm1Strona::Punkt(int pole)
{
    return PunktZTabeli(WspVzm1, pole);
}

double TVzm1Strona::LewaRamki(double x)
{
    return RamkaTekstu(PunktPola{float(x), 0}, 1, 1).left();
}

QString TVzm1Strona::Wielkie(const QString &tekst)
{
    return polishUpper(tekst);
}

void TVzm1Strona::DodajNaglowek()
{
    const QString poltax = QStringLiteral("POLTAX");
    const Kroj znak{8, true};
    Napis(QPointF(Lewa, 10), poltax, znak);
    const double x = ZaTekstem(Lewa, poltax, znak) + 3;
    Napis(QPointF(x, 10),
          QStringLiteral("POLA JASNE WYPEŁNIA OSOBA FIZYCZNA (ODPOWIEDNIO MAŁŻONEK), POLA CIEMNE WYPEŁNIA "
                         "URZĄD SKARBOWY. WYPEŁNIAĆ NA MASZYNIE,"),
          Uwagi);
    Napis(QPointF(x, 11.95),
          QStringLiteral("KOMPUTEROWO LUB RĘCZNIE, DUŻYMI, DRUKOWANYMI LITERAMI, CZARNYM LUB NIEBIESKIM KOLOREM."),
          Uwagi);
    // The thick rule: a black bar, as thick on every device.
    auto *kreska = Dodaj<TQRShape>(QRectF(Lewa, 14.25, Szerokosc, 0.45));
    kreska->Pen = Qt::NoPen;
    kreska->Brush = QBrush(Qt::black);
}

void TVzm1Strona::DodajStopke(int strona)
{
    auto *stopka = Dodaj<TQRPitFooter>(QRectF(Prawa - 38, 281, 38, 6));
    stopka->setFormularz(fmVZM1);
    stopka->setVersion(QStringLiteral("5"));
    stopka->setPageNo(strona);
}
