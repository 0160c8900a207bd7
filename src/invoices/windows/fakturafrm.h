#pragma once

#include "invoices/windows/faktura.h"
#include "widgets/oknoedycji.h"
#include "widgets/windowplacement.h"


class MaskedLineEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TDM;
class TKwotyFrm;
class TMaterialyFrm;
class TOrxEditCalc;
class TSprzedFrm;
class TWindow;

// The invoice editor: adds invoices to list A, B or C of an application one
// after another (insert mode), or corrects one invoice (edit mode). The rules
// live in TFaktura; the window shows the fields, reacts to the keys and
// buttons and hands the typed values to the rules. An amount that does not
// read is refused, never stored; Esc, "&Anuluj" and "Zamknij" ask before
// dropping what was typed, the lines entered for a new invoice included.
class TFakturaFrm : public OknoEdycji
{
    Q_OBJECT
public:
    TFakturaFrm(TDM &dm, TWindow &window, QWidget *parent = nullptr);
    ~TFakturaFrm() override; // saves the placement

    // List 1..3 (A, B, C) of application VzmId. Each answers the modal result.
    int NowaFaktura(int VzmId, int lista);
    // Corrects the current invoice of the list's query.
    int PoprawFakture(int VzmId, int lista);

    // Everything the entry operations do before showing the window.
    void Przygotuj(int VzmId, int lista, bool nowa);

    bool SaZmiany() const override;

protected:
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void utworzKontrolki();
    QWidget *utworzKwoty();
    void Wyczysc();
    void Pokaz(const TDaneFaktury &dane);
    TDaneFaktury Dane() const;
    void UstawCaps(bool wielkie);
    void OdswiezRoznice();
    void Skup(PoleFaktury pole);

    void PostBtnClick();
    void EdKodExit();
    void EdNipExit();
    void FirmaBtnClick();
    void MaterialyBtnClick();
    // The sum buttons: 0 gross, 1 VAT A, 2 VAT B.
    void SumaBtnClick(int kwota);

    TDM &dm;
    TWindow &m_window;
    WindowPlacement m_placement;
    TFaktura m_faktura;
    TKwotyFrm *m_kwoty = nullptr;
    TSprzedFrm *m_sprzedawcy = nullptr;
    TMaterialyFrm *m_materialy = nullptr;

    QLineEdit *EdNumer;
    QToolButton *CapsBtn;
    QLabel *ZalaczLbl;
    QToolButton *CloseBtn;
    MaskedLineEdit *EdData;
    QToolButton *DataBlok;
    QLineEdit *EdLp;
    QLineEdit *EdKod;
    QToolButton *FirmaBtn;
    QLineEdit *EdNip;
    QToolButton *FirmaBlok;
    QLabel *NazwaFirmy;
    TOrxEditCalc *EdBrutto;
    TOrxEditCalc *EdVatA;
    TOrxEditCalc *EdVatB;
    QToolButton *BruttoBtn;
    QToolButton *VatABtn;
    QToolButton *VatBBtn;
    QLabel *RoznicaVatA;
    QLabel *RoznicaVatB;
    QPushButton *PostBtn;
    QPushButton *CancelBtn;
    QPushButton *MaterialyBtn;
    QLabel *Panel1;
};
