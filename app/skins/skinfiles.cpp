#include "app/skins/skinfiles.h"

#include "platform/atomicfile.h"
#include "platform/error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace fs = std::filesystem;

namespace skinfiles {

namespace {

std::uint32_t Le32(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

std::uint16_t Le16(std::string_view bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

void SetReason(std::string* reason, const char* text)
{
    if (reason)
        *reason = text;
}

} // namespace

std::optional<std::string> ReadRegularFile(const std::string& path, std::uintmax_t maxSize,
                                           std::string* reason)
{
    // Opened without waiting: a FIFO with no writer would otherwise block the open for good.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        SetReason(reason, "cannot be read");
        return std::nullopt;
    }
    struct Closer
    {
        int fd;
        ~Closer() { ::close(fd); }
    } const closer{fd};
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0) {
        SetReason(reason, "cannot be read");
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        SetReason(reason, "is not a regular file");
        return std::nullopt;
    }
    if (static_cast<std::uintmax_t>(info.st_size) > maxSize) {
        SetReason(reason, "is too large");
        return std::nullopt;
    }
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            SetReason(reason, "cannot be read");
            return std::nullopt;
        }
        if (got == 0)
            break;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > maxSize) { // grew while read
            SetReason(reason, "is too large");
            return std::nullopt;
        }
    }
    return bytes;
}

bool IsWholeBitmap(std::string_view bytes)
{
    constexpr std::size_t kFileHeader = 14;
    if (bytes.size() < kFileHeader + 12 || bytes[0] != 'B' || bytes[1] != 'M')
        return false;
    const std::uint32_t fileSize = Le32(bytes, 2);
    const std::uint32_t dataOffset = Le32(bytes, 10);
    const std::uint32_t infoSize = Le32(bytes, 14);
    if (fileSize > bytes.size() || dataOffset > bytes.size() || infoSize < 12 ||
        kFileHeader + infoSize > bytes.size())
        return false;
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::uint32_t bits = 0;
    std::uint32_t compression = 0;
    if (infoSize == 12) {
        width = Le16(bytes, 18);
        height = static_cast<std::int16_t>(Le16(bytes, 20));
        bits = Le16(bytes, 24);
    } else {
        if (infoSize < 40)
            return false;
        width = static_cast<std::int32_t>(Le32(bytes, 18));
        height = static_cast<std::int32_t>(Le32(bytes, 22));
        bits = Le16(bytes, 28);
        compression = Le32(bytes, 30);
    }
    if (width <= 0 || height == 0 || bits == 0 || bits > 32)
        return false;
    if (height < 0)
        height = -height;
    // Compressed pixel data has no fixed length; its stored size must fit.
    if (compression == 1 || compression == 2)
        return infoSize >= 40 && std::uint64_t{dataOffset} + Le32(bytes, 34) <= bytes.size();
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    return std::uint64_t{dataOffset} + stride * static_cast<std::uint64_t>(height) <= bytes.size();
}

std::string Resolved(const std::string& path)
{
    std::error_code ec;
    const fs::path resolved = fs::weakly_canonical(fs::path(path), ec);
    return ec ? fs::path(path).lexically_normal().string() : resolved.string();
}

bool IsDirectlyIn(const std::string& path, const std::string& folder)
{
    if (path.empty() || folder.empty())
        return false;
    return fs::path(Resolved(path)).parent_path() == fs::path(Resolved(folder));
}

bool IsSubfolderOf(const std::string& path, const std::string& folder)
{
    std::error_code ec;
    return IsDirectlyIn(path, folder) && fs::is_directory(fs::path(Resolved(path)), ec);
}

void CopyFileAtomically(const std::string& from, const std::string& to)
{
    std::string reason;
    const std::optional<std::string> bytes = ReadRegularFile(from, kMaxBitmapSize, &reason);
    if (!bytes)
        throw EFileError("The skin file " + from + " " + reason);
    platform::WriteFileAtomically(to, *bytes, platform::TFileKind::Data, platform::TLinks::Replace);
}

} // namespace skinfiles
