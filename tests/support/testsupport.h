#pragma once

#include "data/messageboxes.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

// Answers the program's message boxes in tests and remembers what they said.
// Answers to the questions are given beforehand, in order; a question with
// no answer left gets "No". Warnings are only remembered.
class ScriptedMessageBoxes : public MessageBoxes
{
public:
    void answer(bool yes) { m_answers.append(yes); }
    bool ask(const MessageRequest &request) override;

    const QList<MessageRequest> &shown() const { return m_shown; }
    QStringList texts() const;
    void clear();

private:
    QList<bool> m_answers;
    QList<MessageRequest> m_shown;
};

// A private world for one test: the settings and the program's registry in a
// temporary directory, and a database made by the installer, recorded as the
// program's database directory.
class TestEnvironment
{
public:
    explicit TestEnvironment(bool withDatabase = true);
    ~TestEnvironment();

    QString root() const { return m_root.path(); }
    QString databaseDirectory() const { return m_root.filePath(QStringLiteral("baza")); }
    QString databaseFile() const;
    // Records `directory` as the program's database directory.
    void setDatabaseDirectory(const QString &directory);

private:
    QTemporaryDir m_root;
};
