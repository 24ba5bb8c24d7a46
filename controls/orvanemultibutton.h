#pragma once

#include "controls/controlevents.h"
#include "controls/markup/color.h"

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

    const QImage& SkinBitmap() const { return m_skinBitmap; }
    void SetSkinBitmap(const QImage& value);
    // Hit-map colour of button 1 to 4.
    TColor ButtonHitColor(int button) const;
    void SetButtonHitColor(int button, TColor value);
    TColor Button1Color() const { return m_hitColors[0]; }
    void SetButton1Color(TColor v) { m_hitColors[0] = v; }
    TColor Button2Color() const { return m_hitColors[1]; }
    void SetButton2Color(TColor v) { m_hitColors[1] = v; }
    TColor Button3Color() const { return m_hitColors[2]; }
    void SetButton3Color(TColor v) { m_hitColors[2] = v; }
    TColor Button4Color() const { return m_hitColors[3]; }
    void SetButton4Color(TColor v) { m_hitColors[3] = v; }
    int ButtonChecked() const { return m_buttonChecked; }
    void SetButtonChecked(int value);
    TColor ButtonColor() const { return m_buttonColor; }
    void SetButtonColor(TColor value);
    TColor OuterColor() const { return m_outerColor; }
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
    int PressedButton() const { return m_pressed; }

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

    QImage m_skinBitmap;
    std::array<TColor, 4> m_hitColors{clFuchsia, clBlue, clLime, clRed};
    int m_buttonChecked = 0;
    TColor m_buttonColor = clBlack;
    TColor m_outerColor = clBlack;

    int m_pressed = 0;
    QPoint m_lastPoint;
    QImage m_skinCache;
    std::array<QImage, 4> m_masks;
    bool m_masksBuilt = false;
};
