#pragma once

#include "reports/formparts/qrcustompit.h"

#include <QDate>
#include <QString>

// Digits written over a comb: a base line with a short tick between every
// two places, one character centred in each place.

// A comb of Ilosc places holding any text, character by character.
class TQRPlotek : public TQRCustomPit
{
public:
    TQRPlotek();
    QString Text;

    int Ilosc() const { return m_ilosc; }
    void setIlosc(int places); // 1 to 100; anything else is ignored

protected:
    void PrintAtBand(double bandX, double bandY) override;

private:
    int m_ilosc = 4;
};

// A NIP as written, its digits over ten places at the pitch of the form's
// boxes. A dash takes no place: it stands on the boundary between the digits
// around it, so that the digits land in the form's boxes however the NIP was
// grouped (123-456-78-90 or 123-45-67-890). Characters beyond the tenth
// place go on at the same pitch.
class TQRNIP : public TQRCustomPit
{
public:
    static constexpr int Miejsc = 10;

    TQRNIP();
    QString NIP;

protected:
    void PrintAtBand(double bandX, double bandY) override;
};

// A month (or any number below 100) as two digits.
class TQRMonth : public TQRCustomPit
{
public:
    TQRMonth();
    // False: a month of 0 leaves the comb empty.
    bool PrintZero = true;

    int Month() const { return m_month; }
    void setMonth(int month); // 0 to 99; anything else is ignored

protected:
    void PrintAtBand(double bandX, double bandY) override;

private:
    int m_month = 1;
};

// A year as four digits; 0 leaves the comb empty.
class TQRYear : public TQRCustomPit
{
public:
    TQRYear();

    int Year() const { return m_year; }
    void setYear(int year); // 0 or 1901 to 2099; anything else is ignored

protected:
    void PrintAtBand(double bandX, double bandY) override;

private:
    int m_year = 2000;
};

// A date as day, month and year over three combs with a one-place gap
// between them; no date leaves the combs empty.
class TQRDate : public TQRCustomPit
{
public:
    TQRDate();
    QDate Date; // null: no date

protected:
    void PrintAtBand(double bandX, double bandY) override;
};
