#include "widgets/przyciskiokna.h"

#include <QHBoxLayout>
#include <QPushButton>

QPushButton *NowyPrzycisk(const QString &tekst, const QString &nazwa)
{
    auto *przycisk = new QPushButton(tekst);
    przycisk->setObjectName(nazwa);
    przycisk->setAutoDefault(false);
    return przycisk;
}

QHBoxLayout *WierszPrzyciskow(QPushButton *zapisz, QPushButton *anuluj)
{
    auto *wiersz = new QHBoxLayout;
    wiersz->addStretch();
    wiersz->addWidget(zapisz);
    wiersz->addWidget(anuluj);
    return wiersz;
}

PrzyciskiDialogu NowePrzyciskiDialogu(EnterWDialogu enter)
{
    auto *post = new QPushButton(QStringLiteral("&Zapisz"));
    post->setObjectName(QStringLiteral("PostBtn"));
    auto *cancel = new QPushButton(QStringLiteral("&Anuluj"));
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    cancel->setAutoDefault(false);
    if (enter == EnterWDialogu::Zapisuje)
        post->setDefault(true);
    else
        post->setAutoDefault(false);
    return {post, cancel};
}

