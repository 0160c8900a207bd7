#pragma once

#include "reports/forms/vzm1naglowek.h"

// Page 4 of the printed application: the additional information, the
// signatures, the tax office's annotations and the form's footnotes.
class TVzm1_4Prev : public TVzm1Strona
{
public:
    explicit TVzm1_4Prev(TVzm_3 &vzm);

protected:
    void Wypelnij() override;

private:
    void DodajSekcjeH();
    void DodajPodpisy();
    void DodajPrzypisy();

    TQRMemo *m_informacje = nullptr;
};
