#include "support/recordingdevice.h"

#include <QFontMetrics>
#include <QPaintEngineState>
#include <QTextItem>

class RecordingDevice::Engine : public QPaintEngine
{
public:
    Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState &) override {}
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        texts.append({p, item.text(), item.font()});
    }
    void drawLines(const QLineF *drawn, int count) override
    {
        for (int i = 0; i < count; ++i)
            lines.append(drawn[i]);
    }
    void drawLines(const QLine *drawn, int count) override
    {
        for (int i = 0; i < count; ++i)
            lines.append(QLineF(drawn[i]));
    }
    Type type() const override { return QPaintEngine::User; }

    QList<Text> texts;
    QList<QLineF> lines;
};

RecordingDevice::RecordingDevice(int dpi, QSize pixels)
    : m_dpi(dpi), m_pixels(pixels), m_engine(std::make_unique<Engine>())
{
}

RecordingDevice::~RecordingDevice() = default;

QPaintEngine *RecordingDevice::paintEngine() const
{
    return m_engine.get();
}

const QList<RecordingDevice::Text> &RecordingDevice::texts() const
{
    return m_engine->texts;
}

const QList<QLineF> &RecordingDevice::lines() const
{
    return m_engine->lines;
}

void RecordingDevice::clear()
{
    m_engine->texts.clear();
    m_engine->lines.clear();
}

int RecordingDevice::top(const Text &text) const
{
    return qRound(text.baseline.y()) - QFontMetrics(text.font, this).ascent();
}

int RecordingDevice::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth: return m_pixels.width();
    case PdmHeight: return m_pixels.height();
    case PdmWidthMM: return qRound(m_pixels.width() * 25.4 / m_dpi);
    case PdmHeightMM: return qRound(m_pixels.height() * 25.4 / m_dpi);
    case PdmNumColors: return 0x7fffffff;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return m_dpi;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
    default: return 0;
    }
}
