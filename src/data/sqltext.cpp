#include "data/sqltext.h"

#include <QRegularExpression>

namespace {

const QString LiteralPrefix = QStringLiteral("tarlen_text_");

bool isQuote(QChar c)
{
    return c == u'\'' || c == u'"';
}

// A session runs few statements, again and again: what is read from each
// text is kept (per thread, a bounded number of texts) and read once.
template <class T, class Read>
T remembered(const QString &sql, Read read)
{
    thread_local QHash<QString, T> memo;
    const auto known = memo.constFind(sql);
    if (known != memo.constEnd())
        return *known;
    if (memo.size() >= 1024)
        memo.clear();
    return *memo.insert(sql, read(sql));
}

// The expression of a select item without its alias.
QString withoutAlias(const QString &item)
{
    static const QRegularExpression aliased(QStringLiteral("^(.*?\\S)\\s+(?:AS\\s+)?\\w+$"),
                                            QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression bare(QStringLiteral("^[\\w.]+$"));
    if (bare.match(item).hasMatch())
        return item;
    const QRegularExpressionMatch m = aliased.match(item);
    return m.hasMatch() ? m.captured(1) : item;
}

const FieldDef *tableField(const TableDef *table, QString name)
{
    if (!table)
        return nullptr;
    name = name.section(QLatin1Char('.'), -1);
    return table->field(name);
}

std::optional<FieldDef> fieldOfExpression(const QString &expression, const TableDef *table)
{
    static const QRegularExpression aggregate(
        QStringLiteral("^(\\w+)\\s*\\(\\s*(?:DISTINCT\\s+)?([\\w.]+|\\*)\\s*\\)$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = aggregate.match(expression);
    if (m.hasMatch()) {
        const QString function = m.captured(1).toUpper();
        if (function == QLatin1String("COUNT"))
            return FieldDef{{}, FieldType::Integer, 0};
        const bool keepsType = function == QLatin1String("SUM") || function == QLatin1String("TOTAL")
            || function == QLatin1String("MIN") || function == QLatin1String("MAX");
        const FieldDef *f = keepsType ? tableField(table, m.captured(2)) : nullptr;
        if (!f)
            return std::nullopt;
        return FieldDef{{}, f->type == FieldType::AutoInc ? FieldType::Integer : f->type, f->size};
    }
    if (const FieldDef *f = tableField(table, expression))
        return *f;
    return std::nullopt;
}

FieldType typeOfValues(const QList<SqlRow> &rows, int column)
{
    for (const SqlRow &row : rows) {
        const QVariant &v = row.value(column);
        if (!v.isNull())
            return v.metaType().id() == QMetaType::QString ? FieldType::Text : FieldType::Integer;
    }
    return FieldType::Integer;
}

QStringList readSelectItems(const QString &sql)
{
    static const QRegularExpression select(QStringLiteral("^\\s*SELECT\\s+(DISTINCT\\s+)?"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression from(QStringLiteral("FROM\\b"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch start = select.match(sql);
    if (!start.hasMatch())
        return {};
    QStringList items;
    qsizetype begin = start.capturedEnd();
    int depth = 0;
    for (qsizetype i = begin; i <= sql.size(); ++i) {
        const bool end = i == sql.size()
            || (depth == 0 && sql[i - 1].isSpace()
                && from.match(sql, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption).hasMatch());
        if (end || (depth == 0 && sql[i] == u',')) {
            items << sql.mid(begin, i - begin).trimmed();
            begin = i + 1;
            if (end)
                break;
        } else if (sql[i] == u'(') {
            ++depth;
        } else if (sql[i] == u')') {
            --depth;
        }
    }
    return items;
}

SqlText::Bound readLiterals(const QString &sql)
{
    SqlText::Bound bound;
    bound.text.reserve(sql.size());
    for (qsizetype i = 0; i < sql.size(); ++i) {
        const QChar quote = sql[i];
        if (!isQuote(quote)) {
            bound.text += quote;
            continue;
        }
        QString literal;
        for (++i; i < sql.size(); ++i) {
            if (sql[i] != quote) {
                literal += sql[i];
            } else if (i + 1 < sql.size() && sql[i + 1] == quote) {
                literal += quote;
                ++i;
            } else {
                break;
            }
        }
        const QString name = LiteralPrefix + QString::number(bound.values.size() + 1);
        bound.values.insert(name, literal);
        bound.text += QLatin1Char(':') + name;
    }
    return bound;
}

} // namespace

QStringList SqlText::selectItems(const QString &sql)
{
    return remembered<QStringList>(sql, readSelectItems);
}

SqlText::Bound SqlText::bindLiterals(const QString &sql)
{
    return remembered<Bound>(sql, readLiterals);
}

QString SqlText::fromTable(const QString &sql)
{
    static const QRegularExpression from(QStringLiteral("\\bFROM\\s+(\\w+)"), QRegularExpression::CaseInsensitiveOption);
    return remembered<QString>(sql, [](const QString &text) { return from.match(bindLiterals(text).text).captured(1); });
}

bool SqlText::namesItsColumn(const QString &item)
{
    static const QRegularExpression bare(QStringLiteral("^[\\w.]+$"));
    return bare.match(item).hasMatch() || withoutAlias(item) != item;
}

QList<FieldDef> SqlText::resultFields(const QString &sql, const QStringList &columns, const QList<SqlRow> &rows,
                                      const TableDef *table)
{
    // The fields the text names are read once for the text, its columns and
    // its table; an expression of no field is typed by its values each time.
    const QString key = QStringList{sql, table ? table->name : QString(), columns.join(QLatin1Char('\n'))}.join(QChar(0));
    const auto named = remembered<QList<std::optional<FieldDef>>>(key, [&](const QString &) {
        const QStringList items = selectItems(bindLiterals(sql).text);
        const bool byPosition = items.size() == columns.size();
        QList<std::optional<FieldDef>> fields;
        for (int i = 0; i < columns.size(); ++i)
            fields << fieldOfExpression(byPosition ? withoutAlias(items[i]) : columns[i], table);
        return fields;
    });
    QList<FieldDef> fields;
    for (int i = 0; i < columns.size(); ++i) {
        FieldDef f = named[i] ? *named[i] : FieldDef{{}, typeOfValues(rows, i), 0};
        f.name = columns[i];
        fields << f;
    }
    return fields;
}
