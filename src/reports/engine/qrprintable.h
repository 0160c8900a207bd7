#pragma once

#include "reports/engine/qrcanvas.h"

// Where a control lies on the page, in device pixels. Right and bottom are
// the pixel positions of its right and bottom edges.
struct TQRPageFrame
{
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
};

// A control that a band prints. Its place and size are in millimetres, from
// the band's corner. While it prints, the engine lends it the page: the
// canvas and the conversions of millimetres to pixels of that canvas.
class TQRPrintable
{
public:
    virtual ~TQRPrintable() = default;
    TQRPrintable(const TQRPrintable &) = delete;
    TQRPrintable &operator=(const TQRPrintable &) = delete;

    double Left = 0;
    double Top = 0;
    double Width = 20;
    double Height = 5;
    // A hidden control is not printed.
    bool Visible = true;

    void SetBounds(double left, double top, double width, double height);

    // Prints the control on the canvas of a page, its band standing at
    // (bandX, bandY) millimetres from the corner of the sheet.
    void PrintOn(TQRCanvas &canvas, const TQRPageScale &scale, double bandX, double bandY);

protected:
    TQRPrintable() = default;

    virtual void PrintAtBand(double bandX, double bandY) = 0;

    // Valid only inside PrintAtBand.
    TQRCanvas &PageCanvas() const;
    int HorzToPage(double x) const;
    int VertToPage(double y) const;
    int WidthToPage(double w) const;
    int HeightToPage(double h) const;
    // The control's own rectangle on the page.
    TQRPageFrame FrameOnPage(double bandX, double bandY) const;

private:
    TQRCanvas *m_canvas = nullptr;
    const TQRPageScale *m_scale = nullptr;
};
