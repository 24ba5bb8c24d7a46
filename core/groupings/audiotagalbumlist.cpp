#include "core/groupings/audiotagalbumlist.h"

#include "core/songs/sharedtext.h"
#include "platform/textcompare.h"

#include <cstring>
#include <functional>
#include <string_view>
#include <vector>

// Albums by key (folded title, NUL, the address of the folder's shared text: the songs of a folder share one
// copy of its text, so the key is made without reading it, and the table holds each keyed folder, so no
// other text can take its address while the table lives): an open table of slots at most half full, each with
// the key's hash and where its record is; the records (album, key size, key) in one buffer. Compact, so that
// a lookup touches a slot and the one record it points at.
namespace {

// A fill key's folder part after the title's: a NUL and the address of the folder's text.
void AppendFolder(std::string& key, const std::string& folder)
{
    const std::string* address = &folder;
    key.push_back('\0');
    key.append(reinterpret_cast<const char*>(&address), sizeof address);
}

} // namespace

class TaudioTagAlbumList::TfolderIndex
{
public:
    // The key of the song being filed, kept here so that the many sets that never fill this way (an
    // artist's albums) carry no buffer for it.
    std::string key;

    TaudioTagList* Find(std::string_view key) const
    {
        if (slots_.empty())
            return nullptr;
        const std::size_t hash = std::hash<std::string_view>{}(key);
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
    // The key must not be in the table yet.
    void Add(std::string_view key, TaudioTagList* album, const TsharedText& folder)
    {
        folders_.push_back(folder);
        if ((used_ + 1) * 2 > slots_.size())
            Grow();
        const Slot slot{std::hash<std::string_view>{}(key), records_.size() + 1};
        const std::size_t size = key.size();
        records_.append(reinterpret_cast<const char*>(&album), sizeof album);
        records_.append(reinterpret_cast<const char*>(&size), sizeof size);
        records_.append(key);
        Place(slot);
        ++used_;
    }

private:
    static constexpr std::size_t kHead = sizeof(TaudioTagList*) + sizeof(std::size_t);
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
    std::vector<TsharedText> folders_;
    std::size_t used_ = 0;
};

TaudioTagAlbumList::TaudioTagAlbumList() = default;
TaudioTagAlbumList::~TaudioTagAlbumList() = default;

void TaudioTagAlbumList::AddTag(TaudioTag* tag)
{
    if (!tag || tag->Album().empty())
        return;
    const auto inFolder = [tag](const TaudioTagList* album) {
        const TaudioTag* first = album->GetItem(0);
        return first && first->SameFolder(*tag);
    };
    if (GetCount() == 0 && UpdateCount() > 0) {
        byFolder_ = std::make_unique<TfolderIndex>();
        byFolderGeneration_ = Generation();
    } else if (byFolder_ && byFolderGeneration_ != Generation()) {
        byFolder_.reset();
    }
    TaudioTagList* target = nullptr;
    // The same title as last time, and nothing filed or removed since: the lookup would find the same album.
    if (last_ && lastGeneration_ == Generation() && last_->Title() == tag->Album() && inFolder(last_)) {
        target = last_;
    } else if (byFolder_) {
        // Only this fill made the albums, so one title has at most one album in a folder.
        std::string& key = byFolder_->key;
        platform::FoldKey(tag->Album(), key);
        AppendFolder(key, tag->FolderName());
        target = byFolder_->Find(key);
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
            byFolder_->Add(byFolder_->key, target, tag->Folder());
            byFolderGeneration_ = Generation();
        }
    } else {
        target->Add(tag);
    }
    last_ = target;
    lastGeneration_ = Generation();
}

TaudioTagAlbum* TaudioTagAlbumList::FindAlbum(std::string_view title, const std::string& folder) const
{
    TaudioTagList* found = nullptr;
    // Right after a fill (the library's albums while the genres link theirs), one lookup instead of a visit
    // to every album of the title; the album found is still checked, and anything else visits them.
    if (byFolder_ && byFolderGeneration_ == Generation()) {
        std::string key = platform::FoldKey(title);
        AppendFolder(key, folder);
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
