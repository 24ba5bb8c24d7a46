#include "core/plugins/taggerloader.h"

#include "platform/filesystem.h"
#include "platform/folders.h"
#include "platform/inifile.h"

#include <cstdlib>
#include <filesystem>
#include <fnmatch.h>
#include <memory>
#include <optional>
#include <system_error>

namespace {

constexpr const char* kPluginPattern = "TAG_*.so";
constexpr const char* kSettingsFile = "TAG_Settings.ini";

TtaggerLoader::TpluginsDialogHook& DialogHook()
{
    static TtaggerLoader::TpluginsDialogHook hook;
    return hook;
}

std::unique_ptr<TtaggerLoader> globalLoader;

void ReleaseAtExit()
{
    ReleaseTaggerLoader();
}

// The text after the last "." of the file's own name; empty when there is none.
std::string ExtensionOf(const std::string& fileName)
{
    const auto dot = fileName.find_last_of("./");
    if (dot == std::string::npos || fileName[dot] != '.')
        return std::string();
    return fileName.substr(dot + 1);
}

std::string JoinPath(const std::string& folder, const char* name)
{
    if (!folder.empty() && folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

} // namespace

TtaggerLoader::TtaggerLoader()
{
    plugins_.SetSorted(true);
    plugins_.SetCaseSensitive(false);
    plugins_.SetDuplicates(TDuplicates::dupIgnore);
    plugins_.SetOwnsObjects(true);
}

TtaggerLoader::~TtaggerLoader()
{
    UnloadAll();
}

void TtaggerLoader::SetPluginFolder(const std::string& folder)
{
    // The old plug-ins' settings belong in the old folder's file.
    UnloadAll();
    pluginFolder_ = folder;
    Scan();
}

void TtaggerLoader::Scan()
{
    UnloadAll();
    if (!pluginFolder_.empty()) {
        std::error_code ec;
        for (auto it = std::filesystem::directory_iterator(pluginFolder_, ec);
             !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
            const std::string name = it->path().filename().string();
            if (::fnmatch(kPluginPattern, name.c_str(), 0) != 0)
                continue;
            auto plugin = std::make_unique<TtaggerPlugin>();
            if (!plugin->Load(JoinPath(pluginFolder_, name.c_str()), hostHandle_))
                continue;
            const std::string pluginName = plugin->Name();
            if ((plugin->Record()->SupportLevel & supportLevel_) == 0 || pluginName.empty() ||
                plugins_.IndexOf(pluginName) >= 0)
                continue;
            plugins_.AddObject(pluginName, plugin.release());
        }
    }
    // Plug-ins loaded after the global host was created would have their static objects destroyed
    // before it at exit; a handler registered now runs first and lets them save while still whole.
    if (this == globalLoader.get() && GetCount() > 0)
        std::atexit(ReleaseAtExit);
    LoadSettings();
    RebuildExtensions();
}

void TtaggerLoader::UnloadAll()
{
    SaveSettings();
    extensions_.Clear();
    plugins_.Clear();
}

void TtaggerLoader::RebuildExtensions()
{
    extensions_.BeginUpdate();
    extensions_.Clear();
    for (const auto& item : plugins_) {
        if (!item.object->Enabled())
            continue;
        for (std::string& extension : item.object->Extensions())
            extensions_.AddObject(std::move(extension), item.object);
    }
    extensions_.EndUpdate();
}

namespace {

std::string FullName(const std::string& folder)
{
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(JoinPath(folder, kSettingsFile), ec);
    return ec ? JoinPath(folder, kSettingsFile) : full.string();
}

} // namespace

std::string TtaggerLoader::SettingsFileName() const
{
    return FullName(settingsFolder_.empty() ? pluginFolder_ : settingsFolder_);
}

std::string TtaggerLoader::SettingsSourceName() const
{
    const std::string own = SettingsFileName();
    std::error_code ec;
    return settingsFolder_.empty() || std::filesystem::exists(own, ec) ? own : FullName(pluginFolder_);
}

void TtaggerLoader::LoadSettings()
{
    if (plugins_.Empty())
        return;
    const TIniFile ini(SettingsSourceName());
    for (const auto& item : plugins_)
        item.object->LoadSettings(ini);
}

bool TtaggerLoader::SaveSettings()
{
    if (plugins_.Empty())
        return true;
    TIniFile ini(SettingsFileName());
    // The user's first copy starts from the shipped file, so that its keys and sections carry over.
    if (const std::string source = SettingsSourceName(); source != ini.FileName()) {
        platform::ForceDirectories(settingsFolder_);
        ini.LoadFromText(TIniFile(source).ToText());
    }
    bool written = true;
    for (const auto& item : plugins_)
        written = item.object->SaveSettings(ini) && written;
    return written;
}

TtaggerPlugin* TtaggerLoader::GetPluginForFile(const std::string& fileName) const
{
    const std::string extension = ExtensionOf(fileName);
    if (extension.empty())
        return nullptr;
    const int index = extensions_.IndexOf(extension);
    return index < 0 ? nullptr : extensions_.Objects(index);
}

TtaggerRecord* TtaggerLoader::ReadFileTag(const std::string& fileName, bool listedAsFile)
{
    TtaggerPlugin* plugin = GetPluginForFile(fileName);
    if (!plugin)
        return nullptr;
    // A FIFO or a device would block the plug-in's read for good.
    if (!listedAsFile) {
        const std::optional<platform::TFolderEntry> entry = platform::EntryInfo(fileName);
        if (entry && (entry->IsSystem() || entry->IsFolder()))
            return nullptr;
    }
    TtaggerRecord* record = plugin->Record();
    if (!record->ReadFile || record->ReadFile(fileName.c_str()) == 0)
        return nullptr;
    return record;
}

TtaggerRecord* TtaggerLoader::GetTaggerForFile(const std::string& fileName) const
{
    const TtaggerPlugin* plugin = GetPluginForFile(fileName);
    return plugin ? plugin->Record() : nullptr;
}

TtaggerPlugin* TtaggerLoader::GetPlugin(int index) const
{
    return index >= 0 && index < plugins_.Count() ? plugins_.Objects(index) : nullptr;
}

TtaggerRecord* TtaggerLoader::GetPluginRecord(int index) const
{
    const TtaggerPlugin* plugin = GetPlugin(index);
    return plugin ? plugin->Record() : nullptr;
}

void TtaggerLoader::GetExtensions(TStringList<TtaggerPlugin>& strings) const
{
    strings.Assign(extensions_);
}

void TtaggerLoader::GetExtensions(TStrings& strings) const
{
    strings.BeginUpdate();
    strings.Clear();
    for (const auto& item : extensions_)
        strings.Add(item.text);
    strings.EndUpdate();
}

std::string TtaggerLoader::GetAllExtensionsMask() const
{
    std::string out;
    for (const auto& item : plugins_) {
        const std::string mask = item.object->GetExtensionMask();
        if (mask.empty())
            continue;
        if (!out.empty())
            out += ';';
        out += mask;
    }
    return out;
}

std::string TtaggerLoader::GetOpenDialogFilter() const
{
    std::string out = "All Supported Files|" + GetAllExtensionsMask();
    for (const auto& item : plugins_)
        out += "|" + item.object->GetFilter();
    return out;
}

void TtaggerLoader::ShowPluginsDialog()
{
    if (DialogHook())
        DialogHook()(*this);
}

void TtaggerLoader::SetPluginsDialogHook(TpluginsDialogHook hook)
{
    DialogHook() = std::move(hook);
}

TtaggerLoader& TaggerLoader()
{
    if (!globalLoader)
        globalLoader = std::make_unique<TtaggerLoader>();
    return *globalLoader;
}

void ReleaseTaggerLoader()
{
    // Detach first: a plug-in saving its settings must not reach a half-destroyed host.
    std::unique_ptr<TtaggerLoader> loader = std::move(globalLoader);
    loader.reset();
}
