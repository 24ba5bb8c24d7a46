#pragma once

#include "core/util/componentlink.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

class TaudioTag;
class TaudioTagHistoryList;
class TaudioTagList;
class TaudioTagListList;
class TaudioTagPlaylistList;
class TcustomJukeboxEvents;
class TcustomJukeboxList;
class TcustomMediaPlayer;
class TcustomMediaPlayerEvents;
class TIniFile;
class TtagListRules;

// Where a chosen or playing song came from; stored as one byte in this numbering.
enum TjukeboxSource : std::uint8_t
{
    jsNone = 0,
    jsRandomPlayList = 1,
    jsQueue = 2,
    jsPlaylist = 3,
    jsActivePreloadedList = 4,
    jsStacker = 5,
};

// The playing jukebox: the lists songs are played from (queue, own playlist, stacker, random-play list, the
// active saved playlist), the play history and the choice of the next song. Owned by its library, which it
// reaches through a link. It owns the player it is given; every change of its lists asks the player to
// prepare its next song, so the song waiting in the player always follows the lists.
class TcustomJukebox
{
public:
    TcustomJukebox();
    virtual ~TcustomJukebox();
    TcustomJukebox(const TcustomJukebox&) = delete;
    TcustomJukebox& operator=(const TcustomJukebox&) = delete;

    // Songs queued by the user; owns them; played from the head.
    TaudioTagList& Queue() { return *queue_; }
    const TaudioTagList& Queue() const { return *queue_; }
    // The jukebox's own running playlist; owns its songs.
    TaudioTagList& Playlist() { return *playlist_; }
    const TaudioTagList& Playlist() const { return *playlist_; }
    // Owns its lists, and they own their songs.
    TaudioTagPlaylistList& Stacker() { return *stacker_; }
    const TaudioTagPlaylistList& Stacker() const { return *stacker_; }
    // The owning library; set by it right after construction.
    TcustomJukeboxList* JukeboxList() const { return jukeboxList_; }
    void SetJukeboxList(TcustomJukeboxList* value) { jukeboxList_ = value; }
    // Links to the library's songs eligible for random play; its Active flag is the random-play switch.
    TaudioTagList& RandomPlayList() { return *randomPlayList_; }
    const TaudioTagList& RandomPlayList() const { return *randomPlayList_; }
    // Nullptr when none is set or the holder has been destroyed since.
    TcustomJukeboxEvents* Events() const;
    void SetEvents(TcustomJukeboxEvents* events);
    TcustomMediaPlayer* Player() const { return player_.get(); }
    // The song GetNextTag returned last (a link into its list); nullptr after a change of the lists.
    TaudioTag* ChosenTag() const { return chosenTag_; }
    // History's copy of the song now playing.
    TaudioTag* PlayingTag() const { return playingTag_; }
    // Played songs, oldest first; owns them.
    TaudioTagHistoryList& History() { return *history_; }
    const TaudioTagHistoryList& History() const { return *history_; }
    TcustomMediaPlayerEvents* PlayerEvents() const { return playerEvents_.Get(); }
    // Links to the songs of the stacker's Active lists, shuffled; Active mirrors the stacker's.
    TaudioTagList& StackerPlayList() { return *stackerPlayList_; }
    const TaudioTagList& StackerPlayList() const { return *stackerPlayList_; }
    // Always one of the library's saved playlists, or nullptr.
    TaudioTagList* ActivePreloadedList() const { return activePreloadedList_; }

    // Write the matching data file at every change.
    bool AutoSavePlaylist() const { return autoSavePlaylist_; }
    void SetAutoSavePlaylist(bool value) { autoSavePlaylist_ = value; }
    bool AutoSaveQueue() const { return autoSaveQueue_; }
    void SetAutoSaveQueue(bool value) { autoSaveQueue_ = value; }
    bool AutoSaveStacker() const { return autoSaveStacker_; }
    void SetAutoSaveStacker(bool value) { autoSaveStacker_ = value; }
    // True while the matching file is being loaded (no automatic saving then).
    bool PlaylistLoading() const { return playlistLoading_; }
    bool StackerLoading() const { return stackerLoading_; }
    bool QueueLoading() const { return queueLoading_; }

    // The random-play filter; its folder rule is offered.
    TtagListRules& Rules() { return *rules_; }
    const TtagListRules& Rules() const { return *rules_; }
    // Rewrite history.txt at every song start.
    bool WriteHistory() const { return writeHistory_; }
    void SetWriteHistory(bool value) { writeHistory_ = value; }
    TjukeboxSource ChosenSource() const { return chosenSource_; }
    TjukeboxSource PlayingSource() const { return playingSource_; }
    const std::string& ChosenStackerListName() const { return chosenStackerListName_; }
    const std::string& PlayingStackerListName() const { return playingStackerListName_; }

    // The library's data folder, else the program folder.
    virtual std::string GetDataFolder() const;
    // Takes the player over and gives it the current player events. The previous player is handed back to
    // the caller (nothing frees it here).
    virtual std::unique_ptr<TcustomMediaPlayer> SetPlayer(std::unique_ptr<TcustomMediaPlayer> player);
    virtual void SetPlayerEvents(TcustomMediaPlayerEvents* events);
    // playlist.dat, queue.dat, stacker.dat, in this order. A missing or damaged file leaves the list as its
    // loader leaves it; loading never saves. Each single load is false when its file is missing or could
    // not be read in full.
    virtual void LoadAll();
    virtual bool LoadStacker();
    virtual bool LoadQueue();
    virtual bool LoadPlaylist();
    // playlist.dat, queue.dat, stacker.dat, in this order. Each replaces its file through a temporary file,
    // so a failed save leaves the previous file whole; failures throw EFileError.
    virtual void SaveAll();
    virtual void SaveStacker();
    virtual void SaveQueue();
    virtual void SavePlaylist();
    // The rules' keys, then "ActivePlaylist" (the active saved playlist's title, "" for none).
    virtual void SaveSettings(TIniFile& ini, const std::string& section);
    virtual void LoadSettings(const TIniFile& ini, const std::string& section);
    // A hook for a concrete jukebox to bring itself up to date; nothing here calls it.
    virtual void Refresh() = 0;

    // The song to play next: the queue head, else the stacker, the own playlist, the active saved playlist,
    // the random-play list. Removes and advances nothing (but past songs found missing, see SongMissing):
    // the same song comes again until SongStarted.
    TaudioTag* GetNextTag();
    // A song began (the player's copy): moves its source on when its current song has the same file name
    // (exact comparison), puts a copy into History and rewrites history.txt. A failed save of queue.dat or
    // history.txt is rethrown after all of that is done, once: the following starts stay quiet until a save
    // succeeds again.
    void SongStarted(const TaudioTag* tag);
    // The player found the chosen song's file missing: its source moves past it, as after a start but
    // without history, so that the next request gets the following song.
    void SongMissing(const TaudioTag* tag);

    bool RandomPlay() const;
    void SetRandomPlay(bool value);
    // Rebuilds the random-play list from the library's global list through the rules.
    void ApplyRandomPlayRules();
    // From the library: its global list was rebuilt.
    void GlobalListChanged();
    // From the library: its set of saved playlists changed; re-validates the active saved playlist, which
    // keeps its place when it is still saved.
    void PlaylistsChanged();
    // From the library: one saved playlist changed; the player follows when it is the active one.
    void PlaylistListChanged(TaudioTagList* list);
    // Only one of the library's saved playlists is taken (and made Active); anything else clears the choice.
    void SetActivePreloadedList(TaudioTagList* list);
    void SelectActivePlaylist(std::string_view title);
    bool HasActivePreloadedList() const { return activePreloadedList_ != nullptr; }
    // From the library, before jukebox.dat replaces its songs: the random-play list lets go of them
    // quietly, as the rebuild after the load refills it.
    void ReleaseLibrarySongs();
    // Refills the stacker's play list from the stacker's Active lists.
    void RebuildStackerList();
    // "" when the stacker is off, "Empty" without stacker songs, else the playing stacker list's title or
    // "Inactive".
    std::string GetStackerStatus() const;

    std::string GetHistoryFileName() const;
    std::string GetPlaylistFileName() const;
    std::string GetQueueFileName() const;
    std::string GetStackerFileName() const;

    // Asks the player, when there is one, to prepare its next song.
    void PreloadNext();
    // Creates the data folder with its missing parents.
    void ForceDataFolder() const;

protected:
    // Puts bytes in place of a data file through a temporary file; throws EFileError and leaves the old
    // file as it was on failure.
    virtual void WriteDataFile(const std::string& fileName, std::string_view bytes);

    void DoQueueChange();
    void DoPlaylistChange();
    void DoStackerChange();
    void DoCustomGlobalChange(int value);
    void DoStackerListChange(TaudioTagList* list);
    void DoActivePreloadedListChanged(TaudioTagList* list);

private:
    void QueueChange();
    void PlaylistChange();
    void StackerChange();
    void StackerActiveChange();
    void StackerListChange(TaudioTagList* list);
    void RandomListChange();
    // SetActivePreloadedList; without activate a list already Active is left where it is.
    void ChooseActivePreloadedList(TaudioTagList* list, bool activate);
    // The active saved playlist while it is still one of the library's saved playlists.
    TaudioTagList* LiveActivePreloadedList() const;
    // The first stacker list (in title order) holding the song.
    TaudioTagList* StackerListOf(const TaudioTag* song) const;
    // Moves PlayingSource on past the song of that file name.
    void MoveSourceOn(const std::string& name);
    // The list's current song, moving past songs whose files the player found missing (one round at
    // most); nullptr when no other is left.
    TaudioTag* PlayableTag(TaudioTagList& list);
    // True while a song's file found missing is still missing.
    bool KnownMissing(const TaudioTag& song);
    std::string DataFile(const char* name) const;
    void UnbindLists();

    std::unique_ptr<TaudioTagList> queue_;
    std::unique_ptr<TaudioTagList> playlist_;
    std::unique_ptr<TaudioTagPlaylistList> stacker_;
    TcustomJukeboxList* jukeboxList_ = nullptr; // link
    std::unique_ptr<TaudioTagList> randomPlayList_;
    TcomponentLink<TcustomJukeboxEvents> events_;
    std::unique_ptr<TcustomMediaPlayer> player_;
    bool startSaveFailureTold_ = false;
    // Files the player found missing; their songs are passed over while the files stay missing.
    std::unordered_set<std::string> missingFiles_;
    TaudioTag* chosenTag_ = nullptr;  // link
    TaudioTag* playingTag_ = nullptr; // owned by history_
    std::unique_ptr<TaudioTagHistoryList> history_;
    TcomponentLink<TcustomMediaPlayerEvents> playerEvents_;
    std::unique_ptr<TaudioTagList> stackerPlayList_;
    TaudioTagList* activePreloadedList_ = nullptr; // link
    bool autoSavePlaylist_ = false;
    bool autoSaveQueue_ = false;
    bool autoSaveStacker_ = false;
    bool playlistLoading_ = false;
    bool stackerLoading_ = false;
    bool queueLoading_ = false;
    std::unique_ptr<TtagListRules> rules_;
    bool writeHistory_ = true;
    TjukeboxSource chosenSource_ = jsNone;
    TjukeboxSource playingSource_ = jsNone;
    std::string chosenStackerListName_;
    std::string playingStackerListName_;
    // Stacker song -> the first stacker list (in title order) holding it; rebuilt with the play list so that
    // choosing a stacker song never searches the stacker.
    std::unordered_map<const TaudioTag*, TaudioTagList*> stackerListOf_;
    // Set while the rules refill the random-play list, which then asks the player once, at the end.
    bool applyingRules_ = false;
    // Set while ReleaseLibrarySongs empties the random-play list.
    bool releasingSongs_ = false;
};
