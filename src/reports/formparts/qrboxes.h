#pragma once

#include "core/money.h"
#include "reports/formparts/qrcustompit.h"

#include <QString>

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum THorAlignment { haLeft, haCenter, haRight };
enum TVertAlignment { vaTop, vaCenter, vaBottom };

// A box of the form: a rectangle with a small caption (its position number
// and name) in the top-left corner. The spacing characters set the gaps: the
// caption stands one "M" of the caption font from the left edge.
class TQRCustomBox : public TQRCustomPit
{
public:
    TQRCustomBox();
    QString Caption;
    TQRFont CaptionFont{QStringLiteral("Arial"), 7};
    QChar ZnakOdstepuGora = QLatin1Char('M');
    QChar ZnakOdstepuDol = QLatin1Char('M');

protected:
    void PrintAtBand(double bandX, double bandY) override;
    void DrawBox(const TQRPageFrame &frame);
};

// A box with a line of text at its bottom.
class TQRTextBox : public TQRCustomBox
{
public:
    QString Text;
    TAlignment TextAlignment = taLeftJustify;

protected:
    void PrintAtBand(double bandX, double bandY) override;
};

// A box with an amount at its bottom, ending at the right edge.
class TQRCurrBox : public TQRCustomBox
{
public:
    Money Value;
    // False: an amount of zero leaves the box empty.
    bool PrintZero = true;
    // Whole złoty, rounded.
    bool IntValue = false;
    // "1 234 zł, 50 gr" in place of "1 234,50".
    bool PrintZL = false;

protected:
    void PrintAtBand(double bandX, double bandY) override;

private:
    QString ValueText() const;
};

// A table cell: a rectangle with its caption aligned inside.
class TQRCell : public TQRCustomPit
{
public:
    TQRCell();
    QString Caption;
    THorAlignment HorAlignment = haLeft;
    TVertAlignment VertAlignment = vaTop;

protected:
    void PrintAtBand(double bandX, double bandY) override;
};

// A tick box, crossed when checked.
class TQRCheckBox : public TQRCustomPit
{
public:
    TQRCheckBox();
    bool Checked = false;

protected:
    void PrintAtBand(double bandX, double bandY) override;
};
