#pragma once

#include "reports/formparts/qrcustompit.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <functional>

// A text word-wrapped into the control's width, on a background of the
// brush's colour. Lines that do not fit above the bottom edge print below it.
class TQRWrapper : public TQRCustomPit
{
public:
    TQRWrapper();
    QString Caption;

    // The lines of the last print.
    const QStringList &Lines() const { return m_lines; }

    // The lines of a text wrapped into `width`, each measured by `measure`
    // in the unit of the width: breaks after the last space, comma, hyphen
    // or full stop that fits, or inside a word that has none. When not even
    // one character fits, the rest goes on one line and the wrapping ends.
    static QStringList Wrap(const QString &text, double width, const std::function<double(const QString &)> &measure);

protected:
    void PrintAtBand(double bandX, double bandY) override;

private:
    QStringList m_lines;
};

// One line with inline markup: "<+b>" and "<-b>" switch bold on and off,
// "u" underline, "i" italic, "s" small type (standing on the same top line,
// as in "m<+s>2<-s>"). Any other "<" prints as it is.
class TQRSmartLabel : public TQRCustomPit
{
public:
    TQRSmartLabel();
    QString Caption;
    QColor Color;

    // The size of small type for a font of `size` points.
    static int SmallSize(int size);

protected:
    void PrintAtBand(double bandX, double bandY) override;
};
