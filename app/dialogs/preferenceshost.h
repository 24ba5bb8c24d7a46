#pragma once

#include <string>

class QWidget;

// What the preferences window reads and sets on the main window: the screensaver switch and timeout, the
// album cover art folder, the media-folder command, and the window to open on. Every setter takes effect at
// once. The main window implements it and hands itself to ShowPreferences.
class TpreferencesHost
{
public:
    virtual bool ScreenSaverEnabled() const = 0;
    virtual void SetScreenSaverEnabled(bool enabled) = 0;
    // Whole minutes, 0 to 60 (0 stands for 6 seconds).
    virtual int ScreenSaverTimeout() const = 0;
    virtual void SetScreenSaverTimeout(int minutes) = 0;
    virtual std::string AlbumArtFolder() const = 0;
    virtual void SetAlbumArtFolder(const std::string& folder) = 0;
    // The media-folder command with its force flag set: opens the media search window, also in party play.
    virtual void RunMediaFolderScan() = 0;
    // The library is about to rebuild its groupings (saved artist mappings): views linking into them let
    // go. The tree is filled again from the library's rebuild event.
    virtual void LibraryChanging() = 0;
    // The main window; null when it has none to open on.
    virtual QWidget* HostWindow() const = 0;

protected:
    ~TpreferencesHost() = default;
};
