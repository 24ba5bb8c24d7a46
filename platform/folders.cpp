#include "folders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace platform {
namespace {

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string WithSlash(std::string path)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

// An XDG base folder from its variable, which counts only when it holds an absolute path.
std::string XdgBase(const char* variable, const char* defaultUnderHome)
{
    std::string value = Env(variable);
    if (!value.empty() && value[0] == '/')
        return value;
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/" + defaultUnderHome;
}

// A user folder named in $XDG_CONFIG_HOME/user-dirs.dirs (lines like XDG_MUSIC_DIR="$HOME/Music"), else
// $HOME/fallback.
std::string UserDir(const std::string& key, const char* fallback)
{
    const std::string home = HomeFolder();
    if (home.empty())
        return {};
    const std::string config = XdgBase("XDG_CONFIG_HOME", ".config");
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line;
    std::string found;
    while (std::getline(in, line)) {
        std::size_t i = line.find_first_not_of(" \t");
        if (i == std::string::npos || line[i] == '#' || line.compare(i, key.size(), key) != 0)
            continue;
        i += key.size();
        if (i >= line.size() || line[i] != '=')
            continue;
        std::string value = line.substr(i + 1);
        while (!value.empty() && (value.back() == '\r' || value.back() == ' ' || value.back() == '\t'))
            value.pop_back();
        if (value.size() < 2 || value.front() != '"' || value.back() != '"')
            continue;
        std::string text;
        for (std::size_t k = 1; k + 1 < value.size(); ++k) {
            if (value[k] == '\\' && k + 2 < value.size())
                ++k;
            text += value[k];
        }
        if (text.rfind("$HOME", 0) == 0 && (text.size() == 5 || text[5] == '/'))
            text = home + text.substr(5);
        else if (text.empty() || text[0] != '/')
            continue; // only absolute paths and $HOME-relative ones are allowed
        while (text.size() > 1 && text.back() == '/')
            text.pop_back();
        found = text; // the last definition wins, as when the shell sources the file
    }
    return found.empty() ? home + "/" + fallback : found;
}

std::string Joined(const std::string& folderWithSlash, const char* name)
{
    return folderWithSlash + name;
}

} // namespace

std::string HomeFolder()
{
    std::string home = Env("HOME");
    if (home.empty()) {
        std::vector<char> buffer(16384);
        passwd pw{};
        passwd* result = nullptr;
        if (::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &result) == 0 && result && pw.pw_dir)
            home = pw.pw_dir;
    }
    while (home.size() > 1 && home.back() == '/')
        home.pop_back();
    return home;
}

std::optional<std::string> SpecialFolder(int folderId)
{
    std::string path;
    switch (folderId) {
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY:
        path = UserDir("XDG_DESKTOP_DIR", "Desktop");
        break;
    case CSIDL_PERSONAL:
        path = UserDir("XDG_DOCUMENTS_DIR", "Documents");
        break;
    case CSIDL_MYMUSIC:
        path = UserDir("XDG_MUSIC_DIR", "Music");
        break;
    case CSIDL_MYVIDEO:
        path = UserDir("XDG_VIDEOS_DIR", "Videos");
        break;
    case CSIDL_MYPICTURES:
        path = UserDir("XDG_PICTURES_DIR", "Pictures");
        break;
    case CSIDL_TEMPLATES:
        path = UserDir("XDG_TEMPLATES_DIR", "Templates");
        break;
    case CSIDL_PROGRAMS:
        path = XdgBase("XDG_DATA_HOME", ".local/share");
        if (!path.empty())
            path += "/applications";
        break;
    case CSIDL_FONTS:
        path = XdgBase("XDG_DATA_HOME", ".local/share");
        if (!path.empty())
            path += "/fonts";
        break;
    case CSIDL_STARTUP:
        path = XdgBase("XDG_CONFIG_HOME", ".config");
        if (!path.empty())
            path += "/autostart";
        break;
    case CSIDL_APPDATA:
        path = XdgBase("XDG_CONFIG_HOME", ".config");
        break;
    case CSIDL_LOCAL_APPDATA:
        path = XdgBase("XDG_DATA_HOME", ".local/share");
        break;
    case CSIDL_COMMON_APPDATA: {
        // The first of $XDG_CONFIG_DIRS, by default /etc/xdg.
        const std::string dirs = Env("XDG_CONFIG_DIRS");
        const std::string first = dirs.substr(0, dirs.find(':'));
        path = !first.empty() && first[0] == '/' ? first : "/etc/xdg";
        break;
    }
    case CSIDL_PROFILE:
        path = HomeFolder();
        break;
    default:
        return std::nullopt;
    }
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    if (path.empty())
        return std::nullopt;
    return path;
}

std::string ProgramFolder()
{
    const std::string home = Env("ORVANE_HOME");
    if (!home.empty())
        return WithSlash(home);
    const std::string data = XdgBase("XDG_DATA_HOME", ".local/share");
    if (data.empty())
        return ShippedFolder(); // no home at all: keep the data beside the program, as the original does
    return WithSlash(data + "/OrvaneJukebox");
}

std::string ShippedFolder()
{
    const std::string bin = Env("ORVANE_BIN_DIR");
    if (!bin.empty())
        return WithSlash(bin);
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        return "./";
    return WithSlash(exe.parent_path().string());
}

std::string DataFolder()
{
    return Joined(ProgramFolder(), kDataFolderName);
}
std::string SettingsFolder()
{
    return Joined(ProgramFolder(), kSettingsFolderName);
}
std::string CartridgesFolder()
{
    return Joined(ProgramFolder(), kCartridgesFolderName);
}
std::string ReportsFolder()
{
    return Joined(ProgramFolder(), kReportsFolderName);
}
std::string PluginsFolder()
{
    return Joined(ProgramFolder(), kPluginsFolderName);
}
std::string DocsFolder()
{
    return Joined(ShippedFolder(), kDocsFolderName);
}
std::string TagPluginsFolder()
{
    return Joined(ShippedFolder(), kTagPluginsFolderName);
}
std::string SkinsFolder()
{
    return Joined(ProgramFolder(), kSkinsFolderName);
}
std::string ShippedSkinsFolder()
{
    return Joined(ShippedFolder(), kSkinsFolderName);
}

bool ForceDirectories(const std::string& path)
{
    if (path.empty())
        return false;
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    return std::filesystem::is_directory(path, ec);
}

} // namespace platform
