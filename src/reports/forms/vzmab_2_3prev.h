#pragma once

#include "reports/forms/vzmabprev.h"

#include <array>

// The second page of a printed attachment: invoice rows 8 to 27 and the
// totals of the three amount columns.
class TVZMab_2_3Prev : public TVZMabPrev
{
public:
    explicit TVZMab_2_3Prev(TVZMab &zalacznik);

protected:
    void Wypelnij() override;

private:
    std::array<TQRCurrBox *, 3> m_sumy{}; // gross, VAT of column 5, VAT of column 6
};
