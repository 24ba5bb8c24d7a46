#pragma once

#include "app/keyboard/frmkeyboard.h"

// The shared on-screen keyboard keeps its size and shift across hosts, as it does for the program's whole
// run; each test starts it as the program does: 310 x 100, small letters.
inline TfrmKeyboard* ResetSharedKeyboard()
{
    TfrmKeyboard* keyboard = GetKeyboardForm();
    keyboard->SetShifted(false);
    keyboard->resize(310, 100);
    keyboard->Relayout();
    return keyboard;
}
