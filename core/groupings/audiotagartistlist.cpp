#include "core/groupings/audiotagartistlist.h"

#include "core/songs/sharedtext.h"
#include "core/util/orvanexutils.h"
#include "platform/atomicfile.h"
#include "platform/textcompare.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <unordered_map>
#include <unordered_set>

namespace {

// The file name with its extension, without the folder.
// "John Smith Band" -> "Smith Band, John"; a name without a blank stays as it is.
std::string LastNameFirst(const std::string& name)
{
    const std::size_t blank = name.find(' ');
    if (blank == std::string::npos)
        return name;
    return name.substr(blank + 1) + ", " + name.substr(0, blank);
}

// The name of songs without an artist: one lasting text, so its address is its own for good.
const std::string& NotTaggedName()
{
    static const std::string name = kNotTaggedArtist;
    return name;
}

struct StringHash
{
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

} // namespace

// Lists by the identity of a text (an address or a letter): an open table of slots at most half full.
class TaudioTagArtistList::TtextTable
{
public:
    TaudioTagList* Find(std::uintptr_t text) const
    {
        if (slots_.empty())
            return nullptr;
        for (std::size_t at = Home(text);; at = (at + 1) & (slots_.size() - 1)) {
            const Slot& slot = slots_[at];
            if (!slot.list)
                return nullptr;
            if (slot.text == text)
                return slot.list;
        }
    }
    // The text (not in the table yet) is a letter, the lasting "[Not Tagged]" or the address of name's shared
    // copy, which the table then holds, so that no other name takes that address while the table knows it;
    // any other text is left out.
    void Add(std::uintptr_t text, TaudioTagList* list, const std::string& name)
    {
        if (text > 0xFF && &name != &NotTaggedName()) {
            TsharedText held(name);
            if (reinterpret_cast<std::uintptr_t>(&held.Get()) != text)
                return;
            held_.push_back(std::move(held));
        }
        if ((used_ + 1) * 2 > slots_.size())
            Grow();
        Place(Slot{text, list});
        ++used_;
    }
    void Clear()
    {
        std::fill(slots_.begin(), slots_.end(), Slot{});
        used_ = 0;
        held_.clear();
    }

private:
    struct Slot
    {
        std::uintptr_t text = 0;
        TaudioTagList* list = nullptr;
    };
    std::size_t Home(std::uintptr_t text) const
    {
        const std::uint64_t mixed = static_cast<std::uint64_t>(text) * 0x9E3779B97F4A7C15ULL;
        return static_cast<std::size_t>(mixed ^ (mixed >> 29)) & (slots_.size() - 1);
    }
    void Place(const Slot& slot)
    {
        std::size_t at = Home(slot.text);
        while (slots_[at].list)
            at = (at + 1) & (slots_.size() - 1);
        slots_[at] = slot;
    }
    void Grow()
    {
        std::vector<Slot> old(slots_.empty() ? 64 : slots_.size() * 2);
        old.swap(slots_);
        for (const Slot& slot : old)
            if (slot.list)
                Place(slot);
    }

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
    std::vector<TsharedText> held_;
};

TaudioTagArtistList::TaudioTagArtistList()
{
    mappings_.SetSorted(true);
    mappings_.SetDuplicates(TDuplicates::dupIgnore);
    mappings_.OnChange = [this](TStrings*) { MappingsChanged(); };
}

TaudioTagArtistList::~TaudioTagArtistList()
{
    mappings_.OnChange = nullptr;
}

void TaudioTagArtistList::SetMappingListFile(std::string path)
{
    mappingListFile_ = std::move(path);
    // One change notification either way, so the name index follows the file.
    mappings_.BeginUpdate();
    mappings_.Clear();
    if (!mappingListFile_.empty() && FileExistsNoError(mappingListFile_)) {
        std::ifstream in(mappingListFile_, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
            text.erase(0, 3);
        mappings_.SetText(text);
    }
    mappings_.EndUpdate();
}

void TaudioTagArtistList::SaveMappings() const
{
    if (mappingListFile_.empty())
        return;
    try {
        platform::WriteFileAtomically(mappingListFile_, mappings_.Text("\n"));
    } catch (...) {
        // A read-only or missing folder leaves the file as it was.
    }
}

void TaudioTagArtistList::AddTag(TaudioTag* tag)
{
    if (!tag)
        return;
    const std::string* name = &tag->Artist();
    if (name->empty()) {
        name = &NotTaggedName();
        if (tag->Title().empty())
            tag->SetTitle(std::string(tag->LeafName()));
    }
    std::string letter;
    const std::string* key = name;
    if (isAlphaList_) {
        if (tag->Title().empty())
            return;
        char c = tag->Title()[0];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
        letter.assign(1, (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ? c : '~');
        key = &letter;
    }
    // A song's artist is its shared copy of the name: one address for every song naming it alike.
    const std::uintptr_t text =
        isAlphaList_ ? static_cast<unsigned char>(letter[0]) : reinterpret_cast<std::uintptr_t>(name);
    TaudioTagList* found = nullptr;
    if (last_ && lastGeneration_ == Generation() && lastKey_ == *key)
        found = last_;
    else
        found = FindFilling(text, *key);
    if (found) {
        found->Add(tag);
    } else {
        auto artist = std::make_unique<TaudioTagArtist>();
        artist->BeginUpdate(); // closed by BuildIndex
        artist->Add(tag);
        artist->SetName(*key);
        found = artist.get();
        const bool tableCurrent = byText_ && byTextGeneration_ == Generation();
        AddCreatedGrouped(std::move(artist));
        if (tableCurrent) {
            byText_->Add(text, found, *key);
            byTextGeneration_ = Generation();
        }
    }
    last_ = found;
    lastKey_ = *key;
    lastGeneration_ = Generation();
}

void TaudioTagArtistList::LookAhead(const TaudioTag* tag, int step) const
{
    // The letters of the alphabetical list are few and at hand.
    if (!tag || step >= kLookAheadSteps || isAlphaList_ || !byText_ || byTextGeneration_ != Generation())
        return;
    const std::string* name = &tag->Artist();
    if (name->empty())
        name = &NotTaggedName();
    const TaudioTagList* known = byText_->Find(reinterpret_cast<std::uintptr_t>(name));
    if (!known)
        return;
    if (step == 0) {
        // The songs and the numbers and switches Add reads.
        __builtin_prefetch(known);
        __builtin_prefetch(reinterpret_cast<const char*>(known) + 64);
    } else {
        const std::vector<TaudioTag*>& songs = known->Items();
        __builtin_prefetch(songs.data() + songs.size(), 1);
    }
}

TaudioTagList* TaudioTagArtistList::FindFilling(std::uintptr_t text, const std::string& key)
{
    if (UpdateCount() == 0) {
        byText_.reset();
        return Find(key);
    }
    if (!byText_)
        byText_ = std::make_unique<TtextTable>();
    if (byTextGeneration_ != Generation()) {
        byText_->Clear();
        byTextGeneration_ = Generation();
    }
    // The list found for the same text with the set unchanged since.
    if (TaudioTagList* known = byText_->Find(text))
        return known;
    TaudioTagList* found = Find(key);
    if (found)
        byText_->Add(text, found, key);
    return found;
}

void TaudioTagArtistList::AssignAlbums(const TaudioTagAlbumList& albums)
{
    BeginUpdate();
    const auto special = [this](const char* name) {
        if (Find(name))
            return;
        auto artist = std::make_unique<TaudioTagArtist>();
        artist->BeginUpdate(); // closed by BuildIndex
        artist->SetName(name);
        InsertCreated(std::move(artist));
    };
    if (useCompilations_)
        special(kCompilationsArtist);
    if (useNoName_)
        special(kNotTaggedArtist);

    // Each artist's album set notifies once, when all its albums are in.
    std::vector<TaudioTagArtist*> artists;
    artists.reserve(static_cast<std::size_t>(GetCount()));
    ForEachMember([&artists](TaudioTagList* list) {
        if (auto* artist = dynamic_cast<TaudioTagArtist*>(list)) {
            artist->Albums().BeginUpdate();
            artists.push_back(artist);
        }
    });
    for (int i = 0; i < albums.GetCount(); ++i) {
        TaudioTagAlbum* album = albums.GetAlbum(i);
        if (!album || album->AlbumArtist().empty())
            continue;
        auto* artist = dynamic_cast<TaudioTagArtist*>(Find(album->AlbumArtist()));
        // Run again, it must not give an artist the same album twice.
        if (artist && !artist->Albums().Contains(album))
            artist->Albums().AddGrouped(album);
    }
    for (TaudioTagArtist* artist : artists)
        artist->Albums().EndUpdate();
    EndUpdate();
}

void TaudioTagArtistList::BuildIndex()
{
    nameIndex_.clear();

    // Alias lines by case-folded name; the first line of a name wins, as a lookup by name finds it.
    std::unordered_map<std::string, std::string, StringHash, std::equal_to<>> aliases;
    for (int i = 0; i < mappings_.Count(); ++i) {
        const std::string& line = mappings_[i];
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos || eq == 0)
            continue;
        aliases.emplace(platform::FoldKey(std::string_view(line).substr(0, eq)), line.substr(eq + 1));
    }

    struct Keyed
    {
        std::string key;
        IndexEntry entry;
    };
    std::vector<Keyed> entries;
    std::unordered_set<std::string, StringHash, std::equal_to<>> seen;
    entries.reserve(static_cast<std::size_t>(GetCount()) * 2);
    seen.reserve(static_cast<std::size_t>(GetCount()) * 2);
    const auto add = [&](std::string name, TaudioTagArtist* artist) {
        std::string key = platform::FoldKey(name);
        if (!seen.insert(key).second)
            return; // the first artist keeps a shared name or alias
        entries.push_back(Keyed{std::move(key), IndexEntry{std::move(name), artist}});
    };

    for (int i = 0; i < GetCount(); ++i) {
        TaudioTagList* list = GetItem(i);
        list->EndUpdate();
        list->ShrinkToFit();
        auto* artist = dynamic_cast<TaudioTagArtist*>(list);
        if (!artist)
            continue;
        const std::string& name = artist->Name();
        add(name, artist);
        if (name.compare(0, 4, "The ") == 0 || name.compare(0, 4, "the ") == 0) {
            add(name.substr(4) + ", The", artist);
        } else if (!aliases.empty()) {
            platform::FoldKey(name, key_);
            const auto it = aliases.find(std::string_view(key_));
            if (it != aliases.end())
                add(it->second.empty() ? LastNameFirst(name) : it->second, artist);
        }
    }
    // In the locale's order; names are unique by their folded keys, so no two rank equal.
    std::vector<std::string_view> names;
    names.reserve(entries.size());
    for (const Keyed& k : entries)
        names.push_back(k.entry.name);
    const std::vector<std::uint32_t> ranks = platform::TextOrderRanks(names);
    std::vector<std::size_t> order(entries.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&ranks](std::size_t a, std::size_t b) { return ranks[a] < ranks[b]; });
    nameIndex_.reserve(entries.size());
    for (const std::size_t i : order)
        nameIndex_.push_back(std::move(entries[i].entry));
}

TaudioTagArtist* TaudioTagArtistList::GetArtist(int i) const
{
    return dynamic_cast<TaudioTagArtist*>(GetItem(i));
}

TaudioTagArtist* TaudioTagArtistList::FindArtist(std::string_view name) const
{
    return dynamic_cast<TaudioTagArtist*>(Find(name));
}

void TaudioTagArtistList::GetIndexNames(TStringList<TaudioTagArtist>& strings) const
{
    strings.BeginUpdate();
    strings.Clear();
    for (const IndexEntry& e : nameIndex_)
        strings.AddObject(e.name, e.artist);
    strings.EndUpdate();
}

void TaudioTagArtistList::Search(std::string_view text, TStringList<TaudioTag>& strings) const
{
    if (text.empty())
        return;
    const std::string wanted = platform::UpperCase(text);
    TStringList<TaudioTag> lines;
    strings.BeginUpdate();
    // A sorted list is filled unsorted and sorted once: inserting each match in order is quadratic.
    const bool sorted = strings.Sorted();
    strings.SetSorted(false);
    for (int i = 0; i < GetCount(); ++i) {
        const TaudioTagList* artist = GetItem(i);
        if (platform::UpperCase(artist->Title()).find(wanted) == std::string::npos)
            continue;
        artist->FormatStrings(lines, tdfArtistTitle, false);
        for (const auto& line : lines)
            strings.AddObject(line.text, line.object);
    }
    if (sorted)
        strings.SortUnique();
    strings.EndUpdate();
}

void TaudioTagArtistList::Clear()
{
    nameIndex_.clear();
    byText_.reset();
    TaudioTagListList::Clear();
}

void TaudioTagArtistList::DoChange()
{
    if (UpdateCount() == 0) {
        byText_.reset();
        TaudioTagListList::DoChange();
    }
}

void TaudioTagArtistList::MappingsChanged()
{
    if (UpdateCount() == 0)
        BuildIndex();
}
