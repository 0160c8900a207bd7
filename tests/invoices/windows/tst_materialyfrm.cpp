#include "invoices/windows/materialyfrm.h"

#include "core/twindow.h"

#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QFile>
#include <QGroupBox>
#include <QTemporaryDir>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Material
{
    QString pkwiu;
    QString nazwa;
};

// The lists as stored, blanks around the values included.
const QList<Material> ListA = {
    {u" 23.61.11 "_s, u"Cegła budowlana pełna"_s},
    {u"ex 23.61"_s, u"Bloczki betonowe"_s},
    {u"26.40.11-10.00"_s, u"  CEGŁA KLINKIEROWA"_s},
    {u"20.10.10"_s, u"Deszczułki parkietowe ŁĄCZONE"_s},
    {u"25.12.10"_s, u"Okna i drzwi"_s},
};
const QList<Material> ListB = {
    {u"23.32.11.0"_s, u"Cegły murowe"_s},
    {u"ex 23.61.11.0"_s, u"Prefabrykaty – cegła\nwyłącznie elementy ścienne "_s},
    {u"16.23.11.0"_s, u"Okna, drzwi"_s},
};

} // namespace

// The building materials window over lists of our own.
class TestMaterialyFrm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    TWindow window;
    std::unique_ptr<TMaterialyFrm> frm;

    TDM &dm() { return db->dm; }
    QLineEdit *edit(const QString &name) { return childNamed<QLineEdit>(*frm, name); }
    QTableView *grid(const QString &name) { return childNamed<QTableView>(*frm, name); }
    QTabWidget *tabs() { return childNamed<QTabWidget>(*frm, u"PageControl"_s); }
    QString nameA() { return childNamed<QLabel>(*frm, u"NazwaA"_s)->text(); }
    QString nameB() { return childNamed<QPlainTextEdit>(*frm, u"NazwaB"_s)->toPlainText(); }

    static void store(Table &table, const QList<Material> &list)
    {
        int lp = table.recordCount();
        for (const Material &m : list)
            TestDatabase::addRecord(table, {{u"Lp"_s, ++lp}, {u"PKWiU"_s, m.pkwiu}, {u"Material"_s, m.nazwa}}, u"Lp"_s);
    }
    // The symbols a grid shows, top to bottom.
    static QStringList shown(QTableView *grid)
    {
        QStringList symbols;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            symbols << grid->model()->index(row, 0).data().toString();
        return symbols;
    }
    static QStringList symbols(const QList<Material> &list, const QList<int> &rows)
    {
        QStringList result;
        for (int row : rows)
            result << list[row].pkwiu.trimmed();
        return result;
    }
    void showWindow()
    {
        frm->show();
        frm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frm.get()));
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDatabase>();
        window = TWindow();
        // The installed lists are replaced by ours.
        dm().database().run(u"DELETE FROM WykazA"_s);
        dm().database().run(u"DELETE FROM WykazB"_s);
        store(dm().WykazA, ListA);
        store(dm().WykazB, ListB);
        frm = std::make_unique<TMaterialyFrm>(dm(), window);
    }
    void cleanup()
    {
        frm.reset();
        db.reset();
    }

    void theWindowAsItOpens()
    {
        showWindow();
        QCOMPARE(frm->windowTitle(), u"Wykaz materiałów budowlanych"_s);
        QCOMPARE(tabs()->count(), 2);
        QCOMPARE(tabs()->tabText(0), u"P&rzed 1 stycznia 2011 r."_s);
        QCOMPARE(tabs()->tabText(1), u"&Od 1 stycznia 2011 r."_s);
        QCOMPARE(tabs()->currentIndex(), 0);
        QCOMPARE(grid(u"GridA"_s)->model()->columnCount(), 2);
        QCOMPARE(grid(u"GridA"_s)->model()->headerData(1, Qt::Horizontal).toString(), u"Nazwa wyrobu (grupy wyrobów)"_s);
        QCOMPARE(grid(u"GridB"_s)->model()->columnCount(), 1);
        QCOMPARE(grid(u"GridB"_s)->model()->headerData(0, Qt::Horizontal).toString(), u"PKWiU"_s);
        QCOMPARE(childNamed<QGroupBox>(*frm, u"SzukajBox"_s)->title(), u"Szukaj: "_s);
        QVERIFY(childNamed<QPlainTextEdit>(*frm, u"NazwaB"_s)->isReadOnly());
    }

    // Every record in the table's order, each value trimmed; the first is current.
    void theListsAreCopiedTrimmed()
    {
        showWindow();
        QCOMPARE(shown(grid(u"GridA"_s)), symbols(ListA, {0, 1, 2, 3, 4}));
        QCOMPARE(shown(grid(u"GridB"_s)), symbols(ListB, {0, 1, 2}));
        QCOMPARE(grid(u"GridA"_s)->model()->index(2, 1).data().toString(), ListA[2].nazwa.trimmed());
        QCOMPARE(nameA(), ListA[0].nazwa.trimmed());
        QCOMPARE(nameB(), ListB[0].nazwa.trimmed());
    }

    void theNameFramesFollowTheCurrentRow()
    {
        showWindow();
        grid(u"GridA"_s)->selectRow(3);
        QCOMPARE(nameA(), ListA[3].nazwa.trimmed());
        tabs()->setCurrentIndex(1);
        grid(u"GridB"_s)->selectRow(1);
        QCOMPARE(nameB(), ListB[1].nazwa.trimmed());
        QVERIFY(childNamed<QLabel>(*frm, u"NazwaA"_s)->wordWrap());
    }

    void filtering_data()
    {
        QTest::addColumn<QString>("pkwiu");
        QTest::addColumn<QString>("nazwa");
        QTest::addColumn<QList<int>>("rowsA");
        QTest::addColumn<QList<int>>("rowsB");

        QTest::newRow("a symbol fragment at the start or inside") << u"23.61"_s << QString() << QList<int>{0, 1} << QList<int>{1};
        QTest::newRow("blanks around the fragment") << u"  23.61 "_s << QString() << QList<int>{0, 1} << QList<int>{1};
        QTest::newRow("a symbol fragment ignores case") << u"EX"_s << QString() << QList<int>{1} << QList<int>{1};
        QTest::newRow("cegła finds CEGŁA and Cegła") << QString() << u"cegła"_s << QList<int>{0, 2} << QList<int>{1};
        QTest::newRow("Polish capitals from small letters") << QString() << u"łączone"_s << QList<int>{3} << QList<int>{};
        QTest::newRow("a name fragment inside") << QString() << u" drzwi"_s << QList<int>{4} << QList<int>{2};
        QTest::newRow("both fragments together") << u"23.61"_s << u"cegła"_s << QList<int>{0} << QList<int>{1};
        QTest::newRow("both, one matching nothing") << u"26.40"_s << u"drzwi"_s << QList<int>{} << QList<int>{};
        QTest::newRow("matching nothing") << u"99.99"_s << QString() << QList<int>{} << QList<int>{};
        QTest::newRow("blanks alone show everything") << u"   "_s << u" "_s << QList<int>{0, 1, 2, 3, 4} << QList<int>{0, 1, 2};
    }

    void filtering()
    {
        QFETCH(QString, pkwiu);
        QFETCH(QString, nazwa);
        QFETCH(QList<int>, rowsA);
        QFETCH(QList<int>, rowsB);

        showWindow();
        typeText(edit(u"PKWiU"_s), pkwiu);
        typeText(edit(u"Nazwa"_s), nazwa);
        QCOMPARE(shown(grid(u"GridA"_s)), symbols(ListA, rowsA));
        QCOMPARE(shown(grid(u"GridB"_s)), symbols(ListB, rowsB));
        // The first row that shows is current; nothing shows: no name.
        QCOMPARE(nameA(), rowsA.isEmpty() ? QString() : ListA[rowsA.first()].nazwa.trimmed());
        QCOMPARE(nameB(), rowsB.isEmpty() ? QString() : ListB[rowsB.first()].nazwa.trimmed());
        QCOMPARE(grid(u"GridA"_s)->selectionModel()->currentIndex().row(), rowsA.isEmpty() ? -1 : 0);
    }

    void clearingShowsEveryRowAgain_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("the clear button") << u"button"_s;
        QTest::newRow("deleting the text") << u"backspace"_s;
    }

    void clearingShowsEveryRowAgain()
    {
        QFETCH(QString, how);
        showWindow();
        typeText(edit(u"PKWiU"_s), u"23.61"_s);
        typeText(edit(u"Nazwa"_s), u"ceg"_s);
        QCOMPARE(shown(grid(u"GridA"_s)).size(), 1);
        if (how == u"button") {
            QTest::mouseClick(childNamed<QToolButton>(*frm, u"CzyscBtn"_s), Qt::LeftButton);
            QVERIFY(edit(u"PKWiU"_s)->text().isEmpty());
            QVERIFY(edit(u"Nazwa"_s)->text().isEmpty());
        } else {
            typeText(edit(u"PKWiU"_s), u"\b\b\b\b\b"_s);
            typeText(edit(u"Nazwa"_s), u"\b\b\b"_s);
        }
        QCOMPARE(shown(grid(u"GridA"_s)), symbols(ListA, {0, 1, 2, 3, 4}));
        QCOMPARE(shown(grid(u"GridB"_s)), symbols(ListB, {0, 1, 2}));
        QCOMPARE(nameA(), ListA[0].nazwa.trimmed());
    }

    void theTablesAreNeitherChangedNorReadAgain()
    {
        const QList<SqlRow> before = db->storedRows(u"WykazA"_s);
        showWindow();
        typeText(edit(u"Nazwa"_s), u"cegła"_s);
        QCOMPARE(db->storedRows(u"WykazA"_s), before);
        // Read once, when the window was created.
        store(dm().WykazB, {{u"99.99"_s, u"Nowy wyrób"_s}});
        QTest::mouseClick(childNamed<QToolButton>(*frm, u"CzyscBtn"_s), Qt::LeftButton);
        QCOMPARE(shown(grid(u"GridB"_s)), symbols(ListB, {0, 1, 2}));
    }

    void theSearchStaysBetweenOpenings()
    {
        showWindow();
        typeText(edit(u"PKWiU"_s), u"ex"_s);
        QTest::mouseClick(childNamed<QPushButton>(*frm, u"OKBtn"_s), Qt::LeftButton);
        QVERIFY(!frm->isVisible());
        showWindow();
        QCOMPARE(edit(u"PKWiU"_s)->text(), u"ex"_s);
        QCOMPARE(shown(grid(u"GridA"_s)), symbols(ListA, {1}));
    }

    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<int>("result");
        QTest::newRow("OK") << u"ok"_s << true << int(QDialog::Accepted);
        QTest::newRow("Enter") << u"enter"_s << true << int(QDialog::Accepted);
        QTest::newRow("the close box") << u"close"_s << true << int(QDialog::Rejected);
        QTest::newRow("Esc does nothing") << u"esc"_s << false << 0;
    }

    void closing()
    {
        QFETCH(QString, how);
        QFETCH(bool, closes);
        QFETCH(int, result);
        showWindow();
        frm->setResult(-1);
        if (how == u"ok")
            QTest::mouseClick(childNamed<QPushButton>(*frm, u"OKBtn"_s), Qt::LeftButton);
        else if (how == u"enter")
            QTest::keyClick(edit(u"Nazwa"_s), Qt::Key_Return);
        else if (how == u"close")
            frm->close();
        else
            QTest::keyClick(edit(u"PKWiU"_s), Qt::Key_Escape);
        QCOMPARE(frm->isVisible(), !closes);
        if (closes)
            QCOMPARE(frm->result(), result);
        else
            QCOMPARE(frm->result(), -1);
    }

    // Each tab says how many positions its list holds and that the list may
    // be incomplete, so that a product not found is not taken as excluded.
    void eachListSaysHowManyItHolds()
    {
        showWindow();
        keepShot(*frm, u"materialy"_s);
        const QString a = childNamed<QLabel>(*frm, u"LiczbaA"_s)->text();
        const QString b = childNamed<QLabel>(*frm, u"LiczbaB"_s)->text();
        QVERIFY2(a.startsWith(u"Wykaz zawiera 5 poz. i może być niepełny"_s), qPrintable(a));
        QVERIFY2(b.startsWith(u"Wykaz zawiera 3 poz. i może być niepełny"_s), qPrintable(b));
        QVERIFY(a.contains(u"nie oznacza, że wydatek nie podlega zwrotowi"_s));
    }

    // "&Wczytaj wykaz z pliku…" replaces the list of the tab shown with the
    // file's, once the whole file passed the check and the user agreed; a
    // file with a fault changes nothing and says which position is wrong.
    void loadingAListFromAFile_data()
    {
        QTest::addColumn<int>("zakladka");
        QTest::addColumn<QByteArray>("plik");
        QTest::addColumn<bool>("zgoda");
        QTest::addColumn<QStringList>("symbole"); // the list shown afterwards
        QTest::addColumn<QString>("blad");         // the second line of the warning; empty: none

        const QByteArray dobry = "Lp;PKWiU;Material\n1;ex 14.21;Żwir i piasek\n2;26.61.11;\"Cement; portlandzki\"\n"
                                 "3;26.40.11;Cegła budowlana\n";
        const QStringList wczytane{u"ex 14.21"_s, u"26.61.11"_s, u"26.40.11"_s};
        const QStringList listaA = symbols(ListA, {0, 1, 2, 3, 4});
        QTest::newRow("list A replaced") << 0 << dobry << true << wczytane << QString();
        QTest::newRow("list B replaced") << 1 << QByteArray("\xEF\xBB\xBF" + dobry) << true << wczytane << QString();
        QTest::newRow("not agreed") << 0 << dobry << false << listaA << QString();
        QTest::newRow("other columns") << 0 << QByteArray("Nr;Symbol;Nazwa\n1;14.21;Żwir\n") << true << listaA
                                       << u"Pierwszy wiersz pliku musi nazywać kolumny „Lp;PKWiU;Material”."_s;
        QTest::newRow("a number twice") << 0 << QByteArray("Lp;PKWiU;Material\n1;14.21;Żwir\n1;14.22;Piasek\n") << true
                                        << listaA << u"Pozycja 2 pliku: liczba porządkowa 1 powtarza się."_s;
        QTest::newRow("no name") << 0 << QByteArray("Lp;PKWiU;Material\n1;14.21;  \n") << true << listaA
                                 << u"Pozycja 1 pliku: brak symbolu PKWiU albo nazwy wyrobu."_s;
        QTest::newRow("a field missing") << 0 << QByteArray("Lp;PKWiU;Material\n1;14.21\n") << true << listaA
                                         << u"Pozycja 1 pliku: liczba pól 2 zamiast 3 (Lp;PKWiU;Material)."_s;
        QTest::newRow("name too long for list A") << 0 << QByteArray("Lp;PKWiU;Material\n1;14.21;" + QByteArray(256, 'x') + "\n")
                                                  << true << listaA << u"Pozycja 1 pliku: nazwa wyrobu jest dłuższa niż 255 znaków."_s;
        QTest::newRow("no position") << 0 << QByteArray("Lp;PKWiU;Material\n") << true << listaA
                                     << u"Plik nie zawiera żadnej pozycji wykazu."_s;
    }
    void loadingAListFromAFile()
    {
        QFETCH(int, zakladka);
        QFETCH(QByteArray, plik);
        QFETCH(bool, zgoda);
        QFETCH(QStringList, symbole);
        QFETCH(QString, blad);
        QTemporaryDir katalog;
        const QString sciezka = katalog.filePath(u"wykaz.csv"_s);
        QFile zapis(sciezka);
        QVERIFY(zapis.open(QIODevice::WriteOnly) && zapis.write(plik) == plik.size());
        zapis.close();
        frm = std::make_unique<TMaterialyFrm>(dm(), window, nullptr, [&](QWidget *, const PytanieOPlik &) { return sciezka; });
        showWindow();
        tabs()->setCurrentIndex(zakladka);
        const QString tabela = zakladka == 0 ? u"WykazA"_s : u"WykazB"_s;
        const QList<SqlRow> przed = db->storedRows(tabela);
        const QList<SqlRow> drugiej = db->storedRows(zakladka == 0 ? u"WykazB"_s : u"WykazA"_s);
        db->boxes.answer(zgoda);
        QTest::keyClick(frm.get(), Qt::Key_W, Qt::AltModifier);
        // A button's accelerator clicks it after a moment; every file is answered by a box.
        QTRY_VERIFY(!db->boxes.shown().isEmpty());

        QTableView *siatka = grid(zakladka == 0 ? u"GridA"_s : u"GridB"_s);
        if (!blad.isEmpty()) {
            QCOMPARE(db->boxes.texts().size(), 1);
            QCOMPARE(db->boxes.texts().first().section(u'\r', 1), blad);
        }
        const QStringList pierwotne = zakladka == 0 ? symbols(ListA, {0, 1, 2, 3, 4}) : symbols(ListB, {0, 1, 2});
        const bool zastapiony = blad.isEmpty() && zgoda;
        QCOMPARE(shown(siatka), zastapiony ? symbole : pierwotne);
        QCOMPARE(db->storedRows(tabela).size(), zastapiony ? 3 : przed.size());
        if (!zastapiony)
            QCOMPARE(db->storedRows(tabela), przed);
        QCOMPARE(db->storedRows(zakladka == 0 ? u"WykazB"_s : u"WykazA"_s), drugiej);
        if (zastapiony) {
            keepShot(*frm, u"materialy-wczytane"_s);
            QCOMPARE(db->boxes.shown().last().kind, MessageRequest::Kind::Information);
            QVERIFY(childNamed<QLabel>(*frm, zakladka == 0 ? u"LiczbaA"_s : u"LiczbaB"_s)->text().startsWith(u"Wykaz zawiera 3 poz."_s));
            // Searching finds what the file brought: "cement" with a semicolon in its name.
            typeText(edit(u"Nazwa"_s), u"cement"_s);
            QCOMPARE(shown(siatka), QStringList{u"26.61.11"_s});
            siatka->setCurrentIndex(siatka->model()->index(0, 0));
            QCOMPARE(zakladka == 0 ? nameA() : nameB(), u"Cement; portlandzki"_s);
        }
    }

    void accelerators_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("tab");
        QTest::newRow("Alt+P") << Qt::Key_P << u"PKWiU"_s << 0;
        QTest::newRow("Alt+N") << Qt::Key_N << u"Nazwa"_s << 0;
        QTest::newRow("Alt+O") << Qt::Key_O << QString() << 1;
    }

    void accelerators()
    {
        QFETCH(Qt::Key, key);
        QFETCH(QString, focus);
        QFETCH(int, tab);
        showWindow();
        grid(u"GridA"_s)->setFocus();
        QTest::keyClick(frm.get(), key, Qt::AltModifier);
        if (!focus.isEmpty())
            QCOMPARE(QApplication::focusWidget(), edit(focus));
        QCOMPARE(tabs()->currentIndex(), tab);
        QTest::keyClick(frm.get(), Qt::Key_R, Qt::AltModifier);
        QCOMPARE(tabs()->currentIndex(), 0);
    }

    void centredUntilPlacedThenWhereItWasClosed()
    {
        const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY((frm->frameGeometry().center() - desktop.center()).manhattanLength() <= 2);
        showWindow();
        frm->move(40, 50);
        const QPoint closedAt = frm->pos();
        frm->close();
        TWindow stored;
        stored.setNazwa(u"MaterialyFrm"_s);
        QVERIFY(stored.Wczytaj());
        QCOMPARE(QPoint(stored.Left(), stored.Top()), closedAt);

        TMaterialyFrm again(dm(), window);
        QCOMPARE(again.pos(), closedAt);
    }
};

QTEST_MAIN(TestMaterialyFrm)
#include "tst_materialyfrm.moc"
