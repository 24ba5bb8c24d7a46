#include "core/songs/filenameindex.h"

#include "core/songs/audiotag.h"
#include "platform/bucketsort.h"
#include "platform/textcompare.h"

#include <algorithm>
#include <cstdint>

namespace {

// Eight key bytes from position at, in an order-keeping integer (missing bytes count as zero).
std::uint64_t Prefix(std::string_view key, std::size_t at)
{
    std::uint64_t value = 0;
    for (std::size_t k = 0; k < 8; ++k)
        value = (value << 8) | (at + k < key.size() ? static_cast<unsigned char>(key[at + k]) : 0u);
    return value;
}

// The folded keys of the folders met, by the address of their one shared text, in an open table at most
// half full.
class TfolderKeys
{
public:
    // A hint for KeyOf(folder) to come: its slot, then (a few songs later) its key.
    void AskSlot(const std::string& folder) const { __builtin_prefetch(&slots_[Home(&folder)]); }
    void AskKey(const std::string& folder) const
    {
        for (std::size_t at = Home(&folder); slots_[at].folder; at = (at + 1) & (slots_.size() - 1))
            if (slots_[at].folder == &folder) {
                __builtin_prefetch(keys_.data() + slots_[at].start);
                return;
            }
    }
    std::string_view KeyOf(const std::string& folder)
    {
        if (&folder != last_) {
            Slot* slot = &Find(&folder);
            if (!slot->folder) {
                if ((used_ + 1) * 2 > slots_.size()) {
                    Grow();
                    slot = &Find(&folder);
                }
                platform::FoldKey(folder, scratch_);
                *slot = Slot{&folder, keys_.size(), scratch_.size()};
                keys_ += scratch_;
                ++used_;
            }
            last_ = &folder;
            lastKey_ = *slot;
        }
        return std::string_view(keys_).substr(lastKey_.start, lastKey_.size);
    }

private:
    struct Slot
    {
        const std::string* folder = nullptr;
        std::size_t start = 0;
        std::size_t size = 0;
    };
    std::size_t Home(const std::string* folder) const
    {
        return (reinterpret_cast<std::uintptr_t>(folder) * 0x9E3779B97F4A7C15ull) >> (64 - bits_);
    }
    Slot& Find(const std::string* folder)
    {
        std::size_t at = Home(folder);
        while (slots_[at].folder && slots_[at].folder != folder)
            at = (at + 1) & (slots_.size() - 1);
        return slots_[at];
    }
    void Grow()
    {
        std::vector<Slot> old(slots_.size() * 2);
        old.swap(slots_);
        ++bits_;
        for (const Slot& slot : old)
            if (slot.folder)
                Find(slot.folder) = slot;
    }

    std::vector<Slot> slots_ = std::vector<Slot>(std::size_t{1} << 10);
    int bits_ = 10;
    std::size_t used_ = 0;
    std::string keys_;
    std::string scratch_;
    const std::string* last_ = nullptr;
    Slot lastKey_;
};

} // namespace

void TfileNameIndex::Rebuild(const std::vector<TaudioTag*>& songs)
{
    // Each name is folded once, into one buffer, for the sort; the sort compares the sixteen bytes after
    // the part every name shares (the music folder) as two numbers and reads the buffer only on a tie, so
    // a large library sorts on a compact array (an artist's folder name rarely ties). The keys live only
    // while sorting.
    struct Keyed
    {
        std::uint64_t prefix;
        std::uint64_t next;
        std::size_t song;
    };
    // Folding keeps to code points and a name splits after its last '/', so a name's key is its folder's
    // key then its own name's. A folder's key is folded once: its text is one shared copy, whose address
    // names it, so the folders met find their keys again without reading their texts, which a library in
    // shuffled order would otherwise fetch from far away for every song.
    std::string keys;
    {
        // Room for about all the keys at once, guessed from the first names (folding rarely changes a
        // name's size): a buffer grown by doubling copies and touches twice the memory.
        const std::size_t sample = std::min<std::size_t>(songs.size(), 256);
        std::size_t size = 0;
        for (std::size_t i = 0; i < sample; ++i)
            size += songs[i]->FilenameSize();
        if (sample > 0)
            keys.reserve(size / sample * songs.size() / 8 * 9 + 64);
    }
    std::vector<std::size_t> starts(songs.size() + 1);
    TfolderKeys folders;
    std::string key;
    // In a library in shuffled order nearly every song has another folder than the one before: its slot
    // and key are asked for a few songs ahead.
    constexpr std::size_t kSlotAhead = 16;
    constexpr std::size_t kKeyAhead = 8;
    for (std::size_t i = 0; i < songs.size(); ++i) {
        if (i + kSlotAhead < songs.size())
            folders.AskSlot(songs[i + kSlotAhead]->FolderName());
        if (i + kKeyAhead < songs.size())
            folders.AskKey(songs[i + kKeyAhead]->FolderName());
        const std::string_view folderKey = folders.KeyOf(songs[i]->FolderName());
        platform::FoldKey(songs[i]->LeafName(), key);
        starts[i] = keys.size();
        keys += folderKey;
        keys += key;
    }
    starts[songs.size()] = keys.size();
    const auto keyOf = [&](std::size_t i) {
        return std::string_view(keys).substr(starts[i], starts[i + 1] - starts[i]);
    };
    std::size_t shared = songs.empty() ? 0 : keyOf(0).size();
    for (std::size_t i = 1; i < songs.size() && shared > 0; ++i) {
        const std::string_view a = keyOf(0);
        const std::string_view b = keyOf(i);
        std::size_t n = 0;
        while (n < shared && n < b.size() && a[n] == b[n])
            ++n;
        shared = n;
    }
    std::vector<Keyed> order(songs.size());
    for (std::size_t i = 0; i < songs.size(); ++i)
        order[i] = Keyed{Prefix(keyOf(i), shared), Prefix(keyOf(i), shared + 8), i};
    const auto before = [&](const Keyed& a, const Keyed& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        if (a.next != b.next)
            return a.next < b.next;
        const int c = keyOf(a.song).compare(keyOf(b.song));
        return c < 0 || (c == 0 && a.song < b.song);
    };
    // A library loaded from its file or scanned folder by folder is mostly in name order already. Otherwise
    // the names sort on their sixteen bytes at depth, then each run that ties on them on the next sixteen,
    // and so on: the names of a run (one artist's songs) are read once each, not at every comparison.
    const auto byChunk = [](const Keyed& a, const Keyed& b) {
        return a.prefix != b.prefix ? a.prefix < b.prefix
               : a.next != b.next   ? a.next < b.next
                                    : a.song < b.song;
    };
    // Each run that ties on its chunks takes the next sixteen bytes of its names and sorts by them, until
    // no run ties or a run's names end there (then they sort whole). Breadth first: the names of all the
    // runs are read in one pass, each asked for a few songs ahead, as in a library in shuffled order they
    // lie anywhere in the buffer.
    struct Run
    {
        std::size_t begin;
        std::size_t end;
        bool longer;
    };
    const auto tiedRuns = [&order](std::size_t begin, std::size_t end, std::vector<Run>& out) {
        for (std::size_t run = begin, i = begin + 1; i <= end; ++i) {
            if (i == end || order[i].prefix != order[run].prefix || order[i].next != order[run].next) {
                if (i - run > 1)
                    out.push_back(Run{run, i, false});
                run = i;
            }
        }
    };
    const auto deepen = [&](std::vector<Run>& runs, std::size_t depth) {
        std::vector<std::size_t> at;
        for (const Run& run : runs)
            for (std::size_t i = run.begin; i < run.end; ++i)
                at.push_back(i);
        constexpr std::size_t kAhead = 8;
        std::size_t j = 0;
        for (Run& run : runs) {
            for (std::size_t i = run.begin; i < run.end; ++i, ++j) {
                if (j + 2 * kAhead < at.size())
                    __builtin_prefetch(&starts[order[at[j + 2 * kAhead]].song]);
                if (j + kAhead < at.size())
                    __builtin_prefetch(keys.data() + starts[order[at[j + kAhead]].song]);
                const std::string_view key = keyOf(order[i].song);
                run.longer = run.longer || key.size() > depth + 16;
                order[i].prefix = Prefix(key, depth + 16);
                order[i].next = Prefix(key, depth + 24);
            }
        }
        std::vector<Run> deeper;
        for (const Run& run : runs) {
            const auto first = order.begin() + static_cast<std::ptrdiff_t>(run.begin);
            const auto last = order.begin() + static_cast<std::ptrdiff_t>(run.end);
            if (!run.longer) {
                std::sort(first, last, before); // alike to their ends
                continue;
            }
            std::sort(first, last, byChunk);
            tiedRuns(run.begin, run.end, deeper);
        }
        runs.swap(deeper);
    };
    if (!std::is_sorted(order.begin(), order.end(), before)) {
        platform::SortByLeadingBits(order, byChunk);
        std::vector<Run> runs;
        tiedRuns(0, order.size(), runs);
        for (std::size_t depth = shared; !runs.empty(); depth += 16)
            deepen(runs, depth);
    }
    std::vector<TaudioTag*> sorted;
    sorted.reserve(order.size());
    // Neighbours whose leading bytes differ are different names without a look at the buffer.
    const auto same = [&](const Keyed& a, const Keyed& b) {
        return a.prefix == b.prefix && a.next == b.next && keyOf(a.song) == keyOf(b.song);
    };
    for (std::size_t i = 0; i < order.size(); ++i)
        if (i == 0 || !same(order[i], order[i - 1]))
            sorted.push_back(songs[order[i].song]);
    sorted.shrink_to_fit();
    songs_ = std::make_shared<const std::vector<TaudioTag*>>(std::move(sorted));
}

const std::vector<TaudioTag*>& TfileNameIndex::Songs() const
{
    static const std::vector<TaudioTag*> none;
    return songs_ ? *songs_ : none;
}

void TfileNameIndex::Clear()
{
    songs_.reset();
}

std::string TfileNameIndex::operator[](int i) const
{
    return Songs().at(static_cast<std::size_t>(i))->Filename();
}

TaudioTag* TfileNameIndex::Objects(int i) const
{
    return Songs().at(static_cast<std::size_t>(i));
}

int TfileNameIndex::IndexOf(std::string_view fileName) const
{
    // The name is folded once; each song met is folded in its two parts, as the index was sorted.
    const std::vector<TaudioTag*>& songs = Songs();
    const std::string name = platform::FoldKey(fileName);
    std::string folder;
    std::string leaf;
    const auto compare = [&](const TaudioTag* song) {
        platform::FoldKey(song->FolderName(), folder);
        platform::FoldKey(song->LeafName(), leaf);
        return CompareJoined(folder, leaf, name, {});
    };
    const auto it =
        std::lower_bound(songs.begin(), songs.end(), fileName,
                         [&](const TaudioTag* song, std::string_view) { return compare(song) < 0; });
    if (it == songs.end() || compare(*it) != 0)
        return -1;
    return static_cast<int>(it - songs.begin());
}

TaudioTag* TfileNameIndex::Find(std::string_view fileName) const
{
    const int i = IndexOf(fileName);
    return i < 0 ? nullptr : Songs()[static_cast<std::size_t>(i)];
}
