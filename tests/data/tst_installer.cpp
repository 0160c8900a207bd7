#include "data/database.h"
#include "data/kopiezapasowe.h"
#include "data/dataerror.h"
#include "data/installer.h"
#include "data/schema.h"
#include "data/tdm.h"
#include "core/registry.h"
#include "support/testsupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTest>

// A new database as the installation brings it.
class TestInstaller : public QObject
{
    Q_OBJECT

    static qint64 count(Database &db, const QString &sql)
    {
        return db.firstRow(sql)->at(0).toLongLong();
    }

    // Runs the installer command with the settings and the data directory of `env`.
    static std::pair<int, QString> runInstaller(const TestEnvironment &env, const QStringList &args,
                                                const QByteArray &input = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), env.root() + QStringLiteral("/config"));
        environment.insert(QStringLiteral("XDG_CONFIG_DIRS"), env.root() + QStringLiteral("/system"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), env.root() + QStringLiteral("/data"));
        QProcess p;
        p.setProcessEnvironment(environment);
        p.start(QStringLiteral(TARLEN_INSTALL), args);
        p.write(input);
        p.closeWriteChannel();
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError())};
    }
    static QByteArray digestOf(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
    }

private slots:
    void createsEveryTableWithItsFields()
    {
        TestEnvironment env;
        Database db;
        db.open(env.databaseDirectory());
        for (const TableDef &t : storedTables()) {
            QStringList fields;
            for (const FieldDef &f : t.fields)
                fields << f.name;
            QVERIFY2(db.tableReadable(t.name, fields), qPrintable(t.name));
        }
        QCOMPARE(storedTables().size(), 12);
    }

    void initialContents()
    {
        TestEnvironment env;
        Database db;
        db.open(env.databaseDirectory());
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Imiona")), 1274);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Imiona WHERE Plec NOT IN ('M', 'K')")), 0);
        QCOMPARE(db.firstRow(QStringLiteral("SELECT Plec FROM Imiona WHERE Imie = 'Małgorzata'"))->at(0).toString(), QStringLiteral("K"));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM WykazA")), 17);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM WykazB")), 6);
        // The long names of the second list keep their line breaks.
        QVERIFY(count(db, QStringLiteral("SELECT COUNT(*) FROM WykazB WHERE instr(Material, char(10)) > 0")) > 0);
        QCOMPARE(count(db, QStringLiteral("SELECT MAX(length(Material)) <= 255 FROM WykazA")), 1);
        const SqlRow domysl = db.firstRow(QStringLiteral("SELECT COUNT(*), MAX(Kraj), MAX(Wojew), MAX(CenaMetra IS NULL) FROM Domysl")).value();
        QCOMPARE(domysl, (SqlRow{1, QStringLiteral("Polska"), QString(), 1}));
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Margin")), 0);
    }

    void correctionsForEveryPrintedField()
    {
        TestEnvironment env;
        Database db;
        db.open(env.databaseDirectory());
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Korekta WHERE KorX <> 0 OR KorY <> 0 OR KorX IS NULL")), 0);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Korekta WHERE Opis <> CAST(Pole AS TEXT)")), 0);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Korekta WHERE Hint = ''")), 0);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Korekta WHERE Pit = 'VZM-1' AND Pole BETWEEN 1 AND 77")), 65);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Korekta WHERE Pit = 'VZM-1/A' AND Pole BETWEEN 1 AND 203")), 201);
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Korekta WHERE Pit NOT IN ('VZM-1', 'VZM-1/A')")), 0);
        // Fields never printed on the application have no correction.
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Korekta WHERE Pit = 'VZM-1' AND Pole IN (3, 4, 8, 35, 36, 37, 38, 39, 40, 46, 57, 58)")), 0);
        QCOMPARE(db.firstRow(QStringLiteral("SELECT Hint FROM Korekta WHERE Pit = 'VZM-1' AND Pole = 9"))->at(0).toString(),
                 QStringLiteral("Poz. 9 – nazwisko podatnika"));
    }

    void refusesToOverwriteAnExistingDatabase()
    {
        TestEnvironment env;
        QFile file(env.databaseFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray before = QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
        file.close();
        QVERIFY_THROWS_EXCEPTION(DataError, Installer::install(env.databaseDirectory()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256), before);
    }

    void aFailedInstallationLeavesNothing()
    {
        TestEnvironment env(false);
        QFile blocker(env.root() + QStringLiteral("/plik"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QVERIFY_THROWS_EXCEPTION(DataError, Installer::install(env.root() + QStringLiteral("/plik/baza")));
        QVERIFY(!QFile::exists(env.root() + QStringLiteral("/plik/baza/") + Database::FileName));
    }

    void theCommandCreatesAndRecordsTheDatabaseOnce()
    {
        TestEnvironment env(false);
        const auto run = [&env](const QStringList &args) { return runInstaller(env, args); };
        const auto [created, createdText] = run({});
        QCOMPARE(created, 0);
        const QString expected = env.root() + QStringLiteral("/data/Morvik/Tarlen/baza");
        QVERIFY2(createdText.contains(QStringLiteral("Utworzono bazę danych: ") + expected), qPrintable(createdText));
        QVERIFY(QFile::exists(expected + QLatin1Char('/') + Database::FileName));
        QSettings recorded(env.root() + QStringLiteral("/system/Morvik/Tarlen.conf"), QSettings::IniFormat);
        QCOMPARE(recorded.value(QStringLiteral("5/Sciezka")).toString(), expected);

        const auto [again, againText] = run({});
        QCOMPARE(again, 0);
        QVERIFY2(againText.contains(QStringLiteral("już zainstalowana")), qPrintable(againText));
        const auto [refused, refusedText] = run({expected});
        QCOMPARE(refused, 1);
        QVERIFY2(refusedText.contains(QStringLiteral("już istnieje")), qPrintable(refusedText));
    }

    // The database is in the default place but the program's registry no
    // longer names it: installing again records it, so that the program
    // (started right after the installer) finds it.
    void recordsAnUnrecordedDatabaseInTheDefaultPlace_data()
    {
        QTest::addColumn<bool>("settingsFileRemoved");
        QTest::newRow("settings file removed") << true;
        QTest::newRow("value removed from the settings") << false;
    }
    void recordsAnUnrecordedDatabaseInTheDefaultPlace()
    {
        QFETCH(bool, settingsFileRemoved);
        TestEnvironment env(false);
        QCOMPARE(runInstaller(env, {}).first, 0);
        const QString expected = env.root() + QStringLiteral("/data/Morvik/Tarlen/baza");
        const QString file = expected + QLatin1Char('/') + Database::FileName;
        const QString settingsFile = env.root() + QStringLiteral("/system/Morvik/Tarlen.conf");
        if (settingsFileRemoved) {
            QVERIFY(QFile::remove(settingsFile));
        } else {
            QSettings settings(settingsFile, QSettings::IniFormat);
            settings.remove(QStringLiteral("5/Sciezka"));
            settings.setValue(QStringLiteral("5/TWnioskiFrm/Left"), 10);
        }
        QCOMPARE(readRegistryValue(ProgramVersion, u"Sciezka"), std::nullopt);
        const QByteArray before = digestOf(file);

        const auto [code, text] = runInstaller(env, {});
        QCOMPARE(code, 0);
        QVERIFY2(text.contains(QStringLiteral("Baza danych jest już zainstalowana: ") + expected), qPrintable(text));
        QCOMPARE(readRegistryValue(ProgramVersion, u"Sciezka"), std::optional<QString>(expected));
        QCOMPARE(digestOf(file), before); // left as it was
        ScriptedMessageBoxes boxes;
        TDM dm(boxes);
        QVERIFY2(dm.OtworzTabele(), qPrintable(boxes.texts().join(QLatin1Char('\n'))));
        QCOMPARE(dm.database().filePath(), file);
    }

    // The database was deleted and its copies lie beside it: the installer
    // says so and offers the newest; an empty database is made only when the
    // user says no, after the copies are moved where rotation never reaches.
    void copiesBesideAMissingDatabase_data()
    {
        QTest::addColumn<QByteArray>("answer");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("taxpayers"); // -1: no database
        QTest::newRow("restore the newest") << QByteArray("t\n") << 0 << 2;
        QTest::newRow("an empty database instead") << QByteArray("n\n") << 0 << 0;
        QTest::newRow("no answer") << QByteArray() << 1 << -1;
    }
    void copiesBesideAMissingDatabase()
    {
        QFETCH(QByteArray, answer);
        QFETCH(int, exitCode);
        QFETCH(int, taxpayers);
        TestEnvironment env;
        {
            ScriptedMessageBoxes boxes;
            TDM dm(boxes);
            QVERIFY(dm.OtworzTabele());
            addTaxpayer(dm, {{QStringLiteral("Nazwisko"), QStringLiteral("Kowalski")}});
            QVERIFY(KopieZapasowe(dm).KopiaNaZakonczenie(QDateTime(QDate(2024, 1, 1), QTime(8, 0))));
            addTaxpayer(dm, {{QStringLiteral("Nazwisko"), QStringLiteral("Nowak")}});
            QVERIFY(KopieZapasowe(dm).KopiaNaZakonczenie(QDateTime(QDate(2024, 1, 2), QTime(8, 0))));
        }
        QVERIFY(QFile::remove(env.databaseFile()));
        const QString kopie = KopieZapasowe::KatalogKopii(env.databaseDirectory());

        const auto [code, text] = runInstaller(env, {env.databaseDirectory()}, answer);
        QCOMPARE(code, exitCode);
        QVERIFY2(text.contains(QStringLiteral("Brak pliku bazy danych")) && text.contains(QStringLiteral("podatników: 2")),
                 qPrintable(text));
        if (taxpayers < 0) {
            QVERIFY(!QFile::exists(env.databaseFile()));
            QCOMPARE(KopieZapasowe::KopieAutomatyczne(kopie).size(), 2);
            return;
        }
        Database db;
        db.open(env.databaseDirectory());
        QCOMPARE(count(db, QStringLiteral("SELECT COUNT(*) FROM Podatnik")), qint64(taxpayers));
        if (taxpayers > 0) {
            QCOMPARE(KopieZapasowe::KopieAutomatyczne(kopie).size(), 2);
            return;
        }
        // the copies of the deleted database are kept apart, whole
        QCOMPARE(KopieZapasowe::KopieAutomatyczne(kopie).size(), 0);
        const QStringList apart = QDir(kopie).entryList({QStringLiteral("przed-nowa-baza-*")}, QDir::Dirs);
        QCOMPARE(apart.size(), 1);
        QCOMPARE(KopieZapasowe::DobreKopie(QDir(kopie).filePath(apart.first())).size(), 2);
    }
};

QTEST_MAIN(TestInstaller)
#include "tst_installer.moc"
