#pragma once

#include "reports/engine/qrprintable.h"

#include <QBrush>
#include <QPen>

// The base of the form's printable controls: each has its own pen, brush and
// font and selects them on the page canvas before it draws. Sizes are in
// millimetres; properties without a rule are plain members, those whose
// setter refuses some values are reached through accessors.
class TQRCustomPit : public TQRPrintable
{
public:
    QPen Pen{Qt::black, 1};
    QBrush Brush{Qt::white};
    TQRFont Font{QStringLiteral("Arial"), 11};

protected:
    TQRCustomPit();
    void SelectDrawingObjects();
};
