#pragma once

// Where an invoice lands on the printed attachments, from its row number in
// its list (A, B or C): the attachment that holds it (27 invoices each), the
// page of that attachment (rows 1 to 7 on page 1, rows 8 to 27 on page 2) and
// the form position at which its row begins (10, 16, ... 166; six positions a row).
class TFaktInfo
{
public:
    // Fills the four values from a row number; a number of zero or less
    // leaves them as they were.
    void Ustaw(int lp);

    int Lp() const { return m_lp; }
    int NrZal() const { return m_nrZal; }
    int Strona() const { return m_strona; }
    int Pozycja() const { return m_pozycja; }

private:
    int m_lp = 0;
    int m_nrZal = 0;
    int m_strona = 0;
    int m_pozycja = 0;
};
