#include "reports/formparts/qrpitfooter.h"
#include "sheet.h"

#include <QTest>

Q_DECLARE_METATYPE(TFormularz)

class TestPitFooter : public QObject
{
    Q_OBJECT
private slots:
    void formSetsSymbolAndPageCount_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<TFormularz>("formularz");
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<int>("pages");
        QTest::newRow("VZM-1, version 9") << "9" << fmVZM1 << "VZM-1" << 3;
        QTest::newRow("VZM-1, version 5") << "5" << fmVZM1 << "VZM-1" << 4;
        QTest::newRow("VZM-1/A") << "4" << fmVZM1A << "VZM-1/A" << 2;
        QTest::newRow("VZM-1/C") << "2" << fmVZM1C << "VZM-1/C" << 2;
        QTest::newRow("PIT-36, version 14") << "14" << fmPit36 << "PIT-36" << 6;
        QTest::newRow("PIT-36L, version 6") << "6" << fmPit36L << "PIT-36L" << 3;
        QTest::newRow("PIT/D, version 20") << "20" << fmPitD << "PIT/D" << 2;
        QTest::newRow("PIT/D, version 21: not with the form") << "21" << fmPitD << "PIT/D" << 4;
        QTest::newRow("VAT-7, version 11") << "11" << fmVat7 << "VAT-7" << 3;
        QTest::newRow("IFT-1") << "9" << fmIft1 << "IFT-1/IFT-1R" << 2;
        QTest::newRow("first of the list") << "9" << fmPit4 << "PIT-4" << 2;
        QTest::newRow("last of the list") << "9" << fmVat7K << "VAT-7K" << 2;
    }
    void formSetsSymbolAndPageCount()
    {
        QFETCH(QString, version);
        QFETCH(TFormularz, formularz);
        QFETCH(QString, symbol);
        QFETCH(int, pages);
        TQRPitFooter footer;
        footer.setVersion(version);
        footer.setFormularz(formularz);
        QCOMPARE(footer.Symbol(), symbol);
        QCOMPARE(footer.PageCount(), pages);
    }

    void versionRecountsFiveForms_data()
    {
        QTest::addColumn<TFormularz>("formularz");
        QTest::addColumn<QString>("version");
        QTest::addColumn<int>("pages");
        QTest::newRow("VZM-1 then version 5") << fmVZM1 << "5" << 4;
        QTest::newRow("VZM-1 then version 4") << fmVZM1 << "4" << 4;
        QTest::newRow("VZM-1 then version 6") << fmVZM1 << "6" << 3;
        QTest::newRow("PIT-36 then version 16") << fmPit36 << "16" << 6;
        QTest::newRow("PIT-36L then version 4") << fmPit36L << "4" << 3;
        QTest::newRow("PIT/D then version 21") << fmPitD << "21" << 2;
        QTest::newRow("VAT-7 then version 11") << fmVat7 << "11" << 3;
        QTest::newRow("VZM-1/A keeps its count") << fmVZM1A << "5" << 2;
        QTest::newRow("PIT-37 keeps its count") << fmPit37 << "12" << 3;
    }
    void versionRecountsFiveForms()
    {
        QFETCH(TFormularz, formularz);
        QFETCH(QString, version);
        QFETCH(int, pages);
        TQRPitFooter footer;
        footer.setFormularz(formularz);
        footer.setVersion(version);
        QCOMPARE(footer.PageCount(), pages);
    }

    void pageNumberFollowsThePageCount_data()
    {
        QTest::addColumn<int>("pageNo");
        QTest::addColumn<TFormularz>("formularz");
        QTest::addColumn<QString>("version");
        QTest::addColumn<int>("kept");
        QTest::newRow("lowered by a shorter form") << 3 << fmVZM1A << "9" << 2;
        QTest::newRow("within the count") << 2 << fmVZM1A << "9" << 2;
        QTest::newRow("not lowered by a version") << 4 << fmVZM1 << "9" << 4;
    }
    void pageNumberFollowsThePageCount()
    {
        QFETCH(int, pageNo);
        QFETCH(TFormularz, formularz);
        QFETCH(QString, version);
        QFETCH(int, kept);
        TQRPitFooter footer;
        footer.setFormularz(fmVZM1);
        footer.setVersion(QStringLiteral("5"));
        footer.setPageNo(pageNo);
        footer.setFormularz(formularz);
        footer.setVersion(version);
        QCOMPARE(footer.PageNo(), kept);
    }

    void pageNumberBelowOneIgnored_data()
    {
        QTest::addColumn<int>("pageNo");
        QTest::addColumn<int>("kept");
        QTest::newRow("0") << 0 << 2;
        QTest::newRow("-1") << -1 << 2;
        QTest::newRow("1") << 1 << 1;
    }
    void pageNumberBelowOneIgnored()
    {
        QFETCH(int, pageNo);
        QFETCH(int, kept);
        TQRPitFooter footer;
        footer.setPageNo(2);
        footer.setPageNo(pageNo);
        QCOMPARE(footer.PageNo(), kept);
    }

    void footerPrintsSymbolVersionPageAndCount()
    {
        Sheet sheet;
        auto *footer = sheet.Add<TQRPitFooter>(10, 20, 38, 6);
        footer->setFormularz(fmVZM1);
        footer->setVersion(QStringLiteral("5"));
        footer->setPageNo(2);
        sheet.Draw();

        // Frame 100..480 × 200..260, divided at 100 + 380 * 2 / 3.
        const int left = 100, top = 200, w = 380, h = 60, split = w * 2 / 3;
        QCOMPARE(sheet.Outlined().front().Value, QRectF(left, top, w - 1, h - 1));
        QCOMPARE(sheet.Device.Lines.size(), std::size_t(1));
        QCOMPARE(sheet.Device.Lines[0].Value, QLineF(left + split, top, left + split, top + h));

        const RecordingDevice &device = sheet.Device;
        const auto &texts = device.Texts;
        QCOMPARE(texts.size(), std::size_t(4));
        const auto &symbol = texts[0], &page = texts[1], &version = texts[2], &count = texts[3];
        QCOMPARE(symbol.Value, QStringLiteral("VZM-1"));
        QCOMPARE(page.Value, QStringLiteral("2"));
        QCOMPARE(version.Value, QStringLiteral("(5)"));
        QCOMPARE(count.Value, QStringLiteral("/4"));
        QVERIFY(symbol.Font.bold() && page.Font.bold());
        QVERIFY(!version.Font.bold() && !count.Font.bold());
        QCOMPARE(version.Font.pointSize(), 11 / 2 + 1);

        const QFont bold = symbol.Font;
        const int symbolX = left + (split - device.WidthOf(bold, QStringLiteral("VZM-1XX"))) / 2;
        const int pageX = left + split + (w - split - device.WidthOf(bold, QStringLiteral("2 "))) / 2;
        const int y = top + (h - device.HeightOf(bold)) / 2;
        QCOMPARE(qRound(symbol.Baseline.x()), symbolX);
        QCOMPARE(qRound(page.Baseline.x()), pageX);
        QCOMPARE(device.TopOf(symbol), y);
        QCOMPARE(device.TopOf(page), y);
        QCOMPARE(qRound(version.Baseline.x()), symbolX + device.WidthOf(bold, QStringLiteral("VZM-1 ")));
        QCOMPARE(qRound(count.Baseline.x()), pageX + device.WidthOf(bold, QStringLiteral("2 ")));
        // Small type ends on the bottom edge of the bold line.
        QCOMPARE(device.TopOf(version) + device.HeightOf(version.Font), y + device.HeightOf(bold));
        QCOMPARE(device.TopOf(count), device.TopOf(version));
    }
};

QTEST_MAIN(TestPitFooter)
#include "tst_pitfooter.moc"
