#include "core/songs/folderlister.h"

#include <utility>

namespace {

// Folders queued before a waiting taker is woken: a wake-up costs the lister about what listing a small
// folder does, and a rescan, which reads only caches, keeps up with the lister and would wait per folder.
constexpr std::size_t kWakeTakerAt = 8;

} // namespace

TfolderLister::Tlisting TfolderLister::List(const std::string& folder, bool withSubfolders)
{
    Tlisting listing;
    listing.folder = folder;
    platform::ForEachEntry(folder, "*.*", withSubfolders ? platform::faDirectory : platform::faReadOnly,
                           [&](const platform::TFolderEntry& entry) {
                               if (!entry.IsFolder())
                                   listing.files.push_back(entry);
                               else if (withSubfolders)
                                   listing.subfolders.push_back({entry.Name, {entry.Device, entry.Inode}});
                               return true;
                           });
    return listing;
}

TfolderLister::TfolderLister(std::string root, TvisitedFolders& visited, std::size_t aheadEntries)
    : root_(std::move(root)), visited_(visited), aheadEntries_(aheadEntries),
      thread_([this](const std::stop_token& stop) { Run(stop); })
{}

TfolderLister::~TfolderLister() = default;

std::optional<TfolderLister::Tlisting> TfolderLister::Next()
{
    std::unique_lock lock(mutex_);
    if (queue_.empty() && !finished_) {
        takerWaits_ = true;
        changed_.wait(lock, [this] { return !queue_.empty() || finished_; });
    }
    if (queue_.empty()) {
        if (failure_)
            std::rethrow_exception(std::exchange(failure_, nullptr));
        return std::nullopt;
    }
    Tlisting listing = std::move(queue_.front());
    queue_.pop_front();
    queuedEntries_ -= listing.files.size() + listing.subfolders.size();
    // Woken only once half the room is free: one wake-up per batch of folders, not per folder.
    const bool wake = listerWaits_ && (queue_.empty() || queuedEntries_ <= aheadEntries_ / 2);
    if (wake)
        listerWaits_ = false;
    lock.unlock();
    if (wake)
        changed_.notify_all();
    return listing;
}

void TfolderLister::Run(const std::stop_token& stop)
{
    std::exception_ptr failure;
    try {
        Walk(root_, stop);
    } catch (...) {
        failure = std::current_exception();
    }
    {
        const std::lock_guard lock(mutex_);
        finished_ = true;
        failure_ = failure;
    }
    changed_.notify_all();
}

void TfolderLister::Walk(const std::string& folder, const std::stop_token& stop)
{
    Tlisting listing = List(folder, true);
    const std::vector<Tsubfolder> subfolders = listing.subfolders;
    if (!Put(std::move(listing), stop))
        return;
    std::string base = folder;
    while (!base.empty() && base.back() == '/')
        base.pop_back();
    for (const Tsubfolder& sub : subfolders) {
        if (stop.stop_requested())
            return;
        if (visited_.insert(sub.id).second)
            Walk(base + "/" + sub.name, stop);
    }
}

bool TfolderLister::Put(Tlisting listing, const std::stop_token& stop)
{
    std::unique_lock lock(mutex_);
    const auto hasRoom = [this] { return queue_.empty() || queuedEntries_ < aheadEntries_; };
    if (!hasRoom()) {
        listerWaits_ = true;
        if (takerWaits_) {
            takerWaits_ = false;
            changed_.notify_all();
        }
        if (!changed_.wait(lock, stop, hasRoom))
            return false;
    }
    queuedEntries_ += listing.files.size() + listing.subfolders.size();
    queue_.push_back(std::move(listing));
    const bool wake = takerWaits_ && (queue_.size() >= kWakeTakerAt || queuedEntries_ >= aheadEntries_ / 2);
    if (wake)
        takerWaits_ = false;
    lock.unlock();
    if (wake)
        changed_.notify_all();
    return !stop.stop_requested();
}
