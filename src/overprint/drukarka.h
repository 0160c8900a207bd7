#pragma once

#include <QObject>
#include <QPageLayout>
#include <QPainter>
#include <QPoint>
#include <QPrinter>
#include <QString>

#include <stdexcept>

// A failure of the printer: none chosen, or a document that cannot be begun.
// The message is for the user.
class BladDrukarki : public std::runtime_error
{
public:
    explicit BladDrukarki(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &message() const { return m_message; }

private:
    QString m_message;
};

struct PrintSettings;

// The program's printer: the one printer every overprint page prints on,
// chosen once and kept for the whole run, and remembered in the print
// settings for the next run. Without a printer on the system it prints into
// PDF files; as every overprint page is a document of its own, each document
// then gets its own file (the first under the chosen name, the next ones
// numbered), so that no page overwrites another.
//
// It prints at the device's own resolution (600 or 1200 dpi and more), so
// that a position in millimetres is rounded to the device's dots, not to the
// screen's 0.26 mm.
class Drukarka : public QObject
{
    Q_OBJECT
public:
    // The system's default printer, or PDF output with no file yet.
    explicit Drukarka(QObject *parent = nullptr);

    QPrinter &printer() { return m_printer; }
    // The printer's name, or the PDF file the documents go to.
    QString Nazwa() const;
    // Whether a printer or a PDF file is chosen: without either nothing prints.
    bool Wybrana() const;
    // What the user is told when nothing is chosen.
    static QString BrakWyboru();
    // The printer or PDF file remembered in the settings, when that printer
    // is still there (a file is taken as it is).
    void Przywroc(const PrintSettings &ustawienia);

    // Prints on the system's printer of this name from now on.
    void DrukujNa(const QString &drukarka);
    // Prints into PDF files from now on: the first document to path, the
    // next ones beside it as "<name>-2.pdf", "<name>-3.pdf" and so on.
    void DrukujDoPliku(const QString &path);
    // The files that a series of this many documents writes; none on a printer.
    QStringList PlikiSerii(int dokumentow) const;
    // Starts numbering the files anew (one print run of the print dialog).
    void NowaSeria() { m_dokumentow = 0; }
    // The file the document of the given number (from 1) of a series goes to.
    QString PlikDokumentu(int numer) const;

signals:
    // A document was begun, with its title: for the status of a print run.
    void dokumentZaczety(const QString &tytul);

private:
    friend class DokumentDruku;
    QPrinter m_printer;
    QString m_plik;       // PDF output: the chosen file
    int m_dokumentow = 0; // documents begun in this series
};

// One print document on the program's printer: begun by the constructor and
// ended by the destructor, also when printing fails half-way.
class DokumentDruku
{
public:
    // Throws BladDrukarki when no printer or file is chosen or the document
    // cannot be begun.
    DokumentDruku(Drukarka &drukarka, const QString &tytul, QPageLayout::Orientation orientacja);
    ~DokumentDruku();
    DokumentDruku(const DokumentDruku &) = delete;
    DokumentDruku &operator=(const DokumentDruku &) = delete;

    // The canvas of the page. Its origin is the corner of the printable area.
    QPainter &Plotno() { return m_painter; }
    int DpiX() const;
    int DpiY() const;
    // The printing offset: the corner of the printable area, in device
    // pixels from the corner of the sheet; zero when the device has no
    // unprintable edge.
    QPoint Przesuniecie() const;

private:
    QPrinter &m_printer;
    QPainter m_painter;
};
