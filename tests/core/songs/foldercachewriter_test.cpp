// The folder cache writer's threads: every write handed over is done, in batches or alone, failures reach the
// caller once, and written caches lend their storage back.
#include "core/songs/foldercachewriter.h"
#include "platform/error.h"

#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace {

// Records what it writes; throws for one name, and takes its time so that the queue fills up.
class RecordingWrite
{
public:
    explicit RecordingWrite(std::string failing = {}) : failing_(std::move(failing)) {}

    TfolderCacheWriter::TwriteFile Function()
    {
        return [this](const std::string& fileName, std::string_view bytes) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            if (fileName == failing_)
                throw EFileError("Cannot write file \"" + fileName + "\"");
            const std::lock_guard lock(mutex_);
            written_.insert(fileName + "=" + std::string(bytes));
        };
    }
    std::set<std::string> Written()
    {
        const std::lock_guard lock(mutex_);
        return written_;
    }

private:
    const std::string failing_;
    std::mutex mutex_;
    std::set<std::string> written_;
};

std::set<std::string> Expected(int count, int skip = -1)
{
    std::set<std::string> out;
    for (int i = 0; i < count; ++i)
        if (i != skip)
            out.insert(std::to_string(i) + "=bytes " + std::to_string(i));
    return out;
}

// A short queue: some batches are written on the caller's thread, and a failure there is thrown at once,
// after the rest of its batch.
TEST(FolderCacheWriter, EveryWriteIsDoneAndTheFirstFailureReachesTheCallerOnce)
{
    RecordingWrite record("7");
    TfolderCacheWriter writer(3, 2, 3, record.Function());
    int failures = 0;
    for (int i = 0; i < 40; ++i) {
        try {
            writer.Write(std::to_string(i), "bytes " + std::to_string(i));
        } catch (const EFileError&) {
            ++failures;
        }
    }
    try {
        writer.Finish();
    } catch (const EFileError&) {
        ++failures;
    }
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(record.Written(), Expected(40, 7));
    EXPECT_NO_THROW(writer.ThrowIfFailed());
    writer.Write("40", "bytes 40");
    EXPECT_NO_THROW(writer.Finish());
    EXPECT_EQ(record.Written().size(), 40u);
}

TEST(FolderCacheWriter, DestroyingItFinishesTheWritesAndKeepsTheirFailures)
{
    RecordingWrite record("3");
    {
        // The last batch is not full: it goes when the writer does.
        TfolderCacheWriter writer(2, 40, 4, record.Function());
        for (int i = 0; i < 21; ++i)
            writer.Write(std::to_string(i), "bytes " + std::to_string(i));
    }
    EXPECT_EQ(record.Written(), Expected(21, 3));
    // No write at all starts no thread and has nothing to wait for.
    TfolderCacheWriter idle;
    EXPECT_NO_THROW(idle.Finish());
}

TEST(FolderCacheWriter, AWrittenCacheLendsItsStorageToTheNextOne)
{
    RecordingWrite record;
    TfolderCacheWriter writer(1, 8, 1, record.Function());
    std::string bytes(1000, 'x');
    const char* storage = bytes.data();
    writer.Write("0", std::move(bytes));
    std::string spare;
    for (int tries = 0; tries < 5000 && spare.capacity() < 1000; ++tries) {
        spare = writer.SpareBuffer();
        if (spare.capacity() < 1000)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(spare.empty());
    EXPECT_EQ(spare.data(), storage);
    EXPECT_EQ(writer.SpareBuffer().capacity(), std::string().capacity()); // nothing else written yet
    writer.Finish();
    EXPECT_EQ(record.Written(), std::set<std::string>{"0=" + std::string(1000, 'x')});
}

} // namespace
