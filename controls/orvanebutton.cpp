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
    m_isCheckButton = value;
    RebuildCache();
    update();
}

void TorvaneButton::SetChecked(bool value)
{
    m_checked = value;
    DrawState();
}

void TorvaneButton::SetGlyphs(const QImage& value)
{
    m_glyphs = value;
    RebuildCache();
    update();
}

void TorvaneButton::SetGlyphPos(TglyphPos value)
{
    m_glyphPos = value;
    update();
}

void TorvaneButton::SetGlyphPadding(int value)
{
    m_glyphPadding = value;
    update();
}

void TorvaneButton::SetCaption(const QString& value)
{
    m_caption = value;
    update();
}

void TorvaneButton::SetColor(TColor value)
{
    m_color = value;
    RebuildCache();
    update();
}

void TorvaneButton::SetOuterColor(TColor value)
{
    m_outerColor = value;
    RebuildCache();
    update();
}

void TorvaneButton::SetFontHiliteColor(TColor value)
{
    m_fontHiliteColor = value;
    update();
}

void TorvaneButton::SetFontColor(TColor value)
{
    m_fontColor = value;
    update();
}

void TorvaneButton::SetBevelWidth(int value)
{
    m_bevelWidth = value;
    update();
}

void TorvaneButton::SetShowFocusRect(bool value)
{
    m_showFocusRect = value;
    update();
}

void TorvaneButton::SetIsSkinned(bool value)
{
    m_isSkinned = value;
    m_showFocusRect = false;
    RebuildCache();
    update();
}

void TorvaneButton::SetSkinBitmap(const QImage& value)
{
    m_skinBitmap = value;
    RebuildCache();
    update();
}

int TorvaneButton::SkinHeight() const
{
    return IsEmptyBitmap(m_skinBitmap) ? 0 : m_skinBitmap.height();
}

int TorvaneButton::SkinWidth() const
{
    return IsEmptyBitmap(m_skinBitmap) ? 0 : m_skinBitmap.width() / FrameCount();
}

void TorvaneButton::SetAction(QAction* action)
{
    if (m_action == action) {
        return;
    }
    if (m_action) {
        disconnect(m_action, nullptr, this, nullptr);
    }
    m_action = action;
    if (!action) {
        return;
    }
    connect(action, &QAction::changed, this, &TorvaneButton::ActionChanged);
    if (m_caption.isEmpty()) {
        m_caption = action->text();
    }
    m_actionText = action->text();
    ActionChanged();
}

void TorvaneButton::ActionChanged()
{
    if (!m_action) {
        return;
    }
    // The caption follows only while it still shows the action's text.
    if (m_caption == m_actionText) {
        m_caption = m_action->text();
    }
    m_actionText = m_action->text();
    setEnabled(m_action->isEnabled());
    setToolTip(m_action->toolTip());
    setStatusTip(m_action->statusTip());
    setVisible(m_action->isVisible());
    // Only a checkable action has a checked state to follow.
    if (m_action->isCheckable() && m_checked != m_action->isChecked()) {
        SetChecked(m_action->isChecked());
    }
    update();
}

bool TorvaneButton::SkinnedLookApplies() const
{
    return m_isSkinned && !IsEmptyBitmap(m_skinBitmap) && m_skinBitmap.width() > 4;
}

bool TorvaneButton::HitTestMask() const
{
    // Without a usable skin the button is drawn as a rectangle, and all of it answers.
    if (!SkinnedLookApplies()) {
        return true;
    }
    const int frameWidth = m_skinBitmap.width() / FrameCount();
    const int x = m_lastPoint.x();
    const int y = m_lastPoint.y();
    if (x < 0 || x >= frameWidth || y < 0 || y >= m_skinBitmap.height()) {
        return false;
    }
    const int maskIndex = m_isCheckButton ? 4 : 2;
    return PixelColor(m_skinBitmap, frameWidth * maskIndex + x, y) == clWhite;
}

void TorvaneButton::DrawState()
{
    update();
}

void TorvaneButton::RebuildCache()
{
    if (!IsEmptyBitmap(m_glyphs)) {
        QImage cache(m_glyphs.size(), QImage::Format_BGR888);
        cache.fill(SkinColorToQColor(m_color));
        DrawShadeMask(m_glyphs, cache, m_glyphs.rect(), cache.rect());
        m_glyphCache = std::move(cache);
    } else {
        m_glyphCache = QImage();
    }
    // Built regardless of the glyphs, so a skinned button with glyphs still shows its skin.
    m_skinCache = QImage();
    m_skinCacheBuilt = false;
    if (m_isSkinned) {
        BuildSkinCache();
    }
}

void TorvaneButton::BuildSkinCache()
{
    m_skinCache = RecoloredSkin(m_skinBitmap, FrameCount(), m_color, kWhiteMask, m_outerColor);
    m_skinCacheBuilt = !IsEmptyBitmap(m_skinCache);
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
    if (m_isSkinned && !m_skinCacheBuilt) {
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
    if (IsEmptyBitmap(m_skinCache)) {
        BuildSkinCache();
    }
    const int frameWidth = m_skinCache.width() / FrameCount();
    if (frameWidth <= 0 || m_skinCache.height() <= 0) {
        target.fill(Qt::black);
        return;
    }
    int frame = 0;
    if (m_isCheckButton) {
        frame = m_checked ? (m_pressed ? 3 : 2) : (m_pressed ? 1 : 0);
    } else {
        frame = m_pressed ? 1 : 0;
    }
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(target.rect(), m_skinCache,
                      QRect(frame * frameWidth, 0, frameWidth, m_skinCache.height()));
}

void TorvaneButton::PaintUnskinned(QImage& target)
{
    const TColor rgb = SkinColorToRgb(m_color);
    const int w = target.width();
    const int h = target.height();
    QPainter painter(&target);
    DrawGradientBevel(painter, target.rect(), rgb, m_pressed, m_bevelWidth);
    const int s = m_pressed ? RoundDivHalfEven(m_bevelWidth, 2) : 0;

    painter.setFont(font());
    painter.setPen(SkinColorToQColor(hasFocus() ? m_fontHiliteColor : m_fontColor));
    painter.drawText(target.rect().translated(s, s),
                     Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, m_caption);

    if (!IsEmptyBitmap(m_glyphCache)) {
        QRect source = m_glyphCache.rect();
        const int half = m_glyphCache.width() / 2;
        if (m_checked) {
            source = QRect(half, 0, half, m_glyphCache.height());
        } else if (m_isCheckButton) {
            source = QRect(0, 0, half, m_glyphCache.height());
        }
        const int gw = source.width();
        const int gh = source.height();
        if (gw > 0 && gh > 0) {
            int x = 0;
            switch (m_glyphPos) {
            case TglyphPos::gpLeft:
                x = m_glyphPadding;
                break;
            case TglyphPos::gpRight:
                x = w - m_glyphPadding - gw;
                break;
            case TglyphPos::gpCenter:
            case TglyphPos::gpCenterLeft:
            case TglyphPos::gpCenterRight:
                x = RoundDivHalfEven(w - gw, 2);
                break;
            }
            x += s;
            const int captionWidth = painter.fontMetrics().horizontalAdvance(m_caption);
            if (m_glyphPos == TglyphPos::gpCenterLeft) {
                x += -RoundDivHalfEven(captionWidth, 2) - m_glyphPadding - RoundDivHalfEven(gw, 2);
            } else if (m_glyphPos == TglyphPos::gpCenterRight) {
                x += RoundDivHalfEven(captionWidth, 2) + m_glyphPadding + RoundDivHalfEven(gw, 2);
            }
            const int y = s + RoundDivHalfEven(h - gh, 2);
            painter.drawImage(QPoint(x, y), WithTransparentCorner(m_glyphCache.copy(source)));
        }
    }
    painter.end();

    if (hasFocus() && m_showFocusRect) {
        const int inset = m_bevelWidth + 1;
        DrawFocusRect(target, target.rect().adjusted(inset, inset, -inset, -inset));
    }
}

void TorvaneButton::FrameworkClick()
{
    if (OnClick) {
        OnClick(this);
    } else if (m_action) {
        m_action->trigger();
    }
}

void TorvaneButton::Click()
{
    if (HitTestMask()) {
        if (m_isCheckButton) {
            m_checked = !m_checked;
        } else {
            m_checked = false;
        }
        FrameworkClick();
    }
    DrawState();
}

void TorvaneButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_clickArmed = true;
    }
    m_lastPoint = event->position().toPoint();
    m_pressed = HitTestMask();
    DrawState();
    if (m_pressed) {
        // Parts of other controls (the scroll bar's arrows) are made unfocusable and keep the focus away.
        if (focusPolicy() != Qt::NoFocus) {
            setFocus(Qt::MouseFocusReason);
        }
        if (OnMouseDown) {
            OnMouseDown(this, event->button(), ShiftOf(event), m_lastPoint.x(), m_lastPoint.y());
        }
    }
}

void TorvaneButton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    // As the framework does, the click comes before the mouse-up step, so the mask test still sees the
    // press point.
    if (event->button() == Qt::LeftButton && m_clickArmed) {
        m_clickArmed = false;
        if (rect().contains(point)) {
            Click();
        }
    }
    m_lastPoint = point;
    const bool wasPressed = m_pressed;
    m_pressed = false;
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
        m_pressed = true;
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
        if (!event->isAutoRepeat() && m_pressed) {
            m_pressed = false;
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
