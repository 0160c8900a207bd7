#include "vzm/windows/poprzednizwrotfrm.h"

#include "widgets/krata.h"
#include "widgets/orxeditcalc.h"
#include "widgets/przyciskiokna.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The form's own captions break their lines with CR LF.
QString wiersze(const char *text)
{
    return QString::fromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

TPoprzedniZwrotFrm::TPoprzedniZwrotFrm(TDM &dm, QWidget *parent) : OknoEdycji(dm, OknoEdycji::Pytanie, parent)
{
    setWindowTitle(QStringLiteral("Kwoty zwróconego VAT na podstawie poprzednich wniosków"));

    EdZwrotA = NowaKwota("EdZwrotA");
    EdZwrotB = NowaKwota("EdZwrotB");
    EdZwrotC = NowaKwota("EdZwrotC");
    EdZwrotD = NowaKwota("EdZwrotD");

    auto *uklad = new QVBoxLayout(this);
    auto *naglowek = new QHBoxLayout;
    naglowek->addWidget(new QLabel(QStringLiteral("Kwota zwróconego VAT na podstawie poprzednich wniosków")));
    uklad->addWidget(NowaKrata({}, naglowek, TloKraty::Opis));

    const std::pair<const char *, TOrxEditCalc *> rodzaje[] = {
        {"osobie fizycznej, która korzystała z ulg mieszkaniowych dla\r\n"
         "inwestycji wymagającej pozwolenia na budowę ",
         EdZwrotA},
        {"osobie fizycznej, która korzystała z ulg mieszkaniowych dla\r\n"
         "inwestycji niewymagającej pozwolenia na budowę ",
         EdZwrotB},
        {"osobie fizycznej, która nie korzystała z ulg mieszkaniowych dla\r\n"
         "inwestycji wymagającej pozwolenia na budowę ",
         EdZwrotC},
        {"osobie fizycznej, która nie korzystała z ulg mieszkaniowych dla\r\n"
         "inwestycji niewymagającej pozwolenia na budowę ",
         EdZwrotD},
    };
    for (const auto &[opis, edit] : rodzaje) {
        auto *etykieta = new QHBoxLayout;
        etykieta->addWidget(new QLabel(wiersze(opis)));
        auto *pole = new QHBoxLayout;
        pole->addWidget(edit);
        auto *wiersz = new QHBoxLayout;
        wiersz->addWidget(NowaKrata({}, etykieta, TloKraty::Opis));
        wiersz->addWidget(NowaKrata({}, pole, TloKraty::Pole), 1);
        uklad->addLayout(wiersz);
    }

    std::tie(PostBtn, CancelBtn) = NowePrzyciskiDialogu(EnterWDialogu::Zapisuje);
    // An amount that does not read is refused, not confirmed.
    connect(PostBtn, &QPushButton::clicked, this, [this] {
        if (!TOrxEditCalc::ReportUnreadable(*this))
            accept();
    });
    // Escape rejects the dialog by itself, asking as "&Anuluj" does.
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    uklad->addLayout(WierszPrzyciskow(PostBtn, CancelBtn));
    uklad->setSizeConstraint(QLayout::SetFixedSize);
}

TOrxEditCalc *TPoprzedniZwrotFrm::NowaKwota(const char *name)
{
    auto *edit = new TOrxEditCalc;
    edit->setObjectName(QLatin1StringView(name));
    edit->SetDisplayFormat(QStringLiteral("#,##0"));
    edit->SetCheckOptions(coCheckOnExit);
    edit->setMinimumWidth(110);
    return edit;
}

bool TPoprzedniZwrotFrm::Edytuj(Money ZwrotPopA, Money ZwrotPopB, Money ZwrotPopC, Money ZwrotPopD)
{
    EdZwrotA->SetValue(ZwrotPopA);
    EdZwrotB->SetValue(ZwrotPopB);
    EdZwrotC->SetValue(ZwrotPopC);
    EdZwrotD->SetValue(ZwrotPopD);
    Zapamietaj();
    EdZwrotA->setFocus();
    return exec() == QDialog::Accepted;
}

Money TPoprzedniZwrotFrm::GetZwrotA() { return EdZwrotA->Value(); }
Money TPoprzedniZwrotFrm::GetZwrotB() { return EdZwrotB->Value(); }
Money TPoprzedniZwrotFrm::GetZwrotC() { return EdZwrotC->Value(); }
Money TPoprzedniZwrotFrm::GetZwrotD() { return EdZwrotD->Value(); }
