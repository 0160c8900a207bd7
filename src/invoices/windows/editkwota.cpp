#include "invoices/windows/editkwota.h"

#include "invoices/windows/faktura.h"

#include "data/dataerror.h"
#include "data/schema.h"
#include "data/tdm.h"
#include "widgets/orxeditcalc.h"
#include "widgets/przyciskiokna.h"

#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

class Klawisz : public QObject
{
public:
    Klawisz(QWidget *kontrolka, int klawisz, Qt::KeyboardModifiers modyfikatory, std::function<void()> akcja)
        : QObject(kontrolka), m_klawisz(klawisz), m_modyfikatory(modyfikatory), m_akcja(std::move(akcja))
    {
        kontrolka->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        // The keypad's Enter is Enter too.
        const int klawisz = key->key() == Qt::Key_Enter ? int(Qt::Key_Return) : key->key();
        const Qt::KeyboardModifiers modyfikatory = key->modifiers() & ~Qt::KeypadModifier;
        if (klawisz != m_klawisz || modyfikatory != m_modyfikatory)
            return false;
        // Claimed before the window's shortcuts and default button see it.
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        m_akcja();
        return true;
    }

private:
    int m_klawisz;
    Qt::KeyboardModifiers m_modyfikatory;
    std::function<void()> m_akcja;
};

} // namespace

TOrxEditCalc *NowePoleKwoty(const QString &name)
{
    auto *pole = new TOrxEditCalc;
    pole->setObjectName(name);
    pole->SetCheckOptions(coCheckOnExit);
    pole->SetDisplayFormat(QStringLiteral(",0.00;-,0.00; "));
    return pole;
}

void NaKlawisz(QWidget *kontrolka, int klawisz, Qt::KeyboardModifiers modyfikatory, std::function<void()> akcja)
{
    new Klawisz(kontrolka, klawisz, modyfikatory, std::move(akcja));
}

TEditKwota::TEditKwota(TDM &dm, QWidget *parent) : OknoEdycji(dm, OknoEdycji::Pytanie, parent), dm(dm)
{
    setObjectName(QStringLiteral("EditKwota"));
    setWindowTitle(QStringLiteral("Pozycja faktury"));

    EdOpis = new QLineEdit;
    EdOpis->setObjectName(QStringLiteral("EdOpis"));
    EdOpis->setMinimumWidth(260);
    // Typing stops where the stored line ends: nothing is cut later.
    EdOpis->setMaxLength(tableDef(QStringLiteral("Kwoty")).field(QStringLiteral("Opis"))->size);
    EdBrutto = NowePoleKwoty(QStringLiteral("EdBrutto"));
    EdVatA = NowePoleKwoty(QStringLiteral("EdVatA"));
    EdVatB = NowePoleKwoty(QStringLiteral("EdVatB"));

    auto *pola = new QFormLayout;
    const auto wiersz = [pola](const QString &etykieta, QWidget *pole) {
        auto *label = new QLabel(etykieta);
        label->setBuddy(pole);
        pola->addRow(label, pole);
    };
    wiersz(QStringLiteral("&Opis"), EdOpis);
    wiersz(QStringLiteral("&Brutto"), EdBrutto);
    wiersz(QStringLiteral("VAT [kol.&5]"), EdVatA);
    wiersz(QStringLiteral("VAT [kol.&6]"), EdVatB);

    // Enter has no meaning but in the VAT fields.
    std::tie(PostBtn, CancelBtn) = NowePrzyciskiDialogu(EnterWDialogu::NicNieRobi);
    connect(PostBtn, &QPushButton::clicked, this, &TEditKwota::PostBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto *uklad = new QVBoxLayout(this);
    uklad->addLayout(pola);
    uklad->addWidget(new QLabel(QStringLiteral("Enter w polu VAT - wylicz VAT z brutto")));
    uklad->addLayout(WierszPrzyciskow(PostBtn, CancelBtn));

    for (TOrxEditCalc *vat : {EdVatA, EdVatB})
        NaKlawisz(vat, Qt::Key_Return, Qt::NoModifier, [this, vat] { WyliczVAT(vat); });
}

void TEditKwota::Przygotuj(int FaktId, int lista, bool nowa)
{
    m_faktId = FaktId;
    m_lista = lista;
    m_nowa = nowa;
    Wyczysc();
    if (!nowa) {
        const TPozycja pozycja = TPozycjeFaktury(dm, FaktId).Biezaca();
        EdOpis->setText(pozycja.Opis);
        EdBrutto->SetValue(pozycja.Brutto);
        EdVatA->SetValue(pozycja.VatA);
        EdVatB->SetValue(pozycja.VatB);
    }
    Zapamietaj();
    EdOpis->setFocus();
}

int TEditKwota::DodajPozycje(int FaktId, int lista)
{
    Przygotuj(FaktId, lista, true);
    return exec();
}

int TEditKwota::PoprawPozycje(int FaktId, int lista)
{
    Przygotuj(FaktId, lista, false);
    return exec();
}

void TEditKwota::Wyczysc()
{
    EdOpis->clear();
    for (TOrxEditCalc *pole : {EdBrutto, EdVatA, EdVatB})
        pole->Clear();
}

void TEditKwota::WyliczVAT(QWidget *pole)
{
    if (auto *kwota = qobject_cast<TOrxEditCalc *>(pole))
        kwota->SetValue(TFaktura::VatZBrutto(EdBrutto->Value(), m_lista));
}

void TEditKwota::PostBtnClick()
{
    if (TOrxEditCalc::ReportUnreadable(*this))
        return;
    const TPozycja pozycja{EdOpis->text(), EdBrutto->Value(), EdVatA->Value(), EdVatB->Value()};
    TPozycjeFaktury pozycje(dm, m_faktId);
    try {
        if (m_nowa)
            pozycje.Dodaj(pozycja);
        else
            pozycje.Popraw(pozycja);
    } catch (const DataError &e) {
        dm.Uwaga(e.message());
        return;
    }
    if (!m_nowa) {
        accept();
        return;
    }
    Wyczysc();
    Zapamietaj();
    EdOpis->setFocus();
}
