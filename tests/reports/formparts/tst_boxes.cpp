#include "reports/formparts/qrboxes.h"
#include "sheet.h"

#include <QTest>

namespace {

// Boxes of the tests: 50 mm × 9 mm at (10 mm, 20 mm): pixels 100 to 600
// across and 200 to 290 down.
constexpr int Left = 100;
constexpr int Top = 200;
constexpr int Right = 600;
constexpr int Bottom = 290;

QString Grouped(QString text)
{
    return text.replace(QLatin1Char(' '), Money::GroupSeparator);
}

const RecordingDevice::Text *Find(const Sheet &sheet, const QString &value)
{
    for (const auto &text : sheet.Device.Texts)
        if (text.Value == value)
            return &text;
    return nullptr;
}

} // namespace

class TestBoxes : public QObject
{
    Q_OBJECT
private slots:
    void boxHasItsCaptionInTheTopLeftCorner_data()
    {
        QTest::addColumn<int>("penWidth");
        QTest::newRow("pen of one pixel") << 1;
        QTest::newRow("pen of three pixels") << 3;
    }
    void boxHasItsCaptionInTheTopLeftCorner()
    {
        QFETCH(int, penWidth);
        Sheet sheet;
        auto *box = sheet.Add<TQRTextBox>(10, 20, 50, 9);
        box->Caption = QStringLiteral("9. Nazwisko");
        box->Pen.setWidth(penWidth);
        sheet.Draw();

        QCOMPARE(sheet.Outlined().size(), std::size_t(1));
        QCOMPARE(sheet.Outlined()[0].Value, QRectF(Left, Top, Right - Left - 1, Bottom - Top - 1));
        const auto *caption = Find(sheet, box->Caption);
        QVERIFY(caption);
        QCOMPARE(caption->Font.pointSize(), 7);
        QCOMPARE(qRound(caption->Baseline.x()), Left + sheet.Device.WidthOf(box->CaptionFont, QStringLiteral("M")));
        QCOMPARE(sheet.Device.TopOf(*caption), Top + sheet.Device.HeightOf(box->CaptionFont) / 6 + penWidth);
    }

    void textBoxAlignsItsTextAtTheBottom_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::newRow("left") << int(taLeftJustify);
        QTest::newRow("right") << int(taRightJustify);
        QTest::newRow("centre") << int(taCenter);
    }
    void textBoxAlignsItsTextAtTheBottom()
    {
        QFETCH(int, alignment);
        Sheet sheet;
        auto *box = sheet.Add<TQRTextBox>(10, 20, 50, 9);
        box->Caption = QStringLiteral("17. Nr domu");
        box->Text = QStringLiteral("ŁÓDŹ 12");
        box->TextAlignment = TAlignment(alignment);
        sheet.Draw();

        const auto *text = Find(sheet, box->Text);
        QVERIFY(text);
        QCOMPARE(text->Font.pointSize(), 12);
        const RecordingDevice &device = sheet.Device;
        const int width = device.WidthOf(box->Font, box->Text);
        const int expectedX = alignment == taLeftJustify
                                  ? Left + device.WidthOf(box->CaptionFont, QStringLiteral("M"))
                              : alignment == taRightJustify
                                  ? Right - width - device.WidthOf(box->CaptionFont, QStringLiteral("  "))
                                  : Left + (Right - Left - width) / 2;
        QCOMPARE(qRound(text->Baseline.x()), expectedX);
        QCOMPARE(device.TopOf(*text), Bottom - device.HeightOf(box->Font) - 2);
    }

    void amountBoxPrintsTheAmountAtTheRightEdge_data()
    {
        QTest::addColumn<qint64>("grosze");
        QTest::addColumn<bool>("intValue");
        QTest::addColumn<bool>("printZL");
        QTest::addColumn<bool>("printZero");
        QTest::addColumn<QString>("printed");
        QTest::newRow("two decimals") << qint64(123450) << false << false << true << Grouped("1 234,50");
        QTest::newRow("whole złoty, rounded") << qint64(123450) << true << false << true << Grouped("1 235");
        QTest::newRow("złoty and grosze") << qint64(123450) << false << true << true << Grouped("1 234") + " zł, 50 gr";
        QTest::newRow("złoty words win over whole złoty") << qint64(123450) << true << true << true
                                                          << Grouped("1 234") + " zł, 50 gr";
        QTest::newRow("below a thousand") << qint64(5) << false << true << true << "0 zł, 05 gr";
        QTest::newRow("negative") << qint64(-123450) << false << false << true << Grouped("-1 234,50");
        QTest::newRow("zero printed") << qint64(0) << false << false << true << "0,00";
        QTest::newRow("zero, whole złoty") << qint64(0) << true << false << true << "0";
        QTest::newRow("zero not printed") << qint64(0) << false << false << false << "";
        QTest::newRow("not printing zero, amount printed") << qint64(1) << false << false << false << "0,01";
    }
    void amountBoxPrintsTheAmountAtTheRightEdge()
    {
        QFETCH(qint64, grosze);
        QFETCH(bool, intValue);
        QFETCH(bool, printZL);
        QFETCH(bool, printZero);
        QFETCH(QString, printed);
        Sheet sheet;
        auto *box = sheet.Add<TQRCurrBox>(10, 20, 50, 9);
        box->Caption = QStringLiteral("45.");
        box->Value = Money::fromRaw(grosze * 100);
        box->IntValue = intValue;
        box->PrintZL = printZL;
        box->PrintZero = printZero;
        sheet.Draw();

        QCOMPARE(sheet.Outlined().size(), std::size_t(1));
        QString amounts;
        for (const auto &text : sheet.Device.Texts)
            if (text.Value != box->Caption)
                amounts += text.Value;
        QCOMPARE(amounts, printed);
        if (printed.isEmpty())
            return;
        const auto *amount = Find(sheet, printed);
        const RecordingDevice &device = sheet.Device;
        QCOMPARE(qRound(amount->Baseline.x()),
                 Right - device.WidthOf(box->Font, printed) - device.WidthOf(box->CaptionFont, QStringLiteral("M")));
        QCOMPARE(device.TopOf(*amount), Bottom - device.HeightOf(box->Font) - device.HeightOf(box->CaptionFont) / 6);
    }

    void cellAlignsItsCaption_data()
    {
        QTest::addColumn<int>("horizontal");
        QTest::addColumn<int>("vertical");
        const char *horizontalNames[] = {"left", "centre", "right"};
        const char *verticalNames[] = {"top", "middle", "bottom"};
        for (int h : {haLeft, haCenter, haRight})
            for (int v : {vaTop, vaCenter, vaBottom})
                QTest::addRow("%s, %s", horizontalNames[h], verticalNames[v]) << h << v;
    }
    void cellAlignsItsCaption()
    {
        QFETCH(int, horizontal);
        QFETCH(int, vertical);
        Sheet sheet;
        auto *cell = sheet.Add<TQRCell>(10, 20, 50, 9);
        cell->Caption = QStringLiteral("NIP sprzedawcy");
        cell->HorAlignment = THorAlignment(horizontal);
        cell->VertAlignment = TVertAlignment(vertical);
        cell->Brush = QBrush(QColor(235, 235, 235));
        sheet.Draw();

        const RecordingDevice &device = sheet.Device;
        const int w = device.WidthOf(cell->Font, cell->Caption);
        const int h = device.HeightOf(cell->Font);
        const int x = horizontal == haLeft ? Left : horizontal == haCenter ? Left + (Right - Left - w) / 2 : Right - w;
        const int y = vertical == vaTop ? Top : vertical == vaCenter ? Top + (Bottom - Top - h) / 2 : Bottom - h - 1;
        const auto *caption = Find(sheet, cell->Caption);
        QVERIFY(caption);
        QCOMPARE(qRound(caption->Baseline.x()), x);
        QCOMPARE(device.TopOf(*caption), y);
        // The frame, then the caption's background, both in the cell's shade.
        QCOMPARE(device.Rects.front().Value, QRectF(Left, Top, Right - Left - 1, Bottom - Top - 1));
        for (const auto &rect : device.Rects)
            QCOMPARE(rect.Brush.color(), QColor(235, 235, 235));
    }

    void checkBoxIsCrossedWhenChecked_data()
    {
        QTest::addColumn<bool>("checked");
        QTest::newRow("checked") << true;
        QTest::newRow("not checked") << false;
    }
    void checkBoxIsCrossedWhenChecked()
    {
        QFETCH(bool, checked);
        Sheet sheet;
        auto *box = sheet.Add<TQRCheckBox>(10, 20, 3, 3);
        box->Checked = checked;
        sheet.Draw();

        // One pixel inside the frame of 100..130 × 200..230.
        QCOMPARE(sheet.Outlined().size(), std::size_t(1));
        QCOMPARE(sheet.Outlined()[0].Value, QRectF(101, 201, 28 - 1, 28 - 1));
        std::vector<QLineF> expected;
        if (checked)
            expected = {QLineF(101, 201, 129, 229), QLineF(129, 201, 101, 229)};
        std::vector<QLineF> drawn;
        for (const auto &line : sheet.Device.Lines)
            drawn.push_back(line.Value);
        QCOMPARE(drawn, expected);
        QVERIFY(sheet.Device.Texts.empty());
    }
};

QTEST_MAIN(TestBoxes)
#include "tst_boxes.moc"
