#include "widgets/krata.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLayout>
#include <QPainter>

TKrata::TKrata(QWidget *parent)
    : QWidget(parent)
    , m_brush(palette().color(QPalette::Button), Qt::SolidPattern)
{
    setFocusPolicy(Qt::NoFocus);
    resize(DomyslnaSzerokosc, DomyslnaWysokosc);
}

QSize TKrata::sizeHint() const
{
    // A box that frames controls is as big as they need.
    if (layout())
        return QWidget::sizeHint();
    return QSize(DomyslnaSzerokosc, DomyslnaWysokosc);
}

void TKrata::SetCaption(const QString &caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    update();
}

void TKrata::SetRows(int rows)
{
    if (rows <= 0 || rows == m_rows)
        return;
    m_rows = rows;
    update();
}

void TKrata::SetMargLeft(int marg)
{
    if (marg <= 0 || marg == m_margLeft)
        return;
    m_margLeft = marg;
    update();
}

void TKrata::SetMargTop(int marg)
{
    if (marg <= 0 || marg == m_margTop)
        return;
    m_margTop = marg;
    update();
}

void TKrata::SetPen(const QPen &pen)
{
    m_pen = pen;
    StyleChanged();
}

void TKrata::SetBrush(const QBrush &brush)
{
    m_brush = brush;
    StyleChanged();
}

void TKrata::SetFont(const QFont &font)
{
    // The widget reports the change through changeEvent().
    setFont(font);
}

void TKrata::StyleChanged()
{
    update();
}

void TKrata::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        StyleChanged();
}

void TKrata::paintEvent(QPaintEvent *)
{
    QPainter painter(this);

    // The pen brings colour, width and style; the corners are square and the
    // dividing lines end where they are drawn to, so that a wide frame stays
    // closed and the rows meet it without a gap.
    QPen pen = m_pen;
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.setBrush(m_brush);
    painter.setFont(font());

    // A line of width w is centred on its coordinates, so the frame is moved
    // in by half the width to lie wholly inside the box. A line of width 0 is
    // one pixel wide and is drawn as one of width 1.
    const int w = pen.width();
    const int x0 = w / 2;
    int szer = width() - w + 1;
    int wys = height() - w + 1;
    if (w == 0) {
        --szer;
        --wys;
    }

    // The corner (x0 + szer, x0 + wys) lies just past the frame: its right
    // and bottom lines run one pixel in from it.
    painter.drawRect(QRect(x0, x0, szer - 1, wys - 1));

    // The rows: each dividing line stops just short of x = szer.
    const int h = height() / m_rows;
    for (int i = 1; i < m_rows; ++i) {
        const int y = x0 + i * h;
        painter.drawLine(x0, y, szer - 1, y);
    }

    if (!m_caption.isEmpty()) {
        const QFontMetrics fm(font());
        const QRect obszar(QPoint(x0 + m_margLeft, x0 + m_margTop),
                           QSize(fm.horizontalAdvance(m_caption), fm.height()));
        painter.fillRect(obszar, m_brush);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(obszar, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, m_caption);
    }
}

TKrata *NowaKrata(const QString &caption, QLayout *zawartosc, TloKraty tlo)
{
    auto *krata = new TKrata;
    krata->SetCaption(caption);
    krata->SetBrush(krata->palette().color(tlo == TloKraty::Pole ? QPalette::Base : QPalette::Button));
    krata->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    // The content starts below the caption and keeps clear of the frame.
    const int gora = caption.isEmpty() ? 3 : krata->MargTop() + QFontMetrics(krata->font()).height() + 1;
    zawartosc->setContentsMargins(krata->MargLeft(), gora, 4, 3);
    krata->setLayout(zawartosc);
    return krata;
}

