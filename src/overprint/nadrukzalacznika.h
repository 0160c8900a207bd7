#pragma once

#include "overprint/stronynadruku.h"

#include <QList>

class Drukarka;
class RamkaStrony;
class TDM;
class TVZMab;

// The overprint of one attachment VZM-1/A, /B or /C onto the two pages of
// the pre-printed landscape form: the identification and seven invoices on
// page 1, twenty more invoices and the totals on page 2.
class NadrukZalacznika : public StronyNadruku
{
public:
    NadrukZalacznika(Drukarka &drukarka, TDM &dm, TVZMab &zalacznik);

    int LiczbaStron() const override { return 2; }
    void Drukuj(int strona) override;
    void Kalibruj(int strona) override;

    void NadrukZalStrona1() { Drukuj(1); }
    void NadrukZalStrona2() { Drukuj(2); }

    // The fields printed on page 1 or 2.
    static QList<int> PolaStrony(int strona);

private:
    void NadrukPierwszej(RamkaStrony &ramka);
    void NadrukWierszy(RamkaStrony &ramka, int od, int doWiersza);
    void NadrukLpFakt(RamkaStrony &ramka, int od, int doWiersza);
    // An amount ending 1 mm above its point.
    void Kwota(RamkaStrony &ramka, int pole);

    Drukarka &m_drukarka;
    TDM &m_dm;
    TVZMab &m_zal;
};
