// Folder scans of TaudioTagList: the per-folder cache, the file-by-file read and the tree walk.
#include "core/songs/audiotaglist.h"

#include "platform/filesystem.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

const char* const kScanningFolder = "Scanning Folder...";

// One "/" between folder and name; a folder that already ends in "/" (a root) gets none more.
std::string JoinPath(const std::string& folder, std::string_view name)
{
    std::string out = folder;
    if (out.empty() || out.back() != '/')
        out += '/';
    out += name;
    return out;
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

// The currency test. entries, when given, receives the files counted, so that a scan reads its folder once
// and its progress total is exactly the number of files it offers to the plug-ins.
bool CurrencyTest(const std::string& cacheFile, std::uint32_t& fileCount,
                  std::vector<platform::TFolderEntry>* entries)
{
    fileCount = 0;
    const std::optional<platform::TFolderEntry> cache = platform::EntryInfo(cacheFile);
    bool current = cache && !cache->IsFolder() && !cache->IsSystem();
    const TDateTime cacheTime = current ? cache->Time : 0;
    platform::ForEachEntry(FolderOf(cacheFile), "*.*", platform::faReadOnly,
                           [&](const platform::TFolderEntry& entry) {
                               ++fileCount;
                               if (current && entry.Time > cacheTime)
                                   current = false;
                               if (entries)
                                   entries->push_back(entry);
                               return true;
                           });
    return current;
}

struct FolderId
{
    std::uint64_t device;
    std::uint64_t inode;
    bool operator==(const FolderId&) const = default;
};

struct FolderIdHash
{
    std::size_t operator()(const FolderId& id) const noexcept
    {
        return std::hash<std::uint64_t>()(id.inode * 0x9E3779B97F4A7C15ull ^ id.device);
    }
};

// Folders scanned by one scan: links may lead into a folder twice, or in a circle.
using TvisitedFolders = std::unordered_set<FolderId, FolderIdHash>;

// Runs work inside an update bracket of list that closes also when work throws.
template <class F>
void Bracketed(TaudioTagList& list, F&& work)
{
    list.BeginUpdate();
    try {
        work();
    } catch (...) {
        list.EndUpdate();
        throw;
    }
    list.EndUpdate();
}

// Scans folder, already marked as visited, and the folders below it.
void WalkFolder(TaudioTagList& list, const std::string& folder, const TfileNameIndex* index,
                TvisitedFolders& visited)
{
    list.ScanFolder(folder, true, index, false);
    if (folder.empty())
        return;
    std::string base = folder;
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    // The subfolders are listed first and walked after: no folder stays open during the walk below it.
    std::vector<std::pair<std::string, FolderId>> subfolders;
    platform::ForEachEntry(base.empty() ? std::string("/") : base, "*.*", platform::faDirectory,
                           [&](const platform::TFolderEntry& entry) {
                               if (entry.IsFolder())
                                   subfolders.emplace_back(entry.Name, FolderId{entry.Device, entry.Inode});
                               return true;
                           });
    for (const auto& [name, id] : subfolders)
        if (visited.insert(id).second)
            WalkFolder(list, base + "/" + name, index, visited);
}

void WalkTree(TaudioTagList& list, const std::string& folder, const TfileNameIndex* index,
              TvisitedFolders& visited)
{
    if (const auto self = platform::EntryInfo(folder); self && self->IsFolder())
        if (!visited.insert({self->Device, self->Inode}).second)
            return;
    WalkFolder(list, folder, index, visited);
}

} // namespace

bool TaudioTagList::IsCacheCurrent(const std::string& cacheFile, std::uint32_t& fileCount) const
{
    return CurrencyTest(cacheFile, fileCount, nullptr);
}

void TaudioTagList::ScanFolder(const std::string& folder, bool append, const TfileNameIndex* index,
                               bool force)
{
    BeginUpdate();
    // Not owning: whatever it made and did not hand over is freed with it.
    TaudioTagList scratch;
    // Never closed: the scratch list has no listeners, and a change step per file (play order refill)
    // would make a large folder quadratic.
    scratch.BeginUpdate();
    std::exception_ptr failure;
    try {
        DoListProcessStart(kScanningFolder);
        scratch.OnListProcess = OnListProcess;
        if (!append)
            Clear();
        const std::string cacheFile = JoinPath(folder, DataFileName());
        DoDirProcess(folder);
        if (!folder.empty()) {
            std::vector<platform::TFolderEntry> entries;
            std::uint32_t total = 0;
            const bool current = CurrencyTest(cacheFile, total, &entries);
            bool fromCache = false;
            bool cacheChanged = false;
            if (current && saveDataFiles_ && !force) {
                if (scratch.LoadFromFile(cacheFile, false)) {
                    fromCache = true;
                    std::unordered_set<std::string_view> present;
                    present.reserve(entries.size());
                    for (const platform::TFolderEntry& entry : entries)
                        present.insert(entry.Name);
                    // The songs follow a folder that was moved or renamed; files deleted since go.
                    std::vector<TaudioTag*> kept;
                    kept.reserve(scratch.items_.size());
                    for (TaudioTag* song : scratch.items_) {
                        std::string name = JoinPath(folder, NameOnly(song->Filename()));
                        if (name != song->Filename()) {
                            song->SetFilename(std::move(name));
                            cacheChanged = true;
                        }
                        // The folder was just listed: a name among its files exists, without a stat.
                        if (present.count(NameOnly(song->Filename())) != 0)
                            kept.push_back(song);
                        else
                            cacheChanged = true;
                    }
                    scratch.items_.swap(kept);
                } else {
                    scratch.items_.clear();
                }
            }
            if (!fromCache) {
                std::uint32_t count = 0;
                for (const platform::TFolderEntry& entry : entries) {
                    ++count;
                    const std::string name = JoinPath(folder, entry.Name);
                    TaudioTag* known = nullptr;
                    if (index) {
                        const int at = index->IndexOf(name);
                        if (at >= 0)
                            known = index->Objects(at);
                    }
                    if (known) {
                        if (entry.Time != known->ModDate()) {
                            known->ReadTag();
                            DoTagFound(true, known);
                        }
                        DoListProcess(count, total, known);
                    } else {
                        TaudioTag* song = scratch.AddFile(name);
                        DoListProcess(count, total, song);
                        if (song)
                            DoTagFound(false, song);
                    }
                }
            }
            // A cache loaded unchanged is not written again: the same bytes, and its time keeps it current.
            if (saveDataFiles_ && scratch.GetCount() > 0 && (!fromCache || cacheChanged))
                scratch.SaveToFile(cacheFile);
        }
    } catch (...) {
        failure = std::current_exception();
    }

    // The scratch list hands the songs it made over to this list, which answers for them from here on
    // (Max and the mask fill apply through Add). This runs after a failure too: nothing read is lost.
    std::vector<TaudioTag*> found;
    found.swap(scratch.items_);
    std::vector<std::unique_ptr<TaudioTag>> handed;
    handed.reserve(found.size());
    std::vector<TaudioTag*> sorted = found;
    std::sort(sorted.begin(), sorted.end());
    std::erase_if(scratch.created_, [&sorted](TaudioTag* song) {
        return std::binary_search(sorted.begin(), sorted.end(), song);
    });
    for (TaudioTag* song : found)
        handed.emplace_back(song);
    try {
        for (std::unique_ptr<TaudioTag>& song : handed)
            AddCreated(std::move(song));
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }

    EndUpdate();
    DoListProcessFinished();
    if (failure)
        std::rethrow_exception(failure);
}

void TaudioTagList::ScanTree(const std::string& folder, bool append, const TfileNameIndex* index)
{
    Bracketed(*this, [&] {
        if (!append)
            Clear();
        TvisitedFolders visited;
        WalkTree(*this, folder, index, visited);
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
        TvisitedFolders visited;
        for (const std::string& folder : lines)
            WalkTree(*this, folder, index, visited);
    });
}
