#pragma once

#include "widgets/wyborpliku.h"

#include <QDialog>

class Drukarka;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TDM;

// "Wybór drukarki": the printer the overprint prints on, or a PDF file
// instead of one. It prints nothing: "&Wybierz" only hands the choice to the
// program's printer, "&Anuluj" leaves the printer as it was. Without a
// printer on the system only the PDF file can be chosen.
class TWyborDrukarkiFrm : public QDialog
{
    Q_OBJECT
public:
    TWyborDrukarkiFrm(TDM &dm, Drukarka &drukarka, WyborPliku wyborPliku, QWidget *parent = nullptr);

private:
    void PrzegladajBtnClick();
    void WybierzBtnClick();
    void UstawDostepnosc();

    TDM &dm;
    Drukarka &drukarka;
    WyborPliku wyborPliku;

    QRadioButton *NaDrukarke;
    QComboBox *EdDrukarka;
    QRadioButton *DoPliku;
    QLineEdit *EdPlik;
    QPushButton *PrzegladajBtn;
    QPushButton *WybierzBtn;
    QPushButton *CancelBtn;
};
