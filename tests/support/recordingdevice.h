#pragma once

#include <QFont>
#include <QLineF>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPointF>
#include <QString>

#include <memory>

// A paint device that remembers what is drawn on it instead of drawing: each
// text with its baseline point and font, and each line. Its resolution and
// size are chosen by the test, so positions can be checked to the pixel.
class RecordingDevice : public QPaintDevice
{
public:
    struct Text
    {
        QPointF baseline;
        QString text;
        QFont font;
    };

    RecordingDevice(int dpi, QSize pixels);
    ~RecordingDevice() override;

    QPaintEngine *paintEngine() const override;
    const QList<Text> &texts() const;
    const QList<QLineF> &lines() const;
    void clear();
    // The top of a recorded text's cell: its baseline less the ascent of its
    // font on this device.
    int top(const Text &text) const;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    class Engine;
    int m_dpi;
    QSize m_pixels;
    std::unique_ptr<Engine> m_engine;
};
