#include "controls/orvanescrollbar.h"

#include "controls/alignlayout.h"
#include "controls/orvanebutton.h"
#include "controls/scrolltarget.h"
#include "controls/skindraw.h"
#include "core/timers/threadedtimer.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr std::uint32_t kRepeatInterval = 100;
constexpr int kWheelNotch = 120;

} // namespace

TorvaneScrollBar::TorvaneScrollBar(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(2, 2);
    up_ = new TorvaneButton(this);
    down_ = new TorvaneButton(this);
    thumb_ = new TorvaneButton(this);
    for (TorvaneButton* part : {up_, down_, thumb_}) {
        part->setFocusPolicy(Qt::NoFocus);
        part->SetColor(buttonColor_);
        part->SetOuterColor(backColor_);
        part->OnClick = [](QObject*) {}; // every step comes from the repeat
    }
    resize(20, 60);
    up_->setGeometry(0, 0, 20, 20);
    down_->setGeometry(0, 40, 20, 20);
    thumb_->setGeometry(0, 20, 20, 40);

    up_->OnMouseDown = [this](QObject*, Qt::MouseButton, TShiftState, int, int) { StartRepeat(0); };
    up_->OnMouseUp = [this](QObject*, Qt::MouseButton, TShiftState, int, int) { StopRepeat(); };
    down_->OnMouseDown = [this](QObject*, Qt::MouseButton, TShiftState, int, int) { StartRepeat(1); };
    down_->OnMouseUp = [this](QObject*, Qt::MouseButton, TShiftState, int, int) { StopRepeat(); };
    thumb_->OnMouseDown = [this](QObject*, Qt::MouseButton, TShiftState, int x, int y) { ThumbDown(x, y); };
    thumb_->OnMouseMove = [this](QObject*, TShiftState, int x, int y) { ThumbMove(x, y); };
    thumb_->OnMouseUp = [this](QObject*, Qt::MouseButton, TShiftState, int, int) { ThumbUp(); };
}

TorvaneScrollBar::~TorvaneScrollBar()
{
    StopRepeat();
}

int TorvaneScrollBar::AxisLength(const QWidget* w) const
{
    return Vertical() ? w->height() : w->width();
}

QSize TorvaneScrollBar::PartSize(const TorvaneButton* part) const
{
    const QImage& skin = part->SkinBitmap();
    return IsEmptyBitmap(skin) ? part->size() : QSize(skin.width() / 3, skin.height());
}

int TorvaneScrollBar::Thickness() const
{
    int thickness = 0;
    for (const TorvaneButton* part : {up_, down_, thumb_}) {
        const QSize size = PartSize(part);
        thickness = std::max(thickness, Vertical() ? size.width() : size.height());
    }
    return thickness;
}

QSize TorvaneScrollBar::Oriented(int along, int across) const
{
    return Vertical() ? QSize(across, along) : QSize(along, across);
}

QSize TorvaneScrollBar::sizeHint() const
{
    int along = 0;
    for (const TorvaneButton* part : {up_, down_, thumb_})
        along += Vertical() ? PartSize(part).height() : PartSize(part).width();
    return Oriented(along, Thickness());
}

QSize TorvaneScrollBar::minimumSizeHint() const
{
    const int arrows = Vertical() ? PartSize(up_).height() + PartSize(down_).height()
                                  : PartSize(up_).width() + PartSize(down_).width();
    return Oriented(arrows, Thickness());
}

int TorvaneScrollBar::AxisStart(const QWidget* w) const
{
    return Vertical() ? w->y() : w->x();
}

int TorvaneScrollBar::TrackLength() const
{
    return AxisLength(this) - AxisLength(up_) - AxisLength(down_) - AxisLength(thumb_);
}

void TorvaneScrollBar::LetPendingMessagesRun()
{
    // Pending paints and ticks may run in the middle of a change, but never this same step again.
    if (inPendingMessages_) {
        return;
    }
    inPendingMessages_ = true;
    QCoreApplication::processEvents();
    inPendingMessages_ = false;
}

void TorvaneScrollBar::SetMin(int value)
{
    if (value < 0 || value >= max_) {
        return;
    }
    min_ = value;
    quiet_ = true;
    UpdatePosition();
    update();
}

void TorvaneScrollBar::SetMax(int value)
{
    if (value <= min_) {
        return;
    }
    max_ = value;
    quiet_ = true;
    UpdatePosition();
    update();
}

void TorvaneScrollBar::SetValue(int value)
{
    value_ = std::clamp(value, min_, max_);
    LetPendingMessagesRun();
    UpdatePosition();
    if (!quiet_ && !(noChangeWhileMoving_ && dragInProgress_) && PositionChanged) {
        PositionChanged(this, value_);
    }
    quiet_ = false;
}

void TorvaneScrollBar::SetValueQuiet(int value)
{
    if (dragging_) {
        return;
    }
    quiet_ = true;
    SetValue(value);
}

int TorvaneScrollBar::GetThumbPosition() const
{
    if (min_ == max_) {
        return 0;
    }
    const long long offset = static_cast<long long>(value_ - min_) * TrackLength();
    return AxisLength(up_) + RoundDivHalfEven(offset, static_cast<long long>(max_) - min_);
}

void TorvaneScrollBar::UpdatePosition()
{
    if (!thumbByMouse_) {
        MoveThumbTo(GetThumbPosition());
    }
    if (Vertical() && !quiet_) {
        SendScroll();
    }
}

void TorvaneScrollBar::MoveThumbTo(int start)
{
    if (Vertical()) {
        thumb_->move(thumb_->x(), start);
    } else {
        thumb_->move(start, thumb_->y());
    }
}

void TorvaneScrollBar::SendScroll()
{
    QWidget* target = scrollComponent_.data();
    if (!target) {
        return;
    }
    if (auto* rows = dynamic_cast<TscrollTarget*>(target)) {
        rows->SetTopRow(value_);
    } else if (auto* area = qobject_cast<QAbstractScrollArea*>(target)) {
        area->verticalScrollBar()->setValue(value_);
    }
}

void TorvaneScrollBar::SetButtonColor(TColor value)
{
    buttonColor_ = value;
    for (TorvaneButton* part : {up_, down_}) {
        part->SetColor(value);
        part->SetOuterColor(backColor_);
    }
    backCacheBuilt_ = false;
    update();
}

void TorvaneScrollBar::SetScrollerColor(TColor value)
{
    scrollerColor_ = value;
    thumb_->SetColor(value);
    thumb_->SetOuterColor(value);
    update();
}

void TorvaneScrollBar::SetBackColor(TColor value)
{
    backColor_ = value;
    for (TorvaneButton* part : {up_, down_, thumb_}) {
        part->SetOuterColor(value);
    }
    backCacheBuilt_ = false;
    update();
}

void TorvaneScrollBar::SetBackBitmap(const QImage& value)
{
    backBitmap_ = value;
    backCacheBuilt_ = false;
    update();
}

const QImage& TorvaneScrollBar::UpButtonSkin() const
{
    return up_->SkinBitmap();
}

void TorvaneScrollBar::SetUpButtonSkin(const QImage& value)
{
    SetPartSkin(up_, value);
}

const QImage& TorvaneScrollBar::DownButtonSkin() const
{
    return down_->SkinBitmap();
}

void TorvaneScrollBar::SetDownButtonSkin(const QImage& value)
{
    SetPartSkin(down_, value);
}

const QImage& TorvaneScrollBar::ScrollButtonSkin() const
{
    return thumb_->SkinBitmap();
}

void TorvaneScrollBar::SetScrollButtonSkin(const QImage& value)
{
    SetPartSkin(thumb_, value);
}

void TorvaneScrollBar::SetPartSkin(TorvaneButton* part, const QImage& value)
{
    part->SetSkinBitmap(value);
    if (!IsEmptyBitmap(value)) {
        part->SetIsSkinned(true);
    }
    updateGeometry();
    update();
}

void TorvaneScrollBar::CopySkinFrom(const TorvaneScrollBar& other)
{
    SetBackBitmap(other.BackBitmap());
    SetUpButtonSkin(other.UpButtonSkin());
    SetDownButtonSkin(other.DownButtonSkin());
    SetScrollButtonSkin(other.ScrollButtonSkin());
}

void TorvaneScrollBar::SetStyle(TosbStyle value)
{
    style_ = value;
    updateGeometry();
    if (isAligned_) {
        ApplyAlign();
    }
    update();
}

void TorvaneScrollBar::SetIsAligned(bool value)
{
    isAligned_ = value;
    ApplyAlign();
}

void TorvaneScrollBar::SetLeftTopAligned(bool value)
{
    leftTopAligned_ = value;
    if (isAligned_) {
        ApplyAlign();
    }
}

void TorvaneScrollBar::ApplyAlign()
{
    TAlign align = TAlign::alNone;
    if (isAligned_) {
        if (Vertical()) {
            align = leftTopAligned_ ? TAlign::alLeft : TAlign::alRight;
        } else {
            align = leftTopAligned_ ? TAlign::alTop : TAlign::alBottom;
        }
    }
    TalignLayout::SetAlign(this, align);
}

bool TorvaneScrollBar::Repeating() const
{
    return repeat_ && repeat_->Enabled();
}

void TorvaneScrollBar::StartRepeat(int area)
{
    area_ = area;
    if (!repeat_) {
        repeat_ = std::make_unique<TThreadedTimer>();
        repeat_->OnTimer = [this](TThreadedTimer*) { RepeatTick(); };
        repeat_->SetInterval(kRepeatInterval);
    }
    if (!repeat_->Enabled()) {
        repeat_->SetEnabled(true);
    }
}

void TorvaneScrollBar::StopRepeat()
{
    if (repeat_) {
        repeat_->SetEnabled(false);
    }
}

void TorvaneScrollBar::RepeatTick()
{
    switch (area_) {
    case 0:
        SetValue(value_ - smallStep_);
        break;
    case 1:
        SetValue(value_ + smallStep_);
        break;
    case 2:
        SetValue(value_ - largeStep_);
        break;
    default:
        SetValue(value_ + largeStep_);
        break;
    }
}

void TorvaneScrollBar::ThumbDown(int x, int y)
{
    dragStart_ = QPoint(x, y);
    dragging_ = true;
    thumbByMouse_ = true;
    dragInProgress_ = true;
}

void TorvaneScrollBar::ThumbMove(int x, int y)
{
    if (!dragging_) {
        return;
    }
    LetPendingMessagesRun();
    if (!dragging_ || min_ == max_) {
        return;
    }
    const int delta = Vertical() ? y - dragStart_.y() : x - dragStart_.x();
    const int lowest = AxisLength(up_);
    const int highest = AxisLength(this) - AxisLength(down_) - AxisLength(thumb_);
    const int start = std::min(std::max(AxisStart(thumb_) + delta, lowest), highest);
    if (start != AxisStart(thumb_)) {
        MoveThumbTo(start);
    }
    const int track = TrackLength();
    if (track <= 0) {
        return;
    }
    const long long range = static_cast<long long>(max_) - min_;
    SetValue(min_ + RoundDivHalfEven(static_cast<long long>(start - lowest) * range, track));
}

void TorvaneScrollBar::ThumbUp()
{
    dragging_ = false;
    thumbByMouse_ = false;
    dragInProgress_ = false;
    SetValue(value_);
}

void TorvaneScrollBar::FitPartsToSkins()
{
    for (TorvaneButton* part : {up_, down_, thumb_}) {
        const QImage& skin = part->SkinBitmap();
        if (IsEmptyBitmap(skin)) {
            continue;
        }
        const QSize frame(skin.width() / 3, skin.height());
        if (part->size() != frame) {
            part->resize(frame);
        }
    }
}

void TorvaneScrollBar::resizeEvent(QResizeEvent* event)
{
    for (TorvaneButton* part : {up_, down_, thumb_}) {
        const QImage& skin = part->SkinBitmap();
        if (!IsEmptyBitmap(skin)) {
            part->SetIsSkinned(true);
            part->resize(skin.width() / 3, skin.height());
        }
    }
    // Parts without a skin fit the bar: square arrows as thick as the bar, and a thumb twice as long as
    // that (20 x 40 on a bar 20 wide), shortened on a short bar so that it leaves a track to move in and
    // never covers an arrow.
    const int thickness = Vertical() ? width() : height();
    for (TorvaneButton* arrow : {up_, down_}) {
        if (IsEmptyBitmap(arrow->SkinBitmap())) {
            arrow->resize(thickness, thickness);
        }
    }
    if (IsEmptyBitmap(thumb_->SkinBitmap())) {
        const int room = AxisLength(this) - AxisLength(up_) - AxisLength(down_);
        const int along = std::max(1, std::min(2 * thickness, room / 2));
        if (Vertical()) {
            thumb_->setGeometry(0, thumb_->y(), thickness, along);
        } else {
            thumb_->setGeometry(thumb_->x(), 0, along, thickness);
        }
    }
    if (Vertical()) {
        down_->move(0, height() - down_->height());
        thumb_->move(0, thumb_->y());
    } else {
        down_->move(width() - down_->width(), 0);
        thumb_->move(thumb_->x(), 0);
    }
    quiet_ = true;
    UpdatePosition();
    QWidget::resizeEvent(event);
    if (OnResize) {
        OnResize(this);
    }
}

void TorvaneScrollBar::paintEvent(QPaintEvent*)
{
    FitPartsToSkins();
    if (!backCacheBuilt_ && !IsEmptyBitmap(backBitmap_)) {
        backCache_ = RecoloredSkin(backBitmap_, 1, backColor_, {}, backColor_);
        backCacheBuilt_ = true;
    }
    if (IsEmptyBitmap(backBitmap_)) {
        backCache_ = QImage();
    }
    QPainter painter(this);
    if (IsEmptyBitmap(backCache_)) {
        painter.fillRect(rect(), SkinColorToQColor(backColor_));
        return;
    }
    const int stepX = backBitmap_.width();
    const int stepY = backBitmap_.height();
    for (int y = 0; y < height(); y += stepY) {
        for (int x = 0; x < width(); x += stepX) {
            painter.drawImage(QPoint(x, y), backCache_);
        }
    }
}

void TorvaneScrollBar::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const int along = Vertical() ? p.y() : p.x();
    mouseHeld_ = true;
    event->accept();
    StartRepeat(along >= AxisStart(thumb_) ? 3 : 2);
}

void TorvaneScrollBar::wheelEvent(QWheelEvent* event)
{
    // As a scroll bar does: a notch up (or left) moves toward Min by as many small steps as the desktop
    // scrolls lines; a notch down toward Max. Fine-grained wheels add up to whole notches.
    const QPoint angle = event->angleDelta();
    wheelDelta_ += angle.y() != 0 ? angle.y() : angle.x();
    const int notches = wheelDelta_ / kWheelNotch;
    wheelDelta_ -= notches * kWheelNotch;
    event->accept();
    if (notches != 0) {
        SetValue(value_ - notches * smallStep_ * QApplication::wheelScrollLines());
    }
}

void TorvaneScrollBar::mouseReleaseEvent(QMouseEvent* event)
{
    mouseHeld_ = false;
    StopRepeat();
    event->accept();
}
