#include "reports/engine/qrcanvas.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>

namespace {
constexpr double MmPerInch = 25.4;
}

TQRFont::TQRFont(const QString &family, int pointSize, QColor color)
    : QFont(family, pointSize), Color(color)
{
}

TQRPageScale::TQRPageScale(double dpiX, double dpiY, QPointF printableOffset)
    : m_dotsPerMmX(dpiX / MmPerInch), m_dotsPerMmY(dpiY / MmPerInch), m_offset(printableOffset)
{
}

TQRPageScale TQRPageScale::ForDevice(const QPaintDevice &device)
{
    const int dpiX = device.logicalDpiX();
    const int dpiY = device.logicalDpiY();
    QPointF offset;
    if (const auto *paged = dynamic_cast<const QPagedPaintDevice *>(&device))
        offset = paged->pageLayout().paintRectPixels(dpiX).topLeft();
    return TQRPageScale(dpiX, dpiY, offset);
}

int TQRPageScale::HorzToPage(double x) const
{
    return qRound(x * m_dotsPerMmX - m_offset.x());
}

int TQRPageScale::VertToPage(double y) const
{
    return qRound(y * m_dotsPerMmY - m_offset.y());
}

int TQRPageScale::WidthToPage(double w) const
{
    return qRound(w * m_dotsPerMmX);
}

int TQRPageScale::HeightToPage(double h) const
{
    return qRound(h * m_dotsPerMmY);
}

TQRCanvas::TQRCanvas(QPainter &painter) : m_painter(painter)
{
    m_painter.setPen(m_pen);
    m_painter.setBrush(m_brush);
    m_painter.setFont(m_font);
}

void TQRCanvas::SetPen(const QPen &pen)
{
    m_pen = pen;
    m_painter.setPen(pen);
}

void TQRCanvas::SetBrush(const QBrush &brush)
{
    m_brush = brush;
    m_painter.setBrush(brush);
}

void TQRCanvas::SetFont(const TQRFont &font)
{
    m_font = font;
    m_painter.setFont(font);
}

int TQRCanvas::TextWidth(const QString &text) const
{
    return m_painter.fontMetrics().horizontalAdvance(text);
}

int TQRCanvas::TextHeight() const
{
    return m_painter.fontMetrics().height();
}

void TQRCanvas::TextOut(int x, int y, const QString &text)
{
    if (text.isEmpty())
        return;
    const QFontMetrics metrics = m_painter.fontMetrics();
    if (m_brush.style() != Qt::NoBrush)
        m_painter.fillRect(x, y, metrics.horizontalAdvance(text), metrics.height(), m_brush);
    m_painter.setPen(m_font.Color);
    m_painter.drawText(x, y + metrics.ascent(), text);
    m_painter.setPen(m_pen);
}

void TQRCanvas::Line(int x1, int y1, int x2, int y2)
{
    m_painter.drawLine(x1, y1, x2, y2);
}

void TQRCanvas::Rectangle(int left, int top, int right, int bottom)
{
    if (m_pen.style() == Qt::NoPen) {
        FillRect(left, top, right, bottom);
        return;
    }
    // The outline of QRect(x, y, w, h) reaches the pixel x + w.
    m_painter.drawRect(left, top, right - left - 1, bottom - top - 1);
}

void TQRCanvas::FillRect(int left, int top, int right, int bottom)
{
    m_painter.fillRect(left, top, right - left, bottom - top, m_brush);
}
