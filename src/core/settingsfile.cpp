#include "core/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStandardPaths>

#include <limits>
#include <optional>

namespace {

// The ini text as "section/key" (lower case) to the trimmed value.
class IniValues
{
public:
    explicit IniValues(const QString &text)
    {
        QString section;
        for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
            line = line.trimmed();
            if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
                section = line.mid(1, line.size() - 2).trimmed().toString();
                continue;
            }
            const qsizetype eq = line.indexOf(QLatin1Char('='));
            if (eq <= 0 || line.startsWith(QLatin1Char(';')))
                continue;
            const QString key = name(section, line.left(eq).trimmed());
            if (!m_values.contains(key))
                m_values.insert(key, line.mid(eq + 1).trimmed().toString());
        }
    }

    std::optional<QString> text(QStringView section, QStringView key) const
    {
        const auto it = m_values.constFind(name(section, key));
        return it == m_values.cend() ? std::nullopt : std::optional(*it);
    }

    // The value as a whole number within [low, high], else nothing.
    std::optional<int> number(QStringView section, QStringView key, int low, int high) const
    {
        const auto value = text(section, key);
        bool ok = false;
        const int n = value ? value->toInt(&ok) : 0;
        return ok && n >= low && n <= high ? std::optional(n) : std::nullopt;
    }

private:
    static QString name(QStringView section, QStringView key)
    {
        return (section.toString() + QLatin1Char('/') + key.toString()).toLower();
    }

    QHash<QString, QString> m_values;
};

void readNumber(const IniValues &ini, QStringView section, QStringView key, int &target,
                int low = std::numeric_limits<int>::min(),
                int high = std::numeric_limits<int>::max())
{
    if (const auto n = ini.number(section, key, low, high))
        target = *n;
}

} // namespace

PrintSettings &printSettings()
{
    static PrintSettings settings;
    return settings;
}

QString pdfFolder()
{
    const QFileInfo last(printSettings().PdfFile);
    if (!printSettings().PdfFile.isEmpty() && last.absoluteDir().exists())
        return last.absolutePath();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(documents).exists() ? documents : QDir::homePath();
}

QString SettingsFile::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
        + QStringLiteral("/Morvik_Vat5.ini");
}

SettingsFile::SettingsFile(QString path) : m_path(std::move(path)) {}

SettingsValues SettingsFile::read() const
{
    SettingsValues v;
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return v;
    const IniValues ini(QString::fromUtf8(file.readAll()));

    readNumber(ini, u"Form", u"Top", v.Form.Top);
    readNumber(ini, u"Form", u"Left", v.Form.Left);
    readNumber(ini, u"Form", u"Width", v.Form.Width);
    readNumber(ini, u"Form", u"Height", v.Form.Height);
    int cien = v.Print.Cien;
    readNumber(ini, u"Config", u"Cien", cien);
    v.Print.Cien = cien != 0;
    readNumber(ini, u"Config", u"Duplex", v.Print.Duplex, 0, 3);
    readNumber(ini, u"Font", u"Size", v.Print.FontSize, 1);
    if (const auto name = ini.text(u"Font", u"Name"); name && !name->isEmpty())
        v.Print.FontName = *name;
    v.Print.Printer = ini.text(u"Printer", u"Name").value_or(QString());
    v.Print.PdfFile = ini.text(u"Printer", u"Pdf").value_or(QString());
    return v;
}

bool SettingsFile::write(const SettingsValues &v) const
{
    const QString text = QStringLiteral(
        "[Form]\nTop=%1\nLeft=%2\nWidth=%3\nHeight=%4\n\n"
        "[Config]\nCien=%5\nDuplex=%6\n\n"
        "[Font]\nSize=%7\nName=%8\n\n"
        "[Printer]\nName=%9\nPdf=%10\n")
        .arg(QString::number(v.Form.Top), QString::number(v.Form.Left),
             QString::number(v.Form.Width), QString::number(v.Form.Height),
             QString::number(v.Print.Cien ? 1 : 0), QString::number(v.Print.Duplex),
             QString::number(v.Print.FontSize), v.Print.FontName, v.Print.Printer, v.Print.PdfFile);

    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    QSaveFile file(m_path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit();
}
