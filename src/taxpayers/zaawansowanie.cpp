#include "taxpayers/zaawansowanie.h"

#include "data/dataerror.h"
#include "data/tdm.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QScopeGuard>

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

std::optional<int> KopiujZPostepem(TDM &dm, QProgressBar *postep, int liczba, const std::function<bool(int)> &kopiuj,
                                   const std::function<void()> &zatwierdz)
{
    postep->setRange(0, liczba);
    postep->setValue(0);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const auto oproznij = qScopeGuard([postep] {
        postep->setRange(0, 100);
        postep->setValue(0);
    });
    int n = 0;
    try {
        for (int i = 0; i < liczba; ++i) {
            postep->setValue(i + 1);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            if (kopiuj(i))
                ++n;
        }
        zatwierdz();
    } catch (const DataError &e) {
        dm.Uwaga(e.message());
        return std::nullopt;
    }
    return n;
}
