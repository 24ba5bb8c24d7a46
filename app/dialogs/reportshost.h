#pragma once

#include <string>

class QWidget;
class TbusyGuard;
class TcustomJukeboxList;

// What the reports window needs of the main window: the library reported on, the cover-art folder, the
// window to centre on and the busy flag a running report holds. The main window implements it and links
// itself with TfrmReports::SetJukebox at start-up; it unlinks itself (SetJukebox(nullptr)) before it goes.
class TreportsHost
{
public:
    // The library; null while none is assigned.
    virtual TcustomJukeboxList* ReportLibrary() const = 0;
    // The user's cover-art folder (setting CoverArt), searched before each song's own folder.
    virtual std::string CoverArtFolder() const = 0;
    // The main window; null when it has none to centre on.
    virtual QWidget* HostWindow() const = 0;
    // The main window's busy flag; null when it keeps none.
    virtual TbusyGuard* BusyGuard() = 0;

protected:
    ~TreportsHost() = default;
};
