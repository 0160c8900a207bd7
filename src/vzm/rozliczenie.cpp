#include "vzm/rozliczenie.h"

#include "core/common.h"
#include "data/tdm.h"
#include "vzm/formmodel.h"

namespace {

const QString Razy = QStringLiteral(" × ");
const QString Plus = QStringLiteral(" + ");
const QString Minus = QStringLiteral(" − ");

// An amount and its currency never part at the end of a line.
const QString Zlotych = QStringLiteral("\u00A0zł");

QString Zl(Money kwota)
{
    return Kwota2(kwota) + Zlotych;
}

QString Zl(double kwota)
{
    return Zl(Money::fromReal(kwota));
}

QString ZlCale(Money kwota)
{
    return Kwota0(kwota) + Zlotych;
}

// A rate as the form prints it: "9,959 %".
QString Procent(long double stawka)
{
    return QString::number(double(stawka), 'g', 6).replace(QLatin1Char('.'), QLatin1Char(',')) + QStringLiteral("\u00A0%");
}

QString Metrow(long double metrow)
{
    return QString::number(double(metrow));
}

QString Lista(int lista)
{
    return QStringLiteral("VZM-1/") + TDM::LiteraListy(lista);
}

// The four kinds of the limits, by the columns of the attachments they cover.
const char *const Rodzaje[] = {
    "kol. 5 VZM-1/A",
    "kol. 6 VZM-1/A",
    "kol. 5 VZM-1/B i C",
    "kol. 6 VZM-1/B i C",
};

} // namespace

TRozliczenieZwrotu::TRozliczenieZwrotu(TDM &dm, TVzm_3 &vzm, ZrodloRozliczenia zrodlo) : dm(dm), vzm(vzm)
{
    Naglowek(zrodlo);
    Faktury();
    ZwrotPrzedLimitami();
    Limity();
    ZwrotyPoprzednie();
    KwotaZwrotu();
}

void TRozliczenieZwrotu::Naglowek(ZrodloRozliczenia zrodlo)
{
    m_tytul = QStringLiteral("Rozliczenie zwrotu");
    m_naglowek << (vzm.IsKorekta() ? QStringLiteral("Korekta wniosku VZM-1 nr ") + QString::number(vzm.NrKoryg())
                                   : QStringLiteral("Wniosek VZM-1 nr ") + QString::number(vzm.NrKolej()));
    m_naglowek << QStringLiteral("Data złożenia pierwszego wniosku w pięcioletnim okresie (poz. 38): ")
                      + (vzm.P44().isValid() ? DataNaTekst(vzm.P44()) : QStringLiteral("nie podana"));
    const auto osoba = [](const QString &kto, const QString &nazwisko, const QString &imie, const QString &nip,
                          const QString &pesel) {
        QString tekst = kto + PolaczTeksty(nazwisko, imie);
        if (!nip.trimmed().isEmpty())
            tekst += QStringLiteral(", NIP ") + nip.trimmed();
        else if (!pesel.trimmed().isEmpty())
            tekst += QStringLiteral(", PESEL ") + pesel.trimmed();
        return tekst;
    };
    m_naglowek << osoba(QStringLiteral("Podatnik: "), vzm.Nazwisko, vzm.Imie, vzm.NIP(), vzm.Pesel());
    if (!PolaczTeksty(vzm.MNazwisko, vzm.MImie).trimmed().isEmpty())
        m_naglowek << osoba(QStringLiteral("Małżonek: "), vzm.MNazwisko, vzm.MImie, vzm.MNIP(), vzm.MPesel());
    m_naglowek << (zrodlo == ZrodloRozliczenia::Zapisany
                       ? QStringLiteral("Wszystkie kwoty pochodzą z wniosku w postaci zapisanej w programie; "
                                        "każda kwota z numerem pozycji jest kwotą tej pozycji formularza.")
                       : QStringLiteral("Kwoty pochodzą z formularza na ekranie, ze zmianami jeszcze niezapisanymi; "
                                        "każda kwota z numerem pozycji jest kwotą tej pozycji formularza."));
}

void TRozliczenieZwrotu::Faktury()
{
    Sekcja(QStringLiteral("1. Faktury w załącznikach"));
    Uwaga(QStringLiteral("Kolumna 5: VAT inwestycji wymagających pozwolenia na budowę; kolumna 6: VAT inwestycji "
                         "niewymagających pozwolenia."));
    const Money k5[] = {vzm.SumaK5A(), vzm.SumaK5B(), vzm.SumaK5C()};
    const Money k6[] = {vzm.SumaK6A(), vzm.SumaK6B(), vzm.SumaK6C()};
    for (int lista = 1; lista <= 3; ++lista) {
        const TZestawienieListy zestawienie = dm.ZestawienieListy(vzm.VzmId(), lista);
        m_wiersze << TWierszRozliczenia{TWierszRozliczenia::Rodzaj::Wiersz,
                                        Lista(lista) + QStringLiteral(": liczba faktur"), {},
                                        QString::number(zestawienie.Liczba), 0, Money::fromUnits(zestawienie.Liczba)};
        Wiersz(Lista(lista) + QStringLiteral(": suma brutto"), {}, zestawienie.Brutto);
        Wiersz(Lista(lista) + QStringLiteral(": suma kolumny 5"), {}, k5[lista - 1]);
        Wiersz(Lista(lista) + QStringLiteral(": suma kolumny 6"), {}, k6[lista - 1]);
    }
}

void TRozliczenieZwrotu::ZwrotPrzedLimitami()
{
    Sekcja(QStringLiteral("2. Kwota zwrotu przed ograniczeniem limitami (część D.4)"));
    const TPrzebiegZwrotu &p = vzm.Przebieg();
    const long double stawki[] = {StawkiZwrotu::ZwrotuA, StawkiZwrotu::ZwrotuB, StawkiZwrotu::ZwrotuC};
    const Money sumy[2][3] = {{vzm.SumaK5A(), vzm.SumaK5B(), vzm.SumaK5C()},
                              {vzm.SumaK6A(), vzm.SumaK6B(), vzm.SumaK6C()}};
    const std::array<double, 3> *zwroty[2] = {&p.ZwrotK5, &p.ZwrotK6};
    // The part of list 0..2 in column 5 or 6 (k 0 or 1), with its rate.
    const auto czesc = [&](int k, int lista, int pozycja) {
        Wiersz(Lista(lista + 1) + QStringLiteral(", kolumna ") + QString::number(5 + k),
               Procent(stawki[lista]) + Razy + Zl(sumy[k][lista]), Money::fromReal((*zwroty[k])[std::size_t(lista)]),
               pozycja);
    };
    czesc(0, 0, 45);
    czesc(1, 0, 46);
    for (int k = 0; k < 2; ++k) {
        czesc(k, 1, 0);
        czesc(k, 2, 0);
        const int pozycja = 47 + k;
        Wiersz(QStringLiteral("VZM-1/B i C razem, kolumna ") + QString::number(5 + k),
               Zl((*zwroty[k])[1]) + Plus + Zl((*zwroty[k])[2]), vzm.GetPole(pozycja + 6), pozycja);
    }
}

void TRozliczenieZwrotu::Limity()
{
    const TPrzebiegZwrotu &p = vzm.Przebieg();
    Sekcja(QStringLiteral("3. Pięcioletnie limity zwrotu (część D.3)"));
    Wiersz(QStringLiteral("Cena 1 m² powierzchni"), {}, vzm.GetPole(45), 39);
    Uwaga(vzm.IsD31() ? QStringLiteral("Blok D.3.1: pierwszy wniosek złożony do 31-12-2010 r. (VAT 22 %)")
                      : QStringLiteral("Blok D.3.2: pierwszy wniosek złożony od 1-01-2011 r. lub bez daty (VAT 23 %)"));
    const long double stawki[] = {StawkiZwrotu::LimituA, StawkiZwrotu::LimituA, p.StawkaLimituBC, p.StawkaLimituBC};
    const long double metrow[] = {StawkiZwrotu::MetrowKolumny5, StawkiZwrotu::MetrowKolumny6,
                                  StawkiZwrotu::MetrowKolumny5, StawkiZwrotu::MetrowKolumny6};
    for (int k = 0; k < 4; ++k)
        Wiersz(QStringLiteral("Limit: ") + QString::fromUtf8(Rodzaje[k]),
               Metrow(metrow[k]) + Razy + Zl(vzm.P45()) + Razy + Procent(stawki[k]), vzm.GetPole(47 + k), 41 + k);
}

void TRozliczenieZwrotu::ZwrotyPoprzednie()
{
    const TPrzebiegZwrotu &p = vzm.Przebieg();
    Sekcja(QStringLiteral("4. Zwroty otrzymane w pięcioletnim okresie i co zostaje z limitów"));
    const int pozycje[] = {41, 42, 43, 44};
    const Money poprzednie[] = {vzm.ZwrotPopA(), vzm.ZwrotPopB(), vzm.ZwrotPopC(), vzm.ZwrotPopD()};
    const double przed[] = {vzm.P51(), vzm.P52(), vzm.P53(), vzm.P54()};
    const double czesci[] = {vzm.ZwrotA(), vzm.ZwrotB(), vzm.ZwrotC(), vzm.ZwrotD()};
    for (std::size_t k = 0; k < 4; ++k) {
        Uwaga(QStringLiteral("Limit: %1 (poz. %2)").arg(QString::fromUtf8(Rodzaje[k])).arg(pozycje[k]));
        Wiersz(QStringLiteral("zwroty otrzymane wcześniej"), {}, poprzednie[k]);
        Wiersz(QStringLiteral("pozostało przed wnioskiem"), Zl(vzm.GetPole(47 + int(k))) + Minus + Zl(poprzednie[k]),
               p.LimitPozostaly[k]);
        Wiersz(QStringLiteral("część zwrotu z wniosku"),
               QStringLiteral("mniejsza z ") + Zl(przed[k]) + QStringLiteral(" i ") + Zl(p.LimitPozostaly[k]),
               Money::fromReal(czesci[k]));
        Wiersz(QStringLiteral("pozostało po wniosku"), Zl(p.LimitPozostaly[k]) + Minus + Zl(czesci[k]), p.LimitPoWniosku[k]);
    }
}

void TRozliczenieZwrotu::KwotaZwrotu()
{
    const TPrzebiegZwrotu &p = vzm.Przebieg();
    Sekcja(QStringLiteral("5. Kwota zwrotu"));
    Wiersz(QStringLiteral("Suma części zwrotu"),
           Zl(vzm.ZwrotA()) + Plus + Zl(vzm.ZwrotB()) + Plus + Zl(vzm.ZwrotC()) + Plus + Zl(vzm.ZwrotD()),
           Money::fromReal(p.SumaCzesci));
    Wiersz(QStringLiteral("Po zaokrągleniu do pełnych złotych"), Zl(p.SumaCzesci), p.SumaZaokraglona);
    Wiersz(QStringLiteral("Limit łączny: poz. 43 + 44 − zwroty wcześniejsze"),
           Zl(vzm.GetPole(49)) + Plus + Zl(vzm.GetPole(50)) + Minus + Zl(vzm.GetZwrotPop()), p.LimitCalkowity);
    if (p.Ograniczona)
        Uwaga(p.LimitCalkowity > Money() ? QStringLiteral("Suma części przekracza limit łączny: zwrot jest limitem "
                                                          "łącznym zaokrąglonym do pełnych złotych.")
                                         : QStringLiteral("Limit łączny został wyczerpany: zwrot wynosi 0 zł."));
    m_wiersze << TWierszRozliczenia{TWierszRozliczenia::Rodzaj::Wynik, QStringLiteral("Kwota zwrotu"), {},
                                    ZlCale(vzm.GetPole(55)), 49, vzm.GetPole(55)};
    Wiersz(QStringLiteral("Limit łączny po wniosku"), Zl(p.LimitCalkowity) + Minus + ZlCale(vzm.Zwrot()),
           p.LimitCalkowityPoWniosku);
}

void TRozliczenieZwrotu::Sekcja(const QString &opis)
{
    m_wiersze << TWierszRozliczenia{TWierszRozliczenia::Rodzaj::Sekcja, opis, {}, {}, 0, {}};
}

void TRozliczenieZwrotu::Wiersz(const QString &opis, const QString &dzialanie, Money kwota, int pozycja)
{
    m_wiersze << TWierszRozliczenia{TWierszRozliczenia::Rodzaj::Wiersz, opis, dzialanie, Zl(kwota), pozycja, kwota};
}

void TRozliczenieZwrotu::Uwaga(const QString &opis)
{
    m_wiersze << TWierszRozliczenia{TWierszRozliczenia::Rodzaj::Wiersz, opis, {}, {}, 0, {}};
}
