#include "data/paradoxtable.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

// Reads the helper's output (see pxread_main.cpp); any deviation is a failure.
class OutputReader
{
public:
    explicit OutputReader(const QByteArray &data) : m_data(data) {}

    bool literal(QByteArrayView text)
    {
        if (!QByteArrayView(m_data).sliced(m_pos).startsWith(text))
            return false;
        m_pos += text.size();
        return true;
    }

    std::optional<qint64> number()
    {
        qsizetype end = m_pos;
        while (end < m_data.size() && end - m_pos < 12 && m_data[end] >= '0' && m_data[end] <= '9')
            ++end;
        if (end == m_pos)
            return std::nullopt;
        bool ok = false;
        const qint64 n = QByteArrayView(m_data).sliced(m_pos, end - m_pos).toLongLong(&ok);
        if (!ok)
            return std::nullopt;
        m_pos = end;
        return n;
    }

    // A value: "~" (none, given as a null byte array) or <count>:<bytes>.
    std::optional<QByteArray> value()
    {
        if (literal("~"))
            return QByteArray();
        const auto n = number();
        if (!n || !literal(":") || *n > m_data.size() - m_pos)
            return std::nullopt;
        QByteArray v = m_data.sliced(m_pos, *n);
        if (v.isNull())
            v = QByteArray("");
        m_pos += *n;
        return v;
    }

    std::optional<char> byte()
    {
        if (m_pos >= m_data.size())
            return std::nullopt;
        return m_data[m_pos++];
    }

    bool atEnd() const { return m_pos == m_data.size(); }

private:
    const QByteArray &m_data;
    qsizetype m_pos = 0;
};

std::optional<QVariant> convert(char type, const QByteArray &v)
{
    if (v.isNull())
        return QVariant();
    bool ok = true;
    QVariant result;
    switch (type) {
    case 'A': {
        const QString text = QString::fromUtf8(v);
        if (text.toUtf8() != v)
            return std::nullopt;
        result = text;
        break;
    }
    case 'D': {
        const QDate d = QDate::fromString(QString::fromLatin1(v), Qt::ISODate);
        ok = d.isValid();
        result = d;
        break;
    }
    case 'S': case 'I': case '+':
        result = v.toLongLong(&ok);
        break;
    case 'N': case '$':
        result = v.toDouble(&ok);
        break;
    case 'L':
        ok = v == "1" || v == "0";
        result = v == "1";
        break;
    default:
        ok = false;
    }
    if (!ok)
        return std::nullopt;
    return result;
}

bool parse(const QByteArray &out, QList<ParadoxTable::Field> &fields, QList<ParadoxTable::Record> &records)
{
    OutputReader r(out);
    if (!r.literal("PXREAD 1\nF "))
        return false;
    const auto fieldCount = r.number();
    if (!fieldCount || *fieldCount < 1 || *fieldCount > 255 || !r.literal("\n"))
        return false;
    for (qint64 i = 0; i < *fieldCount; ++i) {
        ParadoxTable::Field f;
        const auto letter = r.byte();
        if (!letter || !QByteArrayView("ADSI+N$L?").contains(*letter))
            return false;
        f.type = *letter;
        const auto size = (r.literal(" ") ? r.number() : std::nullopt);
        if (!size || !r.literal(" "))
            return false;
        const auto name = r.value();
        if (!name || !r.literal("\n"))
            return false;
        f.size = int(*size);
        f.name = QString::fromUtf8(*name);
        fields << f;
    }
    if (!r.literal("R "))
        return false;
    const auto recordCount = r.number();
    if (!recordCount || !r.literal("\n"))
        return false;
    for (qint64 row = 0; row < *recordCount; ++row) {
        ParadoxTable::Record record;
        record.reserve(fields.size());
        for (const ParadoxTable::Field &f : std::as_const(fields)) {
            const auto raw = r.value();
            if (!raw)
                return false;
            if (f.type == '?') {
                record << QVariant();
                continue;
            }
            const auto v = convert(f.type, *raw);
            if (!v)
                return false;
            record << *v;
        }
        if (!r.literal("\n"))
            return false;
        records << record;
    }
    return r.literal("END\n") && r.atEnd();
}

} // namespace

ParadoxTable::ParadoxTable() : m_helper(defaultHelperPath()) {}

ParadoxTable::ParadoxTable(const QString &helperPath) : m_helper(helperPath) {}

QString ParadoxTable::defaultHelperPath()
{
    QString name = QStringLiteral("tarlen-pxread");
#ifdef Q_OS_WIN
    name += QStringLiteral(".exe");
#endif
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

int ParadoxTable::timeLimit(qint64 fileSize) const
{
    const qint64 limit = m_timeLimit + (fileSize + (1 << 20) - 1) / (1 << 20) * qint64(m_perMegabyte);
    return int(std::min<qint64>(limit, std::numeric_limits<int>::max()));
}

void ParadoxTable::open(const QString &path)
{
    using Powod = ParadoxError::Powod;
    m_fields.clear();
    m_records.clear();
    const QFileInfo info(path);
    const QString name = info.fileName();
    const auto refused = [&name] {
        return ParadoxError(Powod::Uszkodzona,
                            QStringLiteral("Plik %1 jest uszkodzony lub nie jest tabelą poprzedniej wersji programu.")
                                .arg(name));
    };
    if (!info.isFile() || !info.isReadable())
        throw ParadoxError(Powod::BrakPliku, QStringLiteral("Nie udało się otworzyć pliku: ") + name);

    const int limit = timeLimit(info.size());
    QProcess helper;
    helper.setProcessChannelMode(QProcess::SeparateChannels);
    helper.setStandardInputFile(QProcess::nullDevice());
    helper.start(m_helper, {info.absoluteFilePath()});
    if (!helper.waitForStarted(limit))
        throw ParadoxError(Powod::BrakCzytnika, QStringLiteral("Brak programu odczytu tabel poprzedniej wersji (%1).")
                                                    .arg(QFileInfo(m_helper).fileName()));
    if (!helper.waitForFinished(limit)) {
        helper.kill();
        helper.waitForFinished(-1);
        throw ParadoxError(Powod::Czas, QStringLiteral("Odczyt pliku %1 trwał dłużej niż %2 s i został przerwany.")
                                            .arg(name)
                                            .arg((limit + 999) / 1000));
    }
    if (helper.exitStatus() != QProcess::NormalExit || helper.exitCode() != 0)
        throw refused();

    QList<Field> fields;
    QList<Record> records;
    if (!parse(helper.readAllStandardOutput(), fields, records))
        throw refused();
    m_fields = std::move(fields);
    m_records = std::move(records);
}

int ParadoxTable::fieldIndex(const QString &name) const
{
    for (qsizetype i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

QVariant ParadoxTable::value(qsizetype row, const QString &field) const
{
    const int i = fieldIndex(field);
    if (i < 0 || row < 0 || row >= m_records.size())
        return {};
    return m_records[row].value(i);
}

void ParadoxTable::sortBy(const QStringList &fieldNames)
{
    QList<int> columns;
    for (const QString &name : fieldNames)
        if (const int i = fieldIndex(name); i >= 0)
            columns << i;
    QCollator collator{QLocale(QLocale::Polish)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(m_records.begin(), m_records.end(), [&](const Record &a, const Record &b) {
        for (int c : std::as_const(columns)) {
            const int order = collator.compare(a.value(c).toString(), b.value(c).toString());
            if (order != 0)
                return order < 0;
        }
        return false;
    });
}
