#include "reports/forms/vzm1_4prev.h"

#include "vzm/formmodel.h"

TVzm1_4Prev::TVzm1_4Prev(TVzm_3 &vzm)
    : TVzm1Strona(vzm, 4)
{
    DodajSekcjeH();
    DodajPodpisy();
    DodajPrzypisy();
}

void TVzm1_4Prev::DodajSekcjeH()
{
    const double gora = 15.5;
    const double dol = 151;
    const QString naglowek = QStringLiteral("H. DODATKOWE INFORMACJE");
    Sekcja(QRectF(Lewa, gora, Szerokosc, dol - gora), naglowek);
    Napis(QPointF(ZaTekstem(Lewa + 1.5, naglowek, Naglowek) + 2, gora + 1.3),
          QStringLiteral("(np. dotyczące adresu dla celów korespondencji (jeżeli jest inny niż wskazany w części "
                         "B.), urzędu"),
          Opis);
    Linie(QPointF(Lewa + 1.5, gora + 5.3),
          {QStringLiteral("skarbowego, do którego kierowane były wcześniejsze wnioski, lub w którym składane było "
                          "zeznanie podatkowe PIT-28, PIT-36 lub PIT-37 za lata"),
           QStringLiteral("2004-2005 uwzględniające odliczenia mieszkaniowe (jeżeli jest inny niż podany w poz.6) "
                          "oraz zakresu korekty wniosku uprzednio złożonego (jeżeli"),
           QStringLiteral("korekta związana jest z dodaniem nowych faktur w załącznikach VZM-1/A, VZM-1/B lub "
                          "VZM-1/C lub z rezygnacją z faktur wcześniej wykazanych"),
           QStringLiteral("w tych załącznikach); dodatkowo w części tej można podać swój numer telefonu, faksu lub "
                          "adres e-mail).")},
          Uwagi);
    const PunktPola punkt = Punkt(65);
    const double gora59 = punkt.y - 4;
    Ramka(QRectF(Wciecie, gora59, Prawa - Wciecie, dol - 0.5 - gora59), QStringLiteral("59."));
    m_informacje = Dodaj<TQRMemo>(QRectF(punkt.x, punkt.y, Prawa - 2 - punkt.x, dol - 1 - punkt.y));
    Dane(m_informacje);
}

void TVzm1_4Prev::DodajPodpisy()
{
    const double srodek = (Wciecie + Prawa) / 2;

    const double gora = 151;
    const QString naglowek = QStringLiteral("I. PODPIS OSOBY UBIEGAJĄCEJ SIĘ O ZWROT WYDATKÓW");
    Sekcja(QRectF(Lewa, gora, Szerokosc, 35), naglowek);
    Napis(QPointF(ZaTekstem(Lewa + 1.5, naglowek, Naglowek) + 2, gora + 1.3),
          QStringLiteral("(w przypadku małżonków - podpisy obojga"), Opis);
    Napis(QPointF(Lewa + 1.5, gora + 5),
          QStringLiteral("małżonków bez względu na sposób złożenia wniosku, tj. wspólnie z małżonkiem albo odrębnie "
                         "przez każdego z nich)"),
          Opis);
    Linie(QPointF(Lewa + 1.5, gora + 8.3),
          {QStringLiteral("Kto przez podanie danych niezgodnych ze stanem rzeczywistym lub zatajenie rzeczywistego "
                          "stanu rzeczy wprowadza w błąd właściwy organ"),
           QStringLiteral("narażając na nienależny zwrot wydatków, o których mowa w przepisach ustawy, podlega karze "
                          "grzywny stosownie do postanowień art.76a"),
           QStringLiteral("ustawy z dnia 10 września 1999 r. Kodeks karny skarbowy (Dz.U. z 2007 r. Nr 111, poz.765, "
                          "z późn. zm.).")},
          Uwagi);
    Ramka(QRectF(Wciecie, gora + 16.5, srodek - Wciecie, 17), QStringLiteral("60. Podpis osoby fizycznej "));
    Ramka(QRectF(srodek, gora + 16.5, Prawa - srodek, 17), QStringLiteral("61. Podpis małżonka"));

    const double goraJ = 186;
    Sekcja(QRectF(Lewa, goraJ, Szerokosc, 30), QStringLiteral("J. ADNOTACJE URZĘDU SKARBOWEGO"));
    PoleUrzedu(QRectF(Wciecie, goraJ + 5.5, Prawa - Wciecie, 12), QStringLiteral("62. Uwagi urzędu skarbowego"));
    PoleUrzedu(QRectF(Wciecie, goraJ + 17.5, srodek - Wciecie, 12),
               QStringLiteral("63. Identyfikator przyjmującego formularz"));
    PoleUrzedu(QRectF(srodek, goraJ + 17.5, Prawa - srodek, 12), QStringLiteral("64. Podpis przyjmującego formularz"));
}

void TVzm1_4Prev::DodajPrzypisy()
{
    const QStringList przypisy[] = {
        {QStringLiteral("1) Należy wpisać kolejne numery składanych wniosków w pięcioletnim okresie, dla którego "
                        "ustala się wspólny limit. Pozycji tej nie wypełnia się"),
         QStringLiteral("    w przypadku składania korekty wniosku.")},
        {QStringLiteral("2) Ilekroć jest mowa o urzędzie skarbowym - oznacza to urząd skarbowy, którym kieruje "
                        "właściwy dla osoby fizycznej (odpowiednio małżonka)"),
         QStringLiteral("    naczelnik urzędu skarbowego.")},
        {QStringLiteral("3) Jeżeli osoba fizyczna pozostaje w związku małżeńskim, wniosek może być złożony wspólnie "
                        "z małżonkiem lub odrębnie przez każdego"),
         QStringLiteral("    z małżonków. Jeżeli małżonkowie składają odrębne wnioski, do różnych urzędów "
                        "skarbowych, są jednocześnie obowiązani zawiadomić o złożeniu"),
         QStringLiteral("    wniosku urząd skarbowy właściwy dla złożenia wniosku przez małżonka. Zawiadomienie "
                        "powinno nastąpić w formie pisemnej.")},
        {QStringLiteral("4) Przez korektę wniosku rozumie się rozszerzenie zakresu żądania lub zgłoszenie nowego "
                        "żądania zgodnie z art.167 ustawy z dnia 29 sierpnia"),
         QStringLiteral("    1997 r. - Ordynacja podatkowa (Dz.U z 2005 r. Nr 8, poz.60, z późn. zm.).")},
        {QStringLiteral("5) Przez małżonków rozumie się osoby fizyczne pozostające w związku małżeńskim, z wyjątkiem "
                        "małżonków w stosunku do których sąd orzekł"),
         QStringLiteral("    separację.")},
        {QStringLiteral("6) Poz.11 (odpowiednio poz.24) należy wypełnić jeżeli osobie fizycznej (odpowiednio "
                        "małżonkowi) nie nadano identyfikatora podatkowego (NIP albo"),
         QStringLiteral("    numeru PESEL). Przez dokument tożsamości należy rozumieć każdy dokument umożliwiający "
                        "identyfikację osoby fizycznej, w tym również"),
         QStringLiteral("    wystawiany w innym państwie niż Rzeczpospolita Polska.")},
        {QStringLiteral("7) Cenę 1m2 powierzchni użytkowej budynku mieszkalnego za dany kwartał ogłasza Prezes "
                        "Głownego Urzędu Statystycznego w drodze komunikatu"),
         QStringLiteral("    publikowanego w Dzienniku Urzędowym GUS.")},
        {QStringLiteral("8) W celu określenia zakresu remontu należy posłużyć się wykazem robót zaliczonych do "
                        "remontu budynku lub lokalu mieszkalnego stanowiącym"),
         QStringLiteral("    załącznik do ustawy.")},
    };
    double y = 219;
    for (const QStringList &przypis : przypisy) {
        const TQRMemo *memo = Linie(QPointF(Lewa, y), przypis, Opis);
        y += memo->Height + 0.2;
    }
}

void TVzm1_4Prev::Wypelnij()
{
    m_informacje->Lines = Vzm.P65;
}
