#pragma once

#include "core/songs/audiotaglist.h"
#include "core/songs/sharedtext.h"
#include "core/songs/streamreader.h"
#include "core/songs/streamwriter.h"
#include "core/util/event.h"
#include "core/util/treesink.h"
#include "platform/stringlist.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// A set of song lists kept in the order of their titles (case-insensitive; equal titles allowed, the one
// added last standing first among them). The base of the groupings (albums, artists, genres) and of the saved
// playlists and the stacker; stored as a list-of-lists file ("OALL", then one song-list record per list).
//
// Lists the set creates itself (loads, groupings) stay alive until the set is destroyed even when it does not
// own them; lists added from outside are freed only when OwnsObjects is set.
//
// Lookups by title go through a hash of case-folded titles while the set fills, and lists added inside an
// update are sorted into the index once, when the index is next read by position, so filling a set with
// thousands of lists stays linear.
class TaudioTagListList
{
public:
    TaudioTagListList();
    virtual ~TaudioTagListList();
    TaudioTagListList(const TaudioTagListList&) = delete;
    TaudioTagListList& operator=(const TaudioTagListList&) = delete;

    // Published properties.
    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool value) { ownsObjects_ = value; }
    bool Active() const { return active_; }
    void SetActive(bool value);
    bool ListsOwnObjects() const { return listsOwnObjects_; }
    // Applies the value at once to every member list.
    void SetListsOwnObjects(bool value);

    // Published events.
    Tevent<void(TaudioTagListList* sender)> OnChange;
    Tevent<void(TaudioTagListList* sender)> OnActiveChanged;
    // A member list changed or changed its play mode.
    Tevent<void(TaudioTagListList* sender, TaudioTagList* list)> OnPlaylistChange;

    // Takes the list in under its Title (nullptr ignored): gives it ListsOwnObjects and hooks its change and
    // play-mode events to ListChanged.
    void Add(TaudioTagList* list);
    // Takes the list in under its Title (nullptr ignored) as a grouping does: neither its ownership nor its
    // events are touched, so the set hears nothing of the list's own changes. The groupings' tens of
    // thousands of lists have no one following them one by one.
    void AddGrouped(TaudioTagList* list);
    virtual void Delete(int i);
    virtual void Remove(TaudioTagList* list);
    virtual void Clear();
    virtual void Changed();
    virtual void DoChange();
    void BeginUpdate() { ++updateCount_; }
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    int GetCount() const { return static_cast<int>(index_.size()); }
    int Count() const { return GetCount(); }
    // List i in title order; nullptr out of range.
    TaudioTagList* GetItem(int i) const;
    // The first list (in title order) of that title, ignoring case; nullptr when none.
    TaudioTagList* Find(std::string_view title) const;
    int IndexOf(const TaudioTagList* list) const;
    // True when the list is a member; cheaper than IndexOf, never sorts the index.
    bool Contains(const TaudioTagList* list) const;
    // The first member (in title order) that holds this song object.
    TaudioTagList* FindListOf(const TaudioTag* tag) const;
    // Empties the set, then fills it with links to source's lists, in source's order: neither owned nor
    // hooked, and never touched again by this set (clearing or destroying it only drops the links), so
    // the set must be cleared before source's lists go. Both sets then answer the same lists.
    void LinkMembersOf(const TaudioTagListList& source);
    // One member for AddGroupedMembers: a list the set made (it answers for it as for one it made itself) or,
    // without one, another set's list taken in as a link (as ReplaceByLinks leaves one).
    struct TnewMember
    {
        std::unique_ptr<TaudioTagList> made;
        TaudioTagList* link = nullptr;
    };
    // Takes the members in, in order, as AddGrouped does, then notifies once. A link is neither owned nor
    // hooked and never touched again by this set, so the other set must keep it until this one lets go.
    void AddGroupedMembers(std::vector<TnewMember> members);
    // Puts each link (a list of another set holding the same songs, not a member) in its member's place: the
    // member is freed when the set answers for it; the link is neither owned nor hooked and is never
    // touched again by this set (leaving the set or a Clear only drops it), so the other set must keep it
    // until this set lets go. Lists that are not members, or are links already, are passed over.
    void ReplaceByLinks(const std::unordered_map<TaudioTagList*, TaudioTagList*>& links);
    // True while the members are another set's lists (from LinkMembersOf until the next Clear).
    bool Linked() const { return linked_; }
    // Sets the list's Title and, for a member, files it again under the new title.
    void Rename(TaudioTagList* list, std::string title);
    // Replaces the strings by the index: titles in order with their lists.
    void GetNames(TStringList<TaudioTagList>& strings) const;
    int TotalSongs() const;
    std::int64_t TotalDuration() const;

    void DoActiveChanged();
    void ListChanged(TaudioTagList* list);
    void DoPlaylistChange(TaudioTagList* list);

    // Loading answers false on a missing file, a wrong magic, a damaged record or a read error, and keeps the
    // lists read before the damage. Saving throws EFileError.
    bool LoadFromFile(const std::string& fileName, bool append);
    bool LoadFromStream(TstreamReader& stream);
    void SaveToFile(const std::string& fileName) const;
    void SaveToStream(TstreamWriter& stream) const;

protected:
    // Visits the lists titled like `title` (ignoring case) in title order while visit answers true; visit
    // must not change the set.
    template <class F>
    void ForEachTitled(std::string_view title, F&& visit) const;
    // Calls visit for every member in no particular order, never sorting the index; visit must not change
    // the set.
    template <class F>
    void ForEachMember(F&& visit) const;
    // Adds a list the set made itself (kept alive until the set is destroyed even when not owning).
    void AddCreated(std::unique_ptr<TaudioTagList> list);
    // Adds a list the set made itself as AddGrouped does.
    void AddCreatedGrouped(std::unique_ptr<TaudioTagList> list);
    // Files a list the set made itself under its title without the member hooks of Add.
    void InsertCreated(std::unique_ptr<TaudioTagList> list);
    bool Destroying() const { return destroying_; }
    // Counts every change of membership or of the titles filed, so a derived set can keep a link to the
    // list it used last and know when to look again.
    std::uint64_t Generation() const { return generation_; }

private:
    // Sets up to this many members find titles by searching their entries.
    static constexpr int kSmallSet = 8;
    struct Entry
    {
        // The list's Title when filed: the set files the list under its case-folded form. A shared text, so
        // the many sets that hold the same names (the library's artists and each genre's, an album's title
        // and its songs' album) keep one copy of each.
        TsharedText title;
        TaudioTagList* list = nullptr;
        // Add order (the set's generation when filed): among equal titles the newer stands first.
        std::uint64_t seq : 63 = 0;
        // The set made the list, so it keeps it alive until the set goes even when not owning.
        std::uint64_t made : 1 = 0;
    };
    struct Link
    {
        std::uint64_t seq;
        TaudioTagList* list;
    };
    using SmallChain = std::array<Link, kSmallSet>;
    struct KeyHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    using KeyMap = std::unordered_map<std::string, std::vector<Link>, KeyHash, std::equal_to<>>;
    // What only a few sets need, in one block made with the first of it: most sets are a grouping's, which
    // fill once, hook nothing and are never searched by title once whole.
    struct Extras
    {
        // Case-folded title -> its lists in add order (the last one first in title order). Only sets past a
        // few members make it, at their first lookup, and drop it when their outermost update closes; the
        // many small sets (an artist's albums) search their entries.
        std::optional<KeyMap> byKey;
        // Members put in by ReplaceByLinks: another set's lists, sorted.
        std::vector<TaudioTagList*> links;
        // Lists the set made that have left it without being freed: kept until the set goes.
        std::vector<TaudioTagList*> leftMade;
        // Hooks of member lists hold a weak link to this, so a list that outlives the set calls nothing.
        std::shared_ptr<TaudioTagListList*> alive;
    };
    class ListHook;

    void Hook(TaudioTagList* list);
    void Insert(TaudioTagList* list, bool made);
    void HashAll() const;
    // The chain of the title's folded form in the title table, made empty when new.
    std::vector<Link>& Chained(std::string_view title) const;
    void Materialize() const;
    void Unlink(const Entry& entry);
    void Unhook(TaudioTagList* list) const;
    void Free(TaudioTagList* list);
    // Keeps a list the set made that leaves it unfreed.
    void KeepMade(TaudioTagList* list);
    bool IsLink(const TaudioTagList* list) const;
    bool IsLeftMade(const TaudioTagList* list) const;
    KeyMap* ByKey() const { return extras_ && extras_->byKey ? &*extras_->byKey : nullptr; }
    Extras& MakeExtras() const;
    // Lets the block go once it holds nothing.
    void TrimExtras() const;
    // The lists titled like `title` in add order; a small set collects them in `small`.
    std::span<const Link> Chain(std::string_view title, SmallChain& small) const;

    // Also the add order of the entries: each filing counts one. The switches share its word: the groupings
    // make their sets by the ten thousand (an artist holds one).
    std::uint64_t generation_ : 59 = 0;
    bool ownsObjects_ : 1 = false;
    bool active_ : 1 = false;
    bool listsOwnObjects_ : 1 = false;
    bool destroying_ : 1 = false;
    bool linked_ : 1 = false;
    int updateCount_ = 0;
    // index_ is sorted up to here; the lists added since the last positional read follow.
    mutable std::uint32_t sorted_ = 0;
    // In title order (newest first among equal titles) up to sorted_.
    mutable std::vector<Entry> index_;
    mutable std::unique_ptr<Extras> extras_;
};

// A node under parent captioned with the list's Title, carrying the list; its kind follows the list's class.
TtreeNode AddListTreeNode(TaudioTagList* list, TtreeSink& tree, TtreeNode parent);
// The cover picture file of the list's first song; "" for an empty list.
std::string GetListCoverFile(const TaudioTagList& list, const std::string& coverFolder);

template <class F>
void TaudioTagListList::ForEachTitled(std::string_view title, F&& visit) const
{
    SmallChain small;
    const std::span<const Link> chain = Chain(title, small);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        if (!visit(it->list))
            return;
}

template <class F>
void TaudioTagListList::ForEachMember(F&& visit) const
{
    for (const Entry& e : index_)
        visit(e.list);
}
