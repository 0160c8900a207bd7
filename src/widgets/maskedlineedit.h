#pragma once

#include <QLineEdit>

// A one-line edit for digits typed through a mask such as "999-999-99-99":
// each '9' is a digit place, every other character a literal shown in place.
// A free place shows "_". The text is kept in the form the tables hold it:
// one character per digit place with a blank as a space, and the literals
// either kept in their places or left out.
class MaskedLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    enum class Literals { Kept, Dropped };

    MaskedLineEdit(const QString &pattern, Literals literals, QWidget *parent = nullptr);

    QString storedText() const;
    // Takes the digits of `text` into the digit places in order; a blank or
    // any other character leaves its place free. Kept literals found in the
    // text are skipped, so a bare "1234563218" fills "123-456-32-18".
    void setStoredText(const QString &text);

private:
    QString m_pattern;
    Literals m_literals;
};
