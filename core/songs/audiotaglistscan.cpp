// Folder scans of TaudioTagList: the per-folder cache, the file-by-file read and the tree walk.
#include "core/songs/audiotaglist.h"

#include "core/plugins/taggerloader.h"
#include "core/songs/foldercachewriter.h"
#include "core/songs/folderlister.h"
#include "platform/atomicfile.h"
#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/scopeguard.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <string_view>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

const char* const kScanningFolder = "Scanning Folder...";

// One "/" between folder and name; a folder that already ends in "/" (a root) gets none more.
std::string JoinPath(const std::string& folder, std::string_view name)
{
    std::string out;
    out.reserve(folder.size() + 1 + name.size());
    out = folder;
    if (out.empty() || out.back() != '/')
        out += '/';
    out += name;
    return out;
}

// True when the song's file name is JoinPath(folder, its own name).
bool IsIn(const TaudioTag& song, std::string_view folder)
{
    const std::string_view own = song.FolderName();
    if (song.LeafName().empty() || own.substr(0, folder.size()) != folder)
        return false;
    // JoinPath adds the separator a folder lacks.
    return own.size() == folder.size() + (folder.empty() || folder.back() != '/' ? 1 : 0);
}

std::string_view NameOnly(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return std::string();
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

using TvisitedFolders = TfolderLister::TvisitedFolders;
using FolderListing = TfolderLister::Tlisting;
using Subfolder = TfolderLister::Tsubfolder;

// Threads that write a tree scan's caches: several, since creating files in different folders overlaps on a
// disk (and on ext4 without a journal, right after many files were deleted, a creation costs about what
// reading 25 songs does), and a short queue, since a cache waits there in full. The caches of a few folders
// go over at a time.
constexpr std::size_t kCacheWriterThreads = 6;
constexpr std::size_t kCacheWriterQueue = 32;
constexpr std::size_t kCacheWriterBatch = 8;

FolderListing ListFolder(const std::string& folder, bool withSubfolders)
{
    return TfolderLister::List(folder, withSubfolders);
}

// The currency test. entries: the files of the cache's folder.
bool IsCurrent(const std::optional<TDateTime>& cacheTime, const std::vector<platform::TFolderEntry>& entries)
{
    if (!cacheTime)
        return false;
    return std::none_of(entries.begin(), entries.end(),
                        [&](const platform::TFolderEntry& e) { return e.Time > *cacheTime; });
}

std::optional<TDateTime> CacheTime(const std::optional<platform::TFolderEntry>& cache)
{
    if (!cache || cache->IsFolder() || cache->IsSystem())
        return std::nullopt;
    return cache->Time;
}

// A cache that the listing shows cannot be written: a folder, or a read-only file, has its name. A tree scan
// writes its caches later, on other threads, so it tells these at once, where a write would have failed.
void CheckCacheWritable(const std::string& cacheFile, std::string_view cacheName,
                        const FolderListing& listing)
{
    for (const Subfolder& sub : listing.subfolders)
        if (sub.name == cacheName)
            throw EFileError("Cannot replace file \"" + cacheFile + "\": a folder has its name");
    for (const platform::TFolderEntry& entry : listing.files)
        if (entry.Name == cacheName && (entry.Attr & platform::faReadOnly) != 0)
            throw EFileError("Cannot write file \"" + cacheFile + "\": it is read-only");
}

// The cache as the listing of its folder shows it, which it does unless its name is hidden (or leads
// elsewhere); only then is it looked up on its own. Nothing when there is no usable cache.
std::optional<platform::TFolderEntry> FindCache(const std::string& cacheFile, std::string_view cacheName,
                                                const std::vector<platform::TFolderEntry>& files)
{
    for (const platform::TFolderEntry& entry : files)
        if (entry.Name == cacheName)
            return entry;
    if (!cacheName.empty() && cacheName[0] != '.' && cacheName.find('/') == std::string_view::npos)
        return std::nullopt;
    std::optional<platform::TFolderEntry> cache = platform::EntryInfo(cacheFile);
    if (!CacheTime(cache))
        return std::nullopt;
    return cache;
}

// The whole cache in one read: it is small, and the listing gave its size. Nothing when it cannot be read.
std::optional<std::string> ReadCacheBytes(const std::string& cacheFile, std::int64_t sizeHint)
{
    const int fd = ::open(cacheFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(std::max<std::int64_t>(sizeHint, 0)) + 1, '\0');
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ::close(fd);
            if (n < 0)
                return std::nullopt;
            bytes.resize(got);
            return bytes;
        }
        got += static_cast<std::size_t>(n);
    }
}

// Runs work inside an update bracket of list that closes also when work throws.
template <class F>
void Bracketed(TaudioTagList& list, F&& work)
{
    platform::TUpdateGuard guard(list);
    work();
    guard.End();
}

} // namespace

// A folder scan for one list; a tree walk keeps the folders it has scanned, so that links lead into none
// twice.
class TaudioTagList::TfolderScan
{
public:
    TfolderScan(TaudioTagList& list, const TfileNameIndex* index) : list_(list), index_(index) {}

    // Writes the caches inline.
    void Folder(const std::string& folder, bool append, bool force)
    {
        FolderListing listing;
        if (!folder.empty())
            listing = ListFolder(folder, false);
        Scan(folder, append, force, listing);
    }

    // Writes the caches on the writer threads; Finish waits for them. A failed write ends the walk at the
    // next folder.
    void Tree(const std::string& folder)
    {
        if (!writer_)
            writer_ = std::make_unique<TfolderCacheWriter>(kCacheWriterThreads, kCacheWriterQueue,
                                                           kCacheWriterBatch);
        if (const auto self = platform::EntryInfo(folder); self && self->IsFolder())
            if (!visited_.insert({self->Device, self->Inode}).second)
                return;
        Walk(folder);
    }

    // Every cache of the scan is on disk; throws the first that could not be written.
    void Finish()
    {
        if (writer_)
            writer_->Finish();
    }

private:
    // Scans folder, already marked as visited, and the folders below it, each folder before the ones below
    // it. The lister reads the folders ahead, each once, for its files and its subfolders.
    void Walk(const std::string& folder)
    {
        if (folder.empty()) {
            writer_->ThrowIfFailed();
            Scan(folder, true, false, FolderListing{});
            return;
        }
        TfolderLister lister(folder, visited_);
        while (const std::optional<FolderListing> listing = lister.Next()) {
            writer_->ThrowIfFailed();
            Scan(listing->folder, true, false, *listing);
        }
    }

    // The index's song of a file of the folder being scanned.
    TaudioTag* Known(const std::string& fileName) const { return index_ ? index_->Find(fileName) : nullptr; }

    // A known song whose file changed since it was read is read again in place.
    void Refresh(TaudioTag& known, TDateTime fileTime, bool& changed) const
    {
        if (fileTime == known.ModDate())
            return;
        known.ReadTag();
        list_.DoTagFound(true, &known);
        changed = true;
    }

    // AddFile on the scratch list, with the file's time and kind from the listing instead of more stats
    // (the listing holds regular files only).
    static TaudioTag* ReadNewSong(TaudioTagList& scratch, const std::string& fileName, TDateTime fileTime)
    {
        std::unique_ptr<TaudioTag> song = ReadSongFile(fileName, fileTime, true);
        return song ? scratch.AddCreated(std::move(song)) : nullptr;
    }

    // The songs of a current cache, loaded into scratch: they follow a folder that was moved or renamed,
    // songs of files deleted since go, and songs the index knows are refreshed in place and leave scratch
    // (the scratch list still frees its copies). Answers the songs the cache is to hold.
    std::vector<TaudioTag*> TakeCachedSongs(TaudioTagList& scratch, const std::string& folder,
                                            const std::vector<platform::TFolderEntry>& files,
                                            bool& cacheChanged) const
    {
        // The folder was just listed: a name among its files exists, without a stat.
        std::vector<std::pair<std::string_view, TDateTime>> present;
        present.reserve(files.size());
        for (const platform::TFolderEntry& entry : files)
            present.emplace_back(entry.Name, entry.Time);
        std::sort(present.begin(), present.end());
        const auto timeOf = [&present](std::string_view name) -> std::optional<TDateTime> {
            const auto at = std::lower_bound(present.begin(), present.end(), name,
                                             [](const auto& e, std::string_view n) { return e.first < n; });
            return at != present.end() && at->first == name ? std::optional<TDateTime>(at->second)
                                                            : std::nullopt;
        };
        std::vector<TaudioTag*> cacheSongs;
        cacheSongs.reserve(scratch.items_.size());
        std::vector<TaudioTag*> fresh;
        fresh.reserve(scratch.items_.size());
        for (TaudioTag* song : scratch.items_) {
            if (!IsIn(*song, folder)) {
                song->SetFilename(JoinPath(folder, NameOnly(song->Filename())));
                cacheChanged = true;
            }
            const std::optional<TDateTime> fileTime = timeOf(song->LeafName());
            if (!fileTime) {
                cacheChanged = true;
                continue;
            }
            if (TaudioTag* known = Known(song->Filename())) {
                bool reread = false;
                Refresh(*known, *fileTime, reread);
                cacheSongs.push_back(reread ? known : song);
                cacheChanged = cacheChanged || reread;
            } else {
                cacheSongs.push_back(song);
                fresh.push_back(song);
            }
        }
        scratch.items_.swap(fresh);
        return cacheSongs;
    }

    // Every file offered to the plug-ins; songs the index knows are refreshed in place, never added.
    // Answers the songs the cache is to hold: all the folder's songs, known or new.
    std::vector<TaudioTag*> ReadFiles(TaudioTagList& scratch, const std::string& folder,
                                      const std::vector<platform::TFolderEntry>& files) const
    {
        std::vector<TaudioTag*> cacheSongs;
        const auto total = static_cast<std::uint32_t>(files.size());
        std::uint32_t count = 0;
        bool unused = false;
        for (const platform::TFolderEntry& entry : files) {
            ++count;
            const std::string name = JoinPath(folder, entry.Name);
            if (TaudioTag* known = Known(name)) {
                Refresh(*known, entry.Time, unused);
                list_.DoListProcess(count, total, known);
                cacheSongs.push_back(known);
            } else {
                TaudioTag* song = ReadNewSong(scratch, name, entry.Time);
                list_.DoListProcess(count, total, song);
                if (song) {
                    list_.DoTagFound(false, song);
                    cacheSongs.push_back(song);
                }
            }
        }
        return cacheSongs;
    }

    // The cache's bytes are made here, on the scanning thread, so that no song is shared with a writer.
    void SaveCache(const std::string& cacheFile, const std::vector<TaudioTag*>& songs,
                   const FolderListing& listing) const
    {
        std::string bytes = CacheBytes(songs, writer_ ? writer_->SpareBuffer() : std::string());
        if (!writer_) {
            platform::WriteFileAtomically(cacheFile, bytes, platform::TFileKind::Derived);
            return;
        }
        CheckCacheWritable(cacheFile, list_.DataFileName(), listing);
        writer_->Write(cacheFile, std::move(bytes));
    }

    // A cache is derived data: written without waiting for the disk, since a torn one is rejected on reading.
    static std::string CacheBytes(const std::vector<TaudioTag*>& songs, std::string buffer)
    {
        TaudioTagList cache; // not owning: it lends the songs their file format only
        cache.items_ = songs;
        TstreamWriter stream(std::move(buffer));
        try {
            cache.SaveToStream(stream);
        } catch (...) {
            cache.items_.clear();
            throw;
        }
        cache.items_.clear();
        return stream.TakeBytes();
    }

    void Scan(const std::string& folder, bool append, bool force, const FolderListing& listing)
    {
        const std::vector<platform::TFolderEntry>& files = listing.files;
        TaudioTagList& list = list_;
        list.BeginUpdate();
        // Not owning: whatever it made and did not hand over is freed with it.
        TaudioTagList scratch;
        // Never closed: the scratch list has no listeners, and a change step per file (play order refill)
        // would make a large folder quadratic.
        scratch.BeginUpdate();
        std::exception_ptr failure;
        try {
            list.DoListProcessStart(kScanningFolder);
            scratch.OnListProcess = list.OnListProcess;
            if (!append)
                list.Clear();
            const std::string cacheFile = JoinPath(folder, list.DataFileName());
            list.DoDirProcess(folder);
            if (!folder.empty()) {
                const std::optional<platform::TFolderEntry> cache =
                    FindCache(cacheFile, list.DataFileName(), files);
                const bool current = cache && IsCurrent(cache->Time, files);
                bool fromCache = false;
                bool cacheChanged = false;
                std::vector<TaudioTag*> cacheSongs;
                if (current && list.saveDataFiles_ && !force) {
                    if (const std::optional<std::string> bytes = ReadCacheBytes(cacheFile, cache->Size)) {
                        TstreamReader stream(*bytes);
                        fromCache = scratch.LoadFromStream(stream);
                    }
                    if (fromCache)
                        cacheSongs = TakeCachedSongs(scratch, folder, files, cacheChanged);
                    else
                        scratch.items_.clear();
                }
                if (!fromCache)
                    cacheSongs = ReadFiles(scratch, folder, files);
                // A cache loaded unchanged is not written again: the same bytes, and its time keeps it
                // current.
                if (list.saveDataFiles_ && !cacheSongs.empty() && (!fromCache || cacheChanged))
                    SaveCache(cacheFile, cacheSongs, listing);
            }
        } catch (...) {
            failure = std::current_exception();
        }
        HandOver(scratch, failure);
        list.EndUpdate();
        list.DoListProcessFinished();
        if (failure)
            std::rethrow_exception(failure);
    }

    // The scratch list hands the songs it made over to the scanning list, which answers for them from here
    // on (Max and the mask fill apply through Add). This runs after a failure too: nothing read is lost.
    void HandOver(TaudioTagList& scratch, std::exception_ptr& failure)
    {
        std::vector<TaudioTag*> found;
        found.swap(scratch.items_);
        std::vector<std::unique_ptr<TaudioTag>> handed;
        handed.reserve(found.size());
        std::vector<TaudioTag*> sorted = found;
        std::sort(sorted.begin(), sorted.end());
        if (scratch.created_)
            std::erase_if(*scratch.created_, [&sorted](TaudioTag* song) {
                return std::binary_search(sorted.begin(), sorted.end(), song);
            });
        for (TaudioTag* song : found)
            handed.emplace_back(song);
        try {
            for (std::unique_ptr<TaudioTag>& song : handed)
                list_.AddCreated(std::move(song));
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }

    TaudioTagList& list_;
    const TfileNameIndex* index_;
    TvisitedFolders visited_;
    // Null while the caches are written inline.
    std::unique_ptr<TfolderCacheWriter> writer_;
};

bool TaudioTagList::IsCacheCurrent(const std::string& cacheFile, std::uint32_t& fileCount) const
{
    const FolderListing listing = ListFolder(FolderOf(cacheFile), false);
    fileCount = static_cast<std::uint32_t>(listing.files.size());
    return IsCurrent(CacheTime(platform::EntryInfo(cacheFile)), listing.files);
}

void TaudioTagList::ScanFolder(const std::string& folder, bool append, const TfileNameIndex* index,
                               bool force)
{
    TfolderScan(*this, index).Folder(folder, append, force);
}

void TaudioTagList::ScanTree(const std::string& folder, bool append, const TfileNameIndex* index)
{
    Bracketed(*this, [&] {
        if (!append)
            Clear();
        TfolderScan scan(*this, index);
        scan.Tree(folder);
        scan.Finish();
    });
}

void TaudioTagList::ScanFolderList(const TStrings& folders, bool append, const TfileNameIndex* index)
{
    Bracketed(*this, [&] {
        if (!append)
            Clear();
        std::vector<std::string> lines;
        lines.reserve(static_cast<std::size_t>(folders.Count()));
        for (int i = 0; i < folders.Count(); ++i)
            lines.push_back(folders[i]);
        // Shared by the whole list: a folder listed twice, or inside another listed one, adds its songs once.
        TfolderScan scan(*this, index);
        for (const std::string& folder : lines)
            scan.Tree(folder);
        scan.Finish();
    });
}
