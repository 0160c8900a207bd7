#pragma once

#include <QString>
#include <QStringView>

// Upper case and case-insensitive comparison by the Polish letters
// (ą ć ę ł ń ó ś ź ż and their capitals) as well as the Latin ones. Each
// character maps to exactly one character, so lengths and prefixes keep.
QString polishUpper(QStringView text);
bool equalsIgnoringCase(QStringView a, QStringView b);
bool startsWithIgnoringCase(QStringView text, QStringView prefix);
