#pragma once

#include "reports/forms/stronawydruku.h"

#include <QStringList>

class TRozliczenieZwrotu;

// One page of the printed explanation of the refund: on the first page the
// title and heading, on every page the table heads and as many lines of the
// explanation as fit, from `odWiersza` on. A line's texts wrap inside their
// columns in the print font, so nothing is cut at any of its sizes; a line
// never breaks across pages. Laid out whole when made: how many lines fit
// depends on their texts.
class TRozliczeniePrev : public TStronaWydruku
{
public:
    TRozliczeniePrev(const TRozliczenieZwrotu &rozliczenie, int odWiersza, int nrStrony);

    // The first line left for the next page; the number of lines when all fit.
    int DoWiersza() const { return m_doWiersza; }
    // The footer's "Strona n/m", once the number of pages is known.
    void UstawLiczbeStron(int liczba);

private:
    void Wypelnij() override {}

    // Places lines of text at (x, y) mm within `szerokosc`, wrapped; answers their height.
    double Tekst(double x, double y, double szerokosc, const QStringList &linie, const TQRFont &czcionka,
                 Qt::Alignment wyrownanie = Qt::AlignLeft);
    static QStringList Zawin(const QString &tekst, const TQRFont &czcionka, double szerokosc);

    int m_nrStrony;
    int m_doWiersza = 0;
    TQRLabel *m_stopka = nullptr;
};
