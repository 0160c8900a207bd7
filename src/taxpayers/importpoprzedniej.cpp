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

// The messages of a previous table that cannot be read: a missing file has
// its own, every other failure its reason after the first line.
QString Blad(const QString &bladOtwarcia, const QString &powod)
{
    return bladOtwarcia.section(QLatin1Char('\r'), 0, 0) + QStringLiteral("\r\r") + powod;
}

const QStringList PolaFirmy{QStringLiteral("NIP"), QStringLiteral("Kod"), QStringLiteral("Firma")};

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

ImportPoprzedniej::~ImportPoprzedniej() = default;

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

bool ImportPoprzedniej::Otworz(ParadoxTable &tabela, const QString &katalog, const QString &nazwa,
                               const QStringList &pola, const QString &bladOtwarcia)
{
    QString blad;
    try {
        tabela.open(plik(katalog, nazwa));
        QStringList brak;
        for (const QString &pole : pola)
            if (tabela.fieldIndex(pole) < 0)
                brak << pole;
        if (brak.isEmpty())
            return true;
        blad = Blad(bladOtwarcia, brak.size() == 1
                                      ? QStringLiteral("Tabela nie ma pola %1.").arg(brak.first())
                                      : QStringLiteral("Tabela nie ma pól: %1.").arg(brak.join(QStringLiteral(", "))));
    } catch (const ParadoxError &e) {
        blad = e.powod() == ParadoxError::Powod::BrakPliku ? bladOtwarcia : Blad(bladOtwarcia, e.message());
    }
    tabela = ParadoxTable(m_helper);
    dm.Uwaga(blad);
    return false;
}

bool ImportPoprzedniej::OtworzPodatnikow(const QString &katalog)
{
    m_wierszPodatnika.clear();
    QStringList pola{QStringLiteral("PodatId")};
    for (const auto &para : poladPodatnika())
        pola << para.second;
    if (!Otworz(m_podatnicy, katalog, QStringLiteral("Podatnik.DB"), pola, BladPodatnik))
        return false;
    m_podatnicy.sortNazwImie();
    m_wierszPodatnika.reserve(m_podatnicy.recordCount());
    const int id = m_podatnicy.fieldIndex(QStringLiteral("PodatId"));
    // Backwards, so that of two records with one PodatId the first counts.
    for (qsizetype i = m_podatnicy.recordCount() - 1; i >= 0; --i)
        m_wierszPodatnika.insert(m_podatnicy.records().at(i).value(id).toLongLong(), i);
    return true;
}

QList<Kandydat> ImportPoprzedniej::Kandydaci() const
{
    QList<Kandydat> kandydaci;
    for (qsizetype i = 0; i < m_podatnicy.recordCount(); ++i) {
        const QString s = m_podatnicy.value(i, QStringLiteral("Nazwisko")).toString().trimmed();
        const QString f = m_podatnicy.value(i, QStringLiteral("Imie")).toString().trimmed();
        if ((!s.isEmpty() || !f.isEmpty()) && NieMaPodatnika(dm, s, f))
            kandydaci.append({s + QLatin1Char(' ') + f, m_podatnicy.value(i, QStringLiteral("PodatId")).toLongLong()});
    }
    return kandydaci;
}

void ImportPoprzedniej::Kopiuj(Dataset &cel, const std::function<void()> &kopia)
{
    if (!m_transakcja)
        m_transakcja.emplace(dm.database());
    try {
        // The record's own savepoint, rolled back before the handler runs:
        // a refused field leaves nothing of it.
        Database::Transaction rekord(dm.database());
        cel.append();
        kopia();
        cel.post();
        rekord.commit();
    } catch (const DataError &) {
        if (cel.isEditing())
            cel.cancel();
        // The records before this one are whole: they stay.
        try {
            Zatwierdz();
        } catch (const DataError &) {
        }
        throw;
    }
    if (++m_wTransakcji >= NaTransakcje)
        Zatwierdz();
}

void ImportPoprzedniej::Zatwierdz()
{
    if (!m_transakcja)
        return;
    m_wTransakcji = 0;
    try {
        m_transakcja->commit();
    } catch (const DataError &) {
        m_transakcja.reset();
        throw;
    }
    m_transakcja.reset();
}

bool ImportPoprzedniej::WczytajPodatnika(qint64 podatId)
{
    const qsizetype row = m_wierszPodatnika.value(podatId, -1);
    if (row < 0)
        return false;
    if (!NieMaPodatnika(dm, m_podatnicy.value(row, QStringLiteral("Nazwisko")).toString(),
                        m_podatnicy.value(row, QStringLiteral("Imie")).toString()))
        return false;
    Kopiuj(dm.Podatnik, [this, row] {
        for (const auto &[biezace, poprzednie] : poladPodatnika()) {
            const QVariant v = m_podatnicy.value(row, poprzednie);
            if (!v.isNull())
                dm.Podatnik.field(biezace).setValue(v);
        }
    });
    return true;
}

bool ImportPoprzedniej::OtworzFirmy(const QString &katalog)
{
    return Otworz(m_firmy, katalog, QStringLiteral("Firmy.DB"), PolaFirmy, BladFirmy);
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
    Kopiuj(dm.Firmy, [this, row] {
        for (const QString &pole : PolaFirmy) {
            const QVariant v = m_firmy.value(row, pole);
            if (!v.isNull())
                dm.Firmy.field(pole).setValue(v);
        }
    });
    return true;
}
