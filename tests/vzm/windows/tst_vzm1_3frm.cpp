#include "vzm/windows/vzm1_3frm.h"

#include "vzm/windows/poprzednizwrotfrm.h"
#include "widgets/maskedlineedit.h"
#include "widgets/fielderror.h"
#include "widgets/orxeditcalc.h"

#include "core/common.h"
#include "core/twindow.h"
#include "data/tdm.h"
#include "support/formdata.h"
#include "support/widgettest.h"
#include "vzm/rozliczenie.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QStringList Kwadraty = {u"F7_1"_s,  u"F7_2"_s,  u"F8_1"_s,  u"F8_2"_s,  u"F8_3"_s, u"F57_1"_s,
                              u"F57_2"_s, u"F57_3"_s, u"F58_1"_s, u"F58_2"_s, u"F58_3"_s};
const QStringList LimityD31 = {u"F47Lbl"_s, u"F48Lbl"_s, u"F49Lbl"_s, u"F50Lbl"_s};
const QStringList LimityD32 = {u"aF47Lbl"_s, u"aF48Lbl"_s, u"aF49Lbl"_s, u"aF50Lbl"_s};
const QString TakiSamNip = u"NIP podatnika i małżonka jest taki sam"_s;
const QString Pytanie = u"Porzucić zmiany we wniosku?"_s;
const QColor Czerwony(255, 0, 0);

} // namespace

// The application editor shown on the offscreen platform over a database
// made by the installer, on a form model loaded from it; keys and clicks are
// sent to the controls as the keyboard and the mouse send them.
class TestVzm1_3Frm : public QObject, private TaxpayerModelFixture
{
    Q_OBJECT

    TWindow window;
    std::unique_ptr<TVZM1_3Frm> frm;

    ScriptedMessageBoxes &boxes() { return db->boxes; }
    TDM &dm() { return db->dm; }

    // Loads the application (0: a new one) and opens the editor on it.
    bool openEditor(int vzmId = 0)
    {
        if (!vzm->Wczytaj(podatId, vzmId))
            return false;
        frm = std::make_unique<TVZM1_3Frm>(dm(), *vzm, window);
        frm->resize(1280, 800);
        frm->Przygotuj();
        frm->show();
        return QTest::qWaitForWindowActive(frm.get());
    }

    template <class T = QLineEdit>
    T *control(const QString &name) { return childNamed<T>(*frm, name); }
    QTabWidget *tabs() { return control<QTabWidget>(u"Zakladki"_s); }
    QString currentTab() { return tabs()->tabText(tabs()->currentIndex()); }
    QString label(const QString &name) { return control<QLabel>(name)->text(); }

    bool focusOn(QWidget *w)
    {
        for (int i = 0; i < tabs()->count(); ++i)
            if (tabs()->widget(i)->isAncestorOf(w))
                tabs()->setCurrentIndex(i);
        w->setFocus(Qt::TabFocusReason);
        return w->hasFocus();
    }
    // Types into a control as the keyboard does, starting at a mask's first place.
    bool typeInto(const QString &name, const QString &keys)
    {
        QWidget *w = control<QWidget>(name);
        if (!focusOn(w))
            return false;
        if (auto *edit = qobject_cast<QLineEdit *>(w); edit && !edit->inputMask().isEmpty())
            edit->setCursorPosition(0);
        typeText(w, keys);
        return true;
    }
    // Leaves the control that has the focus, for a control that edits nothing.
    void leaveField() { control<QPushButton>(u"CancelBtn"_s)->setFocus(Qt::TabFocusReason); }
    QStringList ticked()
    {
        QStringList names;
        for (const QString &k : Kwadraty)
            if (control<QCheckBox>(k)->isChecked())
                names << k;
        return names;
    }
    QStringList tickedInModel()
    {
        const bool stan[] = {vzm->P7_1(),  vzm->P7_2(),  vzm->P8_1(),  vzm->P8_2(),  vzm->P8_3(), vzm->P57_1(),
                             vzm->P57_2(), vzm->P57_3(), vzm->P58_1(), vzm->P58_2(), vzm->P58_3()};
        QStringList names;
        for (int i = 0; i < Kwadraty.size(); ++i)
            if (stan[i])
                names << Kwadraty[i];
        return names;
    }
    bool isRed(QLineEdit *e) { return e->palette().color(QPalette::Text) == Czerwony; }
    void setDefaultPrice(Money cena)
    {
        dm().Domysl.first();
        dm().Domysl.edit();
        dm().Domysl.field(u"CenaMetra"_s).setMoney(cena);
        dm().Domysl.post();
    }
    // A stored application whose invoices give a refund once a price is given.
    int applicationWithInvoices()
    {
        const int vzmId = db->addApplication(podatId, {{u"NrKolej"_s, 1}});
        db->addFurtherEntries(vzmId);
        db->addInvoice(vzmId, u"A"_s, {{u"NrFakt"_s, u"A/1"_s}, {u"VatA"_s, kwotaV("8 000,00")}});
        db->addInvoice(vzmId, u"A"_s, {{u"NrFakt"_s, u"A/2"_s}, {u"VatB"_s, kwotaV("3 000,00")}});
        db->addInvoice(vzmId, u"B"_s, {{u"NrFakt"_s, u"B/1"_s}, {u"VatA"_s, kwotaV("5 000,00")}});
        return vzmId;
    }
    void doubleClickRow(QTableView *grid, int row)
    {
        const QRect cell = grid->visualRect(grid->model()->index(row, 1));
        doubleClick(grid->viewport(), cell.center());
    }

private slots:
    void init()
    {
        setUp();
        window = TWindow();
    }
    void cleanup()
    {
        frm.reset();
        tearDown();
    }

    // The title names the taxpayer; the first page is in front and every
    // tab comes forward with its Alt key.
    void titleAndTabAccelerators_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("tab");
        QTest::newRow("Alt+2") << int(Qt::Key_2) << u"Strona &2"_s;
        QTest::newRow("Alt+3") << int(Qt::Key_3) << u"Strona &3"_s;
        QTest::newRow("Alt+4") << int(Qt::Key_4) << u"Strona &4"_s;
        QTest::newRow("Alt+N") << int(Qt::Key_N) << u"&Notatki"_s;
        QTest::newRow("Alt+W") << int(Qt::Key_W) << u"&Weryfikacja"_s;
        QTest::newRow("Alt+R") << int(Qt::Key_R) << u"&Rozliczenie"_s;
    }
    void titleAndTabAccelerators()
    {
        QFETCH(int, key);
        QFETCH(QString, tab);
        QVERIFY(openEditor());
        QCOMPARE(frm->windowTitle(), u"VZM-1 (5) "_s + PolaczTeksty(vzm->Nazwisko, vzm->Imie));
        QVERIFY(frm->windowTitle().endsWith(u"Żółkiewski Łukasz"_s));
        QCOMPARE(currentTab(), u"Strona &1"_s);
        QVERIFY(focusOn(control(u"FUrzad"_s)));
        QTest::keyClick(control(u"FUrzad"_s), Qt::Key(key), Qt::AltModifier);
        QCOMPARE(currentTab(), tab);
        QTest::keyClick(frm.get(), Qt::Key_1, Qt::AltModifier);
        QCOMPARE(currentTab(), u"Strona &1"_s);
    }

    // The Tab key follows each page of the form from top to bottom.
    void tabKeyFollowsThePage_data()
    {
        QTest::addColumn<QString>("z");
        QTest::addColumn<QString>("do_");
        QTest::newRow("NIP, PESEL") << u"FNip"_s << u"FPesel"_s;
        QTest::newRow("do małżonka") << u"FPesel"_s << u"FmNip"_s;
        QTest::newRow("części A") << u"FMPesel"_s << u"FNrKolej"_s;
        QTest::newRow("5, 6") << u"FNrKolej"_s << u"FUrzad"_s;
        QTest::newRow("6, 7") << u"FUrzad"_s << u"F7_1"_s;
        QTest::newRow("7, 8") << u"FNrKoryg"_s << u"F8_1"_s;
        QTest::newRow("8, B.1") << u"F8_3"_s << u"FNazwisko"_s;
        QTest::newRow("B.1, B.2") << u"FPoczta"_s << u"FMNazwisko"_s;
        QTest::newRow("37, 38") << u"F43"_s << u"F44"_s;
        QTest::newRow("39, »") << u"F45"_s << u"WstawCena"_s;
        QTest::newRow("50, 51") << u"F56"_s << u"F57_1"_s;
        QTest::newRow("konto, ...") << u"FKonto"_s << u"WstawKontoBtn"_s;
        QTest::newRow("54, Wstaw »") << u"F60"_s << u"PoliczBtn"_s;
    }
    void tabKeyFollowsThePage()
    {
        QFETCH(QString, z);
        QFETCH(QString, do_);
        QVERIFY(openEditor());
        QVERIFY(focusOn(control<QWidget>(z)));
        QTest::keyClick(control<QWidget>(z), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), do_);
    }

    // The editor comes back where and as large as it was left.
    void placementIsKeptBetweenUses()
    {
        QVERIFY(openEditor());
        frm->resize(1111, 705);
        frm.reset();
        TWindow zapisane;
        zapisane.setNazwa(u"VZM1_3Frm"_s);
        QVERIFY(zapisane.Wczytaj());
        QCOMPARE(QSize(zapisane.Width(), zapisane.Height()), QSize(1111, 705));
        TVZM1_3Frm drugie(dm(), *vzm, window);
        QCOMPARE(drugie.size(), QSize(1111, 705));
    }

    // The controls of the form under their names, with their lengths,
    // display formats, limits and hints.
    void controlsAsTheFormNamesThem_data()
    {
        QTest::addColumn<QString>("nazwa");
        QTest::addColumn<int>("dlugosc");
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("dolnaGranica");
        QTest::newRow("FNrKolej") << u"FNrKolej"_s << 2 << u"#0"_s << false;
        QTest::newRow("FNrKoryg") << u"FNrKoryg"_s << 2 << u"#0"_s << false;
        QTest::newRow("F41") << u"F41"_s << 4 << u"###0"_s << false;
        QTest::newRow("F43") << u"F43"_s << 4 << u"###0"_s << false;
        QTest::newRow("F45") << u"F45"_s << 32767 << u"#,##0.00"_s << true;
        QTest::newRow("F59") << u"F59"_s << 32767 << u"#,##0"_s << true;
        QTest::newRow("F60") << u"F60"_s << 32767 << u"0"_s << true;
        QTest::newRow("F61") << u"F61"_s << 32767 << u"0"_s << true;
        QTest::newRow("FUrzad") << u"FUrzad"_s << 150 << QString() << false;
        QTest::newRow("FDokument") << u"FDokument"_s << 100 << QString() << false;
        QTest::newRow("FMDokument") << u"FMDokument"_s << 100 << QString() << false;
        QTest::newRow("FNazwisko") << u"FNazwisko"_s << 80 << QString() << false;
        QTest::newRow("FMPoczta") << u"FMPoczta"_s << 80 << QString() << false;
    }
    void controlsAsTheFormNamesThem()
    {
        QFETCH(QString, nazwa);
        QFETCH(int, dlugosc);
        QFETCH(QString, format);
        QFETCH(bool, dolnaGranica);
        QVERIFY(openEditor());
        QCOMPARE(control(nazwa)->maxLength(), dlugosc);
        auto *liczba = qobject_cast<TOrxEditCalc *>(control(nazwa));
        QCOMPARE(liczba != nullptr, !format.isEmpty());
        if (!liczba)
            return;
        QCOMPARE(liczba->DisplayFormat(), format);
        // Every one refuses, when left, a text that does not read.
        const TOrxEditCheckOptions zGranica(coCheckLowLimit | coCheckOnExit | coCropBeyondLimit);
        QCOMPARE(liczba->CheckOptions(), dolnaGranica ? zGranica : TOrxEditCheckOptions(coCheckOnExit));
        QCOMPARE(liczba->LowLimit(), Money());
    }

    void buttonHints_data()
    {
        QTest::addColumn<QString>("nazwa");
        QTest::addColumn<QString>("podpowiedz");
        QTest::newRow("»") << u"WstawCena"_s << u"Wstaw z parametrów domyślnych"_s;
        QTest::newRow("...") << u"WstawKontoBtn"_s << u"Wstaw numer rachunku bankowego\npodatnika lub małżonka"_s;
        QTest::newRow("Wstaw »") << u"PoliczBtn"_s << u"Policz liczbę wpisów\nw załącznikach  "_s;
    }
    void buttonHints()
    {
        QFETCH(QString, nazwa);
        QFETCH(QString, podpowiedz);
        QVERIFY(openEditor());
        QCOMPARE(control<QAbstractButton>(nazwa)->toolTip(), podpowiedz);
    }

    // The date of the first application is read as "dd-mm-yyyy"; an
    // impossible or incomplete date is refused under the field, which keeps
    // it and the focus, and the model keeps its date; an empty one is no
    // date; an early date is marked.
    void dateOfTheFirstApplication_data()
    {
        QTest::addColumn<QString>("wpisane");
        QTest::addColumn<QDate>("data");
        QTest::addColumn<QString>("widoczne");
        QTest::addColumn<bool>("czerwona");
        QTest::addColumn<bool>("odrzucona");
        QTest::newRow("poprawna") << u"15032011"_s << QDate(2011, 3, 15) << u"15-03-2011"_s << false << false;
        QTest::newRow("31 lutego") << u"31022011"_s << QDate() << u"31-02-2011"_s << false << true;
        QTest::newRow("niepełna") << u"1503"_s << QDate() << u"15-03-____"_s << false << true;
        QTest::newRow("pusta") << QString() << QDate() << u"__-__-____"_s << false << false;
        QTest::newRow("przed 2006") << u"31122005"_s << QDate(2005, 12, 31) << u"31-12-2005"_s << true << false;
        QTest::newRow("1 stycznia 2006") << u"01012006"_s << QDate(2006, 1, 1) << u"01-01-2006"_s << false << false;
    }
    void dateOfTheFirstApplication()
    {
        QFETCH(QString, wpisane);
        QFETCH(QDate, data);
        QFETCH(QString, widoczne);
        QFETCH(bool, czerwona);
        QFETCH(bool, odrzucona);
        FieldErrors bledy;
        QVERIFY(openEditor());
        QVERIFY(typeInto(u"F44"_s, wpisane));
        leaveField();
        QCOMPARE(bledy.shown(), odrzucona ? QStringList{u"F44: Niepoprawna data"_s} : QStringList());
        QCOMPARE(QApplication::focusWidget() == control(u"F44"_s), odrzucona);
        QCOMPARE(vzm->P44(), data);
        QCOMPARE(control(u"F44"_s)->displayText(), widoczne);
        QCOMPARE(isRed(control(u"F44"_s)), czerwona);
        QCOMPARE(control(u"F44"_s)->toolTip(), czerwona ? vzm->StanP44().Opis : QString());
        QCOMPARE(vzm->IsD31(), data.isValid() && data.year() <= 2010);
    }

    // Every control shows the loaded application.
    void controlsShowTheLoadedApplication()
    {
        const int vzmId = db->addApplication(podatId, {{u"NrKolej"_s, 2}, {u"Korekta"_s, true}, {u"NrKoryg"_s, 1}});
        db->addFurtherEntries(vzmId, {{u"P8_2"_s, true},
                                      {u"P42"_s, 2009},
                                      {u"P44"_s, QDate(2010, 5, 10)},
                                      {u"P45"_s, kwotaV("3 000,00")},
                                      {u"P56"_s, u"wymiana okien\r\nocieplenie"_s},
                                      {u"P57_3"_s, true},
                                      {u"P58_1"_s, true},
                                      {u"Konto"_s, KontoPoprawne},
                                      {u"P60"_s, 7},
                                      {u"P65"_s, u"telefon 12 345 67 89"_s}});
        QVERIFY(openEditor(vzmId));
        QCOMPARE(control(u"FNazwisko"_s)->text(), vzm->Nazwisko);
        QCOMPARE(control(u"FMKraj"_s)->text(), vzm->MKraj);
        QCOMPARE(control(u"FUrzad"_s)->text(), vzm->Urzad);
        QCOMPARE(control<MaskedLineEdit>(u"FNip"_s)->storedText(), vzm->NIP());
        QCOMPARE(control<MaskedLineEdit>(u"FPesel"_s)->storedText(), vzm->Pesel());
        QCOMPARE(control<MaskedLineEdit>(u"FKonto"_s)->storedText(), vzm->Konto());
        QCOMPARE(control<MaskedLineEdit>(u"F44"_s)->displayText(), DataNaTekst(vzm->P44()));
        QCOMPARE(control<TOrxEditCalc>(u"FNrKolej"_s)->Value(), Money::fromUnits(vzm->NrKolej()));
        QCOMPARE(control<TOrxEditCalc>(u"FNrKoryg"_s)->Value(), Money::fromUnits(vzm->NrKoryg()));
        QCOMPARE(control<TOrxEditCalc>(u"F42"_s)->Value(), Money::fromUnits(vzm->P42()));
        QCOMPARE(control<TOrxEditCalc>(u"F60"_s)->Value(), Money::fromUnits(vzm->P60()));
        QCOMPARE(control<TOrxEditCalc>(u"F45"_s)->Value(), vzm->P45());
        QCOMPARE(ticked(), tickedInModel());
        QCOMPARE(control<QPlainTextEdit>(u"F56"_s)->toPlainText(), vzm->P56.join(u'\n'));
        QCOMPARE(control<QPlainTextEdit>(u"F65"_s)->toPlainText(), vzm->P65.join(u'\n'));
        QCOMPARE(label(u"F62Lbl"_s), QString::number(vzm->P62()) + u" szt."_s);
        QCOMPARE(label(u"FZwrotPopLbl"_s), Kwota0(vzm->GetZwrotPop()));
    }

    // Completion from the voivodeship list, the first names and the tax
    // offices used before; deleting never proposes.
    void completionWhileTyping_data()
    {
        QTest::addColumn<QString>("kontrolka");
        QTest::addColumn<QString>("klawisze");
        QTest::addColumn<QString>("tekst");
        QTest::addColumn<QString>("zaznaczone");
        QTest::newRow("m, a") << u"FWojew"_s << u"ma"_s << u"Małopolskie"_s << u"łopolskie"_s;
        QTest::newRow("m, a, z") << u"FWojew"_s << u"maz"_s << u"Mazowieckie"_s << u"owieckie"_s;
        QTest::newRow("m, a, Backspace") << u"FWojew"_s << u"ma\b"_s << u"Ma"_s << QString();
        QTest::newRow("m, a, Backspace, Backspace") << u"FWojew"_s << u"ma\b\b"_s << u"M"_s << QString();
        QTest::newRow("województwo małżonka") << u"FMWojew"_s << u"ś"_s << u"Śląskie"_s << u"ląskie"_s;
        QTest::newRow("imię") << u"FImie"_s << u"zb"_s << u"Zbigniew"_s << u"igniew"_s;
        QTest::newRow("urząd z rejestru") << u"FUrzad"_s << u"urząd s"_s << u"Urząd Skarbowy Kraków-Podgórze"_s
                                          << u"karbowy Kraków-Podgórze"_s;
        QTest::newRow("miejscowość z rejestru") << u"FMMiasto"_s << u"kr"_s << u"Kraków"_s << u"aków"_s;
        QTest::newRow("bez podpowiedzi") << u"FNazwisko"_s << u"ma"_s << u"ma"_s << QString();
    }
    void completionWhileTyping()
    {
        QFETCH(QString, kontrolka);
        QFETCH(QString, klawisze);
        QFETCH(QString, tekst);
        QFETCH(QString, zaznaczone);
        QVERIFY(openEditor());
        control(kontrolka)->clear();
        QVERIFY(typeInto(kontrolka, klawisze));
        QCOMPARE(control(kontrolka)->text(), tekst);
        QCOMPARE(control(kontrolka)->selectedText(), zaznaczone);
        leaveField();
        QCOMPARE(control(kontrolka)->text(), tekst);
    }

    // A click hands the box to the model; every box then shows the model.
    void boxesFollowTheModel_data()
    {
        QTest::addColumn<QStringList>("klikniete");
        QTest::addColumn<QStringList>("zaznaczone");
        QTest::newRow("konto osoby ubiega się o bank")
            << QStringList{u"F57_1"_s, u"F58_1"_s} << QStringList{u"F7_1"_s, u"F57_3"_s, u"F58_1"_s};
        QTest::newRow("poczta po banku") << QStringList{u"F57_3"_s, u"F57_2"_s}
                                         << QStringList{u"F7_1"_s, u"F57_2"_s};
        QTest::newRow("kasa czyści rachunki") << QStringList{u"F58_2"_s, u"F58_3"_s, u"F57_1"_s}
                                             << QStringList{u"F7_1"_s, u"F57_1"_s};
        QTest::newRow("dwa rachunki małżonków") << QStringList{u"F58_2"_s, u"F58_3"_s}
                                               << QStringList{u"F7_1"_s, u"F57_3"_s, u"F58_2"_s, u"F58_3"_s};
        QTest::newRow("korekta") << QStringList{u"F7_2"_s} << QStringList{u"F7_2"_s};
        QTest::newRow("wniosek wspólny po indywidualnym")
            << QStringList{u"F8_2"_s, u"F8_3"_s} << QStringList{u"F7_1"_s, u"F8_3"_s};
        QTest::newRow("osoba samotna") << QStringList{u"F8_1"_s} << QStringList{u"F7_1"_s, u"F8_1"_s};
        QTest::newRow("wniosek indywidualny") << QStringList{u"F8_2"_s} << QStringList{u"F7_1"_s, u"F8_2"_s};
        QTest::newRow("odznaczenie") << QStringList{u"F8_1"_s, u"F8_1"_s} << QStringList{u"F7_1"_s};
    }
    void boxesFollowTheModel()
    {
        QFETCH(QStringList, klikniete);
        QFETCH(QStringList, zaznaczone);
        QVERIFY(openEditor());
        for (const QString &k : klikniete) {
            QVERIFY(focusOn(control<QCheckBox>(k)));
            clickIndicator(control<QCheckBox>(k));
        }
        QCOMPARE(ticked(), zaznaczone);
        QCOMPARE(tickedInModel(), zaznaczone);
    }

    // Identifiers are never rejected: the model's marks paint them.
    void identifierMarks_data()
    {
        QTest::addColumn<QString>("nipPodatnika");
        QTest::addColumn<QString>("nipMalzonka");
        QTest::addColumn<bool>("podatnikCzerwony");
        QTest::addColumn<bool>("malzonekCzerwony");
        QTest::addColumn<QString>("podpowiedz");
        QTest::newRow("ten sam NIP") << u"5260250274"_s << u"5260250274"_s << true << true << TakiSamNip;
        QTest::newRow("różne poprawne") << u"1234563218"_s << u"5260250274"_s << false << false << QString();
        QTest::newRow("błędny podatnika") << u"1234563219"_s << u"5260250274"_s << true << false
                                          << u"Nieprawidłowy NIP"_s;
        QTest::newRow("ten sam, poprawiony")
            << u"5260250274"_s << u"5260250274\b1234563218"_s << false << false << QString();
    }
    void identifierMarks()
    {
        QFETCH(QString, nipPodatnika);
        QFETCH(QString, nipMalzonka);
        QFETCH(bool, podatnikCzerwony);
        QFETCH(bool, malzonekCzerwony);
        QFETCH(QString, podpowiedz);
        QVERIFY(openEditor());
        const qsizetype poprawka = nipMalzonka.indexOf(u'\b');
        QVERIFY(typeInto(u"FNip"_s, nipPodatnika));
        QVERIFY(typeInto(u"FmNip"_s, nipMalzonka.left(poprawka)));
        leaveField();
        if (poprawka >= 0) {
            QVERIFY(isRed(control(u"FmNip"_s)));
            QVERIFY(typeInto(u"FmNip"_s, nipMalzonka.mid(poprawka + 1)));
            leaveField();
        }
        QCOMPARE(isRed(control(u"FNip"_s)), podatnikCzerwony);
        QCOMPARE(isRed(control(u"FmNip"_s)), malzonekCzerwony);
        QCOMPARE(control(u"FNip"_s)->toolTip(), podpowiedz);
        QCOMPARE(control(u"FmNip"_s)->toolTip(), malzonekCzerwony ? podpowiedz : QString());
        QCOMPARE(vzm->StanNip().Opis, podpowiedz);
    }

    // The date of the first application decides the block of the limits;
    // the price and the date typed change the limits and the refund at once.
    void limitsInTheBlockOfTheDate_data()
    {
        QTest::addColumn<QString>("data");
        QTest::addColumn<bool>("d31");
        QTest::newRow("15-03-2011") << u"15032011"_s << false;
        QTest::newRow("15-03-2010") << u"15032010"_s << true;
        QTest::newRow("bez daty") << QString() << false;
    }
    void limitsInTheBlockOfTheDate()
    {
        QFETCH(QString, data);
        QFETCH(bool, d31);
        QVERIFY(openEditor(applicationWithInvoices()));
        const QString zwrotPrzed = label(u"F55Lbl"_s);
        QCOMPARE(zwrotPrzed, Kwota0(Money()));
        QVERIFY(typeInto(u"F44"_s, data));
        QVERIFY(typeInto(u"F45"_s, u"3250,40"_s));
        leaveField();
        QCOMPARE(vzm->P45(), kwota("3 250,40"));
        QCOMPARE(vzm->P44().isValid(), !data.isEmpty());
        QCOMPARE(vzm->IsD31(), d31);
        const QStringList &wypelnione = d31 ? LimityD31 : LimityD32;
        const QStringList &puste = d31 ? LimityD32 : LimityD31;
        for (int i = 0; i < 4; ++i) {
            QVERIFY(vzm->GetPole(47 + i) > Money());
            QCOMPARE(label(wypelnione[i]), Kwota2(vzm->GetPole(47 + i)));
            QCOMPARE(label(puste[i]), QString());
            QCOMPARE(label(u"F%1Lbl"_s.arg(51 + i)), Kwota2(vzm->GetPole(51 + i)));
        }
        QCOMPARE(label(u"F55Lbl"_s), Kwota0(vzm->GetPole(55)));
        QVERIFY(label(u"F55Lbl"_s) != zwrotPrzed);
    }

    // "»" puts the default price into position 39 and recomputes; with no
    // default price it leaves the field as it was.
    void insertingTheDefaultPrice_data()
    {
        QTest::addColumn<Money>("domyslna");
        QTest::addColumn<Money>("oczekiwana");
        QTest::newRow("cena 0") << Money() << kwota("2 100,00");
        QTest::newRow("cena z parametrów") << kwota("4 321,50") << kwota("4 321,50");
    }
    void insertingTheDefaultPrice()
    {
        QFETCH(Money, domyslna);
        QFETCH(Money, oczekiwana);
        setDefaultPrice(domyslna);
        QVERIFY(openEditor(applicationWithInvoices()));
        QVERIFY(typeInto(u"F45"_s, u"2100"_s));
        leaveField();
        const QString limitPrzed = label(u"aF49Lbl"_s);
        QTest::mouseClick(control<QPushButton>(u"WstawCena"_s), Qt::LeftButton);
        QCOMPARE(control<TOrxEditCalc>(u"F45"_s)->Value(), oczekiwana);
        QCOMPARE(vzm->P45(), oczekiwana);
        QCOMPARE(label(u"aF49Lbl"_s), Kwota2(vzm->GetPole(49)));
        QCOMPARE(label(u"aF49Lbl"_s) != limitPrzed, domyslna > Money());
        QCOMPARE(control<QPushButton>(u"WstawCena"_s)->toolTip(), u"Wstaw z parametrów domyślnych"_s);
    }

    // Counts take whole numbers as many digits long as their printed boxes
    // hold; a fraction, a longer number or a negative one (where no cropped
    // low limit takes it) is refused under the field and never reaches the
    // model; a negative count of documents shows and is kept as 0.
    void countsAreWholeNumbers_data()
    {
        QTest::addColumn<QString>("kontrolka");
        QTest::addColumn<QString>("wpisane");
        QTest::addColumn<int>("wModelu"); // -1: refused, the model keeps 0
        QTest::newRow("ułamek") << u"F60"_s << u"3,5"_s << -1;
        QTest::newRow("kropka przed groszami") << u"F61"_s << u"2.5"_s << -1;
        QTest::newRow("najwięcej, co mieści kratka") << u"F59"_s << u"9 999"_s << 9999;
        QTest::newRow("więcej, niż mieści kratka") << u"F60"_s << u"10000"_s << -1;
        QTest::newRow("rok") << u"F42"_s << u"2009"_s << 2009;
        QTest::newRow("rok obcięty do 4 znaków") << u"F41"_s << u"20075"_s << 2007;
        QTest::newRow("rok ujemny") << u"F41"_s << u"-200"_s << -1;
        QTest::newRow("pozwolenie ujemne") << u"F59"_s << u"-3"_s << 0;
        QTest::newRow("numer kolejny") << u"FNrKolej"_s << u"4"_s << 4;
        QTest::newRow("numer kolejny ujemny") << u"FNrKolej"_s << u"-1"_s << -1;
    }
    void countsAreWholeNumbers()
    {
        QFETCH(QString, kontrolka);
        QFETCH(QString, wpisane);
        QFETCH(int, wModelu);
        FieldErrors bledy;
        QVERIFY(openEditor());
        QVERIFY(typeInto(kontrolka, wpisane));
        leaveField();
        const bool odrzucona = wModelu < 0;
        const int wartosc = kontrolka == u"F41"_s   ? vzm->P41()
                            : kontrolka == u"F42"_s ? vzm->P42()
                            : kontrolka == u"F60"_s ? vzm->P60()
                            : kontrolka == u"F61"_s ? vzm->P61()
                            : kontrolka == u"F59"_s ? vzm->P59()
                                                    : vzm->NrKolej();
        QCOMPARE(wartosc, odrzucona ? (kontrolka == u"FNrKolej"_s ? 1 : 0) : wModelu);
        QCOMPARE(bledy.shown(), odrzucona ? QStringList{kontrolka + u": Niepoprawna zawartość pola"_s} : QStringList());
        if (odrzucona) {
            QCOMPARE(control<TOrxEditCalc>(kontrolka)->text(), wpisane);
            QCOMPARE(QApplication::focusWidget(), control(kontrolka));
        } else {
            QCOMPARE(control<TOrxEditCalc>(kontrolka)->Value(), Money::fromUnits(wModelu));
        }
    }

    // "Wstaw »" counts the invoices of all three lists of the application.
    void countingTheInvoices()
    {
        const int vzmId = applicationWithInvoices();
        db->addInvoice(vzmId, u"C"_s, {{u"NrFakt"_s, u"C/1"_s}});
        db->addInvoice(db->addApplication(podatId, {{u"NrKolej"_s, 2}}), u"A"_s, {{u"NrFakt"_s, u"X/1"_s}});
        QVERIFY(openEditor(vzmId));
        QTest::mouseClick(control<QPushButton>(u"PoliczBtn"_s), Qt::LeftButton);
        QCOMPARE(vzm->P60(), dm().LiczbaFaktur(vzmId));
        QCOMPARE(vzm->P60(), 4);
        QCOMPARE(control<TOrxEditCalc>(u"F60"_s)->Value(), Money::fromUnits(4));
    }

    // The verification runs when its tab comes forward; a double click on a
    // breach takes the user to the position's control.
    void doubleClickOnABreachGoesToItsField_data()
    {
        QTest::addColumn<int>("pozycja");
        QTest::addColumn<QString>("zakladka");
        QTest::addColumn<QString>("kontrolka");
        QTest::newRow("39") << 39 << u"Strona &2"_s << u"F45"_s;
        QTest::newRow("22") << 22 << u"Strona &1"_s << u"FMNazwisko"_s;
        QTest::newRow("52") << 52 << u"Strona &3"_s << u"F58_1"_s;
        QTest::newRow("59") << 59 << u"Strona &4"_s << u"F65"_s;
        QTest::newRow("3") << 3 << u"&Weryfikacja"_s << QString();
        QTest::newRow("49") << 49 << u"&Weryfikacja"_s << QString();
    }
    void doubleClickOnABreachGoesToItsField()
    {
        QFETCH(int, pozycja);
        QFETCH(QString, zakladka);
        QFETCH(QString, kontrolka);
        QVERIFY(openEditor());
        auto *grid = control<QTableView>(u"BledyGrid"_s);
        QTest::keyClick(frm.get(), Qt::Key_W, Qt::AltModifier);
        QCOMPARE(currentTab(), u"&Weryfikacja"_s);
        QVERIFY(grid->model()->rowCount() > 0);
        // The breach is put before those of the run, as the first row.
        dm().CzyscBledy();
        dm().DodajBlad({pozycja, u"naruszenie"_s});
        QCOMPARE(grid->model()->rowCount(), 1);
        grid->setFocus();
        doubleClickRow(grid, 0);
        QCOMPARE(currentTab(), zakladka);
        if (kontrolka.isEmpty())
            QVERIFY(grid->hasFocus());
        else
            QCOMPARE(QApplication::focusWidget(), control<QWidget>(kontrolka));
    }

    // The summary line counts the entries of the run; a form in order says so.
    void verificationSummary_data()
    {
        QTest::addColumn<bool>("poprawny");
        QTest::newRow("nowy wniosek") << false;
        QTest::newRow("wniosek bez błędów") << true;
    }
    void verificationSummary()
    {
        QFETCH(bool, poprawny);
        QVERIFY(openEditor());
        if (poprawny) {
            for (const char *k : {"F8_1", "F57_1"}) {
                QVERIFY(focusOn(control<QCheckBox>(QLatin1StringView(k))));
                clickIndicator(control<QCheckBox>(QLatin1StringView(k)));
            }
            QVERIFY(typeInto(u"F45"_s, u"3000"_s));
            QVERIFY(typeInto(u"F60"_s, u"2"_s));
            // Still in F60: switching the tab hands its value over first.
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_W, Qt::AltModifier);
        const QStringList bledy = db->errorList();
        QVERIFY2(bledy.isEmpty() == poprawny, qPrintable(bledy.join(u"; "_s)));
        QCOMPARE(label(u"BladPan"_s), poprawny ? u" W formularzu nie znaleziono błędów"_s
                                               : u" Liczba błędów i ostrzeżeń: "_s + QString::number(bledy.size()));
        auto *grid = control<QTableView>(u"BledyGrid"_s);
        QCOMPARE(grid->model()->rowCount(), bledy.size());
        QCOMPARE(grid->model()->headerData(0, Qt::Horizontal).toString(), u"Pozycja"_s);
        if (!poprawny)
            QCOMPARE(grid->model()->index(0, 0).data().toString() + u'|' + grid->model()->index(0, 1).data().toString(),
                     bledy.first());
    }

    // The "..." button offers the stored accounts of the taxpayer and the
    // spouse; an item puts its account into position 52.
    void accountMenuOffersStoredAccounts_data()
    {
        QTest::addColumn<QString>("kontoPodatnika");
        QTest::addColumn<QString>("kontoMalzonka");
        QTest::newRow("oba") << KontoPoprawne << u"05102055610000310200027878"_s;
        QTest::newRow("podatnika") << KontoPoprawne << QString();
        QTest::newRow("małżonka z odstępami") << u"   "_s << u"05102055610000310200027878"_s;
        QTest::newRow("żadne") << QString() << u"  "_s;
    }
    void accountMenuOffersStoredAccounts()
    {
        QFETCH(QString, kontoPodatnika);
        QFETCH(QString, kontoMalzonka);
        QVERIFY(dm().Podatnik.locate(u"PodatId"_s, podatId));
        dm().Podatnik.edit();
        dm().Podatnik.field(u"Konto"_s).setString(kontoPodatnika);
        dm().Podatnik.field(u"MKonto"_s).setString(kontoMalzonka);
        dm().Podatnik.post();
        QVERIFY(openEditor());
        auto *podatnika = control<QAction>(u"PodatnikKonto"_s);
        auto *malzonka = control<QAction>(u"MalzonekKonto"_s);
        const bool maPodatnik = !kontoPodatnika.trimmed().isEmpty();
        const bool maMalzonek = !kontoMalzonka.trimmed().isEmpty();
        QCOMPARE(podatnika->isVisible(), maPodatnik);
        QCOMPARE(malzonka->isVisible(), maMalzonek);
        QCOMPARE(!control<QToolButton>(u"WstawKontoBtn"_s)->isHidden(), maPodatnik || maMalzonek);
        for (const auto &[akcja, konto] : {std::pair{podatnika, kontoPodatnika}, std::pair{malzonka, kontoMalzonka}}) {
            if (!akcja->isVisible())
                continue;
            akcja->trigger();
            QCOMPARE(vzm->Konto(), konto);
            QCOMPARE(control<MaskedLineEdit>(u"FKonto"_s)->storedText(), konto);
        }
    }

    // The previous refunds go through their dialog; confirmed amounts reduce
    // what is left of the limits, cancelled ones change nothing.
    void previousRefundsCapTheRefund_data()
    {
        QTest::addColumn<bool>("zatwierdz");
        QTest::newRow("zatwierdzone") << true;
        QTest::newRow("anulowane") << false;
    }
    void previousRefundsCapTheRefund()
    {
        QFETCH(bool, zatwierdz);
        QVERIFY(openEditor(applicationWithInvoices()));
        QVERIFY(typeInto(u"F45"_s, u"3000"_s));
        leaveField();
        const Money bezPoprzednich = vzm->GetPole(55);
        QVERIFY(bezPoprzednich > Money());
        const Money limitA = vzm->GetPole(47);
        QVERIFY(limitA > Money());
        onNextModal<TPoprzedniZwrotFrm>([&](TPoprzedniZwrotFrm &okno) {
            auto *a = childNamed<TOrxEditCalc>(okno, u"EdZwrotA"_s);
            a->setFocus();
            typeText(a, limitA.format(0, false));
            auto *d = childNamed<TOrxEditCalc>(okno, u"EdZwrotD"_s);
            d->setFocus();
            typeText(d, u"150"_s);
            if (zatwierdz) {
                QTest::mouseClick(childNamed<QPushButton>(okno, u"PostBtn"_s), Qt::LeftButton);
            } else {
                boxes().answer(true); // drop what was typed
                QTest::keyClick(d, Qt::Key_Escape);
            }
        });
        QTest::mouseClick(control<QPushButton>(u"KwotyBtn"_s), Qt::LeftButton);
        QCOMPARE(vzm->ZwrotPopA(), zatwierdz ? Money::fromUnits(qint64(limitA.toReal() + 0.5L)) : Money());
        QCOMPARE(vzm->ZwrotPopD(), zatwierdz ? kwota("150") : Money());
        QCOMPARE(label(u"FZwrotPopLbl"_s), Kwota0(vzm->GetZwrotPop()));
        QCOMPARE(label(u"F55Lbl"_s), Kwota0(vzm->GetPole(55)));
        QCOMPARE(vzm->GetPole(55) < bezPoprzednich, zatwierdz);
    }

    // The tab "Rozliczenie" explains the refund the form shows, from the
    // model as it stands, and hands its printing to the program.
    void refundExplainedOnItsTab()
    {
        QVERIFY(openEditor(applicationWithInvoices()));
        QVERIFY(!control<QPushButton>(u"DrukujRozliczenieBtn"_s)->isVisibleTo(frm.get()));
        std::optional<ZrodloRozliczenia> drukowane;
        frm->UstawDrukRozliczenia([&](ZrodloRozliczenia z) { drukowane = z; });
        QVERIFY(typeInto(u"F45"_s, u"3000"_s));
        leaveField();
        QTest::keyClick(frm.get(), Qt::Key_R, Qt::AltModifier);
        QCOMPARE(currentTab(), u"&Rozliczenie"_s);
        auto *siatka = control<QTableWidget>(u"RozliczenieGrid"_s);
        QStringList kwoty;
        for (int r = 0; r < siatka->rowCount(); ++r)
            if (siatka->item(r, 0)->text() == u"49."_s)
                kwoty << siatka->item(r, 3)->text();
        QCOMPARE(kwoty, QStringList{Kwota0(vzm->GetPole(55)) + u"\u00A0zł"_s});
        QVERIFY(vzm->GetPole(55) > Money());
        QVERIFY(label(u"RozliczenieNaglowek"_s).contains(u"niezapisanymi"_s));
        QTest::keyClick(frm.get(), Qt::Key_D, Qt::AltModifier);
        QTRY_VERIFY(drukowane.has_value());
        QCOMPARE(*drukowane, ZrodloRozliczenia::Niezapisany);
    }

    // Everything typed is stored and comes back equal; the field still being
    // typed in when "&Zapisz" is pressed by its key is not lost.
    void savingAndLoadingAgain()
    {
        ModalWatch watch; // no window of its own may open on the way
        QStringList bledne;
        const auto poprzedni = FieldError::setReporter([&](QWidget *c, const QString &t, QPoint) {
            bledne << c->objectName() + u": "_s + t + u" / "_s + qobject_cast<QLineEdit *>(c)->text();
        });
        QVERIFY(openEditor());
        const QVariantMap teksty{{u"FNazwisko"_s, u"Kowalska-Żak"_s}, {u"FMImie"_s, u"Zenon"_s},
                                 {u"FMDokument"_s, u"Paszport XY1234567"_s}, {u"FPoczta"_s, u"Łódź 1"_s}};
        for (auto it = teksty.begin(); it != teksty.end(); ++it) {
            control(it.key())->clear();
            QVERIFY(typeInto(it.key(), it.value().toString()));
        }
        QVERIFY(typeInto(u"FmNip"_s, u"5260250274"_s));
        QVERIFY(typeInto(u"F44"_s, u"01022011"_s));
        QVERIFY(typeInto(u"F45"_s, u"3100,25"_s));
        QVERIFY(typeInto(u"F43"_s, u"2010"_s));
        QVERIFY(typeInto(u"FKonto"_s, KontoPoprawne));
        QVERIFY(focusOn(control<QCheckBox>(u"F58_2"_s)));
        clickIndicator(control<QCheckBox>(u"F58_2"_s));
        QVERIFY(typeInto(u"F56"_s, u"wymiana okien"_s));
        QTest::keyClick(control<QPlainTextEdit>(u"F56"_s), Qt::Key_Return);
        QVERIFY(frm->isVisible()); // Enter in a memo is a new line, not "Zapisz"
        typeText(control<QPlainTextEdit>(u"F56"_s), u"ocieplenie ścian"_s);
        QVERIFY(typeInto(u"FUrzad"_s, u"x"_s));
        QTest::keyClick(control(u"FUrzad"_s), Qt::Key_Return);
        QVERIFY(frm->isVisible()); // nor in a field
        QTest::keyClick(control(u"FUrzad"_s), Qt::Key_Z, Qt::AltModifier);
        QTRY_VERIFY(!frm->isVisible()); // a button's Alt key clicks it a moment later
        FieldError::setReporter(poprzedni);
        QVERIFY2(bledne.isEmpty(), qPrintable(bledne.join(u", "_s)));
        QVERIFY2(watch.opened().isEmpty(), qPrintable(watch.opened().join(u", "_s)));
        QCOMPARE(frm->result(), int(QDialog::Accepted));
        QVERIFY(boxes().texts().isEmpty());

        const int vzmId = vzm->VzmId();
        QVERIFY(vzmId > 0);
        TVzm_3 wczytany(dm());
        QVERIFY(wczytany.Wczytaj(podatId, vzmId));
        QCOMPARE(wczytany.Nazwisko, u"Kowalska-Żak"_s);
        QCOMPARE(wczytany.MImie, u"Zenon"_s);
        QCOMPARE(wczytany.MDokument, u"Paszport XY1234567"_s);
        QCOMPARE(wczytany.Poczta, u"Łódź 1"_s);
        QCOMPARE(wczytany.Urzad, vzm->Urzad);
        QVERIFY(wczytany.Urzad.endsWith(u'x'));
        QCOMPARE(wczytany.MNIP(), u"526-025-02-74"_s);
        QCOMPARE(wczytany.P44(), QDate(2011, 2, 1));
        QCOMPARE(wczytany.P45(), kwota("3 100,25"));
        QCOMPARE(wczytany.P43(), 2010);
        QCOMPARE(wczytany.Konto(), KontoPoprawne);
        QVERIFY(wczytany.P58_2() && wczytany.P57_3());
        QCOMPARE(wczytany.P56, (QStringList{u"wymiana okien"_s, u"ocieplenie ścian"_s}));
        QCOMPARE(wczytany.Zwrot(), vzm->Zwrot());

        // The editor opened on the stored application shows the same.
        const QStringList nazwy{u"FNazwisko"_s, u"FMImie"_s, u"FMDokument"_s, u"FPoczta"_s, u"FUrzad"_s,
                                u"FmNip"_s,     u"F44"_s,    u"F45"_s,       u"F43"_s,    u"FKonto"_s};
        QStringList przed;
        for (const QString &n : nazwy)
            przed << control(n)->text();
        const QStringList zaznaczonePrzed = ticked();
        frm.reset();
        QVERIFY(openEditor(vzmId));
        QStringList po;
        for (const QString &n : nazwy)
            po << control(n)->text();
        QCOMPARE(po, przed);
        QCOMPARE(ticked(), zaznaczonePrzed);
        QCOMPARE(control<QPlainTextEdit>(u"F56"_s)->toPlainText(), u"wymiana okien\nocieplenie ścian"_s);
    }

    // A store that refuses the application: the user reads why, the editor
    // stays open with everything typed, nothing is half-written; once the
    // store accepts, saving succeeds.
    void failedSaveKeepsTheEditorOpen_data()
    {
        QTest::addColumn<QString>("wyzwalacz");
        QTest::addColumn<bool>("nowy");
        QTest::newRow("podatnik") << u"BEFORE UPDATE ON Podatnik"_s << true;
        QTest::newRow("nowy wniosek") << u"BEFORE INSERT ON VZMy"_s << true;
        QTest::newRow("wpisy nowego") << u"BEFORE INSERT ON VZMw3"_s << true;
        QTest::newRow("wpisy zapisanego") << u"BEFORE UPDATE ON VZMw3"_s << false;
    }
    void failedSaveKeepsTheEditorOpen()
    {
        QFETCH(QString, wyzwalacz);
        QFETCH(bool, nowy);
        int vzmId = 0;
        if (!nowy) {
            vzmId = db->addApplication(podatId, {{u"NrKolej"_s, 1}});
            db->addFurtherEntries(vzmId);
        }
        QVERIFY(openEditor(vzmId));
        dm().database().run(u"CREATE TRIGGER blokada %1 BEGIN SELECT RAISE(ABORT,'zapis zablokowany'); END"_s
                                .arg(wyzwalacz));
        const QStringList tabele{u"Podatnik"_s, u"VZMy"_s, u"VZMw3"_s};
        QList<QList<SqlRow>> przed;
        for (const QString &t : tabele)
            przed << db->storedRows(t);
        control(u"FNazwisko"_s)->clear();
        QVERIFY(typeInto(u"FNazwisko"_s, u"Wiśniewski"_s));
        QVERIFY(typeInto(u"F45"_s, u"2500"_s));
        QTest::mouseClick(control<QPushButton>(u"PostBtn"_s), Qt::LeftButton);

        QCOMPARE(boxes().texts().size(), 1);
        QVERIFY2(boxes().texts().first().contains(u"zapis zablokowany"_s), qPrintable(boxes().texts().first()));
        QVERIFY(frm->isVisible());
        QCOMPARE(control(u"FNazwisko"_s)->text(), u"Wiśniewski"_s);
        QCOMPARE(control<TOrxEditCalc>(u"F45"_s)->Value(), kwota("2 500"));
        for (int i = 0; i < tabele.size(); ++i)
            QCOMPARE(db->storedRows(tabele[i]), przed[i]);

        dm().database().run(u"DROP TRIGGER blokada"_s);
        QTest::mouseClick(control<QPushButton>(u"PostBtn"_s), Qt::LeftButton);
        QVERIFY(!frm->isVisible());
        QCOMPARE(boxes().texts().size(), 1);
        QCOMPARE(db->storedValue(u"Podatnik"_s, u"PodatId"_s, podatId, u"Nazwisko"_s).toString(), u"Wiśniewski"_s);
        QCOMPARE(db->storedRows(u"VZMy"_s).size(), przed[1].size() + (nowy ? 1 : 0));
    }

    // Leaving without saving asks only when something was changed; "No"
    // returns to the editor.
    void cancellingAsksAfterAChange_data()
    {
        QTest::addColumn<QString>("zmiana");
        QTest::addColumn<QString>("wyjscie");
        QTest::addColumn<bool>("odpowiedz");
        QTest::addColumn<bool>("zamkniety");
        QTest::newRow("bez zmian, Anuluj") << QString() << u"Anuluj"_s << false << true;
        QTest::newRow("bez zmian, Escape") << QString() << u"Escape"_s << false << true;
        QTest::newRow("tekst, Tak") << u"tekst"_s << u"Anuluj"_s << true << true;
        QTest::newRow("tekst, Nie") << u"tekst"_s << u"Anuluj"_s << false << false;
        QTest::newRow("kwadrat, Escape, Nie") << u"kwadrat"_s << u"Escape"_s << false << false;
        QTest::newRow("notatka, zamknięcie, Tak") << u"notatka"_s << u"zamknij"_s << true << true;
        QTest::newRow("kwota, zamknięcie, Nie") << u"kwota"_s << u"zamknij"_s << false << false;
    }
    void cancellingAsksAfterAChange()
    {
        QFETCH(QString, zmiana);
        QFETCH(QString, wyjscie);
        QFETCH(bool, odpowiedz);
        QFETCH(bool, zamkniety);
        QVERIFY(openEditor());
        QVERIFY(focusOn(control(u"FUrzad"_s)));
        if (zmiana == u"tekst"_s)
            QVERIFY(typeInto(u"FLokal"_s, u"7"_s));
        else if (zmiana == u"kwadrat"_s)
            clickIndicator(control<QCheckBox>(u"F8_1"_s));
        else if (zmiana == u"notatka"_s)
            QVERIFY(typeInto(u"F65"_s, u"tel."_s));
        else if (zmiana == u"kwota"_s)
            QVERIFY(typeInto(u"F45"_s, u"1"_s));
        boxes().answer(odpowiedz);
        if (wyjscie == u"Anuluj"_s)
            QTest::mouseClick(control<QPushButton>(u"CancelBtn"_s), Qt::LeftButton);
        else if (wyjscie == u"Escape"_s)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        else
            frm->close();
        QCOMPARE(boxes().texts(), zmiana.isEmpty() ? QStringList() : QStringList{Pytanie});
        QCOMPARE(frm->isVisible(), !zamkniety);
        if (zamkniety)
            QCOMPARE(frm->result(), int(QDialog::Rejected));
        QCOMPARE(vzm->VzmId(), 0); // nothing stored
        QVERIFY(db->storedRows(u"VZMy"_s).isEmpty());
    }

    // Edytuj answers whether the user left with "&Zapisz".
    void editAnswersWhetherSaved_data()
    {
        QTest::addColumn<QString>("przycisk");
        QTest::addColumn<bool>("wynik");
        QTest::newRow("Zapisz") << u"PostBtn"_s << true;
        QTest::newRow("Anuluj") << u"CancelBtn"_s << false;
    }
    void editAnswersWhetherSaved()
    {
        QFETCH(QString, przycisk);
        QFETCH(bool, wynik);
        QVERIFY(vzm->Wczytaj(podatId, 0));
        TVZM1_3Frm okno(dm(), *vzm, window);
        onNextModal<TVZM1_3Frm>([przycisk](TVZM1_3Frm &e) {
            QCOMPARE(e.findChild<QTabWidget *>(u"Zakladki"_s)->currentIndex(), 0);
            QTest::mouseClick(childNamed<QPushButton>(e, przycisk), Qt::LeftButton);
        });
        QCOMPARE(okno.Edytuj(), wynik);
        QCOMPARE(db->storedRows(u"VZMy"_s).size(), wynik ? 1 : 0);
    }

    // A new application keeps the price and date typed into it, as a user
    // types them in the modal editor.
    void aNewApplicationKeepsWhatWasTyped()
    {
        QVERIFY(vzm->Wczytaj(podatId, 0));
        TVZM1_3Frm okno(dm(), *vzm, window);
        onNextModal<TVZM1_3Frm>([](TVZM1_3Frm &e) {
            // Until the editor is active, leaving a field hands nothing over.
            QVERIFY(activeNow(e));
            e.findChild<QTabWidget *>(u"Zakladki"_s)->setCurrentIndex(1);
            auto *data = childNamed<QLineEdit>(e, u"F44"_s);
            data->setFocus(Qt::TabFocusReason);
            data->setCursorPosition(0);
            typeText(data, u"15032011"_s);
            auto *cena = childNamed<QLineEdit>(e, u"F45"_s);
            cena->setFocus(Qt::TabFocusReason);
            typeText(cena, u"3000"_s);
            QTest::mouseClick(childNamed<QPushButton>(e, u"PostBtn"_s), Qt::LeftButton);
        });
        QVERIFY(okno.Edytuj());
        TVzm_3 zapisany(dm());
        QVERIFY(zapisany.Wczytaj(podatId, vzm->VzmId()));
        QCOMPARE(zapisany.P44(), QDate(2011, 3, 15));
        QCOMPARE(zapisany.P45(), *Money::parse(u"3000"_s));
    }

    // The notes tab shows the taxpayer's notes; "Edycja" works only when the
    // program handed in the notes editor, and shows the notes as edited.
    void notesOfTheTaxpayer()
    {
        QVERIFY(openEditor());
        auto *notatki = control<QTextEdit>(u"RxDBRichEdit1"_s);
        QVERIFY(notatki->isReadOnly());
        QVERIFY(notatki->toPlainText().contains(u"Notatki podatnika"_s));
        auto *edycja = control<QPushButton>(u"EditBtn"_s);
        QVERIFY(!edycja->isEnabled());
        int otwarto = 0;
        frm->UstawOtwieranieNotatek([&] {
            ++otwarto;
            dm().Podatnik.edit();
            dm().Podatnik.field(u"Notatki"_s).setString(u"<p>Nowa <b>notatka</b></p>"_s);
            dm().Podatnik.post();
        });
        QVERIFY(edycja->isEnabled());
        QTest::keyClick(frm.get(), Qt::Key_N, Qt::AltModifier);
        QTest::mouseClick(edycja, Qt::LeftButton);
        QCOMPARE(otwarto, 1);
        QCOMPARE(notatki->toPlainText(), u"Nowa notatka"_s);
    }

    // Each tab at 1280 × 800 shows its page without a horizontal scroll bar;
    // with TARLEN_SHOTS set, the pictures are written to that directory.
    void everyTabFitsTheWidthOf1280()
    {
        const int vzmId = applicationWithInvoices();
        QVERIFY(openEditor(vzmId));
        QVERIFY(typeInto(u"F44"_s, u"15032011"_s));
        QVERIFY(typeInto(u"F45"_s, u"3000"_s));
        QVERIFY(typeInto(u"F65"_s, u"Telefon 600 100 200"_s));
        leaveField();
        QTest::keyClick(frm.get(), Qt::Key_W, Qt::AltModifier);
        frm->resize(1280, 800);
        const QString katalog = qEnvironmentVariable("TARLEN_SHOTS");
        for (int i = 0; i < tabs()->count(); ++i) {
            tabs()->setCurrentIndex(i);
            QApplication::processEvents();
            if (auto *przewijanie = qobject_cast<QScrollArea *>(tabs()->widget(i))) {
                QVERIFY2(!przewijanie->horizontalScrollBar()->isVisible(), qPrintable(tabs()->tabText(i)));
                QVERIFY(przewijanie->widget()->width() <= przewijanie->viewport()->width());
            }
            if (!katalog.isEmpty()) {
                QDir().mkpath(katalog);
                QVERIFY(frm->grab().save(katalog + u"/karta%1.png"_s.arg(i + 1)));
                if (auto *przewijanie = qobject_cast<QScrollArea *>(tabs()->widget(i)))
                    QVERIFY(przewijanie->widget()->grab().save(katalog + u"/strona%1-cala.png"_s.arg(i + 1)));
            }
        }
    }
};

QTEST_MAIN(TestVzm1_3Frm)
#include "tst_vzm1_3frm.moc"
