#pragma once

#include <QObject>

class QWidget;

// Every window, as it is shown, lies wholly on the visible part of its
// screen, whatever placement was stored for it (a screen since removed, a
// smaller resolution), and is wide enough for its title. Installed once on
// the application, it watches every window of the program.
class OknaNaEkranie : public QObject
{
public:
    using QObject::QObject;

    // The window fitted to its screen and its title, as on showing.
    static void Dopasuj(QWidget &okno);
    // The width a window needs so that its title bar shows the whole title.
    static int SzerokoscTytulu(const QWidget &okno);

protected:
    bool eventFilter(QObject *obiekt, QEvent *zdarzenie) override;
};
