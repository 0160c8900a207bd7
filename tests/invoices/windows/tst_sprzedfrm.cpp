#include "invoices/windows/sprzedfrm.h"

#include "core/twindow.h"

#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

struct Seller
{
    QString kod;
    QString nip;
    QString firma;
};

// Five sellers; the register lists them by NIP, in this order.
const QList<Seller> Sellers = {
    {u"BUD"_s, u"106-000-70-06"_s, u"Budmat"_s},
    {u"CEG"_s, u"123-456-32-18"_s, u"Cegielnia Łódź"_s},
    {u"ŁAD"_s, u"124-000-00-00"_s, u"Ład i Skład"_s},
    {u"ceg2"_s, u"125-111-22-33"_s, u"Żwirownia"_s},
    {QString(), u"526-025-09-95"_s, u"Cegielnia Łódź"_s},
};

// NIPs that pass the check digit test.
const QString ValidNip = u"777-000-11-11"_s;
const QString OtherValidNip = u"951-000-22-21"_s;

} // namespace

// The sellers register over a real database.
class TestSprzedFrm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    TWindow window;
    std::unique_ptr<TSprzedFrm> frm;

    TDM &dm() { return db->dm; }
    QLineEdit *edit(const QString &name) { return childNamed<QLineEdit>(*frm, name); }
    QPushButton *button(const QString &name) { return childNamed<QPushButton>(*frm, name); }
    QTableView *grid() { return childNamed<QTableView>(*frm, u"DBGrid1"_s); }

    void addSellers(const QList<Seller> &sellers)
    {
        for (const Seller &s : sellers) {
            dm().Firmy.append();
            dm().Firmy.field(u"Kod"_s).setString(s.kod);
            dm().Firmy.field(u"NIP"_s).setString(s.nip);
            dm().Firmy.field(u"Firma"_s).setString(s.firma);
            dm().Firmy.post();
        }
        dm().Firmy.first();
    }
    // The register as stored, one "Kod|NIP|Firma" line per seller, sorted.
    QStringList stored()
    {
        QStringList lines;
        for (const SqlRow &row : dm().database().run(u"SELECT Kod, NIP, Firma FROM Firmy"_s).rows)
            lines << row[0].toString() + u'|' + row[1].toString() + u'|' + row[2].toString();
        lines.sort();
        return lines;
    }
    static QString line(const Seller &s) { return s.kod + u'|' + s.nip + u'|' + s.firma; }
    QString currentNip() { return dm().Firmy.field(u"NIP"_s).asString(); }
    int selectedRow() { return grid()->selectionModel()->currentIndex().row(); }

    void showWindow()
    {
        frm->show();
        frm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frm.get()));
    }
    void fill(const QString &kod, const QString &nip, const QString &firma)
    {
        edit(u"EdKod"_s)->setText(kod);
        edit(u"EdNIP"_s)->setText(nip);
        edit(u"EdFirma"_s)->setText(firma);
    }
    // The user picks a seller in the grid.
    void selectSeller(int index)
    {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {},
                          grid()->visualRect(grid()->model()->index(index, 1)).center());
        QCOMPARE(currentNip(), Sellers[index].nip);
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDatabase>();
        window = TWindow();
        frm = std::make_unique<TSprzedFrm>(dm(), window);
    }
    void cleanup()
    {
        frm.reset();
        db.reset();
    }

    void theWindowAsItOpens()
    {
        addSellers(Sellers);
        showWindow();
        QCOMPARE(frm->windowTitle(), u"Sprzedawcy"_s);
        QCOMPARE(frm->minimumSize(), QSize(487, 302));
        QCOMPARE(QApplication::focusWidget(), edit(u"EdNIP"_s));
        QCOMPARE(grid()->model()->headerData(0, Qt::Horizontal).toString(), u"Kod"_s);
        QCOMPARE(grid()->model()->headerData(1, Qt::Horizontal).toString(), u"NIP"_s);
        QCOMPARE(grid()->model()->headerData(2, Qt::Horizontal).toString(), u"Nazwa"_s);
        QCOMPARE(grid()->model()->rowCount(), int(Sellers.size()));
        QCOMPARE(grid()->model()->index(1, 2).data().toString(), Sellers[1].firma);
        QCOMPARE(grid()->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(grid()->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(button(u"WybierzBtn"_s)->isDefault());
        QCOMPARE(edit(u"EdKod"_s)->maxLength(), 13);
        QCOMPARE(edit(u"EdNIP"_s)->maxLength(), 13);
        QCOMPARE(edit(u"EdFirma"_s)->maxLength(), 50);
    }

    // Each keystroke searches; `expected` is the seller current afterwards.
    void searchAsYouType_data()
    {
        QTest::addColumn<int>("startAt");
        QTest::addColumn<QString>("kod");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("firma");
        QTest::addColumn<int>("expected");

        QTest::newRow("NIP alone, a prefix") << 0 << QString() << u"12"_s << QString() << 1;
        QTest::newRow("NIP alone, longer prefix") << 0 << QString() << u"124"_s << QString() << 2;
        QTest::newRow("NIP alone is searched as typed") << 0 << QString() << u"125-"_s << QString() << 3;
        QTest::newRow("NIP alone, a letter after the digits") << 0 << QString() << u"125x"_s << QString() << 3;
        QTest::newRow("code alone, other case") << 4 << u"ceg"_s << QString() << QString() << 1;
        QTest::newRow("code alone, longer") << 0 << u"CEG2"_s << QString() << QString() << 3;
        QTest::newRow("code alone, Polish letter folded") << 0 << u"ład"_s << QString() << QString() << 2;
        QTest::newRow("name alone") << 0 << QString() << QString() << u"żwir"_s << 3;
        QTest::newRow("name alone, Polish letters folded") << 0 << QString() << QString() << u"CEGIELNIA ŁÓDŹ"_s << 1;
        QTest::newRow("name matching nothing leaves the row") << 2 << QString() << QString() << u"Qwerty"_s << 2;
        QTest::newRow("NIP and name") << 0 << QString() << u"5"_s << u"cegielnia"_s << 4;
        QTest::newRow("NIP and name, NIP cut after its last digit") << 0 << QString() << u"125-x"_s << u"żw"_s << 3;
        QTest::newRow("code and name") << 0 << u"ceg"_s << QString() << u"żw"_s << 3;
        // The code alone finds Budmat first; with the name nothing matches.
        QTest::newRow("code and name, no such seller") << 2 << u"BUD"_s << QString() << u"Cegielnia"_s << 0;
        QTest::newRow("code and NIP") << 0 << u"ceg"_s << u"125"_s << QString() << 3;
        QTest::newRow("code, NIP and name") << 0 << u"CEG"_s << u"12"_s << u"ceg"_s << 1;
        QTest::newRow("code, NIP and name, no such seller") << 0 << u"CEG"_s << u"12"_s << u"Q"_s << 1;
        QTest::newRow("code, NIP and name, the next seller") << 0 << u"CEG"_s << u"12"_s << u"ż"_s << 3;
        QTest::newRow("a NIP without digits is not given") << 0 << u"ceg"_s << u"--"_s << QString() << 1;
        QTest::newRow("blanks alone: the first seller") << 3 << QString() << QString() << u"  "_s << 0;
    }

    void searchAsYouType()
    {
        QFETCH(int, startAt);
        QFETCH(QString, kod);
        QFETCH(QString, nip);
        QFETCH(QString, firma);
        QFETCH(int, expected);

        addSellers(Sellers);
        showWindow();
        selectSeller(startAt);
        typeText(edit(u"EdKod"_s), kod);
        typeText(edit(u"EdNIP"_s), nip);
        typeText(edit(u"EdFirma"_s), firma);
        QCOMPARE(currentNip(), Sellers[expected].nip);
        QCOMPARE(selectedRow(), expected);
    }

    // Pasted text searches once, with the whole text.
    void searchForPastedText_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("firma");
        QTest::addColumn<int>("expected");

        QTest::newRow("NIP alone as given") << u"124-"_s << QString() << 2;
        QTest::newRow("NIP alone, not cut after its last digit") << u"125x"_s << QString() << 0;
        QTest::newRow("NIP with the name, cut after its last digit") << u"125x"_s << u"Żwir"_s << 3;
    }

    void searchForPastedText()
    {
        QFETCH(QString, nip);
        QFETCH(QString, firma);
        QFETCH(int, expected);

        addSellers(Sellers);
        showWindow();
        selectSeller(0);
        // Both at once, as a paste of a whole seller would.
        QSignalBlocker quiet(edit(u"EdFirma"_s));
        edit(u"EdFirma"_s)->setText(firma);
        quiet.unblock();
        edit(u"EdNIP"_s)->setText(nip);
        QCOMPARE(currentNip(), Sellers[expected].nip);
    }

    void buttonStates_data()
    {
        QTest::addColumn<int>("sellers");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("firma");
        QTest::addColumn<bool>("dodaj");
        QTest::addColumn<bool>("popraw");
        QTest::addColumn<bool>("wybierz"); // also "&Usuń" and "Wczytaj do modyfikacji"

        QTest::newRow("empty register, nothing typed") << 0 << QString() << QString() << false << false << false;
        QTest::newRow("empty register, a NIP digit") << 0 << u"7"_s << QString() << true << false << false;
        QTest::newRow("empty register, a name") << 0 << QString() << u"Budmat"_s << true << false << false;
        QTest::newRow("empty register, NIP without digits") << 0 << u"--"_s << u" "_s << false << false << false;
        QTest::newRow("sellers, nothing typed") << 5 << QString() << QString() << false << false << true;
        // Nothing chosen for correction yet: the row the search found is none.
        QTest::newRow("sellers, a name matching nothing") << 5 << QString() << u"Qwerty"_s << true << false << true;
        QTest::newRow("sellers, a NIP digit") << 5 << u"9"_s << QString() << true << false << true;
    }

    void buttonStates()
    {
        QFETCH(int, sellers);
        QFETCH(QString, nip);
        QFETCH(QString, firma);
        QFETCH(bool, dodaj);
        QFETCH(bool, popraw);
        QFETCH(bool, wybierz);

        addSellers(Sellers.mid(0, sellers));
        showWindow();
        typeText(edit(u"EdNIP"_s), nip);
        typeText(edit(u"EdFirma"_s), firma);
        QCOMPARE(button(u"DodajBtn"_s)->isEnabled(), dodaj);
        QCOMPARE(button(u"PoprawBtn"_s)->isEnabled(), popraw);
        QCOMPARE(button(u"UsunBtn"_s)->isEnabled(), wybierz);
        QCOMPARE(button(u"WybierzBtn"_s)->isEnabled(), wybierz);
        QCOMPARE(button(u"WczytajBtn"_s)->isEnabled(), wybierz);
    }

    void theButtonsFollowDeletionOfTheLastSeller()
    {
        addSellers(Sellers.mid(0, 1));
        showWindow();
        QVERIFY(button(u"UsunBtn"_s)->isEnabled());
        db->boxes.answer(true);
        QTest::mouseClick(button(u"UsunBtn"_s), Qt::LeftButton);
        QCOMPARE(stored(), QStringList());
        QVERIFY(!button(u"UsunBtn"_s)->isEnabled());
        QVERIFY(!button(u"WybierzBtn"_s)->isEnabled());
        QVERIFY(!button(u"WczytajBtn"_s)->isEnabled());
    }

    void adding_data()
    {
        QTest::addColumn<QString>("kod");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("firma");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("added"); // "Kod|NIP|Firma" as stored; empty when refused
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("currentNip");

        const QList<bool> none;
        const QString noNip = u"Nie podano NIP sprzedawcy."_s;
        const QString badNip = u"Nieprawidłowy NIP sprzedawcy.\rZapisać mimo to?"_s;
        const QString noName = u"Nie podano nazwy sprzedawcy."_s;
        const QString sameCode = u"Sprzedawca o podanym kodzie jest już w wykazie."_s;
        const QString sameNip = u"Sprzedawca o podanym NIP jest już w wykazie."_s;

        QTest::newRow("a new seller, trimmed code and name")
            << u" NOWY "_s << ValidNip << u"  Nowa Firma "_s << none << QStringList() << u"NOWY|"_s + ValidNip + u"|Nowa Firma"_s
            << QString() << ValidNip;
        QTest::newRow("no digit in the NIP") << u"X"_s << u"brak"_s << u"Firma"_s << none << QStringList{noNip} << QString()
                                              << u"EdNIP"_s << Sellers[0].nip;
        QTest::newRow("wrong NIP, not confirmed") << u"X"_s << u"123-456-78-91"_s << u"Firma"_s << QList<bool>{false}
                                                   << QStringList{badNip} << QString() << u"EdNIP"_s << Sellers[0].nip;
        QTest::newRow("wrong NIP, confirmed") << u"X"_s << u"123-456-78-91"_s << u"Firma"_s << QList<bool>{true}
                                               << QStringList{badNip} << u"X|123-456-78-91|Firma"_s << QString()
                                               << u"123-456-78-91"_s;
        QTest::newRow("no name") << u"X"_s << ValidNip << u"   "_s << none << QStringList{noName} << QString()
                                 << u"EdFirma"_s << Sellers[0].nip;
        QTest::newRow("wrong NIP confirmed, then no name") << u"X"_s << u"1"_s << QString() << QList<bool>{true}
                                                           << QStringList{badNip, noName} << QString() << u"EdFirma"_s
                                                           << Sellers[0].nip;
        QTest::newRow("a code present in another letter case")
            << u"ład"_s << ValidNip << u"Firma"_s << none << QStringList{sameCode} << QString() << QString() << Sellers[2].nip;
        QTest::newRow("a code is compared whole") << u"CE"_s << ValidNip << u"Firma"_s << none << QStringList()
                                                  << u"CE|"_s + ValidNip + u"|Firma"_s << QString() << ValidNip;
        QTest::newRow("a NIP present") << u"X"_s << Sellers[3].nip << u"Firma"_s << QList<bool>{true} << QStringList{badNip, sameNip}
                                       << QString() << QString() << Sellers[3].nip;
        QTest::newRow("a NIP present, the code checked first")
            << u"bud"_s << Sellers[3].nip << u"Firma"_s << QList<bool>{true} << QStringList{badNip, sameCode} << QString()
            << QString() << Sellers[0].nip;
        QTest::newRow("a NIP once with dashes, once without")
            << QString() << u"5260250995"_s << u"Firma"_s << none << QStringList() << u"|5260250995|Firma"_s << QString()
            << u"5260250995"_s;
        QTest::newRow("a second seller without a code")
            << u"   "_s << ValidNip << u"Firma"_s << none << QStringList() << u"|"_s + ValidNip + u"|Firma"_s << QString() << ValidNip;
        QTest::newRow("a code of 13 characters keeps 10")
            << u"ABCDEFGHIJKLM"_s << ValidNip << u"Firma"_s << none << QStringList() << u"ABCDEFGHIJ|"_s + ValidNip + u"|Firma"_s
            << QString() << ValidNip;
    }

    void adding()
    {
        QFETCH(QString, kod);
        QFETCH(QString, nip);
        QFETCH(QString, firma);
        QFETCH(QList<bool>, answers);
        QFETCH(QStringList, messages);
        QFETCH(QString, added);
        QFETCH(QString, focus);
        QFETCH(QString, currentNip);

        addSellers(Sellers);
        QStringList expected = stored();
        if (!added.isEmpty()) {
            expected << added;
            expected.sort();
        }
        showWindow();
        fill(kod, nip, firma);
        grid()->selectRow(0);
        for (bool yes : answers)
            db->boxes.answer(yes);
        QTest::mouseClick(button(u"DodajBtn"_s), Qt::LeftButton);

        QCOMPARE(db->boxes.texts(), messages);
        QCOMPARE(stored(), expected);
        QCOMPARE(this->currentNip(), currentNip);
        QCOMPARE(selectedRow(), dm().Firmy.currentRow());
        if (!focus.isEmpty())
            QCOMPARE(QApplication::focusWidget(), edit(focus));
        QVERIFY(frm->isVisible());
    }

    void correcting_data()
    {
        QTest::addColumn<int>("current");
        QTest::addColumn<QString>("kod");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("firma");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("corrected"); // the current seller afterwards; empty when refused

        QTest::newRow("a new name") << 0 << u"BUD"_s << Sellers[0].nip << u" Budmat S.A. "_s << QStringList()
                                    << u"BUD|106-000-70-06|Budmat S.A."_s;
        QTest::newRow("to the NIP of another seller") << 0 << u"BUD"_s << Sellers[4].nip << u"Budmat"_s << QStringList()
                                                      << u"BUD|526-025-09-95|Budmat"_s;
        QTest::newRow("to the code of another seller") << 0 << u"ceg"_s << Sellers[0].nip << u"Budmat"_s << QStringList()
                                                       << u"ceg|106-000-70-06|Budmat"_s;
        QTest::newRow("no digit in the NIP") << 0 << u"BUD"_s << u"-"_s << u"Budmat"_s
                                             << QStringList{u"Nie podano NIP sprzedawcy."_s} << QString();
        QTest::newRow("no name") << 0 << u"BUD"_s << Sellers[0].nip << u" "_s << QStringList{u"Nie podano nazwy sprzedawcy."_s}
                                 << QString();
    }

    void correcting()
    {
        QFETCH(int, current);
        QFETCH(QString, kod);
        QFETCH(QString, nip);
        QFETCH(QString, firma);
        QFETCH(QStringList, messages);
        QFETCH(QString, corrected);

        addSellers(Sellers);
        showWindow();
        fill(kod, nip, firma);
        // The user picks the seller after typing; the correction is of that one.
        selectSeller(current);
        const QStringList before = stored();
        QTest::mouseClick(button(u"PoprawBtn"_s), Qt::LeftButton);

        QCOMPARE(db->boxes.texts(), messages);
        QStringList expected = before;
        if (!corrected.isEmpty()) {
            QVERIFY(expected.removeOne(line(Sellers[current])));
            expected << corrected;
            expected.sort();
            QCOMPARE(dm().Firmy.field(u"Firma"_s).asString(), corrected.section(u'|', 2));
        }
        QCOMPARE(stored(), expected);
    }

    void loadingForCorrectionCopiesTheCurrentSeller()
    {
        addSellers(Sellers);
        showWindow();
        selectSeller(3);
        QTest::mouseClick(button(u"WczytajBtn"_s), Qt::LeftButton);
        QCOMPARE(edit(u"EdKod"_s)->text(), Sellers[3].kod);
        QCOMPARE(edit(u"EdNIP"_s)->text(), Sellers[3].nip);
        QCOMPARE(edit(u"EdFirma"_s)->text(), Sellers[3].firma);
        QCOMPARE(currentNip(), Sellers[3].nip);

        QTest::mouseClick(button(u"CzyscBtn"_s), Qt::LeftButton);
        for (const QString &name : {u"EdKod"_s, u"EdNIP"_s, u"EdFirma"_s})
            QVERIFY2(edit(name)->text().isEmpty(), qPrintable(name));
        // Nothing typed: the first seller.
        QCOMPARE(currentNip(), Sellers[0].nip);
    }

    // "&Popraw" corrects the seller chosen for it, loaded or picked in the
    // grid, however far the search has moved since; with none chosen it is
    // disabled.
    void correctionGoesToTheChosenSeller_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("loaded for correction") << u"wczytaj"_s;
        QTest::newRow("picked in the grid") << u"siatka"_s;
        QTest::newRow("nothing chosen") << QString();
    }
    void correctionGoesToTheChosenSeller()
    {
        QFETCH(QString, how);
        addSellers(Sellers);
        showWindow();
        if (how == u"wczytaj") {
            dm().Firmy.moveTo(1);
            QTest::mouseClick(button(u"WczytajBtn"_s), Qt::LeftButton);
        } else if (how == u"siatka") {
            selectSeller(1);
        }
        // The NIP typed is that of another seller: the search moves to it.
        edit(u"EdKod"_s)->clear();
        edit(u"EdFirma"_s)->clear();
        edit(u"EdNIP"_s)->clear();
        typeText(edit(u"EdNIP"_s), Sellers[4].nip);
        typeText(edit(u"EdFirma"_s), u"Poprawiona"_s);
        QCOMPARE(currentNip(), Sellers[4].nip);
        QCOMPARE(button(u"PoprawBtn"_s)->isEnabled(), !how.isEmpty());
        const QStringList before = stored();
        QTest::mouseClick(button(u"PoprawBtn"_s), Qt::LeftButton);
        QStringList expected = before;
        if (!how.isEmpty()) {
            QVERIFY(expected.removeOne(line(Sellers[1])));
            expected << u"|"_s + Sellers[4].nip + u"|Poprawiona"_s;
            expected.sort();
        }
        QCOMPARE(stored(), expected);
        QVERIFY(stored().contains(line(Sellers[4])));
        QVERIFY(db->boxes.texts().isEmpty());
    }

    // Enter presses the button that has the focus; elsewhere it chooses.
    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("sellersAfter");
        QTest::addColumn<bool>("open");
        QTest::addColumn<int>("result");
        QTest::newRow("Dodaj") << u"DodajBtn"_s << 6 << true << 0;
        QTest::newRow("Anuluj") << u"AnulujBtn"_s << 5 << false << int(QDialog::Rejected);
        QTest::newRow("Wybierz") << u"WybierzBtn"_s << 5 << false << int(QDialog::Accepted);
        QTest::newRow("the NIP edit") << u"EdNIP"_s << 5 << false << int(QDialog::Accepted);
    }
    void enterPressesTheFocusedButton()
    {
        QFETCH(QString, focus);
        QFETCH(int, sellersAfter);
        QFETCH(bool, open);
        QFETCH(int, result);
        addSellers(Sellers);
        showWindow();
        fill(u"NOWY"_s, ValidNip, u"Nowa"_s);
        QWidget *fokus = frm->findChild<QWidget *>(focus);
        QVERIFY(fokus);
        fokus->setFocus();
        QTest::keyClick(fokus, Qt::Key_Return);
        QCOMPARE(stored().size(), sellersAfter);
        QCOMPARE(frm->isVisible(), open);
        if (!open)
            QCOMPARE(frm->result(), result);
    }

    void deleting_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    void deleting()
    {
        QFETCH(bool, yes);
        addSellers(Sellers);
        showWindow();
        selectSeller(2);
        QStringList expected = stored();
        if (yes)
            QVERIFY(expected.removeOne(line(Sellers[2])));
        db->boxes.answer(yes);
        QTest::mouseClick(button(u"UsunBtn"_s), Qt::LeftButton);
        QCOMPARE(db->boxes.texts(), QStringList{u"Usunąć zaznaczonego sprzedawcę?"_s});
        QCOMPARE(db->boxes.shown().first().kind, MessageRequest::Kind::Question);
        QCOMPARE(stored(), expected);
    }

    void choosing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("the button") << u"button"_s;
        QTest::newRow("Enter in the NIP edit") << u"enter"_s;
        QTest::newRow("Alt+W") << u"alt"_s;
        QTest::newRow("double click in the grid") << u"double click"_s;
    }

    void choosing()
    {
        QFETCH(QString, how);
        addSellers(Sellers);
        showWindow();
        typeText(edit(u"EdFirma"_s), u"ład"_s);
        const int row = dm().Firmy.currentRow();
        QCOMPARE(row, 2);
        if (how == u"button")
            QTest::mouseClick(button(u"WybierzBtn"_s), Qt::LeftButton);
        else if (how == u"enter")
            QTest::keyClick(edit(u"EdNIP"_s), Qt::Key_Return);
        else if (how == u"alt")
            QTest::keyClick(frm.get(), Qt::Key_W, Qt::AltModifier);
        else
            doubleClick(grid()->viewport(), grid()->visualRect(grid()->model()->index(row, 1)).center());

        // An accelerator presses its button a moment later.
        QTRY_VERIFY(!frm->isVisible());
        QCOMPARE(frm->result(), int(QDialog::Accepted));
        QCOMPARE(frm->Kod(), Sellers[row].kod);
        QCOMPARE(frm->NIP(), Sellers[row].nip);
        QCOMPARE(frm->Firma(), Sellers[row].firma);
    }

    void choosingInAnEmptyRegisterKeepsTheWindowOpen()
    {
        showWindow();
        QTest::keyClick(edit(u"EdNIP"_s), Qt::Key_Return);
        QTest::mouseClick(button(u"WybierzBtn"_s), Qt::LeftButton);
        doubleClick(grid()->viewport(), QPoint(20, 10));
        QVERIFY(frm->isVisible());
        QVERIFY(frm->Kod().isEmpty() && frm->NIP().isEmpty() && frm->Firma().isEmpty());
    }

    void cancelling_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Esc") << u"esc"_s;
        QTest::newRow("the button") << u"button"_s;
        QTest::newRow("Alt+A") << u"alt"_s;
    }

    void cancelling()
    {
        QFETCH(QString, how);
        addSellers(Sellers);
        showWindow();
        if (how == u"esc")
            QTest::keyClick(edit(u"EdNIP"_s), Qt::Key_Escape);
        else if (how == u"button")
            QTest::mouseClick(button(u"AnulujBtn"_s), Qt::LeftButton);
        else
            QTest::keyClick(frm.get(), Qt::Key_A, Qt::AltModifier);
        QTRY_VERIFY(!frm->isVisible());
        QCOMPARE(frm->result(), int(QDialog::Rejected));
    }

    // The accelerators of the edits take the focus there; those of the
    // buttons press them.
    void accelerators_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("sellersAfter");

        QTest::newRow("Alt+K") << Qt::Key_K << u"EdKod"_s << 5;
        QTest::newRow("Alt+N") << Qt::Key_N << u"EdNIP"_s << 5;
        QTest::newRow("Alt+D adds") << Qt::Key_D << QString() << 6;
        QTest::newRow("Alt+U deletes") << Qt::Key_U << QString() << 4;
    }

    void accelerators()
    {
        QFETCH(Qt::Key, key);
        QFETCH(QString, focus);
        QFETCH(int, sellersAfter);

        addSellers(Sellers);
        showWindow();
        fill(u"NOWY"_s, ValidNip, u"Nowa"_s);
        childNamed<QTableView>(*frm, u"DBGrid1"_s)->setFocus();
        db->boxes.answer(true);
        QTest::keyClick(frm.get(), key, Qt::AltModifier);
        if (!focus.isEmpty())
            QCOMPARE(QApplication::focusWidget(), edit(focus));
        QTRY_COMPARE(stored().size(), sellersAfter);
        QTest::qWait(150);
        QCOMPARE(stored().size(), sellersAfter);
    }

    void theEditsKeepTheirTextBetweenOpenings()
    {
        addSellers(Sellers);
        showWindow();
        typeText(edit(u"EdNIP"_s), u"124"_s);
        QTest::keyClick(edit(u"EdNIP"_s), Qt::Key_Escape);
        dm().Firmy.first();
        showWindow();
        QCOMPARE(edit(u"EdNIP"_s)->text(), u"124"_s);
        QCOMPARE(QApplication::focusWidget(), edit(u"EdNIP"_s));
        // Reopening does not search again.
        QCOMPARE(currentNip(), Sellers[0].nip);
    }

    void placementIsSavedOnClosingAndRestored()
    {
        showWindow();
        frm->setGeometry(QRect(QPoint(60, 70), QSize(600, 420)));
        const QPoint closedAt = frm->pos();
        QTest::keyClick(edit(u"EdNIP"_s), Qt::Key_Escape);
        TWindow stored;
        stored.setNazwa(u"SprzedFrm"_s);
        QVERIFY(stored.Wczytaj());
        QCOMPARE(QPoint(stored.Left(), stored.Top()), closedAt);
        QCOMPARE(QSize(stored.Width(), stored.Height()), QSize(600, 420));

        TSprzedFrm again(dm(), window);
        QCOMPARE(again.pos(), QPoint(stored.Left(), stored.Top()));
        QCOMPARE(again.size(), QSize(600, 420));
    }
};

QTEST_MAIN(TestSprzedFrm)
#include "tst_sprzedfrm.moc"
