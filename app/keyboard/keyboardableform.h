#pragma once

#include <QDialog>

#include <cstdint>

class QKeyEvent;

// A prompt that can carry the shared on-screen keyboard (TfrmKeyboard) docked at its bottom. One host at a
// time holds the keyboard; a host gives it back, hidden and parentless, when it is destroyed.
class TkeyboardableForm : public QDialog
{
    Q_OBJECT

public:
    explicit TkeyboardableForm(QWidget* parent = nullptr);
    ~TkeyboardableForm() override;

    bool UseKeyboard() const { return useKeyboard_; }
    // Stores the flag and lays the form out with or without the keyboard.
    void SetUseKeyboard(bool flag);

    // Re-lays the form for a docked keyboard of this outer size.
    virtual void SetKeyboardSize(int width, int height) = 0;
    // Docks the shared keyboard at the form's bottom (on), or lays the form out without it (off).
    virtual void ShowKeyboard(bool on) = 0;
    // The panel holding the form's own controls.
    virtual QWidget* GetKeyboardPanel() = 0;
    // One key from the on-screen keyboard: its code (0 = clear the field) and whether shift is on.
    virtual void SendKey(std::uint16_t code, bool shift) = 0;

    // The shared keyboard is docked in this form.
    bool KeyboardDocked() const;

protected:
    // Makes the shared keyboard a child of the form, aligned to its bottom, and shows it.
    void DockKeyboard();
    // Gives the keyboard back (hidden, parentless) when it is docked here; another host's keyboard stays.
    void UndockKeyboard();
    // Places the form's aligned controls, the docked keyboard's among them, for their sizes now.
    void Relayout();

    // Enter going down (not its repeats, not its release): an Enter whose press opened the prompt must not
    // close it again as it comes up. Closes with OK unless overridden.
    virtual void EnterKeyDown();
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool useKeyboard_ = false;
};
