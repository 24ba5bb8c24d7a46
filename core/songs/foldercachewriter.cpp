#include "core/songs/foldercachewriter.h"

#include "platform/atomicfile.h"

#include <algorithm>
#include <utility>

namespace {

// A batch this large goes over whatever its count: one big folder's cache is worth a thread's wake-up.
constexpr std::size_t kBatchBytes = std::size_t{1} << 16;

void WriteDerived(const std::string& fileName, std::string_view bytes)
{
    platform::WriteFileAtomically(fileName, bytes, platform::TFileKind::Derived);
}

// Every write of the batch is tried; answers the first failure.
template <class Batch, class Write>
std::exception_ptr WriteAll(const Batch& batch, const Write& write)
{
    std::exception_ptr failure;
    for (const auto& job : batch) {
        try {
            write(job.fileName, job.bytes);
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
    }
    return failure;
}

} // namespace

TfolderCacheWriter::TfolderCacheWriter(std::size_t threads, std::size_t queueLimit, std::size_t batchSize,
                                       TwriteFile write)
    : threadCount_(std::max<std::size_t>(threads, 1)), queueLimit_(std::max<std::size_t>(queueLimit, 1)),
      batchSize_(std::max<std::size_t>(batchSize, 1)),
      write_(write ? std::move(write) : TwriteFile(WriteDerived))
{}

TfolderCacheWriter::~TfolderCacheWriter()
{
    try {
        HandOver();
    } catch (...) { // written on this thread, and nobody left to tell
    }
    // A thread that finds the queue empty ends, so the batches queued are written first; the jthreads join
    // as they go.
    if (!threads_.empty())
        batchReady_.release(static_cast<std::ptrdiff_t>(threads_.size()));
}

void TfolderCacheWriter::Write(std::string fileName, std::string bytes)
{
    pendingBytes_ += bytes.size();
    pending_.push_back({std::move(fileName), std::move(bytes)});
    if (pending_.size() >= batchSize_ || pendingBytes_ >= kBatchBytes)
        HandOver();
}

void TfolderCacheWriter::HandOver()
{
    if (pending_.empty())
        return;
    Tbatch batch = std::exchange(pending_, {});
    pendingBytes_ = 0;
    std::unique_lock lock(mutex_);
    if (queuedWrites_ >= queueLimit_) {
        // The threads lag behind (busy elsewhere, or a slow file system): the caller lends a hand rather
        // than wait.
        lock.unlock();
        if (const std::exception_ptr failure = WriteAll(batch, write_))
            std::rethrow_exception(failure);
        return;
    }
    if (threads_.empty()) {
        threads_.reserve(threadCount_);
        for (std::size_t i = 0; i < threadCount_; ++i)
            threads_.emplace_back([this] { Work(); });
    }
    queuedWrites_ += batch.size();
    queue_.push_back(std::move(batch));
    lock.unlock();
    batchReady_.release();
}

std::string TfolderCacheWriter::SpareBuffer()
{
    std::vector<Tjob> written;
    {
        const std::lock_guard lock(mutex_);
        written.swap(written_);
    }
    if (written.empty())
        return {};
    std::string spare = std::move(written.back().bytes);
    spare.clear();
    // The rest is freed here, on this thread.
    return spare;
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
    HandOver();
    {
        std::unique_lock lock(mutex_);
        finishing_ = true;
        done_.wait(lock, [this] { return queue_.empty() && busy_ == 0; });
        finishing_ = false;
        written_.clear();
    }
    ThrowIfFailed();
}

void TfolderCacheWriter::Work()
{
    for (;;) {
        batchReady_.acquire();
        std::unique_lock lock(mutex_);
        if (queue_.empty())
            return;
        Tbatch batch = std::move(queue_.front());
        queue_.pop_front();
        queuedWrites_ -= batch.size();
        ++busy_;
        lock.unlock();
        const std::exception_ptr failure = WriteAll(batch, write_);
        lock.lock();
        std::move(batch.begin(), batch.end(), std::back_inserter(written_));
        --busy_;
        if (failure && !failure_)
            failure_ = failure;
        if (finishing_ && queue_.empty() && busy_ == 0)
            done_.notify_all();
    }
}
