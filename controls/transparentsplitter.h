#pragma once

#include "controls/alignsplitter.h"

#include <QImage>

// A splitter painted in the skin's panel colour, with an optional grip picture at each end whose grey
// pixels take that colour.
class TtransparentSplitter : public TalignSplitter
{
    Q_OBJECT

public:
    explicit TtransparentSplitter(QWidget* parent = nullptr);
    ~TtransparentSplitter() override;

    TColor PanelColor() const { return m_panelColor; }
    void SetPanelColor(TColor value);
    const QImage& TopLeftBitmap() const { return m_topLeft; }
    void SetTopLeftBitmap(const QImage& value);
    const QImage& BottomRightBitmap() const { return m_bottomRight; }
    void SetBottomRightBitmap(const QImage& value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TColor m_panelColor = clBlack;
    QImage m_topLeft;
    QImage m_bottomRight;
    QImage m_topLeftCache;
    QImage m_bottomRightCache;
    bool m_cachesValid = false;
};
