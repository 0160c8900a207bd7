#include "vzm/windows/poprzednizwrotfrm.h"

#include "widgets/orxeditcalc.h"

#include "support/widgettest.h"

#include <QPushButton>
#include <QTest>

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

private slots:
    void showsTheAmountsInWholeZlotyWithThousands()
    {
        TPoprzedniZwrotFrm frm;
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

        QTest::newRow("A, grosze kept though whole złoty are shown") << "EdZwrotA" << "1 500,50" << "1500,50" << true;
        QTest::newRow("B, a lone dot before grosze") << "EdZwrotB" << "7000.5" << "7000,50" << true;
        QTest::newRow("B, plain") << "EdZwrotB" << "7000" << "7000" << true;
        QTest::newRow("C, negative passed on") << "EdZwrotC" << "-300" << "-300" << true;
        QTest::newRow("D, emptied") << "EdZwrotD" << "" << "0" << true;
        QTest::newRow("A, cancelled") << "EdZwrotA" << "99" << "99" << false;
    }

    void returnsWhatTheUserTyped()
    {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QFETCH(bool, confirm);

        TPoprzedniZwrotFrm frm;
        onNextModal<TPoprzedniZwrotFrm>([&](TPoprzedniZwrotFrm &dialog) {
            auto *field = childNamed<TOrxEditCalc>(dialog, edit);
            field->setFocus();
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Delete);
            typeText(field, typed);
            if (confirm)
                QTest::mouseClick(childNamed<QPushButton>(dialog, QStringLiteral("PostBtn")), Qt::LeftButton);
            else
                QTest::keyClick(field, Qt::Key_Escape);
        });
        QCOMPARE(frm.Edytuj(zl("10"), zl("20"), zl("30"), zl("40")), confirm);
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
        TPoprzedniZwrotFrm frm;
        bool otwarte = false;
        onNextModal<TPoprzedniZwrotFrm>([&](TPoprzedniZwrotFrm &dialog) {
            auto *field = childNamed<TOrxEditCalc>(dialog, QStringLiteral("EdZwrotB"));
            field->setFocus();
            if (!typed.isEmpty()) {
                field->selectAll();
                typeText(field, typed);
            }
            QTest::keyClick(field, Qt::Key_Z, Qt::AltModifier);
            QTest::qWait(200); // the button's accelerator clicks it a moment later
            otwarte = dialog.isVisible();
            if (otwarte)
                dialog.reject();
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
