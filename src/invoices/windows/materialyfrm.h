#pragma once

#include <QDialog>

#include <memory>

class TDM;
class TWindow;

// "Wykaz materiałów budowlanych": the two statutory lists of building
// materials (before and from 1 January 2011), each on its own tab, filtered
// together by a fragment of the PKWiU symbol and a fragment of the name.
// Read-only. The lists are copied into memory once, when the window is
// created, so it is created once and reused; Esc does not close it.
class TMaterialyFrm : public QDialog
{
    Q_OBJECT
public:
    TMaterialyFrm(TDM &dm, TWindow &window, QWidget *parent = nullptr);
    ~TMaterialyFrm() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void done(int result) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
