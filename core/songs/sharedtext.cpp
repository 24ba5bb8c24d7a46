#include "core/songs/sharedtext.h"

#include <cstddef>
#include <mutex>
#include <unordered_map>

struct TsharedText::Entry
{
    std::string text;
    std::size_t holders = 0;
};

namespace {

// The distinct values by their text. Never destroyed: songs held in static objects may go after it.
class Pool
{
public:
    TsharedText::Entry* Take(std::string_view text)
    {
        const std::lock_guard lock(mutex_);
        const auto it = byText_.find(text);
        if (it != byText_.end()) {
            ++it->second->holders;
            return it->second;
        }
        auto* entry = new TsharedText::Entry{std::string(text), 1};
        byText_.emplace(std::string_view(entry->text), entry);
        return entry;
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
        byText_.erase(std::string_view(entry->text));
        delete entry;
    }

private:
    std::mutex mutex_;
    std::unordered_map<std::string_view, TsharedText::Entry*> byText_;
};

Pool& ThePool()
{
    static Pool* pool = new Pool;
    return *pool;
}

} // namespace

TsharedText::TsharedText(std::string_view text)
{
    if (!text.empty())
        entry_ = ThePool().Take(text);
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

const std::string& TsharedText::Get() const
{
    static const std::string empty;
    return entry_ ? entry_->text : empty;
}

void TsharedText::Release()
{
    if (entry_)
        ThePool().Drop(entry_);
    entry_ = nullptr;
}
