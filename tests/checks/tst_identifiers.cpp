#include "checks/identifiers.h"

#include <QTest>

// The numbers below were worked out by hand with the weights; the comments
// give the sums, so a wrong weight or remainder rule shows up as a failure.
class TestIdentifiers : public QObject
{
    Q_OBJECT
private slots:
    void separatorsAreRemoved_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("NIP mask") << "123-456 32_18" << "1234563218";
        QTest::newRow("untouched mask") << "   -   -  -  " << "";
        QTest::newRow("other characters kept") << " a/b.c " << "a/b.c";
        QTest::newRow("empty") << "" << "";
    }
    void separatorsAreRemoved()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(BezSeparatorow(text), expected);
    }

    void emptyIdentifiers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("empty");
        QTest::newRow("empty text") << "" << true;
        QTest::newRow("untouched NIP mask") << "   -   -  -  " << true;
        QTest::newRow("untouched account mask") << "                                " << true;
        QTest::newRow("mask blank shown as _") << "___-___-__-__" << true;
        QTest::newRow("one digit") << "   -  1-  -  " << false;
        QTest::newRow("slash") << "/" << false;
    }
    void emptyIdentifiers()
    {
        QFETCH(QString, text);
        QFETCH(bool, empty);
        QCOMPARE(PustyNip(text), empty);
        QCOMPARE(PustyPesel(text), empty);
        QCOMPARE(PusteKonto(text), empty);
    }

    void nipChecksum_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<bool>("valid");
        // 6*1+5*2+7*3+2*4+3*5+4*6+5*3+6*2+7*1 = 118, 118 mod 11 = 8
        QTest::newRow("1234563218") << "1234563218" << true;
        QTest::newRow("tenth digit changed") << "1234563217" << false;
        // 6*5+5*2+7*6+2*0+3*2+4*5+5*0+6*2+7*7 = 169, 169 mod 11 = 4
        QTest::newRow("5260250274") << "5260250274" << true;
        // 118 + 7*5 = 153, 153 mod 11 = 10: check digit 0
        QTest::newRow("remainder 10, digit 0") << "1234563260" << true;
        QTest::newRow("remainder 10, digit 1") << "1234563261" << false;
        // 2*1+3*2+4*3+5*4+6*5+7*6 = 112, 112 mod 11 = 2
        QTest::newRow("000 prefix, sum agrees") << "0001234562" << true;
        QTest::newRow("nine digits") << "123456321" << false;
        QTest::newRow("eleven digits") << "12345632180" << false;
        QTest::newRow("fullwidth digit") << QString::fromUtf8("123456321８") << false;
    }
    void nipChecksum()
    {
        QFETCH(QString, digits);
        QFETCH(bool, valid);
        QCOMPARE(SumaKontrolnaNip(digits), valid);
    }

    void nipValidity_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("untouched mask") << "   -   -  -  " << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("with dashes") << "123-456-32-18" << true;
        QTest::newRow("bare digits") << "1234563218" << true;
        QTest::newRow("blanks around") << "  1234563218 " << true;
        QTest::newRow("blanks between groups") << "123 456 32 18" << true;
        QTest::newRow("PL prefix") << "PL1234563218" << true;
        QTest::newRow("PL and blank") << "PL 123-456-32-18" << true;
        QTest::newRow("pl in lower case") << "pl1234563218" << true;
        QTest::newRow("PL alone") << "PL" << false;
        QTest::newRow("second valid") << "526-025-02-74" << true;
        QTest::newRow("tenth digit changed") << "123-456-32-17" << false;
        QTest::newRow("remainder 10, digit 0") << "123-456-32-60" << true;
        QTest::newRow("remainder 10, digit 1") << "123-456-32-61" << false;
        QTest::newRow("remainder 10, digit 9") << "1234563269" << false;
        QTest::newRow("000 prefix") << "000-123-45-62" << false;
        QTest::newRow("slash") << "123/456/32/18" << false;
        QTest::newRow("slash once") << "123-456-32/18" << false;
        QTest::newRow("letter") << "123-456-3A-18" << false;
        QTest::newRow("half typed") << "123-45 -  -  " << false;
        QTest::newRow("13 characters, 9 digits") << "123-456-32-1_" << false;
        QTest::newRow("eleven digits") << "12345632180" << false;
        QTest::newRow("fullwidth digit") << QString::fromUtf8("123456321８") << false;
    }
    void nipValidity()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(PoprawnyNip(text), valid);
    }

    void peselChecksum_data()
    {
        QTest::addColumn<QString>("digits");
        QTest::addColumn<bool>("valid");
        // 4+12+0+45+1+12+0+9+3+15 = 101, 10 - 1 = 9
        QTest::newRow("44051401359") << "44051401359" << true;
        QTest::newRow("eleventh digit changed") << "44051401358" << false;
        // 4+12+7+27+1+12+0+9+3+15 = 90, 10 - 0 = 10: check digit 0
        QTest::newRow("sum ends in 0") << "44131401350" << true;
        QTest::newRow("ten digits") << "4405140135" << false;
        QTest::newRow("twelve digits") << "440514013590" << false;
    }
    void peselChecksum()
    {
        QFETCH(QString, digits);
        QFETCH(bool, valid);
        QCOMPARE(SumaKontrolnaPesel(digits), valid);
    }

    void peselValidity_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("untouched mask") << "___________" << true;
        QTest::newRow("blanks only") << "           " << true;
        QTest::newRow("born 14 May 1944") << "44051401359" << true;
        QTest::newRow("eleventh digit changed") << "44051401358" << false;
        // 05251501230: sum 110, check digit 0; 05223101237: sum 73, check digit 7
        QTest::newRow("born May 2005, month 25") << "05251501230" << true;
        QTest::newRow("31 February 2005") << "05223101237" << true;
        QTest::newRow("December 2005, month 32") << "05321501230" << true;
        QTest::newRow("31 December 1999") << "99123105671" << true;
        QTest::newRow("January 1805, month 81") << "05810100007" << true;
        QTest::newRow("December 1805, month 92") << "05920100001" << true;
        QTest::newRow("month 41") << "05410100005" << true;
        QTest::newRow("month 52") << "05520100009" << true;
        QTest::newRow("month 61") << "05610100001" << true;
        QTest::newRow("month 72") << "05720100005" << true;
        // The following carry a correct check digit: only month or day is wrong.
        QTest::newRow("month 13") << "44131401350" << false;
        QTest::newRow("month 00") << "05000100002" << false;
        QTest::newRow("month 20") << "05200100008" << false;
        QTest::newRow("month 33") << "05330100004" << false;
        QTest::newRow("month 53") << "05530100000" << false;
        QTest::newRow("month 93") << "05930100002" << false;
        QTest::newRow("day 00") << "05220001233" << false;
        QTest::newRow("day 32") << "05223201234" << false;
        QTest::newRow("ten digits") << "4405140135" << false;
        QTest::newRow("twelve digits") << "440514013590" << false;
        QTest::newRow("blank inside") << "4405140 359" << false;
        QTest::newRow("blank after, not trimmed") << "44051401359 " << false;
        QTest::newRow("blank before, not trimmed") << " 44051401359" << false;
        QTest::newRow("arabic-indic digit") << QString::fromUtf8("4405140135٩") << false;
    }
    void peselValidity()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(PoprawnyPesel(text), valid);
    }

    void accountValidity_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        // PL61 1090 1014 0000 0712 1981 2874: 109010140000071219812874 2521 61 mod 97 = 1
        QTest::newRow("26 digits") << "61109010140000071219812874" << true;
        QTest::newRow("blanks between groups") << "61 1090 1014 0000 0712 1981 2874" << true;
        QTest::newRow("blanks around") << " 61 1090 1014 0000 0712 1981 2874 " << true;
        // check digits 98 - (102010260000042270201111 252100 mod 97) = 60
        QTest::newRow("second valid") << "60 1020 1026 0000 0422 7020 1111" << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("untouched mask") << "  -    -    -    -    -    -    " << true;
        QTest::newRow("last digit changed") << "61109010140000071219812875" << false;
        QTest::newRow("check digits swapped") << "16109010140000071219812874" << false;
        QTest::newRow("25 digits") << "6110901014000007121981287" << false;
        // 69 + 23 digits: would pass the remainder test if the length were not checked.
        QTest::newRow("25 digits, remainder 1") << "6910901014000007121981287" << false;
        QTest::newRow("27 digits") << "611090101400000712198128740" << false;
        // A zero after the check digits leaves the number, and so the remainder, unchanged.
        QTest::newRow("27 digits, remainder 1") << "610109010140000071219812874" << false;
        QTest::newRow("letter") << "61 1090 1014 0000 0712 1981 287A" << false;
        QTest::newRow("PL prefix") << "PL61109010140000071219812874" << false;
        QTest::newRow("PL prefix with blanks") << "PL 61 1090 1014 0000 0712 1981 2874" << false;
        QTest::newRow("slash") << "61/1090/1014/0000/0712/1981/2874" << false;
    }
    void accountValidity()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(PoprawneKonto(text), valid);
    }

    void postalCodeValidity_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::newRow("00-950") << "00-950" << true;
        QTest::newRow("99-999") << "99-999" << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("blanks only") << "      " << true;
        QTest::newRow("five digits") << "00950" << false;
        QTest::newRow("two and two") << "00-95" << false;
        QTest::newRow("one before dash") << "0-950" << false;
        QTest::newRow("blank after") << "00-950 " << false;
        QTest::newRow("blank before") << " 00-950" << false;
        QTest::newRow("blank for dash") << "00 950" << false;
        QTest::newRow("letter") << "0a-950" << false;
        QTest::newRow("half typed") << "00-9_0" << false;
    }
    void postalCodeValidity()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(PoprawnyKodPocztowy(text), valid);
    }

    void voivodeshipList()
    {
        const QStringList expected = {
            u"Dolnośląskie"_qs,   u"Kujawsko-Pomorskie"_qs, u"Lubelskie"_qs,
            u"Lubuskie"_qs,       u"Łódzkie"_qs,            u"Małopolskie"_qs,
            u"Mazowieckie"_qs,    u"Opolskie"_qs,           u"Podkarpackie"_qs,
            u"Podlaskie"_qs,      u"Pomorskie"_qs,          u"Śląskie"_qs,
            u"Świętokrzyskie"_qs, u"Warmińsko-Mazurskie"_qs, u"Wielkopolskie"_qs,
            u"Zachodniopomorskie"_qs,
        };
        QCOMPARE(Wojewodztwa, expected);
    }

    void voivodeshipValidity_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        for (const QString &name : Wojewodztwa) {
            QTest::addRow("%s", qUtf8Printable(name)) << name << true;
            QTest::addRow("%s lower case", qUtf8Printable(name)) << name.toLower() << true;
        }
        QTest::newRow("lower case") << "mazowieckie" << true;
        QTest::newRow("blanks around") << "  Mazowieckie  " << true;
        QTest::newRow("mixed case") << "kUJAWSKO-pomorskie" << true;
        QTest::newRow("ŚLĄSKIE") << u"ŚLĄSKIE"_qs << true;
        QTest::newRow("śląskie") << u"śląskie"_qs << true;
        QTest::newRow("łódzkie") << u"łódzkie"_qs << true;
        QTest::newRow("ŁÓDZKIE") << u"ŁÓDZKIE"_qs << true;
        QTest::newRow("without Polish letters") << "Slaskie" << false;
        QTest::newRow("blank for dash") << "Kujawsko Pomorskie" << false;
        QTest::newRow("other word") << "Mazowsze" << false;
        QTest::newRow("country") << "Polska" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blanks only") << "   " << false;
    }
    void voivodeshipValidity()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QCOMPARE(PoprawneWojewodztwo(text), valid);
    }

    void countryIsPoland_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("poland");
        QTest::newRow("Polska") << "Polska" << true;
        QTest::newRow("upper case") << "POLSKA" << true;
        QTest::newRow("lower case") << "polska" << true;
        QTest::newRow("blanks around") << "  Polska " << true;
        QTest::newRow("blank inside") << "Pol ska" << false;
        QTest::newRow("Polską") << u"Polską"_qs << false;
        QTest::newRow("Poland") << "Poland" << false;
        QTest::newRow("Niemcy") << "Niemcy" << false;
        QTest::newRow("empty") << "" << false;
    }
    void countryIsPoland()
    {
        QFETCH(QString, text);
        QFETCH(bool, poland);
        QCOMPARE(CzyPolska(text), poland);
    }
};

QTEST_APPLESS_MAIN(TestIdentifiers)
#include "tst_identifiers.moc"
