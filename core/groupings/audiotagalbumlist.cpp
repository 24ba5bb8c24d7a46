#include "core/groupings/audiotagalbumlist.h"

#include "platform/textcompare.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <string_view>
#include <vector>

// Albums by key (folded title, NUL, folder): an open table of slots at most half full, each with the key's
// hash and where its record is; the records (album, key size, key) in one buffer. Compact, so that a lookup
// touches a slot and the one record it points at.
class TaudioTagAlbumList::TfolderIndex
{
public:
    // The key of the song being filed, kept here so that the many sets that never fill this way (an
    // artist's albums) carry no buffer for it.
    std::string key;

    // An album's key: its folded title, NUL, its folder.
    static void MakeKey(std::string_view title, std::string_view folder, std::string& key)
    {
        platform::FoldKey(title, key);
        key.push_back('\0');
        key.append(folder);
    }
    static std::size_t Hash(std::string_view key) { return std::hash<std::string_view>{}(key); }

    TaudioTagList* Find(std::string_view key, std::size_t hash) const
    {
        if (slots_.empty())
            return nullptr;
        for (std::size_t at = hash & (slots_.size() - 1);; at = (at + 1) & (slots_.size() - 1)) {
            const Slot& slot = slots_[at];
            if (slot.record == 0)
                return nullptr;
            if (slot.hash != hash)
                continue;
            const char* record = records_.data() + (slot.record - 1);
            std::size_t size = 0;
            std::memcpy(&size, record + sizeof(TaudioTagList*), sizeof size);
            if (size == key.size() && std::memcmp(record + kHead, key.data(), size) == 0) {
                TaudioTagList* album = nullptr;
                std::memcpy(&album, record, sizeof album);
                return album;
            }
        }
    }
    TaudioTagList* Find(std::string_view key) const { return Find(key, Hash(key)); }

    // The album an earlier song of the same album and folder texts joined, found by the addresses of their
    // shared copies without reading either text (in a library in shuffled order every song's folder text
    // lies far away); nullptr when no such song was filed yet. Such songs make the same key, so this is the
    // album a lookup by key finds.
    TaudioTagList* Known(const TaudioTag& tag) const
    {
        if (known_.empty())
            return nullptr;
        const std::uintptr_t title = Address(tag.Album());
        const std::uintptr_t folder = Address(tag.FolderName());
        for (std::size_t at = KnownHome(title, folder);; at = (at + 1) & (known_.size() - 1)) {
            const KnownSlot& slot = known_[at];
            if (!slot.album)
                return nullptr;
            if (slot.title == title && slot.folder == folder)
                return slot.album;
        }
    }
    // Remembers the album the song (not known yet) joined. The table holds both texts, so no other text
    // takes either address while it lasts.
    void AddKnown(const TaudioTag& tag, TaudioTagList* album)
    {
        if ((knownUsed_ + 1) * 2 > known_.size())
            GrowKnown();
        held_.push_back(tag.SharedAlbum());
        held_.push_back(tag.Folder());
        PlaceKnown(KnownSlot{Address(tag.Album()), Address(tag.FolderName()), album});
        ++knownUsed_;
    }
    // The key (of that hash) must not be in the table yet.
    void Add(std::string_view key, std::size_t hash, TaudioTagList* album)
    {
        if ((used_ + 1) * 2 > slots_.size())
            Grow();
        const Slot slot{hash, records_.size() + 1};
        const std::size_t size = key.size();
        records_.append(reinterpret_cast<const char*>(&album), sizeof album);
        records_.append(reinterpret_cast<const char*>(&size), sizeof size);
        records_.append(key);
        Place(slot);
        ++used_;
    }

    // Hints for a lookup to come, each a step further once the one before has reached memory: the home slot
    // of a hash; the record of the first slot of that hash (answered as 1 + where it starts, 0 for none);
    // the album of such a record. A hint never changes what a lookup finds.
    void PrefetchSlot(std::size_t hash) const
    {
        if (!slots_.empty())
            __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
    }
    std::size_t PrefetchRecord(std::size_t hash) const
    {
        if (slots_.empty())
            return 0;
        for (std::size_t at = hash & (slots_.size() - 1);; at = (at + 1) & (slots_.size() - 1)) {
            const Slot& slot = slots_[at];
            if (slot.record == 0 || slot.hash == hash) {
                if (slot.record != 0)
                    __builtin_prefetch(records_.data() + (slot.record - 1));
                return slot.record;
            }
        }
    }
    TaudioTagList* AlbumAt(std::size_t record) const
    {
        if (record == 0 || record > records_.size())
            return nullptr;
        TaudioTagList* album = nullptr;
        std::memcpy(&album, records_.data() + (record - 1), sizeof album);
        return album;
    }

    // A song looked up ahead: the album its texts are known to join, else its key (in the keys kept for
    // it), hash and the record the hint found.
    struct Ahead
    {
        const TaudioTag* tag = nullptr;
        TaudioTagList* album = nullptr;
        bool keyed = false;
        std::size_t from = 0;
        std::size_t size = 0;
        std::size_t hash = 0;
        std::size_t record = 0;
    };
    // Takes the first step for a song; a song of the album and folder of the song looked ahead before it
    // mostly joins that song's album without a lookup (songs come folder by folder), so it is passed over
    // and looks its album up itself if it must.
    void Prepare(const TaudioTag& tag)
    {
        const bool follows =
            aheadLast_ && &aheadLast_->Album() == &tag.Album() && aheadLast_->SameFolder(tag);
        aheadLast_ = &tag;
        if (follows)
            return;
        // Filed songs leave; songs looked ahead and never filed are given up after a while.
        if (aheadTaken_ == ahead_.size() || ahead_.size() >= kMostAhead) {
            ahead_.clear();
            aheadKeys_.clear();
            aheadNext_.fill(0);
            aheadTaken_ = 0;
        }
        Ahead entry;
        entry.tag = &tag;
        ahead_.push_back(entry);
        if (!known_.empty())
            __builtin_prefetch(&known_[KnownHome(Address(tag.Album()), Address(tag.FolderName()))]);
    }
    // Takes a later step (1 to 3) for a song, if it was prepared: the album known for its texts, or else
    // its key's slot, record and album; then the album and the end of its songs.
    void Advance(const TaudioTag& tag, int step)
    {
        std::size_t& next = aheadNext_[static_cast<std::size_t>(step - 1)];
        if (next >= ahead_.size() || ahead_[next].tag != &tag)
            return;
        Ahead& entry = ahead_[next++];
        if (step == 1) {
            entry.album = Known(tag);
            if (entry.album) {
                PrefetchAlbum(entry.album);
                return;
            }
            entry.keyed = true;
            entry.from = aheadKeys_.size();
            MakeKey(tag.Album(), tag.FolderName(), key);
            aheadKeys_ += key;
            entry.size = aheadKeys_.size() - entry.from;
            entry.hash = Hash(KeyOf(entry));
            PrefetchSlot(entry.hash);
        } else if (entry.album) {
            if (step == 2) {
                const std::vector<TaudioTag*>& songs = entry.album->Items();
                __builtin_prefetch(songs.data() + songs.size(), 1);
            }
        } else if (step == 2) {
            entry.record = PrefetchRecord(entry.hash);
        } else if (const TaudioTagList* album = AlbumAt(entry.record)) {
            PrefetchAlbum(album);
        }
    }
    // The song's entry when it is the next one looked ahead.
    const Ahead* Take(const TaudioTag* tag)
    {
        if (aheadTaken_ >= ahead_.size() || ahead_[aheadTaken_].tag != tag)
            return nullptr;
        return &ahead_[aheadTaken_++];
    }
    std::string_view KeyOf(const Ahead& entry) const
    {
        return std::string_view(aheadKeys_).substr(entry.from, entry.size);
    }

private:
    static constexpr std::size_t kHead = sizeof(TaudioTagList*) + sizeof(std::size_t);
    struct KnownSlot
    {
        std::uintptr_t title = 0;
        std::uintptr_t folder = 0;
        TaudioTagList* album = nullptr; // null for a free slot
    };
    static std::uintptr_t Address(const std::string& text) { return reinterpret_cast<std::uintptr_t>(&text); }
    std::size_t KnownHome(std::uintptr_t title, std::uintptr_t folder) const
    {
        const std::uint64_t mixed = (static_cast<std::uint64_t>(title) * 0x9E3779B97F4A7C15ULL) ^
                                    (static_cast<std::uint64_t>(folder) * 0xC2B2AE3D27D4EB4FULL);
        return static_cast<std::size_t>(mixed ^ (mixed >> 29)) & (known_.size() - 1);
    }
    void PlaceKnown(const KnownSlot& slot)
    {
        std::size_t at = KnownHome(slot.title, slot.folder);
        while (known_[at].album)
            at = (at + 1) & (known_.size() - 1);
        known_[at] = slot;
    }
    void GrowKnown()
    {
        std::vector<KnownSlot> old(known_.empty() ? 64 : known_.size() * 2);
        old.swap(known_);
        for (const KnownSlot& slot : old)
            if (slot.album)
                PlaceKnown(slot);
    }
    // The album's record and its switches, which a song filed into it reads.
    static void PrefetchAlbum(const TaudioTagList* album)
    {
        for (std::size_t line = 0; line < 3; ++line)
            __builtin_prefetch(reinterpret_cast<const char*>(album) + line * 64);
    }
    struct Slot
    {
        std::size_t hash = 0;
        std::size_t record = 0; // 1 + where the record starts; 0 for a free slot
    };
    void Place(const Slot& slot)
    {
        std::size_t at = slot.hash & (slots_.size() - 1);
        while (slots_[at].record != 0)
            at = (at + 1) & (slots_.size() - 1);
        slots_[at] = slot;
    }
    void Grow()
    {
        std::vector<Slot> old(slots_.empty() ? 64 : slots_.size() * 2);
        old.swap(slots_);
        for (const Slot& slot : old)
            if (slot.record != 0)
                Place(slot);
    }

    std::vector<Slot> slots_;
    std::string records_;
    std::size_t used_ = 0;
    std::vector<KnownSlot> known_;
    std::size_t knownUsed_ = 0;
    std::vector<TsharedText> held_;

    static constexpr std::size_t kMostAhead = 1024;
    std::vector<Ahead> ahead_;
    std::string aheadKeys_;
    std::array<std::size_t, 3> aheadNext_{}; // the next entry of steps 1 to 3
    std::size_t aheadTaken_ = 0;
    const TaudioTag* aheadLast_ = nullptr;
};

void TaudioTagAlbumList::LookAhead(const TaudioTag* tag, int step)
{
    if (!tag || tag->Album().empty())
        return;
    if (step == 0) {
        FollowFill();
        if (byFolder_)
            byFolder_->Prepare(*tag);
    } else if (byFolder_ && byFolderGeneration_ == Generation() && step < kLookAheadSteps) {
        byFolder_->Advance(*tag, step);
    }
}

TaudioTagAlbumList::TaudioTagAlbumList() = default;
TaudioTagAlbumList::~TaudioTagAlbumList() = default;

void TaudioTagAlbumList::FollowFill()
{
    // A table of this fill with nothing in it yet is as good as a new one.
    const bool current = byFolder_ && byFolderGeneration_ == Generation();
    if (GetCount() == 0 && UpdateCount() > 0 && !current) {
        byFolder_ = std::make_unique<TfolderIndex>();
        byFolderGeneration_ = Generation();
    } else if (byFolder_ && byFolderGeneration_ != Generation()) {
        byFolder_.reset();
    }
}

TaudioTagList* TaudioTagAlbumList::AddTag(TaudioTag* tag)
{
    if (!tag || tag->Album().empty())
        return nullptr;
    const std::string_view folder = tag->FolderName();
    const auto inFolder = [tag](const TaudioTagList* album) {
        const TaudioTag* first = album->GetItem(0);
        return first && first->SameFolder(*tag);
    };
    FollowFill();
    const TfolderIndex::Ahead* prepared = byFolder_ ? byFolder_->Take(tag) : nullptr;
    TaudioTagList* target = nullptr;
    std::string_view key;
    std::size_t hash = 0;
    // The same title as last time (equal texts share one copy, so no text is read), and nothing filed or
    // removed since: the lookup would find the same album.
    if (last_ && lastGeneration_ == Generation() && last_->SharedTitle() == tag->SharedAlbum() &&
        inFolder(last_)) {
        target = last_;
    } else if (byFolder_) {
        // Only this fill made the albums, so one title has at most one album in a folder.
        target = prepared && prepared->album ? prepared->album : byFolder_->Known(*tag);
        if (!target) {
            if (prepared && prepared->keyed) {
                key = byFolder_->KeyOf(*prepared);
                hash = prepared->hash;
            } else {
                std::string& own = byFolder_->key;
                TfolderIndex::MakeKey(tag->Album(), folder, own);
                key = own;
                hash = TfolderIndex::Hash(key);
            }
            target = byFolder_->Find(key, hash);
            if (target)
                byFolder_->AddKnown(*tag, target);
        }
    } else {
        ForEachTitled(tag->Album(), [&](TaudioTagList* album) {
            if (!inFolder(album))
                return true;
            target = album;
            return false;
        });
    }
    if (!target) {
        auto album = std::make_unique<TaudioTagAlbum>();
        album->BeginUpdate(); // closed by DoChange
        album->SetTitle(tag->Album());
        album->SetAlbumArtist(tag->Artist());
        album->Add(tag);
        album->SetSortType(tstTrack);
        album->SetSorted(true);
        target = album.get();
        AddCreatedGrouped(std::move(album));
        if (byFolder_) {
            byFolder_->Add(key, hash, target);
            byFolder_->AddKnown(*tag, target);
            byFolderGeneration_ = Generation();
        }
    } else {
        target->Add(tag);
    }
    last_ = target;
    lastGeneration_ = Generation();
    return target;
}

TaudioTagAlbum* TaudioTagAlbumList::FindAlbum(std::string_view title, std::string_view folder) const
{
    TaudioTagList* found = nullptr;
    // Right after a fill (the library's albums while the genres link theirs), one lookup instead of a visit
    // to every album of the title; the album found is still checked, and anything else visits them.
    if (byFolder_ && byFolderGeneration_ == Generation()) {
        std::string key;
        TfolderIndex::MakeKey(title, folder, key);
        TaudioTagList* album = byFolder_->Find(key);
        const TaudioTag* first = album ? album->GetItem(0) : nullptr;
        if (first && first->FolderName() == folder)
            return dynamic_cast<TaudioTagAlbum*>(album);
    }
    ForEachTitled(title, [&](TaudioTagList* album) {
        const TaudioTag* first = album->GetItem(0);
        if (!first || first->FolderName() != folder)
            return true;
        found = album;
        return false;
    });
    return dynamic_cast<TaudioTagAlbum*>(found);
}

void TaudioTagAlbumList::AddAlbum(TaudioTagAlbum* album)
{
    if (album)
        Add(album);
}

TaudioTagAlbum* TaudioTagAlbumList::GetAlbum(int i) const
{
    return dynamic_cast<TaudioTagAlbum*>(GetItem(i));
}

void TaudioTagAlbumList::FillTree(TtreeSink& tree, TtreeNode parent) const
{
    for (int i = 0; i < GetCount(); ++i)
        AddListTreeNode(GetItem(i), tree, parent);
}

void TaudioTagAlbumList::DoChange()
{
    byFolder_.reset();
    // Closing an update notifies the album's listeners, who may change this set: work on a copy.
    std::vector<TaudioTagList*> albums;
    albums.reserve(static_cast<std::size_t>(GetCount()));
    ForEachMember([&albums](TaudioTagList* album) { albums.push_back(album); });
    for (TaudioTagList* album : albums) {
        album->EndUpdate();
        album->ShrinkToFit();
    }
    TaudioTagListList::DoChange();
}
