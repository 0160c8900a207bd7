#include "tdm.h"
#include "testsupport.h"

#include <QTest>

// The data module on a database made by the installer.
class TestTdm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TDM> dm;

    int addTaxpayer(const QString &surname, const QString &firstName = QStringLiteral("Jan"))
    {
        dm->Podatnik.append();
        dm->Podatnik.field(QStringLiteral("Nazwisko")).setString(surname);
        dm->Podatnik.field(QStringLiteral("Imie")).setString(firstName);
        dm->Podatnik.post();
        return dm->Podatnik.field(QStringLiteral("PodatId")).asInteger();
    }
    int addApplication(int podatId, int nrKolej)
    {
        dm->VzmyTbl.append();
        dm->VzmyTbl.field(QStringLiteral("PodatId")).setInteger(podatId);
        dm->VzmyTbl.field(QStringLiteral("NrKolej")).setInteger(nrKolej);
        dm->VzmyTbl.post();
        return dm->VzmyTbl.field(QStringLiteral("VzmId")).asInteger();
    }
    int addInvoice(int vzmId, const QString &list, const QString &number, qint64 vatA = 0, qint64 vatB = 0)
    {
        dm->Faktury.append();
        dm->Faktury.field(QStringLiteral("VzmId")).setInteger(vzmId);
        dm->Faktury.field(QStringLiteral("Oznacz")).setString(list);
        dm->Faktury.field(QStringLiteral("NrFakt")).setString(number);
        if (vatA)
            dm->Faktury.field(QStringLiteral("VatA")).setMoney(Money::fromRaw(vatA));
        if (vatB)
            dm->Faktury.field(QStringLiteral("VatB")).setMoney(Money::fromRaw(vatB));
        dm->Faktury.post();
        return dm->Faktury.field(QStringLiteral("FaktId")).asInteger();
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        boxes.clear();
        dm = std::make_unique<TDM>(&boxes);
        QVERIFY(dm->OtworzTabele());
        QVERIFY(boxes.shown().isEmpty());
    }
    void cleanup()
    {
        dm.reset();
        env.reset();
    }

    void smoke()
    {
        const int id = addTaxpayer(QStringLiteral("Kowalski"));
        QVERIFY(id > 0);
        QCOMPARE(dm->Podatnik.recordCount(), 1);
    }
};

QTEST_MAIN(TestTdm)
#include "tst_tdm.moc"
