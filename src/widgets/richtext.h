#pragma once

#include <QString>

class QTextEdit;

// Notes are kept as Qt rich text (HTML); a stored text that is not rich
// text (typed elsewhere, or plain) is shown as it stands.
void loadRichText(QTextEdit &edit, const QString &text);
