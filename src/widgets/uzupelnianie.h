#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class Dataset;
class QLineEdit;

// Completes what the user types into a line edit from a source of entries.
// Each time the user types forward, the first entry that begins with the
// text (letter case ignored) fills in the rest, which is left selected so
// that the next key typed replaces it. Deleting moves the caret back, so
// nothing is completed until the user types forward again.
class Uzupelnianie : public QObject
{
    Q_OBJECT
public:
    // The first entry, in the source's order, that begins with `poczatek`
    // (letter case ignored); empty when there is none.
    using Zrodlo = std::function<QString(const QString &poczatek)>;

    // Attaches itself to `edit`, whose child it becomes.
    Uzupelnianie(QLineEdit &edit, Zrodlo zrodlo);

    // The field `pole` of the records of `zbior`, found by its locate.
    static Zrodlo ZPola(Dataset &zbior, const QString &pole);
    // The names of `lista` compared by their first characters in upper case.
    static Zrodlo ZListy(const QStringList &lista);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void PoZmianie();
    void Uzupelnij();

    QLineEdit &m_edit;
    Zrodlo m_zrodlo;
    int m_p = 0; // the caret position after the last change
    bool m_uzupelnia = false;
};
