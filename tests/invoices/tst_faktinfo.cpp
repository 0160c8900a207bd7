#include "invoices/faktinfo.h"

#include <QTest>

// Where an invoice lands: 27 to an attachment, rows 1 to 7 on page 1.
class TestFaktInfo : public QObject
{
    Q_OBJECT
private slots:
    void placement_data()
    {
        QTest::addColumn<int>("lp");
        QTest::addColumn<int>("nrZal");
        QTest::addColumn<int>("strona");
        QTest::addColumn<int>("pozycja");
        QTest::newRow("1") << 1 << 1 << 1 << 10;
        QTest::newRow("7, last row of page 1") << 7 << 1 << 1 << 46;
        QTest::newRow("8, first row of page 2") << 8 << 1 << 2 << 52;
        QTest::newRow("27, last row") << 27 << 1 << 2 << 166;
        QTest::newRow("28, next attachment") << 28 << 2 << 1 << 10;
        QTest::newRow("35") << 35 << 2 << 2 << 52;
        QTest::newRow("54") << 54 << 2 << 2 << 166;
        QTest::newRow("55") << 55 << 3 << 1 << 10;
        QTest::newRow("271") << 271 << 11 << 1 << 10;
    }
    void placement()
    {
        QFETCH(int, lp);
        QFETCH(int, nrZal);
        QFETCH(int, strona);
        QFETCH(int, pozycja);
        TFaktInfo info;
        info.Ustaw(lp);
        QCOMPARE(info.Lp(), lp);
        QCOMPARE(info.NrZal(), nrZal);
        QCOMPARE(info.Strona(), strona);
        QCOMPARE(info.Pozycja(), pozycja);
    }

    void newObjectHoldsZeros()
    {
        TFaktInfo info;
        info.Ustaw(0);
        QCOMPARE((QList<int>{info.Lp(), info.NrZal(), info.Strona(), info.Pozycja()}), (QList<int>{0, 0, 0, 0}));
    }

    void noRowKeepsTheLastValues_data()
    {
        QTest::addColumn<int>("lp");
        QTest::newRow("0") << 0;
        QTest::newRow("-1") << -1;
        QTest::newRow("most negative") << std::numeric_limits<int>::min();
    }
    void noRowKeepsTheLastValues()
    {
        QFETCH(int, lp);
        TFaktInfo info;
        info.Ustaw(34);
        info.Ustaw(lp);
        QCOMPARE((QList<int>{info.Lp(), info.NrZal(), info.Strona(), info.Pozycja()}), (QList<int>{34, 2, 1, 46}));
    }
};

QTEST_GUILESS_MAIN(TestFaktInfo)
#include "tst_faktinfo.moc"
