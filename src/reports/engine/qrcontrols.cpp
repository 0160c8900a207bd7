#include "reports/engine/qrcontrols.h"

namespace {

QBrush Background(const QColor &color)
{
    return color.isValid() ? QBrush(color) : QBrush(Qt::NoBrush);
}

int AlignedX(Qt::Alignment alignment, const TQRPageFrame &frame, int textWidth)
{
    if (alignment & Qt::AlignHCenter)
        return frame.Left + (frame.Width() - textWidth) / 2;
    if (alignment & Qt::AlignRight)
        return frame.Right - textWidth;
    return frame.Left;
}

} // namespace

TQRLabel::TQRLabel()
{
    Height = 4;
}

void TQRLabel::PrintAtBand(double bandX, double bandY)
{
    const TQRPageFrame frame = FrameOnPage(bandX, bandY);
    TQRCanvas &canvas = PageCanvas();
    canvas.SetFont(Font);
    canvas.SetBrush(Background(Color));
    canvas.TextOut(AlignedX(Alignment, frame, canvas.TextWidth(Caption)), frame.Top, Caption);
}

TQRMemo::TQRMemo()
{
    Height = 20;
    Width = 50;
}

QStringList TQRMemo::WrappedLines(int width) const
{
    if (!WordWrap)
        return Lines;
    const TQRCanvas &canvas = PageCanvas();
    QStringList wrapped;
    for (const QString &line : Lines) {
        QString current;
        for (const QString &word : line.split(QLatin1Char(' '))) {
            const QString longer = current.isEmpty() ? word : current + QLatin1Char(' ') + word;
            if (!current.isEmpty() && canvas.TextWidth(longer) > width) {
                wrapped << current;
                current = word;
            } else {
                current = longer;
            }
        }
        wrapped << current;
    }
    return wrapped;
}

void TQRMemo::PrintAtBand(double bandX, double bandY)
{
    const TQRPageFrame frame = FrameOnPage(bandX, bandY);
    TQRCanvas &canvas = PageCanvas();
    canvas.SetFont(Font);
    canvas.SetBrush(Background(Color));
    const int lineHeight = canvas.TextHeight();
    int y = frame.Top;
    for (const QString &line : WrappedLines(frame.Width())) {
        if (y + lineHeight > frame.Bottom)
            break;
        canvas.TextOut(AlignedX(Alignment, frame, canvas.TextWidth(line)), y, line);
        y += lineHeight;
    }
}

TQRShape::TQRShape()
{
    Width = 20;
    Height = 10;
}

void TQRShape::PrintAtBand(double bandX, double bandY)
{
    const TQRPageFrame frame = FrameOnPage(bandX, bandY);
    TQRCanvas &canvas = PageCanvas();
    canvas.SetPen(Pen);
    canvas.SetBrush(Brush);
    switch (Shape) {
    case Kind::Rectangle:
        canvas.Rectangle(frame.Left, frame.Top, frame.Right, frame.Bottom);
        break;
    case Kind::HorizontalLine: {
        const int y = frame.Top + frame.Height() / 2;
        canvas.Line(frame.Left, y, frame.Right, y);
        break;
    }
    case Kind::VerticalLine: {
        const int x = frame.Left + frame.Width() / 2;
        canvas.Line(x, frame.Top, x, frame.Bottom);
        break;
    }
    }
}
