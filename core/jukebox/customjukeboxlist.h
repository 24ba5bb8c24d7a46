#pragma once

#include "core/groupings/audiotagalbumlist.h"
#include "core/groupings/audiotagartistlist.h"
#include "core/groupings/audiotaggenrelist.h"
#include "core/groupings/audiotagplaylistlist.h"
#include "core/songs/audiotaglist.h"
#include "core/songs/filenameindex.h"
#include "core/util/componentlink.h"
#include "platform/datetime.h"
#include "platform/stringlist.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TcustomJukebox;
class TcustomJukeboxListEvents;
class TIniFile;

// The music library: the global song list that owns every song, the groupings rebuilt from it after each of
// its changes (albums, artists, title groups, genres, the file-name index), the saved playlists, the media
// folders and the data files in DataFolder. The concrete library adds the playing jukebox.
class TcustomJukeboxList
{
public:
    TcustomJukeboxList();
    virtual ~TcustomJukeboxList();
    TcustomJukeboxList(const TcustomJukeboxList&) = delete;
    TcustomJukeboxList& operator=(const TcustomJukeboxList&) = delete;

    const std::string& DataFolder() const { return dataFolder_; }
    void SetDataFolder(std::string value) { dataFolder_ = std::move(value); }

    // Every song's full file name with its song, sorted, ignoring case; a second song of the same name is
    // not indexed. Handed to folder scans as the songs already known.
    const TfileNameIndex& FileNameIndex() const { return fileNameIndex_; }
    TaudioTagAlbumList& Albums() { return *albums_; }
    const TaudioTagAlbumList& Albums() const { return *albums_; }
    TaudioTagArtistList& Artists() { return *artists_; }
    const TaudioTagArtistList& Artists() const { return *artists_; }
    TaudioTagArtistList& AlphaList() { return *alphaList_; }
    const TaudioTagArtistList& AlphaList() const { return *alphaList_; }
    TaudioTagList& GlobalList() { return *globalList_; }
    const TaudioTagList& GlobalList() const { return *globalList_; }
    TaudioTagPlaylistList& Playlists() { return *playlists_; }
    const TaudioTagPlaylistList& Playlists() const { return *playlists_; }
    TStrings& MediaFolders() { return mediaFolders_; }
    const TStrings& MediaFolders() const { return mediaFolders_; }
    TaudioTagGenreList& Genres() { return *genres_; }
    const TaudioTagGenreList& Genres() const { return *genres_; }

    // True while jukebox.dat or playlists.dat is being loaded.
    bool GlobalLoading() const { return globalLoading_; }
    bool PlaylistsLoading() const { return playlistsLoading_; }

    // Nullptr when none is set or the holder has been destroyed since.
    TcustomJukeboxListEvents* Events() const { return events_.Get(); }

    // Published switches.
    bool AutoSaveGlobal() const { return autoSaveGlobal_; }
    void SetAutoSaveGlobal(bool value) { autoSaveGlobal_ = value; }
    bool LoadGenres() const { return loadGenres_; }
    void SetLoadGenres(bool value) { loadGenres_ = value; }
    bool LoadCDs() const { return loadCDs_; }
    void SetLoadCDs(bool value) { loadCDs_ = value; }
    bool AutoSavePlaylists() const { return autoSavePlaylists_; }
    void SetAutoSavePlaylists(bool value) { autoSavePlaylists_ = value; }

    // Rebuilds every grouping from the global list in one pass, OnGlobalListChanging first.
    virtual void GlobalListChanged();
    // Rebuilds the groupings as a change of the global list does, with the same notifications (the
    // jukebox follows, OnGlobalListChange is raised), but without saving the unchanged jukebox.dat: for
    // changes the groupings are made from, such as the artists' alias lines.
    void RebuildGroupings();
    // Saves the playlists when switched on, then notifies.
    virtual void PlaylistsChanged();
    // One saved playlist changed: saves the playlists when switched on, then notifies.
    virtual void PlaylistListChanged(TaudioTagList* list);
    virtual void SetEvents(TcustomJukeboxListEvents* events);
    // The playing jukebox reports its own destruction.
    virtual void JukeboxDestroyed(TcustomJukebox* jukebox) = 0;
    virtual void LoadGlobal();
    virtual void SaveAll();
    virtual void LoadSettings(const TIniFile& ini, const std::string& section);
    virtual void SaveSettings(TIniFile& ini, const std::string& section);

    std::string GetGlobalFileName() const;
    std::string GetPlaylistsFileName() const;
    // 0 when the file does not exist.
    TDateTime GetGlobalFileDate() const;
    TDateTime GetPlaylistsFileDate() const;
    // The catalogue of the disc mounted at root: DataFolder, "/", its volume serial ("%8.8X") and ".dat";
    // "" when the disc's serial cannot be read.
    std::string GetCDCatalogueFileName(const std::string& root) const;
    // The catalogue of the disc with this volume serial.
    std::string GetCDCatalogueFileName(std::uint32_t serial) const;

    // Loads jukebox.dat (and, with LoadCDs, the catalogues of the discs now mounted) with one rebuild.
    // False when jukebox.dat is missing or could not be read in full (the songs before the damage stay).
    bool LoadGlobalList();
    // Appends the catalogue of every mounted disc that has one.
    void LoadCDCatalogues();
    // True for a song of a disc whose catalogue the last load of the global list appended (its file is
    // below that disc's mount point).
    bool IsCDSong(const TaudioTag& song) const;
    // False when playlists.dat is missing or could not be read in full.
    bool LoadPlaylists();
    // Each creates DataFolder when missing and replaces its file through a temporary file, so a failed save
    // leaves the previous file whole; failures throw EFileError.
    void SaveGlobal();
    void SavePlaylists();
    // Writes a scanned disc's songs as its catalogue; false when the disc's serial cannot be read.
    bool SaveCDCatalogue(const TaudioTagList& songs, const std::string& root);
    // The same for a disc whose serial is known: its songs below root are stored relative to the disc.
    void SaveCDCatalogue(const TaudioTagList& songs, const std::string& root, std::uint32_t serial);
    void AutoSavePlaylistsFile();
    // The handler of a saved playlist's change: PlaylistListChanged, and a failed automatic save rethrown
    // after it.
    void PlaylistListChange(TaudioTagList* list);
    // Creates DataFolder with its missing parents.
    void ForceDataFolder() const;

    void DoListProcessStart(const std::string& text);
    void DoListProcess(std::uint32_t index, std::uint32_t count, TaudioTag* tag);
    void DoListProcessFinished();

    // For links held elsewhere (TcomponentLink): expires with the library.
    std::weak_ptr<const bool> LinkToken() const { return alive_; }

protected:
    // Tells everything that links into the groupings or the global list's songs to let go, once until the
    // next rebuild (ReleaseGlobalLinks, then OnGlobalListChanging). The global list calls it before it frees
    // songs, and a rebuild always follows; a listener's failure is held until the change is over, so the
    // freeing is never cut short.
    void GlobalListChanging();
    // Called once before the global list's songs or the groupings go: whatever links to them outside the
    // groupings lets go, because a load's or scan's progress events can let other work run before the
    // rebuild.
    virtual void ReleaseGlobalLinks() {}

    // Fills every grouping and the file-name index from the global list.
    virtual void FillGroupings();
    TfileNameIndex& OwnFileNameIndex() { return fileNameIndex_; }

    void DoGlobalListChanging();
    void DoGlobalListChange();
    void DoPlaylistsChange();
    void DoPlaylistListChange(TaudioTagList* list);

private:
    void GlobalListChange();
    void PlaylistsChange();
    // Runs an automatic save; a failure is kept for the change handler to rethrow once the groupings and
    // the jukebox's lists follow the change, so no list keeps links to songs that are gone.
    void AutoSave(void (TcustomJukeboxList::*save)());
    // Runs work, keeping its failure for the change handler to rethrow (the first one held wins).
    void Hold(const std::function<void()>& work);
    void RunChange(const std::function<void()>& work);
    void RethrowHeldError();

    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
    std::string dataFolder_;
    TfileNameIndex fileNameIndex_;
    std::unique_ptr<TaudioTagAlbumList> albums_;
    std::unique_ptr<TaudioTagArtistList> artists_;
    std::unique_ptr<TaudioTagArtistList> alphaList_;
    std::unique_ptr<TaudioTagList> globalList_;
    std::unique_ptr<TaudioTagPlaylistList> playlists_;
    TStrings mediaFolders_;
    // The mount points of the discs whose catalogues the global list holds, each ending in '/'.
    std::vector<std::string> cdRoots_;
    std::unique_ptr<TaudioTagGenreList> genres_;
    bool globalLoading_ = false;
    bool playlistsLoading_ = false;
    TcomponentLink<TcustomJukeboxListEvents> events_;
    bool autoSaveGlobal_ = false;
    bool loadGenres_ = true;
    bool loadCDs_ = false;
    bool autoSavePlaylists_ = false;
    std::exception_ptr heldError_;
    int changeDepth_ = 0;
    bool globalChanging_ = false;
};
