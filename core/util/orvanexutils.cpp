#include "core/util/orvanexutils.h"

#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/folders.h"
#include "platform/opticaldrives.h"

#include <cstdio>
#include <optional>

std::string ExtractFileNameOnly(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos)
        name = name.substr(0, dot);
    return std::string(name);
}

// stat() never prompts for media: an empty drive is just a missing file, so no error mode is needed.
bool FileExistsNoError(const std::string& fileName)
{
    return platform::FileExists(fileName);
}

bool RegularFileExists(const std::string& fileName)
{
    const std::optional<platform::TFolderEntry> entry = platform::EntryInfo(fileName);
    return entry && !entry->IsFolder() && !entry->IsSystem();
}

TDateTime GetFileDateTime(const std::string& fileName)
{
    if (!platform::FileExists(fileName))
        return 0;
    return platform::FileModificationTime(fileName).value_or(0);
}

std::string SecondsToHMS(std::int64_t seconds)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%lld:%2.2lld:%2.2lld", static_cast<long long>(seconds / 3600),
                  static_cast<long long>((seconds % 3600) / 60), static_cast<long long>(seconds % 60));
    return buffer;
}

std::string SecondsToMS(int seconds)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d:%2.2d", seconds / 60, seconds % 60);
    return buffer;
}

std::string GetSpecialFolderPath(int folderId)
{
    const auto path = platform::SpecialFolder(folderId);
    if (!path)
        throw EOrvaneError("The special folder " + std::to_string(folderId) + " cannot be found.");
    return *path;
}

void GetCDRomDrives(TStrings& strings)
{
    strings.BeginUpdate();
    try {
        strings.Clear();
        for (const platform::TOpticalDisc& disc : platform::MountedOpticalDiscs())
            strings.Add(disc.Root);
    } catch (...) {
        strings.EndUpdate();
        throw;
    }
    strings.EndUpdate();
}

void GetVolumeSerial(const std::string& root, std::string& output)
{
    const auto serial = platform::VolumeSerialOfRoot(root);
    if (serial)
        output = FormatVolumeSerial(*serial);
}

std::string FormatVolumeSerial(std::uint32_t serial)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%8.8X", static_cast<unsigned>(serial));
    return buffer;
}

std::int64_t StrToIntDef(std::string_view s, std::int64_t def)
{
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size())
        return def;
    std::int64_t value = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int digit = -1;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        if (digit < 0)
            return def;
        value = value * base + digit;
        if (value > 0xFFFFFFFFll)
            return def;
    }
    if (base == 10 && value > (negative ? 2147483648ll : 2147483647ll))
        return def;
    return negative ? -value : value;
}
