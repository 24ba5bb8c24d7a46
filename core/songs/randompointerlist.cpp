#include "core/songs/randompointerlist.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>

namespace {

// Seeded from the clock at every shuffle; the counter keeps two shuffles within one clock tick apart.
std::mt19937_64 ClockSeededGenerator()
{
    static std::atomic<std::uint64_t> counter{0};
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return std::mt19937_64(static_cast<std::uint64_t>(now) ^ (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull));
}

} // namespace

void TrandomPointerList::Fill(const std::vector<TaudioTag*>& items)
{
    BeginUpdate();
    items_ = items;
    EndUpdate();
}

void TrandomPointerList::Clear()
{
    items_.clear();
    Changed();
}

void TrandomPointerList::EndUpdate()
{
    if (updateCount_ > 0)
        --updateCount_;
    Changed();
}

TaudioTag* TrandomPointerList::Extract(int i)
{
    if (i < 0 || i >= GetCount())
        return nullptr;
    TaudioTag* item = items_[static_cast<std::size_t>(i)];
    items_.erase(items_.begin() + i);
    return item;
}

TaudioTag* TrandomPointerList::GetItem(int i) const
{
    if (i < 0 || i >= GetCount())
        return nullptr;
    return items_[static_cast<std::size_t>(i)];
}

void TrandomPointerList::Forget(const TaudioTag* song)
{
    items_.erase(std::remove(items_.begin(), items_.end(), song), items_.end());
}

void TrandomPointerList::ForgetIf(const std::function<bool(TaudioTag*)>& doomed)
{
    std::erase_if(items_, doomed);
}

void TrandomPointerList::Changed()
{
    if (updateCount_ != 0)
        return;
    Shuffle();
    if (OnChange)
        OnChange(this);
}

void TrandomPointerList::Shuffle()
{
    // Each step moves an entry picked uniformly among those left to the new order; the gap it leaves is
    // filled from the end, so a pass is linear.
    std::mt19937_64 random = ClockSeededGenerator();
    std::vector<TaudioTag*> left;
    left.swap(items_);
    items_.reserve(left.size());
    while (!left.empty()) {
        std::uniform_int_distribution<std::size_t> pick(0, left.size() - 1);
        const std::size_t i = pick(random);
        items_.push_back(left[i]);
        left[i] = left.back();
        left.pop_back();
    }
}
