#include "support/recordingdevice.h"

#include <QFontMetrics>
#include <QPaintEngineState>
#include <QTextItem>

class RecordingDevice::Engine : public QPaintEngine
{
public:
    explicit Engine(RecordingDevice &device) : QPaintEngine(AllFeatures), m_device(device) {}

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & DirtyPen)
            m_pen = state.pen();
        if (state.state() & DirtyBrush)
            m_brush = state.brush();
        if (state.state() & DirtyFont)
            m_font = state.font();
    }

    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        m_device.Texts.push_back({p, item.text(), m_font, m_pen.color()});
    }
    void drawLines(const QLineF *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            m_device.Lines.push_back({lines[i], m_pen});
    }
    void drawRects(const QRectF *rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            m_device.Rects.push_back({rects[i], m_pen, m_brush});
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}

private:
    RecordingDevice &m_device;
    QPen m_pen;
    QBrush m_brush;
    QFont m_font;
};

RecordingDevice::RecordingDevice(int dpi) : m_dpi(dpi), m_engine(std::make_unique<Engine>(*this)) {}

RecordingDevice::~RecordingDevice() = default;

QPaintEngine *RecordingDevice::paintEngine() const
{
    return m_engine.get();
}

int RecordingDevice::metric(PaintDeviceMetric metric) const
{
    constexpr double a4WidthMm = 210;
    constexpr double a4HeightMm = 297;
    switch (metric) {
    case PdmWidth:
        return qRound(a4WidthMm * m_dpi / 25.4);
    case PdmHeight:
        return qRound(a4HeightMm * m_dpi / 25.4);
    case PdmWidthMM:
        return int(a4WidthMm);
    case PdmHeightMM:
        return int(a4HeightMm);
    case PdmNumColors:
        return 256;
    case PdmDepth:
        return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY:
        return m_dpi;
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return int(devicePixelRatioFScale());
    }
    return 0;
}

int RecordingDevice::TopOf(const Text &text) const
{
    return qRound(text.Baseline.y()) - QFontMetrics(text.Font, this).ascent();
}

int RecordingDevice::WidthOf(const QFont &font, const QString &text) const
{
    return QFontMetrics(font, this).horizontalAdvance(text);
}

int RecordingDevice::HeightOf(const QFont &font) const
{
    return QFontMetrics(font, this).height();
}

QString RecordingDevice::VisibleText() const
{
    QString all;
    for (const Text &text : Texts)
        all += text.Value;
    return all.remove(QLatin1Char(' '));
}

void RecordingDevice::Clear()
{
    Texts.clear();
    Lines.clear();
    Rects.clear();
}
