#include "orvanexutils.h"

#include <sys/stat.h>

#include <cstdio>

std::string ExtractFileNameOnly(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos)
        name = name.substr(0, dot);
    return std::string(name);
}

bool FileExistsNoError(const std::string& fileName)
{
    // stat() never prompts for media; an empty drive is just a missing file.
    struct stat st
    {
    };
    return !fileName.empty() && ::stat(fileName.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

TDateTime GetFileDateTime(const std::string& fileName)
{
    struct stat st
    {
    };
    if (fileName.empty() || ::stat(fileName.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return 0;
    return platform::DateTimeFromUnix(static_cast<double>(st.st_mtim.tv_sec) +
                                      static_cast<double>(st.st_mtim.tv_nsec) / 1e9);
}

std::string SecondsToHMS(int seconds)
{
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%d:%2.2d:%2.2d", seconds / 3600, (seconds % 3600) / 60,
                  seconds % 60);
    return buffer;
}

std::string SecondsToMS(int seconds)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d:%2.2d", seconds / 60, seconds % 60);
    return buffer;
}
