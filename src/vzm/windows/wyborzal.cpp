#include "vzm/windows/wyborzal.h"

#include "core/common.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TWyborZal::TWyborZal(QWidget *parent)
    : QDialog(parent), ListaZal(new QListWidget(this))
{
    ListaZal->setObjectName(QStringLiteral("ListaZal"));
    auto *przyciski = new QDialogButtonBox(this);
    QPushButton *ok = przyciski->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OkBtn"));
    ok->setDefault(true);
    przyciski->addButton(QStringLiteral("&Anuluj"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("CancelBtn"));
    connect(przyciski, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(przyciski, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ListaZal, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto *uklad = new QVBoxLayout(this);
    uklad->addWidget(ListaZal);
    uklad->addWidget(przyciski);
    resize(260, 240);
}

std::optional<int> TWyborZal::Wybierz(int liczba, int lista)
{
    setWindowTitle(QStringLiteral("Wybierz nr załącznika ") + EtykietyZalacznikow(lista));
    ListaZal->clear();
    for (int nr = 1; nr <= liczba; ++nr)
        ListaZal->addItem(QStringLiteral("Załącznik %1").arg(nr));
    ListaZal->setCurrentRow(0);
    ListaZal->setFocus();
    if (exec() != QDialog::Accepted || ListaZal->currentRow() < 0)
        return std::nullopt;
    return ListaZal->currentRow() + 1;
}
