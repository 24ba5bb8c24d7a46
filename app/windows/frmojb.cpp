#include "app/windows/frmojb.h"

#include "core/jukebox/localjukeboxlist.h"
#include "core/player/winampmediaplayer.h"

TfrmOJB::TfrmOJB(QWidget* parent) : TfrmMain(parent)
{
    setObjectName(QStringLiteral("frmOJB"));
    setWindowTitle(QStringLiteral("Orvane Jukebox Window"));
    SetLoadDemoLibrary(true);
}

std::unique_ptr<TcustomlocalJukeboxList> TfrmOJB::CreateJukeboxList()
{
    auto library = std::make_unique<TlocalJukeboxList>();
    library->SetAutoSavePlaylist(false);
    library->SetAutoSavePlaylists(true);
    library->SetAutoSaveQueue(true);
    library->SetAutoSaveStacker(true);
    library->SetAutoSaveGlobal(true);
    library->SetLoadCDs(true);
    library->SetLoadGenres(true);
    library->SetEvents(&JukeboxListEvents);
    return library;
}

std::unique_ptr<TcustomMediaPlayer> TfrmOJB::CreatePlayer()
{
    auto player = std::make_unique<TwinampMediaPlayer>();
    player->SetAllowControlVolume(true);
    return player;
}

TfrmAbout* TfrmOJB::GetAboutForm() const
{
    return aboutForm_;
}
