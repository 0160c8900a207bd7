// What is typed is what is stored. Every amount and number field of the
// program reads the one rule and refuses, under the field, what does not
// read; "&Zapisz" then stores nothing of it. Every editor asks before it
// drops what was typed. Through the real windows, over a database made by
// the installer; what counts is what the database holds afterwards.

#include "invoices/windows/editkwota.h"
#include "invoices/windows/fakturafrm.h"
#include "invoices/windows/sprzedfrm.h"
#include "taxpayers/domyslnefrm.h"
#include "taxpayers/podatnikfrm.h"
#include "vzm/formmodel.h"
#include "vzm/windows/poprzednizwrotfrm.h"
#include "vzm/windows/vzm1_3frm.h"
#include "widgets/maskedlineedit.h"
#include "widgets/oknoedycji.h"
#include "widgets/orxeditcalc.h"

#include "app/drogaokien.h"
#include "core/twindow.h"
#include "support/testsupport.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The fields that take an amount or a count, each in its own window.
enum class Pole {
    Cena,           // position 39 of the application editor
    Sztuki,         // position 55, a count
    ZwrotPoprzedni, // the previous refunds dialog, kind A
    Brutto,         // the invoice editor's gross amount
    Pozycja,        // the amount-line editor's gross amount
    CenaDomyslna,   // the default parameters' price
};

const QString Nip = u"123-456-32-18"_s;
const QString Niepoprawna = u": Niepoprawna zawartość pola"_s;

} // namespace

Q_DECLARE_METATYPE(Pole)

class TestWpisaneZapisane : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestDatabase> db;
    TWindow window;
    int podatId = 0;
    int vzmId = 0;
    int faktId = 0;

    TDM &dm() { return db->dm; }

    std::optional<qint64> stored(const QString &sql)
    {
        const auto row = dm().database().firstRow(sql);
        if (!row || row->at(0).isNull())
            return std::nullopt;
        return row->at(0).toLongLong();
    }

    // Types `text` over what the field holds, as the keyboard does, and
    // presses Alt+Z without leaving the field; answers once "&Zapisz" was clicked.
    static bool wpiszIZapisz(QWidget &okno, TOrxEditCalc *pole, const QString &text)
    {
        showTabOf(pole);
        pole->setFocus(Qt::TabFocusReason);
        pole->selectAll();
        typeText(pole, text);
        QSignalSpy klik(childNamed<QPushButton>(okno, u"PostBtn"_s), &QAbstractButton::clicked);
        QTest::keyClick(pole, Qt::Key_Z, Qt::AltModifier);
        const bool klikniety = klik.count() > 0 || klik.wait(5000);
        // A refusal shows its error once the save has returned.
        QCoreApplication::processEvents();
        return klikniety;
    }

    // The application editor on a new application: types into `pole` (or,
    // for the previous refunds, into their dialog) and saves.
    std::optional<qint64> wniosek(Pole pole, const QString &text, QString &widoczne)
    {
        TVzm_3 vzm(dm());
        if (!vzm.Wczytaj(podatId, 0))
            return std::nullopt;
        TVZM1_3Frm frm(dm(), vzm, window);
        frm.Przygotuj();
        frm.show();
        if (!activeNow(frm))
            return std::nullopt;
        auto zamknij = qScopeGuard([&frm] { frm.QDialog::reject(); });
        if (pole == Pole::ZwrotPoprzedni) {
            onNextModal<TPoprzedniZwrotFrm>([&](TPoprzedniZwrotFrm &dialog) {
                auto *kwota = childNamed<TOrxEditCalc>(dialog, u"EdZwrotA"_s);
                // The keys of a dialog opened over a window go to the dialog's window.
                dialog.activateWindow();
                QTRY_VERIFY(QGuiApplication::focusWindow() == dialog.windowHandle());
                wpiszIZapisz(dialog, kwota, text);
                widoczne = kwota->text();
                if (dialog.isVisible())
                    dialog.QDialog::reject();
            });
            showTabOf(childNamed<QPushButton>(frm, u"KwotyBtn"_s));
            QTest::mouseClick(childNamed<QPushButton>(frm, u"KwotyBtn"_s), Qt::LeftButton);
            QTest::mouseClick(childNamed<QPushButton>(frm, u"PostBtn"_s), Qt::LeftButton);
            return stored(u"SELECT ZwrotPopA FROM VZMy WHERE VzmId = %1"_s.arg(vzm.VzmId()));
        }
        auto *edit = childNamed<TOrxEditCalc>(frm, pole == Pole::Cena ? u"F45"_s : u"F61"_s);
        if (!wpiszIZapisz(frm, edit, text))
            return std::nullopt;
        widoczne = edit->text();
        // Refused: nothing of the field reached the model, nothing was stored.
        if (frm.isVisible() && (!vzm.P45().isZero() || vzm.P61() != 0 || vzm.VzmId() != 0))
            return -2;
        const std::optional<qint64> wartosc = stored(
            u"SELECT %1 FROM VZMw3 WHERE VzmId = %2"_s.arg(pole == Pole::Cena ? u"P45"_s : u"P61"_s).arg(vzm.VzmId()));
        if (pole == Pole::Sztuki && wartosc)
            return *wartosc * Money::Scale;
        return wartosc;
    }

    std::optional<qint64> faktura(const QString &text, QString &widoczne)
    {
        TFakturaFrm frm(dm(), window);
        frm.Przygotuj(vzmId, 1, true);
        frm.show();
        if (!activeNow(frm))
            return std::nullopt;
        auto zamknij = qScopeGuard([&frm] { frm.QDialog::reject(); });
        childNamed<QLineEdit>(frm, u"EdNumer"_s)->setText(u"FV/1"_s);
        childNamed<MaskedLineEdit>(frm, u"EdData"_s)->setStoredText(u"01-02-2011"_s);
        childNamed<QLineEdit>(frm, u"EdNip"_s)->setText(Nip);
        childNamed<TOrxEditCalc>(frm, u"EdVatA"_s)->SetValue(Money::fromUnits(1));
        auto *brutto = childNamed<TOrxEditCalc>(frm, u"EdBrutto"_s);
        if (!wpiszIZapisz(frm, brutto, text))
            return std::nullopt;
        widoczne = brutto->text();
        return stored(u"SELECT Brutto FROM Faktury WHERE NrFakt = 'FV/1'"_s);
    }

    std::optional<qint64> pozycja(const QString &text, QString &widoczne)
    {
        TEditKwota frm(dm());
        frm.Przygotuj(faktId, 1, true);
        frm.show();
        if (!activeNow(frm))
            return std::nullopt;
        auto zamknij = qScopeGuard([&frm] { frm.QDialog::reject(); });
        childNamed<QLineEdit>(frm, u"EdOpis"_s)->setText(u"cegła"_s);
        auto *brutto = childNamed<TOrxEditCalc>(frm, u"EdBrutto"_s);
        if (!wpiszIZapisz(frm, brutto, text))
            return std::nullopt;
        widoczne = brutto->text();
        return stored(u"SELECT Brutto FROM Kwoty WHERE FaktId = %1"_s.arg(faktId));
    }

    std::optional<qint64> parametry(const QString &text, QString &widoczne)
    {
        TDomyslneFrm frm(dm());
        frm.show();
        if (!activeNow(frm))
            return std::nullopt;
        auto zamknij = qScopeGuard([&frm] { frm.QDialog::reject(); });
        auto *cena = childNamed<TOrxEditCalc>(frm, u"EdCena"_s);
        if (!wpiszIZapisz(frm, cena, text))
            return std::nullopt;
        widoczne = cena->text();
        return stored(u"SELECT CenaMetra FROM Domysl"_s);
    }

private slots:
    void init()
    {
        db = std::make_unique<TestDatabase>();
        window = TWindow();
        podatId = db->addTaxpayer({{u"Nazwisko"_s, u"Nowak"_s}, {u"Imie"_s, u"Jan"_s}});
        vzmId = db->addApplication(podatId);
        faktId = db->addInvoice(vzmId, u"A"_s, {{u"NrFakt"_s, u"FV/0"_s}});
        QVERIFY(dm().Podatnik.locate(u"PodatId"_s, podatId));
    }
    void cleanup() { db.reset(); }

    // The reading rule in every kind of field: typed, then "&Zapisz" by its
    // key without leaving the field. What reads is stored as read (the price
    // of position 39 to the grosz it prints); what does not is refused under
    // the field, kept as typed, and nothing of it is stored.
    void everyFieldReadsTheOneRule_data()
    {
        QTest::addColumn<Pole>("pole");
        QTest::addColumn<QString>("wpisane");
        QTest::addColumn<qint64>("zapisane"); // in ten-thousandths; -1: refused

        const std::pair<Pole, const char *> kwoty[] = {
            {Pole::Cena, "cena 39"},           {Pole::ZwrotPoprzedni, "zwrot poprzedni"},
            {Pole::Brutto, "brutto faktury"},  {Pole::Pozycja, "kwota pozycji"},
            {Pole::CenaDomyslna, "cena domyślna"},
        };
        const std::pair<const char *, qint64> wpisy[] = {
            {"3500.50", 35005000},   {"1.220,50", 12205000}, {"1,220.50", 12205000}, {"1 220,50 zł", 12205000},
            {"1.220", -1},           {"12 34", -1},          {"1.2.3", -1},          {"12a3", -1},
        };
        for (const auto &[pole, nazwa] : kwoty)
            for (const auto &[tekst, wartosc] : wpisy)
                QTest::addRow("%s: %s", nazwa, tekst) << pole << QString::fromUtf8(tekst) << wartosc;
        QTest::newRow("cena 39: do grosza") << Pole::Cena << u"3000,555"_s << qint64(30005600);
        QTest::newRow("brutto faktury: jak wpisane") << Pole::Brutto << u"3000,555"_s << qint64(30005550);
        QTest::newRow("liczba 55: tysiące") << Pole::Sztuki << u"1 234"_s << qint64(12340000);
        QTest::newRow("liczba 55: ułamek") << Pole::Sztuki << u"2,5"_s << qint64(-1);
        QTest::newRow("liczba 55: kropka") << Pole::Sztuki << u"3.5"_s << qint64(-1);
        QTest::newRow("liczba 55: więcej niż mieści kratka") << Pole::Sztuki << u"10000"_s << qint64(-1);
    }
    void everyFieldReadsTheOneRule()
    {
        QFETCH(Pole, pole);
        QFETCH(QString, wpisane);
        QFETCH(qint64, zapisane);
        FieldErrors bledy;
        QString widoczne;
        std::optional<qint64> wynik;
        QString nazwa;
        switch (pole) {
        case Pole::Cena: wynik = wniosek(pole, wpisane, widoczne); nazwa = u"F45"_s; break;
        case Pole::Sztuki: wynik = wniosek(pole, wpisane, widoczne); nazwa = u"F61"_s; break;
        case Pole::ZwrotPoprzedni: wynik = wniosek(pole, wpisane, widoczne); nazwa = u"EdZwrotA"_s; break;
        case Pole::Brutto: wynik = faktura(wpisane, widoczne); nazwa = u"EdBrutto"_s; break;
        case Pole::Pozycja: wynik = pozycja(wpisane, widoczne); nazwa = u"EdBrutto"_s; break;
        case Pole::CenaDomyslna: wynik = parametry(wpisane, widoczne); nazwa = u"EdCena"_s; break;
        }
        QVERIFY(wynik != std::optional<qint64>(-2));
        if (zapisane < 0) {
            QCOMPARE(bledy.shown(), QStringList{nazwa + Niepoprawna});
            QCOMPARE(widoczne, wpisane);
            // The previous refunds are stored with the application, without the refused one.
            if (pole == Pole::ZwrotPoprzedni)
                QCOMPARE(wynik, std::optional<qint64>(0));
            else
                QCOMPARE(wynik, std::nullopt);
        } else {
            QCOMPARE(bledy.shown(), QStringList());
            QCOMPARE(wynik, std::optional<qint64>(zapisane));
        }
    }

    // Esc, "&Anuluj" and the close box of every editor ask before dropping
    // what was typed; No keeps the window with what was typed, Yes closes it
    // and stores nothing; with nothing typed the window closes at once.
    void everyEditorAsksBeforeDroppingWhatWasTyped_data()
    {
        QTest::addColumn<QString>("okno");
        QTest::addColumn<QString>("jak");
        QTest::addColumn<int>("zmiana"); // 0 nothing typed; 1 typed, answered No; 2 typed, answered Yes
        for (const char *okno : {"wniosek", "faktura", "pozycja", "sprzedawca", "podatnik", "parametry"}) {
            QTest::addRow("%s: nic, Esc", okno) << QString::fromUtf8(okno) << u"Esc"_s << 0;
            QTest::addRow("%s: wpisane, Anuluj, nie", okno) << QString::fromUtf8(okno) << u"Anuluj"_s << 1;
            QTest::addRow("%s: wpisane, krzyżyk, tak", okno) << QString::fromUtf8(okno) << u"krzyżyk"_s << 2;
            QTest::addRow("%s: wpisane, Esc, tak", okno) << QString::fromUtf8(okno) << u"Esc"_s << 2;
        }
    }
    void everyEditorAsksBeforeDroppingWhatWasTyped()
    {
        QFETCH(QString, okno);
        QFETCH(QString, jak);
        QFETCH(int, zmiana);

        dm().Firmy.append();
        dm().Firmy.field(u"NIP"_s).setString(Nip);
        dm().Firmy.field(u"Firma"_s).setString(u"Budmat"_s);
        dm().Firmy.post();
        const QStringList tabele{u"Podatnik"_s, u"Firmy"_s, u"Faktury"_s, u"Kwoty"_s, u"VZMy"_s, u"VZMw3"_s, u"Domysl"_s};
        QList<QList<SqlRow>> przed;
        for (const QString &t : tabele)
            przed << db->storedRows(t);

        TVzm_3 vzm(dm());
        QVERIFY(vzm.Wczytaj(podatId, 0));
        std::unique_ptr<QDialog> frm;
        QString pytanie = OknoEdycji::Pytanie;
        QString pole;
        QString anuluj = u"CancelBtn"_s;
        if (okno == u"wniosek") {
            auto *w = new TVZM1_3Frm(dm(), vzm, window);
            w->Przygotuj();
            frm.reset(w);
            pytanie = u"Porzucić zmiany we wniosku?"_s;
            pole = u"FNazwisko"_s;
        } else if (okno == u"faktura") {
            auto *w = new TFakturaFrm(dm(), window);
            w->Przygotuj(vzmId, 1, true);
            frm.reset(w);
            pole = u"EdNumer"_s;
        } else if (okno == u"pozycja") {
            auto *w = new TEditKwota(dm());
            w->Przygotuj(faktId, 1, true);
            frm.reset(w);
            pole = u"EdOpis"_s;
        } else if (okno == u"sprzedawca") {
            frm = std::make_unique<TSprzedFrm>(dm(), window);
            pytanie = u"Porzucić poprawki sprzedawcy?"_s;
            pole = u"EdFirma"_s;
            anuluj = u"AnulujBtn"_s;
        } else if (okno == u"podatnik") {
            auto *w = new TPodatnikFrm(dm());
            w->PrzygotujNowyPodatnik();
            frm.reset(w);
            pytanie = u"Porzucić wprowadzone dane podatnika?"_s;
            pole = u"EdNazwisko"_s;
        } else {
            frm = std::make_unique<TDomyslneFrm>(dm());
            pole = u"EdKraj"_s;
        }
        frm->show();
        QVERIFY(activeNow(*frm));
        // A seller is corrected once it was loaded for correction.
        if (okno == u"sprzedawca")
            QTest::mouseClick(childNamed<QPushButton>(*frm, u"WczytajBtn"_s), Qt::LeftButton);
        auto *edit = childNamed<QLineEdit>(*frm, pole);
        if (zmiana > 0) {
            showTabOf(edit);
            edit->setFocus(Qt::TabFocusReason);
            edit->end(false);
            typeText(edit, u"Ż"_s);
        }
        const QString wpisane = edit->text();
        db->boxes.answer(zmiana == 2);
        if (jak == u"Esc")
            QTest::keyClick(frm->focusWidget() ? frm->focusWidget() : frm.get(), Qt::Key_Escape);
        else if (jak == u"Anuluj")
            QTest::mouseClick(childNamed<QPushButton>(*frm, anuluj), Qt::LeftButton);
        else
            frm->close();

        QCOMPARE(db->boxes.texts(), zmiana == 0 ? QStringList() : QStringList{pytanie});
        QCOMPARE(frm->isVisible(), zmiana == 1);
        if (zmiana == 1) {
            QCOMPARE(edit->text(), wpisane);
            db->boxes.answer(true);
            frm->close();
            QVERIFY(!frm->isVisible());
        }
        for (int i = 0; i < tabele.size(); ++i)
            QVERIFY2(db->storedRows(tabele[i]) == przed[i], qPrintable(tabele[i]));
    }
};

QTEST_MAIN(TestWpisaneZapisane)
#include "tst_wpisane_zapisane.moc"
