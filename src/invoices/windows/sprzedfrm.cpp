#include "invoices/windows/sprzedfrm.h"

#include "invoices/windows/faktura.h"

#include "checks/identifiers.h"
#include "data/dataerror.h"
#include "data/tdm.h"
#include "widgets/datasetmodel.h"
#include "widgets/windowplacement.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <optional>

namespace {

const QString PoleKod = QStringLiteral("Kod");
const QString PoleNIP = QStringLiteral("NIP");
const QString PoleFirma = QStringLiteral("Firma");

bool maCyfre(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The text up to and including its last digit; empty without a digit.
QString doOstatniejCyfry(const QString &text)
{
    for (qsizetype i = text.size() - 1; i >= 0; --i)
        if (text[i] >= u'0' && text[i] <= u'9')
            return text.left(i + 1);
    return {};
}

// What the search as you type looks for: the fields (joined by ";") and
// their prefixes. Nothing given: no search, the first seller is shown.
struct Szukane
{
    QString pola;
    QVariantList wartosci;
};

std::optional<Szukane> szukane(const QString &kodEdit, const QString &nipEdit, const QString &firmaEdit)
{
    const QString kod = kodEdit.trimmed();
    const QString nip = nipEdit.trimmed();
    const QString firma = firmaEdit.trimmed();
    // A NIP counts only by its digits; searched together with another field
    // it is cut after its last digit, so a trailing separator does not
    // stop the match.
    const QString nipDoCyfry = doOstatniejCyfry(nip);
    const bool jestKod = !kod.isEmpty();
    const bool jestNip = !nipDoCyfry.isEmpty();
    const bool jestFirma = !firma.isEmpty();
    if (jestKod && jestNip && jestFirma)
        return Szukane{PoleKod + u';' + PoleNIP + u';' + PoleFirma, {kod, nipDoCyfry, firma}};
    if (jestNip && jestFirma)
        return Szukane{PoleNIP + u';' + PoleFirma, {nipDoCyfry, firma}};
    if (jestKod && jestFirma)
        return Szukane{PoleKod + u';' + PoleFirma, {kod, firma}};
    if (jestKod && jestNip)
        return Szukane{PoleKod + u';' + PoleNIP, {kod, nipDoCyfry}};
    if (jestKod)
        return Szukane{PoleKod, {kod}};
    if (jestNip)
        return Szukane{PoleNIP, {nip}};
    if (jestFirma)
        return Szukane{PoleFirma, {firma}};
    return std::nullopt;
}

QPushButton *przycisk(const char *name, const QString &text)
{
    auto *button = new QPushButton(text);
    button->setObjectName(QLatin1StringView(name));
    // Enter presses the button that has the focus.
    button->setAutoDefault(true);
    return button;
}

QLineEdit *pole(const char *name, int maxLength)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QLatin1StringView(name));
    edit->setMaxLength(maxLength);
    return edit;
}

} // namespace

struct TSprzedFrm::Impl
{
    Impl(TSprzedFrm &q, TDM &dm, TWindow &window);

    void Szukaj();
    void UstawPrzyciski();
    bool JestSprzedawca();

    void DodajBtnClick();
    void PoprawBtnClick();
    void UsunBtnClick();
    void WybierzBtnClick();
    void WczytajBtnClick();
    void CzyscBtnClick();

    // Checks 1 to 3 of adding and correcting; false (with the message
    // shown and the focus on the edit concerned) when one fails.
    bool SprawdzDane();
    bool JestJuz(const QString &pole, const QString &wartosc, const QString &komunikat);
    // Stores the edits' values into a new seller or into the current one;
    // false (after telling the user) when the store refused them.
    bool Zapisz(bool nowy);
    TSprzedawca Biezacy();
    // Makes the seller chosen for correction current again; false when it
    // is no longer in the register.
    bool WrocDoPoprawianego();

    TSprzedFrm &q;
    TDM &dm;
    WindowPlacement placement;

    QTableView *DBGrid1;
    QLineEdit *EdKod;
    QLineEdit *EdNIP;
    QLineEdit *EdFirma;
    QPushButton *CzyscBtn;
    QPushButton *WybierzBtn;
    QPushButton *AnulujBtn;
    QPushButton *WczytajBtn;
    QPushButton *DodajBtn;
    QPushButton *PoprawBtn;
    QPushButton *UsunBtn;

    QString kod;
    QString nip;
    QString firma;
    // The seller "&Popraw" corrects, as it was chosen.
    std::optional<TSprzedawca> poprawiany;
    bool szukanie = false;
};

TSprzedFrm::Impl::Impl(TSprzedFrm &q, TDM &dm, TWindow &window)
    : q(q), dm(dm), placement(window, QStringLiteral("SprzedFrm"), WindowPlacement::Remember::PositionAndSize)
{
    DBGrid1 = new QTableView;
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    new GridBinding(*DBGrid1, dm.Firmy,
                    {{PoleKod, QStringLiteral("Kod")}, {PoleNIP, QStringLiteral("NIP")}, {PoleFirma, QStringLiteral("Nazwa")}});
    DBGrid1->setColumnWidth(0, 90);
    DBGrid1->setColumnWidth(1, 110);

    EdKod = pole("EdKod", 13);
    EdNIP = pole("EdNIP", 13);
    EdFirma = pole("EdFirma", 50);
    CzyscBtn = przycisk("CzyscBtn", QString());
    CzyscBtn->setIcon(q.style()->standardIcon(QStyle::SP_LineEditClearButton));
    CzyscBtn->setFixedWidth(CzyscBtn->sizeHint().height());
    CzyscBtn->setToolTip(QStringLiteral("Wyczyść"));
    auto *etykietaKod = new QLabel(QStringLiteral("&Kod"));
    etykietaKod->setBuddy(EdKod);
    auto *etykietaNIP = new QLabel(QStringLiteral("&NIP"));
    etykietaNIP->setBuddy(EdNIP);
    auto *etykietaFirma = new QLabel(QStringLiteral("Nazwa"));
    etykietaFirma->setBuddy(EdFirma);

    WybierzBtn = przycisk("WybierzBtn", QStringLiteral("&Wybierz"));
    WybierzBtn->setDefault(true);
    AnulujBtn = przycisk("AnulujBtn", QStringLiteral("&Anuluj"));
    WczytajBtn = przycisk("WczytajBtn", QStringLiteral("Wczytaj do modyfikacji"));
    DodajBtn = przycisk("DodajBtn", QStringLiteral("&Dodaj"));
    PoprawBtn = przycisk("PoprawBtn", QStringLiteral("&Popraw"));
    UsunBtn = przycisk("UsunBtn", QStringLiteral("&Usuń"));

    // The edit panel: code, NIP and name side by side under their captions,
    // the choosing buttons at the right.
    auto *panel = new QGridLayout;
    panel->addWidget(etykietaKod, 0, 0);
    panel->addWidget(etykietaNIP, 0, 1);
    panel->addWidget(etykietaFirma, 0, 2);
    panel->addWidget(EdKod, 1, 0);
    panel->addWidget(EdNIP, 1, 1);
    auto *nazwa = new QHBoxLayout;
    nazwa->setSpacing(2);
    nazwa->addWidget(EdFirma, 1);
    nazwa->addWidget(CzyscBtn);
    panel->addLayout(nazwa, 1, 2);
    panel->setColumnStretch(0, 2);
    panel->setColumnStretch(1, 3);
    panel->setColumnStretch(2, 6);
    panel->addWidget(WczytajBtn, 2, 0, 1, 2, Qt::AlignLeft);

    auto *wybor = new QVBoxLayout;
    wybor->addWidget(WybierzBtn);
    wybor->addWidget(AnulujBtn);
    wybor->addStretch();

    auto *srodek = new QHBoxLayout;
    srodek->addLayout(panel, 1);
    srodek->addSpacing(8);
    srodek->addLayout(wybor);

    auto *dol = new QHBoxLayout;
    dol->addWidget(DodajBtn);
    dol->addWidget(PoprawBtn);
    dol->addWidget(UsunBtn);
    dol->addStretch();

    auto *uklad = new QVBoxLayout(&q);
    uklad->setContentsMargins(6, 6, 6, 6);
    uklad->addWidget(DBGrid1, 1);
    uklad->addSpacing(4);
    uklad->addLayout(srodek);
    uklad->addLayout(dol);

    QWidget::setTabOrder(EdKod, EdNIP);
    QWidget::setTabOrder(EdNIP, EdFirma);
    QWidget::setTabOrder(EdFirma, CzyscBtn);

    for (QLineEdit *edit : {EdKod, EdNIP, EdFirma})
        QObject::connect(edit, &QLineEdit::textChanged, &q, [this] { Szukaj(); });
    QObject::connect(CzyscBtn, &QPushButton::clicked, &q, [this] { CzyscBtnClick(); });
    QObject::connect(WybierzBtn, &QPushButton::clicked, &q, [this] { WybierzBtnClick(); });
    QObject::connect(AnulujBtn, &QPushButton::clicked, &q, &QDialog::reject);
    QObject::connect(WczytajBtn, &QPushButton::clicked, &q, [this] { WczytajBtnClick(); });
    QObject::connect(DodajBtn, &QPushButton::clicked, &q, [this] { DodajBtnClick(); });
    QObject::connect(PoprawBtn, &QPushButton::clicked, &q, [this] { PoprawBtnClick(); });
    QObject::connect(UsunBtn, &QPushButton::clicked, &q, [this] { UsunBtnClick(); });
    QObject::connect(DBGrid1, &QTableView::doubleClicked, &q, [this] { WybierzBtnClick(); });
    // A row the user picks in the grid, by the mouse or the keys, is chosen
    // for correction; the rows the search moves to are not.
    const auto wybrany = [this] {
        if (!szukanie && JestSprzedawca())
            poprawiany = Biezacy();
        UstawPrzyciski();
    };
    QObject::connect(DBGrid1, &QTableView::pressed, &q, wybrany);
    QObject::connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, &q, [this, wybrany] {
        if (DBGrid1->hasFocus())
            wybrany();
    });
    QObject::connect(&dm.Firmy, &Dataset::cursorMoved, &q, [this] { UstawPrzyciski(); });
    QObject::connect(&dm.Firmy, &Dataset::rowsChanged, &q, [this] { UstawPrzyciski(); });
    QObject::connect(&dm.Firmy, &Dataset::opened, &q, [this] { UstawPrzyciski(); });
    QObject::connect(&dm.Firmy, &Dataset::closed, &q, [this] { UstawPrzyciski(); });
}

bool TSprzedFrm::Impl::JestSprzedawca()
{
    try {
        return dm.Firmy.isOpen() && dm.Firmy.recordCount() > 0 && dm.Firmy.currentRow() >= 0;
    } catch (const DataError &) {
        return false;
    }
}

void TSprzedFrm::Impl::UstawPrzyciski()
{
    const bool sprzedawca = JestSprzedawca();
    const bool dane = maCyfre(EdNIP->text()) || !EdFirma->text().trimmed().isEmpty();
    DodajBtn->setEnabled(dm.Firmy.isOpen() && dane);
    PoprawBtn->setEnabled(sprzedawca && dane && poprawiany.has_value());
    for (QPushButton *button : {UsunBtn, WybierzBtn, WczytajBtn})
        button->setEnabled(sprzedawca);
}

void TSprzedFrm::Impl::Szukaj()
{
    const QScopedValueRollback wTrakcie(szukanie, true);
    if (dm.Firmy.isOpen()) {
        try {
            if (const std::optional<Szukane> s = szukane(EdKod->text(), EdNIP->text(), EdFirma->text()))
                dm.Firmy.locate(s->pola, s->wartosci, LocateOption::CaseInsensitive | LocateOption::PartialKey);
            else
                dm.Firmy.first();
        } catch (const DataError &e) {
            dm.Uwaga(e.message());
        }
    }
    UstawPrzyciski();
}

bool TSprzedFrm::Impl::SprawdzDane()
{
    if (!maCyfre(EdNIP->text())) {
        dm.Uwaga(QStringLiteral("Nie podano NIP sprzedawcy."));
        EdNIP->setFocus();
        return false;
    }
    if (!PoprawnyNip(EdNIP->text()) && !dm.Potwierdz(QStringLiteral("Nieprawidłowy NIP sprzedawcy.\rZapisać mimo to?"))) {
        EdNIP->setFocus();
        return false;
    }
    if (EdFirma->text().trimmed().isEmpty()) {
        dm.Uwaga(QStringLiteral("Nie podano nazwy sprzedawcy."));
        EdFirma->setFocus();
        return false;
    }
    return true;
}

// Whether a seller already holds the value (whole, ignoring case); when one
// does, it becomes current and the user is told.
bool TSprzedFrm::Impl::JestJuz(const QString &pole, const QString &wartosc, const QString &komunikat)
{
    if (!dm.Firmy.locate(pole, wartosc, LocateOption::CaseInsensitive))
        return false;
    dm.Uwaga(komunikat);
    return true;
}

bool TSprzedFrm::Impl::Zapisz(bool nowy)
{
    Table &firmy = dm.Firmy;
    try {
        if (nowy)
            firmy.append();
        else
            firmy.edit();
        firmy.field(PoleKod).setString(EdKod->text().trimmed());
        firmy.field(PoleNIP).setString(EdNIP->text());
        firmy.field(PoleFirma).setString(EdFirma->text().trimmed());
        firmy.post();
        return true;
    } catch (const DataError &e) {
        // The register stays as it was; the edits keep what the user typed.
        firmy.cancel();
        dm.Uwaga(QStringLiteral("Nie udało się zapisać sprzedawcy:\r") + e.message());
        return false;
    }
}

TSprzedawca TSprzedFrm::Impl::Biezacy()
{
    return {dm.Firmy.field(PoleKod).asString(), dm.Firmy.field(PoleNIP).asString(),
            dm.Firmy.field(PoleFirma).asString()};
}

bool TSprzedFrm::Impl::WrocDoPoprawianego()
{
    if (!poprawiany)
        return false;
    try {
        if (dm.Firmy.locate(PoleKod + u';' + PoleNIP + u';' + PoleFirma,
                            {poprawiany->Kod, poprawiany->NIP, poprawiany->Firma}))
            return true;
    } catch (const DataError &e) {
        dm.Uwaga(e.message());
        return false;
    }
    dm.Uwaga(QStringLiteral("Sprzedawcy wybranego do poprawienia nie ma już w wykazie."));
    poprawiany.reset();
    return false;
}

void TSprzedFrm::Impl::DodajBtnClick()
{
    if (!dm.Firmy.isOpen() || !SprawdzDane())
        return;
    const QString k = EdKod->text().trimmed();
    try {
        // Two sellers never share a code or a NIP when added here; the
        // existing one is shown.
        if (!k.isEmpty() && JestJuz(PoleKod, k, QStringLiteral("Sprzedawca o podanym kodzie jest już w wykazie.")))
            return;
        if (JestJuz(PoleNIP, EdNIP->text(), QStringLiteral("Sprzedawca o podanym NIP jest już w wykazie.")))
            return;
    } catch (const DataError &e) {
        dm.Uwaga(e.message());
        return;
    }
    Zapisz(true);
    UstawPrzyciski();
}

void TSprzedFrm::Impl::PoprawBtnClick()
{
    // A correction is not tested for uniqueness: a seller may be corrected
    // to the NIP of another.
    if (JestSprzedawca() && SprawdzDane() && WrocDoPoprawianego() && Zapisz(false)) {
        poprawiany = Biezacy();
        q.Zapamietaj();
    }
    UstawPrzyciski();
}

void TSprzedFrm::Impl::UsunBtnClick()
{
    if (!JestSprzedawca() || !dm.Potwierdz(QStringLiteral("Usunąć zaznaczonego sprzedawcę?")))
        return;
    try {
        // Invoices keep the code and NIP they carry.
        dm.Firmy.remove();
    } catch (const DataError &e) {
        dm.Uwaga(e.message());
    }
    UstawPrzyciski();
}

void TSprzedFrm::Impl::WybierzBtnClick()
{
    if (!JestSprzedawca())
        return;
    kod = dm.Firmy.field(PoleKod).asString();
    nip = dm.Firmy.field(PoleNIP).asString();
    firma = dm.Firmy.field(PoleFirma).asString();
    q.accept();
}

void TSprzedFrm::Impl::WczytajBtnClick()
{
    if (!JestSprzedawca())
        return;
    // Read all three first: each edit's change searches and may move the row.
    poprawiany = Biezacy();
    EdKod->setText(poprawiany->Kod);
    EdNIP->setText(poprawiany->NIP);
    EdFirma->setText(poprawiany->Firma);
    q.Zapamietaj();
    UstawPrzyciski();
}

void TSprzedFrm::Impl::CzyscBtnClick()
{
    for (QLineEdit *edit : {EdKod, EdNIP, EdFirma})
        edit->clear();
}

TSprzedFrm::TSprzedFrm(TDM &dm, TWindow &window, QWidget *parent)
    : OknoEdycji(dm, QStringLiteral("Porzucić poprawki sprzedawcy?"), parent), d(std::make_unique<Impl>(*this, dm, window))
{
    setObjectName(QStringLiteral("SprzedFrm"));
    setWindowTitle(QStringLiteral("Sprzedawcy"));
    setMinimumSize(487, 302);
    resize(560, 380);
    d->placement.restore(*this);
    d->UstawPrzyciski();
}

TSprzedFrm::~TSprzedFrm() = default;

QString TSprzedFrm::Kod() const
{
    return d->kod;
}

QString TSprzedFrm::NIP() const
{
    return d->nip;
}

QString TSprzedFrm::Firma() const
{
    return d->firma;
}

bool TSprzedFrm::SaZmiany() const
{
    // Only a correction is typed to be kept: what the search edits hold
    // otherwise stays in them for the next opening anyway.
    return d->poprawiany && OknoEdycji::SaZmiany();
}

void TSprzedFrm::reject()
{
    const bool porzucona = SaZmiany();
    OknoEdycji::reject();
    if (porzucona && !isVisible())
        d->poprawiany.reset();
}

void TSprzedFrm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    d->UstawPrzyciski();
    d->EdNIP->setFocus();
}

void TSprzedFrm::done(int result)
{
    d->placement.save(*this);
    QDialog::done(result);
}
