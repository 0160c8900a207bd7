// The database directory that cannot be written, at start or during a run,
// and a disk that fills up during a save: the user is told in Polish which
// table could not be written, the window keeps what was typed, and nothing
// is half-written; once the cause is gone, the same save succeeds.

#include "data/database.h"
#include "data/dataerror.h"
#include "data/tdm.h"
#include "support/formdata.h"
#include "support/testsupport.h"
#include "support/widgettest.h"
#include "taxpayers/podatnikfrm.h"
#include "vzm/formmodel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

enum class Przeszkoda { PelnyDysk, KatalogTylkoDoOdczytu };

QByteArray skrot(const QString &plik)
{
    QFile f(plik);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

QStringList wpisy(const QString &katalog)
{
    return QDir(katalog).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
}

// A directory or file no one may write to, for as long as the object lives:
// immutable for the superuser (who writes regardless of rights), without
// write rights for anyone else.
class BezZapisu
{
public:
    explicit BezZapisu(QString sciezka) : m_sciezka(std::move(sciezka)) {}
    ~BezZapisu() { zdejmij(); }
    bool naloz()
    {
        m_nalozone = geteuid() == 0 ? QProcess::execute(u"chattr"_s, {u"+i"_s, m_sciezka}) == 0
                                     : QFile::setPermissions(m_sciezka, QFile::permissions(m_sciezka)
                                                                            & ~(QFileDevice::WriteOwner
                                                                                | QFileDevice::WriteUser
                                                                                | QFileDevice::WriteGroup
                                                                                | QFileDevice::WriteOther));
        return m_nalozone;
    }
    void zdejmij()
    {
        if (!m_nalozone)
            return;
        m_nalozone = false;
        if (geteuid() == 0)
            QProcess::execute(u"chattr"_s, {u"-i"_s, m_sciezka});
        else
            QFile::setPermissions(m_sciezka, QFile::permissions(m_sciezka) | QFileDevice::WriteOwner);
    }

private:
    QString m_sciezka;
    bool m_nalozone = false;
};

// What the test counted, printed at the end.
struct Liczniki
{
    int proby = 0;
    int odmowyZKomunikatem = 0;
    int zapisanePotem = 0;
};
Liczniki liczniki;

} // namespace

class TestBledyZapisu : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<BezZapisu> zakaz;
    qint64 stron = 0;

    // Fills every page of the database file and forbids it to grow, so the
    // next write that needs a page fails as on a full disk. The fillers are
    // taxpayers of their own, in the rows compared before and after.
    void zapelnijDysk()
    {
        Database &baza = db->dm.database();
        baza.run(u"PRAGMA synchronous = OFF"_s);
        stron = baza.firstRow(u"PRAGMA page_count"_s)->at(0).toLongLong();
        baza.run(u"PRAGMA max_page_count = %1"_s.arg(stron));
        int dlugosc = 3000;
        for (;;) {
            try {
                baza.run(u"INSERT INTO Podatnik (Nazwisko, Imie, Urzad) VALUES ('Zapas', '', ?)"_s, {},
                         {QString(dlugosc, u'x')});
            } catch (const DataError &) {
                if (dlugosc == 0)
                    break;
                dlugosc /= 2;
            }
        }
        baza.run(u"PRAGMA synchronous = EXTRA"_s);
        baza.noteWrite(u"Podatnik"_s, nullptr);
    }
    void usunPrzeszkode(Przeszkoda p)
    {
        if (p == Przeszkoda::PelnyDysk)
            db->dm.database().run(u"PRAGMA max_page_count = 1073741823"_s);
        else
            zakaz->zdejmij();
    }
    bool postaw(Przeszkoda p)
    {
        if (p == Przeszkoda::PelnyDysk) {
            zapelnijDysk();
            return true;
        }
        zakaz = std::make_unique<BezZapisu>(db->env.databaseDirectory());
        return zakaz->naloz();
    }
    QList<QList<SqlRow>> stan()
    {
        return {db->storedRows(u"Podatnik"_s), db->storedRows(u"VZMy"_s), db->storedRows(u"VZMw3"_s)};
    }
    static QString powodPoPolsku(Przeszkoda p)
    {
        return p == Przeszkoda::PelnyDysk ? u"brak miejsca na dysku"_s : u"brak prawa zapisu"_s;
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDatabase>();
    }
    void cleanup()
    {
        zakaz.reset();
        db.reset();
    }

    // At start, a database directory no one may write in, or a database file
    // no one may write to (its directory may be written): the program says
    // so, naming the file, opens nothing and leaves the file and its
    // directory as they were; once the cause is gone it opens.
    void readOnlyAtStart_data()
    {
        QTest::addColumn<bool>("katalog");
        QTest::addColumn<QString>("komunikat");
        QTest::newRow("read-only directory") << true << u"Nie można utworzyć pliku blokady bazy danych"_s;
        QTest::newRow("read-only file") << false << u"Plik bazy danych jest tylko do odczytu"_s;
    }
    void readOnlyAtStart()
    {
        QFETCH(bool, katalog);
        QFETCH(QString, komunikat);
        db.reset();
        TestEnvironment env;
        const QString plik = env.databaseFile();
        const QByteArray przed = skrot(plik);
        const QStringList wpisyPrzed = wpisy(env.databaseDirectory());
        BezZapisu zakaz(katalog ? env.databaseDirectory() : plik);
        if (!zakaz.naloz())
            QSKIP("the place cannot be made read-only here");
        ScriptedMessageBoxes boxes;
        TDM dm(boxes);
        ++liczniki.proby;
        QVERIFY(!dm.OtworzTabele());
        QCOMPARE(boxes.texts().size(), 1);
        const QString tekst = boxes.texts().first();
        QVERIFY2(tekst.startsWith(komunikat) && tekst.contains(QDir::toNativeSeparators(plik)), qPrintable(tekst));
        ++liczniki.odmowyZKomunikatem;
        QVERIFY(!dm.Podatnik.isOpen());
        zakaz.zdejmij();
        QCOMPARE(skrot(plik), przed);
        QCOMPARE(wpisy(env.databaseDirectory()), wpisyPrzed);
        boxes.clear();
        QVERIFY(dm.OtworzTabele());
        QVERIFY(boxes.texts().isEmpty());
    }

    // The taxpayer editor, adding and correcting, on a full disk and in a
    // directory made read-only while the program runs.
    void taxpayerEditorKeepsTheEntries_data()
    {
        QTest::addColumn<Przeszkoda>("przeszkoda");
        QTest::addColumn<bool>("dodawanie");
        QTest::newRow("full disk, adding") << Przeszkoda::PelnyDysk << true;
        QTest::newRow("full disk, correcting") << Przeszkoda::PelnyDysk << false;
        QTest::newRow("read-only directory, adding") << Przeszkoda::KatalogTylkoDoOdczytu << true;
        QTest::newRow("read-only directory, correcting") << Przeszkoda::KatalogTylkoDoOdczytu << false;
    }
    void taxpayerEditorKeepsTheEntries()
    {
        QFETCH(Przeszkoda, przeszkoda);
        QFETCH(bool, dodawanie);
        db->addTaxpayer(pelnyPodatnik());
        TPodatnikFrm frm(db->dm);
        if (!postaw(przeszkoda))
            QSKIP("the directory cannot be made read-only here");
        const auto przed = stan();
        if (dodawanie) {
            frm.PrzygotujNowyPodatnik();
        } else {
            db->dm.Podatnik.first();
            frm.PrzygotujPoprawePodatnika();
        }
        frm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));
        const QString nazwisko = u"Wiśniewska-Żółtowska "_s.repeated(3).left(50);
        const QString dokument = u"dowód osobisty ABC123456 wydany przez Prezydenta Miasta Krakowa "_s.repeated(2).left(100);
        childNamed<QLineEdit>(frm, u"EdNazwisko"_s)->setText(nazwisko);
        childNamed<QLineEdit>(frm, u"EdImie"_s)->setText(u"Małgorzata"_s);
        childNamed<QLineEdit>(frm, u"EdDokument"_s)->setText(dokument);
        childNamed<QLineEdit>(frm, u"EdUrzad"_s)->setText(dokument);
        ++liczniki.proby;
        QTest::mouseClick(childNamed<QPushButton>(frm, u"PostBtn"_s), Qt::LeftButton);

        QCOMPARE(db->boxes.texts().size(), 1);
        const QString tekst = db->boxes.texts().first();
        QVERIFY2(tekst.startsWith(u"Nie udało się zapisać danych podatnika:\r"_s), qPrintable(tekst));
        QVERIFY2(tekst.contains(u"Podatnik.DB"_s), qPrintable(tekst));
        QVERIFY2(tekst.contains(powodPoPolsku(przeszkoda)), qPrintable(tekst));
        ++liczniki.odmowyZKomunikatem;
        QVERIFY(frm.isVisible());
        QCOMPARE(childNamed<QLineEdit>(frm, u"EdNazwisko"_s)->text(), nazwisko);
        QCOMPARE(childNamed<QLineEdit>(frm, u"EdDokument"_s)->text(), dokument);
        QVERIFY(!db->dm.Podatnik.isEditing());
        usunPrzeszkode(przeszkoda);
        QCOMPARE(stan(), przed);

        // The same window saves once the cause is gone.
        db->boxes.clear();
        QTest::mouseClick(childNamed<QPushButton>(frm, u"PostBtn"_s), Qt::LeftButton);
        QVERIFY(db->boxes.texts().isEmpty());
        QVERIFY(!frm.isVisible());
        QCOMPARE(db->dm.Podatnik.field(u"Nazwisko"_s).asString(), nazwisko);
        QCOMPARE(db->storedRows(u"Podatnik"_s).size(), przed[0].size() + (dodawanie ? 1 : 0));
        ++liczniki.zapisanePotem;
    }

    // An application is written to three tables in one transaction: a
    // failure writes none of them, names the table, and the model keeps
    // everything entered. The long notes need pages of their own, so on a
    // full disk it is the last of the three tables that fails.
    void applicationIsWrittenWholeOrNotAtAll_data()
    {
        QTest::addColumn<Przeszkoda>("przeszkoda");
        QTest::newRow("full disk") << Przeszkoda::PelnyDysk;
        QTest::newRow("read-only directory") << Przeszkoda::KatalogTylkoDoOdczytu;
    }
    void applicationIsWrittenWholeOrNotAtAll()
    {
        QFETCH(Przeszkoda, przeszkoda);
        const int podatId = db->addTaxpayer(pelnyPodatnik());
        TVzm_3 vzm(db->dm);
        QVERIFY(vzm.Wczytaj(podatId, 0));
        if (!postaw(przeszkoda))
            QSKIP("the directory cannot be made read-only here");
        const auto przed = stan();
        const QStringList uwagi{u"Remont łazienki i kuchni, wymiana instalacji elektrycznej w całym mieszkaniu."_s.repeated(150)};
        vzm.P65 = uwagi;
        vzm.Urzad = u"Urząd Skarbowy Kraków-Nowa Huta"_s;
        ++liczniki.proby;
        QString tekst;
        bool zapisane = false;
        try {
            zapisane = vzm.Zapisz();
        } catch (const DataError &e) {
            tekst = e.message();
        }
        QVERIFY2(!tekst.isEmpty(), qPrintable(u"the save did not fail: %1 %2"_s.arg(zapisane).arg(db->boxes.texts().join(u' '))));
        const QStringList tabele{u"Podatnik.DB"_s, u"VZMy.DB"_s, u"VZMw3.db"_s};
        QVERIFY2(std::any_of(tabele.begin(), tabele.end(), [&](const QString &t) { return tekst.contains(t); }),
                 qPrintable(tekst));
        QVERIFY2(tekst.contains(powodPoPolsku(przeszkoda)), qPrintable(tekst));
        ++liczniki.odmowyZKomunikatem;
        qInfo("%s: %s", przeszkoda == Przeszkoda::PelnyDysk ? "full disk" : "read-only directory",
              qPrintable(tekst.replace(u'\r', u' ')));
        usunPrzeszkode(przeszkoda);
        QCOMPARE(stan(), przed);
        QCOMPARE(vzm.P65, uwagi);
        QCOMPARE(vzm.Urzad, u"Urząd Skarbowy Kraków-Nowa Huta"_s);

        QVERIFY(vzm.Zapisz());
        TVzm_3 odczytany(db->dm);
        QVERIFY(odczytany.Wczytaj(podatId, vzm.VzmId()));
        QCOMPARE(odczytany.P65, uwagi);
        QCOMPARE(odczytany.Urzad, vzm.Urzad);
        ++liczniki.zapisanePotem;
    }

    void cleanupTestCase()
    {
        qInfo("faults: %d saves or starts tried, %d refused with a Polish message and nothing written, "
              "%d saved once the cause was gone",
              liczniki.proby, liczniki.odmowyZKomunikatem, liczniki.zapisanePotem);
    }
};

QTEST_MAIN(TestBledyZapisu)
#include "tst_bledy_zapisu.moc"
