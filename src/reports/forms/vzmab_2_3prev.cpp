#include "reports/forms/vzmab_2_3prev.h"

#include "vzm/attachmentmodel.h"

TVZMab_2_3Prev::TVZMab_2_3Prev(TVZMab &zalacznik) : TVZMabPrev(zalacznik, 2)
{
    DodajNaglowek();
    DodajWiersze(8, TVZMab::Wierszy);

    // The totals stand in the amount columns of one more row; over the other
    // columns a shaded frame says what they are.
    const UkladWiersza sumy = UkladWiersza::Dla(TVZMab::Wierszy).Ponizej();
    const QRectF opis = sumy.Kolumny(0, 3);
    Tlo(opis);
    Cieniowany(Napis(QRectF(opis.right() - 22, opis.center().y() - 2, 20, 4.5), QStringLiteral("Suma"), 10, true,
                     Qt::AlignRight));
    const int pierwszaPozycja = TVZMab::SumaBrutto - 2; // the form's positions are the boxes less 2
    for (int kwota = 0; kwota < 3; ++kwota) {
        m_sumy[kwota] = Dodaj<TQRCurrBox>(sumy.Kolumna(4 + kwota));
        m_sumy[kwota]->Caption = QString::number(pierwszaPozycja + kwota) + QLatin1Char('.');
        m_sumy[kwota]->PrintZero = false;
        Dane(m_sumy[kwota]);
    }
    DodajStopke(sumy.Krawedzie.back());
}

void TVZMab_2_3Prev::Wypelnij()
{
    TVZMabPrev::Wypelnij();
    for (int kwota = 0; kwota < 3; ++kwota)
        m_sumy[kwota]->Value = m_zalacznik.GetKwota(TVZMab::SumaBrutto + kwota);
}
