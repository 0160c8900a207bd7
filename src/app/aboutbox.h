#pragma once

#include <QDialog>

// "O programie...": the program's name, purpose and version date.
class TAboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutBox(QWidget *parent = nullptr);
};
