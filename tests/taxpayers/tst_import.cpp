extern "C" {
#include <paradox.h>
}

#include "taxpayers/importpoprzedniej.h"
#include "taxpayers/wczytajfirmyfrm.h"
#include "taxpayers/wczytajpodatfrm.h"

#include "core/registry.h"
#include "data/tdm.h"
#include "support/paradoxfixture.h"
#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// Stands in for the directory chooser: hands out the given answers in order
// (an empty one is a cancel) and counts how often it was asked.
struct WyborTestowy
{
    QStringList odpowiedzi;
    int pytania = 0;

    WyborKatalogu operator()()
    {
        return [this](QWidget *, const QString &) {
            ++pytania;
            return odpowiedzi.isEmpty() ? QString() : odpowiedzi.takeFirst();
        };
    }
};

// Carrying taxpayers and sellers over from the previous version: the
// previous tables are written here with pxlib (code page 1250), the current
// ones are a database made by the installer.
class TestImport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_cwd;
    std::unique_ptr<TestDatabase> db;

    QString katalog(const QString &name) const { return m_dir.filePath(name); }
    static QString helper() { return QStringLiteral(TARLEN_PXREAD); }

    static void writeTable(const QString &path, const QList<ParadoxColumn> &columns, const QList<QVariantList> &rows)
    {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(writeParadoxTable(path, columns, rows));
    }

    static QList<ParadoxColumn> podatnikColumns() { return previousPodatnikColumns(); }

    // A full record of Żak Łucja: every column holds its own value.
    static QVariantList pelnyRekord()
    {
        return {1, u"Żak"_s, u"Łucja"_s, u"Urząd Skarbowy w Łodzi"_s, u"725-000-11-22"_s, u"80010112345"_s,
                u"ABC 123456"_s, u"Polska"_s, u"łódzkie"_s, u"Łódź"_s, u"Łódź-Śródmieście"_s,
                u"Piotrkowska"_s, u"12a"_s, u"3"_s, u"Łódź"_s, u"90-001"_s, u"Łódź 1"_s,
                u"725-000-33-44"_s, u"81020254321"_s, u"Żak"_s, u"Mieczysław"_s, u"DEF 654321"_s,
                u"Polska"_s, u"mazowieckie"_s, u"Radom"_s, u"Jedlińsk"_s, u"Leśna"_s, u"7"_s, u"1"_s,
                u"Jedlińsk"_s, u"26-660"_s, u"Jedlińsk"_s};
    }

    static QVariantList osoba(int id, const QString &nazwisko, const QString &imie)
    {
        return {id, nazwisko.isEmpty() ? QVariant() : QVariant(nazwisko), imie.isEmpty() ? QVariant() : QVariant(imie)};
    }

    // The previous version's path as the program reads it; "-" when none is recorded.
    static QString zapamietanaSciezka() { return readRegistryValue(ProgramVersion - 1, u"Sciezka").value_or(u"-"_s); }
    // "-": nothing recorded; otherwise a directory under the test's own.
    void zapiszSciezke(const QString &podkatalog)
    {
        if (podkatalog != u"-"_s)
            QVERIFY(writeRegistryValue(ProgramVersion - 1, u"Sciezka", katalog(podkatalog)));
    }
    QString oczekiwanaSciezka(const QString &podkatalog) const
    {
        return podkatalog == u"-"_s ? podkatalog : katalog(podkatalog);
    }

    // With TARLEN_SHOTS naming a directory, a picture of the window there:
    // taken from the screen under a real display (xvfb-run with
    // QT_QPA_PLATFORM=xcb), drawn by the window under offscreen.
    static void zrzut(QWidget &w, const QString &name)
    {
        const QString dir = qEnvironmentVariable("TARLEN_SHOTS");
        if (dir.isEmpty())
            return;
        QDir().mkpath(dir);
        w.repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        const QPixmap picture = QGuiApplication::platformName() == u"xcb"_s ? w.screen()->grabWindow(w.winId()) : w.grab();
        if (!picture.save(dir + QLatin1Char('/') + name))
            qWarning("no picture %s", qPrintable(name));
    }

    int liczbaPodatnikow() { return int(db->storedRows(u"Podatnik"_s).size()); }
    int liczbaFirm() { return int(db->storedRows(u"Firmy"_s).size()); }
    int idPodatnika(const QString &nazwisko)
    {
        const auto row = db->dm.database().firstRow(u"SELECT PodatId FROM Podatnik WHERE Nazwisko=?"_s, {}, {nazwisko});
        return row ? row->value(0).toInt() : -1;
    }
    void zaznacz(TWczytajPodatFrm &frm, int i)
    {
        QListWidget *lista = frm.EdLista;
        const QRect r = lista->visualItemRect(lista->item(i));
        // The check box lies at the line's left edge.
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 10, r.center().y()));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        writeTable(katalog(u"pelna/Podatnik.DB"_s), podatnikColumns(),
                   {pelnyRekord(), osoba(2, u"Nowak"_s, u"Anna"_s), osoba(3, u"Nowak"_s, u"Anna"_s),
                    osoba(4, {}, {}), osoba(5, u"O\"Hara"_s, u"Scarlett"_s), osoba(6, u"Kowalski"_s, u"Jan"_s),
                    osoba(7, u"Łęcki"_s, {})});
        writeTable(katalog(u"znani/Podatnik.DB"_s), podatnikColumns(),
                   {osoba(1, u"Kowalski"_s, u"Jan"_s), osoba(2, {}, {})});
        const QList<ParadoxColumn> firmy{{"NIP", pxfAlpha, 13}, {"Kod", pxfAlpha, 10}, {"Firma", pxfAlpha, 50}};
        writeTable(katalog(u"firmy/Firmy.DB"_s), firmy,
                   {{u"111-111-11-11"_s, u"ZMIANA"_s, u"Inna nazwa tej samej firmy"_s},
                    {u"222-222-22-22"_s, u"ŁĄKA"_s, u"Łąka Żółta sp. z o.o."_s},
                    {QVariant(), u"BEZNIP"_s, u"Firma bez NIP"_s}});
        writeTable(katalog(u"pusta/Firmy.DB"_s), firmy, {});
        writeTable(katalog(u"mieszane/Firmy.DB"_s), firmy,
                   {{u"555-555-55-55"_s, u"P"_s, u"Piąta"_s}, {u"000-000-00-00"_s, u"Z"_s, u"Zerowa"_s},
                    {u"333-333-33-33"_s, u"T"_s, u"Trzecia"_s}, {u"999-999-99-99"_s, u"D"_s, u"Dziewiąta"_s},
                    {QVariant(), u"B"_s, u"Bez NIP"_s}, {u"333-333-33-33"_s, u"T2"_s, u"Trzecia bis"_s},
                    {u"111-111-11-12"_s, u"J"_s, u"Tuż za stałą"_s}});
        // Names as the previous version's installation may have left them.
        writeTable(katalog(u"male/podatnik.db"_s), podatnikColumns(), {osoba(1, u"Wiśniewska"_s, u"Ewa"_s)});
        writeTable(katalog(u"male/firmy.db"_s), firmy, {{u"333-333-33-33"_s, u"MALE"_s, u"Małe litery"_s}});
        // A name holding "=", beside a plain one.
        writeTable(katalog(u"rowne/Podatnik.DB"_s), podatnikColumns(),
                   {osoba(1, u"Kowalska=Nowak"_s, u"Ewa=Maria"_s), osoba(2, u"Nowak"_s, u"Jan"_s)});
        // Tables without a field the import copies, and damaged ones.
        writeTable(katalog(u"bez klucza/Podatnik.DB"_s), podatnikColumns().mid(1), {{u"Nowak"_s, u"Jan"_s}});
        writeTable(katalog(u"bez kodu/Firmy.DB"_s), {{"NIP", pxfAlpha, 13}, {"Firma", pxfAlpha, 50}},
                   {{u"444-444-44-44"_s, u"Bez kodu"_s}});
        for (const auto &[z, tabela] : {std::pair{u"pelna"_s, u"Podatnik.DB"_s}, std::pair{u"firmy"_s, u"Firmy.DB"_s}}) {
            QFile zdrowa(katalog(z + u'/' + tabela));
            QVERIFY(zdrowa.open(QIODevice::ReadOnly));
            QByteArray bajty = zdrowa.readAll();
            // The terminator of the second field's name lost: the names after it shift.
            bajty[paradoxNameEnd(bajty, 1)] = 'x';
            QVERIFY(QDir().mkpath(katalog(u"uszkodzona"_s)));
            QFile uszkodzona(katalog(u"uszkodzona/"_s + tabela));
            QVERIFY(uszkodzona.open(QIODevice::WriteOnly) && uszkodzona.write(bajty) == bajty.size());
        }
        // The current directory of the tests that leave the previous path unset.
        QVERIFY(QDir().mkpath(katalog(u"biezacy"_s)));
        QVERIFY(QDir().mkpath(katalog(u"bez tabel"_s)));
        m_cwd = QDir::currentPath();
    }

    void init()
    {
        db = std::make_unique<TestDatabase>();
        db->addTaxpayer({{u"Nazwisko"_s, u"Kowalski"_s}, {u"Imie"_s, u"Jan"_s}});
        TestDatabase::addRecord(db->dm.Firmy, {{u"NIP"_s, u"111-111-11-11"_s}, {u"Kod"_s, u"STARA"_s},
                                               {u"Firma"_s, u"Stara nazwa"_s}}, u"NIP"_s);
    }
    void cleanup()
    {
        db.reset();
        QDir::setCurrent(m_cwd);
    }

    void duplicateTestBindsTheNames_data()
    {
        QTest::addColumn<QString>("nazwisko");
        QTest::addColumn<QString>("imie");
        QTest::addColumn<bool>("nowy");
        QTest::newRow("zapisany") << u"Kowalski"_s << u"Jan"_s << false;
        QTest::newRow("inne imię") << u"Kowalski"_s << u"Jacek"_s << true;
        QTest::newRow("inne nazwisko") << u"Nowak"_s << u"Jan"_s << true;
        QTest::newRow("cudzysłów nowy") << u"O\"Hara"_s << u"Scarlett"_s << true;
        QTest::newRow("cudzysłów zapisany") << u"Dą\"b"_s << u"Ewa \"Ewka\""_s << false;
        QTest::newRow("apostrof zapisany") << u"O'Neil"_s << u"Ewa"_s << false;
    }
    void duplicateTestBindsTheNames()
    {
        QFETCH(QString, nazwisko);
        QFETCH(QString, imie);
        QFETCH(bool, nowy);
        db->addTaxpayer({{u"Nazwisko"_s, u"Dą\"b"_s}, {u"Imie"_s, u"Ewa \"Ewka\""_s}});
        db->addTaxpayer({{u"Nazwisko"_s, u"O'Neil"_s}, {u"Imie"_s, u"Ewa"_s}});
        QCOMPARE(ImportPoprzedniej::NieMaPodatnika(db->dm, nazwisko, imie), nowy);
    }

    // The candidates in the order of surname and first name (Ł after L, Ż
    // last), without the stored one and the nameless one; both namesakes.
    void candidatesInNameOrderWithoutDuplicates()
    {
        ImportPoprzedniej imp(db->dm, helper());
        QVERIFY(imp.OtworzPodatnikow(katalog(u"pelna"_s)));
        QStringList kandydaci;
        for (const Kandydat &k : imp.Kandydaci())
            kandydaci << k.tekst + u'|' + QString::number(k.podatId);
        QCOMPARE(kandydaci, QStringList({u"Łęcki |7"_s, u"Nowak Anna|2"_s, u"Nowak Anna|3"_s,
                                         u"O\"Hara Scarlett|5"_s, u"Żak Łucja|1"_s}));
        QVERIFY(db->boxes.texts().isEmpty());
    }

    // The duplicate test runs once for every previous taxpayer: once the
    // previous table is open it must find the name without reading the
    // whole register.
    void duplicateLookupSearchesAnIndex()
    {
        const QString sql = u"EXPLAIN QUERY PLAN SELECT COUNT(*) Licznik FROM Podatnik WHERE Nazwisko=?  AND Imie=?"_s;
        const auto plan = [&] {
            QStringList steps;
            for (const SqlRow &row : db->dm.database().run(sql, {}, {u"Nowak"_s, u"Anna"_s}).rows)
                steps << row.last().toString();
            return steps.join(u"; "_s);
        };
        ImportPoprzedniej imp(db->dm, helper());
        QVERIFY(imp.OtworzPodatnikow(katalog(u"pelna"_s)));
        const QString after = plan();
        QVERIFY2(after.contains(u"SEARCH Podatnik USING"_s) && after.contains(u"Nazwisko"_s), qPrintable(after));
        QVERIFY(ImportPoprzedniej::NieMaPodatnika(db->dm, u"Nowak"_s, u"Anna"_s));
        QVERIFY(!ImportPoprzedniej::NieMaPodatnika(db->dm, u"Kowalski"_s, u"Jan"_s));
    }

    void nothingToImportIsTold_data()
    {
        QTest::addColumn<QString>("podkatalog");
        QTest::addColumn<QStringList>("komunikaty");
        QTest::addColumn<int>("pytania");
        QTest::newRow("wszyscy zapisani") << u"znani"_s << QStringList{ImportPoprzedniej::BrakPozycji} << 0;
        // A table that cannot be read is told once, not followed by "nothing to import".
        QTest::newRow("brak tabeli") << u"brak"_s << QStringList{ImportPoprzedniej::BladPodatnik} << 1;
    }
    void nothingToImportIsTold()
    {
        QFETCH(QString, podkatalog);
        QFETCH(QStringList, komunikaty);
        QFETCH(int, pytania);
        WyborTestowy wybor; // cancels
        TWczytajPodatFrm frm(db->dm, nullptr, katalog(podkatalog), helper());
        frm.WybierzKatalog = wybor();
        QVERIFY(!frm.Przygotuj());
        QCOMPARE(frm.EdLista->count(), 0);
        QCOMPARE(db->boxes.texts(), komunikaty);
        QCOMPARE(wybor.pytania, pytania);
    }

    // The previous path is read from the registry; where it holds no table
    // (the file name in any letter case), the user is asked for the
    // directory, and one whose table could be read is remembered.
    void taxpayerDirectory_data()
    {
        QTest::addColumn<QString>("zapisana");   // the recorded path; "-": none (the current directory)
        QTest::addColumn<QString>("odpowiedz");  // the chooser's answer; empty: cancelled
        QTest::addColumn<int>("pytania");
        QTest::addColumn<int>("wczytani");       // taxpayers imported, -1: nothing listed
        QTest::addColumn<QString>("zapamietana"); // the recorded path afterwards
        QTest::newRow("ścieżka z rejestru") << u"pelna"_s << QString() << 0 << 4 << u"pelna"_s;
        QTest::newRow("małe litery nazwy") << u"male"_s << QString() << 0 << 1 << u"male"_s;
        QTest::newRow("brak ścieżki, wybrano katalog") << u"-"_s << u"pelna"_s << 1 << 4 << u"pelna"_s;
        QTest::newRow("ścieżka bez tabeli, wybrano katalog") << u"bez tabel"_s << u"male"_s << 1 << 1 << u"male"_s;
        QTest::newRow("wybrano katalog bez tabeli") << u"-"_s << u"firmy"_s << 1 << -1 << u"-"_s;
        QTest::newRow("wybór anulowany") << u"-"_s << QString() << 1 << -1 << u"-"_s;
        QTest::newRow("ścieżka bez tabeli, wybór anulowany") << u"bez tabel"_s << QString() << 1 << -1 << u"bez tabel"_s;
    }
    void taxpayerDirectory()
    {
        QFETCH(QString, zapisana);
        QFETCH(QString, odpowiedz);
        QFETCH(int, pytania);
        QFETCH(int, wczytani);
        QFETCH(QString, zapamietana);
        QVERIFY(QDir::setCurrent(katalog(u"biezacy"_s)));
        zapiszSciezke(zapisana);
        WyborTestowy wybor;
        if (!odpowiedz.isEmpty())
            wybor.odpowiedzi << katalog(odpowiedz);
        {
            TWczytajPodatFrm frm(db->dm, nullptr, QString(), helper());
            frm.WybierzKatalog = wybor();
            const bool listed = frm.Przygotuj();
            QCOMPARE(wybor.pytania, pytania);
            QCOMPARE(zapamietanaSciezka(), oczekiwanaSciezka(zapamietana));
            if (wczytani < 0) {
                QVERIFY(!listed);
                QCOMPARE(db->boxes.texts(), QStringList{ImportPoprzedniej::BladPodatnik});
                QCOMPARE(liczbaPodatnikow(), 1);
                return;
            }
            QVERIFY(listed);
            QVERIFY(db->boxes.texts().isEmpty());
            frm.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frm));
            QTest::mouseClick(frm.ZaznaczBtn, Qt::LeftButton);
            QTest::mouseClick(frm.StartBtn, Qt::LeftButton);
            QCOMPARE(db->boxes.texts(), QStringList{u"Liczba wczytanych podatników: "_s + QString::number(wczytani)});
            QCOMPARE(liczbaPodatnikow(), 1 + wczytani);
        }
        // The next import goes straight to the remembered directory.
        db->boxes.clear();
        TWczytajPodatFrm again(db->dm, nullptr, QString(), helper());
        again.WybierzKatalog = wybor();
        QVERIFY(!again.Przygotuj());
        QCOMPARE(wybor.pytania, pytania);
        QCOMPARE(db->boxes.texts(), QStringList{ImportPoprzedniej::BrakPozycji});
    }

    void taxpayerWindow()
    {
        TWczytajPodatFrm frm(db->dm, nullptr, katalog(u"pelna"_s), helper());
        QCOMPARE(frm.windowTitle(), u"Wczytanie danych podatników"_s);
        QVERIFY(frm.Przygotuj());
        QCOMPARE(frm.EdLista->count(), 5);
        QCOMPARE(frm.EdLista->item(4)->text(), u"Żak Łucja"_s);
        QCOMPARE(frm.EdLista->item(4)->checkState(), Qt::Unchecked);
        QCOMPARE(frm.ZaznaczBtn->text(), u"Zaznacz &wszystkich"_s);
        QCOMPARE(frm.StartBtn->text(), u"&Start"_s);
        QCOMPARE(frm.CloseBtn->text(), u"&Zamknij"_s);
        QVERIFY(frm.minimumWidth() >= 570);
        frm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));
        QTest::mouseClick(frm.StartBtn, Qt::LeftButton);
        QCOMPARE(db->boxes.texts(), QStringList{u"Nie zaznaczono podatników do wczytania."_s});
        QCOMPARE(liczbaPodatnikow(), 1);
        zaznacz(frm, 1);
        zrzut(frm, u"wczytajpodat.png"_s);
    }

    // Both namesakes are listed, one is copied; the quote travels like any
    // other letter; a second Start copies nothing more.
    void importsTheTickedTaxpayersOnce()
    {
        TWczytajPodatFrm frm(db->dm, nullptr, katalog(u"pelna"_s), helper());
        QVERIFY(frm.Przygotuj());
        frm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));
        QTest::mouseClick(frm.ZaznaczBtn, Qt::LeftButton);
        for (int i = 0; i < frm.EdLista->count(); ++i)
            QCOMPARE(frm.EdLista->item(i)->checkState(), Qt::Checked);
        connect(frm.Postep, &QProgressBar::valueChanged, &frm, [&frm](int v) {
            if (v == 3)
                zrzut(frm, u"wczytajpodat-postep.png"_s);
        });
        QTest::mouseClick(frm.StartBtn, Qt::LeftButton);
        QCOMPARE(db->boxes.texts(), QStringList{u"Liczba wczytanych podatników: 4"_s});
        QCOMPARE(liczbaPodatnikow(), 5);
        QVERIFY(idPodatnika(u"O\"Hara"_s) > 0);
        QVERIFY(idPodatnika(u"Łęcki"_s) > 0);
        QCOMPARE(frm.Postep->value(), 0);
        QVERIFY(!db->dm.Podatnik.controlsDisabled());
        db->boxes.clear();
        QTest::mouseClick(frm.StartBtn, Qt::LeftButton);
        QCOMPARE(db->boxes.texts(), QStringList{u"Liczba wczytanych podatników: 0"_s});
        QCOMPARE(liczbaPodatnikow(), 5);
        QCOMPARE(frm.EdLista->item(0)->checkState(), Qt::Checked);
    }

    // A name holding "=" is listed and imported like any other: the key of
    // its record stands beside the line, not in its text.
    void nameWithAnEqualsSignIsImported()
    {
        TWczytajPodatFrm frm(db->dm, nullptr, katalog(u"rowne"_s), helper());
        QVERIFY(frm.Przygotuj());
        QCOMPARE(frm.EdLista->count(), 2);
        QCOMPARE(frm.EdLista->item(0)->text(), u"Kowalska=Nowak Ewa=Maria"_s);
        frm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));
        QTest::mouseClick(frm.ZaznaczBtn, Qt::LeftButton);
        QTest::mouseClick(frm.StartBtn, Qt::LeftButton);
        QCOMPARE(db->boxes.texts(), QStringList{u"Liczba wczytanych podatników: 2"_s});
        const int id = idPodatnika(u"Kowalska=Nowak"_s);
        QVERIFY(id > 0);
        QCOMPARE(db->storedValue(u"Podatnik"_s, u"PodatId"_s, id, u"Imie"_s).toString(), u"Ewa=Maria"_s);
        QVERIFY(idPodatnika(u"Nowak"_s) > 0);
    }

    // A previous table that cannot be read, or lacks a field the import
    // copies, is refused with the reason; a missing one with the message of
    // a missing installation. Nothing is imported.
    void unreadableTablesAreRefusedWithTheReason_data()
    {
        QTest::addColumn<bool>("podatnicy");
        QTest::addColumn<QString>("podkatalog");
        QTest::addColumn<QString>("czytnik"); // empty: the real one
        QTest::addColumn<QString>("komunikat");
        const QString podatnik = u"Błąd otwarcia bazy Podatnik.db!\r\r"_s;
        const QString firmy = u"Błąd otwarcia bazy Firmy.db!\r\r"_s;
        const QString uszkodzony = u"Plik %1 jest uszkodzony lub nie jest tabelą poprzedniej wersji programu."_s;
        QTest::newRow("podatnicy bez klucza") << true << u"bez klucza"_s << QString()
                                              << podatnik + u"Tabela nie ma pola PodatId."_s;
        QTest::newRow("firmy bez kodu") << false << u"bez kodu"_s << QString() << firmy + u"Tabela nie ma pola Kod."_s;
        QTest::newRow("podatnicy uszkodzeni") << true << u"uszkodzona"_s << QString()
                                              << podatnik + uszkodzony.arg(u"Podatnik.DB"_s);
        QTest::newRow("firmy uszkodzone") << false << u"uszkodzona"_s << QString()
                                          << firmy + uszkodzony.arg(u"Firmy.DB"_s);
        QTest::newRow("bez programu odczytu") << true << u"pelna"_s << u"brak-czytnika"_s
                                              << podatnik + u"Brak programu odczytu tabel poprzedniej wersji (brak-czytnika)."_s;
        QTest::newRow("podatnicy bez pliku") << true << u"bez tabel"_s << QString() << ImportPoprzedniej::BladPodatnik;
        QTest::newRow("firmy bez pliku") << false << u"bez tabel"_s << QString() << ImportPoprzedniej::BladFirmy;
    }
    void unreadableTablesAreRefusedWithTheReason()
    {
        QFETCH(bool, podatnicy);
        QFETCH(QString, podkatalog);
        QFETCH(QString, czytnik);
        QFETCH(QString, komunikat);
        const QString program = czytnik.isEmpty() ? helper() : katalog(czytnik);
        WyborTestowy wybor; // the directory as given, never another
        if (podatnicy) {
            TWczytajPodatFrm frm(db->dm, nullptr, katalog(podkatalog), program);
            frm.WybierzKatalog = wybor();
            QVERIFY(!frm.Przygotuj());
        } else {
            TWczytajFirmyFrm frm(db->dm, nullptr, katalog(podkatalog), program);
            frm.WybierzKatalog = wybor();
            frm.show();
            QVERIFY(QTest::qWaitForWindowExposed(&frm));
            QTest::mouseClick(frm.StartBtn, Qt::LeftButton);
        }
        // Told once, not followed by "nothing to import".
        QCOMPARE(db->boxes.texts(), QStringList{komunikat});
        QCOMPARE(liczbaPodatnikow(), 1);
        QCOMPARE(liczbaFirm(), 1);
    }

    void importsOnlyTheTickedLines()
    {
        TWczytajPodatFrm frm(db->dm, nullptr, katalog(u"pelna"_s), helper());
        QVERIFY(frm.Przygotuj());
        frm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));
        zaznacz(frm, 2);
        QCOMPARE(frm.EdLista->item(2)->checkState(), Qt::Checked);
        QTest::mouseClick(frm.StartBtn, Qt::LeftButton);
        QCOMPARE(db->boxes.texts(), QStringList{u"Liczba wczytanych podatników: 1"_s});
        QCOMPARE(liczbaPodatnikow(), 2);
        QVERIFY(idPodatnika(u"Nowak"_s) > 0);
    }

    void fieldsCopiedAndLeftEmpty_data()
    {
        QTest::addColumn<QString>("pole");
        QTest::addColumn<QString>("wartosc");
        const QVariantList r = pelnyRekord();
        const QList<ParadoxColumn> cols = podatnikColumns();
        for (qsizetype i = 1; i < cols.size(); ++i) {
            QString pole = QString::fromLatin1(cols[i].name);
            if (pole == u"PESEL"_s)
                pole = u"Pesel"_s;
            else if (pole == u"MPESEL"_s)
                pole = u"MPesel"_s;
            QTest::newRow(cols[i].name) << pole << r.at(i).toString();
        }
        for (const char *pusty : {"ImieOjca", "ImieMatki", "Konto", "MImieOjca", "MImieMatki", "MKonto", "Notatki"})
            QTest::newRow(pusty) << QString::fromLatin1(pusty) << QString();
    }
    void fieldsCopiedAndLeftEmpty()
    {
        QFETCH(QString, pole);
        QFETCH(QString, wartosc);
        ImportPoprzedniej imp(db->dm, helper());
        QVERIFY(imp.OtworzPodatnikow(katalog(u"pelna"_s)));
        QVERIFY(imp.WczytajPodatnika(1));
        const int id = idPodatnika(u"Żak"_s);
        QVERIFY(id > 0);
        QCOMPARE(db->storedValue(u"Podatnik"_s, u"PodatId"_s, id, pole).toString(), wartosc);
        QVERIFY(!imp.WczytajPodatnika(1));
    }

    // The store refuses one taxpayer: nothing of him is stored, the user
    // reads the store's message, those before him stay, none after him come.
    // The refusal comes after the record went in and keeps what the statement
    // did (FAIL), so only the taxpayer's own transaction takes it back.
    void refusedRecordLeavesNothingHalfWritten()
    {
        db->dm.database().run(u"CREATE TRIGGER odmowa AFTER INSERT ON Podatnik WHEN NEW.Nazwisko='O\"Hara' "
                              "BEGIN SELECT RAISE(FAIL, 'Odmowa zapisu podatnika'); END"_s);
        TWczytajPodatFrm frm(db->dm, nullptr, katalog(u"pelna"_s), helper());
        QVERIFY(frm.Przygotuj());
        frm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));
        QTest::mouseClick(frm.ZaznaczBtn, Qt::LeftButton);
        QTest::mouseClick(frm.StartBtn, Qt::LeftButton);
        const QStringList texts = db->boxes.texts();
        QCOMPARE(texts.size(), 1);
        QVERIFY2(texts.first().contains(u"Odmowa zapisu podatnika"_s), qPrintable(texts.first()));
        QCOMPARE(idPodatnika(u"O\"Hara"_s), -1);
        QCOMPARE(idPodatnika(u"Żak"_s), -1);
        QVERIFY(idPodatnika(u"Nowak"_s) > 0);
        QCOMPARE(liczbaPodatnikow(), 3);
        QVERIFY(!db->dm.Podatnik.controlsDisabled());
        QVERIFY(!db->dm.Podatnik.isEditing());
    }

    void importsNewSellersOnly()
    {
        TWczytajFirmyFrm frm(db->dm, nullptr, katalog(u"firmy"_s), helper());
        QCOMPARE(frm.windowTitle(), u"Wczytanie danych ewidencyjnych sprzedawców"_s);
        frm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));
        QCOMPARE(frm.Postep->value(), 0);
        connect(frm.Postep, &QProgressBar::valueChanged, &frm, [&frm](int v) {
            if (v == 2)
                zrzut(frm, u"wczytajfirmy-postep.png"_s);
        });
        QTest::mouseClick(frm.StartBtn, Qt::LeftButton);
        QCOMPARE(db->boxes.texts(), QStringList{u"Liczba wczytanych sprzedawców: 2"_s});
        QCOMPARE(liczbaFirm(), 3);
        const auto stara = db->dm.database().firstRow(u"SELECT Kod, Firma FROM Firmy WHERE NIP=?"_s, {},
                                                      {u"111-111-11-11"_s});
        QVERIFY(stara);
        QCOMPARE(stara->value(0).toString(), u"STARA"_s);
        const auto nowa = db->dm.database().firstRow(u"SELECT Kod, Firma FROM Firmy WHERE NIP=?"_s, {},
                                                     {u"222-222-22-22"_s});
        QVERIFY(nowa);
        QCOMPARE(nowa->value(0).toString(), u"ŁĄKA"_s);
        QCOMPARE(nowa->value(1).toString(), u"Łąka Żółta sp. z o.o."_s);
        QVERIFY(frm.StartBtn->isEnabled());
        QVERIFY(frm.CloseBtn->isEnabled());
        QVERIFY(!db->dm.Firmy.controlsDisabled());
        db->boxes.clear();
        QTest::mouseClick(frm.StartBtn, Qt::LeftButton);
        QCOMPARE(db->boxes.texts(), QStringList{u"Liczba wczytanych sprzedawców: 0"_s});
        QCOMPARE(liczbaFirm(), 3);
    }

    // The sellers' table keeps its NIP order while the import adds to it in
    // another order: the register walks it as the store sorts it.
    void sellersKeepTheirOrder()
    {
        const auto walk = [this] {
            QStringList seen;
            for (db->dm.Firmy.first(); !db->dm.Firmy.eof(); db->dm.Firmy.next())
                seen << QString::number(db->dm.Firmy.recNo()) + u' ' + db->dm.Firmy.field(u"NIP"_s).asString() + u' '
                            + db->dm.Firmy.field(u"Firma"_s).asString();
            return seen;
        };
        QCOMPARE(walk().size(), 1); // the table is read before the import
        WyborTestowy wybor;
        TWczytajFirmyFrm frm(db->dm, nullptr, katalog(u"mieszane"_s), helper());
        frm.WybierzKatalog = wybor();
        frm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));
        QTest::mouseClick(frm.StartBtn, Qt::LeftButton);
        QCOMPARE(db->boxes.texts(), QStringList{u"Liczba wczytanych sprzedawców: 6"_s});
        QStringList stored;
        int n = 0;
        for (const SqlRow &row : db->dm.database().run(u"SELECT NIP, Firma FROM Firmy ORDER BY NIP, rowid"_s).rows)
            stored << QString::number(++n) + u' ' + row.at(0).toString() + u' ' + row.at(1).toString();
        QCOMPARE(stored.size(), 7);
        QCOMPARE(walk(), stored);
        QVERIFY(db->dm.Firmy.locate(u"NIP"_s, u"333-333-33-33"_s));
        QCOMPARE(db->dm.Firmy.field(u"Firma"_s).asString(), u"Trzecia"_s);
        QCOMPARE(db->dm.Firmy.recNo(), int(stored.indexOf(u"%1 333-333-33-33 Trzecia"_s.arg(db->dm.Firmy.recNo())) + 1));
    }

    void missingOrEmptySellersTableIsTold_data()
    {
        QTest::addColumn<QString>("podkatalog");
        QTest::addColumn<QString>("komunikat");
        QTest::addColumn<int>("pytania");
        QTest::newRow("pusta tabela") << u"pusta"_s << ImportPoprzedniej::BrakPozycji << 0;
        QTest::newRow("brak tabeli") << u"brak"_s << ImportPoprzedniej::BladFirmy << 1;
    }
    void missingOrEmptySellersTableIsTold()
    {
        QFETCH(QString, podkatalog);
        QFETCH(QString, komunikat);
        QFETCH(int, pytania);
        WyborTestowy wybor; // cancels
        TWczytajFirmyFrm frm(db->dm, nullptr, katalog(podkatalog), helper());
        frm.WybierzKatalog = wybor();
        frm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));
        QTest::mouseClick(frm.StartBtn, Qt::LeftButton);
        QCOMPARE(db->boxes.texts(), QStringList{komunikat});
        QCOMPARE(wybor.pytania, pytania);
        QCOMPARE(liczbaFirm(), 1);
        QVERIFY(frm.StartBtn->isEnabled());
    }

    // As for the taxpayers: the registry's path, else the chosen directory,
    // remembered once its table was read.
    void sellersDirectory_data()
    {
        QTest::addColumn<QString>("zapisana");
        QTest::addColumn<QString>("odpowiedz");
        QTest::addColumn<int>("pytania");
        QTest::addColumn<QString>("komunikat");
        QTest::addColumn<int>("firmy");
        QTest::addColumn<QString>("zapamietana");
        const QString dwie = u"Liczba wczytanych sprzedawców: 2"_s;
        const QString jedna = u"Liczba wczytanych sprzedawców: 1"_s;
        QTest::newRow("ścieżka z rejestru") << u"firmy"_s << QString() << 0 << dwie << 3 << u"firmy"_s;
        QTest::newRow("małe litery nazwy") << u"male"_s << QString() << 0 << jedna << 2 << u"male"_s;
        QTest::newRow("brak ścieżki, wybrano katalog") << u"-"_s << u"firmy"_s << 1 << dwie << 3 << u"firmy"_s;
        QTest::newRow("ścieżka bez tabeli, wybrano katalog") << u"bez tabel"_s << u"male"_s << 1 << jedna << 2 << u"male"_s;
        QTest::newRow("wybrano katalog bez tabeli") << u"-"_s << u"pelna"_s << 1 << ImportPoprzedniej::BladFirmy << 1 << u"-"_s;
        QTest::newRow("wybór anulowany") << u"-"_s << QString() << 1 << ImportPoprzedniej::BladFirmy << 1 << u"-"_s;
    }
    void sellersDirectory()
    {
        QFETCH(QString, zapisana);
        QFETCH(QString, odpowiedz);
        QFETCH(int, pytania);
        QFETCH(QString, komunikat);
        QFETCH(int, firmy);
        QFETCH(QString, zapamietana);
        QVERIFY(QDir::setCurrent(katalog(u"biezacy"_s)));
        zapiszSciezke(zapisana);
        WyborTestowy wybor;
        if (!odpowiedz.isEmpty())
            wybor.odpowiedzi << katalog(odpowiedz);
        TWczytajFirmyFrm frm(db->dm, nullptr, QString(), helper());
        frm.WybierzKatalog = wybor();
        frm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));
        QTest::mouseClick(frm.StartBtn, Qt::LeftButton);
        QCOMPARE(wybor.pytania, pytania);
        QCOMPARE(db->boxes.texts(), QStringList{komunikat});
        QCOMPARE(liczbaFirm(), firmy);
        QCOMPARE(zapamietanaSciezka(), oczekiwanaSciezka(zapamietana));
        if (zapamietana == u"-"_s)
            return;
        // Another window finds the table without asking; nothing is new.
        db->boxes.clear();
        TWczytajFirmyFrm again(db->dm, nullptr, QString(), helper());
        again.WybierzKatalog = wybor();
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QTest::mouseClick(again.StartBtn, Qt::LeftButton);
        QCOMPARE(wybor.pytania, pytania);
        QCOMPARE(db->boxes.texts(), QStringList{u"Liczba wczytanych sprzedawców: 0"_s});
        QCOMPARE(liczbaFirm(), firmy);
    }
};

QTEST_MAIN(TestImport)
#include "tst_import.moc"
