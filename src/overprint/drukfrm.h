#pragma once

#include <QDialog>
#include <QList>

#include <functional>

class Drukarka;
class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class StronyNadruku;
class TDM;
class TMarginesyFrm;

// Lets the user choose the printer on the program's printer; answers
// whether the choice was confirmed.
using WyborDrukarki = std::function<bool(Drukarka &drukarka, QWidget *parent)>;

// "Drukowanie": starts an overprint of an application or of an attachment.
// The user chooses the pages, the number of copies and their order, the
// printer and the margins. Created once and kept for the whole run: the
// page boxes, the copies and "&Sortuj" keep their last values.
//
// Every page is a print document of its own, so n copies of a page are n
// documents. A printer failure ends the run at that page; the user is told.
// Without a printer or PDF file chosen nothing prints and the dialog stays
// open for "&Drukarka". Into PDF files, files already there are replaced
// only when the user agrees, and the files written are named afterwards.
class TDrukFrm : public QDialog
{
    Q_OBJECT
public:
    // The margins dialog is created with it. `wyborDrukarki` runs for
    // "&Drukarka"; without one it is the printer choice TWyborDrukarkiFrm.
    TDrukFrm(TDM &dm, Drukarka &drukarka, WyborDrukarki wyborDrukarki = {}, QWidget *parent = nullptr);

    // Show the dialog modally for the pages of an application (four) or
    // of an attachment (two); the caller has loaded its model. A box of a
    // page the set does not have is hidden but keeps its tick.
    void ShowWniosek(StronyNadruku &strony);
    void ShowZalacznik(StronyNadruku &strony);

private:
    enum class Tryb { Wniosek, Zalacznik };
    static constexpr int LiczbaPol = 4;

    void Pokaz(Tryb tryb, StronyNadruku &strony);
    void UstawSortowanie();
    void PokazDrukarke();
    // The pages whose box is ticked, hidden boxes included.
    QList<int> Zaznaczone() const;
    // Of the ticked pages those that the page set has.
    QList<int> DoDruku(const QList<int> &zaznaczone) const;
    // Prints the pages in the given order through `drukuj`, as one series
    // of documents; a printer failure ends it and is shown to the user.
    // Answers false when it printed nothing: no printer or file chosen, or
    // files of the series not to be replaced.
    bool Drukuj(const QList<int> &kolejnosc, const std::function<void(int strona)> &drukuj);
    // Whether the files a series of this many documents writes may be written.
    bool MoznaZapisac(int dokumentow);
    void DrukujBtnClick();
    void KalibracjaBtnClick();
    void DrukarkaBtnClick();
    void MarginesyBtnClick();

    TDM &dm;
    Drukarka &drukarka;
    WyborDrukarki wyborDrukarki;
    TMarginesyFrm *MarginesyFrm;
    Tryb tryb = Tryb::Wniosek;
    StronyNadruku *strony = nullptr; // while shown
    int liczbaStron = 0;

    QLabel *NazwaDrukarki;
    QSpinBox *EdKopie;
    QCheckBox *EdSortuj;
    QCheckBox *EdStrona[LiczbaPol];
    QPushButton *DrukujBtn;
    QPushButton *KalibracjaBtn;
    QPushButton *DrukarkaBtn;
    QPushButton *MarginesyBtn;
    QPushButton *CancelBtn;
};
