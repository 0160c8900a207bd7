#include "reports/engine/qrcomposite.h"

#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace {
// Fine enough that millimetres land within a twentieth of a millimetre.
constexpr int PdfResolution = 600;
}

std::optional<QPrinter::DuplexMode> DuplexModeFor(int duplex)
{
    switch (duplex) {
    case 1:
        return QPrinter::DuplexNone;
    case 2:
        return QPrinter::DuplexLongSide;
    case 3:
        return QPrinter::DuplexShortSide;
    default:
        return std::nullopt;
    }
}

void TQRComposite::Add(TQRReport &page)
{
    m_pages.push_back(&page);
}

bool TQRComposite::Render(QPagedPaintDevice &device) const
{
    if (m_pages.empty())
        return true;
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(m_pages.front()->Orientation);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (std::size_t i = 0; i < m_pages.size(); ++i) {
        const TQRReport &page = *m_pages[i];
        if (i > 0) {
            // The orientation set before newPage() is the next sheet's.
            device.setPageOrientation(page.Orientation);
            device.newPage();
        }
        page.Render(painter, TQRPageScale::ForDevice(device));
    }
    return painter.end();
}

void TQRComposite::ApplyTo(QPrinter &printer) const
{
    if (const auto mode = DuplexModeFor(Duplex))
        printer.setDuplex(*mode);
    printer.setDocName(Title);
}

bool TQRComposite::Print(QPrinter &printer) const
{
    ApplyTo(printer);
    return Render(printer);
}

bool TQRComposite::ExportPdf(const QString &fileName) const
{
    QPdfWriter writer(fileName);
    writer.setResolution(PdfResolution);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    writer.setTitle(Title);
    writer.setCreator(QStringLiteral("Tarlen 5"));
    return Render(writer);
}
