#pragma once

class QWidget;

// What the party-play options need of the main window: the on-screen keyboard switch and size for the
// password prompt, the window to centre on, and its party-play switch. The main window implements it and
// links itself with TfrmPartyPlay::SetJukebox; it unlinks itself (SetJukebox(nullptr)) before it goes.
class TpartyPlayHost
{
public:
    virtual bool UseOnScreenKeyboard() const = 0;
    virtual int KeyboardWidth() const = 0;
    virtual int KeyboardHeight() const = 0;
    // The main window; null when it has none to centre on.
    virtual QWidget* HostWindow() const = 0;
    // Runs the main window's party-play switch (which asks for the password itself).
    virtual void TogglePartyPlay() = 0;
    virtual bool PartyPlayEnabled() const = 0;

protected:
    ~TpartyPlayHost() = default;
};
