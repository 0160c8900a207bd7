#include "widgets/captionabovebutton.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

CaptionAboveToolButton::CaptionAboveToolButton(const QString &caption, const QIcon &icon, QWidget *parent)
    : QToolButton(parent)
{
    setText(caption);
    setIcon(icon);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setAutoRaise(true);
}

void CaptionAboveToolButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    const QIcon icon = option.icon;

    // The style draws the frame and the focus; the label is laid out here.
    option.text.clear();
    option.icon = QIcon();
    option.toolButtonStyle = Qt::ToolButtonIconOnly;
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    const int margin = style()->pixelMetric(QStyle::PM_ButtonMargin, &option, this) / 2;
    QRect area = rect().adjusted(margin, margin, -margin, -margin);
    if (isDown() || isChecked())
        area.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                       style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    const int captionHeight = fontMetrics().height();
    const int gap = std::max(0, (area.height() - captionHeight - iconSize().height()) / 2);
    const QRect captionRect(area.left(), area.top() + gap, area.width(), captionHeight);
    const QRect iconRect(area.left(), captionRect.bottom() + 1, area.width(), iconSize().height());

    const QIcon::Mode mode = !isEnabled()                               ? QIcon::Disabled
                             : option.state.testFlag(QStyle::State_MouseOver) ? QIcon::Active
                                                                              : QIcon::Normal;
    painter.drawItemPixmap(iconRect, Qt::AlignCenter, icon.pixmap(iconSize(), devicePixelRatio(), mode));
    painter.drawItemText(captionRect, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(), caption,
                         QPalette::ButtonText);
}
