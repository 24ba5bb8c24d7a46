#pragma once

#include "controls/alignlayout.h"
#include "controls/controlevents.h"
#include "controls/markup/color.h"

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

    TAlign Align() const { return m_align; }
    void SetAlign(TAlign value);
    int MinSize() const { return m_minSize; }
    void SetMinSize(int value) { m_minSize = value < 1 ? 1 : value; }
    bool AutoSnap() const { return m_autoSnap; }
    void SetAutoSnap(bool value) { m_autoSnap = value; }
    TResizeStyle ResizeStyle() const { return m_resizeStyle; }
    void SetResizeStyle(TResizeStyle value) { m_resizeStyle = value; }
    bool Beveled() const { return m_beveled; }
    void SetBeveled(bool value);
    TColor Color() const { return m_color; }
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
    bool Horizontal() const { return m_align == TAlign::alLeft || m_align == TAlign::alRight; }
    void ApplyAlign();
    void CalcSplitSize(const QPoint& point, int& newSize, int& split) const;
    bool DoCanResize(int& newSize);
    void UpdateControlSize();
    void ShowLine();
    void StopSizing();

    TAlign m_align = TAlign::alLeft;
    int m_minSize = 30;
    bool m_autoSnap = true;
    TResizeStyle m_resizeStyle = TResizeStyle::rsPattern;
    bool m_beveled = false;
    TColor m_color = clBtnFace;

    QPointer<QWidget> m_control;
    QPoint m_downPos;
    int m_maxSize = 0;
    int m_newSize = 0;
    int m_oldSize = -1;
    int m_split = 0;
    QPointer<QRubberBand> m_line; // a child of the parent while sizing, deleted when sizing stops
};
