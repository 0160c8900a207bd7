// "Rozliczenie zwrotu": every figure of the explanation of the refund is the
// form model's own, and each line that names a box of the form shows that
// box's amount; the intermediate figures are checked against the worked
// examples computed by hand.

#include "core/common.h"
#include "support/formdata.h"
#include "vzm/formmodel.h"
#include "vzm/rozliczenie.h"

#include <QSet>

using Wiersz = TWierszRozliczenia;

class TestRozliczenie : public QObject, private TaxpayerModelFixture
{
    Q_OBJECT

    // The first line whose description begins so; "heading>description"
    // looks below the heading.
    static const Wiersz *szukaj(const TRozliczenieZwrotu &r, const QString &opis)
    {
        const QString naglowek = opis.contains(u'>') ? opis.section(u'>', 0, 0) : QString();
        bool ponizej = naglowek.isEmpty();
        for (const Wiersz &w : r.Wiersze()) {
            if (ponizej && w.Opis.startsWith(opis.section(u'>', -1)))
                return &w;
            ponizej = ponizej || w.Opis == naglowek;
        }
        return nullptr;
    }

private slots:
    void init() { setUp(); }
    void cleanup() { tearDown(); }

    // The worked examples of the refund, and one where the previous refunds
    // have used the total limit up.
    void przyklady_data()
    {
        QTest::addColumn<QDate>("pierwszy");
        QTest::addColumn<QStringList>("zwrotPop"); // A to D
        QTest::addColumn<QStringList>("oczekiwane"); // "description|amount as shown"

        const QStringList wspolne{
            "VZM-1/A, kolumna 5|22 092,00 zł",
            "VZM-1/B, kolumna 5|6 818,00 zł",
            "VZM-1/C, kolumna 5|652,20 zł",
            "VZM-1/B i C razem, kolumna 5|7 470,20 zł",
            "VZM-1/B, kolumna 6|1 363,60 zł",
            "VZM-1/A: liczba faktur|2",
            "VZM-1/A: suma kolumny 5|40 000,00 zł",
            "VZM-1/B: suma kolumny 6|2 000,00 zł",
        };
        QTest::newRow("D.3.1, no previous refunds")
            << QDate(2010, 5, 10) << QStringList{"0", "0", "0", "0"}
            << wspolne + QStringList{"Limit: kol. 5 VZM-1/B i C|25 819,50 zł",
                                     "Limit: kol. 5 VZM-1/A (poz. 41)>część zwrotu z wniosku|20 913,90 zł",
                                     "Limit: kol. 5 VZM-1/A (poz. 41)>pozostało po wniosku|0,00 zł",
                                     "Suma części zwrotu|29 747,70 zł",
                                     "Po zaokrągleniu do pełnych złotych|29 748,00 zł",
                                     "Limit łączny:|36 885,00 zł",
                                     "Kwota zwrotu|29 748 zł",
                                     "Limit łączny po wniosku|7 137,00 zł"};
        QTest::newRow("D.3.2, not dated")
            << QDate() << QStringList{"0", "0", "0", "0"}
            << wspolne + QStringList{"Limit: kol. 5 VZM-1/B i C|25 609,50 zł",
                                     "Limit: kol. 6 VZM-1/B i C|10 975,50 zł",
                                     "Kwota zwrotu|29 748 zł"};
        // The parts add up to 28 097,00; 36 885 - 20 000 caps the refund.
        QTest::newRow("previous refund C caps the refund")
            << QDate(2010, 5, 10) << QStringList{"0", "0", "20 000,00", "0"}
            << wspolne + QStringList{"Limit: kol. 5 VZM-1/B i C (poz. 43)>zwroty otrzymane wcześniej|20 000,00 zł",
                                     "Limit: kol. 5 VZM-1/B i C (poz. 43)>pozostało przed wnioskiem|5 819,50 zł",
                                     "Limit: kol. 5 VZM-1/B i C (poz. 43)>część zwrotu z wniosku|5 819,50 zł",
                                     "Suma części zwrotu|28 097,00 zł",
                                     "Po zaokrągleniu do pełnych złotych|28 097,00 zł",
                                     "Limit łączny:|16 885,00 zł",
                                     "Suma części przekracza limit łączny|",
                                     "Kwota zwrotu|16 885 zł",
                                     "Limit łączny po wniosku|0,00 zł"};
        QTest::newRow("previous refunds above the total limit")
            << QDate(2010, 5, 10) << QStringList{"0", "0", "30 000,00", "12 000,00"}
            << wspolne + QStringList{"Limit: kol. 6 VZM-1/B i C (poz. 44)>pozostało przed wnioskiem|0,00 zł",
                                     "Limit łączny:|-5 115,00 zł",
                                     "Limit łączny został wyczerpany|",
                                     "Kwota zwrotu|0 zł"};
    }
    void przyklady()
    {
        QFETCH(QDate, pierwszy);
        QFETCH(QStringList, zwrotPop);
        QFETCH(QStringList, oczekiwane);

        QVERIFY(vzm->Wczytaj(podatId, workedExampleApplication()));
        vzm->SetP44(pierwszy);
        vzm->SetP45(kwota("3 000"));
        for (int kind = 1; kind <= 4; ++kind)
            vzm->SetZwrotPop(kind, Money::parse(zwrotPop[kind - 1]).value());
        const TRozliczenieZwrotu r(db->dm, *vzm, ZrodloRozliczenia::Zapisany);

        // Every box of part D is explained, each by the amount the form holds.
        QSet<int> pozycje;
        for (const Wiersz &w : r.Wiersze()) {
            if (w.Pozycja == 0)
                continue;
            pozycje << w.Pozycja;
            const Money naFormularzu = vzm->GetPole(w.Pozycja + 6);
            QCOMPARE(w.Wartosc, naFormularzu);
            QCOMPARE(w.Kwota, (w.Pozycja == 49 ? Kwota0(naFormularzu) : Kwota2(naFormularzu)) + QStringLiteral("\u00A0zł"));
        }
        QCOMPARE(pozycje, (QSet<int>{39, 41, 42, 43, 44, 45, 46, 47, 48, 49}));
        QVERIFY(db->boxes.shown().isEmpty());

        for (const QString &o : oczekiwane) {
            const QString opis = o.section(u'|', 0, 0);
            const Wiersz *w = szukaj(r, opis);
            QVERIFY2(w, qPrintable(opis));
            QCOMPARE(QString(w->Kwota).replace(Money::GroupSeparator, u' '), o.section(u'|', 1));
        }
    }

    void limitWypisanyJakoIloczyn()
    {
        QVERIFY(vzm->Wczytaj(podatId, workedExampleApplication()));
        vzm->SetP45(kwota("3 000"));
        const TRozliczenieZwrotu r(db->dm, *vzm, ZrodloRozliczenia::Zapisany);
        const Wiersz *w = szukaj(r, QStringLiteral("Limit: kol. 5 VZM-1/B i C"));
        QVERIFY(w);
        QCOMPARE(QString(w->Dzialanie + QStringLiteral(" = ") + w->Kwota).replace(Money::GroupSeparator, u' '),
                 QStringLiteral("70 × 3 000,00 zł × 12,195 % = 25 609,50 zł"));
    }

    // The heading names the application, both persons and where the figures come from.
    void naglowek_data()
    {
        QTest::addColumn<bool>("korekta");
        QTest::addColumn<int>("zrodlo");
        QTest::addColumn<QStringList>("linie");
        QTest::newRow("application as stored")
            << false << int(ZrodloRozliczenia::Zapisany)
            << QStringList{"Wniosek VZM-1 nr 1",
                           "Data złożenia pierwszego wniosku w pięcioletnim okresie (poz. 38): 10-05-2010",
                           "Podatnik: Żółkiewski Łukasz, NIP " + NipPodatnika, "Małżonek: Nowak Anna, PESEL " + PeselMalzonka,
                           "Wszystkie kwoty pochodzą z wniosku w postaci zapisanej w programie"};
        QTest::newRow("a correction with changes not saved")
            << true << int(ZrodloRozliczenia::Niezapisany)
            << QStringList{"Korekta wniosku VZM-1 nr 3", "Kwoty pochodzą z formularza na ekranie, ze zmianami jeszcze niezapisanymi"};
    }
    void naglowek()
    {
        QFETCH(bool, korekta);
        QFETCH(int, zrodlo);
        QFETCH(QStringList, linie);
        QVERIFY(vzm->Wczytaj(podatId, workedExampleApplication()));
        vzm->MNazwisko = QStringLiteral("Nowak");
        vzm->MImie = QStringLiteral("Anna");
        vzm->SetPesel(TOsoba::Malzonek, PeselMalzonka);
        vzm->SetP44(QDate(2010, 5, 10));
        if (korekta) {
            vzm->SetCel(2, true);
            vzm->SetNrKoryg(3);
        }
        const TRozliczenieZwrotu r(db->dm, *vzm, ZrodloRozliczenia(zrodlo));
        QCOMPARE(r.Naglowek().size(), 5);
        for (const QString &linia : linie) {
            const bool jest = std::any_of(r.Naglowek().begin(), r.Naglowek().end(),
                                          [&](const QString &l) { return l.startsWith(linia); });
            QVERIFY2(jest, qPrintable(linia));
        }
    }

    // The number of invoices and the gross total of each list are those stored.
    void liczbyIBrutto()
    {
        const int vzmId = db->addApplication(podatId);
        for (const char *brutto : {"1 220,50", "100,00", "-20,25"})
            db->addInvoice(vzmId, QStringLiteral("C"), {{QStringLiteral("Brutto"), kwotaV(brutto)}});
        QVERIFY(vzm->Wczytaj(podatId, vzmId));
        const TRozliczenieZwrotu r(db->dm, *vzm, ZrodloRozliczenia::Zapisany);
        QCOMPARE(szukaj(r, QStringLiteral("VZM-1/C: liczba faktur"))->Wartosc, Money::fromUnits(3));
        QCOMPARE(szukaj(r, QStringLiteral("VZM-1/C: suma brutto"))->Wartosc, kwota("1 300,25"));
        QCOMPARE(szukaj(r, QStringLiteral("VZM-1/A: liczba faktur"))->Kwota, QStringLiteral("0"));
    }
};

QTEST_GUILESS_MAIN(TestRozliczenie)
#include "tst_rozliczenie.moc"
