// The database holds names, addresses, PESEL and NIP numbers: its folder,
// the file, its journal and lock file, the folder of copies, every copy and
// every temporary file are for their owner alone, whether made by the
// installer, by the program, or by an earlier version (tightened at start).
// As the superuser a child that drops to the user "nobody" tries to read
// them; as anyone else the rights themselves are checked.

#include "core/privatefiles.h"
#include "data/database.h"
#include "data/kopiezapasowe.h"
#include "data/temporaryfiles.h"
#include "data/tdm.h"
#include "support/testsupport.h"

#include <QDirIterator>
#include <QTest>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The paths among `paths` that a second local user could open for reading:
// a child drops to "nobody" and tries each. Empty optional when this process
// cannot drop privileges (it is not the superuser).
std::optional<QStringList> czytelneDlaInnego(const QStringList &paths)
{
    if (geteuid() != 0)
        return std::nullopt;
    const passwd *pw = getpwnam("nobody");
    const uid_t uid = pw ? pw->pw_uid : 65534;
    const gid_t gid = pw ? pw->pw_gid : 65534;
    QList<QByteArray> native;
    for (const QString &p : paths)
        native << QFile::encodeName(p);
    int pipefd[2];
    if (pipe(pipefd) != 0)
        return std::nullopt;
    const pid_t pid = fork();
    if (pid == 0) {
        ::close(pipefd[0]);
        if (setgroups(0, nullptr) != 0 || setgid(gid) != 0 || setuid(uid) != 0)
            _exit(2);
        for (int i = 0; i < native.size(); ++i) {
            const int fd = ::open(native[i].constData(), O_RDONLY);
            if (fd >= 0) {
                ::write(pipefd[1], &i, sizeof i);
                ::close(fd);
            }
        }
        _exit(0);
    }
    ::close(pipefd[1]);
    QStringList readable;
    int i = 0;
    while (::read(pipefd[0], &i, sizeof i) == sizeof i)
        readable << paths.value(i);
    ::close(pipefd[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return readable;
}

// Every file and folder below `folder`, the folder itself first.
QStringList wszystkie(const QString &folder)
{
    QStringList paths{folder};
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << it.next();
    return paths;
}

// Those open to the group or to others.
QStringList otwarte(const QStringList &paths)
{
    QStringList open;
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther
                                      | QFile::WriteOther | QFile::ExeOther;
    for (const QString &p : paths)
        if (QFile::permissions(p) & others)
            open << p;
    return open;
}

void rozluznij(const QString &path)
{
    const bool dir = QFileInfo(path).isDir();
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther
                                    | (dir ? QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther : QFile::Permissions()));
}

} // namespace

class TestDaneOsobowe : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // As the tests' umask leaves it; the program itself narrows it.
        ::umask(022);
    }

    void niktInnyNieCzyta_data()
    {
        QTest::addColumn<QString>("skad");
        QTest::newRow("baza z instalatora") << u"instalator"_s;
        QTest::newRow("baza z wcześniejszej wersji, otwarta przez program") << u"wczesniejsza"_s;
        QTest::newRow("w trakcie zapisu: dziennik i blokada") << u"zapis"_s;
        QTest::newRow("kopie automatyczne i z menu") << u"kopie"_s;
        QTest::newRow("plik tymczasowy kopii") << u"tymczasowy"_s;
    }
    void niktInnyNieCzyta()
    {
        QFETCH(QString, skad);
        TestEnvironment env;
        // The test's own folder lets others in, so the database folder is
        // what keeps them out.
        rozluznij(env.root());
        const QString baza = env.databaseDirectory();
        ScriptedMessageBoxes boxes;
        TDM dm(boxes);
        std::optional<Database::Transaction> zapis;
        QStringList sprawdzane;
        if (skad == u"wczesniejsza") {
            QVERIFY(QDir().mkpath(KopieZapasowe::KatalogKopii(baza)));
            QFile stara(QDir(KopieZapasowe::KatalogKopii(baza)).filePath(u"tarlen5-2020-01-01_10-00-00.sqlite"_s));
            QVERIFY(stara.open(QIODevice::WriteOnly));
            stara.close();
            for (const QString &p : wszystkie(baza))
                rozluznij(p);
            QVERIFY(!otwarte(wszystkie(baza)).isEmpty());
        }
        if (skad != u"instalator")
            QVERIFY(dm.OtworzTabele());
        if (skad == u"zapis") {
            zapis.emplace(dm.database());
            addTaxpayer(dm, {{u"Nazwisko"_s, u"Kowalski"_s}, {u"Pesel"_s, u"44051401359"_s}});
            QVERIFY(QFileInfo::exists(Database::journalPath(env.databaseFile())));
            QVERIFY(QFileInfo::exists(Database::lockPath(env.databaseFile())));
        } else if (skad == u"kopie") {
            addTaxpayer(dm, {{u"Nazwisko"_s, u"Kowalski"_s}});
            QVERIFY(KopieZapasowe(dm).KopiaNaZakonczenie());
            const QString wlasna = env.root() + u"/moja kopia.sqlite"_s;
            QVERIFY(KopieZapasowe(dm).Kopia(wlasna));
            sprawdzane << wlasna;
        } else if (skad == u"tymczasowy") {
            const QString obok = env.root() + u"/kopia.sqlite"_s;
            sprawdzane << TemporaryFiles::create(env.databaseFile(), obok) << TemporaryFiles::registerOf(env.databaseFile());
        }
        sprawdzane = wszystkie(baza) + sprawdzane;
        QVERIFY(sprawdzane.contains(env.databaseFile()));

        QCOMPARE(otwarte(sprawdzane), QStringList());
        const auto czytelne = czytelneDlaInnego(sprawdzane);
        if (!czytelne) {
            qInfo("Nie jako administrator: drugi użytkownik nie próbował czytać, sprawdzono same prawa.");
            return;
        }
        QCOMPARE(*czytelne, QStringList());
        // the child could read at all: a file of others is open to it
        QCOMPARE(*czytelneDlaInnego({u"/etc/passwd"_s}), QStringList{u"/etc/passwd"_s});
    }

    // The tightening of an earlier version's database is said once, in the
    // README, not in a box.
    void zaostrzenieBezKomunikatu()
    {
        TestEnvironment env;
        rozluznij(env.databaseFile());
        rozluznij(env.databaseDirectory());
        ScriptedMessageBoxes boxes;
        TDM dm(boxes);
        QVERIFY(dm.OtworzTabele());
        QCOMPARE(boxes.texts(), QStringList());
        QCOMPARE(otwarte({env.databaseDirectory(), env.databaseFile()}), QStringList());
    }

    // Whatever the program creates once it has narrowed the umask.
    void nowePlikiProgramu()
    {
        QTemporaryDir dir;
        const mode_t poprzednia = ::umask(022);
        PrivateFiles::restrictNewFiles();
        QFile f(dir.filePath(u"nowy.pdf"_s));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(QDir(dir.path()).mkdir(u"folder"_s));
        ::umask(poprzednia);
        QCOMPARE(otwarte({f.fileName(), dir.filePath(u"folder"_s)}), QStringList());
    }
};

QTEST_MAIN(TestDaneOsobowe)
#include "tst_dane_osobowe.moc"
