extern "C" {
#include <paradox.h>
}

#include "taxpayers/importpoprzedniej.h"
#include "taxpayers/wczytajfirmyfrm.h"
#include "taxpayers/wczytajpodatfrm.h"

#include "data/tdm.h"
#include "support/paradoxfixture.h"
#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

// Carrying taxpayers and sellers over from the previous version: the
// previous tables are written here with pxlib (code page 1250), the current
// ones are a database made by the installer.
class TestImport : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
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
    }

    void init()
    {
        db = std::make_unique<TestDatabase>();
        db->addTaxpayer({{u"Nazwisko"_s, u"Kowalski"_s}, {u"Imie"_s, u"Jan"_s}});
        TestDatabase::addRecord(db->dm.Firmy, {{u"NIP"_s, u"111-111-11-11"_s}, {u"Kod"_s, u"STARA"_s},
                                               {u"Firma"_s, u"Stara nazwa"_s}}, u"NIP"_s);
    }
    void cleanup() { db.reset(); }

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
        QCOMPARE(imp.Kandydaci(), QStringList({u"Łęcki =7"_s, u"Nowak Anna=2"_s, u"Nowak Anna=3"_s,
                                               u"O\"Hara Scarlett=5"_s, u"Żak Łucja=1"_s}));
        QCOMPARE(ImportPoprzedniej::Tekst(u"O\"Hara Scarlett=5"_s), u"O\"Hara Scarlett"_s);
        QCOMPARE(ImportPoprzedniej::PodatId(u"Nowak Anna=3"_s), 3);
        QVERIFY(db->boxes.texts().isEmpty());
    }

    void nothingToImportIsTold_data()
    {
        QTest::addColumn<QString>("podkatalog");
        QTest::addColumn<QStringList>("komunikaty");
        QTest::newRow("wszyscy zapisani") << u"znani"_s << QStringList{ImportPoprzedniej::BrakPozycji};
        QTest::newRow("brak tabeli") << u"brak"_s
                                     << QStringList{ImportPoprzedniej::BladPodatnik, ImportPoprzedniej::BrakPozycji};
    }
    void nothingToImportIsTold()
    {
        QFETCH(QString, podkatalog);
        QFETCH(QStringList, komunikaty);
        TWczytajPodatFrm frm(db->dm, nullptr, katalog(podkatalog), helper());
        QVERIFY(!frm.Przygotuj());
        QCOMPARE(frm.EdLista->count(), 0);
        QCOMPARE(db->boxes.texts(), komunikaty);
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
        const QString dir = qEnvironmentVariable("TARLEN_SHOTS");
        if (!dir.isEmpty()) {
            zaznacz(frm, 1);
            QVERIFY(QDir().mkpath(dir));
            QVERIFY(frm.grab().save(dir + u"/wczytajpodat.png"_s));
        }
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

    void missingOrEmptySellersTableIsTold_data()
    {
        QTest::addColumn<QString>("podkatalog");
        QTest::addColumn<QString>("komunikat");
        QTest::newRow("pusta tabela") << u"pusta"_s << ImportPoprzedniej::BrakPozycji;
        QTest::newRow("brak tabeli") << u"brak"_s << ImportPoprzedniej::BladFirmy;
    }
    void missingOrEmptySellersTableIsTold()
    {
        QFETCH(QString, podkatalog);
        QFETCH(QString, komunikat);
        TWczytajFirmyFrm frm(db->dm, nullptr, katalog(podkatalog), helper());
        frm.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frm));
        QTest::mouseClick(frm.StartBtn, Qt::LeftButton);
        QCOMPARE(db->boxes.texts(), QStringList{komunikat});
        QCOMPARE(liczbaFirm(), 1);
        QVERIFY(frm.StartBtn->isEnabled());
    }
};

QTEST_MAIN(TestImport)
#include "tst_import.moc"
