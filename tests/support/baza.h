#pragma once

#include "vzm/formmodel.h"
#include "data/tdm.h"
#include "support/testsupport.h"

#include <QTest>
#include <QVariantMap>

// A private database made by the installer, with the data module on it and
// helpers that store taxpayers, applications and invoices through its tables.
class Baza
{
public:
    TestEnvironment env; // before the data module: it records the database directory
    ScriptedMessageBoxes boxes;
    TDM dm{boxes};

    Baza()
    {
        if (!dm.OtworzTabele())
            qFatal("the test database cannot be opened");
    }

    // Appends a record with the given field values; answers its key field.
    static int dodaj(Dataset &tabela, const QVariantMap &pola, const QString &klucz)
    {
        tabela.append();
        for (auto it = pola.begin(); it != pola.end(); ++it)
            tabela.field(it.key()).setValue(it.value());
        tabela.post();
        return tabela.field(klucz).asInteger();
    }

    int dodajPodatnika(const QVariantMap &pola) { return dodaj(dm.Podatnik, pola, QStringLiteral("PodatId")); }

    int dodajWniosek(int podatId, QVariantMap pola = {})
    {
        pola.insert(QStringLiteral("PodatId"), podatId);
        return dodaj(dm.VzmyTbl, pola, QStringLiteral("VzmId"));
    }

    void dodajWpisy(int vzmId, QVariantMap pola = {})
    {
        pola.insert(QStringLiteral("VzmId"), vzmId);
        dodaj(dm.VzmTbl_3, pola, QStringLiteral("WpisId"));
    }

    int dodajFakture(int vzmId, const QString &lista, QVariantMap pola = {})
    {
        pola.insert(QStringLiteral("VzmId"), vzmId);
        pola.insert(QStringLiteral("Oznacz"), lista);
        return dodaj(dm.Faktury, pola, QStringLiteral("FaktId"));
    }

    // Every row of a stored table, to see whether anything changed.
    QList<SqlRow> wiersze(const QString &tabela)
    {
        return dm.database().run(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(tabela)).rows;
    }

    // One stored value of the record whose key field holds `id`.
    QVariant wartosc(const QString &tabela, const QString &klucz, int id, const QString &pole)
    {
        const auto row = dm.database().firstRow(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?").arg(pole, tabela, klucz),
                                                {}, {id});
        return row ? row->at(0) : QVariant();
    }

    // The error list as "position|message" lines, in its order.
    QStringList bledy()
    {
        QStringList lista;
        for (dm.BledyTbl.first(); !dm.BledyTbl.eof(); dm.BledyTbl.next())
            lista << QStringLiteral("%1|%2").arg(dm.BledyTbl.field(QStringLiteral("NrPola")).asInteger())
                         .arg(dm.BledyTbl.field(QStringLiteral("Opis")).asString());
        return lista;
    }
};

// Amounts in failure messages, with all four decimals.
namespace QTest {
template <>
inline char *toString(const Money &m)
{
    return qstrdup(m.format(4, false).toUtf8().constData());
}
} // namespace QTest

inline Money kwota(const char *tekst)
{
    return Money::parse(QString::fromUtf8(tekst)).value();
}

inline QVariant kwotaV(const char *tekst)
{
    return QVariant::fromValue(kwota(tekst));
}

// Valid identifiers: NIP 123-456-32-18 (weighted sum 118, 118 mod 11 = 8),
// PESEL 44051401359 (check digit 9), NRB 61 1090 1014 0000 0712 1981 2874.
inline const QString NipPodatnika = QStringLiteral("123-456-32-18");
inline const QString NipMalzonka = QStringLiteral("526-025-02-74");
inline const QString PeselPodatnika = QStringLiteral("44051401359");
inline const QString PeselMalzonka = QStringLiteral("02070803628");
inline const QString KontoPoprawne = QStringLiteral("61109010140000071219812874");

// A taxpayer with a NIP, no document and complete personal data, address and tax office.
inline QVariantMap pelnyPodatnik()
{
    return {
        {QStringLiteral("Urzad"), QStringLiteral("Urząd Skarbowy Kraków-Podgórze")},
        {QStringLiteral("NIP"), NipPodatnika},
        {QStringLiteral("Nazwisko"), QStringLiteral("Żółkiewski")},
        {QStringLiteral("Imie"), QStringLiteral("Łukasz")},
        {QStringLiteral("Pesel"), PeselPodatnika},
        {QStringLiteral("ImieOjca"), QStringLiteral("Stanisław")},
        {QStringLiteral("ImieMatki"), QStringLiteral("Zofia")},
        {QStringLiteral("Kraj"), QStringLiteral("Polska")},
        {QStringLiteral("Wojew"), QStringLiteral("Małopolskie")},
        {QStringLiteral("Powiat"), QStringLiteral("krakowski")},
        {QStringLiteral("Gmina"), QStringLiteral("Kraków")},
        {QStringLiteral("Ulica"), QStringLiteral("Długa")},
        {QStringLiteral("Posesja"), QStringLiteral("5")},
        {QStringLiteral("Lokal"), QStringLiteral("2")},
        {QStringLiteral("Miasto"), QStringLiteral("Kraków")},
        {QStringLiteral("KodPoczt"), QStringLiteral("31-147")},
        {QStringLiteral("Poczta"), QStringLiteral("Kraków")},
        {QStringLiteral("Konto"), QStringLiteral("11112222333344445555666677")},
        {QStringLiteral("MKonto"), QStringLiteral("99998888777766665555444433")},
        {QStringLiteral("Notatki"), QStringLiteral("{\\rtf1 Notatki podatnika}")},
    };
}

// What most form-model tests start from: a new database holding the taxpayer
// of pelnyPodatnik(), and a form model over it; made anew for each test.
struct ModelPodatnika
{
    std::unique_ptr<Baza> baza;
    std::unique_ptr<TVzm_3> vzm;
    int podatId = 0;

    void utworz()
    {
        baza = std::make_unique<Baza>();
        vzm = std::make_unique<TVzm_3>(baza->dm);
        podatId = baza->dodajPodatnika(pelnyPodatnik());
    }
    void usun()
    {
        vzm.reset();
        baza.reset();
    }
};
