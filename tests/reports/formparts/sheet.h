#pragma once

#include "support/recordingdevice.h"
#include "reports/engine/qrreport.h"

#include <QPainter>

// A sheet with one band from its corner, recorded at ten pixels to the
// millimetre: a control placed at 10 mm lies at pixel 100.
struct Sheet
{
    RecordingDevice Device{254};
    TQRReport Report;
    TQRBand &Band = Report.AddBand(297);

    template<class Control>
    Control *Add(double left, double top, double width, double height)
    {
        auto *control = Band.Add<Control>();
        control->SetBounds(left, top, width, height);
        return control;
    }

    void Draw()
    {
        QPainter painter(&Device);
        Report.Render(painter, TQRPageScale::ForDevice(Device));
    }

    // The rectangles drawn with an outline (text backgrounds have none).
    std::vector<RecordingDevice::Rect> Outlined() const
    {
        std::vector<RecordingDevice::Rect> outlined;
        for (const auto &rect : Device.Rects)
            if (rect.Pen.style() != Qt::NoPen)
                outlined.push_back(rect);
        return outlined;
    }

    // The recorded texts that are not blanks.
    std::vector<RecordingDevice::Text> Glyphs() const
    {
        std::vector<RecordingDevice::Text> glyphs;
        for (const auto &text : Device.Texts)
            if (!text.Value.trimmed().isEmpty())
                glyphs.push_back(text);
        return glyphs;
    }
};
