#pragma once

#include "widgets/oknoedycji.h"

#include <QString>

#include <memory>

class TDM;
class TWindow;

// "Sprzedawcy": the register of sellers (Firmy). Finds a seller as the user
// types its code, NIP or name, adds, corrects and deletes sellers, and
// chooses one for an invoice. Created once and reused: the edits keep their
// text from one opening to the next.
//
// "&Popraw" corrects the seller the user chose for it: loaded with "Wczytaj
// do modyfikacji" or picked in the grid, never the row that the search as
// the user types has moved to since. A correction typed and not made is
// asked about before the window closes. Enter presses the focused button,
// and chooses the current seller anywhere else.
class TSprzedFrm : public OknoEdycji
{
    Q_OBJECT
public:
    TSprzedFrm(TDM &dm, TWindow &window, QWidget *parent = nullptr);
    ~TSprzedFrm() override;

    // After exec() == QDialog::Accepted: the chosen seller.
    QString Kod() const;
    QString NIP() const;
    QString Firma() const;

    bool SaZmiany() const override;
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
