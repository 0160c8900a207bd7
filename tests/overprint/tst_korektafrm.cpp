#include "overprint/korektafrm.h"

#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

namespace {

// How the user leaves a row being edited.
enum class Odejscie { Nastepny, Poprzedni, Ostatni, PageDown, KlikniecieWiersza, IdzDo, Zapisz, Odswiez, Zamknij, Esc };

} // namespace

Q_DECLARE_METATYPE(Odejscie)

// The corrections dialog over the correction rows the installer writes,
// one for each field of the overprint.
class TestKorektaFrm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<TKorektaFrm> frm;

    template <class T>
    T *kontrolka(const QString &nazwa) { return childNamed<T>(*frm, nazwa); }
    QToolButton *przycisk(const QString &nazwa) { return kontrolka<QToolButton>(nazwa); }

    bool otworz()
    {
        frm = std::make_unique<TKorektaFrm>(db->dm);
        frm->show();
        return QTest::qWaitForWindowActive(frm.get());
    }

    void szukaj(const QString &symbol, int pole)
    {
        kontrolka<QComboBox>(u"EdPit"_s)->setCurrentText(symbol);
        kontrolka<QSpinBox>(u"EdPole"_s)->setValue(pole);
        QTest::mouseClick(kontrolka<QPushButton>(u"IdzBtn"_s), Qt::LeftButton);
    }

    // The row of the list that holds the focus, as "Pit Opis".
    static QString wierszFokusu()
    {
        QWidget *wiersz = QApplication::focusWidget()->parentWidget();
        return childNamed<QLabel>(*wiersz, u"Pit"_s)->text() + u' ' + childNamed<QLabel>(*wiersz, u"Opis"_s)->text();
    }

    // The row of the list that shows the table's current record.
    QWidget *wierszBiezacego()
    {
        for (int i = 1; i <= 4; ++i) {
            auto *wiersz = kontrolka<QWidget>(u"Wiersz%1"_s.arg(i));
            if (wiersz->isVisible() && childNamed<QLabel>(*wiersz, u"Pit"_s)->text() + u' '
                                               + childNamed<QLabel>(*wiersz, u"Opis"_s)->text() == biezacy())
                return wiersz;
        }
        return nullptr;
    }

    QString biezacy()
    {
        return db->dm.Korekta.field(u"Pit"_s).asString() + u' ' + db->dm.Korekta.field(u"Opis"_s).asString();
    }

    QVariant zapisana(const QString &pit, int pole, const QString &kolumna)
    {
        const auto wiersz = db->dm.database().firstRow(
            u"SELECT %1 FROM Korekta WHERE Pit = ? AND Pole = ?"_s.arg(kolumna), {}, {pit, pole});
        return wiersz ? wiersz->at(0) : QVariant();
    }

    int niezerowych()
    {
        return db->dm.database().firstRow(u"SELECT COUNT(*) FROM Korekta WHERE KorX <> 0 OR KorY <> 0"_s)->at(0).toInt();
    }

    // Types into the number of the focused row that the focus reaches by Tab.
    static void wpiszWFokusie(int tabow, const QString &tekst)
    {
        for (int i = 0; i < tabow; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        auto *liczba = qobject_cast<QSpinBox *>(QApplication::focusWidget());
        QVERIFY(liczba);
        liczba->selectAll();
        typeText(liczba, tekst);
    }

private slots:
    void init() { db = std::make_unique<TestDatabase>(); }
    void cleanup()
    {
        frm.reset();
        db.reset();
    }

    // "&Idź do" moves to the row of the symbol whose label is the number;
    // a number no row carries leaves the list where it was.
    void goToFindsTheLabel_data()
    {
        QTest::addColumn<QString>("symbol");
        QTest::addColumn<int>("pole");
        QTest::addColumn<QString>("wiersz");
        QTest::addColumn<QString>("opis");
        QTest::newRow("VZM-1/A 12") << u"VZM-1/A"_s << 12 << u"VZM-1/A 12"_s
                                    << u"Faktura 1 – numer faktury (kol. 1), poz. 10"_s;
        QTest::newRow("VZM-1 12") << u"VZM-1"_s << 12 << u"VZM-1 12"_s << u"Poz. 12 – kraj (adres podatnika)"_s;
        QTest::newRow("VZM-1/A 1") << u"VZM-1/A"_s << 1 << u"VZM-1/A 1"_s << u"Poz. 1 – NIP i PESEL podatnika"_s;
        QTest::newRow("VZM-1 3, brak") << u"VZM-1"_s << 3 << u"VZM-1 9"_s << u"Poz. 9 – nazwisko podatnika"_s;
        QTest::newRow("VZM-1/A 6, brak") << u"VZM-1/A"_s << 6 << u"VZM-1 9"_s << u"Poz. 9 – nazwisko podatnika"_s;
        QTest::newRow("VZM-1/A 300, brak") << u"VZM-1/A"_s << 300 << u"VZM-1 9"_s << u"Poz. 9 – nazwisko podatnika"_s;
    }
    void goToFindsTheLabel()
    {
        QFETCH(QString, symbol);
        QFETCH(int, pole);
        QFETCH(QString, wiersz);
        QFETCH(QString, opis);
        QVERIFY(otworz());
        szukaj(u"VZM-1"_s, 9);
        QCOMPARE(biezacy(), u"VZM-1 9"_s);
        szukaj(symbol, pole);
        QCOMPARE(biezacy(), wiersz);
        QCOMPARE(wierszFokusu(), wiersz);
        QCOMPARE(childNamed<QLabel>(*QApplication::focusWidget()->parentWidget(), u"Hint"_s)->text(), opis);
        QVERIFY(db->boxes.texts().isEmpty());
    }

    // A shift typed into a row is stored when the row is left, whichever
    // way, and the next overprint reads it; no other row changes.
    void editedShiftIsStoredWhenTheRowIsLeft_data()
    {
        QTest::addColumn<Odejscie>("odejscie");
        QTest::newRow("następny") << Odejscie::Nastepny;
        QTest::newRow("poprzedni") << Odejscie::Poprzedni;
        QTest::newRow("ostatni") << Odejscie::Ostatni;
        QTest::newRow("Page Down") << Odejscie::PageDown;
        QTest::newRow("kliknięcie innego wiersza") << Odejscie::KlikniecieWiersza;
        QTest::newRow("Idź do") << Odejscie::IdzDo;
        QTest::newRow("Zapisz") << Odejscie::Zapisz;
        QTest::newRow("Odśwież") << Odejscie::Odswiez;
        QTest::newRow("Zamknij") << Odejscie::Zamknij;
        QTest::newRow("Esc") << Odejscie::Esc;
    }
    void editedShiftIsStoredWhenTheRowIsLeft()
    {
        QFETCH(Odejscie, odejscie);
        QVERIFY(otworz());
        szukaj(u"VZM-1"_s, 9);
        wpiszWFokusie(1, u"-3"_s);
        QVERIFY(db->dm.Korekta.isEditing());
        QVERIFY(przycisk(u"ZapiszBtn"_s)->isEnabled());
        QCOMPARE(zapisana(u"VZM-1"_s, 9, u"KorY"_s).toInt(), 0);
        switch (odejscie) {
        case Odejscie::Nastepny: QTest::mouseClick(przycisk(u"NastepnyBtn"_s), Qt::LeftButton); break;
        case Odejscie::Poprzedni: QTest::mouseClick(przycisk(u"PoprzedniBtn"_s), Qt::LeftButton); break;
        case Odejscie::Ostatni: QTest::mouseClick(przycisk(u"OstatniBtn"_s), Qt::LeftButton); break;
        case Odejscie::PageDown: QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown); break;
        case Odejscie::KlikniecieWiersza: {
            QWidget *inny = QApplication::focusWidget()->parentWidget() == kontrolka<QWidget>(u"Wiersz1"_s)
                                ? kontrolka<QWidget>(u"Wiersz2"_s)
                                : kontrolka<QWidget>(u"Wiersz1"_s);
            QTest::mouseClick(childNamed<QSpinBox>(*inny, u"EdKorX"_s), Qt::LeftButton);
            break;
        }
        case Odejscie::IdzDo: szukaj(u"VZM-1/A"_s, 12); break;
        case Odejscie::Zapisz: QTest::mouseClick(przycisk(u"ZapiszBtn"_s), Qt::LeftButton); break;
        case Odejscie::Odswiez: QTest::mouseClick(przycisk(u"OdswiezBtn"_s), Qt::LeftButton); break;
        case Odejscie::Zamknij: QTest::mouseClick(kontrolka<QPushButton>(u"ZamknijBtn"_s), Qt::LeftButton); break;
        case Odejscie::Esc: QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); break;
        }
        QVERIFY(!db->dm.Korekta.isEditing());
        QCOMPARE(zapisana(u"VZM-1"_s, 9, u"KorY"_s).toInt(), -3);
        QCOMPARE(zapisana(u"VZM-1"_s, 9, u"KorX"_s).toInt(), 0);
        QCOMPARE(niezerowych(), 1);
        QCOMPARE(db->dm.KorektaY(0, 9), -3);
        QCOMPARE(db->dm.KorektaX(0, 9), 0);
        QCOMPARE(db->dm.KorektaY(1, 9), 0);
        const bool zamkniete = odejscie == Odejscie::Zamknij || odejscie == Odejscie::Esc;
        QCOMPARE(frm->isVisible(), !zamkniete);
        QVERIFY(db->boxes.texts().isEmpty());
    }

    // The wheel over a number that has not the focus scrolls the list, as
    // over the rest of its row, and changes no value.
    void wheelOverANumberScrollsTheList_data()
    {
        QTest::addColumn<QString>("wiersz");
        QTest::addColumn<QString>("liczba");
        QTest::addColumn<int>("krok"); // wheel steps, negative: down the list
        QTest::newRow("down over the third row") << u"Wiersz3"_s << u"EdKorX"_s << -2;
        QTest::newRow("up over the fourth row") << u"Wiersz4"_s << u"EdKorY"_s << 1;
    }
    void wheelOverANumberScrollsTheList()
    {
        QFETCH(QString, wiersz);
        QFETCH(QString, liczba);
        QFETCH(int, krok);
        QVERIFY(otworz());
        szukaj(u"VZM-1"_s, 12);
        const int przed = db->dm.Korekta.currentRow();
        auto *pole = childNamed<QSpinBox>(*kontrolka<QWidget>(wiersz), liczba);
        QVERIFY(!pole->hasFocus());
        const QPoint srodek = pole->rect().center();
        QWheelEvent kolko(srodek, pole->mapToGlobal(srodek), QPoint(), QPoint(0, 120 * krok), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(pole, &kolko);
        QCOMPARE(niezerowych(), 0);
        QVERIFY(!db->dm.Korekta.isEditing());
        QVERIFY(db->dm.Korekta.currentRow() != przed);
        QCOMPARE(db->dm.Korekta.currentRow() > przed, krok < 0);
    }

    // The cancel button of the bar drops the edit once the user agrees;
    // the row shows the stored value.
    void cancelDropsTheEdit()
    {
        QVERIFY(otworz());
        szukaj(u"VZM-1/A"_s, 12);
        wpiszWFokusie(0, u"7"_s);
        QTest::mouseClick(przycisk(u"AnulujBtn"_s), Qt::LeftButton);
        QVERIFY(db->dm.Korekta.isEditing());
        db->boxes.answer(true);
        QTest::mouseClick(przycisk(u"AnulujBtn"_s), Qt::LeftButton);
        QCOMPARE(db->boxes.texts(), QStringList(2, u"Porzucić wprowadzone zmiany?"_s));
        QVERIFY(!db->dm.Korekta.isEditing());
        QVERIFY(!przycisk(u"ZapiszBtn"_s)->isEnabled());
        QTest::mouseClick(przycisk(u"NastepnyBtn"_s), Qt::LeftButton);
        QCOMPARE(niezerowych(), 0);
        QTest::mouseClick(przycisk(u"PoprzedniBtn"_s), Qt::LeftButton);
        QCOMPARE(biezacy(), u"VZM-1/A 12"_s);
        QVERIFY(wierszBiezacego());
        QCOMPARE(childNamed<QSpinBox>(*wierszBiezacego(), u"EdKorX"_s)->value(), 0);
    }

    // Opening reads the table anew: values written since show.
    void openingReadsTheTableAnew()
    {
        QVERIFY(otworz());
        frm.reset();
        db->dm.database().run(u"UPDATE Korekta SET KorX = 5, KorY = -6 WHERE Pit = 'VZM-1' AND Pole = 1"_s);
        QVERIFY(otworz());
        auto *pierwszy = kontrolka<QWidget>(u"Wiersz1"_s);
        QCOMPARE(childNamed<QLabel>(*pierwszy, u"Pit"_s)->text(), u"VZM-1"_s);
        QCOMPARE(childNamed<QLabel>(*pierwszy, u"Opis"_s)->text(), u"1"_s);
        QCOMPARE(childNamed<QSpinBox>(*pierwszy, u"EdKorX"_s)->value(), 5);
        QCOMPARE(childNamed<QSpinBox>(*pierwszy, u"EdKorY"_s)->value(), -6);
        QCOMPARE(biezacy(), u"VZM-1 1"_s);
    }

    // The list shows four rows, each with its symbol, its label underlined,
    // its description and the two shifts; the bar's buttons follow the row.
    void rowsShowTheirFields()
    {
        QVERIFY(otworz());
        QCOMPARE(frm->windowTitle(), u"Korekta współrzędnych pól na wydruku"_s);
        QStringList etykiety;
        for (int i = 1; i <= 4; ++i) {
            auto *wiersz = kontrolka<QWidget>(u"Wiersz%1"_s.arg(i));
            QVERIFY(wiersz->isVisible());
            etykiety << childNamed<QLabel>(*wiersz, u"Opis"_s)->text();
            QVERIFY(childNamed<QLabel>(*wiersz, u"Opis"_s)->font().underline());
            QStringList teksty;
            for (QLabel *l : wiersz->findChildren<QLabel *>())
                teksty << l->text();
            for (const QString &t : {u"Pozycja"_s, u"Przesunięcie w prawo"_s, u"Przesunięcie w dół"_s, u"[mm]"_s})
                QVERIFY2(teksty.contains(t), qPrintable(t));
        }
        QCOMPARE(etykiety, (QStringList{u"1"_s, u"2"_s, u"5"_s, u"6"_s}));
        const QStringList przyciski = {u"PierwszyBtn"_s, u"PoprzedniBtn"_s, u"NastepnyBtn"_s, u"OstatniBtn"_s,
                                       u"PoprawBtn"_s,   u"ZapiszBtn"_s,    u"AnulujBtn"_s,   u"OdswiezBtn"_s};
        const QStringList podpowiedzi = {u"Pierwszy"_s, u"Poprzedni"_s, u"Następny"_s, u"Ostatni"_s,
                                         u"Popraw"_s,   u"Zapisz"_s,    u"Anuluj"_s,   u"Odśwież"_s};
        const auto dostepne = [&] {
            QList<bool> stan;
            for (const QString &p : przyciski)
                stan << przycisk(p)->isEnabled();
            return stan;
        };
        for (int i = 0; i < przyciski.size(); ++i)
            QCOMPARE(przycisk(przyciski[i])->toolTip(), podpowiedzi[i]);
        QCOMPARE(dostepne(), (QList<bool>{false, false, true, true, true, false, false, true}));
        QTest::mouseClick(przycisk(u"OstatniBtn"_s), Qt::LeftButton);
        QCOMPARE(biezacy(), u"VZM-1/A 203"_s);
        QCOMPARE(dostepne(), (QList<bool>{true, true, false, false, true, false, false, true}));
        QTest::mouseClick(przycisk(u"PoprawBtn"_s), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget()->objectName(), u"EdKorX"_s);
        QCOMPARE(dostepne(), (QList<bool>{true, true, false, false, false, true, true, true}));
        QCOMPARE(kontrolka<QLabel>(u"Objasnienie"_s)->text(),
                 u"W pola powyżej należy wpisać wartość przesunięcia w mm.\n\nAby przesunąć dane pole w kierunku "
                 "przeciwnym należy podać wartość przesunięcia w mm ze znakiem  --"_s);
    }

    // Whole numbers from -99 to 99 only; other text is refused.
    void onlyWholeNumbersAreTaken_data()
    {
        QTest::addColumn<QString>("wpisane");
        QTest::addColumn<int>("zapisane");
        QTest::newRow("-99") << u"-99"_s << -99;
        QTest::newRow("99") << u"99"_s << 99;
        QTest::newRow("-100") << u"-100"_s << -10;
        QTest::newRow("1,5") << u"1,5"_s << 15;
        QTest::newRow("litery") << u"a4b"_s << 4;
    }
    void onlyWholeNumbersAreTaken()
    {
        QFETCH(QString, wpisane);
        QFETCH(int, zapisane);
        QVERIFY(otworz());
        szukaj(u"VZM-1/A"_s, 13);
        wpiszWFokusie(0, wpisane);
        QTest::mouseClick(przycisk(u"ZapiszBtn"_s), Qt::LeftButton);
        QCOMPARE(zapisana(u"VZM-1/A"_s, 13, u"KorX"_s).toInt(), zapisane);
    }

    // A save the database refuses is reported; the row stays in its edit
    // and the window stays open until the edit is cancelled.
    void refusedSaveKeepsTheEdit()
    {
        db->dm.database().run(u"CREATE TRIGGER Blokada BEFORE UPDATE ON Korekta BEGIN "
                              "SELECT RAISE(ABORT, 'zapis zablokowany'); END"_s);
        QVERIFY(otworz());
        szukaj(u"VZM-1"_s, 9);
        wpiszWFokusie(1, u"4"_s);
        QTest::mouseClick(przycisk(u"NastepnyBtn"_s), Qt::LeftButton);
        QCOMPARE(db->boxes.texts().size(), 1);
        QVERIFY(db->boxes.texts().first().startsWith(u"Nie udało się zapisać przesunięcia pola:\r"_s));
        QCOMPARE(biezacy(), u"VZM-1 9"_s);
        QVERIFY(db->dm.Korekta.isEditing());
        QTest::mouseClick(kontrolka<QPushButton>(u"ZamknijBtn"_s), Qt::LeftButton);
        QVERIFY(frm->isVisible());
        QCOMPARE(db->boxes.texts().size(), 2);
        db->boxes.answer(true);
        QTest::mouseClick(przycisk(u"AnulujBtn"_s), Qt::LeftButton);
        QTest::mouseClick(kontrolka<QPushButton>(u"ZamknijBtn"_s), Qt::LeftButton);
        QVERIFY(!frm->isVisible());
        QCOMPARE(niezerowych(), 0);
    }

    // Alt+I searches; Enter closes ("&Zamknij" is the default button).
    void keyboard()
    {
        QVERIFY(otworz());
        kontrolka<QComboBox>(u"EdPit"_s)->setCurrentIndex(1);
        kontrolka<QSpinBox>(u"EdPole"_s)->setValue(14);
        QTest::keyClick(frm.get(), Qt::Key_I, Qt::AltModifier);
        QTRY_COMPARE(biezacy(), u"VZM-1/A 14"_s);
        QCOMPARE(wierszFokusu(), u"VZM-1/A 14"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp);
        QCOMPARE(biezacy(), u"VZM-1/A 13"_s);
        QCOMPARE(wierszFokusu(), u"VZM-1/A 13"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!frm->isVisible());
        QCOMPARE(frm->result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestKorektaFrm)
#include "tst_korektafrm.moc"
