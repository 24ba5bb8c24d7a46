#include "wavfile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

namespace {

std::uint16_t Get16(const TWAVheader& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t Get32(const TWAVheader& b, std::size_t at)
{
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

bool IdAt(const std::uint8_t* p, const char* id)
{
    return std::memcmp(p, id, 4) == 0;
}

// Reads exactly size bytes at offset; false on an error or when the file ends first.
bool ReadAt(int fd, std::uint64_t offset, std::uint8_t* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, data + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

class TFileHandle
{
public:
    // Never waits: a FIFO (or a device) found where a file was listed must not hold the read for good.
    explicit TFileHandle(const std::string& fileName)
        : fd_(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
    {}
    ~TFileHandle()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TFileHandle(const TFileHandle&) = delete;
    TFileHandle& operator=(const TFileHandle&) = delete;
    int Fd() const { return fd_; }

private:
    int fd_;
};

// Reads 40 bytes from the start of the file and, when bytes 36 to 39 are not "data", the "fact" sample
// count that follows the "fmt " chunk into bytes 40 to 43. False on any input error or a short file.
bool ReadWAVHeader(int fd, TWAVheader& buffer)
{
    if (!ReadAt(fd, 0, buffer.data(), 40))
        return false;
    if (IdAt(&buffer[36], "data"))
        return true;
    // The chunk after "fmt " starts at fmt size + 20; its sample count sits 8 bytes further on. Only a
    // "fact" chunk holds one: any other chunk there (LIST, bext, the tail of a longer "fmt ") would give
    // a meaningless count.
    std::uint8_t next[12];
    if (!ReadAt(fd, std::uint64_t{Get32(buffer, 16)} + 20, next, sizeof next))
        return false;
    if (IdAt(next, "fact"))
        std::memcpy(&buffer[40], next + 8, 4);
    return true;
}

} // namespace

bool IsValidWAVHeader(const TWAVheader& buffer)
{
    const std::uint16_t channels = Get16(buffer, 22);
    return IdAt(&buffer[0], "RIFF") && IdAt(&buffer[8], "WAVE") && IdAt(&buffer[12], "fmt ") &&
           (channels == 1 || channels == 2);
}

void TWAVfile::ResetFields()
{
    *this = TWAVfile();
}

bool TWAVfile::ReadFromFile(const std::string& fileName)
{
    ResetFields();
    TWAVheader buffer{};
    const TFileHandle file(fileName);
    if (file.Fd() < 0 || !ReadWAVHeader(file.Fd(), buffer))
        return false;
    if (!IsValidWAVHeader(buffer))
        return true;

    valid_ = true;
    formatTag_ = Get16(buffer, 20);
    channels_ = Get16(buffer, 22);
    sampleRate_ = Get32(buffer, 24);
    bytesPerSecond_ = Get32(buffer, 28);
    blockAlign_ = Get16(buffer, 32);
    bitsPerSample_ = Get16(buffer, 34);
    factCount_ = Get32(buffer, 40);

    // With a "fact" chunk of 4 bytes (12 with its header) between "fmt " and "data".
    headerSize_ = IdAt(&buffer[36], "data") ? 44 : std::uint64_t{Get32(buffer, 16)} + 40;
    fileSize_ = std::uint64_t{Get32(buffer, 4)} + 8;
    // A header that claims more than the file holds (a cut copy, a writer that never closed the file) is
    // timed by the bytes really there.
    // Asked of the file just read, not of its name again: a scan reads thousands of them.
    struct stat st
    {
    };
    if (::fstat(file.Fd(), &st) == 0 && S_ISREG(st.st_mode) &&
        static_cast<std::uint64_t>(st.st_size) < fileSize_)
        fileSize_ = static_cast<std::uint64_t>(st.st_size);
    if (fileSize_ < headerSize_)
        headerSize_ = fileSize_;
    return true;
}

double TWAVfile::GetDuration() const
{
    if (!valid_)
        return 0;
    if (factCount_ > 0 && sampleRate_ != 0)
        return static_cast<double>(factCount_) / sampleRate_;
    if (factCount_ == 0 && bytesPerSecond_ != 0)
        return static_cast<double>(fileSize_ - headerSize_) / bytesPerSecond_;
    return 0;
}
