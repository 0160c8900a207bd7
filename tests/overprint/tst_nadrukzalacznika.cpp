// The overprint of an attachment, read back from real PDF output: the
// identification, the invoice rows of both pages, the totals and the item
// numbers squeezed into their narrow column.

#include "data/tdm.h"
#include "overprint/drukdopdf.h"
#include "overprint/nadrukzalacznika.h"
#include "support/formdata.h"
#include "vzm/attachmentmodel.h"

#include <QTest>

class TestNadrukZalacznika : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TVZMab> zal;
    std::unique_ptr<DrukDoPdf> druk;
    std::unique_ptr<NadrukZalacznika> nadruk;
    int podatId = 0;
    int vzmId = 0;

    // n invoices in list A: FV/i of 2 March 2010, seller 526-025-02-74,
    // i * 100,00 gross with 18,70 and 1,00 of VAT.
    void dodajFaktury(int n, const QString &lpFakt = QStringLiteral("1, 2"))
    {
        auto t = db->dm.transaction();
        for (int i = 1; i <= n; ++i)
            db->addInvoice(vzmId, QStringLiteral("A"),
                           {{QStringLiteral("NrFakt"), QStringLiteral("FV/%1").arg(i)},
                            {QStringLiteral("LpFakt"), lpFakt},
                            {QStringLiteral("DataWyst"), QDate(2010, 3, 2)},
                            {QStringLiteral("NipSprzed"), NipMalzonka},
                            {QStringLiteral("Brutto"), QVariant::fromValue(Money::fromUnits(100 * i))},
                            {QStringLiteral("VatA"), kwotaV("18,70")},
                            {QStringLiteral("VatB"), kwotaV("1,00")}});
        t.commit();
    }
    QList<PdfWord> drukuj(int strona)
    {
        zal->Wczytaj(podatId, vzmId, 1, 1);
        return druk->drukuj(*nadruk, strona);
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDatabase>();
        zal = std::make_unique<TVZMab>(db->dm);
        druk = std::make_unique<DrukDoPdf>();
        nadruk = std::make_unique<NadrukZalacznika>(druk->drukarka, db->dm, *zal);
        QVariantMap podatnik = pelnyPodatnik();
        podatnik.insert(QStringLiteral("MNIP"), NipMalzonka);
        podatnik.insert(QStringLiteral("MNazwisko"), QStringLiteral("Żółkiewska"));
        podatnik.insert(QStringLiteral("MPesel"), PeselMalzonka);
        podatId = db->addTaxpayer(podatnik);
        vzmId = db->addApplication(podatId, {{QStringLiteral("NrKolej"), 1}});
    }
    void cleanup()
    {
        nadruk.reset();
        druk.reset();
        zal.reset();
        db.reset();
    }

    void identificationOnPageOne_data()
    {
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("y");
        QTest::addColumn<QString>("words");
        QTest::newRow("taxpayer's NIP") << 21.0 << 16.2 << "1";
        QTest::newRow("taxpayer's PESEL beside it") << 87.0 << 16.2 << "4";
        QTest::newRow("taxpayer's tenth PESEL digit, spaced") << 87 + 9 * 58.0 / 11 << 16.2 << "5";
        QTest::newRow("spouse's NIP") << 161.0 << 16.2 << "5";
        QTest::newRow("spouse's PESEL") << 227.0 << 16.2 << "0";
        QTest::newRow("spouse's tenth PESEL digit, PESEL boxes") << 227 + 48.0 << 16.2 << "2";
        QTest::newRow("number of the attachment") << 277.0 << 41.0 << "0";
        QTest::newRow("number of the attachment, second digit") << 282.0 << 41.0 << "1";
        QTest::newRow("surname") << 35.0 << 59.0 << "ŻÓŁKIEWSKI";
        QTest::newRow("spouse's surname") << 35.0 << 76.0 << "ŻÓŁKIEWSKA";
        QTest::newRow("invoice number of row 1") << 12.0 << 126.0 << "FV/1";
        QTest::newRow("invoice number of row 3") << 12.0 << 143.0 << "FV/3";
        QTest::newRow("no row 4") << 12.0 << 151.5 << "";
        QTest::newRow("seller's NIP digits, 5.3 mm apart") << 130 + 9 * 5.3 << 126.0 << "4";
        QTest::newRow("item numbers that fit") << 67.5 << 126.0 << "1,";
    }
    void identificationOnPageOne()
    {
        QFETCH(double, x);
        QFETCH(double, y);
        QFETCH(QString, words);
        dodajFaktury(3);
        QCOMPARE(wordsAt(drukuj(1), x, y), words);
    }

    void amountsEndAtTheirPointsOneMillimetreHigher()
    {
        dodajFaktury(3);
        const auto words = drukuj(1);
        const PdfWord data = findWord(words, QStringLiteral("02-03-2010"));
        QVERIFY2(qAbs(data.mm.right() - 119) < 0.3 && qAbs(data.mm.top() - 126) < 0.3, qPrintable(QString::number(data.mm.right())));
        const PdfWord brutto = findWord(words, QStringLiteral("300,00"));
        QVERIFY2(qAbs(brutto.mm.right() - 221) < 0.3 && qAbs(brutto.mm.top() - 142) < 0.3, qPrintable(QString::number(brutto.mm.top())));
    }

    void threeInvoicesLeavePageTwoWithTotalsOnly()
    {
        dodajFaktury(3);
        const auto words = drukuj(2);
        QStringList texts;
        for (const PdfWord &w : words)
            texts << w.text;
        QCOMPARE(texts, (QStringList{QStringLiteral("600,00"), QStringLiteral("56,10"), QStringLiteral("3,00")}));
        QVERIFY(qAbs(words[0].mm.right() - 220) < 0.3 && qAbs(words[0].mm.top() - 185) < 0.3);
        QVERIFY(qAbs(words[2].mm.right() - 286) < 0.3);
    }

    void rowsOfPageTwo()
    {
        dodajFaktury(27);
        const auto words = drukuj(2);
        QCOMPARE(wordsAt(words, 11, 16), QStringLiteral("FV/8"));
        QCOMPARE(wordsAt(words, 11, 16 + 8.5 * 19), QStringLiteral("FV/27"));
        QCOMPARE(wordsAt(words, 66.5, 16), QStringLiteral("1,"));
    }

    void correctionMovesOneAmount()
    {
        QVERIFY(db->dm.Korekta.locate(QStringLiteral("Pit;Pole"), {QStringLiteral("VZM-1/A"), 15}));
        db->dm.Korekta.edit();
        db->dm.Korekta.field(QStringLiteral("KorY")).setInteger(2);
        db->dm.Korekta.post();
        dodajFaktury(2);
        const auto words = drukuj(1);
        const PdfWord pierwsza = findWord(words, QStringLiteral("100,00"));
        const PdfWord druga = findWord(words, QStringLiteral("200,00"));
        QVERIFY2(qAbs(pierwsza.mm.top() - 127) < 0.3, qPrintable(QString::number(pierwsza.mm.top())));
        QVERIFY(qAbs(druga.mm.top() - (134.5 - 1)) < 0.3);
        QCOMPARE(wordsAt(words, 12, 126), QStringLiteral("FV/1"));
    }

    void longItemNumbersWrapInSmallType()
    {
        dodajFaktury(1, QStringLiteral("1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22"));
        const auto words = drukuj(1);
        const PdfWord first = findWord(words, QStringLiteral("1,"));
        // Three millimetres higher, in small type, on more than one line.
        QVERIFY2(qAbs(first.mm.left() - 67.5) < 0.3 && qAbs(first.mm.top() - 123) < 0.3,
                 qPrintable(QString::number(first.mm.top())));
        QVERIFY(first.mm.height() < 3.2);
        QList<int> lines; // tops in tenths of a millimetre
        for (const PdfWord &w : words) {
            const int top = qRound(w.mm.top() * 10);
            if (w.mm.left() >= 67 && w.mm.right() <= 67.5 + 26.5 && top > 1200 && top < 1300 && !lines.contains(top))
                lines << top;
        }
        QVERIFY2(lines.size() >= 2 && lines.size() <= 3, qPrintable(QString::number(lines.size())));
    }

    void calibrationCrossesOnBothPages()
    {
        zal->Wczytaj(podatId, vzmId, 1, 1);
        for (int strona : {1, 2}) {
            const auto words = druk->kalibruj(*nadruk, strona);
            QStringList numbers;
            for (const PdfWord &w : words)
                numbers << w.text;
            for (int pole : NadrukZalacznika::PolaStrony(strona))
                QVERIFY2(numbers.contains(QString::number(pole)), qPrintable(QString::number(pole)));
        }
    }
};

QTEST_MAIN(TestNadrukZalacznika)
#include "tst_nadrukzalacznika.moc"
