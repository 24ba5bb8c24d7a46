#include "controls/transparentsplitter.h"

#include "controls/skindraw.h"

#include <QPainter>

TtransparentSplitter::TtransparentSplitter(QWidget* parent) : TalignSplitter(parent)
{
    SetColor(panelColor_);
}

TtransparentSplitter::~TtransparentSplitter() = default;

void TtransparentSplitter::SetPanelColor(TColor value)
{
    panelColor_ = value;
    cachesValid_ = false;
    SetColor(value);
    repaint();
}

void TtransparentSplitter::SetTopLeftBitmap(const QImage& value)
{
    topLeft_ = value;
    cachesValid_ = false;
    update();
}

void TtransparentSplitter::SetBottomRightBitmap(const QImage& value)
{
    bottomRight_ = value;
    cachesValid_ = false;
    update();
}

void TtransparentSplitter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), SkinColorToQColor(Color()));
    if (!IsEmptyBitmap(topLeft_) && (!cachesValid_ || IsEmptyBitmap(topLeftCache_))) {
        topLeftCache_ = RecoloredSkin(topLeft_, 1, panelColor_, {}, panelColor_);
    }
    if (IsEmptyBitmap(topLeft_)) {
        topLeftCache_ = QImage();
    }
    if (!IsEmptyBitmap(topLeftCache_)) {
        painter.drawImage(QPoint(0, 0), topLeftCache_);
    }
    if (!IsEmptyBitmap(bottomRight_) && (!cachesValid_ || IsEmptyBitmap(bottomRightCache_))) {
        bottomRightCache_ = RecoloredSkin(bottomRight_, 1, panelColor_, {}, panelColor_);
    }
    if (IsEmptyBitmap(bottomRight_)) {
        bottomRightCache_ = QImage();
    }
    if (!IsEmptyBitmap(bottomRightCache_)) {
        painter.drawImage(QPoint(width() - bottomRightCache_.width(), height() - bottomRightCache_.height()),
                          bottomRightCache_);
    }
    cachesValid_ = true;
}
