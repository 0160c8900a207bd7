#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What a message box asks of the user.
struct MessageRequest
{
    enum class Kind {
        Warning,         // OK, exclamation sign
        Information,     // OK, information sign: something done as asked
        Question,        // Yes/No, question mark
        WarningQuestion, // Yes/No, exclamation sign
    };
    Kind kind = Kind::Warning;
    QString title;
    QString text; // lines may be broken with "\r"
    QStringList choices; // of choose(): the entries to pick one of
};

// The one road by which the program asks the user something in a box, so
// that tests can answer instead of the user.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    // Shows the box and waits for the answer: true for Yes (and for OK).
    virtual bool ask(const MessageRequest &request) = 0;
    // Shows the text with its choices and waits: the index of the entry
    // picked, -1 when the user picks none.
    virtual int choose(const MessageRequest &request) = 0;
    // Asks for a password, which the box does not show as it is typed: the
    // password, or none when the user cancels.
    virtual std::optional<QString> askPassword(const MessageRequest &request) = 0;
};
