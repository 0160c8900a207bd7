#include "reports/formparts/qrboxes.h"

#include "core/common.h"

TQRCustomBox::TQRCustomBox()
{
    Width = 50;
    Height = 9;
    Font.setPointSize(12);
}

void TQRCustomBox::PrintAtBand(double bandX, double bandY)
{
    DrawBox(FrameOnPage(bandX, bandY));
}

void TQRCustomBox::DrawBox(const TQRPageFrame &frame)
{
    TQRCanvas &canvas = PageCanvas();
    canvas.SetBrush(Brush);
    canvas.SetPen(Pen);
    canvas.SetFont(CaptionFont);
    const int gap = canvas.TextWidth(ZnakOdstepuGora);
    const int captionHeight = canvas.TextHeight();
    canvas.Rectangle(frame.Left, frame.Top, frame.Right, frame.Bottom);
    canvas.TextOut(frame.Left + gap, frame.Top + captionHeight / 6 + Pen.width(), Caption);
}

void TQRTextBox::PrintAtBand(double bandX, double bandY)
{
    const TQRPageFrame frame = FrameOnPage(bandX, bandY);
    DrawBox(frame);
    TQRCanvas &canvas = PageCanvas(); // still in the caption font
    const int leftGap = canvas.TextWidth(ZnakOdstepuDol);
    const int rightGap = canvas.TextWidth(QStringLiteral("  "));
    canvas.SetFont(Font);
    const int width = canvas.TextWidth(Text);
    int x = frame.Left + leftGap;
    if (TextAlignment == taRightJustify)
        x = frame.Right - width - rightGap;
    else if (TextAlignment == taCenter)
        x = frame.Left + (frame.Width() - width) / 2;
    canvas.TextOut(x, frame.Bottom - canvas.TextHeight() - 2, Text);
}

QString TQRCurrBox::ValueText() const
{
    if (Value.isZero() && !PrintZero)
        return QString();
    if (PrintZL) {
        const QString amount = Kwota2(Value);
        const qsizetype comma = amount.lastIndexOf(QLatin1Char(','));
        return amount.left(comma) + QStringLiteral(" zł, ") + amount.mid(comma + 1) + QStringLiteral(" gr");
    }
    return IntValue ? Kwota0(Value) : Kwota2(Value);
}

void TQRCurrBox::PrintAtBand(double bandX, double bandY)
{
    const TQRPageFrame frame = FrameOnPage(bandX, bandY);
    DrawBox(frame);
    TQRCanvas &canvas = PageCanvas(); // still in the caption font
    const int rightGap = canvas.TextWidth(ZnakOdstepuDol);
    const int lift = canvas.TextHeight() / 6;
    canvas.SetFont(Font);
    const QString text = ValueText();
    canvas.TextOut(frame.Right - canvas.TextWidth(text) - rightGap, frame.Bottom - canvas.TextHeight() - lift, text);
}

TQRCell::TQRCell()
{
    Width = 50;
    Height = 9;
}

void TQRCell::PrintAtBand(double bandX, double bandY)
{
    SelectDrawingObjects();
    const TQRPageFrame frame = FrameOnPage(bandX, bandY);
    TQRCanvas &canvas = PageCanvas();
    canvas.Rectangle(frame.Left, frame.Top, frame.Right, frame.Bottom);
    const int w = canvas.TextWidth(Caption);
    const int h = canvas.TextHeight();
    const int x = HorAlignment == haCenter  ? frame.Left + (frame.Width() - w) / 2
                  : HorAlignment == haRight ? frame.Right - w
                                            : frame.Left;
    const int y = VertAlignment == vaCenter   ? frame.Top + (frame.Height() - h) / 2
                  : VertAlignment == vaBottom ? frame.Bottom - h - 1
                                              : frame.Top;
    canvas.TextOut(x, y, Caption);
}

TQRCheckBox::TQRCheckBox()
{
    Width = 3;
    Height = 3;
}

void TQRCheckBox::PrintAtBand(double bandX, double bandY)
{
    const TQRPageFrame frame = FrameOnPage(bandX, bandY);
    TQRCanvas &canvas = PageCanvas();
    canvas.SetBrush(Brush);
    canvas.SetPen(Pen);
    const int left = frame.Left + 1;
    const int top = frame.Top + 1;
    const int right = frame.Right - 1;
    const int bottom = frame.Bottom - 1;
    canvas.Rectangle(left, top, right, bottom);
    if (Checked) {
        canvas.Line(left, top, right, bottom);
        canvas.Line(right, top, left, bottom);
    }
}
