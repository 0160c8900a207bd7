#pragma once

#include <QDialog>

#include <optional>

class QListWidget;

// "Wybierz nr załącznika": which of an application's several attachments of
// one list to print. Created once and refilled by every Wybierz.
class TWyborZal : public QDialog
{
    Q_OBJECT
public:
    explicit TWyborZal(QWidget *parent = nullptr);

    // Offers attachments 1 to `liczba` of list `lista` (1 A, 2 B, 3 C), the
    // first selected; answers the chosen number, or nothing when the user
    // cancels.
    std::optional<int> Wybierz(int liczba, int lista);

    QListWidget *ListaZal;
};
