#pragma once

#include "markup/color.h"

#include <QToolButton>

// A caption-only button of the skinned window's menu tool bar, drawn by the window rather than the style:
// the tool bar's colour, a raised edge while the mouse is over it and a sunken one while it is down, and the
// caption centred with a black shadow one pixel down and right.
class TmenuToolButton : public QToolButton
{
    Q_OBJECT

public:
    explicit TmenuToolButton(QWidget* parent = nullptr);

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);

    // The face as painted now (the button's size, 24-bit).
    QImage Render() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    QSize sizeHint() const override;

private:
    TColor color_ = clBlack;
    TColor fontColor_ = clWhite;
};
