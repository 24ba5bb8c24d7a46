#include "controls/orvanebutton.h"

#include "controls/skindraw.h"

#include <QAction>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <array>

namespace {

constexpr std::array<TColor, 1> kWhiteMask{clWhite};

bool IsPressKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

TShiftState ShiftOf(const QMouseEvent* event)
{
    return TShiftState{event->modifiers(), event->buttons()};
}

// The glyph with the colour of its bottom-left pixel made transparent.
QImage WithTransparentCorner(const QImage& picture)
{
    QImage result = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = result.pixel(0, result.height() - 1) | 0xFF000000u;
    for (int y = 0; y < result.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            if ((line[x] | 0xFF000000u) == key) {
                line[x] = 0;
            }
        }
    }
    return result;
}

// The platform's dotted focus rectangle: every other pixel of the outline inverted.
void DrawFocusRect(QImage& image, const QRect& r)
{
    if (r.width() <= 0 || r.height() <= 0) {
        return;
    }
    const auto invert = [&image](int x, int y) {
        if (InsideImage(image, x, y) && ((x + y) & 1) == 0) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            line[x] ^= 0x00FFFFFFu;
        }
    };
    const int left = r.left();
    const int top = r.top();
    const int right = r.left() + r.width() - 1;
    const int bottom = r.top() + r.height() - 1;
    for (int x = left; x <= right; ++x) {
        invert(x, top);
        if (bottom != top) {
            invert(x, bottom);
        }
    }
    for (int y = top + 1; y < bottom; ++y) {
        invert(left, y);
        if (right != left) {
            invert(right, y);
        }
    }
}

} // namespace

TorvaneButton::TorvaneButton(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(true);
    resize(75, 25);
}

TorvaneButton::~TorvaneButton() = default;

void TorvaneButton::SetIsCheckButton(bool value)
{
    isCheckButton_ = value;
    RebuildCache();
    update();
}

void TorvaneButton::SetChecked(bool value)
{
    checked_ = value;
    DrawState();
}

void TorvaneButton::SetGlyphs(const QImage& value)
{
    glyphs_ = value;
    RebuildCache();
    update();
}

void TorvaneButton::SetGlyphPos(TglyphPos value)
{
    glyphPos_ = value;
    update();
}

void TorvaneButton::SetGlyphPadding(int value)
{
    glyphPadding_ = value;
    update();
}

void TorvaneButton::SetCaption(const QString& value)
{
    caption_ = value;
    update();
}

void TorvaneButton::SetColor(TColor value)
{
    color_ = value;
    RebuildCache();
    update();
}

void TorvaneButton::SetOuterColor(TColor value)
{
    outerColor_ = value;
    RebuildCache();
    update();
}

void TorvaneButton::SetFontHiliteColor(TColor value)
{
    fontHiliteColor_ = value;
    update();
}

void TorvaneButton::SetFontColor(TColor value)
{
    fontColor_ = value;
    update();
}

void TorvaneButton::SetBevelWidth(int value)
{
    bevelWidth_ = value;
    update();
}

void TorvaneButton::SetShowFocusRect(bool value)
{
    showFocusRect_ = value;
    update();
}

void TorvaneButton::SetIsSkinned(bool value)
{
    isSkinned_ = value;
    showFocusRect_ = false;
    RebuildCache();
    update();
}

void TorvaneButton::SetSkinBitmap(const QImage& value)
{
    skinBitmap_ = value;
    RebuildCache();
    update();
}

int TorvaneButton::SkinHeight() const
{
    return IsEmptyBitmap(skinBitmap_) ? 0 : skinBitmap_.height();
}

int TorvaneButton::SkinWidth() const
{
    return IsEmptyBitmap(skinBitmap_) ? 0 : skinBitmap_.width() / FrameCount();
}

void TorvaneButton::SetAction(QAction* action)
{
    if (action_ == action) {
        return;
    }
    if (action_) {
        disconnect(action_, nullptr, this, nullptr);
    }
    action_ = action;
    if (!action) {
        return;
    }
    connect(action, &QAction::changed, this, &TorvaneButton::ActionChanged);
    if (caption_.isEmpty()) {
        caption_ = action->text();
    }
    actionText_ = action->text();
    ActionChanged();
}

void TorvaneButton::ActionChanged()
{
    if (!action_) {
        return;
    }
    // The caption follows only while it still shows the action's text.
    if (caption_ == actionText_) {
        caption_ = action_->text();
    }
    actionText_ = action_->text();
    setEnabled(action_->isEnabled());
    setToolTip(action_->toolTip());
    setStatusTip(action_->statusTip());
    setVisible(action_->isVisible());
    // Only a checkable action has a checked state to follow.
    if (action_->isCheckable() && checked_ != action_->isChecked()) {
        SetChecked(action_->isChecked());
    }
    update();
}

bool TorvaneButton::SkinnedLookApplies() const
{
    return isSkinned_ && !IsEmptyBitmap(skinBitmap_) && skinBitmap_.width() > 4;
}

bool TorvaneButton::HitTestMask() const
{
    // Without a usable skin the button is drawn as a rectangle, and all of it answers.
    if (!SkinnedLookApplies()) {
        return true;
    }
    const int frameWidth = skinBitmap_.width() / FrameCount();
    const int x = lastPoint_.x();
    const int y = lastPoint_.y();
    if (x < 0 || x >= frameWidth || y < 0 || y >= skinBitmap_.height()) {
        return false;
    }
    const int maskIndex = isCheckButton_ ? 4 : 2;
    return PixelColor(skinBitmap_, frameWidth * maskIndex + x, y) == clWhite;
}

void TorvaneButton::DrawState()
{
    update();
}

void TorvaneButton::RebuildCache()
{
    if (!IsEmptyBitmap(glyphs_)) {
        QImage cache(glyphs_.size(), QImage::Format_BGR888);
        cache.fill(SkinColorToQColor(color_));
        DrawShadeMask(glyphs_, cache, glyphs_.rect(), cache.rect());
        glyphCache_ = std::move(cache);
    } else {
        glyphCache_ = QImage();
    }
    // Built regardless of the glyphs, so a skinned button with glyphs still shows its skin.
    skinCache_ = QImage();
    skinCacheBuilt_ = false;
    if (isSkinned_) {
        BuildSkinCache();
    }
}

void TorvaneButton::BuildSkinCache()
{
    skinCache_ = RecoloredSkin(skinBitmap_, FrameCount(), color_, kWhiteMask, outerColor_);
    skinCacheBuilt_ = !IsEmptyBitmap(skinCache_);
}

void TorvaneButton::paintEvent(QPaintEvent*)
{
    if (width() <= 0 || height() <= 0) {
        return;
    }
    QImage buffer(size(), QImage::Format_RGB32);
    Render(buffer);
    QPainter painter(this);
    painter.drawImage(0, 0, buffer);
}

void TorvaneButton::Render(QImage& target)
{
    if (isSkinned_ && !skinCacheBuilt_) {
        BuildSkinCache();
    }
    if (SkinnedLookApplies()) {
        PaintSkinned(target);
    } else {
        PaintUnskinned(target);
    }
}

void TorvaneButton::PaintSkinned(QImage& target)
{
    if (IsEmptyBitmap(skinCache_)) {
        BuildSkinCache();
    }
    const int frameWidth = skinCache_.width() / FrameCount();
    if (frameWidth <= 0 || skinCache_.height() <= 0) {
        target.fill(Qt::black);
        return;
    }
    int frame = 0;
    if (isCheckButton_) {
        frame = checked_ ? (pressed_ ? 3 : 2) : (pressed_ ? 1 : 0);
    } else {
        frame = pressed_ ? 1 : 0;
    }
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(target.rect(), skinCache_,
                      QRect(frame * frameWidth, 0, frameWidth, skinCache_.height()));
}

void TorvaneButton::PaintUnskinned(QImage& target)
{
    const TColor rgb = SkinColorToRgb(color_);
    const int w = target.width();
    const int h = target.height();
    QPainter painter(&target);
    DrawGradientBevel(painter, target.rect(), rgb, pressed_, bevelWidth_);
    const int s = pressed_ ? RoundDivHalfEven(bevelWidth_, 2) : 0;

    painter.setFont(font());
    painter.setPen(SkinColorToQColor(hasFocus() ? fontHiliteColor_ : fontColor_));
    painter.drawText(target.rect().translated(s, s),
                     Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, caption_);

    if (!IsEmptyBitmap(glyphCache_)) {
        QRect source = glyphCache_.rect();
        const int half = glyphCache_.width() / 2;
        if (checked_) {
            source = QRect(half, 0, half, glyphCache_.height());
        } else if (isCheckButton_) {
            source = QRect(0, 0, half, glyphCache_.height());
        }
        const int gw = source.width();
        const int gh = source.height();
        if (gw > 0 && gh > 0) {
            int x = 0;
            switch (glyphPos_) {
            case TglyphPos::gpLeft:
                x = glyphPadding_;
                break;
            case TglyphPos::gpRight:
                x = w - glyphPadding_ - gw;
                break;
            case TglyphPos::gpCenter:
            case TglyphPos::gpCenterLeft:
            case TglyphPos::gpCenterRight:
                x = RoundDivHalfEven(w - gw, 2);
                break;
            }
            x += s;
            const int captionWidth = painter.fontMetrics().horizontalAdvance(caption_);
            if (glyphPos_ == TglyphPos::gpCenterLeft) {
                x += -RoundDivHalfEven(captionWidth, 2) - glyphPadding_ - RoundDivHalfEven(gw, 2);
            } else if (glyphPos_ == TglyphPos::gpCenterRight) {
                x += RoundDivHalfEven(captionWidth, 2) + glyphPadding_ + RoundDivHalfEven(gw, 2);
            }
            const int y = s + RoundDivHalfEven(h - gh, 2);
            painter.drawImage(QPoint(x, y), WithTransparentCorner(glyphCache_.copy(source)));
        }
    }
    painter.end();

    if (hasFocus() && showFocusRect_) {
        const int inset = bevelWidth_ + 1;
        DrawFocusRect(target, target.rect().adjusted(inset, inset, -inset, -inset));
    }
}

void TorvaneButton::FrameworkClick()
{
    if (OnClick) {
        OnClick(this);
    } else if (action_) {
        action_->trigger();
    }
}

void TorvaneButton::Click()
{
    if (HitTestMask()) {
        if (isCheckButton_) {
            checked_ = !checked_;
        } else {
            checked_ = false;
        }
        FrameworkClick();
    }
    DrawState();
}

void TorvaneButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        clickArmed_ = true;
    }
    lastPoint_ = event->position().toPoint();
    pressed_ = HitTestMask();
    DrawState();
    if (pressed_) {
        // Parts of other controls (the scroll bar's arrows) are made unfocusable and keep the focus away.
        if (focusPolicy() != Qt::NoFocus) {
            setFocus(Qt::MouseFocusReason);
        }
        if (OnMouseDown) {
            OnMouseDown(this, event->button(), ShiftOf(event), lastPoint_.x(), lastPoint_.y());
        }
    }
}

void TorvaneButton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    // As the framework does, the click comes before the mouse-up step, so the mask test still sees the
    // press point.
    if (event->button() == Qt::LeftButton && clickArmed_) {
        clickArmed_ = false;
        if (rect().contains(point)) {
            Click();
        }
    }
    lastPoint_ = point;
    const bool wasPressed = pressed_;
    pressed_ = false;
    DrawState();
    if (wasPressed && OnMouseUp) {
        OnMouseUp(this, event->button(), ShiftOf(event), point.x(), point.y());
    }
}

void TorvaneButton::mouseMoveEvent(QMouseEvent* event)
{
    if (OnMouseMove) {
        const QPoint point = event->position().toPoint();
        OnMouseMove(this, ShiftOf(event), point.x(), point.y());
    }
}

void TorvaneButton::keyPressEvent(QKeyEvent* event)
{
    if (IsPressKey(event->key())) {
        pressed_ = true;
        DrawState();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TorvaneButton::keyReleaseEvent(QKeyEvent* event)
{
    if (IsPressKey(event->key())) {
        // Held keys repeat as press and release pairs here; only the real release counts.
        if (!event->isAutoRepeat() && pressed_) {
            pressed_ = false;
            Click();
            DrawState();
        }
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void TorvaneButton::focusInEvent(QFocusEvent* event)
{
    DrawState();
    QWidget::focusInEvent(event);
    if (OnEnter) {
        OnEnter(this);
    }
}

void TorvaneButton::focusOutEvent(QFocusEvent* event)
{
    DrawState();
    QWidget::focusOutEvent(event);
    if (OnExit) {
        OnExit(this);
    }
}

void TorvaneButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        DrawState();
    }
    QWidget::changeEvent(event);
}
