#pragma once

// The pages of one overprint (an application or an attachment), each printed
// as a document of its own on the program's printer. The print dialog only
// chooses which pages, how often and in which order.
class StronyNadruku
{
public:
    virtual ~StronyNadruku() = default;
    virtual int LiczbaStron() const = 0;
    // Prints the data of page 1 to LiczbaStron(). Throws BladDrukarki.
    virtual void Drukuj(int strona) = 0;
    // Prints, for every field of the page, a small cross at the point where
    // its data would land and its field number beside it: on plain paper,
    // held against a pre-printed form, it shows how far the overprint is off.
    virtual void Kalibruj(int strona) = 0;
};
