#pragma once

#include "overprint/drukarka.h"
#include "overprint/prn.h"
#include "overprint/wspolrzedne.h"

#include <QHash>
#include <QPageLayout>
#include <QPoint>
#include <QString>

#include <span>

class TDM;

// Which form a page belongs to: its coordinate table and the form numbers
// under which its margins and field corrections are looked up.
struct FormularzNadruku
{
    std::span<const PunktPola> tabela;
    int formularzMarginesow; // 0 VZM-1, 1 the attachments
    int formularzKorekt;     // 0 VZM-1, 1 to 3 the kind of attachment
    QPageLayout::Orientation orientacja;
};

// The frame of one overprint page: a print document of its own, the canvas
// in the print font and in upper case, the page's margins, and the point of
// each field moved by its correction. The document ends with the frame,
// also when printing fails half-way.
class RamkaStrony
{
public:
    RamkaStrony(Drukarka &drukarka, TDM &dm, const FormularzNadruku &formularz,
                const QString &tytul, int strona);

    TPrn &Prn() { return m_prn; }

    // Where the data of field n goes, in pixels of the canvas: the table's
    // point plus the correction plus an extra distance, each sum formed in
    // millimetres, then the page's margins.
    QPoint Punkt(int pole, float extraXMm = 0, float extraYMm = 0);
    // The same, with a point above the sheet brought down to its top edge.
    QPoint PunktNaArkuszu(int pole);

    // The calibration mark of field n: a small cross at its point (moved
    // down where the data move down) and the field number beside it.
    void Krzyzyk(int pole, float extraYMm = 0);

private:
    FormularzNadruku m_formularz;
    DokumentDruku m_dokument;
    TPrn m_prn;
    QPoint m_poczatek; // the margins less the printing offset, pixels
    QHash<int, QPoint> m_korekty; // by field, millimetres
};
