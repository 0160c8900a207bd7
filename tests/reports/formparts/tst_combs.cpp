#include "reports/formparts/qrcombs.h"
#include "sheet.h"

#include <QTest>

#include <set>

namespace {

// Frames of the tests start at 10 mm from the left and 20 mm from the top.
constexpr int FrameLeft = 100;
constexpr int FrameTop = 200;

TQRCustomPit *AddComb(Sheet &sheet, const QString &kind, double width, double height)
{
    if (kind == QLatin1String("nip"))
        return sheet.Add<TQRNIP>(10, 20, width, height);
    if (kind == QLatin1String("month"))
        return sheet.Add<TQRMonth>(10, 20, width, height);
    if (kind == QLatin1String("year"))
        return sheet.Add<TQRYear>(10, 20, width, height);
    if (kind == QLatin1String("date"))
        return sheet.Add<TQRDate>(10, 20, width, height);
    return sheet.Add<TQRPlotek>(10, 20, width, height);
}

// Sets the value of a comb of any kind from its text form.
void SetValue(TQRCustomPit *comb, int places, const QString &value)
{
    if (auto *plotek = dynamic_cast<TQRPlotek *>(comb)) {
        plotek->setIlosc(places);
        plotek->Text = value;
    } else if (auto *nip = dynamic_cast<TQRNIP *>(comb)) {
        nip->NIP = value;
    } else if (auto *month = dynamic_cast<TQRMonth *>(comb)) {
        month->setMonth(value.toInt());
    } else if (auto *year = dynamic_cast<TQRYear *>(comb)) {
        year->setYear(value.toInt());
    } else if (auto *date = dynamic_cast<TQRDate *>(comb)) {
        date->Date = QDate::fromString(value, QStringLiteral("dd-MM-yyyy"));
    }
}

std::vector<QLineF> Horizontal(const RecordingDevice &device)
{
    std::vector<QLineF> lines;
    for (const auto &line : device.Lines)
        if (line.Value.y1() == line.Value.y2())
            lines.push_back(line.Value);
    return lines;
}

std::vector<QLineF> Vertical(const RecordingDevice &device)
{
    std::vector<QLineF> lines;
    for (const auto &line : device.Lines)
        if (line.Value.x1() == line.Value.x2())
            lines.push_back(line.Value);
    return lines;
}

} // namespace

class TestCombs : public QObject
{
    Q_OBJECT
private slots:
    void combHasBaseLineAndTicksAtEveryPlace_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("places");
        QTest::addColumn<double>("width");
        QTest::addColumn<double>("height");
        QTest::newRow("plotek, 4 places in 21 mm") << "plotek" << 4 << 21.0 << 5.0;
        QTest::newRow("plotek, 11 places in 55 mm") << "plotek" << 11 << 55.0 << 5.0;
        QTest::newRow("plotek, 3 places in 10 mm: ends short") << "plotek" << 3 << 10.0 << 5.0;
        QTest::newRow("plotek, 1 place, tall frame") << "plotek" << 1 << 8.0 << 9.0;
        QTest::newRow("NIP, 10 places") << "nip" << 10 << 65.0 << 5.0;
        QTest::newRow("month, 2 places") << "month" << 2 << 11.0 << 5.0;
        QTest::newRow("year, 4 places") << "year" << 4 << 22.0 << 6.0;
    }
    void combHasBaseLineAndTicksAtEveryPlace()
    {
        QFETCH(QString, kind);
        QFETCH(int, places);
        QFETCH(double, width);
        QFETCH(double, height);
        Sheet sheet;
        SetValue(AddComb(sheet, kind, width, height), places, QString());
        sheet.Draw();

        const int place = qRound(width * 10) / places;
        const int bottom = FrameTop + qRound(height * 10);
        const int tick = qRound(height * 10) / 3;
        const auto base = Horizontal(sheet.Device);
        QCOMPARE(base.size(), std::size_t(1));
        QCOMPARE(base[0], QLineF(FrameLeft, bottom, FrameLeft + places * place, bottom));
        const auto ticks = Vertical(sheet.Device);
        QCOMPARE(ticks.size(), std::size_t(places + 1));
        for (int i = 0; i <= places; ++i)
            QCOMPARE(ticks[i], QLineF(FrameLeft + i * place, bottom, FrameLeft + i * place, bottom - tick));
    }

    void everyCharacterCentredInItsPlace_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("places");
        QTest::addColumn<double>("width");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("printed");
        QTest::newRow("PESEL fills 11 places") << "plotek" << 11 << 55.0 << "44051401458" << "44051401458";
        QTest::newRow("NIP of digits fills 10") << "nip" << 10 << 65.0 << "1234567890" << "1234567890";
        QTest::newRow("month 3") << "month" << 2 << 11.0 << "3" << "03";
        QTest::newRow("month 12") << "month" << 2 << 11.0 << "12" << "12";
        QTest::newRow("month 0 printing zero") << "month" << 2 << 11.0 << "0" << "00";
        QTest::newRow("year 2010") << "year" << 4 << 22.0 << "2010" << "2010";
        QTest::newRow("beyond the last place") << "plotek" << 2 << 10.0 << "1234" << "1234";
        QTest::newRow("NIP longer than 10") << "nip" << 10 << 65.0 << "1234567890123" << "1234567890123";
    }
    void everyCharacterCentredInItsPlace()
    {
        QFETCH(QString, kind);
        QFETCH(int, places);
        QFETCH(double, width);
        QFETCH(QString, value);
        QFETCH(QString, printed);
        Sheet sheet;
        TQRCustomPit *comb = AddComb(sheet, kind, width, 5);
        SetValue(comb, places, value);
        sheet.Draw();

        const auto glyphs = sheet.Glyphs();
        QCOMPARE(glyphs.size(), std::size_t(printed.size()));
        const int place = qRound(width * 10) / places;
        for (int k = 0; k < printed.size(); ++k) {
            const auto &glyph = glyphs[k];
            QCOMPARE(glyph.Value, QString(printed[k]));
            const int w = sheet.Device.WidthOf(comb->Font, glyph.Value);
            QCOMPARE(qRound(glyph.Baseline.x()), FrameLeft + k * place + (place - w) / 2);
            QCOMPARE(sheet.Device.TopOf(glyph), FrameTop);
        }
    }

    // A NIP's dashes take no place: each stands centred on the boundary
    // between the digits around it, whatever way the NIP is grouped, and the
    // digits keep the places of a NIP written without dashes.
    void nipDashesStandOnBoundaries_data()
    {
        QTest::addColumn<QString>("nip");
        QTest::addColumn<QList<int>>("boundaries"); // of the dashes, in places from the left
        QTest::newRow("3-3-2-2") << "123-456-78-90" << QList<int>{3, 6, 8};
        QTest::newRow("3-2-2-3") << "123-45-67-890" << QList<int>{3, 5, 7};
        QTest::newRow("no dashes") << "1234567890" << QList<int>{};
    }
    void nipDashesStandOnBoundaries()
    {
        QFETCH(QString, nip);
        QFETCH(QList<int>, boundaries);
        Sheet sheet;
        auto *comb = sheet.Add<TQRNIP>(10, 20, 53, 5);
        comb->NIP = nip;
        sheet.Draw();

        const int place = 530 / 10;
        const auto glyphs = sheet.Glyphs();
        QCOMPARE(glyphs.size(), std::size_t(nip.size()));
        int digit = 0;
        QList<int> dashes;
        for (const auto &glyph : glyphs) {
            const int w = sheet.Device.WidthOf(comb->Font, glyph.Value);
            const int x = qRound(glyph.Baseline.x());
            if (glyph.Value == QLatin1String("-")) {
                QVERIFY(std::abs(x + w / 2.0 - (FrameLeft + digit * place)) <= 1);
                dashes << digit;
                continue;
            }
            QCOMPARE(glyph.Value, QString(QStringLiteral("1234567890")[digit]));
            QCOMPARE(x, FrameLeft + digit * place + (place - w) / 2);
            ++digit;
        }
        QCOMPARE(digit, 10);
        QCOMPARE(dashes, boundaries);
    }

    void combAloneWithoutAValue_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("value");
        QTest::addColumn<double>("height");
        QTest::addColumn<bool>("printZero");
        QTest::newRow("month 0, not printing zero") << "month" << "0" << 5.0 << false;
        QTest::newRow("year 0") << "year" << "0" << 5.0 << true;
        QTest::newRow("no date") << "date" << "" << 5.0 << true;
        QTest::newRow("the zero date") << "date" << "30-12-1899" << 5.0 << true;
        QTest::newRow("empty NIP") << "nip" << "" << 5.0 << true;
        QTest::newRow("frame lower than a line of text") << "plotek" << "12" << 3.0 << true;
    }
    void combAloneWithoutAValue()
    {
        QFETCH(QString, kind);
        QFETCH(QString, value);
        QFETCH(double, height);
        QFETCH(bool, printZero);
        Sheet sheet;
        TQRCustomPit *comb = AddComb(sheet, kind, 48, height);
        if (auto *month = dynamic_cast<TQRMonth *>(comb))
            month->PrintZero = printZero;
        SetValue(comb, 4, value);
        sheet.Draw();

        QCOMPARE(sheet.Device.VisibleText(), QString());
        QVERIFY(!Horizontal(sheet.Device).empty());
        QVERIFY(!Vertical(sheet.Device).empty());
    }

    void dateGroupsStandApartByOneUnit()
    {
        Sheet sheet;
        auto *date = sheet.Add<TQRDate>(10, 20, 48, 5);
        date->Date = QDate(2010, 3, 5);
        sheet.Draw();

        const int u = 480 / 18;
        const auto base = Horizontal(sheet.Device);
        QCOMPARE(base.size(), std::size_t(3));
        QCOMPARE(base[0], QLineF(FrameLeft, 250, FrameLeft + 4 * u, 250));
        QCOMPARE(base[1], QLineF(FrameLeft + 5 * u, 250, FrameLeft + 9 * u, 250));
        QCOMPARE(base[2], QLineF(FrameLeft + 10 * u, 250, FrameLeft + 18 * u, 250));

        std::set<int> tickUnits;
        for (const QLineF &tick : Vertical(sheet.Device))
            tickUnits.insert((qRound(tick.x1()) - FrameLeft) / u);
        QCOMPARE(tickUnits, (std::set<int>{0, 2, 4, 5, 7, 9, 10, 12, 14, 16, 18}));

        const QString digits = QStringLiteral("05032010");
        const int placeStarts[] = {0, 2, 5, 7, 10, 12, 14, 16};
        const auto glyphs = sheet.Glyphs();
        QCOMPARE(glyphs.size(), std::size_t(8));
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(glyphs[k].Value, QString(digits[k]));
            const int w = sheet.Device.WidthOf(date->Font, glyphs[k].Value);
            QCOMPARE(qRound(glyphs[k].Baseline.x()), FrameLeft + placeStarts[k] * u + (2 * u - w) / 2);
        }
    }

    void settersIgnoreValuesOutOfRange_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("kept");
        QTest::newRow("places 0") << "plotek" << 11 << 0 << 11;
        QTest::newRow("places 101") << "plotek" << 11 << 101 << 11;
        QTest::newRow("places 1") << "plotek" << 11 << 1 << 1;
        QTest::newRow("places 100") << "plotek" << 11 << 100 << 100;
        QTest::newRow("month 100") << "month" << 7 << 100 << 7;
        QTest::newRow("month -1") << "month" << 7 << -1 << 7;
        QTest::newRow("month 99") << "month" << 7 << 99 << 99;
        QTest::newRow("month 0") << "month" << 7 << 0 << 0;
        QTest::newRow("year 1900") << "year" << 2010 << 1900 << 2010;
        QTest::newRow("year 2100") << "year" << 2010 << 2100 << 2010;
        QTest::newRow("year 1901") << "year" << 2010 << 1901 << 1901;
        QTest::newRow("year 2099") << "year" << 2010 << 2099 << 2099;
        QTest::newRow("year 0") << "year" << 2010 << 0 << 0;
    }
    void settersIgnoreValuesOutOfRange()
    {
        QFETCH(QString, kind);
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(int, kept);
        if (kind == QLatin1String("plotek")) {
            TQRPlotek plotek;
            plotek.setIlosc(first);
            plotek.setIlosc(second);
            QCOMPARE(plotek.Ilosc(), kept);
        } else if (kind == QLatin1String("month")) {
            TQRMonth month;
            month.setMonth(first);
            month.setMonth(second);
            QCOMPARE(month.Month(), kept);
        } else {
            TQRYear year;
            year.setYear(first);
            year.setYear(second);
            QCOMPARE(year.Year(), kept);
        }
    }
};

QTEST_MAIN(TestCombs)
#include "tst_combs.moc"
