#include "taxpayers/importpoprzedniej.h"

#include "data/dataerror.h"
#include "data/tdm.h"

#include <QDir>
#include <QFileInfo>

const QString ImportPoprzedniej::BrakPozycji = QStringLiteral("Brak pozycji do wczytania.");
const QString ImportPoprzedniej::BladPodatnik = QStringLiteral(
    "Błąd otwarcia bazy Podatnik.db!\r\rByć może poprzednia wersja programu Tarlen\rnie jest zainstalowana lub brak pliku Podatnik.db");
const QString ImportPoprzedniej::BladFirmy = QStringLiteral(
    "Błąd otwarcia bazy Firmy.db!\r\rByć może poprzednia wersja programu Tarlen\rnie jest zainstalowana lub brak pliku Firmy.db");

namespace {

// The fields copied from the previous Podatnik.DB: current name, previous name.
const QList<std::pair<QString, QString>> &poladPodatnika()
{
    static const QList<std::pair<QString, QString>> pola = [] {
        QList<std::pair<QString, QString>> p;
        p.append({QStringLiteral("Urzad"), QStringLiteral("Urzad")});
        for (const QString &m : {QString(), QStringLiteral("M")}) {
            p.append({m + QStringLiteral("NIP"), m + QStringLiteral("NIP")});
            p.append({m + QStringLiteral("Pesel"), m + QStringLiteral("PESEL")});
            for (const char *n : {"Nazwisko", "Imie", "Dokument", "Kraj", "Wojew", "Powiat", "Gmina", "Ulica",
                                  "Posesja", "Lokal", "Miasto", "KodPoczt", "Poczta"})
                p.append({m + QLatin1String(n), m + QLatin1String(n)});
        }
        return p;
    }();
    return pola;
}

} // namespace

ImportPoprzedniej::ImportPoprzedniej(TDM &dm, const QString &helperPath)
    : dm(dm), m_helper(helperPath), m_podatnicy(helperPath), m_firmy(helperPath)
{
}

QString ImportPoprzedniej::plik(const QString &katalog, const QString &nazwa)
{
    // The previous version ran where letter case did not matter.
    const QDir dir(katalog.isEmpty() ? QDir::currentPath() : katalog);
    const QStringList found = dir.entryList({nazwa}, QDir::Files | QDir::CaseSensitive);
    if (!found.isEmpty())
        return dir.filePath(found.first());
    for (const QString &name : dir.entryList(QDir::Files))
        if (name.compare(nazwa, Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    return dir.filePath(nazwa);
}

bool ImportPoprzedniej::MaTabele(const QString &katalog, const QString &nazwa)
{
    return QFileInfo(plik(katalog, nazwa)).isFile();
}

bool ImportPoprzedniej::NieMaPodatnika(TDM &dm, const QString &nazwisko, const QString &imie)
{
    try {
        dm.WQ.close();
        dm.WQ.clearSql();
        dm.WQ.setSql({QStringLiteral("SELECT COUNT(*) Licznik"), QStringLiteral("FROM Podatnik"),
                      QStringLiteral("WHERE Nazwisko=:Nazwisko"), QStringLiteral("  AND Imie=:Imie")});
        dm.WQ.setParam(QStringLiteral("Nazwisko"), nazwisko);
        dm.WQ.setParam(QStringLiteral("Imie"), imie);
        dm.WQ.open();
        const qint64 licznik = dm.WQ.field(QStringLiteral("Licznik")).value().toLongLong();
        dm.WQ.close();
        return licznik == 0;
    } catch (const DataError &) {
        dm.WQ.close();
        return false;
    }
}

bool ImportPoprzedniej::OtworzPodatnikow(const QString &katalog)
{
    try {
        m_podatnicy.open(plik(katalog, QStringLiteral("Podatnik.DB")));
        m_podatnicy.sortNazwImie();
        m_wierszPodatnika.clear();
        m_wierszPodatnika.reserve(m_podatnicy.recordCount());
        const int id = m_podatnicy.fieldIndex(QStringLiteral("PodatId"));
        // Backwards, so that of two records with one PodatId the first counts.
        for (qsizetype i = m_podatnicy.recordCount() - 1; i >= 0 && id >= 0; --i)
            m_wierszPodatnika.insert(m_podatnicy.records().at(i).value(id).toLongLong(), i);
        return true;
    } catch (const DataError &) {
        m_podatnicy = ParadoxTable(m_helper);
        m_wierszPodatnika.clear();
        dm.Uwaga(BladPodatnik);
        return false;
    }
}

QStringList ImportPoprzedniej::Kandydaci() const
{
    QStringList wpisy;
    for (qsizetype i = 0; i < m_podatnicy.recordCount(); ++i) {
        const QString s = m_podatnicy.value(i, QStringLiteral("Nazwisko")).toString().trimmed();
        const QString f = m_podatnicy.value(i, QStringLiteral("Imie")).toString().trimmed();
        if ((!s.isEmpty() || !f.isEmpty()) && NieMaPodatnika(dm, s, f))
            wpisy.append(s + QLatin1Char(' ') + f + QLatin1Char('=')
                         + QString::number(m_podatnicy.value(i, QStringLiteral("PodatId")).toLongLong()));
    }
    return wpisy;
}

bool ImportPoprzedniej::WczytajPodatnika(qint64 podatId)
{
    const qsizetype row = m_wierszPodatnika.value(podatId, -1);
    if (row < 0)
        return false;
    if (!NieMaPodatnika(dm, m_podatnicy.value(row, QStringLiteral("Nazwisko")).toString(),
                        m_podatnicy.value(row, QStringLiteral("Imie")).toString()))
        return false;
    // One taxpayer, one transaction: a refused field leaves nothing of him.
    Database::Transaction t(dm.database());
    try {
        dm.Podatnik.append();
        for (const auto &[biezace, poprzednie] : poladPodatnika()) {
            const QVariant v = m_podatnicy.value(row, poprzednie);
            if (!v.isNull())
                dm.Podatnik.field(biezace).setValue(v);
        }
        dm.Podatnik.post();
        t.commit();
    } catch (const DataError &) {
        if (dm.Podatnik.isEditing())
            dm.Podatnik.cancel();
        throw;
    }
    return true;
}

bool ImportPoprzedniej::OtworzFirmy(const QString &katalog)
{
    try {
        m_firmy.open(plik(katalog, QStringLiteral("Firmy.DB")));
        return true;
    } catch (const DataError &) {
        m_firmy = ParadoxTable(m_helper);
        dm.Uwaga(BladFirmy);
        return false;
    }
}

bool ImportPoprzedniej::WczytajFirme(qsizetype row)
{
    // What locating the NIP in Firmy without options finds (an empty NIP
    // matches an empty or missing one), asked of the NIP index: locating
    // passes over every stored seller, once for each previous one.
    const QString nip = m_firmy.value(row, QStringLiteral("NIP")).toString();
    const bool jest = nip.isEmpty()
        ? dm.database().firstRow(QStringLiteral("SELECT 1 FROM Firmy WHERE NIP IS NULL OR NIP = '' LIMIT 1")).has_value()
        : dm.database().firstRow(QStringLiteral("SELECT 1 FROM Firmy WHERE NIP = ? LIMIT 1"), {}, {nip}).has_value();
    if (jest)
        return false;
    Database::Transaction t(dm.database());
    try {
        dm.Firmy.append();
        for (const char *pole : {"NIP", "Kod", "Firma"}) {
            const QVariant v = m_firmy.value(row, QLatin1String(pole));
            if (!v.isNull())
                dm.Firmy.field(QLatin1String(pole)).setValue(v);
        }
        dm.Firmy.post();
        t.commit();
    } catch (const DataError &) {
        if (dm.Firmy.isEditing())
            dm.Firmy.cancel();
        throw;
    }
    return true;
}
