#include "data/database.h"
#include "data/kopiezapasowe.h"
#include "data/temporaryfiles.h"
#include "data/tdm.h"
#include "support/testsupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <sqlite3.h>

#include <functional>
#include <memory>

#include <unistd.h>

using namespace Qt::StringLiterals;

// Backups written through SQLite's online backup, restoring from them, the
// automatic copies at the end of a run and the offer of one when the
// database is found damaged at start.
class TestKopieZapasowe : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> t;

    static QByteArray digestOf(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }
    static QStringList entriesOf(const QString &directory)
    {
        return QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }
    static bool rewrite(const QString &path, const std::function<void(QByteArray &)> &change)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        QByteArray bytes = f.readAll();
        f.close();
        change(bytes);
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
    }
    // One value read from a database file past the program, or a null one.
    static QVariant valueIn(const QString &file, const QString &sql)
    {
        sqlite3 *db = nullptr;
        QVariant value;
        if (sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
            sqlite3_stmt *st = nullptr;
            if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK
                && sqlite3_step(st) == SQLITE_ROW)
                value = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
            sqlite3_finalize(st);
        }
        sqlite3_close(db);
        return value;
    }
    // Runs statements on a database file past the program.
    static bool execIn(const QString &file, const char *sql)
    {
        sqlite3 *db = nullptr;
        const bool ok = sqlite3_open(QFile::encodeName(file).constData(), &db) == SQLITE_OK
                        && sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        return ok;
    }
    // Overwrites the start of a table's root page: the file stays a database
    // whose check fails.
    static bool damageTable(const QString &file, const QString &table)
    {
        const qint64 root = valueIn(file, u"SELECT rootpage FROM sqlite_master WHERE name = '%1'"_s.arg(table)).toLongLong();
        const qint64 pageSize = valueIn(file, u"PRAGMA page_size"_s).toLongLong();
        if (root < 1 || pageSize < 512)
            return false;
        return rewrite(file, [&](QByteArray &b) { b.replace((root - 1) * pageSize, 64, QByteArray(64, '\xA5')); });
    }
    // Adds a taxpayer whose row its index does not hold, as one changed byte
    // of a table page leaves it: the pages are sound, the index is not.
    static bool dropRowFromIndex(const QString &file)
    {
        const QString index = valueIn(file, u"SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = 'Podatnik' "
                                             "AND sql IS NOT NULL ORDER BY name"_s).toString();
        const QString sql = valueIn(file, u"SELECT sql FROM sqlite_master WHERE name = '%1'"_s.arg(index)).toString();
        const QString root = valueIn(file, u"SELECT rootpage FROM sqlite_master WHERE name = '%1'"_s.arg(index)).toString();
        if (index.isEmpty())
            return false;
        const QByteArray hide = u"PRAGMA writable_schema = ON; DELETE FROM sqlite_master WHERE name = '%1';"_s.arg(index).toUtf8();
        const QByteArray back = u"PRAGMA writable_schema = ON; INSERT INTO sqlite_master VALUES ('index', '%1', 'Podatnik', %2, '%3');"_s
                                    .arg(index, root, QString(sql).replace(u"'"_s, u"''"_s))
                                    .toUtf8();
        return execIn(file, hide.constData())
               && execIn(file, "INSERT INTO Podatnik (Nazwisko, Imie) VALUES ('Bez indeksu', 'Jan')")
               && execIn(file, back.constData()) && valueIn(file, u"PRAGMA integrity_check"_s) != u"ok"_s;
    }
    QString kopie() const { return KopieZapasowe::KatalogKopii(t->env.databaseDirectory()); }
    int addTaxpayer(const QString &surname)
    {
        return t->addTaxpayer({{u"Nazwisko"_s, surname}, {u"Imie"_s, u"Jan"_s}});
    }
    // A copy made through the program of the database as it is now.
    QString copyNow(const QString &name)
    {
        const QString file = t->env.root() + u"/"_s + name;
        KopieZapasowe::ZapiszKopie(t->dm.database(), file);
        return file;
    }

private slots:
    void init()
    {
        t = std::make_unique<TestDatabase>();
    }
    void cleanup()
    {
        t.reset();
    }

    // A copy, changes, and the copy restored: the data are the copy's again,
    // the tables read them, and what was there before is kept in "kopie".
    void backupThenRestore()
    {
        const int jan = addTaxpayer(u"Kowalski"_s);
        addTaxpayer(u"Nowak"_s);
        const QString file = t->env.root() + u"/moja kopia.sqlite"_s;
        QVERIFY(KopieZapasowe(t->dm).Kopia(file));
        QCOMPARE(t->boxes.texts(), QStringList{u"Kopia zapasowa bazy danych została zapisana i sprawdzona:\r"_s
                                               + QDir::toNativeSeparators(file)});
        KopieZapasowe::SprawdzKopie(file);
        const QList<SqlRow> saved = t->storedRows(u"Podatnik"_s);

        // the data change after the copy
        t->dm.Podatnik.locate(u"PodatId"_s, jan);
        t->dm.Podatnik.edit();
        t->dm.Podatnik.field(u"Nazwisko"_s).setValue(u"Zmieniony"_s);
        t->dm.Podatnik.post();
        addTaxpayer(u"Wiśniewski"_s);
        const QList<SqlRow> changed = t->storedRows(u"Podatnik"_s);
        QCOMPARE(changed.size(), 3);

        t->boxes.clear();
        t->boxes.answer(true);
        QVERIFY(KopieZapasowe(t->dm).Odtworz(file));
        QCOMPARE(t->storedRows(u"Podatnik"_s), saved);
        // the tables read the restored data
        QVERIFY(t->dm.Podatnik.isOpen());
        QCOMPARE(t->dm.Podatnik.recordCount(), 2);
        QVERIFY(t->dm.Podatnik.locate(u"PodatId"_s, jan));
        QCOMPARE(t->dm.Podatnik.field(u"Nazwisko"_s).asString(), u"Kowalski"_s);
        // the key of a new record is not one the lost records had
        QVERIFY(addTaxpayer(u"Zieliński"_s) > jan + 1);

        // the question named the file and its date; the state before is kept
        QCOMPARE(t->boxes.shown().size(), 2);
        const MessageRequest &question = t->boxes.shown().at(0);
        QCOMPARE(question.kind, MessageRequest::Kind::WarningQuestion);
        QVERIFY2(question.text.contains(QDir::toNativeSeparators(file)), qPrintable(question.text));
        QVERIFY2(question.text.contains(QFileInfo(file).lastModified().toString(u"dd-MM-yyyy HH:mm"_s)),
                 qPrintable(question.text));
        const QStringList kept = QDir(kopie()).entryList({u"tarlen5-przed-odtworzeniem-*.sqlite"_s}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        const QString keptFile = QDir(kopie()).filePath(kept.first());
        KopieZapasowe::SprawdzKopie(keptFile);
        QCOMPARE(valueIn(keptFile, u"SELECT count(*) FROM Podatnik WHERE Nazwisko IN ('Zmieniony', 'Wiśniewski')"_s).toInt(), 2);
        QVERIFY2(t->boxes.texts().at(1).contains(QDir::toNativeSeparators(keptFile)), qPrintable(t->boxes.texts().at(1)));
        // no automatic copy is among them: the kept one is not rotated away
        QVERIFY(KopieZapasowe::KopieAutomatyczne(kopie()).isEmpty());
    }

    void restoreDeclinedChangesNothing()
    {
        addTaxpayer(u"Kowalski"_s);
        const QString file = copyNow(u"kopia.sqlite"_s);
        addTaxpayer(u"Nowak"_s);
        const QByteArray before = digestOf(t->env.databaseFile());
        t->boxes.answer(false);
        QVERIFY(!KopieZapasowe(t->dm).Odtworz(file));
        QCOMPARE(t->boxes.shown().size(), 1);
        QCOMPARE(digestOf(t->env.databaseFile()), before);
        QCOMPARE(t->storedRows(u"Podatnik"_s).size(), 2);
        QVERIFY(!QFileInfo::exists(kopie()));
    }

    // A file that is not a sound copy of this program's database is refused
    // with the reason, before any question, and nothing changes.
    void restoreRefusesWhatIsNotASoundCopy_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("text file") << u"text"_s << u"Plik nie jest bazą danych: %1"_s;
        QTest::newRow("empty file") << u"empty"_s << u"Plik nie jest bazą danych: %1"_s;
        const QString notOurs = u"Plik nie jest kopią bazy danych programu Tarlen (%1): %2"_s;
        QTest::newRow("other program's database") << u"other tables"_s << notOurs.arg(u"obca tabela Klienci"_s, u"%1"_s);
        QTest::newRow("a table missing") << u"missing table"_s << notOurs.arg(u"brak tabeli WykazB"_s, u"%1"_s);
        QTest::newRow("a field missing") << u"missing field"_s
                                         << notOurs.arg(u"tabela Kwoty ma inne pola niż w programie"_s, u"%1"_s);
        QTest::newRow("a field added") << u"added field"_s
                                       << notOurs.arg(u"tabela Podatnik ma inne pola niż w programie"_s, u"%1"_s);
        QTest::newRow("a table added to ours") << u"added table"_s << notOurs.arg(u"obca tabela Notatki"_s, u"%1"_s);
        // A trigger of the copy's own would run in the program once restored:
        // the next taxpayer added would delete every invoice.
        QTest::newRow("a trigger") << u"trigger"_s << notOurs.arg(u"wyzwalacz Podatnik_po_dodaniu"_s, u"%1"_s);
        QTest::newRow("a view") << u"view"_s << notOurs.arg(u"widok Wszyscy"_s, u"%1"_s);
        QTest::newRow("an index of its own") << u"index"_s << notOurs.arg(u"obcy indeks Podatnik_Pesel"_s, u"%1"_s);
        // One table page changed: its row is missing from its index, which a
        // check of the pages alone (quick_check) passes.
        QTest::newRow("a row missing from its index") << u"index row"_s << u"Plik jest uszkodzony: %1"_s;
        QTest::newRow("damaged page") << u"damaged page"_s << u"Plik jest uszkodzony: %1"_s;
        QTest::newRow("cut inside a page") << u"cut"_s << u"Plik jest uszkodzony: %1"_s;
        QTest::newRow("missing file") << u"missing"_s << u"Brak pliku: %1"_s;
        QTest::newRow("a folder") << u"folder"_s << u"To nie jest plik: %1"_s;
        QTest::newRow("the open database itself") << u"itself"_s
                                                  << u"Ten plik jest otwartą bazą danych, a nie jej kopią: %1"_s;
    }
    void restoreRefusesWhatIsNotASoundCopy()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        addTaxpayer(u"Kowalski"_s);
        QString file = t->env.root() + u"/kopia.sqlite"_s;
        if (kind == u"text") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray("Nazwisko;Imie\nKowalski;Jan\n").repeated(200));
        } else if (kind == u"empty") {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
        } else if (kind == u"other tables") {
            QVERIFY(execIn(file, "CREATE TABLE Klienci (Id INTEGER, Nazwa TEXT); INSERT INTO Klienci VALUES (1, 'A');"));
        } else if (kind == u"missing table") {
            copyNow(u"kopia.sqlite"_s);
            QVERIFY(execIn(file, "DROP TABLE WykazB"));
        } else if (kind == u"missing field") {
            copyNow(u"kopia.sqlite"_s);
            QVERIFY(execIn(file, "ALTER TABLE Kwoty DROP COLUMN VatB"));
        } else if (kind == u"added field") {
            copyNow(u"kopia.sqlite"_s);
            QVERIFY(execIn(file, "ALTER TABLE Podatnik ADD COLUMN Haslo TEXT"));
        } else if (kind == u"added table") {
            copyNow(u"kopia.sqlite"_s);
            QVERIFY(execIn(file, "CREATE TABLE Notatki (Tekst TEXT)"));
        } else if (kind == u"trigger") {
            copyNow(u"kopia.sqlite"_s);
            QVERIFY(execIn(file, "CREATE TRIGGER Podatnik_po_dodaniu AFTER INSERT ON Podatnik BEGIN "
                                 "DELETE FROM Faktury; UPDATE Podatnik SET Notatki = Pesel; END"));
        } else if (kind == u"view") {
            copyNow(u"kopia.sqlite"_s);
            QVERIFY(execIn(file, "CREATE VIEW Wszyscy AS SELECT * FROM Podatnik"));
        } else if (kind == u"index") {
            copyNow(u"kopia.sqlite"_s);
            QVERIFY(execIn(file, "CREATE INDEX Podatnik_Pesel ON Podatnik (Pesel)"));
        } else if (kind == u"index row") {
            copyNow(u"kopia.sqlite"_s);
            QVERIFY(dropRowFromIndex(file));
            QVERIFY(valueIn(file, u"PRAGMA quick_check"_s) == u"ok"_s);
        } else if (kind == u"damaged page") {
            copyNow(u"kopia.sqlite"_s);
            QVERIFY(damageTable(file, u"Firmy"_s));
        } else if (kind == u"cut") {
            copyNow(u"kopia.sqlite"_s);
            QVERIFY(rewrite(file, [](QByteArray &b) { b.chop(100); }));
        } else if (kind == u"folder") {
            QVERIFY(QDir().mkpath(file));
        } else if (kind == u"itself") {
            file = t->env.databaseFile();
        }
        addTaxpayer(u"Nowak"_s);
        const QList<SqlRow> rows = t->storedRows(u"Podatnik"_s);
        const QByteArray before = digestOf(t->env.databaseFile());
        const QStringList entries = entriesOf(t->env.databaseDirectory());

        t->boxes.answer(true);
        QVERIFY(!KopieZapasowe(t->dm).Odtworz(file));
        QCOMPARE(t->boxes.texts(), QStringList{message.arg(QDir::toNativeSeparators(file))
                                               + u"\rBaza danych nie została zmieniona."_s});
        QCOMPARE(t->boxes.shown().first().kind, MessageRequest::Kind::Warning);
        QCOMPARE(digestOf(t->env.databaseFile()), before);
        QCOMPARE(entriesOf(t->env.databaseDirectory()), entries);
        QCOMPARE(t->storedRows(u"Podatnik"_s), rows);
        QVERIFY(t->dm.Podatnik.isOpen());
    }

    // A copy is written whole and checked, or not at all.
    void backupRefused_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reason");
        // {file} is the chosen file, {folder} its folder
        QTest::newRow("the open database") << u"database"_s << u"Kopii nie można zapisać w miejscu pliku otwartej bazy danych: {file}"_s;
        QTest::newRow("its lock file") << u"lock"_s << u"Kopii nie można zapisać w miejscu pliku otwartej bazy danych: {file}"_s;
        QTest::newRow("a folder") << u"folder"_s << u"To jest folder, a nie plik: {file}"_s;
        QTest::newRow("a missing folder") << u"missing folder"_s << u"Brak folderu: {folder}"_s;
    }
    void backupRefused()
    {
        QFETCH(QString, target);
        QFETCH(QString, reason);
        addTaxpayer(u"Kowalski"_s);
        QString file;
        if (target == u"database")
            file = t->env.databaseFile();
        else if (target == u"lock")
            file = t->env.databaseFile() + Database::LockSuffix;
        else if (target == u"folder")
            file = t->env.databaseDirectory();
        else
            file = t->env.root() + u"/nie-ma/kopia.sqlite"_s;
        const QByteArray before = digestOf(t->env.databaseFile());
        const QStringList entries = entriesOf(t->env.databaseDirectory());
        QVERIFY(!KopieZapasowe(t->dm).Kopia(file));
        QCOMPARE(t->boxes.texts(), QStringList{u"Nie udało się wykonać kopii zapasowej bazy danych.\r"_s
                                               + QString(reason)
                                                     .replace(u"{file}"_s, QDir::toNativeSeparators(file))
                                                     .replace(u"{folder}"_s, QDir::toNativeSeparators(QFileInfo(file).absolutePath()))});
        QCOMPARE(digestOf(t->env.databaseFile()), before);
        QCOMPARE(entriesOf(t->env.databaseDirectory()), entries);
        QCOMPARE(t->storedRows(u"Podatnik"_s).size(), 1);
    }

    // A copy written over an existing file replaces it only when it is whole.
    void backupReplacesAnOlderFile()
    {
        addTaxpayer(u"Kowalski"_s);
        const QString file = copyNow(u"kopia.sqlite"_s);
        addTaxpayer(u"Nowak"_s);
        QVERIFY(KopieZapasowe(t->dm).Kopia(file));
        QCOMPARE(valueIn(file, u"SELECT count(*) FROM Podatnik"_s).toInt(), 2);
        QCOMPARE(entriesOf(t->env.root()).filter(u"kopia"_s), QStringList{u"kopia.sqlite"_s});
    }

    // The automatic copy keeps the newest seven; files that are not automatic
    // copies are never deleted.
    void automaticCopiesKeepTheNewestSeven_data()
    {
        QTest::addColumn<int>("existing");
        QTest::newRow("first copy") << 0;
        QTest::newRow("six before") << 6;
        QTest::newRow("seven before") << 7;
        QTest::newRow("ten before") << 10;
    }
    void automaticCopiesKeepTheNewestSeven()
    {
        QFETCH(int, existing);
        const QDateTime start(QDate(2024, 3, 1), QTime(8, 0));
        QVERIFY(QDir().mkpath(kopie()));
        const QStringList others{u"tarlen5-przed-odtworzeniem-2020-01-01_10-00-00.sqlite"_s, u"moja.sqlite"_s,
                                 u"tarlen5-2020-01-01.sqlite"_s};
        for (const QString &other : others) {
            QFile f(QDir(kopie()).filePath(other));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QStringList expected;
        for (int i = 0; i < existing; ++i) {
            addTaxpayer(u"Podatnik %1"_s.arg(i));
            QVERIFY(KopieZapasowe(t->dm).KopiaNaZakonczenie(start.addSecs(3600 * i)));
            expected.prepend(KopieZapasowe::NazwaKopiiAutomatycznej(start.addSecs(3600 * i)));
        }
        addTaxpayer(u"Ostatni"_s);
        const QDateTime now = start.addDays(1);
        QVERIFY(KopieZapasowe(t->dm).KopiaNaZakonczenie(now));
        expected.prepend(KopieZapasowe::NazwaKopiiAutomatycznej(now));
        expected = expected.mid(0, KopieZapasowe::LiczbaKopiiAutomatycznych);

        QStringList names;
        for (const QString &path : KopieZapasowe::KopieAutomatyczne(kopie()))
            names << QFileInfo(path).fileName();
        QCOMPARE(names, expected);
        QStringList all = names + others;
        all.sort();
        QCOMPARE(entriesOf(kopie()), all);
        QVERIFY(t->boxes.texts().isEmpty());
        // the newest holds the last change and is sound
        const QString newest = QDir(kopie()).filePath(names.first());
        KopieZapasowe::SprawdzKopie(newest);
        QCOMPARE(valueIn(newest, u"SELECT count(*) FROM Podatnik WHERE Nazwisko = 'Ostatni'"_s).toInt(), 1);
    }

    // Copies of the same second, and a copy made while the clock stands
    // behind the others: the one just made is the newest, and never deleted.
    void automaticCopiesOfTheSameSecond()
    {
        const QDateTime now(QDate(2024, 3, 1), QTime(8, 0));
        for (int i = 0; i < 3; ++i) {
            addTaxpayer(u"P%1"_s.arg(i));
            QVERIFY(KopieZapasowe(t->dm).KopiaNaZakonczenie(now));
        }
        QStringList names;
        for (const QString &path : KopieZapasowe::KopieAutomatyczne(kopie()))
            names << QFileInfo(path).fileName();
        QCOMPARE(names, (QStringList{u"tarlen5-2024-03-01_08-00-00_3.sqlite"_s, u"tarlen5-2024-03-01_08-00-00_2.sqlite"_s,
                                     u"tarlen5-2024-03-01_08-00-00.sqlite"_s}));
        for (int i = 0; i < 7; ++i) {
            addTaxpayer(u"Q%1"_s.arg(i));
            QVERIFY(KopieZapasowe(t->dm).KopiaNaZakonczenie(now.addDays(1 + i)));
        }
        addTaxpayer(u"Wstecz"_s);
        const QDateTime behind = now.addYears(-1);
        QVERIFY(KopieZapasowe(t->dm).KopiaNaZakonczenie(behind));
        const QStringList left = KopieZapasowe::KopieAutomatyczne(kopie());
        QCOMPARE(left.size(), KopieZapasowe::LiczbaKopiiAutomatycznych);
        QCOMPARE(QFileInfo(left.first()).fileName(), KopieZapasowe::NazwaKopiiAutomatycznej(behind));
    }

    // No copy after a run that wrote nothing.
    void automaticCopyOnlyAfterChanges_data()
    {
        QTest::addColumn<QString>("run");
        QTest::addColumn<bool>("copied");
        QTest::newRow("nothing done") << u"nothing"_s << false;
        QTest::newRow("only reading") << u"reading"_s << false;
        QTest::newRow("an edit cancelled") << u"cancelled"_s << false;
        QTest::newRow("a taxpayer added") << u"added"_s << true;
        QTest::newRow("a taxpayer deleted") << u"deleted"_s << true;
    }
    void automaticCopyOnlyAfterChanges()
    {
        QFETCH(QString, run);
        QFETCH(bool, copied);
        // what an earlier run stored, in a run of its own
        addTaxpayer(u"Kowalski"_s);
        t->dm.database().close();
        t->boxes.clear();
        QVERIFY(t->dm.OtworzTabele());
        if (run == u"reading") {
            QVERIFY(t->dm.Podatnik.locate(u"Nazwisko"_s, u"kow"_s, LocateOption::CaseInsensitive | LocateOption::PartialKey));
            QCOMPARE(t->dm.Podatnik.recordCount(), 1);
            t->dm.OdswiezPodpowiedzi();
        } else if (run == u"cancelled") {
            t->dm.Podatnik.edit();
            t->dm.Podatnik.field(u"Nazwisko"_s).setValue(u"Nowak"_s);
            t->dm.Podatnik.cancel();
        } else if (run == u"added") {
            addTaxpayer(u"Nowak"_s);
        } else if (run == u"deleted") {
            t->dm.Podatnik.first();
            t->dm.Podatnik.remove();
        }
        QCOMPARE(KopieZapasowe(t->dm).KopiaNaZakonczenie(), copied);
        QCOMPARE(KopieZapasowe::KopieAutomatyczne(kopie()).size(), copied ? 1 : 0);
        QVERIFY(t->boxes.texts().isEmpty());
    }

    // A copy that cannot be written is told, and leaves nothing behind.
    void failedAutomaticCopyIsTold_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder name taken by a file") << u"file"_s << u"Nie można utworzyć folderu kopii zapasowych: %1"_s;
        QTest::newRow("read-only folder") << u"read-only"_s << u"Nie można utworzyć pliku w folderze %1: "_s;
    }
    void failedAutomaticCopyIsTold()
    {
        QFETCH(QString, obstacle);
        QFETCH(QString, reason);
        // The superuser writes in every folder whatever its permissions, but
        // not in an immutable one.
        const bool immutable = geteuid() == 0;
        auto writableAgain = qScopeGuard([&] {
            if (obstacle != u"read-only")
                return;
            if (immutable)
                QProcess::execute(u"chattr"_s, {u"-i"_s, kopie()});
            else
                QFile::setPermissions(kopie(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        });
        if (obstacle == u"read-only") {
            QVERIFY(QDir().mkpath(kopie()));
            if (immutable && QProcess::execute(u"chattr"_s, {u"+i"_s, kopie()}) != 0)
                QSKIP("the folder cannot be made immutable here (chattr), and the superuser writes in any other");
            if (!immutable)
                QVERIFY(QFile::setPermissions(kopie(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        } else {
            QFile f(kopie());
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        addTaxpayer(u"Kowalski"_s);
        const QStringList entries = entriesOf(t->env.databaseDirectory());
        QVERIFY(!KopieZapasowe(t->dm).KopiaNaZakonczenie());
        QCOMPARE(t->boxes.shown().size(), 1);
        const QString text = t->boxes.texts().first();
        const QString expected = u"Nie udało się wykonać automatycznej kopii zapasowej bazy danych.\r"_s
                                 + reason.arg(QDir::toNativeSeparators(kopie()));
        QVERIFY2(text.startsWith(expected), qPrintable(text));
        QCOMPARE(entriesOf(t->env.databaseDirectory()), entries);
        if (obstacle == u"read-only")
            QVERIFY(entriesOf(kopie()).isEmpty());
    }

    // A database found damaged at start: the newest sound automatic copy is
    // offered; the damaged file is written to in no case, and is kept
    // unchanged when the copy is taken.
    void damagedDatabaseOffersTheNewestSoundCopy_data()
    {
        QTest::addColumn<bool>("agree");
        QTest::newRow("user takes the copy") << true;
        QTest::newRow("user declines") << false;
    }
    void damagedDatabaseOffersTheNewestSoundCopy()
    {
        QFETCH(bool, agree);
        const QDateTime start(QDate(2024, 3, 1), QTime(8, 0));
        addTaxpayer(u"Stary"_s);
        QVERIFY(KopieZapasowe(t->dm).KopiaNaZakonczenie(start));
        addTaxpayer(u"Nowy"_s);
        QVERIFY(KopieZapasowe(t->dm).KopiaNaZakonczenie(start.addDays(1)));
        addTaxpayer(u"Najnowszy"_s);
        QVERIFY(KopieZapasowe(t->dm).KopiaNaZakonczenie(start.addDays(2)));
        const QString sound = QDir(kopie()).filePath(KopieZapasowe::NazwaKopiiAutomatycznej(start.addDays(1)));
        QVERIFY(damageTable(QDir(kopie()).filePath(KopieZapasowe::NazwaKopiiAutomatycznej(start.addDays(2))), u"Podatnik"_s));
        addTaxpayer(u"Po kopii"_s);
        t->dm.database().close();
        QVERIFY(damageTable(t->env.databaseFile(), u"Firmy"_s));
        const QByteArray damagedBytes = digestOf(t->env.databaseFile());
        const QStringList entries = entriesOf(t->env.databaseDirectory());
        const QStringList copies = entriesOf(kopie());

        t->boxes.clear();
        QVERIFY(!t->dm.OtworzTabele());
        QVERIFY(t->dm.BazaUszkodzona());
        t->boxes.clear();
        t->boxes.answer(agree);
        QCOMPARE(KopieZapasowe(t->dm).ZaproponujKopie(), agree);

        const MessageRequest question = t->boxes.shown().first();
        QCOMPARE(question.kind, MessageRequest::Kind::WarningQuestion);
        QVERIFY2(question.text.contains(QDir::toNativeSeparators(t->env.databaseFile())), qPrintable(question.text));
        // the sound copies, newest first, with what each holds; the damaged one is not offered
        QCOMPARE(question.choices.size(), 2);
        QVERIFY2(question.choices.first().endsWith(u" – podatników: 2, wniosków: 0 (%1)"_s.arg(QFileInfo(sound).fileName())),
                 qPrintable(question.choices.first()));
        QVERIFY2(question.choices.last().contains(u"podatników: 1, wniosków: 0"_s), qPrintable(question.choices.last()));
        if (!agree) {
            QCOMPARE(t->boxes.shown().size(), 1);
            QCOMPARE(digestOf(t->env.databaseFile()), damagedBytes);
            QCOMPARE(entriesOf(t->env.databaseDirectory()), entries);
            QCOMPARE(entriesOf(kopie()), copies);
            QVERIFY(!t->dm.database().isOpen());
            return;
        }
        QVERIFY(t->dm.Podatnik.isOpen());
        QCOMPARE(t->boxes.shown().size(), 2);
        QStringList names;
        for (const SqlRow &row : t->dm.database().run(u"SELECT Nazwisko FROM Podatnik ORDER BY rowid"_s).rows)
            names << row.at(0).toString();
        QCOMPARE(names, (QStringList{u"Stary"_s, u"Nowy"_s}));
        const QStringList kept = QDir(kopie()).entryList({u"tarlen5-uszkodzona-*.sqlite"_s}, QDir::Files);
        QCOMPARE(kept.size(), 1);
        QCOMPARE(digestOf(QDir(kopie()).filePath(kept.first())), damagedBytes);
        QVERIFY2(question.text.contains(QDir::toNativeSeparators(QDir(kopie()).filePath(kept.first()))), qPrintable(question.text));
        // nothing but the database and its lock lies beside it
        QCOMPARE(entriesOf(t->env.databaseDirectory()),
                 (QStringList{KopieZapasowe::NazwaKatalogu, Database::FileName, Database::FileName + Database::LockSuffix}));
    }

    void damagedDatabaseWithoutSoundCopy_data()
    {
        QTest::addColumn<bool>("damagedCopy");
        QTest::newRow("no copies") << false;
        QTest::newRow("only a damaged copy") << true;
    }
    void damagedDatabaseWithoutSoundCopy()
    {
        QFETCH(bool, damagedCopy);
        addTaxpayer(u"Kowalski"_s);
        if (damagedCopy) {
            QVERIFY(KopieZapasowe(t->dm).KopiaNaZakonczenie());
            QVERIFY(damageTable(KopieZapasowe::KopieAutomatyczne(kopie()).first(), u"Podatnik"_s));
        }
        t->dm.database().close();
        QVERIFY(rewrite(t->env.databaseFile(), [](QByteArray &b) { b.replace(0, 16, QByteArray(16, 'x')); }));
        const QByteArray before = digestOf(t->env.databaseFile());
        t->boxes.clear();
        QVERIFY(!t->dm.OtworzTabele());
        QVERIFY(t->dm.BazaUszkodzona());
        t->boxes.clear();
        t->boxes.answer(true);
        QVERIFY(!KopieZapasowe(t->dm).ZaproponujKopie());
        QCOMPARE(t->boxes.texts(),
                 QStringList{u"Plik bazy danych jest uszkodzony i nie będzie używany:\r%1\rW folderze %2 nie ma dobrej "
                             "kopii zapasowej, z której można by go odtworzyć."_s
                                 .arg(QDir::toNativeSeparators(t->env.databaseFile()), QDir::toNativeSeparators(kopie()))});
        QCOMPARE(digestOf(t->env.databaseFile()), before);
    }

    // The check of the whole file goes on after the tables have opened. A
    // save made before it answers waits for it; damage in a page that opening
    // does not read (an index) refuses the save, and then the database is
    // closed and the damage announced. The damaged file is never written to.
    void damageFoundAfterOpening_data()
    {
        QTest::addColumn<QString>("damagedPage");
        QTest::newRow("sound file") << QString();
        QTest::newRow("index of the invoices") << u"Faktury_VzmId_Oznacz"_s;
        QTest::newRow("index of the amount lines") << u"Kwoty_FaktId"_s;
    }
    void damageFoundAfterOpening()
    {
        QFETCH(QString, damagedPage);
        const bool damaged = !damagedPage.isEmpty();
        addTaxpayer(u"Kowalski"_s);
        const QString file = t->env.databaseFile();
        t->dm.database().close();
        if (damaged)
            QVERIFY(damageTable(file, damagedPage));
        const QByteArray before = digestOf(file);
        QSignalSpy odrzucona(&t->dm, &TDM::BazaOdrzucona);
        t->boxes.clear();

        QVERIFY(t->dm.OtworzTabele());
        QCOMPARE(t->dm.Podatnik.recordCount(), 1);
        QString refusal;
        try {
            addTaxpayer(u"Nowak"_s);
        } catch (const DataError &e) {
            refusal = e.message();
        }
        QCOMPARE(odrzucona.count(), 0); // announced from the event loop only
        QCoreApplication::processEvents();

        if (!damaged) {
            QCOMPARE(refusal, QString());
            QCOMPARE(odrzucona.count(), 0);
            QCOMPARE(t->dm.Podatnik.recordCount(), 2);
            return;
        }
        QVERIFY2(refusal.contains(u"Plik bazy danych jest uszkodzony: "_s + QDir::toNativeSeparators(file)),
                 qPrintable(refusal));
        QCOMPARE(odrzucona.count(), 1);
        QVERIFY(t->dm.BazaUszkodzona());
        QVERIFY(!t->dm.database().isOpen());
        QVERIFY(!t->dm.Podatnik.isOpen());
        QVERIFY(t->boxes.shown().isEmpty()); // the offer of a copy that follows names the file
        QCOMPARE(digestOf(file), before);
    }

    // The answer of the check of a file closed since is not taken for the
    // answer of the file opened after it.
    void anAnswerForAClosedFileIsIgnored()
    {
        const QString file = t->env.databaseFile();
        t->dm.database().close();
        QFile sound(file);
        QVERIFY(sound.open(QIODevice::ReadOnly));
        const QByteArray soundBytes = sound.readAll();
        sound.close();
        QVERIFY(damageTable(file, u"Faktury_VzmId_Oznacz"_s));
        QSignalSpy odrzucona(&t->dm, &TDM::BazaOdrzucona);

        QVERIFY(t->dm.OtworzTabele());
        QVERIFY_THROWS_EXCEPTION(DatabaseDamaged, t->dm.database().awaitCheck());
        t->dm.database().close();
        QVERIFY(rewrite(file, [&](QByteArray &b) { b = soundBytes; }));
        QVERIFY(t->dm.OtworzTabele());
        t->dm.database().awaitCheck();
        QCoreApplication::processEvents();

        QCOMPARE(odrzucona.count(), 0);
        QVERIFY(t->dm.database().isOpen());
        QVERIFY(!t->dm.BazaUszkodzona());
    }

    // Only a damaged file is offered a copy: a database of another kind of
    // fault is not replaced.
    void onlyDamageCountsAsDamaged_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("damaged");
        QTest::newRow("damaged page") << u"page"_s << true;
        QTest::newRow("not a database") << u"header"_s << true;
        QTest::newRow("a table missing") << u"table"_s << false;
        QTest::newRow("file missing") << u"missing"_s << false;
    }
    void onlyDamageCountsAsDamaged()
    {
        QFETCH(QString, fault);
        QFETCH(bool, damaged);
        t->dm.database().close();
        const QString file = t->env.databaseFile();
        if (fault == u"page")
            QVERIFY(damageTable(file, u"Podatnik"_s));
        else if (fault == u"header")
            QVERIFY(rewrite(file, [](QByteArray &b) { b.replace(0, 16, QByteArray(16, 'x')); }));
        else if (fault == u"table")
            QVERIFY(execIn(file, "DROP TABLE WykazB"));
        else
            QVERIFY(QFile::remove(file));
        QVERIFY(!t->dm.OtworzTabele());
        QCOMPARE(t->dm.BazaUszkodzona(), damaged);
    }

    // The newest copy is the one written last, whatever its name says; the
    // user sees every sound copy with what it holds and may take an older.
    void copiesAreOfferedByTheirOwnTime()
    {
        const QDateTime start(QDate(2024, 3, 1), QTime(8, 0));
        addTaxpayer(u"Pierwszy"_s);
        QVERIFY(KopieZapasowe(t->dm).KopiaNaZakonczenie(start));
        addTaxpayer(u"Drugi"_s);
        QVERIFY(KopieZapasowe(t->dm).KopiaNaZakonczenie(start.addDays(1)));
        // the older copy renamed as if made in the future
        const QString older = QDir(kopie()).filePath(KopieZapasowe::NazwaKopiiAutomatycznej(start));
        const QString future = QDir(kopie()).filePath(KopieZapasowe::NazwaKopiiAutomatycznej(start.addYears(80)));
        QVERIFY(QFile::rename(older, future));
        QFile stamp(future);
        QVERIFY(stamp.open(QIODevice::ReadWrite));
        QVERIFY(stamp.setFileTime(QDateTime::currentDateTime().addDays(-1), QFileDevice::FileModificationTime));
        stamp.close();
        const QStringList order = KopieZapasowe::KopieAutomatyczne(kopie());
        QCOMPARE(QFileInfo(order.first()).fileName(), KopieZapasowe::NazwaKopiiAutomatycznej(start.addDays(1)));

        addTaxpayer(u"Po kopiach"_s);
        t->dm.database().close();
        QVERIFY(damageTable(t->env.databaseFile(), u"Podatnik"_s));
        QVERIFY(!t->dm.OtworzTabele());
        t->boxes.clear();
        t->boxes.pick(1); // the older one, second on the list
        QVERIFY(KopieZapasowe(t->dm).ZaproponujKopie());
        const QStringList choices = t->boxes.shown().first().choices;
        QCOMPARE(choices.size(), 2);
        QVERIFY2(choices[0].contains(u"podatników: 2"_s), qPrintable(choices[0]));
        QVERIFY2(choices[1].contains(u"podatników: 1"_s) && choices[1].contains(QFileInfo(future).fileName()),
                 qPrintable(choices[1]));
        QCOMPARE(t->storedRows(u"Podatnik"_s).size(), 1);
    }

    // A table page changed so that a row is missing from its index: the
    // file passes a check of its pages, but not the full one. The start finds
    // it (beside the register) and offers a copy; no copy of it is called good.
    void aRowMissingFromItsIndexIsDamage()
    {
        addTaxpayer(u"Kowalski"_s);
        QVERIFY(KopieZapasowe(t->dm).KopiaNaZakonczenie());
        t->dm.database().close();
        QVERIFY(dropRowFromIndex(t->env.databaseFile()));
        QCOMPARE(valueIn(t->env.databaseFile(), u"PRAGMA quick_check"_s).toString(), u"ok"_s);

        {
            Database db;
            db.open(t->env.databaseDirectory());
            const QString copy = t->env.root() + u"/kopia.sqlite"_s;
            try {
                KopieZapasowe::ZapiszKopie(db, copy);
                QFAIL("a copy of a damaged file was called good");
            } catch (const DataError &e) {
                QVERIFY2(e.message().startsWith(u"Zapisana kopia nie przeszła sprawdzenia"_s), qPrintable(e.message()));
            }
            QVERIFY(!QFileInfo::exists(copy));
        }

        QSignalSpy odrzucona(&t->dm, &TDM::BazaOdrzucona);
        t->boxes.clear();
        QVERIFY(t->dm.OtworzTabele());
        QTRY_COMPARE_WITH_TIMEOUT(odrzucona.count(), 1, 120000);
        QVERIFY(t->dm.BazaUszkodzona());
        QVERIFY(!t->dm.database().isOpen());
        t->boxes.answer(true);
        QVERIFY(KopieZapasowe(t->dm).ZaproponujKopie());
        QCOMPARE(t->storedRows(u"Podatnik"_s).size(), 1);
    }

    // A deleted database is named, and its copies offered as for a damaged
    // one; a journal left without its database is moved aside.
    void missingDatabaseIsNamedAndItsCopiesOffered_data()
    {
        QTest::addColumn<bool>("withCopy");
        QTest::addColumn<bool>("withJournal");
        QTest::newRow("copies there") << true << false;
        QTest::newRow("copies and a journal left there") << true << true;
        QTest::newRow("no copies") << false << false;
    }
    void missingDatabaseIsNamedAndItsCopiesOffered()
    {
        QFETCH(bool, withCopy);
        QFETCH(bool, withJournal);
        addTaxpayer(u"Kowalski"_s);
        if (withCopy)
            QVERIFY(KopieZapasowe(t->dm).KopiaNaZakonczenie());
        t->dm.database().close();
        const QString file = QDir::toNativeSeparators(t->env.databaseFile());
        QVERIFY(QFile::remove(t->env.databaseFile()));
        if (withJournal) {
            QFile journal(Database::journalPath(t->env.databaseFile()));
            QVERIFY(journal.open(QIODevice::WriteOnly) && journal.write(QByteArray(512, 'j')) == 512);
        }
        t->boxes.clear();
        QVERIFY(!t->dm.OtworzTabele());
        QVERIFY(t->dm.BrakPlikuBazy());
        QVERIFY(!t->dm.BazaUszkodzona());
        QCOMPARE(t->boxes.texts(), QStringList{u"Brak pliku bazy danych: "_s + file});
        t->boxes.clear();
        t->boxes.answer(true);
        QCOMPARE(KopieZapasowe(t->dm).ZaproponujKopie(), withCopy);
        if (!withCopy) {
            // the missing file was named; without copies nothing more is said
            QVERIFY(t->boxes.texts().isEmpty());
            QVERIFY(!QFileInfo::exists(t->env.databaseFile()));
            return;
        }
        const QString first = t->boxes.texts().first();
        QVERIFY2(first.startsWith(u"Brak pliku bazy danych:\r"_s + file), qPrintable(first));
        QCOMPARE(t->boxes.shown().first().choices.size(), 1);
        QVERIFY(t->dm.Podatnik.isOpen());
        QCOMPARE(t->storedRows(u"Podatnik"_s).size(), 1);
        QVERIFY(!QFileInfo::exists(Database::journalPath(t->env.databaseFile())));
        QCOMPARE(QDir(kopie()).entryList({u"*dziennik*"_s}, QDir::Files).size(), withJournal ? 1 : 0);
    }

    // A backup or restore killed half-way leaves a temporary copy of personal
    // data; the next start removes it, wherever it lies, and nothing else.
    void leftoversOfAKilledCopyAreRemovedAtStart()
    {
        const QString beside = TemporaryFiles::create(t->env.databaseFile(), t->env.databaseFile());
        const QString elsewhere = TemporaryFiles::create(t->env.databaseFile(), t->env.root() + u"/moja kopia.sqlite"_s);
        QFile journal(elsewhere + u"-journal"_s);
        QVERIFY(journal.open(QIODevice::WriteOnly));
        journal.close();
        // a register that names a file of the user's is not obeyed
        const QString users = t->env.root() + u"/dane.sqlite"_s;
        QFile u(users);
        QVERIFY(u.open(QIODevice::WriteOnly));
        u.close();
        QFile reg(TemporaryFiles::registerOf(t->env.databaseFile()));
        QVERIFY(reg.open(QIODevice::Append));
        reg.write(users.toUtf8() + '\n');
        reg.close();
        QVERIFY(QFileInfo::exists(beside) && QFileInfo::exists(elsewhere));

        t->dm.database().close();
        QVERIFY(t->dm.OtworzTabele());
        QVERIFY(!QFileInfo::exists(beside));
        QVERIFY(!QFileInfo::exists(elsewhere));
        QVERIFY(!QFileInfo::exists(elsewhere + u"-journal"_s));
        QVERIFY(!QFileInfo::exists(TemporaryFiles::registerOf(t->env.databaseFile())));
        QVERIFY(QFileInfo::exists(users));
        QVERIFY(t->boxes.texts().isEmpty());
    }
};

QTEST_MAIN(TestKopieZapasowe)
#include "tst_kopiezapasowe.moc"
