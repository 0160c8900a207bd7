#include "vzm/windows/wnioskifrm.h"

#include "vzm/windows/vzm1_3frm.h"

#include "core/twindow.h"
#include "vzm/attachmentmodel.h"
#include "vzm/formmodel.h"

#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QApplication>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// The applications window over a real database: one taxpayer, and the
// window opened for them as the register opens it.
class TestWnioskiFrm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TVzm_3> vzm;
    std::unique_ptr<TVZMab> vzmab;
    TWindow window;
    std::unique_ptr<TWnioskiFrm> frm;
    int podat = 0;

    TDM &dm() { return db->dm; }

    QPushButton *button(const QString &name) { return childNamed<QPushButton>(*frm, name); }
    QTableView *grid(const QString &name) { return childNamed<QTableView>(*frm, name); }
    QStringList status()
    {
        QStringList texts;
        for (QLabel *panel : frm->findChildren<QLabel *>())
            if (panel->text().startsWith(u' '))
                texts << panel->text();
        return texts;
    }
    // The number of each application in the list, in its order.
    QList<int> listed()
    {
        QList<int> numbers;
        for (int row = 0; row < dm().Vzmy.recordCount(); ++row)
            numbers << dm().Vzmy.valueAt(row, dm().Vzmy.fieldIndex(u"NrKolej")).toInt();
        return numbers;
    }
    int selectedNumber() { return dm().Vzmy.field(u"NrKolej"_s).asInteger(); }

    void openWindow()
    {
        QVERIFY(dm().Podatnik.locate(u"PodatId"_s, podat));
        frm->Otworz();
        frm->show();
        QVERIFY(QTest::qWaitForWindowExposed(frm.get()));
    }
    // `count` invoices numbered FV/1 … in list `list`, each with one amount line.
    void addInvoices(int vzmId, const QString &list, int count)
    {
        for (int i = 1; i <= count; ++i) {
            const int fakt = db->addInvoice(vzmId, list, {{u"NrFakt"_s, u"FV/%1"_s.arg(i)}});
            TestDatabase::addRecord(dm().KwotyTbl, {{u"FaktId"_s, fakt}, {u"Opis"_s, u"cegła"_s}}, u"FaktId"_s);
        }
    }
    int count(const QString &sql) { return dm().database().firstRow(sql)->at(0).toInt(); }

private slots:
    void init()
    {
        db = std::make_unique<TestDatabase>();
        vzm = std::make_unique<TVzm_3>(dm());
        vzmab = std::make_unique<TVZMab>(dm());
        frm = std::make_unique<TWnioskiFrm>(dm(), *vzm, *vzmab, window);
        podat = db->addTaxpayer({{u"Nazwisko"_s, u"  Żółkiewski "_s}, {u"Imie"_s, u"Stanisław"_s}});
    }
    void cleanup()
    {
        frm.reset();
        vzmab.reset();
        vzm.reset();
        db.reset();
    }

    void aTaxpayerWithoutApplicationsCanOnlyAdd()
    {
        openWindow();
        QCOMPARE(frm->windowTitle(), u"Żółkiewski Stanisław"_s);
        QVERIFY(button(u"WnDodajBtn"_s)->isEnabled());
        QVERIFY(button(u"CloseBtn"_s)->isEnabled());
        for (const QString &name : {u"WnPoprawBtn"_s, u"WnUsunBtn"_s, u"ZlPoprawBtn"_s, u"ZlUsunBtn"_s})
            QVERIFY2(!button(name)->isEnabled(), qPrintable(name));
        QVERIFY(!childNamed<QGroupBox>(*frm, u"SzukajBox"_s)->isEnabled());
        // The invoice editor and the printing are not handed in: no buttons.
        for (const QString &name : {u"ZlDodajBtn"_s, u"WnPodgladBtn"_s, u"WnNadrukBtn"_s, u"ZlPodgladBtn"_s,
                                    u"ZlNadrukBtn"_s, u"ZlWczytajBtn"_s, u"ZlZapiszBtn"_s})
            QVERIFY2(button(name)->isHidden(), qPrintable(name));
        QCOMPARE(status(), QStringList());
    }

    // The two rows of buttons stand in frames that say what they act on,
    // and every command has an Alt key of its own.
    void everyCommandHasItsOwnAltKey_data()
    {
        QTest::addColumn<int>("klawisz");
        QTest::addColumn<QString>("przycisk");
        QTest::addColumn<QString>("grupa");
        QTest::addColumn<bool>("edytor"); // opens the application editor
        QTest::newRow("Alt+J adds an application") << int(Qt::Key_J) << u"WnDodajBtn"_s << u"GrupaWnioskow"_s << true;
        QTest::newRow("Alt+O corrects it") << int(Qt::Key_O) << u"WnPoprawBtn"_s << u"GrupaWnioskow"_s << true;
        QTest::newRow("Alt+S deletes it") << int(Qt::Key_S) << u"WnUsunBtn"_s << u"GrupaWnioskow"_s << false;
        QTest::newRow("Alt+U deletes an invoice") << int(Qt::Key_U) << u"ZlUsunBtn"_s << u"GrupaFaktur"_s << false;
    }
    void everyCommandHasItsOwnAltKey()
    {
        QFETCH(int, klawisz);
        QFETCH(QString, przycisk);
        QFETCH(QString, grupa);
        QFETCH(bool, edytor);
        const int vzmId = db->addApplication(podat, {{u"NrKolej"_s, 1}});
        addInvoices(vzmId, u"A"_s, 1);
        openWindow();
        keepShot(*frm, u"wnioski"_s);
        QCOMPARE(button(przycisk)->parentWidget()->objectName(), grupa);
        QCOMPARE(childNamed<QGroupBox>(*frm, u"GrupaWnioskow"_s)->title(), u"Wnioski podatnika"_s);
        QCOMPARE(childNamed<QGroupBox>(*frm, u"GrupaFaktur"_s)->title(), u"Faktury wniosku na wybranej liście"_s);
        QSignalSpy klikniecia(button(przycisk), &QPushButton::clicked);
        if (edytor)
            onNextModal<TVZM1_3Frm>([](TVZM1_3Frm &editor) { editor.reject(); });
        frm->activateWindow();
        QTest::keyClick(frm.get(), Qt::Key(klawisz), Qt::AltModifier);
        // A button's accelerator clicks it after a moment.
        QTRY_COMPARE(klikniecia.size(), 1);
        // The deletions asked first; unanswered, they deleted nothing.
        QCOMPARE(count(u"SELECT COUNT(*) FROM VZMy"_s), 1);
        QCOMPARE(count(u"SELECT COUNT(*) FROM Faktury"_s), 1);
    }

    // Alt+K reaches the search for an invoice number.
    void searchHasItsAltKey()
    {
        const int vzmId = db->addApplication(podat, {{u"NrKolej"_s, 1}});
        addInvoices(vzmId, u"A"_s, 1);
        openWindow();
        frm->activateWindow();
        QTest::keyClick(frm.get(), Qt::Key_K, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), childNamed<QLineEdit>(*frm, u"EdNrFakt"_s));
    }

    void theInvoiceButtonsFollowTheActiveList()
    {
        const int vzmId = db->addApplication(podat, {{u"NrKolej"_s, 1}});
        addInvoices(vzmId, u"B"_s, 2);
        openWindow();
        auto *tabs = childNamed<QTabWidget>(*frm, u"PageControl"_s);
        QCOMPARE(tabs->tabText(0), u"VZM-1/&A (odliczane w PIT-22%)"_s);
        QVERIFY(button(u"WnPoprawBtn"_s)->isEnabled());
        QVERIFY(!button(u"ZlPoprawBtn"_s)->isEnabled());
        tabs->setCurrentIndex(1);
        QVERIFY(button(u"ZlPoprawBtn"_s)->isEnabled());
        QVERIFY(button(u"ZlUsunBtn"_s)->isEnabled());
        QCOMPARE(status(), (QStringList{u" Załącznik: 1"_s, u" Strona: 1"_s, u" Pozycja: 10"_s, u" Lp: 1"_s}));
        tabs->setCurrentIndex(2);
        QVERIFY(!button(u"ZlUsunBtn"_s)->isEnabled());
        QCOMPARE(status(), QStringList());
    }

    void selectingAnotherApplicationShowsItsInvoices()
    {
        const int first = db->addApplication(podat, {{u"NrKolej"_s, 1}});
        const int second = db->addApplication(podat, {{u"NrKolej"_s, 2}, {u"Korekta"_s, true}});
        addInvoices(first, u"A"_s, 3);
        addInvoices(second, u"A"_s, 1);
        openWindow();
        QTableView *applications = grid(u"MainGrid"_s);
        QCOMPARE(applications->model()->index(1, 1).data().toString(), u"Korekta"_s);
        QCOMPARE(applications->model()->index(0, 1).data().toString(), u"Wniosek"_s);
        QCOMPARE(grid(u"VzmAGrid"_s)->model()->rowCount(), 3);
        applications->selectRow(1);
        QCOMPARE(grid(u"VzmAGrid"_s)->model()->rowCount(), 1);
        QCOMPARE(dm().VzmA.field(u"VzmId"_s).asInteger(), second);
    }

    void deletingAnApplication_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<QList<int>>("left");
        QTest::addColumn<int>("selectedAfter");

        QTest::newRow("first") << 1 << QList<bool>{true, true} << QList<int>{2, 3, 4} << 2;
        QTest::newRow("middle") << 3 << QList<bool>{true, true} << QList<int>{1, 2, 4} << 2;
        QTest::newRow("last") << 4 << QList<bool>{true, true} << QList<int>{1, 2, 3} << 3;
        QTest::newRow("no to the first question") << 3 << QList<bool>{false} << QList<int>{1, 2, 3, 4} << 3;
        QTest::newRow("no to the warning") << 3 << QList<bool>{true, false} << QList<int>{1, 2, 3, 4} << 3;
    }

    void deletingAnApplication()
    {
        QFETCH(int, selected);
        QFETCH(QList<bool>, answers);
        QFETCH(QList<int>, left);
        QFETCH(int, selectedAfter);

        QList<int> ids;
        for (int nr = 1; nr <= 4; ++nr) {
            ids << db->addApplication(podat, {{u"NrKolej"_s, nr}});
            db->addFurtherEntries(ids.last());
            addInvoices(ids.last(), u"A"_s, 2);
        }
        openWindow();
        grid(u"MainGrid"_s)->selectRow(selected - 1);
        for (bool yes : answers)
            db->boxes.answer(yes);
        QTest::mouseClick(button(u"WnUsunBtn"_s), Qt::LeftButton);

        QCOMPARE(db->boxes.texts().first(), u"Usunąć wniosek z wykazu?"_s);
        QCOMPARE(listed(), left);
        QCOMPARE(selectedNumber(), selectedAfter);
        const int kept = int(left.size());
        QCOMPARE(count(u"SELECT COUNT(*) FROM VZMw3"_s), kept);
        QCOMPARE(count(u"SELECT COUNT(*) FROM Faktury"_s), 2 * kept);
        QCOMPARE(count(u"SELECT COUNT(*) FROM Kwoty"_s), 2 * kept);
        // The invoices shown are those of the application now selected.
        QCOMPARE(dm().VzmA.field(u"VzmId"_s).asInteger(), dm().Vzmy.field(u"VzmId"_s).asInteger());
    }

    void deletingAnInvoiceTakesItsAmountLinesAndRenumbers()
    {
        const int vzmId = db->addApplication(podat, {{u"NrKolej"_s, 1}});
        addInvoices(vzmId, u"A"_s, 3);
        openWindow();
        grid(u"VzmAGrid"_s)->selectRow(1);
        db->boxes.answer(true);
        QTest::mouseClick(button(u"ZlUsunBtn"_s), Qt::LeftButton);
        QCOMPARE(db->boxes.texts(), QStringList{u"Usunąć fakurę nr FV/2 z wykazu?"_s});
        QCOMPARE(count(u"SELECT COUNT(*) FROM Faktury WHERE NrFakt = 'FV/2'"_s), 0);
        QCOMPARE(count(u"SELECT COUNT(*) FROM Kwoty"_s), 2);
        // FV/3 is now the second invoice of the list.
        grid(u"VzmAGrid"_s)->selectRow(1);
        QCOMPARE(dm().VzmA.field(u"NrFakt"_s).asString(), u"FV/3"_s);
        QCOMPARE(status().last(), u" Lp: 2"_s);

        // "No" keeps it.
        db->boxes.answer(false);
        QTest::mouseClick(button(u"ZlUsunBtn"_s), Qt::LeftButton);
        QCOMPARE(count(u"SELECT COUNT(*) FROM Faktury"_s), 2);
    }

    void theRowsOfEachAttachmentShareAColour()
    {
        const int vzmId = db->addApplication(podat, {{u"NrKolej"_s, 1}});
        addInvoices(vzmId, u"A"_s, 28);
        openWindow();
        QTableView *invoices = grid(u"VzmAGrid"_s);
        invoices->selectRow(27);
        QCOMPARE(status(), (QStringList{u" Załącznik: 2"_s, u" Strona: 1"_s, u" Pozycja: 10"_s, u" Lp: 28"_s}));

        // Row 27 (attachment 1) in the window colour, row 28's neighbour
        // selection aside, row 28 of attachment 2 once it is not selected.
        invoices->selectRow(26);
        invoices->scrollTo(invoices->model()->index(27, 0));
        const auto colourOf = [invoices](int row) {
            const QRect cell = invoices->visualRect(invoices->model()->index(row, 1));
            return invoices->viewport()->grab().toImage().pixelColor(cell.right() - 2, cell.center().y());
        };
        const QPalette &palette = invoices->palette();
        QCOMPARE(colourOf(27), palette.color(QPalette::ToolTipBase));
        QCOMPARE(colourOf(25), palette.color(QPalette::Base));
        QCOMPARE(colourOf(26), palette.color(QPalette::Highlight));
    }

    void searchFindsTheFirstInvoiceBeginningSoInAnyCase_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("found");

        QTest::newRow("prefix in lower case") << "fv/a" << "FV/A1";
        QTest::newRow("whole number") << "  FV/B  " << "FV/B";
        QTest::newRow("no match stays") << "XYZ" << "FV/C";
    }

    void searchFindsTheFirstInvoiceBeginningSoInAnyCase()
    {
        QFETCH(QString, typed);
        QFETCH(QString, found);

        const int vzmId = db->addApplication(podat, {{u"NrKolej"_s, 1}});
        for (const QString &numer : {u"FV/C"_s, u"FV/A1"_s, u"FV/A2"_s, u"FV/B"_s})
            db->addInvoice(vzmId, u"A"_s, {{u"NrFakt"_s, numer}});
        openWindow();
        auto *edit = childNamed<QLineEdit>(*frm, u"EdNrFakt"_s);
        edit->setFocus();
        typeText(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(dm().VzmA.field(u"NrFakt"_s).asString(), found);
        QVERIFY(frm->isVisible()); // Enter searched, it did not close the window
    }

    void addingAnApplicationThroughTheEditor_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QList<int>>("listedAfter");

        QTest::newRow("saved") << true << QList<int>{1, 2};
        QTest::newRow("cancelled") << false << QList<int>{1};
    }

    void addingAnApplicationThroughTheEditor()
    {
        QFETCH(bool, save);
        QFETCH(QList<int>, listedAfter);

        db->addApplication(podat, {{u"NrKolej"_s, 1}});
        openWindow();
        const QList<SqlRow> before = db->storedRows(u"VZMy"_s);
        onNextModal<TVZM1_3Frm>([save](TVZM1_3Frm &editor) {
            QTest::mouseClick(childNamed<QPushButton>(editor, save ? u"PostBtn"_s : u"CancelBtn"_s), Qt::LeftButton);
        });
        QTest::mouseClick(button(u"WnDodajBtn"_s), Qt::LeftButton);
        QCOMPARE(listed(), listedAfter);
        QCOMPARE(selectedNumber(), listedAfter.last());
        if (!save)
            QCOMPARE(db->storedRows(u"VZMy"_s), before);
    }

    void correctingAnApplicationKeepsItSelected()
    {
        db->addApplication(podat, {{u"NrKolej"_s, 1}});
        const int second = db->addApplication(podat, {{u"NrKolej"_s, 2}});
        db->addApplication(podat, {{u"NrKolej"_s, 3}});
        openWindow();
        grid(u"MainGrid"_s)->selectRow(1);
        onNextModal<TVZM1_3Frm>([](TVZM1_3Frm &editor) {
            QTest::mouseClick(childNamed<QPushButton>(editor, u"PostBtn"_s), Qt::LeftButton);
        });
        doubleClick(grid(u"MainGrid"_s)->viewport(),
                    grid(u"MainGrid"_s)->visualRect(grid(u"MainGrid"_s)->model()->index(1, 0)).center());
        QCOMPARE(vzm->VzmId(), second);
        QCOMPARE(dm().Vzmy.field(u"VzmId"_s).asInteger(), second);
        QCOMPARE(grid(u"MainGrid"_s)->currentIndex().row(), 1);
    }

    void printingAnAttachmentAsksWhichOnlyWhenThereAreSeveral_data()
    {
        QTest::addColumn<int>("invoices");
        QTest::addColumn<std::optional<int>>("choice");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("firstPrinted");

        QTest::newRow("27: attachment 1 unasked") << 27 << std::optional<int>() << "" << "FV/1";
        QTest::newRow("28: the second chosen") << 28 << std::optional<int>(2) << "2 of list 2" << "FV/28";
        QTest::newRow("28: chooser cancelled") << 28 << std::optional<int>() << "2 of list 2" << "";
    }

    void printingAnAttachmentAsksWhichOnlyWhenThereAreSeveral()
    {
        QFETCH(int, invoices);
        QFETCH(std::optional<int>, choice);
        QFETCH(QString, asked);
        QFETCH(QString, firstPrinted);

        const int vzmId = db->addApplication(podat, {{u"NrKolej"_s, 1}});
        addInvoices(vzmId, u"B"_s, invoices);
        QString question;
        QString printed;
        OknaWnioskow okna;
        okna.WybierzZalacznik = [&](int liczba, int lista) {
            question = u"%1 of list %2"_s.arg(liczba).arg(lista);
            return choice;
        };
        okna.PodgladZalacznika = [&] { printed = vzmab->GetTekst(12); };
        frm->UstawOkna(okna);
        openWindow();
        childNamed<QTabWidget>(*frm, u"PageControl"_s)->setCurrentIndex(1);
        QVERIFY(button(u"ZlPodgladBtn"_s)->isVisible());
        QVERIFY(button(u"ZlNadrukBtn"_s)->isHidden());
        QTest::mouseClick(button(u"ZlPodgladBtn"_s), Qt::LeftButton);
        QCOMPARE(question, asked);
        QCOMPARE(printed.trimmed(), firstPrinted);
    }

    void theInvoiceEditorIsOpenedForTheActiveList()
    {
        const int vzmId = db->addApplication(podat, {{u"NrKolej"_s, 1}});
        QList<std::pair<int, int>> opened;
        OknaWnioskow okna;
        okna.NowaFaktura = [&](int id, int lista) {
            opened.append({id, lista});
            // The editor stores an invoice; the window numbers it.
            db->addInvoice(id, TDM::LiteraListy(lista), {{u"NrFakt"_s, u"N/1"_s}});
        };
        okna.PoprawFakture = [&](int id, int lista) { opened.append({-id, lista}); };
        frm->UstawOkna(okna);
        openWindow();
        childNamed<QTabWidget>(*frm, u"PageControl"_s)->setCurrentIndex(2);
        QTest::mouseClick(button(u"ZlDodajBtn"_s), Qt::LeftButton);
        QCOMPARE(opened, (QList<std::pair<int, int>>{{vzmId, 3}}));
        QVERIFY(button(u"ZlPoprawBtn"_s)->isEnabled());
        QCOMPARE(status().last(), u" Lp: 1"_s);
        QTableView *invoices = grid(u"VzmCGrid"_s);
        doubleClick(invoices->viewport(), invoices->visualRect(invoices->model()->index(0, 0)).center());
        QCOMPARE(opened.last(), (std::pair<int, int>{-vzmId, 3}));
    }

    // A spreadsheet is read into the active list by the program's import,
    // which the window then numbers; writing one needs invoices to write.
    void invoicesFromAndToASpreadsheet()
    {
        const int vzmId = db->addApplication(podat, {{u"NrKolej"_s, 1}});
        QList<std::pair<int, int>> read, written;
        OknaWnioskow okna;
        okna.WczytajFaktury = [&](int id, int lista) {
            read.append({id, lista});
            db->addInvoice(id, TDM::LiteraListy(lista), {{u"NrFakt"_s, u"Z/1"_s}});
            db->addInvoice(id, TDM::LiteraListy(lista), {{u"NrFakt"_s, u"Z/2"_s}});
            return 2;
        };
        okna.ZapiszFaktury = [&](int id, int lista) { written.append({id, lista}); };
        frm->UstawOkna(okna);
        openWindow();
        childNamed<QTabWidget>(*frm, u"PageControl"_s)->setCurrentIndex(1);
        QVERIFY(button(u"ZlWczytajBtn"_s)->isEnabled());
        QVERIFY(!button(u"ZlZapiszBtn"_s)->isEnabled());
        QTest::mouseClick(button(u"ZlWczytajBtn"_s), Qt::LeftButton);
        QCOMPARE(read, (QList<std::pair<int, int>>{{vzmId, 2}}));
        QVERIFY(button(u"ZlZapiszBtn"_s)->isEnabled());
        // The second invoice read is numbered second in its list.
        QCOMPARE(dm().NrWiersza(2, count(u"SELECT MAX(FaktId) FROM Faktury"_s)), 2);
        QTest::mouseClick(button(u"ZlZapiszBtn"_s), Qt::LeftButton);
        QCOMPARE(written, (QList<std::pair<int, int>>{{vzmId, 2}}));
    }

    void theWindowComesBackWhereItWasClosed()
    {
        openWindow();
        frm->setGeometry(150, 120, 900, 640);
        const QPoint corner = frm->pos();
        frm->reject();
        TWnioskiFrm again(dm(), *vzm, *vzmab, window);
        QCOMPARE(again.pos(), corner);
        QCOMPARE(again.size(), QSize(900, 640));
    }
};

QTEST_MAIN(TestWnioskiFrm)
#include "tst_wnioskifrm.moc"
