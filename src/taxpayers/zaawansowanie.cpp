#include "taxpayers/zaawansowanie.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>

QGroupBox *GrupaZaawansowania(QWidget *parent, QProgressBar *&postep)
{
    auto *grupa = new QGroupBox(QStringLiteral("Zaawansowanie"), parent);
    postep = new QProgressBar(grupa);
    postep->setObjectName(QStringLiteral("Postep"));
    postep->setRange(0, 100);
    postep->setValue(0);
    auto *layout = new QHBoxLayout(grupa);
    layout->addWidget(postep);
    return grupa;
}
