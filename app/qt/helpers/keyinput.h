#pragma once

#include <QString>
#include <Qt>

#include <cstdint>
#include <optional>

class QWidget;

// Synthesised keyboard input for the on-screen keyboard: a virtual-key code becomes the key press and
// release a real keyboard would give.
struct TsyntheticKey
{
    int Key = 0; // Qt::Key
    QString Text;
    Qt::KeyboardModifiers Modifiers;
};

// Backspace (8), Enter (13), Space (32), the digits (0x30-0x39) and the letters (0x41-0x5A); a letter types
// small unless shift is set, and then carries the capital as its text. Other codes have no key.
std::optional<TsyntheticKey> SyntheticKeyFor(std::uint16_t code, bool shift);

// True when the on-screen keyboard can type every character of text: letters A to Z small or capital,
// digits and spaces.
bool KeyboardCanType(const QString& text);

// Posts a key press and a key release of code to the application's focus widget, or to fallback when no
// widget has the focus (a window that is not active yet). They arrive once events are processed, as typed
// keys do. False when the code has no key or there is no receiver.
bool PostVirtualKey(std::uint16_t code, bool shift, QWidget* fallback = nullptr);
