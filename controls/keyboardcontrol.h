#pragma once

#include "controls/controlevents.h"
#include "controls/keyboardkey.h"
#include "markup/color.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

// A completed key click: the key's code (0 for Clr, 8 for Backspace, 32 for Space, else the digit or
// capital letter) and the shift state at the release.
using TKeyEvent = std::function<void(QObject* sender, std::uint16_t& key, TShiftState shift)>;

// A fixed keyboard of 39 keys (digits, capital letters, Backspace, Space, Clr) on a grid of 10 columns by
// 4 rows. A click counts only when pressed and released over the same key; leaving the control draws the
// key up but keeps it pressed, so coming back and releasing over it still counts.
class TkeyboardControl : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kColumns = 10;
    static constexpr int kRows = 4;
    static constexpr int kKeyCount = 39;

    explicit TkeyboardControl(QWidget* parent = nullptr);
    ~TkeyboardControl() override;

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    // Letter keys show capitals (the default) or small letters; their codes stay the capitals' codes.
    bool Capitals() const { return capitals_; }
    void SetCapitals(bool value);

    int KeyWidth() const { return width() / kColumns; }
    int KeyHeight() const { return height() / kRows; }
    const std::vector<TkeyboardKey>& Keys() const { return keys_; }
    // The first key in table order whose cell holds the point; -1 for none.
    int KeyAt(QPoint point) const;
    // The pressed key's index, -1 for none.
    int PressedKey() const { return pressed_; }

    // Places the keys on the grid and copies colour, font and bevel width into them.
    void LayoutKeys();

    // The mouse steps, as the mouse events run them.
    void PressAt(QPoint point);
    void ReleaseAt(QPoint point, TShiftState shift);
    void MouseLeft();

    TKeyEvent OnKeyPress;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    TColor color_ = clBtnFace;
    TColor fontColor_ = clWindowText;
    int bevelWidth_ = 2;
    bool capitals_ = true;
    std::vector<TkeyboardKey> keys_;
    int pressed_ = -1;
};
