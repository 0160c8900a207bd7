// The kill test: a save, a backup, an automatic copy and a restore, each run
// in a child process (crash_writer) that the preload library of
// tests/support/faultshim.c ends before, and after, each system call by
// which it changes a file. After each stop the database is opened as at
// start: it must pass the full check, hold every record saved before the
// operation and either all of the operation's work or none of it; a copy
// that exists must be sound, and nothing temporary may be left once the
// program has started again. The figures are printed as QINFO lines.

#include "data/database.h"
#include "data/dataerror.h"
#include "data/kopiezapasowe.h"
#include "data/tdm.h"
#include "support/faultrun.h"
#include "support/testsupport.h"

#include <QDirIterator>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

ChildRun uruchom(const QString &root, const QStringList &args, const QMap<QString, QString> &env = {})
{
    return runUnderShim(QStringLiteral(CRASH_WRITER), QStringLiteral(FAULT_SHIM), QStringList{root} + args, env);
}

// Files with a temporary name anywhere below `root`, registers of them, and
// the probes of a folder's rights.
QStringList pozostalosci(const QString &root)
{
    QStringList found = temporaryLeftovers(root);
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString f = it.next();
        if (f.contains(u"/.tarlen-proba-"_s))
            found << f;
    }
    return found;
}

// Every application whole: its further entries, its invoices as many as it
// says, each with its amount line.
bool wnioskiCale(Database &db)
{
    const auto bad = db.firstRow(
        u"SELECT COUNT(*) FROM VZMy v WHERE (SELECT COUNT(*) FROM VZMw3 w WHERE w.VzmId = v.VzmId) <> 1 "
        "OR (SELECT COUNT(*) FROM Faktury f WHERE f.VzmId = v.VzmId) <> v.Faktur "
        "OR EXISTS (SELECT 1 FROM Faktury f WHERE f.VzmId = v.VzmId AND NOT EXISTS (SELECT 1 FROM Kwoty k WHERE k.FaktId = f.FaktId))"_s);
    return bad && bad->at(0).toInt() == 0;
}

struct Liczby
{
    int punkty = 0;
    int nienaruszone = 0;
    int utracone = 0;
};

} // namespace

class TestPrzerwaneOperacje : public QObject
{
    Q_OBJECT

    Liczby razem;

private slots:
    void kazdyPunktPrzerwania_data()
    {
        QTest::addColumn<QString>("operacja");
        QTest::newRow("zapis wniosku z fakturami") << u"jeden-zapis"_s;
        QTest::newRow("kopia z menu") << u"kopia"_s;
        QTest::newRow("kopia automatyczna") << u"kopia-automatyczna"_s;
        QTest::newRow("odtworzenie z kopii") << u"odtworzenie"_s;
    }
    void kazdyPunktPrzerwania()
    {
        QFETCH(QString, operacja);
        TestEnvironment env;
        const QString root = env.root();
        const QString plikBazy = env.databaseFile();
        const QString kopia = root + u"/kopie użytkownika/kopia \"1\".sqlite"_s;
        QVERIFY(QDir().mkpath(QFileInfo(kopia).absolutePath()));
        QStringList przed, zKopii;
        {
            ScriptedMessageBoxes boxes;
            TDM dm(boxes);
            QVERIFY(dm.OtworzTabele());
            addTaxpayer(dm, {{u"Nazwisko"_s, u"Kowalski"_s}});
            if (operacja == u"odtworzenie") {
                addTaxpayer(dm, {{u"Nazwisko"_s, u"Z kopii"_s}});
                KopieZapasowe::ZapiszKopie(dm.database(), kopia);
                zKopii = surnames(dm.database());
                addTaxpayer(dm, {{u"Nazwisko"_s, u"Po kopii"_s}});
            }
            przed = surnames(dm.database());
        }
        QFile wzor(plikBazy);
        QVERIFY(wzor.open(QIODevice::ReadOnly));
        const QByteArray wzorBajty = wzor.readAll();
        wzor.close();
        const auto odnow = [&] {
            QDir(env.databaseDirectory()).removeRecursively();
            QVERIFY(QDir().mkpath(env.databaseDirectory()));
            QFile f(plikBazy);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(wzorBajty) == wzorBajty.size());
            if (operacja != u"odtworzenie")
                QFile::remove(kopia);
        };
        const QStringList args = operacja == u"kopia" || operacja == u"odtworzenie" ? QStringList{operacja, kopia}
                                                                                    : QStringList{operacja};

        odnow();
        const ChildRun caly = uruchom(root, args);
        QVERIFY2(caly.exitCode == 0, qPrintable(caly.err));
        const int wywolan = countedCalls(caly);
        QVERIFY(wywolan > 0);

        Liczby l;
        QStringList bledy;
        for (int n = 1; n <= wywolan; ++n) {
            for (const QString &kiedy : {u"before"_s, u"after"_s}) {
                odnow();
                const ChildRun p = uruchom(root, args, {{u"TARLEN_KILL_AT"_s, QString::number(n)}, {u"TARLEN_KILL_WHEN"_s, kiedy}});
                const QString punkt = u"%1 %2. wywołania"_s.arg(kiedy == u"before" ? u"przed"_s : u"po"_s).arg(n);
                ++l.punkty;
                if (p.exitCode != 77 && p.exitCode != 0) {
                    bledy << u"%1: kod %2 %3"_s.arg(punkt).arg(p.exitCode).arg(p.err);
                    continue;
                }
                // The program started again.
                ScriptedMessageBoxes boxes;
                TDM dm(boxes);
                if (!dm.OtworzTabele()) {
                    bledy << u"%1: baza się nie otwiera: %2"_s.arg(punkt, boxes.texts().join(u' '));
                    continue;
                }
                Database &db = dm.database();
                QString blad;
                try {
                    db.awaitCheck();
                    const QStringList teraz = surnames(db);
                    if (operacja == u"jeden-zapis") {
                        if (teraz != przed || !wnioskiCale(db))
                            blad = u"wniosek zapisany w części"_s;
                    } else if (operacja == u"kopia") {
                        if (teraz != przed)
                            blad = u"baza zmieniona"_s;
                        else if (QFileInfo::exists(kopia) && surnamesInCopy(kopia) != przed)
                            blad = u"kopia inna niż baza"_s;
                        if (QFileInfo::exists(kopia))
                            KopieZapasowe::SprawdzKopie(kopia);
                    } else if (operacja == u"kopia-automatyczna") {
                        if (teraz != przed + QStringList{u"Przed kopią"_s}) {
                            blad = u"utracono zapis sprzed kopii"_s;
                            ++l.utracone;
                        }
                        for (const QString &k : KopieZapasowe::KopieAutomatyczne(KopieZapasowe::KatalogKopii(env.databaseDirectory())))
                            KopieZapasowe::SprawdzKopie(k);
                    } else if (teraz != przed && teraz != zKopii) {
                        blad = u"baza ani sprzed odtworzenia, ani z kopii: %1"_s.arg(teraz.join(u','));
                    }
                } catch (const DataError &e) {
                    blad = e.message();
                }
                dm.ZamknijTabele();
                db.close();
                const QStringList zostalo = pozostalosci(root);
                if (blad.isEmpty() && !zostalo.isEmpty())
                    blad = u"pozostały pliki tymczasowe: %1"_s.arg(zostalo.join(u", "_s));
                if (blad.isEmpty())
                    ++l.nienaruszone;
                else
                    bledy << punkt + u": "_s + blad;
            }
        }
        razem.punkty += l.punkty;
        razem.nienaruszone += l.nienaruszone;
        razem.utracone += l.utracone;
        qInfo().noquote() << u"%1: %2 wywołań zmieniających pliki, %3 punktów przerwania, %4 nienaruszonych, %5 utraconych zapisów"_s
                                 .arg(operacja)
                                 .arg(wywolan)
                                 .arg(l.punkty)
                                 .arg(l.nienaruszone)
                                 .arg(l.utracone);
        QVERIFY2(bledy.isEmpty(), qPrintable(bledy.mid(0, 10).join(u'\n')));
    }

    void cleanupTestCase()
    {
        qInfo().noquote() << u"Razem: %1 punktów przerwania, %2 nienaruszonych, %3 utraconych zapisów"_s.arg(razem.punkty)
                                 .arg(razem.nienaruszone)
                                 .arg(razem.utracone);
    }
};

QTEST_MAIN(TestPrzerwaneOperacje)
#include "tst_przerwane_operacje.moc"
