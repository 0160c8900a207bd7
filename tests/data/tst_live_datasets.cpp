#include "data/dataerror.h"
#include "data/tdm.h"
#include "support/testsupport.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

// How tables and queries behave when the stored rows change under them,
// and what a query's SQL may hold.
class TestLiveDatasets : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    TDM *dm = nullptr;

    int addApplication(int podatId, int nrKolej)
    {
        return db->addApplication(podatId, {{u"NrKolej"_s, nrKolej}});
    }
    int addInvoice(int vzmId, const QString &list, const QString &number)
    {
        return db->addInvoice(vzmId, list, {{u"NrFakt"_s, number}});
    }
    // Rows deleted past the data module, as another program would.
    void deleteElsewhere(const QString &table, const QString &key, int id)
    {
        dm->database().run(u"DELETE FROM %1 WHERE %2 = ?"_s.arg(table, key), {}, {id});
    }
    static QList<int> column(Dataset &dataset, const QString &field)
    {
        QList<int> values;
        for (int row = 0; row < dataset.recordCount(); ++row)
            values << int(dataset.valueAt(row, dataset.fieldIndex(field)).toLongLong());
        return values;
    }
    void openList(Query &query, int vzmId)
    {
        query.close();
        query.setParam(u"VzmId"_s, vzmId);
        query.open();
    }
    QVariant firstValue(const QString &sql, const QString &field)
    {
        dm->WQ.close();
        dm->WQ.setSql({sql});
        dm->WQ.open();
        const QVariant value = dm->WQ.field(field).value();
        dm->WQ.close();
        return value;
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDatabase>();
        dm = &db->dm;
    }
    void cleanup()
    {
        dm = nullptr;
        db.reset();
    }

    // A post or a delete that meets a record deleted by another program
    // fails with a message naming the table; no ghost record is left shown.
    void writeToAVanishedRecordFails_data()
    {
        QTest::addColumn<bool>("throughQuery");
        QTest::addColumn<bool>("deleting");
        QTest::newRow("table, post") << false << false;
        QTest::newRow("table, delete") << false << true;
        QTest::newRow("live query, post") << true << false;
        QTest::newRow("live query, delete") << true << true;
    }
    void writeToAVanishedRecordFails()
    {
        QFETCH(bool, throughQuery);
        QFETCH(bool, deleting);
        const int vzmId = addApplication(1, 1);
        const int faktId = addInvoice(vzmId, u"A"_s, u"FV 1"_s);
        Dataset *dataset = &dm->Faktury;
        if (throughQuery) {
            openList(dm->VzmA, vzmId);
            dataset = &dm->VzmA;
        }
        dataset->first();
        QCOMPARE(dataset->field(u"FaktId"_s).asInteger(), faktId);
        deleteElsewhere(u"Faktury"_s, u"FaktId"_s, faktId);

        try {
            if (deleting) {
                dataset->remove();
            } else {
                dataset->edit();
                dataset->field(u"NrFakt"_s).setString(u"FV 2"_s);
                dataset->post();
            }
            QFAIL("the write reported success");
        } catch (const DataError &e) {
            QVERIFY2(e.message().contains(u"Faktury.db"_s), qPrintable(e.message()));
        }
        dataset->cancel();
        QCOMPARE(dataset->recordCount(), 0);
        QCOMPARE(dm->database().run(u"SELECT COUNT(*) FROM Faktury"_s).rows[0][0].toInt(), 0);
    }

    // Two sellers may share a NIP: correcting one to the NIP of another is
    // stored, and the lookup by NIP finds the first of them.
    void sellerMayTakeTheNipOfAnother_data()
    {
        QTest::addColumn<bool>("olderDatabase");
        QTest::newRow("new database") << false;
        QTest::newRow("database of an earlier installation") << true;
    }
    void sellerMayTakeTheNipOfAnother()
    {
        QFETCH(bool, olderDatabase);
        if (olderDatabase) {
            SKIP_ON_SERVER("the server's tables were made by this version");
            dm->database().run(u"DROP INDEX Firmy_key"_s);
            dm->database().run(u"CREATE UNIQUE INDEX Firmy_key ON Firmy (NIP)"_s);
            QVERIFY(dm->OtworzTabele());
        }
        const QString nip = u"123-456-32-18"_s;
        TestDatabase::addRecord(dm->Firmy, {{u"NIP"_s, nip}, {u"Kod"_s, u"K1"_s}, {u"Firma"_s, u"Pierwsza"_s}}, u"NIP"_s);
        TestDatabase::addRecord(dm->Firmy, {{u"NIP"_s, u"526-025-02-74"_s}, {u"Kod"_s, u"K2"_s}, {u"Firma"_s, u"Druga"_s}}, u"NIP"_s);
        QVERIFY(dm->Firmy.locate(u"Kod"_s, u"K2"_s));
        dm->Firmy.edit();
        dm->Firmy.field(u"NIP"_s).setString(nip);
        dm->Firmy.post();

        QCOMPARE(dm->database().run(u"SELECT COUNT(*) FROM Firmy WHERE NIP = ?"_s, {}, {nip}).rows[0][0].toInt(), 2);
        QVERIFY(dm->Firmy.locate(u"NIP"_s, nip));
        QCOMPARE(dm->Firmy.field(u"Firma"_s).asString(), u"Pierwsza"_s);
        QVERIFY(db->boxes.shown().isEmpty());
    }

    // A column that is not a field of the table takes the type of what it computes.
    void computedColumnsAreTyped_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("expected");
        const QString from = u"\nFROM Faktury\nWHERE VzmId=1"_s;
        QTest::newRow("sum of money") << u"SELECT SUM(Brutto) AS fBrutto"_s + from << u"fBrutto"_s
                                      << QVariant::fromValue(Money::fromRaw(1'234'5678 + 10'0001));
        QTest::newRow("sum with a blank, alias in capitals") << u"SELECT SUM( VatA) As SUMA"_s + from << u"Suma"_s
                                                             << QVariant::fromValue(Money::fromRaw(22'0000));
        QTest::newRow("latest date, unnamed") << u"SELECT MAX(DataWyst)"_s + from << u"MAX(DataWyst)"_s
                                              << QVariant(QDate(2010, 12, 31));
        QTest::newRow("least number of a text") << u"SELECT MIN(NrFakt) AS Pierwsza"_s + from << u"Pierwsza"_s
                                                << QVariant(u"FV 1"_s);
        QTest::newRow("count") << u"SELECT COUNT(*) As Licznik"_s + from << u"Licznik"_s << QVariant(qint64(2));
        QTest::newRow("literal holding a comma") << u"SELECT 'a, b' AS Tekst, SUM(Brutto) AS Suma"_s + from
                                                 << u"Suma"_s
                                                 << QVariant::fromValue(Money::fromRaw(1'234'5678 + 10'0001));
        QTest::newRow("no rows") << u"SELECT SUM(Brutto) AS S\nFROM Faktury\nWHERE VzmId=99"_s << u"S"_s << QVariant();
    }
    void computedColumnsAreTyped()
    {
        QFETCH(QString, sql);
        QFETCH(QString, field);
        QFETCH(QVariant, expected);
        TestDatabase::addRecord(dm->Faktury, {{u"VzmId"_s, 1}, {u"Oznacz"_s, u"A"_s}, {u"NrFakt"_s, u"FV 2"_s},
                          {u"DataWyst"_s, QDate(2010, 12, 31)}, {u"Brutto"_s, QVariant::fromValue(Money::fromRaw(1'234'5678))},
                          {u"VatA"_s, QVariant::fromValue(Money::fromRaw(22'0000))}},
            u"FaktId"_s);
        TestDatabase::addRecord(dm->Faktury, {{u"VzmId"_s, 1}, {u"Oznacz"_s, u"B"_s}, {u"NrFakt"_s, u"FV 1"_s},
                          {u"DataWyst"_s, QDate(2009, 1, 2)}, {u"Brutto"_s, QVariant::fromValue(Money::fromRaw(10'0001))}},
            u"FaktId"_s);
        const QVariant value = firstValue(sql, field);
        QCOMPARE(value.metaType(), expected.metaType());
        QCOMPARE(value, expected);
    }

    // Texts in the SQL, in single or double quotes, are texts: never a
    // column, never a parameter.
    void literalsAreTexts_data()
    {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<int>("count");
        QTest::newRow("double quotes naming a column") << u"Nazwisko=\"Kraj\""_s << 1;
        QTest::newRow("single quotes") << u"Nazwisko='Kraj'"_s << 1;
        QTest::newRow("apostrophe inside double quotes") << u"Nazwisko=\"O'Brien\""_s << 1;
        QTest::newRow("doubled apostrophe") << u"Nazwisko='O''Brien'"_s << 1;
        QTest::newRow("doubled double quote") << u"Nazwisko=\"Dom \"\"Pod Lipą\"\"\""_s << 1;
        QTest::newRow("looks like a parameter") << u"Nazwisko=\":PodatId\""_s << 1;
        QTest::newRow("two literals") << u"Nazwisko=\"Kraj\" AND Kraj='Polska'"_s << 1;
        QTest::newRow("no such surname") << u"Nazwisko=\"Polska\""_s << 0;
    }
    void literalsAreTexts()
    {
        QFETCH(QString, condition);
        QFETCH(int, count);
        for (const QString &surname : {u"Kraj"_s, u"O'Brien"_s, u":PodatId"_s, u"Dom \"Pod Lipą\""_s})
            TestDatabase::addRecord(dm->Podatnik, {{u"Nazwisko"_s, surname}, {u"Kraj"_s, u"Polska"_s}}, u"PodatId"_s);
        dm->WQ.setParam(u"PodatId"_s, 1);
        QCOMPARE(firstValue(u"SELECT COUNT(*) AS N FROM Podatnik WHERE "_s + condition, u"N"_s).toInt(), count);
    }

    // An open list query follows writes made through any other dataset or by
    // the data module, keeping its current record and its row numbers.
    void listFollowsWritesMadeElsewhere_data()
    {
        QTest::addColumn<QString>("write");
        QTest::addColumn<QList<int>>("expectedOrdinals"); // which of the four invoices remain, 1-based
        QTest::newRow("delete through the table") << u"delete"_s << QList<int>{2, 3};
        QTest::newRow("insert through the table") << u"insert"_s << QList<int>{1, 2, 3, 4};
        QTest::newRow("another list's insert") << u"insert B"_s << QList<int>{1, 2, 3};
        QTest::newRow("rolled back delete") << u"rollback"_s << QList<int>{1, 2, 3};
    }
    void listFollowsWritesMadeElsewhere()
    {
        QFETCH(QString, write);
        QFETCH(QList<int>, expectedOrdinals);
        const int vzmId = addApplication(1, 1);
        QList<int> ids;
        for (int i = 1; i <= 3; ++i)
            ids << addInvoice(vzmId, u"A"_s, u"FV %1"_s.arg(i));
        openList(dm->VzmA, vzmId);
        QVERIFY(dm->VzmA.locate(u"FaktId"_s, ids[1]));

        if (write == u"delete"_s) {
            QVERIFY(dm->Faktury.locate(u"FaktId"_s, ids[0]));
            dm->Faktury.remove();
        } else if (write == u"insert"_s) {
            ids << addInvoice(vzmId, u"A"_s, u"FV 4"_s);
        } else if (write == u"insert B"_s) {
            addInvoice(vzmId, u"B"_s, u"FV 4"_s);
        } else {
            Database::Transaction transaction(dm->database());
            QVERIFY(dm->Faktury.locate(u"FaktId"_s, ids[0]));
            dm->Faktury.remove();
            QCOMPARE(dm->VzmA.recordCount(), 2);
        }

        QList<int> expected;
        for (int ordinal : expectedOrdinals)
            expected << ids[ordinal - 1];
        QCOMPARE(column(dm->VzmA, u"FaktId"_s), expected);
        QCOMPARE(dm->VzmA.field(u"FaktId"_s).asInteger(), ids[1]);
        for (int row = 0; row < expected.size(); ++row)
            QCOMPARE(dm->NrWierszaA(expected[row]), row + 1);
    }

    // Deleting an application through the data module empties the lists
    // that showed it and its invoices.
    void deletedApplicationLeavesTheOpenQueries()
    {
        const int first = addApplication(1, 1);
        const int second = addApplication(1, 2);
        addInvoice(second, u"A"_s, u"FV 1"_s);
        dm->Vzmy.setParam(u"PodatId"_s, 1);
        dm->Vzmy.open();
        QVERIFY(dm->Vzmy.locate(u"VzmId"_s, second));
        openList(dm->VzmA, second);
        QCOMPARE(dm->VzmA.recordCount(), 1);

        dm->UsunWniosek(second);

        QCOMPARE(column(dm->Vzmy, u"VzmId"_s), QList<int>{first});
        QCOMPARE(dm->Vzmy.field(u"VzmId"_s).asInteger(), first);
        QCOMPARE(dm->VzmA.recordCount(), 0);
        QCOMPARE(dm->NrWierszaA(1), 0);
    }

    // A record inserted through a live query stands where the query's order
    // puts it, as it will after the query is opened again.
    void insertTakesItsPlaceInTheOrder()
    {
        const int vzm1 = addApplication(1, 1);
        const int vzm3 = addApplication(1, 3);
        dm->Vzmy.setParam(u"PodatId"_s, 1);
        dm->Vzmy.open();
        dm->Vzmy.first();
        dm->Vzmy.insert();
        dm->Vzmy.field(u"PodatId"_s).setInteger(1);
        dm->Vzmy.field(u"NrKolej"_s).setInteger(2);
        dm->Vzmy.post();
        const int vzm2 = dm->Vzmy.field(u"VzmId"_s).asInteger();
        QCOMPARE(dm->Vzmy.recNo(), 2);
        QCOMPARE(column(dm->Vzmy, u"VzmId"_s), (QList<int>{vzm1, vzm2, vzm3}));

        QList<int> ids;
        for (int i = 1; i <= 3; ++i)
            ids << addInvoice(vzm1, u"A"_s, u"FV %1"_s.arg(i));
        openList(dm->VzmA, vzm1);
        dm->VzmA.first();
        dm->VzmA.insert();
        dm->VzmA.field(u"VzmId"_s).setInteger(vzm1);
        dm->VzmA.field(u"Oznacz"_s).setString(u"A"_s);
        dm->VzmA.post();
        const int added = dm->VzmA.field(u"FaktId"_s).asInteger();
        QCOMPARE(dm->VzmA.recNo(), 4);
        QCOMPARE(dm->NrWierszaA(added), 4);
        const QList<int> shown = column(dm->VzmA, u"FaktId"_s);
        openList(dm->VzmA, vzm1);
        QCOMPARE(column(dm->VzmA, u"FaktId"_s), shown);
    }

    // Opening a query on another parameter makes another record current:
    // whoever follows the current record is told.
    void reopeningTellsTheCursorMoved()
    {
        addApplication(1, 1);
        const int other = addApplication(2, 1);
        dm->Vzmy.setParam(u"PodatId"_s, 1);
        dm->Vzmy.open();
        QSignalSpy moved(&dm->Vzmy, &Dataset::cursorMoved);
        dm->Vzmy.close();
        dm->Vzmy.setParam(u"PodatId"_s, 2);
        dm->Vzmy.open();
        QVERIFY(!moved.isEmpty());
        QCOMPARE(dm->Vzmy.field(u"VzmId"_s).asInteger(), other);
    }
};

QTEST_GUILESS_MAIN(TestLiveDatasets)
#include "tst_live_datasets.moc"
