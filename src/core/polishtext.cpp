#include "core/polishtext.h"

QString polishUpper(QStringView text)
{
    QString upper;
    upper.reserve(text.size());
    for (QChar c : text)
        upper += c.toUpper(); // one-to-one mapping: "ß" stays one character
    return upper;
}

bool equalsIgnoringCase(QStringView a, QStringView b)
{
    return a.size() == b.size() && polishUpper(a) == polishUpper(b);
}

bool startsWithIgnoringCase(QStringView text, QStringView prefix)
{
    return text.size() >= prefix.size() && equalsIgnoringCase(text.left(prefix.size()), prefix);
}
