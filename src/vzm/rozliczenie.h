#pragma once

#include "core/money.h"

#include <QList>
#include <QString>
#include <QStringList>

class TDM;
class TVzm_3;

// One line of the explanation of the refund.
struct TWierszRozliczenia
{
    enum class Rodzaj { Sekcja, Wiersz, Wynik };

    Rodzaj rodzaj = Rodzaj::Wiersz;
    QString Opis;      // what the figure is
    QString Dzialanie; // how it was reached, written out: "70 × 3 000,00 zł × 12,195 %"
    QString Kwota;     // the figure as shown: "25 609,50 zł"; empty for a heading or a note
    int Pozycja = 0;   // the form position whose box the figure is, or 0
    Money Wartosc;     // the figure itself (an amount; a count as whole units)
};

// Where the figures come from: the application as stored, or the editor's
// form with changes not stored yet.
enum class ZrodloRozliczenia { Zapisany, Niezapisany };

// "Rozliczenie zwrotu": how the form arrived at every amount of its part D,
// line by line, in Polish. Every amount is one the form model computed (its
// boxes and the intermediate products of its computation, TPrzebiegZwrotu)
// or one the data module counted (the invoices and gross sums of each list);
// nothing is computed here but the texts. Reads the model as it stands.
class TRozliczenieZwrotu
{
public:
    TRozliczenieZwrotu(TDM &dm, TVzm_3 &vzm, ZrodloRozliczenia zrodlo);

    // The title, the application's number and date, the taxpayer and spouse,
    // and the line that names where the figures come from.
    const QString &Tytul() const { return m_tytul; }
    const QStringList &Naglowek() const { return m_naglowek; }
    const QList<TWierszRozliczenia> &Wiersze() const { return m_wiersze; }

private:
    void Naglowek(ZrodloRozliczenia zrodlo);
    void Faktury();
    void ZwrotPrzedLimitami();
    void Limity();
    void ZwrotyPoprzednie();
    void KwotaZwrotu();

    void Sekcja(const QString &opis);
    void Wiersz(const QString &opis, const QString &dzialanie, Money kwota, int pozycja = 0);
    void Uwaga(const QString &opis);

    TDM &dm;
    TVzm_3 &vzm;
    QString m_tytul;
    QStringList m_naglowek;
    QList<TWierszRozliczenia> m_wiersze;
};
