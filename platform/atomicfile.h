#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Writes a file so that a crash or a full disk never leaves it half-written: the bytes go to a temporary
// file beside the target, which is flushed to disk and then renamed over the target by Commit.
// Destroying an uncommitted writer removes the temporary file and leaves the target as it was.
class TAtomicFileWriter
{
public:
    // Throws EFileError when the target is read-only (owner write bit clear) or the temporary file cannot be
    // created.
    explicit TAtomicFileWriter(std::string fileName);
    ~TAtomicFileWriter();
    TAtomicFileWriter(const TAtomicFileWriter&) = delete;
    TAtomicFileWriter& operator=(const TAtomicFileWriter&) = delete;

    // Throws EFileError on a failed write.
    void Write(const void* data, std::size_t size);
    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
    // Flushes, closes and renames into place; throws EFileError on failure (the target is then untouched).
    void Commit();

    const std::string& FileName() const { return fileName_; }

private:
    void Flush();
    void Discard() noexcept;

    std::string fileName_;
    std::string tempName_;
    int fd_ = -1;
    std::string buffer_;
};

// Convenience: the whole content in one go.
void WriteFileAtomically(const std::string& fileName, std::string_view bytes);

} // namespace platform
