#pragma once

#include <QToolButton>

// A tool button that shows its caption above its picture (Qt lays captions
// out beside or under the picture only). It is sized like a button with the
// caption under the picture; the caption's "&" marks the button's Alt key.
class CaptionAboveToolButton : public QToolButton
{
    Q_OBJECT
public:
    CaptionAboveToolButton(const QString &caption, const QIcon &icon, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
