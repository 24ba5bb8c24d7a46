#include "core/songs/audiotaglist.h"

#include "core/plugins/taggerloader.h"
#include "core/songs/audiotagstream.h"
#include "core/util/orvanexutils.h"
#include "platform/atomicfile.h"
#include "platform/filesystem.h"
#include "platform/scopeguard.h"
#include "platform/textcompare.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <unordered_set>

namespace {

const char kListMagic[4] = {'O', 'A', 'T', 'L'};
// The smallest component stream of a song: signature, class name, empty name and the two end bytes.
constexpr std::uint64_t kMinSongStream = 4 + 10 + 1 + 2;

std::string ReadWholeFile(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// At most limit bytes of text, not cutting a UTF-8 sequence in two.
std::string_view CutText(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    std::size_t n = limit;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    return text.substr(0, n);
}

void WriteHeaderText(TstreamWriter& s, std::string_view text)
{
    const std::string_view cut = CutText(text, TaudioTagList::kMaxHeaderText);
    s.WriteInt32(static_cast<std::int32_t>(cut.size()));
    s.WriteBytes(cut);
}

std::string ReadHeaderText(TstreamReader& s)
{
    const std::int32_t length = s.ReadInt32();
    if (length < 0 || length > TaudioTagList::kMaxHeaderText)
        throw EReadError("Invalid text length in song list");
    return s.ReadString(static_cast<std::size_t>(length));
}

std::string Format3(std::uint32_t n)
{
    char text[16];
    std::snprintf(text, sizeof text, "%3.3u : ", n);
    return text;
}

std::string ExtInf(std::uint32_t seconds, std::string_view caption)
{
    return "#EXTINF:" + std::to_string(seconds) + "," + std::string(caption);
}

} // namespace

std::string ApplyDriveRoot(const std::string& fileName, std::string_view driveRoot)
{
    if (driveRoot.empty() || fileName.empty())
        return fileName;
    if (driveRoot.size() == 1 || (driveRoot.size() == 2 && driveRoot[1] == ':')) {
        std::string out = fileName;
        out[0] = driveRoot[0];
        return out;
    }
    std::string rest;
    const auto isLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    if (fileName.size() >= 2 && isLetter(fileName[0]) && fileName[1] == ':') {
        rest = fileName.substr(2);
        std::replace(rest.begin(), rest.end(), '\\', '/');
    } else if (fileName[0] == '/') {
        int depth = 0;
        for (std::size_t i = 0; i < driveRoot.size(); ++i)
            if (driveRoot[i] != '/' && (i == 0 || driveRoot[i - 1] == '/'))
                ++depth;
        // Drop that many leading folders, never the file's own name.
        std::size_t pos = 0;
        for (int k = 0; k < depth; ++k) {
            while (pos < fileName.size() && fileName[pos] == '/')
                ++pos;
            const auto next = fileName.find('/', pos);
            if (next == std::string::npos)
                break;
            pos = next;
        }
        rest = fileName.substr(pos);
    } else {
        return fileName;
    }
    const std::size_t start = rest.find_first_not_of('/');
    std::string out(driveRoot);
    if (out.back() != '/')
        out += '/';
    if (start != std::string::npos)
        out.append(rest, start, std::string::npos);
    return out;
}

TaudioTagList::TaudioTagList() = default;

const TaudioTagList::ScanTexts& TaudioTagList::Texts() const
{
    static const ScanTexts defaults;
    return scanTexts_ ? *scanTexts_ : defaults;
}

TaudioTagList::ScanTexts& TaudioTagList::OwnTexts()
{
    if (!scanTexts_)
        scanTexts_ = std::make_unique<ScanTexts>();
    return *scanTexts_;
}

TaudioTagList::~TaudioTagList()
{
    FreeAll(ownsObjects_);
}

void TaudioTagList::FreeAll(bool itemsToo)
{
    std::vector<TaudioTag*> doomed;
    if (created_)
        doomed.swap(*created_);
    created_.reset();
    if (itemsToo)
        doomed.insert(doomed.end(), items_.begin(), items_.end());
    // A song may sit in the list twice; it is freed once.
    std::sort(doomed.begin(), doomed.end());
    doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
    for (TaudioTag* song : doomed)
        delete song;
}

void TaudioTagList::Release(TaudioTag* song)
{
    if (!ownsObjects_ || std::find(items_.begin(), items_.end(), song) != items_.end())
        return;
    if (random_)
        random_->Forget(song);
    ForgetCreated(song);
    const std::unique_ptr<TaudioTag> doomed(song); // freed even when a handler throws
    DoFreeingSongs();
}

void TaudioTagList::ReleaseAll(std::vector<TaudioTag*> songs)
{
    if (!ownsObjects_ || songs.empty())
        return;
    // One pass over each list: releasing song by song would search them all once per song.
    std::sort(songs.begin(), songs.end());
    songs.erase(std::unique(songs.begin(), songs.end()), songs.end());
    std::vector<TaudioTag*> held = items_;
    std::sort(held.begin(), held.end());
    std::erase_if(songs,
                  [&held](TaudioTag* song) { return std::binary_search(held.begin(), held.end(), song); });
    const auto doomed = [&songs](TaudioTag* song) {
        return std::binary_search(songs.begin(), songs.end(), song);
    };
    if (random_)
        random_->ForgetIf(doomed);
    if (created_)
        std::erase_if(*created_, doomed);
    if (songs.empty())
        return;
    const platform::TScopeExit free([&songs] {
        for (TaudioTag* song : songs)
            delete song;
    });
    DoFreeingSongs();
}

void TaudioTagList::SetActive(bool value)
{
    active_ = value;
    if (value)
        Activate();
    if (OnActiveChanged)
        OnActiveChanged(this);
}

void TaudioTagList::Activate()
{
    active_ = true;
    if (Has(playMode_, lmResetOnActivate))
        position_ = 0;
}

void TaudioTagList::SetPlayMode(TaudioTagListMode mode)
{
    playMode_ = mode;
    if (OnModeChanged)
        OnModeChanged(this);
}

void TaudioTagList::SetLoop(bool value)
{
    SetPlayMode(value ? With(playMode_, lmLoop) : Without(playMode_, lmLoop));
}

void TaudioTagList::SetRandom(bool value)
{
    SetPlayMode(value ? With(playMode_, lmRandom) : Without(playMode_, lmRandom));
}

void TaudioTagList::SetResetOnActivate(bool value)
{
    SetPlayMode(value ? With(playMode_, lmResetOnActivate) : Without(playMode_, lmResetOnActivate));
}

void TaudioTagList::SetSorted(bool value)
{
    sorted_ = value;
    if (value)
        Sort();
}

void TaudioTagList::SetSortOrder(TaudioTagSortOrder value)
{
    if (value == sortOrder_)
        return;
    sortOrder_ = value;
    Sort();
}

void TaudioTagList::SetSortType(TaudioTagSortType value)
{
    if (value == sortType_)
        return;
    sortType_ = value;
    if (sorted_)
        Sort();
}

void TaudioTagList::DoChange()
{
    if (OnChange)
        OnChange(this);
}

void TaudioTagList::Changed()
{
    if (updateCount_ == 0) {
        // Sorting here is part of this one step: listeners hear of the change once.
        if (sorted_ && !justSorted_)
            SortItems(sortType_);
        random_.reset();
        randomStale_ = true;
        position_ = 0;
        DoChange();
        if (maxExceeded_)
            DoMaxExceeded();
    }
    justSorted_ = false;
}

void TaudioTagList::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0)
        Changed();
}

TaudioTag* TaudioTagList::AddFile(const std::string& fileName)
{
    std::unique_ptr<TaudioTag> song = ReadSongFile(fileName, GetFileDateTime(fileName));
    return song ? AddCreated(std::move(song)) : nullptr;
}

bool TaudioTagList::Add(TaudioTag* song)
{
    if (!song)
        return false;
    if (max_ > 0 && GetCount() >= max_) {
        maxExceeded_ = true;
        Changed();
        return false;
    }
    if (song->Title().empty() || song->Artist().empty()) {
        if (song->MediaType() == 0 && useAudioFileMask_)
            ApplyFileNameMask(*song, AudioFileMask(), albumFromParentFolder_, artistFromParentFolder_);
        else if (song->MediaType() == 1 && useVideoFileMask_)
            ApplyFileNameMask(*song, VideoFileMask(), albumFromParentFolder_, artistFromParentFolder_);
    }
    items_.push_back(song);
    Changed();
    return true;
}

TaudioTag* TaudioTagList::AddCreated(std::unique_ptr<TaudioTag> song)
{
    // The list answers for the song before Add runs, so a throwing change handler cannot strand it.
    TaudioTag* raw = song.release();
    if (!created_)
        created_ = std::make_unique<std::vector<TaudioTag*>>();
    created_->push_back(raw);
    const bool accepted = Add(raw);
    if (!accepted) {
        ForgetCreated(raw);
        delete raw;
        return nullptr;
    }
    if (ownsObjects_)
        ForgetCreated(raw);
    return raw;
}

bool TaudioTagList::ForgetCreated(TaudioTag* song)
{
    if (!created_)
        return false;
    const auto mine = std::find(created_->rbegin(), created_->rend(), song);
    if (mine == created_->rend())
        return false;
    created_->erase(std::next(mine).base());
    return true;
}

bool TaudioTagList::AddCopy(const TaudioTag* song)
{
    if (!song)
        return false;
    return AddCreated(song->Clone()) != nullptr;
}

void TaudioTagList::Clear()
{
    if (ownsObjects_ && !items_.empty())
        DoFreeingSongs();
    if (ownsObjects_) {
        std::vector<TaudioTag*> doomed;
        doomed.swap(items_);
        std::sort(doomed.begin(), doomed.end());
        doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
        if (created_ && !created_->empty()) {
            std::vector<TaudioTag*> keep;
            for (TaudioTag* song : *created_)
                if (!std::binary_search(doomed.begin(), doomed.end(), song))
                    keep.push_back(song);
            created_->swap(keep);
        }
        random_.reset();
        for (TaudioTag* song : doomed)
            delete song;
    } else {
        items_.clear();
    }
    Changed();
}

void TaudioTagList::AddTags(const TStringList<TaudioTag>& strings, bool copy, bool append)
{
    platform::TUpdateGuard guard(*this);
    DoListProcessStart("Adding Files...");
    if (!append)
        Clear();
    const auto count = static_cast<std::uint32_t>(strings.Count());
    for (int i = 0; i < strings.Count(); ++i) {
        TaudioTag* song = strings.Objects(i);
        if (!song)
            continue;
        if (copy)
            AddCopy(song);
        else
            Add(song);
        DoListProcess(static_cast<std::uint32_t>(i + 1), count, song);
    }
    guard.End();
    DoListProcessFinished();
}

void TaudioTagList::CopyFrom(const TaudioTagList& source, bool copyTags, bool append)
{
    platform::TUpdateGuard guard(*this);
    if (!append)
        Clear();
    // A copy of the links, so that copying a list into itself ends.
    const std::vector<TaudioTag*> songs = source.items_;
    for (TaudioTag* song : songs) {
        if (copyTags)
            AddCopy(song);
        else
            Add(song);
    }
    guard.End();
}

void TaudioTagList::Delete(int i)
{
    if (i < 0 || i >= GetCount())
        return;
    TaudioTag* song = items_[static_cast<std::size_t>(i)];
    items_.erase(items_.begin() + i);
    Release(song);
    Changed();
}

void TaudioTagList::Move(int from, int to)
{
    if (from < 0 || from >= GetCount() || to < 0 || to >= GetCount())
        return;
    const auto begin = items_.begin();
    if (from < to)
        std::rotate(begin + from, begin + from + 1, begin + to + 1);
    else
        std::rotate(begin + to, begin + from, begin + from + 1);
    Changed();
}

void TaudioTagList::MoveUp(int i)
{
    if (i > 0 && i < GetCount())
        Move(i, i - 1);
}

void TaudioTagList::MoveDown(int i)
{
    if (i >= 0 && i < GetCount() - 1)
        Move(i, i + 1);
}

void TaudioTagList::Shuffle()
{
    platform::TUpdateGuard guard(*this);
    std::vector<TaudioTag*> order;
    {
        TrandomPointerList shuffled;
        shuffled.Fill(items_);
        order.reserve(static_cast<std::size_t>(shuffled.GetCount()));
        for (int i = 0; i < shuffled.GetCount(); ++i)
            order.push_back(shuffled.GetItem(i));
    }
    items_.clear();
    for (TaudioTag* song : order)
        if (!Add(song))
            Release(song); // Max was lowered below the count: the song is out of the list now
    guard.End();
}

void TaudioTagList::RemoveMissing()
{
    platform::TUpdateGuard guard(*this);
    DoListProcessStart("Removing Missing Files...");
    // The walk reports each song at its position in the list as it shrinks; the list itself is compacted
    // once at the end, so the walk stays linear and handlers see a whole list.
    const std::vector<TaudioTag*> songs = items_;
    std::vector<char> missing(songs.size(), 0);
    std::uint32_t kept = 0;
    std::uint32_t removed = 0;
    for (std::size_t i = 0; i < songs.size(); ++i) {
        TaudioTag* song = songs[i];
        DoListProcess(kept, static_cast<std::uint32_t>(songs.size()) - removed, song);
        if (TagFileExists(song->Filename())) {
            ++kept;
        } else {
            missing[i] = 1;
            ++removed;
        }
    }
    if (removed > 0) {
        std::vector<TaudioTag*> gone;
        std::vector<TaudioTag*> left;
        left.reserve(kept);
        for (std::size_t i = 0; i < songs.size(); ++i)
            (missing[i] ? gone : left).push_back(songs[i]);
        items_.swap(left);
        ReleaseAll(std::move(gone));
        Changed();
    }
    guard.End();
    DoListProcessFinished();
}

TaudioTag* TaudioTagList::GetItem(int i) const
{
    if (i < 0 || i >= GetCount())
        return nullptr;
    return items_[static_cast<std::size_t>(i)];
}

int TaudioTagList::IndexOf(const TaudioTag* song) const
{
    const auto it = std::find(items_.begin(), items_.end(), song);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

std::uint32_t TaudioTagList::TotalDuration() const
{
    std::uint32_t total = 0;
    for (const TaudioTag* song : items_)
        total += song->Duration();
    return total;
}

int TaudioTagList::ArtistCount() const
{
    // Distinct by SameText's rule; no ordering needed.
    std::unordered_set<std::string> artists;
    std::string key;
    for (const TaudioTag* song : items_) {
        platform::FoldKey(song->Artist(), key);
        artists.insert(key);
    }
    return static_cast<int>(artists.size());
}

bool TaudioTagList::CheckAlbum(std::string& artist) const
{
    artist.clear();
    for (const TaudioTag* song : items_) {
        if (!platform::SameText(song->Album(), Title()))
            return false;
        if (artist.empty())
            artist = song->Artist();
        else if (artist != song->Artist())
            artist = "Compilation";
    }
    return true;
}

void TaudioTagList::SearchTitle(std::string_view text, TStringList<TaudioTag>& strings) const
{
    strings.BeginUpdate();
    strings.Clear();
    // Case folds as for the artists' names, every letter and not only ASCII's. A sorted list is filled
    // unsorted and sorted once: inserting each match in order is quadratic in the matches.
    const bool sorted = strings.Sorted();
    strings.SetSorted(false);
    const std::string wanted = platform::UpperCase(text);
    // The songs lie anywhere in memory, in no order the list knows: each is asked for a few songs ahead,
    // or the search waits for memory at nearly every song of a large library.
    constexpr std::size_t kAhead = 8;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (i + kAhead < items_.size())
            __builtin_prefetch(items_[i + kAhead]);
        TaudioTag* song = items_[i];
        if (platform::UpperCase(song->Title()).find(wanted) != std::string::npos)
            strings.AddObject(song->Title() + " - " + song->Artist(), song);
    }
    if (sorted)
        strings.SortUnique();
    strings.EndUpdate();
}

void TaudioTagList::FormatStrings(TStringList<TaudioTag>& strings, TtagDisplayFormat format,
                                  bool numbered) const
{
    strings.BeginUpdate();
    strings.Clear();
    for (std::size_t i = 0; i < items_.size(); ++i) {
        TaudioTag* song = items_[i];
        std::string line = FormatTagText(*song, format);
        if (numbered)
            line = Format3(static_cast<std::uint32_t>(i + 1)) + line;
        strings.AddObject(std::move(line), song);
    }
    strings.EndUpdate();
}

void TaudioTagList::SortItems(TaudioTagSortType sortType)
{
    SetTagSortOrder(sortOrder_);
    SortTags(items_, sortType);
}

void TaudioTagList::Sort()
{
    SortBy(sortType_);
}

void TaudioTagList::SortBy(TaudioTagSortType sortType)
{
    SortItems(sortType);
    justSorted_ = true;
    Changed();
}

void TaudioTagList::TakeSorted(std::vector<TaudioTag*> items)
{
    SetTagSortOrder(sortOrder_);
    items_ = std::move(items);
    justSorted_ = true;
    Changed();
}

void TaudioTagList::SaveToFile(const std::string& fileName) const
{
    TstreamWriter stream;
    SaveToStream(stream);
    platform::WriteFileAtomically(fileName, stream.Bytes());
}

void TaudioTagList::SaveToStream(TstreamWriter& s) const
{
    s.Reserve(s.Size() + 32 + Title().size() + Filename().size() + items_.size() * 256);
    s.WriteBuffer(kListMagic, 4);
    WriteHeaderText(s, Title());
    s.WriteByte(active_ ? 1 : 0);
    s.WriteByte(playMode_);
    WriteHeaderText(s, Filename());
    s.WriteInt32(static_cast<std::int32_t>(items_.size()));
    for (const TaudioTag* song : items_)
        WriteAudioTagComponent(s, *song);
}

bool TaudioTagList::LoadFromFile(const std::string& fileName, bool append, std::string_view driveRoot)
{
    platform::TUpdateGuard guard(*this);
    if (!append)
        Clear();
    bool result = false;
    if (FileExistsNoError(fileName)) {
        if (const std::unique_ptr<TstreamReader> stream = TstreamReader::OpenFile(fileName))
            result = LoadFromStream(*stream, driveRoot);
    }
    guard.End();
    return result;
}

bool TaudioTagList::LoadFromStream(TstreamReader& stream, std::string_view driveRoot)
{
    platform::TUpdateGuard guard(*this);
    DoListProcessStart("Loading...");
    bool result = false;
    // Songs are read a batch at a time with their names whole, then their folders are filed together
    // (see TaudioTag::SplitFilenames) and they are added in order.
    constexpr std::size_t kBatch = 64;
    std::vector<std::unique_ptr<TaudioTag>> batch;
    std::int32_t count = 0;
    std::int32_t added = 0;
    // The songs' shared texts are filed a batch at a time too.
    TsharedTextBatch texts;
    const auto addBatch = [&] {
        texts.File();
        std::array<TaudioTag*, kBatch> songs;
        std::size_t read = 0;
        for (const std::unique_ptr<TaudioTag>& song : batch)
            if (song)
                songs[read++] = song.get();
        TaudioTag::SplitFilenames(songs.data(), read);
        for (std::unique_ptr<TaudioTag>& song : batch) {
            if (!song)
                continue;
            TaudioTag* listed = AddCreated(std::move(song));
            DoListProcess(static_cast<std::uint32_t>(added++), static_cast<std::uint32_t>(count), listed);
        }
        batch.clear();
    };
    try {
        char magic[4];
        stream.ReadBuffer(magic, 4);
        if (std::memcmp(magic, kListMagic, 4) == 0) {
            SetTitle(ReadHeaderText(stream));
            SetActive(stream.ReadByte() != 0);
            playMode_ = stream.ReadByte();
            SetFilename(ReadHeaderText(stream));
            count = stream.ReadInt32();
            if (count < 0)
                throw EReadError("Invalid song count in song list");
            // Room for what the stream can hold at most, not for what a damaged count claims.
            items_.reserve(items_.size() +
                           static_cast<std::size_t>(std::min<std::uint64_t>(
                               static_cast<std::uint64_t>(count), stream.Remaining() / kMinSongStream)));
            batch.reserve(kBatch);
            for (std::int32_t k = 0; k < count; ++k) {
                {
                    const TwholeFilenames whole;
                    batch.push_back(ReadAudioTagComponent(stream));
                    TaudioTag& song = *batch.back();
                    if (!driveRoot.empty() && song.FilenameSize() != 0)
                        song.SetFilename(ApplyDriveRoot(song.Filename(), driveRoot));
                }
                if (batch.size() == kBatch)
                    addBatch();
            }
            addBatch();
            result = true;
        }
    } catch (const EReadError&) {
        result = false;
    } catch (const std::bad_alloc&) {
        result = false;
    }
    if (!batch.empty()) // the songs read before a damaged one are kept, as they always were
        addBatch();
    guard.End();
    DoListProcessFinished();
    return result;
}

void TaudioTagList::ExportM3U(const std::string& fileName, bool append, bool addDummy, bool extended,
                              std::string_view lineEnd)
{
    TStrings lines;
    if (append && FileExistsNoError(fileName))
        lines.SetText(ReadWholeFile(fileName));
    lines.BeginUpdate();
    if (extended) {
        if (lines.Count() == 0 || lines[0] != "#EXTM3U")
            lines.Insert(0, "#EXTM3U");
        if (addDummy) {
            lines.Insert(1, ExtInf(0, "Dummy Entry"));
            lines.Insert(2, "DoesNotExist");
        }
    }
    for (const TaudioTag* song : items_) {
        if (extended) {
            std::string caption = song->Artist();
            if (!song->Artist().empty() && !song->Title().empty())
                caption += " - ";
            caption += song->Title();
            lines.Add(ExtInf(song->Duration(), caption));
        }
        lines.Add(song->Filename());
    }
    lines.EndUpdate();
    platform::WriteFileAtomically(fileName, lines.Text(lineEnd));
    SetFilename(fileName);
}

TfileListReport TaudioTagList::LoadFileList(const std::string& fileName, bool append)
{
    if (!RegularFileExists(fileName))
        return TfileListReport{.read = false};
    const std::size_t slash = fileName.rfind('/');
    TStrings entries;
    ReadM3UEntries(ReadWholeFile(fileName),
                   slash == std::string::npos ? std::string() : fileName.substr(0, slash), entries);
    TfileListReport report = AddFileList(entries, append);
    SetFilename(fileName);
    return report;
}

TfileListReport TaudioTagList::AddFileList(const TStrings& strings, bool append)
{
    TfileListReport report;
    const bool announce = strings.Count() > 1;
    if (announce)
        DoListProcessStart("Adding Files...");
    platform::TUpdateGuard guard(*this);
    bool clearFirst = !append;
    const auto count = static_cast<std::uint32_t>(strings.Count());
    for (int i = 0; i < strings.Count(); ++i) {
        const std::string& name = strings[i];
        if (name.empty() || name.front() == '#')
            continue; // an M3U's header and information lines
        if (IsInternetAddress(name)) {
            ++report.addresses;
            continue;
        }
        if (!RegularFileExists(name)) {
            ++(FileExistsNoError(name) || platform::DirectoryExists(name) ? report.special : report.notFound);
            continue;
        }
        std::unique_ptr<TaudioTag> read = ReadSongFile(name, GetFileDateTime(name));
        if (read && clearFirst) {
            Clear();
            clearFirst = false;
        }
        TaudioTag* song = read ? AddCreated(std::move(read)) : nullptr;
        ++(song ? report.added : report.notSongs);
        DoListProcess(static_cast<std::uint32_t>(i + 1), count, song);
    }
    report.kept = clearFirst && GetCount() > 0;
    guard.End();
    if (announce)
        DoListProcessFinished();
    return report;
}

TrandomPointerList& TaudioTagList::PlayOrder() const
{
    if (!random_)
        random_ = std::make_unique<TrandomPointerList>();
    if (randomStale_) {
        randomStale_ = false;
        random_->Fill(items_);
    }
    return *random_;
}

TaudioTag* TaudioTagList::CurrentTag()
{
    if (!active_ || items_.empty())
        return nullptr;
    if (Has(playMode_, lmRandom)) {
        TrandomPointerList& order = PlayOrder();
        if (order.GetCount() == 0)
            order.Fill(items_);
        return order.GetItem(0);
    }
    if (position_ >= GetCount() && Has(playMode_, lmLoop))
        position_ = 0;
    return GetItem(position_);
}

TaudioTag* TaudioTagList::NextTag()
{
    if (!active_ || items_.empty())
        return nullptr;
    TaudioTag* song = CurrentTag();
    if (Has(playMode_, lmRandom))
        PlayOrder().Extract(0);
    else if (song)
        ++position_;
    return song;
}

void TaudioTagList::DoListProcessStart(const std::string& text)
{
    if (OnListProcessStart)
        OnListProcessStart(this, text);
}

void TaudioTagList::DoListProcess(std::uint32_t index, std::uint32_t count, TaudioTag* tag)
{
    if (OnListProcess && index % static_cast<std::uint32_t>(listProcessFactor_) == 0)
        OnListProcess(this, index, count, tag);
}

void TaudioTagList::DoListProcessFinished()
{
    if (OnListProcessFinished)
        OnListProcessFinished(this);
}

void TaudioTagList::DoDirProcess(const std::string& dir)
{
    if (OnDirProcess)
        OnDirProcess(this, dir);
}

void TaudioTagList::DoTagFound(bool modified, TaudioTag* tag)
{
    if (OnTagFound)
        OnTagFound(this, modified, tag);
}

void TaudioTagList::DoMaxExceeded()
{
    if (OnMaxExceeded)
        OnMaxExceeded(this);
}

void TaudioTagList::DoFreeingSongs()
{
    if (OnFreeingSongs)
        OnFreeingSongs(this);
}
