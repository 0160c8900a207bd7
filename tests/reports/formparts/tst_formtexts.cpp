#include "reports/formparts/qrtexts.h"
#include "sheet.h"

#include <QTest>

namespace {

constexpr int Left = 100;
constexpr int Top = 200;

const TQRFont WrapperFont{QStringLiteral("Arial"), 11};

// The width in millimetres of a text in the wrapper's font at ten pixels to
// the millimetre: the widths of the tests are set by the texts that must fit.
double WidthOf(const QString &text)
{
    RecordingDevice device;
    return device.WidthOf(WrapperFont, text) / 10.0;
}

QStringList Repeated(const QString &style, int times)
{
    QStringList list;
    for (int i = 0; i < times; ++i)
        list << style;
    return list;
}

} // namespace

class TestFormTexts : public QObject
{
    Q_OBJECT
private slots:
    void wrapperBreaksLines_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<double>("width");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("fits: one line") << "1, 5, 6 i 7" << 50.0 << QStringList{"1, 5, 6 i 7"};
        QTest::newRow("after a space") << "Ala ma kota" << WidthOf("Ala ma ko") << QStringList{"Ala ma ", "kota"};
        QTest::newRow("after a comma") << "12,13,14" << WidthOf("12,13,1") << QStringList{"12,13,", "14"};
        QTest::newRow("after a hyphen") << "1-2-3-4" << WidthOf("1-2-3") << QStringList{"1-2-", "3-4"};
        QTest::newRow("after a full stop") << "poz.12.345" << WidthOf("poz.12.3") << QStringList{"poz.12.", "345"};
        QTest::newRow("inside a word without breaks")
            << "Konstantynopolitańczykówna" << WidthOf("Konstantyno") << QStringList{"Konstantyno", "politańczykó", "wna"};
        QTest::newRow("blanks at the start of the rest dropped")
            << "Ala   \t ma" << WidthOf("Ala  ") << QStringList{"Ala  ", "ma"};
        QTest::newRow("many lines")
            << "1, 2, 3, 4, 5, 6" << WidthOf("1, 2, ") << QStringList{"1, 2, ", "3, 4, ", "5, 6"};
        QTest::newRow("nothing fits: the rest on one line") << "Ala ma" << 0.1 << QStringList{"Ala ma"};
        QTest::newRow("empty") << "" << 50.0 << QStringList{};
    }
    void wrapperBreaksLines()
    {
        QFETCH(QString, caption);
        QFETCH(double, width);
        QFETCH(QStringList, lines);
        Sheet sheet;
        auto *wrapper = sheet.Add<TQRWrapper>(10, 20, width, 2);
        wrapper->Font = WrapperFont;
        wrapper->Caption = caption;
        sheet.Draw();

        QCOMPARE(wrapper->Lines(), lines);
        // Line i at the left edge, i lines down; those below the frame too.
        QStringList printed;
        for (const auto &text : sheet.Device.Texts) {
            QCOMPARE(qRound(text.Baseline.x()), Left);
            QCOMPARE(sheet.Device.TopOf(text), Top + int(printed.size()) * sheet.Device.HeightOf(WrapperFont));
            printed << text.Value;
        }
        QCOMPARE(printed, lines);
    }

    void wrapperHasNoVisibleBorder()
    {
        Sheet sheet;
        auto *wrapper = sheet.Add<TQRWrapper>(10, 20, 30, 9);
        wrapper->Brush = QBrush(QColor(235, 235, 235));
        wrapper->Caption = QStringLiteral("1, 5");
        sheet.Draw();

        const auto outlined = sheet.Outlined();
        QCOMPARE(outlined.size(), std::size_t(1));
        QCOMPARE(outlined[0].Pen.color(), QColor(235, 235, 235));
        QCOMPARE(outlined[0].Brush.color(), QColor(235, 235, 235));
        QCOMPARE(sheet.Device.Texts.at(0).Color, QColor(Qt::black));
    }

    void smartLabelStyles_data()
    {
        QTest::addColumn<QString>("caption");
        // Per printed character: b bold, i italic, u underlined, s small, - plain.
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QStringList>("styles");
        QTest::newRow("bold heading, plain remark")
            << "<+b>7. Cel złożenia formularza <-b>(zaznaczyć właściwy kwadrat):"
            << "7. Cel złożenia formularza (zaznaczyć właściwy kwadrat):"
            << Repeated("b", 27) + Repeated("-", 29);
        QTest::newRow("italic added to bold") << "<+b>a<+i>b<-b>c<-i>d" << "abcd" << QStringList{"b", "bi", "i", "-"};
        QTest::newRow("underline") << "<+u>ab<-u>c" << "abc" << QStringList{"u", "u", "-"};
        QTest::newRow("square metre") << "m<+s>2<-s>" << "m2" << QStringList{"-", "s"};
        QTest::newRow("footnote mark") << "<+s>7)" << "7)" << QStringList{"s", "s"};
        QTest::newRow("tag without a sign printed") << "<b>x" << "<b>x" << QStringList{"-", "-", "-", "-"};
        QTest::newRow("other sign printed") << "<*b>x" << "<*b>x" << QStringList{"-", "-", "-", "-", "-"};
        QTest::newRow("unknown letter printed") << "<+x>y" << "<+x>y" << QStringList{"-", "-", "-", "-", "-"};
        QTest::newRow("tag cut short printed") << "a<+b" << "a<+b" << QStringList{"-", "-", "-", "-"};
        QTest::newRow("switching off what is off") << "<-b>a" << "a" << QStringList{"-"};
    }
    void smartLabelStyles()
    {
        QFETCH(QString, caption);
        QFETCH(QString, printed);
        QFETCH(QStringList, styles);
        Sheet sheet;
        auto *label = sheet.Add<TQRSmartLabel>(10, 20, 150, 5);
        label->Font.setPointSize(11);
        label->Font.setItalic(true); // the label starts with no style whatever its font
        label->Caption = caption;
        sheet.Draw();

        const auto &texts = sheet.Device.Texts;
        QString drawn;
        QStringList drawnStyles;
        int x = Left;
        for (const auto &text : texts) {
            drawn += text.Value;
            QString style;
            if (text.Font.bold())
                style += QLatin1Char('b');
            if (text.Font.italic())
                style += QLatin1Char('i');
            if (text.Font.underline())
                style += QLatin1Char('u');
            if (text.Font.pointSize() == 7)
                style += QLatin1Char('s');
            else
                QCOMPARE(text.Font.pointSize(), 11);
            drawnStyles << (style.isEmpty() ? QStringLiteral("-") : style);
            // One character at a time, each after the one before, all on one top line.
            QCOMPARE(text.Value.size(), 1);
            QCOMPARE(qRound(text.Baseline.x()), x);
            QCOMPARE(sheet.Device.TopOf(text), Top);
            x += sheet.Device.WidthOf(text.Font, text.Value);
        }
        QCOMPARE(drawn, printed);
        QCOMPARE(drawnStyles, styles);
    }

    void smartLabelSmallSize_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("small");
        QTest::newRow("6") << 6 << 4;
        QTest::newRow("8") << 8 << 6;
        QTest::newRow("9") << 9 << 6;
        QTest::newRow("10") << 10 << 6;
        QTest::newRow("11") << 11 << 7;
        QTest::newRow("12") << 12 << 7;
        QTest::newRow("14") << 14 << 9;
    }
    void smartLabelSmallSize()
    {
        QFETCH(int, size);
        QFETCH(int, small);
        Sheet sheet;
        auto *label = sheet.Add<TQRSmartLabel>(10, 20, 50, 5);
        label->Font.setPointSize(size);
        label->Caption = QStringLiteral("m<+s>2");
        sheet.Draw();

        QCOMPARE(sheet.Device.Texts.size(), std::size_t(2));
        QCOMPARE(sheet.Device.Texts[0].Font.pointSize(), size);
        QCOMPARE(sheet.Device.Texts[1].Font.pointSize(), small);
    }

    void smartLabelFillsItsFrame()
    {
        Sheet sheet;
        auto *label = sheet.Add<TQRSmartLabel>(10, 20, 50, 5);
        label->Color = QColor(235, 235, 235);
        label->Caption = QStringLiteral("D.2.");
        sheet.Draw();

        const auto &fill = sheet.Device.Rects.front();
        QCOMPARE(fill.Value, QRectF(Left, Top, 500, 50));
        QCOMPARE(fill.Brush.color(), QColor(235, 235, 235));
    }
};

QTEST_MAIN(TestFormTexts)
#include "tst_formtexts.moc"
