#pragma once

#include "controls/controlevents.h"
#include "markup/color.h"

#include <QImage>
#include <QWidget>

#include <array>

// Four buttons of any shape in one control drawn from one skin of four frames: normal, pressed, checked
// and a hit map whose colours assign each pixel to button 1 to 4. Without a skin the control is split
// into four quadrants.
class TorvaneMultiButton : public QWidget
{
    Q_OBJECT

public:
    explicit TorvaneMultiButton(QWidget* parent = nullptr);
    ~TorvaneMultiButton() override;

    const QImage& SkinBitmap() const { return skinBitmap_; }
    void SetSkinBitmap(const QImage& value);
    // Hit-map colour of button 1 to 4.
    TColor ButtonHitColor(int button) const;
    void SetButtonHitColor(int button, TColor value);
    TColor Button1Color() const { return hitColors_[0]; }
    void SetButton1Color(TColor v) { hitColors_[0] = v; }
    TColor Button2Color() const { return hitColors_[1]; }
    void SetButton2Color(TColor v) { hitColors_[1] = v; }
    TColor Button3Color() const { return hitColors_[2]; }
    void SetButton3Color(TColor v) { hitColors_[2] = v; }
    TColor Button4Color() const { return hitColors_[3]; }
    void SetButton4Color(TColor v) { hitColors_[3] = v; }
    int ButtonChecked() const { return buttonChecked_; }
    void SetButtonChecked(int value);
    TColor ButtonColor() const { return buttonColor_; }
    void SetButtonColor(TColor value);
    TColor OuterColor() const { return outerColor_; }
    void SetOuterColor(TColor value);
    // The mask of button 1 to 4 (black outside the button's region); empty before a skin is used.
    const QImage& ButtonBitmap(int button) const;
    const QImage& Button1Bitmap() const { return ButtonBitmap(1); }
    const QImage& Button2Bitmap() const { return ButtonBitmap(2); }
    const QImage& Button3Bitmap() const { return ButtonBitmap(3); }
    const QImage& Button4Bitmap() const { return ButtonBitmap(4); }
    int SkinHeight() const;
    void SetSkinHeight(int) {}
    int SkinWidth() const;
    void SetSkinWidth(int) {}

    // With toggle, checking the checked button again unchecks it.
    void SetCheckedButton(int button, bool toggle);
    // The button under the last mouse point, 0 for none.
    int ButtonAtPoint() const;
    int PressedButton() const { return pressed_; }

    TNotifyEvent OnButton1Click;
    TNotifyEvent OnButton2Click;
    TNotifyEvent OnButton3Click;
    TNotifyEvent OnButton4Click;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool HasSkin() const;
    void RebuildMasks();
    void Redraw();
    void Render(QImage& target);

    QImage skinBitmap_;
    std::array<TColor, 4> hitColors_{clFuchsia, clBlue, clLime, clRed};
    int buttonChecked_ = 0;
    TColor buttonColor_ = clBlack;
    TColor outerColor_ = clBlack;

    int pressed_ = 0;
    QPoint lastPoint_;
    QImage skinCache_;
    std::array<QImage, 4> masks_;
    bool masksBuilt_ = false;
};
