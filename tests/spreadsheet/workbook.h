#pragma once

// Workbooks as other programs write them, made by the tests: parts given as
// XML texts, zipped with QuaZip.

#include <quazip.h>
#include <quazipfile.h>
#include <quazipnewinfo.h>

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

using Parts = QList<QPair<QString, QByteArray>>;

inline bool zipParts(const QString &path, const Parts &parts)
{
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdCreate))
        return false;
    for (const auto &[name, bytes] : parts) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) || file.write(bytes) != bytes.size())
            return false;
        file.close();
    }
    zip.close();
    return zip.getZipError() == 0;
}

// A workbook of the given sheets (name, sheet XML's <sheetData> content),
// with shared strings, styles (style 1: a custom date format, style 2: the
// built-in date 14, style 3: an amount) and the 1900 or 1904 date system.
inline Parts workbookParts(const QList<QPair<QString, QByteArray>> &sheets, const QStringList &shared, bool date1904 = false)
{
    const QByteArray ns = R"(xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main")";
    const QByteArray relNs = R"(xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")";
    QByteArray sheetList, rels, overrides;
    Parts parts;
    for (int i = 0; i < sheets.size(); ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        sheetList += "<sheet name=\"" + sheets[i].first.toUtf8() + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n
                + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
                  "Target=\"worksheets/sheet" + n + ".xml\"/>";
        parts << qMakePair(QStringLiteral("xl/worksheets/sheet%1.xml").arg(i + 1),
                           "<?xml version=\"1.0\" encoding=\"UTF-8\"?><worksheet " + ns + "><sheetData>" + sheets[i].second
                               + "</sheetData></worksheet>");
    }
    QByteArray sst = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><sst " + ns + ">";
    for (const QString &s : shared)
        sst += "<si><t xml:space=\"preserve\">" + s.toHtmlEscaped().toUtf8() + "</t></si>";
    sst += "</sst>";
    parts << qMakePair(QStringLiteral("[Content_Types].xml"), QByteArray("<?xml version=\"1.0\"?><Types/>"))
          << qMakePair(QStringLiteral("xl/workbook.xml"),
                       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><workbook " + ns + " " + relNs + "><workbookPr"
                           + (date1904 ? " date1904=\"1\"" : "") + "/><sheets>" + sheetList + "</sheets></workbook>")
          << qMakePair(QStringLiteral("xl/_rels/workbook.xml.rels"),
                       "<?xml version=\"1.0\"?><Relationships "
                       "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">" + rels + "</Relationships>")
          << qMakePair(QStringLiteral("xl/sharedStrings.xml"), sst)
          << qMakePair(QStringLiteral("xl/styles.xml"),
                       "<?xml version=\"1.0\"?><styleSheet " + ns
                           + R"(><numFmts count="2"><numFmt numFmtId="165" formatCode="dd/mm/yyyy;@"/>)"
                             R"(<numFmt numFmtId="166" formatCode="#,##0.00\ &quot;zł&quot;"/></numFmts>)"
                             R"(<cellXfs count="4"><xf numFmtId="0"/><xf numFmtId="165"/><xf numFmtId="14"/><xf numFmtId="166"/></cellXfs>)"
                             R"(</styleSheet>)");
    return parts;
}
