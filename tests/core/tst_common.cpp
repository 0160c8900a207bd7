#include "core/common.h"

#include <QTest>

Q_DECLARE_METATYPE(long double)

namespace {
QString grouped(QString s) { return s.replace(QLatin1Char(' '), Money::GroupSeparator); }
Money zl(qint64 raw) { return Money::fromRaw(raw); }
}

class TestCommon : public QObject
{
    Q_OBJECT
private slots:
    // --- rounding and VAT ---------------------------------------------------

    void roundsHalfAwayFromZero_data()
    {
        QTest::addColumn<int>("digits");
        QTest::addColumn<long double>("x");
        QTest::addColumn<long double>("expected");
        QTest::newRow("half up") << 2 << 2.345L << 2.35L;
        QTest::newRow("negative half away from zero") << 2 << -2.345L << -2.35L;
        QTest::newRow("below half down") << 2 << 2.344L << 2.34L;
        QTest::newRow("1e-9 short of half counts as half") << 2 << 2.345L - 1e-9L << 2.35L;
        QTest::newRow("1.1e-9 short of half rounds down") << 2 << 2.345L - 1.1e-9L << 2.34L;
        QTest::newRow("1e-6 short of half rounds down") << 2 << 2.345L - 1e-6L << 2.34L;
        QTest::newRow("2.675") << 2 << 2.675L << 2.68L;
        QTest::newRow("-0.125") << 2 << -0.125L << -0.13L;
        QTest::newRow("digits 0, half") << 0 << 0.5L << 1.0L;
        QTest::newRow("digits 0, negative half") << 0 << -0.5L << -1.0L;
        QTest::newRow("digits 0 truncates 2.4999") << 0 << 2.4999L << 2.0L;
        QTest::newRow("digits 0 truncates -2.4999") << 0 << -2.4999L << -2.0L;
        QTest::newRow("digits 0, 5e-8 short of half") << 0 << 2.49999995L << 3.0L;
        QTest::newRow("digits 0, negative, 5e-8 short") << 0 << -2.49999995L << -3.0L;
        QTest::newRow("digits 0, 2e-7 short of half") << 0 << 2.4999998L << 2.0L;
        QTest::newRow("three digits") << 3 << 1.0005L << 1.001L;
        QTest::newRow("already round") << 2 << 18.7L << 18.7L;
    }
    void roundsHalfAwayFromZero()
    {
        QFETCH(int, digits);
        QFETCH(long double, x);
        QFETCH(long double, expected);
        const long double result = Zaokraglij(digits, x);
        QVERIFY2(result == expected,
                 qPrintable(QStringLiteral("got %1").arg(double(result), 0, 'g', 17)));
    }

    void vatTakenFromTheGrossAmount_data()
    {
        QTest::addColumn<int>("rate");
        QTest::addColumn<Money>("gross");
        QTest::addColumn<Money>("vat");
        QTest::newRow("22% of 122.00") << 22 << zl(1220000) << zl(220000);
        QTest::newRow("22% of 100.00") << 22 << zl(1000000) << zl(180300);    // 18.0327...
        QTest::newRow("22% of -100.00") << 22 << zl(-1000000) << zl(-180300);
        QTest::newRow("22% of 1000.00") << 22 << zl(10000000) << zl(1803300); // 180.3278...
        QTest::newRow("22% of 0.05") << 22 << zl(500) << zl(100);             // 0.00901...
        QTest::newRow("22% of 0") << 22 << zl(0) << zl(0);
        QTest::newRow("23% of 123.00") << 23 << zl(1230000) << zl(230000);
        QTest::newRow("23% of 100.00") << 23 << zl(1000000) << zl(187000);    // 18.6991...
        QTest::newRow("23% of -123.00") << 23 << zl(-1230000) << zl(-230000);
        QTest::newRow("23% of 0") << 23 << zl(0) << zl(0);
    }
    void vatTakenFromTheGrossAmount()
    {
        QFETCH(int, rate);
        QFETCH(Money, gross);
        QFETCH(Money, vat);
        const Money result = rate == 22 ? Vat22ZBrutto(gross) : Vat23ZBrutto(gross);
        QCOMPARE(result.raw(), vat.raw());
    }

    // --- attachments ----------------------------------------------------------

    void attachmentCountFromInvoiceCount_data()
    {
        QTest::addColumn<int>("invoices");
        QTest::addColumn<int>("attachments");
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("27") << 27 << 1;
        QTest::newRow("28") << 28 << 2;
        QTest::newRow("54") << 54 << 2;
        QTest::newRow("55") << 55 << 3;
        QTest::newRow("-3") << -3 << 0;
    }
    void attachmentCountFromInvoiceCount()
    {
        QFETCH(int, invoices);
        QFETCH(int, attachments);
        QCOMPARE(LiczbaZalacznikow(invoices), attachments);
    }

    void firstInvoicePositionOfAttachment_data()
    {
        QTest::addColumn<int>("attachment");
        QTest::addColumn<int>("first");
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("2") << 2 << 28;
        QTest::newRow("3") << 3 << 55;
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("-1") << -1 << 0;
    }
    void firstInvoicePositionOfAttachment()
    {
        QFETCH(int, attachment);
        QFETCH(int, first);
        QCOMPARE(PierwszaPozycja(attachment), first);
    }

    void attachmentLabels_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("label");
        QTest::newRow("A") << 1 << "VZM-1/A";
        QTest::newRow("B") << 2 << "VZM-1/B";
        QTest::newRow("C") << 3 << "VZM-1/C";
        QTest::newRow("0") << 0 << "";
        QTest::newRow("4") << 4 << "";
    }
    void attachmentLabels()
    {
        QFETCH(int, list);
        QFETCH(QString, label);
        QCOMPARE(EtykietyZalacznikow(list), label);
    }

    // --- dates ----------------------------------------------------------------

    void textReadAsDate_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("date");
        QTest::newRow("plain") << "05-03-2008" << QDate(2008, 3, 5);
        QTest::newRow("separators not read") << "05.03.2008" << QDate(2008, 3, 5);
        QTest::newRow("31 February") << "31-02-2010" << QDate();
        QTest::newRow("29 February, leap year") << "29-02-2012" << QDate(2012, 2, 29);
        QTest::newRow("29 February, common year") << "29-02-2011" << QDate();
        QTest::newRow("month 13") << "05-13-2008" << QDate();
        QTest::newRow("day 00") << "00-03-2008" << QDate();
        QTest::newRow("year 0000") << "05-03-0000" << QDate();
        QTest::newRow("empty mask") << "  -  -    " << QDate();
        QTest::newRow("empty") << "" << QDate();
        QTest::newRow("short") << "05-03-200" << QDate();
        QTest::newRow("unpadded") << "5-3-2008" << QDate();
        QTest::newRow("blank in the day") << " 5-03-2008" << QDate();
        QTest::newRow("blank in the year") << "05-03-208 " << QDate();
        QTest::newRow("signed day") << "+5-03-2008" << QDate();
        QTest::newRow("letters") << "ab-03-2008" << QDate();
        QTest::newRow("leading blanks shift the fields") << "  05-03-2008" << QDate();
        QTest::newRow("text after the year ignored") << "05-03-2008 r." << QDate(2008, 3, 5);
        QTest::newRow("stored zero date") << "30-12-1899" << QDate();
        QTest::newRow("day after zero date") << "31-12-1899" << QDate(1899, 12, 31);
    }
    void textReadAsDate()
    {
        QFETCH(QString, text);
        QFETCH(QDate, date);
        QCOMPARE(TekstNaDate(text), date);
    }

    void dateWrittenAsText_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("5 March 2008") << QDate(2008, 3, 5) << "05-03-2008";
        QTest::newRow("1 May 2004") << Data1Maja2004 << "01-05-2004";
        QTest::newRow("1 January 2006") << Data1Stycznia2006 << "01-01-2006";
        QTest::newRow("no date") << QDate() << "";
        QTest::newRow("stored zero date") << QDate(1899, 12, 30) << "";
        QTest::newRow("day after zero date") << QDate(1899, 12, 31) << "31-12-1899";
    }
    void dateWrittenAsText()
    {
        QFETCH(QDate, date);
        QFETCH(QString, text);
        QCOMPARE(DataNaTekst(date), text);
    }

    void emptyDateMaskRecognised_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("empty");
        QTest::newRow("bare mask") << "-  -" << true;
        QTest::newRow("untouched mask") << "  -  -    " << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("blanks") << "   " << true;
        QTest::newRow("date") << "01-01-2001" << false;
        QTest::newRow("partly typed") << "01-  -    " << false;
        QTest::newRow("one blank between dashes") << "- -" << false;
    }
    void emptyDateMaskRecognised()
    {
        QFETCH(QString, text);
        QFETCH(bool, empty);
        QCOMPARE(PustaData(text), empty);
    }

    // --- texts ----------------------------------------------------------------

    void onlyDigitsKept_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("digits");
        QTest::newRow("NIP mask") << "123-456-78-90" << "1234567890";
        QTest::newRow("blanks and letters") << " a1 b2_3 " << "123";
        QTest::newRow("no digits") << "---" << "";
        QTest::newRow("non-Latin digits dropped") << QString::fromUtf8("١٢3") << "3";
        QTest::newRow("empty") << "" << "";
    }
    void onlyDigitsKept()
    {
        QFETCH(QString, text);
        QFETCH(QString, digits);
        QCOMPARE(TylkoCyfry(text), digits);
    }

    void textsJoinedTrimmed_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<QString>("joined");
        QTest::newRow("trailing and leading blank") << "Kowalski " << " Jan" << "Kowalski Jan";
        QTest::newRow("many blanks") << "  Nowak  " << "\tAnna  " << "Nowak Anna";
        QTest::newRow("Polish letters") << QString::fromUtf8("Żółć") << QString::fromUtf8("Łucja")
                                        << QString::fromUtf8("Żółć Łucja");
        QTest::newRow("empty first name") << "Kowalski" << "" << "Kowalski ";
    }
    void textsJoinedTrimmed()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(QString, joined);
        QCOMPARE(PolaczTeksty(a, b), joined);
    }

    void amountsFormatted_data()
    {
        QTest::addColumn<Money>("amount");
        QTest::addColumn<QString>("two");
        QTest::addColumn<QString>("none");
        QTest::newRow("thousands") << zl(12345000) << grouped("1 234,50") << grouped("1 235");
        QTest::newRow("negative") << zl(-180300) << "-18,03" << "-18";
        QTest::newRow("zero") << zl(0) << "0,00" << "0";
    }
    void amountsFormatted()
    {
        QFETCH(Money, amount);
        QFETCH(QString, two);
        QFETCH(QString, none);
        QCOMPARE(Kwota2(amount), two);
        QCOMPARE(Kwota0(amount), none);
    }

    void messageTexts_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("expected");
        QTest::newRow("BrakPodatnika 12") << BrakPodatnika(12) << "Brak podatnika [PodatId = [12].";
        QTest::newRow("BrakPodatnika -1") << BrakPodatnika(-1) << "Brak podatnika [PodatId = [-1].";
        QTest::newRow("PoleNieokreslone") << PoleNieokreslone(u"GetPole", 44)
                                          << QString::fromUtf8("Procedura: GetPole - pole: 44 nieokreślone.");
        QTest::newRow("PoleNieokreslone trims") << PoleNieokreslone(u"  GetDruk ", 7)
                                                << QString::fromUtf8("Procedura: GetDruk - pole: 7 nieokreślone.");
        QTest::newRow("PoleNieokreslone copies %") << PoleNieokreslone(u"Op%2", 3)
                                                   << QString::fromUtf8("Procedura: Op%2 - pole: 3 nieokreślone.");
        QTest::newRow("NazwaPola 41") << NazwaPola(41) << "F41";
        QTest::newRow("NazwaPola 0") << NazwaPola(0) << "F0";
    }
    void messageTexts()
    {
        QFETCH(QString, message);
        QFETCH(QString, expected);
        QCOMPARE(message, expected);
    }

    void fieldStateResetClearsEverything()
    {
        TStanPola stan{KolorBledny, QStringLiteral("Błędny NIP"), true};
        ZerujStan(stan);
        QCOMPARE(stan.Kolor, 0);
        QCOMPARE(stan.Opis, QString());
        QCOMPARE(stan.Pokaz, false);
    }
};

QTEST_GUILESS_MAIN(TestCommon)
#include "tst_common.moc"
