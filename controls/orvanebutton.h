#pragma once

#include "controls/controlevents.h"
#include "controls/markup/color.h"

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

    bool IsCheckButton() const { return m_isCheckButton; }
    void SetIsCheckButton(bool value);
    bool Checked() const { return m_checked; }
    void SetChecked(bool value);
    const QImage& Glyphs() const { return m_glyphs; }
    void SetGlyphs(const QImage& value);
    TglyphPos GlyphPos() const { return m_glyphPos; }
    void SetGlyphPos(TglyphPos value);
    int GlyphPadding() const { return m_glyphPadding; }
    void SetGlyphPadding(int value);
    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& value);
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    TColor OuterColor() const { return m_outerColor; }
    void SetOuterColor(TColor value);
    TColor FontHiliteColor() const { return m_fontHiliteColor; }
    void SetFontHiliteColor(TColor value);
    // The caption colour when the button has no focus (the font's colour).
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor value);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int value);
    bool ShowFocusRect() const { return m_showFocusRect; }
    void SetShowFocusRect(bool value);
    bool IsSkinned() const { return m_isSkinned; }
    void SetIsSkinned(bool value);
    const QImage& SkinBitmap() const { return m_skinBitmap; }
    void SetSkinBitmap(const QImage& value);
    int SkinHeight() const;
    void SetSkinHeight(int) {}
    int SkinWidth() const;
    void SetSkinWidth(int) {}
    QString Hint() const { return toolTip(); }
    void SetHint(const QString& value) { setToolTip(value); }

    // Enabled, checked, visible, hint (and an empty caption) follow the action; a click triggers it
    // unless OnClick is set.
    QAction* Action() const { return m_action.data(); }
    void SetAction(QAction* action);

    // The click step: the mask test at the last recorded mouse point, the toggle, then OnClick or the
    // action. Runs for a left click released inside the control and for Enter or Space.
    virtual void Click();
    bool HitTestMask() const;
    bool Pressed() const { return m_pressed; }
    QPoint LastMousePoint() const { return m_lastPoint; }

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
    int FrameCount() const { return m_isCheckButton ? 5 : 3; }
    void DrawState();
    void RebuildCache();
    void BuildSkinCache();
    void Render(QImage& target);
    void PaintSkinned(QImage& target);
    void PaintUnskinned(QImage& target);
    void ActionChanged();
    void FrameworkClick();

    bool m_isCheckButton = false;
    bool m_checked = false;
    QImage m_glyphs;
    TglyphPos m_glyphPos = TglyphPos::gpLeft;
    int m_glyphPadding = 0;
    QString m_caption;
    TColor m_color = clBtnFace;
    TColor m_outerColor = clBlack;
    TColor m_fontHiliteColor = clBlack;
    TColor m_fontColor = clWindowText;
    int m_bevelWidth = 3;
    bool m_showFocusRect = true;
    bool m_isSkinned = false;
    QImage m_skinBitmap;

    bool m_pressed = false;
    bool m_clickArmed = false;
    QPoint m_lastPoint;
    QImage m_glyphCache;
    QImage m_skinCache;
    bool m_skinCacheBuilt = false;

    QPointer<QAction> m_action;
    QString m_actionText;
};
