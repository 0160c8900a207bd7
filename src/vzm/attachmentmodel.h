#pragma once

#include "core/money.h"

#include <QString>

#include <array>

class TDM;

// One attachment VZM-1/A, VZM-1/B or VZM-1/C in memory, ready to be printed:
// the identification of the taxpayer and the spouse, up to 27 invoice rows
// and the three column sums. Everything is filled by Wczytaj; the printing
// code only reads it.
//
// Boxes: 1 to 11 the header; row k (1 to 27) occupies boxes 6k + 6 to
// 6k + 11 (invoice number, date of issue, seller's NIP, gross amount, VAT of
// column 5, VAT of column 6); 174 to 176 the sums of the three amounts.
class TVZMab
{
public:
    static constexpr int Wierszy = 27;
    static constexpr int PierwszyTekst = 12;  // the first box of row 1
    static constexpr int PierwszaKwota = 15;  // the gross amount of row 1
    static constexpr int SumaBrutto = 174;
    static constexpr int SumaVatA = 175;
    static constexpr int SumaVatB = 176;
    // The first box of row k.
    static constexpr int PierwszaKratka(int wiersz) { return 6 * wiersz + 6; }

    explicit TVZMab(TDM &dm);
    TVZMab(const TVZMab &) = delete;
    TVZMab &operator=(const TVZMab &) = delete;

    // Loads attachment NrZal (from 1) of list Rodzaj (1 A, 2 B, 3 C) of the
    // application VzmId of the taxpayer PodatId. A missing taxpayer is
    // reported with a warning and answers false; an attachment beyond the
    // invoices, or a failing invoice query, leaves the rows and sums empty.
    bool Wczytaj(int PodatId, int VzmId, int Rodzaj, int NrZal);

    // The printable text of a box 12 to 176; empty for any other box.
    QString GetTekst(int box) const;
    // The amount of a box 15 to 176 (0 for the text boxes); 0 for any other box.
    Money GetKwota(int box) const;
    // The item numbers on the invoice of row 1 to 27; empty for any other row.
    QString GetLpFakt(int row) const;

    int Rodzaj() const { return m_rodzaj; }
    const QString &Oznacz() const { return m_oznacz; } // "A", "B" or "C"
    const QString &Symbol() const { return m_symbol; } // "VZM-1/A", ...
    int PodatId() const { return m_podatId; }
    int VzmId() const { return m_vzmId; }
    int NrZal() const { return m_nrZal; }
    const QString &NIP() const { return m_nip; }
    const QString &Nazwisko() const { return m_nazwisko; }
    const QString &Imie() const { return m_imie; }
    const QString &Pesel() const { return m_pesel; }
    const QString &Dokument() const { return m_dokument; }
    const QString &MNIP() const { return m_mnip; }
    const QString &MNazwisko() const { return m_mnazwisko; }
    const QString &MImie() const { return m_mimie; }
    const QString &MPesel() const { return m_mpesel; }
    const QString &MDokument() const { return m_mdokument; }

private:
    void WyczyscWiersze();
    void WczytajPodatnika();
    void WczytajFaktury();
    void PoliczSumy();
    void UstawKwote(int box, Money kwota);

    TDM &m_dm;
    int m_rodzaj = 0;
    QString m_oznacz, m_symbol;
    int m_podatId = 0, m_vzmId = 0, m_nrZal = 0;
    QString m_nip, m_nazwisko, m_imie, m_pesel, m_dokument;
    QString m_mnip, m_mnazwisko, m_mimie, m_mpesel, m_mdokument;
    std::array<QString, SumaVatB + 1> m_tekst;  // by box; boxes below 12 unused
    std::array<Money, SumaVatB + 1> m_kwota;    // by box; boxes below 15 unused
    std::array<QString, Wierszy + 1> m_lpFakt;  // by row; row 0 unused
};
