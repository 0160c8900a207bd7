#pragma once

#include "data/paradoxtable.h"

#include <QHash>
#include <QString>
#include <QStringList>

class TDM;

// Carrying taxpayers and sellers over from the previous program version: the
// rules of both import windows, kept apart from them. The previous tables are
// only read.
class ImportPoprzedniej
{
public:
    // `helperPath`: the reader of the previous tables (beside the program).
    explicit ImportPoprzedniej(TDM &dm, const QString &helperPath = ParadoxTable::defaultHelperPath());

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
    // "NazwImie"; on failure tells the user and answers false.
    bool OtworzPodatnikow(const QString &katalog);
    // The candidates, one "surname first-name=PodatId" entry each, in the
    // index order: those not stored yet and not without both names.
    QStringList Kandydaci() const;
    // Copies the previous taxpayer `podatId` unless one of that name is
    // stored by now; answers whether it was stored. Throws DataError when the
    // store refuses it; nothing of it is then stored.
    bool WczytajPodatnika(qint64 podatId);

    // Reads the previous Firmy.DB of `katalog`; on failure tells the user and
    // answers false.
    bool OtworzFirmy(const QString &katalog);
    qsizetype LiczbaFirm() const { return m_firmy.recordCount(); }
    // Copies seller `row` of the previous table unless its NIP is stored;
    // answers whether it was stored. Throws DataError when the store refuses it.
    bool WczytajFirme(qsizetype row);

    const ParadoxTable &podatnicy() const { return m_podatnicy; }

    // The candidate entry's text and PodatId, split at the first "=".
    static QString Tekst(const QString &wpis) { return wpis.section(QLatin1Char('='), 0, 0); }
    static qint64 PodatId(const QString &wpis) { return wpis.section(QLatin1Char('='), 1).toLongLong(); }

private:
    static QString plik(const QString &katalog, const QString &nazwa);

    TDM &dm;
    QString m_helper;
    ParadoxTable m_podatnicy;
    QHash<qint64, qsizetype> m_wierszPodatnika; // PodatId -> record of m_podatnicy
    ParadoxTable m_firmy;
};
