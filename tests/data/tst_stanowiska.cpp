// Several desks on one register on the server: each desk is a data module of
// its own with its own connection (in this process, or a copy of the
// program's data side in a child process for saves that truly overlap).

#include "support/testsupport.h"

#include "data/rowwrites.h"
#include "vzm/formmodel.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// A second desk on the register of the test's environment.
struct Desk
{
    ScriptedMessageBoxes boxes;
    TDM dm{boxes};
    Desk()
    {
        if (!dm.OtworzTabele())
            qFatal("the second desk cannot open the register: %s", qPrintable(boxes.texts().join(u' ')));
    }
};

QString surnameOf(TDM &dm, int podatId)
{
    return storedValue(dm, u"Podatnik"_s, u"PodatId"_s, podatId, u"Nazwisko"_s).toString();
}

// Runs crash_writer's `mode` on the register and answers what it printed;
// the children run at once.
QList<QStringList> runTogether(const QString &root, const QStringList &arguments, int copies)
{
    QList<QProcess *> children;
    for (int i = 0; i < copies; ++i) {
        auto *child = new QProcess;
        child->start(QStringLiteral(CRASH_WRITER), QStringList{root} + arguments);
        children << child;
    }
    QList<QStringList> outputs;
    for (QProcess *child : children) {
        child->waitForFinished(120000);
        outputs << QString::fromUtf8(child->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts).filter(QRegularExpression(u"^zapisano "_s));
        if (child->exitCode() != 0)
            qWarning("%s", child->readAllStandardError().constData());
        delete child;
    }
    return outputs;
}

// The message with which `work` was refused as a write over another desk's;
// empty when it was not.
template <typename Work>
QString refusedAsChanged(Work &&work)
{
    try {
        work();
    } catch (const RecordChanged &e) {
        return e.message();
    }
    return {};
}

} // namespace

class TestStanowiska : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    TDM &dm() { return db->dm; }

private slots:
    void init()
    {
        if (!testsOnServer())
            QSKIP("several desks share a register on a server only");
        db = std::make_unique<TestDatabase>();
    }
    void cleanup() { db.reset(); }

    // Two desks read one taxpayer; the first save lands, the second only
    // when the first changed none of the fields it changes to another value.
    void simultaneousSavesOfOneRecord_data()
    {
        QTest::addColumn<QString>("firstField");
        QTest::addColumn<QString>("firstValue");
        QTest::addColumn<QString>("secondField");
        QTest::addColumn<QString>("secondValue");
        QTest::addColumn<bool>("refused");
        QTest::newRow("one field, two values") << u"Nazwisko"_s << u"Nowak"_s << u"Nazwisko"_s << u"Kowalska"_s << true;
        QTest::newRow("two fields") << u"Nazwisko"_s << u"Nowak"_s << u"Miasto"_s << u"Łódź"_s << false;
        QTest::newRow("one field, the same value") << u"Nazwisko"_s << u"Nowak"_s << u"Nazwisko"_s << u"Nowak"_s << false;
    }
    void simultaneousSavesOfOneRecord()
    {
        QFETCH(QString, firstField);
        QFETCH(QString, firstValue);
        QFETCH(QString, secondField);
        QFETCH(QString, secondValue);
        QFETCH(bool, refused);
        const int podatId = db->addTaxpayer({{u"Nazwisko"_s, u"Zięba"_s}, {u"Miasto"_s, u"Kraków"_s}});
        Desk other;
        // Both desks show the record (an editor reads it when it opens).
        QVERIFY(dm().Podatnik.locate(u"PodatId"_s, podatId));
        QCOMPARE(dm().Podatnik.field(u"Nazwisko"_s).asString(), u"Zięba"_s);
        QVERIFY(other.dm.Podatnik.locate(u"PodatId"_s, podatId));
        QCOMPARE(other.dm.Podatnik.field(u"Nazwisko"_s).asString(), u"Zięba"_s);

        other.dm.Podatnik.edit();
        other.dm.Podatnik.field(firstField).setString(firstValue);
        other.dm.Podatnik.post();
        // This desk has not read the record since: its write is checked against what it read.
        dm().Podatnik.edit();
        dm().Podatnik.field(secondField).setString(secondValue);
        if (refused) {
            const QString said = refusedAsChanged([&] { dm().Podatnik.post(); });
            QVERIFY2(said.startsWith(u"Dane podatnika zostały w międzyczasie zmienione na innym stanowisku ("_s),
                     qPrintable(said));
            // Nothing typed is lost until the user decides.
            QVERIFY(dm().Podatnik.isEditing());
            QCOMPARE(dm().Podatnik.field(secondField).asString(), secondValue);
            dm().Podatnik.cancel();
            QCOMPARE(surnameOf(dm(), podatId), firstValue);
            // Read again, the record takes the change.
            QVERIFY(dm().Podatnik.locate(u"PodatId"_s, podatId));
            QCOMPARE(dm().Podatnik.field(firstField).asString(), firstValue);
            dm().Podatnik.edit();
            dm().Podatnik.field(secondField).setString(secondValue);
        }
        dm().Podatnik.post();
        QCOMPARE(storedValue(dm(), u"Podatnik"_s, u"PodatId"_s, podatId, firstField).toString(),
                 refused ? secondValue : firstValue);
        QCOMPARE(storedValue(dm(), u"Podatnik"_s, u"PodatId"_s, podatId, secondField).toString(), secondValue);
    }

    // The application as the form model saves it: the message names it.
    void applicationChangedOnAnotherDesk()
    {
        const int podatId = db->addTaxpayer({{u"Nazwisko"_s, u"Zięba"_s}, {u"Imie"_s, u"Jan"_s}});
        TVzm_3 mine(dm());
        QVERIFY(mine.Wczytaj(podatId, 0));
        QVERIFY(mine.Zapisz());
        const int vzmId = mine.VzmId();

        Desk other;
        TVzm_3 theirs(other.dm);
        QVERIFY(mine.Wczytaj(podatId, vzmId));
        QVERIFY(theirs.Wczytaj(podatId, vzmId));
        theirs.SetNrKoryg(3);
        QVERIFY(theirs.Zapisz());
        mine.SetNrKoryg(4);
        const QString said = refusedAsChanged([&] { mine.Zapisz(); });
        QVERIFY2(said.startsWith(u"Wniosek został w międzyczasie zmieniony na innym stanowisku ("_s), qPrintable(said));
        QCOMPARE(storedValue(dm(), u"VZMy"_s, u"VzmId"_s, vzmId, u"NrKoryg"_s).toInt(), 3);
        QCOMPARE(mine.NrKoryg(), 4);
        // Loaded again, the model shows the other desk's save and may save over it.
        QVERIFY(mine.Wczytaj(podatId, vzmId));
        QCOMPARE(mine.NrKoryg(), 3);
        mine.SetNrKoryg(4);
        QVERIFY(mine.Zapisz());
        QCOMPARE(storedValue(dm(), u"VZMy"_s, u"VzmId"_s, vzmId, u"NrKoryg"_s).toInt(), 4);
    }

    // A deletion on one desk while the other edits the same invoice.
    void deletionWhileAnotherDeskEdits_data()
    {
        QTest::addColumn<bool>("deletedFirst");
        QTest::newRow("deleted, then saved") << true;
        QTest::newRow("saved, then deleted") << false;
    }
    void deletionWhileAnotherDeskEdits()
    {
        QFETCH(bool, deletedFirst);
        const int podatId = db->addTaxpayer({{u"Nazwisko"_s, u"Zięba"_s}});
        const int vzmId = db->addApplication(podatId);
        const int faktId = db->addInvoice(vzmId, u"A"_s, {{u"NrFakt"_s, u"FV/1"_s}});
        Desk other;
        for (TDM *desk : {&dm(), &other.dm}) {
            desk->VzmA.close();
            desk->VzmA.setParam(u"VzmId"_s, vzmId);
            desk->VzmA.open();
            QCOMPARE(desk->VzmA.field(u"NrFakt"_s).asString(), u"FV/1"_s);
        }
        if (deletedFirst) {
            other.dm.UsunFakture(faktId);
            dm().VzmA.edit();
            dm().VzmA.field(u"NrFakt"_s).setString(u"FV/2"_s);
            try {
                dm().VzmA.post();
                QFAIL("a deleted invoice was saved");
            } catch (const DataError &e) {
                QVERIFY2(e.message().contains(u"został usunięty"_s), qPrintable(e.message()));
            }
            QCOMPARE(storedValue(dm(), u"Faktury"_s, u"FaktId"_s, faktId, u"NrFakt"_s), QVariant());
        } else {
            other.dm.VzmA.edit();
            other.dm.VzmA.field(u"NrFakt"_s).setString(u"FV/2"_s);
            other.dm.VzmA.post();
            const QString said = refusedAsChanged([&] { dm().VzmA.remove(); });
            QVERIFY2(said.startsWith(u"Faktura została w międzyczasie zmieniona na innym stanowisku"_s), qPrintable(said));
            QVERIFY(said.contains(u"Nie usunięto rekordu."_s));
            QCOMPARE(storedValue(dm(), u"Faktury"_s, u"FaktId"_s, faktId, u"NrFakt"_s).toString(), u"FV/2"_s);
        }
    }

    // Two desks add invoices to one list at the same time: every invoice
    // lands whole, and the row numbers run 1..n in the order each desk added.
    void simultaneousAdditionsOfInvoices()
    {
        const int podatId = db->addTaxpayer({{u"Nazwisko"_s, u"Zięba"_s}});
        const int vzmId = db->addApplication(podatId);
        constexpr int each = 40;
        const QList<QStringList> outputs = runTogether(db->env.root(), {u"faktury"_s, QString::number(vzmId), QString::number(each)}, 2);
        for (const QStringList &output : outputs)
            QCOMPARE(output.size(), each);

        dm().VzmA.close();
        dm().VzmA.setParam(u"VzmId"_s, vzmId);
        dm().VzmA.open();
        QCOMPARE(dm().VzmA.recordCount(), 2 * each);
        QCOMPARE(dm().LiczbaZalA(vzmId), 3);
        for (const QStringList &output : outputs) {
            int previous = 0;
            for (const QString &line : output) {
                const int row = dm().NrWierszaA(line.section(u' ', 1).toInt());
                QVERIFY2(row > previous, qPrintable(line));
                previous = row;
            }
        }
        QCOMPARE(dm().database().firstRow(u"SELECT COUNT(*) FROM Kwoty"_s)->at(0).toInt(), 4 * each);
    }

    // Two desks add applications of one taxpayer at the same time, each with
    // the number the model proposes: no number is given twice.
    void simultaneousNumberingOfApplications()
    {
        const int podatId = db->addTaxpayer({{u"Nazwisko"_s, u"Zięba"_s}, {u"Imie"_s, u"Jan"_s}});
        constexpr int each = 10;
        const QList<QStringList> outputs = runTogether(db->env.root(), {u"wnioski"_s, QString::number(podatId), QString::number(each)}, 2);
        QList<int> numbers;
        for (const SqlRow &row : dm().database().run(u"SELECT NrKolej FROM VZMy WHERE PodatId = ? ORDER BY NrKolej"_s, {}, {podatId}).rows)
            numbers << row[0].toInt();
        QList<int> expected;
        for (int n = 1; n <= 2 * each; ++n)
            expected << n;
        QCOMPARE(numbers, expected);
        QCOMPARE(outputs[0].size() + outputs[1].size(), 2 * each);
    }

    // A list open on one desk shows what another desk saved, on the same record.
    void listShowsTheSaveOfAnotherDesk()
    {
        const int podatId = db->addTaxpayer({{u"Nazwisko"_s, u"Zięba"_s}});
        db->addApplication(podatId, {{u"NrKolej"_s, 1}});
        const int second = db->addApplication(podatId, {{u"NrKolej"_s, 2}});
        dm().Vzmy.close();
        dm().Vzmy.setParam(u"PodatId"_s, podatId);
        dm().Vzmy.open();
        QVERIFY(dm().Vzmy.locate(u"VzmId"_s, second));

        Desk other;
        TestDatabase::addRecord(other.dm.VzmyTbl, {{u"PodatId"_s, podatId}, {u"NrKolej"_s, 3}}, u"VzmId"_s);
        // Told by the server at once; the bound only guards a stuck test.
        QTRY_COMPARE_WITH_TIMEOUT(dm().Vzmy.recordCount(), 3, 60000);
        QCOMPARE(dm().Vzmy.field(u"VzmId"_s).asInteger(), second);
        QVERIFY(!dm().Vzmy.isEditing());
    }

    // The connection ended by the server during a save (as when it is
    // stopped): told in Polish, nothing half-written, the next save lands.
    void connectionLostDuringASave()
    {
        const int podatId = db->addTaxpayer({{u"Nazwisko"_s, u"Zięba"_s}});
        const int vzmId = db->addApplication(podatId);
        Desk other;
        const qint64 pid = dm().database().firstRow(u"SELECT pg_backend_pid()"_s)->at(0).toLongLong();
        try {
            Database::Transaction transaction(dm().database());
            const int faktId = db->addInvoice(vzmId, u"A"_s, {{u"NrFakt"_s, u"FV/1"_s}});
            other.dm.database().run(u"SELECT pg_terminate_backend(?)"_s, {}, {pid});
            TestDatabase::addRecord(dm().KwotyTbl, {{u"FaktId"_s, faktId}}, u"KwotaId"_s);
            transaction.commit();
            QFAIL("a save without a connection was reported done");
        } catch (const DataError &e) {
            QVERIFY2(e.message().contains(u"serwer bazy danych zakończył połączenie"_s), qPrintable(e.message()));
        }
        dm().KwotyTbl.cancel();
        dm().Faktury.cancel();
        QCOMPARE(other.dm.database().firstRow(u"SELECT COUNT(*) FROM Faktury"_s)->at(0).toInt(), 0);
        QCOMPARE(other.dm.database().firstRow(u"SELECT COUNT(*) FROM Kwoty"_s)->at(0).toInt(), 0);
        db->addInvoice(vzmId, u"A"_s, {{u"NrFakt"_s, u"FV/2"_s}});
        QCOMPARE(other.dm.database().firstRow(u"SELECT NrFakt FROM Faktury"_s)->at(0).toString(), u"FV/2"_s);
    }

    // A desk killed during its saves leaves every save whole: each
    // application with all its invoices, each invoice with its amount line.
    void deskKilledDuringSaves()
    {
        const int podatId = db->addTaxpayer({{u"Nazwisko"_s, u"Zięba"_s}});
        QVERIFY(podatId == 1); // crash_writer saves for the first taxpayer
        QProcess child;
        child.start(QStringLiteral(CRASH_WRITER), {db->env.root(), u"zapis"_s, u"20261210"_s});
        QVERIFY(child.waitForStarted(10000));
        QSet<int> saved;
        QSet<int> deleting;
        int saves = 0;
        while (saves < 5 && child.waitForReadyRead(60000))
            while (child.canReadLine()) {
                const QList<QByteArray> words = child.readLine().trimmed().split(' ');
                if (words[0] == "zapisano") {
                    saved.insert(words.value(1).toInt());
                    ++saves;
                } else if (words[0] == "usuwam") {
                    deleting.insert(words.value(1).toInt());
                }
            }
        QCOMPARE(saves, 5);
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(10000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);

        Database &d = dm().database();
        // Every save reported is there, but those whose deletion had begun.
        for (int vzmId : saved - deleting)
            QVERIFY2(storedValue(dm(), u"VZMy"_s, u"VzmId"_s, vzmId, u"VzmId"_s).isValid(), qPrintable(QString::number(vzmId)));
        QCOMPARE(d.firstRow(u"SELECT COUNT(*) FROM VZMy v WHERE Faktur <> (SELECT COUNT(*) FROM Faktury f WHERE f.VzmId = v.VzmId)"_s)->at(0).toInt(), 0);
        QCOMPARE(d.firstRow(u"SELECT COUNT(*) FROM VZMy v WHERE NOT EXISTS (SELECT 1 FROM VZMw3 w WHERE w.VzmId = v.VzmId)"_s)->at(0).toInt(), 0);
        QCOMPARE(d.firstRow(u"SELECT COUNT(*) FROM Faktury f WHERE NOT EXISTS (SELECT 1 FROM Kwoty k WHERE k.FaktId = f.FaktId)"_s)->at(0).toInt(), 0);
        QCOMPARE(d.firstRow(u"SELECT COUNT(*) FROM Faktury f WHERE NOT EXISTS (SELECT 1 FROM VZMy v WHERE v.VzmId = f.VzmId)"_s)->at(0).toInt(), 0);
    }
};

QTEST_MAIN(TestStanowiska)
#include "tst_stanowiska.moc"
