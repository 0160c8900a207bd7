#include "core/money.h"

#include <QTest>

namespace {
const QString nbsp = QString(Money::GroupSeparator);
QString grouped(QString s) { return s.replace(QLatin1Char(' '), nbsp); }
}

class TestMoney : public QObject
{
    Q_OBJECT
private slots:
    void fromRealRoundsToTenThousandths_data()
    {
        QTest::addColumn<double>("real");
        QTest::addColumn<qint64>("raw");
        QTest::newRow("exact") << 12.5 << qint64(125000);
        QTest::newRow("half up") << 0.00005 << qint64(1);
        QTest::newRow("negative half") << -0.00005 << qint64(-1);
        QTest::newRow("below half") << 1.00004 << qint64(10000);
        QTest::newRow("binary noise") << 0.1 + 0.2 << qint64(3000);
    }
    void fromRealRoundsToTenThousandths()
    {
        QFETCH(double, real);
        QFETCH(qint64, raw);
        QCOMPARE(Money::fromReal(real).raw(), raw);
    }

    void sumsAreExact()
    {
        Money sum;
        for (int i = 0; i < 1000; ++i)
            sum += Money::fromRaw(1000); // 0,10 a thousand times
        QCOMPARE(sum, Money::fromUnits(100));
        QVERIFY(Money::fromUnits(1) - Money::fromRaw(1) < Money::fromUnits(1));
    }

    void formatsDecimalsAndThousands_data()
    {
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<bool>("thousands");
        QTest::addColumn<QString>("text");
        QTest::newRow("%.2n") << qint64(209139000) << 2 << true << grouped("20 913,90");
        QTest::newRow("%.2n million") << qint64(12345678912) << 2 << true << grouped("1 234 567,89");
        QTest::newRow("%.0n") << qint64(297480000) << 0 << true << grouped("29 748");
        QTest::newRow("%.0n rounds half away") << qint64(25000) << 0 << true << "3";
        QTest::newRow("negative") << qint64(-180300) << 2 << true << "-18,03";
        QTest::newRow("tiny negative shows zero") << qint64(-1) << 2 << true << "0,00";
        QTest::newRow("third decimal rounds") << qint64(12345) << 2 << false << "1,23";
        QTest::newRow("half of grosz rounds up") << qint64(12350) << 2 << false << "1,24";
        QTest::newRow("zero") << qint64(0) << 2 << true << "0,00";
    }
    void formatsDecimalsAndThousands()
    {
        QFETCH(qint64, raw);
        QFETCH(int, decimals);
        QFETCH(bool, thousands);
        QFETCH(QString, text);
        QCOMPARE(Money::fromRaw(raw).format(decimals, thousands), text);
    }

    void formatsDisplayPatterns_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<QString>("text");
        QTest::newRow("#,##0.00") << "#,##0.00" << qint64(30000000) << grouped("3 000,00");
        QTest::newRow("#,##0.00 negative") << "#,##0.00" << qint64(-12345600) << grouped("-1 234,56");
        QTest::newRow("#,##0") << "#,##0" << qint64(168850000) << grouped("16 885");
        QTest::newRow("#0") << "#0" << qint64(168850000) << "16885";
        QTest::newRow("###0 zero") << "###0" << qint64(0) << "0";
        QTest::newRow("0") << "0" << qint64(35000) << "4";
        QTest::newRow("sectioned positive") << ",0.00;-,0.00; " << qint64(12345000) << grouped("1 234,50");
        QTest::newRow("sectioned negative") << ",0.00;-,0.00; " << qint64(-12345000) << grouped("-1 234,50");
        QTest::newRow("sectioned zero is blank") << ",0.00;-,0.00; " << qint64(0) << " ";
        QTest::newRow("sectioned rounds to zero") << ",0.00;-,0.00;  " << qint64(40) << "  ";
    }
    void formatsDisplayPatterns()
    {
        QFETCH(QString, pattern);
        QFETCH(qint64, raw);
        QFETCH(QString, text);
        QCOMPARE(Money::fromRaw(raw).format(pattern), text);
    }

    // The one reading rule of every amount and number typed: read as meant, or refused.
    void parsesWhatAPolishUserTypes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<qint64>("raw");
        QTest::newRow("comma") << "1234,56" << true << qint64(12345600);
        QTest::newRow("whole") << "-12" << true << qint64(-120000);
        QTest::newRow("plus") << "+12" << true << qint64(120000);
        QTest::newRow("blank thousands") << "1 234,56" << true << qint64(12345600);
        QTest::newRow("nbsp thousands") << grouped("1 234 567,56") << true << qint64(12345675600);
        QTest::newRow("narrow nbsp thousands") << QStringLiteral("1\u202F234") << true << qint64(12340000);
        QTest::newRow("blanks around") << "  12,5  " << true << qint64(125000);
        QTest::newRow("dot thousands, comma point") << "1.220,50" << true << qint64(12205000);
        QTest::newRow("comma thousands, dot point") << "1,220.50" << true << qint64(12205000);
        QTest::newRow("dots thousands, comma point") << "1.234.567,00" << true << qint64(12345670000);
        QTest::newRow("commas thousands, dot point") << "1,234,567.5" << true << qint64(12345675000);
        QTest::newRow("lone dot, two decimals") << "1220.50" << true << qint64(12205000);
        QTest::newRow("lone dot, one decimal") << "3500.5" << true << qint64(35005000);
        QTest::newRow("lone dot, blank thousands") << "3 500.50" << true << qint64(35005000);
        QTest::newRow("leading comma") << ",5" << true << qint64(5000);
        QTest::newRow("trailing comma") << "12," << true << qint64(120000);
        QTest::newRow("leading dot") << "-.25" << true << qint64(-2500);
        QTest::newRow("comma, three decimals") << "3000,555" << true << qint64(30005550);
        QTest::newRow("five decimals round") << "0,00005" << true << qint64(1);
        QTest::newRow("trailing zł") << "12,50 zł" << true << qint64(125000);
        QTest::newRow("shown with zł") << grouped("1 234,50 zł") << true << qint64(12345000);
        QTest::newRow("empty") << "" << false << qint64(0);
        QTest::newRow("blanks") << "   " << false << qint64(0);
        QTest::newRow("sign only") << "-" << false << qint64(0);
        QTest::newRow("point only") << "," << false << qint64(0);
        QTest::newRow("lone dot, three digits") << "1.220" << false << qint64(0);
        QTest::newRow("lone dot, no digits") << "12." << false << qint64(0);
        QTest::newRow("several dots") << "1.234.567" << false << qint64(0);
        QTest::newRow("several dots, one decimal") << "1.2.3" << false << qint64(0);
        QTest::newRow("two commas") << "1,2,3" << false << qint64(0);
        QTest::newRow("point before thousands") << "1,220.500.000" << false << qint64(0);
        QTest::newRow("blank group of two") << "12 34" << false << qint64(0);
        QTest::newRow("blank group of four") << "1 2345" << false << qint64(0);
        QTest::newRow("first group of four") << "1234 567" << false << qint64(0);
        QTest::newRow("dot group of two") << "1.22,50" << false << qint64(0);
        QTest::newRow("two blanks") << "1  234" << false << qint64(0);
        QTest::newRow("blank in decimals") << "1,23 4" << false << qint64(0);
        QTest::newRow("letters between digits") << "12a3" << false << qint64(0);
        QTest::newRow("letters after") << "12a" << false << qint64(0);
        QTest::newRow("letters") << "abc" << false << qint64(0);
        QTest::newRow("other currency") << "12 EUR" << false << qint64(0);
        QTest::newRow("apostrophe thousands") << "1'234" << false << qint64(0);
        QTest::newRow("other digits") << QStringLiteral("\u0661\u0662") << false << qint64(0);
        QTest::newRow("two signs") << "--5" << false << qint64(0);
        QTest::newRow("too long") << "123456789012345" << false << qint64(0);
    }
    void parsesWhatAPolishUserTypes()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(qint64, raw);
        const auto parsed = Money::parse(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(parsed->raw(), raw);
    }

    void formatThenParseRoundTrips()
    {
        const Money m = Money::fromRaw(-98765432101);
        QCOMPARE(Money::parse(m.format(4, true)), std::optional<Money>(m));
    }
};

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
