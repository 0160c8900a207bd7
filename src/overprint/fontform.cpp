#include "overprint/fontform.h"

#include "core/settingsfile.h"
#include "widgets/przyciskiokna.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The duplex choices in the order of their codes 0 to 3.
const QStringList RodzajeDuplex = {QStringLiteral("Nie drukuj dwustronnie"), QStringLiteral("Simplex"),
                                   QStringLiteral("Duplex_Vertical"), QStringLiteral("Duplex_Horizontal")};

// The fonts that can print Polish text.
QStringList CzcionkiDrukarki()
{
    QStringList czcionki;
    for (const QString &rodzina : QFontDatabase::families(QFontDatabase::Latin))
        if (!QFontDatabase::isPrivateFamily(rodzina))
            czcionki << rodzina;
    return czcionki;
}

} // namespace

TFontForm::TFontForm(PrintSettings &settings, QWidget *parent) : QDialog(parent), settings(settings)
{
    setWindowTitle(QStringLiteral("Opcje wydruku / nadruku"));

    EdFontName = new QComboBox;
    EdFontName->setObjectName(QStringLiteral("EdFontName"));
    EdFontName->addItems(CzcionkiDrukarki());
    EdFontSize = new QSpinBox;
    EdFontSize->setObjectName(QStringLiteral("EdFontSize"));
    EdFontSize->setRange(NajmniejszyRozmiar, NajwiekszyRozmiar);

    auto *duplex = new QGroupBox(QStringLiteral("Wydruk dwustronny"));
    duplex->setObjectName(QStringLiteral("DuplexBox"));
    auto *ukladDuplex = new QVBoxLayout(duplex);
    for (int kod = 0; kod < RodzajeDuplex.size(); ++kod) {
        auto *wybor = new QRadioButton(RodzajeDuplex[kod]);
        wybor->setObjectName(QStringLiteral("EdDuplex%1").arg(kod));
        EdDuplex << wybor;
        ukladDuplex->addWidget(wybor);
    }

    EdCien = new QCheckBox(QStringLiteral("Drukuj cieniowania"));
    EdCien->setObjectName(QStringLiteral("EdCien"));

    auto *czcionka = new QFormLayout;
    auto *etykietaNazwy = new QLabel(QStringLiteral("&Nazwa czcionki:"));
    etykietaNazwy->setBuddy(EdFontName);
    auto *etykietaRozmiaru = new QLabel(QStringLiteral("&Rozmiar czcionki:"));
    etykietaRozmiaru->setBuddy(EdFontSize);
    czcionka->addRow(etykietaNazwy, EdFontName);
    czcionka->addRow(etykietaRozmiaru, EdFontSize);

    std::tie(PostBtn, CancelBtn) = NowePrzyciskiDialogu(EnterWDialogu::Zapisuje);
    connect(PostBtn, &QPushButton::clicked, this, &TFontForm::PostBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto *uklad = new QVBoxLayout(this);
    uklad->addLayout(czcionka);
    uklad->addWidget(duplex);
    uklad->addWidget(EdCien);
    uklad->addLayout(WierszPrzyciskow(PostBtn, CancelBtn));
    uklad->setSizeConstraint(QLayout::SetFixedSize);

    FormShow();
}

void TFontForm::FormShow()
{
    // A font that this computer does not have is kept, so that saving the
    // other settings does not change it.
    if (!settings.FontName.isEmpty() && EdFontName->findText(settings.FontName) < 0)
        EdFontName->insertItem(0, settings.FontName);
    EdFontName->setCurrentText(settings.FontName);
    EdFontSize->setValue(settings.FontSize);
    const bool znany = settings.Duplex >= 0 && settings.Duplex < RodzajeDuplex.size();
    EdDuplex[znany ? settings.Duplex : 0]->setChecked(true);
    // Tab enters the choices at the one chosen (Qt leaves it at the first).
    for (QRadioButton *wybor : EdDuplex)
        wybor->setFocusPolicy(wybor->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    EdCien->setChecked(settings.Cien);
    EdFontName->setFocus();
}

void TFontForm::PostBtnClick()
{
    settings.FontName = EdFontName->currentText();
    settings.FontSize = EdFontSize->value();
    for (int kod = 0; kod < EdDuplex.size(); ++kod)
        if (EdDuplex[kod]->isChecked())
            settings.Duplex = kod;
    settings.Cien = EdCien->isChecked();
    accept();
}
