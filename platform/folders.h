#pragma once

#include <optional>
#include <string>

// Where things live. The program folder holds the user's data (Data, Settings, Cartridges, Reports, Plugins,
// Skins); the shipped folder holds what comes with the program (TagPlugins, Skins, Docs).
namespace platform {

// Shell folder identifiers (the original platform's CSIDL values) of the folders the program asks for.
enum ShellFolderId : int
{
    CSIDL_DESKTOP = 0x0000,
    CSIDL_PROGRAMS = 0x0002, // start-menu programs
    CSIDL_PERSONAL = 0x0005, // documents
    CSIDL_STARTUP = 0x0007,
    CSIDL_MYMUSIC = 0x000D,
    CSIDL_MYVIDEO = 0x000E,
    CSIDL_DESKTOPDIRECTORY = 0x0010,
    CSIDL_FONTS = 0x0014,
    CSIDL_TEMPLATES = 0x0015,
    CSIDL_APPDATA = 0x001A,
    CSIDL_LOCAL_APPDATA = 0x001C,
    CSIDL_COMMON_APPDATA = 0x0023,
    CSIDL_MYPICTURES = 0x0027,
    CSIDL_PROFILE = 0x0028,
};

// The Linux counterpart of a shell folder (XDG base and user folders), without a trailing "/"; nothing for
// an identifier we do not map or when the home folder is unknown. The folder need not exist.
std::optional<std::string> SpecialFolder(int folderId);

// The user's home: $HOME, else the password database; empty when neither knows.
std::string HomeFolder();

// $ORVANE_HOME when set, else $XDG_DATA_HOME/OrvaneJukebox (default ~/.local/share/OrvaneJukebox);
// always with a trailing "/".
std::string ProgramFolder();
// The folder of the running executable ($ORVANE_BIN_DIR when set, which tests use), with a trailing "/".
std::string ShippedFolder();

// Subfolder names, exactly as the program stores and shows them.
inline constexpr const char* kDataFolderName = "Data";
inline constexpr const char* kSettingsFolderName = "Settings";
inline constexpr const char* kCartridgesFolderName = "Cartridges";
inline constexpr const char* kReportsFolderName = "Reports";
inline constexpr const char* kPluginsFolderName = "Plugins";
inline constexpr const char* kDocsFolderName = "Docs";
inline constexpr const char* kTagPluginsFolderName = "TagPlugins";
inline constexpr const char* kSkinsFolderName = "Skins";

// Each is its base folder joined with the name, without a trailing "/".
std::string DataFolder();       // program folder
std::string SettingsFolder();   // program folder
std::string CartridgesFolder(); // program folder
std::string ReportsFolder();    // program folder
std::string PluginsFolder();    // program folder
std::string DocsFolder();       // shipped folder
std::string TagPluginsFolder(); // shipped folder
// The user's skins, which the program writes (the current skin at exit, exports); a shipped skin is copied
// here before it is first written.
std::string SkinsFolder();        // program folder
std::string ShippedSkinsFolder(); // shipped folder

// Creates the folder and any missing parents; true when it exists as a folder afterwards.
bool ForceDirectories(const std::string& path);

} // namespace platform
