#pragma once

#include "widgets/wyborpliku.h"

#include <QDialog>

#include <memory>

class TDM;
class TWindow;

// "Wykaz materiałów budowlanych": the two statutory lists of building
// materials (before and from 1 January 2011), each on its own tab, filtered
// together by a fragment of the PKWiU symbol and a fragment of the name.
// The lists are copied into memory once, when the window is created, so it
// is created once and reused; Esc does not close it.
//
// The lists the program ships are incomplete (the statutory texts at hand
// end early): each tab says how many positions its list holds and that a
// product missing from it may still be refundable. "&Wczytaj wykaz z
// pliku…" replaces the list of the tab shown with a complete one from a CSV
// file (the columns of the shipped lists), once the whole file has passed
// the check and the user has agreed; nothing else changes the lists.
class TMaterialyFrm : public QDialog
{
    Q_OBJECT
public:
    TMaterialyFrm(TDM &dm, TWindow &window, QWidget *parent = nullptr, WyborPliku wyborPliku = WybierzPlik);
    ~TMaterialyFrm() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
