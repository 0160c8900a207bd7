#pragma once

#include "core/registry.h"

#include <QString>

#include <functional>

// The position and size of a window, kept in the registry under
// "\Software\Morvik\" + Tytul + "\" + NrWersji + "\" + Nazwa as the integer
// values Left, Top, Width and Height. One object is shared by all windows:
// each sets its name, then loads or saves. It holds numbers only; the
// windows apply them.
class TWindow
{
public:
    const QString &Nazwa() const { return m_nazwa; }
    const QString &Tytul() const { return m_tytul; }
    int NrWersji() const { return m_nrWersji; }
    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    void setNazwa(const QString &nazwa) { m_nazwa = nazwa; }
    void setTytul(const QString &tytul) { m_tytul = tytul; }
    // A negative version, left or top is kept as 0: a window pushed past the
    // screen's left or top edge comes back at the edge.
    void setNrWersji(int nr);
    void setLeft(int left);
    void setTop(int top);
    void setWidth(int width) { m_width = width; }
    void setHeight(int height) { m_height = height; }

    // Loads the window's values when its key exists and answers whether it
    // did; otherwise the fields stay. A value missing from the key leaves its
    // field too. The user's store is read, then the machine-wide one.
    bool Wczytaj();
    // Writes all four values into the user's store (the machine-wide one
    // needs administrator rights); false when they could not be stored,
    // after calling the handler of failed writes with the store's file.
    bool Zapisz() const;
    void setGdyNieZapisano(std::function<void(const QString &plik)> handler) { m_gdyNieZapisano = std::move(handler); }

private:
    QString group() const;

    QString m_nazwa;
    QString m_tytul = ProgramTitle;
    int m_nrWersji = ProgramVersion;
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    std::function<void(const QString &plik)> m_gdyNieZapisano;
};
