#include "reports/engine/qrpreview.h"

#include "reports/engine/qrcomposite.h"

#include <QAction>
#include <QFileDialog>
#include <QGraphicsView>
#include <QIcon>
#include <QPrintPreviewWidget>
#include <QScrollBar>
#include <QToolBar>

namespace {

QString StandardSaveDialog(QWidget *parent, const QString &suggestedName)
{
    return QFileDialog::getSaveFileName(parent, QStringLiteral("Eksport do PDF"), suggestedName,
                                        QStringLiteral("Pliki PDF (*.pdf)"));
}

TQRPreview::FileChooser &Chooser()
{
    static TQRPreview::FileChooser chooser = StandardSaveDialog;
    return chooser;
}

} // namespace

void TQRPreview::SetFileChooser(FileChooser chooser)
{
    Chooser() = chooser ? std::move(chooser) : FileChooser(StandardSaveDialog);
}

TQRPreview::TQRPreview(const TQRComposite &report, const QString &pdfFileName, Warning warning,
                       QWidget *parent)
    : m_report(report), m_pdfFileName(pdfFileName), m_warning(std::move(warning)), m_dialog(&m_printer, parent)
{
    m_report.ApplyTo(m_printer);
    m_dialog.setWindowTitle(report.Title);
    QObject::connect(&m_dialog, &QPrintPreviewDialog::paintRequested, &m_dialog, [this](QPrinter *printer) {
        m_report.Render(*printer);
        // The preview lays out all its pages in the orientation the printer
        // is left in: that of the first page.
        if (!m_report.Pages().empty())
            printer->setPageOrientation(m_report.Pages().front()->Orientation);
    });
    if (auto *toolBar = m_dialog.findChild<QToolBar *>()) {
        toolBar->addSeparator();
        m_exportAction = toolBar->addAction(QIcon::fromTheme(QStringLiteral("document-save-as")),
                                            QStringLiteral("Eksport do PDF"));
        QObject::connect(m_exportAction, &QAction::triggered, &m_dialog, [this] { ExportPdf(); });
    }
    m_dialog.setWindowState(m_dialog.windowState() | Qt::WindowMaximized);
    ZoomToPageWidth();
    KeepAtTheTop();
}

// The toolkit's preview keeps the scroll position of its first, smaller
// layout when it grows to the page's width, a quarter page down. Until the
// user scrolls or uses the toolbar, every new layout shows the top of the
// first page, where the identifiers are.
void TQRPreview::KeepAtTheTop()
{
    auto *widget = m_dialog.findChild<QPrintPreviewWidget *>();
    auto *view = widget ? widget->findChild<QGraphicsView *>() : nullptr;
    if (!view)
        return;
    QScrollBar *scroll = view->verticalScrollBar();
    const auto toTheTop = [scroll] { scroll->setValue(scroll->minimum()); };
    QObject::connect(widget, &QPrintPreviewWidget::previewChanged, scroll, toTheTop);
    QObject::connect(scroll, &QScrollBar::rangeChanged, scroll, toTheTop);
    const auto userMoved = [widget, scroll] {
        QObject::disconnect(widget, &QPrintPreviewWidget::previewChanged, scroll, nullptr);
        QObject::disconnect(scroll, &QScrollBar::rangeChanged, scroll, nullptr);
    };
    QObject::connect(scroll, &QScrollBar::actionTriggered, scroll, userMoved);
    if (auto *toolBar = m_dialog.findChild<QToolBar *>())
        QObject::connect(toolBar, &QToolBar::actionTriggered, scroll, userMoved);
}

void TQRPreview::ZoomToPageWidth()
{
    // The dialog's own action, so that its toolbar shows the zoom it is in.
    if (auto *fitWidth = m_dialog.findChild<QAction *>(QStringLiteral("fitWidthAction")))
        fitWidth->trigger();
}

int TQRPreview::Exec()
{
    return m_dialog.exec();
}

bool TQRPreview::ExportPdf()
{
    const QString fileName = Chooser()(&m_dialog, m_pdfFileName);
    if (fileName.isEmpty())
        return false;
    if (m_report.ExportPdf(fileName))
        return true;
    m_warning(QStringLiteral("Nie udało się zapisać pliku: ") + fileName);
    return false;
}
