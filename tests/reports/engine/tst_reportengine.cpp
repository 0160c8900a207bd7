#include "support/recordingdevice.h"
#include "reports/engine/qrcomposite.h"
#include "reports/engine/qrcontrols.h"
#include "reports/engine/qrreport.h"

#include <QPainter>
#include <QTest>

Q_DECLARE_METATYPE(std::optional<QPrinter::DuplexMode>)

namespace {

// Draws a page on a recording sheet at ten pixels to the millimetre.
void Draw(const TQRReport &page, RecordingDevice &device)
{
    QPainter painter(&device);
    page.Render(painter, TQRPageScale::ForDevice(device));
}

} // namespace

class TestReportEngine : public QObject
{
    Q_OBJECT
private slots:
    void bandsStackFromTheTopMargin_data()
    {
        QTest::addColumn<double>("firstBandHeight");
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        QTest::newRow("at the band's corner") << 30.0 << 0.0 << 0.0;
        QTest::newRow("inside the band") << 30.0 << 12.5 << 7.0;
        QTest::newRow("after a taller band") << 100.0 << 3.0 << 4.0;
    }
    void bandsStackFromTheTopMargin()
    {
        QFETCH(double, firstBandHeight);
        QFETCH(double, left);
        QFETCH(double, top);
        TQRReport page;
        page.Margins = QMarginsF(7, 10, 10, 10);
        page.AddBand(firstBandHeight).Add<TQRLabel>()->Caption = QStringLiteral("pierwszy");
        auto *label = page.AddBand(50).Add<TQRLabel>();
        label->SetBounds(left, top, 40, 5);
        label->Caption = QStringLiteral("Zażółć");
        RecordingDevice device;
        Draw(page, device);

        QCOMPARE(device.Texts.size(), std::size_t(2));
        const auto &text = device.Texts[1];
        QCOMPARE(text.Value, QStringLiteral("Zażółć"));
        // The top-left corner of the text's cell, from the corner of the sheet.
        QCOMPARE(qRound(text.Baseline.x()), qRound((7 + left) * 10));
        QCOMPARE(device.TopOf(text), qRound((10 + firstBandHeight + top) * 10));
    }

    void labelAlignsWithinItsWidth_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("fromLeft"); // 0 left, 1 centre, 2 right
        QTest::newRow("left") << int(Qt::AlignLeft) << 0;
        QTest::newRow("centre") << int(Qt::AlignHCenter) << 1;
        QTest::newRow("right") << int(Qt::AlignRight) << 2;
    }
    void labelAlignsWithinItsWidth()
    {
        QFETCH(int, alignment);
        QFETCH(int, fromLeft);
        TQRReport page;
        auto *label = page.AddBand(50).Add<TQRLabel>();
        label->SetBounds(10, 10, 60, 5);
        label->Caption = QStringLiteral("POLTAX");
        label->Alignment = Qt::Alignment(alignment);
        RecordingDevice device;
        Draw(page, device);

        const int width = device.WidthOf(label->Font, label->Caption);
        const int expected[] = {100, 100 + (600 - width) / 2, 700 - width};
        QCOMPARE(qRound(device.Texts.at(0).Baseline.x()), expected[fromLeft]);
    }

    void labelBackgroundOnlyWithAColour_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<int>("fills");
        QTest::newRow("transparent") << QColor() << 0;
        QTest::newRow("shaded") << QColor(235, 235, 235) << 1;
    }
    void labelBackgroundOnlyWithAColour()
    {
        QFETCH(QColor, color);
        QFETCH(int, fills);
        TQRReport page;
        auto *label = page.AddBand(50).Add<TQRLabel>();
        label->SetBounds(10, 10, 60, 5);
        label->Caption = QStringLiteral("Podstawa prawna:");
        label->Color = color;
        label->Font.Color = Qt::darkBlue;
        RecordingDevice device;
        Draw(page, device);

        QCOMPARE(int(device.Rects.size()), fills);
        if (fills) {
            const QRectF cell(100, 100, device.WidthOf(label->Font, label->Caption), device.HeightOf(label->Font));
            QCOMPARE(device.Rects[0].Value, cell);
            QCOMPARE(device.Rects[0].Brush.color(), color);
        }
        QCOMPARE(device.Texts.at(0).Color, QColor(Qt::darkBlue));
    }

    void hiddenControlsAreNotPrinted()
    {
        TQRReport page;
        TQRBand &band = page.AddBand(50);
        band.Add<TQRLabel>()->Caption = QStringLiteral("widoczny");
        auto *hidden = band.Add<TQRLabel>();
        hidden->Caption = QStringLiteral("ukryty");
        hidden->Visible = false;
        RecordingDevice device;
        Draw(page, device);

        QCOMPARE(device.VisibleText(), QStringLiteral("widoczny"));
    }

    void beforePrintFillsThePageEachTimeItIsDrawn()
    {
        TQRReport page;
        auto *label = page.AddBand(50).Add<TQRLabel>();
        int runs = 0;
        page.BeforePrint = [&] { label->Caption = QStringLiteral("Wydruk %1").arg(++runs); };

        for (int expected = 1; expected <= 2; ++expected) {
            RecordingDevice device;
            Draw(page, device);
            QCOMPARE(device.Texts.at(0).Value, QStringLiteral("Wydruk %1").arg(expected));
        }
    }

    void memoWrapsWordsAndKeepsItsSize_data()
    {
        QTest::addColumn<bool>("wordWrap");
        QTest::addColumn<int>("linesOfRoom");
        QTest::addColumn<QStringList>("printed");
        QTest::newRow("wrapped") << true << 10 << QStringList{"ala ma", "kota", "a kot ma", "ale"};
        QTest::newRow("cut at the bottom") << true << 2 << QStringList{"ala ma", "kota"};
        QTest::newRow("not wrapped") << false << 10 << QStringList{"ala ma kota", "a kot ma ale"};
    }
    void memoWrapsWordsAndKeepsItsSize()
    {
        QFETCH(bool, wordWrap);
        QFETCH(int, linesOfRoom);
        QFETCH(QStringList, printed);
        RecordingDevice device;
        TQRReport page;
        auto *memo = page.AddBand(100).Add<TQRMemo>();
        memo->Lines = QStringList{"ala ma kota", "a kot ma ale"};
        memo->WordWrap = wordWrap;
        const int lineHeight = device.HeightOf(memo->Font);
        // Room for "ala ma" but not for "ala ma kota".
        memo->SetBounds(10, 10, device.WidthOf(memo->Font, QStringLiteral("ala ma ko")) / 10.0,
                        (linesOfRoom * lineHeight + 5) / 10.0);
        Draw(page, device);

        QStringList drawn;
        for (const auto &text : device.Texts) {
            QCOMPARE(device.TopOf(text), 100 + int(drawn.size()) * lineHeight);
            drawn << text.Value;
        }
        QCOMPARE(drawn, printed);
    }

    void shapesDrawFramesLinesAndShadedAreas_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<bool>("outlined");
        QTest::addColumn<QRectF>("rect");
        QTest::addColumn<QLineF>("line");
        QTest::newRow("frame") << int(TQRShape::Kind::Rectangle) << true << QRectF(100, 200, 299, 99) << QLineF();
        QTest::newRow("shaded area, no outline")
            << int(TQRShape::Kind::Rectangle) << false << QRectF(100, 200, 300, 100) << QLineF();
        QTest::newRow("line across") << int(TQRShape::Kind::HorizontalLine) << true << QRectF()
                                     << QLineF(100, 250, 400, 250);
        QTest::newRow("line down") << int(TQRShape::Kind::VerticalLine) << true << QRectF()
                                   << QLineF(250, 200, 250, 300);
    }
    void shapesDrawFramesLinesAndShadedAreas()
    {
        QFETCH(int, shape);
        QFETCH(bool, outlined);
        QFETCH(QRectF, rect);
        QFETCH(QLineF, line);
        TQRReport page;
        auto *control = page.AddBand(100).Add<TQRShape>();
        control->SetBounds(10, 20, 30, 10);
        control->Shape = TQRShape::Kind(shape);
        control->Brush = QBrush(QColor(235, 235, 235));
        if (!outlined)
            control->Pen = Qt::NoPen;
        RecordingDevice device;
        Draw(page, device);

        if (rect.isNull()) {
            QCOMPARE(device.Lines.size(), std::size_t(1));
            QCOMPARE(device.Lines[0].Value, line);
            return;
        }
        QCOMPARE(device.Rects.size(), std::size_t(1));
        QCOMPARE(device.Rects[0].Value, rect);
        QCOMPARE(device.Rects[0].Brush.color(), QColor(235, 235, 235));
        QCOMPARE(device.Rects[0].Pen.style() != Qt::NoPen, outlined);
    }

    void duplexSettingToPrinterMode_data()
    {
        QTest::addColumn<int>("duplex");
        QTest::addColumn<std::optional<QPrinter::DuplexMode>>("mode");
        QTest::newRow("0 leaves the printer") << 0 << std::optional<QPrinter::DuplexMode>();
        QTest::newRow("1 simplex") << 1 << std::optional(QPrinter::DuplexNone);
        QTest::newRow("2 long edge") << 2 << std::optional(QPrinter::DuplexLongSide);
        QTest::newRow("3 short edge") << 3 << std::optional(QPrinter::DuplexShortSide);
        QTest::newRow("4 leaves the printer") << 4 << std::optional<QPrinter::DuplexMode>();
    }
    void duplexSettingToPrinterMode()
    {
        QFETCH(int, duplex);
        QFETCH(std::optional<QPrinter::DuplexMode>, mode);
        QCOMPARE(DuplexModeFor(duplex), mode);
    }
};

QTEST_MAIN(TestReportEngine)
#include "tst_reportengine.moc"
