#include "data/database.h"
#include "data/tdm.h"
#include "support/testsupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

// A program killed in the middle of a save leaves a database that opens
// again at once, sound, with every application either whole or absent, and
// with every save that had returned still there.
class TestCrashRecovery : public QObject
{
    Q_OBJECT

    enum class KillPoint {
        AfterDelay,      // a random time (up to about one save) after some saves
        FirstPageWritten // as soon as the save's first database page is in the file
    };

    struct Header
    {
        quint32 changeCounter = 0;
        qint64 pageSize = 0;
        qint64 pageCount = 0;  // as the header says, 0 when it does not say
    };

    static quint32 bigEndian(const unsigned char *b, int width)
    {
        quint32 v = 0;
        for (int i = 0; i < width; ++i)
            v = (v << 8) | b[i];
        return v;
    }

    static Header readHeader(int fd)
    {
        unsigned char b[100];
        Header h;
        if (::pread(fd, b, sizeof b, 0) != qint64(sizeof b))
            return h;
        h.changeCounter = bigEndian(b + 24, 4);
        const quint32 size = bigEndian(b + 16, 2);
        h.pageSize = size == 1 ? 65536 : size;
        if (h.changeCounter == bigEndian(b + 92, 4))
            h.pageCount = bigEndian(b + 28, 4);
        return h;
    }

    // What a killed child had announced before it died.
    struct Announced
    {
        QSet<int> saved;
        QSet<int> deleting;
        QSet<int> deleted;
        int savesThisRun = 0;
    };

    static void takeLines(QProcess &child, Announced &announced)
    {
        while (child.canReadLine()) {
            const QList<QByteArray> words = child.readLine().trimmed().split(' ');
            const int id = words.value(1).toInt();
            if (words[0] == "zapisano") {
                announced.saved.insert(id);
                ++announced.savesThisRun;
            } else if (words[0] == "usuwam") {
                announced.deleting.insert(id);
            } else if (words[0] == "usunieto") {
                announced.deleted.insert(id);
            }
        }
    }

    static bool waitForLine(QProcess &child, const QByteArray &line, int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            if (child.canReadLine()) {
                if (child.readLine().trimmed() == line)
                    return true;
                continue;
            }
            if (!child.waitForReadyRead(50) && child.state() == QProcess::NotRunning)
                return false;
        }
        return false;
    }

    static bool waitForSaves(QProcess &child, Announced &announced, int count, int timeoutMs)
    {
        QElapsedTimer timer;
        timer.start();
        const int target = announced.savesThisRun + count;
        while (announced.savesThisRun < target) {
            if (timer.elapsed() > timeoutMs)
                return false;
            if (!child.canReadLine() && !child.waitForReadyRead(50) && child.state() == QProcess::NotRunning)
                return false;
            takeLines(child, announced);
        }
        return true;
    }

    static void spinFor(std::chrono::microseconds delay)
    {
        const auto until = std::chrono::steady_clock::now() + delay;
        while (std::chrono::steady_clock::now() < until) {
        }
    }

    static qint64 count(Database &db, const QString &sql)
    {
        return db.firstRow(sql)->at(0).toLongLong();
    }

private slots:
    void durableSettings_data()
    {
        QTest::addColumn<QString>("pragma");
        QTest::addColumn<QString>("expected");
        // EXTRA: the directory is synced after the journal is deleted, so a
        // save that has returned survives a power failure.
        QTest::newRow("synchronous EXTRA") << QStringLiteral("synchronous") << QStringLiteral("3");
        // The rollback journal, deleted at each commit: the database stays one file.
        QTest::newRow("journal deleted at commit") << QStringLiteral("journal_mode") << QStringLiteral("delete");
    }
    void durableSettings()
    {
        QFETCH(QString, pragma);
        QFETCH(QString, expected);
        TestEnvironment env;
        ScriptedMessageBoxes boxes;
        TDM dm(boxes);
        QVERIFY(dm.OtworzTabele());
        QCOMPARE(dm.database().firstRow(QStringLiteral("PRAGMA ") + pragma)->at(0).toString(), expected);

        // A database being made by the installer is written the same way.
        QTemporaryDir fresh;
        Database created;
        created.create(fresh.path());
        QCOMPARE(created.firstRow(QStringLiteral("PRAGMA ") + pragma)->at(0).toString(), expected);
    }

    void killedWhileSaving_data()
    {
        QTest::addColumn<KillPoint>("killPoint");
        QTest::addColumn<int>("kills");
        // Kills that must catch the header of the file already written while
        // the pages the save adds are not yet: a sound database that looks cut.
        QTest::addColumn<int>("headersAheadAtLeast");
        QTest::newRow("after a random delay") << KillPoint::AfterDelay << 120 << 0;
        QTest::newRow("as the first page is written") << KillPoint::FirstPageWritten << 120 << 1;
    }
    void killedWhileSaving()
    {
        QFETCH(KillPoint, killPoint);
        QFETCH(int, kills);
        QFETCH(int, headersAheadAtLeast);
        TestEnvironment env;
        const QString file = env.databaseFile();
        const QString journal = file + QStringLiteral("-journal");
        const QString lock = file + QStringLiteral(".lock");
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        qInfo("seed %u", seed);

        Announced announced;
        int hotJournals = 0;
        int headersAhead = 0;
        for (int kill = 0; kill < kills; ++kill) {
            const QString context = QStringLiteral("kill %1, seed %2").arg(kill).arg(seed);
            QProcess child;
            child.start(QStringLiteral(CRASH_WRITER), {env.root(), QStringLiteral("zapis"), QString::number(random.generate())});
            QVERIFY2(child.waitForStarted(10000), qPrintable(context));
            QVERIFY2(waitForLine(child, "otwarta", 10000),
                     qPrintable(context + QLatin1Char(' ') + QString::fromUtf8(child.readAllStandardError())));

            announced.savesThisRun = 0;
            QVERIFY2(waitForSaves(child, announced, int(random.bounded(3)), 10000),
                     qPrintable(context + QLatin1Char(' ') + QString::fromUtf8(child.readAllStandardError())));
            if (killPoint == KillPoint::AfterDelay) {
                spinFor(std::chrono::microseconds(random.bounded(40000)));
            } else {
                const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY);
                QVERIFY2(fd >= 0, qPrintable(context));
                const quint32 before = readHeader(fd).changeCounter;
                QElapsedTimer waited;
                waited.start();
                while (readHeader(fd).changeCounter == before && waited.elapsed() < 3000) {
                }
                ::close(fd);
                spinFor(std::chrono::microseconds(random.bounded(20)));
            }
            ::kill(pid_t(child.processId()), SIGKILL);
            QVERIFY2(child.waitForFinished(10000), qPrintable(context));
            // Killed, not ended by a failed save of its own.
            QVERIFY2(child.exitStatus() == QProcess::CrashExit,
                     qPrintable(context + QLatin1Char(' ') + QString::fromUtf8(child.readAllStandardError())));
            takeLines(child, announced);
            // The killed copy's lock stays behind; opening below must take it over.
            QVERIFY2(QFileInfo::exists(lock), qPrintable(context));

            // What the killed save left behind, before anything reads the file.
            QString left;
            if (QFileInfo(journal).size() > 0) {
                ++hotJournals;
                left += QStringLiteral(", hot journal");
            }
            {
                const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY);
                const Header h = readHeader(fd);
                ::close(fd);
                const qint64 size = QFileInfo(file).size();
                if (h.pageSize > 0 && (size % h.pageSize != 0 || h.pageCount * h.pageSize > size)) {
                    ++headersAhead;
                    left += QStringLiteral(", header ahead of the file");
                }
            }
            const QString state = context + left;

            ScriptedMessageBoxes boxes;
            {
                TDM dm(boxes);
                QVERIFY2(dm.OtworzTabele(), qPrintable(state + QLatin1Char(' ') + boxes.texts().join(QLatin1Char('\n'))));
                QVERIFY2(boxes.shown().isEmpty(), qPrintable(state));
                Database &db = dm.database();
                QCOMPARE(db.firstRow(QStringLiteral("PRAGMA quick_check"))->at(0).toString(), QStringLiteral("ok"));

                const QList<std::pair<const char *, QString>> halfWritten{
                    {"application without exactly one entry record",
                     QStringLiteral("SELECT COUNT(*) FROM VZMy v WHERE (SELECT COUNT(*) FROM VZMw3 w WHERE w.VzmId = v.VzmId) <> 1")},
                    {"application without all its invoices",
                     QStringLiteral("SELECT COUNT(*) FROM VZMy v WHERE (SELECT COUNT(*) FROM Faktury f WHERE f.VzmId = v.VzmId) <> v.Faktur")},
                    {"invoice without its amount line",
                     QStringLiteral("SELECT COUNT(*) FROM Faktury f WHERE (SELECT COUNT(*) FROM Kwoty k WHERE k.FaktId = f.FaktId) <> 1")},
                    {"entry record without its application",
                     QStringLiteral("SELECT COUNT(*) FROM VZMw3 WHERE VzmId NOT IN (SELECT VzmId FROM VZMy)")},
                    {"invoice without its application",
                     QStringLiteral("SELECT COUNT(*) FROM Faktury WHERE VzmId NOT IN (SELECT VzmId FROM VZMy)")},
                    {"amount line without its invoice",
                     QStringLiteral("SELECT COUNT(*) FROM Kwoty WHERE FaktId NOT IN (SELECT FaktId FROM Faktury)")},
                    {"notes cut short",
                     QStringLiteral("SELECT COUNT(*) FROM VZMw3 WHERE length(P65) IS NOT P59")},
                };
                for (const auto &[what, sql] : halfWritten)
                    QVERIFY2(count(db, sql) == 0, qPrintable(state + QStringLiteral(": ") + QLatin1String(what)));

                QSet<int> present;
                for (const SqlRow &row : db.run(QStringLiteral("SELECT VzmId FROM VZMy")).rows)
                    present.insert(row[0].toInt());
                for (int id : std::as_const(announced.saved))
                    QVERIFY2(present.contains(id) || announced.deleting.contains(id),
                             qPrintable(state + QStringLiteral(": saved application %1 is lost").arg(id)));
                for (int id : std::as_const(announced.deleted))
                    QVERIFY2(!present.contains(id), qPrintable(state + QStringLiteral(": deleted application %1 is back").arg(id)));
            }
            QVERIFY2(!QFileInfo::exists(lock), qPrintable(state));
        }
        qInfo("%d kills, %d saves announced, %d hot journals, %d headers ahead of the file", kills,
              int(announced.saved.size()), hotJournals, headersAhead);
        // The kills did land in the middle of saves.
        QVERIFY(hotJournals >= kills / 4);
        QVERIFY(announced.saved.size() >= kills / 2);
        QVERIFY(headersAhead >= headersAheadAtLeast);
    }
};

QTEST_MAIN(TestCrashRecovery)
#include "tst_crash_recovery.moc"
