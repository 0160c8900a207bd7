#pragma once

#include <QMainWindow>

class QActionGroup;
class QComboBox;
class QLabel;
class QSpinBox;
class QTextCharFormat;
class QTextEdit;
class TDM;

// The notes of the current taxpayer: a small rich-text editor over the
// field `Notatki` of the taxpayers' table. The text is kept as Qt rich text
// (HTML), so fonts, styles, alignment and bullets survive.
class TEditorFrm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TEditorFrm(TDM &dm, QWidget *parent = nullptr);

    // Loads the current taxpayer's notes and shows them modally until the
    // window closes.
    void OtworzNotatki();
    // Loads the current taxpayer's notes without showing the window; false
    // (after telling the user) when the record could not be read.
    bool WczytajNotatki();
    // Stores the whole text in the current taxpayer's record; false (after
    // telling the user) when the store refused it, the text then staying
    // modified.
    bool Zapisz();

signals:
    void zamkniete();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QAction *polecenie(const char *name, const QString &text, const QString &hint, const QKeySequence &key,
                       const QIcon &icon);
    QAction *przelacznik(const char *name, const QString &text, const QIcon &icon);
    void utworzPolecenia();
    void utworzMenu();
    void utworzPasek();
    void utworzStatus();

    void UstawPasek();
    void ZastosujFormat(const QTextCharFormat &format);
    void UstawWyrownanie(Qt::Alignment alignment);
    void UstawPunkty(bool on);
    void DrukujClick();
    void CzcionkaClick();
    void UstawWklej();

    TDM &dm;
    QString m_pole;
    // Set while the toolbar is brought in line with the text, so that its
    // own change handlers do nothing then.
    bool m_aktualizacja = false;

    QTextEdit *Editor;
    QAction *ZapiszCmd;
    QAction *DrukujCmd;
    QAction *ZamknijCmd;
    QAction *CofnijCmd;
    QAction *WytnijCmd;
    QAction *KopiujCmd;
    QAction *WklejCmd;
    QAction *CzcionkaCmd;
    QAction *PogrubienieBtn;
    QAction *KursywaBtn;
    QAction *PodkreslenieBtn;
    QAction *DoLewejBtn;
    QAction *SrodekBtn;
    QAction *DoPrawejBtn;
    QActionGroup *m_wyrownanie;
    QAction *PunktyBtn;
    QComboBox *FontName;
    QSpinBox *FontSize;
    QLabel *m_pozycja;   // panel 0: line and column
    QLabel *m_zmiana;    // panel 1: "Zmodyfikowano"
};
