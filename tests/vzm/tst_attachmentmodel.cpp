#include "vzm/attachmentmodel.h"
#include "support/formdata.h"

// One attachment loaded from invoices stored in a real database.
class TestAttachmentModel : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TVZMab> zal;
    int podatId = 0;
    int vzmId = 0;

    static QString nbsp(const char *tekst) // "1 234,56" with the Polish thousands separator
    {
        return QString::fromUtf8(tekst).replace(QLatin1Char(' '), Money::GroupSeparator);
    }

    // n invoices in list B numbered FV/1 ... FV/n, invoice i worth i * 100,00
    // gross with 23,00 VAT in column 5 and 1,00 in column 6; invoices of
    // list A and of another application mixed in between.
    void addInvoices(int n)
    {
        const int inny = db->addApplication(podatId);
        auto t = db->dm.transaction();
        for (int i = 1; i <= n; ++i) {
            db->addInvoice(vzmId, QStringLiteral("B"),
                           {{QStringLiteral("NrFakt"), QStringLiteral("FV/%1").arg(i)},
                            {QStringLiteral("LpFakt"), QStringLiteral("%1, %2").arg(i).arg(i + 1)},
                            {QStringLiteral("DataWyst"), QDate(2010, 1, 1).addDays(i)},
                            {QStringLiteral("NipSprzed"), QStringLiteral("526-025-02-74")},
                            {QStringLiteral("Brutto"), QVariant::fromValue(Money::fromUnits(100 * i))},
                            {QStringLiteral("VatA"), kwotaV("23,00")},
                            {QStringLiteral("VatB"), kwotaV("1,00")}});
            db->addInvoice(vzmId, QStringLiteral("A"), {{QStringLiteral("NrFakt"), QStringLiteral("A/%1").arg(i)}});
            db->addInvoice(inny, QStringLiteral("B"), {{QStringLiteral("NrFakt"), QStringLiteral("X/%1").arg(i)}});
        }
        t.commit();
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDatabase>();
        zal = std::make_unique<TVZMab>(db->dm);
        QVariantMap podatnik = pelnyPodatnik();
        podatnik.insert(QStringLiteral("Dokument"), QStringLiteral("paszport AB123"));
        podatnik.insert(QStringLiteral("MNIP"), NipMalzonka);
        podatnik.insert(QStringLiteral("MNazwisko"), QStringLiteral("Żółkiewska"));
        podatnik.insert(QStringLiteral("MImie"), QStringLiteral("Anna"));
        podatnik.insert(QStringLiteral("MPesel"), PeselMalzonka);
        podatnik.insert(QStringLiteral("MDokument"), QStringLiteral("dowód XYZ"));
        podatId = db->addTaxpayer(podatnik);
        vzmId = db->addApplication(podatId, {{QStringLiteral("NrKolej"), 1}});
    }
    void cleanup()
    {
        zal.reset();
        db.reset();
    }

    void header()
    {
        addInvoices(1);
        QVERIFY(zal->Wczytaj(podatId, vzmId, 2, 1));
        QCOMPARE(zal->Rodzaj(), 2);
        QCOMPARE(zal->Oznacz(), QStringLiteral("B"));
        QCOMPARE(zal->Symbol(), QStringLiteral("VZM-1/B"));
        QCOMPARE(zal->PodatId(), podatId);
        QCOMPARE(zal->VzmId(), vzmId);
        QCOMPARE(zal->NrZal(), 1);
        QCOMPARE((QStringList{zal->NIP(), zal->Nazwisko(), zal->Imie(), zal->Pesel(), zal->Dokument()}),
                 (QStringList{NipPodatnika, "Żółkiewski", "Łukasz", PeselPodatnika, "paszport AB123"}));
        QCOMPARE((QStringList{zal->MNIP(), zal->MNazwisko(), zal->MImie(), zal->MPesel(), zal->MDokument()}),
                 (QStringList{NipMalzonka, "Żółkiewska", "Anna", PeselMalzonka, "dowód XYZ"}));
        QVERIFY(db->boxes.shown().isEmpty());
    }

    // 30 invoices: attachment 1 holds invoices 1 to 27, attachment 2 invoices 28 to 30.
    void thirtyInvoices_data()
    {
        QTest::addColumn<int>("nrZal");
        QTest::addColumn<int>("pierwsza"); // the invoice in row 1
        QTest::addColumn<int>("wierszy");
        QTest::addColumn<QString>("sumaBrutto");
        QTest::addColumn<QString>("sumaVatA");
        QTest::addColumn<QString>("sumaVatB");
        // 100,00 * (1 + ... + 27) = 37 800,00; 100,00 * (28 + 29 + 30) = 8 700,00
        QTest::newRow("attachment 1") << 1 << 1 << 27 << "37 800,00" << "621,00" << "27,00";
        QTest::newRow("attachment 2") << 2 << 28 << 3 << "8 700,00" << "69,00" << "3,00";
        QTest::newRow("attachment 3, beyond the invoices") << 3 << 0 << 0 << "" << "" << "";
    }
    void thirtyInvoices()
    {
        QFETCH(int, nrZal);
        QFETCH(int, pierwsza);
        QFETCH(int, wierszy);
        QFETCH(QString, sumaBrutto);
        QFETCH(QString, sumaVatA);
        QFETCH(QString, sumaVatB);
        addInvoices(30);
        QVERIFY(zal->Wczytaj(podatId, vzmId, 2, 1)); // a load before replaces nothing of the next
        QVERIFY(zal->Wczytaj(podatId, vzmId, 2, nrZal));
        for (int k = 1; k <= TVZMab::Wierszy; ++k) {
            const int b = 6 * k + 6;
            const int i = pierwsza + k - 1;
            const bool pelny = k <= wierszy;
            QCOMPARE(zal->GetTekst(b), pelny ? QStringLiteral("FV/%1").arg(i) : QString());
            QCOMPARE(zal->GetTekst(b + 1), pelny ? QDate(2010, 1, 1).addDays(i).toString(QStringLiteral("dd-MM-yyyy")) : QString());
            QCOMPARE(zal->GetTekst(b + 2), pelny ? QStringLiteral("526-025-02-74") : QString());
            QCOMPARE(zal->GetKwota(b + 3), pelny ? Money::fromUnits(100 * i) : Money());
            // 100,00 ... 900,00, then 1 000,00 ... 3 000,00
            const QString brutto = i < 10 ? QStringLiteral("%1,00").arg(100 * i)
                                          : QStringLiteral("%1%2%3,00").arg(i / 10).arg(Money::GroupSeparator).arg(i % 10 * 100, 3, 10, QLatin1Char('0'));
            QCOMPARE(zal->GetTekst(b + 3), pelny ? brutto : QString());
            QCOMPARE(zal->GetKwota(b + 4), pelny ? kwota("23") : Money());
            QCOMPARE(zal->GetTekst(b + 4), pelny ? QStringLiteral("23,00") : QString());
            QCOMPARE(zal->GetKwota(b + 5), pelny ? kwota("1") : Money());
            QCOMPARE(zal->GetTekst(b + 5), pelny ? QStringLiteral("1,00") : QString());
            QCOMPARE(zal->GetLpFakt(k), pelny ? QStringLiteral("%1, %2").arg(i).arg(i + 1) : QString());
        }
        QCOMPARE(zal->GetTekst(174), nbsp(sumaBrutto.toUtf8().constData()));
        QCOMPARE(zal->GetTekst(175), sumaVatA);
        QCOMPARE(zal->GetTekst(176), sumaVatB);
        QCOMPARE(zal->GetKwota(174), sumaBrutto.isEmpty() ? Money() : Money::parse(sumaBrutto).value());
        QCOMPARE(zal->GetKwota(175), sumaVatA.isEmpty() ? Money() : Money::parse(sumaVatA).value());
        QCOMPARE(zal->GetKwota(176), sumaVatB.isEmpty() ? Money() : Money::parse(sumaVatB).value());
    }

    void thousandsInTheText()
    {
        db->addInvoice(vzmId, QStringLiteral("C"), {{QStringLiteral("Brutto"), kwotaV("1 234 567,89")}});
        QVERIFY(zal->Wczytaj(podatId, vzmId, 3, 1));
        QCOMPARE(zal->Symbol(), QStringLiteral("VZM-1/C"));
        QCOMPARE(zal->GetTekst(15), nbsp("1 234 567,89"));
        QCOMPARE(zal->GetTekst(174), nbsp("1 234 567,89"));
    }

    // A correcting invoice: its amounts count, but only positive amounts are printed.
    void negativeAndMissingValues()
    {
        db->addInvoice(vzmId, QStringLiteral("A"),
                       {{QStringLiteral("NrFakt"), QStringLiteral("K/1")},
                        {QStringLiteral("Brutto"), kwotaV("-500,00")},
                        {QStringLiteral("VatA"), kwotaV("-93,50")}});
        db->addInvoice(vzmId, QStringLiteral("A"),
                       {{QStringLiteral("NrFakt"), QStringLiteral("F/2")},
                        {QStringLiteral("Brutto"), kwotaV("200,00")},
                        {QStringLiteral("VatA"), kwotaV("37,40")}});
        QVERIFY(zal->Wczytaj(podatId, vzmId, 1, 1));
        QCOMPARE(zal->GetTekst(12), QStringLiteral("K/1"));
        QCOMPARE(zal->GetTekst(13), QString()); // no date of issue
        QCOMPARE(zal->GetKwota(15), kwota("-500"));
        QCOMPARE(zal->GetTekst(15), QString());
        QCOMPARE(zal->GetKwota(16), kwota("-93,50"));
        QCOMPARE(zal->GetTekst(16), QString());
        QCOMPARE(zal->GetKwota(17), Money()); // VatB 0
        QCOMPARE(zal->GetTekst(17), QString());
        QCOMPARE(zal->GetTekst(21), QStringLiteral("200,00"));
        QCOMPARE(zal->GetKwota(174), kwota("-300"));
        QCOMPARE(zal->GetTekst(174), QString()); // a negative sum is not printed
        QCOMPARE(zal->GetKwota(175), kwota("-56,10"));
        QCOMPARE(zal->GetTekst(175), QString());
        QCOMPARE(zal->GetKwota(176), Money()); // a zero sum neither
        QCOMPARE(zal->GetTekst(176), QString());
    }

    void outOfRange()
    {
        addInvoices(27);
        QVERIFY(zal->Wczytaj(podatId, vzmId, 2, 1));
        QCOMPARE(zal->GetTekst(12), QStringLiteral("FV/1"));
        QCOMPARE(zal->GetTekst(11), QString());
        QCOMPARE(zal->GetTekst(177), QString());
        QCOMPARE(zal->GetTekst(-1), QString());
        QCOMPARE(zal->GetKwota(15), kwota("100"));
        QCOMPARE(zal->GetKwota(14), Money());
        QCOMPARE(zal->GetKwota(177), Money());
        QCOMPARE(zal->GetKwota(12), Money()); // a text box holds no amount
        QCOMPARE(zal->GetLpFakt(27), QStringLiteral("27, 28"));
        QCOMPARE(zal->GetLpFakt(0), QString());
        QCOMPARE(zal->GetLpFakt(28), QString());
    }

    void missingTaxpayer()
    {
        addInvoices(3);
        QVERIFY(zal->Wczytaj(podatId, vzmId, 2, 1));
        QVERIFY(!zal->Wczytaj(999, vzmId, 2, 1));
        QCOMPARE(db->boxes.texts(), QStringList{"Brak podatnika [PodatId = [999]."});
        QCOMPARE(zal->NIP(), QString());
        QCOMPARE(zal->GetTekst(12), QString());
        QCOMPARE(zal->GetKwota(174), Money());
        QCOMPARE(zal->Symbol(), QStringLiteral("VZM-1/B"));
    }

    void failingInvoiceQueryLeavesRowsEmpty()
    {
        addInvoices(3);
        db->dm.database().run(QStringLiteral("ALTER TABLE Faktury RENAME COLUMN LpFakt TO Pozycje"));
        QVERIFY(zal->Wczytaj(podatId, vzmId, 2, 1));
        QCOMPARE(zal->Nazwisko(), QStringLiteral("Żółkiewski"));
        QCOMPARE(zal->GetTekst(12), QString());
        QCOMPARE(zal->GetKwota(174), Money());
        QVERIFY(db->boxes.shown().isEmpty()); // nothing is reported
    }
};

QTEST_GUILESS_MAIN(TestAttachmentModel)
#include "tst_attachmentmodel.moc"
