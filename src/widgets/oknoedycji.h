#pragma once

#include <QDialog>
#include <QStringList>

class TDM;

// A dialog in which the user types a record. Esc, "&Anuluj" and the close
// box ask before dropping what was typed since the dialog was last filled
// or saved (Zapamietaj); with nothing changed they close at once. What was
// typed shows in the dialog's editable controls (texts, numbers, choices,
// ticks), compared with their state when remembered; a change that no
// control shows (made through another window) the dialog reports itself.
class OknoEdycji : public QDialog
{
    Q_OBJECT
public:
    static const QString Pytanie; // "Porzucić wprowadzone zmiany?"

    // `pytanie`: the question, which may name the window's record.
    OknoEdycji(TDM &dm, const QString &pytanie = Pytanie, QWidget *parent = nullptr);

    // The controls now hold what is stored or was given: nothing to lose.
    void Zapamietaj();
    // A change that no control shows.
    void Zmieniono() { m_zmieniono = true; }
    // Whether closing now would drop what the user typed.
    virtual bool SaZmiany() const;

    // Closes only when nothing would be lost or the user agrees to lose it.
    void reject() override;

private:
    QStringList Stan() const;

    TDM &m_dm;
    QString m_pytanie;
    QStringList m_stan;
    bool m_zmieniono = false;
};
