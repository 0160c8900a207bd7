#include "overprint/wybordrukarkifrm.h"

#include "overprint/drukarka.h"

#include "core/settingsfile.h"
#include "data/tdm.h"
#include "widgets/przyciskiokna.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// A new choice of a PDF file starts where PDF files went last.
QString PlikDomyslny()
{
    return QDir(pdfFolder()).filePath(QStringLiteral("nadruk.pdf"));
}

} // namespace

TWyborDrukarkiFrm::TWyborDrukarkiFrm(TDM &dm, Drukarka &drukarka, WyborPliku wyborPliku, QWidget *parent)
    : QDialog(parent), dm(dm), drukarka(drukarka), wyborPliku(std::move(wyborPliku))
{
    setWindowTitle(QStringLiteral("Wybór drukarki"));

    NaDrukarke = new QRadioButton(QStringLiteral("&Drukarka:"));
    NaDrukarke->setObjectName(QStringLiteral("NaDrukarke"));
    EdDrukarka = new QComboBox;
    EdDrukarka->setObjectName(QStringLiteral("EdDrukarka"));
    EdDrukarka->addItems(QPrinterInfo::availablePrinterNames());
    DoPliku = new QRadioButton(QStringLiteral("Plik &PDF:"));
    DoPliku->setObjectName(QStringLiteral("DoPliku"));
    EdPlik = new QLineEdit;
    EdPlik->setObjectName(QStringLiteral("EdPlik"));
    EdPlik->setMinimumWidth(320);
    PrzegladajBtn = NowyPrzycisk(QStringLiteral("P&rzeglądaj…"), QStringLiteral("PrzegladajBtn"));

    const bool saDrukarki = EdDrukarka->count() > 0;
    NaDrukarke->setEnabled(saDrukarki);
    const QPrinter &printer = drukarka.printer();
    if (printer.outputFormat() == QPrinter::NativeFormat && saDrukarki) {
        NaDrukarke->setChecked(true);
        EdDrukarka->setCurrentText(printer.printerName());
    } else {
        DoPliku->setChecked(true);
    }
    EdPlik->setText(drukarka.PlikDokumentu(1).isEmpty() ? PlikDomyslny() : drukarka.PlikDokumentu(1));

    WybierzBtn = NowyPrzycisk(QStringLiteral("&Wybierz"), QStringLiteral("WybierzBtn"));
    WybierzBtn->setDefault(true);
    CancelBtn = NowyPrzycisk(QStringLiteral("&Anuluj"), QStringLiteral("CancelBtn"));

    auto *siatka = new QGridLayout;
    siatka->addWidget(NaDrukarke, 0, 0);
    siatka->addWidget(EdDrukarka, 0, 1, 1, 2);
    siatka->addWidget(DoPliku, 1, 0);
    siatka->addWidget(EdPlik, 1, 1);
    siatka->addWidget(PrzegladajBtn, 1, 2);
    auto *przyciski = new QHBoxLayout;
    przyciski->addStretch();
    przyciski->addWidget(WybierzBtn);
    przyciski->addWidget(CancelBtn);
    auto *uklad = new QVBoxLayout(this);
    uklad->addLayout(siatka);
    uklad->addLayout(przyciski);
    uklad->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(NaDrukarke, EdDrukarka);
    setTabOrder(EdDrukarka, DoPliku);
    setTabOrder(DoPliku, EdPlik);
    setTabOrder(EdPlik, PrzegladajBtn);
    setTabOrder(PrzegladajBtn, WybierzBtn);
    setTabOrder(WybierzBtn, CancelBtn);

    connect(NaDrukarke, &QRadioButton::toggled, this, &TWyborDrukarkiFrm::UstawDostepnosc);
    connect(PrzegladajBtn, &QPushButton::clicked, this, &TWyborDrukarkiFrm::PrzegladajBtnClick);
    connect(WybierzBtn, &QPushButton::clicked, this, &TWyborDrukarkiFrm::WybierzBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    UstawDostepnosc();
}

void TWyborDrukarkiFrm::UstawDostepnosc()
{
    const bool plik = DoPliku->isChecked();
    EdDrukarka->setEnabled(!plik);
    EdPlik->setEnabled(plik);
    PrzegladajBtn->setEnabled(plik);
}

void TWyborDrukarkiFrm::PrzegladajBtnClick()
{
    const QString plik = wyborPliku(this, PytanieOPlik{true, QStringLiteral("Nadruk do pliku PDF"), EdPlik->text(),
                                                       QStringLiteral("Pliki PDF (*.pdf)")});
    if (!plik.isEmpty())
        EdPlik->setText(QDir::toNativeSeparators(plik));
}

void TWyborDrukarkiFrm::WybierzBtnClick()
{
    if (NaDrukarke->isChecked()) {
        drukarka.DrukujNa(EdDrukarka->currentText());
        accept();
        return;
    }
    QString plik = QDir::fromNativeSeparators(EdPlik->text().trimmed());
    if (plik.isEmpty()) {
        dm.Uwaga(QStringLiteral("Podaj nazwę pliku PDF, do którego ma trafić nadruk."));
        EdPlik->setFocus();
        return;
    }
    if (QFileInfo(plik).suffix().compare(QStringLiteral("pdf"), Qt::CaseInsensitive) != 0)
        plik += QStringLiteral(".pdf");
    const QFileInfo info(plik);
    if (!info.absoluteDir().exists()) {
        dm.Uwaga(QStringLiteral("Folder %1 nie istnieje.").arg(QDir::toNativeSeparators(info.absolutePath())));
        EdPlik->setFocus();
        return;
    }
    drukarka.DrukujDoPliku(info.absoluteFilePath());
    accept();
}
