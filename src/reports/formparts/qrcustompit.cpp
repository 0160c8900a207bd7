#include "reports/formparts/qrcustompit.h"

TQRCustomPit::TQRCustomPit()
{
    Height = 5;
}

void TQRCustomPit::SelectDrawingObjects()
{
    TQRCanvas &canvas = PageCanvas();
    canvas.SetBrush(Brush);
    canvas.SetPen(Pen);
    canvas.SetFont(Font);
}
