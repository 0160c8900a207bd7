#pragma once

#include <QBrush>
#include <QFont>
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPen>
#include <QRectF>
#include <QString>

#include <memory>
#include <vector>

// A page that remembers what was drawn on it instead of drawing it: every
// text with its baseline point, font and colour, every line and rectangle
// with the pen and brush of the moment. Its resolution is chosen by the test
// (254 dpi: ten pixels to the millimetre).
class RecordingDevice : public QPaintDevice
{
public:
    struct Text
    {
        QPointF Baseline;
        QString Value;
        QFont Font;
        QColor Color;
    };
    struct Line
    {
        QLineF Value;
        QPen Pen;
    };
    struct Rect
    {
        QRectF Value;
        QPen Pen;
        QBrush Brush;
    };

    explicit RecordingDevice(int dpi = 254);
    ~RecordingDevice() override;

    QPaintEngine *paintEngine() const override;

    // Forgets what was drawn.
    void Clear();

    std::vector<Text> Texts;
    std::vector<Line> Lines;
    std::vector<Rect> Rects;

    // The top of a recorded text's cell: its baseline less the ascent of its
    // font on this device.
    int TopOf(const Text &text) const;
    int WidthOf(const QFont &font, const QString &text) const;
    int HeightOf(const QFont &font) const;
    // Every recorded character but blanks, in drawing order.
    QString VisibleText() const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    class Engine;
    int m_dpi;
    std::unique_ptr<Engine> m_engine;
};
