#include "overprint/korektafrm.h"

#include "data/dataerror.h"
#include "data/tdm.h"
#include "widgets/oknoedycji.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <functional>

namespace {

const QString Pit = QStringLiteral("Pit");
const QString Opis = QStringLiteral("Opis");
const QString Hint = QStringLiteral("Hint");
const QString KorX = QStringLiteral("KorX");
const QString KorY = QStringLiteral("KorY");

constexpr int WidocznychWierszy = 4;

// One row of the list: the field of a form with its two shifts. Knows
// nothing of the table; the list fills it and hears what the user does.
class PanelKorekty : public QFrame
{
public:
    // Calls `wybrany` when the user turns to this row (a click or the focus
    // in one of its numbers), `zmieniony` when the user changes a number.
    PanelKorekty(int numer, std::function<void()> wybrany,
                 std::function<void(const QString &pole, int wartosc)> zmieniony)
        : wybrany(std::move(wybrany))
    {
        setObjectName(QStringLiteral("Wiersz%1").arg(numer));
        setFrameShape(QFrame::StyledPanel);
        setAutoFillBackground(true);

        EdPit = new QLabel;
        EdPit->setObjectName(QStringLiteral("Pit"));
        QFont pogrubiona = EdPit->font();
        pogrubiona.setBold(true);
        EdPit->setFont(pogrubiona);
        EdOpis = new QLabel;
        EdOpis->setObjectName(QStringLiteral("Opis"));
        QFont podkreslona = EdOpis->font();
        podkreslona.setUnderline(true);
        EdOpis->setFont(podkreslona);
        EdHint = new QLabel;
        EdHint->setObjectName(QStringLiteral("Hint"));
        EdKorX = NowaLiczba(KorX, zmieniony);
        EdKorY = NowaLiczba(KorY, zmieniony);

        auto *naglowek = new QHBoxLayout;
        naglowek->addWidget(EdPit);
        naglowek->addSpacing(10);
        naglowek->addWidget(new QLabel(QStringLiteral("Pozycja")));
        naglowek->addWidget(EdOpis);
        naglowek->addSpacing(10);
        naglowek->addWidget(EdHint, 1);
        auto *liczby = new QHBoxLayout;
        for (const auto &[tekst, liczba] : {std::pair{QStringLiteral("Przesunięcie w prawo"), EdKorX},
                                            std::pair{QStringLiteral("Przesunięcie w dół"), EdKorY}}) {
            liczby->addWidget(new QLabel(tekst));
            liczby->addWidget(liczba);
            liczby->addWidget(new QLabel(QStringLiteral("[mm]")));
            liczby->addSpacing(24);
        }
        liczby->addStretch();
        auto *uklad = new QVBoxLayout(this);
        uklad->setContentsMargins(8, 4, 8, 4);
        uklad->addLayout(naglowek);
        uklad->addLayout(liczby);
    }

    QSpinBox *Liczba(const QString &pole) const { return pole == KorX ? EdKorX : EdKorY; }

    // Shows a row; only the current one takes the focus by Tab.
    void Pokaz(const QString &pit, const QString &opis, const QString &hint, int korX, int korY, bool biezacy)
    {
        EdPit->setText(pit);
        EdOpis->setText(opis);
        EdHint->setText(hint);
        for (const auto &[liczba, wartosc] : {std::pair{EdKorX, korX}, std::pair{EdKorY, korY}}) {
            const QSignalBlocker cisza(liczba);
            liczba->setValue(wartosc);
            liczba->setFocusPolicy(biezacy ? Qt::StrongFocus : Qt::ClickFocus);
        }
        QPalette paleta = QApplication::palette(this);
        if (biezacy)
            paleta.setColor(QPalette::Window, paleta.color(QPalette::Highlight).lighter(190));
        setPalette(paleta);
        setVisible(true);
    }

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        wybrany();
        QFrame::mousePressEvent(event);
    }

    bool eventFilter(QObject *obiekt, QEvent *event) override
    {
        // The focus coming back to the window (after a message box) is no
        // turn to this row.
        if (event->type() == QEvent::FocusIn) {
            const Qt::FocusReason powod = static_cast<QFocusEvent *>(event)->reason();
            if (powod != Qt::ActiveWindowFocusReason && powod != Qt::PopupFocusReason)
                wybrany();
        }
        return QFrame::eventFilter(obiekt, event);
    }

private:
    QSpinBox *NowaLiczba(const QString &pole, const std::function<void(const QString &, int)> &zmieniony)
    {
        auto *liczba = new QSpinBox;
        liczba->setObjectName(QStringLiteral("Ed") + pole);
        liczba->setRange(-TKorektaFrm::NajwiekszePrzesuniecie, TKorektaFrm::NajwiekszePrzesuniecie);
        liczba->setAlignment(Qt::AlignRight);
        liczba->installEventFilter(this);
        QObject::connect(liczba, &QSpinBox::valueChanged, this,
                         [pole, zmieniony](int wartosc) { zmieniony(pole, wartosc); });
        return liczba;
    }

    std::function<void()> wybrany;
    QLabel *EdPit;
    QLabel *EdOpis;
    QLabel *EdHint;
    QSpinBox *EdKorX;
    QSpinBox *EdKorY;
};

// The scrolling list of the corrections over the table, four rows at a
// time around the table's current record. Every move of the record saves
// the row being edited; a save that fails is shown and the record stays.
class ListaKorekt : public QWidget
{
public:
    // `poZmianie` runs after every change of the record or of its editing.
    ListaKorekt(TDM &dm, std::function<void()> poZmianie) : dm(dm), ds(dm.Korekta), poZmianie(std::move(poZmianie))
    {
        setObjectName(QStringLiteral("Lista"));
        auto *wiersze = new QVBoxLayout;
        wiersze->setSpacing(2);
        for (int i = 0; i < WidocznychWierszy; ++i) {
            panele[i] = new PanelKorekty(
                i + 1,
                [this, i] {
                    if (!Przejdz([this, i] { PrzejdzDo(gora + i); }))
                        PoleBiezace(KorX)->setFocus();
                },
                [this, i](const QString &pole, int wartosc) { Zmieniony(gora + i, pole, wartosc); });
            for (const QString &pole : {KorX, KorY})
                panele[i]->Liczba(pole)->installEventFilter(this);
            wiersze->addWidget(panele[i]);
        }
        pasek = new QScrollBar(Qt::Vertical);
        pasek->setObjectName(QStringLiteral("Pasek"));
        pasek->setPageStep(WidocznychWierszy);
        QObject::connect(pasek, &QScrollBar::valueChanged, this,
                         [this](int wiersz) { Przejdz([this, wiersz] { PrzejdzDo(wiersz); }); });
        auto *uklad = new QHBoxLayout(this);
        uklad->setContentsMargins(0, 0, 0, 0);
        uklad->addLayout(wiersze, 1);
        uklad->addWidget(pasek);
        // Tab goes from one number to the other within the current row.
        for (int i = 0; i < WidocznychWierszy; ++i) {
            setTabOrder(panele[i]->Liczba(KorX), panele[i]->Liczba(KorY));
            if (i + 1 < WidocznychWierszy)
                setTabOrder(panele[i]->Liczba(KorY), panele[i + 1]->Liczba(KorX));
        }

        QObject::connect(&ds, &Dataset::cursorMoved, this, [this] { Pokaz(); });
        QObject::connect(&ds, &Dataset::rowsChanged, this, [this] { Pokaz(); });
        QObject::connect(&ds, &Dataset::rowChanged, this, [this] { Pokaz(); });
    }

    // Reads the table anew and moves to its record `wiersz`; a row being
    // edited is stored first.
    void Wczytaj(int wiersz)
    {
        Przejdz([this, wiersz] {
            if (ds.isEditing())
                ds.post();
            ds.close();
            ds.open();
            ds.moveTo(wiersz);
        });
    }

    // Runs a move of the record (which saves the row being edited first);
    // false when the save failed, after telling the user.
    bool Przejdz(const std::function<void()> &ruch)
    {
        bool udany = true;
        try {
            ruch();
        } catch (const DataError &blad) {
            dm.Uwaga(QStringLiteral("Nie udało się zapisać przesunięcia pola:\r") + blad.message());
            udany = false;
        }
        Pokaz();
        poZmianie();
        return udany;
    }

    void Popraw()
    {
        if (ds.isEmpty())
            return;
        ds.edit();
        poZmianie();
        PoleBiezace(KorX)->setFocus();
    }

    // Drops the edit of the row, once the user agrees to lose a shift typed.
    void Anuluj()
    {
        if (Zmieniona() && !dm.Potwierdz(OknoEdycji::Pytanie))
            return;
        ds.cancel();
        Pokaz();
        poZmianie();
    }

    // The numbers of the rows in the order of Tab.
    QWidget *PierwszePole() const { return panele[0]->Liczba(KorX); }
    QWidget *OstatniePole() const { return panele[WidocznychWierszy - 1]->Liczba(KorY); }

    // The number of the current row; the first row's when there is none.
    QSpinBox *PoleBiezace(const QString &pole)
    {
        const int biezacy = ds.currentRow();
        const int panel = biezacy < 0 ? 0 : biezacy - gora;
        return panele[std::clamp(panel, 0, WidocznychWierszy - 1)]->Liczba(pole);
    }

protected:
    void wheelEvent(QWheelEvent *event) override
    {
        QApplication::sendEvent(pasek, event);
    }

    // The wheel over a number without the focus scrolls the list, as over
    // the rest of a row, and changes no value. Page Up and Page Down move to
    // the previous and next row, keeping the focus on the same number.
    bool eventFilter(QObject *obiekt, QEvent *event) override
    {
        if (event->type() == QEvent::Wheel && !static_cast<QWidget *>(obiekt)->hasFocus()) {
            QApplication::sendEvent(pasek, event);
            return true;
        }
        if (event->type() != QEvent::KeyPress)
            return QWidget::eventFilter(obiekt, event);
        const auto *klawisz = static_cast<QKeyEvent *>(event);
        const int krok = klawisz->key() == Qt::Key_PageUp ? -1 : klawisz->key() == Qt::Key_PageDown ? 1 : 0;
        if (krok == 0 || klawisz->modifiers() != Qt::NoModifier)
            return QWidget::eventFilter(obiekt, event);
        const QString pole = obiekt->objectName() == QStringLiteral("Ed") + KorX ? KorX : KorY;
        Przejdz([this, krok] { krok < 0 ? ds.prior() : ds.next(); });
        PoleBiezace(pole)->setFocus();
        return true;
    }

private:
    // Whether the row being edited holds a shift other than the stored one.
    bool Zmieniona()
    {
        const int wiersz = ds.currentRow();
        return ds.isEditing()
            && (ds.field(KorX).value() != ds.valueAt(wiersz, ds.fieldIndex(KorX))
                || ds.field(KorY).value() != ds.valueAt(wiersz, ds.fieldIndex(KorY)));
    }

    void PrzejdzDo(int wiersz)
    {
        if (wiersz != ds.currentRow())
            ds.moveTo(wiersz);
    }

    void Zmieniony(int wiersz, const QString &pole, int wartosc)
    {
        const bool innyWiersz = wiersz != ds.currentRow();
        if (innyWiersz && !Przejdz([this, wiersz] { PrzejdzDo(wiersz); }))
            return;
        ds.edit();
        ds.field(pole).setInteger(wartosc);
        if (innyWiersz)
            Pokaz(); // the move showed the stored value
        poZmianie();
    }

    // Shows the rows around the current record, the record being edited
    // with the values of its edit.
    void Pokaz()
    {
        const int liczba = ds.recordCount();
        const int biezacy = ds.currentRow();
        if (biezacy >= 0 && biezacy < gora)
            gora = biezacy;
        else if (biezacy >= gora + WidocznychWierszy)
            gora = biezacy - WidocznychWierszy + 1;
        gora = std::clamp(gora, 0, std::max(0, liczba - WidocznychWierszy));
        {
            const QSignalBlocker cisza(pasek);
            pasek->setRange(0, std::max(0, liczba - 1));
            pasek->setValue(std::max(biezacy, 0));
        }
        const int pit = ds.fieldIndex(Pit), opis = ds.fieldIndex(Opis), hint = ds.fieldIndex(Hint);
        const int korX = ds.fieldIndex(KorX), korY = ds.fieldIndex(KorY);
        for (int i = 0; i < WidocznychWierszy; ++i) {
            const int wiersz = gora + i;
            if (wiersz >= liczba) {
                panele[i]->setVisible(false);
                continue;
            }
            const bool edytowany = wiersz == biezacy && ds.isEditing();
            const auto wartosc = [&](int pole, const QString &nazwa) {
                return edytowany ? ds.field(nazwa).value() : ds.valueAt(wiersz, pole);
            };
            panele[i]->Pokaz(wartosc(pit, Pit).toString(), wartosc(opis, Opis).toString(),
                             wartosc(hint, Hint).toString(), wartosc(korX, KorX).toInt(),
                             wartosc(korY, KorY).toInt(), wiersz == biezacy);
        }
    }

    TDM &dm;
    Dataset &ds;
    std::function<void()> poZmianie;
    PanelKorekty *panele[WidocznychWierszy];
    QScrollBar *pasek;
    int gora = 0; // the record shown in the first row
};

QToolButton *NowyPrzyciskPaska(const QString &nazwa, const QString &podpowiedz, const QString &ikona,
                               QStyle::StandardPixmap zastepcza)
{
    auto *przycisk = new QToolButton;
    przycisk->setObjectName(nazwa);
    przycisk->setToolTip(podpowiedz);
    przycisk->setIcon(QIcon::fromTheme(ikona, QApplication::style()->standardIcon(zastepcza)));
    przycisk->setAutoRaise(false);
    przycisk->setFocusPolicy(Qt::StrongFocus);
    return przycisk;
}

} // namespace

struct TKorektaFrm::Impl
{
    Impl(TKorektaFrm &q, TDM &dm);
    QWidget *ZbudujPasek();
    QGroupBox *ZbudujSzukanie();
    void UstawPasek();
    void IdzBtnClick();

    TKorektaFrm &q;
    Dataset &ds;
    ListaKorekt *Lista;
    QToolButton *PierwszyBtn;
    QToolButton *PoprzedniBtn;
    QToolButton *NastepnyBtn;
    QToolButton *OstatniBtn;
    QToolButton *PoprawBtn;
    QToolButton *ZapiszBtn;
    QToolButton *AnulujBtn;
    QToolButton *OdswiezBtn;
    QComboBox *EdPit;
    QSpinBox *EdPole;
    QPushButton *IdzBtn;
    QPushButton *ZamknijBtn;
};

TKorektaFrm::Impl::Impl(TKorektaFrm &q, TDM &dm) : q(q), ds(dm.Korekta)
{
    Lista = new ListaKorekt(dm, [this] { UstawPasek(); });

    ZamknijBtn = new QPushButton(QStringLiteral("&Zamknij"));
    ZamknijBtn->setObjectName(QStringLiteral("ZamknijBtn"));
    ZamknijBtn->setDefault(true);
    QObject::connect(ZamknijBtn, &QPushButton::clicked, &q, &QDialog::accept);

    auto *objasnienie = new QLabel(
        QStringLiteral("W pola powyżej należy wpisać wartość przesunięcia w mm.\r\n\r\n"
                       "Aby przesunąć dane pole w kierunku przeciwnym należy podać wartość przesunięcia "
                       "w mm ze znakiem  --")
            .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    objasnienie->setObjectName(QStringLiteral("Objasnienie"));
    objasnienie->setWordWrap(true);

    auto *dol = new QHBoxLayout;
    dol->addWidget(ZbudujSzukanie());
    dol->addStretch();
    dol->addWidget(ZamknijBtn, 0, Qt::AlignBottom);

    auto *uklad = new QVBoxLayout(&q);
    uklad->addWidget(ZbudujPasek());
    uklad->addWidget(Lista);
    uklad->addLayout(dol);
    uklad->addWidget(objasnienie);

    QWidget *kolejnosc[] = {PierwszyBtn, PoprzedniBtn, NastepnyBtn, OstatniBtn, PoprawBtn, ZapiszBtn, AnulujBtn,
                            OdswiezBtn, Lista->PierwszePole()};
    for (size_t i = 1; i < std::size(kolejnosc); ++i)
        QWidget::setTabOrder(kolejnosc[i - 1], kolejnosc[i]);
    QWidget *dalej[] = {Lista->OstatniePole(), EdPit, EdPole, IdzBtn, ZamknijBtn};
    for (size_t i = 1; i < std::size(dalej); ++i)
        QWidget::setTabOrder(dalej[i - 1], dalej[i]);
}

QWidget *TKorektaFrm::Impl::ZbudujPasek()
{
    PierwszyBtn = NowyPrzyciskPaska(QStringLiteral("PierwszyBtn"), QStringLiteral("Pierwszy"),
                                    QStringLiteral("go-first"), QStyle::SP_MediaSkipBackward);
    PoprzedniBtn = NowyPrzyciskPaska(QStringLiteral("PoprzedniBtn"), QStringLiteral("Poprzedni"),
                                     QStringLiteral("go-previous"), QStyle::SP_ArrowBack);
    NastepnyBtn = NowyPrzyciskPaska(QStringLiteral("NastepnyBtn"), QStringLiteral("Następny"),
                                    QStringLiteral("go-next"), QStyle::SP_ArrowForward);
    OstatniBtn = NowyPrzyciskPaska(QStringLiteral("OstatniBtn"), QStringLiteral("Ostatni"),
                                   QStringLiteral("go-last"), QStyle::SP_MediaSkipForward);
    PoprawBtn = NowyPrzyciskPaska(QStringLiteral("PoprawBtn"), QStringLiteral("Popraw"),
                                  QStringLiteral("document-edit"), QStyle::SP_FileDialogDetailedView);
    ZapiszBtn = NowyPrzyciskPaska(QStringLiteral("ZapiszBtn"), QStringLiteral("Zapisz"),
                                  QStringLiteral("document-save"), QStyle::SP_DialogSaveButton);
    AnulujBtn = NowyPrzyciskPaska(QStringLiteral("AnulujBtn"), QStringLiteral("Anuluj"),
                                  QStringLiteral("edit-undo"), QStyle::SP_DialogCancelButton);
    OdswiezBtn = NowyPrzyciskPaska(QStringLiteral("OdswiezBtn"), QStringLiteral("Odśwież"),
                                   QStringLiteral("view-refresh"), QStyle::SP_BrowserReload);

    const auto ruch = [this](QToolButton *przycisk, void (Dataset::*krok)()) {
        QObject::connect(przycisk, &QToolButton::clicked, &q, [this, krok] { Lista->Przejdz([this, krok] { (ds.*krok)(); }); });
    };
    ruch(PierwszyBtn, &Dataset::first);
    ruch(PoprzedniBtn, &Dataset::prior);
    ruch(NastepnyBtn, &Dataset::next);
    ruch(OstatniBtn, &Dataset::last);
    ruch(ZapiszBtn, &Dataset::post);
    QObject::connect(PoprawBtn, &QToolButton::clicked, &q, [this] { Lista->Popraw(); });
    QObject::connect(AnulujBtn, &QToolButton::clicked, &q, [this] { Lista->Anuluj(); });
    QObject::connect(OdswiezBtn, &QToolButton::clicked, &q, [this] { Lista->Wczytaj(ds.currentRow()); });

    auto *pasek = new QWidget;
    pasek->setObjectName(QStringLiteral("Nawigacja"));
    auto *uklad = new QHBoxLayout(pasek);
    uklad->setContentsMargins(0, 0, 0, 0);
    uklad->setSpacing(1);
    for (QToolButton *p : {PierwszyBtn, PoprzedniBtn, NastepnyBtn, OstatniBtn, PoprawBtn, ZapiszBtn, AnulujBtn,
                           OdswiezBtn})
        uklad->addWidget(p);
    uklad->addStretch();
    return pasek;
}

QGroupBox *TKorektaFrm::Impl::ZbudujSzukanie()
{
    EdPit = new QComboBox;
    EdPit->setObjectName(QStringLiteral("EdPit"));
    EdPit->addItems({TDM::SymbolFormularza(0), TDM::SymbolFormularza(1)});
    EdPole = new QSpinBox;
    EdPole->setObjectName(QStringLiteral("EdPole"));
    EdPole->setRange(1, 300);
    auto *etykietaPola = new QLabel(QStringLiteral("Pole"));
    etykietaPola->setBuddy(EdPole);
    IdzBtn = new QPushButton(QStringLiteral("&Idź do"));
    IdzBtn->setObjectName(QStringLiteral("IdzBtn"));
    IdzBtn->setAutoDefault(false);
    QObject::connect(IdzBtn, &QPushButton::clicked, &q, [this] { IdzBtnClick(); });

    auto *grupa = new QGroupBox(QStringLiteral("Szukaj"));
    auto *uklad = new QHBoxLayout(grupa);
    uklad->addWidget(EdPit);
    uklad->addSpacing(8);
    uklad->addWidget(etykietaPola);
    uklad->addWidget(EdPole);
    uklad->addSpacing(8);
    uklad->addWidget(IdzBtn);
    return grupa;
}

void TKorektaFrm::Impl::UstawPasek()
{
    const bool otwarta = ds.isOpen();
    const int liczba = ds.recordCount();
    const int biezacy = ds.currentRow();
    const bool edycja = ds.isEditing();
    PierwszyBtn->setEnabled(otwarta && biezacy > 0);
    PoprzedniBtn->setEnabled(otwarta && biezacy > 0);
    NastepnyBtn->setEnabled(otwarta && biezacy < liczba - 1);
    OstatniBtn->setEnabled(otwarta && biezacy < liczba - 1);
    PoprawBtn->setEnabled(otwarta && liczba > 0 && !edycja);
    ZapiszBtn->setEnabled(edycja);
    AnulujBtn->setEnabled(edycja);
}

// The labels of the fields are their numbers; a number without a row
// leaves the list where it is.
void TKorektaFrm::Impl::IdzBtnClick()
{
    const QVariantList szukane{EdPit->currentText(), QString::number(EdPole->value())};
    if (Lista->Przejdz([&] { ds.locate(Pit + u';' + Opis, szukane); }))
        Lista->PoleBiezace(KorX)->setFocus();
}

TKorektaFrm::TKorektaFrm(TDM &dm, QWidget *parent) : QDialog(parent), d(std::make_unique<Impl>(*this, dm))
{
    setWindowTitle(QStringLiteral("Korekta współrzędnych pól na wydruku"));
}

TKorektaFrm::~TKorektaFrm() = default;

void TKorektaFrm::showEvent(QShowEvent *event)
{
    if (!event->spontaneous()) {
        d->Lista->Wczytaj(0);
        d->Lista->PoleBiezace(KorX)->setFocus();
    }
    QDialog::showEvent(event);
}

void TKorektaFrm::done(int result)
{
    if (d->ds.isEditing() && !d->Lista->Przejdz([this] { d->ds.post(); }))
        return;
    QDialog::done(result);
}
