#pragma once

#include "controls/controlevents.h"
#include "markup/color.h"

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

class QAction;

enum class TglyphPos
{
    gpLeft,
    gpCenter,
    gpRight,
    gpCenterLeft,
    gpCenterRight
};

// The program's own push or check button: skinned (a recoloured frame strip with a mask frame that
// shapes the button) or drawn (gradient bevel, caption, shaded glyph, focus rectangle).
//
// Skin frames: push button up, down, mask; check button up, down, checked up, checked down, mask.
// White in the mask frame belongs to the button; presses elsewhere are ignored entirely.
class TorvaneButton : public QWidget
{
    Q_OBJECT

public:
    explicit TorvaneButton(QWidget* parent = nullptr);
    ~TorvaneButton() override;

    bool IsCheckButton() const { return isCheckButton_; }
    void SetIsCheckButton(bool value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    const QImage& Glyphs() const { return glyphs_; }
    void SetGlyphs(const QImage& value);
    TglyphPos GlyphPos() const { return glyphPos_; }
    void SetGlyphPos(TglyphPos value);
    int GlyphPadding() const { return glyphPadding_; }
    void SetGlyphPadding(int value);
    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TColor OuterColor() const { return outerColor_; }
    void SetOuterColor(TColor value);
    TColor FontHiliteColor() const { return fontHiliteColor_; }
    void SetFontHiliteColor(TColor value);
    // The caption colour when the button has no focus (the font's colour).
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    bool ShowFocusRect() const { return showFocusRect_; }
    void SetShowFocusRect(bool value);
    bool IsSkinned() const { return isSkinned_; }
    void SetIsSkinned(bool value);
    const QImage& SkinBitmap() const { return skinBitmap_; }
    void SetSkinBitmap(const QImage& value);
    int SkinHeight() const;
    void SetSkinHeight(int) {}
    int SkinWidth() const;
    void SetSkinWidth(int) {}
    QString Hint() const { return toolTip(); }
    void SetHint(const QString& value) { setToolTip(value); }

    // Enabled, checked, visible, hint (and an empty caption) follow the action; a click triggers it
    // unless OnClick is set.
    QAction* Action() const { return action_.data(); }
    void SetAction(QAction* action);

    // The click step: the mask test at the last recorded mouse point, the toggle, then OnClick or the
    // action. Runs for a left click released inside the control and for Enter or Space.
    virtual void Click();
    bool HitTestMask() const;
    bool Pressed() const { return pressed_; }
    QPoint LastMousePoint() const { return lastPoint_; }

    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool SkinnedLookApplies() const;
    int FrameCount() const { return isCheckButton_ ? 5 : 3; }
    void DrawState();
    void RebuildCache();
    void BuildSkinCache();
    void Render(QImage& target);
    void PaintSkinned(QImage& target);
    void PaintUnskinned(QImage& target);
    void ActionChanged();
    void FrameworkClick();

    bool isCheckButton_ = false;
    bool checked_ = false;
    QImage glyphs_;
    TglyphPos glyphPos_ = TglyphPos::gpLeft;
    int glyphPadding_ = 0;
    QString caption_;
    TColor color_ = clBtnFace;
    TColor outerColor_ = clBlack;
    TColor fontHiliteColor_ = clBlack;
    TColor fontColor_ = clWindowText;
    int bevelWidth_ = 3;
    bool showFocusRect_ = true;
    bool isSkinned_ = false;
    QImage skinBitmap_;

    bool pressed_ = false;
    bool clickArmed_ = false;
    QPoint lastPoint_;
    QImage glyphCache_;
    QImage skinCache_;
    bool skinCacheBuilt_ = false;

    QPointer<QAction> action_;
    QString actionText_;
};
