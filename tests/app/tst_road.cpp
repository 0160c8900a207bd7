#include "app/mainform.h"

#include "invoices/windows/editkwota.h"
#include "invoices/windows/fakturafrm.h"
#include "invoices/windows/kwotyfrm.h"
#include "vzm/formmodel.h"
#include "vzm/windows/vzm1_3frm.h"
#include "vzm/windows/wnioskifrm.h"

#include "core/common.h"
#include "widgets/maskedlineedit.h"
#include "widgets/orxeditcalc.h"

#include "support/testsupport.h"
#include "support/widgettest.h"
#include "app/drogaokien.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// A valid seller's NIP, as typed.
const QString Nip = u"123-456-32-18"_s;

// One invoice as the user types it; amounts in whole zloty, 0 leaves a field
// empty; a gross amount typed otherwise is `grossTyped`, stored as it reads.
struct Invoice
{
    QString number;
    QString date; // ddmmyyyy, typed into the mask
    QString lp;
    qint64 gross;
    qint64 vatA;
    qint64 vatB;
    QString grossTyped = {};

    Money storedGross() const { return grossTyped.isEmpty() ? Money::fromUnits(gross) : *Money::parse(grossTyped); }
};

// The invoices of a list: `count` of them numbered "<letter>/1"…, dated in
// February 2011, the VAT in column 5 for most, in column 6 for every third.
QList<Invoice> invoicesOf(const QString &letter, int count)
{
    QList<Invoice> list;
    for (int i = 1; i <= count; ++i) {
        const bool column6 = i % 3 == 0;
        list.append({u"%1/%2"_s.arg(letter).arg(i), u"%1"_s.arg(i, 2, 10, QLatin1Char('0')) + u"022011"_s, u"%1"_s.arg(i),
                     100 * i + 23, column6 ? 0 : 10 * i + 3, column6 ? 5 * i + 1 : 0});
    }
    return list;
}

QString units(qint64 zloty)
{
    return QString::number(zloty);
}

} // namespace

// The road through the real windows: from the register of taxpayers over
// the applications window to the application editor and the invoice editor
// with its amount lines, over a database made by the installer.
class TestRoad : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TMainForm> form;

    QString settingsPath() const { return env->root() + QStringLiteral("/config/Morvik_Vat5.ini"); }

    qint64 number(const QString &sql)
    {
        const auto row = dm->database().firstRow(sql);
        return row ? row->at(0).toLongLong() : -1;
    }

    static QString texts(const QStringList &list) { return list.join(u" | "_s); }

    // Two amount lines typed through "Pozycje faktury" and "Pozycja faktury",
    // then their totals taken by the sum buttons of gross and VAT col. 5.
    void enterAmountLines(TFakturaFrm &invoice, bool &linesEntered)
    {
        onNextModal<TKwotyFrm>([&linesEntered](TKwotyFrm &lines) {
            auto guard = qScopeGuard([&lines] {
                if (lines.isVisible())
                    lines.reject();
            });
            onNextModal<TEditKwota>([](TEditKwota &line) {
                auto closeIt = qScopeGuard([&line] {
                    if (line.isVisible())
                        line.reject();
                });
                QVERIFY(QTest::qWaitForWindowActive(&line));
                const std::tuple<QString, QString, QString> typed[] = {{u"cegła"_s, u"246"_s, u"46"_s},
                                                                       {u"cement"_s, u"123"_s, u"23"_s}};
                for (const auto &[opis, brutto, vatA] : typed) {
                    enter(in(line, u"EdOpis"_s), opis);
                    enter(in<TOrxEditCalc>(line, u"EdBrutto"_s), brutto);
                    enter(in<TOrxEditCalc>(line, u"EdVatA"_s), vatA);
                    QTest::mouseClick(in<QPushButton>(line, u"PostBtn"_s), Qt::LeftButton);
                }
                // Insert mode stays open for the next line: "&Anuluj" leaves it.
                QVERIFY(line.isVisible());
                QTest::mouseClick(in<QPushButton>(line, u"CancelBtn"_s), Qt::LeftButton);
            });
            QTest::mouseClick(in<QToolButton>(lines, u"DodajBtn"_s), Qt::LeftButton);
            QCOMPARE(in<QTableView>(lines, u"Grid"_s)->model()->rowCount(), 2);
            linesEntered = true;
            QTest::mouseClick(in<QPushButton>(lines, u"PostBtn"_s), Qt::LeftButton);
        });
        QTest::mouseClick(in<QToolButton>(invoice, u"BruttoBtn"_s), Qt::LeftButton);
        // The second sum button shows the same lines; confirmed, it takes VAT col. 5.
        onNextModal<TKwotyFrm>([](TKwotyFrm &lines) {
            QCOMPARE(in<QTableView>(lines, u"Grid"_s)->model()->rowCount(), 2);
            QTest::mouseClick(in<QPushButton>(lines, u"PostBtn"_s), Qt::LeftButton);
        });
        QTest::mouseClick(in<QToolButton>(invoice, u"VatABtn"_s), Qt::LeftButton);
    }

    // Opens the invoice editor for the active list by "&Dodaj" and stores
    // `invoices` one after another; the first one, when `withLines`, gets
    // its gross and VAT from two amount lines. Answers how many were stored
    // while the editor was open.
    void addThroughTheEditor(TWnioskiFrm &applications, const QList<Invoice> &invoices, bool withLines,
                             QStringList &problems)
    {
        onNextModal<TFakturaFrm>([&, this](TFakturaFrm &editor) {
            auto closeIt = qScopeGuard([&editor] {
                if (editor.isVisible())
                    editor.reject();
            });
            QVERIFY(QTest::qWaitForWindowActive(&editor));
            bool first = true;
            for (const Invoice &inv : invoices) {
                enter(in(editor, u"EdNumer"_s), inv.number);
                enter(in<MaskedLineEdit>(editor, u"EdData"_s), inv.date);
                enter(in(editor, u"EdLp"_s), inv.lp);
                enter(in(editor, u"EdNip"_s), Nip);
                if (first && withLines) {
                    bool linesEntered = false;
                    enterAmountLines(editor, linesEntered);
                    if (!linesEntered)
                        problems << u"the amount lines were not entered"_s;
                    const qint64 gross = in<TOrxEditCalc>(editor, u"EdBrutto"_s)->Value().raw();
                    const qint64 vatA = in<TOrxEditCalc>(editor, u"EdVatA"_s)->Value().raw();
                    if (gross != Money::fromUnits(inv.gross).raw() || vatA != Money::fromUnits(inv.vatA).raw())
                        problems << u"the sum buttons gave %1 / %2"_s.arg(gross).arg(vatA);
                } else {
                    enter(in<TOrxEditCalc>(editor, u"EdBrutto"_s),
                          inv.grossTyped.isEmpty() ? units(inv.gross) : inv.grossTyped);
                    if (inv.vatA)
                        enter(in<TOrxEditCalc>(editor, u"EdVatA"_s), units(inv.vatA));
                    if (inv.vatB)
                        enter(in<TOrxEditCalc>(editor, u"EdVatB"_s), units(inv.vatB));
                }
                first = false;
                QTest::mouseClick(in<QPushButton>(editor, u"PostBtn"_s), Qt::LeftButton);
                if (!editor.isVisible()) {
                    problems << u"the editor closed after %1"_s.arg(inv.number);
                    return;
                }
                // Stored and cleared for the next one.
                if (!in(editor, u"EdNumer"_s)->text().isEmpty())
                    problems << u"%1 was not stored: %2 [%3]"_s.arg(inv.number, texts(boxes.texts()), in(editor, u"EdNumer"_s)->text());
            }
            QTest::mouseClick(in<QToolButton>(editor, u"CloseBtn"_s), Qt::LeftButton);
        });
        QTest::mouseClick(in<QPushButton>(applications, u"ZlDodajBtn"_s), Qt::LeftButton);
    }

    // The status bar of the applications window: its panels that say something.
    static QStringList status(TWnioskiFrm &applications)
    {
        QStringList panels;
        for (QLabel *panel : applications.findChildren<QLabel *>())
            if (panel->text().startsWith(u' '))
                panels << panel->text();
        return panels;
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        boxes.clear();
        dm = std::make_unique<TDM>(boxes);
        form = std::make_unique<TMainForm>(*dm, settingsPath());
        QVERIFY(dm->OtworzTabele());
        form->UtworzOkna();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup()
    {
        form.reset();
        dm.reset();
        env.reset();
    }

    void fromTheRegisterToTheInvoicesAndBack()
    {
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Nowak"_s}, {u"Imie"_s, u"Jan"_s}});
        const int podat = addTaxpayer(*dm, {{u"Nazwisko"_s, u"Wiśniewska"_s}, {u"Imie"_s, u"Żaneta"_s}});
        QVERIFY(dm->Podatnik.locate(u"PodatId"_s, podat));

        const QList<Invoice> listA = invoicesOf(u"A"_s, 28);
        QList<Invoice> listB = invoicesOf(u"B"_s, 3);
        // Typed with a dot before the grosze, as many users do: read as meant.
        listB[1].grossTyped = u"1220.50"_s;
        const QList<Invoice> listC = invoicesOf(u"C"_s, 2);
        // A/1 is entered through its amount lines: 246 + 123 gross, 46 + 23 VAT col. 5.
        QList<Invoice> typedA = listA;
        typedA[0].gross = 246 + 123;
        typedA[0].vatA = 46 + 23;
        typedA[0].vatB = 0;

        QStringList problems;
        bool applicationsShown = false;
        QString title;
        QStringList statusOf28th;
        QColor colour27, colour28, base, toolTip;
        QStringList numbersA;
        QStringList lpA;
        QMap<QString, QString> labels;
        Money shownPrice;

        onNextModal<TWnioskiFrm>([&](TWnioskiFrm &applications) {
            auto closeIt = qScopeGuard([&applications] {
                if (applications.isVisible())
                    applications.reject();
            });
            applicationsShown = true;
            title = applications.windowTitle();
            auto *mainGrid = in<QTableView>(applications, u"MainGrid"_s);
            auto *tabs = in<QTabWidget>(applications, u"PageControl"_s);
            QCOMPARE(mainGrid->model()->rowCount(), 0);

            // "Dodaj": a new application with a price and a date, saved.
            onNextModal<TVZM1_3Frm>([&](TVZM1_3Frm &editor) {
                auto closeEditor = qScopeGuard([&editor] {
                    if (editor.isVisible())
                        editor.QDialog::reject();
                });
                QVERIFY(activeNow(editor));
                typeDateAndPrice(editor, u"15032011"_s, u"3500.50"_s);
                QTest::mouseClick(in<QPushButton>(editor, u"PostBtn"_s), Qt::LeftButton);
                if (editor.isVisible())
                    problems << u"the application was not saved: "_s + texts(boxes.texts());
            });
            QTest::mouseClick(in<QPushButton>(applications, u"WnDodajBtn"_s), Qt::LeftButton);
            QCOMPARE(mainGrid->model()->rowCount(), 1);
            QVERIFY(in<QPushButton>(applications, u"ZlDodajBtn"_s)->isEnabled());

            // The invoices of lists A, B and C through the invoice editor.
            tabs->setCurrentIndex(0);
            addThroughTheEditor(applications, typedA, true, problems);
            tabs->setCurrentIndex(1);
            addThroughTheEditor(applications, listB, false, problems);
            tabs->setCurrentIndex(2);
            addThroughTheEditor(applications, listC, false, problems);

            // List A as the window shows it: numbered 1…28, the 28th in the
            // second attachment and painted in its band.
            tabs->setCurrentIndex(0);
            auto *grid = in<QTableView>(applications, u"VzmAGrid"_s);
            QCOMPARE(grid->model()->rowCount(), 28);
            for (int row = 0; row < 28; ++row)
                numbersA << grid->model()->index(row, 0).data().toString();
            grid->scrollTo(grid->model()->index(27, 0));
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                              grid->visualRect(grid->model()->index(27, 1)).center());
            QCOMPARE(grid->currentIndex().row(), 27);
            statusOf28th = status(applications);
            // Each row's number as the status bar gives it when selected.
            for (int row = 0; row < 28; ++row) {
                grid->selectRow(row);
                const QStringList panels = status(applications);
                lpA << (panels.isEmpty() ? QString() : panels.last());
            }
            // Neither of the two rows selected, both on screen.
            grid->selectRow(20);
            grid->scrollTo(grid->model()->index(27, 0));
            const QImage image = grid->viewport()->grab().toImage();
            const auto colourOf = [&](int row) {
                const QRect cell = grid->visualRect(grid->model()->index(row, 1));
                return image.pixelColor(cell.right() - 2, cell.center().y());
            };
            colour27 = colourOf(26);
            colour28 = colourOf(27);
            base = grid->palette().color(QPalette::Base);
            toolTip = grid->palette().color(QPalette::ToolTipBase);

            // "Popraw": the editor shows the counts and amounts computed
            // from the stored invoices.
            mainGrid->selectRow(0);
            onNextModal<TVZM1_3Frm>([&](TVZM1_3Frm &editor) {
                auto closeEditor = qScopeGuard([&editor] {
                    if (editor.isVisible())
                        editor.QDialog::reject();
                });
                for (const char *name : {"F51Lbl", "F52Lbl", "F53Lbl", "F54Lbl", "F55Lbl", "F62Lbl", "F63Lbl", "F64Lbl"})
                    labels.insert(QLatin1String(name), in<QLabel>(editor, QLatin1String(name))->text());
                shownPrice = in<TOrxEditCalc>(editor, u"F45"_s)->Value();
                QTest::mouseClick(in<QPushButton>(editor, u"CancelBtn"_s), Qt::LeftButton);
                if (editor.isVisible())
                    problems << u"the unchanged application did not close on Anuluj"_s;
            });
            QTest::mouseClick(in<QPushButton>(applications, u"WnPoprawBtn"_s), Qt::LeftButton);

            QTest::mouseClick(in<QPushButton>(applications, u"CloseBtn"_s), Qt::LeftButton);
        });
        QTest::mouseClick(childNamed<QToolButton>(*form, u"WnioskiBtn"_s), Qt::LeftButton);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(applicationsShown);
        QVERIFY2(problems.isEmpty(), qPrintable(texts(problems)));
        QVERIFY2(boxes.shown().isEmpty(), qPrintable(texts(boxes.texts())));
        QCOMPARE(title, u"Wiśniewska Żaneta"_s);

        // List A in the order typed, numbered 1…28 by the window.
        QStringList expectedNumbers;
        QStringList expectedLp;
        for (int i = 1; i <= 28; ++i) {
            expectedNumbers << u"A/%1"_s.arg(i);
            expectedLp << u" Lp: %1"_s.arg(i);
        }
        QCOMPARE(numbersA, expectedNumbers);
        QCOMPARE(lpA, expectedLp);
        QCOMPARE(statusOf28th, (QStringList{u" Załącznik: 2"_s, u" Strona: 1"_s, u" Pozycja: 10"_s, u" Lp: 28"_s}));
        QVERIFY(base != toolTip);
        QCOMPARE(colour27, base);
        QCOMPARE(colour28, toolTip);

        // The database holds exactly what was stored.
        const int vzmId = int(number(u"SELECT VzmId FROM VZMy WHERE PodatId = %1"_s.arg(podat)));
        QVERIFY(vzmId > 0);
        QCOMPARE(number(u"SELECT COUNT(*) FROM VZMy"_s), 1);
        QCOMPARE(number(u"SELECT COUNT(*) FROM Faktury"_s), 28 + 3 + 2);
        const std::pair<QString, const QList<Invoice> *> lists[] = {{u"A"_s, &typedA}, {u"B"_s, &listB}, {u"C"_s, &listC}};
        for (const auto &[letter, invoices] : lists) {
            const SqlResult stored = dm->database().run(
                u"SELECT NrFakt, DataWyst, LpFakt, NipSprzed, Brutto, VatA, VatB FROM Faktury "
                "WHERE VzmId = %1 AND Oznacz = '%2' ORDER BY FaktId"_s.arg(vzmId).arg(letter));
            QCOMPARE(stored.rows.size(), invoices->size());
            for (int i = 0; i < invoices->size(); ++i) {
                const Invoice &inv = invoices->at(i);
                const SqlRow &row = stored.rows[i];
                QCOMPARE(row[0].toString(), inv.number);
                QCOMPARE(row[1].toDate(), QDate::fromString(inv.date, u"ddMMyyyy"_s));
                QCOMPARE(row[2].toString(), inv.lp);
                QCOMPARE(row[3].toString(), Nip);
                QCOMPARE(row[4].toLongLong(), inv.storedGross().raw());
                QCOMPARE(row[5].isNull() ? 0 : row[5].toLongLong(), Money::fromUnits(inv.vatA).raw());
                QCOMPARE(row[6].isNull() ? 0 : row[6].toLongLong(), Money::fromUnits(inv.vatB).raw());
            }
        }
        // "1220.50" typed as B/2's gross is 1 220,50.
        QCOMPARE(number(u"SELECT Brutto FROM Faktury WHERE NrFakt = 'B/2'"_s), qint64(12205000));
        // The amount lines went with A/1.
        const qint64 a1 = number(u"SELECT FaktId FROM Faktury WHERE NrFakt = 'A/1'"_s);
        const SqlResult lines = dm->database().run(u"SELECT FaktId, Opis, Brutto, VatA FROM Kwoty ORDER BY KwotaId"_s);
        QCOMPARE(lines.rows.size(), 2);
        QCOMPARE(lines.rows[0][0].toLongLong(), a1);
        QCOMPARE(lines.rows[1][0].toLongLong(), a1);
        QCOMPARE(lines.rows[0][1].toString(), u"cegła"_s);
        QCOMPARE(lines.rows[1][2].toLongLong(), Money::fromUnits(123).raw());
        QCOMPARE(lines.rows[1][3].toLongLong(), Money::fromUnits(23).raw());

        // The editor showed what the form model computes from this database,
        // and the model's sums are those of the stored invoices.
        TVzm_3 check(*dm);
        QVERIFY(check.Wczytaj(podat, vzmId));
        QCOMPARE(shownPrice.raw(), check.P45().raw());
        // What was typed into the new application was stored.
        QCOMPARE(check.P45(), Money::fromRaw(35005000));
        QCOMPARE(check.P44(), QDate(2011, 3, 15));
        const auto sum = [&](const char *column, const char *letter) {
            return number(u"SELECT COALESCE(SUM(%1), 0) FROM Faktury WHERE VzmId = %2 AND Oznacz = '%3'"_s
                              .arg(QLatin1String(column))
                              .arg(vzmId)
                              .arg(QLatin1String(letter)));
        };
        QCOMPARE(check.SumaK5A().raw(), sum("VatA", "A"));
        QCOMPARE(check.SumaK6A().raw(), sum("VatB", "A"));
        QCOMPARE(check.SumaK5B().raw(), sum("VatA", "B"));
        QCOMPARE(check.SumaK6C().raw(), sum("VatB", "C"));
        QVERIFY(check.SumaK5A() > Money());
        // 27 invoices to an attachment: 28 make two, 3 and 2 make one each.
        QCOMPARE(labels.value(u"F62Lbl"_s), u"2 szt."_s);
        QCOMPARE(labels.value(u"F63Lbl"_s), u"1 szt."_s);
        QCOMPARE(labels.value(u"F64Lbl"_s), u"1 szt."_s);
        QCOMPARE(check.P62(), 2);
        for (int field = 51; field <= 54; ++field)
            QCOMPARE(labels.value(u"F%1Lbl"_s.arg(field)), Kwota2(check.GetPole(field)));
        QVERIFY(check.GetPole(51) > Money());
        QCOMPARE(labels.value(u"F55Lbl"_s), Kwota0(check.GetPole(55)));
    }
};

QTEST_MAIN(TestRoad)
#include "tst_road.moc"
