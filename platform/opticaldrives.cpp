#include "opticaldrives.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

namespace platform {
namespace {

constexpr std::size_t kSectorSize = 2048;
using Sector = std::array<unsigned char, kSectorSize>;

std::string Unescape(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
            field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7') {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

bool StartsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

// Reads whole sectors; a short read counts as a failure.
class SectorReader
{
public:
    explicit SectorReader(const std::string& fileName)
        : fd_(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK))
    {}
    ~SectorReader()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    SectorReader(const SectorReader&) = delete;
    SectorReader& operator=(const SectorReader&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    bool Read(std::uint64_t sector, Sector& buffer) const
    {
        std::size_t done = 0;
        const auto offset = static_cast<off_t>(sector * kSectorSize);
        while (done < kSectorSize) {
            const ssize_t n =
                ::pread(fd_, buffer.data() + done, kSectorSize - done, offset + static_cast<off_t>(done));
            if (n <= 0)
                return false;
            done += static_cast<std::size_t>(n);
        }
        return true;
    }

private:
    int fd_;
};

constexpr std::uint64_t kFirstDescriptorSector = 16;
constexpr int kMaxDescriptors = 64; // a sane bound for damaged or hostile media

std::uint32_t Le32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

bool IsJoliet(const Sector& d)
{
    // Escape sequences %/@, %/C or %/E mark a UCS-2 supplementary descriptor.
    return d[88] == 0x25 && d[89] == 0x2F && (d[90] == 0x40 || d[90] == 0x43 || d[90] == 0x45);
}

// ISO 9660: the checksum of the Joliet descriptor when the disc has one, else of the primary descriptor.
std::optional<std::uint32_t> IsoSerial(const SectorReader& reader)
{
    std::optional<std::uint32_t> primary;
    Sector d{};
    for (int i = 0; i < kMaxDescriptors; ++i) {
        if (!reader.Read(kFirstDescriptorSector + static_cast<std::uint64_t>(i), d) ||
            std::memcmp(d.data() + 1, "CD001", 5) != 0)
            break;
        if (d[0] == 255)
            break;
        if (d[0] == 1 && !primary)
            primary = VolumeDescriptorChecksum(d.data());
        else if (d[0] == 2 && primary && IsJoliet(d))
            return VolumeDescriptorChecksum(d.data());
    }
    return primary;
}

// A UDF descriptor tag with the expected identifier and a correct checksum.
bool IsUdfTag(const Sector& d, unsigned identifier)
{
    if ((d[0] | d[1] << 8) != static_cast<int>(identifier))
        return false;
    unsigned sum = 0;
    for (int i = 0; i < 16; ++i)
        if (i != 4)
            sum += d[static_cast<std::size_t>(i)];
    return (sum & 0xFF) == d[4];
}

// UDF: the checksum of the primary volume descriptor of the main descriptor sequence, found through the
// anchor at sector 256 (or 512 on discs that were not closed).
std::optional<std::uint32_t> UdfSerial(const SectorReader& reader)
{
    bool nsr = false;
    Sector d{};
    for (int i = 0; i < kMaxDescriptors; ++i) {
        if (!reader.Read(kFirstDescriptorSector + static_cast<std::uint64_t>(i), d))
            break;
        if (std::memcmp(d.data() + 1, "CD001", 5) == 0)
            continue; // ISO 9660 descriptors may come first
        if (d[0] != 0)
            break;
        if (std::memcmp(d.data() + 1, "NSR02", 5) == 0 || std::memcmp(d.data() + 1, "NSR03", 5) == 0)
            nsr = true;
        else if (std::memcmp(d.data() + 1, "BEA01", 5) != 0 && std::memcmp(d.data() + 1, "BOOT2", 5) != 0)
            break; // TEA01 ends the sequence, anything else is not one
        if (nsr)
            break;
    }
    if (!nsr)
        return std::nullopt;
    for (const std::uint64_t anchor : {256u, 512u}) {
        if (!reader.Read(anchor, d) || !IsUdfTag(d, 2))
            continue;
        const std::uint32_t length = Le32(d.data() + 16);
        const std::uint32_t location = Le32(d.data() + 20);
        const auto count = std::min<std::uint32_t>(length / kSectorSize, kMaxDescriptors);
        for (std::uint32_t i = 0; i < count; ++i) {
            if (!reader.Read(static_cast<std::uint64_t>(location) + i, d))
                break;
            if (IsUdfTag(d, 1))
                return VolumeDescriptorChecksum(d.data());
            if (IsUdfTag(d, 8))
                break;
        }
    }
    return std::nullopt;
}

std::string WithSlash(std::string path)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

} // namespace

std::vector<TMountEntry> ParseMountTable(std::string_view text)
{
    std::vector<TMountEntry> entries;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        std::string_view fields[3];
        int count = 0;
        std::size_t i = 0;
        while (count < 3) {
            i = line.find_first_not_of(" \t\r", i);
            if (i == std::string_view::npos)
                break;
            const std::size_t j = std::min(line.find_first_of(" \t\r", i), line.size());
            fields[count++] = line.substr(i, j - i);
            i = j;
        }
        if (count < 3 || fields[0][0] == '#')
            continue;
        entries.push_back({Unescape(fields[0]), Unescape(fields[1]), Unescape(fields[2])});
    }
    return entries;
}

bool IsOpticalMount(const TMountEntry& entry)
{
    return entry.FsType == "iso9660" || entry.FsType == "udf" || StartsWith(entry.Device, "/dev/sr") ||
           StartsWith(entry.Device, "/dev/scd") || StartsWith(entry.Device, "/dev/cdrom");
}

std::vector<TOpticalDisc> OpticalDiscs(std::string_view mountTable)
{
    // Keyed by mount point: a later mount on the same point hides the earlier one, whatever it is.
    std::map<std::string, TMountEntry> byMountPoint;
    for (TMountEntry& entry : ParseMountTable(mountTable))
        byMountPoint[entry.MountPoint] = std::move(entry);
    std::vector<TOpticalDisc> discs;
    for (const auto& [mountPoint, entry] : byMountPoint)
        if (IsOpticalMount(entry) && !mountPoint.empty() && mountPoint[0] == '/')
            discs.push_back({WithSlash(mountPoint), entry.Device, entry.FsType});
    std::sort(discs.begin(), discs.end(),
              [](const TOpticalDisc& a, const TOpticalDisc& b) { return a.Root < b.Root; });
    return discs;
}

std::vector<TOpticalDisc> MountedOpticalDiscs()
{
    const char* custom = std::getenv("ORVANE_MOUNT_TABLE");
    std::ifstream in(custom && *custom ? custom : "/proc/self/mounts", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return OpticalDiscs(text);
}

bool IsPathOnDisc(std::string_view path, const std::vector<TOpticalDisc>& discs)
{
    if (path.empty())
        return false;
    std::string folder(path);
    if (folder.back() != '/')
        folder += '/';
    for (const TOpticalDisc& disc : discs)
        if (!disc.Root.empty() && folder.compare(0, disc.Root.size(), disc.Root) == 0)
            return true;
    return false;
}

bool IsOnOpticalDisc(std::string_view path)
{
    return IsPathOnDisc(path, MountedOpticalDiscs());
}

std::uint32_t VolumeDescriptorChecksum(const unsigned char* descriptor)
{
    unsigned char sums[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < kSectorSize; ++i)
        sums[i & 3] = static_cast<unsigned char>(sums[i & 3] + descriptor[i]);
    return static_cast<std::uint32_t>(sums[0]) << 24 | static_cast<std::uint32_t>(sums[1]) << 16 |
           static_cast<std::uint32_t>(sums[2]) << 8 | static_cast<std::uint32_t>(sums[3]);
}

std::optional<std::uint32_t> ReadVolumeSerial(const std::string& deviceOrImage)
{
    const SectorReader reader(deviceOrImage);
    if (!reader.IsOpen())
        return std::nullopt;
    if (const auto iso = IsoSerial(reader))
        return iso;
    return UdfSerial(reader);
}

std::optional<std::uint32_t> VolumeSerialOfRoot(const std::string& root)
{
    if (root.empty())
        return std::nullopt;
    const std::string wanted = WithSlash(root);
    for (const TOpticalDisc& disc : MountedOpticalDiscs())
        if (disc.Root == wanted)
            return ReadVolumeSerial(disc.Device);
    return std::nullopt;
}

} // namespace platform
