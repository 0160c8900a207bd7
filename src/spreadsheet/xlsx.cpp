#include "spreadsheet/xlsx.h"

#include <quazip.h>
#include <quazipfile.h>
#include <quazipfileinfo.h>
#include <quazipnewinfo.h>

#include <QBuffer>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>
#include <functional>

namespace {

// What one part of the archive may hold unpacked: far more than any sheet of
// SheetLimits needs, far less than a zip bomb gives.
constexpr qint64 PartBytes = 256LL * 1024 * 1024;

const QString MainNs = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
const QString RelNs = QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");

[[noreturn]] void damaged(const QString &why)
{
    throw SpreadsheetError(QStringLiteral("Plik nie jest poprawnym skoroszytem XLSX: %1.").arg(why));
}

// Characters XML cannot hold, and a carriage return, which XML reads as a
// line feed, are written "_xHHHH_", and a "_" that would
// read as such an escape is written "_x005F_".
QString escapeText(const QString &text)
{
    static const QRegularExpression escapeLike(QStringLiteral("_(?=x[0-9A-Fa-f]{4}_)"));
    QString escaped = QString(text).replace(escapeLike, QStringLiteral("_x005F_"));
    QString out;
    out.reserve(escaped.size());
    for (QChar c : escaped) {
        if (c.unicode() < 0x20 && c != u'\t' && c != u'\n')
            out += QStringLiteral("_x") + QString::number(c.unicode(), 16).toUpper().rightJustified(4, u'0') + u'_';
        else
            out += c;
    }
    return out;
}

QString unescapeText(const QString &text)
{
    if (!text.contains(QStringLiteral("_x")))
        return text;
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    qsizetype from = 0;
    for (auto it = escape.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(text).mid(from, m.capturedStart() - from);
        out += QChar(char16_t(m.captured(1).toUInt(nullptr, 16)));
        from = m.capturedEnd();
    }
    out += QStringView(text).mid(from);
    return out;
}

// One opened workbook: its archive, the names and places of its sheets,
// its shared strings and which of its cell styles show dates.
class Workbook
{
public:
    explicit Workbook(const QString &path) : m_zip(path)
    {
        if (!m_zip.open(QuaZip::mdUnzip))
            damaged(QStringLiteral("nie jest to archiwum ZIP lub archiwum jest uszkodzone"));
        readWorkbook();
    }

    QStringList names() const { return m_names; }

    Sheet read(const QString &name)
    {
        const qsizetype index = name.isEmpty() ? 0 : m_names.indexOf(name);
        if (index < 0 || index >= m_names.size())
            throw SpreadsheetError(name.isEmpty() ? QStringLiteral("Skoroszyt nie ma żadnego arkusza.")
                                                  : QStringLiteral("Skoroszyt nie ma arkusza „%1”.").arg(name));
        readSharedStrings();
        readStyles();
        Sheet sheet;
        sheet.name = m_names[index];
        sheet.rows = readSheet(m_paths[index]);
        return sheet;
    }

private:
    // Reads a part through the XML reader, element by element; a missing
    // part is no error when it is optional.
    bool part(const QString &name, const std::function<void(QXmlStreamReader &)> &element, bool required = true)
    {
        QString path = name.startsWith(u'/') ? name.mid(1) : name;
        if (!m_zip.setCurrentFile(path)) {
            if (required)
                damaged(QStringLiteral("brak części %1").arg(path));
            return false;
        }
        QuaZipFileInfo64 info;
        if (m_zip.getCurrentFileInfo(&info) && qint64(info.uncompressedSize) > PartBytes)
            damaged(QStringLiteral("część %1 jest za duża").arg(path));
        const QByteArray bytes = unpacked(path);
        QXmlStreamReader xml(bytes);
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement())
                element(xml);
        }
        if (xml.hasError())
            damaged(QStringLiteral("błąd w części %1, wiersz %2: %3").arg(path).arg(xml.lineNumber()).arg(xml.errorString()));
        return true;
    }

    // The current part, whole. Read before it is parsed: the XML reader
    // would ask a damaged stream for more again and again.
    QByteArray unpacked(const QString &path)
    {
        QuaZipFile file(&m_zip);
        if (!file.open(QIODevice::ReadOnly))
            damaged(QStringLiteral("nie można odczytać części %1").arg(path));
        QByteArray bytes;
        QByteArray chunk(64 * 1024, Qt::Uninitialized);
        for (;;) {
            const qint64 n = file.read(chunk.data(), chunk.size());
            if (n < 0 || file.getZipError() != UNZ_OK)
                damaged(QStringLiteral("uszkodzona część %1").arg(path));
            if (n == 0)
                break;
            bytes.append(chunk.constData(), n);
            // The declared size may lie: what is unpacked counts.
            if (bytes.size() > PartBytes)
                damaged(QStringLiteral("część %1 jest za duża").arg(path));
        }
        file.close();
        if (file.getZipError() != UNZ_OK)
            damaged(QStringLiteral("uszkodzona część %1").arg(path));
        return bytes;
    }

    void readWorkbook()
    {
        QStringList ids;
        part(QStringLiteral("xl/workbook.xml"), [&](QXmlStreamReader &xml) {
            if (xml.name() == u"sheet") {
                m_names << xml.attributes().value(QStringLiteral("name")).toString();
                ids << xml.attributes().value(RelNs, QStringLiteral("id")).toString();
            } else if (xml.name() == u"workbookPr") {
                const auto v = xml.attributes().value(QStringLiteral("date1904"));
                m_date1904 = v == u"1" || v == u"true";
            }
        });
        QHash<QString, QString> targets;
        part(QStringLiteral("xl/_rels/workbook.xml.rels"), [&](QXmlStreamReader &xml) {
            if (xml.name() == u"Relationship")
                targets.insert(xml.attributes().value(QStringLiteral("Id")).toString(),
                               xml.attributes().value(QStringLiteral("Target")).toString());
        });
        for (const QString &id : ids) {
            const QString target = targets.value(id);
            if (target.isEmpty())
                damaged(QStringLiteral("arkusz bez swojej części"));
            m_paths << (target.startsWith(u'/') ? target : QStringLiteral("xl/") + target);
        }
    }

    void readSharedStrings()
    {
        QString *current = nullptr;
        part(QStringLiteral("xl/sharedStrings.xml"), [&](QXmlStreamReader &xml) {
            if (xml.name() == u"si") {
                m_strings << QString();
                current = &m_strings.last();
            } else if (xml.name() == u"rPh") {
                xml.skipCurrentElement(); // its reading aid is no part of the text
            } else if (xml.name() == u"t" && current) {
                *current += xml.readElementText();
                if (current->size() > SheetLimits::CellChars)
                    throw SpreadsheetError(QStringLiteral("Tekst nr %1 skoroszytu ma więcej niż %2 znaków.")
                                               .arg(m_strings.size())
                                               .arg(SheetLimits::CellChars));
            }
        }, false);
    }

    void readStyles()
    {
        QSet<int> dateFormats{14, 15, 16, 17, 18, 19, 20, 21, 22, 45, 46, 47};
        bool inCellXfs = false;
        part(QStringLiteral("xl/styles.xml"), [&](QXmlStreamReader &xml) {
            const auto attr = [&](const char *name) { return xml.attributes().value(QLatin1String(name)); };
            if (xml.name() == u"numFmt") {
                // A format that shows a day or a year shows a date; quoted
                // texts and [...] sections say nothing.
                static const QRegularExpression noise(QStringLiteral(R"("[^"]*"|\[[^\]]*\]|\\.)"));
                const QString code = attr("formatCode").toString().remove(noise).toLower();
                if (code.contains(u'd') || code.contains(u'y'))
                    dateFormats.insert(attr("numFmtId").toInt());
            } else if (xml.name() == u"cellXfs") {
                inCellXfs = true;
            } else if (xml.name() == u"cellStyleXfs" || xml.name() == u"dxfs") {
                inCellXfs = false;
            } else if (xml.name() == u"xf" && inCellXfs) {
                m_xfFormats << attr("numFmtId").toInt();
            }
        }, false);
        for (int &format : m_xfFormats)
            format = dateFormats.contains(format) ? 1 : 0;
    }

    bool isDateStyle(int style) const { return style >= 0 && style < m_xfFormats.size() && m_xfFormats[style] == 1; }

    QString number(const QString &value, int style) const
    {
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok || !std::isfinite(d) || std::abs(d) >= 1e15)
            return value;
        if (isDateStyle(style)) {
            const qint64 days = qint64(std::floor(d));
            const QDate base = m_date1904 ? QDate(1904, 1, 1) : days >= 61 ? QDate(1899, 12, 30) : QDate(1899, 12, 31);
            if (days >= 1 && days <= 2958465)
                return base.addDays(days).toString(Qt::ISODate);
        }
        // Ten decimals drop the binary noise of a stored 0.1 + 0.2, and no
        // more: an amount's true decimals stay for the reading rule to judge.
        QString text = QString::number(d, 'f', 10);
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
        return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
    }

    static int columnOf(QStringView ref)
    {
        int column = 0;
        for (QChar c : ref) {
            if (c < u'A' || c > u'Z')
                break;
            column = column * 26 + (c.unicode() - u'A' + 1);
            if (column > SheetLimits::Columns)
                return column;
        }
        return column;
    }

    QList<QStringList> readSheet(const QString &path)
    {
        QList<QStringList> rows;
        int row = 0;
        int column = 0;
        QString type;
        int style = -1;
        QString value;
        bool hasValue = false;
        const auto place = [&](const QString &text) {
            if (row > SheetLimits::Rows)
                throw SpreadsheetError(QStringLiteral("Arkusz ma więcej niż %1 wierszy.").arg(SheetLimits::Rows), row);
            if (column > SheetLimits::Columns)
                throw SpreadsheetError(QStringLiteral("Wiersz %1 ma więcej niż %2 kolumn.").arg(row).arg(SheetLimits::Columns),
                                       row);
            if (text.size() > SheetLimits::CellChars)
                throw SpreadsheetError(QStringLiteral("Komórka (%1) ma więcej niż %2 znaków.")
                                           .arg(cellPlace(row, column))
                                           .arg(SheetLimits::CellChars),
                                       row, column);
            while (rows.size() < row)
                rows << QStringList();
            QStringList &cells = rows[row - 1];
            while (cells.size() < column)
                cells << QString();
            cells[column - 1] = text;
        };
        const auto finishCell = [&] {
            if (!hasValue || row < 1 || column < 1)
                return;
            if (type == u"s") {
                bool ok = false;
                const int index = value.trimmed().toInt(&ok);
                if (!ok || index < 0 || index >= m_strings.size())
                    throw SpreadsheetError(QStringLiteral("Komórka (%1) wskazuje tekst, którego skoroszyt nie ma.")
                                               .arg(cellPlace(row, column)),
                                           row, column);
                place(unescapeText(m_strings[index]));
            } else if (type == u"str" || type == u"inlineStr" || type == u"e") {
                place(unescapeText(value));
            } else if (type == u"b") {
                place(value.trimmed() == u"1" ? QStringLiteral("1") : QStringLiteral("0"));
            } else {
                place(number(value.trimmed(), style));
            }
        };
        int lastColumn = 0;
        part(path, [&](QXmlStreamReader &xml) {
            const auto attr = [&](const char *name) { return xml.attributes().value(QLatin1String(name)); };
            if (xml.name() == u"row") {
                const auto r = attr("r");
                row = r.isEmpty() ? row + 1 : r.toInt();
                if (row < 1)
                    damaged(QStringLiteral("wiersz bez numeru"));
                if (row > SheetLimits::Rows)
                    throw SpreadsheetError(QStringLiteral("Arkusz ma więcej niż %1 wierszy.").arg(SheetLimits::Rows), row);
                lastColumn = 0;
            } else if (xml.name() == u"c") {
                const auto r = attr("r");
                column = r.isEmpty() ? lastColumn + 1 : columnOf(r);
                if (column < 1)
                    damaged(QStringLiteral("komórka bez kolumny w wierszu %1").arg(row));
                lastColumn = column;
                type = attr("t").toString();
                style = attr("s").isEmpty() ? -1 : attr("s").toInt();
                value.clear();
                hasValue = false;
                // The cell's children, up to its end: its value, an inline
                // text, a formula whose result the value is.
                while (!xml.atEnd()) {
                    xml.readNext();
                    if (xml.isEndElement() && xml.name() == u"c")
                        break;
                    if (!xml.isStartElement())
                        continue;
                    if (xml.name() == u"v") {
                        value = xml.readElementText();
                        hasValue = true;
                    } else if (xml.name() == u"t") {
                        value += xml.readElementText();
                        hasValue = true;
                    } else if (xml.name() == u"rPh") {
                        xml.skipCurrentElement();
                    }
                    if (value.size() > SheetLimits::CellChars)
                        break;
                }
                finishCell();
            }
        });
        return rows;
    }

    QuaZip m_zip;
    QStringList m_names;
    QStringList m_paths;
    QStringList m_strings;
    QList<int> m_xfFormats; // by cell style: 1 when it shows a date
    bool m_date1904 = false;
};

// --- writing ----------------------------------------------------------------

QString decimalText(Money amount)
{
    QString text = amount.format(4, false).replace(u',', u'.');
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u'.'))
        text.chop(1);
    return text;
}

QByteArray xml(const std::function<void(QXmlStreamWriter &)> &body)
{
    QByteArray bytes;
    QXmlStreamWriter w(&bytes);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    body(w);
    w.writeEndDocument();
    return bytes;
}

QByteArray worksheet(const QList<OutputRow> &rows)
{
    return xml([&](QXmlStreamWriter &w) {
        w.writeStartElement(QStringLiteral("worksheet"));
        w.writeDefaultNamespace(MainNs);
        w.writeStartElement(QStringLiteral("sheetData"));
        for (int r = 0; r < rows.size(); ++r) {
            w.writeStartElement(QStringLiteral("row"));
            w.writeAttribute(QStringLiteral("r"), QString::number(r + 1));
            for (int c = 0; c < rows[r].size(); ++c) {
                const OutputCell &cell = rows[r][c];
                w.writeStartElement(QStringLiteral("c"));
                w.writeAttribute(QStringLiteral("r"), columnName(c + 1) + QString::number(r + 1));
                if (const auto *s = std::get_if<QString>(&cell)) {
                    w.writeAttribute(QStringLiteral("t"), QStringLiteral("inlineStr"));
                    w.writeStartElement(QStringLiteral("is"));
                    w.writeStartElement(QStringLiteral("t"));
                    w.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
                    w.writeCharacters(escapeText(*s));
                    w.writeEndElement();
                    w.writeEndElement();
                } else if (const auto *d = std::get_if<QDate>(&cell)) {
                    if (d->isValid()) {
                        w.writeAttribute(QStringLiteral("s"), QStringLiteral("1"));
                        w.writeTextElement(QStringLiteral("v"), QString::number(QDate(1899, 12, 30).daysTo(*d)));
                    }
                } else {
                    w.writeAttribute(QStringLiteral("s"), QStringLiteral("2"));
                    w.writeTextElement(QStringLiteral("v"), decimalText(std::get<Money>(cell)));
                }
                w.writeEndElement();
            }
            w.writeEndElement();
        }
        w.writeEndElement();
        w.writeEndElement();
    });
}

QByteArray workbook(const QString &sheetName)
{
    return xml([&](QXmlStreamWriter &w) {
        w.writeStartElement(QStringLiteral("workbook"));
        w.writeDefaultNamespace(MainNs);
        w.writeNamespace(RelNs, QStringLiteral("r"));
        w.writeStartElement(QStringLiteral("sheets"));
        w.writeStartElement(QStringLiteral("sheet"));
        w.writeAttribute(QStringLiteral("name"), sheetName);
        w.writeAttribute(QStringLiteral("sheetId"), QStringLiteral("1"));
        w.writeAttribute(RelNs, QStringLiteral("id"), QStringLiteral("rId1"));
        w.writeEndElement();
        w.writeEndElement();
        w.writeEndElement();
    });
}

const char ContentTypes[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
    R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)"
    R"(<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>)"
    R"(</Types>)";

const char PackageRels[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
    R"(</Relationships>)";

const char WorkbookRels[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
    R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
    R"(</Relationships>)";

// Style 1: a date "dd-mm-yyyy"; style 2: an amount "#,##0.00" (built-in 4).
const char Styles[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
    R"(<numFmts count="1"><numFmt numFmtId="164" formatCode="dd\-mm\-yyyy"/></numFmts>)"
    R"(<fonts count="1"><font><sz val="11"/><name val="Calibri"/></font></fonts>)"
    R"(<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>)"
    R"(<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>)"
    R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
    R"(<cellXfs count="3"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>)"
    R"(<xf numFmtId="164" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>)"
    R"(<xf numFmtId="4" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/></cellXfs>)"
    R"(</styleSheet>)";

} // namespace

QStringList Xlsx::sheetNames(const QString &path)
{
    return Workbook(path).names();
}

Sheet Xlsx::read(const QString &path, const QString &sheet)
{
    return Workbook(path).read(sheet);
}

bool Xlsx::write(const QString &path, const QString &sheetName, const QList<OutputRow> &rows)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    const std::pair<const char *, QByteArray> parts[] = {
        {"[Content_Types].xml", QByteArray(ContentTypes)},
        {"_rels/.rels", QByteArray(PackageRels)},
        {"xl/workbook.xml", workbook(sheetName)},
        {"xl/_rels/workbook.xml.rels", QByteArray(WorkbookRels)},
        {"xl/styles.xml", QByteArray(Styles)},
        {"xl/worksheets/sheet1.xml", worksheet(rows)},
    };
    for (const auto &[name, bytes] : parts) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(QString::fromLatin1(name))) || file.write(bytes) != bytes.size())
            return false;
        file.close();
        if (file.getZipError() != ZIP_OK)
            return false;
    }
    zip.close();
    return zip.getZipError() == ZIP_OK;
}
