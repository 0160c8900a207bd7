#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// A file the user is asked for.
struct PytanieOPlik
{
    bool zapis = false; // a file to write (new or existing) rather than one to read
    QString tytul;
    QString start;      // the file or folder the dialog opens at
    QString filtr;      // e.g. "Bazy danych (*.sqlite);;Wszystkie pliki (*)"
    QStringList skroty; // folders offered one click away, beside the files
    bool najnowszeNajpierw = false; // files listed with their dates, the newest first
};

// Answers the chosen file's path, or an empty text when the user cancelled.
// The windows that ask for files hold one, so that tests can answer without
// a modal dialog.
using WyborPliku = std::function<QString(QWidget *parent, const PytanieOPlik &pytanie)>;

// The platform's file dialog; writing over an existing file is confirmed there.
QString WybierzPlik(QWidget *parent, const PytanieOPlik &pytanie);
