#include "data/wykazzpliku.h"

#include "spreadsheet/csv.h"

#include <QSet>
#include <QStringList>

namespace {

// The PKWiU field of the lists' tables.
constexpr int DlugoscSymbolu = 20;

WykazZPliku blad(const QString &opis)
{
    return {{}, opis};
}

} // namespace

WykazZPliku WykazZPliku::Sprawdz(const QString &tekst, int dlugoscNazwy)
{
    QString bezBom = tekst;
    if (bezBom.startsWith(QChar(0xFEFF)))
        bezBom.remove(0, 1);
    const QString naglowek = bezBom.section(QLatin1Char('\n'), 0, 0).trimmed();
    const QStringList kolumny = naglowek.split(QLatin1Char(';'));
    const QStringList oczekiwane{QStringLiteral("Lp"), QStringLiteral("PKWiU"), QStringLiteral("Material")};
    bool zgodne = kolumny.size() == oczekiwane.size();
    for (qsizetype i = 0; zgodne && i < kolumny.size(); ++i)
        zgodne = kolumny[i].trimmed().compare(oczekiwane[i], Qt::CaseInsensitive) == 0;
    if (!zgodne)
        return blad(QStringLiteral("Pierwszy wiersz pliku musi nazywać kolumny „Lp;PKWiU;Material”."));

    WykazZPliku wykaz;
    QSet<int> numery;
    QList<QStringList> wiersze;
    try {
        wiersze = Csv::records(bezBom);
    } catch (const SpreadsheetError &e) {
        return blad(e.message());
    }
    for (qsizetype i = 0; i < wiersze.size(); ++i) {
        const QStringList &w = wiersze[i];
        // Positions are counted from 1 after the header, as the user counts them.
        const QString gdzie = QStringLiteral("Pozycja %1 pliku: ").arg(i + 1);
        if (w.size() != 3)
            return blad(gdzie + QStringLiteral("liczba pól %1 zamiast 3 (Lp;PKWiU;Material).").arg(w.size()));
        bool liczba = false;
        const int lp = w[0].trimmed().toInt(&liczba);
        if (!liczba || lp <= 0)
            return blad(gdzie + QStringLiteral("liczba porządkowa „%1” nie jest liczbą dodatnią.").arg(w[0].trimmed()));
        if (numery.contains(lp))
            return blad(gdzie + QStringLiteral("liczba porządkowa %1 powtarza się.").arg(lp));
        numery.insert(lp);
        const QString symbol = w[1].trimmed();
        const QString nazwa = w[2].trimmed();
        if (symbol.isEmpty() || nazwa.isEmpty())
            return blad(gdzie + QStringLiteral("brak symbolu PKWiU albo nazwy wyrobu."));
        if (symbol.size() > DlugoscSymbolu)
            return blad(gdzie + QStringLiteral("symbol PKWiU „%1” jest dłuższy niż %2 znaków.").arg(symbol).arg(DlugoscSymbolu));
        if (dlugoscNazwy > 0 && nazwa.size() > dlugoscNazwy)
            return blad(gdzie + QStringLiteral("nazwa wyrobu jest dłuższa niż %1 znaków.").arg(dlugoscNazwy));
        wykaz.Pozycje.append({lp, symbol, nazwa});
    }
    if (wykaz.Pozycje.isEmpty())
        return blad(QStringLiteral("Plik nie zawiera żadnej pozycji wykazu."));
    return wykaz;
}
