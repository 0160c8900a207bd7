#include "widgets/oknanaekranie.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLayout>
#include <QScreen>
#include <QWidget>

namespace {

// The window's icon and its three buttons share the title bar with the title.
constexpr int PrzyciskiPaska = 150;

} // namespace

int OknaNaEkranie::SzerokoscTytulu(const QWidget &okno)
{
    QFont czcionka = okno.font();
    czcionka.setBold(true);
    return QFontMetrics(czcionka).horizontalAdvance(okno.windowTitle()) + PrzyciskiPaska;
}

void OknaNaEkranie::Dopasuj(QWidget &okno)
{
    const int tytul = SzerokoscTytulu(okno);
    if (okno.width() < tytul) {
        // A layout of fixed size would take the width back.
        if (QLayout *uklad = okno.layout(); uklad && uklad->sizeConstraint() == QLayout::SetFixedSize) {
            uklad->setSizeConstraint(QLayout::SetMinimumSize);
            okno.setMaximumWidth(QWIDGETSIZE_MAX);
        }
        okno.setMinimumWidth(tytul);
        okno.resize(tytul, okno.height());
    }

    const QScreen *ekran = okno.screen();
    if (!ekran)
        return;
    const QRect widoczny = ekran->availableGeometry();
    const QRect ramka = okno.frameGeometry();
    const QSize obramowanie = ramka.size() - okno.size();
    if (ramka.width() > widoczny.width() || ramka.height() > widoczny.height())
        okno.resize(std::min(ramka.width(), widoczny.width()) - obramowanie.width(),
                    std::min(ramka.height(), widoczny.height()) - obramowanie.height());
    const QRect nowa = okno.frameGeometry();
    const int x = std::clamp(nowa.left(), widoczny.left(), std::max(widoczny.left(), widoczny.right() - nowa.width() + 1));
    const int y = std::clamp(nowa.top(), widoczny.top(), std::max(widoczny.top(), widoczny.bottom() - nowa.height() + 1));
    if (x != nowa.left() || y != nowa.top())
        okno.move(x, y);
}

bool OknaNaEkranie::eventFilter(QObject *obiekt, QEvent *zdarzenie)
{
    if (zdarzenie->type() == QEvent::Show && obiekt->isWidgetType()) {
        auto *okno = static_cast<QWidget *>(obiekt);
        const Qt::WindowType rodzaj = okno->windowType();
        if (okno->isWindow() && (rodzaj == Qt::Window || rodzaj == Qt::Dialog))
            Dopasuj(*okno);
    }
    return QObject::eventFilter(obiekt, zdarzenie);
}
