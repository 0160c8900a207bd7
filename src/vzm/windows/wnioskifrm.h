#pragma once

#include "invoices/faktinfo.h"
#include "widgets/windowplacement.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QGroupBox;
class QTabWidget;
class QTableView;
class TDM;
class TVZMab;
class TVzm_3;
class TWindow;
enum class ZrodloRozliczenia;

// The windows the applications window opens that belong to the subsystems
// above it: the invoice editor, the printing and the notes editor. The
// program hands them in; a button whose window is not handed in is hidden.
struct OknaWnioskow
{
    // The invoice editor for list 1..3 of the application VzmId.
    std::function<void(int VzmId, int lista)> NowaFaktura;
    std::function<void(int VzmId, int lista)> PoprawFakture;
    // The printing of the application loaded into Vzm_3.
    std::function<void()> PodgladWniosku;
    std::function<void()> NadrukWniosku;
    // The printing of the attachment loaded into VZMab.
    std::function<void()> PodgladZalacznika;
    std::function<void()> NadrukZalacznika;
    // Asks which of `liczba` attachments of list `lista` to print; nothing
    // when the user cancels.
    std::function<std::optional<int>(int liczba, int lista)> WybierzZalacznik;
    // The notes editor for the current taxpayer.
    std::function<void()> OtworzNotatki;
    // Invoices from a spreadsheet into list 1..3 of the application VzmId
    // (answers how many were stored), and the list written to one.
    std::function<int(int VzmId, int lista)> WczytajFaktury;
    std::function<void(int VzmId, int lista)> ZapiszFaktury;
    // The printing of the explanation of the refund of the application in Vzm_3.
    std::function<void(ZrodloRozliczenia)> DrukujRozliczenie;
};

// One taxpayer's VZM-1 applications and, on three tabs, the invoices of the
// selected application in lists A, B and C. From here the user adds,
// corrects and deletes applications and invoices and starts the printing.
// Created once and reused; each opening binds it to the current taxpayer.
class TWnioskiFrm : public QDialog
{
    Q_OBJECT
public:
    TWnioskiFrm(TDM &dm, TVzm_3 &vzm, TVZMab &vzmab, TWindow &window, QWidget *parent = nullptr);
    ~TWnioskiFrm() override;

    void UstawOkna(OknaWnioskow okna);

    // Opens the window modally for the taxpayer current in the register.
    void PokazWnioski();
    // Everything PokazWnioski does before showing the window.
    void Otworz();

    int PodatId() const { return m_podatId; }
    // The list (1 to 3) of the active tab.
    int AktywnaLista() const;

protected:
    void done(int result) override;

private:
    void utworzGorne();
    void utworzDolne();
    QTableView *utworzSiatkeFaktur(int lista);

    void Odswiez();
    void OtworzFaktury();
    void UstawPrzyciski();
    void UstawStatus();
    int WybranyWniosek();
    int WybranaFaktura();
    bool jestRekord(int lista);

    void WnDodajBtnClick();
    void WnPoprawBtnClick();
    void WnUsunBtnClick();
    void WnPodgladBtnClick();
    void WnNadrukBtnClick();
    void ZlDodajBtnClick();
    void ZlPoprawBtnClick();
    void ZlUsunBtnClick();
    void ZlPodgladBtnClick();
    void ZlNadrukBtnClick();
    void ZlWczytajBtnClick();
    void SzukajClick();

    // Opens the application editor on the loaded Vzm_3; answers whether the
    // user saved.
    bool EdytujWniosek();
    // Loads the attachment of the active list that the user chose into VZMab;
    // false when the user cancelled.
    bool WczytajZalacznik();

    TDM &dm;
    TVzm_3 &Vzm_3;
    TVZMab &VZMab;
    TWindow &m_window;
    WindowPlacement m_placement;
    OknaWnioskow m_okna;
    int m_podatId = 0;
    TFaktInfo m_faktInfo;

    QPushButton *WnDodajBtn;
    QPushButton *WnPoprawBtn;
    QPushButton *WnUsunBtn;
    QPushButton *WnPodgladBtn;
    QPushButton *WnNadrukBtn;
    QPushButton *CloseBtn;
    QTableView *MainGrid;
    QTabWidget *PageControl;
    QTableView *VzmGrid[3];
    QPushButton *ZlDodajBtn;
    QPushButton *ZlPoprawBtn;
    QPushButton *ZlUsunBtn;
    QPushButton *ZlPodgladBtn;
    QPushButton *ZlNadrukBtn;
    QPushButton *ZlWczytajBtn;
    QPushButton *ZlZapiszBtn;
    QGroupBox *SzukajBox;
    QLineEdit *EdNrFakt;
    QLabel *StatusBar[4];
};
