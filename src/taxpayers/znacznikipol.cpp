#include "taxpayers/znacznikipol.h"

#include "checks/identifiers.h"


namespace {

using Sprawdzenie = bool (*)(QStringView);

struct RegulaPary
{
    Sprawdzenie pusty;
    Sprawdzenie poprawny;
    QString nieprawidlowy;
    QString takiSam; // empty: the two may be equal
};

void oznacz(TStanPola &stan, const QString &opis)
{
    stan.Kolor = KolorBledny;
    stan.Opis = opis;
    stan.Pokaz = true;
}

TStanPola znacznik(QStringView tekst, const RegulaPary &regula)
{
    TStanPola stan;
    if (!regula.pusty(tekst) && !regula.poprawny(tekst))
        oznacz(stan, regula.nieprawidlowy);
    return stan;
}

ZnacznikiPary sprawdzPare(QStringView podatnika, QStringView malzonka, const RegulaPary &regula)
{
    ZnacznikiPary z{znacznik(podatnika, regula), znacznik(malzonka, regula)};
    if (!regula.takiSam.isEmpty() && !regula.pusty(podatnika) && podatnika == malzonka) {
        oznacz(z.podatnika, regula.takiSam);
        oznacz(z.malzonka, regula.takiSam);
    }
    return z;
}

} // namespace

ZnacznikiPary ZnacznikiNipow(QStringView podatnika, QStringView malzonka)
{
    static const RegulaPary regula{PustyNip, PoprawnyNip, QStringLiteral("Nieprawidłowy NIP"),
                                   QStringLiteral("NIP podatnika i małżonka jest taki sam")};
    return sprawdzPare(podatnika, malzonka, regula);
}

ZnacznikiPary ZnacznikiPeseli(QStringView podatnika, QStringView malzonka)
{
    static const RegulaPary regula{PustyPesel, PoprawnyPesel, QStringLiteral("Nieprawidłowy PESEL"),
                                   QStringLiteral("PESEL podatnika i małżonka jest taki sam")};
    return sprawdzPare(podatnika, malzonka, regula);
}

ZnacznikiPary ZnacznikiKont(QStringView podatnika, QStringView malzonka)
{
    static const RegulaPary regula{PusteKonto, PoprawneKonto,
                                   QStringLiteral("Nieprawidłowy numer rachunku bankowego"), QString()};
    return sprawdzPare(podatnika, malzonka, regula);
}
