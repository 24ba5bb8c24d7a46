#include "core/songs/sharedtext.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace {

// The distinct values in an open table of links to them, at most half full, found by their text's hash:
// a lookup reads a slot and the value it points at, which matters when a large library's songs come in an
// order where every folder text is another one. Never destroyed: songs held in static objects may go
// after it.
class Pool
{
public:
    TsharedText::Entry* Take(std::string_view text)
    {
        const auto hash = Hash(text);
        const std::lock_guard lock(mutex_);
        return TakeLocked(text, hash);
    }
    // Takes a batch: the slots, then the values, then their texts are asked for before any is read.
    void TakeMany(const std::string_view* texts, const std::uint32_t* hashes, TsharedText::Entry** out,
                  std::size_t count)
    {
        const std::lock_guard lock(mutex_);
        while ((used_ + count) * 2 > slots_.size())
            Grow();
        for (std::size_t i = 0; i < count; ++i)
            __builtin_prefetch(&slots_[hashes[i] & Mask()]);
        for (std::size_t i = 0; i < count; ++i)
            if (const TsharedText::Entry* entry = slots_[hashes[i] & Mask()])
                __builtin_prefetch(entry);
        for (std::size_t i = 0; i < count; ++i)
            if (const TsharedText::Entry* entry = slots_[hashes[i] & Mask()];
                entry && entry->hash == hashes[i])
                __builtin_prefetch(entry->text.data());
        for (std::size_t i = 0; i < count; ++i)
            out[i] = texts[i].empty() ? nullptr : TakeLocked(texts[i], hashes[i]);
    }
    static std::uint32_t Hash(std::string_view text)
    {
        return static_cast<std::uint32_t>(std::hash<std::string_view>{}(text));
    }
    void AddHolder(TsharedText::Entry* entry)
    {
        const std::lock_guard lock(mutex_);
        ++entry->holders;
    }
    void Drop(TsharedText::Entry* entry)
    {
        const std::lock_guard lock(mutex_);
        if (--entry->holders > 0)
            return;
        std::size_t at = entry->hash & Mask();
        while (slots_[at] != entry)
            at = (at + 1) & Mask();
        Erase(at);
        --used_;
        delete entry;
    }

private:
    TsharedText::Entry* TakeLocked(std::string_view text, std::uint32_t hash)
    {
        std::size_t at = Find(text, hash);
        if (slots_[at]) {
            ++slots_[at]->holders;
            return slots_[at];
        }
        if ((used_ + 1) * 2 > slots_.size()) {
            Grow();
            at = Find(text, hash);
        }
        auto* entry = new TsharedText::Entry{std::string(text), 1, hash};
        slots_[at] = entry;
        ++used_;
        return entry;
    }
    std::size_t Mask() const { return slots_.size() - 1; }
    // The slot holding the text, or the free slot where it would go.
    std::size_t Find(std::string_view text, std::uint32_t hash) const
    {
        std::size_t at = hash & Mask();
        while (slots_[at] && (slots_[at]->hash != hash || slots_[at]->text != text))
            at = (at + 1) & Mask();
        return at;
    }
    void Grow()
    {
        std::vector<TsharedText::Entry*> old(slots_.size() * 2);
        old.swap(slots_);
        for (TsharedText::Entry* entry : old) {
            if (!entry)
                continue;
            std::size_t at = entry->hash & Mask();
            while (slots_[at])
                at = (at + 1) & Mask();
            slots_[at] = entry;
        }
    }
    // Frees a slot and moves back the slots after it that a probe would no longer reach.
    void Erase(std::size_t hole)
    {
        for (std::size_t at = (hole + 1) & Mask(); slots_[at]; at = (at + 1) & Mask()) {
            const std::size_t home = slots_[at]->hash & Mask();
            // The slot stays when its home lies cyclically in (hole, at].
            const bool stays = hole < at ? (home > hole && home <= at) : (home > hole || home <= at);
            if (!stays) {
                slots_[hole] = slots_[at];
                hole = at;
            }
        }
        slots_[hole] = nullptr;
    }

    std::mutex mutex_;
    std::vector<TsharedText::Entry*> slots_ = std::vector<TsharedText::Entry*>(1024); // null: free
    std::size_t used_ = 0;
};

Pool& ThePool()
{
    static Pool* pool = new Pool;
    return *pool;
}

} // namespace

const std::string TsharedText::kNone;

TsharedText::TsharedText(std::string_view text)
{
    if (!text.empty())
        entry_ = ThePool().Take(text);
}

void TsharedText::MakeMany(const std::string_view* texts, TsharedText* out, std::size_t count)
{
    constexpr std::size_t kBatch = 64;
    std::uint32_t hashes[kBatch];
    Entry* entries[kBatch];
    for (std::size_t from = 0; from < count; from += kBatch) {
        const std::size_t n = std::min(kBatch, count - from);
        for (std::size_t i = 0; i < n; ++i)
            hashes[i] = Pool::Hash(texts[from + i]);
        ThePool().TakeMany(texts + from, hashes, entries, n);
        for (std::size_t i = 0; i < n; ++i) {
            out[from + i].Release();
            out[from + i].entry_ = entries[i];
        }
    }
}

TsharedText::TsharedText(const TsharedText& other) : entry_(other.entry_)
{
    if (entry_)
        ThePool().AddHolder(entry_);
}

TsharedText& TsharedText::operator=(const TsharedText& other)
{
    if (entry_ != other.entry_) {
        if (other.entry_)
            ThePool().AddHolder(other.entry_);
        Release();
        entry_ = other.entry_;
    }
    return *this;
}

TsharedText& TsharedText::operator=(TsharedText&& other) noexcept
{
    if (this != &other) {
        Release();
        entry_ = other.entry_;
        other.entry_ = nullptr;
    }
    return *this;
}

TsharedText::~TsharedText()
{
    Release();
}

void TsharedText::Release()
{
    if (entry_)
        ThePool().Drop(entry_);
    entry_ = nullptr;
}
