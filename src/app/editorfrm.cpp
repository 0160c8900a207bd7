#include "app/editorfrm.h"

#include "data/dataerror.h"
#include "widgets/richtext.h"
#include "app/shellicons.h"
#include "data/tdm.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QCollator>
#include <QComboBox>
#include <QEventLoop>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextList>
#include <QToolBar>

namespace {

// A hint "tooltip|status-bar text".
template <class Target>
void ustawPodpowiedz(Target *target, const QString &hint)
{
    target->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
    target->setStatusTip(hint.section(QLatin1Char('|'), 1));
}

// The classic user-interface font at the size of the platform's default font.
QFont domyslnaCzcionka()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    const QFont systemowa = QApplication::font();
    font.setPointSizeF(systemowa.pointSizeF() > 0 ? systemowa.pointSizeF() : QFontInfo(systemowa).pointSizeF());
    return font;
}

} // namespace

TEditorFrm::TEditorFrm(TDM &dm, QWidget *parent) : QMainWindow(parent), dm(dm)
{
    setObjectName(QStringLiteral("EditorFrm"));
    resize(620, 420);

    Editor = new QTextEdit;
    Editor->setObjectName(QStringLiteral("Editor"));
    Editor->setFont(domyslnaCzcionka());
    Editor->setAcceptRichText(true);
    Editor->document()->setDocumentMargin(6);
    setCentralWidget(Editor);

    utworzPolecenia();
    utworzMenu();
    utworzPasek();
    utworzStatus();

    connect(Editor, &QTextEdit::currentCharFormatChanged, this, &TEditorFrm::UstawPasek);
    connect(Editor, &QTextEdit::cursorPositionChanged, this, &TEditorFrm::UstawPasek);
    connect(Editor, &QTextEdit::undoAvailable, CofnijCmd, &QAction::setEnabled);
    connect(Editor, &QTextEdit::copyAvailable, WytnijCmd, &QAction::setEnabled);
    connect(Editor, &QTextEdit::copyAvailable, KopiujCmd, &QAction::setEnabled);
    connect(Editor->document(), &QTextDocument::modificationChanged, this,
            [this](bool zmieniony) { m_zmiana->setText(zmieniony ? QStringLiteral("Zmodyfikowano") : QString()); });
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, &TEditorFrm::UstawWklej);

    CofnijCmd->setEnabled(false);
    WytnijCmd->setEnabled(false);
    KopiujCmd->setEnabled(false);
    UstawWklej();
    UstawPasek();
}

QAction *TEditorFrm::polecenie(const char *name, const QString &text, const QString &hint, const QKeySequence &key,
                               const QIcon &icon)
{
    auto *action = new QAction(icon, text, this);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    if (!hint.isEmpty())
        ustawPodpowiedz(action, hint);
    return action;
}

QAction *TEditorFrm::przelacznik(const char *name, const QString &text, const QIcon &icon)
{
    QAction *action = polecenie(name, text, {}, {}, icon);
    action->setCheckable(true);
    return action;
}

void TEditorFrm::utworzPolecenia()
{
    ZapiszCmd = polecenie("ZapiszCmd", QStringLiteral("&Zapisz"), QStringLiteral("Zapisz|Zapisz zmiany"),
                          QKeySequence(Qt::CTRL | Qt::Key_S),
                          themeIcon(QStringLiteral("document-save"), QStyle::SP_DialogSaveButton));
    DrukujCmd = polecenie("DrukujCmd", QStringLiteral("&Drukuj"), QStringLiteral("Drukuj|Drukuj bieżący tekst"),
                          QKeySequence(Qt::CTRL | Qt::Key_P), themeIcon(QStringLiteral("document-print")));
    ZamknijCmd = polecenie("ZamknijCmd", QStringLiteral("Zamknij"), QStringLiteral("Zamknij|Zamknij edytor"),
                           QKeySequence(Qt::ALT | Qt::Key_X), {});
    CofnijCmd = polecenie("CofnijCmd", QStringLiteral("&Cofnij"), QStringLiteral("Cofnij|Cofnij ostatnią operację"),
                          QKeySequence(Qt::CTRL | Qt::Key_Z), themeIcon(QStringLiteral("edit-undo"), QStyle::SP_ArrowBack));
    WytnijCmd = polecenie("WytnijCmd", QStringLiteral("Wyt&nij"), QStringLiteral("Wytnij|Przenieś do schowka"),
                          QKeySequence(Qt::CTRL | Qt::Key_X), themeIcon(QStringLiteral("edit-cut")));
    KopiujCmd = polecenie("KopiujCmd", QStringLiteral("&Kopiuj"), QStringLiteral("Kopiuj|Kopij do schowka"),
                          QKeySequence(Qt::CTRL | Qt::Key_C), themeIcon(QStringLiteral("edit-copy")));
    WklejCmd = polecenie("WklejCmd", QStringLiteral("&Wklej"), QStringLiteral("Wklej|Wstaw ze schowka"),
                         QKeySequence(Qt::CTRL | Qt::Key_V), themeIcon(QStringLiteral("edit-paste")));
    CzcionkaCmd = polecenie("CzcionkaCmd", QStringLiteral("&Czcionka..."), {}, {}, {});

    connect(ZapiszCmd, &QAction::triggered, this, &TEditorFrm::Zapisz);
    connect(DrukujCmd, &QAction::triggered, this, &TEditorFrm::DrukujClick);
    connect(ZamknijCmd, &QAction::triggered, this, &QWidget::close);
    connect(CofnijCmd, &QAction::triggered, Editor, &QTextEdit::undo);
    connect(WytnijCmd, &QAction::triggered, Editor, &QTextEdit::cut);
    connect(KopiujCmd, &QAction::triggered, Editor, &QTextEdit::copy);
    connect(WklejCmd, &QAction::triggered, Editor, &QTextEdit::paste);
    connect(CzcionkaCmd, &QAction::triggered, this, &TEditorFrm::CzcionkaClick);

    PogrubienieBtn = przelacznik("PogrubienieBtn", QStringLiteral("Pogrubienie"),
                                 themeIcon(QStringLiteral("format-text-bold")));
    KursywaBtn = przelacznik("KursywaBtn", QStringLiteral("Kursywa"), themeIcon(QStringLiteral("format-text-italic")));
    PodkreslenieBtn = przelacznik("PodkreslenieBtn", QStringLiteral("Podkreślenie"),
                                  themeIcon(QStringLiteral("format-text-underline")));
    connect(PogrubienieBtn, &QAction::toggled, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontWeight(on ? QFont::Bold : QFont::Normal);
        ZastosujFormat(format);
    });
    connect(KursywaBtn, &QAction::toggled, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontItalic(on);
        ZastosujFormat(format);
    });
    connect(PodkreslenieBtn, &QAction::toggled, this, [this](bool on) {
        QTextCharFormat format;
        format.setFontUnderline(on);
        ZastosujFormat(format);
    });

    DoLewejBtn = przelacznik("DoLewejBtn", QStringLiteral("Wyrównaj do lewej"),
                             themeIcon(QStringLiteral("format-justify-left")));
    SrodekBtn = przelacznik("SrodekBtn", QStringLiteral("Wyśrodkuj"), themeIcon(QStringLiteral("format-justify-center")));
    DoPrawejBtn = przelacznik("DoPrawejBtn", QStringLiteral("Wyrównaj do prawej"),
                              themeIcon(QStringLiteral("format-justify-right")));
    m_wyrownanie = new QActionGroup(this);
    m_wyrownanie->setExclusive(true);
    const std::pair<QAction *, Qt::Alignment> wyrownania[] = {
        {DoLewejBtn, Qt::AlignLeft}, {SrodekBtn, Qt::AlignHCenter}, {DoPrawejBtn, Qt::AlignRight}};
    for (const auto &[action, alignment] : wyrownania) {
        m_wyrownanie->addAction(action);
        connect(action, &QAction::triggered, this, [this, alignment] { UstawWyrownanie(alignment); });
    }

    PunktyBtn = przelacznik("PunktyBtn", QStringLiteral("Wypunktowanie"), themeIcon(QStringLiteral("view-list-bullet")));
    PunktyBtn->setIconText(QStringLiteral("• ≡"));
    connect(PunktyBtn, &QAction::toggled, this, &TEditorFrm::UstawPunkty);
}

void TEditorFrm::utworzMenu()
{
    QMenu *plik = menuBar()->addMenu(QStringLiteral("&Plik"));
    plik->addAction(ZapiszCmd);
    plik->addAction(DrukujCmd);
    plik->addSeparator();
    plik->addAction(ZamknijCmd);

    QMenu *edycja = menuBar()->addMenu(QStringLiteral("&Edycja"));
    edycja->addAction(CofnijCmd);
    edycja->addSeparator();
    edycja->addAction(WytnijCmd);
    edycja->addAction(KopiujCmd);
    edycja->addAction(WklejCmd);
    edycja->addSeparator();
    edycja->addAction(CzcionkaCmd);
}

void TEditorFrm::utworzPasek()
{
    QToolBar *pasek = addToolBar(QStringLiteral("Pasek"));
    pasek->setObjectName(QStringLiteral("ToolBar"));
    pasek->setMovable(false);
    pasek->setFloatable(false);
    pasek->toggleViewAction()->setVisible(false);
    pasek->setIconSize(QSize(16, 16));
    pasek->addAction(ZapiszCmd);
    pasek->addAction(DrukujCmd);
    pasek->addSeparator();
    pasek->addAction(CofnijCmd);
    pasek->addAction(WytnijCmd);
    pasek->addAction(KopiujCmd);
    pasek->addAction(WklejCmd);
    pasek->addSeparator();

    FontName = new QComboBox;
    FontName->setObjectName(QStringLiteral("FontName"));
    FontName->setEditable(true);
    FontName->setInsertPolicy(QComboBox::NoInsert);
    FontName->setMinimumContentsLength(18);
    QStringList czcionki = QFontDatabase::families();
    QCollator porzadek;
    std::sort(czcionki.begin(), czcionki.end(), porzadek);
    FontName->addItems(czcionki);
    ustawPodpowiedz(FontName, QStringLiteral("Nazwa czcionki|Wybór nazwy czcionki"));
    connect(FontName, &QComboBox::activated, this, [this] {
        if (m_aktualizacja)
            return;
        QTextCharFormat format;
        format.setFontFamilies({FontName->currentText()});
        ZastosujFormat(format);
        Editor->setFocus();
    });
    pasek->addWidget(FontName);

    FontSize = new QSpinBox;
    FontSize->setObjectName(QStringLiteral("FontSize"));
    FontSize->setRange(1, 999);
    FontSize->setKeyboardTracking(false); // the size typed applies once it is complete
    ustawPodpowiedz(FontSize, QStringLiteral("Rozmiar czcionki|Wybór rozmiaru czcionki"));
    connect(FontSize, &QSpinBox::valueChanged, this, [this](int size) {
        if (m_aktualizacja)
            return;
        QTextCharFormat format;
        format.setFontPointSize(size);
        ZastosujFormat(format);
    });
    pasek->addWidget(FontSize);
    pasek->addSeparator();

    pasek->addAction(PogrubienieBtn);
    pasek->addAction(KursywaBtn);
    pasek->addAction(PodkreslenieBtn);
    pasek->addSeparator();
    pasek->addAction(DoLewejBtn);
    pasek->addAction(SrodekBtn);
    pasek->addAction(DoPrawejBtn);
    pasek->addSeparator();
    pasek->addAction(PunktyBtn);
}

void TEditorFrm::utworzStatus()
{
    m_pozycja = new QLabel;
    m_pozycja->setObjectName(QStringLiteral("PozycjaPanel"));
    // 150 pixels, or what the widest position needs in a larger font.
    m_pozycja->setFixedWidth(
        std::max(150, m_pozycja->fontMetrics().horizontalAdvance(QStringLiteral("Wiersz: 999   Kolumna: 999")) + 8));
    m_zmiana = new QLabel;
    m_zmiana->setObjectName(QStringLiteral("ZmianaPanel"));
    m_zmiana->setFixedWidth(120);
    m_zmiana->setAlignment(Qt::AlignCenter);
    auto *pusty = new QLabel;
    pusty->setFixedWidth(50);
    // Normal (not permanent) panels: a hint shown in the bar replaces all three.
    statusBar()->addWidget(m_pozycja);
    statusBar()->addWidget(m_zmiana);
    statusBar()->addWidget(pusty);
}

bool TEditorFrm::WczytajNotatki()
{
    m_pole = QStringLiteral("Notatki");
    try {
        setWindowTitle((QStringLiteral("Notatki - ") + dm.Podatnik.field(QStringLiteral("Nazwisko")).asString()
                        + QLatin1Char(' ') + dm.Podatnik.field(QStringLiteral("Imie")).asString())
                           .trimmed());
        loadRichText(*Editor, dm.Podatnik.field(m_pole).asString());
    } catch (const DataError &e) {
        dm.Uwaga(e.message());
        return false;
    }
    Editor->document()->setModified(false);
    m_zmiana->clear();
    UstawPasek();
    return true;
}

void TEditorFrm::OtworzNotatki()
{
    if (!WczytajNotatki())
        return;
    setWindowModality(Qt::ApplicationModal);
    QEventLoop petla;
    connect(this, &TEditorFrm::zamkniete, &petla, &QEventLoop::quit);
    show();
    petla.exec(QEventLoop::DialogExec);
}

bool TEditorFrm::Zapisz()
{
    try {
        dm.Podatnik.edit();
        dm.Podatnik.field(m_pole).setString(Editor->toHtml());
        dm.Podatnik.post();
    } catch (const DataError &e) {
        if (dm.Podatnik.isEditing())
            dm.Podatnik.cancel();
        dm.Uwaga(e.message());
        return false;
    }
    Editor->document()->setModified(false);
    return true;
}

void TEditorFrm::closeEvent(QCloseEvent *event)
{
    if (Editor->document()->isModified() && dm.Potwierdz(QStringLiteral("Zapisać wprowadzone zmiany?"))
        && !Zapisz()) {
        event->ignore();
        return;
    }
    event->accept();
    emit zamkniete();
}

void TEditorFrm::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    UstawPasek();
}

void TEditorFrm::UstawPasek()
{
    m_aktualizacja = true;
    const QTextCharFormat format = Editor->currentCharFormat();
    const QFont font = format.font().resolve(Editor->document()->defaultFont());
    PogrubienieBtn->setChecked(font.bold());
    KursywaBtn->setChecked(font.italic());
    PodkreslenieBtn->setChecked(font.underline());
    const QTextCursor cursor = Editor->textCursor();
    PunktyBtn->setChecked(cursor.currentList() != nullptr);
    FontSize->setValue(qRound(font.pointSizeF()));
    FontName->setEditText(font.family());
    const Qt::Alignment alignment = cursor.blockFormat().alignment();
    if (alignment.testFlag(Qt::AlignHCenter))
        SrodekBtn->setChecked(true);
    else if (alignment.testFlag(Qt::AlignRight))
        DoPrawejBtn->setChecked(true);
    else
        DoLewejBtn->setChecked(true);
    m_aktualizacja = false;
    m_pozycja->setText(QStringLiteral("Wiersz: %1   Kolumna: %2")
                           .arg(cursor.blockNumber() + 1, 3)
                           .arg(cursor.positionInBlock() + 1, 3));
}

void TEditorFrm::ZastosujFormat(const QTextCharFormat &format)
{
    if (m_aktualizacja)
        return;
    // Applies to the selection, or with nothing selected to the text typed next.
    Editor->mergeCurrentCharFormat(format);
}

void TEditorFrm::UstawWyrownanie(Qt::Alignment alignment)
{
    if (!m_aktualizacja)
        Editor->setAlignment(alignment);
}

void TEditorFrm::UstawPunkty(bool on)
{
    if (m_aktualizacja)
        return;
    QTextCursor cursor = Editor->textCursor();
    cursor.beginEditBlock();
    if (on) {
        QTextListFormat list;
        list.setStyle(QTextListFormat::ListDisc);
        cursor.createList(list);
    } else {
        const QTextBlock last = Editor->document()->findBlock(cursor.selectionEnd());
        for (QTextBlock block = Editor->document()->findBlock(cursor.selectionStart()); block.isValid();
             block = block.next()) {
            if (QTextList *list = block.textList())
                list->remove(block);
            if (block == last)
                break;
        }
    }
    cursor.endEditBlock();
}

void TEditorFrm::UstawWklej()
{
    WklejCmd->setEnabled(Editor->canPaste());
}

void TEditorFrm::DrukujClick()
{
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    printer.setDocName(QStringLiteral("Test"));
    Editor->print(&printer);
}

void TEditorFrm::CzcionkaClick()
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, Editor->currentCharFormat().font().resolve(Editor->document()->defaultFont()), this);
    if (ok) {
        QTextCharFormat format;
        format.setFont(font);
        ZastosujFormat(format);
    }
    UstawPasek();
    Editor->setFocus();
}
