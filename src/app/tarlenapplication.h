#pragma once

#include <QApplication>
#include <QPointer>

class TDM;

// The program's application object: every window it shows lies on the screen
// (OknaNaEkranie). An error that escapes an event handler
// (a click, a key, a timer) does not end the program: the user is told what
// went wrong through the data module's message box and the program goes on
// with the next event.
//
// Nothing is left half-written by such an error: the data layer writes each
// record in one SQL statement, and whatever spans several statements runs in
// a Database::Transaction, which rolls back as the error leaves its scope.
// By the time the error arrives here the database holds either all of a
// change or none of it, and this handler has nothing to undo.
class TarlenApplication : public QApplication
{
    Q_OBJECT
public:
    TarlenApplication(int &argc, char **argv);

    // The data module whose Uwaga tells the user of the error. Until it is
    // set (and after it is gone) errors are only written to the log.
    void setDataModule(TDM *dm);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    // What the user is told of an error that is not the table store's.
    static QString unexpectedErrorText(const char *what);
    void report(const QString &text);

    QPointer<TDM> m_dm;
};
