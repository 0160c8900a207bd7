#include "app/aboutbox.h"

#include "app/shellicons.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

TAboutBox::TAboutBox(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("O programie..."));

    auto *ikona = new QLabel;
    ikona->setObjectName(QStringLiteral("ProgramIcon"));
    ikona->setPixmap(programIcon().pixmap(48, 48));
    ikona->setAlignment(Qt::AlignTop);

    auto *opis = new QLabel(QStringLiteral("Tarlen 5.0\n"
                                           "Wnioski o zwrot niektórych wydatków\n"
                                           "związanych z budownictwem mieszkaniowym"));
    opis->setObjectName(QStringLiteral("ProductName"));

    auto *wersja = new QLabel(QStringLiteral("Wersja z 19.11.2011 r."));
    wersja->setObjectName(QStringLiteral("Version"));
    wersja->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto *ok = new QPushButton(QStringLiteral("&OK"));
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QGridLayout(this);
    layout->setHorizontalSpacing(16);
    layout->addWidget(ikona, 0, 0, 2, 1);
    layout->addWidget(opis, 0, 1);
    layout->addWidget(wersja, 1, 1);
    layout->addWidget(ok, 2, 0, 1, 2, Qt::AlignHCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
