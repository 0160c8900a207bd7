#pragma once

#include "reports/engine/qrreport.h"

#include <QPrinter>
#include <QString>

#include <optional>
#include <vector>

class QPagedPaintDevice;

// The printer's two-sided mode for the duplex setting of a composite report:
// 1 simplex, 2 along the long edge (vertical), 3 along the short edge
// (horizontal); 0, or any other value, leaves the printer as it is.
std::optional<QPrinter::DuplexMode> DuplexModeFor(int duplex);

// Pages printed one after another as one document, each in its own
// orientation. The composite does not own its pages: whoever made them keeps
// them alive while it prints.
//
// One road draws every output: Render, which the preview's printer, Print
// and ExportPdf all go through.
class TQRComposite
{
public:
    int Duplex = 0;
    QString Title;

    void Add(TQRReport &page);
    const std::vector<TQRReport *> &Pages() const { return m_pages; }

    // Draws the pages in order on an A4 paged device. False when the device
    // cannot be painted on (a printer without a printer or an output file).
    bool Render(QPagedPaintDevice &device) const;
    // Sets the printer's two-sided mode from Duplex (when it asks for one)
    // and the document's title.
    void ApplyTo(QPrinter &printer) const;
    // ApplyTo, then Render.
    bool Print(QPrinter &printer) const;
    // One PDF of all the pages, measured from the corner of each sheet.
    bool ExportPdf(const QString &fileName) const;

private:
    std::vector<TQRReport *> m_pages;
};
