#include "spreadsheet/sheet.h"

#include "spreadsheet/csv.h"
#include "spreadsheet/xlsx.h"

#include <QFile>
#include <QFileInfo>

SpreadsheetError::SpreadsheetError(const QString &message, int row, int column)
    : std::runtime_error(message.toStdString()), m_message(message), m_row(row), m_column(column)
{
}

QString columnName(int column)
{
    QString name;
    for (; column > 0; column = (column - 1) / 26)
        name.prepend(QChar(u'A' + (column - 1) % 26));
    return name;
}

QString cellPlace(int row, int column)
{
    return QStringLiteral("wiersz %1, kolumna %2").arg(row).arg(columnName(column));
}

SheetFormat detectFormat(const QByteArray &head)
{
    return head.startsWith("PK\x03\x04") ? SheetFormat::Xlsx : SheetFormat::Csv;
}

namespace {

QByteArray head(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SpreadsheetError(QStringLiteral("Nie można otworzyć pliku %1.").arg(QFileInfo(path).fileName()));
    if (file.size() > SheetLimits::FileBytes)
        throw SpreadsheetError(QStringLiteral("Plik %1 jest za duży (więcej niż %2 MB).")
                                   .arg(QFileInfo(path).fileName())
                                   .arg(SheetLimits::FileBytes / (1024 * 1024)));
    return file.read(4);
}

} // namespace

QStringList sheetNames(const QString &path)
{
    if (detectFormat(head(path)) == SheetFormat::Xlsx)
        return Xlsx::sheetNames(path);
    return {QFileInfo(path).completeBaseName()};
}

Sheet readSheet(const QString &path, const QString &sheet)
{
    if (detectFormat(head(path)) == SheetFormat::Xlsx)
        return Xlsx::read(path, sheet);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw SpreadsheetError(QStringLiteral("Nie można otworzyć pliku %1.").arg(QFileInfo(path).fileName()));
    Sheet read = Csv::read(file.readAll());
    read.name = QFileInfo(path).completeBaseName();
    return read;
}
