// TfrmJukebox's events: binding the player's, the jukebox's and the libraries' event holders to the handlers,
// the handlers themselves, the virtual operations they turn into, the library without CDs following the main
// library, the idle tick, the popup menu and the progress window.
#include "app/windows/frmjukebox.h"

#include "app/dialogs/frmpartyplay.h"
#include "app/dialogs/frmplaylist.h"
#include "app/dialogs/frmprogress.h"
#include "app/qt/services/activitymonitor.h"
#include "app/qt/services/exceptionboundary.h"
#include "app/windows/frmplaylisteditor.h"
#include "app/windows/frmscreensaver.h"
#include "app/windows/frmstackerlist.h"
#include "core/jukebox/libraryview.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/player/custommediaplayer.h"
#include "core/timers/alarm.h"
#include "platform/freememory.h"
#include "platform/scopeguard.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>

#include <exception>
#include <utility>

namespace {

// A rebuild frees far more scratch than it keeps: once the windows have shown the library, the pages go
// back to the system (not before, so neither the start nor a rescan waits for it).
void ReleaseFreeMemoryWhenShown(QObject* context)
{
    QTimer::singleShot(0, context, [] { platform::ReleaseFreeMemory(); });
}

} // namespace

void TfrmJukebox::BindEvents()
{
    PlayerEvents.OnGetNextTagger = [this](TcustomMediaPlayer* s, const TaudioTag*& tag) {
        PlayerEventsGetNextTagger(s, tag);
    };
    PlayerEvents.OnFileNotFound = [this](TcustomMediaPlayer*, const TaudioTag* tag) {
        if (!closing_)
            Guarded([this, tag] { GetJukebox().SongMissing(tag); });
    };
    PlayerEvents.OnPlaybackStart = [this](TcustomMediaPlayer* s, const TaudioTag* tag) {
        PlayerEventsPlaybackStart(s, tag);
    };
    PlayerEvents.OnPlaybackFinished = [this](TcustomMediaPlayer* s, const TaudioTag* tag) {
        PlayerEventsPlaybackFinished(s, tag);
    };
    PlayerEvents.OnStateChange = [this](TcustomMediaPlayer* s, TmediaPlayState state) {
        PlayerEventsStateChange(s, state);
    };
    PlayerEvents.OnVolumeChange = [this](TcustomMediaPlayer* s, std::uint8_t volume) {
        PlayerEventsVolumeChange(s, volume);
    };
    JukeboxEvents.OnQueueChange = [this](TcustomJukebox* s) { JukeboxEventsQueueChange(s); };
    JukeboxEvents.OnStackerChange = [this](TcustomJukebox* s) { JukeboxEventsStackerChange(s); };
    JukeboxEvents.OnStackerListChange = [this](TcustomJukebox* s, TaudioTagList* list) {
        JukeboxEventsStackerListChange(s, list);
    };
    JukeboxEvents.OnPlaylistChange = [this](TcustomJukebox* s) { JukeboxEventsPlaylistChange(s); };
    JukeboxEvents.OnActivePreloadedListChanged = [this](TcustomJukebox* s, TaudioTagList* list) {
        JukeboxEventsActivePreloadedListChanged(s, list);
    };
    JukeboxListEvents.SetPlayerEvents(&PlayerEvents);
    JukeboxListEvents.SetJukeboxEvents(&JukeboxEvents);
    JukeboxListEvents.OnGlobalListChange = [this](TcustomJukeboxList* s) {
        JukeboxListEventsGlobalListChange(s);
    };
    JukeboxListEvents.OnPlaylistsChange = [this](TcustomJukeboxList* s) {
        JukeboxListEventsPlaylistsChange(s);
    };
    JukeboxListEvents.OnPlaylistListChange = [this](TcustomJukeboxList* s, TaudioTagList* list) {
        JukeboxListEventsPlaylistListChange(s, list);
    };
    JukeboxListEvents.OnListProcessStart = [this](TcustomJukeboxList* s, const std::string& text) {
        JukeboxListEventsListProcessStart(s, text);
    };
    JukeboxListEvents.OnListProcess = [this](TcustomJukeboxList* s, std::uint32_t index, std::uint32_t count,
                                             TaudioTag* tag) {
        JukeboxListEventsListProcess(s, index, count, tag);
    };
    JukeboxListEvents.OnListProcessFinished = [this](TcustomJukeboxList* s) {
        JukeboxListEventsListProcessFinished(s);
    };
    NoCDJukeboxListEvents.OnGlobalListChange = [this](TcustomJukeboxList* s) {
        NoCDJukeboxListEventsGlobalListChange(s);
    };
    // Raised in the middle of a load or a rebuild: a failure must not break it off.
    JukeboxListEvents.OnGlobalListChanging = [this](TcustomJukeboxList*) {
        // The library without CDs shares the songs about to go.
        Guarded([this] { NoCDJukebox->Release(); });
        Guarded([this] { LibraryChanging(); });
    };
    NoCDJukeboxListEvents.OnGlobalListChanging = [this](TcustomJukeboxList* s) {
        Guarded([this, s] { NoCDJukeboxListEventsGlobalListChanging(s); });
    };
    alarmOn->OnTime = [this](Talarm* s) { alarmOnTime(s); };
    alarmOff->OnTime = [this](Talarm* s) { alarmOffTime(s); };
}

// ---- Virtual operations

void TfrmJukebox::StackerChanged() {}

void TfrmJukebox::QueueChanged()
{
    if (partyPlay_)
        partyPlay_->RefreshQueue();
}

void TfrmJukebox::PlaylistChanged()
{
    if (closing_)
        return;
    if (playlistEditor_)
        playlistEditor_->PlaylistChanged();
    if (playlist_)
        playlist_->Refresh(library_.get());
}

void TfrmJukebox::PlaybackStarted(const TaudioTag* song)
{
    try {
        GetJukebox().SongStarted(song);
    } catch (...) {
        if (!inStartEvent_)
            throw;
        startFailure_ = std::current_exception();
    }
    StackerChanged();
    if (screenSaver_)
        screenSaver_->SetSong(song);
}

void TfrmJukebox::PlayerStateChanged(TmediaPlayState) {}

void TfrmJukebox::VolumeChanged(std::uint8_t) {}

void TfrmJukebox::PlaylistsChanged()
{
    if (closing_)
        return;
    if (playlistEditor_)
        playlistEditor_->PlaylistsChanged();
    if (playlist_)
        playlist_->Refresh(library_.get());
}

void TfrmJukebox::PlaylistListChanged(TaudioTagList* list)
{
    if (closing_)
        return;
    if (playlistEditor_)
        playlistEditor_->PlaylistListChanged(list);
    if (playlist_)
        playlist_->Refresh(library_.get());
}

void TfrmJukebox::ActivePreloadedListChanged(TaudioTagList* list)
{
    if (closing_)
        return;
    if (playlistEditor_)
        playlistEditor_->SelectActivePlaylist(list);
    if (playlist_)
        playlist_->Refresh(library_.get());
    commands_->SetAvailable(TjukeboxCommand::PlaylistEnabled, list != nullptr);
}

void TfrmJukebox::LibraryChanging()
{
    // Nothing on this window links into the library's groupings; the library browser lets go of its own
    // links in its override.
}

TcustomJukeboxList* TfrmJukebox::LibraryWithoutCDs()
{
    if (NoCDJukebox->Stale() || noCDPlaylistsStale_)
        FollowLibrary(true);
    return NoCDJukebox.get();
}

void TfrmJukebox::PrepareTreeLibrary()
{
    (void)LibraryWithoutCDs();
}

void TfrmJukebox::FollowLibrary(bool quietly)
{
    const platform::TValueGuard quiet(followingQuietly_, quietly);
    if (NoCDJukebox->Stale() && library_) {
        NoCDJukebox->Follow(*library_);
        ReleaseFreeMemoryWhenShown(this);
    }
    if (noCDPlaylistsStale_) {
        noCDPlaylistsStale_ = false;
        NoCDJukebox->LoadPlaylists();
    }
}

// ---- Idle detection

bool TfrmJukebox::IsActiveHost() const
{
    return isActiveWindow();
}

void TfrmJukebox::IdleTick()
{
    if (closing_)
        return;
    // The screensaver comes up modeless over whatever the main window shows; a modal window of the
    // program keeps the main window from being the active one, so none shows over a dialog.
    ScreenSaverIdleTick(idle_, *activity_, screenSaver_, IsActiveHost());
}

// ---- Popup menu

void TfrmJukebox::contextMenuEvent(QContextMenuEvent* event)
{
    if (!popupEnabled_) {
        event->ignore();
        return;
    }
    pmMain->exec(event->globalPos());
}

// ---- Event handlers

void TfrmJukebox::PlayerEventsGetNextTagger(TcustomMediaPlayer*, const TaudioTag*& tag)
{
    tag = closing_ ? nullptr : GetJukebox().GetNextTag();
}

void TfrmJukebox::PlayerEventsPlaybackStart(TcustomMediaPlayer*, const TaudioTag* tag)
{
    if (closing_)
        return;
    // Every window shows the new song before a failed save of its start (a full disk) is told.
    {
        const platform::TValueGuard inStart(inStartEvent_, true);
        startFailure_ = nullptr;
        PlaybackStarted(tag);
    }
    if (startFailure_)
        std::rethrow_exception(std::exchange(startFailure_, nullptr));
}

void TfrmJukebox::PlayerEventsPlaybackFinished(TcustomMediaPlayer*, const TaudioTag*)
{
    if (!closing_)
        GetPlayer().Next();
}

void TfrmJukebox::PlayerEventsStateChange(TcustomMediaPlayer*, TmediaPlayState state)
{
    if (closing_)
        return;
    StackerChanged();
    PlayerStateChanged(state);
}

void TfrmJukebox::PlayerEventsVolumeChange(TcustomMediaPlayer*, std::uint8_t volume)
{
    if (!closing_)
        VolumeChanged(volume);
}

void TfrmJukebox::JukeboxEventsQueueChange(TcustomJukebox*)
{
    if (!closing_)
        QueueChanged();
}

void TfrmJukebox::JukeboxEventsStackerChange(TcustomJukebox*)
{
    if (closing_)
        return;
    if (stackerList_)
        stackerList_->RefreshStacker();
    if (playlistEditor_)
        playlistEditor_->StackerChanged();
    StackerChanged();
}

void TfrmJukebox::JukeboxEventsStackerListChange(TcustomJukebox*, TaudioTagList* list)
{
    if (!closing_ && playlistEditor_)
        playlistEditor_->StackerListChanged(list);
}

void TfrmJukebox::JukeboxEventsPlaylistChange(TcustomJukebox*)
{
    if (!closing_)
        PlaylistChanged();
}

void TfrmJukebox::JukeboxEventsActivePreloadedListChanged(TcustomJukebox*, TaudioTagList* list)
{
    if (!closing_)
        ActivePreloadedListChanged(list);
}

void TfrmJukebox::JukeboxListEventsGlobalListChange(TcustomJukeboxList*)
{
    // The library without CDs follows at once while the editor or the stacker window shows its tree;
    // otherwise it is built again when a window next needs it (the windows let go of it already).
    if (closing_)
        return;
    ReleaseFreeMemoryWhenShown(this);
    if ((playlistEditor_ && playlistEditor_->isVisible()) || (stackerList_ && stackerList_->isVisible()))
        FollowLibrary(false);
}

void TfrmJukebox::JukeboxListEventsPlaylistsChange(TcustomJukeboxList*)
{
    if (closing_)
        return;
    PlaylistsChanged();
    FollowPlaylists();
}

void TfrmJukebox::JukeboxListEventsPlaylistListChange(TcustomJukeboxList*, TaudioTagList* list)
{
    if (closing_)
        return;
    PlaylistListChanged(list);
    FollowPlaylists();
}

void TfrmJukebox::FollowPlaylists()
{
    // The library without CDs reads them again only once it is built.
    noCDPlaylistsStale_ = true;
    if (!NoCDJukebox->Stale())
        FollowLibrary(false);
}

void TfrmJukebox::JukeboxListEventsListProcessStart(TcustomJukeboxList*, const std::string& text)
{
    ShowProgress(text);
}

void TfrmJukebox::JukeboxListEventsListProcess(TcustomJukeboxList*, std::uint32_t index, std::uint32_t count,
                                               TaudioTag*)
{
    StepProgress(index, count);
}

void TfrmJukebox::JukeboxListEventsListProcessFinished(TcustomJukeboxList*)
{
    CloseProgress();
}

void TfrmJukebox::NoCDJukeboxListEventsGlobalListChange(TcustomJukeboxList*)
{
    if (closing_ || followingQuietly_ || !playlistEditor_)
        return;
    // A hidden editor fills its tree when it is shown.
    if (playlistEditor_->isVisible())
        playlistEditor_->RebuildTree();
    if (stackerList_)
        stackerList_->LibraryChanged();
}

void TfrmJukebox::NoCDJukeboxListEventsGlobalListChanging(TcustomJukeboxList*)
{
    // A window filling its tree from the view built for it holds no link into it yet.
    if (followingQuietly_)
        return;
    // Not skipped while closing: links into freed songs are never kept.
    if (playlistEditor_)
        playlistEditor_->LibraryChanging();
    if (stackerList_)
        stackerList_->LibraryChanging();
}

void TfrmJukebox::alarmOnTime(Talarm*)
{
    if (!closing_)
        GetPlayer().Play();
}

void TfrmJukebox::alarmOffTime(Talarm*)
{
    if (!closing_)
        GetPlayer().Stop();
}

// ---- Progress

void TfrmJukebox::ShowProgress(const std::string& caption)
{
    if (progress_)
        progress_->ListProcessStart(caption);
}

void TfrmJukebox::StepProgress(std::uint32_t index, std::uint32_t count)
{
    if (progress_)
        progress_->ListProcess(index, count);
}

void TfrmJukebox::CloseProgress()
{
    if (progress_)
        progress_->ListProcessFinished();
}
