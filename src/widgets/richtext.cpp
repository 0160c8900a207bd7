#include "widgets/richtext.h"

#include <QTextEdit>

void loadRichText(QTextEdit &edit, const QString &text)
{
    if (Qt::mightBeRichText(text))
        edit.setHtml(text);
    else
        edit.setPlainText(text);
}
