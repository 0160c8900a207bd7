#include "spreadsheet/csv.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>

namespace {

const QByteArray Bom("\xEF\xBB\xBF");

// The row (from 1) in which byte `offset` of the data lies.
int rowAt(const QByteArray &data, qsizetype offset)
{
    return int(data.left(offset).count('\n')) + 1;
}

// Where the data stops being UTF-8, or -1 when all of it is.
qsizetype firstInvalidUtf8(const QByteArray &data)
{
    for (qsizetype i = 0; i < data.size();) {
        const auto c = uchar(data[i]);
        const int length = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 && c >= 0xC2 ? 2 : (c & 0xF0) == 0xE0 ? 3
                                                                        : (c & 0xF8) == 0xF0 && c <= 0xF4 ? 4 : 0;
        if (length == 0 || i + length > data.size())
            return i;
        for (int k = 1; k < length; ++k)
            if ((uchar(data[i + k]) & 0xC0) != 0x80)
                return i;
        i += length;
    }
    return -1;
}

// Whether the data holds a character written in UTF-8 beyond ASCII.
bool hasUtf8Sequence(const QByteArray &data)
{
    for (qsizetype i = 0; i + 1 < data.size(); ++i) {
        const auto c = uchar(data[i]);
        if (c >= 0xC2 && c <= 0xDF && (uchar(data[i + 1]) & 0xC0) == 0x80)
            return true;
    }
    return false;
}

QString decode(const QByteArray &data)
{
    const bool bom = data.startsWith(Bom);
    const QByteArray body = bom ? data.mid(Bom.size()) : data;
    const qsizetype invalid = firstInvalidUtf8(body);
    if (invalid < 0)
        return QString::fromUtf8(body);
    // Not UTF-8 throughout: Windows-1250, unless some of it is UTF-8.
    if (bom || hasUtf8Sequence(body))
        throw SpreadsheetError(QStringLiteral("Plik ma mieszane kodowanie znaków: od wiersza %1 tekst nie jest "
                                              "zapisany w UTF-8 jak wcześniejszy. Zapisz plik ponownie w jednym "
                                              "kodowaniu (UTF-8 lub Windows-1250).")
                                   .arg(rowAt(body, invalid)),
                               rowAt(body, invalid));
    QStringDecoder cp1250("windows-1250");
    return cp1250(body);
}

// The separator of the first line: the most frequent of ";", "," and tab
// outside quotes; ";" when there is none.
QChar detectSeparator(const QString &text)
{
    const std::array<QChar, 3> candidates{u';', u',', u'\t'};
    std::array<int, 3> counts{};
    bool quoted = false;
    for (QChar c : text) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && (c == u'\n' || c == u'\r'))
            break;
        else if (!quoted)
            for (std::size_t k = 0; k < candidates.size(); ++k)
                counts[k] += c == candidates[k];
    }
    std::size_t best = 0;
    for (std::size_t k = 1; k < candidates.size(); ++k)
        if (counts[k] > counts[best])
            best = k;
    return candidates[best];
}

QString quoted(const QString &field)
{
    static const QString special = QStringLiteral(";\"\r\n");
    if (std::none_of(field.begin(), field.end(), [](QChar c) { return special.contains(c); }))
        return field;
    return u'"' + QString(field).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

} // namespace

QList<QStringList> Csv::records(const QString &text)
{
    QList<QStringList> rows = parse(text, u';');
    rows.removeIf([](const QStringList &r) { return r.size() == 1 && r.first().isEmpty(); });
    if (!rows.isEmpty())
        rows.removeFirst();
    return rows;
}

QList<QStringList> Csv::parse(const QString &text, QChar separator)
{
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    int quoteRow = 0;
    const auto endField = [&] {
        if (field.size() > SheetLimits::CellChars)
            throw SpreadsheetError(QStringLiteral("Komórka (%1) ma więcej niż %2 znaków.")
                                       .arg(cellPlace(int(rows.size()) + 1, int(row.size()) + 1))
                                       .arg(SheetLimits::CellChars),
                                   int(rows.size()) + 1, int(row.size()) + 1);
        if (row.size() >= SheetLimits::Columns)
            throw SpreadsheetError(QStringLiteral("Wiersz %1 ma więcej niż %2 kolumn.")
                                       .arg(rows.size() + 1)
                                       .arg(SheetLimits::Columns),
                                   int(rows.size()) + 1);
        row << field;
        field.clear();
    };
    const auto endRow = [&] {
        endField();
        if (rows.size() >= SheetLimits::Rows)
            throw SpreadsheetError(QStringLiteral("Arkusz ma więcej niż %1 wierszy.").arg(SheetLimits::Rows),
                                   int(rows.size()) + 1);
        rows << row;
        row.clear();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c != u'"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == u'"')
                field += text[++i];
            else
                quoted = false;
            // A runaway quote would gather the whole file into one cell.
            if (field.size() > SheetLimits::CellChars)
                endField();
        } else if (c == u'"') {
            quoted = true;
            quoteRow = int(rows.size()) + 1;
        } else if (c == separator) {
            endField();
        } else if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endRow();
        } else {
            field += c;
        }
    }
    if (quoted)
        throw SpreadsheetError(
            QStringLiteral("Cudzysłów otwarty w wierszu %1 nie został zamknięty do końca pliku.").arg(quoteRow), quoteRow);
    if (!field.isEmpty() || !row.isEmpty())
        endRow();
    return rows;
}

Sheet Csv::read(const QByteArray &data)
{
    if (data.size() > SheetLimits::FileBytes)
        throw SpreadsheetError(QStringLiteral("Plik jest za duży (więcej niż %1 MB).").arg(SheetLimits::FileBytes / (1024 * 1024)));
    if (data.contains('\0'))
        throw SpreadsheetError(QStringLiteral("Plik nie jest arkuszem CSV ani XLSX (zawiera dane binarne, wiersz %1).")
                                   .arg(rowAt(data, data.indexOf('\0'))),
                               rowAt(data, data.indexOf('\0')));
    const QString text = decode(data);
    return Sheet{QString(), parse(text, detectSeparator(text))};
}

QByteArray Csv::write(const QList<OutputRow> &rows)
{
    QString text;
    for (const OutputRow &row : rows) {
        QStringList fields;
        for (const OutputCell &cell : row) {
            if (const auto *s = std::get_if<QString>(&cell))
                fields << quoted(*s);
            else if (const auto *d = std::get_if<QDate>(&cell))
                fields << (d->isValid() ? d->toString(QStringLiteral("dd-MM-yyyy")) : QString());
            else
                fields << std::get<Money>(cell).format(2, false);
        }
        text += fields.join(u';') + QStringLiteral("\r\n");
    }
    return Bom + text.toUtf8();
}
