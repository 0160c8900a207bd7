// The settings file and the program's registry in places that cannot be
// written: the user is told once in the run, with the file's name, and the
// program goes on.

#include "app/mainform.h"
#include "data/tdm.h"
#include "invoices/windows/materialyfrm.h"
#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTest>

#include <memory>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Makes a directory unwritable for the rest of a test: immutable for the
// superuser (who writes in any directory regardless of its rights), without
// the write right for anyone else. Undone when the object goes.
class TylkoOdczyt
{
public:
    explicit TylkoOdczyt(QStringList sciezki) : m_sciezki(std::move(sciezki)) {}
    ~TylkoOdczyt()
    {
        for (const QString &s : std::as_const(m_sciezki)) {
            if (geteuid() == 0)
                QProcess::execute(u"chattr"_s, {u"-i"_s, s});
            else
                QFile::setPermissions(s, QFile::permissions(s) | QFileDevice::WriteOwner);
        }
    }
    bool ustaw()
    {
        for (const QString &s : std::as_const(m_sciezki)) {
            const bool ok = geteuid() == 0
                ? QProcess::execute(u"chattr"_s, {u"+i"_s, s}) == 0
                : QFile::setPermissions(s, QFile::permissions(s) & ~(QFileDevice::WriteOwner | QFileDevice::WriteUser
                                                                     | QFileDevice::WriteGroup | QFileDevice::WriteOther));
            if (!ok)
                return false;
        }
        return true;
    }

private:
    QStringList m_sciezki;
};

QString tekstBledu(const QString &plik)
{
    return u"Nie udało się zapisać ustawień programu w pliku %1.\r"
           u"Program działa dalej, ale położenie okien i ustawienia wydruku nie zostaną zapamiętane."_s
        .arg(QDir::toNativeSeparators(plik));
}

} // namespace

class TestUstawieniaTylkoOdczyt : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TMainForm> form;

    QString katalogUstawien() const { return env->root() + u"/config"_s; }
    QString plikUstawien() const { return katalogUstawien() + u"/Morvik_Vat5.ini"_s; }
    QString katalogRejestru() const { return env->root() + u"/user/Morvik"_s; }
    QString plikRejestru() const { return katalogRejestru() + u"/Tarlen.conf"_s; }

    void otworz()
    {
        form = std::make_unique<TMainForm>(*dm, plikUstawien());
        QVERIFY(dm->OtworzTabele());
        form->UtworzOkna();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    // Opens the list of building materials and closes it: the window stores
    // its place in the registry.
    void otworzIZamknijMaterialy()
    {
        bool zamkniete = false;
        onNextModal<TMaterialyFrm>([&zamkniete](TMaterialyFrm &okno) {
            okno.move(okno.pos() + QPoint(7, 5));
            okno.reject();
            zamkniete = true;
        });
        form->findChild<QAction *>(u"MaterialyItem"_s)->trigger();
        QVERIFY(zamkniete);
    }

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        boxes.clear();
        dm = std::make_unique<TDM>(boxes);
        QVERIFY(QDir().mkpath(katalogUstawien()));
    }
    void cleanup()
    {
        form.reset();
        dm.reset();
        env.reset();
    }

    // Writable places: nothing is said, both stores are written.
    void writablePlacesSayNothing()
    {
        otworz();
        otworzIZamknijMaterialy();
        form.reset();
        QVERIFY(boxes.texts().isEmpty());
        QVERIFY(QFile::exists(plikUstawien()));
        QSettings rejestr(plikRejestru(), QSettings::IniFormat);
        QVERIFY(rejestr.contains(u"5/MaterialyFrm/Left"_s));
    }

    // The settings file's directory is read-only: at the end of the run the
    // user is told once, with the file's name; the old file stays as it was.
    void settingsFileCannotBeWritten()
    {
        {
            QFile stary(plikUstawien());
            QVERIFY(stary.open(QIODevice::WriteOnly));
            stary.write("[Form]\nTop=11\nLeft=12\nWidth=600\nHeight=500\n");
        }
        TylkoOdczyt zakaz({katalogUstawien()});
        if (!zakaz.ustaw())
            QSKIP("the directory cannot be made read-only here");
        otworz();
        QCOMPARE(form->pos(), QPoint(12, 11));
        form->move(100, 90);
        QVERIFY(boxes.texts().isEmpty());
        form.reset();
        QCOMPARE(boxes.texts(), QStringList{tekstBledu(plikUstawien())});
        QCOMPARE(boxes.shown().first().title, u"Uwaga"_s);
        QFile stary(plikUstawien());
        QVERIFY(stary.open(QIODevice::ReadOnly));
        QCOMPARE(stary.readAll(), QByteArray("[Form]\nTop=11\nLeft=12\nWidth=600\nHeight=500\n"));
        QCOMPARE(QDir(katalogUstawien()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList{u"Morvik_Vat5.ini"_s});
    }

    // The registry cannot be written: the first window that stores its
    // place tells the user; neither the next ones nor the settings file at
    // the end say it again, and the program goes on working.
    void registryCannotBeWrittenToldOnce()
    {
        otworz();
        QVERIFY(QDir().mkpath(katalogRejestru()));
        TylkoOdczyt zakaz({katalogRejestru(), katalogUstawien()});
        if (!zakaz.ustaw())
            QSKIP("the directory cannot be made read-only here");
        otworzIZamknijMaterialy();
        QCOMPARE(boxes.texts(), QStringList{tekstBledu(plikRejestru())});
        otworzIZamknijMaterialy();
        otworzIZamknijMaterialy();
        QCOMPARE(boxes.shown().size(), 1);

        // The program goes on: a taxpayer is added and shown in the register.
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Nowak"_s}, {u"Imie"_s, u"Jan"_s}});
        QVERIFY(childNamed<QWidget>(*form, u"EditBtn"_s)->isEnabled());

        form.reset();
        QCOMPARE(boxes.shown().size(), 1);
        QSettings rejestr(plikRejestru(), QSettings::IniFormat);
        QVERIFY(!rejestr.contains(u"5/MaterialyFrm/Left"_s));
        QVERIFY(!QFile::exists(plikUstawien()));
        qInfo("read-only settings: %lld message(s) in a run with three failed window saves and a failed settings file",
              qlonglong(boxes.shown().size()));
    }
};

QTEST_MAIN(TestUstawieniaTylkoOdczyt)
#include "tst_ustawienia_tylko_odczyt.moc"
