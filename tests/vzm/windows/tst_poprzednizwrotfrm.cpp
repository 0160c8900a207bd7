#include "vzm/windows/poprzednizwrotfrm.h"

#include "widgets/orxeditcalc.h"

#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

Money zl(const char *text)
{
    return *Money::parse(QString::fromUtf8(text));
}

const QChar Nbsp(0x00A0);

} // namespace

class TestPoprzedniZwrotFrm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;

private slots:
    void init() { db = std::make_unique<TestDatabase>(); }
    void cleanup() { db.reset(); }

    void showsTheAmountsInWholeZlotyWithThousands()
    {
        TPoprzedniZwrotFrm frm(db->dm);
        onNextModal<TPoprzedniZwrotFrm>([](TPoprzedniZwrotFrm &dialog) {
            QCOMPARE(childNamed<TOrxEditCalc>(dialog, QStringLiteral("EdZwrotB"))->text(),
                     QStringLiteral("12") + Nbsp + QStringLiteral("345"));
            QCOMPARE(childNamed<TOrxEditCalc>(dialog, QStringLiteral("EdZwrotD"))->text(), QString());
            dialog.reject();
        });
        QVERIFY(!frm.Edytuj(zl("1"), zl("12345"), zl("3"), Money()));
        // Nothing typed: the values come back as they went in.
        QCOMPARE(frm.GetZwrotB(), zl("12345"));
        QCOMPARE(frm.GetZwrotD(), Money());
    }

    void returnsWhatTheUserTyped_data()
    {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<bool>("asked"); // before the typed amount is dropped

        QTest::newRow("A, grosze kept though whole złoty are shown") << "EdZwrotA" << "1 500,50" << "1500,50" << true << false;
        QTest::newRow("B, a lone dot before grosze") << "EdZwrotB" << "7000.5" << "7000,50" << true << false;
        QTest::newRow("B, plain") << "EdZwrotB" << "7000" << "7000" << true << false;
        QTest::newRow("C, negative passed on") << "EdZwrotC" << "-300" << "-300" << true << false;
        QTest::newRow("D, emptied") << "EdZwrotD" << "" << "0" << true << false;
        QTest::newRow("A, cancelled") << "EdZwrotA" << "99" << "99" << false << true;
        QTest::newRow("B, cancelled as it was") << "EdZwrotB" << "20" << "20" << false << false;
    }

    void returnsWhatTheUserTyped()
    {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QFETCH(bool, confirm);
        QFETCH(bool, asked);

        TPoprzedniZwrotFrm frm(db->dm);
        onNextModal<TPoprzedniZwrotFrm>([&](TPoprzedniZwrotFrm &dialog) {
            auto *field = childNamed<TOrxEditCalc>(dialog, edit);
            field->setFocus();
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Delete);
            typeText(field, typed);
            if (confirm) {
                QTest::mouseClick(childNamed<QPushButton>(dialog, QStringLiteral("PostBtn")), Qt::LeftButton);
                return;
            }
            // What was typed is dropped only once the user agrees.
            QTest::keyClick(field, Qt::Key_Escape);
            if (dialog.isVisible()) {
                QCOMPARE(field->text(), typed);
                db->boxes.answer(true);
                QTest::keyClick(field, Qt::Key_Escape);
            }
        });
        QCOMPARE(frm.Edytuj(zl("10"), zl("20"), zl("30"), zl("40")), confirm);
        QCOMPARE(db->boxes.texts(), asked ? QStringList(2, u"Porzucić wprowadzone zmiany?"_s) : QStringList());
        const Money got = edit == u"EdZwrotA"   ? frm.GetZwrotA()
                          : edit == u"EdZwrotB" ? frm.GetZwrotB()
                          : edit == u"EdZwrotC" ? frm.GetZwrotC()
                                                : frm.GetZwrotD();
        QCOMPARE(got, zl(expected.toUtf8().constData()));
        // The other kinds are untouched.
        if (edit != u"EdZwrotB")
            QCOMPARE(frm.GetZwrotB(), zl("20"));
    }

    // Confirmed without a change, every amount is what it was, grosze and
    // all; an amount that does not read is refused, not confirmed.
    void confirmedAsShownOrRefused_data()
    {
        QTest::addColumn<QString>("typed"); // into EdZwrotB; empty: nothing typed
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("nothing changed") << QString() << true;
        QTest::newRow("a dot before thousands") << "1.500" << false;
        QTest::newRow("letters") << "tysiąc" << false;
    }
    void confirmedAsShownOrRefused()
    {
        QFETCH(QString, typed);
        QFETCH(bool, confirmed);
        FieldErrors bledy;
        TPoprzedniZwrotFrm frm(db->dm);
        bool otwarte = false;
        onNextModal<TPoprzedniZwrotFrm>([&](TPoprzedniZwrotFrm &dialog) {
            auto *field = childNamed<TOrxEditCalc>(dialog, QStringLiteral("EdZwrotB"));
            field->setFocus();
            if (!typed.isEmpty()) {
                field->selectAll();
                typeText(field, typed);
            }
            QSignalSpy klik(childNamed<QPushButton>(dialog, QStringLiteral("PostBtn")), &QAbstractButton::clicked);
            QTest::keyClick(field, Qt::Key_Z, Qt::AltModifier);
            // The button's accelerator clicks it a moment later.
            QVERIFY(klik.count() > 0 || klik.wait(5000));
            otwarte = dialog.isVisible();
            if (otwarte)
                dialog.QDialog::reject();
        });
        QCOMPARE(frm.Edytuj(zl("10,55"), zl("20,45"), zl("1234,5678"), zl("0")), confirmed);
        QCOMPARE(otwarte, !confirmed);
        QCOMPARE(bledy.shown(), confirmed ? QStringList() : QStringList{u"EdZwrotB: Niepoprawna zawartość pola"_s});
        if (confirmed) {
            QCOMPARE(frm.GetZwrotA(), zl("10,55"));
            QCOMPARE(frm.GetZwrotB(), zl("20,45"));
            QCOMPARE(frm.GetZwrotC(), zl("1234,5678"));
            QCOMPARE(frm.GetZwrotD(), zl("0"));
        }
    }
};

QTEST_MAIN(TestPoprzedniZwrotFrm)
#include "tst_poprzednizwrotfrm.moc"
