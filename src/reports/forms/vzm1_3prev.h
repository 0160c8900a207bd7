#pragma once

#include "reports/forms/vzm1naglowek.h"

#include <array>

// Page 3 of the printed application: the refund after the limits, the
// statement on the renovation, the way of payment with the bank account,
// and the counts of the attached documents.
class TVzm1_3Prev : public TVzm1Strona
{
public:
    explicit TVzm1_3Prev(TVzm_3 &vzm);

protected:
    void Wypelnij() override;

private:
    void DodajD5();
    void DodajSekcjeE();
    void DodajSekcjeF();
    void DodajSekcjeG();
    // A count of attached documents: a box with the position number, the
    // count ending at the field's point and the unit after it.
    TQRLabel *DodajLiczbe(int pole, double gora, double wysokosc);

    TQRCurrBox *m_zwrot = nullptr;
    TQRMemo *m_oswiadczenie = nullptr;
    std::array<TQRCheckBox *, 3> m_wyplata{};
    std::array<TQRCheckBox *, 3> m_rachunek{};
    std::array<TQRPlotek *, 7> m_konto{};
    // Counts of 53 to 58 (fields 59 to 64).
    std::array<TQRLabel *, 6> m_liczby{};
};
