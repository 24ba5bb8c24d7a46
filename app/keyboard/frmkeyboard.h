#pragma once

#include "controls/controlevents.h"

#include <QWidget>

#include <cstdint>

class TkeyboardControl;
class TkeyboardableForm;
class TorvaneButton;

// The one on-screen keyboard window: a borderless, stay-on-top window holding the keyboard control and,
// on its right, the Bigger, Smaller and Shift buttons. Hosts (TkeyboardableForm) dock it at their bottom;
// it forwards each key click to the host it is docked in. Shift switches the letter keys between small
// letters and capitals.
class TfrmKeyboard : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kResizePanelWidth = 60;
    // Bigger stops at this keyboard control width, Smaller at the other.
    static constexpr int kLargestWidth = 580;
    static constexpr int kSmallestWidth = 220;

    explicit TfrmKeyboard(QWidget* parent = nullptr);

    // The host it is docked in, or null.
    TkeyboardableForm* GetHostForm() const;
    int KeyboardWidthFor(int keyWidth) const;
    int KeyboardHeightFor(int keyHeight) const;

    TkeyboardControl* Keyboard() const { return keyboard; }
    QWidget* ResizePanel() const { return pnlResize; }
    TorvaneButton* BiggerButton() const { return obtnBigger; }
    TorvaneButton* SmallerButton() const { return obtnSmaller; }
    TorvaneButton* ShiftButton() const { return obtnShift; }

    bool Shifted() const;
    void SetShifted(bool value);

    // Closes the window and takes it out of its host: not aligned, no parent, a window of its own again,
    // shift off.
    void Detach();
    // Lays the keys out for the window's size now, shown or not.
    void Relayout();

    void keyboardKeyPress(QObject* sender, std::uint16_t& key, TShiftState shift);
    void obtnBiggerClick();
    void obtnSmallerClick();
    void obtnShiftClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void AskHostForKeys(int keyWidth, int keyHeight);
    void FormResize();

    TkeyboardControl* keyboard;
    QWidget* pnlResize;
    TorvaneButton* obtnBigger;
    TorvaneButton* obtnSmaller;
    TorvaneButton* obtnShift;
};

// The shared keyboard window, made hidden at its first use and freed as the application ends.
TfrmKeyboard* GetKeyboardForm();
// The shared keyboard window if it exists yet, else null.
TfrmKeyboard* FindKeyboardForm();
