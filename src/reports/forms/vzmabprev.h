#pragma once

#include "reports/forms/stronawydruku.h"

#include <QStringList>

#include <array>
#include <vector>

class TVZMab;

// What both pages of a printed attachment share: the heading, the invoice
// rows and the footer of the attachment's list, all filled from one TVZMab.
class TVZMabPrev : public TStronaWydruku
{
protected:
    // Where the boxes of one invoice row of an attachment lie on the sheet: the
    // row's strip and the edges of its seven columns (1, 1a, 2, 3, 4, 5, 6). They
    // follow from the overprint points of the row's data, so that every value of
    // the printed row lands where the overprint puts it on the official form.
    struct UkladWiersza
    {
        // The height of a row, as far apart as the form's rows stand.
        static constexpr double Wysokosc = 8.5;

        double Gora = 0;
        double Dol = 0;
        // The left edges of the seven columns and the right edge of the last.
        std::array<double, 8> Krawedzie{};

        // Row 1 to 27 of an attachment (rows 8 to 27 are on the second page).
        static UkladWiersza Dla(int wiersz);
        // The same columns one row lower.
        UkladWiersza Ponizej() const;
        // Columns od to doKolumny (0 for column 1, 1 for 1a, ..., 6 for 6) together.
        QRectF Kolumny(int od, int doKolumny) const;
        QRectF Kolumna(int kolumna) const { return Kolumny(kolumna, kolumna); }
    };

    TVZMabPrev(TVZMab &zalacznik, int strona);

public:
    // Item numbers too wide for their row's line, as they go into the row's
    // box of the given size (mm): word-wrapped in the wrappers' small type,
    // smaller as far as the lines need (down to a legible 4.5 pt), and cut
    // with "…" when even that does not hold them. Never below the box.
    struct PozycjeWRamce
    {
        TQRFont Czcionka;
        QString Tekst;
        bool Uciete = false;
    };
    static PozycjeWRamce DopasujPozycje(const QString &pozycje, double szerokosc, double wysokosc);

protected:

    // "POLTAX" and who fills the form, over a thick rule.
    void DodajNaglowek();
    // The shaded head of the invoice table between gora and the first row.
    void DodajGloweTabeli(double gora);
    // Rows od to doWiersza, each under the one before.
    void DodajWiersze(int od, int doWiersza);
    // The footer with the page number, at the foot of the form's right edge.
    void DodajStopke(double prawaKrawedz);

    // A fixed text in Arial; shaded ones take the shading colour behind them.
    TQRLabel *Napis(const QRectF &naArkuszu, const QString &tekst, int rozmiar, bool pogrubiony,
                    Qt::Alignment wyrownanie = Qt::AlignLeft);
    // A frame filled with the shading colour.
    TQRShape *Tlo(const QRectF &naArkuszu);
    // A shaded cell with its lines of bold text centred in it.
    void KomorkaCieniowana(const QRectF &naArkuszu, const QStringList &linie, int rozmiar);
    // The rows and the footer; a page adds its own boxes after these.
    void Wypelnij() override;

    TVZMab &m_zalacznik;

private:
    struct WierszFaktury
    {
        int Wiersz;
        TQRTextBox *Numer;
        TQRTextBox *Pozycje;
        TQRWrapper *PozycjeZawiniete;
        TQRTextBox *Data;
        TQRNIP *Nip;
        std::array<TQRCurrBox *, 3> Kwoty; // gross, VAT of column 5, VAT of column 6
    };

    // The gap between a box's edge and its text, as the boxes keep it.
    static double OdstepWRamce();
    // A box's text in the print font, or smaller where the print font would
    // run it over the next column: the largest size that fits.
    static void ZmiescWRamce(TQRTextBox &pole);
    void DodajWiersz(int wiersz);
    void WypelnijWiersz(const WierszFaktury &w);

    int m_strona;
    std::vector<WierszFaktury> m_wiersze;
    TQRPitFooter *m_stopka = nullptr;
};
