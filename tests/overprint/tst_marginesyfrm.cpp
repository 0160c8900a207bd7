#include "overprint/marginesyfrm.h"

#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Page -> {left, top}.
using Marginesy = QMap<int, QPair<int, int>>;

enum class Tryb { Wniosek, Zalacznik };

} // namespace

Q_DECLARE_METATYPE(Marginesy)
Q_DECLARE_METATYPE(Tryb)

// The margins dialog over the margins table of a database made by the
// installer (which leaves the table empty).
class TestMarginesyFrm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TMarginesyFrm> frm;

    QSpinBox *margines(const QString &rodzaj, int strona)
    {
        return childNamed<QSpinBox>(*frm, u"Ed%1%2"_s.arg(rodzaj).arg(strona));
    }

    void zapiszWiersz(const QString &symbol, int strona, int lewy, int gorny)
    {
        TestDatabase::addRecord(db->dm.Marginesy,
                                {{u"SymbolPit"_s, symbol}, {u"Strona"_s, strona}, {u"Lewy"_s, lewy}, {u"Gorny"_s, gorny}},
                                u"Strona"_s);
    }

    // The stored rows of a symbol: page -> {left, top}.
    Marginesy zapisane(const QString &symbol)
    {
        Marginesy wiersze;
        for (const SqlRow &r : db->dm.database()
                                   .run(u"SELECT Strona, Lewy, Gorny FROM Margin WHERE SymbolPit = ? ORDER BY Strona"_s,
                                        {}, {symbol})
                                   .rows)
            wiersze.insert(r[0].toInt(), {r[1].toInt(), r[2].toInt()});
        return wiersze;
    }

    int liczbaWierszy()
    {
        return db->dm.database().run(u"SELECT COUNT(*) FROM Margin"_s).rows.value(0).value(0).toInt();
    }

    // Opens the dialog in its mode and lets `act` work in it while it is shown.
    void pokaz(Tryb tryb, const std::function<void(TMarginesyFrm &)> &act)
    {
        onNextModal<TMarginesyFrm>(act);
        if (tryb == Tryb::Wniosek)
            frm->ShowMarginesyWniosek();
        else
            frm->ShowMarginesyZalacznik();
    }

    static void wpisz(QSpinBox *pole, int wartosc)
    {
        pole->setFocus();
        pole->selectAll();
        typeText(pole, QString::number(wartosc));
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDatabase>();
        frm = std::make_unique<TMarginesyFrm>(db->dm);
    }
    void cleanup()
    {
        frm.reset();
        db.reset();
    }

    // The mode sets the title and the rows; with no row of its symbol every
    // box shows 0, also after other values were shown before.
    void symbolWithoutRowsShowsZeros_data()
    {
        QTest::addColumn<Tryb>("tryb");
        QTest::addColumn<QString>("tytul");
        QTest::addColumn<int>("stron");
        QTest::newRow("wniosek") << Tryb::Wniosek << u"Marginesy - wniosek"_s << 3;
        QTest::newRow("załącznik") << Tryb::Zalacznik << u"Marginesy - załącznik"_s << 2;
    }
    void symbolWithoutRowsShowsZeros()
    {
        QFETCH(Tryb, tryb);
        QFETCH(QString, tytul);
        QFETCH(int, stron);
        // The other symbol's rows do not count.
        zapiszWiersz(tryb == Tryb::Wniosek ? u"VZM-1/A"_s : u"VZM-1"_s, 1, 5, 6);
        QList<int> pokazane;
        QString pokazanyTytul;
        QList<bool> widoczne;
        db->boxes.answer(true); // drop the values typed
        pokaz(tryb, [&](TMarginesyFrm &okno) {
            pokazanyTytul = okno.windowTitle();
            for (int s = 1; s <= 3; ++s) {
                pokazane << margines(u"Lewy"_s, s)->value() << margines(u"Gorny"_s, s)->value();
                widoczne << margines(u"Lewy"_s, s)->isVisible();
                // Values typed and then thrown away must not show next time.
                margines(u"Lewy"_s, s)->setValue(40 + s);
            }
            okno.reject();
        });
        QCOMPARE(pokazanyTytul, tytul);
        QCOMPARE(pokazane, QList<int>(6, 0));
        QCOMPARE(widoczne, (QList<bool>{true, true, stron == 3}));
        pokazane.clear();
        pokaz(tryb, [&](TMarginesyFrm &okno) {
            for (int s = 1; s <= 3; ++s)
                pokazane << margines(u"Lewy"_s, s)->value() << margines(u"Gorny"_s, s)->value();
            okno.reject();
        });
        QCOMPARE(pokazane, QList<int>(6, 0));
    }

    // Stored values are shown on their pages; a page without a row shows 0.
    void storedValuesAreShown_data()
    {
        QTest::addColumn<Tryb>("tryb");
        QTest::addColumn<Marginesy>("wiersze");
        QTest::addColumn<QList<int>>("pokazane"); // left and top of pages 1 to 3
        QTest::newRow("wniosek, trzy strony") << Tryb::Wniosek << Marginesy{{1, {3, -2}}, {2, {0, 7}}, {3, {999, -99}}}
                                             << QList<int>{3, -2, 0, 7, 999, -99};
        QTest::newRow("wniosek, bez strony 2") << Tryb::Wniosek << Marginesy{{1, {1, 1}}, {3, {4, 5}}}
                                              << QList<int>{1, 1, 0, 0, 4, 5};
        QTest::newRow("wniosek, strona 4 nie ma pól") << Tryb::Wniosek << Marginesy{{4, {8, 8}}}
                                                     << QList<int>{0, 0, 0, 0, 0, 0};
        QTest::newRow("załącznik") << Tryb::Zalacznik << Marginesy{{1, {-5, 12}}, {2, {6, 0}}, {3, {9, 9}}}
                                   << QList<int>{-5, 12, 6, 0, 0, 0};
    }
    void storedValuesAreShown()
    {
        QFETCH(Tryb, tryb);
        QFETCH(Marginesy, wiersze);
        QFETCH(QList<int>, pokazane);
        const QString symbol = tryb == Tryb::Wniosek ? u"VZM-1"_s : u"VZM-1/A"_s;
        for (auto it = wiersze.begin(); it != wiersze.end(); ++it)
            zapiszWiersz(symbol, it.key(), it->first, it->second);
        QList<int> wartosci;
        pokaz(tryb, [&](TMarginesyFrm &okno) {
            for (int s = 1; s <= 3; ++s)
                wartosci << margines(u"Lewy"_s, s)->value() << margines(u"Gorny"_s, s)->value();
            okno.reject();
        });
        QCOMPARE(wartosci, pokazane);
    }

    // Saving adds a row for every page of the mode that has none, zeros
    // included, and changes the rows that exist; the other symbol keeps its rows.
    void savingAddsAndChangesRows_data()
    {
        QTest::addColumn<Tryb>("tryb");
        QTest::addColumn<Marginesy>("przed");
        QTest::addColumn<Marginesy>("wpisane");
        QTest::addColumn<Marginesy>("po");
        QTest::newRow("wniosek, pusta tabela") << Tryb::Wniosek << Marginesy{} << Marginesy{{2, {4, -3}}}
                                              << Marginesy{{1, {0, 0}}, {2, {4, -3}}, {3, {0, 0}}};
        QTest::newRow("załącznik, same zera") << Tryb::Zalacznik << Marginesy{} << Marginesy{}
                                             << Marginesy{{1, {0, 0}}, {2, {0, 0}}};
        QTest::newRow("wniosek, brak strony 3") << Tryb::Wniosek << Marginesy{{1, {1, 2}}, {2, {3, 4}}}
                                               << Marginesy{{1, {10, 2}}, {3, {-99, 999}}}
                                               << Marginesy{{1, {10, 2}}, {2, {3, 4}}, {3, {-99, 999}}};
        QTest::newRow("załącznik, zmiana obu") << Tryb::Zalacznik << Marginesy{{1, {1, 2}}, {2, {3, 4}}}
                                              << Marginesy{{2, {0, 0}}} << Marginesy{{1, {1, 2}}, {2, {0, 0}}};
    }
    void savingAddsAndChangesRows()
    {
        QFETCH(Tryb, tryb);
        QFETCH(Marginesy, przed);
        QFETCH(Marginesy, wpisane);
        QFETCH(Marginesy, po);
        const QString symbol = tryb == Tryb::Wniosek ? u"VZM-1"_s : u"VZM-1/A"_s;
        const QString inny = tryb == Tryb::Wniosek ? u"VZM-1/A"_s : u"VZM-1"_s;
        for (auto it = przed.begin(); it != przed.end(); ++it)
            zapiszWiersz(symbol, it.key(), it->first, it->second);
        zapiszWiersz(inny, 1, 7, 7);
        pokaz(tryb, [&](TMarginesyFrm &okno) {
            for (auto it = wpisane.begin(); it != wpisane.end(); ++it) {
                wpisz(margines(u"Lewy"_s, it.key()), it->first);
                wpisz(margines(u"Gorny"_s, it.key()), it->second);
            }
            QTest::mouseClick(childNamed<QPushButton>(okno, u"PostBtn"_s), Qt::LeftButton);
        });
        QVERIFY(!frm->isVisible());
        QCOMPARE(frm->result(), int(QDialog::Accepted));
        QCOMPARE(zapisane(symbol), po);
        QCOMPARE(zapisane(inny), (Marginesy{{1, {7, 7}}}));
        QVERIFY(db->boxes.texts().isEmpty());
        // What the overprint reads.
        const int formularz = tryb == Tryb::Wniosek ? 0 : 1;
        for (auto it = po.begin(); it != po.end(); ++it) {
            QCOMPARE(db->dm.MarginesLewy(formularz, it.key()), it->first);
            QCOMPARE(db->dm.MarginesGorny(formularz, it.key()), it->second);
        }
    }

    // Only the values that changed are written: the columns written are
    // logged by triggers.
    void onlyChangedValuesAreWritten_data()
    {
        QTest::addColumn<Marginesy>("wpisane");
        QTest::addColumn<QStringList>("zapisy");
        QTest::newRow("bez zmian") << Marginesy{} << QStringList{};
        QTest::newRow("te same wartości wpisane") << Marginesy{{1, {1, 2}}, {2, {3, 4}}, {3, {5, 6}}} << QStringList{};
        QTest::newRow("lewy strony 2") << Marginesy{{2, {-3, 4}}} << QStringList{u"Lewy 2"_s};
        QTest::newRow("górny strony 3") << Marginesy{{3, {5, 0}}} << QStringList{u"Gorny 3"_s};
        QTest::newRow("oba strony 1") << Marginesy{{1, {0, 0}}} << QStringList{u"Lewy 1"_s, u"Gorny 1"_s};
    }
    void onlyChangedValuesAreWritten()
    {
        QFETCH(Marginesy, wpisane);
        QFETCH(QStringList, zapisy);
        for (int s = 1; s <= 3; ++s)
            zapiszWiersz(u"VZM-1"_s, s, 2 * s - 1, 2 * s);
        Database &baza = db->dm.database();
        baza.run(u"CREATE TABLE Zapisy (Opis TEXT)"_s);
        baza.run(u"CREATE TRIGGER ZapisLewego AFTER UPDATE OF Lewy ON Margin BEGIN "
                 "INSERT INTO Zapisy VALUES ('Lewy ' || NEW.Strona); END"_s);
        baza.run(u"CREATE TRIGGER ZapisGornego AFTER UPDATE OF Gorny ON Margin BEGIN "
                 "INSERT INTO Zapisy VALUES ('Gorny ' || NEW.Strona); END"_s);
        baza.run(u"CREATE TRIGGER Dodanie AFTER INSERT ON Margin BEGIN "
                 "INSERT INTO Zapisy VALUES ('nowy ' || NEW.Strona); END"_s);
        pokaz(Tryb::Wniosek, [&](TMarginesyFrm &) {
            for (auto it = wpisane.begin(); it != wpisane.end(); ++it) {
                wpisz(margines(u"Lewy"_s, it.key()), it->first);
                wpisz(margines(u"Gorny"_s, it.key()), it->second);
            }
            // Enter saves: "&Zapisz" is the default button.
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        QCOMPARE(frm->result(), int(QDialog::Accepted));
        QStringList zapisane;
        for (const SqlRow &r : baza.run(u"SELECT Opis FROM Zapisy ORDER BY rowid"_s).rows)
            zapisane << r[0].toString();
        // One statement may write both columns; the triggers then log in either order.
        zapisane.sort();
        zapisy.sort();
        QCOMPARE(zapisane, zapisy);
        QCOMPARE(liczbaWierszy(), 3);
    }

    // "&Anuluj" and Esc write nothing, once the user agrees to drop what
    // was typed.
    void cancelWritesNothing_data()
    {
        QTest::addColumn<bool>("esc");
        QTest::newRow("Anuluj") << false;
        QTest::newRow("Esc") << true;
    }
    void cancelWritesNothing()
    {
        QFETCH(bool, esc);
        zapiszWiersz(u"VZM-1/A"_s, 1, 1, 1);
        db->boxes.answer(true);
        pokaz(Tryb::Zalacznik, [&](TMarginesyFrm &okno) {
            wpisz(margines(u"Lewy"_s, 1), 20);
            wpisz(margines(u"Gorny"_s, 2), 30);
            if (esc)
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            else
                QTest::mouseClick(childNamed<QPushButton>(okno, u"CancelBtn"_s), Qt::LeftButton);
        });
        QVERIFY(!frm->isVisible());
        QCOMPARE(db->boxes.texts(), QStringList{u"Porzucić zmienione marginesy?"_s});
        QCOMPARE(zapisane(u"VZM-1/A"_s), (Marginesy{{1, {1, 1}}}));
        QCOMPARE(liczbaWierszy(), 1);
    }

    // A refused write is reported, nothing of the save stays, and the
    // window keeps what was typed.
    void refusedSaveIsReportedAndUndone()
    {
        zapiszWiersz(u"VZM-1"_s, 1, 1, 1);
        db->dm.database().run(u"CREATE TRIGGER Blokada BEFORE INSERT ON Margin WHEN NEW.Strona = 3 BEGIN "
                              "SELECT RAISE(ABORT, 'zapis zablokowany'); END"_s);
        bool otwarte = false;
        int wpisany = 0;
        pokaz(Tryb::Wniosek, [&](TMarginesyFrm &okno) {
            wpisz(margines(u"Lewy"_s, 1), 9);
            QTest::mouseClick(childNamed<QPushButton>(okno, u"PostBtn"_s), Qt::LeftButton);
            otwarte = okno.isVisible();
            wpisany = margines(u"Lewy"_s, 1)->value();
            db->boxes.answer(true);
            okno.reject();
        });
        QVERIFY(otwarte);
        QCOMPARE(wpisany, 9);
        QCOMPARE(db->boxes.texts().size(), 2);
        QVERIFY(db->boxes.texts().first().startsWith(u"Nie udało się zapisać marginesów:\r"_s));
        QCOMPARE(db->boxes.shown().first().title, u"Uwaga"_s);
        QCOMPARE(zapisane(u"VZM-1"_s), (Marginesy{{1, {1, 1}}}));
        QVERIFY(!db->dm.Marginesy.isEditing());
    }

    // Up to three characters: -99 to 999; the accelerators of the rows lead
    // to their left margins.
    void rangeAndKeyboard()
    {
        QList<int> granice;
        QStringList fokus;
        db->boxes.answer(true);
        pokaz(Tryb::Wniosek, [&](TMarginesyFrm &okno) {
            QSpinBox *pole = margines(u"Gorny"_s, 2);
            granice << pole->minimum() << pole->maximum();
            wpisz(pole, 12345);
            granice << pole->value();
            for (Qt::Key k : {Qt::Key_3, Qt::Key_1, Qt::Key_2}) {
                QTest::keyClick(&okno, k, Qt::AltModifier);
                fokus << QApplication::focusWidget()->objectName();
            }
            okno.reject();
        });
        QCOMPARE(granice, (QList<int>{-99, 999, 123}));
        QCOMPARE(fokus, (QStringList{u"EdLewy3"_s, u"EdLewy1"_s, u"EdLewy2"_s}));
    }
};

QTEST_MAIN(TestMarginesyFrm)
#include "tst_marginesyfrm.moc"
