#include "atomicfile.h"

#include "error.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

std::string ErrorText(const std::string& what, const std::string& fileName)
{
    return what + " \"" + fileName + "\": " + std::strerror(errno);
}

} // namespace

TAtomicFileWriter::TAtomicFileWriter(std::string fileName) : fileName_(std::move(fileName))
{
    // A read-only file stays as it is: renaming over it would replace it all the same.
    struct stat facts = {};
    if (::stat(fileName_.c_str(), &facts) == 0 && S_ISREG(facts.st_mode) && (facts.st_mode & S_IWUSR) == 0)
        throw EFileError("Cannot write file \"" + fileName_ + "\": it is read-only");
    tempName_ = fileName_ + ".tmp-XXXXXX";
    fd_ = ::mkstemp(tempName_.data());
    if (fd_ < 0)
        throw EFileError(ErrorText("Cannot create file", fileName_));
    // Keep the permissions an ordinary new file would get.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
    buffer_.reserve(kBufferSize);
}

TAtomicFileWriter::~TAtomicFileWriter()
{
    Discard();
}

void TAtomicFileWriter::Write(const void* data, std::size_t size)
{
    if (fd_ < 0)
        throw EFileError("Cannot write file \"" + fileName_ + "\": it is closed");
    if (buffer_.size() + size > kBufferSize)
        Flush();
    if (size >= kBufferSize) {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t n = ::write(fd_, p, size);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                throw EFileError(ErrorText("Cannot write file", fileName_));
            p += n;
            size -= static_cast<std::size_t>(n);
        }
        return;
    }
    buffer_.append(static_cast<const char*>(data), size);
}

void TAtomicFileWriter::Flush()
{
    const char* p = buffer_.data();
    std::size_t left = buffer_.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw EFileError(ErrorText("Cannot write file", fileName_));
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

void TAtomicFileWriter::Commit()
{
    if (fd_ < 0)
        throw EFileError("Cannot write file \"" + fileName_ + "\": it is closed");
    Flush();
    if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS)
        throw EFileError(ErrorText("Cannot write file", fileName_));
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        ::unlink(tempName_.c_str());
        throw EFileError(ErrorText("Cannot write file", fileName_));
    }
    if (::rename(tempName_.c_str(), fileName_.c_str()) != 0) {
        const std::string message = ErrorText("Cannot replace file", fileName_);
        ::unlink(tempName_.c_str());
        throw EFileError(message);
    }
}

void TAtomicFileWriter::Discard() noexcept
{
    if (fd_ < 0)
        return;
    ::close(fd_);
    fd_ = -1;
    ::unlink(tempName_.c_str());
}

void WriteFileAtomically(const std::string& fileName, std::string_view bytes)
{
    TAtomicFileWriter writer(fileName);
    writer.Write(bytes);
    writer.Commit();
}

} // namespace platform
