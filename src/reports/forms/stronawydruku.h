#pragma once

#include "reports/formparts/qrboxes.h"
#include "reports/formparts/qrcombs.h"
#include "reports/formparts/qrpitfooter.h"
#include "reports/formparts/qrtexts.h"
#include "overprint/wspolrzedne.h"
#include "reports/engine/qrcontrols.h"
#include "reports/engine/qrreport.h"

#include <QColor>
#include <QMarginsF>
#include <QRectF>

#include <functional>
#include <optional>
#include <type_traits>
#include <vector>

// One page of a printed form: a report with one band the size of the
// printable page, on which the page places its frames, fixed texts and data
// boxes in millimetres from the corner of the sheet (the same measure as the
// overprint's coordinate tables, so that a data box can be put where the
// overprint puts its data).
//
// Before every printing the page takes the print settings: the shading
// colour for the elements it marked as shaded, the print font for the data
// boxes it marked as such; then it fills its boxes from the models.
class TStronaWydruku
{
public:
    virtual ~TStronaWydruku() = default;
    TStronaWydruku(const TStronaWydruku &) = delete;
    TStronaWydruku &operator=(const TStronaWydruku &) = delete;

    TQRReport Report;

    // Light grey with "Drukuj cieniowania", white without.
    static QColor KolorCieniowania();
    // The font of the printed data, from the print settings.
    static TQRFont CzcionkaDruku();

protected:
    TStronaWydruku(QPageLayout::Orientation orientacja, QMarginsF marginesy);

    // A control of the band, placed by its rectangle on the sheet (mm).
    template <class Control>
    Control *Dodaj(const QRectF &naArkuszu)
    {
        Control *control = m_band->Add<Control>();
        control->SetBounds(naArkuszu.left() - Report.Margins.left(), naArkuszu.top() - Report.Margins.top(),
                           naArkuszu.width(), naArkuszu.height());
        return control;
    }

    // Marks an element to take the shading colour: its brush (a component
    // or a shape) or its background (a label).
    void Cieniowany(TQRCustomPit *element);
    void Cieniowany(TQRShape *element);
    void Cieniowany(TQRLabel *element);
    void Cieniowany(TQRSmartLabel *element); // its fill colour
    // Marks a data box to take the print font.
    void Dane(TQRCustomPit *pole);
    void Dane(TQRMemo *pole);

    // A comb of data in places of the given width whose first character lands
    // at the point, its base line at dol (by default the comb's usual height
    // under the point). A print font too tall for it raises its top before
    // printing, so that its characters print at every size.
    template <class Grzebien>
    Grzebien *DodajGrzebien(PunktPola punkt, int miejsc, double szerokoscMiejsca, std::optional<double> dol = {})
    {
        auto *grzebien = Dodaj<Grzebien>(RamkaGrzebienia(punkt, miejsc, szerokoscMiejsca, dol));
        if constexpr (std::is_same_v<Grzebien, TQRPlotek>)
            grzebien->setIlosc(miejsc);
        // Its characters leave what lies under them (a caption above) visible.
        grzebien->Brush = Qt::NoBrush;
        DaneGrzebienia(grzebien);
        return grzebien;
    }

    // Fills the page from the models; runs after the print settings are applied.
    virtual void Wypelnij() = 0;

    // Where a box goes so that its data lands where the overprint puts it:
    // a left-aligned text box whose text starts at the point, and an amount
    // box whose amount ends at it, both with the given width and height, in
    // the print font of the default size.
    static QRectF RamkaTekstu(PunktPola punkt, double szerokosc, double wysokosc);
    static QRectF RamkaKwoty(PunktPola punkt, double szerokosc, double wysokosc);
    // The left edge of a comb whose first character lands at the point: a
    // comb centres each character in its place.
    static double LewaGrzebienia(PunktPola punkt, double szerokoscMiejsca);
    // The print font of the default size, at which the data land on the
    // overprint's points.
    static TQRFont CzcionkaWzorcowa();

    // Text measures of a font in millimetres, independent of any device.
    static double SzerokoscMm(const QFont &font, const QString &text);
    static double WysokoscMm(const QFont &font);

private:
    struct GrzebienDanych
    {
        TQRCustomPit *Pole;
        double Wysokosc; // as laid out
    };

    void ReportBeforePrint();
    static QRectF RamkaGrzebienia(PunktPola punkt, int miejsc, double szerokoscMiejsca, std::optional<double> dol);
    void DaneGrzebienia(TQRCustomPit *grzebien);
    void DopasujGrzebienie();

    TQRBand *m_band = nullptr;
    std::vector<GrzebienDanych> m_grzebienie;
    std::vector<std::function<void(const QColor &)>> m_cieniowane;
    std::vector<std::function<void(const TQRFont &)>> m_dane;
};
