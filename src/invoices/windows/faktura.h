#pragma once

#include "core/money.h"
#include "data/tdm.h"

#include <QString>

#include <functional>
#include <optional>

// What the user typed for one invoice, as the invoice editor holds it.
struct TDaneFaktury
{
    QString NrFakt;    // as it is to be stored (already upper-cased when asked for)
    QString Data;      // "dd-mm-yyyy" as typed through the mask, blanks included
    QString LpFakt;
    QString KodSprzed;
    QString NipSprzed;
    Money Brutto;
    Money VatA;
    Money VatB;
};

// The fields a failed check sends the user back to.
enum class PoleFaktury { Numer, Data, Nip, Brutto, VatA };

// What one of the checks before saving found: the field concerned, its
// message, and what it means for the save: a fault stops it, a malformed
// NIP is a question the user may answer yes, a duplicate number only warns.
struct TUsterkaFaktury
{
    enum class Rodzaj { Blad, Pytanie, Ostrzezenie };
    Rodzaj rodzaj;
    PoleFaktury pole;
    QString tekst;
};

// A seller found in the register.
struct TSprzedawca
{
    QString Kod;
    QString NIP;
    QString Firma;
};

// The rules of one invoice of an application's list A, B or C (list 1..3):
// the VAT contained in a gross amount at the list's rate, the difference
// between a typed VAT and the computed one, the checks before saving, the
// seller lookups, and loading and storing through the list's live query.
// A new invoice is stored together with the amount lines of the working
// list, all or nothing, each line as typed (a discount line's negative
// amount too), so that the stored lines sum to what the invoice took from
// them. It knows no widgets.
class TFaktura
{
public:
    explicit TFaktura(TDM &dm) : dm(dm) {}

    // Binds the rules to list `lista` of application VzmId, for a new
    // invoice or for the list query's current one.
    void Ustaw(int VzmId, int lista, bool nowa);
    int VzmId() const { return m_vzmId; }
    int Lista() const { return m_lista; }
    bool Nowa() const { return m_nowa; }

    // 22% for lists A and B, 23% for list C.
    static Money VatZBrutto(Money brutto, int lista);
    // "---" when the VAT is zero or equals the VAT computed from the gross
    // amount; otherwise their difference ("%.2n").
    static QString Roznica(Money vat, Money brutto, int lista);

    // The nine checks before saving, in their order, told to no one: what
    // each found, up to the first fault. `numerJest` answers the duplicate
    // check of a new invoice's trimmed number.
    static QList<TUsterkaFaktury> Usterki(const TDaneFaktury &dane, bool nowa,
                                          const std::function<bool(const QString &numer)> &numerJest);
    // The checks before saving, in their order. Each failure is told to the
    // user through the data module and answers the field to go back to; a
    // duplicate number of a new invoice is only a warning, and a malformed
    // NIP a question. Nothing when the invoice may be stored.
    std::optional<PoleFaktury> Sprawdz(const TDaneFaktury &dane);

    // The list query's current invoice (edit mode); empty when the query is closed.
    TDaneFaktury Wczytaj();
    // Every invoice of the list of the application, in the list's order; the
    // list query stays on its invoice. What could be read on an error.
    QList<TDaneFaktury> WszystkieZListy();
    // The key of the list query's current invoice (0 for a new invoice).
    int FaktIdBiezacej();

    // Stores the invoice: a new one, with the working list's amount lines
    // carried into Kwoty.db, or the list query's current one. One
    // transaction: on failure nothing is written, the query's edit is
    // cancelled and DataError propagates. Answers the invoice's FaktId.
    int Zapisz(const TDaneFaktury &dane);

    // Sellers by code and by NIP, ignoring case, the text as typed.
    std::optional<TSprzedawca> SzukajKodu(const QString &kod);
    std::optional<TSprzedawca> SzukajNipu(const QString &nip);

    // Drops the amount lines entered for an invoice that was never stored.
    void OproznijPozycje();
    // Whether lines wait for the invoice being entered.
    bool SaPozycje() const;

private:
    Query &lista();
    // The list query, opened on the application.
    Query &listaWniosku();
    void PrzeniesPozycje(int FaktId);
    std::optional<TSprzedawca> SzukajSprzedawcy(const QString &pole, const QString &tekst);

    TDM &dm;
    int m_vzmId = 0;
    int m_lista = 1;
    bool m_nowa = true;
};

// One amount line of an invoice.
struct TPozycja
{
    QString Opis;
    Money Brutto;
    Money VatA;
    Money VatB;
};

// The amount lines of one invoice: those of a stored invoice in the query
// Kwoty (edited in Kwoty.db directly), those of an invoice not yet stored
// (key 0) in the data module's working list vKwoty. Zero amounts are stored
// empty.
class TPozycjeFaktury
{
public:
    TPozycjeFaktury(TDM &dm, int FaktId) : dm(dm), m_faktId(FaktId) {}

    int FaktId() const { return m_faktId; }
    // Opens the working list if needed and the query Kwoty on the invoice;
    // false when the query cannot be opened.
    bool Otworz();
    // The data set the lines are shown from and written to.
    Dataset &Pokazane();
    bool JestPozycja();

    TSumyKwot Sumy();
    // " Brutto: " and the gross total as money, or empty for zero.
    static QString OpisSumy(Money brutto);

    TPozycja Biezaca();
    void Dodaj(const TPozycja &pozycja);
    void Popraw(const TPozycja &pozycja);
    void Usun();

private:
    void Zapisz(const TPozycja &pozycja);

    TDM &dm;
    int m_faktId;
};
