#pragma once

#include "reports/forms/vzm1naglowek.h"

#include <array>

// Page 2 of the printed application: the kinds of investment with the years
// they began, and the computation of the limits and of the refund before
// the limits.
class TVzm1_2Prev : public TVzm1Strona
{
public:
    explicit TVzm1_2Prev(TVzm_3 &vzm);

protected:
    void Wypelnij() override;

private:
    void DodajSekcjeC();
    void DodajD1D2();
    void DodajD3();
    void DodajD4();
    static QRectF KolumnaWartosci();
    // A shaded cell with the lines of a row's caption.
    void KomorkaOpisu(const QRectF &komorka, const QStringList &linie);
    // The amount rule: the box prints the field's value when the model
    // prints the field, and stays empty otherwise (or when `wolno` is false).
    void UstawKwote(TQRCurrBox *pole, int nr, bool wolno = true);

    std::array<TQRYear *, 3> m_lata{};
    TQRDate *m_pierwszyWniosek = nullptr;
    TQRCurrBox *m_cena = nullptr;
    // The limits 41 to 44 in block D.3.1 and in block D.3.2.
    std::array<std::array<TQRCurrBox *, 4>, 2> m_limity{};
    std::array<TQRCurrBox *, 4> m_przedLimitami{};
};
