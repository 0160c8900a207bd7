#pragma once

#include <QString>

class QWidget;
class TWindow;

// Where a window stood when it was last closed, kept in the shared TWindow
// record under the window's own name. A window that remembers only its
// position never applies the size the shared record happens to hold.
class WindowPlacement
{
public:
    enum class Remember { Position, PositionAndSize };

    WindowPlacement(TWindow &window, QString name, Remember what);

    // On creation: moves (and resizes) the window to its stored placement;
    // without one the window keeps its designed place.
    void restore(QWidget &widget) const;
    // On closing: stores the window's position and size under its name.
    void save(const QWidget &widget) const;

private:
    TWindow &m_window;
    QString m_name;
    Remember m_what;
};
