#pragma once

#include "data/database.h"
#include "data/paradoxtable.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Dataset;
class TDM;

// A previous taxpayer offered for import: the line shown and the record's key.
struct Kandydat
{
    QString tekst; // surname, a blank, first name
    qint64 podatId = 0;
};

// Carrying taxpayers and sellers over from the previous program version: the
// rules of both import windows, kept apart from them. The previous tables are
// only read, and only when they hold every field the import copies.
//
// The copies are stored in transactions of many records, one sync for each:
// every record is stored whole or not at all, and what was committed stays
// when the import is broken off. Zatwierdz commits what waits.
class ImportPoprzedniej
{
public:
    // `helperPath`: the reader of the previous tables (beside the program).
    explicit ImportPoprzedniej(TDM &dm, const QString &helperPath = ParadoxTable::defaultHelperPath());
    // Records copied but not committed are rolled back.
    ~ImportPoprzedniej();

    // How many copied records one transaction holds.
    static constexpr int NaTransakcje = 500;

    static const QString BrakPozycji;
    static const QString BladPodatnik;
    static const QString BladFirmy;

    // Whether no taxpayer of this surname and first name is stored yet; a
    // failing query answers false.
    static bool NieMaPodatnika(TDM &dm, const QString &nazwisko, const QString &imie);

    // Whether `katalog` (empty: the current directory) holds the previous
    // table `nazwa`, its name in any letter case.
    static bool MaTabele(const QString &katalog, const QString &nazwa);

    // Reads the previous Podatnik.DB of `katalog` in the order of its index
    // "NazwImie"; on failure tells the user why and answers false.
    bool OtworzPodatnikow(const QString &katalog);
    // The candidates in the index order: those not stored yet and not
    // without both names.
    QList<Kandydat> Kandydaci() const;
    // Copies the previous taxpayer `podatId` unless one of that name is
    // stored by now; answers whether it was copied. Throws DataError when the
    // store refuses it: nothing of it is stored, those copied before it are
    // committed.
    bool WczytajPodatnika(qint64 podatId);

    // Reads the previous Firmy.DB of `katalog`; on failure tells the user why
    // and answers false.
    bool OtworzFirmy(const QString &katalog);
    qsizetype LiczbaFirm() const { return m_firmy.recordCount(); }
    // Copies seller `row` of the previous table unless its NIP is stored;
    // answers whether it was copied. Throws DataError as WczytajPodatnika.
    bool WczytajFirme(qsizetype row);

    // Commits the records copied since the last commit. Throws DataError
    // when the store refuses; they are then not stored.
    void Zatwierdz();

    const ParadoxTable &podatnicy() const { return m_podatnicy; }

private:
    static QString plik(const QString &katalog, const QString &nazwa);
    // Reads `nazwa` of `katalog` into `tabela` and checks it holds `pola`;
    // on failure tells the user why, empties `tabela` and answers false.
    bool Otworz(ParadoxTable &tabela, const QString &katalog, const QString &nazwa, const QStringList &pola,
                const QString &bladOtwarcia);
    // Runs `kopia` (which writes one record) whole or not at all, within
    // the transaction of many.
    void Kopiuj(Dataset &cel, const std::function<void()> &kopia);

    TDM &dm;
    QString m_helper;
    ParadoxTable m_podatnicy;
    QHash<qint64, qsizetype> m_wierszPodatnika; // PodatId -> record of m_podatnicy
    ParadoxTable m_firmy;
    std::optional<Database::Transaction> m_transakcja;
    int m_wTransakcji = 0;
};
