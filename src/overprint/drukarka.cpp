#include "overprint/drukarka.h"

#include "core/settingsfile.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinterInfo>

Drukarka::Drukarka(QObject *parent)
    : QObject(parent), m_printer(QPrinter::HighResolution)
{
    if (QPrinterInfo::defaultPrinter().isNull())
        m_printer.setOutputFormat(QPrinter::PdfFormat);
}

QString Drukarka::Nazwa() const
{
    if (m_printer.outputFormat() == QPrinter::NativeFormat)
        return m_printer.printerName();
    if (m_plik.isEmpty())
        return QStringLiteral("brak drukarki (wybierz plik PDF)");
    return QStringLiteral("plik PDF: %1").arg(m_plik);
}

QString Drukarka::BrakWyboru()
{
    return QStringLiteral("Nie wybrano drukarki ani pliku PDF.\rWybierz je przyciskiem „Drukarka”.");
}

bool Drukarka::Wybrana() const
{
    return m_printer.outputFormat() == QPrinter::NativeFormat || !m_plik.isEmpty();
}

void Drukarka::Przywroc(const PrintSettings &ustawienia)
{
    if (!ustawienia.Printer.isEmpty() && !QPrinterInfo::printerInfo(ustawienia.Printer).isNull())
        DrukujNa(ustawienia.Printer);
    else if (!ustawienia.PdfFile.isEmpty())
        DrukujDoPliku(ustawienia.PdfFile);
}

void Drukarka::DrukujNa(const QString &drukarka)
{
    m_printer.setOutputFormat(QPrinter::NativeFormat);
    m_printer.setPrinterName(drukarka);
    m_plik.clear();
    m_dokumentow = 0;
    printSettings().Printer = drukarka;
}

void Drukarka::DrukujDoPliku(const QString &path)
{
    m_printer.setOutputFormat(QPrinter::PdfFormat);
    m_plik = path;
    m_dokumentow = 0;
    printSettings().Printer.clear();
    printSettings().PdfFile = path;
}

QStringList Drukarka::PlikiSerii(int dokumentow) const
{
    QStringList pliki;
    if (m_printer.outputFormat() == QPrinter::PdfFormat && !m_plik.isEmpty())
        for (int numer = 1; numer <= dokumentow; ++numer)
            pliki << PlikDokumentu(numer);
    return pliki;
}

QString Drukarka::PlikDokumentu(int numer) const
{
    if (numer <= 1)
        return m_plik;
    const QFileInfo plik(m_plik);
    return plik.dir().filePath(QStringLiteral("%1-%2.pdf").arg(plik.completeBaseName()).arg(numer));
}

DokumentDruku::DokumentDruku(Drukarka &drukarka, const QString &tytul,
                             QPageLayout::Orientation orientacja)
    : m_printer(drukarka.m_printer)
{
    if (m_printer.outputFormat() == QPrinter::PdfFormat) {
        if (drukarka.m_plik.isEmpty())
            throw BladDrukarki(Drukarka::BrakWyboru());
        m_printer.setOutputFileName(drukarka.PlikDokumentu(drukarka.m_dokumentow + 1));
    }
    m_printer.setDocName(tytul);
    m_printer.setPageOrientation(orientacja);
    if (!m_painter.begin(&m_printer))
        throw BladDrukarki(QStringLiteral("Nie można rozpocząć wydruku „%1” na drukarce %2.")
                               .arg(tytul, drukarka.Nazwa()));
    ++drukarka.m_dokumentow;
    emit drukarka.dokumentZaczety(tytul);
}

DokumentDruku::~DokumentDruku()
{
    m_painter.end();
}

int DokumentDruku::DpiX() const
{
    return m_printer.logicalDpiX();
}

int DokumentDruku::DpiY() const
{
    return m_printer.logicalDpiY();
}

QPoint DokumentDruku::Przesuniecie() const
{
    if (m_printer.fullPage())
        return {};
    return m_printer.pageLayout().paintRectPixels(m_printer.resolution()).topLeft();
}
