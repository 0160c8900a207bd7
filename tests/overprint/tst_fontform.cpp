#include "overprint/fontform.h"

#include "core/settingsfile.h"
#include "support/widgettest.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(PrintSettings)

namespace {

int zaznaczonyDuplex(const TFontForm &okno)
{
    for (int kod = 0; kod < 4; ++kod)
        if (childNamed<QRadioButton>(okno, u"EdDuplex%1"_s.arg(kod))->isChecked())
            return kod;
    return -1;
}

} // namespace

// The print options window over the program's print settings.
class TestFontForm : public QObject
{
    Q_OBJECT

private slots:
    // The window shows the settings as they are; a duplex code it does not
    // know falls back to the first choice, a font the machine lacks is kept.
    void showsTheSettings_data()
    {
        QTest::addColumn<PrintSettings>("ustawienia");
        QTest::addColumn<int>("duplex");
        QTest::newRow("domyślne") << PrintSettings{false, 0, 10, u"Arial"_s} << 0;
        QTest::newRow("pionowy, cienie") << PrintSettings{true, 2, 6, u"Liberation Serif"_s} << 2;
        QTest::newRow("poziomy") << PrintSettings{false, 3, 15, u"Liberation Mono"_s} << 3;
        QTest::newRow("kod 4") << PrintSettings{true, 4, 12, u"Liberation Sans"_s} << 0;
        QTest::newRow("kod 77") << PrintSettings{false, 77, 8, u"Brak Takiej Czcionki"_s} << 0;
    }
    void showsTheSettings()
    {
        QFETCH(PrintSettings, ustawienia);
        QFETCH(int, duplex);
        TFontForm okno(ustawienia);
        QCOMPARE(okno.windowTitle(), u"Opcje wydruku / nadruku"_s);
        QCOMPARE(childNamed<QComboBox>(okno, u"EdFontName"_s)->currentText(), ustawienia.FontName);
        QCOMPARE(childNamed<QSpinBox>(okno, u"EdFontSize"_s)->value(), ustawienia.FontSize);
        QCOMPARE(zaznaczonyDuplex(okno), duplex);
        QCOMPARE(childNamed<QCheckBox>(okno, u"EdCien"_s)->isChecked(), ustawienia.Cien);
    }

    // The choices carry the texts of the form in the order of their codes;
    // the sizes run from 6 to 15.
    void offersTheChoices()
    {
        PrintSettings ustawienia{false, 0, 10, u"Arial"_s};
        TFontForm okno(ustawienia);
        const QStringList teksty = {u"Nie drukuj dwustronnie"_s, u"Simplex"_s, u"Duplex_Vertical"_s,
                                    u"Duplex_Horizontal"_s};
        for (int kod = 0; kod < 4; ++kod)
            QCOMPARE(childNamed<QRadioButton>(okno, u"EdDuplex%1"_s.arg(kod))->text(), teksty[kod]);
        auto *rozmiar = childNamed<QSpinBox>(okno, u"EdFontSize"_s);
        QCOMPARE(rozmiar->minimum(), 6);
        QCOMPARE(rozmiar->maximum(), 15);
        auto *czcionki = childNamed<QComboBox>(okno, u"EdFontName"_s);
        QVERIFY(czcionki->findText(u"Liberation Sans"_s) >= 0);
        QVERIFY(czcionki->findText(u"DejaVu Sans"_s) >= 0);
    }

    // "&Zapisz" (also Enter) stores all four controls, "&Anuluj" and Esc
    // none; a duplex code that fell back is stored as the first choice.
    void savesOrCancels_data()
    {
        QTest::addColumn<PrintSettings>("przed");
        QTest::addColumn<bool>("zmien");
        QTest::addColumn<int>("zamkniecie"); // 0 "&Zapisz", 1 Enter, 2 "&Anuluj", 3 Esc
        QTest::addColumn<PrintSettings>("po");
        const PrintSettings zwykle{false, 1, 10, u"Liberation Sans"_s};
        const PrintSettings zmienione{true, 3, 14, u"Liberation Serif"_s};
        QTest::newRow("zapisz") << zwykle << true << 0 << zmienione;
        QTest::newRow("Enter") << zwykle << true << 1 << zmienione;
        QTest::newRow("anuluj") << zwykle << true << 2 << zwykle;
        QTest::newRow("Esc") << zwykle << true << 3 << zwykle;
        QTest::newRow("bez zmian, kod 9") << PrintSettings{true, 9, 7, u"Nieznana"_s} << false << 0
                                         << PrintSettings{true, 0, 7, u"Nieznana"_s};
        QTest::newRow("anuluj, kod 9") << PrintSettings{true, 9, 7, u"Nieznana"_s} << true << 2
                                      << PrintSettings{true, 9, 7, u"Nieznana"_s};
    }
    void savesOrCancels()
    {
        QFETCH(PrintSettings, przed);
        QFETCH(bool, zmien);
        QFETCH(int, zamkniecie);
        QFETCH(PrintSettings, po);
        PrintSettings ustawienia = przed;
        TFontForm okno(ustawienia);
        okno.show();
        QVERIFY(QTest::qWaitForWindowActive(&okno));
        if (zmien) {
            auto *czcionki = childNamed<QComboBox>(okno, u"EdFontName"_s);
            czcionki->setCurrentIndex(czcionki->findText(u"Liberation Serif"_s));
            auto *rozmiar = childNamed<QSpinBox>(okno, u"EdFontSize"_s);
            rozmiar->setFocus();
            rozmiar->selectAll();
            typeText(rozmiar, u"14"_s);
            clickIndicator(childNamed<QRadioButton>(okno, u"EdDuplex3"_s));
            childNamed<QCheckBox>(okno, u"EdCien"_s)->setChecked(true);
            childNamed<QCheckBox>(okno, u"EdCien"_s)->setFocus();
        }
        QWidget *fokus = QApplication::focusWidget();
        switch (zamkniecie) {
        case 0: QTest::mouseClick(childNamed<QPushButton>(okno, u"PostBtn"_s), Qt::LeftButton); break;
        case 1: QTest::keyClick(fokus, Qt::Key_Return); break;
        case 2: QTest::mouseClick(childNamed<QPushButton>(okno, u"CancelBtn"_s), Qt::LeftButton); break;
        default: QTest::keyClick(fokus, Qt::Key_Escape); break;
        }
        QVERIFY(!okno.isVisible());
        QCOMPARE(ustawienia.FontName, po.FontName);
        QCOMPARE(ustawienia.FontSize, po.FontSize);
        QCOMPARE(ustawienia.Duplex, po.Duplex);
        QCOMPARE(ustawienia.Cien, po.Cien);
    }

    // The accelerators of the captions lead to their controls, and every
    // control is reached by Tab.
    void keyboardReachesTheControls()
    {
        PrintSettings ustawienia{false, 2, 10, u"Liberation Sans"_s};
        TFontForm okno(ustawienia);
        okno.show();
        QVERIFY(QTest::qWaitForWindowActive(&okno));
        QCOMPARE(QApplication::focusWidget()->objectName(), u"EdFontName"_s);
        QTest::keyClick(&okno, Qt::Key_R, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), u"EdFontSize"_s);
        QTest::keyClick(&okno, Qt::Key_N, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), u"EdFontName"_s);
        QStringList odwiedzone;
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            odwiedzone << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(odwiedzone, (QStringList{u"EdFontSize"_s, u"EdDuplex2"_s, u"EdCien"_s, u"PostBtn"_s, u"CancelBtn"_s}));
        // A button's accelerator clicks it after a moment.
        QTest::keyClick(&okno, Qt::Key_Z, Qt::AltModifier);
        QTRY_VERIFY(!okno.isVisible());
        QCOMPARE(okno.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestFontForm)
#include "tst_fontform.moc"
