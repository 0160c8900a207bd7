#include "widgets/maskedlineedit.h"
#include "taxpayers/podatnikfrm.h"

#include "data/tdm.h"
#include "support/testsupport.h"
#include "support/widgettest.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const QString PustyNip = u"   -   -  -  "_s;
const QString PustyPesel = QString(11, u' ');
const QString PusteKonto = QString(26, u' ');
const QString Nip1 = u"1234563218"_s;
const QString Nip2 = u"5260001246"_s;
const QString Pesel1 = u"44051401359"_s;
const QString Konto1 = u"61109010140000071219812874"_s;
const QString Konto2 = u"05102055610000310200027878"_s;
const QString TakiSamNip = u"NIP podatnika i małżonka jest taki sam"_s;
const QString TakiSamPesel = u"PESEL podatnika i małżonka jest taki sam"_s;
const QString ZlyNip = u"Nieprawidłowy NIP"_s;
const QString ZlyPesel = u"Nieprawidłowy PESEL"_s;
const QString ZleKonto = u"Nieprawidłowy numer rachunku bankowego"_s;

// The six masked controls in the order the mark tests list them.
const QStringList Maski = {u"EdNIP"_s, u"EdmNIP"_s, u"EdPesel"_s, u"EdmPESEL"_s, u"EdKonto"_s, u"EdmKonto"_s};

} // namespace

// The taxpayer editor shown on the offscreen platform over a database made
// by the installer; keys are sent to the controls as the keyboard sends them.
class TestPodatnikFrm : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    ScriptedMessageBoxes boxes;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TPodatnikFrm> frm;

    template <class T = QLineEdit>
    T *control(const QString &name) { return childNamed<T>(*frm, name); }
    QLineEdit *ed(const QString &name) { return control<QLineEdit>(name); }
    MaskedLineEdit *mask(const QString &name) { return control<MaskedLineEdit>(name); }
    QTabWidget *tabs() { return control<QTabWidget>(u"Zakladki"_s); }

    bool showWindow()
    {
        frm->show();
        return QTest::qWaitForWindowActive(frm.get());
    }
    // Brings the control's tab to the front and gives it the focus.
    bool focusOn(QWidget *w)
    {
        QTabWidget *t = tabs();
        for (int i = 0; i < t->count(); ++i)
            if (t->widget(i)->isAncestorOf(w))
                t->setCurrentIndex(i);
        w->setFocus();
        return w->hasFocus();
    }
    bool typeInto(const QString &name, const QString &keys)
    {
        QLineEdit *e = ed(name);
        if (!focusOn(e))
            return false;
        if (!e->inputMask().isEmpty())
            e->setCursorPosition(0);
        typeText(e, keys);
        return true;
    }
    QString currentField(const QString &name) { return dm->Podatnik.field(name).asString(); }
    bool isRed(QLineEdit *e) { return e->palette().color(QPalette::Text) == QColor(Qt::red); }

private slots:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        boxes.clear();
        dm = std::make_unique<TDM>(boxes);
        QVERIFY(dm->OtworzTabele());
        frm = std::make_unique<TPodatnikFrm>(*dm);
    }
    void cleanup()
    {
        frm.reset();
        dm.reset();
        env.reset();
    }

    // A new taxpayer starts from the defaults, the empty country included;
    // nothing of an earlier opening is left.
    void newTaxpayerStartsFromTheDefaults_data()
    {
        QTest::addColumn<QVariantMap>("domyslne");
        QTest::addColumn<QVariantMap>("oczekiwane");
        QTest::newRow("z instalatora") << QVariantMap() << QVariantMap{{u"EdKraj"_s, u"Polska"_s}};
        const QVariantMap pelne{{u"Kraj"_s, u"Niemcy"_s},         {u"Wojew"_s, u"Śląskie"_s},
                                {u"Powiat"_s, u"gliwicki"_s},     {u"Gmina"_s, u"Gliwice"_s},
                                {u"Miasto"_s, u"Gliwice"_s},      {u"KodPoczt"_s, u"44-100"_s},
                                {u"Poczta"_s, u"Gliwice 1"_s},    {u"Urzad"_s, u"Urząd Skarbowy w Gliwicach"_s}};
        QVariantMap pelneOczekiwane;
        for (auto it = pelne.begin(); it != pelne.end(); ++it)
            pelneOczekiwane.insert(u"Ed"_s + it.key(), it.value());
        QTest::newRow("pełne") << pelne << pelneOczekiwane;
        QTest::newRow("pusty kraj") << QVariantMap{{u"Kraj"_s, QString()}, {u"Wojew"_s, u"Mazowieckie"_s}}
                                    << QVariantMap{{u"EdWojew"_s, u"Mazowieckie"_s}};
    }
    void newTaxpayerStartsFromTheDefaults()
    {
        QFETCH(QVariantMap, domyslne);
        QFETCH(QVariantMap, oczekiwane);
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Stary"_s}, {u"Imie"_s, u"Jan"_s}, {u"NIP"_s, u"123-456-32-18"_s},
                          {u"MKraj"_s, u"Czechy"_s}, {u"MNazwisko"_s, u"Stara"_s}, {u"Powiat"_s, u"stary"_s}});
        frm->PrzygotujPoprawePodatnika();
        QCOMPARE(ed(u"EdNazwisko"_s)->text(), u"Stary"_s);

        if (!domyslne.isEmpty()) {
            dm->Domysl.edit();
            for (auto it = domyslne.begin(); it != domyslne.end(); ++it)
                dm->Domysl.field(it.key()).setString(it.value().toString());
            dm->Domysl.post();
        }
        frm->PrzygotujNowyPodatnik();
        QVERIFY(frm->TrybDodawania());
        for (const char *nazwa : {"EdKraj", "EdWojew", "EdPowiat", "EdGmina", "EdMiasto", "EdKodPoczt", "EdPoczta",
                                  "EdUrzad"})
            QCOMPARE(ed(QLatin1String(nazwa))->text(), oczekiwane.value(QLatin1String(nazwa)).toString());
        for (const char *nazwa : {"EdNazwisko", "EdImie", "EdUlica", "EdmKraj", "EdmNazwisko", "EdmPowiat"})
            QCOMPARE(ed(QLatin1String(nazwa))->text(), QString());
        QCOMPARE(mask(u"EdNIP"_s)->storedText(), PustyNip);
        QCOMPARE(mask(u"EdmPESEL"_s)->storedText(), PustyPesel);
        QCOMPARE(mask(u"EdKonto"_s)->storedText(), PusteKonto);
    }

    // Everything typed lands in its field; the new taxpayer becomes current.
    void addingStoresEveryEntry()
    {
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Adamski"_s}, {u"Imie"_s, u"Adam"_s}});
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Bielski"_s}, {u"Imie"_s, u"Bartosz"_s}});
        dm->Podatnik.first();
        frm->PrzygotujNowyPodatnik();
        QVERIFY(showWindow());
        QVERIFY(typeInto(u"EdNIP"_s, Nip1));
        QVERIFY(typeInto(u"EdPesel"_s, Pesel1));
        QVERIFY(typeInto(u"EdNazwisko"_s, u"Żółkiewska"_s));
        QVERIFY(typeInto(u"EdImie"_s, u"Zofia"_s));
        QVERIFY(typeInto(u"EdKonto"_s, Konto1));
        QVERIFY(typeInto(u"EdmNazwisko"_s, u"Żółkiewski"_s));
        const QVariantMap wpisane{{u"EdDokument"_s, u"dowód osobisty ABC123456, Polska"_s},
                                  {u"EdWojew"_s, u"Małopolskie"_s}, {u"EdPowiat"_s, u"krakowski"_s},
                                  {u"EdGmina"_s, u"Kraków"_s},      {u"EdUlica"_s, u"Długa"_s},
                                  {u"EdPosesja"_s, u"12a"_s},       {u"EdLokal"_s, u"3"_s},
                                  {u"EdMiasto"_s, u"Kraków"_s},     {u"EdKodPoczt"_s, u"31-147"_s},
                                  {u"EdPoczta"_s, u"Kraków"_s},     {u"EdUrzad"_s, u"Urząd Skarbowy Kraków-Krowodrza"_s},
                                  {u"EdmImie"_s, u"Zenon"_s},       {u"EdmDokument"_s, u"paszport XY1234567"_s},
                                  {u"EdmMiasto"_s, u"Wieliczka"_s}};
        for (auto it = wpisane.begin(); it != wpisane.end(); ++it)
            ed(it.key())->setText(it.value().toString());
        const int przed = dm->Podatnik.recordCount();

        QTest::mouseClick(control<QPushButton>(u"PostBtn"_s), Qt::LeftButton);
        QVERIFY(boxes.texts().isEmpty());
        QVERIFY(!frm->isVisible());
        QCOMPARE(frm->result(), int(QDialog::Accepted));
        QCOMPARE(dm->Podatnik.recordCount(), przed + 1);
        QCOMPARE(currentField(u"Nazwisko"_s), u"Żółkiewska"_s);
        QCOMPARE(currentField(u"Imie"_s), u"Zofia"_s);
        QCOMPARE(currentField(u"NIP"_s), u"123-456-32-18"_s);
        QCOMPARE(currentField(u"Pesel"_s), Pesel1);
        QCOMPARE(currentField(u"Konto"_s), Konto1);
        QCOMPARE(currentField(u"Kraj"_s), u"Polska"_s);
        QCOMPARE(currentField(u"MNazwisko"_s), u"Żółkiewski"_s);
        QCOMPARE(currentField(u"MNIP"_s), PustyNip);
        QCOMPARE(currentField(u"MPesel"_s), PustyPesel);
        QCOMPARE(currentField(u"MKonto"_s), PusteKonto);
        QCOMPARE(currentField(u"MKraj"_s), QString());
        for (auto it = wpisane.begin(); it != wpisane.end(); ++it) {
            const QString nazwa = it.key().startsWith(u"Edm"_s) ? u"M"_s + it.key().mid(3) : it.key().mid(2);
            QCOMPARE(currentField(nazwa), it.value().toString());
        }
        for (const char *bez : {"ImieOjca", "ImieMatki", "MImieOjca", "MImieMatki", "Notatki"})
            QCOMPARE(currentField(QLatin1String(bez)), QString());
    }

    // A correction shows the stored data, writes the changes into the same
    // record and keeps the fields the window has no control for.
    void correctionRewritesTheSameRecord()
    {
        const QVariantMap zapisany{{u"Nazwisko"_s, u"Kowalska"_s},     {u"Imie"_s, u"Anna"_s},
                                   {u"NIP"_s, u"123-456-32-18"_s},     {u"MImie"_s, u"Piotr"_s},
                                   {u"ImieOjca"_s, u"Stanisław"_s},    {u"ImieMatki"_s, u"Maria"_s},
                                   {u"MImieOjca"_s, u"Józef"_s},       {u"MImieMatki"_s, u"Łucja"_s},
                                   {u"Notatki"_s, u"<p>Ważna notatka</p>"_s}, {u"Miasto"_s, u"Łódź"_s}};
        const int id = addTaxpayer(*dm, zapisany);
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Zięba"_s}, {u"Imie"_s, u"Ewa"_s}});
        QVERIFY(dm->Podatnik.locate(u"PodatId"_s, id));
        const int przed = dm->Podatnik.recordCount();

        frm->PrzygotujPoprawePodatnika();
        QVERIFY(!frm->TrybDodawania());
        QCOMPARE(ed(u"EdNazwisko"_s)->text(), u"Kowalska"_s);
        QCOMPARE(ed(u"EdmImie"_s)->text(), u"Piotr"_s);
        QCOMPARE(ed(u"EdMiasto"_s)->text(), u"Łódź"_s);
        QCOMPARE(ed(u"EdKraj"_s)->text(), QString()); // stored empty, not "Polska"
        QCOMPARE(ed(u"EdNIP"_s)->displayText(), u"123-456-32-18"_s);
        QVERIFY(showWindow());
        ed(u"EdNazwisko"_s)->setText(u"Kowalska-Nowak"_s);
        QVERIFY(typeInto(u"EdmMiasto"_s, u"Łask"_s));
        QTest::mouseClick(control<QPushButton>(u"PostBtn"_s), Qt::LeftButton);

        QVERIFY(!frm->isVisible());
        QCOMPARE(dm->Podatnik.recordCount(), przed);
        QVERIFY(dm->Podatnik.locate(u"PodatId"_s, id));
        QCOMPARE(currentField(u"Nazwisko"_s), u"Kowalska-Nowak"_s);
        QCOMPARE(currentField(u"MMiasto"_s), u"Łask"_s);
        for (const char *bez : {"ImieOjca", "ImieMatki", "MImieOjca", "MImieMatki", "Notatki", "Imie", "NIP", "Miasto"})
            QCOMPARE(currentField(QLatin1String(bez)), zapisany.value(QLatin1String(bez)).toString());
    }

    // Masked numbers go to the screen and back to the table as typed
    // through the mask; a blank keeps its place.
    void maskedNumbersRoundTrip_data()
    {
        QTest::addColumn<QString>("kontrolka");
        QTest::addColumn<QString>("pole");
        QTest::addColumn<QString>("zapisane");
        QTest::addColumn<QString>("widoczne");
        QTest::addColumn<QString>("poZapisie");
        QTest::newRow("NIP nietknięty") << u"EdNIP"_s << u"NIP"_s << PustyNip << u"___-___-__-__"_s << PustyNip;
        QTest::newRow("NIP pusty") << u"EdNIP"_s << u"NIP"_s << QString() << u"___-___-__-__"_s << PustyNip;
        QTest::newRow("NIP niepełny") << u"EdmNIP"_s << u"MNIP"_s << u"123-45 -  -  "_s << u"123-45_-__-__"_s
                                      << u"123-45 -  -  "_s;
        QTest::newRow("NIP bez kresek") << u"EdNIP"_s << u"NIP"_s << Nip1 << u"123-456-32-18"_s
                                        << u"123-456-32-18"_s;
        QTest::newRow("PESEL niepełny") << u"EdPesel"_s << u"Pesel"_s << u"4405140    "_s << u"4405140____"_s
                                        << u"4405140    "_s;
        QTest::newRow("NIP z lukami w grupach") << u"EdNIP"_s << u"NIP"_s << u"1 3-4 6- 2-1 "_s << u"1_3-4_6-_2-1_"_s
                                                << u"1 3-4 6- 2-1 "_s;
        QTest::newRow("PESEL z luką") << u"EdPesel"_s << u"Pesel"_s << u"44 51401359"_s << u"44_51401359"_s
                                      << u"44 51401359"_s;
        QTest::newRow("PESEL małżonka") << u"EdmPESEL"_s << u"MPesel"_s << Pesel1 << Pesel1 << Pesel1;
        QTest::newRow("konto pełne") << u"EdKonto"_s << u"Konto"_s << Konto1
                                     << u"61 1090 1014 0000 0712 1981 2874"_s << Konto1;
        QTest::newRow("konto z luką za grupą")
            << u"EdKonto"_s << u"Konto"_s << u"12 45678901234567890123456"_s
            << u"12 _456 7890 1234 5678 9012 3456"_s << u"12 45678901234567890123456"_s;
        QTest::newRow("konto małżonka puste") << u"EdmKonto"_s << u"MKonto"_s << QString()
                                              << u"__ ____ ____ ____ ____ ____ ____"_s << PusteKonto;
    }
    void maskedNumbersRoundTrip()
    {
        QFETCH(QString, kontrolka);
        QFETCH(QString, pole);
        QFETCH(QString, zapisane);
        QFETCH(QString, widoczne);
        QFETCH(QString, poZapisie);
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Nowak"_s}, {u"Imie"_s, u"Jan"_s}, {pole, zapisane}});
        frm->PrzygotujPoprawePodatnika();
        QCOMPARE(ed(kontrolka)->displayText(), widoczne);
        QVERIFY(showWindow());
        QTest::mouseClick(control<QPushButton>(u"PostBtn"_s), Qt::LeftButton);
        QVERIFY(!frm->isVisible());
        QCOMPARE(currentField(pole), poZapisie);
    }

    // Letters typed into a mask's digit places are dropped.
    void maskDropsLetters()
    {
        frm->PrzygotujNowyPodatnik();
        QVERIFY(showWindow());
        QVERIFY(typeInto(u"EdNIP"_s, u"12a3b4"_s));
        QCOMPARE(mask(u"EdNIP"_s)->storedText(), u"123-4  -  -  "_s);
    }

    // Completion while typing, from the taxpayers saved before, the first
    // names and the voivodeship list.
    void completionWhileTyping_data()
    {
        QTest::addColumn<QString>("pole");
        QTest::addColumn<QStringList>("wpisy");
        QTest::addColumn<QString>("kontrolka");
        QTest::addColumn<QString>("klawisze");
        QTest::addColumn<QString>("tekst");
        QTest::addColumn<QString>("zaznaczone");
        const QString miasto = u"Miasto"_s;
        const QStringList miasta{u"Gdańsk"_s, u"Kraków"_s};
        QTest::newRow("k w miejscowości") << miasto << miasta << u"EdMiasto"_s << u"k"_s << u"Kraków"_s << u"raków"_s;
        QTest::newRow("k i Backspace") << miasto << miasta << u"EdMiasto"_s << u"k\b"_s << u"K"_s << QString();
        QTest::newRow("k, Backspace, r") << miasto << miasta << u"EdMiasto"_s << u"k\br"_s << u"Kraków"_s << u"aków"_s;
        QTest::newRow("wielkie litery") << miasto << miasta << u"EdMiasto"_s << u"KRA"_s << u"Kraków"_s << u"ków"_s;
        QTest::newRow("brak wpisu") << miasto << miasta << u"EdMiasto"_s << u"w"_s << u"w"_s << QString();
        const QStringList podobne{u"Krosno"_s, u"Kraśnik"_s, u"Kraków"_s};
        QTest::newRow("kolejność źródła") << miasto << podobne << u"EdMiasto"_s << u"kr"_s << u"Kraków"_s << u"aków"_s;
        QTest::newRow("polska litera dalej") << miasto << podobne << u"EdMiasto"_s << u"kraś"_s << u"Kraśnik"_s
                                             << u"nik"_s;
        QTest::newRow("małżonek z miejscowości podatników")
            << miasto << miasta << u"EdmMiasto"_s << u"g"_s << u"Gdańsk"_s << u"dańsk"_s;
        QTest::newRow("miejscowości małżonków się nie liczą")
            << u"MMiasto"_s << QStringList{u"Zakopane"_s} << u"EdMiasto"_s << u"z"_s << u"z"_s << QString();
        QTest::newRow("ś w województwie") << QString() << QStringList() << u"EdWojew"_s << u"ś"_s << u"Śląskie"_s
                                          << u"ląskie"_s;
        QTest::newRow("m") << QString() << QStringList() << u"EdWojew"_s << u"m"_s << u"Małopolskie"_s
                           << u"ałopolskie"_s;
        QTest::newRow("m, a") << QString() << QStringList() << u"EdWojew"_s << u"ma"_s << u"Małopolskie"_s
                              << u"łopolskie"_s;
        QTest::newRow("m, a, z") << QString() << QStringList() << u"EdWojew"_s << u"maz"_s << u"Mazowieckie"_s
                                 << u"owieckie"_s;
        QTest::newRow("województwo małżonka") << QString() << QStringList() << u"EdmWojew"_s << u"ł"_s
                                              << u"Łódzkie"_s << u"ódzkie"_s;
        QTest::newRow("bez województwa") << QString() << QStringList() << u"EdWojew"_s << u"x"_s << u"x"_s
                                         << QString();
        QTest::newRow("imię") << QString() << QStringList() << u"EdImie"_s << u"zb"_s << u"Zbigniew"_s
                              << u"igniew"_s;
        QTest::newRow("imię małżonka na Ł") << QString() << QStringList() << u"EdmImie"_s << u"ł"_s << u"Łucja"_s
                                           << u"ucja"_s;
        QTest::newRow("urząd") << u"Urzad"_s << QStringList{u"Urząd Skarbowy Kraków-Krowodrza"_s} << u"EdUrzad"_s
                               << u"urząd s"_s << u"Urząd Skarbowy Kraków-Krowodrza"_s
                               << u"karbowy Kraków-Krowodrza"_s;
        QTest::newRow("kraj małżonka") << u"Kraj"_s << QStringList{u"Polska"_s, u"Niemcy"_s} << u"EdmKraj"_s
                                       << u"n"_s << u"Niemcy"_s << u"iemcy"_s;
        QTest::newRow("powiat") << u"Powiat"_s << QStringList{u"wielicki"_s} << u"EdPowiat"_s << u"w"_s
                                << u"wielicki"_s << u"ielicki"_s;
        QTest::newRow("gmina małżonka") << u"Gmina"_s << QStringList{u"Świątniki Górne"_s} << u"EdmGmina"_s
                                        << u"św"_s << u"Świątniki Górne"_s << u"iątniki Górne"_s;
        QTest::newRow("ulica") << u"Ulica"_s << QStringList{u"Żeromskiego"_s} << u"EdUlica"_s << u"ż"_s
                               << u"Żeromskiego"_s << u"eromskiego"_s;
        QTest::newRow("poczta małżonka") << u"Poczta"_s << QStringList{u"Wieliczka"_s} << u"EdmPoczta"_s << u"wie"_s
                                         << u"Wieliczka"_s << u"liczka"_s;
        QTest::newRow("nr domu bez uzupełniania") << u"Posesja"_s << QStringList{u"12a"_s} << u"EdPosesja"_s
                                                  << u"1"_s << u"1"_s << QString();
    }
    void completionWhileTyping()
    {
        QFETCH(QString, pole);
        QFETCH(QStringList, wpisy);
        QFETCH(QString, kontrolka);
        QFETCH(QString, klawisze);
        QFETCH(QString, tekst);
        QFETCH(QString, zaznaczone);
        for (const QString &wpis : wpisy)
            addTaxpayer(*dm, {{u"Nazwisko"_s, u"Wcześniejszy"_s}, {u"Imie"_s, u"Jan"_s}, {pole, wpis}});
        frm->PrzygotujNowyPodatnik();
        QVERIFY(showWindow());
        QVERIFY(typeInto(kontrolka, klawisze));
        QCOMPARE(ed(kontrolka)->text(), tekst);
        QCOMPARE(ed(kontrolka)->selectedText(), zaznaczone);
    }

    // What was saved since the last opening takes part in completion.
    void completionIncludesWhatWasJustSaved()
    {
        frm->PrzygotujNowyPodatnik();
        QVERIFY(showWindow());
        QVERIFY(typeInto(u"EdMiasto"_s, u"z"_s));
        QCOMPARE(ed(u"EdMiasto"_s)->text(), u"z"_s);
        ed(u"EdMiasto"_s)->setText(u"Zakopane"_s);
        ed(u"EdNazwisko"_s)->setText(u"Gąsienica"_s);
        ed(u"EdImie"_s)->setText(u"Jan"_s);
        QTest::mouseClick(control<QPushButton>(u"PostBtn"_s), Qt::LeftButton);
        QVERIFY(!frm->isVisible());

        frm->PrzygotujNowyPodatnik();
        QVERIFY(showWindow());
        QCOMPARE(ed(u"EdMiasto"_s)->text(), QString());
        QVERIFY(typeInto(u"EdMiasto"_s, u"z"_s));
        QCOMPARE(ed(u"EdMiasto"_s)->text(), u"Zakopane"_s);
        QCOMPARE(ed(u"EdMiasto"_s)->selectedText(), u"akopane"_s);
    }

    // Marks of the NIP, PESEL and account pairs once the focus has left them.
    void identifierPairMarks_data()
    {
        QTest::addColumn<QStringList>("wpisy");       // typed into Maski, in order
        QTest::addColumn<QStringList>("podpowiedzi"); // the hint of each; empty: no mark
        const QString n;
        QTest::newRow("nietknięte") << QStringList{n, n, n, n, n, n} << QStringList{n, n, n, n, n, n};
        QTest::newRow("ten sam NIP") << QStringList{Nip1, Nip1, n, n, n, n}
                                     << QStringList{TakiSamNip, TakiSamNip, n, n, n, n};
        QTest::newRow("ten sam błędny NIP") << QStringList{u"1234563219"_s, u"1234563219"_s, n, n, n, n}
                                            << QStringList{TakiSamNip, TakiSamNip, n, n, n, n};
        QTest::newRow("błędny NIP podatnika") << QStringList{u"1234563219"_s, Nip2, n, n, n, n}
                                              << QStringList{ZlyNip, n, n, n, n, n};
        QTest::newRow("niepełny NIP małżonka") << QStringList{n, u"526"_s, n, n, n, n}
                                               << QStringList{n, ZlyNip, n, n, n, n};
        QTest::newRow("różne poprawne NIP-y") << QStringList{Nip1, Nip2, n, n, n, n}
                                              << QStringList{n, n, n, n, n, n};
        QTest::newRow("błędny PESEL") << QStringList{n, n, u"44051401358"_s, Pesel1, n, n}
                                      << QStringList{n, n, ZlyPesel, n, n, n};
        QTest::newRow("niepełny PESEL małżonka") << QStringList{n, n, n, u"4405"_s, n, n}
                                                 << QStringList{n, n, n, ZlyPesel, n, n};
        QTest::newRow("ten sam PESEL") << QStringList{n, n, Pesel1, Pesel1, n, n}
                                       << QStringList{n, n, TakiSamPesel, TakiSamPesel, n, n};
        QTest::newRow("błędne konto") << QStringList{n, n, n, n, u"61109010140000071219812875"_s, Konto2}
                                      << QStringList{n, n, n, n, ZleKonto, n};
        QTest::newRow("niepełne konto małżonka") << QStringList{n, n, n, n, n, u"0510"_s}
                                                 << QStringList{n, n, n, n, n, ZleKonto};
        QTest::newRow("to samo konto") << QStringList{n, n, n, n, Konto1, Konto1} << QStringList{n, n, n, n, n, n};
    }
    void identifierPairMarks()
    {
        QFETCH(QStringList, wpisy);
        QFETCH(QStringList, podpowiedzi);
        frm->PrzygotujNowyPodatnik();
        QVERIFY(showWindow());
        for (int i = 0; i < Maski.size(); ++i)
            QVERIFY(typeInto(Maski[i], wpisy[i]));
        QVERIFY(focusOn(ed(u"EdNazwisko"_s)));
        for (int i = 0; i < Maski.size(); ++i) {
            QLineEdit *e = ed(Maski[i]);
            QCOMPARE(e->toolTip(), podpowiedzi[i]);
            QCOMPARE(isRed(e), !podpowiedzi[i].isEmpty());
        }
    }

    // The check runs when the focus leaves the control, and a corrected
    // number loses its mark.
    void markFollowsLeavingAndCorrecting()
    {
        frm->PrzygotujNowyPodatnik();
        QVERIFY(showWindow());
        QLineEdit *nip = ed(u"EdNIP"_s);
        QVERIFY(typeInto(u"EdNIP"_s, u"1234563219"_s));
        QCOMPARE(nip->toolTip(), QString());
        QVERIFY(focusOn(ed(u"EdPesel"_s)));
        QCOMPARE(nip->toolTip(), ZlyNip);
        QVERIFY(isRed(nip));

        QVERIFY(focusOn(nip));
        nip->setCursorPosition(13);
        typeText(nip, u"\b8"_s);
        QVERIFY(focusOn(ed(u"EdPesel"_s)));
        QCOMPARE(mask(u"EdNIP"_s)->storedText(), u"123-456-32-18"_s);
        QCOMPARE(nip->toolTip(), QString());
        QCOMPARE(nip->palette().color(QPalette::Text), QColor(Qt::black));
    }

    // Opening the window checks what was loaded.
    void loadedNumbersAreMarkedOnOpening()
    {
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Nowak"_s}, {u"Imie"_s, u"Jan"_s}, {u"NIP"_s, u"123-456-32-18"_s},
                          {u"MNIP"_s, u"123-456-32-18"_s}, {u"Pesel"_s, u"44051401358"_s},
                          {u"Konto"_s, Konto1}, {u"MKonto"_s, u"0510"_s}});
        frm->PrzygotujPoprawePodatnika();
        QVERIFY(showWindow());
        QCOMPARE(ed(u"EdNIP"_s)->toolTip(), TakiSamNip);
        QCOMPARE(ed(u"EdmNIP"_s)->toolTip(), TakiSamNip);
        QCOMPARE(ed(u"EdPesel"_s)->toolTip(), ZlyPesel);
        QCOMPARE(ed(u"EdmPESEL"_s)->toolTip(), QString());
        QCOMPARE(ed(u"EdKonto"_s)->toolTip(), QString());
        QCOMPARE(ed(u"EdmKonto"_s)->toolTip(), ZleKonto);
        QVERIFY(isRed(ed(u"EdmKonto"_s)));
    }

    // The surname and the first name must be given; blanks count as given.
    void surnameAndFirstNameAreRequired_data()
    {
        QTest::addColumn<QString>("nazwisko");
        QTest::addColumn<QString>("imie");
        QTest::addColumn<QString>("komunikat"); // empty: saved
        const QString brakNazwiska = u"Nazwisko podatnika musi być podane."_s;
        const QString brakImienia = u"Imię podatnika musi być podane."_s;
        QTest::newRow("bez nazwiska") << QString() << u"Jan"_s << brakNazwiska;
        QTest::newRow("bez imienia") << u"Nowak"_s << QString() << brakImienia;
        QTest::newRow("bez obu") << QString() << QString() << brakNazwiska;
        QTest::newRow("nazwisko ze spacji") << u"   "_s << u"Jan"_s << QString();
        QTest::newRow("imię ze spacji") << u"Nowak"_s << u" "_s << QString();
    }
    void surnameAndFirstNameAreRequired()
    {
        QFETCH(QString, nazwisko);
        QFETCH(QString, imie);
        QFETCH(QString, komunikat);
        frm->PrzygotujNowyPodatnik();
        QVERIFY(showWindow());
        ed(u"EdNazwisko"_s)->setText(nazwisko);
        ed(u"EdImie"_s)->setText(imie);
        tabs()->setCurrentIndex(1);
        const int przed = dm->Podatnik.recordCount();
        QTest::mouseClick(control<QPushButton>(u"PostBtn"_s), Qt::LeftButton);
        if (komunikat.isEmpty()) {
            QVERIFY(boxes.texts().isEmpty());
            QVERIFY(!frm->isVisible());
            QCOMPARE(dm->Podatnik.recordCount(), przed + 1);
            QCOMPARE(currentField(u"Nazwisko"_s), nazwisko);
            QCOMPARE(currentField(u"Imie"_s), imie);
        } else {
            QCOMPARE(boxes.texts(), QStringList{komunikat});
            QCOMPARE(boxes.shown().first().title, u"Uwaga"_s);
            QVERIFY(frm->isVisible());
            QCOMPARE(dm->Podatnik.recordCount(), przed);
            QCOMPARE(tabs()->currentIndex(), 0);
            QCOMPARE(QApplication::focusWidget(), ed(nazwisko.isEmpty() ? u"EdNazwisko"_s : u"EdImie"_s));
        }
    }

    // A post the database refuses loses nothing: the window stays open with
    // the entries and says why; once the cause is gone, saving works.
    void refusedSaveLosesNothing_data()
    {
        QTest::addColumn<bool>("dodawanie");
        QTest::newRow("dodawanie") << true;
        QTest::newRow("poprawa") << false;
    }
    void refusedSaveLosesNothing()
    {
        QFETCH(bool, dodawanie);
        addTaxpayer(*dm, {{u"Nazwisko"_s, u"Kowalski"_s}, {u"Imie"_s, u"Jan"_s}});
        const int przed = dm->Podatnik.recordCount();
        dm->database().run(QStringLiteral("CREATE TRIGGER blokada BEFORE %1 ON Podatnik BEGIN "
                                          "SELECT RAISE(ABORT,'zapis zablokowany'); END")
                               .arg(dodawanie ? u"INSERT"_s : u"UPDATE"_s));
        if (dodawanie)
            frm->PrzygotujNowyPodatnik();
        else
            frm->PrzygotujPoprawePodatnika();
        QVERIFY(showWindow());
        ed(u"EdNazwisko"_s)->setText(u"Wiśniewski"_s);
        ed(u"EdImie"_s)->setText(u"Adam"_s);
        QTest::mouseClick(control<QPushButton>(u"PostBtn"_s), Qt::LeftButton);

        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY(boxes.texts().first().startsWith(u"Nie udało się zapisać danych podatnika:\r"_s));
        QVERIFY2(boxes.texts().first().contains(u"zapis zablokowany"_s), qPrintable(boxes.texts().first()));
        QVERIFY(frm->isVisible());
        QCOMPARE(ed(u"EdNazwisko"_s)->text(), u"Wiśniewski"_s);
        QVERIFY(!dm->Podatnik.isEditing());
        QCOMPARE(dm->Podatnik.recordCount(), przed);
        dm->Podatnik.last();
        QCOMPARE(currentField(u"Nazwisko"_s), u"Kowalski"_s);

        dm->database().run(u"DROP TRIGGER blokada"_s);
        QTest::mouseClick(control<QPushButton>(u"PostBtn"_s), Qt::LeftButton);
        QVERIFY(!frm->isVisible());
        QCOMPARE(dm->Podatnik.recordCount(), dodawanie ? przed + 1 : przed);
        QCOMPARE(currentField(u"Nazwisko"_s), u"Wiśniewski"_s);
    }

    // "»" copies the surname; the address button copies the ten address
    // parts and nothing else.
    void spouseButtonsCopySurnameAndAddress()
    {
        frm->PrzygotujNowyPodatnik();
        QVERIFY(showWindow());
        const QVariantMap adres{{u"Kraj"_s, u"Polska"_s},  {u"Wojew"_s, u"Podkarpackie"_s},
                                {u"Powiat"_s, u"łańcucki"_s}, {u"Gmina"_s, u"Łańcut"_s},
                                {u"Miasto"_s, u"Łańcut"_s},   {u"KodPoczt"_s, u"37-100"_s},
                                {u"Poczta"_s, u"Łańcut"_s},   {u"Ulica"_s, u"Paderewskiego"_s},
                                {u"Posesja"_s, u"7"_s},       {u"Lokal"_s, u"2b"_s}};
        for (auto it = adres.begin(); it != adres.end(); ++it)
            ed(u"Ed"_s + it.key())->setText(it.value().toString());
        ed(u"EdNazwisko"_s)->setText(u"Żak"_s);
        ed(u"EdUrzad"_s)->setText(u"Urząd Skarbowy w Łańcucie"_s);
        ed(u"EdmImie"_s)->setText(u"Ewa"_s);
        tabs()->setCurrentIndex(1);

        auto *nazwBtn = control<QPushButton>(u"NazwBtn"_s);
        QVERIFY(nazwBtn->toolTip().startsWith(u"Wprowadź nazwisko małżonka takie samo"_s));
        QTest::mouseClick(nazwBtn, Qt::LeftButton);
        QCOMPARE(ed(u"EdmNazwisko"_s)->text(), u"Żak"_s);

        ed(u"EdmNazwisko"_s)->setText(u"Żak-Inna"_s);
        QTest::mouseClick(control<QPushButton>(u"UstawBtn"_s), Qt::LeftButton);
        for (auto it = adres.begin(); it != adres.end(); ++it)
            QCOMPARE(ed(u"Edm"_s + it.key())->text(), it.value().toString());
        QCOMPARE(ed(u"EdmNazwisko"_s)->text(), u"Żak-Inna"_s);
        QCOMPARE(ed(u"EdmImie"_s)->text(), u"Ewa"_s);
        QCOMPARE(mask(u"EdmNIP"_s)->storedText(), PustyNip);
    }

    // The window first opens on the taxpayer's tab, later on the tab last
    // shown; "Anuluj" and Esc close without saving, once the user agrees
    // to drop what was typed.
    void tabMemoryAndCancelling()
    {
        QCOMPARE(tabs()->tabText(0), u"Dane osoby fizycznej"_s);
        QCOMPARE(tabs()->tabText(1), u"Dane małżonka"_s);
        frm->PrzygotujNowyPodatnik();
        QVERIFY(showWindow());
        QCOMPARE(tabs()->currentIndex(), 0);
        QCOMPARE(QApplication::focusWidget(), ed(u"EdNIP"_s));
        const int przed = dm->Podatnik.recordCount();
        ed(u"EdNazwisko"_s)->setText(u"Nowak"_s);
        ed(u"EdImie"_s)->setText(u"Jan"_s);
        tabs()->setCurrentIndex(1);
        boxes.answer(true);
        boxes.answer(true);
        QTest::mouseClick(control<QPushButton>(u"CancelBtn"_s), Qt::LeftButton);
        QVERIFY(!frm->isVisible());
        QCOMPARE(frm->result(), int(QDialog::Rejected));

        frm->PrzygotujNowyPodatnik();
        QVERIFY(showWindow());
        QCOMPARE(tabs()->currentIndex(), 1);
        QCOMPARE(QApplication::focusWidget(), ed(u"EdmNIP"_s));
        QCOMPARE(ed(u"EdNazwisko"_s)->text(), QString());
        ed(u"EdNazwisko"_s)->setText(u"Nowak"_s);
        ed(u"EdImie"_s)->setText(u"Jan"_s);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!frm->isVisible());
        QCOMPARE(frm->result(), int(QDialog::Rejected));
        QCOMPARE(dm->Podatnik.recordCount(), przed);
        QCOMPARE(boxes.texts(), QStringList(2, u"Porzucić wprowadzone dane podatnika?"_s));
    }

    // Tab walks the taxpayer's controls in the order of the form; Enter in an
    // edit saves nothing; the accelerators reach their controls.
    void keyboardOrderAndAccelerators()
    {
        frm->PrzygotujNowyPodatnik();
        QVERIFY(showWindow());
        const QStringList kolejnosc{u"EdNIP"_s,    u"EdPesel"_s,   u"EdNazwisko"_s, u"EdImie"_s,  u"EdDokument"_s,
                                    u"EdKraj"_s,   u"EdWojew"_s,   u"EdPowiat"_s,   u"EdGmina"_s, u"EdUlica"_s,
                                    u"EdPosesja"_s, u"EdLokal"_s,  u"EdMiasto"_s,   u"EdKodPoczt"_s,
                                    u"EdPoczta"_s, u"EdKonto"_s,   u"EdUrzad"_s,    u"PostBtn"_s, u"CancelBtn"_s};
        QStringList przejscia{QApplication::focusWidget()->objectName()};
        for (int i = 1; i < kolejnosc.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            przejscia << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(przejscia, kolejnosc);

        QTest::keyClick(ed(u"EdNazwisko"_s), Qt::Key_Return);
        QVERIFY(frm->isVisible());
        QVERIFY(boxes.texts().isEmpty());

        QTest::keyClick(frm.get(), Qt::Key_S, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), ed(u"EdUrzad"_s));
        QTest::keyClick(frm.get(), Qt::Key_Z, Qt::AltModifier);
        QTRY_COMPARE(boxes.texts(), QStringList{u"Nazwisko podatnika musi być podane."_s});

        ed(u"EdMiasto"_s)->setText(u"Sanok"_s);
        tabs()->setCurrentIndex(1);
        QTest::keyClick(frm.get(), Qt::Key_U, Qt::AltModifier);
        QTRY_COMPARE(ed(u"EdmMiasto"_s)->text(), u"Sanok"_s);
    }
};

QTEST_MAIN(TestPodatnikFrm)
#include "tst_podatnikfrm.moc"
