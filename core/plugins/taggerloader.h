#pragma once

#include "core/plugins/taggerplugin.h"
#include "core/plugins/taggerrecord.h"
#include "platform/stringlist.h"

#include <cstdint>
#include <functional>
#include <string>

// The tag-reader host: finds the TAG_*.so libraries in the plug-in folder, keeps those whose support level
// fits the player, keeps their settings in TAG_Settings.ini (the user's copy, see SetSettingsFolder), maps
// extensions to plug-ins and reads files through them. Owns the plug-ins; destroying the host saves their
// settings and unloads them.
class TtaggerLoader
{
public:
    // The "Tag Reader Plugins" dialog lives with the windows; they install it here.
    using TpluginsDialogHook = std::function<void(TtaggerLoader& loader)>;

    TtaggerLoader();
    ~TtaggerLoader();
    TtaggerLoader(const TtaggerLoader&) = delete;
    TtaggerLoader& operator=(const TtaggerLoader&) = delete;

    const std::string& PluginFolder() const { return pluginFolder_; }
    // Saves and unloads the plug-ins of the old folder, then scans the new one.
    void SetPluginFolder(const std::string& folder);
    // Bit mask of what the player supports; 0 until set. Used at the next scan.
    uint32_t SupportLevel() const { return supportLevel_; }
    void SetSupportLevel(uint32_t level) { supportLevel_ = level; }

    // Unloads everything, then loads every fitting plug-in of the folder in the order the file system lists
    // them; of plug-ins with the same name (ignoring case) the first is kept. Then settings and extensions.
    void Scan();
    // Saves the settings, then unloads and forgets every plug-in.
    void UnloadAll();
    // Maps each extension of every enabled plug-in, in name order, to its plug-in.
    void RebuildExtensions();
    void LoadSettings();
    // False when the settings file could not be written. Writes nothing while no plug-in is loaded.
    bool SaveSettings();
    // The user's TAG_Settings.ini: in SettingsFolder when one is set, else in PluginFolder.
    std::string SettingsFileName() const;
    // Where the user's copy of the settings lives (the program's Settings folder); empty keeps them in the
    // plug-in folder. While the user has no copy, the plug-in folder's file gives the defaults.
    const std::string& SettingsFolder() const { return settingsFolder_; }
    void SetSettingsFolder(std::string folder) { settingsFolder_ = std::move(folder); }

    // Reads the file through the plug-in serving its extension; nullptr when none serves it or the read
    // failed. The record's value fields then describe the file until the plug-in's next read. A FIFO or a
    // device is never handed over; listedAsFile says the caller's folder listing just found a regular file
    // there, so it is not asked of the file system again.
    TtaggerRecord* ReadFileTag(const std::string& fileName, bool listedAsFile = false);
    // The record of the plug-in serving the file's extension, without reading; nullptr when none does.
    TtaggerRecord* GetTaggerForFile(const std::string& fileName) const;
    TtaggerPlugin* GetPluginForFile(const std::string& fileName) const;

    // Plug-ins in name order; nullptr outside the range.
    int GetCount() const { return plugins_.Count(); }
    TtaggerPlugin* GetPlugin(int index) const;
    TtaggerRecord* GetPluginRecord(int index) const;

    // Replaces strings by the extension map: one extension a line, its plug-in attached.
    void GetExtensions(TStringList<TtaggerPlugin>& strings) const;
    void GetExtensions(TStrings& strings) const;
    // The masks of every loaded plug-in, enabled or not, in name order, joined by ";".
    std::string GetAllExtensionsMask() const;
    // "All Supported Files|" + GetAllExtensionsMask(), then "|" + each loaded plug-in's filter in name order.
    std::string GetOpenDialogFilter() const;

    // Shows the dialog through the installed hook; does nothing when none is installed.
    void ShowPluginsDialog();
    static void SetPluginsDialogHook(TpluginsDialogHook hook);

    // The handle handed to each plug-in's Initialise; nothing sets it, so plug-ins receive 0.
    TtaggerHandle HostHandle() const { return hostHandle_; }

private:
    // The file the settings are read from: the user's copy, else the shipped one beside the plug-ins.
    std::string SettingsSourceName() const;

    std::string pluginFolder_;
    std::string settingsFolder_;
    uint32_t supportLevel_ = 0;
    TtaggerHandle hostHandle_ = 0;
    TStringList<TtaggerPlugin> plugins_;
    TStringList<TtaggerPlugin> extensions_;
};

// The program's one host, created on first use. Its plug-ins are saved and unloaded by
// ReleaseTaggerLoader(), which the program calls at shutdown and which also runs at exit, before the
// plug-in libraries' own static objects are destroyed. A later TaggerLoader() creates a fresh host.
TtaggerLoader& TaggerLoader();
void ReleaseTaggerLoader();
