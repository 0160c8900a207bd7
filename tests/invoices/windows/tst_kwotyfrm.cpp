#include "invoices/windows/kwotyfrm.h"

#include "invoices/windows/editkwota.h"
#include "invoices/windows/faktura.h"

#include "core/twindow.h"
#include "widgets/orxeditcalc.h"

#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;

static QVariant zl(qint64 units)
{
    return QVariant::fromValue(Money::fromUnits(units));
}

// The amount lines of an invoice and their line editor, over a real
// database: one application with one stored invoice.
class TestKwotyFrm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    TWindow window;
    std::unique_ptr<TKwotyFrm> frm;
    int vzm = 0;
    int fakt = 0;

    TDM &dm() { return db->dm; }
    ScriptedMessageBoxes &boxes() { return db->boxes; }
    template <class T>
    T *ctl(const QString &name) { return childNamed<T>(*frm, name); }

    void addStoredLine(int faktId, const QString &opis, QVariant brutto, QVariant vatA = {}, QVariant vatB = {})
    {
        QVariantMap fields{{u"FaktId"_s, faktId}, {u"Opis"_s, opis}};
        for (const auto &[name, value] : {std::pair{u"Brutto"_s, brutto}, std::pair{u"VatA"_s, vatA}, std::pair{u"VatB"_s, vatB}})
            if (!value.isNull())
                fields.insert(name, value);
        TestDatabase::addRecord(dm().KwotyTbl, fields, u"KwotaId"_s);
    }
    void addWorkingLine(const QString &opis, qint64 brutto, qint64 vatA, qint64 vatB)
    {
        TPozycjeFaktury pozycje(dm(), 0);
        QVERIFY(pozycje.Otworz());
        pozycje.Dodaj({opis, Money::fromUnits(brutto), Money::fromUnits(vatA), Money::fromUnits(vatB)});
    }
    void openWindow(int faktId, int lista = 1)
    {
        QVERIFY(frm->Przygotuj(faktId, lista));
        frm->show();
        frm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frm.get()));
    }
    QString status() { return ctl<QLabel>(u"StatusBar"_s)->text(); }
    QList<SqlRow> storedLines(int faktId)
    {
        return dm().database().run(u"SELECT Opis, Brutto, VatA, VatB FROM Kwoty WHERE FaktId = ? ORDER BY KwotaId"_s, {},
                                   {faktId}).rows;
    }
    // Types one line into an open line editor and saves it.
    static void typeLine(TEditKwota &editor, const QString &opis, const QString &brutto, const QString &vatA,
                         const QString &vatB)
    {
        const std::pair<QString, QString> fields[] = {
            {u"EdOpis"_s, opis}, {u"EdBrutto"_s, brutto}, {u"EdVatA"_s, vatA}, {u"EdVatB"_s, vatB}};
        for (const auto &[name, text] : fields) {
            auto *edit = childNamed<QLineEdit>(editor, name);
            edit->setFocus();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            typeText(edit, text);
        }
        childNamed<QPushButton>(editor, u"PostBtn"_s)->click();
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDatabase>();
        const int podat = db->addTaxpayer({{u"Nazwisko"_s, u"Nowak"_s}});
        vzm = db->addApplication(podat);
        fakt = db->addInvoice(vzm, u"A"_s, {{u"NrFakt"_s, u"FV/1"_s}, {u"Brutto"_s, zl(500)}});
        frm = std::make_unique<TKwotyFrm>(dm(), window);
    }
    void cleanup()
    {
        frm.reset();
        db.reset();
    }

    // The data module's totals of a stored invoice.
    void totalsOfStoredInvoice_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<Money>("brutto");
        QTest::addColumn<Money>("vatA");
        QTest::addColumn<Money>("vatB");
        QTest::newRow("no lines") << 0 << Money() << Money() << Money();
        QTest::newRow("one line, empty VAT") << 1 << Money::fromRaw(12345600) << Money() << Money();
        QTest::newRow("three lines") << 3 << Money::fromRaw(12345600 + 1000000 - 5000) << Money::fromRaw(10001)
                                     << Money::fromUnits(-3);
    }
    void totalsOfStoredInvoice()
    {
        QFETCH(int, lines);
        QFETCH(Money, brutto);
        QFETCH(Money, vatA);
        QFETCH(Money, vatB);
        const int other = db->addInvoice(vzm, u"A"_s, {{u"NrFakt"_s, u"FV/2"_s}});
        addStoredLine(other, u"obca"_s, QVariant::fromValue(Money::fromUnits(999)), QVariant::fromValue(Money::fromUnits(9)));
        if (lines >= 1)
            addStoredLine(fakt, u"a"_s, QVariant::fromValue(Money::fromRaw(12345600)));
        if (lines >= 3) {
            addStoredLine(fakt, u"b"_s, QVariant::fromValue(Money::fromUnits(100)), QVariant::fromValue(Money::fromRaw(10001)));
            addStoredLine(fakt, u"c"_s, QVariant::fromValue(Money::fromRaw(-5000)), {}, QVariant::fromValue(Money::fromUnits(-3)));
        }
        const TSumyKwot sumy = dm().SumyKwot(fakt);
        QCOMPARE(sumy.Brutto, brutto);
        QCOMPARE(sumy.VatA, vatA);
        QCOMPARE(sumy.VatB, vatB);

        openWindow(fakt);
        QCOMPARE(frm->RazemBrutto(), brutto);
        QCOMPARE(frm->RazemVatA(), vatA);
        QCOMPARE(frm->RazemVatB(), vatB);
        QCOMPARE(status(), brutto.isZero() ? QString() : u" Brutto: "_s + brutto.format(2, true) + u" zł"_s);
        QCOMPARE(ctl<QTableView>(u"Grid"_s)->model()->rowCount(), lines);
        QCOMPARE(ctl<QToolButton>(u"PoprawBtn"_s)->isEnabled(), lines > 0);
        QCOMPARE(ctl<QToolButton>(u"UsunBtn"_s)->isEnabled(), lines > 0);
        QCOMPARE(QApplication::focusWidget(), ctl<QTableView>(u"Grid"_s));
    }

    void statusLineShowsGrossAsMoney()
    {
        addStoredLine(fakt, u"a"_s, QVariant::fromValue(Money::fromRaw(12345000)));
        openWindow(fakt);
        QCOMPARE(status(), u" Brutto: 1\u00a0234,50 zł"_s);
    }

    // Lines of a new invoice: totals walk the working list, negative
    // amounts included, and the cursor stays where it was.
    void totalsOfWorkingList()
    {
        addWorkingLine(u"a"_s, 100, 22, 0);
        addWorkingLine(u"b"_s, -30, 0, -5);
        addWorkingLine(u"c"_s, 10, 1, 2);
        dm().vKwoty.moveTo(1);
        openWindow(0, 1);
        QCOMPARE(frm->RazemBrutto(), Money::fromUnits(80));
        QCOMPARE(frm->RazemVatA(), Money::fromUnits(23));
        QCOMPARE(frm->RazemVatB(), Money::fromUnits(-3));
        QCOMPARE(dm().vKwoty.currentRow(), 1);
        QCOMPARE(ctl<QTableView>(u"Grid"_s)->model()->rowCount(), 3);
        QCOMPARE(ctl<QTableView>(u"Grid"_s)->model()->index(1, 1).data().toString(), u"-30,00"_s);
    }

    void queryThatCannotOpenShowsNoWindow()
    {
        dm().database().run(u"ALTER TABLE Kwoty RENAME TO KwotyZle"_s);
        ModalWatch watch;
        QCOMPARE(frm->PokazPozycje(fakt, 1), int(QDialog::Rejected));
        QCOMPARE(boxes().texts(), QStringList{u"Nie udało się otworzyć tabeli Kwoty.db!"_s});
        QCOMPARE(watch.opened(), QStringList());
        QCOMPARE(frm->RazemBrutto(), Money());
    }

    // The line editor in insert mode stays open for line after line.
    void lineEditorAddsLines_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::newRow("stored invoice") << true;
        QTest::newRow("new invoice") << false;
    }
    void lineEditorAddsLines()
    {
        QFETCH(bool, stored);
        const int key = stored ? fakt : 0;
        openWindow(key, 3);
        int saved = 0;
        bool fieldsCleared = false;
        bool focusOnDescription = false;
        onNextModal<TEditKwota>([&](TEditKwota &editor) {
            QCOMPARE(editor.windowTitle(), u"Pozycja faktury"_s);
            typeLine(editor, u"Okno dachowe, 78x118 cm, sosna lakier"_s, u"1 230,00"_s, u""_s, u"0"_s);
            ++saved;
            fieldsCleared = childNamed<QLineEdit>(editor, u"EdOpis"_s)->text().isEmpty()
                && childNamed<TOrxEditCalc>(editor, u"EdBrutto"_s)->IsEmpty();
            focusOnDescription = QApplication::focusWidget() == childNamed<QLineEdit>(editor, u"EdOpis"_s);
            typeLine(editor, u""_s, u"-10"_s, u"-2"_s, u"5,5"_s);
            ++saved;
            QVERIFY(editor.isVisible());
            QTest::keyClick(&editor, Qt::Key_Escape);
        });
        ctl<QToolButton>(u"DodajBtn"_s)->click();
        QCOMPARE(saved, 2);
        QVERIFY(fieldsCleared);
        QVERIFY(focusOnDescription);
        QCOMPARE(frm->RazemBrutto(), Money::fromUnits(1220));
        QCOMPARE(frm->RazemVatA(), Money::fromUnits(-2));
        QCOMPARE(frm->RazemVatB(), Money::fromRaw(55000));
        QCOMPARE(status(), u" Brutto: 1\u00a0220,00 zł"_s);
        QVERIFY(ctl<QToolButton>(u"PoprawBtn"_s)->isEnabled());
        if (stored) {
            const QList<SqlRow> rows = storedLines(fakt);
            QCOMPARE(rows.size(), 2);
            QCOMPARE(rows[0][0].toString(), u"Okno dachowe, 78x118 cm, sosna lakier"_s);
            QVERIFY(rows[0][2].isNull()); // zero stored empty
            QVERIFY(rows[0][3].isNull());
            QCOMPARE(rows[1][0].toString(), QString());
            QCOMPARE(rows[1][2].toLongLong(), Money::fromUnits(-2).raw());
            QCOMPARE(dm().vKwoty.recordCount(), 0);
        } else {
            QCOMPARE(dm().vKwoty.recordCount(), 2);
            dm().vKwoty.first();
            QCOMPARE(dm().vKwoty.field(u"Opis"_s).asString(), u"Okno dachowe, 78x118 cm, sosna lakier"_s);
            QVERIFY(dm().vKwoty.field(u"VatB"_s).isNull());
            QCOMPARE(storedLines(fakt).size(), 0);
        }
    }

    // A description takes the 50 characters that Kwoty.db holds, for a new
    // invoice as for a stored one: typing stops there, nothing is cut later.
    void descriptionStopsAtItsField_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::newRow("working list") << false;
        QTest::newRow("Kwoty.db") << true;
    }
    void descriptionStopsAtItsField()
    {
        QFETCH(bool, stored);
        const QString typed = u"Pustak ceramiczny Ż-25 – paleta 60 szt., transport na budowę"_s;
        QVERIFY(typed.size() > 50);
        openWindow(stored ? fakt : 0);
        QString shown;
        onNextModal<TEditKwota>([&](TEditKwota &editor) {
            typeLine(editor, typed, u"1"_s, u""_s, u""_s);
            // Typed once more and left unsaved.
            typeText(childNamed<QLineEdit>(editor, u"EdOpis"_s), typed);
            shown = childNamed<QLineEdit>(editor, u"EdOpis"_s)->text();
            db->boxes.answer(true);
            editor.reject();
        });
        ctl<QToolButton>(u"DodajBtn"_s)->click();
        QCOMPARE(shown, typed.left(50));
        QCOMPARE(TPozycjeFaktury(dm(), stored ? fakt : 0).Biezaca().Opis, typed.left(50));
        if (stored)
            QCOMPARE(storedLines(fakt).value(0).value(0).toString(), typed.left(50));
    }

    void enterInVatFieldComputesVat_data()
    {
        QTest::addColumn<int>("lista");
        QTest::addColumn<QString>("brutto");
        QTest::addColumn<QString>("field");
        QTest::addColumn<Money>("vat");
        QTest::newRow("C 246,00 col. 5") << 3 << u"246,00"_s << u"EdVatA"_s << Money::fromUnits(46);
        QTest::newRow("A 244,00 col. 5") << 1 << u"244,00"_s << u"EdVatA"_s << Money::fromUnits(44);
        QTest::newRow("B 244,00 col. 6") << 2 << u"244,00"_s << u"EdVatB"_s << Money::fromUnits(44);
        QTest::newRow("C 123 col. 6") << 3 << u"123"_s << u"EdVatB"_s << Money::fromUnits(23);
    }
    void enterInVatFieldComputesVat()
    {
        QFETCH(int, lista);
        QFETCH(QString, brutto);
        QFETCH(QString, field);
        QFETCH(Money, vat);
        TEditKwota editor(dm());
        editor.Przygotuj(fakt, lista, true);
        editor.show();
        auto *gross = childNamed<TOrxEditCalc>(editor, u"EdBrutto"_s);
        gross->setFocus();
        typeText(gross, brutto);
        auto *vatEdit = childNamed<TOrxEditCalc>(editor, field);
        vatEdit->setFocus();
        QTest::keyClick(vatEdit, Qt::Key_Return);
        QCOMPARE(vatEdit->Value(), vat);
        QVERIFY(editor.isVisible());
        QCOMPARE(storedLines(fakt).size(), 0);
        // Enter elsewhere means nothing.
        QTest::keyClick(childNamed<QLineEdit>(editor, u"EdOpis"_s), Qt::Key_Return);
        QVERIFY(editor.isVisible());
        QCOMPARE(storedLines(fakt).size(), 0);
        // WyliczVAT leaves anything but an amount field alone.
        editor.WyliczVAT(childNamed<QLineEdit>(editor, u"EdOpis"_s));
        QCOMPARE(childNamed<QLineEdit>(editor, u"EdOpis"_s)->text(), QString());
    }

    void lineEditorCorrectsCurrentLine_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::newRow("stored invoice") << true;
        QTest::newRow("new invoice") << false;
    }
    void lineEditorCorrectsCurrentLine()
    {
        QFETCH(bool, stored);
        const int key = stored ? fakt : 0;
        if (stored) {
            addStoredLine(fakt, u"pierwsza"_s, QVariant::fromValue(Money::fromUnits(10)));
            addStoredLine(fakt, u"druga"_s, QVariant::fromValue(Money::fromUnits(20)), QVariant::fromValue(Money::fromUnits(2)));
        } else {
            addWorkingLine(u"pierwsza"_s, 10, 0, 0);
            addWorkingLine(u"druga"_s, 20, 2, 0);
        }
        openWindow(key);
        TPozycjeFaktury(dm(), key).Pokazane().moveTo(1);
        int result = -1;
        bool stillOpen = false;
        QString loaded;
        Money loadedVat;
        onNextModal<TEditKwota>([&](TEditKwota &editor) {
            loaded = childNamed<QLineEdit>(editor, u"EdOpis"_s)->text();
            loadedVat = childNamed<TOrxEditCalc>(editor, u"EdVatA"_s)->Value();
            typeLine(editor, u"poprawiona"_s, u"30"_s, u""_s, u"3"_s);
            result = editor.result();
            stillOpen = editor.isVisible();
            if (stillOpen)
                editor.reject(); // so that a failure does not hang the test
        });
        ctl<QToolButton>(u"PoprawBtn"_s)->click();
        QVERIFY(!stillOpen);
        QCOMPARE(loaded, u"druga"_s);
        QCOMPARE(loadedVat, Money::fromUnits(2));
        QCOMPARE(result, int(QDialog::Accepted));
        const TPozycja biezaca = TPozycjeFaktury(dm(), key).Biezaca();
        QCOMPARE(biezaca.Opis, u"poprawiona"_s);
        QCOMPARE(biezaca.VatA, Money());
        QCOMPARE(biezaca.VatB, Money::fromUnits(3));
        QCOMPARE(frm->RazemBrutto(), Money::fromUnits(40));
        if (stored) {
            QCOMPARE(storedLines(fakt).size(), 2);
            QVERIFY(storedLines(fakt)[1][2].isNull());
        }
    }

    void deleteAsksFirst_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("Yes") << true;
        QTest::newRow("No") << false;
    }
    void deleteAsksFirst()
    {
        QFETCH(bool, yes);
        addStoredLine(fakt, u"jedyna"_s, QVariant::fromValue(Money::fromUnits(10)));
        openWindow(fakt);
        boxes().answer(yes);
        ctl<QToolButton>(u"UsunBtn"_s)->click();
        QCOMPARE(boxes().texts(), QStringList{u"Usunąć bieżącą pozycję z wykazu?"_s});
        QCOMPARE(storedLines(fakt).size(), yes ? 0 : 1);
        QCOMPARE(frm->RazemBrutto(), yes ? Money() : Money::fromUnits(10));
        QCOMPARE(status().isEmpty(), yes);
        QCOMPARE(ctl<QToolButton>(u"PoprawBtn"_s)->isEnabled(), !yes);
        QCOMPARE(ctl<QToolButton>(u"UsunBtn"_s)->isEnabled(), !yes);
    }

    void closingKeepsLines_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<int>("result");
        QTest::newRow("stored, Anuluj") << 1 << false << int(QDialog::Rejected);
        QTest::newRow("stored, Enter") << 1 << true << int(QDialog::Accepted);
        QTest::newRow("new, Anuluj") << 0 << false << int(QDialog::Rejected);
        QTest::newRow("new, Enter") << 0 << true << int(QDialog::Accepted);
    }
    void closingKeepsLines()
    {
        QFETCH(int, key);
        QFETCH(bool, byEnter);
        QFETCH(int, result);
        const int faktId = key ? fakt : 0;
        openWindow(faktId, 2);
        onNextModal<TEditKwota>([](TEditKwota &editor) {
            typeLine(editor, u"cegła"_s, u"100"_s, u"18,03"_s, u""_s);
            editor.reject();
        });
        ctl<QToolButton>(u"DodajBtn"_s)->click();
        QCOMPARE(frm->RazemBrutto(), Money::fromUnits(100));
        frm->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frm.get()));
        ctl<QTableView>(u"Grid"_s)->setFocus();
        if (byEnter)
            QTest::keyClick(ctl<QTableView>(u"Grid"_s), Qt::Key_Return);
        else
            QTest::keyClick(frm.get(), Qt::Key_A, Qt::AltModifier);
        QTRY_VERIFY(!frm->isVisible());
        QCOMPARE(frm->result(), result);
        QCOMPARE(frm->RazemVatA(), Money::fromRaw(180300));
        if (key)
            QCOMPARE(storedLines(fakt).size(), 1);
        else
            QCOMPARE(dm().vKwoty.recordCount(), 1);
        // The invoice's own amount is untouched.
        QCOMPARE(db->storedValue(u"Faktury"_s, u"FaktId"_s, fakt, u"Brutto"_s).toLongLong(), Money::fromUnits(500).raw());
    }

    void placementIsRestored()
    {
        openWindow(fakt);
        frm->move(40, 55);
        frm->resize(600, 333);
        frm->reject();
        frm = std::make_unique<TKwotyFrm>(dm(), window);
        QCOMPARE(frm->pos(), QPoint(40, 55));
        QCOMPARE(frm->size(), QSize(600, 333));
    }
};

QTEST_MAIN(TestKwotyFrm)
#include "tst_kwotyfrm.moc"
