#pragma once

#include "overprint/stronynadruku.h"

#include <QList>

class Drukarka;
class RamkaStrony;
class TDM;
class TVzm_3;

// The overprint of a VZM-1 application onto the four pages of the
// pre-printed portrait form: the data of the loaded application, each item
// in its numbered field.
class NadrukWniosku : public StronyNadruku
{
public:
    NadrukWniosku(Drukarka &drukarka, TDM &dm, TVzm_3 &vzm);

    int LiczbaStron() const override { return 4; }
    void Drukuj(int strona) override;
    void Kalibruj(int strona) override;

    void NadrukStrona1();
    void NadrukStrona2();
    void NadrukStrona3();
    void NadrukStrona4();

    // The fields printed on a page 1 to 4, in the order they are printed.
    static QList<int> PolaStrony(int strona);

private:
    void Nadruk(RamkaStrony &ramka, int strona);
    void NadrukPierwszej(RamkaStrony &ramka);
    void NadrukDrugiej(RamkaStrony &ramka);
    void NadrukTrzeciej(RamkaStrony &ramka);
    void NadrukCzwartej(RamkaStrony &ramka);
    // How far the limits 47 to 50 print under their points: in the second
    // block when the first application was filed in 2011 or later.
    float WierszLimitow() const;
    // An amount ending at its point, when the application prints it.
    void Kwota(RamkaStrony &ramka, int pole, bool calkowita, float extraYMm = 0);

    Drukarka &m_drukarka;
    TDM &m_dm;
    TVzm_3 &m_vzm;
};
