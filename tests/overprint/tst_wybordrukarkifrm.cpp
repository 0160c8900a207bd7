// The choice of the overprint's printer: a system printer or a PDF file,
// handed to the program's printer and remembered in the print settings; the
// dialog prints nothing and says so on its button.

#include "overprint/wybordrukarkifrm.h"

#include "core/settingsfile.h"
#include "overprint/drukarka.h"
#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestWyborDrukarkiFrm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    QTemporaryDir katalog;
    // What "P&rzeglądaj…" would answer, and what it was asked.
    QString odpowiedz;
    PytanieOPlik pytanie;

    template <class T>
    static T *w(const QWidget &okno, const QString &nazwa) { return childNamed<T>(okno, nazwa); }

private slots:
    void init()
    {
        db = std::make_unique<TestDatabase>();
        printSettings() = PrintSettings{false, 0, 10, u"Arial"_s};
        odpowiedz.clear();
    }
    void cleanup()
    {
        db.reset();
        printSettings() = PrintSettings{};
    }

    // A file typed or browsed to becomes the printer's output on "&Wybierz",
    // ".pdf" added when missing, and is remembered with the print settings;
    // a file that cannot be one keeps the dialog open with a word why.
    void pdfFileChosen_data()
    {
        QTest::addColumn<QString>("wpisany");  // typed into the edit; empty: browsed to
        QTest::addColumn<QString>("wybrany");  // the printer's file after it; empty: none, the dialog open
        QTest::addColumn<QString>("komunikat");
        QTest::newRow("typed") << u"nadruk.pdf"_s << u"nadruk.pdf"_s << QString();
        QTest::newRow("without .pdf") << u"wniosek"_s << u"wniosek.pdf"_s << QString();
        QTest::newRow("browsed to") << QString() << u"z okna.pdf"_s << QString();
        QTest::newRow("nothing typed") << u" "_s << QString() << u"Podaj nazwę pliku PDF, do którego ma trafić nadruk."_s;
        QTest::newRow("no such folder") << u"brak/nadruk.pdf"_s << QString()
                                        << u"Folder %1 nie istnieje."_s.arg(QDir::toNativeSeparators(katalog.filePath(u"brak"_s)));
    }
    void pdfFileChosen()
    {
        QFETCH(QString, wpisany);
        QFETCH(QString, wybrany);
        QFETCH(QString, komunikat);
        Drukarka drukarka;
        TWyborDrukarkiFrm okno(db->dm, drukarka, [&](QWidget *, const PytanieOPlik &p) {
            pytanie = p;
            return katalog.filePath(u"z okna.pdf"_s);
        });
        okno.show();
        QVERIFY(w<QRadioButton>(okno, u"DoPliku"_s)->isChecked());
        auto *plik = w<QLineEdit>(okno, u"EdPlik"_s);
        if (wpisany.isEmpty()) {
            QTest::mouseClick(w<QPushButton>(okno, u"PrzegladajBtn"_s), Qt::LeftButton);
            QVERIFY(pytanie.zapis);
        } else {
            plik->setText(wpisany.trimmed().isEmpty() ? wpisany : katalog.filePath(wpisany));
        }
        QTest::mouseClick(w<QPushButton>(okno, u"WybierzBtn"_s), Qt::LeftButton);
        if (wybrany.isEmpty()) {
            QVERIFY(okno.isVisible());
            QCOMPARE(db->boxes.texts(), QStringList{komunikat});
            QVERIFY(!drukarka.Wybrana());
            return;
        }
        QVERIFY(!okno.isVisible());
        QCOMPARE(okno.result(), int(QDialog::Accepted));
        QCOMPARE(drukarka.PlikDokumentu(1), katalog.filePath(wybrany));
        QCOMPARE(printSettings().PdfFile, katalog.filePath(wybrany));
        QVERIFY(db->boxes.texts().isEmpty());
    }

    // Without a printer on the system only a file can be chosen; every
    // control is reached by an Alt key.
    void buttonsAndKeys()
    {
        Drukarka drukarka;
        TWyborDrukarkiFrm okno(db->dm, drukarka, [](QWidget *, const PytanieOPlik &) { return QString(); });
        okno.show();
        QVERIFY(QTest::qWaitForWindowExposed(&okno));
        keepShot(okno, u"wybor-drukarki"_s);
        QCOMPARE(w<QRadioButton>(okno, u"NaDrukarke"_s)->isEnabled(), !QPrinterInfo::availablePrinterNames().isEmpty());
        okno.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&okno));
        int pytan = 0;
        TWyborDrukarkiFrm liczace(db->dm, drukarka, [&](QWidget *, const PytanieOPlik &) { ++pytan; return QString(); });
        okno.hide();
        liczace.show();
        liczace.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&liczace));
        // A button's accelerator clicks it after a moment.
        QTest::keyClick(&liczace, Qt::Key_R, Qt::AltModifier);
        QTRY_COMPARE(pytan, 1);
        QTest::keyClick(&liczace, Qt::Key_A, Qt::AltModifier);
        QTRY_VERIFY(!liczace.isVisible());
        QCOMPARE(liczace.result(), int(QDialog::Rejected));
        QVERIFY(!drukarka.Wybrana());
    }

    // The choice of an earlier run comes back with the settings: a file as
    // it was, a printer only while the system still has it.
    void remembered_data()
    {
        QTest::addColumn<QString>("drukarkaUstawien");
        QTest::addColumn<QString>("plikUstawien");
        QTest::addColumn<QString>("nazwa");
        QTest::newRow("a PDF file") << QString() << u"/tmp/nadruk.pdf"_s << u"plik PDF: /tmp/nadruk.pdf"_s;
        QTest::newRow("a printer gone, its file kept") << u"Drukarka, której nie ma"_s << u"/tmp/nadruk.pdf"_s
                                                       << u"plik PDF: /tmp/nadruk.pdf"_s;
        QTest::newRow("nothing") << QString() << QString() << u"brak drukarki (wybierz plik PDF)"_s;
    }
    void remembered()
    {
        QFETCH(QString, drukarkaUstawien);
        QFETCH(QString, plikUstawien);
        QFETCH(QString, nazwa);
        PrintSettings ustawienia;
        ustawienia.Printer = drukarkaUstawien;
        ustawienia.PdfFile = plikUstawien;
        Drukarka drukarka;
        drukarka.Przywroc(ustawienia);
        QCOMPARE(drukarka.Nazwa(), nazwa);
    }
};

QTEST_MAIN(TestWyborDrukarkiFrm)
#include "tst_wybordrukarkifrm.moc"
