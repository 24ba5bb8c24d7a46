#include "controls/keyboardcontrol.h"

#include "controls/alignlayout.h"
#include "platform/qtstring.h"

#include <QMouseEvent>
#include <QPainter>

#include <array>

namespace {

struct KeyDef
{
    const char* Caption;
    std::uint16_t Code;
};

constexpr std::array<KeyDef, TkeyboardControl::kKeyCount> kKeyTable = {{
    {"1", 49}, {"2", 50}, {"3", 51}, {"4", 52}, {"5", 53}, {"6", 54},     {"7", 55},  {"8", 56},
    {"9", 57}, {"0", 48}, {"Q", 81}, {"W", 87}, {"E", 69}, {"R", 82},     {"T", 84},  {"Y", 89},
    {"U", 85}, {"I", 73}, {"O", 79}, {"P", 80}, {"A", 65}, {"S", 83},     {"D", 68},  {"F", 70},
    {"G", 71}, {"H", 72}, {"J", 74}, {"K", 75}, {"L", 76}, {"<-", 8},     {"Z", 90},  {"X", 88},
    {"C", 67}, {"V", 86}, {"B", 66}, {"N", 78}, {"M", 77}, {"Space", 32}, {"Clr", 0},
}};

constexpr int kSpace = 37;
constexpr int kClear = 38;

TShiftState ShiftOf(const QMouseEvent* event)
{
    return {event->modifiers(), event->buttons() | event->button()};
}

} // namespace

TkeyboardControl::TkeyboardControl(QWidget* parent) : QWidget(parent)
{
    keys_.reserve(kKeyTable.size());
    for (const KeyDef& def : kKeyTable) {
        keys_.emplace_back(platform::ToQString(def.Caption), def.Code);
    }
    resize(400, 160);
    LayoutKeys();
}

TkeyboardControl::~TkeyboardControl() = default;

void TkeyboardControl::SetColor(TColor value)
{
    color_ = value;
    LayoutKeys();
    update();
}

void TkeyboardControl::SetFontColor(TColor value)
{
    fontColor_ = value;
    LayoutKeys();
    update();
}

void TkeyboardControl::SetBevelWidth(int value)
{
    bevelWidth_ = value;
    LayoutKeys();
    update();
}

void TkeyboardControl::SetCapitals(bool value)
{
    capitals_ = value;
    for (TkeyboardKey& key : keys_) {
        if (key.Code >= 'A' && key.Code <= 'Z') {
            const char letter = static_cast<char>(value ? key.Code : key.Code - 'A' + 'a');
            key.Caption = QString(QLatin1Char(letter));
        }
    }
    update();
}

int TkeyboardControl::KeyAt(QPoint point) const
{
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (keys_[i].Rect.contains(point)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TkeyboardControl::LayoutKeys()
{
    const int w = KeyWidth();
    const int h = KeyHeight();
    for (int i = 0; i < static_cast<int>(keys_.size()); ++i) {
        TkeyboardKey& key = keys_[std::size_t(i)];
        int left = w * (i % kColumns);
        int right = left + w;
        if (i == kSpace) {
            left = 7 * w;
            right = 9 * w;
        } else if (i == kClear) {
            left = 9 * w;
            right = 10 * w;
        }
        const int top = h * (i / kColumns);
        key.Rect = QRect(left, top, right - left, h);
        key.Color = color_;
        key.FontColor = fontColor_;
        key.Font = font();
        key.BevelWidth = bevelWidth_;
    }
}

void TkeyboardControl::PressAt(QPoint point)
{
    const int index = KeyAt(point);
    if (index < 0) {
        return;
    }
    keys_[std::size_t(index)].Down = true;
    pressed_ = index;
    update(keys_[std::size_t(index)].Rect);
}

void TkeyboardControl::ReleaseAt(QPoint point, TShiftState shift)
{
    const int index = KeyAt(point);
    const int pressed = pressed_;
    pressed_ = -1;
    if (pressed < 0) {
        return;
    }
    keys_[std::size_t(pressed)].Down = false;
    update(keys_[std::size_t(pressed)].Rect);
    if (index == pressed && OnKeyPress) {
        std::uint16_t code = keys_[std::size_t(pressed)].Code;
        OnKeyPress(this, code, shift);
    }
}

void TkeyboardControl::MouseLeft()
{
    if (pressed_ >= 0 && keys_[std::size_t(pressed_)].Down) {
        keys_[std::size_t(pressed_)].Down = false;
        update(keys_[std::size_t(pressed_)].Rect);
    }
}

void TkeyboardControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (const TkeyboardKey& key : keys_) {
        key.Draw(painter, key.Down);
    }
}

void TkeyboardControl::resizeEvent(QResizeEvent* event)
{
    LayoutKeys();
    // Outside a client-aligned place the control snaps to whole cells.
    const int snapped = kColumns * KeyWidth();
    if (TalignLayout::AlignOf(this) != TAlign::alClient && (width() < 0 || width() != snapped)) {
        resize(snapped, height());
    }
    update();
    QWidget::resizeEvent(event);
}

void TkeyboardControl::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        LayoutKeys();
        update();
    }
    QWidget::changeEvent(event);
}

void TkeyboardControl::mousePressEvent(QMouseEvent* event)
{
    PressAt(event->position().toPoint());
    event->accept();
}

void TkeyboardControl::mouseReleaseEvent(QMouseEvent* event)
{
    ReleaseAt(event->position().toPoint(), ShiftOf(event));
    event->accept();
}

void TkeyboardControl::mouseMoveEvent(QMouseEvent* event)
{
    // While the button is held the mouse is grabbed, so leaving shows up as a move outside.
    if (pressed_ >= 0 && !rect().contains(event->position().toPoint())) {
        MouseLeft();
    }
    event->accept();
}

void TkeyboardControl::leaveEvent(QEvent* event)
{
    MouseLeft();
    QWidget::leaveEvent(event);
}
