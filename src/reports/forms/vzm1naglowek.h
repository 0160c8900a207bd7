#pragma once

#include "reports/forms/stronawydruku.h"

#include <QPointF>
#include <QStringList>

#include <span>
#include <vector>

class TVzm_3;

// The cut of a fixed text of the form: Arial of this size, bold or not.
struct TKrojNapisu
{
    int punkty;
    bool gruby = false;
};

// A page of the printed VZM-1 application: A4 portrait with the form's
// heading ("POLTAX", the two lines on filling in and the thick rule) and its
// footer, and the ways the form draws its pieces: shaded sections with their
// headings, fixed texts, boxes with a numbered caption, combs and tick boxes
// placed where the overprint puts the data, and rows of text boxes laid out
// from a table.
class TVzm1Strona : public TStronaWydruku
{
protected:
    TVzm1Strona(TVzm_3 &vzm, int strona);

    TVzm_3 &Vzm;

    // The width of the form between the margins (mm from the sheet's edge).
    static constexpr double Lewa = 7;
    static constexpr double Prawa = 200;
    static constexpr double Szerokosc = Prawa - Lewa;
    // Rows inside a section start after its shaded left margin.
    static constexpr double Wciecie = Lewa + 6;

    // --- Fixed texts ------------------------------------------------------
    using Kroj = TKrojNapisu;
    static constexpr Kroj Naglowek{10, true}; // section headings
    static constexpr Kroj Blok{8, true};      // headings of blocks inside a section
    static constexpr Kroj Podpis{7, true};    // captions of rows
    static constexpr Kroj Opis{7};            // descriptions of rows and labels of tick boxes
    static constexpr Kroj Uwagi{6};           // notes

    // One line of text from its top-left corner, as wide as the text.
    TQRLabel *Napis(QPointF lewyGorny, const QString &tekst, Kroj kroj);
    // One line centred between two edges.
    TQRLabel *NapisWysrodkowany(double y, double lewy, double prawy, const QString &tekst, Kroj kroj);
    // Lines of text one under another, as they are (no wrapping).
    TQRMemo *Linie(QPointF lewyGorny, const QStringList &linie, Kroj kroj);
    // A line with markup in the cut's size, bold and small type only where
    // the markup says; on a shaded background or on white.
    TQRSmartLabel *Etykieta(QPointF lewyGorny, const QString &tekst, Kroj kroj, bool naCieniu);
    // The x just after a text of this cut that starts at x.
    static double ZaTekstem(double x, const QString &tekst, Kroj kroj);

    // --- Frames ------------------------------------------------------------
    // A shaded area with a border: a section, a block or a row caption.
    TQRShape *Cien(const QRectF &obszar);
    // A white area with a border, for the tick boxes and texts the taxpayer fills.
    TQRShape *Bialy(const QRectF &obszar);
    // A section's shaded frame with its heading (10 pt bold) at the top and
    // an optional footnote reference in small type after it.
    TQRShape *Sekcja(const QRectF &obszar, const QString &naglowek, const QString &odnosnik = {});
    // The footnote reference "n)" in small type, its top at the top of a line.
    TQRLabel *Odnosnik(QPointF lewyGorny, const QString &odnosnik);

    // --- Boxes -------------------------------------------------------------
    // A box the taxpayer fills (white), with its caption; its text takes the print font.
    TQRTextBox *PoleTekstu(const QRectF &ramka, const QString &opis, TAlignment wyrownanie = taLeftJustify);
    // A box only the tax office fills: shaded, nothing printed in it.
    TQRTextBox *PoleUrzedu(const QRectF &ramka, const QString &opis);
    // A white box holding other controls (combs, a memo), only its caption.
    TQRTextBox *Ramka(const QRectF &ramka, const QString &opis);
    // An amount box whose amount ends at the field's point.
    TQRCurrBox *PoleKwoty(int pole, const QString &opis, double szerokosc, double wysokosc);
    // A tick box centred where the overprint puts its "X".
    TQRCheckBox *Kwadrat(PunktPola znak);
    // A tick box with its label (one or more lines) to the right of it.
    TQRCheckBox *KwadratZOpisem(PunktPola znak, const QStringList &opis);

    // A row of text boxes described by a table: each box starts where its
    // field's data goes (its text a caption letter from the box's left edge),
    // and ends where the next box of the same line begins, the last one at
    // the right edge of the form.
    struct PoleWiersza
    {
        int pole;
        QString opis;
        TAlignment wyrownanie = taLeftJustify;
    };
    std::vector<TQRTextBox *> UlozPola(std::span<const PoleWiersza> pola, double wysokosc);

    // Where a control of the page lies on the sheet (mm).
    QRectF NaArkuszu(const TQRPrintable &element) const;

    // Where a field's data goes, from the overprint's table of the form.
    static PunktPola Punkt(int pole);
    // The left edge of a text box whose text starts at x.
    static double LewaRamki(double x);

    // Data of the model in the form's capitals.
    static QString Wielkie(const QString &tekst);

private:
    static TQRFont Czcionka(Kroj kroj);
    void DodajNaglowek();
    void DodajStopke(int strona);
};
