#include "widgets/maskedlineedit.h"

#include <QStyle>
#include <QStyleOptionFrame>

namespace {

constexpr QChar DigitPlace = u'9';
constexpr QChar Blank = u'_';

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// The pattern in Qt's mask notation: its literals escaped, "_" for a free place.
QString qtMask(const QString &pattern)
{
    QString mask;
    for (QChar c : pattern) {
        if (c != DigitPlace)
            mask += u'\\';
        mask += c;
    }
    return mask + u';' + Blank;
}

} // namespace

MaskedLineEdit::MaskedLineEdit(const QString &pattern, Literals literals, QWidget *parent)
    : QLineEdit(parent), m_pattern(pattern), m_literals(literals)
{
    setInputMask(qtMask(pattern));
    // Wide enough for the whole mask filled with digits, and the caret.
    QString filled = pattern;
    filled.replace(DigitPlace, u'0');
    const QSize text(fontMetrics().horizontalAdvance(filled + u'0'), fontMetrics().height());
    QStyleOptionFrame option;
    initStyleOption(&option);
    setMinimumWidth(style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, this).width());
}

QString MaskedLineEdit::storedText() const
{
    const QString shown = displayText();
    QString stored;
    for (qsizetype i = 0; i < m_pattern.size(); ++i) {
        if (m_pattern[i] == DigitPlace) {
            const QChar c = i < shown.size() ? shown[i] : Blank;
            stored += c == Blank ? QChar(u' ') : c;
        } else if (m_literals == Literals::Kept) {
            stored += m_pattern[i];
        }
    }
    return stored;
}

void MaskedLineEdit::setStoredText(const QString &text)
{
    // Qt's setText() closes up free places inside a group ("1_3" becomes
    // "13_"), so each digit is put into its own place.
    clear();
    qsizetype next = 0;
    for (qsizetype place = 0; place < m_pattern.size(); ++place) {
        if (m_pattern[place] == DigitPlace) {
            const QChar c = next < text.size() ? text[next++] : Blank;
            if (isDigit(c)) {
                setCursorPosition(int(place));
                insert(QString(c));
            }
        } else if (m_literals == Literals::Kept && next < text.size() && text[next] == m_pattern[place]) {
            // Only a kept literal stands in the text; a dropped one's place
            // may hold a blank that belongs to the next digit place.
            ++next;
        }
    }
    setCursorPosition(0);
}
