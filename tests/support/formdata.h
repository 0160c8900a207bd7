#pragma once

// Data of the form tests: valid identifiers, a complete taxpayer, amounts
// written as a Polish user types them, and the form model over a fresh
// database holding that taxpayer.

#include "core/money.h"
#include "support/testsupport.h"
#include "vzm/formmodel.h"

#include <QTest>
#include <QVariantMap>

#include <memory>

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
struct TaxpayerModelFixture
{
    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TVzm_3> vzm;
    int podatId = 0;

    void setUp()
    {
        db = std::make_unique<TestDatabase>();
        vzm = std::make_unique<TVzm_3>(db->dm);
        podatId = db->addTaxpayer(pelnyPodatnik());
    }
    void tearDown()
    {
        vzm.reset();
        db.reset();
    }

    // An application whose invoices give the sums of the worked example of
    // the refund: column 5 of list A 40 000,00 (in two invoices), of list B
    // 10 000,00, of list C 1 000,00; column 6 of list B 2 000,00; the others
    // 0. An invoice of another application beside it does not count.
    int workedExampleApplication()
    {
        const int vzmId = db->addApplication(podatId, {{QStringLiteral("NrKolej"), 1}});
        db->addInvoice(vzmId, QStringLiteral("A"), {{QStringLiteral("VatA"), kwotaV("25 000,00")}});
        db->addInvoice(vzmId, QStringLiteral("A"), {{QStringLiteral("VatA"), kwotaV("15 000,00")}});
        db->addInvoice(vzmId, QStringLiteral("B"),
                       {{QStringLiteral("VatA"), kwotaV("10 000,00")}, {QStringLiteral("VatB"), kwotaV("2 000,00")}});
        db->addInvoice(vzmId, QStringLiteral("C"), {{QStringLiteral("VatA"), kwotaV("1 000,00")}});
        const int inny = db->addApplication(podatId, {{QStringLiteral("NrKolej"), 2}});
        db->addInvoice(inny, QStringLiteral("A"), {{QStringLiteral("VatA"), kwotaV("99 999,00")}});
        return vzmId;
    }
};
