#include "widgets/datasetmodel.h"
#include "data/dataerror.h"
#include "data/tdm.h"
#include "support/testsupport.h"

#include "core/polishtext.h"

#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <sqlite3.h>

// Tables, queries and in-memory tables of the data layer, on a real database.
using namespace Qt::StringLiterals;

class TestDatasets : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TDM> dm;

    void addTaxpayers(const QStringList &surnames)
    {
        for (const QString &s : surnames)
            addTaxpayer(*dm, {{QStringLiteral("Nazwisko"), s}});
    }
    QStringList surnamesInOrder()
    {
        QStringList names;
        for (dm->Podatnik.first(); !dm->Podatnik.eof(); dm->Podatnik.next())
            names << dm->Podatnik.field(QStringLiteral("Nazwisko")).asString();
        return names;
    }
    // Reads one value with a separate connection, as another program would.
    QString readDirectly(const QString &sql)
    {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(env->databaseFile().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr);
        QString value = QStringLiteral("<no row>");
        if (sqlite3_step(st) == SQLITE_ROW)
            value = sqlite3_column_type(st, 0) == SQLITE_NULL
                ? QStringLiteral("<null>")
                : QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        sqlite3_close(db);
        return value;
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        boxes.clear();
        dm = std::make_unique<TDM>(boxes);
        QVERIFY(dm->OtworzTabele());
    }
    void cleanup()
    {
        dm.reset();
        env.reset();
    }

    void cursorWalksTheTableInKeyOrder()
    {
        Table &t = dm->Podatnik;
        QVERIFY(t.eof() && t.bof());
        QCOMPARE(t.recNo(), 0);
        addTaxpayers({QStringLiteral("Zieliński"), QStringLiteral("Adamski"), QStringLiteral("Nowak")});
        QCOMPARE(t.recordCount(), 3);
        QCOMPARE(surnamesInOrder(), (QStringList{QStringLiteral("Zieliński"), QStringLiteral("Adamski"), QStringLiteral("Nowak")}));
        QVERIFY(t.eof());
        QCOMPARE(t.recNo(), 3); // next() past the last record stays on it
        t.prior();
        QCOMPARE(t.recNo(), 2);
        QVERIFY(!t.eof());
        t.first();
        QVERIFY(t.bof());
        t.prior();
        QVERIFY(t.bof());
        QCOMPARE(t.recNo(), 1);
        t.last();
        QCOMPARE(t.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("Nowak"));
    }

    // A record added to a table kept in order lands in its place, and the
    // cursor and every later read agree with the store's own order.
    void insertsIntoAnOrderedTableLandInPlace_data()
    {
        QTest::addColumn<QVariantList>("nips");
        QTest::newRow("ascending") << QVariantList{u"111"_s, u"222"_s, u"333"_s};
        QTest::newRow("descending") << QVariantList{u"333"_s, u"222"_s, u"111"_s};
        QTest::newRow("equal NIPs keep their order") << QVariantList{u"5"_s, u"1"_s, u"5"_s, u"3"_s, u"5"_s};
        QTest::newRow("empty and missing NIPs first") << QVariantList{u"7"_s, QVariant(), u""_s, u"2"_s, QVariant()};
        QVariantList many;
        for (int i = 0; i < 150; ++i)
            many << QString::number((i * 7919) % 101); // more than one page, in no order
        QTest::newRow("pages") << many;
    }
    void insertsIntoAnOrderedTableLandInPlace()
    {
        QFETCH(QVariantList, nips);
        Table &t = dm->Firmy;
        t.first();
        for (int i = 0; i < nips.size(); ++i) {
            t.append();
            if (!nips[i].isNull())
                t.field(u"NIP"_s).setString(nips[i].toString());
            t.field(u"Firma"_s).setString(QString::number(i));
            t.post();
            // The cursor stays on the record just added, at its place in the store's order.
            QCOMPARE(t.field(u"Firma"_s).asString(), QString::number(i));
            QList<qint64> order;
            for (const SqlRow &row : dm->database().run(u"SELECT rowid FROM Firmy ORDER BY NIP, rowid"_s).rows)
                order << row[0].toLongLong();
            const qint64 added = dm->database().firstRow(u"SELECT MAX(rowid) FROM Firmy"_s)->at(0).toLongLong();
            QCOMPARE(t.recNo(), order.indexOf(added) + 1);
            // The first record added is found where the records added since have moved it.
            const qint64 first = dm->database().firstRow(u"SELECT MIN(rowid) FROM Firmy"_s)->at(0).toLongLong();
            QVERIFY(t.locate(u"Firma"_s, u"0"_s));
            QCOMPARE(t.recNo(), order.indexOf(first) + 1);
        }
        QStringList walked;
        for (t.first(); !t.eof(); t.next())
            walked << t.field(u"Firma"_s).asString();
        QStringList stored;
        for (const SqlRow &row : dm->database().run(u"SELECT Firma FROM Firmy ORDER BY NIP, rowid"_s).rows)
            stored << row[0].toString();
        QCOMPARE(walked, stored);
    }

    void postAssignsTheKeyAndReachesTheDisk()
    {
        Table &t = dm->Podatnik;
        t.append();
        t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Łukasiewicz"));
        QVERIFY(t.field(QStringLiteral("PodatId")).isNull());
        t.post();
        const int first = t.field(QStringLiteral("PodatId")).asInteger();
        QVERIFY(first > 0);
        // Written through: another connection sees it at once.
        QCOMPARE(readDirectly(QStringLiteral("SELECT Nazwisko FROM Podatnik WHERE PodatId = %1").arg(first)),
                 QStringLiteral("Łukasiewicz"));
        // Keys are never reused, even after the last record is deleted.
        t.remove();
        t.append();
        t.post();
        QVERIFY(t.field(QStringLiteral("PodatId")).asInteger() > first);
        QCOMPARE(readDirectly(QStringLiteral("PRAGMA synchronous")), QStringLiteral("2"));
    }

    void editCancelAndRemove()
    {
        addTaxpayers({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        Table &t = dm->Podatnik;
        t.moveTo(1);
        t.edit();
        t.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Bez zmian"));
        t.cancel();
        QCOMPARE(t.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("B"));
        t.edit();
        t.field(QStringLiteral("Imie")).setString(QStringLiteral("Anna"));
        t.next(); // moving on posts the edit
        QCOMPARE(readDirectly(QStringLiteral("SELECT Imie FROM Podatnik WHERE Nazwisko = 'B'")), QStringLiteral("Anna"));
        t.moveTo(1);
        t.remove();
        QCOMPARE(t.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("C")); // the next one
        t.remove();
        QCOMPARE(t.field(QStringLiteral("Nazwisko")).asString(), QStringLiteral("A")); // the last one left
        QCOMPARE(t.recordCount(), 1);
        QVERIFY_THROWS_EXCEPTION(DataError, t.field(QStringLiteral("NoSuchField")));
    }

    // An edit that another write cut short is told by the post that follows,
    // and changes nothing; an empty table has no record to edit.
    void editsThatCannotLand_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("edit cut short by a write elsewhere") << QStringLiteral("cut");
        QTest::newRow("edit of an empty table") << QStringLiteral("empty");
    }
    void editsThatCannotLand()
    {
        QFETCH(QString, kind);
        addTaxpayers({QStringLiteral("A"), QStringLiteral("B")});
        Table &t = dm->Podatnik;
        if (kind == QStringLiteral("cut")) {
            t.first();
            t.edit();
            t.field(QStringLiteral("Imie")).setString(QStringLiteral("Anna"));
            // Another dataset over the same table writes meanwhile.
            Query other(dm->database(), QStringLiteral("Inni"), {QStringLiteral("SELECT PodatId, Nazwisko FROM Podatnik")},
                        QStringLiteral("Podatnik"));
            other.open();
            other.last();
            other.edit();
            other.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("C"));
            other.post();
            QVERIFY(!t.isEditing());
            QVERIFY_THROWS_EXCEPTION(DataError, t.post());
            t.post(); // told once
            QCOMPARE(readDirectly(QStringLiteral("SELECT COUNT(*) FROM Podatnik WHERE Imie = 'Anna'")), QStringLiteral("0"));
            // a new edit of the same record lands
            t.first();
            t.edit();
            t.field(QStringLiteral("Imie")).setString(QStringLiteral("Anna"));
            t.post();
            QCOMPARE(readDirectly(QStringLiteral("SELECT COUNT(*) FROM Podatnik WHERE Imie = 'Anna'")), QStringLiteral("1"));
        } else {
            Table &d = dm->Domysl;
            dm->database().run(QStringLiteral("DELETE FROM Domysl"));
            d.close();
            d.open();
            QVERIFY(d.isEmpty());
            QVERIFY_THROWS_EXCEPTION(DataError, d.edit());
            QCOMPARE(d.state(), Dataset::State::Browse);
            QVERIFY(d.isEmpty());
        }
    }

    // A name holding a control character (a NUL ends the text for many a
    // reader) is stored without it, and is found as typed without it.
    void controlCharactersAreNotStored_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("NUL in a name") << QStringLiteral("Nazwisko") << QStringLiteral("Kowal\u0000ski") << QStringLiteral("Kowalski");
        QTest::newRow("escape and bell") << QStringLiteral("Nazwisko") << QStringLiteral("\u001bNo\u0007wak") << QStringLiteral("Nowak");
        QTest::newRow("line break in a one-line field") << QStringLiteral("Ulica") << QStringLiteral("Długa\r\n5") << QStringLiteral("Długa5");
        QTest::newRow("C1 control") << QStringLiteral("Miasto") << QStringLiteral("Łód\u0085ź") << QStringLiteral("Łódź");
        QTest::newRow("a note keeps its lines") << QStringLiteral("Notatki") << QStringLiteral("a\tb\r\nc\u0000") << QStringLiteral("a\tb\r\nc");
    }
    void controlCharactersAreNotStored()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QVERIFY(typed.size() > stored.size());
        Table &t = dm->Podatnik;
        t.append();
        t.field(field).setString(typed);
        t.post();
        const int id = t.field(QStringLiteral("PodatId")).asInteger();
        QCOMPARE(dm->database().firstRow(QStringLiteral("SELECT %1 FROM Podatnik WHERE PodatId = ?").arg(field), {}, {id})
                     ->at(0).toString(), stored);
        t.first();
        QVERIFY(t.locate(field, stored));
        QCOMPARE(t.field(QStringLiteral("PodatId")).asInteger(), id);
    }

    void textsAreCutToTheirSizeInCharacters()
    {
        Table &t = dm->Podatnik;
        t.append();
        t.field(QStringLiteral("NIP")).setString(QStringLiteral("123-456-78-90-EXTRA"));
        t.field(QStringLiteral("Posesja")).setString(QStringLiteral("ąćęłńóśźżĄĆ")); // 11 letters into 10
        t.field(QStringLiteral("Notatki")).setString(QString(5000, QLatin1Char('x')));
        t.post();
        QCOMPARE(t.field(QStringLiteral("NIP")).asString(), QStringLiteral("123-456-78-90"));
        QCOMPARE(readDirectly(QStringLiteral("SELECT Posesja FROM Podatnik")), QStringLiteral("ąćęłńóśźżĄ"));
        QCOMPARE(readDirectly(QStringLiteral("SELECT length(Notatki) FROM Podatnik")), QStringLiteral("5000"));
        // Texts left unset are stored empty, never null.
        QCOMPARE(readDirectly(QStringLiteral("SELECT quote(Ulica) FROM Podatnik")), QStringLiteral("''"));
    }

    void typedValuesRoundTrip_data()
    {
        QTest::addColumn<qint64>("raw");
        QTest::newRow("grosze") << qint64(123456789);
        QTest::newRow("ten-thousandths") << qint64(-99999999999);
        QTest::newRow("zero") << qint64(0);
    }
    void typedValuesRoundTrip()
    {
        QFETCH(qint64, raw);
        Table &t = dm->Faktury;
        t.append();
        t.field(QStringLiteral("Brutto")).setMoney(Money::fromRaw(raw));
        t.field(QStringLiteral("DataWyst")).setDate(QDate(2010, 5, 10));
        t.post();
        QCOMPARE(readDirectly(QStringLiteral("SELECT Brutto FROM Faktury")), QString::number(raw));
        QCOMPARE(readDirectly(QStringLiteral("SELECT DataWyst FROM Faktury")), QStringLiteral("2010-05-10"));
        t.close();
        t.open();
        QCOMPARE(t.field(QStringLiteral("Brutto")).asMoney(), Money::fromRaw(raw));
        QCOMPARE(t.field(QStringLiteral("Brutto")).value().value<Money>(), Money::fromRaw(raw));
        QCOMPARE(t.field(QStringLiteral("DataWyst")).asDate(), QDate(2010, 5, 10));
        // Empty fields read as 0, no date and false.
        QCOMPARE(t.field(QStringLiteral("VatA")).asMoney(), Money());
        t.edit();
        t.field(QStringLiteral("DataWyst")).setDate(QDate());
        t.post();
        QCOMPARE(readDirectly(QStringLiteral("SELECT quote(DataWyst) FROM Faktury")), QStringLiteral("NULL"));
        QVERIFY(t.field(QStringLiteral("DataWyst")).asDate().isNull());
        dm->VzmyTbl.append();
        dm->VzmyTbl.post();
        QCOMPARE(dm->VzmyTbl.field(QStringLiteral("Korekta")).asBoolean(), false);
    }

    void locatePolishCaseInsensitivePrefix_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("found");
        QTest::newRow("ł finds Ł") << QStringLiteral("łuk") << QStringLiteral("Łukasiewicz");
        QTest::newRow("ś finds Ś") << QStringLiteral("śW") << QStringLiteral("Świętek");
        QTest::newRow("first in order wins") << QStringLiteral("kow") << QStringLiteral("KOWALCZYK");
        QTest::newRow("exact length") << QStringLiteral("nowak") << QStringLiteral("Nowak");
        QTest::newRow("ż inside") << QStringLiteral("ŻÓŁ") << QStringLiteral("żółtowski");
        QTest::newRow("no match stays") << QStringLiteral("xyz") << QStringLiteral("Nowak");
        QTest::newRow("longer than any surname") << QStringLiteral("nowakowskiego") << QStringLiteral("Nowak");
    }
    void locatePolishCaseInsensitivePrefix()
    {
        QFETCH(QString, prefix);
        QFETCH(QString, found);
        addTaxpayers({QStringLiteral("Łukasiewicz"), QStringLiteral("KOWALCZYK"), QStringLiteral("Świętek"),
                      QStringLiteral("Kowalski"), QStringLiteral("żółtowski"), QStringLiteral("Nowak")});
        dm->Podatnik.last();
        dm->Podatnik.locate(QStringLiteral("Nazwisko"), prefix, LocateOption::CaseInsensitive | LocateOption::PartialKey);
        QCOMPARE(dm->Podatnik.field(QStringLiteral("Nazwisko")).asString(), found);
    }

    void locateExactBySeveralFields()
    {
        Table &t = dm->Marginesy;
        for (const auto &[symbol, page, left] : {std::tuple{"VZM-1", 1, 3}, {"VZM-1", 2, 4}, {"VZM-1/A", 1, 5}}) {
            t.append();
            t.field(QStringLiteral("SymbolPit")).setString(QLatin1String(symbol));
            t.field(QStringLiteral("Strona")).setInteger(page);
            t.field(QStringLiteral("Lewy")).setInteger(left);
            t.post();
        }
        QVERIFY(t.locate(QStringLiteral("SymbolPit;Strona"), {QStringLiteral("VZM-1"), 2}));
        QCOMPARE(t.field(QStringLiteral("Lewy")).asInteger(), 4);
        // Exact means exact: no prefix, no other letter case.
        QVERIFY(!t.locate(QStringLiteral("SymbolPit;Strona"), {QStringLiteral("vzm-1"), 1}));
        QVERIFY(!t.locate(QStringLiteral("SymbolPit;Strona"), {QStringLiteral("VZM-1/"), 1}));
        QCOMPARE(t.field(QStringLiteral("Lewy")).asInteger(), 4); // stayed
        // The table keeps its key order: "VZM-1", 1 comes first.
        t.first();
        QCOMPARE(t.field(QStringLiteral("Lewy")).asInteger(), 3);
    }

    void namedQueriesWithParameters()
    {
        addTaxpayers({QStringLiteral("A")});
        const int podatId = dm->Podatnik.field(QStringLiteral("PodatId")).asInteger();
        for (int nr : {2, 1}) {
            dm->VzmyTbl.append();
            dm->VzmyTbl.field(QStringLiteral("PodatId")).setInteger(podatId);
            dm->VzmyTbl.field(QStringLiteral("NrKolej")).setInteger(nr);
            dm->VzmyTbl.post();
        }
        dm->Vzmy.setParam(QStringLiteral("PodatId"), podatId);
        dm->Vzmy.open();
        QCOMPARE(dm->Vzmy.recordCount(), 2);
        QCOMPARE(dm->Vzmy.field(QStringLiteral("NrKolej")).asInteger(), 1); // ORDER BY NrKolej
        dm->Vzmy.close();
        dm->Vzmy.setParam(QStringLiteral("PodatId"), podatId + 1);
        dm->Vzmy.open();
        QVERIFY(dm->Vzmy.isEmpty());
        // An aggregate over no rows reads as 0.
        dm->SumaK5.setParam(QStringLiteral("VzmId"), 999);
        dm->SumaK5.setParam(QStringLiteral("Oznacz"), QStringLiteral("A"));
        dm->SumaK5.open();
        QCOMPARE(dm->SumaK5.field(QStringLiteral("Suma")).asMoney(), Money());
    }

    void liveQueryChangesReachTheTable()
    {
        Table &faktury = dm->Faktury;
        QSignalSpy tableReloaded(&faktury, &Dataset::rowsChanged);
        Query &q = dm->VzmA;
        q.setParam(QStringLiteral("VzmId"), 7);
        q.open();
        q.append();
        q.field(QStringLiteral("VzmId")).setInteger(7);
        q.field(QStringLiteral("Oznacz")).setString(QStringLiteral("A"));
        q.field(QStringLiteral("NrFakt")).setString(QStringLiteral("FV/1"));
        q.post();
        const int faktId = q.field(QStringLiteral("FaktId")).asInteger();
        QVERIFY(faktId > 0);
        QCOMPARE(readDirectly(QStringLiteral("SELECT NrFakt FROM Faktury WHERE FaktId = %1").arg(faktId)), QStringLiteral("FV/1"));
        // Texts the query does not show are stored empty too.
        QCOMPARE(readDirectly(QStringLiteral("SELECT quote(NrFakt) FROM Faktury WHERE FaktId = %1").arg(faktId)), QStringLiteral("'FV/1'"));
        q.edit();
        q.field(QStringLiteral("NrFakt")).setString(QStringLiteral("FV/2"));
        q.post();
        QCOMPARE(readDirectly(QStringLiteral("SELECT NrFakt FROM Faktury WHERE FaktId = %1").arg(faktId)), QStringLiteral("FV/2"));
        QVERIFY(tableReloaded.count() > 0); // the table over the same rows reads them anew
        QCOMPARE(faktury.recordCount(), 1);
        QCOMPARE(faktury.field(QStringLiteral("NrFakt")).asString(), QStringLiteral("FV/2"));
        q.remove();
        QCOMPARE(readDirectly(QStringLiteral("SELECT COUNT(*) FROM Faktury")), QStringLiteral("0"));
        QCOMPARE(faktury.recordCount(), 0);
        // A query that is not live refuses changes.
        dm->FaktObj.setParam(QStringLiteral("VzmId"), 7);
        dm->FaktObj.setParam(QStringLiteral("Oznacz"), QStringLiteral("A"));
        dm->FaktObj.open();
        dm->FaktObj.append();
        QVERIFY_THROWS_EXCEPTION(DataError, dm->FaktObj.post());
    }

    void memTableWithFilter()
    {
        MemTable &m = dm->vKwoty;
        m.open();
        const QStringList lines{QStringLiteral("cement"), QStringLiteral("Cegła"), QStringLiteral("piasek"), QStringLiteral("cegła biała")};
        for (const QString &opis : lines) {
            m.append();
            m.field(QStringLiteral("Opis")).setString(opis);
            m.field(QStringLiteral("Brutto")).setMoney(Money::fromUnits(10));
            m.post();
        }
        QCOMPARE(m.recordCount(), 4);
        QVERIFY(m.locate(QStringLiteral("Opis"), QStringLiteral("CEGŁA"), LocateOption::CaseInsensitive));
        QCOMPARE(m.recNo(), 2);
        const int opis = m.fieldIndex(u"Opis");
        m.setFilter([opis](const SqlRow &r) { return startsWithIgnoringCase(r[opis].toString(), u"ceg"); });
        QCOMPARE(m.recordCount(), 2);
        QCOMPARE(m.field(QStringLiteral("Opis")).asString(), QStringLiteral("Cegła"));
        m.next();
        QCOMPARE(m.field(QStringLiteral("Opis")).asString(), QStringLiteral("cegła biała"));
        m.setFilter({});
        QCOMPARE(m.recordCount(), 4);
        m.emptyTable();
        QVERIFY(m.isEmpty());
    }

    void rolledBackTransactionLeavesNothing()
    {
        addTaxpayers({QStringLiteral("Przed")});
        {
            auto transaction = dm->transaction();
            addTaxpayers({QStringLiteral("W transakcji")});
            dm->Podatnik.first();
            dm->Podatnik.edit();
            dm->Podatnik.field(QStringLiteral("Nazwisko")).setString(QStringLiteral("Zmieniony"));
            dm->Podatnik.post();
            QCOMPARE(dm->Podatnik.recordCount(), 2);
        } // no commit
        QCOMPARE(readDirectly(QStringLiteral("SELECT group_concat(Nazwisko) FROM (SELECT Nazwisko FROM Podatnik ORDER BY rowid)")), QStringLiteral("Przed"));
        QCOMPARE(surnamesInOrder(), QStringList{QStringLiteral("Przed")});
        {
            auto transaction = dm->transaction();
            addTaxpayers({QStringLiteral("Po")});
            transaction.commit();
        }
        QCOMPARE(readDirectly(QStringLiteral("SELECT group_concat(Nazwisko) FROM (SELECT Nazwisko FROM Podatnik ORDER BY rowid)")), QStringLiteral("Przed,Po"));
    }

    void gridFollowsTheCursorBothWays()
    {
        addTaxpayers({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        QTableView view;
        GridBinding binding(view, dm->Podatnik, {{QStringLiteral("Lp"), QString(), Qt::AlignRight}, {QStringLiteral("Nazwisko"), QStringLiteral("Nazwisko")}});
        view.show();
        QCOMPARE(binding.model().rowCount(), 3);
        QCOMPARE(binding.model().index(2, 0).data().toString(), QStringLiteral("3"));
        dm->Podatnik.moveTo(2);
        QCOMPARE(view.currentIndex().row(), 2);
        view.setCurrentIndex(binding.model().index(0, 1));
        QCOMPARE(dm->Podatnik.recNo(), 1);
        addTaxpayers({QStringLiteral("D")});
        QCOMPARE(binding.model().rowCount(), 4);
        QCOMPARE(view.currentIndex().row(), 3); // the new record is current
        QCOMPARE(binding.model().index(3, 1).data().toString(), QStringLiteral("D"));
    }
};

QTEST_MAIN(TestDatasets)
#include "tst_datasets.moc"
