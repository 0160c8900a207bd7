#pragma once

#include <QDialog>
#include <QList>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QSpinBox;
struct PrintSettings;

// "Opcje wydruku / nadruku": the four print settings of the program, the
// font of the printed data, two-sided printing and shading. Created for one
// use: the constructor shows the settings as they are, "&Zapisz" stores the
// controls into them, "&Anuluj" leaves them alone. They reach the settings
// file when the program ends.
class TFontForm : public QDialog
{
    Q_OBJECT
public:
    // The sizes of the print font it offers, in points; the printed forms
    // print every datum at each of them.
    static constexpr int NajmniejszyRozmiar = 6, NajwiekszyRozmiar = 15;

    explicit TFontForm(PrintSettings &settings, QWidget *parent = nullptr);

private:
    void FormShow();
    void PostBtnClick();

    PrintSettings &settings;
    QComboBox *EdFontName;
    QSpinBox *EdFontSize;
    QList<QRadioButton *> EdDuplex; // by code
    QCheckBox *EdCien;
    QPushButton *PostBtn;
    QPushButton *CancelBtn;
};
