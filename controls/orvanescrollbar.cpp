#include "controls/orvanescrollbar.h"

#include "controls/alignlayout.h"
#include "controls/orvanebutton.h"
#include "controls/scrolltarget.h"
#include "controls/skindraw.h"
#include "core/threadedtimer.h"

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr std::uint32_t kRepeatInterval = 100;

} // namespace

TorvaneScrollBar::TorvaneScrollBar(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(2, 2);
    m_up = new TorvaneButton(this);
    m_down = new TorvaneButton(this);
    m_thumb = new TorvaneButton(this);
    for (TorvaneButton* part : {m_up, m_down, m_thumb}) {
        part->setFocusPolicy(Qt::NoFocus);
        part->SetColor(m_buttonColor);
        part->SetOuterColor(m_backColor);
        part->OnClick = [](QObject*) {}; // every step comes from the repeat
    }
    resize(20, 60);
    m_up->setGeometry(0, 0, 20, 20);
    m_down->setGeometry(0, 40, 20, 20);
    m_thumb->setGeometry(0, 20, 20, 40);

    m_up->OnMouseDown = [this](QObject*, Qt::MouseButton, TShiftState, int, int) { StartRepeat(0); };
    m_up->OnMouseUp = [this](QObject*, Qt::MouseButton, TShiftState, int, int) { StopRepeat(); };
    m_down->OnMouseDown = [this](QObject*, Qt::MouseButton, TShiftState, int, int) { StartRepeat(1); };
    m_down->OnMouseUp = [this](QObject*, Qt::MouseButton, TShiftState, int, int) { StopRepeat(); };
    m_thumb->OnMouseDown = [this](QObject*, Qt::MouseButton, TShiftState, int x, int y) { ThumbDown(x, y); };
    m_thumb->OnMouseMove = [this](QObject*, TShiftState, int x, int y) { ThumbMove(x, y); };
    m_thumb->OnMouseUp = [this](QObject*, Qt::MouseButton, TShiftState, int, int) { ThumbUp(); };
}

TorvaneScrollBar::~TorvaneScrollBar()
{
    StopRepeat();
}

int TorvaneScrollBar::AxisLength(const QWidget* w) const
{
    return Vertical() ? w->height() : w->width();
}

int TorvaneScrollBar::AxisStart(const QWidget* w) const
{
    return Vertical() ? w->y() : w->x();
}

int TorvaneScrollBar::TrackLength() const
{
    return AxisLength(this) - AxisLength(m_up) - AxisLength(m_down) - AxisLength(m_thumb);
}

void TorvaneScrollBar::LetPendingMessagesRun()
{
    // Pending paints and ticks may run in the middle of a change, but never this same step again.
    if (m_inPendingMessages) {
        return;
    }
    m_inPendingMessages = true;
    QCoreApplication::processEvents();
    m_inPendingMessages = false;
}

void TorvaneScrollBar::SetMin(int value)
{
    if (value < 0 || value >= m_max) {
        return;
    }
    m_min = value;
    m_quiet = true;
    UpdatePosition();
    update();
}

void TorvaneScrollBar::SetMax(int value)
{
    if (value <= m_min) {
        return;
    }
    m_max = value;
    m_quiet = true;
    UpdatePosition();
    update();
}

void TorvaneScrollBar::SetValue(int value)
{
    m_value = std::clamp(value, m_min, m_max);
    LetPendingMessagesRun();
    UpdatePosition();
    if (!m_quiet && !(m_noChangeWhileMoving && m_dragInProgress) && PositionChanged) {
        PositionChanged(this, m_value);
    }
    m_quiet = false;
}

void TorvaneScrollBar::SetValueQuiet(int value)
{
    if (m_dragging) {
        return;
    }
    m_quiet = true;
    SetValue(value);
}

int TorvaneScrollBar::GetThumbPosition() const
{
    if (m_min == m_max) {
        return 0;
    }
    const long long offset = static_cast<long long>(m_value - m_min) * TrackLength();
    return AxisLength(m_up) + RoundDivHalfEven(offset, static_cast<long long>(m_max) - m_min);
}

void TorvaneScrollBar::UpdatePosition()
{
    if (!m_thumbByMouse) {
        MoveThumbTo(GetThumbPosition());
    }
    if (Vertical() && !m_quiet) {
        SendScroll();
    }
}

void TorvaneScrollBar::MoveThumbTo(int start)
{
    if (Vertical()) {
        m_thumb->move(m_thumb->x(), start);
    } else {
        m_thumb->move(start, m_thumb->y());
    }
}

void TorvaneScrollBar::SendScroll()
{
    QWidget* target = m_scrollComponent.data();
    if (!target) {
        return;
    }
    if (auto* rows = dynamic_cast<TscrollTarget*>(target)) {
        rows->SetTopRow(m_value);
    } else if (auto* area = qobject_cast<QAbstractScrollArea*>(target)) {
        area->verticalScrollBar()->setValue(m_value);
    }
}

void TorvaneScrollBar::SetButtonColor(TColor value)
{
    m_buttonColor = value;
    for (TorvaneButton* part : {m_up, m_down}) {
        part->SetColor(value);
        part->SetOuterColor(m_backColor);
    }
    m_backCacheBuilt = false;
    update();
}

void TorvaneScrollBar::SetScrollerColor(TColor value)
{
    m_scrollerColor = value;
    m_thumb->SetColor(value);
    m_thumb->SetOuterColor(value);
    update();
}

void TorvaneScrollBar::SetBackColor(TColor value)
{
    m_backColor = value;
    for (TorvaneButton* part : {m_up, m_down, m_thumb}) {
        part->SetOuterColor(value);
    }
    m_backCacheBuilt = false;
    update();
}

void TorvaneScrollBar::SetBackBitmap(const QImage& value)
{
    m_backBitmap = value;
    m_backCacheBuilt = false;
    update();
}

const QImage& TorvaneScrollBar::UpButtonSkin() const
{
    return m_up->SkinBitmap();
}

void TorvaneScrollBar::SetUpButtonSkin(const QImage& value)
{
    SetPartSkin(m_up, value);
}

const QImage& TorvaneScrollBar::DownButtonSkin() const
{
    return m_down->SkinBitmap();
}

void TorvaneScrollBar::SetDownButtonSkin(const QImage& value)
{
    SetPartSkin(m_down, value);
}

const QImage& TorvaneScrollBar::ScrollButtonSkin() const
{
    return m_thumb->SkinBitmap();
}

void TorvaneScrollBar::SetScrollButtonSkin(const QImage& value)
{
    SetPartSkin(m_thumb, value);
}

void TorvaneScrollBar::SetPartSkin(TorvaneButton* part, const QImage& value)
{
    part->SetSkinBitmap(value);
    if (!IsEmptyBitmap(value)) {
        part->SetIsSkinned(true);
    }
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
    m_style = value;
    if (m_isAligned) {
        ApplyAlign();
    }
    update();
}

void TorvaneScrollBar::SetIsAligned(bool value)
{
    m_isAligned = value;
    ApplyAlign();
}

void TorvaneScrollBar::SetLeftTopAligned(bool value)
{
    m_leftTopAligned = value;
    if (m_isAligned) {
        ApplyAlign();
    }
}

void TorvaneScrollBar::ApplyAlign()
{
    TAlign align = TAlign::alNone;
    if (m_isAligned) {
        if (Vertical()) {
            align = m_leftTopAligned ? TAlign::alLeft : TAlign::alRight;
        } else {
            align = m_leftTopAligned ? TAlign::alTop : TAlign::alBottom;
        }
    }
    TalignLayout::SetAlign(this, align);
}

bool TorvaneScrollBar::Repeating() const
{
    return m_repeat && m_repeat->Enabled();
}

void TorvaneScrollBar::StartRepeat(int area)
{
    m_area = area;
    if (!m_repeat) {
        m_repeat = std::make_unique<TThreadedTimer>();
        m_repeat->OnTimer = [this](TThreadedTimer*) { RepeatTick(); };
        m_repeat->SetInterval(kRepeatInterval);
    }
    if (!m_repeat->Enabled()) {
        m_repeat->SetEnabled(true);
    }
}

void TorvaneScrollBar::StopRepeat()
{
    if (m_repeat) {
        m_repeat->SetEnabled(false);
    }
}

void TorvaneScrollBar::RepeatTick()
{
    switch (m_area) {
    case 0:
        SetValue(m_value - m_smallStep);
        break;
    case 1:
        SetValue(m_value + m_smallStep);
        break;
    case 2:
        SetValue(m_value - m_largeStep);
        break;
    default:
        SetValue(m_value + m_largeStep);
        break;
    }
}

void TorvaneScrollBar::ThumbDown(int x, int y)
{
    m_dragStart = QPoint(x, y);
    m_dragging = true;
    m_thumbByMouse = true;
    m_dragInProgress = true;
}

void TorvaneScrollBar::ThumbMove(int x, int y)
{
    if (!m_dragging) {
        return;
    }
    LetPendingMessagesRun();
    if (!m_dragging || m_min == m_max) {
        return;
    }
    const int delta = Vertical() ? y - m_dragStart.y() : x - m_dragStart.x();
    const int lowest = AxisLength(m_up);
    const int highest = AxisLength(this) - AxisLength(m_down) - AxisLength(m_thumb);
    const int start = std::min(std::max(AxisStart(m_thumb) + delta, lowest), highest);
    if (start != AxisStart(m_thumb)) {
        MoveThumbTo(start);
    }
    const int track = TrackLength();
    if (track <= 0) {
        return;
    }
    const long long range = static_cast<long long>(m_max) - m_min;
    SetValue(m_min + RoundDivHalfEven(static_cast<long long>(start - lowest) * range, track));
}

void TorvaneScrollBar::ThumbUp()
{
    m_dragging = false;
    m_thumbByMouse = false;
    m_dragInProgress = false;
    SetValue(m_value);
}

void TorvaneScrollBar::FitPartsToSkins()
{
    for (TorvaneButton* part : {m_up, m_down, m_thumb}) {
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
    for (TorvaneButton* part : {m_up, m_down, m_thumb}) {
        const QImage& skin = part->SkinBitmap();
        if (!IsEmptyBitmap(skin)) {
            part->SetIsSkinned(true);
            part->resize(skin.width() / 3, skin.height());
        }
    }
    if (IsEmptyBitmap(m_thumb->SkinBitmap())) {
        if (Vertical()) {
            m_thumb->setGeometry(0, m_thumb->y(), 20, 40);
        } else {
            m_thumb->setGeometry(m_thumb->x(), 0, 40, 20);
        }
    }
    if (Vertical()) {
        m_down->move(0, height() - m_down->height());
        m_thumb->move(0, m_thumb->y());
    } else {
        m_down->move(width() - m_down->width(), 0);
        m_thumb->move(m_thumb->x(), 0);
    }
    m_quiet = true;
    UpdatePosition();
    QWidget::resizeEvent(event);
    if (OnResize) {
        OnResize(this);
    }
}

void TorvaneScrollBar::paintEvent(QPaintEvent*)
{
    FitPartsToSkins();
    if (!m_backCacheBuilt && !IsEmptyBitmap(m_backBitmap)) {
        m_backCache = RecoloredSkin(m_backBitmap, 1, m_backColor, {}, m_backColor);
        m_backCacheBuilt = true;
    }
    if (IsEmptyBitmap(m_backBitmap)) {
        m_backCache = QImage();
    }
    QPainter painter(this);
    if (IsEmptyBitmap(m_backCache)) {
        painter.fillRect(rect(), SkinColorToQColor(m_backColor));
        return;
    }
    const int stepX = m_backBitmap.width();
    const int stepY = m_backBitmap.height();
    for (int y = 0; y < height(); y += stepY) {
        for (int x = 0; x < width(); x += stepX) {
            painter.drawImage(QPoint(x, y), m_backCache);
        }
    }
}

void TorvaneScrollBar::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const int along = Vertical() ? p.y() : p.x();
    m_mouseHeld = true;
    event->accept();
    StartRepeat(along >= AxisStart(m_thumb) ? 3 : 2);
}

void TorvaneScrollBar::mouseReleaseEvent(QMouseEvent* event)
{
    m_mouseHeld = false;
    StopRepeat();
    event->accept();
}
