#pragma once

#include "core/common.h"
#include "core/money.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <array>

class TDM;

// What the form's boxes hold: a year of 1901 to 2099 (positions 35 to 37)
// and a number of at most two digits (positions 5 and 7, an attachment's
// number). A value outside gives 0, which prints as nothing on the complete
// form and on the overprint alike; the verification names such a value.
constexpr int NajwczesniejszyRok = 1901, NajpozniejszyRok = 2099, NajwiekszyNumer = 99;
// An invoice's item numbers (LpFakt) of at most this many characters fit
// their row of a printed attachment in its smallest type (digits, commas and
// spaces); longer ones may print cut short with "…", and the verification
// names the invoice.
constexpr int NajdluzszePozycjeFaktury = 140;
int RokNaFormularzu(int rok);
int NumerNaFormularzu(int numer);

// The rates of the refund computation in percent, and the square metres of
// the two limits; the explanation of the refund quotes the same numbers.
namespace StawkiZwrotu {
constexpr long double LimituA = 9.959L;
constexpr long double LimituBC22 = 12.295L; // first application up to 31-12-2010 (block D.3.1, VAT 22%)
constexpr long double LimituBC23 = 12.195L; // from 01-01-2011 or not dated (block D.3.2, VAT 23%)
constexpr long double ZwrotuA = 55.23L;
constexpr long double ZwrotuB = 68.18L;
constexpr long double ZwrotuC = 65.22L;
constexpr long double MetrowKolumny5 = 70; // investments that need a building permit
constexpr long double MetrowKolumny6 = 30; // those that do not
} // namespace StawkiZwrotu

// What the refund computation passes through on its way to its results, kept
// by the model so that the refund can be explained line by line without
// computing anything a second time. Kinds A to D as in the limits (P47 to
// P50); lists A to C as in the attachments.
struct TPrzebiegZwrotu
{
    long double StawkaLimituBC = StawkiZwrotu::LimituBC23; // of P49 and P50
    std::array<double, 3> ZwrotK5{}; // each list's part of P51 or P53, rounded by itself
    std::array<double, 3> ZwrotK6{}; // of P52 or P54
    std::array<Money, 4> LimitPozostaly{}; // each limit less its previous refund, never below 0
    std::array<Money, 4> LimitPoWniosku{}; // what is left of it after this application's part
    double SumaCzesci = 0;  // ZwrotA + ZwrotB + ZwrotC + ZwrotD
    Money SumaZaokraglona;  // the same rounded to whole złoty
    Money LimitCalkowity;   // P49 + P50 less all previous refunds: the cap
    bool Ograniczona = false; // the cap lowered the refund
    Money LimitCalkowityPoWniosku; // the cap less this refund
};

// Whose identifier a setter changes: the taxpayer's or the spouse's.
enum class TOsoba { Podatnik = 1, Malzonek = 2 };

// One VZM-1 application in memory: the taxpayer's and the spouse's personal
// data (from Podatnik.DB), the application's own entries (VZMy.DB and
// VZMw3.db) and the amounts computed from them and from its invoices.
//
// The plain texts are public data members that the editor writes directly.
// Every value that takes part in a rule (marks, boxes that exclude each other,
// numbers that may not be negative, the computed amounts) is private: it is
// read through its accessor and changed only through its setter, so the
// rules cannot be broken from outside.
//
// Form positions and field numbers: positions 1 to 34 are their own field
// numbers; from position 35 on the field number is the position plus 6.
class TVzm_3
{
public:
    explicit TVzm_3(TDM &dm);
    TVzm_3(const TVzm_3 &) = delete;
    TVzm_3 &operator=(const TVzm_3 &) = delete;

    // --- Loading and storing ------------------------------------------------

    // Resets every field; a new model is cleared.
    void Wyczysc();
    // Loads the application VzmId of the taxpayer PodatId; VzmId 0 prepares a
    // new application. A missing taxpayer is reported with a warning, leaves
    // the model cleared and answers false.
    bool Wczytaj(int PodatId, int VzmId);
    // Writes the personal data back into the taxpayer's record and the
    // application into VZMy.DB and VZMw3.db, all three in one transaction.
    // Answers false, after a warning and without writing anything, when the
    // taxpayer or the stored application no longer exists. A DataError of the
    // store rolls every table back and reaches the caller. After a new
    // application has been stored, VzmId() is its key. A new application
    // keeps the sequence number that Wczytaj proposed unless another desk
    // has stored one with it meanwhile: then it takes the next free one,
    // chosen while no other desk numbers the taxpayer's applications.
    bool Zapisz();

    // --- Plain entries (no rule of their own) -------------------------------

    QString Urzad; // 6
    QString Nazwisko, Imie; // 9, 10
    QString ImieOjca, ImieMatki; // not on the form
    QString Dokument; // 11
    QString Kraj, Wojew, Powiat, Gmina, Ulica, Posesja, Lokal, Miasto, KodPoczt, Poczta; // 12 to 21
    QString MNazwisko, MImie; // 22, 23
    QString MImieOjca, MImieMatki;
    QString MDokument; // 24
    QString MKraj, MWojew, MPowiat, MGmina, MUlica, MPosesja, MLokal, MMiasto, MKodPoczt, MPoczta; // 25 to 34
    QStringList P56; // 50: scope of the renovation
    QStringList P65; // 59: additional information

    // --- Setters ------------------------------------------------------------

    void SetNip(TOsoba kto, const QString &text);
    void SetPesel(TOsoba kto, const QString &text);
    void SetKonto(const QString &text);
    void SetP44(const QDate &date);
    void SetP45(Money cena); // rounded to the grosz; a negative price is ignored
    void SetNrKolej(int n);
    void SetNrKoryg(int n);
    void SetCel(int box, bool on); // position 7, boxes 1 and 2
    void SetP8(int box, bool on);  // position 8, boxes 1 to 3
    void SetP57(int box, bool on); // position 51, boxes 1 to 3
    void SetP58(int box, bool on); // position 52, boxes 1 to 3
    void SetRok(int field, int year); // fields 41 to 43
    void SetSztuk(int field, int n);  // fields 59 to 61
    void SetZwrotPop(int kind, Money kwota); // kinds 1 to 4 (A to D)

    // --- Readers ------------------------------------------------------------

    int PodatId() const { return m.podatId; }
    int VzmId() const { return m.vzmId; }
    const QString &NIP() const { return m.nip; }
    const QString &MNIP() const { return m.mnip; }
    const QString &Pesel() const { return m.pesel; }
    const QString &MPesel() const { return m.mpesel; }
    const QString &Konto() const { return m.konto; }
    // The accounts of the taxpayer's record, offered for Konto; never written back.
    const QString &KontoPodatnika() const { return m.kontoPodatnika; }
    const QString &KontoMalzonka() const { return m.kontoMalzonka; }
    int NrKolej() const { return m.nrKolej; }
    int NrKoryg() const { return m.nrKoryg; }
    bool P7_1() const { return m.cel[0]; }
    bool P7_2() const { return m.cel[1]; }
    bool IsKorekta() const { return P7_2(); }
    bool P8_1() const { return m.p8[0]; }
    bool P8_2() const { return m.p8[1]; }
    bool P8_3() const { return m.p8[2]; }
    int P41() const { return m.rok[0]; }
    int P42() const { return m.rok[1]; }
    int P43() const { return m.rok[2]; }
    QDate P44() const { return m.p44; } // null: no date
    Money P45() const { return m.p45; }
    double P47() const { return m.limit[0]; }
    double P48() const { return m.limit[1]; }
    double P49() const { return m.limit[2]; }
    double P50() const { return m.limit[3]; }
    double P51() const { return m.przedLimitem[0]; }
    double P52() const { return m.przedLimitem[1]; }
    double P53() const { return m.przedLimitem[2]; }
    double P54() const { return m.przedLimitem[3]; }
    Money Zwrot() const { return m.zwrot; } // whole złoty
    bool P57_1() const { return m.p57[0]; }
    bool P57_2() const { return m.p57[1]; }
    bool P57_3() const { return m.p57[2]; }
    bool P58_1() const { return m.p58[0]; }
    bool P58_2() const { return m.p58[1]; }
    bool P58_3() const { return m.p58[2]; }
    int P59() const { return m.sztuk[0]; }
    int P60() const { return m.sztuk[1]; }
    int P61() const { return m.sztuk[2]; }
    int P62() const { return m.zalacznikow[0]; }
    int P63() const { return m.zalacznikow[1]; }
    int P64() const { return m.zalacznikow[2]; }
    Money SumaK5A() const { return m.sumaK5[0]; }
    Money SumaK5B() const { return m.sumaK5[1]; }
    Money SumaK5C() const { return m.sumaK5[2]; }
    Money SumaK6A() const { return m.sumaK6[0]; }
    Money SumaK6B() const { return m.sumaK6[1]; }
    Money SumaK6C() const { return m.sumaK6[2]; }
    double ZwrotA() const { return m.czescZwrotu[0]; }
    double ZwrotB() const { return m.czescZwrotu[1]; }
    double ZwrotC() const { return m.czescZwrotu[2]; }
    double ZwrotD() const { return m.czescZwrotu[3]; }
    Money ZwrotPopA() const { return m.zwrotPop[0]; }
    Money ZwrotPopB() const { return m.zwrotPop[1]; }
    Money ZwrotPopC() const { return m.zwrotPop[2]; }
    Money ZwrotPopD() const { return m.zwrotPop[3]; }
    const TStanPola &StanNip() const { return m.stanNip; }
    const TStanPola &StanMNip() const { return m.stanMNip; }
    const TStanPola &StanPesel() const { return m.stanPesel; }
    const TStanPola &StanMPesel() const { return m.stanMPesel; }
    const TStanPola &StanP44() const { return m.stanP44; }
    const TStanPola &StanKonto() const { return m.stanKonto; }

    // The value of a field number as an amount (45, 47 to 55, 59 to 64);
    // any other number is reported with a warning and answers 0.
    Money GetPole(int field);
    // Whether a field is printed (the same numbers); any other is reported
    // and answers false.
    bool GetDruk(int field);
    // Group 1 to 7 of Konto for printing in separate boxes: 2 digits, then
    // six groups of 4; as many characters as Konto has.
    QString GetKonto(int group) const;

    // --- Refund computation -------------------------------------------------

    // Limits, refunds before and after the limits, from the price, the date
    // of the first application, the previous refunds and the invoice sums.
    void Przelicz();
    // Reads the six invoice sums of the application VzmId.
    void WczytajSumy();
    // Where the limits belong: block D.3.1 (first application up to
    // 31-12-2010) or D.3.2 (from 01-01-2011, or not dated). Exactly one is true.
    bool IsD31() const;
    bool IsD32() const;
    // P49 + P50, the total five-year limit.
    Money GetLimit() const;
    // The sum of the four previous refunds.
    Money GetZwrotPop() const;
    // The intermediate products of the last Przelicz.
    const TPrzebiegZwrotu &Przebieg() const { return m.przebieg; }

    // --- Verification -------------------------------------------------------

    // Fills the data module's error list with every breach of the form's
    // filling rules, in the order of the rules.
    void Weryfikuj();

private:
    // Every value with a rule, in one place so that Wyczysc resets it at once.
    struct Wartosci
    {
        int podatId = 0;
        int vzmId = 0;
        QString nip, mnip, pesel, mpesel, konto;
        QString kontoPodatnika, kontoMalzonka;
        int nrKolej = 0;
        int proponowanyNrKolej = 0; // of a new application, as Wczytaj proposed it
        int nrKoryg = 0;
        std::array<bool, 2> cel{};
        std::array<bool, 3> p8{};
        std::array<int, 3> rok{};
        QDate p44;
        Money p45;
        std::array<double, 4> limit{};       // P47 to P50, by kind A to D
        std::array<double, 4> przedLimitem{}; // P51 to P54
        std::array<double, 4> czescZwrotu{};  // ZwrotA to ZwrotD
        std::array<Money, 4> zwrotPop{};      // ZwrotPopA to ZwrotPopD
        Money zwrot;
        std::array<bool, 3> p57{};
        std::array<bool, 3> p58{};
        std::array<int, 3> sztuk{};       // P59 to P61
        std::array<int, 3> zalacznikow{}; // P62 to P64, by list A to C
        std::array<Money, 3> sumaK5{};    // by list A to C
        std::array<Money, 3> sumaK6{};
        TStanPola stanNip, stanMNip, stanPesel, stanMPesel, stanP44, stanKonto;
        TPrzebiegZwrotu przebieg;
    };

    void WczytajPodatnika();
    void WczytajWniosek();
    void WczytajWpisy();
    void ZapiszPodatnika();
    void NumerujNowy();
    int ZapiszWniosek();
    void ZapiszWpisy(int vzmId);

    TDM &m_dm;
    Wartosci m;
};
