#pragma once

#include <string>

class TtagFonts;

// What the screensaver shows from the main window: the fonts of its screensaver captions and the album cover
// art folder. The main window implements it and links itself with TfrmScreenSaver::SetJukebox; it unlinks
// itself (SetJukebox(nullptr)) before it goes.
class TscreenSaverHost
{
public:
    virtual const TtagFonts& ScreenSaverFonts() const = 0;
    virtual std::string AlbumArtFolder() const = 0;

protected:
    ~TscreenSaverHost() = default;
};
