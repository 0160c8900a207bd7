#include "app/tarlenapplication.h"

#include "data/dataerror.h"
#include "data/tdm.h"
#include "widgets/oknanaekranie.h"

#include <QtDebug>

#include <exception>

TarlenApplication::TarlenApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    installEventFilter(new OknaNaEkranie(this));
}

void TarlenApplication::setDataModule(TDM *dm)
{
    m_dm = dm;
}

bool TarlenApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const DataError &e) {
        report(e.message());
    } catch (const std::exception &e) {
        // A fault of the program rather than of the data; the user is told
        // all the same, and the event that raised it is dropped.
        report(unexpectedErrorText(e.what()));
    } catch (...) {
        report(unexpectedErrorText("nieznany wyjątek"));
    }
    // The event has been dealt with: nothing else is to act on it.
    return true;
}

QString TarlenApplication::unexpectedErrorText(const char *what)
{
    return QStringLiteral("Wystąpił nieoczekiwany błąd programu:\r%1").arg(QString::fromLocal8Bit(what));
}

void TarlenApplication::report(const QString &text)
{
    if (!m_dm) {
        qWarning().noquote() << text;
        return;
    }
    try {
        m_dm->Uwaga(text);
    } catch (const std::exception &e) {
        qWarning().noquote() << text << e.what();
    }
}
