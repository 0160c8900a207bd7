#include "overprint/drukfrm.h"

#include "overprint/drukarka.h"
#include "overprint/marginesyfrm.h"
#include "overprint/stronynadruku.h"

#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

enum class Tryb { Wniosek, Zalacznik };

// Pages that print their number as a real document on the printer; a page
// may be made to fail as a page routine fails on a printer error.
class StronyTestowe : public StronyNadruku
{
public:
    StronyTestowe(Drukarka &drukarka, int liczba) : m_drukarka(drukarka), m_liczba(liczba) {}

    int LiczbaStron() const override { return m_liczba; }
    void Drukuj(int strona) override { drukuj(u"Strona %1"_s.arg(strona)); }
    void Kalibruj(int strona) override { drukuj(u"Kalibracja %1"_s.arg(strona)); }

    // The document of this number (from 1) fails instead of printing.
    int blednyDokument = 0;

private:
    void drukuj(const QString &tytul)
    {
        if (++m_dokumentow == blednyDokument)
            throw BladDrukarki(u"Drukarka nie odpowiada."_s);
        DokumentDruku dokument(m_drukarka, tytul, QPageLayout::Portrait);
        dokument.Plotno().drawText(QPoint(200, 200), tytul);
    }

    Drukarka &m_drukarka;
    int m_liczba;
    int m_dokumentow = 0;
};

} // namespace

Q_DECLARE_METATYPE(Tryb)

// The print dialog over a printer that prints into PDF files.
class TestDrukFrm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<QTemporaryDir> katalog;
    std::unique_ptr<Drukarka> drukarka;
    std::unique_ptr<QSignalSpy> dokumenty;
    std::unique_ptr<TDrukFrm> frm;
    // What the printer dialog would choose: a PDF file, or nothing (cancelled).
    QString wybranyPlik;
    int wyborow = 0;

    template <class T>
    T *kontrolka(const QString &nazwa) { return childNamed<T>(*frm, nazwa); }
    QCheckBox *strona(int numer) { return kontrolka<QCheckBox>(u"EdStrona%1"_s.arg(numer)); }
    QSpinBox *kopie() { return kontrolka<QSpinBox>(u"EdKopie"_s); }
    QCheckBox *sortuj() { return kontrolka<QCheckBox>(u"EdSortuj"_s); }
    void kliknij(const QString &przycisk) { QTest::mouseClick(kontrolka<QPushButton>(przycisk), Qt::LeftButton); }

    // The titles of the documents begun so far.
    QStringList tytuly()
    {
        QStringList lista;
        for (const QList<QVariant> &sygnal : std::as_const(*dokumenty))
            lista << sygnal.value(0).toString();
        return lista;
    }

    QStringList plikiPdf() { return QDir(katalog->path()).entryList({u"*.pdf"_s}, QDir::Files, QDir::Name); }

    // What the boxes said but the information on the files written.
    QStringList ostrzezenia()
    {
        QStringList teksty;
        for (const MessageRequest &r : db->boxes.shown())
            if (r.kind != MessageRequest::Kind::Information)
                teksty << r.text;
        return teksty;
    }

    void zaznacz(const QList<int> &strony)
    {
        for (int i = 1; i <= 4; ++i)
            strona(i)->setChecked(strony.contains(i));
    }

    // Shows the dialog in its mode over `strony` and lets `act` work in it;
    // answers whether the dialog was still open after it (it is then closed).
    bool pokaz(Tryb tryb, StronyNadruku &strony, const std::function<void(TDrukFrm &)> &act)
    {
        bool otwarte = false;
        onNextModal<TDrukFrm>([&](TDrukFrm &okno) {
            act(okno);
            otwarte = okno.isVisible();
            okno.reject();
        });
        if (tryb == Tryb::Wniosek)
            frm->ShowWniosek(strony);
        else
            frm->ShowZalacznik(strony);
        return otwarte;
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDatabase>();
        katalog = std::make_unique<QTemporaryDir>();
        drukarka = std::make_unique<Drukarka>();
        drukarka->DrukujDoPliku(katalog->filePath(u"wydruk.pdf"_s));
        dokumenty = std::make_unique<QSignalSpy>(drukarka.get(), &Drukarka::dokumentZaczety);
        wybranyPlik.clear();
        wyborow = 0;
        frm = std::make_unique<TDrukFrm>(db->dm, *drukarka, [this](Drukarka &d, QWidget *) {
            ++wyborow;
            if (wybranyPlik.isEmpty())
                return false;
            d.DrukujDoPliku(wybranyPlik);
            return true;
        });
    }
    void cleanup()
    {
        frm.reset();
        dokumenty.reset();
        drukarka.reset();
        katalog.reset();
        db.reset();
    }

    // Every copy of a page is a document of its own; sorted, the copies are
    // whole sets of the chosen pages. Pages the mode does not have are not
    // printed, whatever their hidden boxes say.
    void documentsComeInTheirOrder_data()
    {
        QTest::addColumn<Tryb>("tryb");
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("sortowane");
        QTest::addColumn<QList<int>>("zaznaczone");
        QTest::addColumn<QList<int>>("kolejnosc");
        QTest::newRow("3 kopie stron 1 i 3") << Tryb::Wniosek << 3 << false << QList<int>{1, 3}
                                            << QList<int>{1, 1, 1, 3, 3, 3};
        QTest::newRow("3 kopie stron 1 i 3, sortowane") << Tryb::Wniosek << 3 << true << QList<int>{1, 3}
                                                       << QList<int>{1, 3, 1, 3, 1, 3};
        QTest::newRow("2 kopie wszystkich, sortowane") << Tryb::Wniosek << 2 << true << QList<int>{1, 2, 3, 4}
                                                      << QList<int>{1, 2, 3, 4, 1, 2, 3, 4};
        QTest::newRow("strona 4") << Tryb::Wniosek << 2 << false << QList<int>{4} << QList<int>{4, 4};
        QTest::newRow("1 kopia, sortowanie bez znaczenia") << Tryb::Wniosek << 1 << true << QList<int>{2, 4}
                                                          << QList<int>{2, 4};
        QTest::newRow("załącznik, ukryte zaznaczone") << Tryb::Zalacznik << 2 << false << QList<int>{1, 2, 3, 4}
                                                     << QList<int>{1, 1, 2, 2};
        QTest::newRow("załącznik, sortowane") << Tryb::Zalacznik << 3 << true << QList<int>{1, 2}
                                             << QList<int>{1, 2, 1, 2, 1, 2};
        QTest::newRow("załącznik, strona 2") << Tryb::Zalacznik << 1 << false << QList<int>{2, 4} << QList<int>{2};
    }
    void documentsComeInTheirOrder()
    {
        QFETCH(Tryb, tryb);
        QFETCH(int, n);
        QFETCH(bool, sortowane);
        QFETCH(QList<int>, zaznaczone);
        QFETCH(QList<int>, kolejnosc);
        StronyTestowe strony(*drukarka, tryb == Tryb::Wniosek ? 4 : 2);
        QVERIFY(!pokaz(tryb, strony, [&](TDrukFrm &) {
            zaznacz(zaznaczone);
            kopie()->setValue(n);
            sortuj()->setChecked(sortowane);
            kliknij(u"DrukujBtn"_s);
        }));
        QStringList oczekiwane;
        for (int s : kolejnosc)
            oczekiwane << u"Strona %1"_s.arg(s);
        QCOMPARE(tytuly(), oczekiwane);
        QCOMPARE(plikiPdf().size(), kolejnosc.size());
        QVERIFY(ostrzezenia().isEmpty());
        // The files written are named, as many as documents.
        QCOMPARE(db->boxes.shown().size(), 1);
        QCOMPARE(db->boxes.texts().first().count(u'\r'), kolejnosc.size());
    }

    // Each run is a series of its own: its files are numbered from the first again.
    void eachRunStartsANewSeries()
    {
        StronyTestowe strony(*drukarka, 4);
        db->boxes.answer(true); // the second run replaces the files of the first
        for (int run = 0; run < 2; ++run) {
            QVERIFY(!pokaz(Tryb::Wniosek, strony, [&](TDrukFrm &) {
                zaznacz({1, 2});
                kopie()->setValue(1);
                kliknij(u"DrukujBtn"_s);
            }));
        }
        QCOMPARE(tytuly().size(), 4);
        QCOMPARE(plikiPdf(), (QStringList{u"wydruk-2.pdf"_s, u"wydruk.pdf"_s}));
        QCOMPARE(ostrzezenia().size(), 1);
        QVERIFY(ostrzezenia().first().contains(QDir::toNativeSeparators(katalog->filePath(u"wydruk-2.pdf"_s))));
    }

    // "&Sortuj" is open only with more than one copy, and follows the
    // number of copies at once; a tick left with one copy stays.
    void sortingNeedsCopies_data()
    {
        QTest::addColumn<Tryb>("tryb");
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("dostepne");
        QTest::newRow("wniosek, 1 kopia") << Tryb::Wniosek << 1 << false;
        QTest::newRow("wniosek, 2 kopie") << Tryb::Wniosek << 2 << true;
        QTest::newRow("załącznik, 1 kopia") << Tryb::Zalacznik << 1 << false;
        QTest::newRow("załącznik, 99 kopii") << Tryb::Zalacznik << 99 << true;
    }
    void sortingNeedsCopies()
    {
        QFETCH(Tryb, tryb);
        QFETCH(int, n);
        QFETCH(bool, dostepne);
        StronyTestowe strony(*drukarka, tryb == Tryb::Wniosek ? 4 : 2);
        // Set before showing: the dialog keeps its state between uses.
        kopie()->setValue(n);
        sortuj()->setChecked(true);
        bool przyOtwarciu = !dostepne;
        QList<bool> poZmianach;
        pokaz(tryb, strony, [&](TDrukFrm &) {
            przyOtwarciu = sortuj()->isEnabled();
            kopie()->setValue(n == 1 ? 2 : 1);
            poZmianach << sortuj()->isEnabled();
            kopie()->setValue(n);
            poZmianach << sortuj()->isEnabled() << sortuj()->isChecked();
        });
        QCOMPARE(przyOtwarciu, dostepne);
        QCOMPARE(poZmianach, (QList<bool>{!dostepne, dostepne, true}));
        QCOMPARE(kopie()->minimum(), 1);
        QCOMPARE(kopie()->maximum(), 99);
        QVERIFY(tytuly().isEmpty());
    }

    // With no box ticked the user is told and nothing is printed; a tick in
    // a hidden box counts as a chosen page. The dialog closes either way.
    void noTickedPageIsSaid_data()
    {
        QTest::addColumn<Tryb>("tryb");
        QTest::addColumn<QList<int>>("zaznaczone");
        QTest::addColumn<bool>("komunikat");
        QTest::newRow("wniosek, żadna") << Tryb::Wniosek << QList<int>{} << true;
        QTest::newRow("załącznik, żadna") << Tryb::Zalacznik << QList<int>{} << true;
        QTest::newRow("załącznik, ukryta 3") << Tryb::Zalacznik << QList<int>{3} << false;
        QTest::newRow("załącznik, ukryta 4") << Tryb::Zalacznik << QList<int>{4} << false;
    }
    void noTickedPageIsSaid()
    {
        QFETCH(Tryb, tryb);
        QFETCH(QList<int>, zaznaczone);
        QFETCH(bool, komunikat);
        StronyTestowe strony(*drukarka, tryb == Tryb::Wniosek ? 4 : 2);
        QList<bool> widoczne;
        QVERIFY(!pokaz(tryb, strony, [&](TDrukFrm &) {
            zaznacz(zaznaczone);
            kopie()->setValue(2);
            for (int i = 1; i <= 4; ++i)
                widoczne << strona(i)->isVisible();
            kliknij(u"DrukujBtn"_s);
        }));
        const bool wniosek = tryb == Tryb::Wniosek;
        QCOMPARE(widoczne, (QList<bool>{true, true, wniosek, wniosek}));
        QVERIFY(tytuly().isEmpty());
        QCOMPARE(db->boxes.texts(), komunikat ? QStringList{u"Nie zaznaczono pozycji do wydruku."_s} : QStringList{});
        if (komunikat) {
            QCOMPARE(db->boxes.shown().first().title, u"Uwaga"_s);
            QCOMPARE(db->boxes.shown().first().kind, MessageRequest::Kind::Warning);
        }
    }

    // A printer failure ends the run at its page: what came before is
    // printed, nothing after, the user is told and the dialog closes.
    void printerFailureEndsTheRun_data()
    {
        QTest::addColumn<int>("blednyDokument");
        QTest::addColumn<QStringList>("wydrukowane");
        QTest::newRow("pierwszy") << 1 << QStringList{};
        QTest::newRow("trzeci") << 3 << QStringList{u"Strona 1"_s, u"Strona 1"_s};
    }
    void printerFailureEndsTheRun()
    {
        QFETCH(int, blednyDokument);
        QFETCH(QStringList, wydrukowane);
        StronyTestowe strony(*drukarka, 4);
        strony.blednyDokument = blednyDokument;
        QVERIFY(!pokaz(Tryb::Wniosek, strony, [&](TDrukFrm &) {
            zaznacz({1, 2});
            kopie()->setValue(2);
            sortuj()->setChecked(false);
            kliknij(u"DrukujBtn"_s);
        }));
        QCOMPARE(tytuly(), wydrukowane);
        QCOMPARE(db->boxes.texts(), QStringList{u"Drukarka nie odpowiada."_s});
        QCOMPARE(db->boxes.shown().first().title, u"Uwaga"_s);
    }

    // Without a printer or a file nothing prints: the user is told and the
    // dialog stays open with "&Drukarka" at hand, for printing and for the
    // calibration alike.
    void noPrinterChosenKeepsTheDialogOpen_data()
    {
        QTest::addColumn<QString>("przycisk");
        QTest::newRow("D&rukuj") << u"DrukujBtn"_s;
        QTest::newRow("&Kalibracja") << u"KalibracjaBtn"_s;
    }
    void noPrinterChosenKeepsTheDialogOpen()
    {
        QFETCH(QString, przycisk);
        Drukarka bezPliku;
        QSignalSpy zaczete(&bezPliku, &Drukarka::dokumentZaczety);
        TDrukFrm okno(db->dm, bezPliku, [](Drukarka &, QWidget *) { return false; });
        StronyTestowe strony(bezPliku, 4);
        QString drukarkaWOknie, fokus;
        bool otwarte = false;
        onNextModal<TDrukFrm>([&](TDrukFrm &o) {
            drukarkaWOknie = childNamed<QLabel>(o, u"NazwaDrukarki"_s)->text();
            QTest::mouseClick(childNamed<QPushButton>(o, przycisk), Qt::LeftButton);
            keepShot(o, u"drukowanie-bez-drukarki"_s);
            otwarte = o.isVisible();
            fokus = o.focusWidget() ? o.focusWidget()->objectName() : QString();
            o.reject();
        });
        okno.ShowWniosek(strony);
        QVERIFY(otwarte);
        QCOMPARE(fokus, u"DrukarkaBtn"_s);
        QCOMPARE(drukarkaWOknie, u"brak drukarki (wybierz plik PDF)"_s);
        QCOMPARE(zaczete.size(), 0);
        QCOMPARE(db->boxes.texts(), QStringList{Drukarka::BrakWyboru()});
    }

    // Files of an earlier run are replaced only when the user agrees; "No"
    // prints nothing and leaves the dialog open. After a run the files
    // written are named, in an information box.
    void existingFilesReplacedOnlyWhenAgreed_data()
    {
        QTest::addColumn<bool>("zgoda");
        QTest::newRow("replaced") << true;
        QTest::newRow("kept") << false;
    }
    void existingFilesReplacedOnlyWhenAgreed()
    {
        QFETCH(bool, zgoda);
        QFile stary(katalog->filePath(u"wydruk-2.pdf"_s));
        QVERIFY(stary.open(QIODevice::WriteOnly));
        stary.write("stary");
        stary.close();
        db->boxes.answer(zgoda);
        StronyTestowe strony(*drukarka, 2);
        const bool otwarte = pokaz(Tryb::Zalacznik, strony, [&](TDrukFrm &) {
            zaznacz({1, 2});
            kopie()->setValue(1);
            kliknij(u"DrukujBtn"_s);
        });
        QCOMPARE(otwarte, !zgoda);
        const QString pierwszy = QDir::toNativeSeparators(katalog->filePath(u"wydruk.pdf"_s));
        const QString drugi = QDir::toNativeSeparators(katalog->filePath(u"wydruk-2.pdf"_s));
        QCOMPARE(db->boxes.shown().first().kind, MessageRequest::Kind::Question);
        QVERIFY2(db->boxes.texts().first().contains(drugi) && !db->boxes.texts().first().contains(pierwszy),
                 qPrintable(db->boxes.texts().first()));
        if (!zgoda) {
            QCOMPARE(tytuly(), QStringList{});
            QCOMPARE(db->boxes.shown().size(), 1);
            QVERIFY(stary.open(QIODevice::ReadOnly));
            QCOMPARE(stary.readAll(), QByteArray("stary"));
            return;
        }
        QCOMPARE(tytuly().size(), 2);
        QCOMPARE(db->boxes.shown().size(), 2);
        QCOMPARE(db->boxes.shown().last().kind, MessageRequest::Kind::Information);
        QCOMPARE(db->boxes.texts().last(), u"Zapisano pliki:\r%1\r%2"_s.arg(pierwszy, drugi));
    }

    // "&Drukarka" asks for the printer; a confirmed choice shows at once and
    // the next documents go there, a cancelled one changes nothing.
    void printerChoiceShowsAndIsUsed()
    {
        StronyTestowe strony(*drukarka, 2);
        const QString inny = katalog->filePath(u"inny.pdf"_s);
        QStringList etykiety;
        QVERIFY(!pokaz(Tryb::Zalacznik, strony, [&](TDrukFrm &) {
            auto *nazwa = kontrolka<QLabel>(u"NazwaDrukarki"_s);
            etykiety << nazwa->text();
            kliknij(u"DrukarkaBtn"_s); // cancelled
            etykiety << nazwa->text();
            wybranyPlik = inny;
            kliknij(u"DrukarkaBtn"_s);
            etykiety << nazwa->text();
            QVERIFY(nazwa->font().bold());
            zaznacz({1});
            kopie()->setValue(1);
            kliknij(u"DrukujBtn"_s);
        }));
        QCOMPARE(wyborow, 2);
        QCOMPARE(etykiety, (QStringList{u"plik PDF: "_s + katalog->filePath(u"wydruk.pdf"_s),
                                        u"plik PDF: "_s + katalog->filePath(u"wydruk.pdf"_s), u"plik PDF: "_s + inny}));
        QCOMPARE(plikiPdf(), QStringList{u"inny.pdf"_s});
    }

    // "&Marginesy" opens the margins of the mode; the print dialog stays.
    void marginsOfTheMode_data()
    {
        QTest::addColumn<Tryb>("tryb");
        QTest::addColumn<QString>("tytulDruku");
        QTest::addColumn<QString>("tytulMarginesow");
        QTest::newRow("wniosek") << Tryb::Wniosek << u"Drukowanie - wniosek"_s << u"Marginesy - wniosek"_s;
        QTest::newRow("załącznik") << Tryb::Zalacznik << u"Drukowanie - załącznik"_s << u"Marginesy - załącznik"_s;
    }
    void marginsOfTheMode()
    {
        QFETCH(Tryb, tryb);
        QFETCH(QString, tytulDruku);
        QFETCH(QString, tytulMarginesow);
        StronyTestowe strony(*drukarka, tryb == Tryb::Wniosek ? 4 : 2);
        QString tytul, marginesy;
        QVERIFY(pokaz(tryb, strony, [&](TDrukFrm &okno) {
            tytul = okno.windowTitle();
            onNextModal<TMarginesyFrm>([&](TMarginesyFrm &m) {
                marginesy = m.windowTitle();
                m.reject();
            });
            // A button's accelerator clicks it after a moment.
            QTest::keyClick(&okno, Qt::Key_M, Qt::AltModifier);
            QTRY_COMPARE(marginesy, tytulMarginesow);
        }));
        QCOMPARE(tytul, tytulDruku);
        QCOMPARE(marginesy, tytulMarginesow);
        QVERIFY(tytuly().isEmpty());
    }

    // The calibration prints each chosen page once, whatever the copies,
    // and leaves the dialog open; with nothing ticked it says so.
    void calibrationPrintsEachPageOnce_data()
    {
        QTest::addColumn<Tryb>("tryb");
        QTest::addColumn<QList<int>>("zaznaczone");
        QTest::addColumn<QStringList>("wydrukowane");
        QTest::addColumn<QStringList>("komunikaty");
        QTest::newRow("strony 1 i 3") << Tryb::Wniosek << QList<int>{1, 3}
                                      << QStringList{u"Kalibracja 1"_s, u"Kalibracja 3"_s} << QStringList{};
        QTest::newRow("załącznik, ukryta 4") << Tryb::Zalacznik << QList<int>{2, 4}
                                            << QStringList{u"Kalibracja 2"_s} << QStringList{};
        QTest::newRow("żadna") << Tryb::Wniosek << QList<int>{} << QStringList{}
                               << QStringList{u"Nie zaznaczono pozycji do wydruku."_s};
    }
    void calibrationPrintsEachPageOnce()
    {
        QFETCH(Tryb, tryb);
        QFETCH(QList<int>, zaznaczone);
        QFETCH(QStringList, wydrukowane);
        QFETCH(QStringList, komunikaty);
        StronyTestowe strony(*drukarka, tryb == Tryb::Wniosek ? 4 : 2);
        QString podpowiedz;
        QVERIFY(pokaz(tryb, strony, [&](TDrukFrm &okno) {
            zaznacz(zaznaczone);
            kopie()->setValue(3);
            sortuj()->setChecked(true);
            podpowiedz = kontrolka<QPushButton>(u"KalibracjaBtn"_s)->toolTip();
            QTest::keyClick(&okno, Qt::Key_K, Qt::AltModifier);
            QTRY_COMPARE(tytuly().size() + ostrzezenia().size(), wydrukowane.size() + komunikaty.size());
        }));
        QCOMPARE(tytuly(), wydrukowane);
        QCOMPARE(ostrzezenia(), komunikaty);
        QVERIFY(podpowiedz.contains(u"krzyżyki"_s));
    }

    // The choices stay from one use to the next, whatever the mode.
    void choicesStayBetweenUses()
    {
        StronyTestowe wniosek(*drukarka, 4);
        StronyTestowe zalacznik(*drukarka, 2);
        QVERIFY(!pokaz(Tryb::Wniosek, wniosek, [&](TDrukFrm &okno) {
            zaznacz({2, 4});
            kopie()->setValue(5);
            sortuj()->setChecked(true);
            QTest::keyClick(&okno, Qt::Key_A, Qt::AltModifier);
            QTRY_VERIFY(!okno.isVisible());
        }));
        QList<bool> zaznaczenia;
        int n = 0;
        bool sortowane = false;
        pokaz(Tryb::Zalacznik, zalacznik, [](TDrukFrm &) {});
        pokaz(Tryb::Wniosek, wniosek, [&](TDrukFrm &) {
            for (int i = 1; i <= 4; ++i)
                zaznaczenia << strona(i)->isChecked();
            n = kopie()->value();
            sortowane = sortuj()->isChecked();
        });
        QCOMPARE(zaznaczenia, (QList<bool>{false, true, false, true}));
        QCOMPARE(n, 5);
        QVERIFY(sortowane);
        QVERIFY(tytuly().isEmpty());
    }

    // The whole dialog by keyboard: the accelerators of the boxes, the
    // copies and the buttons; Enter prints.
    void keyboardPrints()
    {
        StronyTestowe strony(*drukarka, 4);
        zaznacz({1, 2, 3, 4});
        QVERIFY(!pokaz(Tryb::Wniosek, strony, [&](TDrukFrm &okno) {
            for (Qt::Key k : {Qt::Key_1, Qt::Key_2, Qt::Key_4})
                QTest::keyClick(&okno, k, Qt::AltModifier); // leaves page 3
            // A box's accelerator clicks it after a moment.
            QTRY_VERIFY(!strona(1)->isChecked() && !strona(2)->isChecked() && !strona(4)->isChecked());
            QTest::keyClick(&okno, Qt::Key_L, Qt::AltModifier);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
            QTest::keyClick(&okno, Qt::Key_S, Qt::AltModifier);
            QTRY_VERIFY(sortuj()->isChecked());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        }));
        QCOMPARE(tytuly(), (QStringList{u"Strona 3"_s, u"Strona 3"_s}));
    }
};

QTEST_MAIN(TestDrukFrm)
#include "tst_drukfrm.moc"
