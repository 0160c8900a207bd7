// The choice of the attachment to print: its title, its entries, the
// chosen number, the keyboard and cancelling.

#include "support/widgettest.h"
#include "vzm/windows/wyborzal.h"

#include <QListWidget>
#include <QTest>

class TestWyborZal : public QObject
{
    Q_OBJECT

private slots:
    void choice_data()
    {
        QTest::addColumn<int>("liczba");
        QTest::addColumn<int>("lista");
        QTest::addColumn<int>("wierszyNizej"); // Down presses before the key
        QTest::addColumn<int>("klawisz");
        QTest::addColumn<QString>("tytul");
        QTest::addColumn<int>("wybrany"); // 0: cancelled
        QTest::newRow("first of two, Enter") << 2 << 1 << 0 << int(Qt::Key_Return) << "Wybierz nr załącznika VZM-1/A" << 1;
        QTest::newRow("third of five of list C") << 5 << 3 << 2 << int(Qt::Key_Return) << "Wybierz nr załącznika VZM-1/C" << 3;
        QTest::newRow("past the last stays on it") << 3 << 2 << 9 << int(Qt::Key_Return) << "Wybierz nr załącznika VZM-1/B" << 3;
        QTest::newRow("Escape cancels") << 4 << 2 << 1 << int(Qt::Key_Escape) << "Wybierz nr załącznika VZM-1/B" << 0;
    }
    void choice()
    {
        QFETCH(int, liczba);
        QFETCH(int, lista);
        QFETCH(int, wierszyNizej);
        QFETCH(int, klawisz);
        QFETCH(QString, tytul);
        QFETCH(int, wybrany);
        TWyborZal wybor;
        QString widzianyTytul;
        QStringList wpisy;
        onNextModal<TWyborZal>([&](TWyborZal &okno) {
            widzianyTytul = okno.windowTitle();
            for (int i = 0; i < okno.ListaZal->count(); ++i)
                wpisy << okno.ListaZal->item(i)->text();
            for (int i = 0; i < wierszyNizej; ++i)
                QTest::keyClick(okno.ListaZal, Qt::Key_Down);
            QTest::keyClick(okno.ListaZal, Qt::Key(klawisz));
        });
        const std::optional<int> wynik = wybor.Wybierz(liczba, lista);
        QCOMPARE(widzianyTytul, tytul);
        QCOMPARE(wpisy.size(), liczba);
        QCOMPARE(wpisy.first(), QStringLiteral("Załącznik 1"));
        QCOMPARE(wpisy.last(), QStringLiteral("Załącznik %1").arg(liczba));
        QCOMPARE(wynik.value_or(0), wybrany);
    }

    void refilledForEveryChoice()
    {
        TWyborZal wybor;
        onNextModal<TWyborZal>([](TWyborZal &okno) { QTest::keyClick(okno.ListaZal, Qt::Key_End); okno.accept(); });
        QCOMPARE(wybor.Wybierz(6, 1).value_or(0), 6);
        onNextModal<TWyborZal>([](TWyborZal &okno) { okno.accept(); });
        QCOMPARE(wybor.Wybierz(2, 1).value_or(0), 1); // the first is selected again
        QCOMPARE(wybor.ListaZal->count(), 2);
    }
};

QTEST_MAIN(TestWyborZal)
#include "tst_wyborzal.moc"
