#include "bare.h"

#include "core/polishtext.h"
#include "data/schema.h"

#include <QStringList>

namespace {

void polishUpperSql(sqlite3_context *context, int, sqlite3_value **argv)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const QByteArray upper = polishUpper(QString::fromUtf8(text ? text : "")).toUtf8();
    sqlite3_result_text(context, upper.constData(), int(upper.size()), SQLITE_TRANSIENT);
}

} // namespace

Bare::Bare(const QString &file) : m_file(file.toUtf8())
{
    open();
}

Bare::~Bare()
{
    sqlite3_close(m_db);
}

void Bare::open()
{
    sqlite3_close(m_db);
    sqlite3_open_v2(m_file.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_create_function_v2(m_db, "pl_upper", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, polishUpperSql,
                               nullptr, nullptr, nullptr);
}

void Bare::query(const QByteArray &sql, const std::function<void(sqlite3_stmt *)> &bind,
                 const std::function<void(sqlite3_stmt *)> &row)
{
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(m_db, sql.constData(), int(sql.size()), &st, nullptr);
    if (bind)
        bind(st);
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            sqlite3_column_value(st, c);
        if (row)
            row(st);
    }
    sqlite3_finalize(st);
}

void Bare::openTables()
{
    open();
    // The check of the whole file runs beside the start, and is timed alone.
    query("PRAGMA quick_check(sqlite_master)");
    for (const TableDef &t : storedTables()) {
        QStringList fields;
        for (const FieldDef &f : t.fields)
            fields << f.name;
        query("SELECT " + fields.join(QStringLiteral(", ")).toUtf8() + " FROM " + t.name.toUtf8() + " LIMIT 1");
    }
}

void bindText(sqlite3_stmt *st, int i, const QString &s)
{
    const QByteArray b = s.toUtf8();
    sqlite3_bind_text(st, i, b.constData(), int(b.size()), SQLITE_TRANSIENT);
}
