#pragma once

#include "reports/forms/vzm1naglowek.h"

#include <vector>

// Page 1 of the printed application: identifiers, the tax office, purpose
// and kind of the application, and the personal data and addresses of the
// taxpayer and the spouse.
class TVzm1_1Prev : public TVzm1Strona
{
public:
    explicit TVzm1_1Prev(TVzm_3 &vzm);

protected:
    void Wypelnij() override;

private:
    void DodajIdentyfikatory();
    void DodajTytul();
    void DodajSekcjeA();
    void DodajSekcjeB();
    TQRMonth *DodajNumer(int pole);

    struct Identyfikator
    {
        TQRNIP *nip;
        TQRPlotek *pesel;
    };
    Identyfikator DodajIdentyfikator(int pole, double lewy, double prawy, const QString &opis);

    Identyfikator m_podatnik{};
    Identyfikator m_malzonek{};
    TQRMonth *m_nrKolej = nullptr;
    TQRMonth *m_nrKoryg = nullptr;
    TQRTextBox *m_urzad = nullptr;
    std::vector<TQRCheckBox *> m_cel;   // position 7
    std::vector<TQRCheckBox *> m_skladaja; // position 8
    // The boxes of 9 to 34, in the order of the fields.
    std::vector<TQRTextBox *> m_osoby;
};
