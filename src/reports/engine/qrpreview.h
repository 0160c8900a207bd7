#pragma once

#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QString>

#include <functional>

class QAction;
class QWidget;
class TQRComposite;

// The preview of a composite report: the toolkit's print preview, maximised
// and zoomed to the page width, drawn by the composite's one render road,
// with an added action that exports all the pages to one PDF.
//
// The toolkit's preview asks for the whole document before it shows the
// first page, so every page is drawn then; drawing is kept cheap instead
// (no images, a page is a few hundred drawing calls, about a millisecond),
// so the wait hardly grows with the number of pages.
class TQRPreview
{
public:
    // Asks where to save the PDF, suggesting a name; empty: cancelled.
    using FileChooser = std::function<QString(QWidget *parent, const QString &suggestedName)>;
    // The road by which the export asks for its file, so that tests can
    // answer; an empty chooser restores the standard save dialog.
    static void SetFileChooser(FileChooser chooser);

    // How a failure is told to the user: the program's message boxes.
    using Warning = std::function<void(const QString &message)>;

    TQRPreview(const TQRComposite &report, const QString &pdfFileName, Warning warning,
               QWidget *parent = nullptr);
    TQRPreview(const TQRPreview &) = delete;
    TQRPreview &operator=(const TQRPreview &) = delete;

    // Shows the preview modally, maximised.
    int Exec();
    QPrintPreviewDialog &Dialog() { return m_dialog; }
    QAction *ExportAction() const { return m_exportAction; }
    // Asks for the file and writes the PDF; false when cancelled or failed
    // (a file that cannot be written is named in a warning).
    bool ExportPdf();

private:
    void ZoomToPageWidth();
    void KeepAtTheTop();

    const TQRComposite &m_report;
    QString m_pdfFileName;
    Warning m_warning;
    QPrinter m_printer{QPrinter::HighResolution};
    QPrintPreviewDialog m_dialog;
    QAction *m_exportAction = nullptr;
};
