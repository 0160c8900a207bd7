#include "invoices/windows/fakturafrm.h"

#include "invoices/windows/editkwota.h"
#include "invoices/windows/faktura.h"
#include "invoices/windows/kwotyfrm.h"
#include "invoices/windows/materialyfrm.h"
#include "invoices/windows/sprzedfrm.h"

#include "core/common.h"
#include "core/twindow.h"
#include "widgets/maskedlineedit.h"
#include "widgets/orxeditcalc.h"

#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;

// A button's Alt key clicks it a moment later, as the user sees it pressed.
static constexpr int AnimatedClick = 200;

static QVariant zl(qint64 units)
{
    return QVariant::fromValue(Money::fromUnits(units));
}

// A valid seller's NIP, as typed.
static const QString Nip = u"123-456-32-18"_s;

// The invoice editor over a real database: one taxpayer with one
// application, and the editor as the applications window opens it.
class TestFakturaFrm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    TWindow window;
    std::unique_ptr<TFakturaFrm> frm;
    int podat = 0;
    int vzm = 0;

    TDM &dm() { return db->dm; }
    ScriptedMessageBoxes &boxes() { return db->boxes; }

    template <class T = QLineEdit>
    T *ctl(const QString &name) { return childNamed<T>(*frm, name); }
    TOrxEditCalc *amount(const QString &name) { return ctl<TOrxEditCalc>(name); }
    MaskedLineEdit *dateEdit() { return ctl<MaskedLineEdit>(u"EdData"_s); }

    // Opens the editor as its entry operations do, without blocking.
    void open(int lista, bool nowa = true)
    {
        frm->Przygotuj(vzm, lista, nowa);
        frm->show();
        frm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frm.get()));
    }
    // Types into a field as the user does: focus, replace, type, leave by Tab.
    void enter(QWidget *w, const QString &text)
    {
        w->setFocus();
        if (auto *masked = qobject_cast<MaskedLineEdit *>(w)) {
            masked->clear();
            masked->setCursorPosition(0);
        } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
        }
        typeText(w, text);
    }
    void leave(QWidget *w) { QTest::keyClick(w, Qt::Key_Tab); }
    void type(const QString &name, const QString &text)
    {
        QWidget *w = name == u"EdData"_s ? dateEdit() : ctl<QWidget>(name);
        enter(w, text);
        leave(w);
    }
    // A complete, valid invoice; the test then spoils one field.
    void fillValid(const QString &numer = u"FV/1"_s)
    {
        type(u"EdNumer"_s, numer);
        type(u"EdData"_s, u"15062005"_s);
        type(u"EdLp"_s, u"1-3"_s);
        type(u"EdKod"_s, u"ABC"_s);
        type(u"EdNip"_s, Nip);
        type(u"EdBrutto"_s, u"1220"_s);
        type(u"EdVatA"_s, u"220"_s);
    }
    void save() { ctl<QPushButton>(u"PostBtn"_s)->click(); }
    int invoices() { return db->storedRows(u"Faktury"_s).size(); }
    int lines() { return db->storedRows(u"Kwoty"_s).size(); }
    QVariant lastInvoice(const QString &field)
    {
        return dm().database().firstRow(u"SELECT %1 FROM Faktury ORDER BY FaktId DESC LIMIT 1"_s.arg(field))->at(0);
    }
    QString focused() { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }
    void addLine(const QString &opis, qint64 brutto, qint64 vatA, qint64 vatB)
    {
        TPozycjeFaktury pozycje(dm(), 0);
        QVERIFY(pozycje.Otworz());
        pozycje.Dodaj({opis, Money::fromUnits(brutto), Money::fromUnits(vatA), Money::fromUnits(vatB)});
    }
    void addSeller(const QString &kod, const QString &nip, const QString &firma)
    {
        TestDatabase::addRecord(dm().Firmy, {{u"Kod"_s, kod}, {u"NIP"_s, nip}, {u"Firma"_s, firma}}, u"NIP"_s);
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDatabase>();
        podat = db->addTaxpayer({{u"Nazwisko"_s, u"  Żółkiewski "_s}, {u"Imie"_s, u"Łukasz"_s}});
        vzm = db->addApplication(podat, {{u"NrKolej"_s, 1}});
        QVERIFY(dm().Podatnik.locate(u"PodatId"_s, podat));
        frm = std::make_unique<TFakturaFrm>(dm(), window);
    }
    void cleanup()
    {
        frm.reset();
        db.reset();
    }

    void opensWithTitleLabelAndStatus_data()
    {
        QTest::addColumn<int>("lista");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("status");
        QTest::newRow("A") << 1 << u"VZM-1/A"_s << u" VZM-1/A odliczane w PIT - opodatkowane wg stawki VAT 22%"_s;
        QTest::newRow("B") << 2 << u"VZM-1/B"_s << u" VZM-1/B nieodliczane w PIT - opodatkowane wg stawki VAT 22%"_s;
        QTest::newRow("C") << 3 << u"VZM-1/C"_s << u" VZM-1/C nieodliczane w PIT - opodatkowane wg stawki VAT 23%"_s;
    }
    void opensWithTitleLabelAndStatus()
    {
        QFETCH(int, lista);
        QFETCH(QString, label);
        QFETCH(QString, status);
        open(lista);
        QCOMPARE(frm->windowTitle(), u"Żółkiewski Łukasz"_s);
        QCOMPARE(ctl<QLabel>(u"ZalaczLbl"_s)->text(), label);
        QCOMPARE(ctl<QLabel>(u"Panel1"_s)->text(), status);
        QCOMPARE(focused(), u"EdNumer"_s);
        QVERIFY(ctl<QToolButton>(u"CapsBtn"_s)->isChecked());
        QVERIFY(!ctl<QToolButton>(u"DataBlok"_s)->isChecked());
        QVERIFY(!ctl<QToolButton>(u"FirmaBlok"_s)->isChecked());
        QCOMPARE(ctl<QLabel>(u"RoznicaVatA"_s)->text(), u"---"_s);
        QCOMPARE(ctl<QLabel>(u"RoznicaVatB"_s)->text(), u"---"_s);
    }

    void tabOrderSkipsTheOtherControls()
    {
        open(1);
        const QStringList expected{u"EdData"_s, u"EdLp"_s,   u"EdKod"_s,  u"EdNip"_s,   u"EdBrutto"_s,
                                   u"EdVatA"_s, u"EdVatB"_s, u"PostBtn"_s, u"CancelBtn"_s, u"EdNumer"_s};
        QStringList seen;
        for (int i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << focused();
        }
        QCOMPARE(seen, expected);
    }

    // Each check on "&Zapisz", with its message and the field it goes back to.
    void checksOnSave_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("no number") << u"EdNumer"_s << u""_s << u"Numer faktury nie podany."_s << u"EdNumer"_s;
        QTest::newRow("blank number") << u"EdNumer"_s << u"   "_s << u"Numer faktury nie podany."_s << u"EdNumer"_s;
        QTest::newRow("no date") << u"EdData"_s << u""_s << u"Data wystawienia faktury nie podana."_s << u"EdData"_s;
        QTest::newRow("31-02-2005") << u"EdData"_s << u"31022005"_s << u"Data wystawienia faktury jest niepoprawna."_s
                                    << u"EdData"_s;
        QTest::newRow("half a date") << u"EdData"_s << u"1506"_s << u"Data wystawienia faktury jest niepoprawna."_s
                                     << u"EdData"_s;
        QTest::newRow("30-04-2004") << u"EdData"_s << u"30042004"_s
                                    << u"Data wystawienia faktury nie może być\rwcześniejsza niż 1-05-2004 r."_s
                                    << u"EdData"_s;
        QTest::newRow("01-05-2004") << u"EdData"_s << u"01052004"_s << u""_s << u""_s;
        QTest::newRow("31-12-2099") << u"EdData"_s << u"31122099"_s << u""_s << u""_s;
        QTest::newRow("no NIP") << u"EdNip"_s << u"  "_s << u"NIP sprzedawcy nie podany."_s << u"EdNip"_s;
        QTest::newRow("no gross") << u"EdBrutto"_s << u""_s
                                  << u"Kwota brutto wydatku uprawniającego\rdo zwrotu nie podana."_s << u"EdBrutto"_s;
        QTest::newRow("gross 0,00") << u"EdBrutto"_s << u"0,00"_s
                                    << u"Kwota brutto wydatku uprawniającego\rdo zwrotu nie podana."_s << u"EdBrutto"_s;
        QTest::newRow("negative gross") << u"EdBrutto"_s << u"-1220"_s << u""_s << u""_s;
        QTest::newRow("no VAT") << u"EdVatA"_s << u""_s << u"Kwota podatku VAT nie podana."_s << u"EdVatA"_s;
    }
    void checksOnSave()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        open(1);
        fillValid();
        type(field, value);
        ctl<QWidget>(u"EdLp"_s)->setFocus();
        save();
        if (message.isEmpty()) {
            QCOMPARE(boxes().texts(), QStringList());
            QCOMPARE(invoices(), 1);
            return;
        }
        QCOMPARE(boxes().texts(), QStringList{message});
        QCOMPARE(boxes().shown().first().title, u"Uwaga"_s);
        QCOMPARE(focused(), focus);
        QCOMPARE(invoices(), 0);
        QVERIFY(frm->isVisible());
        // Everything typed stays.
        QCOMPARE(ctl<QLineEdit>(u"EdLp"_s)->text(), u"1-3"_s);
    }

    // The checks run in their order and stop at the first failure; the
    // duplicate warning is the only one that lets the save go on.
    void checksRunInOrder_data()
    {
        QTest::addColumn<QStringList>("spoiled");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("date before NIP") << QStringList{u"EdData"_s, u"EdNip"_s, u"EdBrutto"_s}
                                         << QStringList{u"Data wystawienia faktury nie podana."_s};
        QTest::newRow("NIP before gross") << QStringList{u"EdNip"_s, u"EdBrutto"_s, u"EdVatA"_s}
                                          << QStringList{u"NIP sprzedawcy nie podany."_s};
        QTest::newRow("gross before VAT") << QStringList{u"EdBrutto"_s, u"EdVatA"_s}
                                          << QStringList{u"Kwota brutto wydatku uprawniającego\rdo zwrotu nie podana."_s};
        QTest::newRow("duplicate, then date") << QStringList{u"EdData"_s}
                                              << QStringList{u"Faktura o numerze FV/1 jest już w wykazie."_s,
                                                             u"Data wystawienia faktury nie podana."_s};
    }
    void checksRunInOrder()
    {
        QFETCH(QStringList, spoiled);
        QFETCH(QStringList, messages);
        if (messages.size() > 1)
            db->addInvoice(vzm, u"C"_s, {{u"NrFakt"_s, u"FV/1"_s}});
        open(1);
        fillValid();
        for (const QString &field : spoiled)
            type(field, QString());
        save();
        QCOMPARE(boxes().texts(), messages);
        QCOMPARE(focused(), spoiled.first());
        QCOMPARE(invoices(), messages.size() > 1 ? 1 : 0);
    }

    void malformedNipAsks_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes stores") << true;
        QTest::newRow("No goes back") << false;
    }
    void malformedNipAsks()
    {
        QFETCH(bool, yes);
        open(1);
        fillValid();
        type(u"EdNip"_s, u"123-456-32-19"_s);
        boxes().answer(yes);
        save();
        QCOMPARE(boxes().texts(), QStringList{u"Nieprawidłowy NIP sprzedawcy.\rZapisać mimo to?"_s});
        QCOMPARE(boxes().shown().first().kind, MessageRequest::Kind::Question);
        QCOMPARE(invoices(), yes ? 1 : 0);
        if (!yes)
            QCOMPARE(focused(), u"EdNip"_s);
        else
            QCOMPARE(lastInvoice(u"NipSprzed"_s).toString(), u"123-456-32-19"_s);
    }

    void duplicateNumberOnAnotherListIsStoredAfterWarning()
    {
        db->addInvoice(vzm, u"B"_s, {{u"NrFakt"_s, u"FV/7"_s}});
        open(1);
        fillValid(u"  fv/7 "_s);
        save();
        QCOMPARE(boxes().texts(), QStringList{u"Faktura o numerze FV/7 jest już w wykazie."_s});
        QCOMPARE(invoices(), 2);
        QCOMPARE(lastInvoice(u"Oznacz"_s).toString(), u"A"_s);
        // Stored as typed, upper-cased, not trimmed.
        QCOMPARE(lastInvoice(u"NrFakt"_s).toString(), u"  FV/7 "_s);
    }

    void noDuplicateCheckInEditMode()
    {
        db->addInvoice(vzm, u"A"_s, {{u"NrFakt"_s, u"FV/1"_s}, {u"NipSprzed"_s, Nip}, {u"DataWyst"_s, QDate(2005, 6, 1)},
                                     {u"Brutto"_s, zl(122)}, {u"VatA"_s, zl(22)}});
        const int second = db->addInvoice(vzm, u"A"_s,
                                          {{u"NrFakt"_s, u"FV/2"_s}, {u"NipSprzed"_s, Nip}, {u"DataWyst"_s, QDate(2005, 6, 2)},
                                           {u"Brutto"_s, zl(244)}, {u"VatB"_s, zl(44)}});
        dm().VzmA.close();
        dm().VzmA.setParam(u"VzmId"_s, vzm);
        dm().VzmA.open();
        QVERIFY(dm().VzmA.locate(u"FaktId"_s, second));
        open(1, false);
        QCOMPARE(ctl<QLineEdit>(u"EdNumer"_s)->text(), u"FV/2"_s);
        QCOMPARE(dateEdit()->storedText(), u"02-06-2005"_s);
        QCOMPARE(amount(u"EdBrutto"_s)->Value(), Money::fromUnits(244));
        QCOMPARE(amount(u"EdVatA"_s)->text(), QString());
        QCOMPARE(amount(u"EdVatB"_s)->Value(), Money::fromUnits(44));
        type(u"EdNumer"_s, u"FV/1"_s);
        save();
        QCOMPARE(boxes().texts(), QStringList());
        QCOMPARE(frm->result(), int(QDialog::Accepted));
        QVERIFY(!frm->isVisible());
        QCOMPARE(invoices(), 2);
        QCOMPARE(db->storedValue(u"Faktury"_s, u"FaktId"_s, second, u"NrFakt"_s).toString(), u"FV/1"_s);
        QCOMPARE(db->storedValue(u"Faktury"_s, u"FaktId"_s, second, u"VatA"_s), QVariant());
    }

    void storesEveryFieldOnItsList_data()
    {
        QTest::addColumn<int>("lista");
        QTest::addColumn<QString>("mark");
        QTest::newRow("A") << 1 << u"A"_s;
        QTest::newRow("B") << 2 << u"B"_s;
        QTest::newRow("C") << 3 << u"C"_s;
    }
    void storesEveryFieldOnItsList()
    {
        QFETCH(int, lista);
        QFETCH(QString, mark);
        open(lista);
        fillValid(u"fv/ząb/1"_s);
        type(u"EdBrutto"_s, u"1 234,56"_s);
        type(u"EdVatB"_s, u"12,5"_s);
        save();
        QCOMPARE(boxes().texts(), QStringList());
        const SqlRow row = db->storedRows(u"Faktury"_s).value(0);
        const auto value = [&](const QString &f) { return storedValue(dm(), u"Faktury"_s, u"VzmId"_s, vzm, f); };
        QVERIFY(!row.isEmpty());
        QCOMPARE(value(u"Oznacz"_s).toString(), mark);
        QCOMPARE(value(u"NrFakt"_s).toString(), u"FV/ZĄB/1"_s);
        QCOMPARE(value(u"LpFakt"_s).toString(), u"1-3"_s);
        QCOMPARE(value(u"DataWyst"_s).toString(), u"2005-06-15"_s);
        QCOMPARE(value(u"KodSprzed"_s).toString(), u"ABC"_s);
        QCOMPARE(value(u"NipSprzed"_s).toString(), Nip);
        QCOMPARE(value(u"Brutto"_s).toLongLong(), Money::fromRaw(12345600).raw());
        QCOMPARE(value(u"VatA"_s).toLongLong(), Money::fromUnits(220).raw());
        QCOMPARE(value(u"VatB"_s).toLongLong(), Money::fromRaw(125000).raw());
        // The row shows in the list and the window waits for the next invoice.
        QCOMPARE(dm().ListaFaktur(lista).recordCount(), 1);
        QVERIFY(frm->isVisible());
        QCOMPARE(focused(), u"EdNumer"_s);
        QCOMPARE(ctl<QLineEdit>(u"EdNumer"_s)->text(), QString());
    }

    void capsDecidesTheCase_data()
    {
        QTest::addColumn<bool>("caps");
        QTest::addColumn<QString>("stored");
        QTest::newRow("down") << true << u"FV/ŻÓŁW-Ą"_s;
        QTest::newRow("up") << false << u"fv/żółw-ą"_s;
    }
    void capsDecidesTheCase()
    {
        QFETCH(bool, caps);
        QFETCH(QString, stored);
        open(1);
        auto *capsBtn = ctl<QToolButton>(u"CapsBtn"_s);
        if (!caps)
            capsBtn->click();
        QCOMPARE(capsBtn->isChecked(), caps);
        fillValid(u"fv/żółw-ą"_s);
        QCOMPARE(ctl<QLineEdit>(u"EdNumer"_s)->text(), stored); // as typed
        save();
        QCOMPARE(lastInvoice(u"NrFakt"_s).toString(), stored);
    }

    void vatStoredEmptyWhenZero_data()
    {
        QTest::addColumn<QString>("vatA");
        QTest::addColumn<QString>("vatB");
        QTest::addColumn<QVariant>("storedA");
        QTest::addColumn<QVariant>("storedB");
        QTest::newRow("only VAT B") << u""_s << u"220"_s << QVariant() << QVariant(Money::fromUnits(220).raw());
        QTest::newRow("VAT A 0,00 typed") << u"0,00"_s << u"220"_s << QVariant() << QVariant(Money::fromUnits(220).raw());
        QTest::newRow("only VAT A") << u"220"_s << u""_s << QVariant(Money::fromUnits(220).raw()) << QVariant();
        QTest::newRow("negative VAT A") << u"-220"_s << u""_s << QVariant(Money::fromUnits(-220).raw()) << QVariant();
    }
    void vatStoredEmptyWhenZero()
    {
        QFETCH(QString, vatA);
        QFETCH(QString, vatB);
        QFETCH(QVariant, storedA);
        QFETCH(QVariant, storedB);
        open(1);
        fillValid();
        type(u"EdVatA"_s, vatA);
        type(u"EdVatB"_s, vatB);
        save();
        QCOMPARE(boxes().texts(), QStringList());
        const QVariant a = lastInvoice(u"VatA"_s);
        const QVariant b = lastInvoice(u"VatB"_s);
        QCOMPARE(a.isNull(), storedA.isNull());
        QCOMPARE(b.isNull(), storedB.isNull());
        if (!a.isNull())
            QCOMPARE(a.toLongLong(), storedA.toLongLong());
        if (!b.isNull())
            QCOMPARE(b.toLongLong(), storedB.toLongLong());
    }

    void differenceDisplay_data()
    {
        QTest::addColumn<int>("lista");
        QTest::addColumn<QString>("brutto");
        QTest::addColumn<QString>("vatA");
        QTest::addColumn<QString>("vatB");
        QTest::addColumn<QString>("shownA");
        QTest::addColumn<QString>("shownB");
        QTest::newRow("A equal") << 1 << u"1 220,00"_s << u"220,00"_s << u""_s << u"---"_s << u"---"_s;
        QTest::newRow("A one more") << 1 << u"1 220,00"_s << u"221,00"_s << u""_s << u"1,00"_s << u"---"_s;
        QTest::newRow("C equal") << 3 << u"1 220,00"_s << u"228,13"_s << u""_s << u"---"_s << u"---"_s;
        QTest::newRow("C at 22%") << 3 << u"1 220,00"_s << u"220,00"_s << u""_s << u"-8,13"_s << u"---"_s;
        QTest::newRow("B under VAT B") << 2 << u"1220"_s << u""_s << u"219,5"_s << u"---"_s << u"-0,50"_s;
        QTest::newRow("both differ") << 1 << u"122"_s << u"20"_s << u"25"_s << u"-2,00"_s << u"3,00"_s;
        QTest::newRow("thousands") << 1 << u"1220"_s << u"12 220"_s << u""_s << u"12\u00a0000,00"_s << u"---"_s;
        QTest::newRow("negative gross") << 1 << u"-100"_s << u"-18,03"_s << u""_s << u"---"_s << u"---"_s;
    }
    void differenceDisplay()
    {
        QFETCH(int, lista);
        QFETCH(QString, brutto);
        QFETCH(QString, vatA);
        QFETCH(QString, vatB);
        QFETCH(QString, shownA);
        QFETCH(QString, shownB);
        open(lista);
        type(u"EdBrutto"_s, brutto);
        type(u"EdVatA"_s, vatA);
        type(u"EdVatB"_s, vatB);
        QCOMPARE(ctl<QLabel>(u"RoznicaVatA"_s)->text(), shownA);
        QCOMPARE(ctl<QLabel>(u"RoznicaVatB"_s)->text(), shownB);
    }

    void enterInVatFieldComputesVat_data()
    {
        QTest::addColumn<int>("lista");
        QTest::addColumn<QString>("brutto");
        QTest::addColumn<QString>("field");
        QTest::addColumn<Money>("vat");
        QTest::newRow("C 123,00 in VAT B") << 3 << u"123,00"_s << u"EdVatB"_s << Money::fromUnits(23);
        QTest::newRow("C 1,00 in VAT A") << 3 << u"1,00"_s << u"EdVatA"_s << Money::fromRaw(1900);
        QTest::newRow("A 1220 in VAT A") << 1 << u"1220"_s << u"EdVatA"_s << Money::fromUnits(220);
        QTest::newRow("B 100 in VAT B") << 2 << u"100"_s << u"EdVatB"_s << Money::fromRaw(180300);
        QTest::newRow("A -100 in VAT A") << 1 << u"-100"_s << u"EdVatA"_s << Money::fromRaw(-180300);
    }
    void enterInVatFieldComputesVat()
    {
        QFETCH(int, lista);
        QFETCH(QString, brutto);
        QFETCH(QString, field);
        QFETCH(Money, vat);
        open(lista);
        type(u"EdBrutto"_s, brutto);
        TOrxEditCalc *edit = amount(field);
        const QString difference = field == u"EdVatA"_s ? u"RoznicaVatA"_s : u"RoznicaVatB"_s;
        type(field, u"5"_s);
        QCOMPARE(ctl<QLabel>(difference)->text(), Kwota2(Money::fromUnits(5) - vat));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(edit->Value(), vat);
        QCOMPARE(ctl<QLabel>(difference)->text(), u"---"_s);
        QVERIFY(frm->isVisible());
        QCOMPARE(invoices(), 0);
        // Enter in the gross field changes nothing.
        enter(amount(u"EdBrutto"_s), u"999"_s);
        QTest::keyClick(amount(u"EdBrutto"_s), Qt::Key_Return);
        QCOMPARE(edit->Value(), vat);
        QCOMPARE(amount(u"EdBrutto"_s)->Value(), Money::fromUnits(999));
        QVERIFY(frm->isVisible());
    }

    void locksKeepFieldsForNextInvoice_data()
    {
        QTest::addColumn<bool>("dateLock");
        QTest::addColumn<bool>("sellerLock");
        QTest::newRow("no lock") << false << false;
        QTest::newRow("date lock") << true << false;
        QTest::newRow("seller lock") << false << true;
        QTest::newRow("both") << true << true;
    }
    void locksKeepFieldsForNextInvoice()
    {
        QFETCH(bool, dateLock);
        QFETCH(bool, sellerLock);
        addSeller(u"ABC"_s, Nip, u"Składnica Budowlana"_s);
        open(1);
        if (dateLock)
            ctl<QToolButton>(u"DataBlok"_s)->click();
        if (sellerLock)
            ctl<QToolButton>(u"FirmaBlok"_s)->click();
        fillValid();
        type(u"EdVatB"_s, u"1"_s);
        QCOMPARE(ctl<QLabel>(u"NazwaFirmy"_s)->text(), u"Składnica Budowlana"_s);
        save();
        QCOMPARE(invoices(), 1);
        QVERIFY(frm->isVisible());
        QCOMPARE(focused(), u"EdNumer"_s);
        QCOMPARE(ctl<QLineEdit>(u"EdNumer"_s)->text(), QString());
        QCOMPARE(ctl<QLineEdit>(u"EdLp"_s)->text(), QString());
        for (const QString &name : {u"EdBrutto"_s, u"EdVatA"_s, u"EdVatB"_s})
            QVERIFY2(amount(name)->IsEmpty(), qPrintable(name));
        QCOMPARE(ctl<QLabel>(u"RoznicaVatA"_s)->text(), u"---"_s);
        QCOMPARE(dateEdit()->storedText(), dateLock ? u"15-06-2005"_s : u"  -  -    "_s);
        QCOMPARE(ctl<QLineEdit>(u"EdKod"_s)->text(), sellerLock ? u"ABC"_s : QString());
        QCOMPARE(ctl<QLineEdit>(u"EdNip"_s)->text(), sellerLock ? Nip : QString());
        QCOMPARE(ctl<QLabel>(u"NazwaFirmy"_s)->text(), sellerLock ? u"Składnica Budowlana"_s : QString());

        // The next invoice needs only what was cleared.
        type(u"EdNumer"_s, u"FV/2"_s);
        if (!dateLock)
            type(u"EdData"_s, u"15062005"_s);
        if (!sellerLock)
            type(u"EdNip"_s, Nip);
        type(u"EdBrutto"_s, u"244"_s);
        type(u"EdVatA"_s, u"44"_s);
        save();
        QCOMPARE(boxes().texts(), QStringList());
        QCOMPARE(invoices(), 2);
        QCOMPARE(lastInvoice(u"DataWyst"_s).toString(), u"2005-06-15"_s);
        QCOMPARE(lastInvoice(u"NipSprzed"_s).toString(), Nip);
    }

    void sellerLookups_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kod");
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QString>("name");
        // Before each: code "OLD", NIP "111", name of the seller "OLD".
        QTest::newRow("code found, other case") << u"EdKod"_s << u"ąbc"_s << u"ąbc"_s << Nip << u"Składnica"_s;
        QTest::newRow("code not found") << u"EdKod"_s << u"XYZ"_s << u"XYZ"_s << u"111-111-11-11"_s << u"Stara Firma"_s;
        QTest::newRow("code blank") << u"EdKod"_s << u" "_s << u" "_s << u"111-111-11-11"_s << u"Stara Firma"_s;
        QTest::newRow("NIP found") << u"EdNip"_s << Nip << u"ĄBC"_s << Nip << u"Składnica"_s;
        QTest::newRow("NIP not found") << u"EdNip"_s << u"999-999-99-99"_s << u"OLD"_s << u"999-999-99-99"_s << u""_s;
    }
    void sellerLookups()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, kod);
        QFETCH(QString, nip);
        QFETCH(QString, name);
        addSeller(u"ĄBC"_s, Nip, u"Składnica"_s);
        addSeller(u"OLD"_s, u"111-111-11-11"_s, u"Stara Firma"_s);
        open(1);
        type(u"EdKod"_s, u"OLD"_s);
        QCOMPARE(ctl<QLabel>(u"NazwaFirmy"_s)->text(), u"Stara Firma"_s);
        type(field, typed);
        QCOMPARE(ctl<QLineEdit>(u"EdKod"_s)->text(), kod);
        QCOMPARE(ctl<QLineEdit>(u"EdNip"_s)->text(), nip);
        QCOMPARE(ctl<QLabel>(u"NazwaFirmy"_s)->text(), name);
    }

    void sellerListButtonTakesTheChosenSeller_data()
    {
        QTest::addColumn<bool>("byKeyboard");
        QTest::addColumn<bool>("choose");
        QTest::newRow("button, chosen") << false << true;
        QTest::newRow("Alt+Up, chosen") << true << true;
        QTest::newRow("Alt+Up, cancelled") << true << false;
    }
    void sellerListButtonTakesTheChosenSeller()
    {
        QFETCH(bool, byKeyboard);
        QFETCH(bool, choose);
        addSeller(u"ABC"_s, Nip, u"Składnica"_s);
        addSeller(u"XYZ"_s, u"526-000-12-46"_s, u"Hurtownia Żelazo"_s);
        open(1);
        type(u"EdKod"_s, u"ABC"_s);
        bool shown = false;
        onNextModal<TSprzedFrm>([&](TSprzedFrm &sprzedawcy) {
            shown = true;
            if (!choose) {
                sprzedawcy.reject();
                return;
            }
            QVERIFY(dm().Firmy.locate(u"Kod"_s, u"XYZ"_s));
            childNamed<QPushButton>(sprzedawcy, u"WybierzBtn"_s)->click();
        });
        if (byKeyboard) {
            ctl<QLineEdit>(u"EdNip"_s)->setFocus();
            QTest::keyClick(ctl<QLineEdit>(u"EdNip"_s), Qt::Key_Up, Qt::AltModifier);
        } else {
            ctl<QToolButton>(u"FirmaBtn"_s)->click();
        }
        QVERIFY(shown);
        QCOMPARE(ctl<QLineEdit>(u"EdKod"_s)->text(), choose ? u"XYZ"_s : u"ABC"_s);
        QCOMPARE(ctl<QLineEdit>(u"EdNip"_s)->text(), choose ? u"526-000-12-46"_s : Nip);
        QCOMPARE(ctl<QLabel>(u"NazwaFirmy"_s)->text(), choose ? u"Hurtownia Żelazo"_s : u"Składnica"_s);
        // Where the focus is once the window is active again.
        if (choose)
            QCOMPARE(frm->focusWidget()->objectName(), u"EdBrutto"_s);
    }

    void materialsButtonShowsTheListsAndIsNotInTheTabChain()
    {
        open(1);
        auto *materialy = ctl<QPushButton>(u"MaterialyBtn"_s);
        QVERIFY(!(materialy->focusPolicy() & Qt::TabFocus));
        ModalWatch watch;
        QTest::keyClick(frm.get(), Qt::Key_M, Qt::AltModifier);
        QTest::qWait(AnimatedClick);
        QCOMPARE(watch.opened(), QStringList{u"TMaterialyFrm"_s});
    }

    // The sum buttons and Alt+Up take one total of the amount lines.
    void sumButtonsTakeTheirTotal_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<bool>("byKeyboard");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<Money>("expected");
        QTest::newRow("gross button") << u"EdBrutto"_s << false << true << Money::fromUnits(366);
        QTest::newRow("VAT A Alt+Up") << u"EdVatA"_s << true << true << Money::fromUnits(22);
        QTest::newRow("VAT B Alt+Up") << u"EdVatB"_s << true << true << Money::fromUnits(44 - 1);
        QTest::newRow("VAT B cancelled") << u"EdVatB"_s << true << false << Money::fromUnits(7);
    }
    void sumButtonsTakeTheirTotal()
    {
        QFETCH(QString, field);
        QFETCH(bool, byKeyboard);
        QFETCH(bool, confirm);
        QFETCH(Money, expected);
        open(1);
        addLine(u"cegła"_s, 122, 22, 0);
        addLine(u"cement"_s, 244, 0, 44);
        addLine(u"zwrot"_s, 0, 0, -1);
        type(u"EdBrutto"_s, u"1220"_s);
        type(field, u"7"_s);
        bool shown = false;
        onNextModal<TKwotyFrm>([&](TKwotyFrm &kwoty) {
            shown = true;
            childNamed<QPushButton>(kwoty, confirm ? u"PostBtn"_s : u"CancelBtn"_s)->click();
        });
        const QString buttons[] = {u"BruttoBtn"_s, u"VatABtn"_s, u"VatBBtn"_s};
        const QString fields[] = {u"EdBrutto"_s, u"EdVatA"_s, u"EdVatB"_s};
        const int k = int(std::find(std::begin(fields), std::end(fields), field) - std::begin(fields));
        if (byKeyboard) {
            amount(field)->setFocus();
            QTest::keyClick(amount(field), Qt::Key_Up, Qt::AltModifier);
        } else {
            ctl<QToolButton>(buttons[k])->click();
        }
        QVERIFY(shown);
        QCOMPARE(amount(field)->Value(), expected);
        if (field == u"EdVatB"_s && confirm)
            QCOMPARE(ctl<QLabel>(u"RoznicaVatB"_s)->text(), u"-177,00"_s);
    }

    void sumButtonOfStoredInvoiceShowsItsLines()
    {
        const int fakt = db->addInvoice(vzm, u"C"_s, {{u"NrFakt"_s, u"FV/1"_s}, {u"NipSprzed"_s, Nip},
                                                       {u"DataWyst"_s, QDate(2011, 2, 1)}, {u"Brutto"_s, zl(123)},
                                                       {u"VatA"_s, zl(23)}});
        TestDatabase::addRecord(dm().KwotyTbl, {{u"FaktId"_s, fakt}, {u"Opis"_s, u"okno"_s}, {u"Brutto"_s, zl(246)}},
                                u"KwotaId"_s);
        dm().VzmC.setParam(u"VzmId"_s, vzm);
        dm().VzmC.open();
        open(3, false);
        onNextModal<TKwotyFrm>([](TKwotyFrm &kwoty) { childNamed<QPushButton>(kwoty, u"PostBtn"_s)->click(); });
        ctl<QToolButton>(u"BruttoBtn"_s)->click();
        QCOMPARE(amount(u"EdBrutto"_s)->Value(), Money::fromUnits(246));
        // The invoice keeps its amount until it is saved.
        QCOMPARE(db->storedValue(u"Faktury"_s, u"FaktId"_s, fakt, u"Brutto"_s).toLongLong(), Money::fromUnits(123).raw());
    }

    // Lines entered for a new invoice land in Kwoty.db with it as typed, a
    // discount line's negative amount too, so that the stored lines sum to
    // what the invoice took from them; zero amounts are left empty.
    void amountLinesCarriedOverWithTheInvoice()
    {
        open(1);
        const QString opis = u"cegła pełna kl. 15 – paleta 1,2 t, dostawa na budowę"_s;
        QVERIFY(opis.size() > 50);
        addLine(opis, 122, -5, 0);
        addLine(u"rabat"_s, -10, 22, 3);
        QCOMPARE(dm().vKwoty.recordCount(), 2);
        fillValid();
        save();
        QCOMPARE(boxes().texts(), QStringList());
        const int fakt = lastInvoice(u"FaktId"_s).toInt();
        const SqlResult stored = dm().database().run(
            u"SELECT FaktId, Opis, Brutto, VatA, VatB FROM Kwoty ORDER BY KwotaId"_s);
        QCOMPARE(stored.rows.size(), 2);
        QCOMPARE(stored.rows[0][0].toInt(), fakt);
        QCOMPARE(stored.rows[0][1].toString(), opis.left(50));
        QCOMPARE(stored.rows[0][2].toLongLong(), Money::fromUnits(122).raw());
        QCOMPARE(stored.rows[0][3].toLongLong(), Money::fromUnits(-5).raw());
        QVERIFY(stored.rows[0][4].isNull());
        QCOMPARE(stored.rows[1][0].toInt(), fakt);
        QCOMPARE(stored.rows[1][2].toLongLong(), Money::fromUnits(-10).raw());
        QCOMPARE(stored.rows[1][3].toLongLong(), Money::fromUnits(22).raw());
        QCOMPARE(stored.rows[1][4].toLongLong(), Money::fromUnits(3).raw());
        QCOMPARE(dm().vKwoty.recordCount(), 0);
        // Summed again later, the stored lines give what was summed before.
        const TSumyKwot sumy = dm().SumyKwot(fakt);
        QCOMPARE(sumy.Brutto, Money::fromUnits(112));
        QCOMPARE(sumy.VatA, Money::fromUnits(17));
        QCOMPARE(sumy.VatB, Money::fromUnits(3));

        // The next invoice starts without lines.
        fillValid(u"FV/2"_s);
        save();
        QCOMPARE(lines(), 2);
    }

    void closingDropsLinesOfUnsavedInvoice_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Anuluj") << u"CancelBtn"_s;
        QTest::newRow("Zamknij") << u"CloseBtn"_s;
        QTest::newRow("Esc") << u"Esc"_s;
    }
    void closingDropsLinesOfUnsavedInvoice()
    {
        QFETCH(QString, how);
        open(1);
        addLine(u"cegła"_s, 122, 22, 0);
        fillValid();
        boxes().answer(true); // dropped once the user agrees
        if (how == u"Esc"_s)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else if (how == u"CancelBtn"_s)
            ctl<QPushButton>(how)->click();
        else
            ctl<QToolButton>(how)->click();
        QVERIFY(!frm->isVisible());
        QCOMPARE(frm->result(), int(QDialog::Rejected));
        QCOMPARE(boxes().texts(), QStringList{u"Porzucić wprowadzone zmiany?"_s});
        QCOMPARE(dm().vKwoty.recordCount(), 0);
        QCOMPARE(invoices(), 0);
        QCOMPARE(lines(), 0);
        boxes().clear();
        // And nothing turns up with the next invoice.
        open(1);
        fillValid();
        save();
        QCOMPARE(invoices(), 1);
        QCOMPARE(lines(), 0);
    }

    // The invoice and its lines are one write: a refusal of either leaves
    // neither, and the window keeps what was typed for another try.
    void failedStoreLeavesNothing_data()
    {
        QTest::addColumn<QString>("table");
        QTest::newRow("invoice refused") << u"Faktury"_s;
        QTest::newRow("line refused") << u"Kwoty"_s;
    }
    void failedStoreLeavesNothing()
    {
        QFETCH(QString, table);
        open(1);
        addLine(u"cegła"_s, 122, 22, 0);
        addLine(u"cement"_s, 244, 44, 0);
        dm().database().run(u"CREATE TRIGGER refuse BEFORE INSERT ON %1 "
                            "BEGIN SELECT RAISE(ABORT, 'odmowa zapisu'); END"_s.arg(table));
        fillValid();
        save();
        QCOMPARE(boxes().texts().size(), 1);
        QVERIFY2(boxes().texts().first().contains(u"odmowa zapisu"_s), qPrintable(boxes().texts().first()));
        QCOMPARE(boxes().shown().first().title, u"Uwaga"_s);
        QCOMPARE(invoices(), 0);
        QCOMPARE(lines(), 0);
        QVERIFY(frm->isVisible());
        QCOMPARE(ctl<QLineEdit>(u"EdNumer"_s)->text(), u"FV/1"_s);
        QCOMPARE(amount(u"EdBrutto"_s)->Value(), Money::fromUnits(1220));
        QCOMPARE(dm().vKwoty.recordCount(), 2);
        QCOMPARE(dm().VzmA.recordCount(), 0);
        QVERIFY(!dm().VzmA.isEditing());

        dm().database().run(u"DROP TRIGGER refuse"_s);
        boxes().clear();
        save();
        QCOMPARE(boxes().texts(), QStringList());
        QCOMPARE(invoices(), 1);
        QCOMPARE(lines(), 2);
        QCOMPARE(dm().VzmA.recordCount(), 1);
    }

    void placementIsRestored()
    {
        open(1);
        frm->move(123, 87);
        frm->reject();
        frm.reset();
        frm = std::make_unique<TFakturaFrm>(dm(), window);
        QCOMPARE(frm->pos(), QPoint(123, 87));
    }

    void entryOperationsRunModally()
    {
        onNextModal<TFakturaFrm>([this](TFakturaFrm &f) {
            f.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&f));
            QCOMPARE(f.windowTitle(), u"Żółkiewski Łukasz"_s);
            fillValid();
            QTest::keyClick(&f, Qt::Key_Z, Qt::AltModifier);
            QTest::qWait(AnimatedClick);
            f.reject();
        });
        QCOMPARE(frm->NowaFaktura(vzm, 2), int(QDialog::Rejected));
        QCOMPARE(invoices(), 1);
        QCOMPARE(lastInvoice(u"Oznacz"_s).toString(), u"B"_s);
    }
};

QTEST_MAIN(TestFakturaFrm)
#include "tst_fakturafrm.moc"
