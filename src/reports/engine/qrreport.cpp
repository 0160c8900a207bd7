#include "reports/engine/qrreport.h"

#include <QPageSize>

void TQRBand::Print(TQRCanvas &canvas, const TQRPageScale &scale, double bandX, double bandY) const
{
    for (const auto &control : m_controls)
        control->PrintOn(canvas, scale, bandX, bandY);
}

TQRReport::TQRReport(QPageLayout::Orientation orientation) : Orientation(orientation) {}

TQRBand &TQRReport::AddBand(double height)
{
    m_bands.push_back(std::make_unique<TQRBand>(height));
    return *m_bands.back();
}

QSizeF TQRReport::PaperSize() const
{
    const QSizeF portrait = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    return Orientation == QPageLayout::Portrait ? portrait : portrait.transposed();
}

QSizeF TQRReport::PrintableSize() const
{
    const QSizeF paper = PaperSize();
    return {paper.width() - Margins.left() - Margins.right(),
            paper.height() - Margins.top() - Margins.bottom()};
}

void TQRReport::Render(QPainter &painter, const TQRPageScale &scale) const
{
    if (BeforePrint)
        BeforePrint();
    TQRCanvas canvas(painter);
    double bandY = Margins.top();
    for (const auto &band : m_bands) {
        band->Print(canvas, scale, Margins.left(), bandY);
        bandY += band->Height;
    }
}
