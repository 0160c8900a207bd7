#pragma once

#include <QBrush>
#include <QPen>
#include <QWidget>

// One box of a paper form drawn on screen: a rectangle filled with the
// brush, optionally divided into equal horizontal rows, with a caption in
// its upper left corner. It takes no focus and paints only itself; the
// editing controls of a window are laid on top of it as its children.
//
// Enabled, visible, hints, font and the mouse, drag and context events are
// the widget's own; the box adds its caption, rows, margins, pen and brush.
class TKrata : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(int Rows READ Rows WRITE SetRows)
    Q_PROPERTY(int MargLeft READ MargLeft WRITE SetMargLeft)
    Q_PROPERTY(int MargTop READ MargTop WRITE SetMargTop)
    Q_PROPERTY(QPen Pen READ Pen WRITE SetPen)
    Q_PROPERTY(QBrush Brush READ Brush WRITE SetBrush)
    Q_PROPERTY(QFont Font READ Font WRITE SetFont)

public:
    // A new box is 66 by 46 pixels.
    static constexpr int DomyslnaSzerokosc = 66;
    static constexpr int DomyslnaWysokosc = 46;

    explicit TKrata(QWidget *parent = nullptr);

    QString Caption() const { return m_caption; }
    int Rows() const { return m_rows; }
    int MargLeft() const { return m_margLeft; }
    int MargTop() const { return m_margTop; }
    QPen Pen() const { return m_pen; }
    QBrush Brush() const { return m_brush; }
    QFont Font() const { return font(); }

    // A new value is taken, and the box repainted, only when it differs;
    // rows and margins below 1 are ignored.
    void SetCaption(const QString &caption);
    void SetRows(int rows);
    void SetMargLeft(int marg);
    void SetMargTop(int marg);
    // The box keeps its own copy of the pen, the brush and the font; every
    // change of them repaints it.
    void SetPen(const QPen &pen);
    void SetBrush(const QBrush &brush);
    void SetFont(const QFont &font);

    QSize sizeHint() const override;

public slots:
    void StyleChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QString m_caption;
    int m_rows = 1;
    int m_margLeft = 6;
    int m_margTop = 1;
    QPen m_pen;
    QBrush m_brush;
};

// What a box frames on a form: an editable field (painted in the window
// colour) or a caption, a computed amount or a heading (the button face).
enum class TloKraty { Pole, Opis };

// A new box with `zawartosc` laid inside it, below the caption; the box
// grows and shrinks with its layout.
TKrata *NowaKrata(const QString &caption, QLayout *zawartosc, TloKraty tlo);

