#pragma once

#include "controls/controlevents.h"
#include "controls/markup/color.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class TorvaneButton;
class TThreadedTimer;

enum class TosbStyle
{
    osbVertical,
    osbHorizontal
};

using TosbChangeEvent = std::function<void(QObject* sender, int value)>;

// The program's own scroll bar: two arrow buttons and a thumb (skinnable buttons) on a tiled, recoloured
// background. It holds a value between Min and Max, steps it every 100 ms while an arrow or the track is
// held, lets the thumb be dragged, reports changes through PositionChanged and, when vertical, sets the
// top row of a linked list or tree (its ScrollComponent: a TscrollTarget, or any scroll area).
class TorvaneScrollBar : public QWidget
{
    Q_OBJECT

public:
    explicit TorvaneScrollBar(QWidget* parent = nullptr);
    ~TorvaneScrollBar() override;

    int Min() const { return m_min; }
    void SetMin(int value);
    int Max() const { return m_max; }
    void SetMax(int value);
    int Value() const { return m_value; }
    void SetValue(int value);
    // Without PositionChanged and without moving the linked list; ignored while the thumb is dragged.
    void SetValueQuiet(int value);
    int SmallStep() const { return m_smallStep; }
    void SetSmallStep(int value) { m_smallStep = value; }
    int LargeStep() const { return m_largeStep; }
    void SetLargeStep(int value) { m_largeStep = value; }
    TColor ButtonColor() const { return m_buttonColor; }
    void SetButtonColor(TColor value);
    TColor ScrollerColor() const { return m_scrollerColor; }
    void SetScrollerColor(TColor value);
    TColor BackColor() const { return m_backColor; }
    void SetBackColor(TColor value);
    const QImage& BackBitmap() const { return m_backBitmap; }
    void SetBackBitmap(const QImage& value);
    QWidget* ScrollComponent() const { return m_scrollComponent.data(); }
    void SetScrollComponent(QWidget* value) { m_scrollComponent = value; }
    const QImage& UpButtonSkin() const;
    void SetUpButtonSkin(const QImage& value);
    const QImage& DownButtonSkin() const;
    void SetDownButtonSkin(const QImage& value);
    const QImage& ScrollButtonSkin() const;
    void SetScrollButtonSkin(const QImage& value);
    TosbStyle Style() const { return m_style; }
    void SetStyle(TosbStyle value);
    bool IsAligned() const { return m_isAligned; }
    void SetIsAligned(bool value);
    bool LeftTopAligned() const { return m_leftTopAligned; }
    void SetLeftTopAligned(bool value);
    bool NoChangeWhileMoving() const { return m_noChangeWhileMoving; }
    void SetNoChangeWhileMoving(bool value) { m_noChangeWhileMoving = value; }

    // Takes the background and the three part skins of another bar.
    void CopySkinFrom(const TorvaneScrollBar& other);

    // The offset of the thumb along the bar for the current value.
    int GetThumbPosition() const;
    // One step of the auto-repeat for the area held (0 up arrow, 1 down arrow, 2 and 3 the track before and
    // after the thumb).
    void RepeatTick();
    bool Repeating() const;
    bool Dragging() const { return m_dragging; }

    TorvaneButton* UpButton() const { return m_up; }
    TorvaneButton* DownButton() const { return m_down; }
    TorvaneButton* Thumb() const { return m_thumb; }

    TosbChangeEvent PositionChanged;
    TNotifyEvent OnResize;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool Vertical() const { return m_style == TosbStyle::osbVertical; }
    int AxisLength(const QWidget* w) const;
    int AxisStart(const QWidget* w) const;
    int TrackLength() const;
    void UpdatePosition();
    void MoveThumbTo(int start);
    void SendScroll();
    void StartRepeat(int area);
    void StopRepeat();
    void ApplyAlign();
    void FitPartsToSkins();
    void SetPartSkin(TorvaneButton* part, const QImage& value);
    void ThumbDown(int x, int y);
    void ThumbMove(int x, int y);
    void ThumbUp();
    void LetPendingMessagesRun();

    TorvaneButton* m_up = nullptr; // the three parts are child widgets, freed with the bar
    TorvaneButton* m_down = nullptr;
    TorvaneButton* m_thumb = nullptr;
    std::unique_ptr<TThreadedTimer> m_repeat;

    int m_min = 0;
    int m_max = 1;
    int m_value = 0;
    int m_smallStep = 1;
    int m_largeStep = 10;
    TColor m_buttonColor = clBtnFace;
    TColor m_scrollerColor = clBlack;
    TColor m_backColor = clScrollBar;
    QImage m_backBitmap;
    QImage m_backCache;
    bool m_backCacheBuilt = false;
    QPointer<QWidget> m_scrollComponent;
    TosbStyle m_style = TosbStyle::osbVertical;
    bool m_isAligned = false;
    bool m_leftTopAligned = false;
    bool m_noChangeWhileMoving = false;

    int m_area = 0;
    bool m_mouseHeld = false;
    QPoint m_dragStart;
    bool m_dragging = false;       // the thumb follows the mouse
    bool m_thumbByMouse = false;   // the thumb is placed by the mouse, not by the value
    bool m_dragInProgress = false; // PositionChanged waits when NoChangeWhileMoving
    bool m_quiet = false;
    bool m_inPendingMessages = false;
};
