#pragma once

#include "widgets/oknoedycji.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class TDM;
class TOrxEditCalc;

// "Parametry domyślne": edits the single Domysl record, the address and tax
// office a new taxpayer starts with and the default price of 1 m².
// Created for one use, shown with exec(), then freed. Esc and "&Anuluj" ask
// before dropping what was typed.
class TDomyslneFrm : public OknoEdycji
{
    Q_OBJECT
public:
    explicit TDomyslneFrm(TDM &dm, QWidget *parent = nullptr);

    // The entry of EdWojew that stands for no voivodeship.
    static const QString Brak;

protected:
    // Each showing reads the record anew.
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *NowePole(const QString &nazwa, const QString &pole);
    void FormActivate();
    void PostBtnClick();
    bool Zapisz();

    TDM &dm;
    QLineEdit *EdKraj = nullptr;
    QComboBox *EdWojew = nullptr;
    QLineEdit *EdPowiat = nullptr;
    QLineEdit *EdGmina = nullptr;
    QLineEdit *EdMiasto = nullptr;
    QLineEdit *EdKodPoczt = nullptr;
    QLineEdit *EdPoczta = nullptr;
    QLineEdit *EdUrzad = nullptr;
    TOrxEditCalc *EdCena = nullptr;
    QPushButton *PostBtn = nullptr;
    QPushButton *CancelBtn = nullptr;
};
