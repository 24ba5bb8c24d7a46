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

    TColor PanelColor() const { return panelColor_; }
    void SetPanelColor(TColor value);
    const QImage& TopLeftBitmap() const { return topLeft_; }
    void SetTopLeftBitmap(const QImage& value);
    const QImage& BottomRightBitmap() const { return bottomRight_; }
    void SetBottomRightBitmap(const QImage& value);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TColor panelColor_ = clBlack;
    QImage topLeft_;
    QImage bottomRight_;
    QImage topLeftCache_;
    QImage bottomRightCache_;
    bool cachesValid_ = false;
};
