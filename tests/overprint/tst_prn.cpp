// The printer canvas: millimetres to pixels, digits, years, dates, the
// identifiers and the bank account in their boxes, upper case, and the text
// squeezed into a narrow column, checked to the pixel on a recording device.

#include "overprint/prn.h"
#include "support/recordingdevice.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTest>

namespace {

constexpr int Dpi = 600;

struct Letter
{
    QString text;
    int x;
};

} // namespace

class TestPrn : public QObject
{
    Q_OBJECT

private:
    RecordingDevice m_device{Dpi};
    QPainter m_painter;
    std::unique_ptr<TPrn> m_prn;

    // What was drawn, one entry per text output, with x as drawn.
    QList<Letter> drawn() const
    {
        QList<Letter> letters;
        for (const auto &t : m_device.Texts)
            letters.append({t.Value, qRound(t.Baseline.x())});
        return letters;
    }
    void expectLetters(const QString &chars, const QList<double> &mm, int x0)
    {
        const auto letters = drawn();
        QCOMPARE(letters.size(), chars.size());
        for (qsizetype i = 0; i < chars.size(); ++i) {
            QCOMPARE(letters[i].text, chars.mid(i, 1));
            QCOMPARE(letters[i].x, x0 + m_prn->MmToX(static_cast<float>(mm[i])));
        }
    }
    int widthOf(const QString &text, const QFont &font) const
    {
        return QFontMetrics(font, &m_device).horizontalAdvance(text);
    }

private slots:
    void init()
    {
        m_device.Clear();
        QVERIFY(m_painter.begin(&m_device));
        m_painter.setFont(QFont(QStringLiteral("Arial"), 10));
        m_prn = std::make_unique<TPrn>(m_painter);
        m_prn->SetDpiX(Dpi);
        m_prn->SetDpiY(Dpi);
    }
    void cleanup()
    {
        m_prn.reset();
        m_painter.end();
    }

    void millimetresToPixels_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<float>("mm");
        QTest::addColumn<int>("pixels");
        QTest::newRow("an inch at 600 dpi") << 600 << 25.4f << 600;
        QTest::newRow("zero") << 600 << 0.0f << 0;
        QTest::newRow("23 mm") << 600 << 23.0f << 543;
        QTest::newRow("a half goes to the even 2") << 254 << 0.25f << 2;
        QTest::newRow("a half goes to the even 4") << 254 << 0.75f << 8;
        // 0.35 is a little less than 0.35 as a single, so the quotient is
        // 3.4999999 in double precision, but exactly 3.5 once reduced to a
        // single: the half then goes to the even 4.
        QTest::newRow("single precision before rounding") << 254 << 0.35f << 4;
        QTest::newRow("negative") << 600 << -3.0f << -71;
    }
    void millimetresToPixels()
    {
        QFETCH(int, dpi);
        QFETCH(float, mm);
        QFETCH(int, pixels);
        m_prn->SetDpiX(dpi);
        m_prn->SetDpiY(dpi);
        QCOMPARE(m_prn->MmToX(mm), pixels);
        QCOMPARE(m_prn->MmToY(mm), pixels);
    }

    void textCellTopLeftAtThePoint()
    {
        m_prn->PrintText(443, 302, QStringLiteral("Kraków"));
        QCOMPARE(m_device.Texts.size(), std::size_t(1));
        QCOMPARE(qRound(m_device.Texts[0].Baseline.x()), 443);
        QCOMPARE(m_device.TopOf(m_device.Texts[0]), 302);
    }

    void boxedDigits_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("chars");
        QTest::addColumn<QList<double>>("mm");
        QTest::newRow("two digits 7") << "two" << 7 << "07" << QList<double>{0, 5};
        QTest::newRow("two digits 42") << "two" << 42 << "42" << QList<double>{0, 5};
        QTest::newRow("two digits 100") << "two" << 100 << "" << QList<double>{};
        QTest::newRow("two digits -1") << "two" << -1 << "" << QList<double>{};
        QTest::newRow("year 2009") << "year" << 2009 << "2009" << QList<double>{0, 5.25, 10.5, 15.75};
        QTest::newRow("year 0") << "year" << 0 << "" << QList<double>{};
        QTest::newRow("year 999") << "year" << 999 << "" << QList<double>{};
        QTest::newRow("year 12345") << "year" << 12345 << "" << QList<double>{};
    }
    void boxedDigits()
    {
        QFETCH(QString, kind);
        QFETCH(int, number);
        QFETCH(QString, chars);
        QFETCH(QList<double>, mm);
        if (kind == u"two")
            m_prn->PrintTwoDigits(1000, 50, number);
        else
            m_prn->PrintYear(1000, 50, number);
        expectLetters(chars, mm, 1000);
    }

    void dates_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("chars");
        QTest::newRow("5 March 2010") << QDate(2010, 3, 5) << "05032010";
        QTest::newRow("no date") << QDate() << "";
    }
    void dates()
    {
        QFETCH(QDate, date);
        QFETCH(QString, chars);
        m_prn->PrintDate(200, 50, date);
        expectLetters(chars, {0, 5, 12, 18, 25, 30, 35, 41}, 200);
    }

    void identifiers_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("chars");
        QTest::addColumn<QList<double>>("mm");
        const QList<double> pesel{0, 5, 11, 16, 21, 26, 32, 37, 42, 48, 53};
        QList<double> spaced, nip;
        for (int i = 0; i < 11; ++i) {
            spaced << i * 58.0 / 11;
            nip << i * 5.3;
        }
        QTest::newRow("PESEL") << "pesel" << "44051401359" << "44051401359" << pesel;
        QTest::newRow("PESEL of 12 characters keeps 11") << "pesel" << "440514013591" << "44051401359" << pesel;
        QTest::newRow("spaced PESEL") << "spaced" << "44051401359" << "44051401359" << spaced;
        QTest::newRow("NIP") << "nip" << "1234563218" << "1234563218" << nip;
        QTest::newRow("spaced upper case") << "spaced" << "żółć" << "ŻÓŁĆ" << spaced;
    }
    void identifiers()
    {
        QFETCH(QString, kind);
        QFETCH(QString, text);
        QFETCH(QString, chars);
        QFETCH(QList<double>, mm);
        m_prn->UpperOn();
        if (kind == u"pesel")
            m_prn->PrintPesel(100, 0, text);
        else if (kind == u"spaced")
            m_prn->PrintSpaced(100, 0, text);
        else
            m_prn->PrintNip(100, 0, text);
        expectLetters(chars, mm, 100);
    }

    void tenthDigitOfTheTwoPeselLayouts()
    {
        // The two layouts differ only in the tenth box.
        m_prn->PrintSpaced(0, 0, QStringLiteral("44051401359"));
        const int spaced = drawn()[9].x;
        m_device.Clear();
        m_prn->PrintPesel(0, 0, QStringLiteral("44051401359"));
        QCOMPARE(drawn()[9].x, m_prn->MmToX(48));
        QCOMPARE(spaced, m_prn->MmToX(47.4545454f));
    }

    void accounts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<double>>("mm");
        QList<double> grouped;
        const double groups[] = {0, 12, 35, 58, 80, 103, 126};
        for (int i = 0; i < 26; ++i)
            grouped << (i < 2 ? i * 5.25 : groups[(i - 2) / 4 + 1] + ((i - 2) % 4) * 5.25);
        QList<double> pitch;
        for (int i = 0; i < 32; ++i)
            pitch << i * 5.25;
        QTest::newRow("26 digits in groups") << "61109010140000071219812874" << grouped;
        QTest::newRow("with spaces at one pitch") << "61 1090 1014 0000 0712 1981 2874" << pitch;
        QTest::newRow("empty") << "" << QList<double>{};
    }
    void accounts()
    {
        QFETCH(QString, text);
        QFETCH(QList<double>, mm);
        m_prn->PrintAccount(10, 10, text);
        expectLetters(text, mm, 10);
        if (text.size() == 26)
            QCOMPARE(drawn()[2].x, 10 + m_prn->MmToX(12));
    }

    void rightAlignedAndMarks()
    {
        const QFont font = m_painter.font();
        m_prn->UpperOn();
        m_prn->PrintRight(3000, 100, QStringLiteral("1 234,50 zł"));
        m_prn->PrintMark(50, 60);
        QCOMPARE(drawn()[0].text, QStringLiteral("1 234,50 ZŁ"));
        QCOMPARE(drawn()[0].x, 3000 - widthOf(QStringLiteral("1 234,50 ZŁ"), font));
        QCOMPARE(drawn()[1].text, QStringLiteral("X"));
    }

    void lines()
    {
        const int h = QFontMetrics(m_painter.font(), &m_device).height();
        m_prn->PrintLines(100, 1000, {QStringLiteral("pierwsza"), QString(), QStringLiteral("trzecia łąka")});
        const auto &texts = m_device.Texts;
        QCOMPARE(texts.size(), std::size_t(2));
        QCOMPARE(texts[0].Value, QStringLiteral("pierwsza"));
        QCOMPARE(m_device.TopOf(texts[0]), 1000);
        QCOMPARE(texts[1].Value, QStringLiteral("trzecia łąka"));
        QCOMPARE(m_device.TopOf(texts[1]), 1000 + 2 * h);
    }

    void upperCaseMeasuresWhatItPrints()
    {
        const QFont font = m_painter.font();
        const QString upper = QStringLiteral("ŁÓDŹ ŹRÓDŁO");
        const int width = widthOf(upper, font);
        m_prn->UpperOn();
        QVERIFY(m_prn->TextFits(QStringLiteral("łódź źródło"), width));
        QVERIFY(!m_prn->TextFits(QStringLiteral("łódź źródło"), width - 1));
        m_prn->PrintText(0, 0, QStringLiteral("łódź źródło"));
        QCOMPARE(drawn()[0].text, upper);
        m_prn->UpperOff();
        QCOMPARE(m_prn->ApplyCase(QStringLiteral("łódź")), QStringLiteral("łódź"));
    }

    void wrapped_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fitsIn"); // "current", "small" or "none"
        QTest::newRow("fits the column") << "1, 2" << "current";
        QTest::newRow("fits only in small type") << "1, 2, 3, 4, 5, 6, 7, 8" << "small";
        QTest::newRow("needs lines") << "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17" << "none";
        QTest::newRow("more than three lines of text")
            << "1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30"
            << "none";
    }
    void wrapped()
    {
        QFETCH(QString, text);
        QFETCH(QString, fitsIn);
        const QFont before = m_painter.font();
        QFont small(QStringLiteral("Arial"));
        small.setPointSize(7);
        const int width = m_prn->MmToX(26);
        // The cases are chosen by their widths on this device.
        QCOMPARE(widthOf(text, before) <= width, fitsIn == u"current");
        QCOMPARE(widthOf(text, small) <= width, fitsIn != u"none");

        m_prn->PrintWrapped(500, 900, text, width);

        const auto &texts = m_device.Texts;
        QCOMPARE(m_painter.font(), before);
        if (fitsIn != u"none") {
            QCOMPARE(texts.size(), std::size_t(1));
            QCOMPARE(texts[0].Value, text);
            QCOMPARE(texts[0].Font.pointSize(), fitsIn == u"current" ? 10 : 7);
            QCOMPARE(m_device.TopOf(texts[0]), 900);
            return;
        }
        QVERIFY(texts.size() >= 2 && texts.size() <= 3);
        const int h = QFontMetrics(small, &m_device).height();
        QString joined;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            QCOMPARE(texts[i].Font.pointSize(), 7);
            QCOMPARE(m_device.TopOf(texts[i]), 900 + static_cast<int>(i) * h);
            if (i < 2) // the third line takes whatever is left
                QVERIFY2(widthOf(texts[i].Value, small) <= width, qPrintable(texts[i].Value));
            joined += texts[i].Value + u' ';
        }
        QCOMPARE(joined.simplified(), text);
    }

    void splitToFit_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("head");
        QTest::addColumn<QString>("rest");
        const QString word = QStringLiteral("Konstantynopolitańczykowianeczka");
        QTest::newRow("fits whole") << "1, 2" << 10000 << "1, 2" << "";
        // width -n: the width of the text less its last n characters
        QTest::newRow("breaks after a comma") << "12,34,56" << -1 << "12,34," << "56";
        QTest::newRow("breaks after a space, rest without blanks") << "12, 34,  56" << -3 << "12, 34, " << "56";
        // width 1: the width of the expected head, measured in the test
        QTest::newRow("no break character: inside the word") << word << 1 << word.left(5) << word.mid(5);
        QTest::newRow("not one character fits") << word << 0 << "" << word;
    }
    void splitToFit()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(QString, head);
        QFETCH(QString, rest);
        // Widths that depend on the font are measured here on the device.
        if (width < 0)
            width = widthOf(text.chopped(-width), m_painter.font());
        else if (width > 0 && width < 10000)
            width = widthOf(head, m_painter.font());
        const auto [gotHead, gotRest] = m_prn->SplitToFit(text, width);
        QCOMPARE(gotHead, head);
        QCOMPARE(gotRest, rest);
    }
};

QTEST_MAIN(TestPrn)
#include "tst_prn.moc"
