#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <semaphore>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

// Writes the folder caches of a tree scan on a few threads of its own: creating a file costs far more on a
// disk than reading the songs it holds, and files in different folders are created side by side. The
// caller hands over finished bytes only, so nothing of the scan is shared. Writes go over in batches, since
// waking a thread costs the caller more than making a small cache. At most queueLimit writes wait; while
// that many do, the caller writes its batch on its own thread. Threads start with the first batch.
class TfolderCacheWriter
{
public:
    // Writes one file; throws on failure.
    using TwriteFile = std::function<void(const std::string& fileName, std::string_view bytes)>;

    // The default writes a derived file (platform::TFileKind::Derived).
    explicit TfolderCacheWriter(std::size_t threads = 4, std::size_t queueLimit = 32,
                                std::size_t batchSize = 8, TwriteFile write = {});
    // Writes what was handed over and waits for it; the failures go unreported.
    ~TfolderCacheWriter();
    TfolderCacheWriter(const TfolderCacheWriter&) = delete;
    TfolderCacheWriter& operator=(const TfolderCacheWriter&) = delete;

    // Throws only when it writes on the caller's thread and a write fails; the batch's other writes still
    // go ahead.
    void Write(std::string fileName, std::string bytes);
    // The storage of a cache already written, emptied, or an empty string. The caller makes its next cache
    // in it, so that the caller's thread alone allocates and frees the caches' storage: freeing on a writer
    // thread contends with the scan for the allocator.
    std::string SpareBuffer();
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
    using Tbatch = std::vector<Tjob>;

    void HandOver();
    void Work();

    const std::size_t threadCount_;
    const std::size_t queueLimit_;
    const std::size_t batchSize_;
    const TwriteFile write_;
    Tbatch pending_; // the caller's thread alone
    std::size_t pendingBytes_ = 0;
    std::mutex mutex_;
    // One release per batch queued, and one per thread when they are to end. A semaphore rather than a
    // condition variable: signalling one blocks the caller while woken threads leave their wait.
    std::counting_semaphore<> batchReady_{0};
    std::condition_variable done_; // nothing queued and no write going on, while Finish waits
    bool finishing_ = false;
    std::deque<Tbatch> queue_;
    std::size_t queuedWrites_ = 0;
    std::size_t busy_ = 0;      // batches taken from the queue and not finished
    std::vector<Tjob> written_; // freed, or their storage reused, on the caller's thread
    std::exception_ptr failure_;
    // Last: the threads end before anything they use goes.
    std::vector<std::jthread> threads_;
};
