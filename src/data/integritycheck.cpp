#include "data/integritycheck.h"

#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

IntegrityCheck::Answer IntegrityCheck::check(sqlite3 *db, const char *pragma)
{
    sqlite3_stmt *statement = nullptr;
    int rc = sqlite3_prepare_v2(db, pragma, -1, &statement, nullptr);
    QString text;
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)));
            rc = SQLITE_OK;
        }
    }
    // Statements made by sqlite3_prepare_v2 answer the error itself.
    const int primary = rc & 0xff;
    Answer answer;
    answer.error = QString::fromUtf8(sqlite3_errmsg(db));
    answer.code = rc == SQLITE_OK ? SQLITE_OK : sqlite3_extended_errcode(db);
    sqlite3_finalize(statement);
    if (primary == SQLITE_INTERRUPT)
        answer.verdict = Verdict::Stopped;
    else if (primary == SQLITE_NOTADB)
        answer.verdict = Verdict::NotADatabase;
    else if (primary == SQLITE_CORRUPT || (primary == SQLITE_OK && text != QLatin1String("ok")))
        answer.verdict = Verdict::Damaged;
    else if (primary == SQLITE_OK)
        answer.verdict = Verdict::Sound;
    return answer;
}

IntegrityCheck::Answer IntegrityCheck::checkWhole(sqlite3 *db)
{
    sqlite3_exec(db, "PRAGMA cache_size = -262144", nullptr, nullptr, nullptr);
    return check(db, WholeFile);
}

IntegrityCheck::IntegrityCheck(const QString &path, std::function<void()> answered)
{
    const QByteArray uri =
        QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded).toUtf8() + "?mode=ro";
    if (sqlite3_open_v2(uri.constData(), &m_db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) != SQLITE_OK) {
        m_answer.error = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("brak pamięci");
        m_answer.code = m_db ? sqlite3_extended_errcode(m_db) : SQLITE_NOMEM;
        if (answered)
            answered();
        return;
    }
    m_thread = std::thread([this, answered = std::move(answered)] { run(answered); });
}

IntegrityCheck::~IntegrityCheck()
{
    if (m_thread.joinable()) {
        // An interrupt given before the check has begun would be lost: the
        // check looks at the flag before it begins.
        m_stop = true;
        sqlite3_interrupt(m_db);
        m_thread.join();
    }
    sqlite3_close_v2(m_db);
}

const IntegrityCheck::Answer &IntegrityCheck::wait()
{
    if (m_thread.joinable())
        m_thread.join();
    return m_answer;
}

void IntegrityCheck::run(const std::function<void()> &answered)
{
    if (m_stop)
        return;
    const Answer answer = checkWhole(m_db);
    if (answer.verdict == Verdict::Stopped)
        return; // nobody waits for the answer
    m_answer = answer;
    if (answered)
        answered();
}
