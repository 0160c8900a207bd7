#include "reports/engine/qrprintable.h"

void TQRPrintable::SetBounds(double left, double top, double width, double height)
{
    Left = left;
    Top = top;
    Width = width;
    Height = height;
}

void TQRPrintable::PrintOn(TQRCanvas &canvas, const TQRPageScale &scale, double bandX, double bandY)
{
    if (!Visible)
        return;
    m_canvas = &canvas;
    m_scale = &scale;
    PrintAtBand(bandX, bandY);
    m_canvas = nullptr;
    m_scale = nullptr;
}

TQRCanvas &TQRPrintable::PageCanvas() const
{
    Q_ASSERT_X(m_canvas, "TQRPrintable", "the page canvas exists only while printing");
    return *m_canvas;
}

int TQRPrintable::HorzToPage(double x) const
{
    return m_scale->HorzToPage(x);
}

int TQRPrintable::VertToPage(double y) const
{
    return m_scale->VertToPage(y);
}

int TQRPrintable::WidthToPage(double w) const
{
    return m_scale->WidthToPage(w);
}

int TQRPrintable::HeightToPage(double h) const
{
    return m_scale->HeightToPage(h);
}

TQRPageFrame TQRPrintable::FrameOnPage(double bandX, double bandY) const
{
    return {HorzToPage(bandX + Left), VertToPage(bandY + Top), HorzToPage(bandX + Left + Width),
            VertToPage(bandY + Top + Height)};
}
