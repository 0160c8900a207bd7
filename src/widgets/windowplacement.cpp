#include "widgets/windowplacement.h"

#include "core/twindow.h"

#include <QWidget>

WindowPlacement::WindowPlacement(TWindow &window, QString name, Remember what)
    : m_window(window), m_name(std::move(name)), m_what(what)
{
}

void WindowPlacement::restore(QWidget &widget) const
{
    m_window.setNazwa(m_name);
    if (!m_window.Wczytaj())
        return;
    widget.move(m_window.Left(), m_window.Top());
    if (m_what == Remember::PositionAndSize && m_window.Width() > 0 && m_window.Height() > 0)
        widget.resize(m_window.Width(), m_window.Height());
}

void WindowPlacement::save(const QWidget &widget) const
{
    // The frame's corner, so that restoring puts the window where it stood.
    const QPoint corner = widget.pos();
    m_window.setNazwa(m_name);
    m_window.setLeft(corner.x());
    m_window.setTop(corner.y());
    m_window.setWidth(widget.width());
    m_window.setHeight(widget.height());
    m_window.Zapisz();
}
