#pragma once

#include "reports/engine/qrprintable.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QSizeF>

#include <functional>
#include <memory>
#include <vector>

// A horizontal strip of a page holding printable controls. It owns them.
class TQRBand
{
public:
    explicit TQRBand(double height) : Height(height) {}

    double Height; // millimetres

    // Creates a control on the band; the band keeps it, the caller may keep
    // the pointer to fill the control before the page prints.
    template<class Control, class... Args>
    Control *Add(Args &&...args)
    {
        auto control = std::make_unique<Control>(std::forward<Args>(args)...);
        Control *added = control.get();
        m_controls.push_back(std::move(control));
        return added;
    }

    void Print(TQRCanvas &canvas, const TQRPageScale &scale, double bandX, double bandY) const;

private:
    std::vector<std::unique_ptr<TQRPrintable>> m_controls;
};

// One page of a report: an A4 sheet, portrait or landscape, with bands
// stacked from its top margin down, each starting at the left margin. All
// measures are millimetres from the corner of the sheet.
class TQRReport
{
public:
    explicit TQRReport(QPageLayout::Orientation orientation = QPageLayout::Portrait);
    TQRReport(const TQRReport &) = delete;
    TQRReport &operator=(const TQRReport &) = delete;

    QPageLayout::Orientation Orientation;
    QMarginsF Margins;

    // Runs each time the page is about to be drawn: the page fills its
    // controls from the models here.
    std::function<void()> BeforePrint;

    TQRBand &AddBand(double height);
    // The sheet and the part of it inside the margins.
    QSizeF PaperSize() const;
    QSizeF PrintableSize() const;

    // Fills the page (BeforePrint) and draws every band with one painter.
    void Render(QPainter &painter, const TQRPageScale &scale) const;

private:
    std::vector<std::unique_ptr<TQRBand>> m_bands;
};
