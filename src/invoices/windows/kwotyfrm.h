#pragma once

#include "core/money.h"
#include "widgets/windowplacement.h"

#include <QDialog>

class GridBinding;
class QLabel;
class QPushButton;
class QTableView;
class QToolButton;
class TDM;
class TWindow;

// "Pozycje faktury": the amount lines of one invoice (key 0: the invoice
// being created, whose lines wait in the working list), with their totals.
// The invoice editor reads a total after "&Zapisz". Created once and reused.
class TKwotyFrm : public QDialog
{
    Q_OBJECT
public:
    TKwotyFrm(TDM &dm, TWindow &window, QWidget *parent = nullptr);
    ~TKwotyFrm() override;

    // Shows the lines modally and answers the modal result; when the lines
    // cannot be read the user is told and the window is not shown (cancel).
    int PokazPozycje(int FaktId, int lista);
    // Everything PokazPozycje does before showing the window; false when
    // the lines cannot be read.
    bool Przygotuj(int FaktId, int lista);

    Money RazemBrutto() const { return m_razemBrutto; }
    Money RazemVatA() const { return m_razemVatA; }
    Money RazemVatB() const { return m_razemVatB; }

protected:
    void done(int result) override;

private:
    void Przelicz();
    void UstawPrzyciski();
    void DodajBtnClick();
    void PoprawBtnClick();
    void UsunBtnClick();

    TDM &dm;
    WindowPlacement m_placement;
    int m_faktId = 0;
    int m_lista = 1;
    Money m_razemBrutto;
    Money m_razemVatA;
    Money m_razemVatB;
    GridBinding *m_binding = nullptr;

    QToolButton *DodajBtn;
    QToolButton *PoprawBtn;
    QToolButton *UsunBtn;
    QTableView *Grid;
    QPushButton *PostBtn;
    QPushButton *CancelBtn;
    QLabel *StatusBar;
};
