#pragma once

#include "core/plugins/taggerplugin.h"
#include "support/tempdir.h"

#include <dlfcn.h>
#include <initializer_list>
#include <string>

// A plug-in folder for one test, holding copies of the test plug-ins (TAG_<name>.so). Each copy is a file
// of its own, so the system loader gives every folder fresh plug-in state.
class TestPluginFolder
{
public:
    explicit TestPluginFolder(std::initializer_list<const char*> plugins = {});

    const std::string& Path() const { return dir_.Path(); }
    // Copies TAG_<plugin>.so in under fileName (default the same name); returns the full name.
    std::string Add(const std::string& plugin, const std::string& fileName = std::string());
    // Copies any library in as fileName; returns the full name.
    std::string AddFile(const std::string& sourceFile, const std::string& fileName);
    std::string Write(const std::string& fileName, const std::string& bytes) const;
    std::string SettingsFileName() const { return dir_.File("TAG_Settings.ini"); }
    std::string Settings() const { return TempDir::Read(SettingsFileName()); }

private:
    TempDir dir_;
};

// A Test... export of a loaded test plug-in.
template <class F>
F TestHook(const TtaggerPlugin& plugin, const char* name)
{
    return reinterpret_cast<F>(::dlsym(reinterpret_cast<void*>(plugin.ModuleHandle()), name));
}
