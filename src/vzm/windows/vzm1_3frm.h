#pragma once

#include "widgets/oknoedycji.h"
#include "widgets/windowplacement.h"

#include <QHash>

#include <functional>

class QLabel;
class QPushButton;
class QTabWidget;
class QTextEdit;
class TDM;
class TRozliczenieZakladka;
class TVzm_3;
enum class ZrodloRozliczenia;
class TWindow;

// The application editor: the VZM-1 form on screen in four page tabs, the
// taxpayer's notes and the verification. It works directly on the loaded
// form model: leaving a field hands its value to the model's setter, a
// click on a box hands over the box's state, and every control is then set
// again from the model, which keeps the rules and computes the amounts. A
// field whose text does not read is refused (the amounts under the reading
// rule, the date as a date) and hands nothing to the model; "&Zapisz" then
// stores nothing. "&Anuluj", Escape and closing the window ask before
// dropping changes. Created for one use and freed afterwards; the placement
// is kept between uses.
class TVZM1_3Frm : public OknoEdycji
{
    Q_OBJECT
public:
    TVZM1_3Frm(TDM &dm, TVzm_3 &vzm, TWindow &window, QWidget *parent = nullptr);
    ~TVZM1_3Frm() override;

    // Shows the editor modally on the loaded model; true when the user left
    // it with "&Zapisz" and the application was stored.
    bool Edytuj();
    // What Edytuj does before showing: the title, the lookup lists, every
    // control from the model, the account menu and the notes.
    void Przygotuj();
    // The notes editor lives above this library; the program hands in how
    // to open it for the current taxpayer. Without it "Edycja" is disabled.
    void UstawOtwieranieNotatek(std::function<void()> otworz);
    // The printing of the explanation of the refund lives above this library
    // too; the program hands it in. Without it the tab's print button is hidden.
    void UstawDrukRozliczenia(std::function<void(ZrodloRozliczenia)> drukuj);

private:
    // What the window does when a control is left, by control.
    using Opuszczenie = std::function<void()>;

    void ZbudujZakladki();
    void PowiazTeksty();
    void PowiazIdentyfikatory();
    void PowiazLiczby();
    void PowiazKwadraty();
    void PowiazPrzyciski();
    void NaOpuszczenie(QWidget *kontrolka, Opuszczenie reakcja);

    // Filling the controls from the model, in the parts that the leave
    // handlers refresh.
    void Wypelnij();
    void PokazTeksty();
    void PokazKwadraty();
    void PokazLiczby();
    void PokazDate();
    void PokazNotatki();
    void PokazKwoty();
    void PokazNotatkiPodatnika();
    void UstawMenuKonta();

    void F44Exit();
    void F45Exit();
    void WstawCenaClick();
    void PoliczBtnClick();
    void KwotyBtnClick();
    void WstawKonto(const QString &konto);
    void EditBtnClick();
    void PostBtnClick();
    void ZakladkaZmieniona(int indeks);
    ZrodloRozliczenia Zrodlo() const;
    void BledyGridDblClick();
    // Hands the value of the control that has the focus to the model, as
    // leaving it would; the last value typed is not lost on "&Zapisz".
    void ZatwierdzBiezace();
    // Whether every field reads; the first that does not is reported.
    bool PolaCzytelne();

    bool eventFilter(QObject *watched, QEvent *event) override;

    template <class T>
    T *Kontrolka(const QString &nazwa) const;
    QWidget *KontrolkaPozycji(int pozycja) const;

    TDM &dm;
    TVzm_3 &vzm;
    WindowPlacement m_polozenie;
    std::function<void()> m_otworzNotatki;
    std::function<void(ZrodloRozliczenia)> m_drukujRozliczenie;

    QTabWidget *Zakladki = nullptr;
    QWidget *m_weryfikacja = nullptr;
    TRozliczenieZakladka *m_rozliczenie = nullptr;
    QLabel *BladPan = nullptr;
    QTextEdit *RxDBRichEdit1 = nullptr;
    QPushButton *EditBtn = nullptr;
    QPushButton *PostBtn = nullptr;
    QPushButton *CancelBtn = nullptr;

    QHash<QObject *, Opuszczenie> m_opuszczenie;
    QList<std::function<void()>> m_teksty;     // each sets one text control from the model
    QList<std::function<void()>> m_liczby;     // each sets one count from the model
    QList<std::function<void()>> m_kwadraty;   // each sets one box from the model
};
