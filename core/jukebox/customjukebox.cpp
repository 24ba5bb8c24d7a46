#include "core/jukebox/customjukebox.h"

#include "core/groupings/audiotagplaylistlist.h"
#include "core/groupings/taglistrules.h"
#include "core/jukebox/customjukeboxevents.h"
#include "core/jukebox/customjukeboxlist.h"
#include "core/player/custommediaplayer.h"
#include "core/player/custommediaplayerevents.h"
#include "core/reports/audiotaghistorylist.h"
#include "core/songs/audiotaglist.h"
#include "core/songs/streamwriter.h"
#include "core/util/orvanexutils.h"
#include "platform/atomicfile.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/scopeguard.h"

#include <exception>
#include <utility>

namespace {

constexpr const char* kHistoryFile = "history.txt";
constexpr const char* kPlaylistFile = "playlist.dat";
constexpr const char* kQueueFile = "queue.dat";
constexpr const char* kStackerFile = "stacker.dat";
constexpr TaudioTagListMode kShuffledLoop = lmRandom | lmLoop;

// Runs a save and keeps its failure, so that the lists' followers still hear of the change before the
// failure goes on to whoever made it.
template <class F>
std::exception_ptr Attempt(F&& work)
{
    try {
        work();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

void RethrowIf(const std::exception_ptr& failure)
{
    if (failure)
        std::rethrow_exception(failure);
}

bool SameFile(const TaudioTag* song, const std::string& name)
{
    return song != nullptr && song->FilenameIs(name);
}

} // namespace

TcustomJukebox::TcustomJukebox()
    : queue_(std::make_unique<TaudioTagList>()), playlist_(std::make_unique<TaudioTagList>()),
      stacker_(std::make_unique<TaudioTagPlaylistList>()), randomPlayList_(std::make_unique<TaudioTagList>()),
      history_(std::make_unique<TaudioTagHistoryList>()), stackerPlayList_(std::make_unique<TaudioTagList>()),
      rules_(std::make_unique<TtagListRules>())
{
    queue_->SetOwnsObjects(true);
    queue_->OnChange = [this](TaudioTagList*) { QueueChange(); };

    playlist_->SetOwnsObjects(true);
    const auto playlistChange = [this](TaudioTagList*) { PlaylistChange(); };
    playlist_->OnChange = playlistChange;
    playlist_->OnActiveChanged = playlistChange;
    playlist_->OnModeChanged = playlistChange;

    stacker_->SetMode(plmStacker);
    stacker_->SetOwnsObjects(true);
    stacker_->SetListsOwnObjects(true);
    stacker_->OnChange = [this](TaudioTagListList*) { StackerChange(); };
    stacker_->OnActiveChanged = [this](TaudioTagListList*) { StackerActiveChange(); };
    stacker_->OnPlaylistChange = [this](TaudioTagListList*, TaudioTagList* list) { StackerListChange(list); };

    randomPlayList_->SetOwnsObjects(false);
    randomPlayList_->OnChange = [this](TaudioTagList*) { RandomListChange(); };

    history_->SetOwnsObjects(true);

    stackerPlayList_->SetOwnsObjects(false);
    stackerPlayList_->SetPlayMode(kShuffledLoop);

    randomPlayList_->SetActive(true);
    randomPlayList_->SetPlayMode(kShuffledLoop);
    queue_->SetActive(true);
    rules_->SetPathsAllowed(true);
}

TcustomJukebox::~TcustomJukebox()
{
    if (jukeboxList_ != nullptr)
        jukeboxList_->JukeboxDestroyed(this);
    // The lists go one after the other; none of them may reach a half-destroyed jukebox or a freed player.
    UnbindLists();
    player_.reset();
    queue_.reset();
    playlist_.reset();
    stacker_.reset();
    stackerPlayList_.reset();
    randomPlayList_.reset();
    history_.reset();
    rules_.reset();
}

void TcustomJukebox::UnbindLists()
{
    queue_->OnChange = nullptr;
    playlist_->OnChange = nullptr;
    playlist_->OnActiveChanged = nullptr;
    playlist_->OnModeChanged = nullptr;
    stacker_->OnChange = nullptr;
    stacker_->OnActiveChanged = nullptr;
    stacker_->OnPlaylistChange = nullptr;
    randomPlayList_->OnChange = nullptr;
}

TcustomJukeboxEvents* TcustomJukebox::Events() const
{
    return events_.Get();
}

void TcustomJukebox::SetEvents(TcustomJukeboxEvents* events)
{
    events_.Reset(events);
}

std::string TcustomJukebox::GetDataFolder() const
{
    return jukeboxList_ != nullptr ? jukeboxList_->DataFolder() : platform::ProgramFolder();
}

std::unique_ptr<TcustomMediaPlayer> TcustomJukebox::SetPlayer(std::unique_ptr<TcustomMediaPlayer> player)
{
    std::unique_ptr<TcustomMediaPlayer> previous = std::move(player_);
    player_ = std::move(player);
    if (player_)
        player_->SetEvents(playerEvents_.Get());
    return previous;
}

void TcustomJukebox::SetPlayerEvents(TcustomMediaPlayerEvents* events)
{
    playerEvents_.Reset(events);
    if (player_)
        player_->SetEvents(events);
}

void TcustomJukebox::LoadAll()
{
    LoadPlaylist();
    LoadQueue();
    LoadStacker();
}

bool TcustomJukebox::LoadStacker()
{
    const platform::TValueGuard loading(stackerLoading_, true);
    return stacker_->LoadFromFile(GetStackerFileName(), false);
}

bool TcustomJukebox::LoadQueue()
{
    const platform::TValueGuard loading(queueLoading_, true);
    return queue_->LoadFromFile(GetQueueFileName(), false);
}

bool TcustomJukebox::LoadPlaylist()
{
    const platform::TValueGuard loading(playlistLoading_, true);
    return playlist_->LoadFromFile(GetPlaylistFileName(), false);
}

void TcustomJukebox::SaveAll()
{
    SavePlaylist();
    SaveQueue();
    SaveStacker();
}

void TcustomJukebox::SaveStacker()
{
    ForceDataFolder();
    TstreamWriter stream;
    stacker_->SaveToStream(stream);
    WriteDataFile(GetStackerFileName(), stream.Bytes());
}

void TcustomJukebox::SaveQueue()
{
    ForceDataFolder();
    TstreamWriter stream;
    queue_->SaveToStream(stream);
    WriteDataFile(GetQueueFileName(), stream.Bytes());
}

void TcustomJukebox::SavePlaylist()
{
    ForceDataFolder();
    TstreamWriter stream;
    playlist_->SaveToStream(stream);
    WriteDataFile(GetPlaylistFileName(), stream.Bytes());
}

void TcustomJukebox::WriteDataFile(const std::string& fileName, std::string_view bytes)
{
    platform::WriteFileAtomically(fileName, bytes);
}

void TcustomJukebox::SaveSettings(TIniFile& ini, const std::string& section)
{
    rules_->SaveSettings(ini, section);
    const TaudioTagList* active = LiveActivePreloadedList();
    ini.WriteString(section, "ActivePlaylist", active != nullptr ? active->Title() : std::string());
}

void TcustomJukebox::LoadSettings(const TIniFile& ini, const std::string& section)
{
    rules_->LoadSettings(ini, section);
    // The random-play list was built before the settings were read; without this the saved filter would
    // only take effect once the user applied it again.
    if (jukeboxList_ != nullptr)
        ApplyRandomPlayRules();
    SelectActivePlaylist(ini.ReadString(section, "ActivePlaylist", ""));
}

TaudioTag* TcustomJukebox::GetNextTag()
{
    chosenStackerListName_.clear();
    chosenSource_ = jsNone;
    TaudioTag* candidate = nullptr;
    TjukeboxSource source = jsNone;

    if (queue_->Active() && queue_->GetCount() > 0) {
        candidate = queue_->GetItem(0);
        source = jsQueue;
    }
    if (candidate == nullptr) {
        candidate = PlayableTag(*stackerPlayList_);
        if (candidate != nullptr) {
            if (const TaudioTagList* list = StackerListOf(candidate))
                chosenStackerListName_ = list->Title();
            source = jsStacker;
        }
    }
    if (candidate == nullptr) {
        candidate = PlayableTag(*playlist_);
        source = jsPlaylist;
    }
    if (candidate == nullptr) {
        if (TaudioTagList* active = LiveActivePreloadedList())
            candidate = PlayableTag(*active);
        source = jsActivePreloadedList;
    }
    if (candidate == nullptr) {
        candidate = PlayableTag(*randomPlayList_);
        source = jsRandomPlayList;
    }

    chosenTag_ = candidate;
    chosenSource_ = candidate != nullptr ? source : jsNone;
    return candidate;
}

TaudioTagList* TcustomJukebox::StackerListOf(const TaudioTag* song) const
{
    const auto it = stackerListOf_.find(song);
    if (it != stackerListOf_.end())
        return it->second;
    return stacker_->FindListOf(song);
}

void TcustomJukebox::SongStarted(const TaudioTag* tag)
{
    playingSource_ = chosenSource_;
    if (tag == nullptr) {
        playingTag_ = nullptr;
        return;
    }
    std::unique_ptr<TaudioTag> clone = tag->Clone();
    const std::string name = tag->Filename();

    const std::exception_ptr moveFailure = Attempt([&] { MoveSourceOn(name); });

    TaudioTag* copy = clone.get();
    if (history_->Add(copy))
        clone.release();
    else
        copy = nullptr;
    playingTag_ = copy;

    std::exception_ptr historyFailure;
    if (writeHistory_)
        historyFailure = Attempt([&] { history_->SaveToTextFile(GetHistoryFileName()); });
    // A disk that stays full would fail at every song: it is told once, until a save works again.
    const bool queueSaved = playingSource_ == jsQueue && autoSaveQueue_ && !moveFailure;
    if ((writeHistory_ && !historyFailure) || queueSaved)
        startSaveFailureTold_ = false;
    if (!moveFailure && !historyFailure)
        return;
    if (std::exchange(startSaveFailureTold_, true))
        return;
    RethrowIf(moveFailure);
    RethrowIf(historyFailure);
}

void TcustomJukebox::SongMissing(const TaudioTag* tag)
{
    if (tag == nullptr || chosenSource_ == jsNone || !SameFile(chosenTag_, tag->Filename()))
        return;
    const std::string playingList = playingStackerListName_;
    const std::string name = tag->Filename();
    missingFiles_.insert(name);
    {
        const platform::TValueGuard source(playingSource_, chosenSource_);
        MoveSourceOn(name);
    }
    playingStackerListName_ = playingList;
}

TaudioTag* TcustomJukebox::PlayableTag(TaudioTagList& list)
{
    TaudioTag* song = list.CurrentTag();
    for (int left = list.GetCount(); song != nullptr && KnownMissing(*song); --left) {
        if (left == 0)
            return nullptr;
        list.NextTag();
        song = list.CurrentTag();
    }
    return song;
}

bool TcustomJukebox::KnownMissing(const TaudioTag& song)
{
    if (missingFiles_.empty())
        return false;
    const auto found = missingFiles_.find(song.Filename());
    if (found == missingFiles_.end())
        return false;
    if (!FileExistsNoError(song.Filename()))
        return true;
    missingFiles_.erase(found); // back again (a disc plugged in)
    return false;
}

void TcustomJukebox::MoveSourceOn(const std::string& name)
{
    switch (playingSource_) {
    case jsQueue:
        if (queue_->GetCount() > 0 && SameFile(queue_->GetItem(0), name))
            queue_->Delete(0);
        break;
    case jsStacker:
        if (SameFile(stackerPlayList_->CurrentTag(), name)) {
            stackerPlayList_->NextTag();
            playingStackerListName_ = chosenStackerListName_;
        }
        break;
    case jsPlaylist:
        if (SameFile(playlist_->CurrentTag(), name))
            playlist_->NextTag();
        break;
    case jsActivePreloadedList:
        if (TaudioTagList* active = LiveActivePreloadedList(); active != nullptr && active->CurrentTag())
            active->NextTag();
        break;
    case jsRandomPlayList:
        if (SameFile(randomPlayList_->CurrentTag(), name))
            randomPlayList_->NextTag();
        break;
    case jsNone:
        break;
    }
}

bool TcustomJukebox::RandomPlay() const
{
    return randomPlayList_->Active();
}

void TcustomJukebox::SetRandomPlay(bool value)
{
    randomPlayList_->SetActive(value);
    PreloadNext();
}

void TcustomJukebox::ApplyRandomPlayRules()
{
    if (jukeboxList_ != nullptr) {
        const platform::TValueGuard applying(applyingRules_, true);
        const TaudioTagList& global = jukeboxList_->GlobalList();
        if (rules_->HasRules())
            rules_->Apply(global, *randomPlayList_, false);
        else
            randomPlayList_->CopyFrom(global, false, false);
    }
    PreloadNext();
}

void TcustomJukebox::GlobalListChanged()
{
    ApplyRandomPlayRules();
}

void TcustomJukebox::PlaylistsChanged()
{
    // Re-validated, not chosen anew: a list still saved keeps its place.
    ChooseActivePreloadedList(activePreloadedList_, false);
    PreloadNext();
}

void TcustomJukebox::PlaylistListChanged(TaudioTagList* list)
{
    if (list == nullptr || list != LiveActivePreloadedList())
        return;
    chosenTag_ = nullptr;
    PreloadNext();
}

void TcustomJukebox::SetActivePreloadedList(TaudioTagList* list)
{
    ChooseActivePreloadedList(list, true);
}

void TcustomJukebox::ChooseActivePreloadedList(TaudioTagList* list, bool activate)
{
    if (jukeboxList_ != nullptr && list != nullptr && jukeboxList_->Playlists().Contains(list)) {
        activePreloadedList_ = list;
        // Activating restarts a list that resets on activation; one that is already playing is only
        // activated when it is chosen.
        if (activate || !list->Active())
            list->SetActive(true);
    } else {
        activePreloadedList_ = nullptr;
    }
    chosenTag_ = nullptr;
    DoActivePreloadedListChanged(activePreloadedList_);
    PreloadNext();
}

void TcustomJukebox::SelectActivePlaylist(std::string_view title)
{
    if (jukeboxList_ == nullptr)
        return;
    // "" is how no choice is stored, even when a saved playlist happens to have no title.
    SetActivePreloadedList(title.empty() ? nullptr : jukeboxList_->Playlists().Find(title));
}

TaudioTagList* TcustomJukebox::LiveActivePreloadedList() const
{
    // The library tells of a removed playlist only once its set's update ends; until then the link must
    // not be followed.
    if (activePreloadedList_ == nullptr || jukeboxList_ == nullptr ||
        !jukeboxList_->Playlists().Contains(activePreloadedList_))
        return nullptr;
    return activePreloadedList_;
}

void TcustomJukebox::RebuildStackerList()
{
    TaudioTagList& play = *stackerPlayList_;
    play.BeginUpdate();
    play.Clear();
    stackerListOf_.clear();
    play.SetActive(stacker_->Active());
    if (stacker_->Active()) {
        const int lists = stacker_->GetCount();
        for (int i = 0; i < lists; ++i) {
            TaudioTagList* list = stacker_->GetItem(i);
            for (TaudioTag* song : list->Items())
                stackerListOf_.emplace(song, list);
            if (list->Active())
                for (TaudioTag* song : list->Items())
                    play.Add(song);
        }
    }
    play.EndUpdate();
    // A list taken out of the stacker is no longer where it plays from.
    if (!playingStackerListName_.empty() && stacker_->Find(playingStackerListName_) == nullptr)
        playingStackerListName_.clear();
    chosenTag_ = nullptr;
    chosenStackerListName_.clear();
    PreloadNext();
}

std::string TcustomJukebox::GetStackerStatus() const
{
    if (!stacker_->Active())
        return {};
    if (stackerPlayList_->GetCount() == 0)
        return "Empty";
    return playingStackerListName_.empty() ? std::string("Inactive") : playingStackerListName_;
}

std::string TcustomJukebox::DataFile(const char* name) const
{
    std::string folder = GetDataFolder();
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder + name;
}

std::string TcustomJukebox::GetHistoryFileName() const
{
    return DataFile(kHistoryFile);
}

std::string TcustomJukebox::GetPlaylistFileName() const
{
    return DataFile(kPlaylistFile);
}

std::string TcustomJukebox::GetQueueFileName() const
{
    return DataFile(kQueueFile);
}

std::string TcustomJukebox::GetStackerFileName() const
{
    return DataFile(kStackerFile);
}

void TcustomJukebox::PreloadNext()
{
    if (player_)
        player_->PreloadNext();
}

void TcustomJukebox::ForceDataFolder() const
{
    platform::ForceDirectories(GetDataFolder());
}

void TcustomJukebox::QueueChange()
{
    chosenTag_ = nullptr;
    std::exception_ptr failure;
    if (autoSaveQueue_ && !queueLoading_)
        failure = Attempt([this] { SaveQueue(); });
    PreloadNext();
    DoQueueChange();
    RethrowIf(failure);
}

void TcustomJukebox::PlaylistChange()
{
    chosenTag_ = nullptr;
    std::exception_ptr failure;
    if (autoSavePlaylist_ && !playlistLoading_)
        failure = Attempt([this] { SavePlaylist(); });
    PreloadNext();
    DoPlaylistChange();
    RethrowIf(failure);
}

void TcustomJukebox::StackerChange()
{
    std::exception_ptr failure;
    if (autoSaveStacker_ && !stackerLoading_)
        failure = Attempt([this] { SaveStacker(); });
    RebuildStackerList();
    DoStackerChange();
    RethrowIf(failure);
}

void TcustomJukebox::StackerActiveChange()
{
    RebuildStackerList();
    DoStackerChange();
}

void TcustomJukebox::StackerListChange(TaudioTagList* list)
{
    std::exception_ptr failure;
    if (autoSaveStacker_ && !stackerLoading_)
        failure = Attempt([this] { SaveStacker(); });
    RebuildStackerList();
    DoStackerListChange(list);
    RethrowIf(failure);
}

void TcustomJukebox::ReleaseLibrarySongs()
{
    // The rebuild that follows refills the list, asks the player and tells the followers, once.
    const platform::TValueGuard releasing(releasingSongs_, true);
    randomPlayList_->Clear();
    chosenTag_ = nullptr;
}

void TcustomJukebox::RandomListChange()
{
    if (releasingSongs_)
        return;
    chosenTag_ = nullptr;
    // A refill through the rules asks the player once, when it is done.
    if (!applyingRules_)
        PreloadNext();
    DoCustomGlobalChange(0);
}

void TcustomJukebox::DoQueueChange()
{
    if (TcustomJukeboxEvents* events = Events(); events != nullptr && events->OnQueueChange)
        events->OnQueueChange(this);
}

void TcustomJukebox::DoPlaylistChange()
{
    if (TcustomJukeboxEvents* events = Events(); events != nullptr && events->OnPlaylistChange)
        events->OnPlaylistChange(this);
}

void TcustomJukebox::DoStackerChange()
{
    if (TcustomJukeboxEvents* events = Events(); events != nullptr && events->OnStackerChange)
        events->OnStackerChange(this);
}

void TcustomJukebox::DoCustomGlobalChange(int value)
{
    if (TcustomJukeboxEvents* events = Events(); events != nullptr && events->OnCustomGlobalChange)
        events->OnCustomGlobalChange(this, value);
}

void TcustomJukebox::DoStackerListChange(TaudioTagList* list)
{
    if (TcustomJukeboxEvents* events = Events(); events != nullptr && events->OnStackerListChange)
        events->OnStackerListChange(this, list);
}

void TcustomJukebox::DoActivePreloadedListChanged(TaudioTagList* list)
{
    if (TcustomJukeboxEvents* events = Events(); events != nullptr && events->OnActivePreloadedListChanged)
        events->OnActivePreloadedListChanged(this, list);
}
