#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Checks of the identifiers typed into the editors: NIP, PESEL, bank account
// (NRB), postal code and voivodeship. Each answers true for a well-formed
// value; all but the voivodeship and the country also answer true for an
// empty value, because whether a value must be given is the caller's
// decision. A blank is the space character; a digit is only '0'..'9'.

// The sixteen voivodeships in their official order.
extern const QStringList Wojewodztwa;

// The text with every blank, '-' and '_' (what an untouched edit mask shows) removed.
QString BezSeparatorow(QStringView text);

// True when nothing is left of the text once the separators are removed.
bool PustyNip(QStringView text);
bool PustyPesel(QStringView text);
bool PusteKonto(QStringView text);

// The check digit of exactly ten digits (NIP) or eleven digits (PESEL).
bool SumaKontrolnaNip(QStringView digits);
bool SumaKontrolnaPesel(QStringView digits);

// The text as typed, mask characters included.
bool PoprawnyNip(QStringView text);
bool PoprawnyPesel(QStringView text);
bool PoprawneKonto(QStringView text);
bool PoprawnyKodPocztowy(QStringView text);
bool PoprawneWojewodztwo(QStringView text);

// True for "Polska" in any letter case, blanks around it ignored.
bool CzyPolska(QStringView text);
