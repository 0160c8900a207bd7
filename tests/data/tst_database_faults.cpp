#include "data/database.h"
#include "data/tdm.h"
#include "support/testsupport.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <memory>

#include <unistd.h>

// A database that cannot be opened stops the program with the message for
// the first table that fails, and is left exactly as it was.
class TestDatabaseFaults : public QObject
{
    Q_OBJECT

    enum class Fault { MissingDirectory, MissingFile, DirectoryIsAFile, FileIsADirectory, NotADatabase, EmptyFile,
                       Truncated, CutInsidePage, DamagedPage, MissingTable, MissingField };

    static QByteArray digestOf(const QString &path)
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }
    static QStringList entriesOf(const QString &directory)
    {
        return QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }
    static void rewrite(const QString &path, const std::function<void(QByteArray &)> &change)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QByteArray bytes = f.readAll();
        f.close();
        change(bytes);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    enum class Holder { DataModuleHere, DatabaseHere, OtherProgram };

    static QString lockFileOf(const TestEnvironment &env)
    {
        return env.databaseFile() + QStringLiteral(".lock");
    }
    // Starts another copy of the program's data side that keeps the database open.
    static bool startHolder(QProcess &holder, const TestEnvironment &env)
    {
        holder.start(QStringLiteral(CRASH_WRITER), {env.root(), QStringLiteral("trzymaj")});
        if (!holder.waitForStarted(10000))
            return false;
        while (!holder.canReadLine())
            if (!holder.waitForReadyRead(10000))
                return false;
        return holder.readLine().trimmed() == "otwarta";
    }

    // The byte offset of the root page of `table`.
    static qint64 rootPageOffset(const QString &directory, const QString &table)
    {
        Database db;
        db.open(directory);
        const auto row = db.firstRow(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = ?"), {}, {table});
        const qint64 pageSize = db.firstRow(QStringLiteral("PRAGMA page_size"))->at(0).toLongLong();
        return (row->at(0).toLongLong() - 1) * pageSize;
    }

private slots:
    void openingFailsAndLeavesTheFile_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<QString>("message");
        // %1: the database file the case looks for
        const QString first = QStringLiteral("Nie udało się otworzyć pliku: Podatnik.DB");
        const QString missing = QStringLiteral("Brak pliku bazy danych: %1");
        QTest::newRow("missing directory") << Fault::MissingDirectory << missing;
        QTest::newRow("missing database file") << Fault::MissingFile << missing;
        QTest::newRow("directory is a file") << Fault::DirectoryIsAFile << missing;
        QTest::newRow("database file is a directory") << Fault::FileIsADirectory
                                                      << first + QStringLiteral("\rTo nie jest plik bazy danych: %1");
        QTest::newRow("not a database") << Fault::NotADatabase << first;
        QTest::newRow("empty file") << Fault::EmptyFile << first;
        QTest::newRow("truncated by whole pages") << Fault::Truncated << first;
        QTest::newRow("cut inside a page") << Fault::CutInsidePage << first;
        QTest::newRow("damaged page of a table") << Fault::DamagedPage << QStringLiteral("Nie udało się otworzyć pliku: Firmy.db");
        QTest::newRow("missing table") << Fault::MissingTable << QStringLiteral("Nie udało się otworzyć pliku: VZMw3.db");
        QTest::newRow("missing field") << Fault::MissingField << QStringLiteral("Nie udało się otworzyć pliku: Kwoty.db");
    }
    void openingFailsAndLeavesTheFile()
    {
        QFETCH(Fault, fault);
        QFETCH(QString, message);
        TestEnvironment env;
        const QString dir = env.databaseDirectory();
        const QString file = env.databaseFile();
        switch (fault) {
        case Fault::MissingDirectory:
            env.setDatabaseDirectory(env.root() + QStringLiteral("/nie-ma"));
            break;
        case Fault::MissingFile:
            QVERIFY(QFile::remove(file));
            break;
        case Fault::DirectoryIsAFile:
            env.setDatabaseDirectory(file);
            break;
        case Fault::FileIsADirectory:
            QVERIFY(QFile::remove(file));
            QVERIFY(QDir(dir).mkdir(Database::FileName));
            break;
        case Fault::NotADatabase:
            rewrite(file, [](QByteArray &b) { b = QByteArray("Nazwisko;Imie\nKowalski;Jan\n").repeated(100); });
            break;
        case Fault::EmptyFile:
            rewrite(file, [](QByteArray &b) { b.clear(); });
            break;
        case Fault::Truncated:
            rewrite(file, [](QByteArray &b) { b.truncate(b.size() / 2 / 4096 * 4096); });
            break;
        case Fault::CutInsidePage:
            rewrite(file, [](QByteArray &b) { b.chop(100); });
            break;
        case Fault::DamagedPage: {
            const qint64 at = rootPageOffset(dir, QStringLiteral("Firmy"));
            rewrite(file, [at](QByteArray &b) { b.replace(at, 64, QByteArray(64, '\xA5')); });
            break;
        }
        case Fault::MissingTable: {
            Database db;
            db.open(dir);
            db.run(QStringLiteral("DROP TABLE VZMw3"));
            break;
        }
        case Fault::MissingField: {
            Database db;
            db.open(dir);
            db.run(QStringLiteral("ALTER TABLE Kwoty DROP COLUMN VatB"));
            break;
        }
        }
        const QByteArray before = digestOf(file);
        const QStringList entriesBefore = entriesOf(dir);

        ScriptedMessageBoxes boxes;
        {
            TDM dm(boxes);
            QVERIFY(!dm.OtworzTabele());
        }
        if (message.contains(QLatin1String("%1")))
            message = message.arg(QDir::toNativeSeparators(Database::filePathIn(TDM::SciezkaBazy())));
        QCOMPARE(boxes.texts(), QStringList{message});
        QCOMPARE(boxes.shown().first().title, QStringLiteral("Uwaga"));
        QCOMPARE(digestOf(file), before);          // not repaired, not replaced
        QCOMPARE(entriesOf(dir), entriesBefore);   // nothing created beside it
        QVERIFY(!QFileInfo::exists(env.root() + QStringLiteral("/nie-ma")));
    }

    void unreadableFile()
    {
        if (geteuid() == 0)
            QSKIP("the superuser reads every file");
        TestEnvironment env;
        QFile::setPermissions(env.databaseFile(), QFileDevice::Permissions());
        ScriptedMessageBoxes boxes;
        TDM dm(boxes);
        QVERIFY(!dm.OtworzTabele());
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Nie udało się otworzyć pliku: Podatnik.DB")});
    }

    // Two copies of the program writing one database without knowing of each
    // other lose data: the second one is refused and writes nothing.
    void secondCopyIsRefused_data()
    {
        QTest::addColumn<Holder>("holder");
        QTest::newRow("data module in this process") << Holder::DataModuleHere;
        QTest::newRow("database in this process") << Holder::DatabaseHere;
        QTest::newRow("another running program") << Holder::OtherProgram;
    }
    void secondCopyIsRefused()
    {
        QFETCH(Holder, holder);
        TestEnvironment env;
        const QString dir = env.databaseDirectory();
        const QString file = env.databaseFile();
        ScriptedMessageBoxes holderBoxes;
        std::unique_ptr<TDM> holdingModule;
        std::unique_ptr<Database> holdingDatabase;
        QProcess holdingProgram;
        switch (holder) {
        case Holder::DataModuleHere:
            holdingModule = std::make_unique<TDM>(holderBoxes);
            QVERIFY(holdingModule->OtworzTabele());
            break;
        case Holder::DatabaseHere:
            holdingDatabase = std::make_unique<Database>();
            holdingDatabase->open(dir);
            break;
        case Holder::OtherProgram:
            QVERIFY(startHolder(holdingProgram, env));
            break;
        }
        const QByteArray before = digestOf(file);
        const QStringList entriesBefore = entriesOf(dir);

        ScriptedMessageBoxes boxes;
        {
            TDM dm(boxes);
            QVERIFY(!dm.OtworzTabele());
            QVERIFY(!dm.Podatnik.isOpen());
        }
        QCOMPARE(boxes.texts(), QStringList{QStringLiteral("Baza danych jest już otwarta w innym oknie programu Tarlen: ")
                                            + QDir::toNativeSeparators(file)});
        QCOMPARE(boxes.shown().first().title, QStringLiteral("Uwaga"));
        Database second;
        QVERIFY_THROWS_EXCEPTION(DatabaseUnavailable, second.open(dir));
        QVERIFY(!second.isOpen());
        QCOMPARE(digestOf(file), before);
        QCOMPARE(entriesOf(dir), entriesBefore); // the holder's lock is left to it

        // Once the holder has let go, the database opens.
        holdingModule.reset();
        holdingDatabase.reset();
        if (holdingProgram.state() != QProcess::NotRunning) {
            holdingProgram.kill();
            QVERIFY(holdingProgram.waitForFinished(10000));
        }
        ScriptedMessageBoxes after;
        TDM dm(after);
        QVERIFY2(dm.OtworzTabele(), qPrintable(after.texts().join(QLatin1Char('\n'))));
        QVERIFY(after.shown().isEmpty());
    }

    void closingReleasesTheDatabase()
    {
        TestEnvironment env;
        const QString dir = env.databaseDirectory();
        ScriptedMessageBoxes boxes;
        TDM first(boxes);
        QVERIFY(first.OtworzTabele());
        QVERIFY(QFileInfo::exists(lockFileOf(env)));
        first.database().close();
        QVERIFY(!QFileInfo::exists(lockFileOf(env)));
        Database second;
        second.open(dir);
        QVERIFY(second.isOpen());
        // Opening again closes first, and does not lock itself out.
        second.open(dir);
        QVERIFY(second.isOpen());
    }

    // Opening the same database again keeps it locked all the while; moving
    // to another database frees the first.
    void reopeningKeepsTheLock()
    {
        TestEnvironment env;
        TestEnvironment otherEnv;
        Database db;
        db.open(env.databaseDirectory());
        db.open(env.databaseDirectory());
        Database other;
        QVERIFY_THROWS_EXCEPTION(DatabaseUnavailable, other.open(env.databaseDirectory()));
        db.open(otherEnv.databaseDirectory());
        other.open(env.databaseDirectory());
        QVERIFY(other.isOpen());
        QVERIFY_THROWS_EXCEPTION(DatabaseUnavailable, other.open(otherEnv.databaseDirectory()));
    }

    // A lock left by a copy that is no longer running does not keep the
    // database closed for ever.
    void staleLockIsTakenOver_data()
    {
        QTest::addColumn<bool>("emptyLockFile");
        QTest::newRow("holder killed") << false;
        QTest::newRow("lock file left empty a minute ago") << true;
    }
    void staleLockIsTakenOver()
    {
        QFETCH(bool, emptyLockFile);
        TestEnvironment env;
        const QString lock = lockFileOf(env);
        if (emptyLockFile) {
            QFile f(lock);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
        } else {
            QProcess holder;
            QVERIFY(startHolder(holder, env));
            holder.kill(); // SIGKILL: nothing of the holder runs any more
            QVERIFY(holder.waitForFinished(10000));
        }
        QVERIFY(QFileInfo::exists(lock)); // left behind

        ScriptedMessageBoxes boxes;
        {
            TDM dm(boxes);
            QVERIFY2(dm.OtworzTabele(), qPrintable(boxes.texts().join(QLatin1Char('\n'))));
            QVERIFY(boxes.shown().isEmpty());
            // The lock is this copy's now.
            Database other;
            QVERIFY_THROWS_EXCEPTION(DatabaseUnavailable, other.open(env.databaseDirectory()));
        }
        QVERIFY(!QFileInfo::exists(lock));
    }

    void tablesOpenedBeforeAFailureStayOpen()
    {
        TestEnvironment env;
        {
            Database db;
            db.open(env.databaseDirectory());
            db.run(QStringLiteral("DROP TABLE Domysl"));
        }
        ScriptedMessageBoxes boxes;
        TDM dm(boxes);
        QVERIFY(!dm.OtworzTabele());
        QVERIFY(dm.Imiona.isOpen());
        QVERIFY(!dm.Domysl.isOpen());
        QVERIFY(!dm.Marginesy.isOpen()); // later ones are not tried
    }
};

QTEST_MAIN(TestDatabaseFaults)
#include "tst_database_faults.moc"
