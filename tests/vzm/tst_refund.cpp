#include "support/formdata.h"
#include "vzm/formmodel.h"

// The limits and the refund of section D, computed from invoices stored in a
// real database and loaded into the form model.
class TestRefund : public QObject, private TaxpayerModelFixture
{
    Q_OBJECT


    static Money toMoney(double x) { return Money::fromReal(x); }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void workedExamples_data()
    {
        QTest::addColumn<QDate>("pierwszy");
        QTest::addColumn<QString>("cena");
        QTest::addColumn<QStringList>("zwrotPop"); // A to D
        QTest::addColumn<bool>("d31");
        QTest::addColumn<QStringList>("limity");   // P47 to P50
        QTest::addColumn<QStringList>("przed");    // P51 to P54
        QTest::addColumn<QStringList>("czesci");   // ZwrotA to ZwrotD
        QTest::addColumn<QString>("zwrot");

        const QStringList brak{"0", "0", "0", "0"};
        const QStringList limity31{"20 913,90", "8 963,10", "25 819,50", "11 065,50"};
        const QStringList limity32{"20 913,90", "8 963,10", "25 609,50", "10 975,50"};
        const QStringList przed{"22 092,00", "0,00", "7 470,20", "1 363,60"};
        const QStringList czesci{"20 913,90", "0", "7 470,20", "1 363,60"};

        QTest::newRow("first application 10-05-2010 (D.3.1)")
            << QDate(2010, 5, 10) << "3 000,00" << brak << true << limity31 << przed << czesci << "29 748";
        QTest::newRow("first application 10-05-2011 (D.3.2)")
            << QDate(2011, 5, 10) << "3 000,00" << brak << false << limity32 << przed << czesci << "29 748";
        QTest::newRow("first application not dated (D.3.2)")
            << QDate() << "3 000,00" << brak << false << limity32 << przed << czesci << "29 748";
        QTest::newRow("last day of 2010 is D.3.1")
            << QDate(2010, 12, 31) << "3 000,00" << brak << true << limity31 << przed << czesci << "29 748";
        QTest::newRow("first day of 2011 is D.3.2")
            << QDate(2011, 1, 1) << "3 000,00" << brak << false << limity32 << przed << czesci << "29 748";
        QTest::newRow("previous refund A 5 000")
            << QDate(2010, 5, 10) << "3 000,00" << QStringList{"5 000,00", "0", "0", "0"} << true << limity31 << przed
            << QStringList{"15 913,90", "0", "7 470,20", "1 363,60"} << "24 748";
        // The parts add up to 28 097,00, but 36 885 - 20 000 is left of the total limit.
        QTest::newRow("previous refund C 20 000, capped")
            << QDate(2010, 5, 10) << "3 000,00" << QStringList{"0", "0", "20 000,00", "0"} << true << limity31 << przed
            << QStringList{"20 913,90", "0", "5 819,50", "1 363,60"} << "16 885";
        // D's previous refund exceeds its limit: nothing of D is left; the
        // parts give 28 384, the total limit 36 885 - 12 000.
        QTest::newRow("previous refund above its limit")
            << QDate(2010, 5, 10) << "3 000,00" << QStringList{"0", "0", "0", "12 000,00"} << true << limity31 << przed
            << QStringList{"20 913,90", "0", "7 470,20", "0"} << "24 885";
        // 36 885 - 42 000 < 0: the total limit is used up, the refund is 0, never negative.
        QTest::newRow("previous refunds above the total limit")
            << QDate(2010, 5, 10) << "3 000,00" << QStringList{"0", "0", "30 000,00", "12 000,00"} << true << limity31
            << przed << QStringList{"20 913,90", "0", "0", "0"} << "0";
        QTest::newRow("price 0")
            << QDate(2010, 5, 10) << "0" << brak << true << QStringList{"0", "0", "0", "0"} << przed
            << QStringList{"0", "0", "0", "0"} << "0";
        // 4 321,99 * 70 * 9,959 % = 30 129,888887; * 30 * 12,295 % = 15 941,660115
        QTest::newRow("price with grosze")
            << QDate(2009, 3, 1) << "4 321,99" << brak << true
            << QStringList{"30 129,89", "12 912,81", "37 197,21", "15 941,66"} << przed
            << QStringList{"22 092,00", "0", "7 470,20", "1 363,60"} << "30 926";
    }
    void workedExamples()
    {
        QFETCH(QDate, pierwszy);
        QFETCH(QString, cena);
        QFETCH(QStringList, zwrotPop);
        QFETCH(bool, d31);
        QFETCH(QStringList, limity);
        QFETCH(QStringList, przed);
        QFETCH(QStringList, czesci);
        QFETCH(QString, zwrot);

        QVERIFY(vzm->Wczytaj(podatId, workedExampleApplication()));
        QCOMPARE(vzm->SumaK5A(), kwota("40 000"));
        QCOMPARE(vzm->SumaK5B(), kwota("10 000"));
        QCOMPARE(vzm->SumaK5C(), kwota("1 000"));
        QCOMPARE(vzm->SumaK6A(), Money());
        QCOMPARE(vzm->SumaK6B(), kwota("2 000"));
        QCOMPARE(vzm->SumaK6C(), Money());

        vzm->SetP44(pierwszy);
        vzm->SetP45(Money::parse(cena).value());
        for (int kind = 1; kind <= 4; ++kind)
            vzm->SetZwrotPop(kind, Money::parse(zwrotPop[kind - 1]).value());

        QCOMPARE(vzm->IsD31(), d31);
        QCOMPARE(vzm->IsD32(), !d31);
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(vzm->GetPole(47 + i), Money::parse(limity[i]).value());
            QCOMPARE(vzm->GetPole(51 + i), Money::parse(przed[i]).value());
        }
        const double reals[] = {vzm->P47(), vzm->P48(), vzm->P49(), vzm->P50()};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(toMoney(reals[i]), Money::parse(limity[i]).value());
        const double parts[] = {vzm->ZwrotA(), vzm->ZwrotB(), vzm->ZwrotC(), vzm->ZwrotD()};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(toMoney(parts[i]), Money::parse(czesci[i]).value());
        QCOMPARE(vzm->Zwrot(), Money::parse(zwrot).value());
        QCOMPARE(vzm->GetPole(55), Money::parse(zwrot).value());
        QCOMPARE(vzm->GetLimit(), Money::parse(limity[2]).value() + Money::parse(limity[3]).value());
        Money pop;
        for (const QString &k : zwrotPop)
            pop += Money::parse(k).value();
        QCOMPARE(vzm->GetZwrotPop(), pop);
        QVERIFY(db->boxes.shown().isEmpty());
    }

    // One invoice sum at a time, with a high price so the limits do not interfere.
    void rounding_data()
    {
        QTest::addColumn<QString>("lista");
        QTest::addColumn<QString>("vatA");
        QTest::addColumn<QString>("vatB");
        QTest::addColumn<int>("pole");
        QTest::addColumn<QString>("przed");
        QTest::addColumn<QString>("zwrot");
        // 1 050 * 55,23 % = 579,915, which in binary falls a hair short of the
        // half: only the rounding constant's bias of 0,0000001 takes it up
        QTest::newRow("half a grosz short in binary rounds up") << "A" << "1 050,00" << "0" << 51 << "579,92" << "580";
        // a correcting invoice alone: the part is negative, the refund is 0, not -28
        QTest::newRow("negative half rounds away from zero") << "A" << "-50,00" << "0" << 51 << "-27,62" << "0";
        // 0,91 * 55,23 % = 0,502593; R(0, 0,50) = 1
        QTest::newRow("half a zloty rounds up") << "A" << "0,91" << "0" << 51 << "0,50" << "1";
        QTest::newRow("column 6 of list A") << "A" << "0" << "50,00" << 52 << "27,62" << "28";
        // 0,01 * 68,18 % = 0,0068 -> 0,01; 0,01 * 65,22 % -> 0,01: each list rounded by itself
        QTest::newRow("lists B and C rounded apart") << "BC" << "0,01" << "0" << 53 << "0,02" << "0";
        QTest::newRow("lists B and C, column 6") << "BC" << "0" << "0,01" << 54 << "0,02" << "0";
        // 1 234,56 * 68,18 % = 841,723008 -> 841,72; * 65,22 % = 805,180032 -> 805,18
        QTest::newRow("lists B and C, amounts") << "BC" << "1 234,56" << "0" << 53 << "1 646,90" << "1 647";
    }
    void rounding()
    {
        QFETCH(QString, lista);
        QFETCH(QString, vatA);
        QFETCH(QString, vatB);
        QFETCH(int, pole);
        QFETCH(QString, przed);
        QFETCH(QString, zwrot);

        const int vzmId = db->addApplication(podatId);
        for (QChar litera : lista)
            db->addInvoice(vzmId, QString(litera),
                           {{QStringLiteral("VatA"), QVariant::fromValue(Money::parse(vatA).value())},
                            {QStringLiteral("VatB"), QVariant::fromValue(Money::parse(vatB).value())}});
        QVERIFY(vzm->Wczytaj(podatId, vzmId));
        vzm->SetP45(kwota("10 000"));
        QCOMPARE(vzm->GetPole(pole), Money::parse(przed).value());
        QCOMPARE(vzm->Zwrot(), Money::parse(zwrot).value());
    }

    // The computed fields follow their inputs at once.
    void recomputedOnEveryInput()
    {
        QVERIFY(vzm->Wczytaj(podatId, workedExampleApplication()));
        QCOMPARE(vzm->Zwrot(), Money()); // no price yet: no limit
        vzm->SetP45(kwota("3 000"));
        QCOMPARE(vzm->GetPole(49), kwota("25 609,50")); // not dated: D.3.2
        vzm->SetP44(QDate(2010, 5, 10));
        QCOMPARE(vzm->GetPole(49), kwota("25 819,50"));
        QCOMPARE(vzm->Zwrot(), kwota("29 748"));
        vzm->SetZwrotPop(1, kwota("5 000"));
        QCOMPARE(vzm->Zwrot(), kwota("24 748"));
        vzm->SetZwrotPop(1, kwota("-1")); // ignored
        QCOMPARE(vzm->ZwrotPopA(), kwota("5 000"));
        vzm->SetP45(kwota("-1")); // ignored
        QCOMPARE(vzm->P45(), kwota("3 000"));
        QCOMPARE(vzm->Zwrot(), kwota("24 748"));
    }

    void attachmentsFromInvoiceCounts_data()
    {
        QTest::addColumn<QList<int>>("faktur"); // lists A, B, C
        QTest::addColumn<QList<int>>("zalacznikow");
        QTest::newRow("27, 28, 55") << QList<int>{27, 28, 55} << QList<int>{1, 2, 3};
        QTest::newRow("0, 54, 1") << QList<int>{0, 54, 1} << QList<int>{0, 2, 1};
    }
    void attachmentsFromInvoiceCounts()
    {
        QFETCH(QList<int>, faktur);
        QFETCH(QList<int>, zalacznikow);
        const int vzmId = db->addApplication(podatId);
        const QString litery = QStringLiteral("ABC");
        {
            auto t = db->dm.transaction(); // a hundred posts, one commit
            for (int lista = 0; lista < 3; ++lista)
                for (int i = 0; i < faktur[lista]; ++i)
                    db->addInvoice(vzmId, litery.mid(lista, 1),
                                   {{QStringLiteral("VatA"), kwotaV("100,00")}, {QStringLiteral("VatB"), kwotaV("1,50")}});
            t.commit();
        }
        QVERIFY(vzm->Wczytaj(podatId, vzmId));
        QCOMPARE((QList<int>{vzm->P62(), vzm->P63(), vzm->P64()}), zalacznikow);
        for (int lista = 0; lista < 3; ++lista)
            QCOMPARE(vzm->GetPole(62 + lista), Money::fromUnits(zalacznikow[lista]));
        QCOMPARE((QList<Money>{vzm->SumaK5A(), vzm->SumaK5B(), vzm->SumaK5C()}),
                 (QList<Money>{Money::fromUnits(100 * faktur[0]), Money::fromUnits(100 * faktur[1]),
                               Money::fromUnits(100 * faktur[2])}));
        QCOMPARE(vzm->SumaK6C(), Money::fromRaw(15000 * faktur[2]));
    }
};

QTEST_GUILESS_MAIN(TestRefund)
#include "tst_refund.moc"
