#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QString>

class QPaintDevice;

// A font together with the colour its text is drawn in. Text takes the
// font's colour, never the pen's, so a control may hide its outline (pen in
// the brush colour) and still print readable text.
struct TQRFont : QFont
{
    explicit TQRFont(const QString &family = QStringLiteral("Arial"), int pointSize = 10,
                     QColor color = Qt::black);
    QColor Color;
};

// How the millimetres of a report become device pixels of one page. Report
// positions are measured from the corner of the sheet; a painter on a printer
// has its origin at the corner of the printable area, so that offset is taken
// off here, and nowhere else.
class TQRPageScale
{
public:
    TQRPageScale(double dpiX, double dpiY, QPointF printableOffset = {});
    // The device's resolution and, for a paged device, the corner of its
    // printable area (none when it prints the full page).
    static TQRPageScale ForDevice(const QPaintDevice &device);

    int HorzToPage(double x) const;
    int VertToPage(double y) const;
    int WidthToPage(double w) const;
    int HeightToPage(double h) const;

private:
    double m_dotsPerMmX;
    double m_dotsPerMmY;
    QPointF m_offset; // device pixels
};

// The canvas a control draws on: the page's painter with the current pen,
// brush and font. Text is placed by the top-left corner of its cell (the
// painter itself places text on its baseline) and its cell is filled with
// the brush, unless the brush is empty.
class TQRCanvas
{
public:
    explicit TQRCanvas(QPainter &painter);

    QPainter &Painter() { return m_painter; }

    const QPen &Pen() const { return m_pen; }
    const QBrush &Brush() const { return m_brush; }
    const TQRFont &Font() const { return m_font; }
    void SetPen(const QPen &pen);
    void SetBrush(const QBrush &brush);
    void SetFont(const TQRFont &font);

    int TextWidth(const QString &text) const;
    // The height of a line of text in the current font, whatever the text.
    int TextHeight() const;
    void TextOut(int x, int y, const QString &text);

    void Line(int x1, int y1, int x2, int y2);
    // Outlined with the pen and filled with the brush; right and bottom are
    // the first pixels outside it.
    void Rectangle(int left, int top, int right, int bottom);
    // Filled with the brush, without an outline.
    void FillRect(int left, int top, int right, int bottom);

private:
    QPainter &m_painter;
    QPen m_pen;
    QBrush m_brush;
    TQRFont m_font;
};
