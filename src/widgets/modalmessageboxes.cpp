#include "widgets/modalmessageboxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString lines(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

// OK under `accept`, and "Anuluj", closing `dialog`.
QDialogButtonBox *dialogButtons(QDialog &dialog, const QString &accept)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(accept);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("&Anuluj"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return buttons;
}

} // namespace

bool ModalMessageBoxes::ask(const MessageRequest &request)
{
    const QString text = lines(request.text);
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

int ModalMessageBoxes::choose(const MessageRequest &request)
{
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(request.title);
    auto *layout = new QVBoxLayout(&dialog);
    auto *label = new QLabel(lines(request.text), &dialog);
    label->setWordWrap(true);
    auto *list = new QListWidget(&dialog);
    list->addItems(request.choices);
    list->setCurrentRow(0);
    label->setBuddy(list);
    QDialogButtonBox *buttons = dialogButtons(dialog, QStringLiteral("&Odtwórz"));
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    list->setFocus();
    dialog.resize(640, 360);
    return dialog.exec() == QDialog::Accepted ? list->currentRow() : -1;
}

std::optional<QString> ModalMessageBoxes::askPassword(const MessageRequest &request)
{
    QDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("HasloSerwera"));
    dialog.setWindowTitle(request.title);
    auto *text = new QLabel(lines(request.text), &dialog);
    text->setWordWrap(true);
    auto *label = new QLabel(QStringLiteral("&Hasło:"), &dialog);
    auto *password = new QLineEdit(&dialog);
    password->setEchoMode(QLineEdit::Password);
    label->setBuddy(password);
    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(password, 1);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addLayout(row);
    layout->addWidget(dialogButtons(dialog, QStringLiteral("&Połącz")));
    password->setFocus();
    dialog.resize(460, dialog.sizeHint().height());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return password->text();
}
