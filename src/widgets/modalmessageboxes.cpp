#include "widgets/modalmessageboxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

bool ModalMessageBoxes::ask(const MessageRequest &request)
{
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const bool question = request.kind != MessageRequest::Kind::Warning;
    QMessageBox box(request.kind == MessageRequest::Kind::Question ? QMessageBox::Question : QMessageBox::Warning,
                    request.title, text, question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    box.button(question ? QMessageBox::Yes : QMessageBox::Ok)->setText(question ? QStringLiteral("&Tak") : QStringLiteral("OK"));
    if (question)
        box.button(QMessageBox::No)->setText(QStringLiteral("&Nie"));
    return box.exec() != QMessageBox::No;
}
