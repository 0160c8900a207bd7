#pragma once

#include "core/money.h"
#include "widgets/oknoedycji.h"

class QPushButton;
class TDM;
class TOrxEditCalc;

// The refunds granted on earlier applications, one amount for each of the
// four kinds of refund. The application editor stores what the user
// confirms; cancelling leaves its values as they were. An amount shown and
// left unchanged keeps all its grosze; one that does not read is refused.
// "&Anuluj", Escape and the close box ask before dropping what was typed.
class TPoprzedniZwrotFrm : public OknoEdycji
{
    Q_OBJECT
public:
    explicit TPoprzedniZwrotFrm(TDM &dm, QWidget *parent = nullptr);

    // Puts the four amounts into the edits and shows the dialog modally;
    // answers whether the user confirmed.
    bool Edytuj(Money ZwrotPopA, Money ZwrotPopB, Money ZwrotPopC, Money ZwrotPopD);

    Money GetZwrotA();
    Money GetZwrotB();
    Money GetZwrotC();
    Money GetZwrotD();

private:
    TOrxEditCalc *NowaKwota(const char *name);

    TOrxEditCalc *EdZwrotA;
    TOrxEditCalc *EdZwrotB;
    TOrxEditCalc *EdZwrotC;
    TOrxEditCalc *EdZwrotD;
    QPushButton *PostBtn;
    QPushButton *CancelBtn;
};
