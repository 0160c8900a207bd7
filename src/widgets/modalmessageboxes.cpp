#include "widgets/modalmessageboxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

bool ModalMessageBoxes::ask(const MessageRequest &request)
{
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    using Kind = MessageRequest::Kind;
    const bool question = request.kind == Kind::Question || request.kind == Kind::WarningQuestion;
    const QMessageBox::Icon icon = request.kind == Kind::Question      ? QMessageBox::Question
                                   : request.kind == Kind::Information ? QMessageBox::Information
                                                                       : QMessageBox::Warning;
    QMessageBox box(icon, request.title, text, question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    box.button(question ? QMessageBox::Yes : QMessageBox::Ok)->setText(question ? QStringLiteral("&Tak") : QStringLiteral("OK"));
    if (question)
        box.button(QMessageBox::No)->setText(QStringLiteral("&Nie"));
    return box.exec() != QMessageBox::No;
}
