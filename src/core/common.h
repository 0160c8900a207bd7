#pragma once

#include "core/money.h"

#include <QDate>
#include <QString>
#include <QStringView>

// Helpers shared by the whole program: dates in the form's "dd-mm-yyyy"
// notation, rounding, the VAT in a gross amount, the 27-invoice arithmetic of
// the attachments and a few message texts. None keeps state.

// Colours of a field mark.
inline constexpr int KolorPoprawny = 0; // in order
inline constexpr int KolorBledny = 255; // red: flagged

// The mark of one form field: its colour, the hint text and whether it is shown.
struct TStanPola
{
    int Kolor = KolorPoprawny;
    QString Opis;
    bool Pokaz = false;
};

// Invoices on one attachment (7 on its first page, 20 on its second).
inline constexpr int FakturNaZalaczniku = 27;

// The earliest accepted date of issue of an invoice.
inline const QDate Data1Maja2004{2004, 5, 1};
// A date of the first application earlier than this is flagged.
inline const QDate Data1Stycznia2006{2006, 1, 1};

// The form's symbol by form number: 0 "VZM-1", 1 "VZM-1/A", 2 "VZM-1/B",
// 3 "VZM-1/C"; empty for any other number.
QString SymbolFormularza(int formularz);
// The attachment's label by list number: 1 "VZM-1/A", 2 "VZM-1/B",
// 3 "VZM-1/C"; empty for any other number.
QString EtykietyZalacznikow(int lista);

QString TylkoCyfry(QStringView text);
int LiczbaZalacznikow(int faktur);
int PierwszaPozycja(int zalacznik);

// "dd-mm-yyyy" to a date; the null QDate is "no date". The day, month and
// year are read from characters 1-2, 4-5 and 7-10 of the untrimmed text; the
// separators are not looked at. Each must be plain decimal digits (no sign,
// no blanks: " 5" is not a number), else the result is no date.
QDate TekstNaDate(QStringView text);
// "dd-mm-yyyy", or empty for no date (also for 30-12-1899, the stored zero).
QString DataNaTekst(QDate date);
// True for a blank date edit: empty or the bare mask "-  -" once trimmed.
bool PustaData(QStringView text);

// x rounded to `digits` decimals: halves away from zero, and a value short of
// the half by at most a ten-millionth of the last kept decimal counts as a half.
long double Zaokraglij(int digits, long double x);
// The VAT contained in a gross amount, rounded to the grosz.
Money Vat22ZBrutto(Money brutto);
Money Vat23ZBrutto(Money brutto);

// Both texts trimmed and joined by one blank (surname and first name).
QString PolaczTeksty(QStringView a, QStringView b);
QString Kwota2(Money kwota); // "%.2n": 1 234,56
QString Kwota0(Money kwota); // "%.0n": 1 235

QString BrakPodatnika(int podatId);
QString PoleNieokreslone(QStringView operacja, int pole);
// The name of the editor control that shows form field n: "F" + n.
QString NazwaPola(int n);
void ZerujStan(TStanPola &stan);
