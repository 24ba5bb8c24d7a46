#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// Writes the folder caches of a tree scan on a few threads of its own: creating a file costs far more on a
// disk than reading the songs it holds, and files in different folders are created side by side. The
// caller hands over finished bytes only, so nothing of the scan is shared. At most queueLimit writes wait;
// while that many do, Write writes on the caller's thread. Threads start with the first write.
class TfolderCacheWriter
{
public:
    // Writes one file; throws on failure.
    using TwriteFile = std::function<void(const std::string& fileName, std::string_view bytes)>;

    // The default writes a derived file (platform::TFileKind::Derived).
    explicit TfolderCacheWriter(std::size_t threads = 4, std::size_t queueLimit = 16, TwriteFile write = {});
    // Waits for the writes handed over; their failures go unreported.
    ~TfolderCacheWriter();
    TfolderCacheWriter(const TfolderCacheWriter&) = delete;
    TfolderCacheWriter& operator=(const TfolderCacheWriter&) = delete;

    // Throws only when it writes on the caller's thread and that write fails.
    void Write(std::string fileName, std::string bytes);
    // Rethrows the first failed write, once; the writes after it still go ahead.
    void ThrowIfFailed();
    // Waits until every write handed over is done, then rethrows the first failure.
    void Finish();

private:
    struct Tjob
    {
        std::string fileName;
        std::string bytes;
    };

    void Work(const std::stop_token& stop);

    const std::size_t threadCount_;
    const std::size_t queueLimit_;
    const TwriteFile write_;
    std::mutex mutex_;
    std::condition_variable_any jobReady_;
    std::condition_variable done_; // the queue empty and no write going on
    std::deque<Tjob> queue_;
    std::size_t busy_ = 0; // writes taken from the queue and not finished
    std::exception_ptr failure_;
    // Last: the threads end before anything they use goes.
    std::vector<std::jthread> threads_;
};
