#pragma once

#include <string>

class QWidget;
class TcustomJukeboxList;
class TfrmProgress;

// What the playlist editor needs of the main window: the library without CDs (the tree, the songs it shows
// and the filters' source), the playlists folder every M3U dialog opens in, the stacker's cartridge
// commands and the shared progress window. The main window implements it and links itself with
// TfrmPlaylistEditor::SetJukebox; it unlinks itself (SetJukebox(nullptr)) before it goes.
class TplaylistEditorHost
{
public:
    // The library the tree shows; null when there is none yet.
    virtual TcustomJukeboxList* LibraryWithoutCDs() = 0;
    // The "Playlists" folder of the main window's settings.
    virtual std::string PlaylistsFolder() const = 0;
    virtual void SetPlaylistsFolder(const std::string& folder) = 0;
    // The main window's "&Load Cartridge", "&Add Cartridge" and "&Save Cartridge" commands.
    virtual void LoadCartridge() = 0;
    virtual void AddCartridge() = 0;
    virtual void SaveCartridge() = 0;
    // True while party play locks the stacker: the editor's Stacker page and Add To Stacker are off then.
    virtual bool StackerLocked() const = 0;
    // The program's progress window; null for none.
    virtual TfrmProgress* ProgressWindow() const = 0;

protected:
    ~TplaylistEditorHost() = default;
};
