#include "core/groupings/audiotaglistlist.h"

#include "core/util/orvanexutils.h"
#include "platform/atomicfile.h"
#include "platform/textcompare.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

const char kListListMagic[4] = {'O', 'A', 'L', 'L'};

// The switches pack into the generation's word.
static_assert(sizeof(TaudioTagListList) <= 80);

// The case-folded form of a title, in a buffer of the thread's own: lookups fold a title for every song
// while the groupings fill.
const std::string& Folded(std::string_view title)
{
    thread_local std::string key;
    platform::FoldKey(title, key);
    return key;
}

} // namespace

// The handler a member list's change and play-mode events point at. It holds the set weakly: a list that
// outlives the set (or stays after leaving it) notifies nobody.
class TaudioTagListList::ListHook
{
public:
    explicit ListHook(std::weak_ptr<TaudioTagListList*> set) : set_(std::move(set)) {}
    void operator()(TaudioTagList* list) const
    {
        if (const auto set = set_.lock(); set && *set)
            (*set)->ListChanged(list);
    }
    bool Of(const TaudioTagListList* set) const
    {
        const auto p = set_.lock();
        return p && *p == set;
    }

private:
    std::weak_ptr<TaudioTagListList*> set_;
};

TaudioTagListList::TaudioTagListList() = default;

TaudioTagListList::~TaudioTagListList()
{
    destroying_ = true;
    std::vector<TaudioTagList*> doomed;
    if (extras_) {
        if (extras_->alive)
            *extras_->alive = nullptr;
        extras_->alive.reset();
        doomed.swap(extras_->leftMade);
    }
    const bool ownsMembers = ownsObjects_ && !linked_;
    for (const Entry& e : index_)
        if (e.made || (ownsMembers && !IsLink(e.list)))
            doomed.push_back(e.list);
    std::sort(doomed.begin(), doomed.end());
    doomed.erase(std::unique(doomed.begin(), doomed.end()), doomed.end());
    for (TaudioTagList* list : doomed)
        delete list;
}

void TaudioTagListList::SetActive(bool value)
{
    active_ = value;
    DoActiveChanged();
}

void TaudioTagListList::SetListsOwnObjects(bool value)
{
    listsOwnObjects_ = value;
    ForEachMember([value](TaudioTagList* list) { list->SetOwnsObjects(value); });
}

void TaudioTagListList::Add(TaudioTagList* list)
{
    if (!list)
        return;
    Hook(list);
    Insert(list, false);
    Changed();
}

void TaudioTagListList::Hook(TaudioTagList* list)
{
    list->SetOwnsObjects(listsOwnObjects_);
    Extras& extras = MakeExtras();
    if (!extras.alive)
        extras.alive = std::make_shared<TaudioTagListList*>(this);
    const ListHook hook(extras.alive);
    list->OnChange = hook;
    list->OnModeChanged = hook;
}

void TaudioTagListList::AddGrouped(TaudioTagList* list)
{
    if (!list)
        return;
    Insert(list, false);
    Changed();
}

void TaudioTagListList::AddCreatedGrouped(std::unique_ptr<TaudioTagList> list)
{
    if (!list)
        return;
    Insert(list.release(), true);
    Changed();
}

void TaudioTagListList::AddGroupedMembers(std::vector<TnewMember> members)
{
    // The links are known as such before they are members, so that nothing frees them meanwhile.
    std::vector<TaudioTagList*> links;
    for (const TnewMember& m : members)
        if (!m.made && m.link)
            links.push_back(m.link);
    if (!links.empty()) {
        std::vector<TaudioTagList*>& kept = MakeExtras().links;
        kept.insert(kept.end(), links.begin(), links.end());
        std::sort(kept.begin(), kept.end());
        kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    }
    index_.reserve(index_.size() + members.size());
    for (TnewMember& m : members) {
        if (m.made)
            Insert(m.made.release(), true);
        else if (m.link)
            Insert(m.link, false);
    }
    Changed();
}

void TaudioTagListList::AddCreated(std::unique_ptr<TaudioTagList> list)
{
    if (!list)
        return;
    TaudioTagList* raw = list.release();
    Hook(raw);
    Insert(raw, true);
    Changed();
}

void TaudioTagListList::InsertCreated(std::unique_ptr<TaudioTagList> list)
{
    if (list)
        Insert(list.release(), true);
}

void TaudioTagListList::Insert(TaudioTagList* list, bool made)
{
    ++generation_;
    Entry e;
    e.title = list->SharedTitle();
    e.list = list;
    e.seq = generation_;
    e.made = made;
    if (ByKey())
        Chained(e.title.Get()).push_back(Link{e.seq, list});
    index_.push_back(std::move(e));
}

TaudioTagListList::Extras& TaudioTagListList::MakeExtras() const
{
    if (!extras_)
        extras_ = std::make_unique<Extras>();
    return *extras_;
}

void TaudioTagListList::TrimExtras() const
{
    if (extras_ && !extras_->byKey && extras_->links.empty() && extras_->leftMade.empty() && !extras_->alive)
        extras_.reset();
}

void TaudioTagListList::HashAll() const
{
    std::vector<const Entry*> all;
    all.reserve(index_.size());
    for (const Entry& e : index_)
        all.push_back(&e);
    std::sort(all.begin(), all.end(), [](const Entry* a, const Entry* b) { return a->seq < b->seq; });
    MakeExtras().byKey.emplace();
    for (const Entry* e : all)
        Chained(e->title.Get()).push_back(Link{e->seq, e->list});
}

std::vector<TaudioTagListList::Link>& TaudioTagListList::Chained(std::string_view title) const
{
    const std::string& key = Folded(title);
    KeyMap& byKey = *extras_->byKey;
    auto it = byKey.find(std::string_view(key));
    if (it == byKey.end())
        it = byKey.emplace(key, std::vector<Link>()).first;
    return it->second;
}

void TaudioTagListList::LinkMembersOf(const TaudioTagListList& source)
{
    Clear();
    source.Materialize();
    ++generation_;
    linked_ = true;
    index_.reserve(source.index_.size());
    for (const Entry& e : source.index_) {
        Entry& link = index_.emplace_back();
        link.title = e.title;
        link.list = e.list;
        link.seq = ++generation_;
    }
    sorted_ = static_cast<std::uint32_t>(index_.size());
}

void TaudioTagListList::ReplaceByLinks(const std::unordered_map<TaudioTagList*, TaudioTagList*>& links)
{
    if (links.empty())
        return;
    // One pass over the entries (and the title table) for every replacement at once.
    struct Replaced
    {
        TaudioTagList* member;
        TaudioTagList* link;
        bool made;
    };
    std::vector<Replaced> replaced;
    for (Entry& e : index_) {
        if (IsLink(e.list))
            continue;
        const auto it = links.find(e.list);
        if (it == links.end() || !it->second || it->second == e.list)
            continue;
        replaced.push_back(Replaced{e.list, it->second, e.made != 0});
        e.list = it->second;
        e.made = false;
    }
    if (replaced.empty())
        return;
    // One record per member (a list filed twice has two entries); made when either entry says so.
    std::sort(replaced.begin(), replaced.end(), [](const Replaced& a, const Replaced& b) {
        return a.member < b.member || (a.member == b.member && a.made > b.made);
    });
    replaced.erase(std::unique(replaced.begin(), replaced.end(),
                               [](const Replaced& a, const Replaced& b) { return a.member == b.member; }),
                   replaced.end());
    const auto replacement = [&replaced](const TaudioTagList* member) -> const Replaced* {
        const auto it =
            std::lower_bound(replaced.begin(), replaced.end(), member,
                             [](const Replaced& r, const TaudioTagList* m) { return r.member < m; });
        return it != replaced.end() && it->member == member ? &*it : nullptr;
    };
    if (KeyMap* byKey = ByKey())
        for (auto& [key, chain] : *byKey)
            for (Link& l : chain)
                if (const Replaced* r = replacement(l.list))
                    l.list = r->link;
    ++generation_;
    std::vector<TaudioTagList*>& kept = MakeExtras().links;
    for (const Replaced& r : replaced)
        kept.push_back(r.link);
    std::sort(kept.begin(), kept.end());
    kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    for (const Replaced& r : replaced) {
        if (ownsObjects_ || r.made || IsLeftMade(r.member))
            Free(r.member);
        else
            Unhook(r.member);
    }
    Changed();
}

bool TaudioTagListList::IsLink(const TaudioTagList* list) const
{
    return extras_ && std::binary_search(extras_->links.begin(), extras_->links.end(), list);
}

bool TaudioTagListList::IsLeftMade(const TaudioTagList* list) const
{
    return extras_ &&
           std::find(extras_->leftMade.begin(), extras_->leftMade.end(), list) != extras_->leftMade.end();
}

void TaudioTagListList::Materialize() const
{
    const std::size_t count = index_.size();
    if (sorted_ == count)
        return;
    // Titles in the locale's order; among equal titles the newer first. The new lists are ranked once
    // among themselves, then merged into the sorted part.
    const auto fresh = index_.begin() + static_cast<std::ptrdiff_t>(sorted_);
    const std::size_t added = count - sorted_;
    std::vector<Entry> sorted;
    {
        std::vector<std::string_view> titles;
        titles.reserve(added);
        for (auto it = fresh; it != index_.end(); ++it)
            titles.push_back(it->list->Title());
        const std::vector<std::uint32_t> ranks = platform::TextOrderRanks(titles);
        std::vector<std::size_t> order(added);
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return ranks[a] < ranks[b] || (ranks[a] == ranks[b] && fresh[a].seq > fresh[b].seq);
        });
        sorted.reserve(sorted_ == 0 ? added : count);
        for (const std::size_t i : order)
            sorted.push_back(std::move(fresh[static_cast<std::ptrdiff_t>(i)]));
    }
    if (sorted_ > 0) {
        const auto before = [](const Entry& a, const Entry& b) {
            const int c = platform::CompareText(a.list->Title(), b.list->Title());
            return c < 0 || (c == 0 && a.seq > b.seq);
        };
        std::vector<Entry> merged;
        merged.reserve(count);
        std::merge(std::make_move_iterator(sorted.begin()), std::make_move_iterator(sorted.end()),
                   std::make_move_iterator(index_.begin()), std::make_move_iterator(fresh),
                   std::back_inserter(merged), before);
        sorted.swap(merged);
    }
    index_.swap(sorted);
    sorted_ = static_cast<std::uint32_t>(index_.size());
}

void TaudioTagListList::Unlink(const Entry& entry)
{
    ++generation_;
    KeyMap* byKey = ByKey();
    if (!byKey)
        return;
    const auto it = byKey->find(std::string_view(Folded(entry.title.Get())));
    if (it == byKey->end())
        return;
    std::vector<Link>& chain = it->second;
    const auto link =
        std::find_if(chain.begin(), chain.end(), [&](const Link& l) { return l.seq == entry.seq; });
    if (link != chain.end())
        chain.erase(link);
    if (chain.empty())
        byKey->erase(it);
}

void TaudioTagListList::Unhook(TaudioTagList* list) const
{
    if (const auto* hook = list->OnChange.target<ListHook>(); hook && hook->Of(this))
        list->OnChange = nullptr;
    if (const auto* hook = list->OnModeChanged.target<ListHook>(); hook && hook->Of(this))
        list->OnModeChanged = nullptr;
}

void TaudioTagListList::Free(TaudioTagList* list)
{
    if (extras_)
        std::erase(extras_->leftMade, list);
    delete list;
}

void TaudioTagListList::KeepMade(TaudioTagList* list)
{
    MakeExtras().leftMade.push_back(list);
}

bool TaudioTagListList::Contains(const TaudioTagList* list) const
{
    const auto same = [list](const Entry& e) { return e.list == list; };
    return std::any_of(index_.begin(), index_.end(), same);
}

void TaudioTagListList::Delete(int i)
{
    if (i < 0 || i >= GetCount())
        return;
    Materialize();
    const Entry entry = std::move(index_[static_cast<std::size_t>(i)]);
    index_.erase(index_.begin() + i);
    sorted_ = static_cast<std::uint32_t>(index_.size());
    Unlink(entry);
    // A list filed twice stays while one of its entries is left.
    if (!Contains(entry.list)) {
        if (IsLink(entry.list)) {
            std::erase(extras_->links, entry.list);
            if (entry.made)
                KeepMade(entry.list);
        } else if (ownsObjects_ && !linked_) {
            Free(entry.list);
        } else {
            Unhook(entry.list);
            if (entry.made)
                KeepMade(entry.list);
        }
    } else if (entry.made) {
        // The entry left says it now.
        for (Entry& e : index_)
            if (e.list == entry.list) {
                e.made = true;
                break;
            }
    }
    Changed();
}

void TaudioTagListList::Remove(TaudioTagList* list)
{
    const int i = IndexOf(list);
    if (i >= 0)
        Delete(i);
}

void TaudioTagListList::Clear()
{
    BeginUpdate();
    Materialize();
    std::vector<Entry> old;
    old.swap(index_);
    sorted_ = 0;
    if (extras_)
        extras_->byKey.reset();
    ++generation_;
    // Each list once, with whether the set made it; the made ones it does not free stay until it goes.
    std::vector<std::pair<TaudioTagList*, bool>> lists;
    lists.reserve(old.size());
    for (const Entry& e : old)
        lists.emplace_back(e.list, e.made != 0);
    old.clear();
    std::sort(lists.begin(), lists.end(), [](const auto& a, const auto& b) {
        return a.first < b.first || (a.first == b.first && a.second > b.second);
    });
    lists.erase(std::unique(lists.begin(), lists.end(),
                            [](const auto& a, const auto& b) { return a.first == b.first; }),
                lists.end());
    if (linked_) {
        // Links only: the lists are their own set's.
        linked_ = false;
        for (const auto& [list, made] : lists)
            if (made)
                KeepMade(list);
        EndUpdate();
        return;
    }
    for (const auto& [list, made] : lists) {
        if (!IsLink(list) && ownsObjects_) {
            Free(list);
            continue;
        }
        if (!IsLink(list))
            Unhook(list);
        if (made)
            KeepMade(list);
    }
    if (extras_)
        extras_->links.clear();
    EndUpdate();
}

void TaudioTagListList::Changed()
{
    if (updateCount_ == 0 && !destroying_)
        DoChange();
}

void TaudioTagListList::DoChange()
{
    if (OnChange)
        OnChange(this);
}

void TaudioTagListList::EndUpdate()
{
    if (updateCount_ > 0 && --updateCount_ == 0) {
        // Lookups come in runs while a set fills (a grouping looks a title up for every song); once the
        // set is whole the table would only hold room.
        if (extras_) {
            extras_->byKey.reset();
            TrimExtras();
        }
        Changed();
    }
}

TaudioTagList* TaudioTagListList::GetItem(int i) const
{
    if (i < 0 || i >= GetCount())
        return nullptr;
    Materialize();
    return index_[static_cast<std::size_t>(i)].list;
}

std::span<const TaudioTagListList::Link> TaudioTagListList::Chain(std::string_view title,
                                                                  SmallChain& small) const
{
    if (!ByKey() && GetCount() > kSmallSet)
        HashAll();
    if (const KeyMap* byKey = ByKey()) {
        const auto it = byKey->find(std::string_view(Folded(title)));
        return it == byKey->end() ? std::span<const Link>() : std::span<const Link>(it->second);
    }
    // At most kSmallSet members here.
    std::size_t n = 0;
    for (const Entry& e : index_)
        if (n < small.size() && platform::SameText(e.title.Get(), title))
            small[n++] = Link{e.seq, e.list};
    std::sort(small.begin(), small.begin() + static_cast<std::ptrdiff_t>(n),
              [](const Link& a, const Link& b) { return a.seq < b.seq; });
    return std::span<const Link>(small.data(), n);
}

TaudioTagList* TaudioTagListList::Find(std::string_view title) const
{
    SmallChain small;
    const std::span<const Link> chain = Chain(title, small);
    return chain.empty() ? nullptr : chain.back().list;
}

int TaudioTagListList::IndexOf(const TaudioTagList* list) const
{
    if (!list)
        return -1;
    Materialize();
    for (std::size_t i = 0; i < index_.size(); ++i)
        if (index_[i].list == list)
            return static_cast<int>(i);
    return -1;
}

TaudioTagList* TaudioTagListList::FindListOf(const TaudioTag* tag) const
{
    Materialize();
    for (const Entry& e : index_)
        if (e.list->IndexOf(tag) >= 0)
            return e.list;
    return nullptr;
}

void TaudioTagListList::Rename(TaudioTagList* list, std::string title)
{
    if (!list)
        return;
    list->SetTitle(std::move(title));
    const int i = IndexOf(list);
    if (i < 0)
        return;
    const Entry entry = std::move(index_[static_cast<std::size_t>(i)]);
    index_.erase(index_.begin() + i);
    sorted_ = static_cast<std::uint32_t>(index_.size());
    Unlink(entry);
    Hook(list);
    Insert(list, entry.made != 0);
    Changed();
}

void TaudioTagListList::GetNames(TStringList<TaudioTagList>& strings) const
{
    Materialize();
    strings.BeginUpdate();
    strings.Clear();
    for (const Entry& e : index_)
        strings.AddObject(e.list->Title(), e.list);
    strings.EndUpdate();
}

int TaudioTagListList::TotalSongs() const
{
    int total = 0;
    ForEachMember([&total](const TaudioTagList* list) { total += list->GetCount(); });
    return total;
}

std::int64_t TaudioTagListList::TotalDuration() const
{
    std::int64_t total = 0;
    ForEachMember([&total](const TaudioTagList* list) { total += list->TotalDuration(); });
    return total;
}

void TaudioTagListList::DoActiveChanged()
{
    if (OnActiveChanged)
        OnActiveChanged(this);
}

void TaudioTagListList::ListChanged(TaudioTagList* list)
{
    DoPlaylistChange(list);
}

void TaudioTagListList::DoPlaylistChange(TaudioTagList* list)
{
    if (OnPlaylistChange)
        OnPlaylistChange(this, list);
}

bool TaudioTagListList::LoadFromFile(const std::string& fileName, bool append)
{
    BeginUpdate();
    if (!append)
        Clear();
    bool result = false;
    if (FileExistsNoError(fileName)) {
        if (const std::unique_ptr<TstreamReader> stream = TstreamReader::OpenFile(fileName))
            result = LoadFromStream(*stream);
    }
    EndUpdate();
    return result;
}

bool TaudioTagListList::LoadFromStream(TstreamReader& stream)
{
    BeginUpdate();
    bool result = false;
    try {
        char magic[4];
        stream.ReadBuffer(magic, 4);
        if (std::memcmp(magic, kListListMagic, 4) == 0) {
            const std::int32_t count = stream.ReadInt32();
            // No lists is a good file (an empty stacker saved); a negative count is a damaged one.
            result = count == 0;
            for (std::int32_t k = 0; k < count; ++k) {
                auto list = std::make_unique<TaudioTagList>();
                if (!list->LoadFromStream(stream)) {
                    result = false;
                    break;
                }
                AddCreated(std::move(list));
                result = true;
            }
        }
    } catch (const std::exception&) {
        result = false;
    }
    EndUpdate();
    return result;
}

void TaudioTagListList::SaveToFile(const std::string& fileName) const
{
    TstreamWriter stream;
    SaveToStream(stream);
    platform::WriteFileAtomically(fileName, stream.Bytes());
}

void TaudioTagListList::SaveToStream(TstreamWriter& stream) const
{
    Materialize();
    stream.WriteBuffer(kListListMagic, 4);
    stream.WriteInt32(static_cast<std::int32_t>(index_.size()));
    for (const Entry& e : index_)
        e.list->SaveToStream(stream);
}

TtreeNode AddListTreeNode(TaudioTagList* list, TtreeSink& tree, TtreeNode parent)
{
    if (!list)
        return {};
    return tree.AddChild(parent, list->Title(), list, list->Kind());
}

std::string GetListCoverFile(const TaudioTagList& list, const std::string& coverFolder)
{
    const TaudioTag* first = list.GetItem(0);
    return first ? FindCoverFile(*first, coverFolder) : std::string();
}
