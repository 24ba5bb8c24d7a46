#pragma once

#include "controls/alignlayout.h"
#include "controls/controlevents.h"
#include "markup/color.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QRubberBand;

enum class TResizeStyle
{
    rsNone,    // nothing shown while dragging; the size changes on release
    rsLine,    // a line shows the new edge; the size changes on release
    rsPattern, // as rsLine
    rsUpdate   // the neighbour follows the mouse
};

// The form framework's splitter: an aligned bar that resizes the aligned neighbour it sits against
// (the widget just left of a left-aligned splitter, just above a top-aligned one, and so on). The
// neighbour never gets smaller than MinSize, and the widgets on the same axis leave MinSize for the rest
// of the parent. With AutoSnap a size at or below MinSize collapses the neighbour to 0.
class TalignSplitter : public QWidget
{
    Q_OBJECT

public:
    explicit TalignSplitter(QWidget* parent = nullptr);
    ~TalignSplitter() override;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign value);
    int MinSize() const { return minSize_; }
    void SetMinSize(int value) { minSize_ = value < 1 ? 1 : value; }
    bool AutoSnap() const { return autoSnap_; }
    void SetAutoSnap(bool value) { autoSnap_ = value; }
    TResizeStyle ResizeStyle() const { return resizeStyle_; }
    void SetResizeStyle(TResizeStyle value) { resizeStyle_ = value; }
    bool Beveled() const { return beveled_; }
    void SetBeveled(bool value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);

    // The aligned widget this splitter resizes, found from its current place; null when none.
    QWidget* FindControl() const;

    // Asked before each new size; may change it or refuse it.
    std::function<void(QObject* sender, int& newSize, bool& accept)> OnCanResize;
    TNotifyEvent OnMoved;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool Horizontal() const { return align_ == TAlign::alLeft || align_ == TAlign::alRight; }
    void ApplyAlign();
    void CalcSplitSize(const QPoint& point, int& newSize, int& split) const;
    bool DoCanResize(int& newSize);
    void UpdateControlSize();
    void ShowLine();
    void StopSizing();

    TAlign align_ = TAlign::alLeft;
    int minSize_ = 30;
    bool autoSnap_ = true;
    TResizeStyle resizeStyle_ = TResizeStyle::rsPattern;
    bool beveled_ = false;
    TColor color_ = clBtnFace;

    QPointer<QWidget> control_;
    QPoint downPos_;
    int maxSize_ = 0;
    int newSize_ = 0;
    int oldSize_ = -1;
    int split_ = 0;
    QPointer<QRubberBand> line_; // a child of the parent while sizing, deleted when sizing stops
};
