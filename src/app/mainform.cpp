#include "app/mainform.h"

#include "app/bazadanychfrm.h"

#include <QRadioButton>
#include "app/startup.h"

#include "app/aboutbox.h"
#include "vzm/attachmentmodel.h"
#include "widgets/captionabovebutton.h"
#include "data/dataerror.h"
#include "data/kopiezapasowe.h"
#include "widgets/datasetmodel.h"
#include "taxpayers/domyslnefrm.h"
#include "app/editorfrm.h"
#include "app/pytaniaokopie.h"
#include "vzm/formmodel.h"
#include "taxpayers/podatnikfrm.h"
#include "taxpayers/wczytajfirmyfrm.h"
#include "taxpayers/wczytajpodatfrm.h"
#include "vzm/windows/wnioskifrm.h"
#include "invoices/windows/fakturafrm.h"
#include "invoices/windows/importfakturfrm.h"
#include "invoices/windows/materialyfrm.h"
#include "widgets/richtext.h"
#include "app/shellicons.h"
#include "data/tdm.h"
#include "overprint/drukfrm.h"
#include "overprint/fontform.h"
#include "overprint/korektafrm.h"
#include "overprint/nadrukwniosku.h"
#include "overprint/nadrukzalacznika.h"
#include "reports/forms/wydruk.h"
#include "vzm/windows/wyborzal.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSplitter>
#include <QTableView>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>

TMainForm::TMainForm(TDM &dm, const QString &settingsPath, QWidget *parent)
    : QMainWindow(parent), dm(dm), m_settingsFile(settingsPath)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(ProgramTitle);
    m_window.setTytul(ProgramTitle);
    m_window.setNrWersji(ProgramVersion);
    m_window.setGdyNieZapisano([this](const QString &plik) { UstawieniaNiezapisane(plik); });
    m_vzm3 = std::make_unique<TVzm_3>(dm);
    m_vzmab = std::make_unique<TVZMab>(dm);

    utworzPasek();
    utworzRejestr();
    utworzMenu();
    zastosujUstawienia(m_settingsFile.read());

    // The register follows the taxpayers' table from the moment it opens.
    const auto podatnikZmiana = [this] {
        UstawPrzyciski();
        PokazNotatki();
    };
    for (auto signal : {&Dataset::opened, &Dataset::closed, &Dataset::cursorMoved, &Dataset::rowsChanged,
                        &Dataset::posted, &Dataset::removed})
        connect(&dm.Podatnik, signal, this, podatnikZmiana);
    connect(&dm.Podatnik, &Dataset::rowChanged, this, podatnikZmiana);
    connect(&dm, &TDM::BazaOdrzucona, this, &TMainForm::BazaOdrzucona);
    UstawPrzyciski();
}

TMainForm::~TMainForm()
{
    // The windows kept for the whole run hold the shared objects below and
    // store their placement when they go: they go first.
    delete m_fakturaFrm;
    delete m_wnioskiFrm;
    delete m_drukFrm;
    delete m_materialyFrm;
    m_vzmab.reset();
    m_vzm3.reset();
    SettingsValues values;
    values.Form = {y(), x(), width(), height()};
    values.Print = printSettings();
    if (!m_settingsFile.write(values))
        UstawieniaNiezapisane(m_settingsFile.path());
}

void TMainForm::UstawieniaNiezapisane(const QString &plik)
{
    if (m_zgloszonoUstawienia)
        return;
    m_zgloszonoUstawienia = true;
    dm.Uwaga(QStringLiteral("Nie udało się zapisać ustawień programu w pliku %1.\r"
                            "Program działa dalej, ale położenie okien i ustawienia wydruku nie zostaną zapamiętane.")
                 .arg(QDir::toNativeSeparators(plik)));
}

void TMainForm::zastosujUstawienia(const SettingsValues &values)
{
    printSettings() = values.Print;
    m_drukarka.Przywroc(values.Print);
    move(values.Form.Left, values.Form.Top);
    resize(values.Form.Width, values.Form.Height);
}

void TMainForm::utworzPasek()
{
    QToolBar *pasek = addToolBar(QStringLiteral("Pasek"));
    pasek->setObjectName(QStringLiteral("ToolBar1"));
    pasek->setMovable(false);
    pasek->setFloatable(false);
    pasek->toggleViewAction()->setVisible(false);
    pasek->setIconSize(QSize(24, 24));

    const auto przycisk = [this, pasek](const char *name, const QString &caption, const QIcon &icon) {
        auto *button = new CaptionAboveToolButton(caption, icon, this);
        button->setObjectName(QLatin1String(name));
        button->setIconSize(pasek->iconSize());
        button->setMinimumWidth(64);
        pasek->addWidget(button);
        return button;
    };
    InsertBtn = przycisk("InsertBtn", QStringLiteral("&Dodaj"), themeIcon(QStringLiteral("contact-new"), QStyle::SP_FileIcon));
    EditBtn = przycisk("EditBtn", QStringLiteral("&Popraw"),
                       themeIcon(QStringLiteral("insert-text"), QStyle::SP_FileDialogDetailedView));
    DeleteBtn = przycisk("DeleteBtn", QStringLiteral("&Usuń"), themeIcon(QStringLiteral("edit-delete"), QStyle::SP_TrashIcon));
    pasek->addSeparator();
    NotatkiBtn = przycisk("NotatkiBtn", QStringLiteral("&Notatki"),
                          themeIcon(QStringLiteral("accessories-text-editor"), QStyle::SP_FileDialogContentsView));
    // A folder of documents in colour: Adwaita draws "emblem-documents" in
    // pale grey, which on an enabled button reads as a disabled one.
    WnioskiBtn = przycisk("WnioskiBtn", QStringLiteral("&Wnioski"), themeIcon(QStringLiteral("folder-documents"), QStyle::SP_DirIcon));

    auto *odstep = new QWidget(pasek);
    odstep->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    pasek->addWidget(odstep);
    CloseBtn = przycisk("CloseBtn", QStringLiteral("&Zamknij"),
                        themeIcon(QStringLiteral("application-exit"), QStyle::SP_DialogCloseButton));

    connect(InsertBtn, &QToolButton::clicked, this, &TMainForm::InsertBtnClick);
    connect(EditBtn, &QToolButton::clicked, this, &TMainForm::EditBtnClick);
    connect(DeleteBtn, &QToolButton::clicked, this, &TMainForm::DeleteBtnClick);
    connect(NotatkiBtn, &QToolButton::clicked, this, &TMainForm::NotatkiBtnClick);
    connect(WnioskiBtn, &QToolButton::clicked, this, &TMainForm::WnioskiBtnClick);
    connect(CloseBtn, &QToolButton::clicked, this, &QWidget::close);
}

void TMainForm::utworzRejestr()
{
    DBGrid1 = new QTableView;
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    new GridBinding(*DBGrid1, dm.Podatnik,
                    {{QStringLiteral("Lp"), {}, Qt::AlignRight | Qt::AlignVCenter},
                     {QStringLiteral("Nazwisko")},
                     {QStringLiteral("Imie"), QStringLiteral("Imię")},
                     {QStringLiteral("NIP"), {}, Qt::AlignLeft | Qt::AlignVCenter, {}, true},
                     {QStringLiteral("Miasto"), QStringLiteral("Miejscowość")},
                     {QStringLiteral("Ulica")},
                     {QStringLiteral("Posesja")},
                     {QStringLiteral("Lokal")}});
    DBGrid1->setAlternatingRowColors(true);
    // Lp, Nazwisko, Imię, NIP, Miejscowość, Ulica, Posesja, Lokal: all fit the
    // window's first size; Lokal stretches into whatever a wider window adds.
    const int widths[] = {32, 120, 90, 100, 105, 120, 55, 50};
    for (int column = 0; column < int(std::size(widths)); ++column)
        DBGrid1->setColumnWidth(column, widths[column]);
    DBGrid1->installEventFilter(this);
    connect(DBGrid1, &QTableView::doubleClicked, this, &TMainForm::EditBtnClick);

    EdNotatki = new QTextEdit;
    EdNotatki->setObjectName(QStringLiteral("EdNotatki"));
    EdNotatki->setReadOnly(true);

    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->addWidget(DBGrid1);
    splitter->addWidget(EdNotatki);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);

    EdSearch = new QLineEdit;
    EdSearch->setObjectName(QStringLiteral("EdSearch"));
    EdSearch->setClearButtonEnabled(true);
    EdSearch->setMaximumWidth(260);
    auto *etykieta = new QLabel(QStringLiteral("&Szukaj"));
    etykieta->setBuddy(EdSearch);
    connect(EdSearch, &QLineEdit::textChanged, this, &TMainForm::EdSearchChange);

    auto *szukaj = new QHBoxLayout;
    szukaj->addWidget(etykieta);
    szukaj->addWidget(EdSearch, 1);
    szukaj->addStretch(2);

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter, 1);
    layout->addLayout(szukaj);
    setCentralWidget(central);
    DBGrid1->setFocus();
}

void TMainForm::utworzMenu()
{
    QMenu *system = menuBar()->addMenu(QStringLiteral("S&ystem"));
    system->setObjectName(QStringLiteral("SystemMenu"));
    QAction *wczytajPodat = system->addAction(QStringLiteral("Wczytaj dane &podatników z poprzedniej wersji Tarlen"),
                                              this, &TMainForm::WczytajPodatnikowClick);
    wczytajPodat->setObjectName(QStringLiteral("WczytajPodatItem"));
    QAction *wczytajFirmy = system->addAction(QStringLiteral("Wczytaj &sprzedawców z poprzedniej wersji Tarlen"),
                                              this, &TMainForm::WczytajFirmyClick);
    wczytajFirmy->setObjectName(QStringLiteral("WczytajFirmyItem"));
    system->addSeparator();
    system->addAction(QStringLiteral("Baza &danych…"), this, &TMainForm::BazaDanychClick)
        ->setObjectName(QStringLiteral("BazaDanychItem"));
    system->addAction(QStringLiteral("Przenieś bazę na se&rwer…"), this, &TMainForm::BazaDanychClick)
        ->setObjectName(QStringLiteral("PrzeniesItem"));
    system->addAction(QStringLiteral("&Kopia zapasowa bazy danych…"), this, &TMainForm::KopiaZapasowaClick)
        ->setObjectName(QStringLiteral("KopiaZapasowaItem"));
    system->addAction(QStringLiteral("&Odtwórz bazę danych z kopii…"), this, &TMainForm::OdtworzZKopiiClick)
        ->setObjectName(QStringLiteral("OdtworzZKopiiItem"));
    system->addSeparator();
    QAction *materialy = system->addAction(QStringLiteral("Wykaz &materiałów budowlanych"), this, [this] {
        if (m_materialyFrm)
            m_materialyFrm->exec();
    });
    materialy->setObjectName(QStringLiteral("MaterialyItem"));
    system->addSeparator();
    QAction *zakoncz = system->addAction(QStringLiteral("&Zakończ"), this, &QWidget::close);
    zakoncz->setObjectName(QStringLiteral("ZakonczItem"));

    QMenu *opcje = menuBar()->addMenu(QStringLiteral("&Opcje"));
    opcje->setObjectName(QStringLiteral("OpcjeMenu"));
    QAction *parametry = opcje->addAction(QStringLiteral("&Parametry domyślne"), this, &TMainForm::ParametryDomyslneClick);
    parametry->setObjectName(QStringLiteral("ParametryItem"));
    opcje->addSeparator();
    opcje->addAction(QStringLiteral("Opcje wydruku / nadruku"), this, &TMainForm::OpcjeWydrukuClick)
        ->setObjectName(QStringLiteral("OpcjeWydrukuItem"));
    opcje->addSeparator();
    opcje->addAction(QStringLiteral("Korekta współrzędnych nadruku"), this, &TMainForm::KorektaClick)
        ->setObjectName(QStringLiteral("KorektaItem"));

    QAction *oProgramie = menuBar()->addAction(QStringLiteral("O p&rogramie"), this, &TMainForm::OProgramieClick);
    oProgramie->setObjectName(QStringLiteral("OProgramieItem"));
}

void TMainForm::UtworzOkna()
{
    if (!m_podatnikFrm)
        m_podatnikFrm = new TPodatnikFrm(dm, this);
    // The lists of building materials are read once, for the whole run.
    if (!m_materialyFrm)
        m_materialyFrm = new TMaterialyFrm(dm, m_window, this);
    if (!m_wnioskiFrm) {
        m_wnioskiFrm = new TWnioskiFrm(dm, *m_vzm3, *m_vzmab, m_window, this);
        m_fakturaFrm = new TFakturaFrm(dm, m_window, this);
        OknaWnioskow okna;
        okna.NowaFaktura = [this](int VzmId, int lista) { m_fakturaFrm->NowaFaktura(VzmId, lista); };
        okna.PoprawFakture = [this](int VzmId, int lista) { m_fakturaFrm->PoprawFakture(VzmId, lista); };
        m_drukFrm = new TDrukFrm(dm, m_drukarka, {}, this);
        m_wyborZal = new TWyborZal(this);
        okna.NadrukWniosku = [this] {
            NadrukWniosku strony(m_drukarka, dm, *m_vzm3);
            m_drukFrm->ShowWniosek(strony);
        };
        okna.NadrukZalacznika = [this] {
            NadrukZalacznika strony(m_drukarka, dm, *m_vzmab);
            m_drukFrm->ShowZalacznik(strony);
        };
        okna.PodgladWniosku = [this] {
            const WydrukWniosku wydruk(*m_vzm3);
            PokazPodglad(wydruk.Raport(), wydruk.NazwaPliku(), dm, QApplication::activeModalWidget());
        };
        okna.PodgladZalacznika = [this] {
            const WydrukZalacznika wydruk(*m_vzmab);
            PokazPodglad(wydruk.Raport(), wydruk.NazwaPliku(), dm, QApplication::activeModalWidget());
        };
        okna.DrukujRozliczenie = [this](ZrodloRozliczenia zrodlo) {
            const WydrukRozliczenia wydruk(dm, *m_vzm3, zrodlo);
            PokazPodglad(wydruk.Raport(), wydruk.NazwaPliku(), dm, QApplication::activeModalWidget());
        };
        okna.WczytajFaktury = [this](int VzmId, int lista) {
            return WczytajFakturyZPliku(dm, VzmId, lista, QApplication::activeModalWidget(), m_wyborPliku);
        };
        okna.ZapiszFaktury = [this](int VzmId, int lista) {
            ZapiszFakturyDoPliku(dm, VzmId, lista, QApplication::activeModalWidget(), m_wyborPliku);
        };
        okna.WybierzZalacznik = [this](int liczba, int lista) { return m_wyborZal->Wybierz(liczba, lista); };
        okna.OtworzNotatki = [this] {
            TEditorFrm editor(dm, QApplication::activeModalWidget());
            editor.OtworzNotatki();
        };
        m_wnioskiFrm->UstawOkna(okna);
    }
    UstawPrzyciski();
}

bool TMainForm::jestPodatnik() const
{
    if (!dm.Podatnik.isOpen())
        return false;
    try {
        return dm.Podatnik.recordCount() > 0;
    } catch (const DataError &) {
        return false; // an unreadable table offers nothing to edit
    }
}

void TMainForm::UstawPrzyciski()
{
    InsertBtn->setEnabled(dm.Podatnik.isOpen());
    const bool jest = jestPodatnik();
    for (QToolButton *button : {EditBtn, DeleteBtn, NotatkiBtn, WnioskiBtn})
        button->setEnabled(jest);
}

void TMainForm::PokazNotatki()
{
    QString notatki;
    if (jestPodatnik()) {
        try {
            notatki = dm.Podatnik.field(QStringLiteral("Notatki")).asString();
        } catch (const DataError &) {
            // the pane stays empty for a record that cannot be read
        }
    }
    // Reloading an unchanged note would only lose the pane's scroll position.
    if (notatki == m_pokazaneNotatki)
        return;
    m_pokazaneNotatki = notatki;
    loadRichText(*EdNotatki, notatki);
}

void TMainForm::InsertBtnClick()
{
    if (!InsertBtn->isEnabled() || !m_podatnikFrm)
        return;
    m_podatnikFrm->NowyPodatnik();
    UstawPrzyciski();
}

void TMainForm::EditBtnClick()
{
    if (!EditBtn->isEnabled() || !m_podatnikFrm)
        return;
    m_podatnikFrm->PoprawPodatnika();
    UstawPrzyciski();
}

void TMainForm::DeleteBtnClick()
{
    if (jestPodatnik() && dm.Potwierdz(QStringLiteral("Usunąć bieżącą pozycję z wykazu?"))) {
        try {
            dm.Podatnik.remove();
        } catch (const DataError &e) {
            dm.Uwaga(e.message());
        }
    }
    UstawPrzyciski();
}

void TMainForm::NotatkiBtnClick()
{
    if (!NotatkiBtn->isEnabled())
        return;
    TEditorFrm editor(dm, this);
    editor.OtworzNotatki();
}

void TMainForm::WnioskiBtnClick()
{
    if (!WnioskiBtn->isEnabled() || !m_wnioskiFrm)
        return;
    m_wnioskiFrm->PokazWnioski();
    UstawPrzyciski();
}

void TMainForm::EdSearchChange(const QString &text)
{
    if (!dm.Podatnik.isOpen())
        return;
    try {
        dm.Podatnik.locate(QStringLiteral("Nazwisko"), text, LocateOption::CaseInsensitive | LocateOption::PartialKey);
    } catch (const DataError &e) {
        dm.Uwaga(e.message());
    }
}

void TMainForm::OpcjeWydrukuClick()
{
    TFontForm opcje(printSettings(), this);
    opcje.exec();
}

void TMainForm::KorektaClick()
{
    TKorektaFrm korekta(dm, this);
    korekta.exec();
}

void TMainForm::ParametryDomyslneClick()
{
    TDomyslneFrm frm(dm, this);
    frm.exec();
}

void TMainForm::WczytajPodatnikowClick()
{
    {
        TWczytajPodatFrm frm(dm, this);
        if (frm.Przygotuj())
            frm.exec();
    }
    UstawPrzyciski();
}

void TMainForm::WczytajFirmyClick()
{
    TWczytajFirmyFrm frm(dm, this);
    frm.exec();
}

void TMainForm::BazaDanychClick()
{
    TBazaDanychFrm frm(dm, this);
    if (sender() && sender()->objectName() == QLatin1String("PrzeniesItem"))
        frm.SerwerRadio->setChecked(true);
    frm.exec();
    UstawPrzyciski();
}

void TMainForm::KopiaZapasowaClick()
{
    const QString plik = m_wyborPliku(this, PytaniaOKopie::Kopia(QDate::currentDate()));
    if (!plik.isEmpty() && KopieZapasowe(dm).Kopia(plik))
        PytaniaOKopie::ZapamietajKopie(plik);
}

void TMainForm::OdtworzZKopiiClick()
{
    const QString plik =
        m_wyborPliku(this, PytaniaOKopie::Odtworzenie(QFileInfo(dm.database().filePath()).absolutePath()));
    if (!plik.isEmpty())
        KopieZapasowe(dm).Odtworz(plik);
    UstawPrzyciski();
}

// The check of the whole file answers once the register is shown; a file
// found unsound then is dealt with as at start.
void TMainForm::BazaOdrzucona()
{
    if (ZastapUszkodzonaBaze(dm))
        UstawPrzyciski();
    else
        emit BezBazy();
}

void TMainForm::OProgramieClick()
{
    TAboutBox box(this);
    box.exec();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (dm.Potwierdz(QStringLiteral("Zakończyć program Tarlen?"))) {
        // A run that wrote to the database leaves a copy of it.
        KopieZapasowe(dm).KopiaNaZakonczenie();
        event->accept();
    } else {
        event->ignore();
    }
}

void TMainForm::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        UstawPrzyciski();
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == DBGrid1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            EditBtnClick();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}
