#pragma once

#include "widgets/oknoedycji.h"

class QLabel;
class QPushButton;
class QSpinBox;
class TDM;

// "Marginesy": the left and top margin of every page of the application
// ("VZM-1", pages 1 to 3) or of the attachments ("VZM-1/A", pages 1 and 2),
// in whole millimetres; they move all the overprint of a page to the right
// and down (negative values: to the left and up). Created once and kept;
// each showing loads the values anew. "&Zapisz" writes only the values
// that changed and adds the rows that are missing; "&Anuluj" writes nothing,
// and asks first when a value was changed.
class TMarginesyFrm : public OknoEdycji
{
    Q_OBJECT
public:
    explicit TMarginesyFrm(TDM &dm, QWidget *parent = nullptr);

    void ShowMarginesyWniosek();
    void ShowMarginesyZalacznik();

    // The range of a margin: three characters at most.
    static constexpr int Najmniejszy = -99;
    static constexpr int Najwiekszy = 999;

private:
    static constexpr int LiczbaWierszy = 3;
    struct Wiersz
    {
        QLabel *Etykieta;
        QSpinBox *Lewy;
        QSpinBox *Gorny;
    };

    // formularz: 0 the application, 1 the attachments.
    void Pokaz(int formularz);
    void Wczytaj();
    void PostBtnClick();
    bool Zapisz();
    void ZapiszStrone(int strona, int lewy, int gorny);

    TDM &dm;
    int formularz = 0;
    int stron = LiczbaWierszy;
    Wiersz wiersze[LiczbaWierszy];
    QPushButton *PostBtn;
    QPushButton *CancelBtn;
};
