#pragma once

#include <QList>
#include <QString>

// One position of a list of building materials.
struct PozycjaWykazu
{
    int Lp = 0;
    QString PKWiU;
    QString Material;
};

// A list of building materials read from a file the user chose: a CSV text
// with the columns of the lists the program ships ("Lp;PKWiU;Material",
// ';' between fields, UTF-8). Either every position of the list, or what is
// wrong with the file, in Polish and naming its line; a list with an error
// holds no position, so that nothing of a faulty file is stored.
struct WykazZPliku
{
    QList<PozycjaWykazu> Pozycje;
    QString Blad;

    // `dlugoscNazwy`: the longest name the list's table holds (0: any).
    static WykazZPliku Sprawdz(const QString &tekst, int dlugoscNazwy);
};
