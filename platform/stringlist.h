#pragma once

#include "error.h"
#include "textcompare.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

enum class TDuplicates
{
    dupIgnore,
    dupAccept,
    dupError
};

// Ordered strings, each with an attached object (a link unless OwnsObjects is set).
// Sorted lists keep their order on Add and find by binary search; comparisons ignore case unless
// CaseSensitive is set. Name=value lines, comma text and update counting follow the framework's rules.
template <class T = void>
class TStringList
{
public:
    struct Item
    {
        std::string text;
        T* object = nullptr;
    };
    using CompareFunc = std::function<int(const TStringList& list, int a, int b)>;

    TStringList() = default;
    TStringList(const TStringList&) = delete;
    TStringList& operator=(const TStringList&) = delete;
    ~TStringList()
    {
        OnChange = nullptr;
        Clear();
    }

    std::function<void(TStringList* sender)> OnChange;

    int Count() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    const std::string& operator[](int i) const { return items_.at(static_cast<std::size_t>(i)).text; }
    const std::string& Strings(int i) const { return (*this)[i]; }
    T* Objects(int i) const { return items_.at(static_cast<std::size_t>(i)).object; }
    const std::vector<Item>& Items() const { return items_; }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

    void SetString(int i, std::string text)
    {
        items_.at(static_cast<std::size_t>(i)).text = std::move(text);
        Changed();
    }
    void SetObject(int i, T* object)
    {
        items_.at(static_cast<std::size_t>(i)).object = object;
        Changed();
    }

    bool Sorted() const { return sorted_; }
    void SetSorted(bool value)
    {
        if (sorted_ == value)
            return;
        sorted_ = value;
        if (sorted_)
            Sort();
    }
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool value)
    {
        if (caseSensitive_ == value)
            return;
        caseSensitive_ = value;
        if (sorted_)
            Sort();
    }
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates value) { duplicates_ = value; }
    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool value) { ownsObjects_ = value; }

    int Add(std::string text) { return AddObject(std::move(text), nullptr); }
    int AddObject(std::string text, T* object)
    {
        int index = Count();
        if (sorted_) {
            if (Find(text, index)) {
                if (duplicates_ == TDuplicates::dupIgnore)
                    return index;
                if (duplicates_ == TDuplicates::dupError)
                    throw EOrvaneError("String list does not allow duplicates");
            }
        }
        InsertItem(index, std::move(text), object);
        return index;
    }
    void Insert(int index, std::string text, T* object = nullptr)
    {
        if (sorted_)
            throw EOrvaneError("Operation not allowed on sorted list");
        if (index < 0 || index > Count())
            throw EOrvaneError("List index out of bounds (" + std::to_string(index) + ")");
        InsertItem(index, std::move(text), object);
    }
    void AddStrings(const TStringList& other)
    {
        BeginUpdate();
        for (const Item& item : other.items_)
            AddObject(item.text, item.object);
        EndUpdate();
    }
    void Assign(const TStringList& other)
    {
        BeginUpdate();
        Clear();
        AddStrings(other);
        EndUpdate();
    }

    void Delete(int index)
    {
        auto it = items_.begin() + index;
        T* object = it->object;
        items_.erase(it);
        Free(object);
        Changed();
    }
    // Removes the item without freeing its object, which the caller takes.
    T* Extract(int index)
    {
        T* object = Objects(index);
        items_.erase(items_.begin() + index);
        Changed();
        return object;
    }
    // Room for `count` lines without reallocating, for lists about to be filled in bulk.
    void Reserve(int count) { items_.reserve(static_cast<std::size_t>(std::max(count, 0))); }
    void Clear()
    {
        if (items_.empty())
            return;
        std::vector<Item> old;
        old.swap(items_);
        for (Item& item : old)
            Free(item.object);
        Changed();
    }
    void Exchange(int a, int b)
    {
        std::swap(items_.at(static_cast<std::size_t>(a)), items_.at(static_cast<std::size_t>(b)));
        Changed();
    }

    int Compare(std::string_view a, std::string_view b) const
    {
        return caseSensitive_ ? platform::CompareStr(a, b) : platform::CompareText(a, b);
    }

    // Binary search of a sorted list: true when found; index is the match or the insertion point.
    // With duplicates the first equal item is found.
    bool Find(std::string_view text, int& index) const
    {
        int lo = 0;
        int hi = Count() - 1;
        bool found = false;
        while (lo <= hi) {
            const int mid = (lo + hi) / 2;
            const int c = Compare(items_[static_cast<std::size_t>(mid)].text, text);
            if (c < 0) {
                lo = mid + 1;
            } else {
                hi = mid - 1;
                if (c == 0) {
                    found = true;
                    if (duplicates_ != TDuplicates::dupAccept)
                        lo = mid;
                }
            }
        }
        index = lo;
        return found;
    }
    int IndexOf(std::string_view text) const
    {
        if (sorted_) {
            int index = 0;
            return Find(text, index) ? index : -1;
        }
        for (int i = 0; i < Count(); ++i)
            if (Compare(items_[static_cast<std::size_t>(i)].text, text) == 0)
                return i;
        return -1;
    }
    int IndexOfObject(const T* object) const
    {
        for (int i = 0; i < Count(); ++i)
            if (items_[static_cast<std::size_t>(i)].object == object)
                return i;
        return -1;
    }

    void Sort()
    {
        if (caseSensitive_) {
            CustomSort([](const TStringList& list, int a, int b) { return list.Compare(list[a], list[b]); });
            return;
        }
        // One collation key per text instead of collating at every comparison.
        const std::vector<std::uint32_t> ranks = Ranks();
        CustomSort([&ranks](const TStringList&, int a, int b) {
            const std::uint32_t ra = ranks[static_cast<std::size_t>(a)];
            const std::uint32_t rb = ranks[static_cast<std::size_t>(b)];
            return ra < rb ? -1 : (ra > rb ? 1 : 0);
        });
    }
    void CustomSort(const CompareFunc& compare)
    {
        // Sort positions, then permute: the comparer sees the list by index as the framework's does.
        std::vector<int> order(items_.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<int>(i);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
        std::vector<Item> sortedItems;
        sortedItems.reserve(items_.size());
        for (const int i : order)
            sortedItems.push_back(std::move(items_[static_cast<std::size_t>(i)]));
        items_ = std::move(sortedItems);
        Changed();
    }

    // Bulk filling of a sorted list, where sorted inserts would be quadratic: append with Sorted off, then
    // this sorts once (stably) and switches Sorted on; under dupIgnore only the first of equal strings, in
    // the appended order, stays (a dropped object is freed when the list owns it).
    void SortUnique()
    {
        // Each text's place in the order is found once (collating per comparison would dominate a large
        // sort).
        struct Keyed
        {
            std::uint32_t rank;
            std::size_t at;
        };
        std::vector<Keyed> keys(items_.size());
        if (caseSensitive_) {
            std::vector<std::size_t> order(items_.size());
            for (std::size_t i = 0; i < order.size(); ++i)
                order[i] = i;
            std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
                return items_[a].text < items_[b].text;
            });
            std::uint32_t next = 0;
            for (std::size_t k = 0; k < order.size(); ++k) {
                if (k > 0 && items_[order[k]].text != items_[order[k - 1]].text)
                    ++next;
                keys[order[k]].rank = next;
            }
        } else {
            const std::vector<std::uint32_t> ranks = Ranks();
            for (std::size_t i = 0; i < items_.size(); ++i)
                keys[i].rank = ranks[i];
        }
        for (std::size_t i = 0; i < items_.size(); ++i)
            keys[i].at = i;
        std::sort(keys.begin(), keys.end(), [](const Keyed& a, const Keyed& b) {
            return a.rank < b.rank || (a.rank == b.rank && a.at < b.at);
        });
        std::vector<Item> sortedItems;
        sortedItems.reserve(items_.size());
        for (std::size_t i = 0; i < keys.size(); ++i) {
            Item& item = items_[keys[i].at];
            if (duplicates_ == TDuplicates::dupIgnore && i > 0 && keys[i].rank == keys[i - 1].rank)
                Free(item.object);
            else
                sortedItems.push_back(std::move(item));
        }
        items_ = std::move(sortedItems);
        sorted_ = true;
        Changed();
    }

    // Name=value lines.
    std::string Names(int index) const
    {
        const std::string& s = (*this)[index];
        const auto eq = s.find('=');
        return eq == std::string::npos ? std::string() : s.substr(0, eq);
    }
    std::string ValueFromIndex(int index) const
    {
        const std::string& s = (*this)[index];
        const auto eq = s.find('=');
        return eq == std::string::npos ? std::string() : s.substr(eq + 1);
    }
    int IndexOfName(std::string_view name) const
    {
        for (int i = 0; i < Count(); ++i) {
            const std::string& s = items_[static_cast<std::size_t>(i)].text;
            const auto eq = s.find('=');
            if (eq != std::string::npos && Compare(std::string_view(s).substr(0, eq), name) == 0)
                return i;
        }
        return -1;
    }
    std::string Values(std::string_view name) const
    {
        const int i = IndexOfName(name);
        return i < 0 ? std::string() : ValueFromIndex(i);
    }
    // An empty value removes the line, as the framework does.
    void SetValue(std::string_view name, std::string_view value)
    {
        const int i = IndexOfName(name);
        if (value.empty()) {
            if (i >= 0)
                Delete(i);
            return;
        }
        std::string line = std::string(name) + "=" + std::string(value);
        if (i >= 0)
            SetString(i, std::move(line));
        else
            Add(std::move(line));
    }

    // Comma text: items separated by commas; an item that is empty or holds blanks, commas or quotes is
    // written in double quotes with inner quotes doubled. Reading also splits unquoted items at blanks.
    std::string CommaText() const
    {
        std::string out;
        for (std::size_t i = 0; i < items_.size(); ++i) {
            if (i > 0)
                out += ',';
            out += QuoteIfNeeded(items_[i].text);
        }
        return out;
    }
    void SetCommaText(std::string_view text)
    {
        BeginUpdate();
        Clear();
        std::size_t p = 0;
        auto skipBlanks = [&] {
            while (p < text.size() && static_cast<unsigned char>(text[p]) <= ' ')
                ++p;
        };
        skipBlanks();
        while (p < text.size()) {
            std::string item;
            if (text[p] == '"') {
                ++p;
                while (p < text.size()) {
                    if (text[p] == '"') {
                        if (p + 1 < text.size() && text[p + 1] == '"') {
                            item += '"';
                            p += 2;
                            continue;
                        }
                        ++p;
                        break;
                    }
                    item += text[p++];
                }
            } else {
                while (p < text.size() && text[p] != ',' && static_cast<unsigned char>(text[p]) > ' ')
                    item += text[p++];
            }
            Add(std::move(item));
            skipBlanks();
            if (p < text.size() && text[p] == ',') {
                ++p;
                skipBlanks();
                if (p >= text.size())
                    Add(std::string());
            }
        }
        EndUpdate();
    }

    // Lines joined by line ends; reading accepts LF, CR LF and CR.
    std::string Text(std::string_view lineEnd = "\n") const
    {
        std::string out;
        for (const Item& item : items_) {
            out += item.text;
            out += lineEnd;
        }
        return out;
    }
    void SetText(std::string_view text)
    {
        BeginUpdate();
        Clear();
        std::size_t p = 0;
        while (p < text.size()) {
            const std::size_t start = p;
            while (p < text.size() && text[p] != '\n' && text[p] != '\r')
                ++p;
            Add(std::string(text.substr(start, p - start)));
            if (p < text.size() && text[p] == '\r')
                ++p;
            if (p < text.size() && text[p] == '\n')
                ++p;
        }
        EndUpdate();
    }

    void BeginUpdate() { ++updateCount_; }
    void EndUpdate()
    {
        if (updateCount_ > 0 && --updateCount_ == 0)
            Changed();
    }
    int UpdateCount() const { return updateCount_; }

private:
    // Every item's place in the case-insensitive order.
    std::vector<std::uint32_t> Ranks() const
    {
        std::vector<std::string_view> texts;
        texts.reserve(items_.size());
        for (const Item& item : items_)
            texts.push_back(item.text);
        return platform::TextOrderRanks(texts);
    }

    static std::string QuoteIfNeeded(const std::string& s)
    {
        bool needs = s.empty();
        for (const char c : s)
            if (static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"')
                needs = true;
        if (!needs)
            return s;
        std::string out = "\"";
        for (const char c : s) {
            if (c == '"')
                out += '"';
            out += c;
        }
        out += '"';
        return out;
    }

    void InsertItem(int index, std::string text, T* object)
    {
        items_.insert(items_.begin() + index, Item{std::move(text), object});
        Changed();
    }
    void Free(T* object)
    {
        if constexpr (!std::is_void_v<T>) {
            if (ownsObjects_)
                delete object;
        } else {
            (void)object;
        }
    }
    void Changed()
    {
        if (updateCount_ == 0 && OnChange)
            OnChange(this);
    }

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    bool ownsObjects_ = false;
    TDuplicates duplicates_ = TDuplicates::dupAccept;
    int updateCount_ = 0;
};

using TStrings = TStringList<void>;
