#include "core/jukebox/customjukeboxlist.h"

#include "core/jukebox/customjukeboxlistevents.h"
#include "core/util/orvanexutils.h"
#include "platform/filesystem.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/opticaldrives.h"
#include "platform/scopeguard.h"

#include <algorithm>
#include <array>
#include <exception>
#include <system_error>
#include <thread>

namespace {

constexpr const char* kGlobalFile = "jukebox.dat";
constexpr const char* kPlaylistsFile = "playlists.dat";

} // namespace

TcustomJukeboxList::TcustomJukeboxList()
    : albums_(std::make_unique<TaudioTagAlbumList>()), artists_(std::make_unique<TaudioTagArtistList>()),
      alphaList_(std::make_unique<TaudioTagArtistList>()), globalList_(std::make_unique<TaudioTagList>()),
      playlists_(std::make_unique<TaudioTagPlaylistList>()), genres_(std::make_unique<TaudioTagGenreList>())
{
    // The groupings own their group lists; the songs in them stay the global list's.
    albums_->SetOwnsObjects(true);
    artists_->SetOwnsObjects(true);
    alphaList_->SetOwnsObjects(true);
    alphaList_->SetIsAlphaList(true);
    genres_->SetOwnsObjects(true);
    genres_->SetLibraryAlbums(albums_.get());

    globalList_->SetOwnsObjects(true);
    globalList_->OnChange = [this](TaudioTagList*) { GlobalListChange(); };
    globalList_->OnListProcessStart = [this](TaudioTagList*, const std::string& text) {
        DoListProcessStart(text);
    };
    globalList_->OnListProcess = [this](TaudioTagList*, std::uint32_t index, std::uint32_t count,
                                        TaudioTag* tag) { DoListProcess(index, count, tag); };
    globalList_->OnListProcessFinished = [this](TaudioTagList*) { DoListProcessFinished(); };
    globalList_->OnFreeingSongs = [this](TaudioTagList*) { GlobalListChanging(); };

    playlists_->SetOwnsObjects(true);
    playlists_->SetListsOwnObjects(true);
    playlists_->SetActive(true);
    playlists_->OnChange = [this](TaudioTagListList*) { PlaylistsChange(); };
    playlists_->OnPlaylistChange = [this](TaudioTagListList*, TaudioTagList* list) {
        PlaylistListChange(list);
    };
}

TcustomJukeboxList::~TcustomJukeboxList()
{
    alive_.reset();
    globalList_->OnChange = nullptr;
    globalList_->OnListProcessStart = nullptr;
    globalList_->OnListProcess = nullptr;
    globalList_->OnListProcessFinished = nullptr;
    globalList_->OnFreeingSongs = nullptr;
    playlists_->OnChange = nullptr;
    playlists_->OnPlaylistChange = nullptr;
    // The groupings link to the global list's songs: they go first, and the artists and genres before the
    // albums they were given.
    fileNameIndex_.Clear();
    genres_.reset();
    artists_.reset();
    albums_.reset();
    alphaList_.reset();
    globalList_.reset();
    playlists_.reset();
}

void TcustomJukeboxList::GlobalListChange()
{
    RunChange([this] { GlobalListChanged(); });
}

void TcustomJukeboxList::RebuildGroupings()
{
    const platform::TValueGuard noSave(autoSaveGlobal_, false);
    GlobalListChange();
}

void TcustomJukeboxList::PlaylistsChange()
{
    RunChange([this] { PlaylistsChanged(); });
}

void TcustomJukeboxList::RunChange(const std::function<void()>& work)
{
    // Only the outermost change reports the automatic save's failure, once everything has followed.
    ++changeDepth_;
    try {
        work();
    } catch (...) {
        if (--changeDepth_ == 0)
            heldError_ = nullptr;
        throw;
    }
    if (--changeDepth_ == 0)
        RethrowHeldError();
}

void TcustomJukeboxList::AutoSave(void (TcustomJukeboxList::*save)())
{
    Hold([this, save] { (this->*save)(); });
}

void TcustomJukeboxList::Hold(const std::function<void()>& work)
{
    try {
        work();
    } catch (...) {
        if (!heldError_)
            heldError_ = std::current_exception();
    }
}

void TcustomJukeboxList::RethrowHeldError()
{
    if (!heldError_)
        return;
    std::exception_ptr error = heldError_;
    heldError_ = nullptr;
    std::rethrow_exception(error);
}

void TcustomJukeboxList::GlobalListChanging()
{
    if (globalChanging_)
        return;
    globalChanging_ = true;
    Hold([this] {
        ReleaseGlobalLinks();
        DoGlobalListChanging();
    });
}

void TcustomJukeboxList::GlobalListChanged()
{
    if (autoSaveGlobal_ && !globalLoading_)
        AutoSave(&TcustomJukeboxList::SaveGlobal);
    GlobalListChanging();
    {
        const platform::TScopeExit rebuilt([this] { globalChanging_ = false; });
        FillGroupings();
    }
    DoGlobalListChange();
}

void TcustomJukeboxList::FillGroupings()
{
    TaudioTagList& global = *globalList_;
    global.DoListProcessStart("Processing Tag Information");
    artists_->BeginUpdate();
    albums_->BeginUpdate();
    alphaList_->BeginUpdate();
    genres_->BeginUpdate();
    // The genres link albums of the album grouping: they let go first.
    genres_->Clear();
    artists_->Clear();
    albums_->Clear();
    alphaList_->Clear();

    const int count = global.Count();
    const auto last = static_cast<std::uint32_t>(count > 0 ? count - 1 : 0);
    // The groupings look a stretch of songs up ahead, then file them one by one: in a large library each
    // song goes somewhere far from the one before, and the lookups of a stretch wait for memory together.
    constexpr int kStretch = 64;
    const std::string* lastAlbum = nullptr;
    const std::string* lastArtist = nullptr;
    for (int from = 0; from < count; from += kStretch) {
        const int to = std::min(count, from + kStretch);
        // Read again for every stretch: the progress notices may run the event loop.
        if (from < global.Count()) {
            // A song of the album and artist of the song before it mostly goes where that one went, which
            // is at hand (songs scanned folder by folder mostly do): only the others are looked up ahead.
            std::array<const TaudioTag*, kStretch> ahead{};
            std::size_t n = 0;
            for (int i = from; i < std::min(to, global.Count()); ++i) {
                const TaudioTag* tag = global.GetItem(i);
                if (!tag)
                    continue;
                const std::string* album = &tag->Album();
                const std::string* artist = &tag->Artist();
                if (album != lastAlbum || artist != lastArtist)
                    ahead[n++] = tag;
                lastAlbum = album;
                lastArtist = artist;
            }
            for (int step = 0; step < TaudioTagAlbumList::kLookAheadSteps; ++step)
                for (std::size_t i = 0; i < n; ++i) {
                    albums_->LookAhead(ahead[i], step);
                    artists_->LookAhead(ahead[i], step);
                }
            if (loadGenres_ && n > 0)
                genres_->LookAhead(ahead.data(), n);
        }
        for (int i = from; i < to; ++i) {
            TaudioTag* tag = global.GetItem(i);
            global.DoListProcess(static_cast<std::uint32_t>(i), last, nullptr);
            TaudioTagList* album = albums_->AddTag(tag);
            artists_->AddTag(tag);
            alphaList_->AddTag(tag);
            if (loadGenres_)
                genres_->AddTag(tag, album);
        }
    }
    // The file-name index reads only the songs' names, which nothing below changes, and nothing below reads
    // it, runs the event loop or tells anyone outside: a large library's index is built on a thread of its
    // own while the groupings close.
    TfileNameIndex index;
    std::exception_ptr indexFailed;
    const auto rebuildIndex = [&index, &indexFailed, &global] {
        try {
            index.Rebuild(global.Items());
        } catch (...) {
            indexFailed = std::current_exception();
        }
    };
    constexpr int kIndexAside = 16384;
    std::thread indexer;
    if (count >= kIndexAside) {
        try {
            indexer = std::thread(rebuildIndex);
        } catch (const std::system_error&) {
        }
    }
    if (!indexer.joinable())
        rebuildIndex();
    {
        const platform::TScopeExit joined([&indexer] {
            if (indexer.joinable())
                indexer.join();
        });
        genres_->EndUpdate();
        artists_->AssignAlbums(*albums_);
        artists_->BuildIndex();
        albums_->EndUpdate();
        artists_->EndUpdate();
        alphaList_->EndUpdate();
    }
    if (indexFailed)
        std::rethrow_exception(indexFailed);
    fileNameIndex_ = std::move(index);

    global.DoListProcessFinished();
}

void TcustomJukeboxList::PlaylistsChanged()
{
    AutoSavePlaylistsFile();
    DoPlaylistsChange();
}

void TcustomJukeboxList::SetEvents(TcustomJukeboxListEvents* events)
{
    events_.Reset(events);
}

void TcustomJukeboxList::LoadGlobal()
{
    LoadGlobalList();
}

void TcustomJukeboxList::SaveAll()
{
    SaveGlobal();
    SavePlaylists();
}

void TcustomJukeboxList::LoadSettings(const TIniFile& ini, const std::string& section)
{
    TaudioTagList& global = *globalList_;
    mediaFolders_.SetCommaText(ini.ReadString(section, "MediaFolders", ""));
    global.SetUseAudioFileMask(ini.ReadBool(section, "UseAudioMask", false));
    global.SetAudioFileMask(ini.ReadString(section, "AudioMask", global.AudioFileMask()));
    global.SetUseVideoFileMask(ini.ReadBool(section, "UseVideoMask", false));
    global.SetVideoFileMask(ini.ReadString(section, "VideoMask", global.VideoFileMask()));
    global.SetAlbumFromParentFolder(
        ini.ReadBool(section, "AlbumFromParentFolder", global.AlbumFromParentFolder()));
    global.SetArtistFromParentFolder(
        ini.ReadBool(section, "ArtistFromParentFolder", global.ArtistFromParentFolder()));
}

void TcustomJukeboxList::SaveSettings(TIniFile& ini, const std::string& section)
{
    const TaudioTagList& global = *globalList_;
    ini.WriteString(section, "MediaFolders", mediaFolders_.CommaText());
    ini.WriteBool(section, "UseAudioMask", global.UseAudioFileMask());
    ini.WriteString(section, "AudioMask", global.AudioFileMask());
    ini.WriteBool(section, "AlbumFromParentFolder", global.AlbumFromParentFolder());
    ini.WriteBool(section, "ArtistFromParentFolder", global.ArtistFromParentFolder());
    if (global.UseVideoFileMask()) {
        ini.WriteBool(section, "UseVideoMask", true);
        ini.WriteString(section, "VideoMask", global.VideoFileMask());
    } else {
        // A switch saved on earlier must not turn the mask back on at the next start.
        ini.DeleteKey(section, "UseVideoMask");
    }
}

std::string TcustomJukeboxList::GetGlobalFileName() const
{
    return dataFolder_ + "/" + kGlobalFile;
}

std::string TcustomJukeboxList::GetPlaylistsFileName() const
{
    return dataFolder_ + "/" + kPlaylistsFile;
}

TDateTime TcustomJukeboxList::GetGlobalFileDate() const
{
    return GetFileDateTime(GetGlobalFileName());
}

TDateTime TcustomJukeboxList::GetPlaylistsFileDate() const
{
    return GetFileDateTime(GetPlaylistsFileName());
}

std::string TcustomJukeboxList::GetCDCatalogueFileName(const std::string& root) const
{
    std::string serial;
    GetVolumeSerial(root, serial);
    if (serial.empty())
        return {};
    return dataFolder_ + "/" + serial + ".dat";
}

std::string TcustomJukeboxList::GetCDCatalogueFileName(std::uint32_t serial) const
{
    return dataFolder_ + "/" + FormatVolumeSerial(serial) + ".dat";
}

bool TcustomJukeboxList::LoadGlobalList()
{
    const platform::TValueGuard loading(globalLoading_, true);
    GlobalListChanging();
    TaudioTagList& global = *globalList_;
    cdRoots_.clear();
    global.BeginUpdate();
    bool read = false;
    try {
        read = global.LoadFromFile(GetGlobalFileName(), false);
        if (loadCDs_)
            LoadCDCatalogues();
    } catch (...) {
        global.EndUpdate();
        throw;
    }
    // The one change notification, so one rebuild, while the guard still holds back the automatic save.
    global.EndUpdate();
    return read;
}

void TcustomJukeboxList::LoadCDCatalogues()
{
    TaudioTagList& global = *globalList_;
    TStrings roots;
    GetCDRomDrives(roots);
    global.BeginUpdate();
    try {
        for (const auto& root : roots) {
            if (!platform::DirectoryExists(root.text))
                continue;
            const std::string catalogue = GetCDCatalogueFileName(root.text);
            if (!catalogue.empty() && FileExistsNoError(catalogue)) {
                std::string prefix = root.text;
                if (prefix.empty() || prefix.back() != '/')
                    prefix += '/';
                cdRoots_.push_back(std::move(prefix));
                global.LoadFromFile(catalogue, true, root.text);
            }
        }
    } catch (...) {
        global.EndUpdate();
        throw;
    }
    global.EndUpdate();
}

bool TcustomJukeboxList::IsCDSong(const TaudioTag& song) const
{
    // The name's two parts are read in place: the library without CDs asks this of every song.
    if (cdRoots_.empty())
        return false;
    const std::string_view folder = song.FolderName();
    const std::string_view leaf = song.LeafName();
    return std::any_of(cdRoots_.begin(), cdRoots_.end(), [&](std::string_view root) {
        if (folder.size() + leaf.size() <= root.size())
            return false;
        const std::size_t inFolder = std::min(root.size(), folder.size());
        return folder.substr(0, inFolder) == root.substr(0, inFolder) &&
               leaf.substr(0, root.size() - inFolder) == root.substr(inFolder);
    });
}

bool TcustomJukeboxList::LoadPlaylists()
{
    const platform::TValueGuard loading(playlistsLoading_, true);
    return playlists_->LoadFromFile(GetPlaylistsFileName(), false);
}

void TcustomJukeboxList::SaveGlobal()
{
    ForceDataFolder();
    globalList_->SaveToFile(GetGlobalFileName());
}

void TcustomJukeboxList::SavePlaylists()
{
    ForceDataFolder();
    playlists_->SaveToFile(GetPlaylistsFileName());
}

bool TcustomJukeboxList::SaveCDCatalogue(const TaudioTagList& songs, const std::string& root)
{
    const auto serial = platform::VolumeSerialOfRoot(root);
    if (!serial)
        return false;
    SaveCDCatalogue(songs, root, *serial);
    return true;
}

void TcustomJukeboxList::SaveCDCatalogue(const TaudioTagList& songs, const std::string& root,
                                         std::uint32_t serial)
{
    // Names on the disc are stored in drive-letter form ("d:\Music\a.mp3"), which a load puts under
    // whatever mount point the disc has then, however deep it is.
    std::string prefix = root;
    if (prefix.empty() || prefix.back() != '/')
        prefix += '/';
    TaudioTagList stored;
    stored.SetOwnsObjects(true);
    stored.SetTitle(songs.Title());
    stored.SetActive(songs.Active());
    stored.SetPlayMode(songs.PlayMode());
    stored.SetFilename(songs.Filename());
    stored.CopyFrom(songs, true, false);
    for (TaudioTag* tag : stored.Items()) {
        const std::string& name = tag->Filename();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::string rest = name.substr(prefix.size());
        std::replace(rest.begin(), rest.end(), '/', '\\');
        tag->SetFilename("d:\\" + rest);
    }
    ForceDataFolder();
    stored.SaveToFile(GetCDCatalogueFileName(serial));
}

void TcustomJukeboxList::AutoSavePlaylistsFile()
{
    if (autoSavePlaylists_ && !playlistsLoading_)
        AutoSave(&TcustomJukeboxList::SavePlaylists);
}

void TcustomJukeboxList::PlaylistListChange(TaudioTagList* list)
{
    RunChange([this, list] { PlaylistListChanged(list); });
}

void TcustomJukeboxList::PlaylistListChanged(TaudioTagList* list)
{
    AutoSavePlaylistsFile();
    DoPlaylistListChange(list);
}

void TcustomJukeboxList::ForceDataFolder() const
{
    platform::ForceDirectories(dataFolder_);
}

void TcustomJukeboxList::DoListProcessStart(const std::string& text)
{
    if (TcustomJukeboxListEvents* events = Events(); events && events->OnListProcessStart)
        events->OnListProcessStart(this, text);
}

void TcustomJukeboxList::DoListProcess(std::uint32_t index, std::uint32_t count, TaudioTag* tag)
{
    if (TcustomJukeboxListEvents* events = Events(); events && events->OnListProcess)
        events->OnListProcess(this, index, count, tag);
}

void TcustomJukeboxList::DoListProcessFinished()
{
    if (TcustomJukeboxListEvents* events = Events(); events && events->OnListProcessFinished)
        events->OnListProcessFinished(this);
}

void TcustomJukeboxList::DoGlobalListChanging()
{
    if (TcustomJukeboxListEvents* events = Events(); events && events->OnGlobalListChanging)
        events->OnGlobalListChanging(this);
}

void TcustomJukeboxList::DoGlobalListChange()
{
    if (TcustomJukeboxListEvents* events = Events(); events && events->OnGlobalListChange)
        events->OnGlobalListChange(this);
}

void TcustomJukeboxList::DoPlaylistsChange()
{
    if (TcustomJukeboxListEvents* events = Events(); events && events->OnPlaylistsChange)
        events->OnPlaylistsChange(this);
}

void TcustomJukeboxList::DoPlaylistListChange(TaudioTagList* list)
{
    if (TcustomJukeboxListEvents* events = Events(); events && events->OnPlaylistListChange)
        events->OnPlaylistListChange(this, list);
}
