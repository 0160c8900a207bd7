#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;
class TRozliczenieZwrotu;

// The tab "Rozliczenie" of the application editor: the explanation of the
// refund as a table of lines (position, what, how, amount) under its
// heading, and the button that prints it. It shows what it is given.
class TRozliczenieZakladka : public QWidget
{
    Q_OBJECT
public:
    explicit TRozliczenieZakladka(QWidget *parent = nullptr);

    void Pokaz(const TRozliczenieZwrotu &rozliczenie);
    QPushButton *DrukujBtn() const { return m_drukuj; }

private:
    QLabel *m_naglowek;
    QTableWidget *m_wiersze;
    QPushButton *m_drukuj;
};
