#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class TDM;
class TWindow;

// "Sprzedawcy": the register of sellers (Firmy). Finds a seller as the user
// types its code, NIP or name, adds, corrects and deletes sellers, and
// chooses one for an invoice. Created once and reused: the edits keep their
// text from one opening to the next.
class TSprzedFrm : public QDialog
{
    Q_OBJECT
public:
    TSprzedFrm(TDM &dm, TWindow &window, QWidget *parent = nullptr);
    ~TSprzedFrm() override;

    // After exec() == QDialog::Accepted: the chosen seller.
    QString Kod() const;
    QString NIP() const;
    QString Firma() const;

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
