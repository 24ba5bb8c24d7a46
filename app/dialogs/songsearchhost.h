#pragma once

class QWidget;
class TcustomJukeboxList;

// What the song search needs of the main window: the library it searches and the window to centre on. The
// main window implements it and hands itself to SearchSong.
class TsongSearchHost
{
public:
    // The library; null while none is assigned.
    virtual const TcustomJukeboxList* SearchLibrary() const = 0;
    // The main window; null when it has none to centre on.
    virtual QWidget* HostWindow() const = 0;

protected:
    ~TsongSearchHost() = default;
};
