// The printed explanation of the refund, read back from the PDF the report
// engine exports: every amount of the sheet lands on the line of its box
// number, and nothing is cut or drawn over another word at the print font's
// sizes; one page or two.

#include "core/settingsfile.h"
#include "reports/forms/wydruk.h"
#include "support/formdata.h"
#include "support/pdfwords.h"
#include "vzm/rozliczenie.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestRozliczeniePrev : public QObject, private TaxpayerModelFixture
{
    Q_OBJECT

    static QString normalny(QString tekst) { return tekst.replace(Money::GroupSeparator, u' ').simplified(); }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    void strony_data()
    {
        QTest::addColumn<int>("punktow");
        QTest::addColumn<bool>("poprzednie"); // previous refunds that cap the refund
        QTest::newRow("10 pt") << 10 << false;
        QTest::newRow("10 pt, capped") << 10 << true;
        QTest::newRow("12 pt, capped") << 12 << true;
        QTest::newRow("14 pt, capped") << 14 << true;
    }
    void strony()
    {
        QFETCH(int, punktow);
        QFETCH(bool, poprzednie);
        printSettings() = PrintSettings{false, 0, punktow, QStringLiteral("Arial")};
        QVERIFY(vzm->Wczytaj(podatId, workedExampleApplication()));
        vzm->MNazwisko = QStringLiteral("Żółkiewska");
        vzm->MImie = QStringLiteral("Zofia");
        vzm->SetP44(QDate(2010, 5, 10));
        vzm->SetP45(kwota("3 000"));
        if (poprzednie) {
            vzm->SetZwrotPop(3, kwota("20 000"));
            vzm->SetZwrotPop(1, kwota("1 234,56"));
        }
        const WydrukRozliczenia wydruk(db->dm, *vzm, ZrodloRozliczenia::Zapisany);
        QVERIFY(wydruk.LiczbaStron() >= 1 && wydruk.LiczbaStron() <= 2);
        QTemporaryDir katalog;
        const QString plik = katalog.filePath(QStringLiteral("rozliczenie.pdf"));
        QVERIFY(wydruk.Raport().ExportPdf(plik));
        const QString strony = qEnvironmentVariable("TARLEN_SHOTS");
        if (!strony.isEmpty())
            QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("100"), plik,
                                                           strony + QStringLiteral("/rozliczenie-%1pt%2").arg(punktow).arg(poprzednie ? "-pop" : "")});

        QList<PdfWord> slowa[2];
        for (int s = 0; s < wydruk.LiczbaStron(); ++s) {
            slowa[s] = pdfWords(plik, s + 1);
            QVERIFY(!slowa[s].isEmpty());
            // Every word on the sheet inside the margins, none over another.
            for (int i = 0; i < slowa[s].size(); ++i) {
                const QRectF &a = slowa[s][i].mm;
                QVERIFY2(a.left() >= 14.5 && a.right() <= 195.5 && a.bottom() <= 297 - 9.5,
                         qPrintable(slowa[s][i].text));
                for (int j = i + 1; j < slowa[s].size(); ++j)
                    QVERIFY2(!a.adjusted(0.1, 0.1, -0.1, -0.1).intersects(slowa[s][j].mm),
                             qPrintable(slowa[s][i].text + QStringLiteral(" / ") + slowa[s][j].text));
            }
        }
        QCOMPARE(findWord(slowa[0], QStringLiteral("Rozliczenie")).text, QStringLiteral("Rozliczenie"));

        // Each box's amount stands on its number's line, in the amount column.
        const TRozliczenieZwrotu rozliczenie(db->dm, *vzm, ZrodloRozliczenia::Zapisany);
        int znalezionych = 0;
        for (const TWierszRozliczenia &w : rozliczenie.Wiersze()) {
            if (w.Pozycja == 0)
                continue;
            for (const QList<PdfWord> &strona : slowa) {
                for (const PdfWord &numer : strona) {
                    if (numer.text != QString::number(w.Pozycja) + u'.' || numer.mm.left() > 27)
                        continue;
                    QStringList kwota;
                    for (const PdfWord &s : strona)
                        if (qAbs(s.mm.top() - numer.mm.top()) < 0.5 && s.mm.left() >= 156)
                            kwota << s.text;
                    QCOMPARE(kwota.join(u' '), normalny(w.Kwota));
                    ++znalezionych;
                }
            }
        }
        QCOMPARE(znalezionych, 10); // boxes 39, 41 to 49
    }
};

QTEST_MAIN(TestRozliczeniePrev)
#include "tst_rozliczenieprev.moc"
