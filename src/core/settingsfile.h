#pragma once

#include <QString>

// The print settings, shared by the whole program for the run: loaded from
// and saved to the settings file, edited in the print options window.
struct PrintSettings
{
    bool Cien = false;  // print the shaded areas of the forms
    int Duplex = 0;     // 0 no two-sided printing, 1 simplex, 2 vertical, 3 horizontal
    int FontSize = 0;   // points, for the overprint and the reports
    QString FontName;   // for the overprint and the reports
    QString Printer;    // the overprint's printer chosen last; empty: none or a PDF file
    QString PdfFile;    // the PDF file chosen last instead of a printer
};

// The one process-wide instance; false, 0, 0 and empty until the file is read.
PrintSettings &printSettings();

// Where a dialog for a PDF file opens: the folder of the PDF file chosen
// last, else the user's documents folder (the home folder without one).
QString pdfFolder();

// The main window's position and size, pixels.
struct MainWindowGeometry
{
    int Top = 70;
    int Left = 80;
    int Width = 686;
    int Height = 538;
};

// What the settings file holds; default-constructed it holds the values used
// for a missing file or key.
struct SettingsValues
{
    MainWindowGeometry Form;
    PrintSettings Print{false, 0, 10, QStringLiteral("Arial")};
};

// "Morvik_Vat5.ini": sections "Form" (Top, Left, Width, Height), "Config"
// (Cien, Duplex), "Font" (Size, Name) and "Printer" (Name, Pdf), in that order. The file is UTF-8;
// section and key names match whatever their case, the first of a repeated
// key counts. A missing or malformed value gives that key's default: a
// value that is not a whole number, a Duplex outside 0..3, a Size below 1,
// an empty Name. Cien is a number, any but 0 meaning on.
class SettingsFile
{
public:
    // The user's configuration directory for the program.
    static QString defaultPath();

    explicit SettingsFile(QString path = defaultPath());
    const QString &path() const { return m_path; }

    SettingsValues read() const;
    // Replaces the file as a whole, atomically; creates its directory. False
    // when the file could not be written (the old one then stays).
    bool write(const SettingsValues &values) const;

private:
    QString m_path;
};
