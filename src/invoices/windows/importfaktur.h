#pragma once

#include "invoices/windows/faktura.h"
#include "spreadsheet/sheet.h"

#include <QHash>
#include <QList>
#include <QString>

class TDM;

// The fields of an invoice that a column of a spreadsheet may hold.
enum class PoleArkusza { Brak, Numer, Data, NipSprzedawcy, NazwaSprzedawcy, KodSprzedawcy, LpFakt, Brutto, VatA, VatB };
constexpr int LiczbaPolArkusza = 9;
// In the order of the export's columns.
constexpr PoleArkusza PolaArkusza[LiczbaPolArkusza] = {
    PoleArkusza::Numer,         PoleArkusza::Data,   PoleArkusza::NipSprzedawcy, PoleArkusza::NazwaSprzedawcy,
    PoleArkusza::KodSprzedawcy, PoleArkusza::LpFakt, PoleArkusza::Brutto,        PoleArkusza::VatA,
    PoleArkusza::VatB};

// One row of the file as an invoice, with the verdict of the invoice
// editor's checks: a good row is chosen for the import; a doubtful one (a
// malformed NIP, a number already in the list or earlier in the file) is
// shown and may be chosen; a bad one cannot be.
struct TWierszImportu
{
    enum class Werdykt { Dobry, Watpliwy, Zly };

    int NrWiersza = 0; // in the file, from 1
    TDaneFaktury Dane;
    QString NazwaSprzedawcy;
    Werdykt werdykt = Werdykt::Dobry;
    QStringList Uwagi; // why, each naming its column
    bool Wybrany = false;
};

// Invoices from a spreadsheet into list 1..3 (A, B, C) of an application,
// and back: the rules of the import window, which only shows them.
//
// The first non-empty row of the sheet holds the headings, from which each
// column's field is proposed; the user may change the mapping. Every row
// below is read through the mapping (amounts through the reading rule of
// Money::parse, whole grosze only; dates dd-mm-yyyy, dd.mm.yyyy or
// yyyy-mm-dd) and judged by TFaktura's checks. The chosen rows are stored in
// one transaction, with the sellers not yet in the register when asked:
// all of them or none.
class TImportFaktur
{
public:
    TImportFaktur(TDM &dm, int VzmId, int lista);

    static QString NazwaPola(PoleArkusza pole);
    // The field a heading names, or Brak.
    static PoleArkusza Zaproponuj(const QString &naglowek);

    // Takes the sheet, proposes the mapping and judges its rows.
    void Ustaw(const Sheet &arkusz);
    const Sheet &Arkusz() const { return m_arkusz; }
    int WierszNaglowka() const { return m_naglowek; } // from 1; 0 for an empty sheet
    int LiczbaKolumn() const { return m_kolumn; }
    // The column (from 1) that holds a field, or 0.
    int Kolumna(PoleArkusza pole) const { return m_kolumny.value(pole); }
    // Maps a column to a field (0: none); a column holds one field, so the
    // field leaves any other column. Judges the rows anew.
    void Przypisz(PoleArkusza pole, int kolumna);

    const QList<TWierszImportu> &Wiersze() const { return m_wiersze; }
    // A bad row cannot be chosen.
    void Wybierz(int indeks, bool wybrany);
    int LiczbaWybranych() const;

    // The sellers of the chosen rows that the register does not hold, one
    // for each NIP, with the name and code the file gives.
    QList<TSprzedawca> NowiSprzedawcy();
    // Stores the chosen rows, and the new sellers when asked. One
    // transaction: on failure nothing is stored and DataError propagates.
    // Answers the number of invoices stored.
    int Importuj(bool dodajSprzedawcow);

    // The list's invoices as rows of a spreadsheet under their headings,
    // in the list's order; the columns the import proposes back.
    QList<OutputRow> Eksport();

private:
    void Ocen();
    TWierszImportu Wiersz(const QStringList &komorki, int nrWiersza) const;
    QString Komorka(const QStringList &komorki, PoleArkusza pole) const;
    QString Miejsce(PoleArkusza pole) const;
    std::optional<TSprzedawca> Sprzedawca(const QString &nip);
    // Every invoice of the list, read through its live query.
    QList<TDaneFaktury> FakturyListy();

    TDM &dm;
    int m_vzmId;
    int m_lista;
    Sheet m_arkusz;
    int m_naglowek = 0;
    int m_kolumn = 0;
    QHash<PoleArkusza, int> m_kolumny;
    QList<TWierszImportu> m_wiersze;
    QHash<QString, std::optional<TSprzedawca>> m_sprzedawcy; // by NIP as given
};
