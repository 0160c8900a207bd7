// The calculator edit: reading what the user typed, the limits with their
// colours and cropping, the display formats, the beeps and the error shown
// when the control is left with an unreadable text. The control is driven
// by key events in a shown, active window.

#include "widgets/orxeditcalc.h"

#include "widgets/fielderror.h"

#include "support/widgettest.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaProperty>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

#include <memory>

Q_DECLARE_METATYPE(TOrxEditCheckOptions)

// Amounts in the failure messages.
char *toString(const Money &money)
{
    return QTest::toString(money.format(4, false));
}

namespace {

const QChar Nbsp(0x00A0);

Money kwota(const char *text)
{
    return *Money::parse(QString::fromLatin1(text));
}

// Which background the control should have.
enum Tlo { Normalne, Powyzej, Ponizej };

QColor oczekiwaneTlo(TOrxEditCalc &calc, int tlo)
{
    switch (tlo) {
    case Powyzej:
        return calc.ColorAbove();
    case Ponizej:
        return calc.ColorBelow();
    default:
        return calc.Color();
    }
}

// A window with the control and a plain edit after it, to Tab to.
struct Okno
{
    QWidget window;
    TOrxEditCalc *calc = nullptr;
    QLineEdit *inne = nullptr;

    Okno()
    {
        window.resize(220, 90);
        calc = new TOrxEditCalc(&window);
        calc->move(10, 10);
        inne = new QLineEdit(&window);
        inne->setGeometry(10, 50, 121, 21);
    }
    bool pokaz()
    {
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        inne->setFocus(Qt::OtherFocusReason);
        return inne->hasFocus();
    }
    // Tab from the other edit into the control, as the user does.
    void wejdz() { QTest::keyClick(inne, Qt::Key_Tab); }
    // Tab out of the control.
    void wyjdz() { QTest::keyClick(calc, Qt::Key_Tab); }
    QColor tlo() const { return calc->palette().color(QPalette::Base); }
};

struct Zgloszenie
{
    QWidget *control;
    QString text;
    QPoint at;
};

} // namespace

class TstEditCalc : public QObject
{
    Q_OBJECT

private:
    int m_beeps = 0;
    QList<Zgloszenie> m_zgloszenia;

private slots:
    void init()
    {
        m_beeps = 0;
        m_zgloszenia.clear();
        TOrxEditCalc::SetBeepHook([this] { ++m_beeps; });
        FieldError::setReporter([this](QWidget *control, const QString &text, QPoint at) {
            m_zgloszenia.append({control, text, at});
        });
    }
    void cleanup()
    {
        TOrxEditCalc::SetBeepHook({});
        FieldError::setReporter({});
    }

    void defaults()
    {
        Okno okno;
        TOrxEditCalc &calc = *okno.calc;
        QCOMPARE(calc.CheckOptions(),
                 TOrxEditCheckOptions({coCheckLowLimit, coCheckHighLimit, coCheckOnExit, coCropBeyondLimit}));
        QCOMPARE(int(calc.CheckOptions().toInt()), 0x01 | 0x02 | 0x08 | 0x10);
        QCOMPARE(calc.LowLimit(), Money());
        QCOMPARE(calc.HighLimit(), Money());
        QCOMPARE(calc.ColorAbove(), QColor(0, 255, 255));
        QCOMPARE(calc.ColorBelow(), QColor(0, 255, 0));
        QCOMPARE(calc.Color(), okno.inne->palette().color(QPalette::Base));
        QCOMPARE(calc.DisplayFormat(), QString());
        QCOMPARE(calc.alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        QCOMPARE(calc.size(), QSize(121, 21));
        QCOMPARE(calc.text(), QString());
        QVERIFY(calc.IsEmpty());
        QCOMPARE(calc.Value(), Money());
        QCOMPARE(m_beeps, 0);
    }

    void publishedProperties_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("writable");
        for (const char *name : {"Value", "ValueReal", "LowLimit", "HighLimit", "CheckOptions", "IsEmpty", "Color",
                                 "ColorAbove", "ColorBelow", "DisplayFormat"})
            QTest::newRow(name) << QString::fromLatin1(name) << true;
        QTest::newRow("ValueDispalyed") << QStringLiteral("ValueDispalyed") << false;
    }
    void publishedProperties()
    {
        QFETCH(QString, name);
        QFETCH(bool, writable);
        TOrxEditCalc calc;
        const int index = calc.metaObject()->indexOfProperty(name.toLatin1().constData());
        QVERIFY2(index >= 0, qPrintable(name));
        QCOMPARE(calc.metaObject()->property(index).isWritable(), writable);
    }

    // Typing into the control and leaving it with Tab.
    void typedAndLeft_data()
    {
        QTest::addColumn<TOrxEditCheckOptions>("options");
        QTest::addColumn<Money>("low");
        QTest::addColumn<Money>("high");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("tlo");
        QTest::addColumn<Money>("value");
        QTest::addColumn<Money>("valueReal");
        QTest::addColumn<Money>("displayed");
        QTest::addColumn<int>("beeps");

        const TOrxEditCheckOptions dflt = TOrxEditCalc::DefaultCheckOptions;
        const TOrxEditCheckOptions f45{coCheckLowLimit, coCheckOnExit, coCropBeyondLimit};
        const TOrxEditCheckOptions none;
        const Money zero;

        QTest::newRow("defaults crop a positive amount to 0")
            << dflt << zero << zero << QString() << "5" << "0,00 zł" << int(Normalne) << zero << zero << zero << 0;
        QTest::newRow("defaults crop a negative amount to 0")
            << dflt << zero << zero << QString() << "-5" << "0,00 zł" << int(Normalne) << zero << zero << zero << 0;
        QTest::newRow("-5 cropped to the low limit")
            << f45 << zero << zero << "#,##0.00" << "-5" << "0,00" << int(Normalne) << zero << zero << zero << 0;
        QTest::newRow("-5 kept below the low limit")
            << TOrxEditCheckOptions(coCheckLowLimit) << zero << zero << "#,##0.00" << "-5" << "-5,00"
            << int(Ponizej) << zero << kwota("-5") << kwota("-5") << 0;
        QTest::newRow("150 kept above the high limit")
            << TOrxEditCheckOptions(coCheckHighLimit) << zero << kwota("100") << "#,##0.00" << "150" << "150,00"
            << int(Powyzej) << kwota("100") << kwota("150") << kwota("150") << 0;
        QTest::newRow("150 cropped to the high limit")
            << TOrxEditCheckOptions{coCheckHighLimit, coCropBeyondLimit} << zero << kwota("100") << "#,##0.00"
            << "150" << "100,00" << int(Normalne) << kwota("100") << kwota("100") << kwota("100") << 0;
        QTest::newRow("the high limit is checked first")
            << TOrxEditCheckOptions{coCheckLowLimit, coCheckHighLimit} << kwota("10") << kwota("5") << "0" << "7"
            << "7" << int(Powyzej) << kwota("5") << kwota("7") << kwota("7") << 0;
        QTest::newRow("within the limits")
            << TOrxEditCheckOptions{coCheckLowLimit, coCheckHighLimit, coCropBeyondLimit} << zero << kwota("100")
            << "#,##0.00" << "12,5" << "12,50" << int(Normalne) << kwota("12,5") << kwota("12,5") << kwota("12,5")
            << 0;
        QTest::newRow("thousands separators shown")
            << none << zero << zero << "#,##0.00" << "1234,5" << QString("1" + QString(Nbsp) + "234,50")
            << int(Normalne) << kwota("1234,5") << kwota("1234,5") << kwota("1234,5") << 0;
        QTest::newRow("the thousands separator typed")
            << none << zero << zero << "#,##0.00" << QString("1" + QString(Nbsp) + "234,5")
            << QString("1" + QString(Nbsp) + "234,50") << int(Normalne) << kwota("1234,5") << kwota("1234,5")
            << kwota("1234,5") << 0;
        QTest::newRow("a currency after the number")
            << none << zero << zero << "#,##0.00" << "12,5 zł" << "12,50" << int(Normalne) << kwota("12,5")
            << kwota("12,5") << kwota("12,5") << 0;
        QTest::newRow("a plus sign") << none << zero << zero << "0" << "+7" << "7" << int(Normalne) << kwota("7")
                                     << kwota("7") << kwota("7") << 0;
        QTest::newRow("a blank between thousands")
            << none << zero << zero << "#,##0" << "1 234" << QString("1" + QString(Nbsp) + "234") << int(Normalne)
            << kwota("1234") << kwota("1234") << kwota("1234") << 0;
        QTest::newRow("a lone dot before grosze")
            << none << zero << zero << "#,##0.00" << "12.5" << "12,50" << int(Normalne) << kwota("12,5")
            << kwota("12,5") << kwota("12,5") << 0;
        QTest::newRow("dot thousands, comma point")
            << none << zero << zero << "#,##0.00" << "1.220,5" << QString("1" + QString(Nbsp) + "220,50")
            << int(Normalne) << kwota("1220,5") << kwota("1220,5") << kwota("1220,5") << 0;
        // Unread, the text stays as typed and the value as it was.
        QTest::newRow("letters kept, unchecked on exit, one beep")
            << TOrxEditCheckOptions{coCheckLowLimit, coCropBeyondLimit} << zero << zero << "#,##0.00" << "xyz"
            << "xyz" << int(Normalne) << zero << zero << zero << 1;
        QTest::newRow("a dot before thousands kept")
            << none << zero << zero << "#0" << "1.220" << "1.220" << int(Normalne) << zero << zero << zero << 1;
        QTest::newRow("the text of the zero section reads as 0")
            << none << zero << zero << "#0;-#0;brak" << "BRAK" << "brak" << int(Normalne) << zero << zero << zero << 0;
    }
    void typedAndLeft()
    {
        QFETCH(TOrxEditCheckOptions, options);
        QFETCH(Money, low);
        QFETCH(Money, high);
        QFETCH(QString, format);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, tlo);
        QFETCH(Money, value);
        QFETCH(Money, valueReal);
        QFETCH(Money, displayed);
        QFETCH(int, beeps);

        Okno okno;
        TOrxEditCalc &calc = *okno.calc;
        calc.SetCheckOptions(options);
        calc.SetLowLimit(low);
        calc.SetHighLimit(high);
        calc.SetDisplayFormat(format);
        QVERIFY(okno.pokaz());
        okno.wejdz();
        QVERIFY(calc.hasFocus());
        typeText(&calc, typed);
        QCOMPARE(calc.text(), typed);
        okno.wyjdz();
        QVERIFY(okno.inne->hasFocus());

        QCOMPARE(calc.text(), shown);
        QCOMPARE(okno.tlo(), oczekiwaneTlo(calc, tlo));
        QCOMPARE(m_beeps, beeps);
        QCOMPARE(calc.Value(), value);
        QCOMPARE(calc.ValueReal(), valueReal);
        QCOMPARE(calc.ValueDispalyed(), displayed);
        QVERIFY(m_zgloszenia.isEmpty());
        // A text as shown reads back without a beep; an unread one beeps at
        // each of the three readings.
        QCOMPARE(m_beeps, beeps * 4);
    }

    // A value below the low limit, shown in its colour, is shown raw in the
    // normal colour while the control has the focus.
    void shownUnfocusedAndEntered_data()
    {
        QTest::addColumn<TOrxEditCheckOptions>("options");
        QTest::addColumn<QString>("format");
        QTest::addColumn<Money>("value");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("tlo");
        // What the text as shown reads back as.
        QTest::addColumn<Money>("readBack");

        const TOrxEditCheckOptions none;
        const QString tysiac = QString("1" + QString(Nbsp) + "234");
        QTest::newRow("#,##0.00") << none << "#,##0.00" << kwota("1234,5") << QString(tysiac + ",50") << int(Normalne) << kwota("1234,5");
        // The value shown keeps its decimals while its text stays.
        QTest::newRow("#,##0 rounds") << none << "#,##0" << kwota("1234,5") << QString(tysiac.chopped(1) + "5")
                                      << int(Normalne) << kwota("1234,5");
        QTest::newRow("0") << none << "0" << kwota("1234,4") << "1234" << int(Normalne) << kwota("1234,4");
        QTest::newRow("#0") << none << "#0" << kwota("7") << "7" << int(Normalne) << kwota("7");
        QTest::newRow("###0") << none << "###0" << kwota("12") << "12" << int(Normalne) << kwota("12");
        QTest::newRow("no format is money") << none << QString() << kwota("1234,5") << QString(tysiac + ",50 zł")
                                            << int(Normalne) << kwota("1234,5");
        QTest::newRow("negative") << none << "#,##0.00" << kwota("-1234,5") << QString("-" + tysiac + ",50")
                                  << int(Normalne) << kwota("-1234,5");
        QTest::newRow("below the low limit") << TOrxEditCheckOptions(coCheckLowLimit) << "#,##0.00" << kwota("-5")
                                             << "-5,00" << int(Ponizej) << kwota("-5");
    }
    void shownUnfocusedAndEntered()
    {
        QFETCH(TOrxEditCheckOptions, options);
        QFETCH(QString, format);
        QFETCH(Money, value);
        QFETCH(QString, shown);
        QFETCH(int, tlo);
        QFETCH(Money, readBack);

        Okno okno;
        TOrxEditCalc &calc = *okno.calc;
        calc.SetCheckOptions(options);
        calc.SetDisplayFormat(format);
        QVERIFY(okno.pokaz());
        calc.SetValue(value);
        QCOMPARE(calc.text(), shown);
        QCOMPARE(okno.tlo(), oczekiwaneTlo(calc, tlo));

        QSignalSpy entered(&calc, &TOrxEditCalc::entered);
        okno.wejdz();
        QCOMPARE(entered.count(), 1);
        QCOMPARE(calc.text(), shown);
        QCOMPARE(calc.selectedText(), shown);
        QCOMPARE(okno.tlo(), calc.Color());
        QCOMPARE(calc.ValueReal(), readBack);
    }

    void emptyVersusZero_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("empty");
        QTest::addColumn<QString>("shown");

        QTest::newRow("nothing") << "" << true << "";
        QTest::newRow("blanks") << "   " << true << "   ";
        QTest::newRow("0") << "0" << false << "0";
        QTest::newRow("0,00") << "0,00" << false << "0";
    }
    void emptyVersusZero()
    {
        QFETCH(QString, typed);
        QFETCH(bool, empty);
        QFETCH(QString, shown);

        Okno okno;
        TOrxEditCalc &calc = *okno.calc;
        calc.SetCheckOptions({});
        calc.SetDisplayFormat(QStringLiteral("#0"));
        calc.SetValue(kwota("9"));
        QVERIFY(okno.pokaz());
        okno.wejdz();
        QTest::keyClick(&calc, Qt::Key_Delete);
        QCOMPARE(calc.text(), QString());
        typeText(&calc, typed);
        QCOMPARE(calc.Value(), Money());
        QCOMPARE(calc.IsEmpty(), empty);
        okno.wyjdz();
        QCOMPARE(calc.text(), shown);
        QCOMPARE(calc.Value(), Money());
        QCOMPARE(calc.IsEmpty(), empty);
        QCOMPARE(m_beeps, 0);
    }

    void setValueToZero_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("showingNumber");
        QTest::addColumn<QString>("shown");

        QTest::newRow("a number becomes 0") << "#0" << true << "0";
        QTest::newRow("a number becomes 0,00") << "#,##0.00" << true << "0,00";
        QTest::newRow("an empty field stays empty") << "#0" << false << "";
    }
    void setValueToZero()
    {
        QFETCH(QString, format);
        QFETCH(bool, showingNumber);
        QFETCH(QString, shown);

        Okno okno;
        TOrxEditCalc &calc = *okno.calc;
        calc.SetCheckOptions({});
        calc.SetDisplayFormat(format);
        if (showingNumber) {
            QVERIFY(okno.pokaz());
            okno.wejdz();
            typeText(&calc, QStringLiteral("15"));
            okno.wyjdz();
            QVERIFY(!calc.IsEmpty());
        }
        calc.SetValue(Money());
        QCOMPARE(calc.text(), shown);
        QCOMPARE(calc.IsEmpty(), shown.isEmpty());
        QCOMPARE(calc.Value(), Money());
    }

    // Placed on its parent with the value 0, the control is emptied.
    void placedOnParent_data()
    {
        QTest::addColumn<bool>("readFirst");
        QTest::addColumn<QString>("shown");

        QTest::newRow("value 0") << false << "";
        QTest::newRow("value read as 7") << true << "7";
    }
    void placedOnParent()
    {
        QFETCH(bool, readFirst);
        QFETCH(QString, shown);

        QWidget window;
        auto *calc = new TOrxEditCalc;
        std::unique_ptr<TOrxEditCalc> owner(calc);
        calc->setText(QStringLiteral("7"));
        if (readFirst)
            QCOMPARE(calc->ValueReal(), kwota("7"));
        calc->setParent(&window);
        owner.release();
        QCOMPARE(calc->text(), shown);
    }

    void isEmptyWritten_data()
    {
        QTest::addColumn<bool>("startEmpty");
        QTest::addColumn<bool>("write");
        QTest::addColumn<QString>("shown");

        QTest::newRow("true empties a number") << false << true << "";
        QTest::newRow("false shows 0 in an empty field") << true << false << "0,00";
        QTest::newRow("true keeps an empty field empty") << true << true << "";
    }
    void isEmptyWritten()
    {
        QFETCH(bool, startEmpty);
        QFETCH(bool, write);
        QFETCH(QString, shown);

        Okno okno;
        TOrxEditCalc &calc = *okno.calc;
        calc.SetCheckOptions({});
        calc.SetDisplayFormat(QStringLiteral("#,##0.00"));
        if (!startEmpty)
            calc.SetValue(kwota("12"));
        QCOMPARE(calc.IsEmpty(), startEmpty);
        calc.SetIsEmpty(write);
        QCOMPARE(calc.text(), shown);
        QCOMPARE(calc.IsEmpty(), write);
        QCOMPARE(calc.Value(), Money());
    }

    // Every reading of an unreadable text beeps once.
    void beepsPerReading_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("property");
        QTest::addColumn<int>("readings");
        QTest::addColumn<int>("beeps");

        for (const char *p : {"Value", "ValueReal", "ValueDispalyed"}) {
            const QString name = QString::fromLatin1(p);
            QTest::addRow("%s once", p) << "abc" << name << 1 << 1;
            QTest::addRow("%s three times", p) << "abc" << name << 3 << 3;
            QTest::addRow("%s readable", p) << "12,5" << name << 3 << 0;
        }
        QTest::newRow("IsEmpty does not read") << "abc" << "IsEmpty" << 2 << 0;
    }
    void beepsPerReading()
    {
        QFETCH(QString, typed);
        QFETCH(QString, property);
        QFETCH(int, readings);
        QFETCH(int, beeps);

        Okno okno;
        TOrxEditCalc &calc = *okno.calc;
        QVERIFY(okno.pokaz());
        okno.wejdz();
        typeText(&calc, typed);
        QCOMPARE(m_beeps, 0);
        for (int i = 0; i < readings; ++i)
            QVERIFY(calc.property(property.toLatin1().constData()).isValid());
        QCOMPARE(m_beeps, beeps);
        QCOMPARE(calc.text(), typed);
    }

    // With coCheckOnChange every change of an unreadable text beeps.
    void checkOnChange_data()
    {
        QTest::addColumn<TOrxEditCheckOptions>("options");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("beeps");

        QTest::newRow("letters") << TOrxEditCheckOptions(coCheckOnChange) << "ab" << 2;
        QTest::newRow("a letter between digits") << TOrxEditCheckOptions(coCheckOnChange) << "1a2" << 2;
        QTest::newRow("an amount") << TOrxEditCheckOptions(coCheckOnChange) << "12,5" << 0;
        QTest::newRow("unchecked") << TOrxEditCheckOptions() << "ab" << 0;
    }
    void checkOnChange()
    {
        QFETCH(TOrxEditCheckOptions, options);
        QFETCH(QString, typed);
        QFETCH(int, beeps);

        Okno okno;
        TOrxEditCalc &calc = *okno.calc;
        calc.SetCheckOptions(options);
        // Zero is shown as a word, which does not read as a number.
        calc.SetDisplayFormat(QStringLiteral("#0;-#0;brak"));
        QVERIFY(okno.pokaz());
        okno.wejdz();
        QSignalSpy changed(&calc, &TOrxEditCalc::changed);
        typeText(&calc, typed);
        QCOMPARE(changed.count(), typed.size());
        QCOMPARE(m_beeps, beeps);
        // Showing the value is no edit to check.
        calc.SetValue(Money());
        QCOMPARE(calc.text(), QStringLiteral("brak"));
        QCOMPARE(m_beeps, beeps);
        QCOMPARE(calc.CheckOptions(), options);
    }

    // Leaving with an unreadable text and coCheckOnExit: the error below the
    // control, the focus kept, the text as typed.
    void errorOnExit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("error");
        QTest::addColumn<QString>("shown");

        QTest::newRow("letters") << "abc" << true << "abc";
        QTest::newRow("a blank in a group of two") << "12 34" << true << "12 34";
        QTest::newRow("a dot before three digits") << "12.500" << true << "12.500";
        QTest::newRow("two signs") << "--5" << true << "--5";
        QTest::newRow("a dot before grosze") << "12.5" << false << "12,50";
        QTest::newRow("an amount") << "12,5" << false << "12,50";
        QTest::newRow("a negative amount cropped") << "-12,5" << false << "0,00";
    }
    void errorOnExit()
    {
        QFETCH(QString, typed);
        QFETCH(bool, error);
        QFETCH(QString, shown);

        Okno okno;
        TOrxEditCalc &calc = *okno.calc;
        calc.SetCheckOptions({coCheckLowLimit, coCheckOnExit, coCropBeyondLimit});
        calc.SetDisplayFormat(QStringLiteral("#,##0.00"));
        QVERIFY(okno.pokaz());
        QSignalSpy entered(&calc, &TOrxEditCalc::entered);
        QSignalSpy exited(&calc, &TOrxEditCalc::exited);
        okno.wejdz();
        typeText(&calc, typed);
        okno.wyjdz();
        // A leaving whose text did not read is none.
        QCOMPARE(exited.count(), error ? 0 : 1);
        if (!error) {
            QTest::qWait(50);
            QVERIFY(m_zgloszenia.isEmpty());
            QVERIFY(okno.inne->hasFocus());
            QCOMPARE(calc.text(), shown);
            return;
        }

        QTRY_COMPARE(m_zgloszenia.size(), 1);
        const Zgloszenie z = m_zgloszenia.first();
        QCOMPARE(z.control, &calc);
        QCOMPARE(z.text, QStringLiteral("Niepoprawna zawartość pola"));
        QCOMPARE(z.at, calc.mapToGlobal(QPoint(0, calc.height())));
        QTRY_VERIFY(calc.hasFocus());
        QCOMPARE(calc.text(), shown);
        QVERIFY(calc.IsInvalid());
        QCOMPARE(m_beeps, 0);
        // The focus never left the control as far as its users see.
        QCOMPARE(entered.count(), 1);
        QCOMPARE(exited.count(), 0);

        // Corrected, the control can be left.
        QTest::keyClick(&calc, Qt::Key_A, Qt::ControlModifier);
        typeText(&calc, QStringLiteral("7"));
        QVERIFY(!calc.IsInvalid());
        okno.wyjdz();
        QVERIFY(okno.inne->hasFocus());
        QCOMPARE(calc.text(), QStringLiteral("7,00"));
        QCOMPARE(calc.Value(), kwota("7"));
        QCOMPARE(exited.count(), 1);
        QTest::qWait(50);
        QCOMPARE(m_zgloszenia.size(), 1);
    }

    // While the last reading failed, entering keeps the text as it is.
    void enteredAfterFailedReading_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("readFirst");
        QTest::addColumn<QString>("shownOnEnter");
        QTest::addColumn<bool>("byTab");

        for (const bool byTab : {true, false}) {
            const char *how = byTab ? "Tab" : "focus set";
            QTest::addRow("unreadable, read, %s", how) << "abc" << true << "abc" << byTab;
            QTest::addRow("unreadable, not read, %s", how) << "abc" << false << "abc" << byTab;
            QTest::addRow("readable, read, %s", how) << "12,5" << true << "12,50" << byTab;
        }
    }
    void enteredAfterFailedReading()
    {
        QFETCH(QString, text);
        QFETCH(bool, readFirst);
        QFETCH(QString, shownOnEnter);
        QFETCH(bool, byTab);

        Okno okno;
        TOrxEditCalc &calc = *okno.calc;
        calc.SetCheckOptions({});
        calc.SetDisplayFormat(QStringLiteral("#,##0.00"));
        QVERIFY(okno.pokaz());
        calc.setText(text);
        if (readFirst)
            calc.ValueReal();
        QSignalSpy entered(&calc, &TOrxEditCalc::entered);
        if (byTab)
            okno.wejdz();
        else
            calc.setFocus(Qt::OtherFocusReason);
        QCOMPARE(entered.count(), 1);
        QCOMPARE(calc.text(), shownOnEnter);
        QCOMPARE(calc.selectedText(), shownOnEnter);
    }

    // The value as shown: cropped only while the control is not focused.
    void valueDisplayed_data()
    {
        QTest::addColumn<TOrxEditCheckOptions>("options");
        QTest::addColumn<bool>("focused");
        QTest::addColumn<Money>("displayed");
        QTest::addColumn<Money>("value");

        const TOrxEditCheckOptions crop{coCheckLowLimit, coCheckHighLimit, coCropBeyondLimit};
        const TOrxEditCheckOptions mark{coCheckLowLimit, coCheckHighLimit};
        QTest::newRow("cropped, not focused") << crop << false << kwota("-2") << kwota("-2");
        QTest::newRow("cropped, focused") << crop << true << kwota("-5") << kwota("-2");
        QTest::newRow("marked, not focused") << mark << false << kwota("-5") << kwota("-2");
        QTest::newRow("marked, focused") << mark << true << kwota("-5") << kwota("-2");
        QTest::newRow("unchecked") << TOrxEditCheckOptions(coCropBeyondLimit) << false << kwota("-5") << kwota("-5");
    }
    void valueDisplayed()
    {
        QFETCH(TOrxEditCheckOptions, options);
        QFETCH(bool, focused);
        QFETCH(Money, displayed);
        QFETCH(Money, value);

        Okno okno;
        TOrxEditCalc &calc = *okno.calc;
        calc.SetCheckOptions(options);
        calc.SetLowLimit(kwota("-2"));
        calc.SetHighLimit(kwota("10"));
        calc.SetDisplayFormat(QStringLiteral("0"));
        QVERIFY(okno.pokaz());
        // Typed by the user in the control, or put into it by the program.
        if (focused) {
            okno.wejdz();
            typeText(&calc, QStringLiteral("-5"));
        } else {
            calc.setText(QStringLiteral("-5"));
        }
        QCOMPARE(calc.hasFocus(), focused);
        QCOMPARE(calc.ValueDispalyed(), displayed);
        QCOMPARE(calc.Value(), value);
        QCOMPARE(calc.ValueReal(), kwota("-5"));
        QCOMPARE(calc.text(), QStringLiteral("-5"));
    }

    // Writing a colour, a limit or the options redisplays at once.
    void writesRedisplay()
    {
        Okno okno;
        TOrxEditCalc &calc = *okno.calc;
        calc.SetCheckOptions(coCheckLowLimit);
        calc.SetDisplayFormat(QStringLiteral("0"));
        calc.SetValue(kwota("-5"));
        QCOMPARE(okno.tlo(), QColor(0, 255, 0));
        calc.SetColorBelow(Qt::red);
        QCOMPARE(okno.tlo(), QColor(Qt::red));
        calc.SetLowLimit(kwota("-10"));
        QCOMPARE(okno.tlo(), calc.Color());
        QCOMPARE(calc.text(), QStringLiteral("-5"));
        calc.SetCheckOptions({coCheckLowLimit, coCropBeyondLimit});
        calc.SetLowLimit(kwota("-2"));
        QCOMPARE(calc.text(), QStringLiteral("-2"));
        calc.SetColor(Qt::yellow);
        QCOMPARE(okno.tlo(), QColor(Qt::yellow));
        calc.SetDisplayFormat(QStringLiteral("0.00"));
        QCOMPARE(calc.text(), QStringLiteral("-2,00"));
    }

    // A control for whole numbers reads nothing else: no fraction, nothing
    // longer than its digits, no negative number unless a cropped low limit
    // takes it; what it refuses is reported and kept as typed.
    void wholeNumbers_data()
    {
        QTest::addColumn<TOrxEditCheckOptions>("options");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown"); // empty: refused, shown as typed
        QTest::addColumn<Money>("value");

        const TOrxEditCheckOptions count{coCheckOnExit};
        const TOrxEditCheckOptions cropped{coCheckLowLimit, coCheckOnExit, coCropBeyondLimit};
        QTest::newRow("four digits") << count << "9999" << "9" + QString(Nbsp) + "999" << kwota("9999");
        QTest::newRow("grouped") << count << "1 234" << "1" + QString(Nbsp) + "234" << kwota("1234");
        QTest::newRow("whole with a zero fraction") << count << "12,00" << "12" << kwota("12");
        QTest::newRow("five digits") << count << "10000" << QString() << Money();
        QTest::newRow("a fraction") << count << "2,5" << QString() << Money();
        QTest::newRow("negative") << count << "-3" << QString() << Money();
        QTest::newRow("negative, cropped to the low limit") << cropped << "-3" << "0" << Money();
        QTest::newRow("far beyond any count") << count << "99999999999999" << QString() << Money();
    }
    void wholeNumbers()
    {
        QFETCH(TOrxEditCheckOptions, options);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(Money, value);

        Okno okno;
        TOrxEditCalc &calc = *okno.calc;
        calc.SetCheckOptions(options);
        calc.SetDisplayFormat(QStringLiteral("#,##0"));
        calc.SetWholeDigits(4);
        QVERIFY(okno.pokaz());
        okno.wejdz();
        typeText(&calc, typed);
        okno.wyjdz();
        if (shown.isEmpty()) {
            QTRY_COMPARE(m_zgloszenia.size(), 1);
            QTRY_VERIFY(calc.hasFocus());
            QCOMPARE(calc.text(), typed);
            QVERIFY(!calc.IsReadable());
        } else {
            QVERIFY(okno.inne->hasFocus());
            QCOMPARE(calc.text(), shown);
            QVERIFY(m_zgloszenia.isEmpty());
        }
        QCOMPARE(calc.ValueReal(), value);
    }

    // The keypad's decimal key types a comma, whichever character the
    // keyboard layout gives it; the other keys type as they are.
    void keypadDecimalKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("keypad");
        QTest::addColumn<QString>("typed");
        QTest::newRow("keypad point") << int(Qt::Key_Period) << "." << true << "12,5";
        QTest::newRow("keypad comma") << int(Qt::Key_Comma) << "," << true << "12,5";
        QTest::newRow("main point") << int(Qt::Key_Period) << "." << false << "12.5";
    }
    void keypadDecimalKey()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(bool, keypad);
        QFETCH(QString, typed);

        Okno okno;
        TOrxEditCalc &calc = *okno.calc;
        calc.SetCheckOptions({});
        QVERIFY(okno.pokaz());
        okno.wejdz();
        typeText(&calc, QStringLiteral("12"));
        QTest::sendKeyEvent(QTest::Click, &calc, Qt::Key(key), text,
                            keypad ? Qt::KeypadModifier : Qt::NoModifier);
        QTest::keyClick(&calc, Qt::Key_5);
        QCOMPARE(calc.text(), typed);
        QCOMPARE(calc.ValueReal(), kwota("12,5"));
    }

    // An amount shown and left as shown keeps all its decimals; typed anew,
    // it is what was typed.
    void shownAmountKeepsItsDecimals_data()
    {
        QTest::addColumn<QString>("typed"); // empty: left as shown
        QTest::addColumn<Money>("value");
        QTest::newRow("as shown") << QString() << kwota("1234,5678");
        QTest::newRow("typed as shown") << "1 235" << kwota("1235");
        QTest::newRow("another") << "1 234" << kwota("1234");
    }
    void shownAmountKeepsItsDecimals()
    {
        QFETCH(QString, typed);
        QFETCH(Money, value);

        Okno okno;
        TOrxEditCalc &calc = *okno.calc;
        calc.SetCheckOptions({});
        calc.SetDisplayFormat(QStringLiteral("#,##0"));
        QVERIFY(okno.pokaz());
        calc.SetValue(kwota("1234,5678"));
        QCOMPARE(calc.text(), "1" + QString(Nbsp) + "235");
        okno.wejdz();
        if (!typed.isEmpty()) {
            QTest::keyClick(&calc, Qt::Key_A, Qt::ControlModifier);
            typeText(&calc, typed);
        }
        okno.wyjdz();
        QCOMPARE(calc.ValueReal(), value);
        QCOMPARE(m_beeps, 0);
    }

    // A save asks every control of the window: the first that does not read
    // is reported and takes the focus, the others are not asked.
    void unreadableReportedBeforeASave()
    {
        Okno okno;
        auto *drugi = new TOrxEditCalc(&okno.window);
        drugi->move(10, 80);
        for (TOrxEditCalc *c : {okno.calc, drugi})
            c->SetCheckOptions({});
        QVERIFY(okno.pokaz());
        QCOMPARE(TOrxEditCalc::ReportUnreadable(okno.window), nullptr);
        drugi->setText(QStringLiteral("1.220"));
        okno.calc->setText(QStringLiteral("12,5"));
        QCOMPARE(TOrxEditCalc::ReportUnreadable(okno.window), drugi);
        QTRY_COMPARE(m_zgloszenia.size(), 1);
        QCOMPARE(m_zgloszenia[0].control, drugi);
        QCOMPARE(m_zgloszenia[0].text, TOrxEditCalc::ErrorText);
        QTRY_VERIFY(drugi->hasFocus());
        QCOMPARE(drugi->text(), QStringLiteral("1.220"));
        QCOMPARE(m_beeps, 0);
    }

    // The pictures: the background as painted, and the error box below the
    // control. With CALC_SHOTS set to a directory they are saved there.
    void pictures()
    {
        const QString dir = qEnvironmentVariable("CALC_SHOTS");
        if (!dir.isEmpty())
            QDir().mkpath(dir);
        auto save = [&dir](const QImage &image, const char *name) {
            if (!dir.isEmpty())
                QVERIFY(image.save(dir + QLatin1Char('/') + QLatin1String(name)));
        };

        Okno okno;
        TOrxEditCalc &calc = *okno.calc;
        calc.SetCheckOptions({coCheckLowLimit, coCheckOnExit});
        calc.SetDisplayFormat(QStringLiteral("#,##0.00"));
        QFont bold = calc.font();
        bold.setBold(true);
        calc.setFont(bold);
        QVERIFY(okno.pokaz());
        calc.SetValue(kwota("1234,5"));
        QImage unfocused = calc.grab().toImage();
        save(unfocused, "unfocused.png");
        QCOMPARE(unfocused.pixelColor(unfocused.width() / 4, unfocused.height() / 2), calc.Color());

        okno.wejdz();
        save(calc.grab().toImage(), "focused.png");

        calc.SetValue(kwota("-5"));
        okno.wyjdz();
        QCOMPARE(calc.text(), QStringLiteral("-5,00"));
        const QImage below = calc.grab().toImage();
        save(below, "negative.png");
        QCOMPARE(below.pixelColor(below.width() / 4, below.height() / 2), QColor(0, 255, 0));

        okno.wejdz();
        typeText(&calc, QStringLiteral("12 zł 50"));
        okno.wyjdz();
        QTRY_COMPARE(m_zgloszenia.size(), 1);
        QTRY_VERIFY(calc.hasFocus());
        std::unique_ptr<QMessageBox> box = FieldError::box(m_zgloszenia[0].text, m_zgloszenia[0].at, &okno.window);
        QCOMPARE(box->text(), QStringLiteral("Niepoprawna zawartość pola"));
        QCOMPARE(box->icon(), QMessageBox::Critical);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->standardButtons(), QMessageBox::Ok);
        box->show();
        QCOMPARE(box->pos(), calc.mapToGlobal(QPoint(0, calc.height())));

        // The window with the box where it stands on the screen.
        const QImage okienko = okno.window.grab().toImage();
        const QImage pudelko = box->grab().toImage();
        const QPoint corner = okno.window.mapToGlobal(QPoint(0, 0));
        const QRect boxRect(box->pos() - corner, pudelko.size());
        QImage picture(QRect(QPoint(0, 0), okienko.size()).united(boxRect).size(), QImage::Format_RGB32);
        picture.fill(Qt::darkGray);
        QPainter painter(&picture);
        painter.drawImage(0, 0, okienko);
        painter.drawImage(boxRect.topLeft(), pudelko);
        painter.end();
        save(picture, "error.png");
        box->close();
    }
};

QTEST_MAIN(TstEditCalc)
#include "tst_editcalc.moc"
