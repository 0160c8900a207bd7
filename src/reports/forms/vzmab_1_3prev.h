#pragma once

#include "reports/forms/vzmabprev.h"

#include <array>

// The first page of a printed attachment VZM-1/A, /B or /C: the identifiers
// of the taxpayer and the spouse, the list's heading, the attachment's
// number, the identification data and the first seven invoice rows under the
// table head.
class TVZMab_1_3Prev : public TVZMabPrev
{
public:
    explicit TVZMab_1_3Prev(TVZMab &zalacznik);

protected:
    void Wypelnij() override;

private:
    // A box of the NIP and the PESEL of one person, left to right from lewa to prawa.
    void DodajIdentyfikator(const QRectF &ramka, const QString &opis, int poleNip, int polePesel,
                            TQRNIP *&nip, TQRPlotek *&pesel);
    void DodajTytul(double lewa, double prawa);
    void DodajDaneIdentyfikacyjne(double lewa, double prawa);
    // A shaded band opening a section of the form.
    void DodajSekcje(const QRectF &ramka, const QString &tytul, const QString &dopisek);
    void DodajObjasnienia(double lewa, double gora);

    TQRNIP *m_nip = nullptr;
    TQRPlotek *m_pesel = nullptr;
    TQRNIP *m_mnip = nullptr;
    TQRPlotek *m_mpesel = nullptr;
    TQRLabel *m_symbol = nullptr;
    TQRSmartLabel *m_wykaz = nullptr;
    double m_srodekWykazu = 0; // where the first heading line is centred, on the band
    TQRLabel *m_stawka = nullptr;
    TQRMonth *m_nrZal = nullptr;
    std::array<TQRTextBox *, 6> m_osoby{}; // surname, first name and document of the taxpayer, then of the spouse
};
