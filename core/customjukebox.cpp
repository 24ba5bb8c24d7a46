#include "core/customjukebox.h"

#include "core/audiotaghistorylist.h"
#include "core/audiotaglist.h"
#include "core/audiotagplaylistlist.h"
#include "core/customjukeboxevents.h"
#include "core/custommediaplayer.h"
#include "core/taglistrules.h"
#include "platform/atomicfile.h"
#include "platform/folders.h"

TcustomJukebox::TcustomJukebox()
    : queue_(std::make_unique<TaudioTagList>()), playlist_(std::make_unique<TaudioTagList>()),
      stacker_(std::make_unique<TaudioTagPlaylistList>()), randomPlayList_(std::make_unique<TaudioTagList>()),
      history_(std::make_unique<TaudioTagHistoryList>()), stackerPlayList_(std::make_unique<TaudioTagList>()),
      rules_(std::make_unique<TtagListRules>())
{}

TcustomJukebox::~TcustomJukebox() = default;

TcustomJukeboxEvents* TcustomJukebox::Events() const
{
    return events_ != nullptr && !eventsAlive_.expired() ? events_ : nullptr;
}

void TcustomJukebox::SetEvents(TcustomJukeboxEvents* events)
{
    events_ = events;
    eventsAlive_ = events != nullptr ? events->LinkToken() : std::weak_ptr<const bool>();
}

std::string TcustomJukebox::GetDataFolder() const
{
    return platform::ProgramFolder();
}

std::unique_ptr<TcustomMediaPlayer> TcustomJukebox::SetPlayer(std::unique_ptr<TcustomMediaPlayer> player)
{
    std::swap(player_, player);
    return player;
}

void TcustomJukebox::SetPlayerEvents(TcustomMediaPlayerEvents* events)
{
    playerEvents_ = events;
}
void TcustomJukebox::LoadAll() {}
void TcustomJukebox::LoadStacker() {}
void TcustomJukebox::LoadQueue() {}
void TcustomJukebox::LoadPlaylist() {}
void TcustomJukebox::SaveAll() {}
void TcustomJukebox::SaveStacker() {}
void TcustomJukebox::SaveQueue() {}
void TcustomJukebox::SavePlaylist() {}
void TcustomJukebox::SaveSettings(TIniFile&, const std::string&) {}
void TcustomJukebox::LoadSettings(const TIniFile&, const std::string&) {}
TaudioTag* TcustomJukebox::GetNextTag()
{
    return nullptr;
}
void TcustomJukebox::SongStarted(const TaudioTag*) {}
bool TcustomJukebox::RandomPlay() const
{
    return randomPlayList_->Active();
}
void TcustomJukebox::SetRandomPlay(bool value)
{
    randomPlayList_->SetActive(value);
}
void TcustomJukebox::ApplyRandomPlayRules() {}
void TcustomJukebox::GlobalListChanged() {}
void TcustomJukebox::PlaylistsChanged() {}
void TcustomJukebox::PlaylistListChanged(TaudioTagList*) {}
void TcustomJukebox::SetActivePreloadedList(TaudioTagList*) {}
void TcustomJukebox::SelectActivePlaylist(std::string_view) {}
void TcustomJukebox::RebuildStackerList() {}
std::string TcustomJukebox::GetStackerStatus() const
{
    return {};
}
std::string TcustomJukebox::GetHistoryFileName() const
{
    return DataFile("history.txt");
}
std::string TcustomJukebox::GetPlaylistFileName() const
{
    return DataFile("playlist.dat");
}
std::string TcustomJukebox::GetQueueFileName() const
{
    return DataFile("queue.dat");
}
std::string TcustomJukebox::GetStackerFileName() const
{
    return DataFile("stacker.dat");
}
void TcustomJukebox::PreloadNext() {}
void TcustomJukebox::ForceDataFolder() const {}
void TcustomJukebox::WriteDataFile(const std::string& fileName, std::string_view bytes)
{
    platform::WriteFileAtomically(fileName, bytes);
}
void TcustomJukebox::DoQueueChange() {}
void TcustomJukebox::DoPlaylistChange() {}
void TcustomJukebox::DoStackerChange() {}
void TcustomJukebox::DoCustomGlobalChange(int) {}
void TcustomJukebox::DoStackerListChange(TaudioTagList*) {}
void TcustomJukebox::DoActivePreloadedListChanged(TaudioTagList*) {}
void TcustomJukebox::QueueChange() {}
void TcustomJukebox::PlaylistChange() {}
void TcustomJukebox::StackerChange() {}
void TcustomJukebox::StackerActiveChange() {}
void TcustomJukebox::StackerListChange(TaudioTagList*) {}
void TcustomJukebox::RandomListChange() {}
TaudioTagList* TcustomJukebox::LiveActivePreloadedList() const
{
    return activePreloadedList_;
}
std::string TcustomJukebox::DataFile(const char* name) const
{
    std::string folder = GetDataFolder();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder + name;
}
void TcustomJukebox::UnbindLists() {}
