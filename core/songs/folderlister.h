#pragma once

#include "platform/filesystem.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

// Reads the folders of a tree walk ahead of the scan, on a thread of its own: a folder's listing (one
// directory read and a stat per entry) costs about as much as reading its songs, and the two overlap. Next
// hands the folders over in the order of a depth-first walk that scans a folder before the ones below it.
// At most about aheadEntries entries wait; the thread starts at once and ends with the walk or the lister.
class TfolderLister
{
public:
    struct TfolderId
    {
        std::uint64_t device;
        std::uint64_t inode;
        bool operator==(const TfolderId&) const = default;
    };

    struct TfolderIdHash
    {
        std::size_t operator()(const TfolderId& id) const noexcept
        {
            return std::hash<std::uint64_t>()(id.inode * 0x9E3779B97F4A7C15ull ^ id.device);
        }
    };

    // Folders a scan has walked: links may lead into a folder twice, or in a circle.
    using TvisitedFolders = std::unordered_set<TfolderId, TfolderIdHash>;

    struct Tsubfolder
    {
        std::string name;
        TfolderId id;
    };

    // One reading of a folder: the files a scan offers to the plug-ins (plain and read-only ones, the cache
    // among them) and, for a tree walk, the subfolders (hidden and system ones are neither). Each entry
    // costs one stat, and its time serves the currency test and the songs read alike.
    struct Tlisting
    {
        std::string folder;
        std::vector<platform::TFolderEntry> files;
        std::vector<Tsubfolder> subfolders;
    };

    static Tlisting List(const std::string& folder, bool withSubfolders);

    // Walks root (not empty, already in visited) and the folders below it that visited does not hold yet,
    // adding them. visited belongs to the lister's thread until the lister is gone.
    TfolderLister(std::string root, TvisitedFolders& visited, std::size_t aheadEntries = 4096);
    // Stops the walk where it is.
    ~TfolderLister();
    TfolderLister(const TfolderLister&) = delete;
    TfolderLister& operator=(const TfolderLister&) = delete;

    // The next folder; nothing once the walk is over. Rethrows what ended the walk early.
    std::optional<Tlisting> Next();

private:
    void Run(const std::stop_token& stop);
    void Walk(const std::string& folder, const std::stop_token& stop);
    // Queues a listing; false when the lister stops.
    bool Put(Tlisting listing, const std::stop_token& stop);

    const std::string root_;
    TvisitedFolders& visited_;
    const std::size_t aheadEntries_;
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::deque<Tlisting> queue_;
    std::size_t queuedEntries_ = 0;
    bool finished_ = false;
    bool takerWaits_ = false;
    bool listerWaits_ = false;
    std::exception_ptr failure_;
    // Last: the thread ends before anything it uses goes.
    std::jthread thread_;
};
