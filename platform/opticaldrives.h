#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Optical discs: which are mounted, and the volume serial number that names a disc's library catalogue.
namespace platform {

struct TMountEntry
{
    std::string Device;
    std::string MountPoint;
    std::string FsType;
};

// The lines of a mount table (/proc/self/mounts format: device, mount point, type, options...), with the
// octal escapes (\040 for a space) decoded. Malformed lines are skipped.
std::vector<TMountEntry> ParseMountTable(std::string_view text);

// An iso9660 or udf file system, or a device /dev/sr*, /dev/scd* or /dev/cdrom*.
bool IsOpticalMount(const TMountEntry& entry);

struct TOpticalDisc
{
    std::string Root;   // mount point with a trailing "/"
    std::string Device; // the device or image file the disc is read from
    std::string FsType;
};

// The optical discs of a mount table, sorted by mount point; when a mount point appears twice, the later
// mount (which hides the earlier one) counts.
std::vector<TOpticalDisc> OpticalDiscs(std::string_view mountTable);
// The same for the running system: /proc/self/mounts, or the file named by $ORVANE_MOUNT_TABLE, so that
// tests can present a folder and an image file as a mounted disc.
std::vector<TOpticalDisc> MountedOpticalDiscs();

// True when path is the root of one of the discs or lies below it (a prefix test on whole folder names:
// "/media/cd2" is not on the disc at "/media/cd/").
bool IsPathOnDisc(std::string_view path, const std::vector<TOpticalDisc>& discs);
// The same for the discs mounted now.
bool IsOnOpticalDisc(std::string_view path);

// The volume serial number of the disc in a device or image file, read from its volume descriptors without
// mounting: ISO 9660 (the Joliet descriptor when there is one, else the primary) or, for discs without
// ISO 9660 descriptors, UDF. Nothing when the file cannot be read or holds neither.
std::optional<std::uint32_t> ReadVolumeSerial(const std::string& deviceOrImage);
// The same computed on one 2048-byte volume descriptor: its bytes summed separately in each of the four
// positions of every 4-byte group, the sum of position 0 giving the serial's highest byte.
std::uint32_t VolumeDescriptorChecksum(const unsigned char* descriptor);

// The serial of the mounted disc whose root is root (the trailing "/" may be missing).
std::optional<std::uint32_t> VolumeSerialOfRoot(const std::string& root);

} // namespace platform
