#include "vzm/windows/vzmstrony.h"

#include "widgets/krata.h"
#include "widgets/maskedlineedit.h"
#include "widgets/orxeditcalc.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// The form's own texts break their lines with CR LF; Qt wants LF.
QString tekst(const char *napis)
{
    return QString::fromUtf8(napis).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// --- The controls -----------------------------------------------------------

QLineEdit *NowaTekstowa(const char *nazwa, int dlugosc)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QLatin1StringView(nazwa));
    edit->setMaxLength(dlugosc);
    return edit;
}

MaskedLineEdit *NowaMaska(const char *nazwa, const char *wzor, MaskedLineEdit::Literals literaly)
{
    auto *edit = new MaskedLineEdit(QLatin1StringView(wzor), literaly);
    edit->setObjectName(QLatin1StringView(nazwa));
    return edit;
}

// A count or an amount of the form: borderless and bold like the printed
// digits. Those with a lower limit pull a negative value up to 0 when left;
// a count takes whole numbers of at most `cyfr` digits. Every one refuses,
// when left, a text that does not read.
enum class Granica { Brak, Dolna };

// The counts of documents (positions 53 to 55): 9 999 is the most that the
// form's box holds at the largest print size (15 pt).
constexpr int CyfrySztuk = 4;

TOrxEditCalc *NowaLiczba(const char *nazwa, const char *format, int dlugosc, Granica granica, int cyfr)
{
    auto *edit = new TOrxEditCalc;
    edit->setObjectName(QLatin1StringView(nazwa));
    edit->SetDisplayFormat(QLatin1StringView(format));
    edit->SetCheckOptions(granica == Granica::Dolna
                              ? TOrxEditCheckOptions{coCheckLowLimit, coCheckOnExit, coCropBeyondLimit}
                              : TOrxEditCheckOptions{coCheckOnExit});
    edit->SetWholeDigits(cyfr);
    if (dlugosc > 0)
        edit->setMaxLength(dlugosc);
    edit->setFrame(false);
    QFont pogrubiona = edit->font();
    pogrubiona.setBold(true);
    edit->setFont(pogrubiona);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0 000 000,00")) + 12);
    return edit;
}

QCheckBox *NowyKwadrat(const char *nazwa, const char *napis)
{
    auto *kwadrat = new QCheckBox(tekst(napis));
    kwadrat->setObjectName(QLatin1StringView(nazwa));
    return kwadrat;
}

// A computed amount or count: read-only, right-aligned, bold.
QLabel *NowaWartosc(const QString &nazwa)
{
    auto *etykieta = new QLabel;
    etykieta->setObjectName(nazwa);
    etykieta->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont pogrubiona = etykieta->font();
    pogrubiona.setBold(true);
    etykieta->setFont(pogrubiona);
    etykieta->setMinimumHeight(etykieta->fontMetrics().height() + 6);
    return etykieta;
}

QPushButton *NowyPrzycisk(const char *nazwa, const char *napis, const char *podpowiedz)
{
    auto *przycisk = new QPushButton(tekst(napis));
    przycisk->setObjectName(QLatin1StringView(nazwa));
    if (podpowiedz)
        przycisk->setToolTip(tekst(podpowiedz));
    // Enter typed in a field presses nothing on this form.
    przycisk->setAutoDefault(false);
    return przycisk;
}

QPlainTextEdit *NowaNotatka(const char *nazwa, int wysokosc)
{
    auto *memo = new QPlainTextEdit;
    memo->setObjectName(QLatin1StringView(nazwa));
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setTabChangesFocus(true);
    memo->setMinimumHeight(wysokosc);
    return memo;
}

QLabel *Napis(const QString &napis, int punktow = 0, bool pogrubiony = false)
{
    auto *etykieta = new QLabel(napis);
    etykieta->setWordWrap(true);
    etykieta->setTextFormat(Qt::PlainText);
    QFont czcionka = etykieta->font();
    if (punktow > 0)
        czcionka.setPointSize(punktow);
    czcionka.setBold(pogrubiony);
    etykieta->setFont(czcionka);
    return etykieta;
}

template <class... W>
QHBoxLayout *Obok(W *...kontrolki)
{
    auto *rzad = new QHBoxLayout;
    (rzad->addWidget(kontrolki), ...);
    rzad->addStretch();
    return rzad;
}

// --- The sheet ----------------------------------------------------------------

// One page of the form: boxes in a grid of twelve equal columns, placed row
// by row, touching each other as on paper. A box's controls join the
// window's Tab chain when the box is made, so the Tab key follows the order
// of placing: top to bottom, left to right.
class Arkusz
{
public:
    static constexpr int Kolumn = 12;

    explicit Arkusz(QWidget *strona) : m_siatka(new QGridLayout(strona))
    {
        m_siatka->setSpacing(0);
        m_siatka->setContentsMargins(8, 8, 8, 8);
        for (int k = 0; k < Kolumn; ++k)
            m_siatka->setColumnStretch(k, 1);
    }

    // A section band ("A. …") or a block band ("B.1. …") across the page.
    void Naglowek(const QString &tytul, const QString &objasnienie = {})
    {
        auto *zawartosc = new QVBoxLayout;
        zawartosc->addWidget(Napis(tytul, 0, true));
        if (!objasnienie.isEmpty())
            zawartosc->addWidget(Napis(objasnienie, 8));
        Umiesc(NowaKrata({}, zawartosc, TloKraty::Opis), 0, Kolumn);
        Dalej();
    }

    // Small print across the page: notes and footnotes of the form.
    void Objasnienie(const QString &napis)
    {
        auto *zawartosc = new QVBoxLayout;
        zawartosc->addWidget(Napis(napis, 8));
        Umiesc(NowaKrata({}, zawartosc, TloKraty::Opis), 0, Kolumn);
        Dalej();
    }

    // A position box framing its controls.
    TKrata *Pole(int kolumna, int szerokosc, const QString &podpis, QLayout *zawartosc, TloKraty tlo = TloKraty::Pole,
                 int wysokosc = 1)
    {
        TKrata *krata = NowaKrata(podpis, zawartosc, tlo);
        // The caption is drawn on one line: the box is never narrower than it.
        krata->setMinimumWidth(krata->fontMetrics().horizontalAdvance(podpis) + krata->MargLeft() + 6);
        Umiesc(krata, kolumna, szerokosc, wysokosc);
        return krata;
    }
    TKrata *Pole(int kolumna, int szerokosc, const QString &podpis, QWidget *kontrolka,
                 TloKraty tlo = TloKraty::Pole)
    {
        auto *zawartosc = new QHBoxLayout;
        zawartosc->addWidget(kontrolka);
        return Pole(kolumna, szerokosc, podpis, zawartosc, tlo);
    }
    // A caption cell of a row: a box in the button face holding a text.
    void Opis(int kolumna, int szerokosc, const QString &napis, int wysokosc = 1, int punktow = 0)
    {
        auto *zawartosc = new QVBoxLayout;
        zawartosc->addWidget(Napis(napis, punktow));
        Umiesc(NowaKrata({}, zawartosc, TloKraty::Opis), kolumna, szerokosc, wysokosc);
    }
    // A box that only the tax office or a signature fills.
    void Pusta(int kolumna, int szerokosc, const QString &podpis, int wysokoscPikseli)
    {
        auto *zawartosc = new QVBoxLayout;
        zawartosc->addSpacing(wysokoscPikseli);
        Pole(kolumna, szerokosc, podpis, zawartosc, TloKraty::Opis);
    }

    void Dalej() { ++m_wiersz; }

    // Closes the page: the rest of the height stays empty.
    void Koniec() { m_siatka->setRowStretch(m_wiersz + 1, 1); }

private:
    void Umiesc(QWidget *w, int kolumna, int szerokosc, int wysokosc = 1)
    {
        m_siatka->addWidget(w, m_wiersz, kolumna, wysokosc, szerokosc);
    }

    QGridLayout *m_siatka;
    int m_wiersz = 0;
};

// --- Page 1 -------------------------------------------------------------------

// One item of the personal data and address, the same for the taxpayer
// (positions 9 to 21) and the spouse (22 to 34): the name after "F" or "FM",
// the caption as printed, the length, and where it stands (row of the
// block, column, width).
struct PoleOsoby
{
    const char *nazwa;
    const char *podpis;
    int dlugosc;
    int wiersz, kolumna, szerokosc;
};

const PoleOsoby PolaOsoby[] = {
    {"Nazwisko", "Nazwisko", 80, 0, 0, 6},
    {"Imie", "Pierwsze imię", 80, 0, 6, 6},
    {"Dokument", "Rodzaj i numer dokumentu tożsamości oraz kraj jego wydania", 100, 1, 0, 12},
    {"Kraj", "Kraj ", 80, 2, 0, 3},
    {"Wojew", "Województwo", 80, 2, 3, 4},
    {"Powiat", "Powiat", 80, 2, 7, 5},
    {"Gmina", "Gmina", 80, 3, 0, 4},
    {"Ulica", "Ulica", 80, 3, 4, 4},
    {"Posesja", "Nr domu", 80, 3, 8, 2},
    {"Lokal", "Nr lokalu", 80, 3, 10, 2},
    {"Miasto", "Miejscowość", 80, 4, 0, 5},
    {"KodPoczt", "Kod pocztowy", 80, 4, 5, 2},
    {"Poczta", "Poczta", 80, 4, 7, 5},
};

// The block of a person: taxpayer from position 9 with "F", spouse from 22 with "FM".
void DaneOsoby(Arkusz &arkusz, int pierwszaPozycja, const char *przedrostek)
{
    int wiersz = 0;
    for (const PoleOsoby &p : PolaOsoby) {
        if (p.wiersz != wiersz) {
            arkusz.Dalej();
            wiersz = p.wiersz;
        }
        const int pozycja = pierwszaPozycja + int(&p - PolaOsoby);
        const QByteArray nazwa = QByteArray(przedrostek) + p.nazwa;
        arkusz.Pole(p.kolumna, p.szerokosc, QString::number(pozycja) + QStringLiteral(". ") + tekst(p.podpis),
                    NowaTekstowa(nazwa.constData(), p.dlugosc));
    }
    arkusz.Dalej();
}

// Box 1 or 2: the NIP and the PESEL of one person.
QLayout *Identyfikatory(const char *nip, const char *pesel)
{
    auto *rzad = new QHBoxLayout;
    for (const auto &[napis, kontrolka] :
         {std::pair{"NIP", static_cast<QWidget *>(NowaMaska(nip, "999-999-99-99", MaskedLineEdit::Literals::Kept))},
          std::pair{"PESEL", static_cast<QWidget *>(NowaMaska(pesel, "99999999999", MaskedLineEdit::Literals::Kept))}}) {
        auto *etykieta = new QLabel(QLatin1StringView(napis));
        etykieta->setBuddy(kontrolka);
        rzad->addWidget(etykieta);
        rzad->addWidget(kontrolka);
        rzad->addSpacing(12);
    }
    rzad->addStretch();
    return rzad;
}

} // namespace

namespace StronyVzm {

QWidget *Strona1()
{
    auto *strona = new QWidget;
    Arkusz a(strona);
    a.Objasnienie(tekst("POLA JASNE WYPEŁNIA OSOBA FIZYCZNA (ODPOWIEDNIO MAŁŻONEK), POLA CIEMNE WYPEŁNIA URZĄD "
                        "SKARBOWY. WYPEŁNIAĆ NA MASZYNIE, KOMPUTEROWO LUB RĘCZNIE, DUŻYMI, DRUKOWANYMI LITERAMI, "
                        "CZARNYM LUB NIEBIESKIM KOLOREM."));
    a.Pole(0, 6, tekst("1. Identyfikator podatkowy (NIP albo numer PESEL) osoby fizycznej"),
           Identyfikatory("FNip", "FPesel"));
    a.Pole(6, 6, tekst("2. Identyfikator podatkowy (NIP albo numer PESEL) małżonka"),
           Identyfikatory("FmNip", "FMPesel"));
    a.Dalej();
    a.Pusta(0, 6, tekst("3. Nr dokumentu"), 14);
    a.Pusta(6, 6, tekst("4. Status"), 14);
    a.Dalej();

    auto *tytul = new QVBoxLayout;
    tytul->addWidget(Napis(QStringLiteral("VZM-1"), 14, true));
    for (const char *wiersz : {"WNIOSEK O ZWROT NIEKTÓRYCH WYDATKÓW", "ZWIĄZANYCH Z BUDOWNICTWEM MIESZKANIOWYM",
                               "PONIESIONYCH OD DNIA 1.05.2004 r."}) {
        QLabel *napis = Napis(tekst(wiersz), 12, true);
        napis->setAlignment(Qt::AlignHCenter);
        tytul->addWidget(napis);
    }
    QLabel *uwaga = Napis(tekst("(przedmiotowy wniosek nie stanowi wzoru urzędowego określanego w drodze rozporządzenia)"), 8);
    uwaga->setAlignment(Qt::AlignHCenter);
    tytul->addWidget(uwaga);
    a.Pole(0, 12, {}, tytul, TloKraty::Opis);
    a.Dalej();
    a.Objasnienie(tekst("Podstawa prawna: Ustawa z dnia 29 sierpnia 2005 r. o zwrocie osobom fizycznym niektórych "
                        "wydatków związanych z budownictwem mieszkaniowym (Dz.U. Nr 177, poz.1468 z późn. zm.), "
                        "zwana dalej \"ustawą\".\r\n"
                        "Miejsce składania: Urząd skarbowy 2) właściwy ze względu na miejsce zamieszkania osoby "
                        "składającej wniosek w dniu złożenia przez nią wniosku; w przypadku wspólnego wniosku "
                        "małżonków mających różne miejsca zamieszkania - urząd skarbowy wskazany we wniosku, jeżeli "
                        "jest on właściwy ze względu na miejsce zamieszkania przynajmniej jednego z małżonków."));

    a.Naglowek(tekst("A. MIEJSCE, CEL I TRYB SKŁADANIA WNIOSKU ORAZ INFORMACJA O WNIOSKODAWCY 3)"));
    a.Pole(0, 3, tekst("5. Kolejny numer składanego wniosku 1)"), NowaLiczba("FNrKolej", "#0", 2, Granica::Brak, 2));
    a.Pole(3, 9, tekst("6. Urząd skarbowy, do którego adresowany jest wniosek"), NowaTekstowa("FUrzad", 150));
    a.Dalej();
    auto *cel = new QVBoxLayout;
    // A box is as wide as its text: a click beside the text ticks nothing.
    cel->addWidget(NowyKwadrat("F7_1", "1. złożenie wniosku"), 0, Qt::AlignLeft);
    cel->addLayout(Obok(NowyKwadrat("F7_2", "2. korekta wniosku o nr"), NowaLiczba("FNrKoryg", "#0", 2, Granica::Brak, 2),
                        new QLabel(QStringLiteral("4)"))));
    cel->addStretch();
    a.Pole(0, 5, tekst("7. Cel złożenia formularza (zaznaczyć właściwy kwadrat):"), cel);
    auto *sklada = new QVBoxLayout;
    sklada->addWidget(NowyKwadrat("F8_1", "1. osoba fizyczna niepozostająca\r\n    w związku małżeńskim"), 0,
                      Qt::AlignLeft);
    sklada->addWidget(NowyKwadrat("F8_2", "2. osoba fizyczna pozostająca w związku\r\n    małżeńskim - wniosek "
                                          "indywidualny"),
                      0, Qt::AlignLeft);
    sklada->addLayout(Obok(NowyKwadrat("F8_3", "3. małżonkowie - wniosek wspólny"), new QLabel(QStringLiteral("5)"))));
    sklada->addWidget(Napis(tekst("W przypadku osób, które zaznaczyły kwadrat nr 2 albo 3, należy wypełnić zarówno "
                                  "część B.1., jak i B.2."), 8));
    a.Pole(5, 7, tekst("8. Wniosek składa/ją (zaznaczyć właściwy kwadrat):"), sklada);
    a.Dalej();

    a.Naglowek(tekst("B. DANE IDENTYFIKACYJNE I ADRES 6)"));
    a.Naglowek(tekst("B.1. DANE OSOBY FIZYCZNEJ"));
    DaneOsoby(a, 9, "F");
    a.Naglowek(tekst("B.2. DANE MAŁŻONKA"),
               tekst("(poz. od 25 do 34 należy wypełnić, jeżeli adres zamieszkania małżonka jest inny niż wymieniony "
                     "w części B.1.)"));
    DaneOsoby(a, 22, "FM");
    a.Naglowek(tekst("Pouczenie"),
               tekst("Wniosek oraz załączniki do wniosku nie stanowią przedmiotu opłaty skarbowej, zgodnie z ustawą z "
                     "dnia 16 listopada 2006 r. o opłacie skarbowej (Dz.U. Nr 225, poz.1635, z późn. zm), a tym samym "
                     "nie podlegają tej opłacie."));
    a.Koniec();
    return strona;
}

} // namespace StronyVzm

namespace {

// --- Page 2 -------------------------------------------------------------------

// A row of a table of the form: its caption cell and the position's box.
struct Wiersz
{
    int pozycja;
    const char *opis;
    const char *kontrolka;
};

const Wiersz RodzajeInwestycji[] = {
    {35, "Budowa budynku mieszkalnego (art.3 ust.1 pkt 1 ustawy)", "F41"},
    {36, "Nadbudowa lub rozbudowa budynku na cele mieszkalne lub przebudowa (przystosowanie) budynku "
         "niemieszkalnego, jego części lub pomieszczenia niemieszkalnego na cele mieszkalne, w wyniku których "
         "powstał lokal mieszkalny (art.3 ust.1 pkt 2 ustawy)",
     "F42"},
    {37, "Remont budynku mieszkalnego lub lokalu mieszkalnego (art.3 ust.1 pkt 3 ustawy)", "F43"},
};

const Wiersz ZwrotPrzedLimitami[] = {
    {45, "55,23% sumy kwot z kolumny 5 załącznika/ów VZM -1/A ", "F51Lbl"},
    {46, "55,23% sumy kwot z kolumny 6 załącznika/ów VZM -1/A", "F52Lbl"},
    {47, "68,18% sumy kwot z kolumny 5 załącznika/ów VZM -1/B\r\n+\r\n"
         "65,22% sumy kwot z kolumny 5 załącznika/ów VZM -1/C",
     "F53Lbl"},
    {48, "68,18% sumy kwot z kolumny 6 załącznika/ów VZM -1/B\r\n+\r\n"
         "65,22% sumy kwot z kolumny 6 załącznika/ów VZM -1/C",
     "F54Lbl"},
};

QString Numer(int pozycja)
{
    return QString::number(pozycja) + u'.';
}

// The caption cell in nine columns, the position's box in the other three.
void WierszTabeli(Arkusz &a, const Wiersz &w, QWidget *kontrolka, TloKraty tlo)
{
    a.Opis(0, 9, tekst(w.opis));
    a.Pole(9, 3, Numer(w.pozycja), kontrolka, tlo);
    a.Dalej();
}

// One of the blocks D.3.1 and D.3.2: the limits of positions 40 to 44 for
// one VAT rate, shown in the labels F47Lbl … (D.3.1) or aF47Lbl … (D.3.2).
struct BlokLimitow
{
    const char *symbol;
    const char *stawkaVat;
    const char *stawkaBC; // of the rows for VZM-1/B and VZM-1/C
    const char *przedrostek;
};

void Limity(Arkusz &a, const BlokLimitow &b)
{
    a.Opis(0, 9,
           QString::fromUtf8(b.symbol) +
               tekst(" NALEŻY WYPEŁNIĆ , JEŻELI DATA ZŁOŻENIA PIERWSZEGO WNIOSKU PRZYPADA W OKRESIE "
                     "OBOWIĄZYWANIA PODATKU VAT O STAWCE ") +
               QString::fromUtf8(b.stawkaVat));
    a.Pusta(9, 3, Numer(40), 14);
    a.Dalej();
    const struct
    {
        const char *kolumna;
        const char *zalacznik;
        const char *mnoznik;
        bool bc;
    } wiersze[] = {{"5", "VZM-1/A", "70", false}, {"6", "VZM-1/A", "30", false},
                   {"5", "VZM-1/B lub VZM-1/C", "70", true}, {"6", "VZM-1/B lub VZM-1/C", "30", true}};
    a.Opis(0, 2, tekst("Pięcioletni limit zwrotu dla inwestycji, o których mowa w:"), 4);
    for (int i = 0; i < 4; ++i) {
        const auto &w = wiersze[i];
        a.Opis(2, 7,
               QStringLiteral("kolumnie %1 załącznika %2 wynosi:\n%3 x cena z poz.39 x %4")
                   .arg(QLatin1StringView(w.kolumna), QLatin1StringView(w.zalacznik), QLatin1StringView(w.mnoznik),
                        QString::fromUtf8(w.bc ? b.stawkaBC : "9,959%")));
        const QString nazwa = QLatin1StringView(b.przedrostek) + QStringLiteral("F%1Lbl").arg(47 + i);
        a.Pole(9, 3, Numer(41 + i), NowaWartosc(nazwa), TloKraty::Opis);
        a.Dalej();
    }
}

} // namespace

namespace StronyVzm {

QWidget *Strona2()
{
    auto *strona = new QWidget;
    Arkusz a(strona);
    a.Naglowek(tekst("C. INFORMACJA O RODZAJU INWESTYCJI, NA KTÓRĄ ZOSTAŁY PONIESIONE WYDATKI"));
    a.Opis(0, 9, QStringLiteral("Rodzaj inwestycji"));
    a.Opis(9, 3, QStringLiteral("Rok rozpoczęcia inwestycji"));
    a.Dalej();
    for (const Wiersz &w : RodzajeInwestycji)
        WierszTabeli(a, w, NowaLiczba(w.kontrolka, "###0", 4, Granica::Brak, 4), TloKraty::Pole);

    a.Naglowek(tekst("D. OBLICZENIE KWOTY ZWROTU ORAZ PRZYSŁUGUJĄCYCH LIMITÓW "));
    a.Naglowek(tekst("D.1. DATA ZŁOŻENIA PIERWSZEGO WNIOSKU W PIĘCIOLETNIM OKRESIE"));
    a.Opis(0, 9,
           tekst("Data złożenia pierwszego wniosku (dzień - miesiąc - rok)\r\n"
                 "Należy podać datę złożenia pierwszego wniosku w pięcioletnim okresie. Zgodnie z art.3 ust.6a ustawy "
                 "data złożenia pierwszego wniosku rozpoczyna liczenie pięcioletnich okresów, dla których ustala się "
                 "odrębne limity zwrotów w części D.3."));
    auto *data = new QVBoxLayout;
    data->addWidget(NowaMaska("F44", "99-99-9999", MaskedLineEdit::Literals::Kept));
    data->addWidget(Napis(tekst("dzień - miesiąc - rok"), 8));
    a.Pole(9, 3, Numer(38), data);
    a.Dalej();

    a.Naglowek(tekst("D.2. CENA 1 M² DLA POTRZEB OBLICZENIA LIMITÓW"));
    a.Opis(0, 9,
           tekst("Należy podać cenę 1 m² powierzchni użytkowej budynku mieszkalnego ostatnio ogłoszoną przed "
                 "kwartałem złożenia niniejszego wniosku o dokonanie zwrotu 7)"));
    auto *cena = new QHBoxLayout;
    cena->addWidget(NowaLiczba("F45", "#,##0.00", 0, Granica::Dolna, 0), 1);
    QPushButton *wstaw = NowyPrzycisk("WstawCena", "»", "Wstaw z parametrów domyślnych");
    wstaw->setFixedWidth(wstaw->sizeHint().height() * 2);
    cena->addWidget(wstaw);
    a.Pole(9, 3, Numer(39), cena);
    a.Dalej();

    a.Naglowek(tekst("D.3. PIĘCIOLETNIE LIMITY ZWROTU"),
               tekst("Należy wypełnić tylko jeden blok (D.3.1. albo D.3.2.). Wybór odpowiedniego bloku zależy od "
                     "wysokości stawki podatku VAT obowiązującej w momencie złożenia pierwszego wniosku, o którym "
                     "mowa w poz.48.\r\n"
                     "Maksymalny limit zwrotu nie może przekroczyć sumy kwot z poz.43 i 44 (kwota z poz.41 zawiera "
                     "się w kwocie z poz.43, odpowiednio kwota z poz.42 w poz.44)."));
    Limity(a, {"D.3.1.", "22%", "12,295%", ""});
    Limity(a, {"D.3.2.", "23%", "12,195%", "a"});

    a.Naglowek(tekst("D.4. KWOTA ZWROTU PRZED OGRANICZENIEM LIMITAMI"));
    for (const Wiersz &w : ZwrotPrzedLimitami)
        WierszTabeli(a, w, NowaWartosc(QLatin1StringView(w.kontrolka)), TloKraty::Opis);
    a.Koniec();
    return strona;
}

} // namespace StronyVzm

namespace {

// --- Page 3 -------------------------------------------------------------------

// The rows of part G: the copies the user counts (53 to 55) and the
// attachments the program counts (56 to 58).
const Wiersz Zalaczniki[] = {
    {53, "Kopia pozwolenia na budowę, jeżeli roboty budowlane wymagały pozwolenia na budowę "
         "(art.5 ust.5 pkt 1 ustawy)",
     "F59"},
    {54, "Kopie faktur dokumentujących poniesione wydatki (art.5 ust.5 pkt 2 ustawy)", "F60"},
    {55, "Kopia dokumentu potwierdzająca tytuł prawny do budynku (lokalu) mieszkalnego, którego remont nie "
         "wymagał pozwolenia na budowę (art.5 ust.5 pkt 1 ustawy)",
     "F61"},
    {56, "Załącznik VZM-1/A ", "F62Lbl"},
    {57, "Załącznik VZM-1/B ", "F63Lbl"},
    {58, "Załącznik VZM-1/C", "F64Lbl"},
};

} // namespace

namespace StronyVzm {

QWidget *Strona3()
{
    auto *strona = new QWidget;
    Arkusz a(strona);
    a.Naglowek(tekst("D.5. KWOTA ZWROTU PO OGRANICZENIU LIMITAMI"));
    a.Opis(0, 9,
           tekst("Suma kwot z poz.45-48 do wysokości przysługujących limitów\r\n"
                 "(po zaokrągleniu do pełnego złotego)"));
    a.Pole(9, 3, Numer(49), NowaWartosc(QStringLiteral("F55Lbl")), TloKraty::Opis);
    a.Dalej();
    a.Objasnienie(tekst("Kwota z poz.49 nie może przekroczyć kwoty przysługujących limitów obliczonych w części D.3. "
                        "i pomniejszonych o kwoty dotychczas przyznanych zwrotów (osobie fizycznej lub jej "
                        "małżonkowi) w okresie pięcioletnim, dla którego ustala się wspólny limit."));
    a.Opis(0, 9, tekst("Kwota zwróconego VAT na podstawie poprzednich wniosków"));
    auto *poprzednie = new QHBoxLayout;
    poprzednie->addWidget(NowyPrzycisk("KwotyBtn", "&Kwoty...", "Kwoty zwrotów przyznanych na podstawie\r\n"
                                                                 "poprzednich wniosków"));
    poprzednie->addWidget(NowaWartosc(QStringLiteral("FZwrotPopLbl")), 1);
    a.Pole(9, 3, {}, poprzednie, TloKraty::Opis);
    a.Dalej();

    a.Naglowek(tekst("E. OŚWIADCZENIE O ZAKRESIE PRZEPROWADZONEGO REMONTU BUDYNKU (LOKALU) MIESZKALNEGO, KTÓRY "
                     "NIE WYMAGAŁ POZWOLENIA NA BUDOWĘ 8)"));
    a.Pole(0, 12, tekst("50. Oświadczam/y, że zakres przeprowadzonego remontu był następujący:"),
           NowaNotatka("F56", 110));
    a.Dalej();

    a.Naglowek(tekst("F. WSKAZANIE SPOSOBU WYPŁATY KWOTY ZWROTU"));
    a.Pole(0, 12, tekst("51. Sposób wypłaty kwoty zwrotu (zaznaczyć właściwy kwadrat):"),
           Obok(NowyKwadrat("F57_1", "1. w kasie"), NowyKwadrat("F57_2", "2. za pośrednictwem poczty"),
                NowyKwadrat("F57_3", "3. za pośrednictwem banku lub spółdzielczej kasy oszczędnościowo-kredytowej")));
    a.Dalej();
    auto *rachunek = new QVBoxLayout;
    rachunek->addLayout(Obok(NowyKwadrat("F58_1", "1. nr rachunku bankowego osoby fizycznej\r\n"
                                                  "    składającej indywidualny wniosek "),
                             NowyKwadrat("F58_2", "2. nr rachunku bankowego osoby wskazanej w\r\n"
                                                  "    części B.1 - w przypadku wspólnego wniosku\r\n"
                                                  "    małżonków "),
                             NowyKwadrat("F58_3", "3. nr rachunku bankowego osoby wskazanej\r\n"
                                                  "    w części B.2 - w przypadku wspólnego\r\n"
                                                  "    wniosku małżonków ")));
    auto *wstawKonto = new QToolButton;
    wstawKonto->setObjectName(QStringLiteral("WstawKontoBtn"));
    wstawKonto->setText(QStringLiteral("..."));
    wstawKonto->setToolTip(tekst("Wstaw numer rachunku bankowego\r\npodatnika lub małżonka"));
    wstawKonto->setPopupMode(QToolButton::InstantPopup);
    auto *menu = new QMenu(wstawKonto);
    menu->setObjectName(QStringLiteral("KontoMnu"));
    menu->addAction(QStringLiteral("Wstaw numer rachunku bankowego &podatnika"))
        ->setObjectName(QStringLiteral("PodatnikKonto"));
    menu->addAction(QStringLiteral("Wstaw numer rachunku bankowego &małżonka"))
        ->setObjectName(QStringLiteral("MalzonekKonto"));
    wstawKonto->setMenu(menu);
    rachunek->addLayout(Obok(NowaMaska("FKonto", "99-9999-9999-9999-9999-9999-9999", MaskedLineEdit::Literals::Dropped),
                             wstawKonto));
    a.Pole(0, 12,
           tekst("52. Numer rachunku bankowego (zaznaczyć właściwy kwadrat a następnie podać numer rachunku "
                 "wskazanej osoby):"),
           rachunek);
    a.Dalej();

    a.Naglowek(tekst("G. INFORMACJA O ZAŁĄCZNIKACH"));
    for (const Wiersz &w : Zalaczniki) {
        a.Opis(0, 8, tekst(w.opis));
        auto *liczba = new QHBoxLayout;
        if (w.pozycja <= 55) {
            liczba->addWidget(NowaLiczba(w.kontrolka, w.pozycja == 53 ? "#,##0" : "0", 0, Granica::Dolna, CyfrySztuk), 1);
            if (w.pozycja == 54)
                liczba->addWidget(NowyPrzycisk("PoliczBtn", "Wstaw »", "Policz liczbę wpisów\r\nw załącznikach  "));
            liczba->addWidget(new QLabel(QStringLiteral("szt.")));
            a.Pole(8, 4, Numer(w.pozycja), liczba);
        } else {
            liczba->addWidget(NowaWartosc(QLatin1StringView(w.kontrolka)));
            a.Pole(8, 4, Numer(w.pozycja), liczba, TloKraty::Opis);
        }
        a.Dalej();
    }
    a.Koniec();
    return strona;
}

QWidget *Strona4()
{
    auto *strona = new QWidget;
    Arkusz a(strona);
    a.Naglowek(tekst("H. DODATKOWE INFORMACJE"),
               tekst("(np. dotyczące adresu dla celów korespondencji (jeżeli jest inny niż wskazany w części B.), "
                     "urzędu skarbowego, do którego kierowane były wcześniejsze wnioski, lub w którym składane było "
                     "zeznanie podatkowe PIT-28, PIT-36 lub PIT-37 za lata 2004-2005 uwzględniające odliczenia "
                     "mieszkaniowe (jeżeli jest inny niż podany w poz.6) oraz zakresu korekty wniosku uprzednio "
                     "złożonego (jeżeli korekta związana jest z dodaniem nowych faktur w załącznikach VZM-1/A, "
                     "VZM-1/B lub VZM-1/C lub z rezygnacją z faktur wcześniej wykazanych w tych załącznikach); "
                     "dodatkowo w części tej można podać swój numer telefonu, faksu lub adres e-mail)."));
    a.Pole(0, 12, Numer(59), NowaNotatka("F65", 160));
    a.Dalej();
    a.Naglowek(tekst("I. PODPIS OSOBY UBIEGAJĄCEJ SIĘ O ZWROT WYDATKÓW"),
               tekst("(w przypadku małżonków - podpisy obojga małżonków bez względu na sposób złożenia wniosku, tj. "
                     "wspólnie z małżonkiem albo odrębnie przez każdego z nich)\r\n"
                     "Kto przez podanie danych niezgodnych ze stanem rzeczywistym lub zatajenie rzeczywistego stanu "
                     "rzeczy wprowadza w błąd właściwy organ narażając na nienależny zwrot wydatków, o których mowa w "
                     "przepisach ustawy, podlega karze grzywny stosownie do postanowień art.76a ustawy z dnia 10 "
                     "września 1999 r. Kodeks karny skarbowy (Dz.U. z 2007 r. Nr 111, poz.765, z późn. zm.)."));
    a.Pusta(0, 6, tekst("60. Podpis osoby fizycznej "), 30);
    a.Pusta(6, 6, tekst("61. Podpis małżonka"), 30);
    a.Dalej();
    a.Naglowek(tekst("J. ADNOTACJE URZĘDU SKARBOWEGO"));
    a.Pusta(0, 12, tekst("62. Uwagi urzędu skarbowego"), 30);
    a.Dalej();
    a.Pusta(0, 6, tekst("63. Identyfikator przyjmującego formularz"), 20);
    a.Pusta(6, 6, tekst("64. Podpis przyjmującego formularz"), 20);
    a.Dalej();
    a.Objasnienie(tekst(
        "1) Należy wpisać kolejne numery składanych wniosków w pięcioletnim okresie, dla którego ustala się wspólny "
        "limit. Pozycji tej nie wypełnia się w przypadku składania korekty wniosku.\r\n"
        "2) Ilekroć jest mowa o urzędzie skarbowym - oznacza to urząd skarbowy, którym kieruje właściwy dla osoby "
        "fizycznej (odpowiednio małżonka) naczelnik urzędu skarbowego.\r\n"
        "3) Jeżeli osoba fizyczna pozostaje w związku małżeńskim, wniosek może być złożony wspólnie z małżonkiem lub "
        "odrębnie przez każdego z małżonków. Jeżeli małżonkowie składają odrębne wnioski, do różnych urzędów "
        "skarbowych, są jednocześnie obowiązani zawiadomić o złożeniu wniosku urząd skarbowy właściwy dla złożenia "
        "wniosku przez małżonka. Zawiadomienie powinno nastąpić w formie pisemnej.\r\n"
        "4) Przez korektę wniosku rozumie się rozszerzenie zakresu żądania lub zgłoszenie nowego żądania zgodnie z "
        "art.167 ustawy z dnia 29 sierpnia 1997 r. - Ordynacja podatkowa (Dz.U z 2005 r. Nr 8, poz.60, z późn. "
        "zm.).\r\n"
        "5) Przez małżonków rozumie się osoby fizyczne pozostające w związku małżeńskim, z wyjątkiem małżonków w "
        "stosunku do których sąd orzekł separację.\r\n"
        "6) Poz.11 (odpowiednio poz.24) należy wypełnić jeżeli osobie fizycznej (odpowiednio małżonkowi) nie nadano "
        "identyfikatora podatkowego (NIP albo numeru PESEL). Przez dokument tożsamości należy rozumieć każdy dokument "
        "umożliwiający identyfikację osoby fizycznej, w tym również wystawiany w innym państwie niż Rzeczpospolita "
        "Polska.\r\n"
        "7) Cenę 1m2 powierzchni użytkowej budynku mieszkalnego za dany kwartał ogłasza Prezes Głownego Urzędu "
        "Statystycznego w drodze komunikatu publikowanego w Dzienniku Urzędowym GUS.\r\n"
        "8) W celu określenia zakresu remontu należy posłużyć się wykazem robót zaliczonych do remontu budynku lub "
        "lokalu mieszkalnego stanowiącym załącznik do ustawy."));
    a.Koniec();
    return strona;
}

} // namespace StronyVzm
