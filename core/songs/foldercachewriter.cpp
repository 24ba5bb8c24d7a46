#include "core/songs/foldercachewriter.h"

#include "platform/atomicfile.h"

#include <algorithm>
#include <utility>

namespace {

// Waiting writes that wake a second writer although one is at work: fewer and it keeps up alone, and each
// wake-up costs the scanning thread a system call.
constexpr std::size_t kWakeAnotherAt = 4;

void WriteDerived(const std::string& fileName, std::string_view bytes)
{
    platform::WriteFileAtomically(fileName, bytes, platform::TFileKind::Derived);
}

} // namespace

TfolderCacheWriter::TfolderCacheWriter(std::size_t threads, std::size_t queueLimit, TwriteFile write)
    : threadCount_(std::max<std::size_t>(threads, 1)), queueLimit_(std::max<std::size_t>(queueLimit, 1)),
      write_(write ? std::move(write) : TwriteFile(WriteDerived))
{}

TfolderCacheWriter::~TfolderCacheWriter()
{
    // A stopped thread still empties the queue before it ends; the jthreads join as they go.
    for (std::jthread& thread : threads_)
        thread.request_stop();
}

void TfolderCacheWriter::Write(std::string fileName, std::string bytes)
{
    std::unique_lock lock(mutex_);
    if (threads_.empty()) {
        threads_.reserve(threadCount_);
        for (std::size_t i = 0; i < threadCount_; ++i)
            threads_.emplace_back([this](const std::stop_token& stop) { Work(stop); });
    }
    if (queue_.size() >= queueLimit_) {
        // The threads lag behind (busy elsewhere, or a slow file system): the caller lends a hand rather
        // than wait.
        lock.unlock();
        write_(fileName, bytes);
        return;
    }
    queue_.push_back({std::move(fileName), std::move(bytes)});
    // A writer at work takes the next write when it is done.
    const bool wake = busy_ == 0 || queue_.size() >= kWakeAnotherAt;
    lock.unlock();
    if (wake)
        jobReady_.notify_one();
}

void TfolderCacheWriter::ThrowIfFailed()
{
    std::exception_ptr failure;
    {
        const std::lock_guard lock(mutex_);
        failure = std::exchange(failure_, nullptr);
    }
    if (failure)
        std::rethrow_exception(failure);
}

void TfolderCacheWriter::Finish()
{
    {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return queue_.empty() && busy_ == 0; });
    }
    ThrowIfFailed();
}

void TfolderCacheWriter::Work(const std::stop_token& stop)
{
    std::unique_lock lock(mutex_);
    while (jobReady_.wait(lock, stop, [this] { return !queue_.empty(); })) {
        Tjob job = std::move(queue_.front());
        queue_.pop_front();
        ++busy_;
        lock.unlock();
        std::exception_ptr failure;
        try {
            write_(job.fileName, job.bytes);
        } catch (...) {
            failure = std::current_exception();
        }
        lock.lock();
        --busy_;
        if (failure && !failure_)
            failure_ = failure;
        done_.notify_all();
    }
}
