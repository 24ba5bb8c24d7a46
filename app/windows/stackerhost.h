#pragma once

class QWidget;
class TfrmProgress;

// What the stacker window needs of the main window: the window to open its dialogs on, the one progress
// window for tree fills, and the party-play lock of the stacker. The main window implements it and links
// itself with TfrmStackerList::SetJukebox; it unlinks itself (SetJukebox(nullptr, nullptr)) before it goes.
class TstackerHost
{
public:
    // The main window; null when it has none to open on.
    virtual QWidget* HostWindow() const = 0;
    // The program's progress window; null for none.
    virtual TfrmProgress* ProgressWindow() const = 0;
    // True while party play locks the stacker ("Disable Stacker Control"): cartridges are neither loaded,
    // added nor saved, and no list goes in or out.
    virtual bool StackerLocked() const = 0;
    // Brings the library the tree shows up to date before the tree is filled from it (the main window
    // builds its library without CDs only when a window needs it).
    virtual void PrepareTreeLibrary() {}

protected:
    ~TstackerHost() = default;
};
