#include "controls/transparentsplitter.h"

#include "controls/skindraw.h"

#include <QPainter>

TtransparentSplitter::TtransparentSplitter(QWidget* parent) : TalignSplitter(parent)
{
    SetColor(m_panelColor);
}

TtransparentSplitter::~TtransparentSplitter() = default;

void TtransparentSplitter::SetPanelColor(TColor value)
{
    m_panelColor = value;
    m_cachesValid = false;
    SetColor(value);
    repaint();
}

void TtransparentSplitter::SetTopLeftBitmap(const QImage& value)
{
    m_topLeft = value;
    m_cachesValid = false;
    update();
}

void TtransparentSplitter::SetBottomRightBitmap(const QImage& value)
{
    m_bottomRight = value;
    m_cachesValid = false;
    update();
}

void TtransparentSplitter::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), SkinColorToQColor(Color()));
    if (!IsEmptyBitmap(m_topLeft) && (!m_cachesValid || IsEmptyBitmap(m_topLeftCache))) {
        m_topLeftCache = RecoloredSkin(m_topLeft, 1, m_panelColor, {}, m_panelColor);
    }
    if (IsEmptyBitmap(m_topLeft)) {
        m_topLeftCache = QImage();
    }
    if (!IsEmptyBitmap(m_topLeftCache)) {
        painter.drawImage(QPoint(0, 0), m_topLeftCache);
    }
    if (!IsEmptyBitmap(m_bottomRight) && (!m_cachesValid || IsEmptyBitmap(m_bottomRightCache))) {
        m_bottomRightCache = RecoloredSkin(m_bottomRight, 1, m_panelColor, {}, m_panelColor);
    }
    if (IsEmptyBitmap(m_bottomRight)) {
        m_bottomRightCache = QImage();
    }
    if (!IsEmptyBitmap(m_bottomRightCache)) {
        painter.drawImage(
            QPoint(width() - m_bottomRightCache.width(), height() - m_bottomRightCache.height()),
            m_bottomRightCache);
    }
    m_cachesValid = true;
}
