#pragma once

#include "reports/engine/qrprintable.h"

#include <QStringList>

// The engine's own simple controls: fixed texts, frames and shaded areas.

// One line of fixed text, aligned left, centred or right within the label's
// width and printed from its top. With a background colour the text's cell
// is filled with it; without one (the default) the text is transparent.
class TQRLabel : public TQRPrintable
{
public:
    TQRLabel();
    QString Caption;
    TQRFont Font;
    Qt::Alignment Alignment = Qt::AlignLeft; // AlignLeft, AlignHCenter or AlignRight
    QColor Color;                            // invalid: transparent

protected:
    void PrintAtBand(double bandX, double bandY) override;
};

// Lines of text, word-wrapped into the width when asked. The memo keeps its
// size: lines that do not fit above its bottom edge are not printed.
class TQRMemo : public TQRPrintable
{
public:
    TQRMemo();
    QStringList Lines;
    TQRFont Font;
    Qt::Alignment Alignment = Qt::AlignLeft; // AlignLeft, AlignHCenter or AlignRight
    bool WordWrap = true;
    QColor Color; // invalid: transparent

protected:
    void PrintAtBand(double bandX, double bandY) override;

private:
    QStringList WrappedLines(int width) const;
};

// A frame, a line or a shaded area. A rectangle is outlined with the pen and
// filled with the brush; with no pen it is a filled area (a shaded area, or a
// thick rule as a thin black rectangle, as thick on every device). A line
// runs through the middle of the control, across or down.
class TQRShape : public TQRPrintable
{
public:
    enum class Kind { Rectangle, HorizontalLine, VerticalLine };

    TQRShape();
    Kind Shape = Kind::Rectangle;
    QPen Pen{Qt::black, 1};
    QBrush Brush{Qt::white};

protected:
    void PrintAtBand(double bandX, double bandY) override;
};
