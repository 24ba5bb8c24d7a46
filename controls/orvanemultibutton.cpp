#include "controls/orvanemultibutton.h"

#include "controls/skindraw.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// The fixed hit-map colours that take the button colour when the skin is recoloured.
constexpr std::array<TColor, 4> kRecolorList{clRed, clLime, clBlue, clFuchsia};

// Copies the non-black pixels of one mask frame over the picture.
void OverlayMaskFrame(QImage& picture, const QImage& mask, int frame, int frameWidth)
{
    const int w = std::min(frameWidth, picture.width());
    const int h = std::min(mask.height(), picture.height());
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = mask.constScanLine(y) + 3 * frame * frameWidth;
        auto* dst = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = src + 3 * x;
            if (p[0] != 0 || p[1] != 0 || p[2] != 0) {
                dst[x] = qRgb(p[2], p[1], p[0]);
            }
        }
    }
}

} // namespace

TorvaneMultiButton::TorvaneMultiButton(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 40);
}

TorvaneMultiButton::~TorvaneMultiButton() = default;

bool TorvaneMultiButton::HasSkin() const
{
    return !IsEmptyBitmap(skinBitmap_) && skinBitmap_.width() > 3;
}

void TorvaneMultiButton::SetSkinBitmap(const QImage& value)
{
    skinBitmap_ = value;
    RebuildMasks();
    Redraw();
}

TColor TorvaneMultiButton::ButtonHitColor(int button) const
{
    return button >= 1 && button <= 4 ? hitColors_[std::size_t(button - 1)] : clNone;
}

void TorvaneMultiButton::SetButtonHitColor(int button, TColor value)
{
    if (button >= 1 && button <= 4) {
        hitColors_[std::size_t(button - 1)] = value;
    }
}

void TorvaneMultiButton::SetButtonChecked(int value)
{
    buttonChecked_ = value;
    Redraw();
}

void TorvaneMultiButton::SetButtonColor(TColor value)
{
    buttonColor_ = value;
    RebuildMasks();
    update();
}

void TorvaneMultiButton::SetOuterColor(TColor value)
{
    outerColor_ = value;
    RebuildMasks();
    update();
}

const QImage& TorvaneMultiButton::ButtonBitmap(int button) const
{
    static const QImage none;
    return button >= 1 && button <= 4 ? masks_[std::size_t(button - 1)] : none;
}

int TorvaneMultiButton::SkinHeight() const
{
    return IsEmptyBitmap(skinBitmap_) ? 0 : skinBitmap_.height();
}

int TorvaneMultiButton::SkinWidth() const
{
    return IsEmptyBitmap(skinBitmap_) ? 0 : skinBitmap_.width() / 4;
}

void TorvaneMultiButton::SetCheckedButton(int button, bool toggle)
{
    buttonChecked_ = (toggle && button == buttonChecked_) ? 0 : button;
    Redraw();
}

int TorvaneMultiButton::ButtonAtPoint() const
{
    const int x = lastPoint_.x();
    const int y = lastPoint_.y();
    if (HasSkin()) {
        const int frameWidth = skinBitmap_.width() / 4;
        // Beyond the hit map (a control larger than one frame, a release outside) is no button.
        if (x < 0 || y < 0 || x >= frameWidth || y >= skinBitmap_.height()) {
            return 0;
        }
        const TColor c = PixelColor(skinBitmap_, 3 * frameWidth + x, y);
        for (int i = 0; i < 4; ++i) {
            if (c == hitColors_[std::size_t(i)]) {
                return i + 1;
            }
        }
        return 0;
    }
    if (x < 0 || y < 0 || x >= width() || y >= height()) {
        return 0;
    }
    const bool right = x >= width() / 2;
    const bool lower = y >= height() / 2;
    return 1 + (right ? 1 : 0) + (lower ? 2 : 0);
}

void TorvaneMultiButton::RebuildMasks()
{
    masksBuilt_ = false;
    skinCache_ = QImage();
    for (QImage& m : masks_) {
        m = QImage();
    }
    if (!HasSkin()) {
        return;
    }
    skinCache_ = RecoloredSkin(skinBitmap_, 4, buttonColor_, kRecolorList, outerColor_);
    const QImage hitMap = To24Bit(skinBitmap_);
    const int frameWidth = skinCache_.width() / 4;
    const int hitLeft = 3 * frameWidth;
    for (int b = 0; b < 4; ++b) {
        QImage mask = skinCache_.copy();
        const TColor own = hitColors_[std::size_t(b)];
        for (int y = 0; y < mask.height(); ++y) {
            const std::uint8_t* hit = hitMap.constScanLine(y) + 3 * hitLeft;
            std::uint8_t* line = mask.scanLine(y);
            for (int x = 0; x < 4 * frameWidth; ++x) {
                const std::uint8_t* hp = hit + 3 * (x % frameWidth);
                const TColor c = RGBColor(hp[2], hp[1], hp[0]);
                if (c != own && c != clWhite) {
                    line[3 * x] = line[3 * x + 1] = line[3 * x + 2] = 0;
                }
            }
        }
        masks_[std::size_t(b)] = std::move(mask);
    }
    masksBuilt_ = true;
}

void TorvaneMultiButton::Redraw()
{
    update();
}

void TorvaneMultiButton::paintEvent(QPaintEvent*)
{
    if (width() <= 0 || height() <= 0) {
        return;
    }
    if (HasSkin() && !masksBuilt_) {
        RebuildMasks();
    }
    QImage buffer(size(), QImage::Format_RGB32);
    Render(buffer);
    QPainter painter(this);
    painter.drawImage(0, 0, buffer);
}

void TorvaneMultiButton::Render(QImage& target)
{
    target.fill(SkinColorToQColor(clBtnFace));
    if (!HasSkin() || IsEmptyBitmap(skinCache_)) {
        QPainter painter(&target);
        painter.fillRect(QRect(0, height() / 2, width(), 1), Qt::black);
        painter.fillRect(QRect(width() / 2, 0, 1, height()), Qt::black);
        return;
    }
    const int frameWidth = skinCache_.width() / 4;
    const int skinHeight = skinCache_.height();
    QImage picture = skinCache_.copy(0, 0, frameWidth, skinHeight).convertToFormat(QImage::Format_RGB32);
    if (pressed_ >= 1 && pressed_ <= 4) {
        OverlayMaskFrame(picture, masks_[std::size_t(pressed_ - 1)], 1, frameWidth);
    }
    if (buttonChecked_ >= 1 && buttonChecked_ <= 4 && buttonChecked_ != pressed_) {
        OverlayMaskFrame(picture, masks_[std::size_t(buttonChecked_ - 1)], 2, frameWidth);
    }
    QPainter painter(&target);
    painter.drawImage(QPoint(0, 0), picture);
}

void TorvaneMultiButton::mousePressEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (OnMouseDown) {
        OnMouseDown(this, event->button(), TShiftState{event->modifiers(), event->buttons()}, point.x(),
                    point.y());
    }
    lastPoint_ = point;
    pressed_ = ButtonAtPoint();
    Redraw();
}

void TorvaneMultiButton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (OnMouseUp) {
        OnMouseUp(this, event->button(), TShiftState{event->modifiers(), event->buttons()}, point.x(),
                  point.y());
    }
    lastPoint_ = point;
    const int button = ButtonAtPoint();
    if (button == pressed_ && button >= 1 && button <= 4) {
        const TNotifyEvent* handlers[] = {&OnButton1Click, &OnButton2Click, &OnButton3Click, &OnButton4Click};
        if (*handlers[button - 1]) {
            (*handlers[button - 1])(this);
        }
    }
    pressed_ = 0;
    Redraw();
}
