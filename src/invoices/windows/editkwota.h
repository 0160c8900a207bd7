#pragma once

#include "core/money.h"
#include "widgets/oknoedycji.h"


#include <functional>

class QLineEdit;
class QPushButton;
class TDM;
class TOrxEditCalc;

// An amount edit of the invoice windows: two decimals with thousands
// separators, nothing for zero, negative amounts allowed; a text that does
// not read is refused when left.
TOrxEditCalc *NowePoleKwoty(const QString &name);
// Runs `akcja` instead of what the key (with exactly these modifiers) does
// in `kontrolka`: Enter in a VAT field, Alt+Up on a field with a list.
void NaKlawisz(QWidget *kontrolka, int klawisz, Qt::KeyboardModifiers modyfikatory, std::function<void()> akcja);

// "Pozycja faktury": the editor of one amount line of an invoice (key 0:
// the invoice being created, whose lines wait in the working list). In
// insert mode it stays open for line after line; in edit mode one save
// closes it. The description takes what Kwoty.db holds; an amount that does
// not read is refused; Esc and "&Anuluj" ask before dropping what was typed.
// Created for each use.
class TEditKwota : public OknoEdycji
{
    Q_OBJECT
public:
    TEditKwota(TDM &dm, QWidget *parent = nullptr);

    // Each shows the editor modally and answers its result.
    int DodajPozycje(int FaktId, int lista);
    // The current line of the shown data set.
    int PoprawPozycje(int FaktId, int lista);
    // Everything the two do before showing the editor.
    void Przygotuj(int FaktId, int lista, bool nowa);

    // Sets an amount field to the VAT contained in the gross amount.
    void WyliczVAT(QWidget *pole);

private:
    void Wyczysc();
    void PostBtnClick();

    TDM &dm;
    bool m_nowa = true;
    int m_faktId = 0;
    int m_lista = 1;

    QLineEdit *EdOpis;
    TOrxEditCalc *EdBrutto;
    TOrxEditCalc *EdVatA;
    TOrxEditCalc *EdVatB;
    QPushButton *PostBtn;
    QPushButton *CancelBtn;
};
