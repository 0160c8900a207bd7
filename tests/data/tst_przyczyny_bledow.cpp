// Every failure of the disk on every path is told in Polish and names what
// failed: the start, a save of several tables, a backup from the menu, the
// automatic copy and a restore, each run in a child process (crash_writer)
// whose file-changing system calls fail from a chosen one on (the preload
// library of tests/support/faultshim.c), as on a disk that fills up or
// breaks down. Afterwards the database is whole and as before.

#include "data/database.h"
#include "data/kopiezapasowe.h"
#include "data/tdm.h"
#include "support/faultrun.h"
#include "support/testsupport.h"

#include <QProcess>
#include <QScopeGuard>
#include <QRegularExpression>
#include <QTest>

#include <cerrno>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

namespace {

ChildRun uruchom(const QString &root, const QStringList &args, const QMap<QString, QString> &env = {})
{
    return runUnderShim(QStringLiteral(CRASH_WRITER), QStringLiteral(FAULT_SHIM), QStringList{root} + args, env);
}

struct Liczby
{
    int proby = 0;
    int poPolsku = 0;
    int udane = 0; // the failing call was one whose failure changes nothing (a folder's sync)
};
Liczby liczby;

} // namespace

class TestPrzyczynyBledow : public QObject
{
    Q_OBJECT

private slots:
    void kazdaDrogaPoPolsku_data()
    {
        QTest::addColumn<QString>("operacja");
        QTest::addColumn<int>("blad");
        QTest::addColumn<QString>("przyczyna");
        const QList<std::pair<QString, QString>> drogi{{u"start"_s, u"start"_s},
                                                       {u"jeden-zapis"_s, u"zapis wniosku z fakturami"_s},
                                                       {u"kopia"_s, u"kopia z menu"_s},
                                                       {u"kopia-automatyczna"_s, u"kopia automatyczna"_s},
                                                       {u"odtworzenie"_s, u"odtworzenie"_s}};
        for (const auto &[operacja, nazwa] : drogi) {
            QTest::addRow("%s, pełny dysk", qPrintable(nazwa)) << operacja << ENOSPC << u"brak miejsca na dysku"_s;
            QTest::addRow("%s, błąd dysku", qPrintable(nazwa)) << operacja << EIO << u"błąd"_s;
            QTest::addRow("%s, dysk tylko do odczytu", qPrintable(nazwa)) << operacja << EROFS << u"brak prawa zapisu"_s;
        }
    }
    void kazdaDrogaPoPolsku()
    {
        QFETCH(QString, operacja);
        QFETCH(int, blad);
        QFETCH(QString, przyczyna);
        TestEnvironment env;
        const QString kopia = env.root() + u"/kopia.sqlite"_s;
        QList<SqlRow> przed;
        {
            ScriptedMessageBoxes boxes;
            TDM dm(boxes);
            QVERIFY(dm.OtworzTabele());
            addTaxpayer(dm, {{u"Nazwisko"_s, u"Kowalski"_s}});
            KopieZapasowe::ZapiszKopie(dm.database(), kopia);
            addTaxpayer(dm, {{u"Nazwisko"_s, u"Nowak"_s}});
        }
        QFile plik(env.databaseFile());
        QVERIFY(plik.open(QIODevice::ReadOnly));
        const QByteArray wzor = plik.readAll();
        plik.close();
        const QStringList args = operacja == u"kopia" ? QStringList{operacja, env.root() + u"/nowa kopia.sqlite"_s}
                                 : operacja == u"odtworzenie" ? QStringList{operacja, kopia}
                                                              : QStringList{operacja};
        const auto odnow = [&] {
            QDir(env.databaseDirectory()).removeRecursively();
            QVERIFY(QDir().mkpath(env.databaseDirectory()));
            QVERIFY(plik.open(QIODevice::WriteOnly) && plik.write(wzor) == wzor.size());
            plik.close();
        };
        odnow();
        const int wywolan = countedCalls(uruchom(env.root(), args));
        QVERIFY(wywolan > 0);

        static const QRegularExpression poAngielsku(
            u"database|disk|unable|attempt|locked|malformed|is full|error|readonly|I/O"_s, QRegularExpression::CaseInsensitiveOption);
        // The first call, one half-way and the last.
        for (const int od : {1, (wywolan + 1) / 2, wywolan}) {
            odnow();
            const ChildRun p = uruchom(env.root(), args,
                                       {{u"TARLEN_FAIL_AT"_s, QString::number(od)}, {u"TARLEN_FAIL_ERRNO"_s, QString::number(blad)}});
            ++liczby.proby;
            const QString opis = u"od wywołania %1 z %2: kod %3, <%4>"_s.arg(od).arg(wywolan).arg(p.exitCode).arg(p.err);
            // What the user was told: the warnings and the failure itself,
            // not the questions answered nor Qt's own words for a developer.
            QStringList komunikaty = p.err.split(u'\n', Qt::SkipEmptyParts);
            komunikaty.removeIf([](const QString &l) { return l.startsWith(u"qt: "_s) || l.startsWith(u"Potwierdzenie: "_s); });
            const QString powiedziane = komunikaty.join(u'\n');
            if (p.exitCode == 0) {
                // Nothing failed that mattered (the last sync of a folder, say).
                ++liczby.udane;
            } else {
                QVERIFY2(p.exitCode == 3 || p.exitCode == 4, qPrintable(opis));
                QVERIFY2(!poAngielsku.match(powiedziane).hasMatch(), qPrintable(opis));
                QVERIFY2(powiedziane.contains(przyczyna), qPrintable(opis));
                // what failed is named: a table, the database file, or the copy
                QVERIFY2(powiedziane.contains(u"tarlen5.sqlite"_s) || powiedziane.contains(u"kopia.sqlite"_s)
                             || powiedziane.contains(u"tabel"_s) || powiedziane.contains(u"kopie"_s),
                         qPrintable(opis));
                if (operacja == u"jeden-zapis")
                    QVERIFY2(powiedziane.contains(u"Nie zapisano zmian w tabel"_s), qPrintable(opis));
                ++liczby.poPolsku;
            }
            // Nothing was half-written.
            ScriptedMessageBoxes boxes;
            TDM dm(boxes);
            QVERIFY2(dm.OtworzTabele(), qPrintable(boxes.texts().join(u' ')));
            dm.database().awaitCheck();
            const auto ile = dm.database().firstRow(u"SELECT COUNT(*) FROM Podatnik"_s);
            QVERIFY(ile && (ile->at(0).toInt() == 2 || ile->at(0).toInt() == 3 || (operacja == u"odtworzenie" && ile->at(0).toInt() == 1)));
        }
    }

    // A database that another program holds locked, or that was moved away
    // while the program ran: the save, the backup and the restore say so in
    // Polish and name the file or table.
    void zablokowanaLubPrzeniesiona_data()
    {
        QTest::addColumn<QString>("przeszkoda");
        QTest::addColumn<QString>("droga");
        QTest::addColumn<QString>("przyczyna");
        const QString zablokowany = u"jest zablokowany przez inny program"_s;
        QTest::newRow("baza zablokowana, zapis") << u"blokada"_s << u"zapis"_s << zablokowany;
        QTest::newRow("kopia zablokowana, odtworzenie") << u"blokada kopii"_s << u"odtworzenie"_s << zablokowany;
        QTest::newRow("baza przeniesiona, zapis") << u"przeniesiona"_s << u"zapis"_s
                                                  << u"został przeniesiony lub usunięty w czasie pracy programu"_s;
    }
    void zablokowanaLubPrzeniesiona()
    {
        QFETCH(QString, przeszkoda);
        QFETCH(QString, droga);
        QFETCH(QString, przyczyna);
        TestDatabase t;
        addTaxpayer(t.dm, {{u"Nazwisko"_s, u"Kowalski"_s}});
        const QString kopia = t.env.root() + u"/kopia.sqlite"_s;
        KopieZapasowe::ZapiszKopie(t.dm.database(), kopia);
        const QString zablokowana = przeszkoda == u"blokada kopii"_s ? kopia : t.env.databaseFile();
        sqlite3 *inny = nullptr;
        auto zwolnij = qScopeGuard([&] { sqlite3_close(inny); });
        if (przeszkoda.startsWith(u"blokada"_s)) {
            QCOMPARE(sqlite3_open(QFile::encodeName(zablokowana).constData(), &inny), SQLITE_OK);
            QCOMPARE(sqlite3_exec(inny, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
        } else {
            QVERIFY(QFile::rename(t.env.databaseFile(), t.env.root() + u"/gdzie indziej.sqlite"_s));
        }
        QString powiedziane;
        if (droga == u"zapis") {
            try {
                addTaxpayer(t.dm, {{u"Nazwisko"_s, u"Nowak"_s}});
            } catch (const DataError &e) {
                powiedziane = e.message();
            }
            QVERIFY2(powiedziane.startsWith(u"Nie zapisano zmian w tabeli Podatnik.DB."_s), qPrintable(powiedziane));
        } else {
            t.boxes.answer(true);
            QVERIFY(!KopieZapasowe(t.dm).Odtworz(kopia));
            powiedziane = t.boxes.texts().join(u'\n');
        }
        QVERIFY2(powiedziane.contains(przyczyna), qPrintable(powiedziane));
        QVERIFY2(powiedziane.contains(QDir::toNativeSeparators(zablokowana)), qPrintable(powiedziane));
        ++liczby.proby;
        ++liczby.poPolsku;
    }

    void cleanupTestCase()
    {
        qInfo().noquote() << u"Błędy dysku: %1 prób, %2 zgłoszonych po polsku z nazwą pliku lub tabeli, %3 bez skutku do zgłoszenia"_s
                                 .arg(liczby.proby)
                                 .arg(liczby.poPolsku)
                                 .arg(liczby.udane);
    }
};

QTEST_MAIN(TestPrzyczynyBledow)
#include "tst_przyczyny_bledow.moc"
