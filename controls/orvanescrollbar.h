#pragma once

#include "controls/controlevents.h"
#include "markup/color.h"

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
// held, lets the thumb be dragged, moves with the wheel, reports changes through PositionChanged and, when
// vertical, sets the top row of a linked list or tree (its ScrollComponent: a TscrollTarget, or any scroll
// area).
class TorvaneScrollBar : public QWidget
{
    Q_OBJECT

public:
    explicit TorvaneScrollBar(QWidget* parent = nullptr);
    ~TorvaneScrollBar() override;

    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int Value() const { return value_; }
    void SetValue(int value);
    // Without PositionChanged and without moving the linked list; ignored while the thumb is dragged.
    void SetValueQuiet(int value);
    int SmallStep() const { return smallStep_; }
    void SetSmallStep(int value) { smallStep_ = value; }
    int LargeStep() const { return largeStep_; }
    void SetLargeStep(int value) { largeStep_ = value; }
    TColor ButtonColor() const { return buttonColor_; }
    void SetButtonColor(TColor value);
    TColor ScrollerColor() const { return scrollerColor_; }
    void SetScrollerColor(TColor value);
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor value);
    const QImage& BackBitmap() const { return backBitmap_; }
    void SetBackBitmap(const QImage& value);
    QWidget* ScrollComponent() const { return scrollComponent_.data(); }
    void SetScrollComponent(QWidget* value) { scrollComponent_ = value; }
    const QImage& UpButtonSkin() const;
    void SetUpButtonSkin(const QImage& value);
    const QImage& DownButtonSkin() const;
    void SetDownButtonSkin(const QImage& value);
    const QImage& ScrollButtonSkin() const;
    void SetScrollButtonSkin(const QImage& value);
    TosbStyle Style() const { return style_; }
    void SetStyle(TosbStyle value);
    bool IsAligned() const { return isAligned_; }
    void SetIsAligned(bool value);
    bool LeftTopAligned() const { return leftTopAligned_; }
    void SetLeftTopAligned(bool value);
    bool NoChangeWhileMoving() const { return noChangeWhileMoving_; }
    void SetNoChangeWhileMoving(bool value) { noChangeWhileMoving_ = value; }

    // Takes the background and the three part skins of another bar.
    void CopySkinFrom(const TorvaneScrollBar& other);

    // The offset of the thumb along the bar for the current value.
    int GetThumbPosition() const;
    // One step of the auto-repeat for the area held (0 up arrow, 1 down arrow, 2 and 3 the track before and
    // after the thumb).
    void RepeatTick();
    bool Repeating() const;
    bool Dragging() const { return dragging_; }

    TorvaneButton* UpButton() const { return up_; }
    TorvaneButton* DownButton() const { return down_; }
    TorvaneButton* Thumb() const { return thumb_; }

    TosbChangeEvent PositionChanged;
    TNotifyEvent OnResize;

    // As thick as its thickest part (a skinned part: one frame of its skin), as long as its three parts:
    // in a layout beside a list the bar keeps the width its skin was drawn for.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool Vertical() const { return style_ == TosbStyle::osbVertical; }
    int AxisLength(const QWidget* w) const;
    int AxisStart(const QWidget* w) const;
    // A part's size as the bar lays it out: one frame of its skin, else its own size.
    QSize PartSize(const TorvaneButton* part) const;
    int Thickness() const;
    QSize Oriented(int along, int across) const;
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

    TorvaneButton* up_ = nullptr; // the three parts are child widgets, freed with the bar
    TorvaneButton* down_ = nullptr;
    TorvaneButton* thumb_ = nullptr;
    std::unique_ptr<TThreadedTimer> repeat_;

    int min_ = 0;
    int max_ = 1;
    int value_ = 0;
    int smallStep_ = 1;
    int largeStep_ = 10;
    TColor buttonColor_ = clBtnFace;
    TColor scrollerColor_ = clBlack;
    TColor backColor_ = clScrollBar;
    QImage backBitmap_;
    QImage backCache_;
    bool backCacheBuilt_ = false;
    QPointer<QWidget> scrollComponent_;
    TosbStyle style_ = TosbStyle::osbVertical;
    bool isAligned_ = false;
    bool leftTopAligned_ = false;
    bool noChangeWhileMoving_ = false;

    int area_ = 0;
    bool mouseHeld_ = false;
    QPoint dragStart_;
    bool dragging_ = false;       // the thumb follows the mouse
    bool thumbByMouse_ = false;   // the thumb is placed by the mouse, not by the value
    bool dragInProgress_ = false; // PositionChanged waits when NoChangeWhileMoving
    bool quiet_ = false;
    bool inPendingMessages_ = false;
    int wheelDelta_ = 0; // wheel turns short of a whole notch
};
